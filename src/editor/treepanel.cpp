#include "editor/treepanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "chrome/prompts.h"
#include "chrome/uitext.h"
#include "editor/clipboardtext.h"
#include "editor/resourcetreectrl.h"
#include "editor/resourcetreemodel.h"
#include "objects/objectdata.h"

namespace vesk {

namespace {

QPushButton* MakeButton(const char* utf8Text, const char* objectName, const char* utf8Tip, const char* utf8Status,
                        QWidget* parent)
{
    auto* button = new QPushButton(Utf8(utf8Text), parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setToolTip(Utf8(utf8Tip));
    button->setStatusTip(Utf8(utf8Status));
    button->setAccessibleDescription(Utf8(utf8Tip));
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
    m_upButton = MakeButton("▲", "moveUpButton", "前へ移動", "選択オブジェクトを前へ移動させます", m_buttons);
    m_downButton = MakeButton("▼", "moveDownButton", "後ろへ移動", "選択オブジェクトを後ろへ移動させます", m_buttons);
    m_deleteButton =
        MakeButton("削除", "deleteButton", "選択オブジェクトの削除",
                   "選択オブジェクトの削除（削除したオブジェクトはクリップボードへ保存されます）", m_buttons);
    m_groupButton = MakeButton("Group化", "groupButton", "グループ化/グループ解除",
                               "グループ化：新規にグループオブジェクトを作成し、選択オブジェクトを挿入 / "
                               "グループ解除：最上位階層のグループオブジェクトの削除",
                               m_buttons);
    auto* insertLabel = new QLabel(QStringLiteral("挿入："), m_buttons);
    insertLabel->setObjectName(QStringLiteral("insertLabel"));
    m_afterButton = MakeButton("後ろへ", "insertAfterButton", "同階層の後ろへ挿入",
                               "選択オブジェクトの後ろ（同階層）へ挿入", m_buttons);
    m_firstChildButton = MakeButton("下先頭へ", "insertFirstChildButton", "下階層の先頭へ挿入",
                                    "選択オブジェクトの下階層の先頭へ挿入", m_buttons);
    m_lastChildButton = MakeButton("下末尾へ", "insertLastChildButton", "下階層の末尾へ挿入",
                                   "選択オブジェクトの下階層の末尾へ挿入", m_buttons);
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
    const bool keepMarks = (m_tree->InputModifiers() & Qt::ControlModifier) != 0;
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
    QString text = QStringLiteral("Group化");
    if (node) {
        switch (node->Type()) {
        case NodeType::Resource:
        case NodeType::Dialog:
        case NodeType::HeaderColumn:
        case NodeType::Command:
            enabled = false;
            break;
        case NodeType::Group: {
            text = QStringLiteral("Grp.解除");
            const TekClass* parent = m_document.ParentOf(*node);
            if (parent && parent->Type() == NodeType::Dialog)
                enabled = false;
            break;
        }
        default:
            break;
        }
    }
    m_groupButton->setText(text);
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
    Show(m_document.Remove(m_document.Selected(), &record));
    if (!record.empty())
        PutRecordOnClipboard(record);
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
        Show(EditResult::Refused("エラー: リソースデータの取得に失敗しました.", true));
        return false;
    }
    const TekClass* node = m_document.Selected();
    if (!node) {
        Show(EditResult::Refused("ツリーからコピーするオブジェクトを選択して下さい。", false));
        return false;
    }
    const std::string text = m_document.RecordOf(*node);
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

} // namespace vesk
