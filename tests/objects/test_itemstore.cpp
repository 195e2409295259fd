// Items held by definition: values that live in a store shared by the lists of one read, in the
// items themselves, or in the item sets; copies, adoptions and history steps keep them valid.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dialogbuilder.h"
#include "model/resourcefile.h"
#include "objects/undobuffer.h"

namespace vesk {
namespace {

/// A list of two items whose values live in a store of its own.
CItemList StoredList(const std::shared_ptr<ItemValueStore>& store)
{
    CItemList list;
    list.UseStore(store);
    list.Add(CItemData(InternItemDef("Name", ItemKind::FreeText), std::string()));
    list.Add(CItemData(InternItemDef("Text", ItemKind::Display), std::string()));
    list.SetStoredValue(0, "stored name, longer than a short text");
    list.SetStoredValue(1, "t");
    return list;
}

TEST(ItemStore, ClonesShareStoredValuesAndOutliveTheOriginal)
{
    CItemList clone;
    const std::string* shared = nullptr;
    {
        CItemList original = StoredList(std::make_shared<ItemValueStore>());
        clone = original.Clone();
        shared = &original.At(0).Value();
        EXPECT_EQ(&clone.At(0).Value(), shared);
        clone.At(1).SetValue("changed");
        EXPECT_EQ(original.At(1).Value(), "t");
    }
    EXPECT_EQ(&clone.At(0).Value(), shared);
    EXPECT_EQ(clone.At(0).Value(), "stored name, longer than a short text");
    EXPECT_EQ(clone.At(1).Value(), "changed");
}

TEST(ItemStore, ItemsLeavingTheirListHoldTheirValues)
{
    CItemList target = StoredList(std::make_shared<ItemValueStore>());
    {
        CItemList other = StoredList(std::make_shared<ItemValueStore>());
        // Copied out, or moved into a list of another store: the item takes its value itself.
        const CItemData copied = other.At(0);
        EXPECT_NE(&copied.Value(), &other.At(0).Value());
        target.Add(std::move(other.At(0)));
        target.Add(std::make_unique<CItemData>(copied));
    }
    ASSERT_EQ(target.Count(), 4);
    EXPECT_EQ(target.At(2).Value(), "stored name, longer than a short text");
    EXPECT_EQ(target.At(3).Value(), "stored name, longer than a short text");
}

TEST(ItemStore, RebuildingKeepsStoredValues)
{
    CTekResourceData resource;
    ASSERT_TRUE(ReadResourceText(resource, "{'Commands':[{'Command':'DIALOG','Object':{'Objects':[{'Type':'BUTTON',"
                                           "'Name':'b1','Text':'a long text read from the file'}]}}]}"));
    CObjectData& button = resource.Dialogs().At(0).RootGroup()->ChildAt(0);
    RebuildObjectItems(button, OBJ_TOGGLE);
    RebuildObjectItems(button, OBJ_BUTTON);
    EXPECT_EQ(button.GetItem("Name"), "b1");
    EXPECT_EQ(button.GetItem("Type"), "BUTTON");
    // 'Text' went with the TOGGLE set, which has none.
    EXPECT_EQ(button.GetItem("Text"), "");
}

TEST(ItemStore, IterationAnswersHandles)
{
    auto object = test::AddObject(nullptr, OBJ_TEXT, "t1");
    int named = 0;
    for (auto& item : object->Items()) {
        if (item->Name() == "Name" && (*item).Value() == "t1")
            ++named;
        item->SetValue(item->Value());
    }
    for (const auto& item : std::as_const(*object).Items())
        named += item.get() == object->Items().Find("Name") ? 1 : 0;
    EXPECT_EQ(named, 2);
}

TEST(ItemStore, HistoryStepsOfALoadedDialogSurviveItsNodes)
{
    CTekResourceData resource;
    ASSERT_TRUE(ReadResourceText(resource, "{'Commands':[{'Command':'DIALOG','Object':{'Objects':[{'Type':'TEXT',"
                                           "'Name':'first name from the file','Text':'x'}]}}]}"));
    CTekDialogData& dialog = resource.Dialogs().At(0);
    ASSERT_TRUE(RecordUndoStep(dialog));
    CObjectDataList& root = *dialog.RootGroup();
    root.ChildAt(0).SetItem("Name", "renamed");
    ASSERT_TRUE(RecordUndoStep(dialog));
    root.RemoveChild(&root.ChildAt(0));
    ASSERT_TRUE(RecordUndoStep(dialog));
    dialog.UndoHistory().Undo();
    ASSERT_EQ(root.ChildCount(), 1);
    EXPECT_EQ(root.ChildAt(0).GetItem("Name"), "renamed");
    dialog.UndoHistory().Undo();
    EXPECT_EQ(root.ChildAt(0).GetItem("Name"), "first name from the file");
}

} // namespace
} // namespace vesk
