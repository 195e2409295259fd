#include "objects/devicesizes.h"

#include <algorithm>
#include <charconv>

namespace vesk {

namespace {

constexpr int kMaxSide = 100000;

std::optional<int> ParseSide(std::string_view text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value <= 0 || value > kMaxSide)
        return std::nullopt;
    return value;
}

bool SameSize(LayoutArea a, LayoutArea b) { return a.width == b.width && a.height == b.height; }

} // namespace

const std::vector<LayoutArea>& DeviceSizePresets()
{
    static const std::vector<LayoutArea> presets = [] {
        const LayoutArea upright[] = {{240, 320}, {320, 480}, {480, 800}, {720, 1280}, {1080, 1920}};
        std::vector<LayoutArea> sizes;
        for (const LayoutArea size : upright) {
            sizes.push_back(size);
            sizes.push_back({size.height, size.width});
        }
        return sizes;
    }();
    return presets;
}

std::optional<LayoutArea> ParseDeviceSizeText(std::string_view text)
{
    const size_t cross = text.find_first_of("xX");
    if (cross == std::string_view::npos)
        return std::nullopt;
    const auto width = ParseSide(text.substr(0, cross));
    const auto height = ParseSide(text.substr(cross + 1));
    if (!width || !height)
        return std::nullopt;
    return LayoutArea{*width, *height};
}

std::string DeviceSizeText(LayoutArea size)
{
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

std::vector<LayoutArea> ParseDeviceSizeList(std::string_view text)
{
    std::vector<LayoutArea> sizes;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        std::string_view entry = text.substr(0, comma);
        while (!entry.empty() && entry.front() == ' ')
            entry.remove_prefix(1);
        while (!entry.empty() && entry.back() == ' ')
            entry.remove_suffix(1);
        if (const auto size = ParseDeviceSizeText(entry)) {
            if (std::none_of(sizes.begin(), sizes.end(), [&](LayoutArea kept) { return SameSize(kept, *size); }))
                sizes.push_back(*size);
        }
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return sizes;
}

std::string DeviceSizeListText(const std::vector<LayoutArea>& sizes)
{
    std::string text;
    for (const LayoutArea size : sizes) {
        if (!text.empty())
            text += ',';
        text += DeviceSizeText(size);
    }
    return text;
}

} // namespace vesk
