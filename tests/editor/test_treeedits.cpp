// The tree edits of the resource panel: move, delete, group and ungroup, insert, and copy, cut
// and paste through the system clipboard, with every refusal.
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QPushButton>
#include <QMimeData>

#include "editor/clipboardtext.h"
#include "editorfixture.h"
#include "objects/dialogbuilder.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"

namespace vesk {
namespace {

using test::ChildNames;
using test::EditorTest;
using test::ProcessEvents;
using Names = std::vector<std::string>;

Names TreeLabels(const CResourceTreeModel& model, const TekClass* node)
{
    Names labels;
    for (TreeItemId child : model.ChildrenOf(model.ItemOf(node)))
        labels.push_back(model.LabelOf(child));
    return labels;
}

class TreeEditTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        OpenDemo();
        QGuiApplication::clipboard()->clear();
    }
    std::string SavedDialog(int index) const
    {
        CJsonString text;
        WriteDialog(DialogAt(index), text, 0);
        return text.Text();
    }
    /// The refusals shown since the last call, with their icons.
    std::vector<std::pair<QString, MessageIcon>> Refusals()
    {
        std::vector<std::pair<QString, MessageIcon>> shown;
        for (const test::ShownMessage& message : prompts.messages)
            shown.emplace_back(message.text, message.icon);
        prompts.messages.clear();
        return shown;
    }
};

TEST_F(TreeEditTest, MovesSwapWithTheNeighbourAndStopAtTheEnds)
{
    CObjectData* root = DialogAt(0).RootObject();
    const Names before = ChildNames(root);
    ClickNode(Node(0, "clock"));
    Panel().MoveNode(-1);
    Names expected = before;
    std::swap(expected[0], expected[1]);
    EXPECT_EQ(ChildNames(root), expected);
    EXPECT_EQ(SelectedNode(), Node(0, "clock")) << "the moved item stays selected";
    EXPECT_EQ(TreeLabels(Model(), root).front(), Model().LabelOf(Model().ItemOf(Node(0, "clock"))));
    Panel().MoveNode(-1);
    EXPECT_EQ(ChildNames(root), expected) << "the first child does not move up";

    ClickNode(Node(0, "btnExit"));
    Panel().MoveNode(+1);
    EXPECT_EQ(ChildNames(root), expected) << "the last child does not move down";

    ClickNode(&DialogAt(0));
    Panel().MoveNode(+1);
    EXPECT_EQ(DialogAt(1).GetItem("Name"), "Main");
    EXPECT_EQ(Model().LabelOf(Model().ChildrenOf(Model().ChildrenOf(0).front())[1]), "Dialog:Main");
    EXPECT_TRUE(frame->isWindowModified());
}

TEST_F(TreeEditTest, DeleteCopiesFirstThenRemovesAndSelectsTheParent)
{
    CObjectData* row1 = Node(0, "row1");
    ClickNode(Node(0, "btnOrder"));
    Panel().DeleteNode();
    EXPECT_EQ(ChildNames(row1), Names{"btnStock"});
    EXPECT_EQ(SelectedNode(), row1);
    EXPECT_EQ(Panel().Grid().Node(), row1);
    const std::string copied = RecordFromClipboard();
    EXPECT_NE(copied.find("'Name':'btnOrder'"), std::string::npos) << copied;

    // A dialog's root group leaves the dialog without one.
    ClickNode(DialogAt(0).RootObject());
    Panel().DeleteNode();
    EXPECT_EQ(DialogAt(0).RootObject(), nullptr);
    EXPECT_EQ(SelectedNode(), &DialogAt(0));
}

TEST_F(TreeEditTest, DeletingADialogSelectsTheNextAndPastingItBackTwiceNumbersTheName)
{
    ClickNode(&DialogAt(0));
    ASSERT_NE(frame->WindowOf(DialogAt(0)), nullptr);
    const std::string mainRecord = SavedDialog(0);
    Panel().DeleteNode();
    ProcessEvents();
    ASSERT_EQ(Resource().Dialogs().Count(), 2);
    EXPECT_EQ(Panel().CurrentDialog(), &DialogAt(0));
    EXPECT_EQ(frame->DialogArea().subWindowList().size(), 1) << "the deleted dialog's window closed, the next opened";

    ClickNode(&DialogAt(1));
    ASSERT_TRUE(Panel().PasteNode(InsertPosition::After));
    ASSERT_TRUE(Panel().PasteNode(InsertPosition::After));
    ASSERT_EQ(Resource().Dialogs().Count(), 4);
    EXPECT_EQ(DialogAt(2).GetItem("Name"), "Main");
    EXPECT_EQ(DialogAt(3).GetItem("Name"), "Main2");
    EXPECT_EQ(SavedDialog(2), mainRecord) << "the pasted dialog is the deleted one, byte for byte";
}

TEST_F(TreeEditTest, GroupingMovesEveryMarkIntoANewLinearGroupBeforeTheSelectedNode)
{
    ClickNode(Node(0, "title"));
    ClickNode(Node(0, "btnStock"), Qt::ControlModifier);
    Panel().GroupOrUngroup();
    CObjectData* root = DialogAt(0).RootObject();
    EXPECT_EQ(ChildNames(root), (Names{"clock", "menu", "status", "btnExit"}));
    CObjectData* row1 = Node(0, "row1");
    ASSERT_EQ(ChildNames(row1), (Names{"btnOrder", "GROUP"})) << "the new group stands before the selected node";
    CObjectData* group = static_cast<CObjectDataList*>(row1)->ChildPtrAt(1).get();
    EXPECT_EQ(group->GetItem("Layout"), "LINEAR");
    EXPECT_EQ(ChildNames(group), (Names{"title", "btnStock"}));
    EXPECT_EQ(SelectedNode(), group);
    EXPECT_EQ(Panel().Grid().Node(), group);
    EXPECT_EQ(group->GetMark(), 1);

    // The group holding every mark is ungrouped; its children take its place.
    ClickNode(group);
    EXPECT_EQ(Panel().GroupButton().text(), QStringLiteral("Grp.解除"));
    Panel().GroupOrUngroup();
    EXPECT_EQ(ChildNames(row1), (Names{"btnOrder", "title", "btnStock"}));
    EXPECT_EQ(SelectedNode(), Node(0, "title"));
}

TEST_F(TreeEditTest, TheRootGroupCannotBeUngrouped)
{
    ClickNode(DialogAt(0).RootObject());
    Panel().GroupOrUngroup();
    const auto shown = Refusals();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, QStringLiteral("エラー: デフォルトグループはグループ解除できません."));
    EXPECT_EQ(shown[0].second, MessageIcon::Error);
    EXPECT_EQ(ChildNames(DialogAt(0).RootObject()).size(), 5u);
}

TEST_F(TreeEditTest, InsertPlacesTheNewNodeAsThePositionSays)
{
    CObjectData* menu = Node(0, "menu");
    ClickNode(menu);
    ASSERT_TRUE(Panel().InsertNew("text", InsertPosition::After));
    CObjectData* root = DialogAt(0).RootObject();
    EXPECT_EQ(ChildNames(root), (Names{"title", "clock", "menu", "TEXT", "status", "btnExit"}))
        << "after a group: behind it in its parent";
    TekClass* inserted = SelectedNode();
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(inserted->GetItem("Type"), "TEXT");
    EXPECT_EQ(static_cast<CObjectData*>(inserted)->GetMark(), 1);

    ClickNode(menu);
    ASSERT_TRUE(Panel().InsertNew("FRAME", InsertPosition::FirstChild));
    EXPECT_EQ(ChildNames(menu).front(), "GROUP");
    ClickNode(menu);
    ASSERT_TRUE(Panel().InsertNew("Grid", InsertPosition::LastChild));
    auto* grid = static_cast<CObjectDataList*>(menu)->Children().back().get();
    EXPECT_EQ(grid->GetItem("Type"), "GRID");
    EXPECT_EQ(grid->HeaderColumns().size(), 1u);
    EXPECT_EQ(grid->GetItem("Columns"), "1");
    EXPECT_EQ(TreeLabels(Model(), grid), Names{"Header:Cullum1"});
    EXPECT_TRUE(Tree().isExpanded(Model().IndexOf(Model().ItemOf(menu))));

    // An object selected: right after it, whatever the position.
    ClickNode(Node(0, "clock"));
    ASSERT_TRUE(Panel().InsertNew("BUTTON", InsertPosition::LastChild));
    EXPECT_EQ(ChildNames(root)[2], "BUTTON");
}

TEST_F(TreeEditTest, InsertRefusalsLeaveTheModelAsItWas)
{
    const std::string before = SavedDialog(0);
    ClickNode(Node(0, "title"));
    EXPECT_FALSE(Panel().InsertNew("RADIOBTN", InsertPosition::After));
    ClickNode(Node(0, "btnExit")->CommandList()[0].get());
    EXPECT_FALSE(Panel().InsertNew("TEXT", InsertPosition::After));
    const auto shown = Refusals();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].first, QStringLiteral("ラジオボタンはラジオグループに追加して下さい。"));
    EXPECT_EQ(
        shown[1].first,
        QStringLiteral("登録する場所を決定するために、ツリーのダイアログ、\nまたはオブジェクトを選択して下さい。"));
    EXPECT_EQ(shown[1].second, MessageIcon::Warning);
    EXPECT_EQ(SavedDialog(0), before);

    // Into a RADIO group a radio button is welcome.
    ClickNode(Node(0, "menu"));
    ASSERT_TRUE(Panel().InsertNew("RADIO", InsertPosition::FirstChild));
    ASSERT_TRUE(Panel().InsertNew("RADIOBTN", InsertPosition::FirstChild));
    EXPECT_EQ(SelectedNode()->GetItem("Type"), "RADIOBTN");
}

TEST_F(TreeEditTest, ADialogWithoutRootTakesOnlyAGroup)
{
    ClickNode(DialogAt(0).RootObject());
    Panel().DeleteNode();
    ClickNode(&DialogAt(0));
    EXPECT_FALSE(Panel().InsertNew("TEXT", InsertPosition::After));
    EXPECT_EQ(prompts.TakeOnlyMessage(), QStringLiteral("GROUPオブジェクトを登録して下さい。"));
    ASSERT_TRUE(Panel().InsertNew("LINEAR", InsertPosition::After));
    ASSERT_NE(DialogAt(0).RootGroup(), nullptr);
    EXPECT_EQ(DialogAt(0).RootGroup()->GetItem("Layout"), "LINEAR");
    EXPECT_EQ(DialogAt(0).RootGroup()->ChildCount(), 0);

    // Pasting an object into a dialog without a root is refused; a group gets a new root.
    ClickNode(DialogAt(0).RootObject());
    Panel().DeleteNode();
    ASSERT_EQ(SelectedNode(), &DialogAt(0));
    PutRecordOnClipboard("{'Name':'t','Type':'TEXT'}");
    EXPECT_FALSE(Panel().PasteNode(InsertPosition::After));
    EXPECT_EQ(prompts.TakeOnlyMessage(), QStringLiteral("GROUPオブジェクトを登録して下さい。"));
    PutRecordOnClipboard("{'Name':'g','Type':'GROUP','Layout':'FRAME','Objects':[{'Name':'t','Type':'TEXT'}]}");
    ASSERT_TRUE(Panel().PasteNode(InsertPosition::After));
    ASSERT_NE(DialogAt(0).RootGroup(), nullptr);
    EXPECT_EQ(ChildNames(DialogAt(0).RootGroup()), Names{"g"});
    EXPECT_EQ(SelectedNode()->GetItem("Name"), "g");
}

TEST_F(TreeEditTest, CopyAndPasteAnObjectThroughTheClipboard)
{
    ClickNode(Node(0, "title"));
    ASSERT_TRUE(Panel().CopyNode());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QString::fromLatin1(kRecordMimeType)));
    EXPECT_TRUE(data->text().contains(QStringLiteral("メインメニュー"))) << "other programs read UTF-8";
    // Into another dialog, where the name is free (in its own dialog a copy is renumbered).
    ClickNode(DialogAt(1).RootObject());
    ASSERT_TRUE(Panel().PasteNode(InsertPosition::LastChild));
    CObjectData* root = DialogAt(1).RootObject();
    EXPECT_EQ(ChildNames(root).back(), "title");
    CJsonString original, pasted;
    Node(0, "title")->WriteRecord(original, 0);
    static_cast<CObjectDataList*>(root)->Children().back()->WriteRecord(pasted, 0);
    EXPECT_EQ(pasted.Text(), original.Text());
}

TEST_F(TreeEditTest, PlainTextFromAnotherProgramPastesAsAFileReads)
{
    const QString record = QStringLiteral("{'Name':'日本語','Type':'TEXT','Text':'表示テキスト'}");
    QGuiApplication::clipboard()->setText(record);
    ClickNode(Node(0, "clock"));
    ASSERT_TRUE(Panel().PasteNode(InsertPosition::After));
    CObjectData* pasted = Node(0, test::Sjis("日本語"));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->GetItem("Text"), test::Sjis("表示テキスト"));

    QGuiApplication::clipboard()->setText(QStringLiteral("{'Name':"));
    EXPECT_FALSE(Panel().PasteNode(InsertPosition::After));
    EXPECT_FALSE(prompts.TakeOnlyMessage().isEmpty()) << "the parser's report is shown";
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(Panel().PasteNode(InsertPosition::After));
    EXPECT_TRUE(prompts.messages.empty()) << "an empty clipboard pastes nothing, silently";
}

TEST_F(TreeEditTest, TheEditMenuCutsAndPastesInTheActiveWindow)
{
    ClickNode(Node(0, "clock"));
    ASSERT_EQ(frame->ActiveDialog(), &DialogAt(0));
    frame->CutActive();
    EXPECT_EQ(Node(0, "clock"), nullptr);
    ClickNode(Node(0, "btnExit"));
    frame->PasteActive();
    EXPECT_EQ(ChildNames(DialogAt(0).RootObject()).back(), "clock");
    frame->UndoActive();
    frame->UndoActive();
    EXPECT_EQ(ChildNames(DialogAt(0).RootObject())[1], "clock") << "cut and paste are undone";
}

TEST_F(TreeEditTest, CopyWithoutSelectionIsRefused)
{
    Tree().selectionModel()->clear();
    EXPECT_FALSE(Panel().CopyNode());
    const auto shown = Refusals();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, QStringLiteral("ツリーからコピーするオブジェクトを選択して下さい。"));
    EXPECT_EQ(shown[0].second, MessageIcon::Warning);
}

TEST(RecordText, ShiftJisStringsBecomeUtf8AndDisplayTextsStay)
{
    // 0x955C (表) carries a backslash as its second byte; the writer escapes it.
    const std::string record = "{'Name':'" + test::Sjis("ﾃｽﾄ") +
                               "','Path':'\x95\\\\','Text':'表示',"
                               "'Value':12,'Esc':'a\\u0027b'}";
    EXPECT_EQ(RecordTextToUtf8(record), "{'Name':'ﾃｽﾄ','Path':'表','Text':'表示','Value':12,'Esc':'a\\u0027b'}");
}

} // namespace
} // namespace vesk

namespace vesk {
namespace {

/// What the views show once a node leaves the tree or its parent is left empty.
class ViewsFollowTheTreeTest : public TreeEditTest {};

TEST_F(ViewsFollowTheTreeTest, AfterAnUndoTheGridShowsTheSelectedNodeNeverTheRemovedOne)
{
    ClickNode(Node(0, "clock"));
    ASSERT_TRUE(Panel().InsertNew("TEXT", InsertPosition::After));
    // Held here: the history lets go of the node when a new edit drops the step that redoes it.
    const std::shared_ptr<TekClass> inserted = Panel().Grid().Node()->shared_from_this();
    ASSERT_EQ(inserted->GetItem("Type"), "TEXT");
    // Kept to be looked at: the commit below drops the redo step that holds it.
    const TekPtr keep = inserted->shared_from_this();
    frame->UndoActive();
    ProcessEvents();
    EXPECT_NE(Panel().Grid().Node(), inserted.get());
    EXPECT_EQ(Panel().Grid().Node(), SelectedNode()) << "the grid shows what the tree selects";
    const int row = RowOf(*Panel().Grid().Node(), "Name");
    const std::string before = Panel().Grid().Node()->GetItem("Name");
    Panel().Grid().Commit(row, QStringLiteral("ghost"));
    frame->RedoActive();
    EXPECT_NE(inserted->GetItem("Name"), "ghost") << "no edit reached the removed node";
}

TEST_F(ViewsFollowTheTreeTest, DeletingAnOnlyChildSelectsTheParentWithTheFullRules)
{
    ClickNode(Node(0, "clock"));
    ASSERT_TRUE(Panel().InsertNew("LINEAR", InsertPosition::After));
    CObjectData* group = static_cast<CObjectData*>(Panel().Grid().Node());
    ASSERT_TRUE(Panel().InsertNew("BUTTON", InsertPosition::LastChild));
    ASSERT_EQ(static_cast<CObjectDataList*>(group)->ChildCount(), 1);
    Panel().DeleteNode();
    ProcessEvents();
    EXPECT_EQ(SelectedNode(), group);
    EXPECT_EQ(CurrentItemNode(), group);
    EXPECT_EQ(Panel().Grid().Node(), group) << "the grid shows the parent";
    EXPECT_TRUE(group->GetMark()) << "the parent is marked as a choice of it marks it";
    EXPECT_EQ(Panel().GroupButton().text(), QStringLiteral("Grp.解除"));
    EXPECT_TRUE(Panel().GroupButton().isEnabled());

    // A dialog's root group, the only node below its dialog.
    ClickNode(DialogAt(2).RootObject());
    Panel().DeleteNode();
    ProcessEvents();
    EXPECT_EQ(SelectedNode(), &DialogAt(2));
    EXPECT_EQ(Panel().Grid().Node(), &DialogAt(2));
    EXPECT_FALSE(Panel().GroupButton().isEnabled());
}

TEST_F(ViewsFollowTheTreeTest, ADeletedDialogComesBackWithUndoAndIsSelected)
{
    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("A")));
    ClickNode(&DialogAt(1));
    TekClass* order = &DialogAt(1);
    Panel().DeleteNode();
    ProcessEvents();
    EXPECT_EQ(Resource().Dialogs().Count(), 2);
    EXPECT_EQ(frame->WindowOf(*static_cast<CTekDialogData*>(order)), nullptr) << "its window closed";
    frame->UndoActive();
    ProcessEvents();
    ASSERT_EQ(Resource().Dialogs().Count(), 3);
    EXPECT_EQ(&DialogAt(1), order);
    EXPECT_EQ(SelectedNode(), order);
    EXPECT_EQ(Node(0, "title")->GetItem("Text"), "A") << "the edit in another dialog stays";
}

} // namespace
} // namespace vesk
