#pragma once

#include <functional>
#include <optional>
#include <string>

#include "document/projectdocument.h"
#include "editor/sidepanelaccess.h"

class QMimeData;

namespace vesk {

/// The MIME types of what the editor's hands carry: a type name from the objects to insert, a
/// picture from the built-in or station list, a node of the open project.
inline constexpr const char* kNewTypeMimeType = "application/x-vesk-new-type";
inline constexpr const char* kPictureMimeType = "application/x-vesk-picture";
inline constexpr const char* kNodeMimeType = "application/x-vesk-node";

/// What a drag carries, read back from its data.
struct DragPayload {
    enum class Kind { None, NewType, Picture, Node };
    Kind kind = Kind::None;
    /// The type name or the picture's name.
    std::string name;
    /// For a picture: the list it comes from.
    SidePanelListKind list = SidePanelListKind::BuiltinImages;
    /// For a node: the node, still in the project's tree.
    TekClass* node = nullptr;
};

/// The data of a drag from a side-panel entry (objects to insert and pictures; nullptr for the
/// other lists).
QMimeData* MimeDataOfEntry(SidePanelListKind kind, const std::string& name);
/// The data of a drag of a node of the project.
QMimeData* MimeDataOfNode(const TekClass& node);
/// What the data carries; a node that is no longer in the resource's tree reads as nothing.
DragPayload ReadDragPayload(const QMimeData* data, const CTekResourceData& resource);

/// Where a drop puts what it carries, as the view under the pointer sees it.
struct DropSpot {
    TekClass* on = nullptr;
    DropPlace place = DropPlace::Into;
    /// A point of a FRAME group that takes the node, in the dialog's units.
    std::optional<FramePoint> point;
};

/// Drops as document operations: a new object of a type (dropped on a group it goes in last,
/// on an object after it), a picture (assigned to the object's image item as a double click
/// would), or a node moved or copied. The tree and the previews ask it whether a drop would be
/// taken while the pointer moves, and have it made on release.
class DropHandler {
public:
    explicit DropHandler(ProjectDocument& document) : m_document(document) {}

    /// The row of the image item a picture dropped on the node goes to: the grid's current row
    /// when it shows the node at an image item (set by the property panel's owner); else the
    /// node's first image item.
    std::function<int(const TekClass& node)> currentImageRow;

    /// Why the drop would be refused, or nullopt when it would be taken.
    std::optional<Refusal> Check(const DragPayload& payload, const DropSpot& spot, bool copy) const;
    /// Makes the drop; a refused one changes nothing.
    EditResult Drop(const DragPayload& payload, const DropSpot& spot, bool copy);

    ProjectDocument& Document() const { return m_document; }

private:
    int ImageRow(const TekClass& node) const;

    ProjectDocument& m_document;
};

} // namespace vesk
