#pragma once

// The preview layout done the slow, literal way, as the layout rules read: a node's size is asked
// of the node's items every time, every group measures its whole subtree again for each question,
// and both drawing passes lay the whole dialog out afresh. Only tests and benchmarks use it, as
// the oracle that ComputeLayout and the box style must match rectangle for rectangle and call for
// call.

#include <vector>

#include "objects/drawingsurface.h"
#include "objects/layout.h"
#include "objects/objectdata.h"

namespace vesk::test {

/// Where the reference layout placed one object.
struct ReferencePlacement {
    CObjectData* object = nullptr;
    LayoutRect rect;
    bool operator==(const ReferencePlacement&) const = default;
};

/// Lays the dialog's root group out in a preview area of width x height and draws it on the
/// surface: the white area, then every node in the first pass, then every node again in the
/// second. Answers every object's rectangle in tree order (nothing without a root group). The
/// nodes are left as they are.
std::vector<ReferencePlacement> ReferenceLayout(const CTekDialogData& dialog, DeviceSize device,
                                                DrawingSurface& surface, int width, int height);

/// ReferenceLayout, then each object's rectangle stored in the object.
void ReferenceLayOutDialog(const CTekDialogData& dialog, DeviceSize device, DrawingSurface& surface, int width,
                           int height);

/// The other side of the comparison: ComputeLayout painted in the box style, then each object's
/// rectangle stored in the object (StoreLayoutRects).
void LayOutAndStoreRects(const CTekDialogData& dialog, DeviceSize device, DrawingSurface& surface, int width,
                         int height);

} // namespace vesk::test
