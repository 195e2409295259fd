// The project document's edit operations without any window: refusals with their texts, side
// effects, the signals each operation sends and their order, the project-wide history, and a
// seeded random session that undoes to the starting bytes and redoes to the final ones.
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/projectdocument.h"
#include "objects/dialogbuilder.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "objects/treeshape.h"
#include "textconv/textconv.h"

namespace vesk {
namespace {

using test::FindNamed;
using test::DemoProjectPath;
int RowOf(const TekClass& node, const std::string& name)
{
    for (int i = 0; i < node.Items().Count(); ++i)
        if (node.Items().At(i).Name() == name)
            return i;
    return -1;
}

/// Every signal of a document as one line of text, in order.
class SignalLog {
public:
    explicit SignalLog(ProjectDocument& document) : m_document(document)
    {
        auto rows = [this](const char* what) {
            return [this, what](TekClass* parent, int first, int last) {
                m_lines.push_back(std::string(what) + " " + Name(parent) + " " + std::to_string(first) + "-" +
                                  std::to_string(last));
            };
        };
        QObject::connect(&document, &ProjectDocument::nodesAboutToBeInserted, rows("aboutToInsert"));
        QObject::connect(&document, &ProjectDocument::nodesInserted, rows("inserted"));
        QObject::connect(&document, &ProjectDocument::nodesAboutToBeRemoved, rows("aboutToRemove"));
        QObject::connect(&document, &ProjectDocument::nodesRemoved, rows("removed"));
        QObject::connect(&document, &ProjectDocument::nodeAboutToBeMoved, rows("aboutToMove"));
        QObject::connect(&document, &ProjectDocument::nodeMoved, rows("moved"));
        QObject::connect(&document, &ProjectDocument::childrenAboutToBeReset,
                         [this](TekClass* parent) { m_lines.push_back("aboutToReset " + Name(parent)); });
        QObject::connect(&document, &ProjectDocument::childrenReset,
                         [this](TekClass* parent) { m_lines.push_back("reset " + Name(parent)); });
        QObject::connect(&document, &ProjectDocument::itemChanged, [this](TekClass* node, int row) {
            m_lines.push_back("item " + Name(node) + " " + node->Items().At(row).Name());
        });
        QObject::connect(&document, &ProjectDocument::itemsReset,
                         [this](TekClass* node) { m_lines.push_back("items " + Name(node)); });
        QObject::connect(&document, &ProjectDocument::selectionChanged,
                         [this] { m_lines.push_back("selection " + Name(m_document.Selected())); });
        QObject::connect(&document, &ProjectDocument::dialogChanged,
                         [this](CTekDialogData* dialog) { m_lines.push_back("dialog " + Name(dialog)); });
        QObject::connect(&document, &ProjectDocument::modifiedChanged,
                         [this](bool modified) { m_lines.push_back(modified ? "modified" : "saved"); });
    }

    /// The lines since the last call.
    std::vector<std::string> Take() { return std::exchange(m_lines, {}); }
    /// The lines since the last call that begin with one of the prefixes.
    std::vector<std::string> Take(std::initializer_list<std::string_view> prefixes)
    {
        std::vector<std::string> kept;
        for (const std::string& line : Take())
            for (std::string_view prefix : prefixes)
                if (line.rfind(prefix, 0) == 0) {
                    kept.push_back(line);
                    break;
                }
        return kept;
    }

private:
    static std::string Name(const TekClass* node)
    {
        if (!node)
            return "-";
        if (node->Type() == NodeType::Resource)
            return "resource";
        if (node->Type() == NodeType::Command)
            return "command:" + node->GetItem("Command");
        if (node->Type() == NodeType::HeaderColumn)
            return "header";
        return node->GetItem("Name").empty() ? "(unnamed)" : node->GetItem("Name");
    }

    ProjectDocument& m_document;
    std::vector<std::string> m_lines;
};

class ProjectDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(LoadResourceFile(document.Resource(), DemoProjectPath()).status, LoadStatus::Ok);
        document.ProjectLoaded();
        log.Take();
    }

public:
    CTekDialogData& DialogAt(int index) { return document.Resource().Dialogs().At(index); }
    CObjectData* Node(int dialog, const std::string& name) { return FindNamed(DialogAt(dialog).RootObject(), name); }
    std::string Project()
    {
        CJsonString text;
        WriteResource(document.Resource(), text, {});
        return text.Text();
    }
    EditResult Set(TekClass* node, const std::string& item, const std::string& value)
    {
        return document.SetItemValue(*node, RowOf(*node, item), value);
    }

    ProjectDocument document;
    SignalLog log{document};
};

// --- Refusals ----------------------------------------------------------------------------------

TEST_F(ProjectDocumentTest, EachRefusalAnswersItsTextAndIconAndChangesNothing)
{
    struct Case {
        const char* what;
        std::function<EditResult(ProjectDocumentTest&)> edit;
        const char* text;
        bool error;
    };
    const Case cases[] = {
        {"insert without a selection",
         [](auto& t) { return t.document.InsertNew(nullptr, "TEXT", InsertPosition::After); },
         "登録する場所を決定するために、ツリーのオブジェクトを選択して下さい。", false},
        {"insert under the resource",
         [](auto& t) { return t.document.InsertNew(&t.document.Resource(), "TEXT", InsertPosition::After); },
         "登録する場所を決定するために、ツリーのダイアログ、\nまたはオブジェクトを選択して下さい。", false},
        {"radio button outside a radio group",
         [](auto& t) { return t.document.InsertNew(t.Node(0, "title"), "RADIOBTN", InsertPosition::After); },
         "ラジオボタンはラジオグループに追加して下さい。", false},
        {"ungroup the root group",
         [](auto& t) {
             t.DialogAt(0).RootObject()->SetMark(1);
             return t.document.GroupOrUngroup(t.DialogAt(0).RootObject());
         },
         "エラー: デフォルトグループはグループ解除できません.", true},
        {"paste a text that does not parse",
         [](auto& t) { return t.document.Paste(t.Node(0, "title"), "{'Type':", InsertPosition::After); }, nullptr,
         false},
        {"type RADIOBTN outside a radio group", [](auto& t) { return t.Set(t.Node(0, "title"), "Type", "RADIOBTN"); },
         "ラジオボタンはラジオグループに追加して下さい。", false},
        {"dialog name that is no file name", [](auto& t) { return t.Set(&t.DialogAt(0), "Name", "../evil dlg"); },
         "ダイアログ名に「.」は使えません。\n英字、数字と _ だけが使えます。", false},
        {"dialog name with a Japanese character",
         [](auto& t) { return t.Set(&t.DialogAt(0), "Name", Utf8ToShiftJis("画面1")); },
         "ダイアログ名に「画」は使えません。\n英字、数字と _ だけが使えます。", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = Project();
        const EditResult result = c.edit(*this);
        EXPECT_FALSE(result.done);
        ASSERT_TRUE(result.refusal.has_value());
        if (c.text)
            EXPECT_EQ(result.refusal->text, c.text);
        else
            EXPECT_FALSE(result.refusal->text.empty());
        EXPECT_EQ(result.refusal->error, c.error);
        EXPECT_EQ(Project(), before);
        EXPECT_FALSE(document.CanUndo());
    }
}

TEST_F(ProjectDocumentTest, EditsBeforeAProjectIsOpenAreRefused)
{
    ProjectDocument empty;
    EXPECT_EQ(empty.Move(nullptr, 1).refusal->text, "エラー: リソースの取得に失敗しました.");
    EXPECT_EQ(empty.Remove(nullptr).refusal->text, "エラー: リソースの取得に失敗しました.");
    EXPECT_EQ(empty.InsertNew(nullptr, "TEXT", InsertPosition::After).refusal->text,
              "エラー: リソースデータの取得に失敗しました.");
    EXPECT_TRUE(empty.Move(nullptr, 1).refusal->error);
}

TEST_F(ProjectDocumentTest, NoEditReachesANodeThatLeftTheTree)
{
    ASSERT_TRUE(document.InsertNew(Node(0, "title"), "TEXT", InsertPosition::After).done);
    TekClass* inserted = document.Selected();
    ASSERT_TRUE(document.Undo().done);
    EXPECT_NE(document.Selected(), inserted) << "the selection left the removed node";
    EXPECT_FALSE(IsInTree(document.Resource(), *inserted));
    const std::string before = Project();
    EXPECT_FALSE(Set(inserted, "Name", "ghost").done);
    EXPECT_FALSE(document.Move(inserted, 1).done);
    EXPECT_FALSE(document.Remove(inserted).done);
    ASSERT_TRUE(document.Redo().done);
    EXPECT_EQ(Project().find("ghost"), std::string::npos) << "redo brings no ghost";
    EXPECT_NE(before, Project());
}

// --- Side effects -----------------------------------------------------------------------------------

TEST_F(ProjectDocumentTest, RolesOfItemsCarryTheirSideEffects)
{
    CObjectData* title = Node(0, "title");
    const int textItems = title->Items().Count();
    ASSERT_TRUE(Set(title, "Type", "GRID").done);
    EXPECT_NE(title->Items().Count(), textItems) << "the item set follows the type";
    EXPECT_EQ(title->GetItem("Type"), "GRID");
    EXPECT_EQ(log.Take({"items"}), std::vector<std::string>{"items title"});

    ASSERT_TRUE(Set(title, "Columns", AddHeaderChoice()).done);
    ASSERT_TRUE(Set(title, "Columns", AddHeaderChoice()).done);
    EXPECT_EQ(title->HeaderColumns().size(), 2u);
    EXPECT_EQ(title->GetItem("Columns"), "2");

    CObjectData* exit = Node(0, "btnExit");
    const size_t commands = exit->CommandList().size();
    ASSERT_TRUE(Set(exit, "OnClick", "SOUND").done);
    EXPECT_EQ(exit->CommandList().size(), commands + 1);
    EXPECT_EQ(exit->CommandList().back()->GetItem("Command"), "SOUND");
    EXPECT_EQ(exit->GetItem("OnClick"), "") << "the event item goes back to empty";
    ASSERT_TRUE(Set(exit, "OnClick", CancelChoice()).done);
    EXPECT_EQ(exit->CommandList().size(), commands + 1);

    CObjectData* menu = Node(0, "menu");
    ASSERT_TRUE(Set(menu, "Layout", "FRAME").done);
    EXPECT_EQ(menu->GetItem("Layout"), "FRAME");
}

TEST_F(ProjectDocumentTest, DialogNamesStayUniqueAndTheNumberingIsReported)
{
    EditResult result = Set(&DialogAt(1), "Name", "Main");
    ASSERT_TRUE(result.done);
    EXPECT_EQ(DialogAt(1).GetItem("Name"), "Main2");
    EXPECT_NE(result.status.find("Main2"), std::string::npos);
    result = Set(&DialogAt(2), "Name", "");
    EXPECT_EQ(DialogAt(2).GetItem("Name"), "Dialog");
    result = Set(&DialogAt(2), "Name", "Fine_Name9");
    EXPECT_EQ(DialogAt(2).GetItem("Name"), "Fine_Name9");
    EXPECT_TRUE(result.status.empty());
}

TEST_F(ProjectDocumentTest, PastedObjectsTakeNamesUniqueInTheirDialog)
{
    CObjectData* title = Node(0, "title");
    const std::string record = document.RecordOf(*title);
    ASSERT_TRUE(document.Paste(title, record, InsertPosition::After).done);
    ASSERT_TRUE(document.Paste(title, record, InsertPosition::After).done);
    EXPECT_NE(Node(0, "title2"), nullptr);
    EXPECT_NE(Node(0, "title3"), nullptr);
    // In another dialog the name is free.
    ASSERT_TRUE(document.Paste(&DialogAt(1), record, InsertPosition::LastChild).done);
    EXPECT_NE(Node(1, "title"), nullptr);
}

TEST_F(ProjectDocumentTest, ImageAssignmentSetsTheSourceAndTheCentre)
{
    CObjectData* gauge = Node(0, "gauge");
    ASSERT_TRUE(
        document.AssignImage(*gauge, RowOf(*gauge, "FileCursor"), ImageSource::Station, "dial[10-20].png").done);
    EXPECT_EQ(gauge->GetItem("FileCursor"), "dial[10-20].png");
    EXPECT_EQ(gauge->GetItem("FileSource"), "STATION");
    EXPECT_EQ(gauge->GetItem("CenterPosCursor"), "10,20");
    EXPECT_FALSE(document.AssignImage(*gauge, RowOf(*gauge, "Name"), ImageSource::Builtin, "x.png").done)
        << "only image items take pictures";
}

TEST_F(ProjectDocumentTest, EditedCommandNodesLeaveTheHistoryItsValues)
{
    const std::string start = Project();
    CObjectData* exit = Node(0, "btnExit");
    ASSERT_TRUE(Set(exit, "OnClick", "SOUND").done);
    TekClass* sound = exit->CommandList().back().get();
    const EditResult result = Set(sound, "File", "beep.wav");
    ASSERT_TRUE(result.done);
    EXPECT_EQ(exit->CommandList().back().get(), result.select) << "a copy takes the edited node's place";
    const std::string edited = Project();
    ASSERT_TRUE(document.Undo().done);
    EXPECT_EQ(Project().find("beep.wav"), std::string::npos);
    ASSERT_TRUE(document.Undo().done);
    EXPECT_EQ(Project(), start);
    ASSERT_TRUE(document.Redo().done);
    ASSERT_TRUE(document.Redo().done);
    EXPECT_EQ(Project(), edited);
}

// --- Signals -------------------------------------------------------------------------------------------

TEST_F(ProjectDocumentTest, OperationsSendTheirSignalsInOrder)
{
    CObjectData* clock = Node(0, "clock");
    ASSERT_TRUE(document.Move(clock, -1).done);
    EXPECT_EQ(log.Take({"aboutToMove", "moved", "dialog"}),
              (std::vector<std::string>{"aboutToMove root 1-0", "moved root 1-0", "dialog Main"}));

    ASSERT_TRUE(document.InsertNew(clock, "BUTTON", InsertPosition::After).done);
    EXPECT_EQ(log.Take({"aboutToInsert", "inserted", "dialog", "selection", "modified"}),
              (std::vector<std::string>{"aboutToInsert root 1-1", "inserted root 1-1", "dialog Main",
                                        "selection (unnamed)"}));

    ASSERT_TRUE(document.Remove(document.Selected()).done);
    EXPECT_EQ(
        log.Take({"aboutToRemove", "removed", "dialog", "selection"}),
        (std::vector<std::string>{"aboutToRemove root 1-1", "removed root 1-1", "dialog Main", "selection root"}));
    EXPECT_EQ(document.Selected(), DialogAt(0).RootObject()) << "the parent is chosen with the full rules";
    EXPECT_TRUE(DialogAt(0).RootObject()->GetMark());

    ASSERT_TRUE(Set(clock, "Text", "x").done);
    EXPECT_EQ(log.Take({"item", "dialog"}), (std::vector<std::string>{"item clock Text", "dialog Main"}));

    ASSERT_TRUE(document.Undo().done);
    EXPECT_EQ(log.Take({"aboutToReset", "reset", "items", "selection"}),
              (std::vector<std::string>{"items clock", "selection clock"}))
        << "an undo of values keeps the rows";
    ASSERT_TRUE(document.Undo().done);
    EXPECT_EQ(log.Take({"aboutToReset", "reset"}), (std::vector<std::string>{"aboutToReset Main", "reset Main"}))
        << "an undo of a removal reads the dialog's rows anew";

    ASSERT_TRUE(document.Remove(&DialogAt(2)).done);
    EXPECT_EQ(log.Take({"aboutToRemove", "removed"}),
              (std::vector<std::string>{"aboutToRemove resource 2-2", "removed resource 2-2"}));
}

TEST_F(ProjectDocumentTest, ChoosingANodeRunsTheSelectionRules)
{
    CObjectData* title = Node(0, "title");
    CObjectData* clock = Node(0, "clock");
    document.Select(title);
    document.Select(clock, true);
    EXPECT_TRUE(title->GetMark() && clock->GetMark()) << "Ctrl keeps the marks";
    document.Select(clock, true);
    EXPECT_FALSE(clock->GetMark()) << "choosing a marked node again takes its mark back";
    EXPECT_EQ(document.Highlighted(), title) << "the highlight moves to the marked node left";
    EXPECT_EQ(document.Selected(), clock);
    document.Select(&DialogAt(0));
    EXPECT_FALSE(title->GetMark()) << "choosing a dialog clears its marks";
    CObjectData* orderRoot = Node(1, "orderRoot");
    ASSERT_NE(orderRoot, nullptr);
    document.Select(orderRoot);
    EXPECT_EQ(document.CurrentDialog(), &DialogAt(1));
}

// --- Project history ------------------------------------------------------------------------------------

TEST_F(ProjectDocumentTest, EditsOfTheProjectsOwnItemsAreStepsOfTheHistoryToo)
{
    CTekResourceData& resource = document.Resource();
    const std::string start = Project();
    ASSERT_TRUE(document.SetItemValue(resource, RowOf(resource, "Name"), "Kiosk").done);
    ASSERT_TRUE(Set(Node(0, "title"), "Text", "A").done);
    ASSERT_TRUE(document.SetItemValue(resource, RowOf(resource, "DeviceWidth"), "320").done);
    const std::string end = Project();

    ASSERT_TRUE(document.Undo().done);
    EXPECT_EQ(resource.GetItem("DeviceWidth"), "480");
    EXPECT_EQ(resource.GetItem("Name"), "Kiosk");
    EXPECT_EQ(document.Selected(), &resource) << "the node whose items came back is selected";
    ASSERT_TRUE(document.Undo().done);
    ASSERT_TRUE(document.Undo().done);
    EXPECT_EQ(Project(), start);
    EXPECT_FALSE(document.CanUndo());
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(document.Redo().done);
    EXPECT_EQ(Project(), end);
}

TEST_F(ProjectDocumentTest, UndoTakesBackTheNewestStepWhicheverDialogOrListItTouched)
{
    const std::string start = Project();
    ASSERT_TRUE(Set(Node(0, "title"), "Text", "A").done);
    const std::string afterEdit = Project();
    CTekDialogData* order = &DialogAt(1);
    ASSERT_TRUE(document.Remove(order).done);
    EXPECT_EQ(document.Resource().Dialogs().Count(), 2);

    ASSERT_TRUE(document.Undo().done);
    EXPECT_EQ(Project(), afterEdit) << "the deleted dialog comes back, the edit stays";
    EXPECT_EQ(document.Selected(), order) << "the restored dialog is selected";
    EXPECT_EQ(document.CurrentDialog(), order);
    ASSERT_TRUE(document.Undo().done);
    EXPECT_EQ(Project(), start);
    EXPECT_FALSE(document.CanUndo());

    ASSERT_TRUE(document.Redo().done);
    ASSERT_TRUE(document.Redo().done);
    EXPECT_EQ(document.Resource().Dialogs().Count(), 2);
    EXPECT_FALSE(document.CanRedo());

    // Moving, adding and pasting dialogs are steps too.
    ASSERT_TRUE(document.Undo().done);
    const std::string threeDialogs = Project();
    ASSERT_TRUE(document.Move(&DialogAt(0), 1).done);
    ASSERT_TRUE(document.AddDialog("Dialog").done);
    ASSERT_TRUE(document.Paste(&DialogAt(0), document.RecordOf(DialogAt(0)), InsertPosition::After).done);
    EXPECT_EQ(document.Resource().Dialogs().Count(), 5);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(document.Undo().done);
    EXPECT_EQ(Project(), threeDialogs);
}

/// A seeded random session of edits over the whole project: property commits, inserts, moves,
/// groupings, deletes and pastes of objects, and deletes, pastes and moves of dialogs.
class RandomSession {
public:
    RandomSession(ProjectDocument& document, unsigned seed) : m_document(document), m_random(seed) {}

    void Step()
    {
        CTekDialogDataList& dialogs = m_document.Resource().Dialogs();
        if (dialogs.Count() == 0) {
            m_document.AddDialog("Dialog");
            return;
        }
        CTekDialogData& dialog = dialogs.At(static_cast<int>(Pick(static_cast<size_t>(dialogs.Count()))));
        std::vector<TekClass*> nodes;
        Collect(dialog.RootObject(), nodes);
        if (nodes.empty()) {
            m_document.InsertNew(&dialog, "LINEAR", InsertPosition::After);
            return;
        }
        TekClass* node = nodes[Pick(nodes.size())];
        switch (Pick(12)) {
        case 0:
        case 1:
        case 2:
            CommitSomething(node);
            break;
        case 3:
            m_document.InsertNew(node, kTypes[Pick(std::size(kTypes))], static_cast<InsertPosition>(Pick(3)));
            break;
        case 4:
            m_document.Move(node, Pick(2) ? 1 : -1);
            break;
        case 5:
            m_document.Select(node);
            m_document.Select(nodes[Pick(nodes.size())], true);
            m_document.GroupOrUngroup(m_document.Selected());
            break;
        case 6:
            if (node != dialog.RootObject())
                m_document.Remove(node);
            break;
        case 7:
            if (node->Type() == NodeType::Object || node->Type() == NodeType::Group)
                m_document.Paste(nodes[Pick(nodes.size())], m_document.RecordOf(*node),
                                 static_cast<InsertPosition>(Pick(3)));
            break;
        case 8:
            if (dialogs.Count() > 1)
                m_document.Remove(&dialog);
            break;
        case 9:
            m_document.Paste(&dialog, m_document.RecordOf(dialog), InsertPosition::After);
            break;
        case 10:
            m_document.Move(&dialog, Pick(2) ? 1 : -1);
            break;
        default:
            CommitSomething(&dialog);
            break;
        }
    }

private:
    static constexpr const char* kTypes[] = {"TEXT", "BUTTON", "GRID", "LINEAR", "FRAME", "RADIO", "RADIOBTN", "METER"};
    static constexpr const char* kTexts[] = {"", "abc", "12", "PARENT", "a'b\\c", "Name_2"};

    size_t Pick(size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(m_random); }

    static void Collect(CObjectData* node, std::vector<TekClass*>& nodes)
    {
        if (!node)
            return;
        nodes.push_back(node);
        for (const TekPtr& header : node->HeaderColumns())
            nodes.push_back(header.get());
        for (const TekPtr& command : node->CommandList())
            nodes.push_back(command.get());
        if (node->IsGroup())
            for (const ObjectPtr& child : static_cast<CObjectDataList*>(node)->Children())
                Collect(child.get(), nodes);
    }

    void CommitSomething(TekClass* node)
    {
        const int count = node->Items().Count();
        if (count == 0)
            return;
        const int row = static_cast<int>(Pick(static_cast<size_t>(count)));
        const auto& item = node->Items().At(row);
        std::string value;
        if (item.Choices() && !item.Choices()->empty() && Pick(4) != 0)
            value = (*item.Choices())[Pick(item.Choices()->size())];
        else
            value = kTexts[Pick(std::size(kTexts))];
        m_document.SetItemValue(*node, row, value);
    }

    ProjectDocument& m_document;
    std::mt19937 m_random;
};

TEST_F(ProjectDocumentTest, ARandomSessionUndoesToTheStartAndRedoesToTheEnd)
{
    for (unsigned seed : {20261208u, 7u, 1234567u}) {
        SCOPED_TRACE(seed);
        ProjectDocument session;
        ASSERT_EQ(LoadResourceFile(session.Resource(), DemoProjectPath()).status, LoadStatus::Ok);
        session.ProjectLoaded();
        auto bytes = [&session] {
            CJsonString text;
            WriteResource(session.Resource(), text, {});
            return text.Text();
        };
        const std::string start = bytes();
        RandomSession edits(session, seed);
        for (int i = 0; i < 200; ++i)
            edits.Step();
        const std::string end = bytes();
        ASSERT_NE(end, start);
        int undone = 0;
        while (session.CanUndo() && undone < 1000) {
            ASSERT_TRUE(session.Undo().done);
            ++undone;
        }
        EXPECT_EQ(bytes(), start) << "after " << undone << " undos";
        EXPECT_GT(undone, 100) << "most steps of the session edit something";
        while (session.CanRedo())
            ASSERT_TRUE(session.Redo().done);
        EXPECT_EQ(bytes(), end);
    }
}

} // namespace
} // namespace vesk
