#include "editor/resourcedlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include "chrome/prompts.h"
#include "chrome/uitext.h"
#include "editor/editorframe.h"
#include "editor/linkpage.h"
#include "editor/livepush.h"
#include "editor/propertylistctrl.h"
#include "editor/resourcetreectrl.h"
#include "editor/resourcetreemodel.h"
#include "link/linkcontroller.h"
#include "model/datafolder.h"
#include "model/resourcedata.h"
#include "objects/objectdata.h"
#include "shell/logdlg.h"
#include "document/projectdocument.h"

namespace vesk {

namespace {

/// How far the selection rules walk up from an item to find its dialog.
constexpr int kDialogSearchSteps = 15;

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

bool IsObjectOrGroup(const TekClass* node)
{
    return node && (node->Type() == NodeType::Object || node->Type() == NodeType::Group);
}

} // namespace

CResourceDlg::CResourceDlg(ProjectDocument& project, EditorFrame& frame, LinkLog& linkLog, QWidget* parent)
    : QWidget(parent), m_project(project), m_frame(frame), m_link(std::make_unique<CLinkController>(linkLog))
{
    setObjectName(QStringLiteral("resourcePanel"));
    setAccessibleName(QStringLiteral("Resource"));
    BuildControls();
    EnableEditing(false);
    ShowPanelPage(kPageProperties);
}

CResourceDlg::~CResourceDlg() = default;

void CResourceDlg::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(4);

    auto* folderRow = new QHBoxLayout;
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("projectFolder"));
    m_folder->setAccessibleName(QStringLiteral("プロジェクトフォルダ"));
    m_folder->setPlaceholderText(QStringLiteral("プロジェクトフォルダ"));
    m_browse = new QPushButton(QStringLiteral("参照"), this);
    m_browse->setObjectName(QStringLiteral("browseProjectFolder"));
    m_browse->setAccessibleDescription(QStringLiteral("フォルダを選択してください"));
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_browse);
    layout->addLayout(folderRow);
    connect(m_browse, &QPushButton::clicked, this, &CResourceDlg::BrowseProjectFolder);
    connect(m_folder, &QLineEdit::editingFinished, this, [this] {
        if (m_folderRuleEnabled)
            TakeFolderField();
    });

    m_treeModel = new CResourceTreeModel(this);
    m_tree = new CResourceTreeCtrl(*m_treeModel, this);
    layout->addWidget(m_tree, 1);
    connect(m_tree, &CResourceTreeCtrl::itemSelected, this, &CResourceDlg::OnItemSelected);

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("resourcePanelPages"));
    m_linkPage = new CLinkPage(*m_link, m_frame.UserPrompts(), m_pages);
    m_linkPage->onTakeOtherFields = [this] { SetProjectFolder(PathFromQ(m_folder->text())); };
    connect(m_linkPage, &CLinkPage::sendRequested, this, &CResourceDlg::SendCurrentDialog);
    m_livePush = new LivePush(
        *m_link, m_project.Resource(), [this] { return m_currentDialog; }, this);
    connect(m_linkPage, &CLinkPage::livePushToggled, m_livePush, &LivePush::SetEnabled);
    connect(&m_project, &ProjectDocument::dialogChanged, m_livePush, [this](CTekDialogData* dialog) {
        if (!dialog || dialog == m_currentDialog)
            m_livePush->DialogChanged();
    });
    connect(this, &CResourceDlg::currentDialogChanged, m_livePush, &LivePush::DialogChanged);
    m_propertyPage = new QWidget(m_pages);
    m_propertyPage->setObjectName(QStringLiteral("propertyPage"));
    m_propertyPage->setAccessibleName(QStringLiteral("プロパティー"));
    m_pages->addWidget(m_linkPage);
    m_pages->addWidget(m_propertyPage);
    layout->addWidget(m_pages, 1);

    auto* propertyLayout = new QVBoxLayout(m_propertyPage);
    propertyLayout->setContentsMargins(0, 0, 0, 0);
    propertyLayout->setSpacing(4);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    m_upButton = MakeButton("▲", "moveUpButton", "前へ移動", "選択オブジェクトを前へ移動させます", m_propertyPage);
    m_downButton =
        MakeButton("▼", "moveDownButton", "後ろへ移動", "選択オブジェクトを後ろへ移動させます", m_propertyPage);
    m_deleteButton =
        MakeButton("削除", "deleteButton", "選択オブジェクトの削除",
                   "選択オブジェクトの削除（削除したオブジェクトはクリップボードへ保存されます）", m_propertyPage);
    m_groupButton = MakeButton("Group化", "groupButton", "グループ化/グループ解除",
                               "グループ化：新規にグループオブジェクトを作成し、選択オブジェクトを挿入 / "
                               "グループ解除：最上位階層のグループオブジェクトの削除",
                               m_propertyPage);
    m_insertLabel = new QLabel(QStringLiteral("挿入："), m_propertyPage);
    m_insertLabel->setObjectName(QStringLiteral("insertLabel"));
    m_afterButton = MakeButton("後ろへ", "insertAfterButton", "同階層の後ろへ挿入",
                               "選択オブジェクトの後ろ（同階層）へ挿入", m_propertyPage);
    m_firstChildButton = MakeButton("下先頭へ", "insertFirstChildButton", "下階層の先頭へ挿入",
                                    "選択オブジェクトの下階層の先頭へ挿入", m_propertyPage);
    m_lastChildButton = MakeButton("下末尾へ", "insertLastChildButton", "下階層の末尾へ挿入",
                                   "選択オブジェクトの下階層の末尾へ挿入", m_propertyPage);
    for (QPushButton* button : {m_upButton, m_downButton, m_deleteButton, m_groupButton})
        buttons->addWidget(button);
    buttons->addSpacing(6);
    buttons->addWidget(m_insertLabel);
    for (QPushButton* button : {m_afterButton, m_firstChildButton, m_lastChildButton})
        buttons->addWidget(button);
    buttons->addStretch(1);
    for (QPushButton* button : {m_upButton, m_downButton})
        button->setMaximumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);
    propertyLayout->addLayout(buttons);
    connect(m_upButton, &QPushButton::clicked, this, [this] { MoveNode(-1); });
    connect(m_downButton, &QPushButton::clicked, this, [this] { MoveNode(+1); });
    connect(m_deleteButton, &QPushButton::clicked, this, &CResourceDlg::DeleteNode);
    connect(m_groupButton, &QPushButton::clicked, this, &CResourceDlg::GroupOrUngroup);
    connect(m_afterButton, &QPushButton::clicked, this, [this] { InsertSelectedEntry(InsertPosition::After); });
    connect(m_firstChildButton, &QPushButton::clicked, this,
            [this] { InsertSelectedEntry(InsertPosition::FirstChild); });
    connect(m_lastChildButton, &QPushButton::clicked, this, [this] { InsertSelectedEntry(InsertPosition::LastChild); });

    m_grid = new CPropertyListCtrl(m_frame.UserPrompts(), m_propertyPage);
    propertyLayout->addWidget(m_grid, 1);
    connect(m_grid, &CPropertyListCtrl::propertyChanged, this, &CResourceDlg::OnPropertyChanged);
    connect(m_grid, &CPropertyListCtrl::statusText, this, [this](const QString& text) { m_frame.SetStatusText(text); });
    connect(m_grid, &CPropertyListCtrl::imagePickRequested, this, [this](TekClass* node, const std::string&) {
        // The node's 'FileSource' decides which list offers the pictures.
        const std::string& source = node->GetItem("FileSource");
        if (source == "URI" || source == "STRAGE")
            return;
        const bool station = source == "STATION";
        const int page = station ? kPageStationImages : kPageBuiltinImages;
        const int row = m_grid->CurrentRow();
        CLogDlg& side = m_frame.SidePanel();
        if (row >= 0 && row < node->Items().Count())
            side.List(station ? SidePanelListKind::StationImages : SidePanelListKind::BuiltinImages)
                .SelectByName(node->Items().At(row).Value());
        side.ShowPage(page);
    });

    m_pageTabs = new QTabBar(this);
    m_pageTabs->setObjectName(QStringLiteral("resourcePanelTabs"));
    m_pageTabs->setAccessibleName(QStringLiteral("リソースパネルのページ"));
    m_pageTabs->addTab(QStringLiteral("接続"));
    m_pageTabs->addTab(QStringLiteral("プロパティー"));
    m_pageTabs->setShape(QTabBar::RoundedSouth);
    m_pageTabs->setExpanding(false);
    layout->addWidget(m_pageTabs);
    connect(m_pageTabs, &QTabBar::currentChanged, m_pages, &QStackedWidget::setCurrentIndex);
}

void CResourceDlg::EnableEditing(bool enabled)
{
    m_editingEnabled = enabled;
    m_tree->setEnabled(enabled);
    m_grid->setEnabled(enabled);
    for (QPushButton* button : {m_upButton, m_downButton, m_deleteButton, m_groupButton, m_afterButton,
                                m_firstChildButton, m_lastChildButton})
        button->setEnabled(enabled);
}

void CResourceDlg::ShowPanelPage(int page)
{
    m_pageTabs->setCurrentIndex(page);
    m_pages->setCurrentIndex(page);
}

// --- Project folder ---------------------------------------------------------------------------

void CResourceDlg::SetProjectFolder(std::string folder)
{
    m_projectFolder = std::move(folder);
    m_folder->setText(PathToQ(m_projectFolder));
    m_link->SetProjectFolder(m_projectFolder);
}

void CResourceDlg::TakeFolderField()
{
    SetProjectFolder(WithTrailingSlash(PathFromQ(m_folder->text())));
}

void CResourceDlg::BrowseProjectFolder()
{
    const QString prompt = QStringLiteral("フォルダを選択してください");
    const QString chosen = m_frame.UserPrompts().ChooseFolder(this, prompt, prompt, m_folder->text());
    if (chosen.isEmpty())
        return;
    SetProjectFolder(WithTrailingSlash(PathFromQ(chosen)));
    m_frame.LoadImages();
}

// --- Selection --------------------------------------------------------------------------------

void CResourceDlg::SelectQuietly(TreeItemId item)
{
    ++m_quietSelection;
    m_tree->SelectItem(item);
    --m_quietSelection;
    m_treeModel->SetCurrentItem(item);
}

void CResourceDlg::RebuildTree(CTekResourceData* resource)
{
    ++m_quietSelection;
    m_treeModel->Rebuild(resource);
    --m_quietSelection;
}

void CResourceDlg::DeleteTreeItem(TreeItemId item)
{
    ++m_quietSelection;
    m_treeModel->DeleteItem(item);
    --m_quietSelection;
}

void CResourceDlg::RepaintMarks()
{
    m_treeModel->RepaintAll();
    m_frame.RefreshDialogViews(m_currentDialog);
}

void CResourceDlg::ShowDialogWindow(CTekDialogData& dialog)
{
    if (!m_frame.ActivateDialogWindow(dialog))
        m_frame.OpenDialogWindow(dialog);
}

CTekDialogData* CResourceDlg::DialogOfItem(TreeItemId item) const
{
    for (int step = 0; item != 0 && step <= kDialogSearchSteps; ++step) {
        TekClass* node = m_treeModel->NodeOf(item);
        if (node && node->Type() == NodeType::Dialog)
            return static_cast<CTekDialogData*>(node);
        item = m_treeModel->ParentOf(item);
    }
    return nullptr;
}

CTekDialogData* CResourceDlg::DialogOfNode(const TekClass* node) const
{
    if (!node)
        return nullptr;
    if (node->Type() == NodeType::Dialog)
        return const_cast<CTekDialogData*>(static_cast<const CTekDialogData*>(node));
    // Walk the whole way up: edits must find their dialog however deep the node lies.
    for (TreeItemId item = m_treeModel->ItemOf(node); item != 0; item = m_treeModel->ParentOf(item)) {
        TekClass* above = m_treeModel->NodeOf(item);
        if (above && above->Type() == NodeType::Dialog)
            return static_cast<CTekDialogData*>(above);
    }
    return nullptr;
}

void CResourceDlg::UpdateGroupButton(const TekClass& node, TreeItemId item)
{
    bool enabled = m_editingEnabled;
    QString text = QStringLiteral("Group化");
    switch (node.Type()) {
    case NodeType::Resource:
    case NodeType::Dialog:
    case NodeType::HeaderColumn:
    case NodeType::Command:
        enabled = false;
        break;
    case NodeType::Group: {
        text = QStringLiteral("Grp.解除");
        const TekClass* parent = m_treeModel->NodeOf(m_treeModel->ParentOf(item));
        if (parent && parent->Type() == NodeType::Dialog)
            enabled = false;
        break;
    }
    default:
        break;
    }
    m_groupButton->setText(text);
    m_groupButton->setEnabled(enabled);
}

void CResourceDlg::OnItemSelected(TreeItemId item)
{
    if (m_quietSelection > 0 || item == 0)
        return;
    const Qt::KeyboardModifiers modifiers = m_tree->InputModifiers();
    TekClass* node = m_treeModel->NodeOf(item);
    if (!node) {
        Refuse("エラー: リソースの取得に失敗しました.", true);
        return;
    }
    m_treeModel->SetCurrentItem(item);
    ShowNode(node);
    UpdateGroupButton(*node, item);

    switch (node->Type()) {
    case NodeType::Resource:
    case NodeType::DialogList:
        return;
    case NodeType::Dialog: {
        auto* dialog = static_cast<CTekDialogData*>(node);
        if (CObjectData* root = dialog->RootObject())
            root->SetMark(0);
        SetCurrentDialog(dialog);
        ShowDialogWindow(*dialog);
        RepaintMarks();
        return;
    }
    default:
        break;
    }

    TekClass* taken = node;
    if (node->Type() == NodeType::HeaderColumn || node->Type() == NodeType::Command) {
        taken = m_treeModel->NodeOf(m_treeModel->ParentOf(item));
        if (!taken) {
            Refuse("エラー: ヘッダのオブジェクトが取得できませんでした。", true);
            return;
        }
    }
    CTekDialogData* dialog = DialogOfItem(item);
    if (!dialog)
        return;
    if (dialog != m_currentDialog) {
        m_currentDialog = dialog;
        m_project.BeginDialogEdit(*dialog);
        emit currentDialogChanged(dialog);
    }
    CObjectData* root = dialog->RootObject();
    if (root && !(modifiers & Qt::ControlModifier))
        root->SetMark(0);
    if (IsObjectOrGroup(taken)) {
        auto* object = static_cast<CObjectData*>(taken);
        if (object->GetMark()) {
            object->SetMark(0);
            CObjectData* marked = root ? root->FindMarked() : nullptr;
            const TreeItemId current = m_treeModel->ItemOf(marked);
            m_treeModel->SetCurrentItem(current ? current : m_treeModel->ItemOf(dialog));
        } else {
            object->SetMark(1);
        }
    }
    ShowDialogWindow(*dialog);
    RepaintMarks();
}

void CResourceDlg::SetCurrentDialog(CTekDialogData* dialog)
{
    if (dialog == m_currentDialog)
        return;
    m_currentDialog = dialog;
    if (dialog) {
        m_project.BeginDialogEdit(*dialog);
        SelectQuietly(m_treeModel->ItemOf(dialog));
        UpdateGroupButton(*dialog, m_treeModel->ItemOf(dialog));
        ShowNode(dialog);
        ShowPanelPage(kPageProperties);
    }
    emit currentDialogChanged(dialog);
}

void CResourceDlg::ShowNode(TekClass* node)
{
    if (node && (node->Type() == NodeType::HeaderColumn || node->Type() == NodeType::Command))
        m_shownItemsBefore = node->Items().Clone();
    m_grid->ShowNode(node);
    m_grid->RepaintGrid();
}

void CResourceDlg::SelectNode(CTekDialogData* dialog, TekClass* node, Qt::KeyboardModifiers modifiers)
{
    const TreeItemId item = m_treeModel->ItemOf(node ? node : dialog);
    if (item == 0) {
        m_treeModel->SetCurrentItem(0);
        ShowNode(node ? node : dialog);
        return;
    }
    m_treeModel->SetCurrentItem(item);
    m_tree->SetInputModifiers(modifiers);
    if (m_tree->SelectedItem() == item) {
        // Chosen again: the selection rules run as for a new selection.
        OnItemSelected(item);
        m_tree->SetInputModifiers(Qt::NoModifier);
        return;
    }
    m_tree->SelectItem(item);
}

void CResourceDlg::ResetForResource()
{
    EnableEditing(true);
    RebuildTree(&m_project.Resource());
    m_currentDialog = nullptr;
    CTekDialogDataList& dialogs = m_project.Resource().Dialogs();
    if (dialogs.Count() > 0) {
        SetCurrentDialog(&dialogs.At(0));
    } else {
        ShowNode(nullptr);
        emit currentDialogChanged(nullptr);
    }
}

void CResourceDlg::ClearPanel()
{
    RebuildTree(nullptr);
    ShowNode(nullptr);
    m_currentDialog = nullptr;
    emit currentDialogChanged(nullptr);
}

bool CResourceDlg::SendCurrentDialog()
{
    if (!m_link->TerminalConnection() || !m_currentDialog)
        return false;
    return m_link->SendDialog(m_project.Resource(), m_currentDialog->GetItem("Name"));
}

void CResourceDlg::Refuse(const char* utf8Text, bool error)
{
    m_frame.UserPrompts().ShowMessage(this, Utf8(utf8Text), error ? MessageIcon::Error : MessageIcon::Warning);
}

} // namespace vesk
