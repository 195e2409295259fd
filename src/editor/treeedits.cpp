// The structural edits of the resource panel: move, delete, group and ungroup, insert, copy and
// paste. Each works on the selected tree item, changes the model, keeps the tree in step and
// records the step in the dialog's undo history.
#include <algorithm>

#include <QPushButton>

#include "chrome/prompts.h"
#include "chrome/uitext.h"
#include "editor/clipboardtext.h"
#include "editor/editorframe.h"
#include "editor/propertylistctrl.h"
#include "editor/resourcedlg.h"
#include "editor/resourcetreectrl.h"
#include "editor/resourcetreemodel.h"
#include "model/jsonparser.h"
#include "model/orbstream.h"
#include "model/objectreader.h"
#include "model/resourcefile.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "shell/logdlg.h"
#include "document/projectdocument.h"

namespace vesk {

namespace {

constexpr const char* kNoResource = "エラー: リソースの取得に失敗しました.";
constexpr const char* kNoResourceData = "エラー: リソースデータの取得に失敗しました.";
constexpr const char* kNoHeaderOwner = "エラー: ヘッダのオブジェクトが取得できませんでした。";
constexpr const char* kSelectPlace = "登録する場所を決定するために、ツリーのオブジェクトを選択して下さい。";
constexpr const char* kSelectDialogOrObject =
    "登録する場所を決定するために、ツリーのダイアログ、\nまたはオブジェクトを選択して下さい。";
constexpr const char* kNeedGroup = "GROUPオブジェクトを登録して下さい。";

/// The code of a type or layout name, letter case ignored: layouts first, then object types, a
/// later match overriding an earlier one. isGroup tells which table matched; -1 for none.
int CodeOfTypeName(std::string_view name, bool& isGroup)
{
    auto same = [name](const char* candidate) {
        const std::string_view text(candidate);
        return text.size() == name.size() && std::equal(text.begin(), text.end(), name.begin(), [](char a, char b) {
                   return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
               });
    };
    int code = -1;
    for (int i = 0; i < LAYOUT_COUNT; ++i)
        if (same(kLayoutNames[i])) {
            code = i;
            isGroup = true;
        }
    for (int i = 0; i < OBJ_TYPE_COUNT; ++i)
        if (same(kObjectTypeNames[i])) {
            code = i;
            isGroup = false;
        }
    return code;
}

/// Swaps an entry of a node list with its neighbour; false at the end of the list.
bool SwapInList(TekList& list, const TekClass* node, int delta)
{
    auto it = std::find_if(list.begin(), list.end(), [node](const TekPtr& p) { return p.get() == node; });
    if (it == list.end())
        return false;
    const auto index = it - list.begin();
    const auto target = index + delta;
    if (target < 0 || target >= static_cast<std::ptrdiff_t>(list.size()))
        return false;
    std::swap(list[static_cast<size_t>(index)], list[static_cast<size_t>(target)]);
    return true;
}

bool RemoveFromList(TekList& list, const TekClass* node)
{
    auto it = std::find_if(list.begin(), list.end(), [node](const TekPtr& p) { return p.get() == node; });
    if (it == list.end())
        return false;
    list.erase(it);
    return true;
}

/// The command list that an owner of command nodes keeps, or nullptr.
TekList* CommandsOf(TekClass* owner)
{
    if (!owner)
        return nullptr;
    if (owner->Type() == NodeType::Dialog)
        return &static_cast<CTekDialogData*>(owner)->Commands();
    if (owner->Type() == NodeType::Object || owner->Type() == NodeType::Group)
        return &static_cast<CObjectData*>(owner)->CommandList();
    return nullptr;
}

bool IsObjectOrGroupNode(const TekClass* node)
{
    return node && (node->Type() == NodeType::Object || node->Type() == NodeType::Group);
}

} // namespace

struct CResourceDlg::Placement {
    CTekDialogData* dialog = nullptr;
    /// The group that takes the node; nullptr when the node becomes the dialog's root.
    CObjectDataList* target = nullptr;
    /// Insert right after this child (nullptr: as the position says).
    const CObjectData* after = nullptr;
    InsertPosition position = InsertPosition::After;
};

// --- Move -------------------------------------------------------------------------------------

void CResourceDlg::MoveNode(int delta)
{
    if (!m_editingEnabled) {
        Refuse(kNoResource, true);
        return;
    }
    const TreeItemId item = m_tree->SelectedItem();
    TekClass* node = m_treeModel->NodeOf(item);
    if (!node)
        return;
    TekClass* owner = m_treeModel->NodeOf(m_treeModel->ParentOf(item));
    CTekDialogData* dialog = DialogOfNode(node);

    switch (node->Type()) {
    case NodeType::Dialog: {
        CTekDialogDataList& dialogs = m_project.Resource().Dialogs();
        const int index = dialogs.IndexOf(static_cast<CTekDialogData*>(node));
        if (index < 0 || index + delta < 0 || index + delta >= dialogs.Count())
            return;
        dialogs.Swap(index, index + delta);
        m_treeModel->MoveItem(item, delta);
        m_project.ProjectEdited();
        break;
    }
    case NodeType::Object:
    case NodeType::Group: {
        auto* object = static_cast<CObjectData*>(node);
        CObjectDataList* parent = object->ParentGroup();
        if (!parent || !dialog)
            return;
        const int index = parent->IndexOfChild(object);
        const int target = index + delta;
        if (index < 0 || target < 0 || target >= parent->ChildCount())
            return;
        m_project.BeginDialogEdit(*dialog);
        ObjectPtr keep = parent->ChildPtrAt(index);
        const ObjectPtr neighbour = parent->ChildPtrAt(target);
        parent->RemoveChild(object);
        parent->InsertChild(keep, neighbour.get(), delta < 0 ? 1 : 0);
        m_treeModel->MoveItem(item, delta);
        m_project.EndDialogEdit(*dialog);
        break;
    }
    case NodeType::HeaderColumn: {
        if (!owner || (owner->Type() != NodeType::Object && owner->Type() != NodeType::Group)) {
            Refuse(kNoHeaderOwner, true);
            return;
        }
        TekList& headers = static_cast<CObjectData*>(owner)->HeaderColumns();
        if (!dialog)
            return;
        m_project.BeginDialogEdit(*dialog);
        if (!SwapInList(headers, node, delta))
            return;
        m_treeModel->MoveItem(item, delta);
        RenumberHeaderItems(m_treeModel->ParentOf(item), headers);
        m_project.EndDialogEdit(*dialog);
        break;
    }
    case NodeType::Command: {
        TekList* commands = CommandsOf(owner);
        if (!commands || !dialog)
            return;
        m_project.BeginDialogEdit(*dialog);
        if (!SwapInList(*commands, node, delta))
            return;
        m_treeModel->MoveItem(item, delta);
        m_project.EndDialogEdit(*dialog);
        break;
    }
    default:
        return;
    }
    RefreshAfterEdit(dialog);
}

void CResourceDlg::RenumberHeaderItems(TreeItemId ownerItem, const TekList& headers)
{
    for (size_t i = 0; i < headers.size(); ++i)
        if (const TreeItemId headerItem = m_treeModel->ItemOf(headers[i].get());
            headerItem && m_treeModel->ParentOf(headerItem) == ownerItem)
            m_treeModel->SetLabel(headerItem, "Header:Cullum" + std::to_string(i + 1));
}

// --- Delete -----------------------------------------------------------------------------------

void CResourceDlg::DeleteNode()
{
    if (!m_editingEnabled) {
        Refuse(kNoResource, true);
        return;
    }
    const TreeItemId item = m_tree->SelectedItem();
    TekClass* node = m_treeModel->NodeOf(item);
    if (!node || node->Type() == NodeType::Resource || node->Type() == NodeType::DialogList)
        return;
    CopyNode();
    const TreeItemId parentItem = m_treeModel->ParentOf(item);
    TekClass* owner = m_treeModel->NodeOf(parentItem);

    if (node->Type() == NodeType::Dialog) {
        CTekDialogDataList& dialogs = m_project.Resource().Dialogs();
        auto* dialog = static_cast<CTekDialogData*>(node);
        const int index = dialogs.IndexOf(dialog);
        if (index < 0)
            return;
        if (dialogs.Count() > 1)
            m_tree->SelectItem(m_treeModel->ItemOf(&dialogs.At(index + 1 < dialogs.Count() ? index + 1 : index - 1)));
        m_frame.CloseDialogWindows(*dialog);
        if (m_currentDialog == dialog) {
            m_currentDialog = nullptr;
            ShowNode(nullptr);
            emit currentDialogChanged(nullptr);
        }
        DeleteTreeItem(item);
        const DialogPtr removed = dialogs.RemoveAt(index);
        if (m_grid->Node() && DialogOfNode(m_grid->Node()) == nullptr)
            ShowNode(nullptr);
        m_project.ProjectEdited();
        RefreshAfterEdit(m_currentDialog);
        return;
    }

    CTekDialogData* dialog = DialogOfNode(node);
    if (!dialog)
        return;
    m_project.BeginDialogEdit(*dialog);
    TreeItemId select = parentItem;
    switch (node->Type()) {
    case NodeType::HeaderColumn: {
        if (!owner || (owner->Type() != NodeType::Object && owner->Type() != NodeType::Group)) {
            Refuse(kNoHeaderOwner, true);
            return;
        }
        TekList& headers = static_cast<CObjectData*>(owner)->HeaderColumns();
        RemoveFromList(headers, node);
        DeleteTreeItem(item);
        RenumberHeaderItems(parentItem, headers);
        break;
    }
    case NodeType::Command: {
        if (TekList* commands = CommandsOf(owner))
            RemoveFromList(*commands, node);
        DeleteTreeItem(item);
        break;
    }
    default: {
        auto* object = static_cast<CObjectData*>(node);
        DeleteTreeItem(item);
        if (CObjectDataList* parent = object->ParentGroup()) {
            parent->RemoveChild(object);
        } else if (dialog->RootObject() == object) {
            dialog->SetRoot(nullptr);
            select = m_treeModel->ItemOf(dialog);
        }
        break;
    }
    }
    // The node may be gone now: the grid must not keep showing it.
    m_grid->ShowNode(nullptr);
    m_tree->SelectItem(select);
    FinishEdit(dialog);
}

// --- Group and ungroup ------------------------------------------------------------------------

void CResourceDlg::GroupOrUngroup()
{
    const TreeItemId item = m_tree->SelectedItem();
    TekClass* node = m_treeModel->NodeOf(item);
    CTekDialogData* dialog = m_currentDialog;
    if (!IsObjectOrGroupNode(node) || !dialog || !dialog->RootGroup() || DialogOfNode(node) != dialog)
        return;
    CObjectDataList* root = dialog->RootGroup();
    const int marked = root->CountMarked();
    if (marked < 1)
        return;
    auto* selected = static_cast<CObjectData*>(node);
    m_project.BeginDialogEdit(*dialog);
    CObjectData* select = nullptr;
    if (selected->IsGroup() && selected->CountMarked() == marked) {
        if (selected == root) {
            Refuse("エラー: デフォルトグループはグループ解除できません.", true);
            return;
        }
        select = static_cast<CObjectDataList*>(selected)->Ungroup();
    } else {
        select = root->GroupMarked(*selected).get();
    }
    if (!select)
        return;
    m_grid->ShowNode(nullptr);
    m_grid->RefreshRowCount();
    RebuildTree(&m_project.Resource());
    m_tree->scrollTo(m_treeModel->IndexOf(m_treeModel->ItemOf(dialog)), QAbstractItemView::PositionAtTop);
    const TreeItemId selectItem = m_treeModel->ItemOf(select);
    m_treeModel->SetCurrentItem(selectItem);
    m_tree->SelectItem(selectItem);
    ShowNode(select);
    FinishEdit(dialog);
}

// --- Insert and paste -------------------------------------------------------------------------

bool CResourceDlg::FindPlacement(TekClass& selected, InsertPosition position, bool newIsGroup, Placement& placement)
{
    placement.position = position;
    switch (selected.Type()) {
    case NodeType::Dialog: {
        auto& dialog = static_cast<CTekDialogData&>(selected);
        placement.dialog = &dialog;
        if (CObjectDataList* root = dialog.RootGroup()) {
            placement.target = root;
            return true;
        }
        if (dialog.RootObject())
            return false; // a dialog whose top node is an object takes nothing
        if (!newIsGroup) {
            Refuse(kNeedGroup, false);
            return false;
        }
        placement.target = nullptr;
        return true;
    }
    case NodeType::Object: {
        auto& object = static_cast<CObjectData&>(selected);
        placement.dialog = DialogOfNode(&object);
        placement.target = object.ParentGroup();
        placement.after = &object;
        placement.position = InsertPosition::After;
        return placement.target && placement.dialog;
    }
    case NodeType::Group: {
        auto& group = static_cast<CObjectDataList&>(selected);
        placement.dialog = DialogOfNode(&group);
        if (position == InsertPosition::After && group.ParentGroup()) {
            placement.target = group.ParentGroup();
            placement.after = &group;
        } else if (position == InsertPosition::After) {
            placement.target = &group;
            placement.position = InsertPosition::LastChild;
        } else {
            placement.target = &group;
        }
        return placement.dialog != nullptr;
    }
    default:
        Refuse(kSelectDialogOrObject, false);
        return false;
    }
}

void CResourceDlg::PlaceNode(const Placement& placement, const std::shared_ptr<CObjectData>& node)
{
    CTekDialogData& dialog = *placement.dialog;
    if (!placement.target) {
        dialog.SetRoot(node);
        node->SetParentGroup(nullptr);
        node->InsertIntoTree(*m_treeModel, m_treeModel->ItemOf(&dialog), kTreeInsertLast);
    } else {
        CObjectDataList& target = *placement.target;
        if (placement.after)
            target.InsertChild(node, placement.after, 0);
        else if (placement.position == InsertPosition::FirstChild)
            target.InsertChild(node, nullptr, 1);
        else
            target.AppendChild(node);
        node->SetParentGroup(&target);
        const TreeItemId targetItem = m_treeModel->ItemOf(&target);
        const int index = target.IndexOfChild(node.get());
        TreeItemId after = kTreeInsertFirst;
        if (index > 0) {
            after = m_treeModel->ItemOf(&target.ChildAt(index - 1));
        } else if (!target.CommandList().empty()) {
            const auto& items = m_treeModel->ChildrenOf(targetItem);
            const size_t commands = std::min(items.size(), target.CommandList().size());
            if (commands > 0)
                after = items[commands - 1];
        }
        node->InsertIntoTree(*m_treeModel, targetItem, after);
        m_treeModel->SetExpanded(targetItem, true);
    }
    const TreeItemId item = m_treeModel->ItemOf(node.get());
    ShowNode(node.get());
    m_treeModel->SetCurrentItem(item);
    m_tree->SelectItem(item);
}

TekClass* CResourceDlg::PlaceForNewContent()
{
    if (!m_editingEnabled) {
        Refuse(kNoResourceData, true);
        return nullptr;
    }
    TekClass* selected = m_treeModel->NodeOf(m_tree->SelectedItem());
    if (!selected)
        Refuse(kSelectPlace, false);
    return selected;
}

bool CResourceDlg::InsertNew(std::string_view typeName, InsertPosition position)
{
    bool isGroup = false;
    const int code = CodeOfTypeName(typeName, isGroup);
    TekClass* selected = PlaceForNewContent();
    if (!selected)
        return false;
    if (code < 0)
        return false;
    Placement placement;
    if (!FindPlacement(*selected, position, isGroup, placement))
        return false;
    CTekDialogData& dialog = *placement.dialog;
    if (!isGroup && code == OBJ_RADIOBTN && placement.target && placement.target->LayoutCode() != LAYOUT_RADIO) {
        Refuse("ラジオボタンはラジオグループに追加して下さい。", false);
        return false;
    }
    m_project.BeginDialogEdit(dialog);
    if (placement.target) {
        placement.target->ClearMarks();
        placement.target->SetExpanded(true);
    }
    std::shared_ptr<CObjectData> node;
    if (isGroup) {
        auto group = std::make_shared<CObjectDataList>(placement.target);
        BuildGroupItems(*group, code);
        node = group;
    } else {
        node = std::make_shared<CObjectData>(placement.target);
        BuildObjectItems(*node, code);
        if (code == OBJ_GRID) {
            auto header = std::make_shared<TekClass>(NodeType::HeaderColumn);
            BuildHeaderItems(*header);
            node->HeaderColumns().push_back(header);
            node->SetItem("Columns", "1");
        }
    }
    node->SetMark(1);
    PlaceNode(placement, node);
    FinishEdit(&dialog);
    return true;
}

void CResourceDlg::InsertSelectedEntry(InsertPosition position)
{
    std::string name;
    SidePanelListKind kind;
    if (!m_frame.SidePanel().GetSelectedEntry(name, kind))
        return;
    if (kind == SidePanelListKind::InsertedObjects)
        InsertNew(name, position);
    else if (kind == SidePanelListKind::Clipboard && name == "Clipboard")
        PasteNode(position);
}

void CResourceDlg::OnSidePanelEntry(SidePanelListKind kind, const std::string& name)
{
    switch (kind) {
    case SidePanelListKind::InsertedObjects:
        InsertNew(name, InsertPosition::After);
        break;
    case SidePanelListKind::Clipboard:
        if (name == "Clipboard")
            PasteNode(InsertPosition::After);
        break;
    case SidePanelListKind::BuiltinImages:
    case SidePanelListKind::StationImages:
        AssignImage(kind, name);
        break;
    }
}

bool CResourceDlg::CopyNode()
{
    if (!m_editingEnabled) {
        Refuse(kNoResourceData, true);
        return false;
    }
    TekClass* node = m_treeModel->NodeOf(m_tree->SelectedItem());
    if (!node) {
        Refuse("ツリーからコピーするオブジェクトを選択して下さい。", false);
        return false;
    }
    CJsonString text;
    if (node->Type() == NodeType::Dialog)
        WriteDialog(static_cast<CTekDialogData&>(*node), text, 0);
    else if (IsObjectOrGroupNode(node))
        static_cast<CObjectData*>(node)->WriteRecord(text, 0);
    if (text.Text().empty())
        return false;
    PutRecordOnClipboard(text.Text());
    return true;
}

bool CResourceDlg::PasteNode(InsertPosition position)
{
    const std::string text = RecordFromClipboard();
    if (text.empty())
        return false;
    TekClass* selected = PlaceForNewContent();
    if (!selected)
        return false;
    JsonParser parser;
    if (!parser.Parse(text)) {
        m_frame.UserPrompts().ShowMessage(this, ToQ(parser.ErrorText), MessageIcon::Warning);
        return false;
    }
    if (PasteCommandRecords(text))
        return true;
    return PasteObjectRecord(text, *selected, position);
}

bool CResourceDlg::PasteCommandRecords(const std::string& text)
{
    CTekResourceData& resource = m_project.Resource();
    JsonParser parser;
    parser.Parse(text);
    bool read = false;
    if (parser.IsArray("Commands")) {
        read = true;
        JsonArrayWalk walk(parser, parser.GetArray("Commands"));
        while (walk.NextElement())
            ReadCommandRecord(resource, parser);
    } else {
        read = ReadCommandRecord(resource, parser);
    }
    if (!read)
        return false;
    CTekDialogData* current = m_currentDialog;
    RebuildTree(&resource);
    if (current)
        SelectQuietly(m_treeModel->ItemOf(current));
    m_project.ProjectEdited();
    RefreshAfterEdit(current);
    return true;
}

bool CResourceDlg::PasteObjectRecord(const std::string& text, TekClass& selected, InsertPosition position)
{
    JsonParser parser;
    parser.Parse(text);
    Placement placement;
    // Read once without a parent to learn whether the record is a group.
    ObjectPtr node = ReadObjectRecord(nullptr, parser);
    if (!node)
        return false;
    if (!FindPlacement(selected, position, node->IsGroup(), placement))
        return false;
    CTekDialogData& dialog = *placement.dialog;
    m_project.BeginDialogEdit(dialog);
    if (placement.target) {
        // Read again inside the target, since some items depend on the layout of the parent.
        JsonParser again;
        again.Parse(text);
        ObjectPtr placed = ReadObjectRecord(placement.target, again);
        placement.target->RemoveChild(placed.get());
        placement.target->ClearMarks();
        placement.target->SetExpanded(true);
        PlaceNode(placement, placed);
    } else {
        // A dialog without a root group gets an empty one holding the pasted group.
        auto root = std::make_shared<CObjectDataList>(nullptr);
        BuildGroupItems(*root, -1);
        root->SetExpanded(true);
        root->AppendChild(node);
        node->SetParentGroup(root.get());
        dialog.SetRoot(root);
        root->InsertIntoTree(*m_treeModel, m_treeModel->ItemOf(&dialog), kTreeInsertLast);
        const TreeItemId item = m_treeModel->ItemOf(node.get());
        ShowNode(node.get());
        m_treeModel->SetCurrentItem(item);
        m_tree->SelectItem(item);
    }
    FinishEdit(&dialog);
    return true;
}

// --- Refresh ----------------------------------------------------------------------------------

void CResourceDlg::FinishEdit(CTekDialogData* dialog)
{
    if (dialog)
        m_project.EndDialogEdit(*dialog);
    else
        m_project.ProjectEdited();
    RefreshAfterEdit(dialog);
}

void CResourceDlg::RefreshAfterEdit(const CTekDialogData* dialog)
{
    m_tree->viewport()->update();
    m_grid->RepaintGrid();
    m_frame.RefreshDialogViews(dialog ? dialog : m_currentDialog);
}

} // namespace vesk
