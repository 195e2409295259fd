#include "objects/previewstyle.h"

#include "objects/layout.h"

namespace vesk {

namespace {

/// Paints one node of the layout as a box or a frame in the colours of its mark.
void PaintNode(const DialogLayout& layout, const LaidOutNode& entry, DrawingSurface& surface)
{
    const LayoutBox& box = entry.box;
    const bool marked = entry.IsMarked();
    if (entry.IsGroup()) {
        surface.FrameRect(box.x, box.y, box.width, box.height, marked ? kMarkedGroupFrameColor : kGroupFrameColor);
        return;
    }
    surface.FillRect(box.x, box.y, box.width, box.height, marked ? kMarkedFillColor : kObjectFillColor);
    surface.FrameRect(box.x, box.y, box.width, box.height, marked ? kMarkedFrameColor : kObjectFrameColor);
    const int innerWidth = ClampToInt(int64_t{box.width} - 2);
    const int innerHeight = ClampToInt(int64_t{box.height} - 2);
    DrawLabel(surface, layout.TagOf(entry), ClampToInt(int64_t{box.x} + 4), ClampToInt(int64_t{box.y} + 1), innerWidth,
              innerHeight, kTagFontHeight, false);
    DrawLabel(surface, layout.LineOf(entry), ClampToInt(int64_t{box.x} + 1), ClampToInt(int64_t{box.y} + 5), innerWidth,
              innerHeight, kLabelFontHeight, true);
}

} // namespace

void BoxPreviewStyle::Paint(const DialogLayout& layout, DrawingSurface& surface) const
{
    if (!layout.hasRoot)
        return;
    const LayoutBox& area = layout.previewArea;
    surface.FillRect(area.x, area.y, area.width, area.height, kDialogBackgroundColor);
    bool anyMarked = false;
    for (const LaidOutNode& entry : layout.nodes) {
        if (entry.IsMarked())
            anyMarked = true;
        else
            PaintNode(layout, entry, surface);
    }
    // Marked nodes last, so that they show over the unmarked ones they overlap.
    if (anyMarked)
        for (const LaidOutNode& entry : layout.nodes)
            if (entry.IsMarked())
                PaintNode(layout, entry, surface);
}

} // namespace vesk
