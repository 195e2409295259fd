#include "objects/resourcedata.h"

#include <cstdio>

#include "objects/itemsets.h"
#include "objects/objectdata.h"

namespace vesk {

// --- CTekDialogData --------------------------------------------------------------------------

namespace {

std::string UniqueDialogName(std::string_view wanted, const CTekDialogDataList* list)
{
    std::string name(wanted);
    if (!list || !list->FindDialog(name))
        return name;
    for (int n = 2;; ++n) {
        name = std::string(wanted) + std::to_string(n);
        if (!list->FindDialog(name))
            return name;
    }
}

}  // namespace

CTekDialogData::CTekDialogData(std::string_view wantedName, const CTekDialogDataList* uniqueAgainst)
    : TekClass(NodeType::Dialog)
{
    const ChoiceLists& lists = SharedChoiceLists();
    AddItem(std::make_unique<CItemData>("Name", ItemKind::FreeText, UniqueDialogName(wantedName, uniqueAgainst)));
    AddItem(std::make_unique<CItemData>("TemplateType", ItemKind::Suggest, std::string(), &lists.templates));
    AddItem(std::make_unique<CItemData>("TargetLayoutWidth", ItemKind::Number));
    AddItem(std::make_unique<CItemData>("TargetLayoutHeight", ItemKind::Number));
    for (const char* event : {"OnOpen", "OnClose", "OnTimer"})
        AddItem(std::make_unique<CItemData>(event, ItemKind::Choice, std::string(), &lists.command));
}

CTekDialogData::~CTekDialogData() = default;

CObjectDataList* CTekDialogData::RootGroup() const
{
    return m_root && m_root->IsGroup() ? static_cast<CObjectDataList*>(m_root.get()) : nullptr;
}

std::string CTekDialogData::GetLabel() const { return "Dialog:" + GetItem("Name"); }

void CTekDialogData::CopyFrom(const TekClass& source)
{
    TekClass::CopyFrom(source);
    if (const auto* dialog = dynamic_cast<const CTekDialogData*>(&source)) {
        m_root = dialog->m_root;
        m_commands = dialog->m_commands;
    }
}

bool CTekDialogData::SameItems(const TekClass& other) const
{
    const auto* dialog = dynamic_cast<const CTekDialogData*>(&other);
    return TekClass::SameItems(other) && dialog && m_root == dialog->m_root && m_commands == dialog->m_commands;
}

int CTekDialogData::AddCommand(TekPtr command)
{
    m_commands.push_back(std::move(command));
    return static_cast<int>(m_commands.size()) - 1;
}

TreeItemId CTekDialogData::InsertIntoTree(ResourceTreeView& tree, TreeItemId parent, TreeItemId after)
{
    TreeItemId item = tree.InsertItem(GetLabel(), parent, after, this);
    for (const TekPtr& command : m_commands)
        tree.InsertItem("Command:" + command->GetItem("Command"), item, kTreeInsertLast, command.get());
    if (m_root)
        m_root->InsertIntoTree(tree, item, kTreeInsertLast);
    tree.SetExpanded(item, Expanded());
    return item;
}

// --- CTekDialogDataList ----------------------------------------------------------------------

CTekDialogDataList::CTekDialogDataList() : TekClass(NodeType::DialogList) {}

CTekDialogDataList::~CTekDialogDataList() { Clear(); }

CTekDialogData* CTekDialogDataList::FindDialog(std::string_view name) const
{
    for (const DialogPtr& dialog : m_dialogs)
        if (dialog->GetItem("Name") == name)
            return dialog.get();
    return nullptr;
}

int CTekDialogDataList::IndexOf(const CTekDialogData* dialog) const
{
    for (size_t i = 0; i < m_dialogs.size(); ++i)
        if (m_dialogs[i].get() == dialog)
            return static_cast<int>(i);
    return -1;
}

DialogPtr CTekDialogDataList::RemoveAt(int index)
{
    DialogPtr dialog = m_dialogs.at(static_cast<size_t>(index));
    m_dialogs.erase(m_dialogs.begin() + index);
    return dialog;
}

void CTekDialogDataList::Clear()
{
    while (!m_dialogs.empty())
        m_dialogs.pop_back();
}

CTekDialogData& CTekDialogDataList::AddDialog(std::string_view name)
{
    auto dialog = std::make_shared<CTekDialogData>(name, this);
    m_dialogs.push_back(dialog);
    return *dialog;
}

// --- CTekResourceData ------------------------------------------------------------------------

CTekResourceData::CTekResourceData() : TekClass(NodeType::Resource)
{
    AddDefaultItems();
}

void CTekResourceData::AddDefaultItems()
{
    AddItem(std::make_unique<CItemData>("Name", ItemKind::FreeText));
    AddItem(std::make_unique<CItemData>("DeviceWidth", ItemKind::Number));
    AddItem(std::make_unique<CItemData>("DeviceHeight", ItemKind::Number));
}

void CTekResourceData::Reset()
{
    m_dialogs.Clear();
    Items().Clear();
    AddDefaultItems();
    m_fileName.clear();
}

void CTekResourceData::BuildTree(ResourceTreeView& tree)
{
    tree.DeleteAllItems();
    TreeItemId root = tree.InsertItem("Root = " + GetItem("Name"), kTreeRootLevel, kTreeInsertLast, this);
    for (int i = 0; i < m_dialogs.Count(); ++i)
        m_dialogs.At(i).InsertIntoTree(tree, root, kTreeInsertLast);
    tree.SetExpanded(root, true);
}

}  // namespace vesk
