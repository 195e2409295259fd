// The history finds a node's copies and its live node through an index by serial number. These
// tests hold the index against a plain scan of the records after random edits, undos, redos and
// the steps that drop undone records.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "dialogbuilder.h"
#include "objects/undobuffer.h"

namespace vesk {
namespace {

using test::AddGroup;
using test::AddObject;
using test::MakeDialog;

/// The newest copy of the serial number in records 0 to upTo, entries from the last to the first.
const TekClass* ScanSnapshot(const UndoBuffer& buffer, uint64_t serial, int upTo)
{
    for (int r = std::min(upTo, buffer.RecordCount() - 1); r >= 0; --r) {
        const UndoRecord& record = buffer.RecordAt(r);
        for (int e = record.Count() - 1; e >= 0; --e)
            if (record.At(e).GetAction() != TekClassBackup::ACT_ORIGINAL &&
                record.At(e).Node()->SerialNumber() == serial)
                return record.At(e).Node();
    }
    return nullptr;
}

/// The live node of the serial number in records upTo down to 0, entries from the first to the last.
const TekClass* ScanOriginal(const UndoBuffer& buffer, uint64_t serial, int upTo)
{
    for (int r = std::min(upTo, buffer.RecordCount() - 1); r >= 0; --r) {
        const UndoRecord& record = buffer.RecordAt(r);
        for (int e = 0; e < record.Count(); ++e)
            if (record.At(e).GetAction() == TekClassBackup::ACT_ORIGINAL &&
                record.At(e).Node()->SerialNumber() == serial)
                return record.At(e).Node();
    }
    return nullptr;
}

/// Every serial number the history holds, with each step bound that a lookup can be asked for.
void ExpectIndexMatchesScan(const UndoBuffer& buffer, const std::string& when)
{
    std::vector<const TekClass*> nodes;
    for (int r = 0; r < buffer.RecordCount(); ++r)
        for (int e = 0; e < buffer.RecordAt(r).Count(); ++e)
            nodes.push_back(buffer.RecordAt(r).At(e).Node());
    for (const TekClass* node : nodes) {
        for (int upTo = -1; upTo <= buffer.RecordCount(); ++upTo) {
            const int snapshotBound = upTo < 0 ? buffer.Position() - 1 : upTo;
            const int originalBound = upTo < 0 ? buffer.RecordCount() - 1 : upTo;
            ASSERT_EQ(buffer.FindSnapshot(*node, upTo), ScanSnapshot(buffer, node->SerialNumber(), snapshotBound))
                << when << ", serial " << node->SerialNumber() << ", up to " << upTo;
            ASSERT_EQ(buffer.FindOriginal(*node, upTo), ScanOriginal(buffer, node->SerialNumber(), originalBound))
                << when << ", serial " << node->SerialNumber() << ", up to " << upTo;
        }
    }
}

class UndoIndexTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(UndoIndexTest, MatchesAScanOfTheRecordsThroughEditsUndosAndRedos)
{
    std::mt19937 random(GetParam());
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto dialog = MakeDialog();
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true);
    dialog->SetRoot(root);
    for (int i = 0; i < 4; ++i)
        AddObject(root.get(), OBJ_BUTTON, "o" + std::to_string(i));
    ASSERT_TRUE(RecordUndoStep(*dialog));
    UndoBuffer& history = dialog->UndoHistory();
    int counter = 4;
    for (int step = 0; step < 60; ++step) {
        const int action = pick(0, 9);
        std::string what;
        if (action < 2 && history.CanUndo()) {
            history.Undo();
            what = "undo";
        } else if (action < 4 && history.CanRedo()) {
            history.Redo();
            what = "redo";
        } else {
            CObjectDataList* group = root.get();
            if (group->ChildCount() > 0 && group->ChildAt(0).IsGroup() && pick(0, 1))
                group = static_cast<CObjectDataList*>(&group->ChildAt(0));
            const int kind = pick(0, 3);
            if (kind == 0 || group->ChildCount() == 0) {
                AddObject(group, OBJ_TEXT, "n" + std::to_string(counter++));
                what = "add";
            } else if (kind == 1) {
                group->RemoveChild(&group->ChildAt(pick(0, group->ChildCount() - 1)));
                what = "remove";
            } else if (kind == 2) {
                auto inner = AddGroup(nullptr, LAYOUT_LINEAR, "g" + std::to_string(counter++), false);
                root->InsertChild(inner, nullptr, 1);
                inner->SetParentGroup(root.get());
                what = "group";
            } else {
                group->ChildAt(pick(0, group->ChildCount() - 1)).SetItem("Name", "x" + std::to_string(counter++));
                what = "rename";
            }
            RecordUndoStep(*dialog);
        }
        ExpectIndexMatchesScan(history, "step " + std::to_string(step) + " (" + what + ")");
        if (HasFatalFailure())
            return;
    }
    history.Clear();
    EXPECT_EQ(history.FindOriginal(*root), nullptr);
    EXPECT_EQ(history.FindSnapshot(*root), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoIndexTest, ::testing::Values(1u, 2u, 3u, 17u, 99u));

} // namespace
} // namespace vesk
