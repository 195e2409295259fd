// No work lost: the main window's recovery journal, and the recovery of the journal of an editor
// that was killed, with real editor processes beside the windows of the test.

#include <filesystem>

#include <QAction>
#include <QDir>
#include <QProcess>

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

constexpr const char* kRecoveryQuestion = "前回、保存されずに終了した編集があります。";

std::string ReadFile(const std::string& path)
{
    std::string text;
    ReadWholeFile(path, text);
    return text;
}

std::string ProjectBytes(const CTekResourceData& resource)
{
    CJsonString text;
    WriteResource(resource, text, "");
    return text.TakeText();
}

/// The names of the journal files in the folder.
std::vector<std::string> JournalFileNames(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

/// The ids of the journals in the folder that have a record.
std::vector<std::string> RecordedJournals(const std::string& folder)
{
    std::vector<std::string> ids;
    for (const std::string& name : JournalFileNames(folder))
        if (name.ends_with(".record"))
            ids.push_back(name.substr(0, name.size() - 7));
    return ids;
}

/// The editor's executable, started on a file with the given commands run after start-up and
/// its recovery journals in stateHome.
class EditorProcess {
public:
    EditorProcess(const std::string& stateHome, const std::string& file, const QString& actions)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_STATE_HOME"), QString::fromStdString(stateHome));
        environment.insert(QStringLiteral("VESK_EDITOR_ACTIONS"), actions);
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(VESK_RUNTIME_DIR "/vesk-resource-editor"), {QString::fromStdString(file)});
    }
    ~EditorProcess() { Kill(); }
    bool Started() { return m_process.waitForStarted(30000); }
    /// kill -9.
    void Kill()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(30000);
        }
    }
    QString Errors() { return QString::fromUtf8(m_process.readAllStandardError()); }

private:
    QProcess m_process;
};

class RecoveryTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        project = TempPath("demo.veskspro");
        ASSERT_TRUE(WriteFileAtomically(project, ReadFile(test::DemoProjectPath())));
        stateHome = TempPath("state");
        folder = stateHome + "/VeskResourceEditor/recovery/";
    }

    /// The bytes of the demo project with one new dialog, as the editor processes here make it.
    std::string DemoWithNewDialog() const
    {
        ProjectDocument document;
        EXPECT_TRUE(ReadResourceText(document.Resource(), ReadFile(project)));
        document.ProjectLoaded();
        document.AddDialog("Dialog");
        return ProjectBytes(document.Resource());
    }

    /// A main window as a new start of the editor makes it, with its journals in folder.
    void StartAnotherEditor()
    {
        frame.reset();
        paths.recoveryFolder = folder;
        MakeFrame();
    }

    /// Starts an editor process on the project that adds a dialog, and waits for its journal.
    std::unique_ptr<EditorProcess> StartEditingProcess()
    {
        const std::vector<std::string> before = RecordedJournals(folder);
        auto process = std::make_unique<EditorProcess>(stateHome, project, QStringLiteral("actionNew"));
        EXPECT_TRUE(process->Started());
        const bool written = RunUntil([&] { return RecordedJournals(folder).size() > before.size(); }, 30000);
        EXPECT_TRUE(written) << process->Errors().toStdString();
        return process;
    }

    std::string project;
    std::string stateHome;
    std::string folder;
};

TEST_F(RecoveryTest, AJournalIsWrittenAfterAnEditAndRemovedByASaveAndByACleanClose)
{
    ASSERT_TRUE(frame->OpenFile(project));
    RecoveryJournal& journal = frame->Journal();
    journal.SetDelays(20, 200);
    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("edited")));
    ASSERT_TRUE(RunUntil([&] { return journal.WrittenCount() == 1; }));
    const JournalFiles files = journal.Files();
    EXPECT_EQ(ReadFile(files.DataPath()), ProjectBytes(Resource()));
    const std::optional<JournalRecord> record = JournalRecord::Parse(ReadFile(files.RecordPath()));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->projectFile, project);
    EXPECT_TRUE(record->disk == ContentStamp::Of(ReadFile(project))) << "the file as it was read";

    frame->Action("actionSave")->trigger();
    journal.Flush();
    EXPECT_EQ(JournalFileNames(paths.recoveryFolder), std::vector<std::string>{});

    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("again")));
    ASSERT_TRUE(RunUntil([&] { return journal.WrittenCount() == 2; }));
    EXPECT_EQ(RecordedJournals(paths.recoveryFolder).size(), 1u);
    prompts.answers.push_back(MessageAnswer::No); // 変更を保存しますか？
    ASSERT_TRUE(frame->close());
    EXPECT_EQ(JournalFileNames(paths.recoveryFolder), std::vector<std::string>{});
}

TEST_F(RecoveryTest, TheJournalOfAKilledEditorIsRestoredWithTheSameBytesAndSavedToItsFile)
{
    const std::string expected = DemoWithNewDialog();
    std::unique_ptr<EditorProcess> killed = StartEditingProcess();
    killed->Kill();
    const std::vector<std::string> ids = RecordedJournals(folder);
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(ReadFile(folder + ids[0] + ".veskspro"), expected);

    StartAnotherEditor();
    prompts.choices.push_back(QStringLiteral("復元"));
    frame->OfferRecovery();
    ASSERT_EQ(prompts.questions.size(), 1u);
    const QString question = prompts.questions[0].text;
    EXPECT_TRUE(question.startsWith(QString::fromUtf8(kRecoveryQuestion))) << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("demo.veskspro"))) << question.toStdString();
    EXPECT_EQ(prompts.questions[0].buttons,
              (QStringList{QStringLiteral("復元"), QStringLiteral("破棄"), QStringLiteral("後で")}));
    EXPECT_EQ(ProjectBytes(Resource()), expected);
    EXPECT_TRUE(frame->Project().IsModified());
    EXPECT_TRUE(frame->isWindowModified());
    EXPECT_EQ(Resource().FileName(), project);
    EXPECT_FALSE(frame->ProjectFileChangedOnDisk());
    EXPECT_EQ(frame->Journal().Files().id, ids[0]) << "the journal goes on as the new editor's own";

    frame->Action("actionSave")->trigger();
    EXPECT_EQ(ReadFile(project), expected);
    EXPECT_FALSE(frame->Project().IsModified());
    frame->Journal().Flush();
    EXPECT_EQ(JournalFileNames(folder), std::vector<std::string>{});
}

TEST_F(RecoveryTest, TwoEditorsNeverTakeEachOthersJournals)
{
    // A running editor with unsaved changes, and this one with its own.
    std::unique_ptr<EditorProcess> running = StartEditingProcess();
    const std::vector<std::string> runningJournal = RecordedJournals(folder);
    ASSERT_EQ(runningJournal.size(), 1u);
    StartAnotherEditor();
    frame->OfferRecovery();
    EXPECT_TRUE(prompts.questions.empty()) << "the running editor's journal is not offered";
    frame->Journal().SetDelays(20, 200);
    frame->NewDialog();
    ASSERT_TRUE(RunUntil([&] { return frame->Journal().WrittenCount() == 1; }));
    const std::string ownJournal = frame->Journal().Files().id;
    ASSERT_EQ(RecordedJournals(folder).size(), 2u);

    // Another start while both run finds nothing to offer.
    auto second = std::make_unique<CMainFrame>(paths, prompts);
    second->OfferRecovery();
    EXPECT_TRUE(prompts.questions.empty());

    // Once the other editor is killed, a start offers its journal, and only its journal: later
    // keeps it, and a start after that discards it.
    running->Kill();
    const struct Start {
        const char* press;
        std::vector<std::string> journalsAfter;
    } starts[] = {
        {"後で", {runningJournal[0], ownJournal}},
        {"破棄", {ownJournal}},
    };
    for (const Start& start : starts) {
        second = std::make_unique<CMainFrame>(paths, prompts);
        prompts.choices.push_back(QString::fromUtf8(start.press));
        second->OfferRecovery();
        ASSERT_EQ(prompts.questions.size(), 1u) << start.press;
        const QStringList lines = prompts.questions[0].text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        EXPECT_EQ(lines.size(), 2) << "the question and one journal: " << prompts.questions[0].text.toStdString();
        EXPECT_TRUE(prompts.questions[0].text.contains(QStringLiteral("demo.veskspro")));
        EXPECT_FALSE(second->Project().IsModified());
        prompts.questions.clear();
        std::vector<std::string> expected = start.journalsAfter;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(RecordedJournals(folder), expected) << start.press;
    }
    second.reset();
    EXPECT_EQ(RecordedJournals(folder), std::vector<std::string>{ownJournal}) << "this editor still runs";
}

} // namespace
} // namespace vesk
