#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <QWidget>

#include "model/resourcetree.h"
#include "model/tekclass.h"
#include "shell/imagelistctrl.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;

namespace vesk {

class CLinkController;
class CLinkPage;
class LivePush;
class CObjectData;
class CObjectDataList;
class CPropertyListCtrl;
class CResourceTreeCtrl;
class CResourceTreeModel;
class CTekDialogData;
class CTekResourceData;
class EditorFrame;
class LinkLog;
class ProjectDocument;

/// Where insertion and paste put the new node, seen from the selected node.
enum class InsertPosition : int {
    After = 0,      ///< "後ろへ": behind the selected node, in its group
    FirstChild = 1, ///< "下先頭へ": first in the selected group
    LastChild = 2,  ///< "下末尾へ": last in the selected group
};

/// The centre position that an image name carries: "dial[10-20].png" gives "10,20" (the text
/// between the last "[" and the last "]", dashes made commas); false when the name has none.
bool CentrePositionOfImageName(const std::string& name, std::string& position);

/// The pages of the resource panel's tab bar.
enum ResourcePanelPage { kPageLink = 0, kPageProperties = 1 };

/// The resource panel: the project folder, the resource tree with its current dialog and marks,
/// the edit buttons and the property grid, and the terminal link controls. Tree selections set
/// the current dialog, the marks and the grid's node, and open or activate the dialog's window.
/// Every edit goes through the project document, which records the undo step and tells the
/// views.
class CResourceDlg : public QWidget {
    Q_OBJECT

public:
    CResourceDlg(ProjectDocument& project, EditorFrame& frame, LinkLog& linkLog, QWidget* parent = nullptr);
    ~CResourceDlg() override;

    // --- Selection and state ---------------------------------------------------------------
    /// Makes the dialog current (nothing when it is already): its item becomes current and
    /// selected, the grid shows it and the "プロパティー" page is shown.
    void SetCurrentDialog(CTekDialogData* dialog);
    CTekDialogData* CurrentDialog() const { return m_currentDialog; }
    /// Shows the node's items in the grid.
    void ShowNode(TekClass* node);
    /// Selects the item of node (or of the dialog when node is nullptr) as a tree click would,
    /// with the modifiers of the input that asked for it.
    void SelectNode(CTekDialogData* dialog, TekClass* node, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    /// After a project was created or loaded: enables editing, rebuilds the tree and makes the
    /// first dialog current.
    void ResetForResource();
    /// After every dialog was discarded: an empty tree, an empty grid, no current dialog.
    void ClearPanel();
    bool EditingEnabled() const { return m_editingEnabled; }
    /// Shows a page of the tab bar.
    void ShowPanelPage(int page);

    // --- Project folder --------------------------------------------------------------------
    /// The project folder (a file-system path) as last taken from the folder field.
    const std::string& ProjectFolder() const { return m_projectFolder; }
    void SetProjectFolder(std::string folder);
    /// From now on, leaving the folder field adds a missing final "/".
    void EnableFolderRule() { m_folderRuleEnabled = true; }
    /// "参照": the folder chooser; a chosen folder becomes the project folder and the picture
    /// lists are reloaded.
    void BrowseProjectFolder();

    // --- Tree edits ------------------------------------------------------------------------
    /// "▲" (-1) and "▼" (+1).
    void MoveNode(int delta);
    /// "削除": copies the selected node to the clipboard, then removes it.
    void DeleteNode();
    /// "Group化" / "Grp.解除".
    void GroupOrUngroup();
    /// Inserts a new object or group of that type or layout name; false when nothing was inserted.
    bool InsertNew(std::string_view typeName, InsertPosition position);
    /// Copies the selected dialog, group or object to the clipboard; false when nothing was placed.
    bool CopyNode();
    /// Pastes the clipboard's record; false when nothing was pasted.
    bool PasteNode(InsertPosition position);
    /// The insert buttons: the side panel's selected entry at that position.
    void InsertSelectedEntry(InsertPosition position);
    /// A double click on a side panel entry.
    void OnSidePanelEntry(SidePanelListKind kind, const std::string& name);

    // --- Property grid ---------------------------------------------------------------------
    /// The commit notice: applies the side effects that the item's name carries.
    void OnPropertyChanged(TekClass* node, const std::string& itemName);
    /// A double click on a built-in or station image: assigns it to the grid's current row.
    void AssignImage(SidePanelListKind kind, const std::string& imageName);

    // --- Undo --------------------------------------------------------------------------------
    /// Undoes or redoes the dialog's latest step and selects the node the history answers.
    void UndoDialog(CTekDialogData& dialog);
    void RedoDialog(CTekDialogData& dialog);

    // --- Link --------------------------------------------------------------------------------
    /// "送信": sends the current dialog to the connected terminal; false without a terminal or a
    /// current dialog.
    bool SendCurrentDialog();

    // --- Parts, for the main window and tests ----------------------------------------------
    CResourceTreeCtrl& Tree() const { return *m_tree; }
    CResourceTreeModel& TreeModel() const { return *m_treeModel; }
    CPropertyListCtrl& Grid() const { return *m_grid; }
    CLinkController& Link() const { return *m_link; }
    QLineEdit& FolderField() const { return *m_folder; }
    QTabBar& PageTabs() const { return *m_pageTabs; }
    QPushButton& GroupButton() const { return *m_groupButton; }
    /// The page that holds the link controls.
    CLinkPage& LinkPage() const { return *m_linkPage; }
    LivePush& Push() const { return *m_livePush; }

signals:
    /// The current dialog changed (nullptr: none).
    void currentDialogChanged(vesk::CTekDialogData* dialog);

private:
    void BuildControls();
    void EnableEditing(bool enabled);
    void OnItemSelected(TreeItemId item);
    void UpdateGroupButton(const TekClass& node, TreeItemId item);
    void TakeFolderField();
    /// Activates the dialog's window, or opens one.
    void ShowDialogWindow(CTekDialogData& dialog);
    /// The dialog whose tree holds the item (walking at most 15 parents), or nullptr.
    CTekDialogData* DialogOfItem(TreeItemId item) const;
    /// The dialog that holds the node (dialogs answer themselves), or nullptr.
    CTekDialogData* DialogOfNode(const TekClass* node) const;
    /// Rebuilds the tree, and deletes an item, without running the selection rules on the
    /// selections that the change of rows makes.
    void RebuildTree(CTekResourceData* resource);
    void DeleteTreeItem(TreeItemId item);
    /// Selects an item without running the selection rules (the item only becomes current).
    void SelectQuietly(TreeItemId item);
    void RepaintMarks();
    /// The refresh after every edit: tree and grid repainted, the current dialog's views
    /// laid out again.
    void RefreshAfterEdit(const CTekDialogData* dialog);
    /// Ends an edit: the dialog's step is recorded (without a dialog the project is marked
    /// changed), then the views are refreshed.
    void FinishEdit(CTekDialogData* dialog);
    /// A refusal or error message box.
    void Refuse(const char* utf8Text, bool error);
    /// The selected node new content goes beside or into, or nullptr after telling the user why
    /// there is none (no resource, nothing selected).
    TekClass* PlaceForNewContent();
    /// The tree label a node shows.
    std::string LabelOf(const TekClass& node, TreeItemId item) const;
    void RefreshLabel(const TekClass& node);
    void RenumberHeaderItems(TreeItemId ownerItem, const TekList& headers);
    /// Where a new or pasted node goes; false (after the refusal) when the selection takes none.
    struct Placement;
    bool FindPlacement(TekClass& selected, InsertPosition position, bool newIsGroup, Placement& placement);
    void PlaceNode(const Placement& placement, const std::shared_ptr<CObjectData>& node);
    bool PasteCommandRecords(const std::string& text);
    bool PasteObjectRecord(const std::string& text, TekClass& selected, InsertPosition position);
    void ApplyEventCommand(TekClass& node, const std::string& eventName);
    void ApplyHeaderCommand(CObjectData& object);
    /// Replaces a command or header node whose items were just edited by a copy, so that the
    /// undo history (which shares these nodes) keeps the values from before the edit.
    void DetachEditedNode(TekClass& node);
    void AfterUndoOrRedo(CTekDialogData& dialog, TekClass* answer);

    ProjectDocument& m_project;
    EditorFrame& m_frame;
    CTekDialogData* m_currentDialog = nullptr;
    bool m_editingEnabled = false;
    bool m_folderRuleEnabled = false;
    int m_quietSelection = 0;
    std::string m_projectFolder;
    /// The items of the command or header node shown in the grid, as they were before its
    /// latest commit.
    CItemList m_shownItemsBefore;

    QLineEdit* m_folder = nullptr;
    QPushButton* m_browse = nullptr;
    CResourceTreeModel* m_treeModel = nullptr;
    CResourceTreeCtrl* m_tree = nullptr;
    QPushButton* m_upButton = nullptr;
    QPushButton* m_downButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_groupButton = nullptr;
    QLabel* m_insertLabel = nullptr;
    QPushButton* m_afterButton = nullptr;
    QPushButton* m_firstChildButton = nullptr;
    QPushButton* m_lastChildButton = nullptr;
    CPropertyListCtrl* m_grid = nullptr;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_propertyPage = nullptr;
    CLinkPage* m_linkPage = nullptr;
    LivePush* m_livePush = nullptr;
    QTabBar* m_pageTabs = nullptr;
    std::unique_ptr<CLinkController> m_link;
};

} // namespace vesk
