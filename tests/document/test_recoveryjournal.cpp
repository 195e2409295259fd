// The recovery journal: when it is due, what it holds after each kind of edit, its record, and
// the claims that keep two editors from taking each other's journals.

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <unistd.h>

#include "document/projectdocument.h"
#include "document/recoveryjournal.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "model/savefile.h"
#include "objects/objectdata.h"

using namespace vesk;

namespace {

std::string ReadFile(const std::string& path)
{
    std::string text;
    ReadWholeFile(path, text);
    return text;
}

std::string Bytes(const ProjectDocument& document)
{
    CJsonString text;
    WriteResource(document.Resource(), text, "");
    return text.TakeText();
}

// --- When a journal is due ----------------------------------------------------------------------

/// The times at which journals are written for edits at the given times.
std::vector<int64_t> WriteTimes(const std::vector<int64_t>& edits, int64_t quiet, int64_t burst)
{
    JournalSchedule schedule(quiet, burst);
    std::vector<int64_t> writes;
    size_t next = 0;
    for (int64_t now = 0; now <= 200000; ++now) {
        while (next < edits.size() && edits[next] == now)
            schedule.Edit(edits[next++]);
        if (schedule.Pending() && schedule.Due() == now) {
            writes.push_back(now);
            schedule.Taken();
        }
    }
    return writes;
}

TEST(JournalSchedule, QuietAfterTheLastEditAndAtTheLatestABurstAfterTheFirst)
{
    std::vector<int64_t> everySecond;
    for (int64_t t = 500; t <= 64500; t += 1000)
        everySecond.push_back(t);
    const struct Case {
        const char* what;
        std::vector<int64_t> edits;
        std::vector<int64_t> writes;
    } cases[] = {
        {"one edit", {0}, {2000}},
        {"edits closer than the quiet time wait for the last", {0, 1000, 2500}, {4500}},
        {"a pause longer than the quiet time writes between", {0, 3000}, {2000, 5000}},
        {"a long run of edits is written every burst", everySecond, {30500, 61500, 66500}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WriteTimes(c.edits, 2000, 30000), c.writes) << c.what;
}

// --- The record ---------------------------------------------------------------------------------

TEST(JournalRecord, ReadsBackWhatItWrites)
{
    JournalRecord record;
    record.projectFile = "/home/a\\b/odd\nname.veskspro";
    record.time = 1716280000;
    record.pid = 4242;
    record.disk = ContentStamp::Of("project text");
    const std::optional<JournalRecord> read = JournalRecord::Parse(record.Text());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->projectFile, record.projectFile);
    EXPECT_EQ(read->time, record.time);
    EXPECT_EQ(read->pid, record.pid);
    EXPECT_TRUE(read->disk == record.disk);

    JournalRecord untitled;
    untitled.time = 1;
    untitled.pid = 2;
    const std::optional<JournalRecord> none = JournalRecord::Parse(untitled.Text());
    ASSERT_TRUE(none);
    EXPECT_EQ(none->projectFile, "");
    EXPECT_FALSE(none->disk.known);

    for (const char* bad : {"", "file=/x\ntime=1\npid=2\n", "VeskResourceEditor recovery journal\ntime=x\npid=2\n",
                            "VeskResourceEditor recovery journal\ntime=1\n"})
        EXPECT_FALSE(JournalRecord::Parse(bad)) << bad;
}

// --- What a journal holds ------------------------------------------------------------------------

constexpr const char* kProject = "{'Name':'Shop','Commands':[\n"
                                 "{'Command':'DIALOG','Name':'Main','Object':{'Type':'LINEAR','Name':'root',"
                                 "'Objects':[{'Type':'TEXT','Name':'title','Text':'Menu'},"
                                 "{'Type':'LINEAR','Name':'box','Objects':[{'Type':'BUTTON','Name':'ok'}]}]}},\n"
                                 "{'Command':'DIALOG','Name':'Second','Object':{'Type':'FRAME','Name':'root'}},\n"
                                 "{'Command':'DIALOG','Name':'Third','Object':{'Type':'FRAME','Name':'root'}}]}\n";

class JournalTest : public ::testing::Test {
public:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "test_recoveryjournal";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    static void TearDownTestSuite() { application.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        folder = temp.path().toStdString() + "/recovery/";
        ASSERT_TRUE(ReadResourceText(document.Resource(), kProject));
        document.ProjectLoaded();
        journal = std::make_unique<RecoveryJournal>(document, folder);
    }

    CTekDialogData& DialogAt(int index) { return document.Resource().Dialogs().At(index); }
    CObjectData& Node(int dialog, const char* name)
    {
        std::vector<CObjectData*> open = {DialogAt(dialog).RootObject()};
        while (!open.empty()) {
            CObjectData* node = open.back();
            open.pop_back();
            if (node->GetItem("Name") == name)
                return *node;
            if (node->IsGroup())
                for (const ObjectPtr& child : static_cast<CObjectDataList*>(node)->Children())
                    open.push_back(child.get());
        }
        throw std::runtime_error(name);
    }
    static int RowOf(const TekClass& node, const char* name)
    {
        for (int i = 0; i < node.Items().Count(); ++i)
            if (node.Items().At(i).Name() == name)
                return i;
        return -1;
    }

    static std::unique_ptr<QCoreApplication> application;
    QTemporaryDir temp;
    std::string folder;
    ProjectDocument document;
    std::unique_ptr<RecoveryJournal> journal;
};

std::unique_ptr<QCoreApplication> JournalTest::application;

TEST_F(JournalTest, HoldsTheProjectAsASaveWritesItAfterEachKindOfEdit)
{
    // Each edit changes what was written before in another way: one dialog, the list, the
    // project's own items, a step back or forth in the history.
    const struct Step {
        const char* what;
        std::function<bool(JournalTest&)> edit;
    } steps[] = {
        {"a value in the first dialog",
         [](JournalTest& t) {
             return t.document.SetItemValue(t.Node(0, "title"), RowOf(t.Node(0, "title"), "Text"), "Order").done;
         }},
        {"a value in the last dialog",
         [](JournalTest& t) {
             CObjectData& root = *t.DialogAt(2).RootObject();
             return t.document.SetItemValue(root, RowOf(root, "Name"), "top").done;
         }},
        {"a new object", [](JournalTest& t) { return t.document.InsertNew(&t.Node(0, "ok"), "EDIT", {}).done; }},
        {"a new dialog", [](JournalTest& t) { return t.document.AddDialog("Extra").done; }},
        {"a dialog moved", [](JournalTest& t) { return t.document.Move(&t.DialogAt(1), +1).done; }},
        {"a dialog removed", [](JournalTest& t) { return t.document.Remove(&t.DialogAt(0)).done; }},
        {"undo", [](JournalTest& t) { return t.document.Undo().done; }},
        {"undo of a dialog's edit",
         [](JournalTest& t) {
             t.document.Undo();
             t.document.Undo();
             return t.document.Undo().done;
         }},
        {"redo", [](JournalTest& t) { return t.document.Redo().done; }},
        {"the project's own item",
         [](JournalTest& t) {
             CTekResourceData& resource = t.document.Resource();
             return t.document.SetItemValue(resource, RowOf(resource, "Name"), "Store").done;
         }},
        {"pasted dialogs",
         [](JournalTest& t) { return t.document.Paste(&t.DialogAt(0), t.document.RecordOf(t.DialogAt(1)), {}).done; }},
    };
    for (const Step& step : steps) {
        ASSERT_TRUE(step.edit(*this)) << step.what;
        ASSERT_TRUE(journal->WriteNow()) << step.what;
        EXPECT_EQ(ReadFile(journal->Files().DataPath()), Bytes(document)) << step.what;
    }
    const std::optional<JournalRecord> record = JournalRecord::Parse(ReadFile(journal->Files().RecordPath()));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->pid, ::getpid());
    EXPECT_EQ(record->projectFile, "");
    EXPECT_NEAR(static_cast<double>(record->time), static_cast<double>(std::time(nullptr)), 60);
}

// --- Claims -------------------------------------------------------------------------------------

TEST_F(JournalTest, AJournalIsClaimedOnlyWhenItsEditorStoppedAndOnlyOnce)
{
    ASSERT_TRUE(document.AddDialog("Extra").done);
    ASSERT_TRUE(journal->WriteNow());
    const JournalFiles files = journal->Files();
    EXPECT_TRUE(ClaimOrphanJournals(folder).empty()) << "its editor runs";

    journal.reset(); // the editor stops without saving
    std::vector<OrphanJournal> claimed = ClaimOrphanJournals(folder);
    ASSERT_EQ(claimed.size(), 1u);
    EXPECT_EQ(claimed[0].files.id, files.id);
    EXPECT_EQ(claimed[0].record.pid, ::getpid());
    EXPECT_TRUE(ClaimOrphanJournals(folder).empty()) << "claimed by another editor";

    // Adopted, the journal goes on under its id with the new editor's record.
    ProjectDocument other;
    ASSERT_TRUE(ReadResourceText(other.Resource(), ReadFile(files.DataPath())));
    other.ProjectLoaded();
    other.SetModified(true);
    RecoveryJournal adopting(other, folder);
    adopting.Adopt(std::move(claimed[0]));
    ASSERT_TRUE(other.AddDialog("More").done);
    ASSERT_TRUE(adopting.WriteNow());
    EXPECT_EQ(adopting.Files().id, files.id);
    EXPECT_EQ(ReadFile(files.DataPath()), Bytes(other));
    EXPECT_TRUE(ClaimOrphanJournals(folder).empty());
}

TEST_F(JournalTest, LeftoversOfCutWritesAreRemovedAndATextWithoutRecordIsKept)
{
    std::filesystem::create_directories(folder);
    const auto write = [&](const std::string& name, const std::string& text) {
        ASSERT_TRUE(WriteFileAtomically(folder + name, text));
    };
    write("11-aa.record", JournalRecord{"/p.veskspro", 5, 11, {}}.Text()); // no project text
    write("12-bb.lock", "");                                               // a lock alone
    write("13-cc.veskspro", kProject);                                     // no record
    write("13-cc.veskspro.x1Y2z3", "half");                                // a cut write
    write("14-dd.veskspro", kProject);
    write("14-dd.record", JournalRecord{"/q.veskspro", 9, 14, {}}.Text());
    write("notes.txt", "not ours");

    const std::vector<OrphanJournal> claimed = ClaimOrphanJournals(folder);
    ASSERT_EQ(claimed.size(), 2u);
    EXPECT_EQ(claimed[0].files.id, "13-cc") << "newest first: the text without record has its file's time";
    EXPECT_EQ(claimed[0].record.projectFile, "");
    EXPECT_EQ(claimed[0].record.pid, 13);
    EXPECT_EQ(claimed[1].files.id, "14-dd");
    EXPECT_EQ(claimed[1].record.projectFile, "/q.veskspro");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"13-cc.lock", "13-cc.veskspro", "14-dd.lock", "14-dd.record",
                                              "14-dd.veskspro", "notes.txt"}));
}

} // namespace
