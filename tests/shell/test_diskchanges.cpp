// The project's file changed by another program: the question to read it again, the notice when
// there are unsaved changes, and the question before a save overwrites the other program's file.

#include <fstream>

#include <QAction>

#include "document/recoveryjournal.h"
#include "editorfixture.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "model/savefile.h"

namespace vesk {
namespace {

using test::EditorTest;
using test::ProcessEvents;
using test::RunUntil;

constexpr const char* kChangedQuestion = "ファイルが他のプログラムで変更されました。読み直しますか？";
constexpr const char* kOverwriteQuestion = "上書きしますか？";

std::string ReadFile(const std::string& path)
{
    std::string text;
    ReadWholeFile(path, text);
    return text;
}

/// How another program writes the file.
enum class Writer { ReplacesIt, WritesInPlace };

void WriteAsAnotherProgram(const std::string& path, const std::string& text, Writer writer)
{
    if (writer == Writer::ReplacesIt) {
        ASSERT_TRUE(WriteFileAtomically(path, text));
        return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

/// The demo project with its first dialog renamed, as another program might leave it.
std::string OtherProgramsText()
{
    std::string text = ReadFile(test::DemoProjectPath());
    const size_t name = text.find("'Name':'Main'");
    EXPECT_NE(name, std::string::npos);
    text.replace(name, 13, "'Name':'Changed'");
    return text;
}

class DiskChangeTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        project = TempPath("demo.veskspro");
        ASSERT_TRUE(WriteFileAtomically(project, ReadFile(test::DemoProjectPath())));
        ASSERT_TRUE(frame->OpenFile(project));
    }

    /// Waits until the window asked or said something about the file.
    bool WaitForPrompt()
    {
        return RunUntil([&] { return !prompts.questions.empty() || !prompts.messages.empty(); });
    }

    std::string project;
};

TEST_F(DiskChangeTest, WithoutUnsavedChangesTheEditorAsksToReadTheFileAgain)
{
    for (const Writer writer : {Writer::ReplacesIt, Writer::WritesInPlace}) {
        const std::string text = writer == Writer::ReplacesIt ? OtherProgramsText() : ReadFile(test::DemoProjectPath());
        prompts.choices.push_back(QStringLiteral("はい"));
        WriteAsAnotherProgram(project, text, writer);
        ASSERT_TRUE(WaitForPrompt());
        ASSERT_EQ(prompts.questions.size(), 1u);
        EXPECT_TRUE(prompts.questions[0].text.startsWith(QString::fromUtf8(kChangedQuestion)));
        prompts.questions.clear();
        EXPECT_EQ(DialogAt(0).GetItem("Name"), writer == Writer::ReplacesIt ? "Changed" : "Main");
        EXPECT_EQ(Resource().Dialogs().Count(), 3);
        EXPECT_FALSE(frame->Project().IsModified());
        EXPECT_EQ(Resource().FileName(), project);
        EXPECT_FALSE(frame->ProjectFileChangedOnDisk());
    }

    // Not read again: a later save asks before it overwrites the other program's file.
    prompts.choices.push_back(QStringLiteral("いいえ"));
    WriteAsAnotherProgram(project, OtherProgramsText(), Writer::ReplacesIt);
    ASSERT_TRUE(WaitForPrompt());
    EXPECT_EQ(DialogAt(0).GetItem("Name"), "Main");
    EXPECT_TRUE(frame->ProjectFileChangedOnDisk());
    prompts.questions.clear();
    prompts.choices.push_back(QStringLiteral("上書き"));
    frame->Action("actionSave")->trigger();
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_TRUE(prompts.questions[0].text.contains(QString::fromUtf8(kOverwriteQuestion)));
    EXPECT_NE(ReadFile(project).find("'Name':'Main'"), std::string::npos);
    EXPECT_FALSE(frame->ProjectFileChangedOnDisk());
}

TEST_F(DiskChangeTest, WithUnsavedChangesTheEditorSaysSoAndAsksBeforeASaveOverwrites)
{
    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("mine")));
    const std::string theirs = OtherProgramsText();
    WriteAsAnotherProgram(project, theirs, Writer::ReplacesIt);
    ASSERT_TRUE(WaitForPrompt());
    EXPECT_TRUE(prompts.questions.empty()) << "nothing is read again over unsaved changes";
    const QString notice = prompts.TakeOnlyMessage();
    EXPECT_TRUE(notice.startsWith(QStringLiteral("ファイルが他のプログラムで変更されました。")))
        << notice.toStdString();
    EXPECT_TRUE(frame->Project().IsModified());
    EXPECT_TRUE(frame->ProjectFileChangedOnDisk());

    // Each answer to the question before Ctrl+S writes: cancel keeps their file, another name
    // keeps it too and makes the other file the project's, and overwriting writes ours.
    const std::string other = TempPath("mine.veskspro");
    const struct Answer {
        const char* press;
        bool saved;
        std::string projectFile;
    } answers[] = {
        {"キャンセル", false, project},
        {"別名で保存", true, other},
    };
    for (const Answer& answer : answers) {
        prompts.choices.push_back(QString::fromUtf8(answer.press));
        if (answer.saved)
            prompts.paths.push_back(QString::fromStdString(other));
        EXPECT_EQ(frame->Save(), answer.saved) << answer.press;
        ASSERT_EQ(prompts.questions.size(), 1u) << answer.press;
        EXPECT_TRUE(prompts.questions[0].text.contains(QString::fromUtf8(kOverwriteQuestion)));
        EXPECT_EQ(prompts.questions[0].buttons,
                  (QStringList{QStringLiteral("上書き"), QStringLiteral("別名で保存"), QStringLiteral("キャンセル")}));
        prompts.questions.clear();
        EXPECT_EQ(ReadFile(project), theirs) << answer.press;
        EXPECT_EQ(Resource().FileName(), answer.projectFile) << answer.press;
        EXPECT_EQ(frame->Project().IsModified(), !answer.saved) << answer.press;
    }
    EXPECT_NE(ReadFile(other).find("mine"), std::string::npos);
    prompts.TakeMessages();

    // The project's file is now the new one, whose change by another program is seen in turn.
    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("more")));
    WriteAsAnotherProgram(other, theirs, Writer::WritesInPlace);
    ASSERT_TRUE(WaitForPrompt());
    prompts.TakeMessages();
    prompts.choices.push_back(QStringLiteral("上書き"));
    prompts.paths.push_back(QString::fromStdString(other));
    ASSERT_TRUE(frame->SaveProject());
    EXPECT_EQ(prompts.questions.size(), 1u);
    EXPECT_NE(ReadFile(other).find("more"), std::string::npos);
}

TEST_F(DiskChangeTest, TheEditorsOwnSavesAskNothing)
{
    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("saved once")));
    ASSERT_TRUE(frame->Save());
    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("saved twice")));
    prompts.paths.push_back(QString::fromStdString(project));
    ASSERT_TRUE(frame->SaveProject());
    prompts.TakeMessages();
    ProcessEvents(800);
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(frame->ProjectFileChangedOnDisk());
}

TEST_F(DiskChangeTest, ARestoredJournalAsksBeforeOverwritingAFileChangedSinceIt)
{
    frame->Journal().SetDelays(10, 100);
    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("unsaved")));
    ASSERT_TRUE(RunUntil([&] { return frame->Journal().WrittenCount() == 1; }));
    frame.reset(); // stopped without saving
    WriteAsAnotherProgram(project, OtherProgramsText(), Writer::ReplacesIt);

    MakeFrame();
    prompts.choices.push_back(QStringLiteral("復元"));
    frame->OfferRecovery();
    EXPECT_EQ(Resource().FileName(), project);
    EXPECT_TRUE(frame->ProjectFileChangedOnDisk());
    prompts.questions.clear();
    prompts.choices.push_back(QStringLiteral("キャンセル"));
    EXPECT_FALSE(frame->Save());
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_TRUE(prompts.questions[0].text.contains(QString::fromUtf8(kOverwriteQuestion)));
}

} // namespace
} // namespace vesk
