// The document's edits by hand: new objects dropped on a node, nodes dragged to another place or
// copied there, several marked objects edited, removed and copied at once. Each is one undo step
// that takes the project back to its starting bytes; a refused one changes nothing.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/projectdocument.h"
#include "objects/dialogbuilder.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "objects/objectdata.h"
#include "objects/treeshape.h"

namespace vesk {
namespace {

using test::FindNamed;
using test::ChildNames;
using Names = std::vector<std::string>;

Names DialogNames(const CTekResourceData& resource)
{
    Names names;
    for (int i = 0; i < resource.Dialogs().Count(); ++i)
        names.push_back(resource.Dialogs().At(i).GetItem("Name"));
    return names;
}

class DropEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(LoadResourceFile(document.Resource(), VESK_SOURCE_DIR "/examples/demo.veskspro").status,
                  LoadStatus::Ok);
        document.ProjectLoaded();
    }

public:
    CTekDialogData& DialogAt(int index) { return document.Resource().Dialogs().At(index); }
    CObjectData* Node(const std::string& name)
    {
        for (int i = 0; i < document.Resource().Dialogs().Count(); ++i)
            if (CObjectData* found = FindNamed(DialogAt(i).RootObject(), name))
                return found;
        return nullptr;
    }
    Names Children(const std::string& group) { return ChildNames(Node(group)); }
    std::string Project()
    {
        CJsonString text;
        WriteResource(document.Resource(), text, {});
        return text.Text();
    }
    /// Undoes once and answers whether the project is back at the bytes given.
    bool OneUndoGivesBack(const std::string& bytes)
    {
        document.Undo();
        return Project() == bytes && !document.CanUndo();
    }

    ProjectDocument document;
};

// --- New objects dropped ----------------------------------------------------------------------------

TEST_F(DropEditTest, ADroppedTypeGoesLastIntoAGroupAndAfterAnObject)
{
    struct Case {
        const char* on;
        const char* type;
        const char* group;
        Names children;
    };
    const Case cases[] = {
        {"row2", "BUTTON", "row2", {"chkSound", "tglLight", "BUTTON"}},
        {"title", "EDIT", "root", {"title", "EDIT", "clock", "menu", "status", "btnExit"}},
        {"payment", "RADIOBTN", "payment", {"rdoCash", "rdoCard", "RADIOBTN"}},
        {"rdoCash", "RADIOBTN", "payment", {"rdoCash", "RADIOBTN", "rdoCard"}},
        {"root", "FRAME", "root", {"title", "clock", "menu", "status", "btnExit", "GROUP"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.on + std::string(" ") + c.type);
        const std::string before = Project();
        ASSERT_FALSE(document.CheckDropNew(Node(c.on), c.type).has_value());
        const EditResult result = document.DropNew(Node(c.on), c.type);
        ASSERT_TRUE(result.done);
        EXPECT_EQ(Children(c.group), c.children);
        EXPECT_EQ(document.Selected(), result.select) << "the new node is selected";
        EXPECT_TRUE(OneUndoGivesBack(before)) << "one drop is one step";
    }
}

TEST_F(DropEditTest, AnObjectDroppedInAFrameGroupTakesThePointAsItsPosition)
{
    const std::string before = Project();
    const EditResult result = document.DropNew(Node("status"), "BUTTON", FramePoint{12, 34});
    ASSERT_TRUE(result.done);
    const TekClass& added = *result.select;
    EXPECT_EQ(added.GetItem("PosX"), "12");
    EXPECT_EQ(added.GetItem("PosY"), "34");
    EXPECT_TRUE(OneUndoGivesBack(before)) << "the position is part of the insertion's step";

    // Outside a FRAME group the point means nothing.
    const EditResult linear = document.DropNew(Node("title"), "BUTTON", FramePoint{12, 34});
    ASSERT_TRUE(linear.done);
    EXPECT_EQ(linear.select->GetItem("PosX"), "");
}

TEST_F(DropEditTest, RefusedDropsAnswerTheInsertRefusalsAndChangeNothing)
{
    struct Case {
        const char* what;
        std::function<const TekClass*(DropEditTest&)> on;
        const char* type;
        const char* text;
    };
    const Case cases[] = {
        {"radio button beside a text", [](auto& t) { return t.Node("title"); }, "RADIOBTN",
         "ラジオボタンはラジオグループに追加して下さい。"},
        {"radio button into a linear group", [](auto& t) { return t.Node("root"); }, "RADIOBTN",
         "ラジオボタンはラジオグループに追加して下さい。"},
        {"on a dialog, outside its root group", [](auto& t) { return &t.DialogAt(0); }, "TEXT",
         "登録する場所を決定するために、ツリーのダイアログ、\nまたはオブジェクトを選択して下さい。"},
        {"on the resource", [](auto& t) { return &t.document.Resource(); }, "TEXT",
         "登録する場所を決定するために、ツリーのダイアログ、\nまたはオブジェクトを選択して下さい。"},
        {"nowhere", [](auto&) { return nullptr; }, "TEXT",
         "登録する場所を決定するために、ツリーのダイアログ、\nまたはオブジェクトを選択して下さい。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = Project();
        const auto refusal = document.CheckDropNew(c.on(*this), c.type);
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->text, c.text);
        const EditResult result = document.DropNew(const_cast<TekClass*>(c.on(*this)), c.type);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(Project(), before);
        EXPECT_FALSE(document.CanUndo());
    }
}

// --- Nodes dragged ----------------------------------------------------------------------------------

TEST_F(DropEditTest, DraggedNodesGoBeforeAfterOrIntoTheirTargetInOneStep)
{
    struct Case {
        const char* node;
        const char* on;
        DropPlace place;
        const char* group;
        Names children;
    };
    const Case cases[] = {
        {"title", "btnExit", DropPlace::After, "root", {"clock", "menu", "status", "btnExit", "title"}},
        {"btnExit", "title", DropPlace::Before, "root", {"btnExit", "title", "clock", "menu", "status"}},
        {"btnStock", "chkSound", DropPlace::Before, "row2", {"btnStock", "chkSound", "tglLight"}},
        {"clock", "row1", DropPlace::Into, "row1", {"btnOrder", "btnStock", "clock"}},
        {"row2", "title", DropPlace::After, "root", {"title", "row2", "clock", "menu", "status", "btnExit"}},
        {"gauge", "root", DropPlace::Into, "root", {"title", "clock", "menu", "status", "btnExit", "gauge"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.node + std::string(" to ") + c.on);
        const std::string before = Project();
        CObjectData* node = Node(c.node);
        ASSERT_FALSE(document.CheckMoveTo(node, Node(c.on), c.place, false).has_value());
        const EditResult result = document.MoveTo(node, Node(c.on), c.place, false);
        ASSERT_TRUE(result.done);
        EXPECT_EQ(result.select, node) << "the node itself moves";
        EXPECT_EQ(Children(c.group), c.children);
        EXPECT_EQ(document.Selected(), node) << "the moved node stays selected";
        EXPECT_EQ(node->GetMark(), 1);
        EXPECT_TRUE(OneUndoGivesBack(before));
    }
}

TEST_F(DropEditTest, AnObjectMovedIntoOrOutOfAFrameGroupGainsOrLosesItsPosition)
{
    const std::string before = Project();
    CObjectData* order = Node("btnOrder");
    ASSERT_TRUE(document.MoveTo(order, Node("status"), DropPlace::Into, false, FramePoint{5, 7}).done);
    EXPECT_EQ(order->GetItem("PosX"), "5");
    EXPECT_EQ(order->GetItem("PosY"), "7");
    ASSERT_TRUE(document.MoveTo(order, Node("title"), DropPlace::After, false).done);
    bool hasPosition = false;
    for (int i = 0; i < order->Items().Count(); ++i)
        hasPosition = hasPosition || order->Items().At(i).Name() == "PosX";
    EXPECT_FALSE(hasPosition) << "PosX belongs to children of FRAME groups only";
    document.Undo();
    document.Undo();
    EXPECT_EQ(Project(), before);
}

TEST_F(DropEditTest, CtrlCopiesAsPasteWouldWithNamesMadeUnique)
{
    const std::string before = Project();
    const EditResult result = document.MoveTo(Node("row1"), Node("row2"), DropPlace::After, true);
    ASSERT_TRUE(result.done);
    EXPECT_EQ(Children("menu"), (Names{"row1", "row2", "row12"}));
    const auto* copy = static_cast<CObjectData*>(result.select);
    EXPECT_EQ(ChildNames(copy), (Names{"btnOrder2", "btnStock2"}));
    EXPECT_EQ(Children("row1"), (Names{"btnOrder", "btnStock"})) << "the original stays";
    EXPECT_EQ(document.Selected(), copy);
    EXPECT_TRUE(OneUndoGivesBack(before));

    // A copy may go to another dialog, where its names are already unique.
    ASSERT_TRUE(document.MoveTo(Node("title"), Node("lblItem"), DropPlace::After, true).done);
    EXPECT_EQ(ChildNames(DialogAt(1).RootObject()).at(1), "title");
}

TEST_F(DropEditTest, DialogsHeadersAndCommandsMoveAmongTheirOwnKind)
{
    const std::string before = Project();
    const Names start = DialogNames(document.Resource());
    ASSERT_GE(start.size(), 2u);
    CTekDialogData* first = &DialogAt(0);
    ASSERT_TRUE(document.MoveTo(first, &DialogAt(static_cast<int>(start.size()) - 1), DropPlace::After, false).done);
    Names expected(start.begin() + 1, start.end());
    expected.push_back(start.front());
    EXPECT_EQ(DialogNames(document.Resource()), expected);
    EXPECT_EQ(document.Selected(), first);
    EXPECT_TRUE(OneUndoGivesBack(before));

    ASSERT_TRUE(document.MoveTo(first, first, DropPlace::After, true).done);
    EXPECT_EQ(DialogNames(document.Resource()).at(1), "Main2") << "a copied dialog gets a name of its own";
    EXPECT_TRUE(OneUndoGivesBack(before));

    // The demo's GRID has header columns: the first goes last, and a copy adds a column.
    CObjectData* grid = Node("grdItems");
    ASSERT_NE(grid, nullptr);
    ASSERT_GE(grid->HeaderColumns().size(), 2u);
    TekClass* header = grid->HeaderColumns().front().get();
    ASSERT_TRUE(document.MoveTo(header, grid->HeaderColumns().back().get(), DropPlace::After, false).done);
    EXPECT_EQ(grid->HeaderColumns().back().get(), header);
    EXPECT_TRUE(OneUndoGivesBack(before));
    const size_t columns = grid->HeaderColumns().size();
    ASSERT_TRUE(
        document
            .MoveTo(grid->HeaderColumns().front().get(), grid->HeaderColumns().front().get(), DropPlace::Before, true)
            .done);
    EXPECT_EQ(grid->HeaderColumns().size(), columns + 1);
    EXPECT_EQ(grid->GetItem("Columns"), std::to_string(columns + 1));
    EXPECT_TRUE(OneUndoGivesBack(before));
}

TEST_F(DropEditTest, RefusedMovesAnswerWhyAndChangeNothing)
{
    struct Case {
        const char* what;
        std::function<TekClass*(DropEditTest&)> node;
        std::function<TekClass*(DropEditTest&)> on;
        DropPlace place;
        bool copy;
        const char* text;
    };
    const Case cases[] = {
        {"a group into itself", [](auto& t) { return t.Node("menu"); }, [](auto& t) { return t.Node("menu"); },
         DropPlace::Into, false, "グループをそれ自身の中へ移動することはできません。"},
        {"a group into its own child", [](auto& t) { return t.Node("menu"); }, [](auto& t) { return t.Node("row2"); },
         DropPlace::Into, false, "グループをそれ自身の中へ移動することはできません。"},
        {"a copy into its own subtree", [](auto& t) { return t.Node("menu"); },
         [](auto& t) { return t.Node("btnOrder"); }, DropPlace::After, true,
         "グループをそれ自身の中へ移動することはできません。"},
        {"a radio button out of its radio group", [](auto& t) { return t.Node("rdoCash"); },
         [](auto& t) { return t.Node("lblItem"); }, DropPlace::After, false,
         "ラジオボタンはラジオグループに追加して下さい。"},
        {"an object to another dialog", [](auto& t) { return t.Node("title"); },
         [](auto& t) { return t.Node("lblItem"); }, DropPlace::After, false,
         "オブジェクトは同じダイアログの中で移動して下さい。"},
        {"the root group", [](auto& t) { return t.DialogAt(0).RootObject(); }, [](auto& t) { return t.Node("menu"); },
         DropPlace::After, false, "エラー: デフォルトグループは移動できません."},
        {"an object onto a dialog", [](auto& t) { return t.Node("title"); }, [](auto& t) { return &t.DialogAt(1); },
         DropPlace::Into, false,
         "登録する場所を決定するために、ツリーのダイアログ、\nまたはオブジェクトを選択して下さい。"},
        {"an object into an object", [](auto& t) { return t.Node("title"); }, [](auto& t) { return t.Node("btnExit"); },
         DropPlace::Into, false,
         "登録する場所を決定するために、ツリーのダイアログ、\nまたはオブジェクトを選択して下さい。"},
        {"a dialog into another", [](auto& t) { return &t.DialogAt(0); }, [](auto& t) { return &t.DialogAt(1); },
         DropPlace::Into, false, "ダイアログはダイアログの前後へ移動して下さい。"},
        {"a header column to another owner", [](auto& t) { return t.Node("grdItems")->HeaderColumns().front().get(); },
         [](auto& t) { return t.Node("title"); }, DropPlace::After, false,
         "ヘッダ項目とコマンドは同じオブジェクトの中で移動して下さい。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = Project();
        const auto refusal = document.CheckMoveTo(c.node(*this), c.on(*this), c.place, c.copy);
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->text, c.text);
        EXPECT_FALSE(document.MoveTo(c.node(*this), c.on(*this), c.place, c.copy).done);
        EXPECT_EQ(Project(), before);
        EXPECT_FALSE(document.CanUndo());
    }
    // Dropped where it stands, a node changes nothing and records no step.
    EXPECT_FALSE(document.MoveTo(Node("clock"), Node("title"), DropPlace::After, false).done);
    EXPECT_FALSE(document.MoveTo(Node("clock"), Node("clock"), DropPlace::Before, false).done);
    EXPECT_FALSE(document.CanUndo());
}

TEST_F(DropEditTest, AMoveTellsTheViewsTheRowsLeftAndCameInOrder)
{
    std::vector<std::string> log;
    auto rows = [&log](const char* what) {
        return [&log, what](TekClass* parent, int first, int) {
            log.push_back(std::string(what) + " " + parent->GetItem("Name") + " " + std::to_string(first));
        };
    };
    QObject::connect(&document, &ProjectDocument::nodesAboutToBeRemoved, rows("aboutToRemove"));
    QObject::connect(&document, &ProjectDocument::nodesRemoved, rows("removed"));
    QObject::connect(&document, &ProjectDocument::nodesAboutToBeInserted, rows("aboutToInsert"));
    QObject::connect(&document, &ProjectDocument::nodesInserted, rows("inserted"));
    QObject::connect(&document, &ProjectDocument::dialogChanged,
                     [&log](CTekDialogData* dialog) { log.push_back("dialog " + dialog->GetItem("Name")); });
    QObject::connect(&document, &ProjectDocument::selectionChanged,
                     [&] { log.push_back("selection " + document.Selected()->GetItem("Name")); });
    ASSERT_TRUE(document.MoveTo(Node("btnStock"), Node("row2"), DropPlace::Into, false).done);
    EXPECT_EQ(log, (std::vector<std::string>{"aboutToRemove row1 1", "removed row1 1", "aboutToInsert row2 2",
                                             "inserted row2 2", "dialog Main", "selection btnStock"}));
}

// --- Several objects ---------------------------------------------------------------------------------

TEST_F(DropEditTest, ACommitOnSeveralObjectsIsOneStepWithEachOnesSideEffects)
{
    const std::string before = Project();
    std::vector<TekClass*> buttons = {Node("btnOrder"), Node("btnStock"), Node("btnExit")};
    EditResult result = document.SetItemValues(buttons, "Width", "48");
    ASSERT_TRUE(result.done);
    for (TekClass* button : buttons)
        EXPECT_EQ(button->GetItem("Width"), "48");
    result = document.SetItemValues(buttons, "Type", "TOGGLE");
    ASSERT_TRUE(result.done);
    for (TekClass* button : buttons) {
        EXPECT_EQ(button->GetItem("Type"), "TOGGLE");
        EXPECT_EQ(button->GetItem("Width"), "48") << "a shared item keeps its value";
        bool hasTextOn = false;
        for (int i = 0; i < button->Items().Count(); ++i)
            hasTextOn = hasTextOn || button->Items().At(i).Name() == "TextOn";
        EXPECT_TRUE(hasTextOn) << "each object's items were rebuilt for its new type";
    }
    document.Undo();
    document.Undo();
    EXPECT_EQ(Project(), before);

    // One refusal refuses them all.
    const EditResult refused = document.SetItemValues(buttons, "Type", "RADIOBTN");
    ASSERT_TRUE(refused.refusal.has_value());
    EXPECT_EQ(refused.refusal->text, "ラジオボタンはラジオグループに追加して下さい。");
    EXPECT_EQ(Project(), before);
}

TEST_F(DropEditTest, SeveralObjectsAreRemovedInOneStepAndTheirRecordPastesThemBack)
{
    const std::string before = Project();
    std::vector<TekClass*> nodes = {Node("title"), Node("row1"), Node("btnOrder"), Node("btnExit")};
    std::string record;
    ASSERT_TRUE(document.RemoveNodes(nodes, &record).done);
    EXPECT_EQ(Children("root"), (Names{"clock", "menu", "status"}));
    EXPECT_EQ(Children("menu"), (Names{"row2"})) << "btnOrder went with its group";
    EXPECT_TRUE(OneUndoGivesBack(before));

    ASSERT_TRUE(document.Paste(Node("status"), record, InsertPosition::After).done);
    EXPECT_EQ(Children("root"), (Names{"title", "clock", "menu", "status", "title2", "row12", "btnExit2", "btnExit"}));
    EXPECT_EQ(ChildNames(Node("row12")), (Names{"btnOrder2", "btnStock2"}));
    EXPECT_EQ(document.MarkedObjects(&DialogAt(0)).size(), 3u) << "the pasted objects are marked";
    EXPECT_TRUE(OneUndoGivesBack(before));
}

TEST_F(DropEditTest, ShiftClickMarksARangeOfSiblingsAndTheBandMarksWhatItHolds)
{
    document.Select(Node("clock"));
    ASSERT_TRUE(document.SelectRange(Node("btnExit")).done);
    std::vector<std::string> marked;
    for (CObjectData* object : document.MarkedObjects(&DialogAt(0)))
        marked.push_back(object->GetItem("Name"));
    EXPECT_EQ(marked, (Names{"clock", "menu", "status", "btnExit"}));
    EXPECT_EQ(document.Selected(), Node("btnExit"));
    EXPECT_EQ(document.Operands().size(), 4u) << "the edit commands work on all of them";

    // A node of another group is chosen alone.
    document.SelectRange(Node("btnOrder"));
    EXPECT_EQ(document.MarkedObjects(&DialogAt(0)).size(), 1u);
    EXPECT_EQ(document.Operands(), (std::vector<TekClass*>{Node("btnOrder")}));

    document.MarkObjects(&DialogAt(0), {Node("gauge"), Node("level")});
    EXPECT_EQ(document.MarkedObjects(&DialogAt(0)), (std::vector<CObjectData*>{Node("gauge"), Node("level")}));
    EXPECT_EQ(document.Selected(), Node("gauge"));
    document.MarkObjects(&DialogAt(0), {});
    EXPECT_TRUE(document.MarkedObjects(&DialogAt(0)).empty());
    EXPECT_EQ(document.Selected(), &DialogAt(0));
}

} // namespace
} // namespace vesk
