#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QObject>

#include "objects/resourcedata.h"

namespace vesk {

class CObjectData;
class CObjectDataList;

/// Where insertion and paste put the new node, seen from the selected node.
enum class InsertPosition : int {
    After = 0,      ///< "後ろへ": behind the selected node, in its group
    FirstChild = 1, ///< "下先頭へ": first in the selected group
    LastChild = 2,  ///< "下末尾へ": last in the selected group
};

/// The centre position an image name carries: "dial[10-20].png" gives "10,20" (the text
/// between the last "[" and the last "]", dashes made commas); false when the name has none.
bool CentrePositionOfImageName(const std::string& name, std::string& position);

/// Where a dragged node goes, seen from the node it is dropped on: before it or after it among
/// its siblings, or into it (a group: as its last child).
enum class DropPlace { Before, After, Into };

/// A point of a FRAME group in the dialog's units, as its children's PosX and PosY take it.
struct FramePoint {
    int x = 0;
    int y = 0;
};

/// Where an image assigned to an item comes from.
enum class ImageSource { Builtin, Station };

/// Why an edit was not made: a text for the user (UTF-8) and whether it is an error or a hint.
struct Refusal {
    std::string text;
    bool error = false;
};

/// What an edit answers: whether it changed the project, the node selected afterwards, the
/// refusal when it changed nothing for a reason the user must hear, and notes for the user.
struct EditResult {
    bool done = false;
    TekClass* select = nullptr;
    std::optional<Refusal> refusal;
    /// A remark for the status bar (UTF-8), e.g. that a name was numbered to stay unique.
    std::string status;

    static EditResult Refused(std::string text, bool error)
    {
        EditResult result;
        result.refusal = Refusal{std::move(text), error};
        return result;
    }
    static EditResult Done(TekClass* select)
    {
        EditResult result;
        result.done = true;
        result.select = select;
        return result;
    }
};

/// The one open project: the resource with its dialogs, the undo histories, whether it changed
/// since it was last saved, the selection, and the edit operations. Every change of the project
/// goes through an operation here, which checks its refusals, applies its side effects, records
/// one undo step and tells the views what changed through the signals below; views never edit
/// nodes themselves.
///
/// The tree the signals speak of is the shown tree (see treeshape.h): rows are rows under a
/// parent node as the resource tree shows them.
class ProjectDocument : public QObject {
    Q_OBJECT

public:
    explicit ProjectDocument(QObject* parent = nullptr);
    ~ProjectDocument() override;

    CTekResourceData& Resource() { return m_resource; }
    const CTekResourceData& Resource() const { return m_resource; }

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified);

    /// Whether a project is loaded or created (edits are refused before).
    bool EditingEnabled() const { return m_editingEnabled; }
    /// Whether the views show the project's tree (not before a project is loaded or created,
    /// nor after every dialog was discarded).
    bool TreeShown() const { return m_treeShown; }

    // --- Whole-project changes ------------------------------------------------------------
    /// After the resource was loaded or merged into, or created: editing is enabled, the views
    /// build anew, the project history starts empty and the first dialog (if any) becomes
    /// current.
    void ProjectLoaded();
    /// Removes every dialog: nothing is selected, the views empty, the history starts empty.
    void DiscardDialogs();
    /// Closes the project, leaving the empty, unchanged project of a fresh start: no dialogs,
    /// the default root items and no file name. The dialogs' windows must be closed first.
    void StartEmpty();

    // --- Selection ----------------------------------------------------------------------------
    CTekDialogData* CurrentDialog() const { return m_currentDialog; }
    /// The node the edit commands work on (the one the user last chose), or nullptr.
    TekClass* Selected() const { return m_selected; }
    /// The node shown as current (white on red in the tree): the chosen node, or where the
    /// highlight moved when a mark was taken back.
    TekClass* Highlighted() const { return m_highlighted; }
    /// Makes the dialog current (nothing when it is already): it becomes the selected node.
    void SetCurrentDialog(CTekDialogData* dialog);
    /// The user chose the node (in the tree or a preview): the selection rules run (the dialog of
    /// the node becomes current, marks are cleared unless keepMarks, the node's mark toggles) and
    /// dialogChosen is sent. Refused for nullptr and for a header or command node without owner.
    EditResult Select(TekClass* node, bool keepMarks = false);
    /// Nothing is selected any more (the tree's selection was cleared); ignored while an
    /// operation changes rows.
    void ClearSelection();
    /// The dialog that holds the node (dialogs answer themselves), or nullptr when it is not in
    /// the project's tree.
    CTekDialogData* DialogOf(const TekClass& node) const;
    /// The node the node is shown under, or nullptr.
    TekClass* ParentOf(const TekClass& node) const;

    // --- Edits ----------------------------------------------------------------------------------
    /// Sets the value of the item at that row of the node, with the side effects of its role.
    EditResult SetItemValue(TekClass& node, int row, std::string value);
    /// Moves the node one place up (-1) or down (+1) among its siblings.
    EditResult Move(TekClass* node, int delta);
    /// Removes the node; record answers its record (the text that goes to the clipboard).
    EditResult Remove(TekClass* node, std::string* record = nullptr);
    /// Groups the marked objects before the node, or ungroups the node when it holds every mark.
    EditResult GroupOrUngroup(TekClass* node);
    /// Inserts a new object or group of that type or layout name at the place the selected node
    /// and the position give.
    EditResult InsertNew(TekClass* selected, std::string_view typeName, InsertPosition position);
    /// Pastes a record: dialogs (a "Commands" list or one command record) join the dialog list;
    /// an object or group record goes where InsertNew would put it. A text that is no record
    /// changes nothing and refuses nothing; a text that does not parse refuses with the
    /// parser's report.
    EditResult Paste(TekClass* selected, const std::string& text, InsertPosition position);
    /// Assigns a picture to the image item at that row of the node.
    EditResult AssignImage(TekClass& node, int row, ImageSource source, const std::string& imageName);
    /// Adds a new dialog of that name (made unique) at the end of the list.
    EditResult AddDialog(std::string_view name);
    /// The record of a dialog, group or object (empty for other nodes).
    std::string RecordOf(const TekClass& node) const;

    // --- Drops ------------------------------------------------------------------------------------
    /// Why a new object or group of that type dropped on the node would be refused (nullopt:
    /// it would be taken). Dropped on a group it goes in as the last child, on an object right
    /// after it; only objects and groups inside a dialog's root group take drops.
    std::optional<Refusal> CheckDropNew(const TekClass* on, std::string_view typeName) const;
    /// Inserts a new object or group dropped on the node, as InsertNew would with the place that
    /// CheckDropNew tells; in a FRAME group the point becomes its PosX and PosY. One undo step.
    EditResult DropNew(TekClass* on, std::string_view typeName, std::optional<FramePoint> point = {});
    /// Why dropping the node at that place would be refused (nullopt: it would be taken).
    /// Objects and groups go anywhere in their dialog's root group (a copy into any dialog's)
    /// but never into their own subtree; header columns and commands stay with their owner;
    /// dialogs go before or after another dialog.
    std::optional<Refusal> CheckMoveTo(const TekClass* node, const TekClass* on, DropPlace place, bool copy) const;
    /// Moves the node to the place (copy: puts a copy there, as copy and paste would, names
    /// made unique). The moved node or the copy is selected. One undo step; a drop that puts the
    /// node where it is changes nothing.
    EditResult MoveTo(TekClass* node, TekClass* on, DropPlace place, bool copy, std::optional<FramePoint> point = {});

    // --- Several objects -------------------------------------------------------------------------
    /// The marked objects and groups of the dialog that no marked group holds, in tree order.
    std::vector<CObjectData*> MarkedObjects(const CTekDialogData* dialog) const;
    /// The objects the edit commands work on: the current dialog's marked objects when the
    /// selected node is one of several of them, else the selected node alone (none without one).
    std::vector<TekClass*> Operands() const;
    /// Shift+click: marks the siblings from the selected node to this one (both included),
    /// clearing the other marks; the node becomes the selected one. A node that is no sibling of
    /// the selected one is chosen as Select would.
    EditResult SelectRange(TekClass* node);
    /// Marks exactly these objects of the dialog (a rubber band); the first becomes the selected
    /// node, or the dialog when there is none.
    EditResult MarkObjects(CTekDialogData* dialog, const std::vector<CObjectData*>& objects);
    /// Sets the item of that name on every node, each with the side effects of its role, in one
    /// undo step. Refused as a whole when one of them would refuse.
    EditResult SetItemValues(const std::vector<TekClass*>& nodes, const std::string& itemName, std::string value);
    /// Removes the nodes in one undo step (nodes inside another of them go with it); record
    /// answers their record (one node's, or a "Nodes" list of several).
    EditResult RemoveNodes(const std::vector<TekClass*>& nodes, std::string* record = nullptr);
    /// The record of the nodes: one node's record, or several objects as a "Nodes" list.
    std::string RecordOfNodes(const std::vector<TekClass*>& nodes) const;

    // --- History ------------------------------------------------------------------------------
    /// Undoes the newest step of the project, whichever dialog or the dialog list it changed.
    EditResult Undo();
    EditResult Redo();
    bool CanUndo() const { return m_historyPosition > 0; }
    bool CanRedo() const { return m_historyPosition < m_history.size(); }

    // --- For edits made outside the operations (loading) ----------------------------------
    /// Before a change of the dialog's tree made elsewhere: its history holds it as it is now.
    void BeginDialogEdit(CTekDialogData& dialog);
    /// After it: records one step and tells the views.
    void EndDialogEdit(CTekDialogData& dialog);

signals:
    void modifiedChanged(bool modified);
    /// The whole tree is to be read anew (a load, a discard).
    void projectReset();
    void nodesAboutToBeInserted(vesk::TekClass* parent, int first, int last);
    void nodesInserted(vesk::TekClass* parent, int first, int last);
    void nodesAboutToBeRemoved(vesk::TekClass* parent, int first, int last);
    void nodesRemoved(vesk::TekClass* parent, int first, int last);
    /// The node at row from moves to row to (its final place) under the same parent.
    void nodeAboutToBeMoved(vesk::TekClass* parent, int from, int to);
    void nodeMoved(vesk::TekClass* parent, int from, int to);
    /// Everything below parent is about to change at once (an undo, a grouping): the views let
    /// go of what they show below it, and read it anew on childrenReset.
    void childrenAboutToBeReset(vesk::TekClass* parent);
    void childrenReset(vesk::TekClass* parent);
    /// The value of the item at that row changed.
    void itemChanged(vesk::TekClass* node, int row);
    /// The node's items changed as a whole (its item set was rebuilt, an undo restored it).
    void itemsReset(vesk::TekClass* node);
    /// An undo or redo restored the dialog.
    void dialogRestored(vesk::CTekDialogData* dialog);
    /// Something of the dialog changed (its items, its tree, its marks); nullptr: the project.
    void dialogChanged(vesk::CTekDialogData* dialog);
    /// The marks of the dialog changed.
    void marksChanged(vesk::CTekDialogData* dialog);
    void selectionChanged();
    void currentDialogChanged(vesk::CTekDialogData* dialog);
    /// The user chose a node of the dialog: its window should come forward (or open).
    void dialogChosen(vesk::CTekDialogData* dialog);
    void historyChanged();

private:
    /// One step of the project's history: an edit inside a dialog (a step of that dialog's own
    /// history), a change of the dialog list (the list before and after it, and the dialog
    /// it added, removed or moved), or an edit of the items of a node outside the dialogs (the
    /// project's own items before and after it).
    struct Step {
        DialogPtr dialog;
        bool listStep = false;
        std::vector<DialogPtr> before;
        std::vector<DialogPtr> after;
        TekClass* itemsOwner = nullptr;
        CItemList itemsBefore;
        CItemList itemsAfter;
    };

    struct Placement;
    std::optional<Refusal> FindPlacement(TekClass& selected, InsertPosition position, bool newIsGroup,
                                         Placement& placement) const;
    /// Puts the node at its place, telling the views.
    void PlaceNode(const Placement& placement, const std::shared_ptr<CObjectData>& node);

    EditResult PasteDialogs(const std::string& text);
    EditResult PasteObject(const std::string& text, TekClass& selected, InsertPosition position);
    EditResult InsertNewAt(TekClass* selected, std::string_view typeName, InsertPosition position,
                           std::optional<FramePoint> point);
    /// In a FRAME group, the point becomes the node's PosX and PosY.
    static void SetFramePoint(CObjectData& node, std::optional<FramePoint> point);
    EditResult PasteObjects(const std::string& text, TekClass& selected, InsertPosition position);

    /// The item change of SetItemValue inside an edit already begun: answers the node changed
    /// (a header or command node is replaced by a fresh copy).
    TekClass& ApplyItemValue(TekClass& node, int row, std::string value, EditResult& result);
    std::optional<Refusal> CheckItemValue(const TekClass& node, int row, const std::string& value) const;
    /// Where a dropped object or group goes: the group and the index among its children.
    bool DropDestination(const TekClass& on, DropPlace place, CObjectDataList*& group, int& index) const;
    /// Puts the node in the group at that child index, telling the views.
    void PlaceChildAt(CObjectDataList& group, int index, const std::shared_ptr<CObjectData>& node);
    EditResult MoveDialog(CTekDialogData& dialog, CTekDialogData& on, DropPlace place, bool copy);
    EditResult MoveOwnedNode(TekClass& node, TekClass& on, DropPlace place, bool copy);

    void ApplyNameRole(TekClass& node, EditResult& result);
    void AddEventCommand(TekClass& node, int row);
    void AddHeaderColumn(CObjectData& object);
    /// The node's place in its owner's list as a fresh copy, so that the undo history (which
    /// shares command and header nodes) keeps the values from before the edit; answers the copy.
    TekClass* DetachForEdit(TekClass& node);

    /// Inserts and removes with the views told.
    void InsertRows(TekClass& parent, int row, int count, const std::function<void()>& change);
    void RemoveRows(TekClass& parent, int row, int count, const std::function<void()>& change);
    void MoveRow(TekClass& parent, int from, int to, const std::function<void()>& change);
    void ResetChildren(TekClass& parent, const std::function<void()>& change);
    /// Makes each named object in the subtree unique among the dialog's other names.
    void MakeNamesUnique(CTekDialogData& dialog, CObjectData& node);

    /// Ends an edit of the dialog: records the dialog's step (and the project's), marks the
    /// project changed and tells the views.
    void FinishDialogEdit(CTekDialogData& dialog);
    /// Ends an edit of the dialog list: records the project's step; focus is the dialog that
    /// undo and redo select (the one added, removed or moved).
    void FinishListEdit(std::vector<DialogPtr> before, const CTekDialogData* focus = nullptr);
    /// Ends an edit of the items of a node outside the dialogs: records the project's step.
    void FinishItemsEdit(TekClass& node, CItemList before);
    /// Puts back the items of such a step (before them or after them); answers the node.
    TekClass* RestoreItems(const Step& step, bool redo);
    void PushStep(Step step);
    std::vector<DialogPtr> DialogList() const;
    void SetDialogList(const std::vector<DialogPtr>& dialogs);
    /// Runs the selection rules on the node, as a choice of the user would.
    void ChooseAfterEdit(TekClass* node);
    void SetSelection(TekClass* selected, TekClass* highlighted);
    void ChangeCurrentDialog(CTekDialogData* dialog);
    /// Undoes or redoes the dialog's own newest step, telling the views what it changed; answers
    /// the node the history answers.
    TekClass* RestoreDialog(CTekDialogData& dialog, bool redo);
    /// Takes back (or makes again) one step of the project's history and selects what it answers.
    EditResult ApplyStep(Step& step, bool redo);
    void ClearHistory();

    CTekResourceData m_resource;
    bool m_modified = false;
    bool m_editingEnabled = false;
    bool m_treeShown = false;
    /// Operations changing rows at the moment (the views are being told).
    int m_changing = 0;
    CTekDialogData* m_currentDialog = nullptr;
    TekClass* m_selected = nullptr;
    TekClass* m_highlighted = nullptr;
    std::vector<Step> m_history;
    size_t m_historyPosition = 0;
};

} // namespace vesk
