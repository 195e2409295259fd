// The main window: settings, opening, merging, saving, new, discard, recent files, dialog
// windows, caption and the About box.
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolBar>
#include <QTranslator>

#include "editor/dialogview.h"
#include "editorfixture.h"
#include "link/linkcontroller.h"
#include "records/resourcefile.h"
#include "model/savefile.h"
#include "objects/devicesizes.h"
#include "shell/profilefile.h"
#include "shell/application.h"
#include "shell/logdlg.h"
#include "shell/windowplacement.h"

namespace vesk {
namespace {

using test::EditorTest;
using test::ProcessEvents;

std::string ReadFile(const std::string& path)
{
    std::string text;
    ReadWholeFile(path, text);
    return text;
}

std::vector<std::string> DialogNames(const CTekResourceData& resource)
{
    std::vector<std::string> names;
    for (int i = 0; i < resource.Dialogs().Count(); ++i)
        names.push_back(resource.Dialogs().At(i).GetItem("Name"));
    return names;
}

using Names = std::vector<std::string>;

class MainFrameTest : public EditorTest {};

TEST_F(MainFrameTest, FirstStartHasDefaultsAndClosingWritesThem)
{
    EXPECT_EQ(Panel().ProjectFolder(), "");
    EXPECT_EQ(Panel().Link().ListenPort(), 5000);
    EXPECT_FALSE(Panel().EditingEnabled());
    EXPECT_FALSE(frame->Action("actionSaveProject")->isEnabled());
    EXPECT_FALSE(frame->Action("actionDiscardAll")->isEnabled());
    EXPECT_FALSE(frame->Action("actionSaveDialog")->isEnabled());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("RESOURCE EDITOR[*]"));
    ASSERT_TRUE(frame->close());
    const std::string settings = ReadFile(paths.settingsFile);
    EXPECT_NE(settings.find("[SETTING]\nProjectFolder=\nListenPort=5000\n"), std::string::npos) << settings;
}

TEST_F(MainFrameTest, StartWithASettingsFileKeepsWhatItDoesNotKnow)
{
    frame.reset();
    ASSERT_TRUE(WriteFileAtomically(
        paths.settingsFile, "[SETTING]\nProjectFolder=" + TempPath("proj/") +
                                "\nListenPort=6001\nColour=blue\n[Recent File List]\nFile1=" + test::DemoProjectPath() +
                                "\n"));
    MakeFrame();
    EXPECT_EQ(Panel().ProjectFolder(), TempPath("proj/"));
    EXPECT_EQ(Panel().FolderField().text().toStdString(), TempPath("proj/"));
    EXPECT_EQ(Panel().Link().ListenPort(), 6001);
    ASSERT_EQ(frame->RecentFiles().size(), 1u);
    Panel().Link().SetListenPort(6002);
    ASSERT_TRUE(frame->close());
    const std::string settings = ReadFile(paths.settingsFile);
    EXPECT_NE(settings.find("ListenPort=6002\nColour=blue\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("File1=" + test::DemoProjectPath()), std::string::npos) << settings;
}

TEST_F(MainFrameTest, OpenFillsTheTreeWithoutOpeningWindowsAndMergesASecondTime)
{
    OpenDemo();
    EXPECT_TRUE(Panel().EditingEnabled());
    EXPECT_EQ(frame->DialogArea().subWindowList().size(), 0);
    EXPECT_EQ(Panel().CurrentDialog(), &DialogAt(0));
    EXPECT_EQ(Model().LabelOf(Model().ChildrenOf(0).front()), "Root = DemoTerminal");
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_TRUE(frame->Action("actionSaveProject")->isEnabled());
    const Names once = DialogNames(Resource());
    ASSERT_EQ(once.size(), 3u);

    OpenDemo();
    const Names twice = DialogNames(Resource());
    ASSERT_EQ(twice.size(), 6u);
    EXPECT_EQ(twice[3], once[0] + "2");
    EXPECT_TRUE(frame->isWindowModified()) << "a file merged into a project changes it";
    EXPECT_EQ(frame->RecentFiles().size(), 1u) << "no duplicates in the recent list";
}

TEST_F(MainFrameTest, FilesDroppedOnTheWindowAreOpened)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(test::DemoProjectPath()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &drop);
    EXPECT_EQ(Resource().Dialogs().Count(), 3);
    EXPECT_TRUE(Panel().EditingEnabled());
}

TEST_F(MainFrameTest, UnreadableAndBrokenFilesAreReportedAndChangeNothing)
{
    EXPECT_FALSE(frame->OpenFile(TempPath("missing.veskspro")));
    QString shown = prompts.TakeOnlyMessage();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("エラー: ファイルを開けませんでした。"))) << shown.toStdString();
    EXPECT_EQ(prompts.messages.size(), 0u);

    ASSERT_TRUE(WriteFileAtomically(TempPath("broken.json"), "{'Name':'x','Commands':[ {"));
    EXPECT_FALSE(frame->OpenFile(TempPath("broken.json")));
    EXPECT_FALSE(prompts.TakeOnlyMessage().isEmpty());
    EXPECT_FALSE(Panel().EditingEnabled());
    EXPECT_TRUE(frame->RecentFiles().empty());
}

TEST_F(MainFrameTest, SaveProjectWritesEveryDialogAndReportsTheOutcome)
{
    OpenDemo();
    const std::string out = TempPath("saved.veskspro");
    prompts.paths.push_back(QString::fromStdString(out));
    ASSERT_TRUE(frame->SaveProject());
    EXPECT_EQ(prompts.dialogs.back(),
              QString::fromStdString("save:" + test::DemoProjectPath() + "|リソースファイル (*.veskspro)|veskspro"));
    EXPECT_EQ(prompts.TakeOnlyMessage(), QStringLiteral("ファイルを保存しました。"));
    EXPECT_EQ(ReadFile(out), ReadFile(test::DemoProjectPath())) << "the demo saves to its own bytes";
    EXPECT_EQ(frame->RecentFiles().front(), out);

    const QString unwritable = QString::fromStdString(TempPath("no/such/folder/x.veskspro"));
    prompts.paths.push_back(unwritable);
    EXPECT_FALSE(frame->SaveProject());
    EXPECT_EQ(prompts.messages.back().text, QStringLiteral("ファイルを保存できませんでした。\n%1\n%2")
                                                .arg(unwritable, QString::fromLocal8Bit(std::strerror(ENOENT))));
    EXPECT_EQ(prompts.messages.back().icon, MessageIcon::Error);
    prompts.TakeMessages();

    EXPECT_FALSE(frame->SaveProject()) << "a cancelled file dialog saves nothing";
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(MainFrameTest, SaveThisDialogWritesOnlyTheActiveWindowsDialog)
{
    OpenDemo();
    frame->OpenDialogWindow(DialogAt(1));
    ProcessEvents();
    ASSERT_EQ(frame->ActiveDialog(), &DialogAt(1));
    EXPECT_EQ(Panel().CurrentDialog(), &DialogAt(1));
    const std::string out = TempPath("one.json");
    prompts.paths.push_back(QString::fromStdString(out));
    ASSERT_TRUE(frame->SaveActiveDialog());
    EXPECT_TRUE(prompts.dialogs.back().startsWith(QStringLiteral("save:%1|リソースファイル (*.json)|json")
                                                      .arg(QString::fromStdString(DialogAt(1).GetItem("Name")))));
    CTekResourceData reread;
    ASSERT_TRUE(LoadResourceFile(reread, out));
    EXPECT_EQ(DialogNames(reread), Names{DialogAt(1).GetItem("Name")});
}

TEST_F(MainFrameTest, ThePreviewLookAppliesToEveryWindowAndIsKeptInTheSettings)
{
    QAction* box = frame->Action("actionBoxLook");
    QAction* device = frame->Action("actionDeviceLook");
    ASSERT_TRUE(box && device);
    EXPECT_EQ(box->text(), QStringLiteral("枠表示"));
    EXPECT_EQ(device->text(), QStringLiteral("端末イメージ表示"));
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(device->isChecked());
    const auto* bar = frame->findChild<QToolBar*>(QStringLiteral("lookBar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->actions().mid(0, 2), (QList<QAction*>{box, device}));
    const QMenu* view = frame->findChild<QMenu*>(QStringLiteral("menuView"));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->actions().contains(box) && view->actions().contains(device));
    OpenDemo();
    frame->OpenDialogWindow(DialogAt(0));
    frame->OpenDialogWindow(DialogAt(1));
    ProcessEvents();
    const auto looks = [this] {
        std::vector<PreviewLook> shown;
        for (QMdiSubWindow* window : frame->DialogArea().subWindowList())
            shown.push_back(qobject_cast<CTekDialogEditorView*>(window->widget())->Look());
        return shown;
    };
    EXPECT_EQ(looks(), (std::vector<PreviewLook>{PreviewLook::Box, PreviewLook::Box}));
    device->trigger();
    EXPECT_TRUE(device->isChecked());
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(looks(), (std::vector<PreviewLook>{PreviewLook::Device, PreviewLook::Device}));
    frame->OpenDialogWindow(DialogAt(2));
    EXPECT_EQ(looks().back(), PreviewLook::Device);
    // A new project folder reaches the windows' device pictures when the pictures are read again.
    Panel().SetProjectFolder(TempPath("elsewhere/"));
    frame->LoadImages();
    for (QMdiSubWindow* window : frame->DialogArea().subWindowList())
        EXPECT_EQ(qobject_cast<CTekDialogEditorView*>(window->widget())->PictureFolderPaths().project,
                  TempPath("elsewhere/"));
    ASSERT_TRUE(frame->close());
    EXPECT_NE(ReadFile(paths.settingsFile).find("PreviewLook=device\n"), std::string::npos);

    frame.reset();
    MakeFrame();
    EXPECT_EQ(frame->CurrentPreviewLook(), PreviewLook::Device);
    EXPECT_TRUE(frame->Action("actionDeviceLook")->isChecked());
    frame->Action("actionBoxLook")->trigger();
    ASSERT_TRUE(frame->close());
    EXPECT_NE(ReadFile(paths.settingsFile).find("PreviewLook=box\n"), std::string::npos);
}

TEST_F(MainFrameTest, ThePreviewSizeAppliesToEveryWindowAndIsKeptInTheSettings)
{
    auto* box = frame->findChild<QComboBox*>(QStringLiteral("previewSizeBox"));
    auto* zoom = frame->findChild<QLabel*>(QStringLiteral("zoomPane"));
    ASSERT_TRUE(box && zoom);
    EXPECT_FALSE(box->accessibleName().isEmpty());
    EXPECT_EQ(box->currentText(), QStringLiteral("ウィンドウのサイズ"));
    EXPECT_EQ(box->itemText(1), QStringLiteral("ダイアログの設定"));
    EXPECT_EQ(box->count(), 2 + static_cast<int>(DeviceSizePresets().size()));
    EXPECT_EQ(zoom->text(), QStringLiteral("100%"));
    OpenDemo();
    frame->OpenDialogWindow(DialogAt(0));
    frame->OpenDialogWindow(DialogAt(1));
    ProcessEvents();
    const auto views = [this] {
        std::vector<CTekDialogEditorView*> shown;
        for (QMdiSubWindow* window : frame->DialogArea().subWindowList())
            shown.push_back(qobject_cast<CTekDialogEditorView*>(window->widget()));
        return shown;
    };
    // In the window's size the zoom commands do nothing.
    EXPECT_FALSE(frame->Action("actionZoomIn")->isEnabled());
    const int sideways = box->findData(QStringLiteral("800x480"));
    ASSERT_GE(sideways, 0);
    box->setCurrentIndex(sideways);
    emit box->activated(sideways);
    for (CTekDialogEditorView* view : views())
        EXPECT_EQ(PreviewSizeText(view->Size()), "800x480");
    ASSERT_TRUE(frame->Action("actionZoomIn")->isEnabled());
    frame->Action("actionZoomIn")->trigger();
    frame->Action("actionZoomIn")->trigger();
    EXPECT_EQ(zoom->text(), QStringLiteral("150%"));
    EXPECT_EQ(views().back()->Zoom(), 150);
    EXPECT_EQ(views().front()->Zoom(), 100) << "each window has its own zoom";
    frame->Action("actionZoomOut")->trigger();
    EXPECT_EQ(zoom->text(), QStringLiteral("125%"));
    frame->Action("actionZoomReset")->trigger();
    EXPECT_EQ(zoom->text(), QStringLiteral("100%"));
    EXPECT_EQ(frame->Action("actionZoomReset")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));
    frame->OpenDialogWindow(DialogAt(2));
    EXPECT_EQ(PreviewSizeText(views().back()->Size()), "800x480");
    ASSERT_TRUE(frame->close());
    EXPECT_NE(ReadFile(paths.settingsFile).find("PreviewSize=800x480\n"), std::string::npos);

    for (const auto& [kept, shown] : {std::pair{"dialog", "ダイアログの設定"}, std::pair{"123x456", "123 × 456"},
                                      std::pair{"nonsense", "ウィンドウのサイズ"}}) {
        SCOPED_TRACE(kept);
        frame.reset();
        ProfileFile settings;
        settings.Load(paths.settingsFile);
        settings.SetString("SETTING", "PreviewSize", kept);
        ASSERT_TRUE(settings.Save(paths.settingsFile));
        MakeFrame();
        box = frame->findChild<QComboBox*>(QStringLiteral("previewSizeBox"));
        EXPECT_EQ(box->currentText(), QString::fromUtf8(shown));
    }
}

TEST_F(MainFrameTest, ExportWritesTheActiveWindowsPreviewPicture)
{
    EXPECT_FALSE(frame->ExportPreview()) << "no window";
    OpenDemo();
    frame->OpenDialogWindow(DialogAt(0));
    ProcessEvents();
    frame->Action("actionDeviceLook")->trigger();
    frame->SetPreviewSize({PreviewSize::Kind::Fixed, {240, 320}});
    auto* view = qobject_cast<CTekDialogEditorView*>(frame->DialogArea().activeSubWindow()->widget());
    ASSERT_NE(view, nullptr);
    view->SetZoom(200);
    const QMenu* file = frame->findChild<QMenu*>(QStringLiteral("menuFile"));
    ASSERT_TRUE(file->actions().contains(frame->Action("actionExportPreview")));
    EXPECT_EQ(frame->Action("actionExportPreview")->text(), QStringLiteral("プレビューを画像で保存..."));

    prompts.paths.push_back(QString::fromStdString(TempPath("main.png")));
    frame->Action("actionExportPreview")->trigger();
    EXPECT_TRUE(prompts.TakeMessages().empty());
    const QImage written(QString::fromStdString(TempPath("main.png")), "PNG");
    ASSERT_EQ(written.size(), QSize(480, 640));
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), view->PreviewPicture());
    // At 100 % the window shows the whole picture.
    view->SetZoom(100);
    ASSERT_TRUE(view->rect().contains(view->PictureRect()));
    EXPECT_EQ(view->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(view->PictureRect()),
              view->PreviewPicture());

    prompts.paths.push_back(QString::fromStdString(TempPath("no folder/main.png")));
    EXPECT_FALSE(frame->ExportPreview());
    const QString message = prompts.TakeOnlyMessage();
    EXPECT_TRUE(message.startsWith(QStringLiteral("エラー: プレビューの画像を保存できませんでした。")))
        << message.toStdString();
    EXPECT_FALSE(frame->ExportPreview()) << "cancelled";
    EXPECT_TRUE(prompts.TakeMessages().empty());
}

TEST_F(MainFrameTest, NewTwiceGivesDialogAndDialog2InWindowsOfTheirOwn)
{
    frame->NewDialog();
    frame->NewDialog();
    EXPECT_EQ(DialogNames(Resource()), (Names{"Dialog", "Dialog2"}));
    ASSERT_EQ(frame->DialogArea().subWindowList().size(), 2);
    EXPECT_EQ(frame->DialogArea().activeSubWindow()->windowTitle(), QStringLiteral("Dialog2"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("RESOURCE EDITOR - Dialog2[*]"));
    EXPECT_TRUE(frame->isWindowModified());
    EXPECT_TRUE(Panel().EditingEnabled());
}

TEST_F(MainFrameTest, DiscardAllClosesEveryWindowAndEmptiesTheTree)
{
    OpenDemo();
    for (int i = 0; i < 3; ++i)
        frame->OpenDialogWindow(DialogAt(i));
    ASSERT_EQ(frame->DialogArea().subWindowList().size(), 3);
    ASSERT_TRUE(frame->DiscardAll());
    ProcessEvents();
    EXPECT_EQ(frame->DialogArea().subWindowList().size(), 0);
    EXPECT_EQ(Resource().Dialogs().Count(), 0);
    EXPECT_EQ(Model().ItemCount(), 0);
    EXPECT_EQ(Panel().CurrentDialog(), nullptr);
    EXPECT_FALSE(frame->Action("actionDiscardAll")->isEnabled());
}

TEST_F(MainFrameTest, RecentFilesAreKeptNewestFirstAndAGoneFileLeavesTheList)
{
    std::vector<std::string> files;
    for (int i = 0; i < 12; ++i) {
        files.push_back(TempPath("p" + std::to_string(i) + ".veskspro"));
        std::filesystem::copy_file(test::DemoProjectPath(), files.back());
        ASSERT_TRUE(frame->OpenFile(files.back()));
    }
    ASSERT_EQ(frame->RecentFiles().size(), 10u);
    EXPECT_EQ(frame->RecentFiles().front(), files[11]);
    EXPECT_EQ(frame->RecentFiles().back(), files[2]);

    std::filesystem::remove(files[10]);
    frame->OpenRecentFile(1);
    EXPECT_TRUE(prompts.TakeOnlyMessage().contains(QString::fromStdString(files[10])));
    EXPECT_EQ(frame->RecentFiles().size(), 9u);
    EXPECT_EQ(frame->RecentFiles()[1], files[9]);

    const int before = Resource().Dialogs().Count();
    frame->OpenRecentFile(1);
    EXPECT_EQ(Resource().Dialogs().Count(), before + 3);
    EXPECT_EQ(frame->RecentFiles().front(), files[9]);
}

TEST_F(MainFrameTest, DialogWindowsActivateAndFollowTheCurrentDialog)
{
    OpenDemo();
    ClickNode(&DialogAt(2));
    ASSERT_EQ(frame->DialogArea().subWindowList().size(), 1);
    EXPECT_EQ(frame->ActiveDialog(), &DialogAt(2));
    ClickNode(Node(0, "btnOrder"));
    ASSERT_EQ(frame->DialogArea().subWindowList().size(), 2);
    EXPECT_EQ(frame->ActiveDialog(), &DialogAt(0));
    EXPECT_EQ(Panel().CurrentDialog(), &DialogAt(0));

    // Activating the other window makes its dialog current again.
    frame->DialogArea().setActiveSubWindow(frame->WindowOf(DialogAt(2)));
    ProcessEvents();
    EXPECT_EQ(Panel().CurrentDialog(), &DialogAt(2));
    EXPECT_EQ(frame->windowTitle(),
              QStringLiteral("RESOURCE EDITOR - %1[*]").arg(QString::fromStdString(DialogAt(2).GetItem("Name"))));
    EXPECT_TRUE(frame->Action("actionSaveDialog")->isEnabled());
    EXPECT_FALSE(frame->Action("actionUndo")->isEnabled());
}

TEST_F(MainFrameTest, AboutBoxShowsTheVersion)
{
    std::unique_ptr<QDialog> about(frame->CreateAboutBox());
    const auto* version = about->findChild<QLabel*>(QStringLiteral("aboutVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral(VESK_VERSION ".0"));
    EXPECT_TRUE(version->text().contains(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"))));
    EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("aboutDataFolder"))->text().toStdString(), paths.dataFolder);
}

TEST_F(MainFrameTest, ResourceAndLogBarsAreShownAndHiddenByTheViewMenu)
{
    QAction* resourceBar = frame->Action("actionResourceBar");
    ASSERT_TRUE(resourceBar->isChecked());
    resourceBar->trigger();
    ProcessEvents();
    EXPECT_FALSE(Panel().isVisible());
    EXPECT_FALSE(resourceBar->isChecked());
    resourceBar->trigger();
    ProcessEvents();
    EXPECT_TRUE(Panel().isVisible());
    frame->Action("actionLogBar")->trigger();
    ProcessEvents();
    EXPECT_FALSE(frame->SidePanelDialog().isVisible());
}

TEST_F(MainFrameTest, MenuTextsAndToolBarOrder)
{
    QStringList menus;
    for (QAction* action : frame->menuBar()->actions())
        menus << action->text();
    EXPECT_EQ(menus,
              (QStringList{QStringLiteral("ファイル(&F)"), QStringLiteral("編集(&E)"), QStringLiteral("表示(&V)"),
                           QStringLiteral("ウィンドウ(&W)"), QStringLiteral("ヘルプ(&H)")}));
    const auto* bar = frame->findChild<QToolBar*>(QStringLiteral("toolBar"));
    ASSERT_NE(bar, nullptr);
    QStringList order;
    for (QAction* action : bar->actions())
        order << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
    EXPECT_EQ(
        order.join(QLatin1Char(' ')),
        QStringLiteral("actionNew actionOpen actionSaveProject | actionRedraw | actionCut actionCopy actionPaste | "
                       "actionClearLog | actionResourceBar actionLogBar actionSend"));
}

// --- New project, save, open into a project ------------------------------------------------

/// A dialog file of one dialog, "Other", in a project named "OtherProject".
const char* const kOtherDialogFile =
    "{'Name':'OtherProject','Commands':[{'Command':'DIALOG','Name':'Other','Type':'BUTTON'}]}";

TEST_F(MainFrameTest, NewProjectAsksClosesEveryWindowAndStartsWithoutAFile)
{
    EXPECT_EQ(frame->Action("actionNewProject")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+N")));
    OpenDemo();
    frame->OpenDialogWindow(DialogAt(0));
    frame->OpenDialogWindow(DialogAt(1));
    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("x")));
    prompts.TakeMessages();

    prompts.answers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(frame->NewProject());
    EXPECT_EQ(prompts.TakeOnlyMessage(), QStringLiteral("変更を保存しますか？"));
    EXPECT_EQ(Resource().Dialogs().Count(), 3);

    prompts.answers.push_back(MessageAnswer::No);
    ASSERT_TRUE(frame->NewProject());
    ProcessEvents();
    EXPECT_EQ(frame->DialogArea().subWindowList().size(), 0);
    EXPECT_EQ(Resource().Dialogs().Count(), 0);
    EXPECT_TRUE(Resource().SameItems(CTekResourceData())) << "no Name, DeviceWidth or DeviceHeight carried over";
    EXPECT_EQ(Model().LabelOf(Model().ChildrenOf(0).front()), "Root = ");
    EXPECT_TRUE(Panel().EditingEnabled());
    EXPECT_FALSE(frame->isWindowModified());

    frame->NewDialog();
    EXPECT_FALSE(frame->SaveProject());
    EXPECT_EQ(prompts.dialogs.back(), QStringLiteral("save:|リソースファイル (*.veskspro)|veskspro"))
        << "no file name to overwrite";
}

TEST_F(MainFrameTest, SaveWritesTheProjectsOwnFileWithoutAsking)
{
    QAction* save = frame->Action("actionSave");
    EXPECT_EQ(save->text(), QStringLiteral("上書き保存(&S)"));
    EXPECT_EQ(save->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_TRUE(frame->Action("actionSaveProject")->shortcut().isEmpty());
    const std::string path = TempPath("project.veskspro");
    std::filesystem::copy_file(test::DemoProjectPath(), path);
    ASSERT_TRUE(frame->OpenFile(path));
    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("saved")));
    prompts.TakeMessages();

    save->trigger();
    EXPECT_TRUE(prompts.dialogs.empty());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(frame->findChild<QLabel*>(QStringLiteral("statusText"))->text(),
              QStringLiteral("ファイルを保存しました。"));
    EXPECT_FALSE(frame->isWindowModified());
    CTekResourceData reread;
    ASSERT_TRUE(LoadResourceFile(reread, path));
    EXPECT_EQ(reread.Dialogs().At(0).RootGroup()->ChildAt(0).GetItem("Text"), "saved");

    // A failure says where and why.
    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("again")));
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_FALSE(frame->Save());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              QStringLiteral("ファイルを保存できませんでした。\n%1\n%2")
                  .arg(QString::fromStdString(path), QString::fromLocal8Bit(std::strerror(EISDIR))));
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(frame->isWindowModified());
}

TEST_F(MainFrameTest, SaveWithoutAFileAsksForOneAsSaveProjectDoes)
{
    frame->NewDialog();
    const std::string path = TempPath("first.veskspro");
    prompts.paths.push_back(QString::fromStdString(path));
    frame->Action("actionSave")->trigger();
    EXPECT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_EQ(prompts.TakeOnlyMessage(), QStringLiteral("ファイルを保存しました。"));
    EXPECT_EQ(Resource().FileName(), path) << "from now on the project has its file";
}

TEST_F(MainFrameTest, OpeningIntoAProjectWithDialogsAsksWhetherToAdd)
{
    const std::string other = TempPath("other.json");
    ASSERT_TRUE(WriteFileAtomically(other, kOtherDialogFile));
    const struct {
        const char* press;
        bool opened;
        Names dialogs; // after the three of the demo, Main, Order and Settings
        const char* rootName;
        bool modified;
    } cases[] = {
        {"追加", true, {"Main", "Order", "Settings", "Other"}, "OtherProject", true},
        {"新規に開く", true, {"Other"}, "OtherProject", false},
        {"キャンセル", false, {"Main", "Order", "Settings"}, "DemoTerminal", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.press);
        frame.reset();
        MakeFrame();
        OpenDemo();
        frame->OpenDialogWindow(DialogAt(0));
        prompts.choices.push_back(QString::fromUtf8(c.press));
        EXPECT_EQ(frame->OpenFile(other), c.opened);
        ProcessEvents();
        ASSERT_EQ(prompts.questions.size(), 1u);
        EXPECT_EQ(prompts.questions[0].text, QStringLiteral("現在のプロジェクトに追加しますか？"));
        EXPECT_EQ(prompts.questions[0].buttons,
                  (QStringList{QStringLiteral("追加"), QStringLiteral("新規に開く"), QStringLiteral("キャンセル")}));
        EXPECT_TRUE(prompts.messages.empty());
        EXPECT_EQ(DialogNames(Resource()), c.dialogs);
        EXPECT_EQ(Resource().GetItem("Name"), c.rootName);
        EXPECT_EQ(frame->isWindowModified(), c.modified);
        EXPECT_EQ(frame->DialogArea().subWindowList().size(), c.dialogs.size() == 1 ? 0 : 1);
        prompts.questions.clear();
    }
}

TEST_F(MainFrameTest, ParseErrorsShowThePathAndTheFilesOwnText)
{
    const std::string path = TempPath("broken.veskspro");
    ASSERT_TRUE(WriteFileAtomically(path, "{'Name':'効果音',\n'Commands':[}\n"));
    EXPECT_FALSE(frame->OpenFile(path));
    const QString shown = prompts.TakeOnlyMessage();
    EXPECT_TRUE(shown.startsWith(QString::fromStdString(path) + QStringLiteral("\nParse error\n")))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("{'Name':'効果音','Commands':[}!"))) << shown.toStdString();
}

TEST_F(MainFrameTest, AFileWithoutDialogsIsReportedAndChangesNothing)
{
    const std::string path = TempPath("nodialog.json");
    ASSERT_TRUE(WriteFileAtomically(path, "{'Name':'Other','DeviceWidth':100,'Extra':'1','Commands':[]}"));
    OpenDemo();
    EXPECT_FALSE(frame->OpenFile(path)); // added, as the question's default
    EXPECT_EQ(prompts.TakeOnlyMessage(),
              QStringLiteral("ダイアログが見つかりませんでした。\n%1").arg(QString::fromStdString(path)));
    EXPECT_EQ(Resource().GetItem("Name"), "DemoTerminal");
    EXPECT_EQ(Resource().Items().Count(), 3) << "no item Extra";
    EXPECT_EQ(frame->RecentFiles().size(), 1u);
    EXPECT_FALSE(frame->isWindowModified());
}

TEST_F(MainFrameTest, FileDialogsAreTitledByTheirCommands)
{
    frame->OpenWithDialog();
    OpenDemo();
    frame->SaveProject();
    frame->OpenDialogWindow(DialogAt(0));
    frame->SaveActiveDialog();
    EXPECT_EQ(prompts.dialogTitles,
              (std::vector<QString>{QStringLiteral("開く"), QStringLiteral("プロジェクトの保存（全てのリソース）"),
                                    QStringLiteral("リソースの保存（このリソースのみ）")}));
}

// --- Dialog windows and the window layout -------------------------------------------------

TEST(CascadeRect, StepsDownFromTheCornerAndStaysInsideTheArea)
{
    const QSize area(800, 600);
    const QSize wanted(480, 480);
    const QSize minimum(320, 280);
    std::vector<QPoint> full; // every step that fits: 600 - 480 leaves room for 0, 30, ..., 120
    for (int i = 0; i <= 4; ++i)
        full.emplace_back(i * 30, i * 30);
    const struct {
        const char* label;
        QSize area;
        std::vector<QPoint> taken;
        QRect expected;
    } cases[] = {
        {"first window", area, {}, QRect(0, 0, 480, 480)},
        {"second window", area, {QPoint(0, 0)}, QRect(30, 30, 480, 480)},
        {"a closed window's step is used again", area, {QPoint(30, 30)}, QRect(0, 0, 480, 480)},
        {"a moved window takes no step", area, {QPoint(5, 7)}, QRect(0, 0, 480, 480)},
        {"every step taken: again from the corner", area, full, QRect(0, 0, 480, 480)},
        {"cut to a small area", QSize(400, 300), {QPoint(0, 0)}, QRect(0, 0, 400, 300)},
        {"never below the minimum", QSize(200, 100), {}, QRect(0, 0, 320, 280)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CascadeRect(c.area, c.taken, 30, wanted, minimum), c.expected) << c.label;
}

TEST_F(MainFrameTest, DialogWindowsOpenInsideTheAreaAndTheWindowMenuListsThem)
{
    QMdiArea& area = frame->DialogArea();
    EXPECT_EQ(area.horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(area.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    OpenDemo();
    for (int i = 0; i < 3; ++i)
        frame->OpenDialogWindow(DialogAt(i));
    for (int i = 0; i < 3; ++i)
        frame->NewDialog();
    ProcessEvents();
    const QList<QMdiSubWindow*> windows = area.subWindowList();
    ASSERT_EQ(windows.size(), 6);
    for (QMdiSubWindow* window : windows)
        EXPECT_TRUE(area.viewport()->rect().contains(window->geometry()))
            << window->windowTitle().toStdString() << " at " << window->x() << "," << window->y();
    EXPECT_NE(windows[0]->pos(), windows[1]->pos());

    const auto* menu = frame->findChild<QMenu*>(QStringLiteral("menuWindow"));
    ASSERT_NE(menu, nullptr);
    QStringList entries;
    for (QAction* action : menu->actions())
        entries << (action->isSeparator() ? QStringLiteral("|")
                                          : action->text() + (action->isChecked() ? QStringLiteral("*") : QString()));
    EXPECT_EQ(entries.join(QLatin1Char(' ')),
              QStringLiteral("重ねて表示 並べて表示 | &1 Main &2 Order &3 Settings &4 Dialog &5 Dialog2 &6 Dialog3*"));
    menu->actions()[3]->trigger();
    ProcessEvents();
    EXPECT_EQ(frame->ActiveDialog(), &DialogAt(0));
    EXPECT_TRUE(menu->actions()[3]->isChecked());
    EXPECT_FALSE(menu->actions().back()->isChecked());
}

TEST_F(MainFrameTest, WindowLayoutIsKeptInTheSettings)
{
    frame->resize(1000, 700);
    frame->Action("actionLogBar")->trigger();
    ProcessEvents();
    ASSERT_TRUE(frame->close());
    const std::string settings = ReadFile(paths.settingsFile);
    EXPECT_NE(settings.find("\nWindowGeometry="), std::string::npos) << settings;
    EXPECT_NE(settings.find("\nWindowState="), std::string::npos) << settings;

    frame.reset();
    MakeFrame();
    EXPECT_EQ(frame->size(), QSize(1000, 700));
    EXPECT_TRUE(frame->findChild<QDockWidget*>(QStringLiteral("logBar"))->isHidden());
    EXPECT_FALSE(frame->Action("actionLogBar")->isChecked());
    EXPECT_FALSE(frame->findChild<QDockWidget*>(QStringLiteral("resourceBar"))->isHidden());
}

} // namespace
} // namespace vesk
