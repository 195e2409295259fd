#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "objects/dialoglayout.h"

namespace vesk {

/// The area a dialog window lays its dialog out in: the window's client area, the dialog's own
/// 'TargetLayoutWidth' x 'TargetLayoutHeight' in pixels, or a fixed device size.
struct PreviewSize {
    enum class Kind { Window, Dialog, Fixed };
    Kind kind = Kind::Window;
    LayoutArea fixed; ///< the size of a Fixed area
    bool operator==(const PreviewSize& other) const
    {
        return kind == other.kind &&
               (kind != Kind::Fixed || (fixed.width == other.fixed.width && fixed.height == other.fixed.height));
    }
};

/// "window", "dialog" or "WxH" (as the settings file keeps it); nullopt for anything else.
std::optional<PreviewSize> ParsePreviewSizeText(std::string_view text);
/// The size as "window", "dialog" or "WxH".
std::string PreviewSizeText(const PreviewSize& size);

/// The dialog's design size in pixels: 'TargetLayoutWidth' x 'TargetLayoutHeight', both 100 when
/// either is missing, not a number or not above 0.
LayoutArea DialogDesignArea(const CTekDialogData& dialog);

/// The zoom a step in (or out) from zoomPercent reaches: the next of 25, 33, 50, 67, 75, 100, 125,
/// 150, 200, 300, 400, 600, 800, or the end of the range.
int NextZoomStep(int zoomPercent, bool in);

} // namespace vesk
