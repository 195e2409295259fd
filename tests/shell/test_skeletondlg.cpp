// The skeleton generator window: its opening rules, its controls, and generations whose files
// equal those of `veskres generate` with the same options.
#include <filesystem>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

#include "editorfixture.h"
#include "model/savefile.h"
#include "shell/skeletondlg.h"

namespace vesk {
namespace {

using test::EditorTest;
namespace fs = std::filesystem;

std::map<std::string, std::string> FilesUnder(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::string text;
        ReadWholeFile(entry.path().string(), text);
        files[fs::relative(entry.path(), folder).string()] = text;
    }
    return files;
}

class SkeletonWindowTest : public EditorTest {
protected:
    QStringList ResultLines(const CSkeletonDlg& window) const
    {
        QStringList lines;
        for (int i = 0; i < window.Results().count(); ++i)
            lines << window.Results().item(i)->text();
        return lines;
    }
};

TEST_F(SkeletonWindowTest, AProjectWithoutNameGetsTheMessageInstead)
{
    frame->NewDialog();
    ASSERT_TRUE(frame->Action("actionSkeleton")->isEnabled());
    EXPECT_EQ(frame->OpenSkeletonGenerator(), nullptr);
    EXPECT_EQ(prompts.TakeOnlyMessage(),
              QStringLiteral("アプリケーション名が登録されていません。\nリソースツリーのRootのNameを設定して下さい。"));
}

TEST_F(SkeletonWindowTest, OpensOnceWithTheDefaultsAndTheActiveDialogsName)
{
    Panel().SetProjectFolder(TempPath("proj/"));
    OpenDemo();
    frame->OpenDialogWindow(DialogAt(1));
    CSkeletonDlg* window = frame->OpenSkeletonGenerator();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("スケルトン生成"));
    EXPECT_FALSE(window->GenerateBox(SkeletonRow::Main).isChecked());
    EXPECT_TRUE(window->GenerateBox(SkeletonRow::Application).isChecked());
    EXPECT_TRUE(window->GenerateBox(SkeletonRow::Json).isChecked());
    EXPECT_FALSE(window->GenerateBox(SkeletonRow::Makefiles).isChecked());
    EXPECT_TRUE(window->ThisDialogOnly().isChecked());
    EXPECT_EQ(window->DialogNameField().text().toStdString(), DialogAt(1).GetItem("Name"));
    EXPECT_EQ(window->OutputFolderField().text().toStdString(), TempPath("proj/"));
    EXPECT_EQ(window->FileLabel(0).text(), QStringLiteral("DemoTerminal.cpp"));
    EXPECT_EQ(window->FileLabel(1).text(), QStringLiteral("DemoTerminalApplication.cpp DemoTerminalApplication.h"));
    EXPECT_EQ(window->GenerateBox(SkeletonRow::Dialogs).text(), QStringLiteral("ダイアログ"));

    window->AllDialogs().setChecked(true);
    window->Results().addItem(QStringLiteral("old"));
    window->close();
    frame->OpenDialogWindow(DialogAt(2));
    EXPECT_EQ(frame->OpenSkeletonGenerator(), window) << "one window, kept";
    EXPECT_TRUE(window->AllDialogs().isChecked()) << "options stay as the user left them";
    EXPECT_EQ(window->Results().count(), 0);
    EXPECT_EQ(window->DialogNameField().text().toStdString(), DialogAt(2).GetItem("Name"));
}

TEST_F(SkeletonWindowTest, GenerationEqualsTheCommandLineToolsAndReportsEachFile)
{
    OpenDemo();
    CSkeletonDlg* window = frame->OpenSkeletonGenerator();
    ASSERT_NE(window, nullptr);
    const std::string out = TempPath("gui");
    fs::create_directories(out);
    for (int row = 0; row < kSkeletonRowCount; ++row)
        window->GenerateBox(static_cast<SkeletonRow>(row)).setChecked(true);
    window->AllDialogs().setChecked(true);
    window->OutputFolderField().setText(QString::fromStdString(out));
    QTest::mouseClick(&window->GenerateButton(), Qt::LeftButton);
    EXPECT_EQ(window->OutputFolderField().text().toStdString(), out + "/") << "the folder is normalised";
    const QStringList lines = ResultLines(*window);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.front(), QStringLiteral("○ DemoTerminal.cpp を更新しました。"));

    const std::string cli = TempPath("cli");
    fs::create_directories(cli);
    QProcess veskres;
    veskres.start(QStringLiteral(VESK_RUNTIME_DIR "/veskres"),
                  {QStringLiteral("generate"), QString::fromStdString(test::DemoProjectPath()), QStringLiteral("--out"),
                   QString::fromStdString(cli), QStringLiteral("--all"), QStringLiteral("--rows"),
                   QStringLiteral("main,app,maker,dialogs,json,project,makefile")});
    ASSERT_TRUE(veskres.waitForFinished(30000));
    ASSERT_EQ(veskres.exitCode(), 0) << veskres.readAllStandardError().toStdString();
    const auto guiFiles = FilesUnder(out);
    EXPECT_EQ(guiFiles, FilesUnder(cli));
    EXPECT_GT(guiFiles.size(), 10u);

    // Again without overwrite: every file is refused and left as it was.
    QTest::mouseClick(&window->GenerateButton(), Qt::LeftButton);
    const QStringList refused = ResultLines(*window);
    EXPECT_EQ(refused.front(),
              QStringLiteral("× DemoTerminal.cpp キャンセルしました。(ファイルが存在します[上書き禁止])"));
    EXPECT_EQ(FilesUnder(out), guiFiles);
    window->OverwriteBox(SkeletonRow::Main).setChecked(true);
    QTest::mouseClick(&window->GenerateButton(), Qt::LeftButton);
    EXPECT_EQ(ResultLines(*window).front(), QStringLiteral("○ DemoTerminal.cpp を更新しました。"));
    EXPECT_TRUE(ResultLines(*window).at(1).startsWith(QStringLiteral("×")));
}

TEST_F(SkeletonWindowTest, AMissingOutputFolderIsCreated)
{
    OpenDemo();
    CSkeletonDlg* window = frame->OpenSkeletonGenerator();
    ASSERT_NE(window, nullptr);
    const std::string out = TempPath("new/skeleton");
    window->OutputFolderField().setText(QString::fromStdString(out));
    QTest::mouseClick(&window->GenerateButton(), Qt::LeftButton);
    EXPECT_EQ(ResultLines(*window).front(), QStringLiteral("○ DemoTerminalApplication.cpp を更新しました。"));
    EXPECT_TRUE(fs::exists(out + "/DemoTerminalApplication.h"));
}

TEST_F(SkeletonWindowTest, BrowseSetsTheOutputFolder)
{
    OpenDemo();
    CSkeletonDlg* window = frame->OpenSkeletonGenerator();
    ASSERT_NE(window, nullptr);
    prompts.paths.push_back(QString::fromStdString(TempPath("chosen")));
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("browseOutputFolder")), Qt::LeftButton);
    EXPECT_EQ(window->OutputFolderField().text().toStdString(), TempPath("chosen"));
    EXPECT_TRUE(prompts.dialogs.back().startsWith(QStringLiteral("folder:フォルダの参照|フォルダを選択してください|")));
}

} // namespace
} // namespace vesk
