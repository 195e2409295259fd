// The main window: settings, opening, merging, saving, new, discard, recent files, dialog
// windows, caption and the About box.
#include <filesystem>

#include <QAction>
#include <QDialog>
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
#include <QRegularExpression>
#include <QToolBar>

#include "editorfixture.h"
#include "link/linkcontroller.h"
#include "model/resourcefile.h"
#include "model/savefile.h"
#include "shell/logdlg.h"

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

    prompts.paths.push_back(QString::fromStdString(TempPath("no/such/folder/x.veskspro")));
    EXPECT_FALSE(frame->SaveProject());
    EXPECT_EQ(prompts.messages.back().text, QStringLiteral("ファイルを保存できませんでした。"));
    EXPECT_EQ(prompts.messages.back().icon, MessageIcon::Warning);
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
    EXPECT_EQ(menus, (QStringList{QStringLiteral("ファイル(&F)"), QStringLiteral("編集(&E)"),
                                  QStringLiteral("表示(&V)"), QStringLiteral("ヘルプ(&H)")}));
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

} // namespace
} // namespace vesk
