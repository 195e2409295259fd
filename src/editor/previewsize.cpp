#include "editor/previewsize.h"

#include <algorithm>
#include <array>

#include "objects/devicesizes.h"
#include "objects/orbunit.h"
#include "objects/resourcedata.h"

namespace vesk {

namespace {

constexpr std::array<int, 13> kZoomSteps = {25, 33, 50, 67, 75, 100, 125, 150, 200, 300, 400, 600, 800};

} // namespace

std::optional<PreviewSize> ParsePreviewSizeText(std::string_view text)
{
    if (text == "window")
        return PreviewSize{};
    if (text == "dialog")
        return PreviewSize{PreviewSize::Kind::Dialog, {}};
    if (const std::optional<LayoutArea> size = ParseDeviceSizeText(text))
        return PreviewSize{PreviewSize::Kind::Fixed, *size};
    return std::nullopt;
}

std::string PreviewSizeText(const PreviewSize& size)
{
    switch (size.kind) {
    case PreviewSize::Kind::Dialog:
        return "dialog";
    case PreviewSize::Kind::Fixed:
        return DeviceSizeText(size.fixed);
    case PreviewSize::Kind::Window:
        break;
    }
    return "window";
}

LayoutArea DialogDesignArea(const CTekDialogData& dialog)
{
    const int width = LeadingInteger(dialog.GetItem("TargetLayoutWidth"));
    const int height = LeadingInteger(dialog.GetItem("TargetLayoutHeight"));
    if (width <= 0 || height <= 0)
        return {100, 100};
    return {width, height};
}

int NextZoomStep(int zoomPercent, bool in)
{
    if (in) {
        const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), zoomPercent);
        return next == kZoomSteps.end() ? kZoomSteps.back() : *next;
    }
    const auto next = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), zoomPercent);
    return next == kZoomSteps.begin() ? kZoomSteps.front() : *std::prev(next);
}

} // namespace vesk
