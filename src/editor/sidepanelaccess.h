#pragma once

#include <string>

namespace vesk {

/// Which picture list a side-panel entry comes from.
enum class SidePanelListKind : int {
    InsertedObjects = 0, ///< object and group types to insert ("01_BUTTON.png" gives BUTTON)
    BuiltinImages = 1,   ///< pictures that ship with the editor
    StationImages = 2,   ///< pictures of the project's "resources" folder
    Clipboard = 3,       ///< the clipboard entry
};

/// What the editor panels ask of the side panel: the entry the user selected, and a list of
/// pictures to choose from.
class SidePanelAccess {
public:
    virtual ~SidePanelAccess() = default;
    /// The selected entry of the list shown; false on a page without one or without a selection.
    virtual bool GetSelectedEntry(std::string& name, SidePanelListKind& kind) const = 0;
    /// Shows the picture list of the kind with the entry of that name selected (when it has one).
    virtual void OfferPictures(SidePanelListKind kind, const std::string& selectName) = 0;
};

} // namespace vesk
