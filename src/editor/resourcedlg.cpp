#include "editor/resourcedlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include "chrome/prompts.h"
#include "chrome/uitext.h"
#include "editor/dragdrop.h"
#include "editor/editorframe.h"
#include "editor/linkpage.h"
#include "editor/livepush.h"
#include "editor/propertylistctrl.h"
#include "editor/propertypanel.h"
#include "editor/resourcetreectrl.h"
#include "editor/resourcetreemodel.h"
#include "editor/treepanel.h"
#include "link/linkcontroller.h"
#include "model/datafolder.h"
#include "objects/resourcedata.h"
#include "editor/sidepanelaccess.h"

namespace vesk {

CResourceDlg::CResourceDlg(ProjectDocument& project, EditorFrame& frame, LinkLog& linkLog, QWidget* parent)
    : QWidget(parent), m_project(project), m_frame(frame), m_link(std::make_unique<CLinkController>(linkLog)),
      m_drops(std::make_unique<DropHandler>(project))
{
    setObjectName(QStringLiteral("resourcePanel"));
    setAccessibleName(QStringLiteral("Resource"));
    BuildControls();
    EnableEditing(false);
    ShowPanelPage(kPageProperties);

    connect(&project, &ProjectDocument::currentDialogChanged, this, [this](CTekDialogData* dialog) {
        if (dialog)
            ShowPanelPage(kPageProperties);
        emit currentDialogChanged(dialog);
    });
    connect(&project, &ProjectDocument::dialogChosen, this, [this](CTekDialogData* dialog) {
        if (dialog && !m_frame.ActivateDialogWindow(*dialog))
            m_frame.OpenDialogWindow(*dialog);
    });
    connect(&project, &ProjectDocument::projectReset, this, [this] { EnableEditing(m_project.EditingEnabled()); });
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
    m_folder->setAccessibleName(tr("プロジェクトフォルダ"));
    m_folder->setPlaceholderText(tr("プロジェクトフォルダ"));
    m_browse = new QPushButton(tr("参照"), this);
    m_browse->setObjectName(QStringLiteral("browseProjectFolder"));
    m_browse->setAccessibleDescription(tr("フォルダを選択してください"));
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_browse);
    layout->addLayout(folderRow);
    connect(m_browse, &QPushButton::clicked, this, &CResourceDlg::BrowseProjectFolder);
    connect(m_folder, &QLineEdit::editingFinished, this, [this] {
        if (m_folderRuleEnabled)
            TakeFolderField();
    });

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("resourcePanelPages"));
    m_propertyPage = new QWidget(m_pages);
    m_propertyPage->setObjectName(QStringLiteral("propertyPage"));
    m_propertyPage->setAccessibleName(tr("プロパティー"));

    m_treePanel = new CTreePanel(m_project, m_frame.UserPrompts(), this, m_propertyPage);
    layout->addWidget(&m_treePanel->Tree(), 1);
    connect(m_treePanel, &CTreePanel::insertRequested, this, &CResourceDlg::InsertSelectedEntry);
    connect(m_treePanel, &CTreePanel::statusText, this, [this](const QString& text) { m_frame.SetStatusText(text); });

    m_linkPage = new CLinkPage(*m_link, m_frame.UserPrompts(), m_pages);
    m_linkPage->onTakeOtherFields = [this] { SetProjectFolder(PathFromQ(m_folder->text())); };
    connect(m_linkPage, &CLinkPage::sendRequested, this, &CResourceDlg::SendCurrentDialog);
    m_livePush = new LivePush(
        *m_link, m_project.Resource(), [this] { return m_project.CurrentDialog(); }, this);
    connect(m_linkPage, &CLinkPage::livePushToggled, m_livePush, &LivePush::SetEnabled);
    connect(&m_project, &ProjectDocument::dialogChanged, m_livePush, [this](CTekDialogData* dialog) {
        if (!dialog || dialog == m_project.CurrentDialog())
            m_livePush->DialogChanged();
    });
    connect(&m_project, &ProjectDocument::currentDialogChanged, m_livePush, &LivePush::DialogChanged);
    m_pages->addWidget(m_linkPage);
    m_pages->addWidget(m_propertyPage);
    layout->addWidget(m_pages, 1);

    auto* propertyLayout = new QVBoxLayout(m_propertyPage);
    propertyLayout->setContentsMargins(0, 0, 0, 0);
    propertyLayout->setSpacing(4);
    propertyLayout->addWidget(&m_treePanel->Buttons());
    m_propertyPanel = new CPropertyPanel(m_project, m_frame.UserPrompts(), m_propertyPage);
    CPropertyListCtrl& grid = m_propertyPanel->Grid();
    propertyLayout->addWidget(&m_propertyPanel->FilterField());
    propertyLayout->addWidget(&grid, 1);
    m_treePanel->TreeModel().SetDropHandler(m_drops.get());
    m_drops->currentImageRow = [this](const TekClass& node) { return m_propertyPanel->CurrentRowOf(node); };
    connect(&grid, &CPropertyListCtrl::statusText, this, [this](const QString& text) { m_frame.SetStatusText(text); });
    connect(&grid, &CPropertyListCtrl::imagePickRequested, this, [this](TekClass* node, const std::string&) {
        // The node's 'FileSource' decides which list offers the pictures.
        const std::string& source = node->GetItem("FileSource");
        if (source == "URI" || source == "STRAGE")
            return;
        const int row = Grid().CurrentRow();
        m_frame.SidePanel().OfferPictures(
            source == "STATION" ? SidePanelListKind::StationImages : SidePanelListKind::BuiltinImages,
            row >= 0 && row < node->Items().Count() ? node->Items().At(row).Value() : std::string());
    });

    m_pageTabs = new QTabBar(this);
    m_pageTabs->setObjectName(QStringLiteral("resourcePanelTabs"));
    m_pageTabs->setAccessibleName(tr("リソースパネルのページ"));
    m_pageTabs->addTab(tr("接続"));
    m_pageTabs->addTab(tr("プロパティー"));
    m_pageTabs->setShape(QTabBar::RoundedSouth);
    m_pageTabs->setExpanding(false);
    layout->addWidget(m_pageTabs);
    connect(m_pageTabs, &QTabBar::currentChanged, m_pages, &QStackedWidget::setCurrentIndex);
}

CResourceTreeCtrl& CResourceDlg::Tree() const
{
    return m_treePanel->Tree();
}

CResourceTreeModel& CResourceDlg::TreeModel() const
{
    return m_treePanel->TreeModel();
}

CPropertyListCtrl& CResourceDlg::Grid() const
{
    return m_propertyPanel->Grid();
}

QPushButton& CResourceDlg::GroupButton() const
{
    return m_treePanel->GroupButton();
}

void CResourceDlg::EnableEditing(bool enabled)
{
    m_treePanel->EnableEditing(enabled);
    Grid().setEnabled(enabled);
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
    const QString prompt = tr("フォルダを選択してください");
    const QString chosen = m_frame.UserPrompts().ChooseFolder(this, prompt, prompt, m_folder->text());
    if (chosen.isEmpty())
        return;
    SetProjectFolder(WithTrailingSlash(PathFromQ(chosen)));
    m_frame.LoadImages();
}

// --- Selection --------------------------------------------------------------------------------

void CResourceDlg::SetCurrentDialog(CTekDialogData* dialog)
{
    m_project.SetCurrentDialog(dialog);
}

void CResourceDlg::SelectNode(CTekDialogData* dialog, TekClass* node, Qt::KeyboardModifiers modifiers)
{
    TekClass* chosen = node ? node : dialog;
    const EditResult result = (modifiers & Qt::ShiftModifier) != 0
                                  ? m_project.SelectRange(chosen)
                                  : m_project.Select(chosen, (modifiers & Qt::ControlModifier) != 0);
    if (result.refusal)
        m_frame.UserPrompts().ShowMessage(this, Utf8(result.refusal->text.c_str()),
                                          result.refusal->error ? MessageIcon::Error : MessageIcon::Warning);
}

void CResourceDlg::ResetForResource()
{
    m_project.ProjectLoaded();
    EnableEditing(true);
}

void CResourceDlg::ClearPanel()
{
    m_project.DiscardDialogs();
}

// --- Edits --------------------------------------------------------------------------------------

void CResourceDlg::MoveNode(int delta)
{
    m_treePanel->MoveNode(delta);
}

void CResourceDlg::DeleteNode()
{
    m_treePanel->DeleteNode();
}

void CResourceDlg::GroupOrUngroup()
{
    m_treePanel->GroupOrUngroup();
}

bool CResourceDlg::InsertNew(std::string_view typeName, InsertPosition position)
{
    return m_treePanel->InsertNew(typeName, position);
}

bool CResourceDlg::CopyNode()
{
    return m_treePanel->CopyNode();
}

bool CResourceDlg::PasteNode(InsertPosition position)
{
    return m_treePanel->PasteNode(position);
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

void CResourceDlg::AssignImage(SidePanelListKind kind, const std::string& imageName)
{
    m_propertyPanel->AssignImage(kind, imageName);
}

bool CResourceDlg::SendCurrentDialog()
{
    CTekDialogData* dialog = m_project.CurrentDialog();
    if (!m_link->TerminalConnection() || !dialog)
        return false;
    return m_link->SendDialog(m_project.Resource(), dialog->GetItem("Name"));
}

} // namespace vesk
