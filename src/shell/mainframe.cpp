#include "shell/mainframe.h"

#include <filesystem>
#include <utility>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDateTime>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QToolBar>
#include <QUrl>

#include "chrome/prompts.h"
#include "chrome/uitext.h"
#include "document/recoveryjournal.h"
#include "editor/dialogview.h"
#include "editor/linkpage.h"
#include "editor/problemschecker.h"
#include "editor/problemspage.h"
#include "objects/devicesizes.h"
#include "records/layoutlint.h"
#include "editor/propertylistctrl.h"
#include "editor/propertypanel.h"
#include "editor/resourcetreemodel.h"
#include "editor/treepanel.h"
#include "editor/resourcedlg.h"
#include "editor/resourcetreectrl.h"
#include "link/linkcontroller.h"
#include "model/datafolder.h"
#include "objects/devicesizes.h"
#include "render/previewpainter.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "objects/objectdata.h"
#include "shell/icons.h"
#include "shell/logdlg.h"
#include "shell/skeletondlg.h"
#include "shell/windowplacement.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

constexpr const char* kProjectFilter = QT_TRANSLATE_NOOP("vesk::CMainFrame", "リソースファイル (*.veskspro)");
constexpr const char* kDialogFilter = QT_TRANSLATE_NOOP("vesk::CMainFrame", "リソースファイル (*.json)");
constexpr const char* kOpenFilter = "VeskResourceEditor Files (*.json *.veskspro)";
constexpr const char* kSavedMessage = QT_TRANSLATE_NOOP("vesk::CMainFrame", "ファイルを保存しました。");

/// The buttons of the question asked before a file is opened into a project with dialogs.
enum OpenChoice { kOpenAdd, kOpenAnew, kOpenCancel };

/// The buttons of the question asked before a save overwrites a file that another program changed.
enum OverwriteChoice { kOverwrite, kSaveAs, kOverwriteCancel };

/// Whether two paths name the same file (or would, once made).
bool SameFile(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return false;
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec))
        return true;
    const auto canonical = [](const std::string& path) {
        std::error_code error;
        const auto resolved = std::filesystem::weakly_canonical(path, error);
        return error ? std::filesystem::path(path).lexically_normal() : resolved;
    };
    return canonical(a) == canonical(b);
}

/// The dialog of a dialog window, or nullptr when it is gone.
CTekDialogData* DialogOfWindow(const QMdiSubWindow* window)
{
    const auto* view = window ? qobject_cast<const CTekDialogEditorView*>(window->widget()) : nullptr;
    return view ? view->Dialog() : nullptr;
}

} // namespace

CMainFrame::CMainFrame(ShellPaths paths, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), m_paths(std::move(paths)), m_prompts(prompts)
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(ApplicationIcon());
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("dialogArea"));
    m_mdiArea->setAccessibleName(tr("ダイアログ"));
    m_mdiArea->setBackground(QColor(171, 171, 171));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);

    resize(1280, 860);
    CreateActions();
    CreateToolBar();
    CreateStatusBar();
    SetLinkState(kLinkStateRed);
    CreateDocks();
    CreateMenus();
    ReadSettings();
    m_resourcePanel->EnableFolderRule();
    LoadImages();

    connect(&m_project, &ProjectDocument::modifiedChanged, this, [this] { UpdateCaption(); });
    connect(&m_project, &ProjectDocument::dialogChanged, this, [this](CTekDialogData* dialog) {
        CloseWindowsOfRemovedDialogs();
        RefreshDialogViews(dialog);
        UpdateWindowTitles();
        UpdateCommands();
    });
    connect(&m_project, &ProjectDocument::marksChanged, this,
            [this](CTekDialogData* dialog) { RefreshDialogViews(dialog); });
    connect(&m_project, &ProjectDocument::historyChanged, this, &CMainFrame::UpdateCommands);
    connect(m_resourcePanel, &CResourceDlg::currentDialogChanged, this, [this] { UpdateCommands(); });
    CLinkPage& linkPage = m_resourcePanel->LinkPage();
    connect(&linkPage, &CLinkPage::linkStateChanged, this, &CMainFrame::SetLinkState);
    connect(&linkPage, &CLinkPage::linkChanged, this, &CMainFrame::UpdateCommands);
    connect(Action("actionSend"), &QAction::triggered, m_resourcePanel, &CResourceDlg::SendCurrentDialog);

    m_journal = std::make_unique<RecoveryJournal>(m_project, m_paths.recoveryFolder);
    connect(m_journal.get(), &RecoveryJournal::writeFailed, this, [this](const QString& reason) {
        SetStatusText(tr("復旧用の記録を書けませんでした: %1").arg(reason));
    });
    m_watcher = new QFileSystemWatcher(this);
    m_diskCheck = new QTimer(this);
    m_diskCheck->setSingleShot(true);
    m_diskCheck->setInterval(300);
    connect(m_diskCheck, &QTimer::timeout, this, &CMainFrame::CheckProjectFileOnDisk);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_diskCheck, qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_diskCheck, qOverload<>(&QTimer::start));

    UpdateCaption();
    UpdateCommands();
}

CMainFrame::~CMainFrame()
{
    // The dialog windows go first: their views hold the project's dialogs weakly.
    m_mdiArea->closeAllSubWindows();
}

// --- Construction -----------------------------------------------------------------------------

void CMainFrame::CreateActions()
{
    struct ActionEntry {
        const char* name;
        const char* text;
        QKeySequence shortcut;
        void (CMainFrame::*handler)();
    };
    const ActionEntry entries[] = {
        {"actionNewProject", QT_TR_NOOP("新規プロジェクト(&P)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), nullptr},
        {"actionNew", QT_TR_NOOP("新規作成(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N), &CMainFrame::NewDialog},
        {"actionOpen", QT_TR_NOOP("プロジェクト/リソースの読込み(&O)"), QKeySequence(Qt::CTRL | Qt::Key_O),
         &CMainFrame::OpenWithDialog},
        {"actionSave", QT_TR_NOOP("上書き保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S), nullptr},
        {"actionSaveProject", QT_TR_NOOP("プロジェクトの保存（全てのリソース）(&S)"), QKeySequence(), nullptr},
        {"actionSaveDialog", QT_TR_NOOP("リソースの保存（このリソースのみ）"), QKeySequence(), nullptr},
        {"actionClose", QT_TR_NOOP("このリソースを閉じる(&C)"), QKeySequence(), nullptr},
        {"actionSkeleton", QT_TR_NOOP("スケルトンの作成(&M)"), QKeySequence(), nullptr},
        {"actionDiscardAll", QT_TR_NOOP("全てのリソースを破棄"), QKeySequence(), nullptr},
        {"actionExit", QT_TR_NOOP("アプリケーションの終了(&X)"), QKeySequence(), nullptr},
        {"actionUndo", QT_TR_NOOP("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z), &CMainFrame::UndoActive},
        {"actionRedo", QT_TR_NOOP("やり直し(&R)"), QKeySequence(Qt::CTRL | Qt::Key_Y), &CMainFrame::RedoActive},
        {"actionCut", QT_TR_NOOP("切り取り(&T)"), QKeySequence(Qt::CTRL | Qt::Key_X), &CMainFrame::CutActive},
        {"actionCopy", QT_TR_NOOP("コピー(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C), &CMainFrame::CopyActive},
        {"actionPaste", QT_TR_NOOP("貼り付け(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V), &CMainFrame::PasteActive},
        {"actionFindProperty", QT_TR_NOOP("プロパティを検索(&F)"), QKeySequence(Qt::CTRL | Qt::Key_F), &CMainFrame::FindProperty},
        {"actionResourceBar", QT_TR_NOOP("リソースダイアログ"), QKeySequence(), nullptr},
        {"actionLogBar", QT_TR_NOOP("ログ表示"), QKeySequence(), nullptr},
        {"actionRedraw", QT_TR_NOOP("再描画"), QKeySequence(), &CMainFrame::Redraw},
        {"actionBoxLook", QT_TR_NOOP("枠表示"), QKeySequence(), nullptr},
        {"actionDeviceLook", QT_TR_NOOP("端末イメージ表示"), QKeySequence(), nullptr},
        {"actionSend", QT_TR_NOOP("データ送信"), QKeySequence(), nullptr},
        {"actionClearLog", QT_TR_NOOP("ログのクリア"), QKeySequence(), nullptr},
        {"actionCascade", QT_TR_NOOP("重ねて表示"), QKeySequence(), nullptr},
        {"actionTile", QT_TR_NOOP("並べて表示"), QKeySequence(), nullptr},
        {"actionAbout", QT_TR_NOOP("バージョン情報(&A)"), QKeySequence(), nullptr},
    };
    for (const ActionEntry& entry : entries) {
        auto* action = new QAction(tr(entry.text), this);
        action->setObjectName(QString::fromLatin1(entry.name));
        if (!entry.shortcut.isEmpty())
            action->setShortcut(entry.shortcut);
        if (entry.handler)
            connect(action, &QAction::triggered, this, entry.handler);
        m_actions.push_back(action);
    }
    connect(Action("actionNewProject"), &QAction::triggered, this, [this] { NewProject(); });
    connect(Action("actionSave"), &QAction::triggered, this, [this] { Save(); });
    connect(Action("actionSaveProject"), &QAction::triggered, this, [this] { SaveProject(); });
    connect(Action("actionSaveDialog"), &QAction::triggered, this, [this] { SaveActiveDialog(); });
    connect(Action("actionClose"), &QAction::triggered, m_mdiArea, &QMdiArea::closeActiveSubWindow);
    connect(Action("actionCascade"), &QAction::triggered, m_mdiArea, &QMdiArea::cascadeSubWindows);
    connect(Action("actionTile"), &QAction::triggered, m_mdiArea, &QMdiArea::tileSubWindows);
    connect(Action("actionDiscardAll"), &QAction::triggered, this, [this] { DiscardAll(); });
    connect(Action("actionExit"), &QAction::triggered, this, &QWidget::close);
    connect(Action("actionSkeleton"), &QAction::triggered, this, [this] { OpenSkeletonGenerator(); });
    connect(Action("actionClearLog"), &QAction::triggered, this, [this] { m_sidePanel->ClearLog(); });
    auto* lintSizes = new QAction(tr("検査する端末サイズ(&Z)..."), this);
    lintSizes->setObjectName(QStringLiteral("actionLintSizes"));
    connect(lintSizes, &QAction::triggered, this, [this] { ChooseLintSizes(); });
    m_actions.push_back(lintSizes);
    auto* looks = new QActionGroup(this);
    looks->setExclusive(true);
    for (const auto& [name, look] :
         {std::pair{"actionBoxLook", PreviewLook::Box}, std::pair{"actionDeviceLook", PreviewLook::Device}}) {
        QAction* action = Action(name);
        action->setCheckable(true);
        looks->addAction(action);
        connect(action, &QAction::triggered, this, [this, look] { SetPreviewLook(look); });
    }
    Action("actionBoxLook")->setChecked(true);
    connect(Action("actionAbout"), &QAction::triggered, this, [this] {
        QDialog* about = CreateAboutBox();
        about->exec();
        delete about;
    });

    QStyle* style = this->style();
    Action("actionNew")->setIcon(style->standardIcon(QStyle::SP_FileIcon));
    Action("actionOpen")->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
    Action("actionSaveProject")->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    Action("actionRedraw")->setIcon(style->standardIcon(QStyle::SP_BrowserReload));
    Action("actionCut")->setIcon(GlyphIcon(QStringLiteral("切"), QColor(200, 120, 120)));
    Action("actionCopy")->setIcon(GlyphIcon(QStringLiteral("写"), QColor(120, 150, 210)));
    Action("actionPaste")->setIcon(GlyphIcon(QStringLiteral("貼"), QColor(120, 180, 120)));
    Action("actionClearLog")->setIcon(GlyphIcon(QStringLiteral("消"), QColor(170, 170, 170)));
    Action("actionResourceBar")->setIcon(GlyphIcon(QStringLiteral("R"), QColor(150, 130, 200)));
    Action("actionLogBar")->setIcon(GlyphIcon(QStringLiteral("L"), QColor(200, 170, 100)));
    Action("actionSend")->setIcon(GlyphIcon(QStringLiteral("送"), QColor(100, 180, 170)));
    Action("actionBoxLook")->setIcon(GlyphIcon(QStringLiteral("枠"), QColor(150, 150, 150)));
    Action("actionDeviceLook")->setIcon(GlyphIcon(QStringLiteral("端"), QColor(110, 160, 220)));
    CreatePreviewCommands();
}

void CMainFrame::CreatePreviewCommands()
{
    const struct {
        const char* name;
        QString text;
        QList<QKeySequence> shortcuts;
    } entries[] = {
        {"actionExportPreview", tr("プレビューを画像で保存..."), {}},
        {"actionZoomIn",
         tr("拡大"),
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Semicolon)}},
        {"actionZoomOut", tr("縮小"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)}},
        {"actionZoomReset", tr("100%で表示"), {QKeySequence(Qt::CTRL | Qt::Key_0)}},
    };
    for (const auto& entry : entries) {
        auto* action = new QAction(entry.text, this);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setShortcuts(entry.shortcuts);
        m_actions.push_back(action);
    }
    connect(Action("actionExportPreview"), &QAction::triggered, this, [this] { ExportPreview(); });
    connect(Action("actionZoomIn"), &QAction::triggered, this, [this] {
        if (CTekDialogEditorView* view = ActiveView())
            view->ZoomStep(true);
    });
    connect(Action("actionZoomOut"), &QAction::triggered, this, [this] {
        if (CTekDialogEditorView* view = ActiveView())
            view->ZoomStep(false);
    });
    connect(Action("actionZoomReset"), &QAction::triggered, this, [this] {
        if (CTekDialogEditorView* view = ActiveView())
            view->SetZoom(100);
    });
}

QAction* CMainFrame::Action(const char* objectName) const
{
    const QString name = QString::fromLatin1(objectName);
    for (QAction* action : m_actions)
        if (action->objectName() == name)
            return action;
    return nullptr;
}

void CMainFrame::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(tr("ファイル(&F)"));
    file->setObjectName(QStringLiteral("menuFile"));
    file->addAction(Action("actionNewProject"));
    file->addSeparator();
    file->addAction(Action("actionNew"));
    file->addAction(Action("actionOpen"));
    file->addAction(Action("actionSave"));
    file->addAction(Action("actionSaveProject"));
    file->addAction(Action("actionSaveDialog"));
    file->addAction(Action("actionClose"));
    file->addSeparator();
    file->addAction(Action("actionExportPreview"));
    file->addSeparator();
    file->addAction(Action("actionSkeleton"));
    file->addAction(Action("actionSend"));
    file->addSeparator();
    m_recentMenu = file->addMenu(tr("最近使ったファイル"));
    m_recentMenu->setObjectName(QStringLiteral("menuRecentFiles"));
    file->addSeparator();
    file->addAction(Action("actionDiscardAll"));
    file->addSeparator();
    file->addAction(Action("actionExit"));

    QMenu* edit = menuBar()->addMenu(tr("編集(&E)"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    edit->addAction(Action("actionUndo"));
    edit->addAction(Action("actionRedo"));
    edit->addSeparator();
    edit->addAction(Action("actionCut"));
    edit->addAction(Action("actionCopy"));
    edit->addAction(Action("actionPaste"));
    edit->addSeparator();
    edit->addAction(Action("actionFindProperty"));

    QMenu* view = menuBar()->addMenu(tr("表示(&V)"));
    view->setObjectName(QStringLiteral("menuView"));
    view->addAction(Action("actionResourceBar"));
    view->addAction(Action("actionLogBar"));
    view->addSeparator();
    view->addAction(Action("actionBoxLook"));
    view->addAction(Action("actionDeviceLook"));
    view->addSeparator();
    view->addAction(Action("actionZoomIn"));
    view->addAction(Action("actionZoomOut"));
    view->addAction(Action("actionZoomReset"));
    view->addSeparator();
    view->addAction(Action("actionLintSizes"));
    view->addSeparator();
    view->addAction(Action("actionRedraw"));
    view->addAction(Action("actionClearLog"));
    AddLanguageMenu(view);

    m_windowMenu = menuBar()->addMenu(tr("ウィンドウ(&W)"));
    m_windowMenu->setObjectName(QStringLiteral("menuWindow"));
    m_windowEntries = new QActionGroup(this);
    m_windowEntries->setExclusive(true);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &CMainFrame::RebuildWindowMenu);
    RebuildWindowMenu();

    QMenu* help = menuBar()->addMenu(tr("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("menuHelp"));
    help->addAction(Action("actionAbout"));
}

void CMainFrame::CreateToolBar()
{
    QToolBar* bar = addToolBar(tr("ツールバー"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(20, 20));
    for (const char* name :
         {"actionNew", "actionOpen", "actionSaveProject", "", "actionRedraw", "", "actionCut", "actionCopy",
          "actionPaste", "", "actionClearLog", "", "actionResourceBar", "actionLogBar", "actionSend"}) {
        if (*name)
            bar->addAction(Action(name));
        else
            bar->addSeparator();
    }
    for (QAction* action : bar->actions())
        if (QWidget* button = bar->widgetForAction(action); button && !action->isSeparator())
            button->setObjectName(action->objectName() + QStringLiteral("Button"));
    // The two looks of the dialog windows, in a bar of their own beside the commands.
    QToolBar* looks = addToolBar(tr("表示"));
    looks->setObjectName(QStringLiteral("lookBar"));
    looks->setMovable(false);
    looks->setIconSize(QSize(20, 20));
    for (const char* name : {"actionBoxLook", "actionDeviceLook"}) {
        looks->addAction(Action(name));
        looks->widgetForAction(Action(name))->setObjectName(QString::fromLatin1(name) + QStringLiteral("Button"));
    }
    // The area every dialog window lays its dialog out in.
    m_sizeBox = new QComboBox(looks);
    m_sizeBox->setObjectName(QStringLiteral("previewSizeBox"));
    m_sizeBox->setAccessibleName(tr("プレビューのサイズ"));
    m_sizeBox->setToolTip(tr("プレビューのサイズ"));
    m_sizeBox->addItem(tr("ウィンドウのサイズ"), QStringLiteral("window"));
    m_sizeBox->addItem(tr("ダイアログの設定"), QStringLiteral("dialog"));
    for (const LayoutArea& size : DeviceSizePresets())
        m_sizeBox->addItem(QStringLiteral("%1 × %2").arg(size.width).arg(size.height),
                           QString::fromStdString(DeviceSizeText(size)));
    looks->addWidget(m_sizeBox);
    connect(m_sizeBox, &QComboBox::activated, this, [this](int index) {
        if (const auto size = ParsePreviewSizeText(m_sizeBox->itemData(index).toString().toStdString()))
            SetPreviewSize(*size);
    });
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    m_statusText = new QLabel(tr("レディ"), bar);
    m_statusText->setObjectName(QStringLiteral("statusText"));
    m_statusText->setAccessibleName(tr("ステータス"));
    m_statusPane1 = new QLabel(bar);
    m_statusPane1->setObjectName(QStringLiteral("statusPane1"));
    m_statusPane1->setFixedWidth(40);
    m_linkStatePane = new QLabel(bar);
    m_linkStatePane->setObjectName(QStringLiteral("linkStateIcon"));
    m_linkStatePane->setFixedWidth(20);
    m_linkStatePane->setAlignment(Qt::AlignCenter);
    m_problemsCount = new QLabel(CProblemsPage::CountText(0, 0), bar);
    m_problemsCount->setObjectName(QStringLiteral("problemsCount"));
    m_problemsCount->setAccessibleName(tr("問題の数"));
    bar->addWidget(m_statusText, 1);
    bar->addPermanentWidget(m_problemsCount);
    m_zoomPane = new QLabel(QStringLiteral("100%"), bar);
    m_zoomPane->setObjectName(QStringLiteral("zoomPane"));
    m_zoomPane->setAccessibleName(tr("表示倍率"));
    m_zoomPane->setAlignment(Qt::AlignCenter);
    m_zoomPane->setMinimumWidth(48);
    bar->addPermanentWidget(m_zoomPane);
    bar->addPermanentWidget(m_statusPane1);
    bar->addPermanentWidget(m_linkStatePane);
}

void CMainFrame::CreateDocks()
{
    m_sidePanel = new CLogDlg(m_pictures.insertedObjects, m_pictures.clipboard, m_pictures.builtinImages,
                              m_pictures.stationImages, this);
    m_logBar = new QDockWidget(QStringLiteral("Log"), this);
    m_logBar->setObjectName(QStringLiteral("logBar"));
    m_logBar->setAllowedAreas(Qt::BottomDockWidgetArea);
    m_logBar->setWidget(m_sidePanel);
    addDockWidget(Qt::BottomDockWidgetArea, m_logBar);

    m_resourcePanel = new CResourceDlg(m_project, *this, *this, this);
    m_resourceBar = new QDockWidget(QStringLiteral("Resource"), this);
    m_resourceBar->setObjectName(QStringLiteral("resourceBar"));
    m_resourceBar->setAllowedAreas(Qt::RightDockWidgetArea);
    m_resourceBar->setWidget(m_resourcePanel);
    addDockWidget(Qt::RightDockWidgetArea, m_resourceBar);
    resizeDocks({m_resourceBar}, {400}, Qt::Horizontal);
    resizeDocks({m_logBar}, {230}, Qt::Vertical);

    // The View menu's commands show and hide the bars and show whether they are shown.
    for (auto [action, bar] :
         {std::pair{Action("actionResourceBar"), m_resourceBar}, {Action("actionLogBar"), m_logBar}}) {
        action->setCheckable(true);
        action->setChecked(true);
        connect(action, &QAction::triggered, bar, [bar](bool shown) { bar->setVisible(shown); });
        connect(bar, &QDockWidget::visibilityChanged, action, [action, bar] { action->setChecked(!bar->isHidden()); });
    }

    connect(m_sidePanel, &CLogDlg::entryActivated, m_resourcePanel, &CResourceDlg::OnSidePanelEntry);

    // The problems list: its page in the side panel, its count in the status bar, its errors
    // marked in the tree.
    m_problems = new CProblemsChecker(m_project, this);
    m_problemsPage = new CProblemsPage(*m_problems);
    m_sidePanel->AddProblemsPage(m_problemsPage);
    CResourceTreeModel& tree = m_resourcePanel->TreeModel();
    tree.SetErrorMarker([this](const TekClass* node) { return m_problems->HasError(node); });
    connect(m_problems, &CProblemsChecker::findingsChanged, this, [this, &tree] {
        m_problemsCount->setText(
            CProblemsPage::CountText(m_problems->Count(LintSeverity::Error), m_problems->Count(LintSeverity::Warning)));
        tree.ErrorMarksChanged();
    });
    connect(m_problemsPage, &CProblemsPage::problemActivated, this, &CMainFrame::ShowProblem);
    connect(m_problemsPage, &CProblemsPage::sizesRequested, this, [this] { ChooseLintSizes(); });
    m_lintFont = std::make_unique<FontTextMeasurer>();
    m_lintText = std::make_unique<CachedTextMeasurer>(*m_lintFont);
    UpdateLintOptions();
}

void CMainFrame::UpdateLintOptions()
{
    m_lintPictures = std::make_unique<DevicePictureCache>(DevicePictureFolders());
    LintOptions options = m_problems->Options();
    options.dataFolder = m_paths.dataFolder;
    options.projectFolder = m_resourcePanel->ProjectFolder();
    options.text = m_lintText.get();
    options.pictures = m_lintPictures.get();
    m_problems->SetOptions(options);
}

QDialog* CMainFrame::ChooseLintSizes()
{
    auto* dialog = new CLintSizesDlg(m_problems->Options().deviceSizes, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { m_problems->SetDeviceSizes(dialog->ChosenSizes()); });
    dialog->open();
    return dialog;
}

void CMainFrame::ShowProblem(TekClass* node, const std::string& item)
{
    if (!node)
        return;
    if (node != m_project.Selected())
        m_project.Select(node);
    if (CTekDialogData* dialog = m_project.DialogOf(*node); dialog && !ActivateDialogWindow(*dialog))
        OpenDialogWindow(*dialog);
    m_resourcePanel->PropertyPanel().ShowItem(item);
}

// --- Settings ---------------------------------------------------------------------------------

void CMainFrame::ReadSettings()
{
    m_settings.Load(m_paths.settingsFile);
    m_resourcePanel->SetProjectFolder(m_settings.GetString(kSettingSection, "ProjectFolder"));
    CLinkController& link = m_resourcePanel->Link();
    link.SetListenPort(m_settings.GetInt(kSettingSection, "ListenPort", 5000));
    link.SetHttpPort(m_settings.GetInt(kSettingSection, "HttpPort", 0));
    m_resourcePanel->LinkPage().LoadControls();
    m_resourcePanel->LinkPage().SetLivePushEnabled(m_settings.GetInt(kSettingSection, "LivePush", 0) != 0);
    // The window's place and size, and where its bars are, as the last close left them.
    const auto readBytes = [this](const char* key) {
        return QByteArray::fromBase64(QByteArray::fromStdString(m_settings.GetString(kSettingSection, key)));
    };
    if (const QByteArray geometry = readBytes("WindowGeometry"); !geometry.isEmpty())
        restoreGeometry(geometry);
    if (const QByteArray state = readBytes("WindowState"); !state.isEmpty())
        restoreState(state);
    SetPreviewLook(m_settings.GetString(kSettingSection, "PreviewLook") == "device" ? PreviewLook::Device
                                                                                    : PreviewLook::Box);
    m_problems->SetDeviceSizes(ParseDeviceSizeList(m_settings.GetString(kSettingSection, "LintSizes")));
    SetPreviewSize(ParsePreviewSizeText(m_settings.GetString(kSettingSection, "PreviewSize")).value_or(PreviewSize{}));
    Action("actionResourceBar")->setChecked(!m_resourceBar->isHidden());
    Action("actionLogBar")->setChecked(!m_logBar->isHidden());
    m_languageChoice = LanguageChoiceOf(m_settings.GetString(kSettingSection, "Language"));
    for (QAction* action : m_languageMenu->actions())
        action->setChecked(LanguageChoiceOf(action->data().toString().toStdString()) == m_languageChoice);
    m_recentFiles.clear();
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string path = m_settings.GetString(kRecentSection, "File" + std::to_string(i));
        if (!path.empty())
            m_recentFiles.push_back(path);
    }
    RebuildRecentMenu();
}

bool CMainFrame::WriteSettings()
{
    m_settings.SetString(kSettingSection, "ProjectFolder", m_resourcePanel->ProjectFolder());
    m_settings.SetInt(kSettingSection, "ListenPort", m_resourcePanel->Link().ListenPort());
    m_settings.SetInt(kSettingSection, "LivePush", m_resourcePanel->LinkPage().LivePushEnabled() ? 1 : 0);
    m_settings.SetString(kSettingSection, "WindowGeometry", saveGeometry().toBase64().toStdString());
    m_settings.SetString(kSettingSection, "WindowState", saveState().toBase64().toStdString());
    m_settings.SetString(kSettingSection, "PreviewLook", m_previewLook == PreviewLook::Device ? "device" : "box");
    m_settings.SetString(kSettingSection, "LintSizes", DeviceSizeListText(m_problems->Options().deviceSizes));
    m_settings.SetString(kSettingSection, "Language", LanguageSettingValue(m_languageChoice));
    m_settings.SetString(kSettingSection, "PreviewSize", PreviewSizeText(m_previewSize));
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string key = "File" + std::to_string(i);
        if (i <= static_cast<int>(m_recentFiles.size()))
            m_settings.SetString(kRecentSection, key, m_recentFiles[static_cast<size_t>(i - 1)]);
        else
            m_settings.Remove(kRecentSection, key);
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(m_paths.settingsFile).parent_path(), ec);
    return m_settings.Save(m_paths.settingsFile);
}

void CMainFrame::AddRecentFile(const std::string& path)
{
    std::error_code ec;
    std::string absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
    if (ec)
        absolute = path;
    std::erase(m_recentFiles, absolute);
    m_recentFiles.insert(m_recentFiles.begin(), absolute);
    if (m_recentFiles.size() > kRecentFileCount)
        m_recentFiles.resize(kRecentFileCount);
    RebuildRecentMenu();
}

void CMainFrame::RebuildRecentMenu()
{
    m_recentMenu->clear();
    for (size_t i = 0; i < m_recentFiles.size(); ++i) {
        QAction* entry = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(PathToQ(m_recentFiles[i])));
        entry->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
        connect(entry, &QAction::triggered, this, [this, i] { OpenRecentFile(static_cast<int>(i)); });
    }
    m_recentMenu->setEnabled(!m_recentFiles.empty());
}

void CMainFrame::OpenRecentFile(int index)
{
    if (index < 0 || index >= static_cast<int>(m_recentFiles.size()))
        return;
    const std::string path = m_recentFiles[static_cast<size_t>(index)];
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        m_prompts.ShowMessage(
            this,
            tr("ファイルが見つかりません。最近使ったファイルの一覧から削除します。\n%1").arg(PathToQ(path)),
            MessageIcon::Warning);
        m_recentFiles.erase(m_recentFiles.begin() + index);
        RebuildRecentMenu();
        return;
    }
    OpenFile(path);
}

// --- Files ------------------------------------------------------------------------------------

bool CMainFrame::OpenFile(const std::string& path)
{
    std::string contents;
    std::string error;
    if (!ReadWholeFile(path, contents, &error)) {
        m_prompts.ShowMessage(this,
                              tr("エラー: ファイルを開けませんでした。\n%1\n%2")
                                  .arg(PathToQ(path), QString::fromLocal8Bit(error.c_str())),
                              MessageIcon::Error);
        return false;
    }
    if (!MakeRoomToOpen())
        return false;

    CTekResourceData& resource = m_project.Resource();
    const int dialogsBefore = resource.Dialogs().Count();
    // A file without dialogs is not taken: the root items it set go back to what they were.
    CItemList itemsBefore = resource.Items().Clone();
    const LoadResult result = LoadResourceBytes(resource, contents);
    if (!result) {
        // The report's excerpt holds the file's own bytes.
        m_prompts.ShowMessage(this,
                              PathToQ(path) + QLatin1Char('\n') +
                                  QString::fromUtf8(EncodedTextToUtf8(result.errorText, result.encoding)),
                              MessageIcon::Warning);
        return false;
    }
    if (resource.Dialogs().Count() == dialogsBefore) {
        resource.Items() = std::move(itemsBefore);
        m_prompts.ShowMessage(this, tr("ダイアログが見つかりませんでした。\n%1").arg(PathToQ(path)),
                              MessageIcon::Warning);
        return false;
    }
    m_resourcePanel->ResetForResource();
    if (dialogsBefore == 0 && path.ends_with(".veskspro"))
        TakeProjectFile(path, contents);
    AddRecentFile(path);
    m_project.SetModified(dialogsBefore > 0);
    UpdateCommands();
    return true;
}

bool CMainFrame::MakeRoomToOpen()
{
    if (m_project.Resource().Dialogs().Count() == 0)
        return true;
    const QStringList buttons = {tr("追加"), tr("新規に開く"), tr("キャンセル")};
    switch (m_prompts.AskChoice(this, tr("現在のプロジェクトに追加しますか？"), buttons, kOpenAdd,
                                kOpenCancel)) {
    case kOpenAdd:
        return true;
    case kOpenAnew:
        return CloseProject();
    default:
        return false;
    }
}

void CMainFrame::OpenWithDialog()
{
    const QString path = m_prompts.OpenFileName(this, tr("開く"), Utf8(kOpenFilter));
    if (!path.isEmpty())
        OpenFile(PathFromQ(path));
}

QString CMainFrame::CommandTitle(const char* actionName) const
{
    static const QRegularExpression accessKey(QStringLiteral("\\(&.\\)$"));
    QString title = Action(actionName)->text();
    title.remove(accessKey);
    title.remove(QLatin1Char('&'));
    return title;
}

void CMainFrame::ShowSaveFailure(const std::string& path, const FileResult& result)
{
    m_prompts.ShowMessage(this,
                          tr("ファイルを保存できませんでした。\n%1\n%2")
                              .arg(PathToQ(path), QString::fromLocal8Bit(result.reason.c_str())),
                          MessageIcon::Error);
}

bool CMainFrame::SaveProject()
{
    CTekResourceData& resource = m_project.Resource();
    if (resource.Dialogs().Count() == 0)
        return false;
    const QString title = CommandTitle("actionSaveProject");
    const QString path = m_prompts.SaveFileName(this, title, PathToQ(resource.FileName()), tr(kProjectFilter),
                                                QStringLiteral("veskspro"));
    if (path.isEmpty())
        return false;
    const std::string file = PathFromQ(path);
    switch (AskBeforeOverwriting(file)) {
    case OverwriteAnswer::Write:
        return WriteProject(file, {}, true);
    case OverwriteAnswer::SaveAs:
        return SaveProjectAs(title);
    default:
        return false;
    }
}

bool CMainFrame::SaveProjectAs(const QString& title)
{
    const QString path = m_prompts.SaveFileName(this, title, PathToQ(m_project.Resource().FileName()),
                                                tr(kProjectFilter), QStringLiteral("veskspro"));
    return !path.isEmpty() && WriteProject(PathFromQ(path), {}, true);
}

bool CMainFrame::Save()
{
    CTekResourceData& resource = m_project.Resource();
    if (resource.Dialogs().Count() == 0)
        return false;
    const std::string file = resource.FileName();
    if (file.empty())
        return SaveProject();
    switch (AskBeforeOverwriting(file)) {
    case OverwriteAnswer::Write:
        return WriteProject(file, {}, false);
    case OverwriteAnswer::SaveAs:
        return SaveProjectAs(CommandTitle("actionSaveProject"));
    default:
        return false;
    }
}

bool CMainFrame::SaveActiveDialog()
{
    CTekDialogData* dialog = ActiveDialog();
    if (!dialog)
        return false;
    const std::string name = dialog->GetItem("Name");
    const QString title = CommandTitle("actionSaveDialog");
    QString path = m_prompts.SaveFileName(this, title, ToQ(name), tr(kDialogFilter), QStringLiteral("json"));
    if (path.isEmpty())
        return false;
    switch (AskBeforeOverwriting(PathFromQ(path))) {
    case OverwriteAnswer::Write:
        break;
    case OverwriteAnswer::SaveAs:
        path = m_prompts.SaveFileName(this, title, ToQ(name), tr(kDialogFilter), QStringLiteral("json"));
        if (path.isEmpty())
            return false;
        break;
    default:
        return false;
    }
    return WriteProject(PathFromQ(path), name, true);
}

bool CMainFrame::WriteProject(const std::string& path, std::string_view dialogName, bool announce)
{
    CTekResourceData& resource = m_project.Resource();
    CJsonString text;
    WriteResource(resource, text, dialogName);
    const FileResult saved = WriteFileAtomically(path, text.Text());
    if (!saved) {
        ShowSaveFailure(path, saved);
        return false;
    }
    if (announce)
        m_prompts.ShowMessage(this, tr(kSavedMessage), MessageIcon::Information);
    else
        SetStatusText(tr(kSavedMessage));
    if (!dialogName.empty()) {
        // One dialog in the project's own file is this editor's write, not another program's.
        if (SameFile(path, resource.FileName()))
            SetKnownDiskContent(ContentStamp::Of(text.Text()));
        return true;
    }
    TakeProjectFile(path, text.Text());
    AddRecentFile(path);
    m_project.SetModified(false);
    return true;
}

CMainFrame::OverwriteAnswer CMainFrame::AskBeforeOverwriting(const std::string& path)
{
    if (!m_diskChanged || !SameFile(path, m_project.Resource().FileName()))
        return OverwriteAnswer::Write;
    const QStringList buttons = {tr("上書き"), tr("別名で保存"), tr("キャンセル")};
    switch (m_prompts.AskChoice(
        this, tr("ファイルが他のプログラムで変更されています。上書きしますか？\n%1").arg(PathToQ(path)),
        buttons, kSaveAs, kOverwriteCancel)) {
    case kOverwrite:
        return OverwriteAnswer::Write;
    case kSaveAs:
        return OverwriteAnswer::SaveAs;
    default:
        return OverwriteAnswer::Cancel;
    }
}

void CMainFrame::TakeProjectFile(const std::string& path, std::string_view bytes)
{
    m_project.Resource().SetFileName(path);
    m_diskChanged = false;
    m_diskNoticed = ContentStamp();
    SetKnownDiskContent(ContentStamp::Of(bytes));
    WatchProjectFile();
}

void CMainFrame::SetKnownDiskContent(const ContentStamp& stamp)
{
    m_diskStamp = stamp;
    m_journal->SetDiskStamp(stamp);
}

void CMainFrame::WatchProjectFile()
{
    if (const QStringList watched = m_watcher->files() + m_watcher->directories(); !watched.isEmpty())
        m_watcher->removePaths(watched);
    const std::string& file = m_project.Resource().FileName();
    if (file.empty())
        return;
    const QString path = PathToQ(file);
    if (QFileInfo::exists(path))
        m_watcher->addPath(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir())
        m_watcher->addPath(folder);
}

void CMainFrame::CheckProjectFileOnDisk()
{
    const std::string file = m_project.Resource().FileName();
    if (file.empty())
        return;
    const QString path = PathToQ(file);
    // A file replaced by a rename (as saves do) is a new file to watch.
    if (!m_watcher->files().contains(path) && QFileInfo::exists(path))
        m_watcher->addPath(path);
    if (m_askingAboutDisk)
        return;
    std::string bytes;
    if (!ReadWholeFile(file, bytes))
        return; // removed: there is nothing to read again, and a save makes it anew
    const ContentStamp now = ContentStamp::Of(bytes);
    if (now == m_diskStamp) {
        m_diskChanged = false;
        return;
    }
    if (now == m_diskNoticed)
        return;
    m_diskNoticed = now;
    m_diskChanged = true;
    m_askingAboutDisk = true;
    if (!m_project.IsModified()) {
        const QStringList buttons = {tr("はい"), tr("いいえ")};
        if (m_prompts.AskChoice(
                this, tr("ファイルが他のプログラムで変更されました。読み直しますか？\n%1").arg(path),
                buttons, 0, 1) == 0 &&
            !m_project.IsModified())
            ReloadProjectFile();
    } else {
        m_prompts.ShowMessage(this,
                              tr("ファイルが他のプログラムで変更されました。\n%1\n保存されていない変更が"
                                             "あるため、読み直しません。このファイルへ保存するときは、上書きするかど"
                                             "うかを確認します。")
                                  .arg(path),
                              MessageIcon::Warning);
    }
    m_askingAboutDisk = false;
}

bool CMainFrame::ReloadProjectFile()
{
    const std::string file = m_project.Resource().FileName();
    if (file.empty() || m_project.IsModified())
        return false;
    m_mdiArea->closeAllSubWindows();
    m_resourcePanel->ClearPanel();
    m_project.StartEmpty();
    WatchProjectFile();
    std::string bytes;
    if (!OpenFile(file))
        return false;
    // A project file of another name than .veskspro is the project's file all the same.
    if (m_project.Resource().FileName().empty() && ReadWholeFile(file, bytes))
        TakeProjectFile(file, bytes);
    UpdateCommands();
    return true;
}

// --- Recovery ---------------------------------------------------------------------------------

void CMainFrame::OfferRecovery()
{
    std::vector<OrphanJournal> orphans = ClaimOrphanJournals(m_journal->Folder());
    if (orphans.empty())
        return;
    QString text = tr("前回、保存されずに終了した編集があります。\n");
    for (const OrphanJournal& orphan : orphans) {
        const QString file = PathToQ(orphan.record.projectFile);
        text +=
            tr("\n%1　%2")
                .arg(file.isEmpty() ? tr("無題") : QFileInfo(file).fileName(),
                     QDateTime::fromSecsSinceEpoch(orphan.record.time).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
    }
    if (orphans.size() > 1)
        text += tr("\n\n復元では一番上の編集を開きます。ほかの編集は次の起動まで残ります。");
    const QStringList buttons = {tr("復元"), tr("破棄"), tr("後で")};
    switch (m_prompts.AskChoice(this, text, buttons, 0, 2)) {
    case 0:
        RestoreJournal(std::move(orphans.front()));
        break;
    case 1:
        for (const OrphanJournal& orphan : orphans)
            orphan.files.Remove();
        break;
    default:
        break; // kept; their locks go with the list
    }
}

bool CMainFrame::RestoreJournal(OrphanJournal&& orphan)
{
    std::string bytes;
    std::string error;
    if (!ReadWholeFile(orphan.files.DataPath(), bytes, &error)) {
        m_prompts.ShowMessage(
            this, tr("エラー: 編集を復元できませんでした。\n%1").arg(QString::fromLocal8Bit(error.c_str())),
            MessageIcon::Error);
        return false;
    }
    if (!CloseProject())
        return false;
    CTekResourceData& resource = m_project.Resource();
    const LoadResult result = LoadResourceBytes(resource, bytes);
    if (!result) {
        m_prompts.ShowMessage(this,
                              tr("エラー: 編集を復元できませんでした。\n") +
                                  QString::fromUtf8(EncodedTextToUtf8(result.errorText, result.encoding)),
                              MessageIcon::Error);
        return false;
    }
    const JournalRecord record = orphan.record;
    m_journal->Adopt(std::move(orphan));
    m_resourcePanel->ResetForResource();
    resource.SetFileName(record.projectFile);
    m_diskNoticed = ContentStamp();
    SetKnownDiskContent(record.disk);
    // The file may have changed since the journal's editor last read or wrote it.
    const ContentStamp now = record.projectFile.empty() ? ContentStamp() : ContentStamp::OfFile(record.projectFile);
    m_diskChanged = now.known && !(now == record.disk);
    WatchProjectFile();
    m_project.SetModified(true);
    UpdateCommands();
    return true;
}

bool CMainFrame::MaybeSaveChanges()
{
    if (!m_project.IsModified())
        return true;
    switch (m_prompts.ShowMessage(this, tr("変更を保存しますか？"), MessageIcon::Question,
                                  MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
        // An empty project has nothing to save; its changes are only its items.
        return m_project.Resource().Dialogs().Count() == 0 || SaveProject();
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

void CMainFrame::NewDialog()
{
    const EditResult added = m_project.AddDialog("Dialog");
    if (added.select && added.select->Type() == NodeType::Dialog)
        OpenDialogWindow(static_cast<CTekDialogData&>(*added.select));
}

bool CMainFrame::CloseProject()
{
    if (!MaybeSaveChanges())
        return false;
    m_mdiArea->closeAllSubWindows();
    m_resourcePanel->ClearPanel();
    m_project.StartEmpty();
    m_diskChanged = false;
    WatchProjectFile();
    UpdateCommands();
    return true;
}

bool CMainFrame::NewProject()
{
    if (!CloseProject())
        return false;
    m_resourcePanel->ResetForResource();
    return true;
}

bool CMainFrame::DiscardAll()
{
    if (m_project.Resource().Dialogs().Count() == 0 || !MaybeSaveChanges())
        return false;
    m_mdiArea->closeAllSubWindows();
    m_resourcePanel->ClearPanel();
    m_project.SetModified(false);
    UpdateCommands();
    return true;
}

// --- Dialog windows ---------------------------------------------------------------------------

QMdiSubWindow* CMainFrame::WindowOf(const CTekDialogData& dialog) const
{
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        if (DialogOfWindow(window) == &dialog)
            return window;
    return nullptr;
}

bool CMainFrame::ActivateDialogWindow(CTekDialogData& dialog)
{
    QMdiSubWindow* window = WindowOf(dialog);
    if (!window)
        return false;
    if (m_mdiArea->activeSubWindow() != window)
        m_mdiArea->setActiveSubWindow(window);
    return true;
}

void CMainFrame::OpenDialogWindow(CTekDialogData& dialog)
{
    CTekDialogDataList& dialogs = m_project.Resource().Dialogs();
    const int index = dialogs.IndexOf(&dialog);
    if (index < 0)
        return;
    auto* view = new CTekDialogEditorView(m_project.Resource(), dialogs.PtrAt(index));
    view->SetPictureFolders(DevicePictureFolders());
    view->SetLook(m_previewLook);
    view->SetPreviewSize(m_previewSize);
    connect(view, &CTekDialogEditorView::zoomChanged, this, [this, view] {
        if (view == ActiveView())
            UpdateZoomPane();
    });
    connect(view, &CTekDialogEditorView::objectClicked, this,
            [this, view](CObjectData* object, Qt::KeyboardModifiers modifiers) {
                OnObjectClicked(*view, object, modifiers);
            });
    ConnectPreviewHands(*view);
    QMdiSubWindow* window = m_mdiArea->addSubWindow(view);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("dialogWindow"));
    window->setWindowTitle(ToQ(dialog.GetItem("Name")));
    window->setWindowIcon(ApplicationIcon());
    // Cascaded from the top-left corner of what the area shows, each window inside it.
    std::vector<QPoint> taken;
    for (QMdiSubWindow* other : m_mdiArea->subWindowList())
        if (other != window && other->isVisible())
            taken.push_back(other->pos());
    const QSize area = m_mdiArea->viewport()->size();
    const int step = std::max(16, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window));
    window->setGeometry(
        CascadeRect(area, taken, step, QSize(area.width() * 3 / 5, area.height() * 4 / 5), QSize(320, 280)));
    window->show();
    m_mdiArea->setActiveSubWindow(window);
}

PictureFolders CMainFrame::DevicePictureFolders() const
{
    return {m_paths.dataFolder + "assets", m_resourcePanel->ProjectFolder()};
}

void CMainFrame::SetPreviewLook(PreviewLook look)
{
    m_previewLook = look;
    Action(look == PreviewLook::Device ? "actionDeviceLook" : "actionBoxLook")->setChecked(true);
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        if (auto* view = qobject_cast<CTekDialogEditorView*>(window->widget())) {
            view->SetPictureFolders(DevicePictureFolders());
            view->SetLook(look);
        }
}

void CMainFrame::SetPreviewSize(const PreviewSize& size)
{
    m_previewSize = size;
    const QString text = QString::fromStdString(PreviewSizeText(size));
    int index = m_sizeBox->findData(text);
    if (index < 0) {
        // A size kept in the settings that is not among the presets gets an entry of its own.
        m_sizeBox->addItem(QStringLiteral("%1 × %2").arg(size.fixed.width).arg(size.fixed.height), text);
        index = m_sizeBox->count() - 1;
    }
    m_sizeBox->setCurrentIndex(index);
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        if (auto* view = qobject_cast<CTekDialogEditorView*>(window->widget()))
            view->SetPreviewSize(size);
    UpdateZoomPane();
}

void CMainFrame::UpdateZoomPane()
{
    const CTekDialogEditorView* view = ActiveView();
    m_zoomPane->setText(QStringLiteral("%1%").arg(view ? view->Zoom() : 100));
    const bool zooms = view && view->Size().kind != PreviewSize::Kind::Window;
    for (const char* name : {"actionZoomIn", "actionZoomOut", "actionZoomReset"})
        Action(name)->setEnabled(zooms);
    Action("actionExportPreview")->setEnabled(view != nullptr);
}

bool CMainFrame::ExportPreview()
{
    CTekDialogEditorView* view = ActiveView();
    const CTekDialogData* dialog = view ? view->Dialog() : nullptr;
    if (!dialog)
        return false;
    const QString path = m_prompts.SaveFileName(this, tr("プレビューを画像で保存"),
                                                ToQ(dialog->GetItem("Name")) + QStringLiteral(".png"),
                                                tr("PNG 画像 (*.png)"), QStringLiteral("png"));
    if (path.isEmpty())
        return false;
    std::string reason;
    if (!SavePreviewPng(view->PreviewPicture(), PathFromQ(path), &reason)) {
        m_prompts.ShowMessage(this,
                              tr("エラー: プレビューの画像を保存できませんでした。\n%1\n%2")
                                  .arg(path, QString::fromLocal8Bit(reason.c_str())),
                              MessageIcon::Error);
        return false;
    }
    return true;
}

void CMainFrame::RefreshDevicePictures()
{
    UpdateLintOptions();
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        if (auto* view = qobject_cast<CTekDialogEditorView*>(window->widget()))
            view->SetPictureFolders(DevicePictureFolders());
}

void CMainFrame::CloseDialogWindows(const CTekDialogData& dialog)
{
    while (QMdiSubWindow* window = WindowOf(dialog)) {
        window->close();
        delete window;
    }
}

void CMainFrame::CloseWindowsOfRemovedDialogs()
{
    const CTekDialogDataList& dialogs = m_project.Resource().Dialogs();
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        CTekDialogData* dialog = DialogOfWindow(window);
        if (!dialog || dialogs.IndexOf(dialog) < 0) {
            window->close();
            delete window;
        }
    }
}

void CMainFrame::RefreshDialogViews(const CTekDialogData* dialog)
{
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        if (!dialog || DialogOfWindow(window) == dialog)
            if (auto* view = qobject_cast<CTekDialogEditorView*>(window->widget()))
                view->DialogChanged();
}

SidePanelAccess& CMainFrame::SidePanel()
{
    return *m_sidePanel;
}

CTekDialogData* CMainFrame::ActiveDialog() const
{
    return DialogOfWindow(m_mdiArea->activeSubWindow());
}

CTekDialogEditorView* CMainFrame::ActiveView() const
{
    QMdiSubWindow* window = m_mdiArea->activeSubWindow();
    return window ? qobject_cast<CTekDialogEditorView*>(window->widget()) : nullptr;
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window)
{
    if (CTekDialogData* dialog = DialogOfWindow(window))
        m_resourcePanel->SetCurrentDialog(dialog);
    UpdateCaption();
    UpdateCommands();
    UpdateZoomPane();
    RebuildWindowMenu();
}

void CMainFrame::RebuildWindowMenu()
{
    if (!m_windowMenu)
        return;
    m_windowMenu->clear();
    // An entry may be the one being triggered: it goes once its signal has returned.
    for (QAction* entry : m_windowEntries->actions()) {
        m_windowEntries->removeAction(entry);
        entry->deleteLater();
    }
    m_windowMenu->addAction(Action("actionCascade"));
    m_windowMenu->addAction(Action("actionTile"));
    // A window being closed is hidden until it is deleted.
    QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList();
    windows.removeIf([](const QMdiSubWindow* window) { return window->isHidden(); });
    if (!windows.isEmpty())
        m_windowMenu->addSeparator();
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QPointer<QMdiSubWindow> window = windows[i];
        auto* entry = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(window->windowTitle()), m_windowEntries);
        entry->setObjectName(QStringLiteral("windowEntry%1").arg(i + 1));
        entry->setCheckable(true);
        entry->setChecked(window == m_mdiArea->activeSubWindow());
        connect(entry, &QAction::triggered, this, [this, window] {
            if (window)
                m_mdiArea->setActiveSubWindow(window);
        });
        m_windowMenu->addAction(entry);
    }
}

void CMainFrame::OnObjectClicked(CTekDialogEditorView& view, CObjectData* object, Qt::KeyboardModifiers modifiers)
{
    CTekDialogData* dialog = view.Dialog();
    if (!dialog || !object)
        return;
    m_resourcePanel->SelectNode(dialog, object, modifiers);
    view.update();
}

void CMainFrame::ConnectPreviewHands(CTekDialogEditorView& view)
{
    view.SetDropHandler(&m_resourcePanel->Drops());
    view.SetCurrentNode(m_project.Selected());
    connect(&m_project, &ProjectDocument::selectionChanged, &view,
            [this, &view] { view.SetCurrentNode(m_project.Selected()); });
    connect(&view, &CTekDialogEditorView::nodeChosen, this,
            [this, &view](CObjectData* object) { OnObjectClicked(view, object, Qt::NoModifier); });
    connect(&view, &CTekDialogEditorView::objectsBanded, this,
            [this, &view](const std::vector<CObjectData*>& objects) { m_project.MarkObjects(view.Dialog(), objects); });
    connect(&view, &CTekDialogEditorView::deleteRequested, m_resourcePanel, &CResourceDlg::DeleteNode);
    connect(&view, &CTekDialogEditorView::renameRequested, this, [this] {
        m_resourcePanel->ShowPanelPage(kPageProperties);
        m_resourcePanel->PropertyPanel().EditTextOrName();
    });
    connect(&view, &CTekDialogEditorView::contextMenuRequested, this,
            [this, &view](const QPoint& position) { PreviewMenu(view)->popup(position); });
}

QMenu* CMainFrame::PreviewMenu(CTekDialogEditorView& view)
{
    // The tree's edit commands, then the preview's keys.
    CTreePanel& tree = m_resourcePanel->TreePanel();
    tree.UpdateActions();
    auto* menu = new QMenu(&view);
    menu->setObjectName(QStringLiteral("previewMenu"));
    menu->setAccessibleName(tr("プレビュー"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addActions(tree.ContextMenu().actions());
    menu->addSeparator();
    for (QAction* action : view.KeyActions())
        menu->addAction(action);
    return menu;
}

void CMainFrame::FindProperty()
{
    m_resourcePanel->ShowPanelPage(kPageProperties);
    m_resourcePanel->PropertyPanel().FocusFilter();
}

void CMainFrame::UpdateWindowTitles()
{
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (CTekDialogData* dialog = DialogOfWindow(window)) {
            const QString title = ToQ(dialog->GetItem("Name"));
            window->setWindowTitle(title);
            window->widget()->setAccessibleName(title);
        }
    }
    UpdateCaption();
    RebuildWindowMenu();
}

void CMainFrame::UpdateCaption()
{
    QString caption = Utf8(kApplicationName);
    if (QMdiSubWindow* window = m_mdiArea->activeSubWindow())
        caption += QStringLiteral(" - ") + window->windowTitle();
    setWindowTitle(caption + QStringLiteral("[*]"));
    setWindowModified(m_project.IsModified());
}

void CMainFrame::UpdateCommands()
{
    const bool hasDialogs = m_project.Resource().Dialogs().Count() > 0;
    CTekDialogData* active = ActiveDialog();
    Action("actionSave")->setEnabled(hasDialogs);
    Action("actionSaveProject")->setEnabled(hasDialogs);
    Action("actionSkeleton")->setEnabled(hasDialogs);
    Action("actionDiscardAll")->setEnabled(hasDialogs);
    Action("actionSaveDialog")->setEnabled(active != nullptr);
    Action("actionClose")->setEnabled(m_mdiArea->activeSubWindow() != nullptr);
    const bool hasWindows = !m_mdiArea->subWindowList().isEmpty();
    Action("actionCascade")->setEnabled(hasWindows);
    Action("actionTile")->setEnabled(hasWindows);
    Action("actionUndo")->setEnabled(m_project.CanUndo());
    Action("actionRedo")->setEnabled(m_project.CanRedo());
    for (const char* name : {"actionCut", "actionCopy", "actionPaste"})
        Action(name)->setEnabled(active != nullptr);
    Action("actionSend")->setEnabled(m_resourcePanel->Link().TerminalConnection() != nullptr);
}

// --- Edit commands of the active window -------------------------------------------------------

void CMainFrame::UndoActive()
{
    m_project.Undo();
    UpdateCommands();
}

void CMainFrame::RedoActive()
{
    m_project.Redo();
    UpdateCommands();
}

void CMainFrame::CopyActive()
{
    if (ActiveDialog())
        m_resourcePanel->CopyNode();
}

void CMainFrame::CutActive()
{
    if (ActiveDialog() && m_resourcePanel->CopyNode())
        m_resourcePanel->DeleteNode();
}

void CMainFrame::PasteActive()
{
    if (ActiveDialog())
        m_resourcePanel->PasteNode(InsertPosition::After);
    RefreshDialogViews(nullptr);
}

void CMainFrame::Redraw()
{
    RefreshDialogViews(nullptr);
    m_resourcePanel->update();
    m_resourcePanel->Tree().viewport()->update();
    m_resourcePanel->Grid().RepaintGrid();
}

// --- Status bar and pictures ------------------------------------------------------------------

void CMainFrame::SetStatusText(const QString& text)
{
    m_statusText->setText(text);
}

void CMainFrame::SetLinkState(int state)
{
    if (state == m_linkState)
        return;
    m_linkState = state;
    static const char* const kStateNames[] = {QT_TR_NOOP("応答なし"), QT_TR_NOOP("応答あり"), QT_TR_NOOP("応答受信")};
    m_linkStatePane->setPixmap(LinkStatePixmap(state));
    m_linkStatePane->setAccessibleName(tr("接続状態"));
    m_linkStatePane->setAccessibleDescription(tr(kStateNames[state >= 0 && state <= 2 ? state : 0]));
    m_linkStatePane->setToolTip(m_linkStatePane->accessibleDescription());
    statusBar()->update();
}

void CMainFrame::LoadImages()
{
    // The folder as the station pictures are read from it; the field keeps what the user gave.
    LoadPictureLists(m_pictures, m_paths.dataFolder,
                     WithTrailingSlash(m_resourcePanel->ProjectFolder()) + "resources/");
    m_sidePanel->RefreshLists();
    // The device look reads its pictures again, from the project folder as it is now.
    RefreshDevicePictures();
}

// --- Link log ---------------------------------------------------------------------------------

void CMainFrame::AddLog(const std::string& message, int level)
{
    m_sidePanel->AddLog(message, level);
}

void CMainFrame::ShowMessage(const std::string& text)
{
    // The icon follows the text as the core gave it; the user reads it in the editor's language.
    const bool error = ToQ(text).startsWith(QStringLiteral("エラー"));
    m_prompts.ShowMessage(this, CoreText(text), error ? MessageIcon::Error : MessageIcon::Warning);
}

// --- Skeleton generator -----------------------------------------------------------------------

CSkeletonDlg* CMainFrame::OpenSkeletonGenerator()
{
    const CTekResourceData& resource = m_project.Resource();
    if (resource.GetItem("Name").empty()) {
        m_prompts.ShowMessage(this, CoreTextUtf8(kNoApplicationNameMessage), MessageIcon::Warning);
        return nullptr;
    }
    if (!m_skeleton)
        m_skeleton = new CSkeletonDlg(resource, m_paths.dataFolder + "template", m_resourcePanel->ProjectFolder(),
                                      m_prompts, this);
    const CTekDialogData* active = ActiveDialog();
    m_skeleton->Reopen(active ? active->GetItem("Name") : std::string());
    return m_skeleton;
}

// --- About ------------------------------------------------------------------------------------

QDialog* CMainFrame::CreateAboutBox()
{
    auto* about = new QDialog(this);
    about->setObjectName(QStringLiteral("aboutBox"));
    about->setWindowTitle(tr("バージョン情報"));
    auto* layout = new QGridLayout(about);
    auto* icon = new QLabel(about);
    icon->setPixmap(ApplicationPixmap(48));
    icon->setAccessibleName(tr("アイコン"));
    auto* name = new QLabel(QStringLiteral("%1 (Vesk Resource Editor)").arg(Utf8(kApplicationName)), about);
    name->setObjectName(QStringLiteral("aboutName"));
    auto* versionLabel = new QLabel(QStringLiteral("Version :"), about);
    auto* version = new QLabel(QString::fromLatin1(VESK_VERSION ".0"), about);
    version->setObjectName(QStringLiteral("aboutVersion"));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    TieCaptionToValue(*versionLabel, *version);
    auto* dataLabel = new QLabel(tr("データ :"), about);
    auto* data = new QLabel(PathToQ(m_paths.dataFolder), about);
    data->setObjectName(QStringLiteral("aboutDataFolder"));
    data->setTextInteractionFlags(Qt::TextSelectableByMouse);
    TieCaptionToValue(*dataLabel, *data);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, about);
    connect(buttons, &QDialogButtonBox::accepted, about, &QDialog::accept);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1, 1, 2);
    layout->addWidget(versionLabel, 1, 1);
    layout->addWidget(version, 1, 2);
    layout->addWidget(dataLabel, 2, 1);
    layout->addWidget(data, 2, 2);
    layout->addWidget(buttons, 3, 0, 1, 3);
    return about;
}

// --- Window events ----------------------------------------------------------------------------

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!MaybeSaveChanges()) {
        event->ignore();
        return;
    }
    m_resourcePanel->FolderField().clearFocus();
    WriteSettings();
    // A clean close: the changes were saved or given up.
    m_journal->Remove();
    m_journal->Flush();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            OpenFile(PathFromQ(url.toLocalFile()));
    event->acceptProposedAction();
}

bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        SetStatusText(tip.isEmpty() ? tr("レディ") : tip);
        return true;
    }
    return QMainWindow::event(event);
}

// --- Language ---------------------------------------------------------------------------------

void CMainFrame::AddLanguageMenu(QMenu* view)
{
    view->addSeparator();
    // The Japanese title names the menu in both languages, for a user who reads no Japanese.
    m_languageMenu = view->addMenu(tr("言語 / Language"));
    m_languageMenu->setObjectName(QStringLiteral("menuLanguage"));
    auto* languages = new QActionGroup(this);
    languages->setExclusive(true);
    const struct {
        const char* name;
        const char* text;
        LanguageChoice choice;
    } entries[] = {
        {"actionLanguageJapanese", QT_TR_NOOP("日本語"), LanguageChoice::Japanese},
        {"actionLanguageEnglish", QT_TR_NOOP("English"), LanguageChoice::English},
        {"actionLanguageAuto", QT_TR_NOOP("システムの言語に合わせる"), LanguageChoice::Automatic},
    };
    for (const auto& entry : entries) {
        auto* action = new QAction(tr(entry.text), this);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setCheckable(true);
        action->setChecked(entry.choice == m_languageChoice);
        action->setData(QString::fromLatin1(LanguageSettingValue(entry.choice)));
        languages->addAction(action);
        m_languageMenu->addAction(action);
        m_actions.push_back(action);
        const LanguageChoice choice = entry.choice;
        connect(action, &QAction::triggered, this, [this, choice] { ChooseLanguage(choice); });
    }
}

void CMainFrame::ChooseLanguage(LanguageChoice choice)
{
    for (QAction* action : m_languageMenu->actions())
        action->setChecked(LanguageChoiceOf(action->data().toString().toStdString()) == choice);
    if (choice == m_languageChoice)
        return;
    m_languageChoice = choice;
    // Written now, so that the choice holds even if the editor does not close normally.
    WriteSettings();
    m_prompts.ShowMessage(this, tr("言語の設定は次回の起動から有効になります。"), MessageIcon::Information);
}

} // namespace vesk
