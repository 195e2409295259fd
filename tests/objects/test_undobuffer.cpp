#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogbuilder.h"
#include "objects/undobuffer.h"

namespace vesk {
namespace {

using test::AddGroup;
using test::AddObject;
using test::MakeDialog;

std::vector<std::string> ChildNames(const CObjectDataList& group)
{
    std::vector<std::string> names;
    for (const ObjectPtr& child : group.Children())
        names.push_back(child->GetItem("Name"));
    return names;
}

using Names = std::vector<std::string>;

// A dialog with root (p, q, r), each an object; the first step is recorded.
class UndoTest : public ::testing::Test {
protected:
    UndoTest() : dialog(MakeDialog())
    {
        root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true);
        dialog->SetRoot(root);
        p = AddObject(root.get(), OBJ_BUTTON, "p");
        q = AddObject(root.get(), OBJ_BUTTON, "q");
        r = AddObject(root.get(), OBJ_BUTTON, "r");
        EXPECT_TRUE(RecordUndoStep(*dialog));
    }

    UndoBuffer& History() { return dialog->UndoHistory(); }

    std::shared_ptr<CTekDialogData> dialog;
    GroupPtr root;
    ObjectPtr p, q, r;
};

TEST(TakeSnapshot, FirstSnapshotCopiesEveryNodeGroupFirst)
{
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true);
    auto a = AddObject(root.get(), OBJ_TEXT, "a");
    auto b = AddObject(root.get(), OBJ_TEXT, "b");
    UndoBuffer buffer;
    UndoRecord record;
    root->TakeSnapshot(buffer, record);
    ASSERT_EQ(record.Count(), 6);
    const TekClass* expected[] = {root.get(), root.get(), a.get(), a.get(), b.get(), b.get()};
    for (int i = 0; i < 6; ++i) {
        const TekClassBackup& entry = record.At(i);
        EXPECT_EQ(entry.GetAction(), i % 2 ? TekClassBackup::ACT_ORIGINAL : TekClassBackup::ACT_CREATE) << i;
        EXPECT_EQ(entry.Node()->SerialNumber(), expected[i]->SerialNumber()) << i;
        if (i % 2)
            EXPECT_EQ(entry.Node(), expected[i]) << i;
        else
            EXPECT_NE(entry.Node(), expected[i]) << i;
    }
}

TEST(TakeSnapshot, CopiesShareCommandsHeadersAndChildren)
{
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true);
    auto grid = AddObject(root.get(), OBJ_GRID, "g");
    auto column = std::make_shared<TekClass>(NodeType::HeaderColumn);
    grid->HeaderColumns().push_back(column);
    auto command = std::make_shared<TekClass>(NodeType::Command);
    grid->AddCommand(command);

    TekPtr gridCopy = CopyNode(*grid);
    TekPtr rootCopy = CopyNode(*root);
    ASSERT_TRUE(gridCopy && rootCopy);
    auto& gridCopied = static_cast<CObjectData&>(*gridCopy);
    EXPECT_EQ(gridCopied.HeaderColumns().front(), column);
    EXPECT_EQ(gridCopied.CommandList().front(), command);
    EXPECT_EQ(gridCopied.ParentGroup(), root.get());
    EXPECT_EQ(gridCopied.SerialNumber(), grid->SerialNumber());
    EXPECT_TRUE(gridCopied.SameItems(*grid));
    EXPECT_EQ(static_cast<CObjectDataList&>(*rootCopy).ChildPtrAt(0), grid);

    // Only dialogs, groups and objects are copied.
    EXPECT_EQ(CopyNode(*command), nullptr);
    UndoRecord record;
    EXPECT_FALSE(record.AddCopy(TekClassBackup::ACT_CREATE, *command));
    EXPECT_TRUE(record.Empty());
    CTekResourceData resource;
    EXPECT_EQ(CopyNode(resource), nullptr);
}

TEST_F(UndoTest, FirstStepRecordsTheDialogAndItsTree)
{
    EXPECT_EQ(History().RecordCount(), 1);
    EXPECT_EQ(History().Position(), 1);
    // The dialog, the root and three objects: a copy and the live node of each.
    EXPECT_EQ(History().RecordAt(0).Count(), 10);
    EXPECT_EQ(History().FindOriginal(*dialog), dialog.get());
    EXPECT_EQ(History().FindOriginal(*q), q.get());
    ASSERT_NE(History().FindSnapshot(*q), nullptr);
    EXPECT_NE(History().FindSnapshot(*q), q.get());
    EXPECT_FALSE(History().CanUndo());
    EXPECT_FALSE(History().CanRedo());
    // Only one record applied: nothing to undo.
    EXPECT_EQ(History().Undo(), nullptr);
    EXPECT_EQ(History().Position(), 1);
}

TEST_F(UndoTest, UnchangedTreeAddsNothing)
{
    EXPECT_FALSE(RecordUndoStep(*dialog));
    EXPECT_EQ(History().RecordCount(), 1);
    // A mark is no change.
    q->SetMark(1);
    EXPECT_FALSE(RecordUndoStep(*dialog));
    UndoRecord record;
    root->TakeSnapshot(History(), record);
    EXPECT_TRUE(record.Empty());
}

TEST_F(UndoTest, ModifyUndoRedo)
{
    q->SetItem("Text", "one");
    ASSERT_TRUE(RecordUndoStep(*dialog));
    ASSERT_EQ(History().RecordAt(1).Count(), 1);
    EXPECT_EQ(History().RecordAt(1).At(0).GetAction(), TekClassBackup::ACT_MODIFY);
    q->SetItem("Text", "two");
    ASSERT_TRUE(RecordUndoStep(*dialog));
    EXPECT_TRUE(History().CanUndo());

    EXPECT_EQ(History().Undo(), q.get());
    EXPECT_EQ(q->GetItem("Text"), "one");
    EXPECT_TRUE(History().CanRedo());
    EXPECT_EQ(History().Undo(), q.get());
    EXPECT_EQ(q->GetItem("Text"), "");
    EXPECT_EQ(History().Undo(), nullptr);
    EXPECT_EQ(History().Position(), 1);

    EXPECT_EQ(History().Redo(), q.get());
    EXPECT_EQ(q->GetItem("Text"), "one");
    EXPECT_EQ(History().Redo(), q.get());
    EXPECT_EQ(q->GetItem("Text"), "two");
    EXPECT_FALSE(History().CanRedo());
    EXPECT_EQ(History().Redo(), nullptr);
    EXPECT_EQ(History().Position(), 3);
}

TEST_F(UndoTest, AnswerPrefersTheObjectOverItsGroup)
{
    root->SetItem("Align", "CENTER");
    r->SetItem("Text", "changed");
    ASSERT_TRUE(RecordUndoStep(*dialog));
    EXPECT_EQ(History().Undo(), r.get());
    EXPECT_EQ(root->GetItem("Align"), "");
    EXPECT_EQ(r->GetItem("Text"), "");
    EXPECT_EQ(History().Redo(), r.get());

    root->SetItem("Align", "RIGHT");
    ASSERT_TRUE(RecordUndoStep(*dialog));
    EXPECT_EQ(History().Undo(), root.get());
}

TEST_F(UndoTest, DialogItemsAreRestored)
{
    dialog->SetItem("TargetLayoutWidth", "320");
    ASSERT_TRUE(RecordUndoStep(*dialog));
    EXPECT_EQ(History().Undo(), dialog.get());
    EXPECT_EQ(dialog->GetItem("TargetLayoutWidth"), "");
    EXPECT_EQ(dialog->GetItem("Name"), "D");
    EXPECT_EQ(History().Redo(), dialog.get());
    EXPECT_EQ(dialog->GetItem("TargetLayoutWidth"), "320");
}

TEST_F(UndoTest, DialogRootAndCommandsAreRestored)
{
    auto command = std::make_shared<TekClass>(NodeType::Command);
    dialog->AddCommand(command);
    ASSERT_TRUE(RecordUndoStep(*dialog));
    dialog->SetRoot(nullptr);
    ASSERT_TRUE(RecordUndoStep(*dialog));

    EXPECT_EQ(History().Undo(), dialog.get());
    EXPECT_EQ(dialog->RootObject(), root.get());
    EXPECT_EQ(History().Undo(), dialog.get());
    EXPECT_TRUE(dialog->Commands().empty());
    EXPECT_EQ(History().Redo(), dialog.get());
    ASSERT_EQ(dialog->Commands().size(), 1u);
    EXPECT_EQ(dialog->Commands()[0], command);
    EXPECT_EQ(History().Redo(), dialog.get());
    EXPECT_EQ(dialog->RootObject(), nullptr);
}

TEST_F(UndoTest, CreatedNodeLeavesAndReturns)
{
    auto s = AddObject(root.get(), OBJ_TEXT, "s");
    s->SetParentGroup(root.get());
    ASSERT_TRUE(RecordUndoStep(*dialog));
    const UndoRecord& step = History().RecordAt(1);
    ASSERT_EQ(step.Count(), 3);
    EXPECT_EQ(step.At(0).GetAction(), TekClassBackup::ACT_MODIFY);
    EXPECT_EQ(step.At(1).GetAction(), TekClassBackup::ACT_CREATE);
    EXPECT_EQ(step.At(2).GetAction(), TekClassBackup::ACT_ORIGINAL);

    std::weak_ptr<CObjectData> weak = s;
    s.reset();
    // The created object is still the answer, though it is no longer in the tree.
    TekClass* answer = History().Undo();
    ASSERT_FALSE(weak.expired());
    EXPECT_EQ(answer, weak.lock().get());
    EXPECT_EQ(ChildNames(*root), (Names{"p", "q", "r"}));

    EXPECT_EQ(History().Redo(), weak.lock().get());
    EXPECT_EQ(ChildNames(*root), (Names{"p", "q", "r", "s"}));
}

TEST_F(UndoTest, RemovedSubtreeComesBackWhole)
{
    auto box = AddGroup(root.get(), LAYOUT_FRAME, "box", false);
    auto x = AddObject(box.get(), OBJ_TEXT, "x");
    auto y = AddObject(box.get(), OBJ_TEXT, "y");
    ASSERT_TRUE(RecordUndoStep(*dialog));

    std::weak_ptr<CObjectData> weakBox = box, weakX = x, weakY = y;
    root->RemoveChild(box.get());
    box.reset();
    x.reset();
    y.reset();
    ASSERT_TRUE(RecordUndoStep(*dialog));
    // The history keeps the removed nodes alive.
    ASSERT_FALSE(weakBox.expired());
    ASSERT_FALSE(weakX.expired());
    EXPECT_EQ(ChildNames(*root), (Names{"p", "q", "r"}));

    EXPECT_EQ(History().Undo(), root.get());
    ASSERT_EQ(ChildNames(*root), (Names{"p", "q", "r", "box"}));
    const auto& restored = static_cast<CObjectDataList&>(root->ChildAt(3));
    EXPECT_EQ(&restored, weakBox.lock().get());
    EXPECT_EQ(ChildNames(restored), (Names{"x", "y"}));
    EXPECT_EQ(restored.ChildPtrAt(0), weakX.lock());

    EXPECT_EQ(History().Undo(), weakX.lock().get());
    EXPECT_EQ(ChildNames(*root), (Names{"p", "q", "r"}));
    EXPECT_EQ(History().Redo(), weakX.lock().get());
    EXPECT_EQ(History().Redo(), root.get());
    EXPECT_EQ(ChildNames(*root), (Names{"p", "q", "r"}));

    // Dropping the history lets the removed nodes go.
    dialog.reset();
    root.reset();
    EXPECT_TRUE(weakBox.expired());
    EXPECT_TRUE(weakX.expired());
    EXPECT_TRUE(weakY.expired());
}

TEST_F(UndoTest, GroupingIsUndoneWithParents)
{
    q->SetMark(1);
    r->SetMark(1);
    GroupPtr group = root->GroupMarked(*q);
    ASSERT_TRUE(group);
    root->ClearMarks();
    ASSERT_EQ(ChildNames(*root), (Names{"p", ""}));
    ASSERT_TRUE(RecordUndoStep(*dialog));

    History().Undo();
    EXPECT_EQ(ChildNames(*root), (Names{"p", "q", "r"}));
    EXPECT_EQ(q->ParentGroup(), root.get());
    EXPECT_EQ(r->ParentGroup(), root.get());
    History().Redo();
    EXPECT_EQ(root->ChildCount(), 2);
    EXPECT_EQ(root->ChildPtrAt(1), group);
    EXPECT_EQ(ChildNames(*group), (Names{"q", "r"}));
    EXPECT_EQ(q->ParentGroup(), group.get());
}

TEST_F(UndoTest, UngroupingIsUndone)
{
    auto g = AddGroup(root.get(), LAYOUT_LINEAR, "g", false);
    g->SetParentGroup(root.get());
    auto x = AddObject(g.get(), OBJ_TEXT, "x");
    auto y = AddObject(g.get(), OBJ_TEXT, "y");
    ASSERT_TRUE(RecordUndoStep(*dialog));
    ASSERT_EQ(g->Ungroup(), x.get());
    ASSERT_EQ(ChildNames(*root), (Names{"p", "q", "r", "x", "y"}));
    ASSERT_TRUE(RecordUndoStep(*dialog));

    EXPECT_EQ(History().Undo(), x.get());
    EXPECT_EQ(ChildNames(*root), (Names{"p", "q", "r", "g"}));
    EXPECT_EQ(ChildNames(*g), (Names{"x", "y"}));
    EXPECT_EQ(x->ParentGroup(), g.get());
    EXPECT_EQ(History().Redo(), x.get());
    EXPECT_EQ(ChildNames(*root), (Names{"p", "q", "r", "x", "y"}));
    EXPECT_TRUE(g->Children().empty());
    EXPECT_EQ(y->ParentGroup(), root.get());
}

TEST_F(UndoTest, NewStepDropsUndoneSteps)
{
    q->SetItem("Text", "a");
    ASSERT_TRUE(RecordUndoStep(*dialog));
    auto extra = AddObject(root.get(), OBJ_TEXT, "extra");
    ASSERT_TRUE(RecordUndoStep(*dialog));
    std::weak_ptr<CObjectData> weakExtra = extra;
    extra.reset();
    History().Undo();
    History().Undo();
    EXPECT_EQ(History().Position(), 1);
    EXPECT_EQ(History().RecordCount(), 3);

    // No change: the undone steps stay.
    EXPECT_FALSE(RecordUndoStep(*dialog));
    EXPECT_TRUE(History().CanRedo());

    r->SetItem("Text", "b");
    ASSERT_TRUE(RecordUndoStep(*dialog));
    EXPECT_EQ(History().RecordCount(), 2);
    EXPECT_EQ(History().Position(), 2);
    EXPECT_FALSE(History().CanRedo());
    // The object only the dropped step held is gone.
    EXPECT_TRUE(weakExtra.expired());
    EXPECT_EQ(History().Undo(), r.get());
    EXPECT_EQ(r->GetItem("Text"), "");
    EXPECT_EQ(q->GetItem("Text"), "");
}

TEST_F(UndoTest, FindSnapshotSearchesFromTheGivenStep)
{
    q->SetItem("Text", "1");
    ASSERT_TRUE(RecordUndoStep(*dialog));
    q->SetItem("Text", "2");
    ASSERT_TRUE(RecordUndoStep(*dialog));
    EXPECT_EQ(History().FindSnapshot(*q, 0)->GetItem("Text"), "");
    EXPECT_EQ(History().FindSnapshot(*q, 1)->GetItem("Text"), "1");
    EXPECT_EQ(History().FindSnapshot(*q, 2)->GetItem("Text"), "2");
    // Beyond the last record: from the last record.
    EXPECT_EQ(History().FindSnapshot(*q, 99)->GetItem("Text"), "2");
    History().Undo();
    // Negative: the newest applied record.
    EXPECT_EQ(History().FindSnapshot(*q, -1)->GetItem("Text"), "1");
    // FindOriginal looks through every record, applied or not.
    auto lonely = AddObject(nullptr, OBJ_TEXT, "lonely");
    EXPECT_EQ(History().FindOriginal(*lonely), nullptr);
    EXPECT_EQ(History().FindSnapshot(*lonely), nullptr);
}

TEST(UndoOwnership, DialogAndHistoryAreFreed)
{
    std::weak_ptr<CTekDialogData> weakDialog;
    std::weak_ptr<CObjectData> weakRoot, weakChild;
    {
        auto dialog = MakeDialog();
        auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true);
        auto child = AddObject(root.get(), OBJ_TEXT, "c");
        dialog->SetRoot(root);
        ASSERT_TRUE(RecordUndoStep(*dialog));
        child->SetItem("Text", "t");
        ASSERT_TRUE(RecordUndoStep(*dialog));
        // The history refers to the dialog that owns it without holding it.
        EXPECT_EQ(dialog->UndoHistory().FindOriginal(*dialog), dialog.get());
        EXPECT_EQ(dialog.use_count(), 1);
        weakDialog = dialog;
        weakRoot = root;
        weakChild = child;
    }
    EXPECT_TRUE(weakDialog.expired());
    EXPECT_TRUE(weakRoot.expired());
    EXPECT_TRUE(weakChild.expired());
}

TEST(UndoOwnership, DialogOnTheStackAndInAList)
{
    {
        CTekDialogData dialog("S", nullptr);
        dialog.SetRoot(AddGroup(nullptr, LAYOUT_LINEAR, "root", true));
        EXPECT_TRUE(RecordUndoStep(dialog));
        dialog.SetItem("TargetLayoutHeight", "5");
        EXPECT_TRUE(RecordUndoStep(dialog));
        EXPECT_EQ(dialog.UndoHistory().Undo(), &dialog);
    }
    std::weak_ptr<CTekDialogData> weak;
    {
        CTekResourceData resource;
        CTekDialogData& dialog = resource.Dialogs().AddDialog("L");
        weak = resource.Dialogs().PtrAt(0);
        dialog.SetRoot(AddGroup(nullptr, LAYOUT_LINEAR, "root", true));
        EXPECT_TRUE(RecordUndoStep(dialog));
    }
    EXPECT_TRUE(weak.expired());
}

} // namespace
} // namespace vesk
