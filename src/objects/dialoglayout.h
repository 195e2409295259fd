#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "objects/layout.h"
#include "objects/objectdata.h"

namespace vesk {

/// The size of the area a dialog is laid out in (a preview's client area), in pixels.
struct LayoutArea {
    int width = 0;
    int height = 0;
};

/// A rectangle as (x, y, width, height) in layout pixels.
struct LayoutBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutBox&) const = default;
};

/// One node of a laid-out dialog: where its box (an object) or frame (a group) lies, how deep it
/// lies, whether it is marked, and the texts an object shows.
struct LaidOutNode {
    enum Flag : uint8_t {
        kGroup = 1,    ///< a group (a frame and no texts), else an object
        kMarked = 2,   ///< drawn highlighted, over the unmarked nodes
        kDisabled = 4, ///< drawn at half strength (the device look)
    };

    CObjectData* node = nullptr; ///< the node laid out; valid while the dialog is unchanged
    LayoutBox box;
    int depth = 0;          ///< 0 for the root group, 1 for its children and so on
    uint32_t textBegin = 0; ///< the type tag, then the label line, in the layout's text
    uint32_t tagLength = 0;
    uint32_t lineLength = 0;
    uint8_t flags = 0;

    bool IsGroup() const { return (flags & kGroup) != 0; }
    bool IsMarked() const { return (flags & kMarked) != 0; }
    bool IsDisabled() const { return (flags & kDisabled) != 0; }
    /// The box as a layout rectangle (right and bottom exclusive, limited to the 32-bit range).
    LayoutRect Rect() const
    {
        return {box.x, box.y, ClampToInt(int64_t{box.x} + box.width), ClampToInt(int64_t{box.y} + box.height)};
    }
};

/// A dialog laid out in an area: every node of its root group in tree order (a group before its
/// children), each with its box, depth, flags and texts, and the white area the dialog is drawn
/// on. A value of its own: it keeps copies of the texts, so it stays whole when the dialog changes
/// (only the node pointers then go stale), and laying out never changes the dialog.
struct DialogLayout {
    bool hasRoot = false;  ///< false when the dialog had no root group: nothing is laid out or drawn
    LayoutArea size;       ///< the area laid out in
    LayoutBox previewArea; ///< the white area: the size less a 5-pixel border
    int contentSize = 0;   ///< the height of a box sized by its content
    std::vector<LaidOutNode> nodes;
    std::string text; ///< the tags and label lines of all objects, one after the other
    /// The device look only: for each node, the rectangle it is drawn clipped to; empty otherwise.
    std::vector<LayoutBox> clips;
    /// The device look only: the numbers its lengths were converted with (for the painter's
    /// 'TSize' and 'Padding').
    LayoutContext context;

    /// The type tag an object shows in its corner ("BTN", "PIC"...); empty for a group.
    std::string_view TagOf(const LaidOutNode& entry) const
    {
        return std::string_view(text).substr(entry.textBegin, entry.tagLength);
    }
    /// The label line an object shows centred ("b1:OK"); empty for a group.
    std::string_view LineOf(const LaidOutNode& entry) const
    {
        return std::string_view(text).substr(entry.textBegin + entry.tagLength, entry.lineLength);
    }

    /// The innermost object whose rectangle holds the point (never a group), or nullptr. Where
    /// objects overlap, the one laid out last wins, as a group's hit test asks its children from
    /// the last to the first.
    const LaidOutNode* ObjectAt(int x, int y) const;
};

/// Lays the dialog's root group out in an area of the given size, as the preview shows it (see
/// LayOutDialog). Draws nothing and changes nothing in the dialog. Without a root group the
/// answer has hasRoot false and no nodes.
DialogLayout ComputeLayout(const CTekDialogData& dialog, DeviceSize device, LayoutArea area);

/// Copies each object's rectangle of the layout into the object's layout rectangle (for the
/// users of CObjectData::GetLayoutRect and HitTest). The layout's nodes must still be alive.
void StoreLayoutRects(const DialogLayout& layout);

} // namespace vesk
