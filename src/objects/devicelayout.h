#pragma once

#include <string_view>

#include "objects/dialoglayout.h"
#include "objects/layout.h"

namespace vesk {

/// How a preview draws a dialog: as boxes (the editor's sketch) or as the device shows it.
enum class PreviewLook { Box, Device };

/// Measures a text as the device draws it: the width and height of a single line in a font of
/// the given pixel height. Given by the painting layer, so the layout stays free of any toolkit.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual LayoutSize MeasureText(std::string_view text, int fontHeight) const = 0;
};

/// The own size of a picture named by an object's 'File' (or 'FileOff') and 'FileSource';
/// {0, 0} when it is unknown or cannot be read.
class PictureSizer {
public:
    virtual ~PictureSizer() = default;
    virtual LayoutSize PictureSize(std::string_view fileSource, std::string_view file) const = 0;
};

/// What the device layout asks outside itself; either may be null (texts and pictures then
/// measure {0, 0}).
struct DeviceMeasures {
    const TextMeasurer* text = nullptr;
    const PictureSizer* pictures = nullptr;
};

/// The font height of a text whose 'TSize' is empty or unreadable.
constexpr int kDeviceFontHeight = 16;

/// Four lengths around a box: left, top, right, bottom.
struct BoxSpacing {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const BoxSpacing&) const = default;
};

/// A 'Margin' or 'Padding' text: four comma-separated lengths left, top, right, bottom; a
/// missing or unreadable length (PARENT and CONTENT too) counts 0.
BoxSpacing ParseSpacing(std::string_view text, const LayoutContext& context);

/// The position in the dialog's units (a bare number, as PosX and PosY hold it) that the device
/// layout turns into the pixel count nearest to the one given: where a drop at that distance
/// from a FRAME group's content corner puts a child. 0 for a count not above 0.
int DeviceUnitsForPixels(int pixels, const LayoutContext& context, bool horizontal);

/// Lays the dialog out as the device shows it, in an area of the given size whose top left is
/// (0, 0): sizes from 'Width' and 'Height' (a length, PARENT or CONTENT), 'Margin' outside and
/// 'Padding' inside each box, each group's children placed by its layout, hidden nodes left
/// out and disabled ones flagged. The answer's previewArea is the whole area and clips holds,
/// for each node, the rectangle it is drawn clipped to (a SCROLL's content is cut to it).
DialogLayout ComputeDeviceLayout(const CTekDialogData& dialog, DeviceSize device, LayoutArea area,
                                 const DeviceMeasures& measures);

} // namespace vesk
