#include "editor/treepanel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>

#include "chrome/prompts.h"
#include "chrome/uitext.h"
#include "editor/clipboardtext.h"
#include "editor/resourcetreectrl.h"
#include "editor/resourcetreemodel.h"
#include "objects/objectdata.h"

namespace vesk {

namespace {

QPushButton* MakeButton(const QString& text, const char* objectName, const QString& tip, const QString& status,
                        QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setToolTip(tip);
    button->setStatusTip(status);
    button->setAccessibleDescription(tip);
    return button;
}

} // namespace

CTreePanel::CTreePanel(ProjectDocument& document, Prompts& prompts, QWidget* treeParent, QWidget* buttonParent)
    : QObject(treeParent), m_document(document), m_prompts(prompts)
{
    m_model = new CResourceTreeModel(document, this);
    m_tree = new CResourceTreeCtrl(*m_model, treeParent);
    connect(m_tree, &CResourceTreeCtrl::itemSelected, this, [this](TreeItemId item) { OnItemChosen(item, false); });
    connect(m_tree, &CResourceTreeCtrl::itemChosenAgain, this, [this](TreeItemId item) { OnItemChosen(item, true); });
    connect(&document, &ProjectDocument::selectionChanged, this, &CTreePanel::FollowSelection);

    m_buttons = new QWidget(buttonParent);
    m_buttons->setObjectName(QStringLiteral("treeEditButtons"));
    auto* row = new QHBoxLayout(m_buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    m_upButton = MakeButton(QStringLiteral("▲"), "moveUpButton", tr("前へ移動"), tr("選択オブジェクトを前へ移動させます"), m_buttons);
    m_downButton = MakeButton(QStringLiteral("▼"), "moveDownButton", tr("後ろへ移動"), tr("選択オブジェクトを後ろへ移動させます"), m_buttons);
    m_deleteButton =
        MakeButton(tr("削除"), "deleteButton", tr("選択オブジェクトの削除"),
                   tr("選択オブジェクトの削除（削除したオブジェクトはクリップボードへ保存されます）"), m_buttons);
    m_groupButton = MakeButton(tr("Group化"), "groupButton", tr("グループ化/グループ解除"),
                               tr("グループ化：新規にグループオブジェクトを作成し、選択オブジェクトを挿入 / "
                                  "グループ解除：最上位階層のグループオブジェクトの削除"),
                               m_buttons);
    auto* insertLabel = new QLabel(tr("挿入："), m_buttons);
    insertLabel->setObjectName(QStringLiteral("insertLabel"));
    m_afterButton = MakeButton(tr("後ろへ"), "insertAfterButton", tr("同階層の後ろへ挿入"),
                               tr("選択オブジェクトの後ろ（同階層）へ挿入"), m_buttons);
    m_firstChildButton = MakeButton(tr("下先頭へ"), "insertFirstChildButton", tr("下階層の先頭へ挿入"),
                                    tr("選択オブジェクトの下階層の先頭へ挿入"), m_buttons);
    m_lastChildButton = MakeButton(tr("下末尾へ"), "insertLastChildButton", tr("下階層の末尾へ挿入"),
                                   tr("選択オブジェクトの下階層の末尾へ挿入"), m_buttons);
    for (QPushButton* button : {m_upButton, m_downButton, m_deleteButton, m_groupButton})
        row->addWidget(button);
    row->addSpacing(6);
    row->addWidget(insertLabel);
    for (QPushButton* button : {m_afterButton, m_firstChildButton, m_lastChildButton})
        row->addWidget(button);
    row->addStretch(1);
    for (QPushButton* button : {m_upButton, m_downButton})
        button->setMaximumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);
    connect(m_upButton, &QPushButton::clicked, this, [this] { MoveNode(-1); });
    connect(m_downButton, &QPushButton::clicked, this, [this] { MoveNode(+1); });
    connect(m_deleteButton, &QPushButton::clicked, this, &CTreePanel::DeleteNode);
    connect(m_groupButton, &QPushButton::clicked, this, &CTreePanel::GroupOrUngroup);
    connect(m_afterButton, &QPushButton::clicked, this, [this] { emit insertRequested(InsertPosition::After); });
    connect(m_firstChildButton, &QPushButton::clicked, this,
            [this] { emit insertRequested(InsertPosition::FirstChild); });
    connect(m_lastChildButton, &QPushButton::clicked, this,
            [this] { emit insertRequested(InsertPosition::LastChild); });
    BuildContextMenu();
}

CTreePanel::~CTreePanel() = default;

void CTreePanel::EnableEditing(bool enabled)
{
    m_enabled = enabled;
    m_tree->setEnabled(enabled);
    for (QPushButton* button : {m_upButton, m_downButton, m_deleteButton, m_groupButton, m_afterButton,
                                m_firstChildButton, m_lastChildButton})
        button->setEnabled(enabled);
    if (enabled)
        UpdateGroupButton();
}

// --- Selection ------------------------------------------------------------------------------------

void CTreePanel::OnItemChosen(TreeItemId item, bool again)
{
    TekClass* node = m_model->NodeOf(item);
    if (!node) {
        m_document.ClearSelection();
        return;
    }
    // The document's own selection, which the tree follows.
    if (!again && node == m_document.Selected())
        return;
    const Qt::KeyboardModifiers modifiers = m_tree->InputModifiers();
    if (modifiers & Qt::ShiftModifier) {
        Show(m_document.SelectRange(node));
        return;
    }
    const bool keepMarks = (modifiers & Qt::ControlModifier) != 0;
    Show(m_document.Select(node, keepMarks));
}

void CTreePanel::FollowSelection()
{
    const QModelIndex index = m_model->IndexOfNode(m_document.Selected());
    if (index != m_tree->currentIndex()) {
        if (index.isValid())
            m_tree->SelectItem(m_model->ItemOf(m_document.Selected()));
        else
            m_tree->SelectItem(0);
    }
    UpdateGroupButton();
}

void CTreePanel::UpdateGroupButton()
{
    const TekClass* node = m_document.Selected();
    bool enabled = m_enabled;
    bool ungroups = false;
    if (node) {
        switch (node->Type()) {
        case NodeType::Resource:
        case NodeType::Dialog:
        case NodeType::HeaderColumn:
        case NodeType::Command:
            enabled = false;
            break;
        case NodeType::Group: {
            ungroups = true;
            const TekClass* parent = m_document.ParentOf(*node);
            if (parent && parent->Type() == NodeType::Dialog)
                enabled = false;
            break;
        }
        default:
            break;
        }
    }
    m_groupUngroups = ungroups;
    m_groupButton->setText(ungroups ? tr("Grp.解除") : tr("Group化"));
    m_groupButton->setEnabled(enabled);
}

bool CTreePanel::Show(const EditResult& result)
{
    if (result.refusal)
        m_prompts.ShowMessage(m_tree, Utf8(result.refusal->text.c_str()),
                              result.refusal->error ? MessageIcon::Error : MessageIcon::Warning);
    if (!result.status.empty())
        emit statusText(Utf8(result.status.c_str()));
    return result.done;
}

// --- Commands ----------------------------------------------------------------------------------------

void CTreePanel::MoveNode(int delta)
{
    Show(m_document.Move(m_document.Selected(), delta));
}

void CTreePanel::DeleteNode()
{
    std::string record;
    Show(m_document.RemoveNodes(m_document.Operands(), &record));
    if (!record.empty())
        PutRecordOnClipboard(record);
}

bool CTreePanel::CutNode()
{
    if (!CopyNode())
        return false;
    DeleteNode();
    return true;
}

void CTreePanel::GroupOrUngroup()
{
    Show(m_document.GroupOrUngroup(m_document.Selected()));
}

bool CTreePanel::InsertNew(std::string_view typeName, InsertPosition position)
{
    return Show(m_document.InsertNew(m_document.Selected(), typeName, position));
}

bool CTreePanel::CopyNode()
{
    if (!m_document.EditingEnabled()) {
        Show(EditResult::Refused(tr("エラー: リソースデータの取得に失敗しました.").toStdString(), true));
        return false;
    }
    const TekClass* node = m_document.Selected();
    if (!node) {
        Show(EditResult::Refused(tr("ツリーからコピーするオブジェクトを選択して下さい。").toStdString(), false));
        return false;
    }
    const std::string text = m_document.RecordOfNodes(m_document.Operands());
    if (text.empty())
        return false;
    PutRecordOnClipboard(text);
    return true;
}

bool CTreePanel::PasteNode(InsertPosition position)
{
    const std::string text = RecordFromClipboard();
    if (text.empty())
        return false;
    return Show(m_document.Paste(m_document.Selected(), text, position));
}

// --- Context menu ------------------------------------------------------------------------------------

void CTreePanel::BuildContextMenu()
{
    m_contextMenu = new QMenu(m_tree);
    m_contextMenu->setObjectName(QStringLiteral("treeEditMenu"));
    m_contextMenu->setAccessibleName(tr("編集"));
    struct Entry {
        const char* name;
        const char* text;
        QKeySequence shortcut;
        bool onTree; ///< the shortcut works in the tree (the others belong to the main window)
        std::function<void()> run;
    };
    const Entry entries[] = {
        {"menuCut", QT_TR_NOOP("切り取り"), QKeySequence(Qt::CTRL | Qt::Key_X), false, [this] { CutNode(); }},
        {"menuCopy", QT_TR_NOOP("コピー"), QKeySequence(Qt::CTRL | Qt::Key_C), false, [this] { CopyNode(); }},
        {"menuPaste", QT_TR_NOOP("貼り付け"), QKeySequence(Qt::CTRL | Qt::Key_V), false,
         [this] { PasteNode(InsertPosition::After); }},
        {"menuDelete", QT_TR_NOOP("削除"), QKeySequence(Qt::Key_Delete), true, [this] { DeleteNode(); }},
        {"menuMoveUp", QT_TR_NOOP("上へ"), QKeySequence(Qt::ALT | Qt::Key_Up), true, [this] { MoveNode(-1); }},
        {"menuMoveDown", QT_TR_NOOP("下へ"), QKeySequence(Qt::ALT | Qt::Key_Down), true, [this] { MoveNode(+1); }},
        {"menuGroup", QT_TR_NOOP("Group化"), QKeySequence(Qt::CTRL | Qt::Key_G), true, [this] { GroupOrUngroup(); }},
        {"menuUngroup", QT_TR_NOOP("Grp.解除"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G), true, [this] { GroupOrUngroup(); }},
    };
    for (const Entry& entry : entries) {
        if (std::string_view(entry.name) == "menuDelete" || std::string_view(entry.name) == "menuGroup")
            m_contextMenu->addSeparator();
        auto* action = new QAction(tr(entry.text), m_contextMenu);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setShortcut(entry.shortcut);
        if (entry.onTree) {
            // Active while the tree has the focus; the menu shows the keys either way.
            action->setShortcutContext(Qt::WidgetShortcut);
            m_tree->addAction(action);
        }
        connect(action, &QAction::triggered, this, entry.run);
        m_contextMenu->addAction(action);
    }
    m_contextMenu->addSeparator();
    m_insertMenu = m_contextMenu->addMenu(tr("挿入"));
    m_insertMenu->setObjectName(QStringLiteral("menuInsert"));
    m_insertMenu->menuAction()->setObjectName(QStringLiteral("menuInsertTypes"));
    auto addTypes = [this](const char* const* names, int count) {
        for (int i = 0; i < count; ++i) {
            const std::string name = names[i];
            auto* action = m_insertMenu->addAction(QString::fromLatin1(names[i]));
            action->setObjectName(QStringLiteral("menuInsert") + QString::fromLatin1(names[i]));
            connect(action, &QAction::triggered, this, [this, name] { InsertNew(name, InsertPosition::After); });
        }
    };
    addTypes(kObjectTypeNames, OBJ_TYPE_COUNT);
    m_insertMenu->addSeparator();
    addTypes(kLayoutNames, LAYOUT_COUNT);
    connect(m_contextMenu, &QMenu::aboutToShow, this, &CTreePanel::UpdateActions);

    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tree, &QWidget::customContextMenuRequested, this, &CTreePanel::ShowTreeMenu);
}

QAction* CTreePanel::MenuAction(const char* objectName) const
{
    return m_contextMenu->findChild<QAction*>(QString::fromLatin1(objectName));
}

void CTreePanel::UpdateActions()
{
    UpdateGroupButton();
    const TekClass* node = m_document.Selected();
    const bool editing = m_enabled;
    const bool record =
        editing && node &&
        (node->Type() == NodeType::Dialog || node->Type() == NodeType::Object || node->Type() == NodeType::Group);
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    const bool paste = editing && node && clipboard &&
                       (clipboard->hasText() || clipboard->hasFormat(QString::fromLatin1(kRecordMimeType)));
    MenuAction("menuCut")->setEnabled(record);
    MenuAction("menuCopy")->setEnabled(record);
    MenuAction("menuPaste")->setEnabled(paste);
    for (const char* name : {"menuDelete", "menuMoveUp", "menuMoveDown"})
        MenuAction(name)->setEnabled(m_deleteButton->isEnabled() && node != nullptr);
    const bool ungroup = m_groupUngroups;
    MenuAction("menuGroup")->setEnabled(m_groupButton->isEnabled() && !ungroup);
    MenuAction("menuUngroup")->setEnabled(m_groupButton->isEnabled() && ungroup);
    m_insertMenu->setEnabled(m_afterButton->isEnabled() && node != nullptr);
}

void CTreePanel::ShowTreeMenu(const QPoint& position)
{
    const QModelIndex index = m_tree->indexAt(position);
    if (index.isValid() && m_model->NodeAt(index) != m_document.Selected())
        m_tree->SelectItem(m_model->ItemAt(index));
    UpdateActions();
    m_contextMenu->popup(m_tree->viewport()->mapToGlobal(position));
}

} // namespace vesk
