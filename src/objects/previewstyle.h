#pragma once

#include "objects/dialoglayout.h"
#include "objects/drawingsurface.h"

namespace vesk {

/// How a laid-out dialog looks in a preview: a style paints a DialogLayout onto a drawing
/// surface, in the layout's pixels.
class PreviewStyle {
public:
    virtual ~PreviewStyle() = default;

    /// Paints the layout; nothing when the dialog had no root group.
    virtual void Paint(const DialogLayout& layout, DrawingSurface& surface) const = 0;
};

/// The editor's sketch of a dialog: the white area, each object a box with its type tag in the
/// corner and its label line centred, each group a thin frame. Unmarked nodes are painted first,
/// in tree order (unmarked objects white framed in black, unmarked groups framed in grey), then
/// the marked ones over them, in tree order (objects light red framed in red, groups framed in
/// red).
class BoxPreviewStyle final : public PreviewStyle {
public:
    void Paint(const DialogLayout& layout, DrawingSurface& surface) const override;
};

} // namespace vesk
