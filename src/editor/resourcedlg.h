#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <QWidget>

#include "document/projectdocument.h"
#include "model/resourcetree.h"
#include "editor/sidepanelaccess.h"

class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;

namespace vesk {

class CLinkController;
class CLinkPage;
class CPropertyListCtrl;
class CPropertyPanel;
class CResourceTreeCtrl;
class CResourceTreeModel;
class CTreePanel;
class DropHandler;
class EditorFrame;
class LinkLog;
class LivePush;

/// The pages of the resource panel's tab bar.
enum ResourcePanelPage { kPageLink = 0, kPageProperties = 1 };

/// The "Resource" bar: the project folder, the tree panel (the resource tree and its edit
/// buttons), the property panel and the link panel, on the tabs "接続" and "プロパティー".
/// The panels follow the project document and edit through it; this bar only places them and
/// passes on what one of them asks of the main window.
class CResourceDlg : public QWidget {
    Q_OBJECT

public:
    CResourceDlg(ProjectDocument& project, EditorFrame& frame, LinkLog& linkLog, QWidget* parent = nullptr);
    ~CResourceDlg() override;

    // --- Selection and state ---------------------------------------------------------------
    /// Makes the dialog current (nothing when it is already): it becomes the selected node and
    /// the "プロパティー" page is shown.
    void SetCurrentDialog(CTekDialogData* dialog);
    CTekDialogData* CurrentDialog() const { return m_project.CurrentDialog(); }
    /// Chooses the node (or the dialog when node is nullptr) as a click would, with the modifiers
    /// of the input that asked for it (Ctrl adds to the marks, Shift marks a range of siblings).
    void SelectNode(CTekDialogData* dialog, TekClass* node, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    /// After a project was created or loaded: enables editing and shows the tree anew.
    void ResetForResource();
    /// After every dialog was discarded: an empty tree, an empty grid, no current dialog.
    void ClearPanel();
    bool EditingEnabled() const { return m_project.EditingEnabled(); }
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

    // --- Tree edits (the tree panel's commands) ----------------------------------------------
    void MoveNode(int delta);
    void DeleteNode();
    void GroupOrUngroup();
    bool InsertNew(std::string_view typeName, InsertPosition position);
    bool CopyNode();
    bool PasteNode(InsertPosition position);
    /// The insert buttons: the side panel's selected entry at that position.
    void InsertSelectedEntry(InsertPosition position);
    /// A double click on a side panel entry.
    void OnSidePanelEntry(SidePanelListKind kind, const std::string& name);
    /// A double click on a built-in or station image: assigns it to the grid's current row.
    void AssignImage(SidePanelListKind kind, const std::string& imageName);

    // --- Link --------------------------------------------------------------------------------
    /// "送信": sends the current dialog to the connected terminal; false without a terminal or a
    /// current dialog.
    bool SendCurrentDialog();

    // --- Parts, for the main window and tests ----------------------------------------------
    CTreePanel& TreePanel() const { return *m_treePanel; }
    CPropertyPanel& PropertyPanel() const { return *m_propertyPanel; }
    CResourceTreeCtrl& Tree() const;
    CResourceTreeModel& TreeModel() const;
    CPropertyListCtrl& Grid() const;
    QPushButton& GroupButton() const;
    CLinkController& Link() const { return *m_link; }
    QLineEdit& FolderField() const { return *m_folder; }
    QTabBar& PageTabs() const { return *m_pageTabs; }
    /// The page that holds the link controls.
    CLinkPage& LinkPage() const { return *m_linkPage; }
    LivePush& Push() const { return *m_livePush; }
    /// Takes the drops on the tree and the previews (as document operations).
    DropHandler& Drops() const { return *m_drops; }

signals:
    /// The current dialog changed (nullptr: none).
    void currentDialogChanged(vesk::CTekDialogData* dialog);

private:
    void BuildControls();
    void EnableEditing(bool enabled);
    void TakeFolderField();

    ProjectDocument& m_project;
    EditorFrame& m_frame;
    bool m_folderRuleEnabled = false;
    std::string m_projectFolder;

    QLineEdit* m_folder = nullptr;
    QPushButton* m_browse = nullptr;
    CTreePanel* m_treePanel = nullptr;
    CPropertyPanel* m_propertyPanel = nullptr;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_propertyPage = nullptr;
    CLinkPage* m_linkPage = nullptr;
    LivePush* m_livePush = nullptr;
    QTabBar* m_pageTabs = nullptr;
    std::unique_ptr<CLinkController> m_link;
    std::unique_ptr<DropHandler> m_drops;
};

} // namespace vesk
