#pragma once

#include <string>
#include <string_view>

#include <QWidget>

#include "document/projectdocument.h"
#include "model/resourcetree.h"

class QAction;
class QMenu;
class QPushButton;

namespace vesk {

class CResourceTreeCtrl;
class CResourceTreeModel;
class Prompts;
struct EditResult;

/// The resource tree with the buttons of its edit commands ("▲", "▼", "削除", "Group化", and
/// the insert buttons). Choosing an item asks the document to select its node; the tree follows
/// the document's selection and changes. Every command is a document operation on the selected
/// node; a refusal is shown in a message box.
class CTreePanel : public QObject {
    Q_OBJECT

public:
    /// The tree and the buttons are made as children of treeParent and buttonParent.
    CTreePanel(ProjectDocument& document, Prompts& prompts, QWidget* treeParent, QWidget* buttonParent);
    ~CTreePanel() override;

    CResourceTreeCtrl& Tree() const { return *m_tree; }
    CResourceTreeModel& TreeModel() const { return *m_model; }
    /// The row of edit buttons, to be placed by the owner.
    QWidget& Buttons() const { return *m_buttons; }
    QPushButton& GroupButton() const { return *m_groupButton; }

    /// Enables or disables the tree and the buttons.
    void EnableEditing(bool enabled);

    void MoveNode(int delta);
    /// Copies the selected node to the clipboard, then removes it.
    void DeleteNode();
    void GroupOrUngroup();
    bool InsertNew(std::string_view typeName, InsertPosition position);
    /// Copies the selected dialog, group or object to the clipboard; false when nothing was placed.
    bool CopyNode();
    bool PasteNode(InsertPosition position);
    /// Copies the selected node (or the marked objects) to the clipboard, then removes it.
    bool CutNode();

    /// The edit menu of the tree and the previews: 切り取り, コピー, 貼り付け, 削除, 上へ, 下へ,
    /// Group化, Grp.解除 and 挿入 with the object types and group layouts, each enabled as its
    /// button is for the selected node (UpdateActions), with its shortcut shown.
    QMenu& ContextMenu() const { return *m_contextMenu; }
    /// The menu's action of that objectName, or nullptr.
    QAction* MenuAction(const char* objectName) const;
    /// Enables the menu's actions for the selected node.
    void UpdateActions();

signals:
    /// An insert button was pressed: the owner inserts the side panel's selected entry there.
    void insertRequested(vesk::InsertPosition position);
    /// A text for the status bar.
    void statusText(const QString& text);

private:
    void OnItemChosen(TreeItemId item, bool again);
    void FollowSelection();
    void UpdateGroupButton();
    void BuildContextMenu();
    void ShowTreeMenu(const QPoint& position);
    /// Shows the result's refusal, if any; answers whether the edit was made.
    bool Show(const EditResult& result);

    ProjectDocument& m_document;
    Prompts& m_prompts;
    bool m_enabled = false;
    CResourceTreeModel* m_model = nullptr;
    CResourceTreeCtrl* m_tree = nullptr;
    QWidget* m_buttons = nullptr;
    QPushButton* m_upButton = nullptr;
    QPushButton* m_downButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_groupButton = nullptr;
    /// The group button ungroups the selected group (else it groups the selected node).
    bool m_groupUngroups = false;
    QPushButton* m_afterButton = nullptr;
    QPushButton* m_firstChildButton = nullptr;
    QPushButton* m_lastChildButton = nullptr;
    QMenu* m_contextMenu = nullptr;
    QMenu* m_insertMenu = nullptr;
};

} // namespace vesk
