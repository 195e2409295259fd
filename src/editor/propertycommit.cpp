// The side effects of a committed property, the image assignment from the side panel, and undo
// and redo of a dialog.
#include <cstdio>

#include "chrome/uitext.h"
#include "editor/editorframe.h"
#include "editor/propertylistctrl.h"
#include "editor/resourcedlg.h"
#include "editor/resourcetreectrl.h"
#include "editor/resourcetreemodel.h"
#include "model/eventlist.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "document/projectdocument.h"

namespace vesk {

namespace {

bool IsEventItem(const std::string& name)
{
    for (const char* event : kEventNames)
        if (name == event)
            return true;
    return false;
}

/// The item that takes an image's centre position, for an image item name; nullptr for none.
const char* CentrePositionItem(const std::string& imageItem)
{
    if (imageItem == "File" || imageItem == "FileOff" || imageItem == "FileBase")
        return "CenterPosBase";
    if (imageItem == "FileOn" || imageItem == "FileActive" || imageItem == "FileCursor")
        return "CenterPosCursor";
    if (imageItem == "FileThumb" || imageItem == "FileTop")
        return "CenterPosTop";
    return nullptr;
}

} // namespace

/// The centre position an image name carries, "dial[10-20].png" giving "10,20"; false when the
/// name has no such part.
bool CentrePositionOfImageName(const std::string& name, std::string& position)
{
    const size_t close = name.rfind(']');
    if (close == std::string::npos || close < 1)
        return false;
    const std::string head = name.substr(0, close);
    const size_t open = head.rfind('[');
    if (open == std::string::npos || open < 1)
        return false;
    position = head.substr(open + 1);
    for (char& c : position)
        if (c == '-')
            c = ',';
    return true;
}

std::string CResourceDlg::LabelOf(const TekClass& node, TreeItemId item) const
{
    switch (node.Type()) {
    case NodeType::Resource:
        return "Root = " + node.GetItem("Name");
    case NodeType::Command:
        return "Command:" + node.GetItem("Command");
    case NodeType::HeaderColumn:
        return m_treeModel->LabelOf(item);
    default:
        return node.GetLabel();
    }
}

void CResourceDlg::RefreshLabel(const TekClass& node)
{
    if (const TreeItemId item = m_treeModel->ItemOf(&node))
        m_treeModel->SetLabel(item, LabelOf(node, item));
}

void CResourceDlg::ApplyHeaderCommand(CObjectData& object)
{
    TekList& headers = object.HeaderColumns();
    if (object.GetItem("Columns") == AddHeaderChoice()) {
        auto header = std::make_shared<TekClass>(NodeType::HeaderColumn);
        BuildHeaderItems(*header);
        headers.push_back(header);
        const TreeItemId objectItem = m_treeModel->ItemOf(&object);
        // After the last header column item, or first.
        TreeItemId after = kTreeInsertFirst;
        if (headers.size() > 1)
            if (const TreeItemId last = m_treeModel->ItemOf(headers[headers.size() - 2].get()))
                after = last;
        if (objectItem)
            m_treeModel->InsertItem("Header:Cullum" + std::to_string(headers.size()), objectItem, after, header.get());
    }
    object.SetItem("Columns", std::to_string(headers.size()));
}

void CResourceDlg::ApplyEventCommand(TekClass& node, const std::string& eventName)
{
    const std::string command = node.GetItem(eventName);
    if (command != CancelChoice()) {
        auto commandNode = std::make_shared<TekClass>(NodeType::Command);
        BuildCommandItems(*commandNode, command, eventName);
        node.AddCommand(commandNode);
        if (const TreeItemId ownerItem = m_treeModel->ItemOf(&node)) {
            // After the owner's last header column or command item, or first.
            size_t before = 0;
            if (node.Type() == NodeType::Dialog)
                before = static_cast<CTekDialogData&>(node).Commands().size() - 1;
            else
                before = static_cast<CObjectData&>(node).HeaderColumns().size() +
                         static_cast<CObjectData&>(node).CommandList().size() - 1;
            const auto& children = m_treeModel->ChildrenOf(ownerItem);
            const TreeItemId after = before > 0 && before <= children.size() ? children[before - 1] : kTreeInsertFirst;
            m_treeModel->InsertItem("Command:" + commandNode->GetItem("Command"), ownerItem, after, commandNode.get());
        }
    }
    node.SetItem(eventName, std::string());
}

void CResourceDlg::DetachEditedNode(TekClass& node)
{
    const TreeItemId item = m_treeModel->ItemOf(&node);
    TekClass* owner = m_treeModel->NodeOf(m_treeModel->ParentOf(item));
    TekList* list = nullptr;
    if (owner && owner->Type() == NodeType::Dialog && node.Type() == NodeType::Command)
        list = &static_cast<CTekDialogData*>(owner)->Commands();
    else if (owner && (owner->Type() == NodeType::Object || owner->Type() == NodeType::Group))
        list = node.Type() == NodeType::Command ? &static_cast<CObjectData*>(owner)->CommandList()
                                                : &static_cast<CObjectData*>(owner)->HeaderColumns();
    if (!list)
        return;
    for (TekPtr& entry : *list) {
        if (entry.get() != &node)
            continue;
        // The edited values go to a copy in the live tree; the node that earlier steps share
        // gets back the values it had.
        auto copy = std::make_shared<TekClass>(node.Type());
        copy->CopyFrom(node);
        node.Items() = m_shownItemsBefore.Clone();
        const TekPtr keep = entry;
        entry = copy;
        m_treeModel->Rebind(item, copy.get());
        m_shownItemsBefore = copy->Items().Clone();
        m_grid->ShowNode(copy.get());
        return;
    }
}

void CResourceDlg::OnPropertyChanged(TekClass* node, const std::string& itemName)
{
    if (!node)
        return;
    CTekDialogData* dialog = DialogOfNode(node);
    if (node->Type() == NodeType::Command || node->Type() == NodeType::HeaderColumn) {
        DetachEditedNode(*node);
        node = m_grid->Node();
        if (node && node->Type() == NodeType::Command)
            RefreshLabel(*node);
    } else if (itemName == "Name") {
        if (node->Type() == NodeType::Dialog) {
            const std::string wanted = node->GetItem("Name").empty() ? std::string("Dialog") : node->GetItem("Name");
            const CTekDialogDataList& dialogs = m_project.Resource().Dialogs();
            auto takenByAnother = [&](const std::string& name) {
                for (int i = 0; i < dialogs.Count(); ++i)
                    if (&dialogs.At(i) != node && dialogs.At(i).GetItem("Name") == name)
                        return true;
                return false;
            };
            std::string name = wanted;
            for (int n = 2; takenByAnother(name); ++n) {
                char suffix[16];
                std::snprintf(suffix, sizeof suffix, "%d", n);
                name = wanted + suffix;
            }
            node->SetItem("Name", name);
        }
        RefreshLabel(*node);
    } else if (itemName == "Type" && node->Type() == NodeType::Object) {
        auto& object = static_cast<CObjectData&>(*node);
        RebuildObjectItems(object, object.ObjectTypeCode());
        m_grid->RefreshRowCount();
        RefreshLabel(object);
    } else if (itemName == "Layout" && node->Type() == NodeType::Group) {
        auto& group = static_cast<CObjectDataList&>(*node);
        RebuildGroupItems(group, group.LayoutCode());
        m_grid->RefreshRowCount();
        RefreshLabel(group);
    } else if (itemName == "Columns" && node->Type() == NodeType::Object) {
        ApplyHeaderCommand(static_cast<CObjectData&>(*node));
    } else if (IsEventItem(itemName) && (node->Type() == NodeType::Dialog || node->Type() == NodeType::Object ||
                                         node->Type() == NodeType::Group)) {
        ApplyEventCommand(*node, itemName);
    } else if ((itemName == "Text" || itemName == "TextOn") && node->Type() == NodeType::Object) {
        RefreshLabel(*node);
    }

    FinishEdit(dialog);
}

void CResourceDlg::AssignImage(SidePanelListKind kind, const std::string& imageName)
{
    TekClass* node = m_grid->Node();
    const int row = m_grid->CurrentRow();
    if (!node || row < 0 || row >= node->Items().Count())
        return;
    const std::string itemName = node->Items().At(row).Name();
    static const char* const kImageItems[] = {"File",     "FileOn",     "FileOff",    "FileThumb",
                                              "FileBase", "FileActive", "FileCursor", "FileTop"};
    bool isImageItem = false;
    for (const char* name : kImageItems)
        isImageItem = isImageItem || itemName == name;
    if (!isImageItem)
        return;
    CTekDialogData* dialog = DialogOfNode(node);
    if (dialog)
        m_project.BeginDialogEdit(*dialog);
    node->Items().At(row).SetValue(imageName);
    const std::string& source = node->GetItem("FileSource");
    if (kind == SidePanelListKind::BuiltinImages && !source.empty() && source != "BUILTIN")
        node->SetItem("FileSource", "BUILTIN");
    else if (kind == SidePanelListKind::StationImages && source != "STATION")
        node->SetItem("FileSource", "STATION");
    std::string position;
    if (const char* centreItem = CentrePositionItem(itemName);
        centreItem && CentrePositionOfImageName(imageName, position))
        node->SetItem(centreItem, position);
    FinishEdit(dialog);
}

// --- Undo and redo ----------------------------------------------------------------------------

void CResourceDlg::UndoDialog(CTekDialogData& dialog)
{
    if (CObjectData* root = dialog.RootObject())
        root->SetMark(0);
    TekClass* answer = dialog.UndoHistory().Undo();
    AfterUndoOrRedo(dialog, answer);
}

void CResourceDlg::RedoDialog(CTekDialogData& dialog)
{
    if (CObjectData* root = dialog.RootObject())
        root->SetMark(0);
    TekClass* answer = dialog.UndoHistory().Redo();
    AfterUndoOrRedo(dialog, answer);
}

void CResourceDlg::AfterUndoOrRedo(CTekDialogData& dialog, TekClass* answer)
{
    if (!answer)
        return;
    // The grid may show a node that left the tree; it shows the answer instead below.
    m_grid->ShowNode(nullptr);
    m_grid->RefreshRowCount();
    RebuildTree(&m_project.Resource());
    CTekDialogData* current = m_currentDialog;
    m_currentDialog = &dialog;
    SelectNode(&dialog, answer == &dialog ? nullptr : answer);
    if (current != &dialog)
        emit currentDialogChanged(&dialog);
    m_project.DialogRestored(dialog);
    RefreshAfterEdit(&dialog);
}

} // namespace vesk
