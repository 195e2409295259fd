#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/resourcetree.h"
#include "model/tekclass.h"
#include "objects/undobuffer.h"

namespace vesk {

class CObjectData;
class CObjectDataList;
class CTekDialogData;
class CTekDialogDataList;
using DialogPtr = std::shared_ptr<CTekDialogData>;

/// One dialog: its items, root group, command nodes and undo history.
class CTekDialogData : public TekClass {
public:
    /// A dialog named wantedName, made unique against the given list ("%s%d" from 2 upward);
    /// with no list the name is taken as it is.
    CTekDialogData(std::string_view wantedName, const CTekDialogDataList* uniqueAgainst);
    ~CTekDialogData() override;

    std::string GetLabel() const override;
    int AddCommand(TekPtr command) override;
    /// Takes the items, and shares the root node and the command nodes of the source.
    void CopyFrom(const TekClass& source) override;
    /// True when the items are equal and both hold the same root node and command nodes.
    bool SameItems(const TekClass& other) const override;

    /// The top node of the dialog's tree: normally a group; a record without 'Object' yields
    /// an object there. nullptr when the dialog has none.
    CObjectData* RootObject() const { return m_root.get(); }
    const std::shared_ptr<CObjectData>& RootPtr() const { return m_root; }
    /// The top node when it is a group, else nullptr.
    CObjectDataList* RootGroup() const;
    void SetRoot(std::shared_ptr<CObjectData> root) { m_root = std::move(root); }
    TekList& Commands() { return m_commands; }
    const TekList& Commands() const { return m_commands; }
    /// The dialog's undo history.
    UndoBuffer& UndoHistory() { return m_undoBuffer; }
    const UndoBuffer& UndoHistory() const { return m_undoBuffer; }

    /// Inserts the dialog's item, its command items and its group subtree; answers the item.
    TreeItemId InsertIntoTree(ResourceTreeView& tree, TreeItemId parent, TreeItemId after);

private:
    std::shared_ptr<CObjectData> m_root;
    TekList m_commands;
    UndoBuffer m_undoBuffer{this};
};

/// The ordered list of a resource's dialogs.
class CTekDialogDataList : public TekClass {
public:
    CTekDialogDataList();
    ~CTekDialogDataList() override;

    std::string GetLabel() const override { return "Dialogs"; }

    /// The first dialog whose 'Name' equals the name, or nullptr.
    CTekDialogData* FindDialog(std::string_view name) const;
    void Append(DialogPtr dialog) { m_dialogs.push_back(std::move(dialog)); }
    /// Swaps the dialogs at two valid indexes.
    void Swap(int a, int b) { std::swap(m_dialogs.at(static_cast<size_t>(a)), m_dialogs.at(static_cast<size_t>(b))); }
    /// The dialog's index, or -1.
    int IndexOf(const CTekDialogData* dialog) const;
    CTekDialogData& At(int index) const { return *m_dialogs.at(static_cast<size_t>(index)); }
    const DialogPtr& PtrAt(int index) const { return m_dialogs.at(static_cast<size_t>(index)); }
    int Count() const { return static_cast<int>(m_dialogs.size()); }
    /// Removes the dialog at that index, answering it (the caller may keep it alive).
    DialogPtr RemoveAt(int index);
    /// Deletes the dialogs from the last to the first.
    void Clear();
    /// Constructs a dialog with that name (made unique) and appends it.
    CTekDialogData& AddDialog(std::string_view name);

private:
    std::vector<DialogPtr> m_dialogs;
};

/// The project: its items and its dialog list.
class CTekResourceData : public TekClass {
public:
    CTekResourceData();

    CTekDialogDataList& Dialogs() { return m_dialogs; }
    const CTekDialogDataList& Dialogs() const { return m_dialogs; }
    /// The project file name offered when the project is saved.
    const std::string& FileName() const { return m_fileName; }
    void SetFileName(std::string name) { m_fileName = std::move(name); }

    /// Makes this the project of a fresh start: no dialogs, the default items with empty values
    /// (items added by reading are gone) and no file name.
    void Reset();

    /// Rebuilds the whole tree: "Root = " and the resource name, then each dialog.
    void BuildTree(ResourceTreeView& tree);

private:
    void AddDefaultItems();

    std::string m_fileName;
    CTekDialogDataList m_dialogs;
};

}  // namespace vesk
