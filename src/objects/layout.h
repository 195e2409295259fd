#pragma once

#include <string>
#include <string_view>

#include "objects/drawingsurface.h"
#include "objects/orbunit.h"

namespace vesk {

class CItemList;
class CObjectData;
class CTekDialogData;
class CTekResourceData;

/// Colours of the preview.
constexpr RgbColor kDialogBackgroundColor{255, 255, 255};
constexpr RgbColor kObjectFillColor{255, 255, 255};
constexpr RgbColor kObjectFrameColor{0, 0, 0};
constexpr RgbColor kMarkedFillColor{255, 200, 200};
constexpr RgbColor kMarkedFrameColor{255, 0, 0};
constexpr RgbColor kGroupFrameColor{128, 128, 128};
constexpr RgbColor kMarkedGroupFrameColor{255, 0, 0};

/// Font heights of an object's type tag and of its label line.
constexpr int kTagFontHeight = 9;
constexpr int kLabelFontHeight = 12;

/// The device size the open resource declares.
struct DeviceSize {
    int width = 1024;
    int height = 800;
};

/// The resource's 'DeviceWidth' and 'DeviceHeight'; 1024 and 800 where a value is missing,
/// not a number or not above 0.
DeviceSize DeviceSizeOf(const CTekResourceData& resource);

/// The alignment code of an 'Align' text: horizontal part (LEFT 0, CENTER 1, RIGHT 2) plus 3
/// times the vertical part (TOP 0, MIDDLE 1, BOTTOM 2); unknown words count as 0.
int ParseAlign(std::string_view text);

/// The texts drawn on an object's box: the type tag in its corner and the centred label line
/// (the name, then ":" and the shown text; empty when that part has at most one character).
struct ObjectLabel {
    std::string tag;
    std::string line;
};
ObjectLabel LabelOf(const CObjectData& object);

/// Draws one label line in the label font (see DrawingSurface::DrawText).
inline void DrawLabel(DrawingSurface& surface, std::string_view text, int x, int y, int width, int height,
                      int fontHeight, bool centred)
{
    surface.DrawText(text, x, y, width, height, fontHeight, centred);
}

/// Where a layout of a preview area starts: the shared context and the content size t.
struct LayoutStart {
    LayoutContext context;
    int contentSize = 0;
};
/// The context and content size for laying the dialog out in a preview area of width x height.
LayoutStart PrepareLayout(const CTekDialogData& dialog, DeviceSize device, int width, int height);

/// Lays the dialog's root group out in a preview area of width x height and draws it: a white
/// area inside a 5-pixel border, then the unmarked boxes, then the marked ones over them.
/// ComputeLayout, then the box style's painting; the nodes are left as they are (their layout
/// rectangles included). Does nothing when the dialog has no root group.
void LayOutDialog(const CTekDialogData& dialog, DeviceSize device, DrawingSurface& surface, int width, int height);

namespace layout_detail {

/// The content width ⌊1.3 t⌋ of a content size t.
inline int ContentWidth(int contentSize)
{
    return static_cast<int>(contentSize * 1.3);
}

/// A CONTENT length resolved: the available length when 0 <= it < limit, else the limit.
inline int ResolveContent(int value, int available, int limit)
{
    if (value != kLengthContent)
        return value;
    return available >= 0 && available < limit ? available : limit;
}

/// The length given to a zero-sized box: the available length when 0 < it < limit, else the limit.
inline int ZeroLength(int available, int limit)
{
    return available > 0 && available < limit ? available : limit;
}

/// What an object of a type shows: the short tag drawn in its corner and the item that gives
/// its shown text.
struct TypeLook {
    enum class Shown { None, Text, TextOn, File };
    std::string_view tag;
    Shown shown = Shown::None;
};
/// The look of an object of that type; an unknown type is its own tag and shows no text.
TypeLook LookOfType(std::string_view type);
/// The item that gives an object of that type its shown text ("Text", "TextOn", "File"), or
/// an empty name when the type shows none.
std::string_view ShownTextItem(std::string_view type);
/// The short tag drawn in the corner of an object of that type.
std::string_view TypeTagOf(std::string_view type);
/// Sets line to the label line of an object with that name and shown text (either may be absent).
void ComposeLabelLine(std::string& line, const std::string* name, const std::string* shown);
/// Appends that label line to out.
void AppendLabelLine(std::string& out, const std::string* name, const std::string* shown);

} // namespace layout_detail

} // namespace vesk
