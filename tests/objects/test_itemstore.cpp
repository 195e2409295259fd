// Items held by definition: values that live in a store shared by the lists of one read, in the
// items themselves, or in the item sets; copies, adoptions and history steps keep them valid.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dialogbuilder.h"
#include "model/resourcefile.h"
#include "objects/undobuffer.h"
#include "textconv/textconv.h"

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

TEST(ItemStore, ValuesEqualToTheSetsConstantsStayConstants)
{
    CTekResourceData resource;
    ASSERT_TRUE(ReadResourceText(resource, "{'Commands':[{'Command':'DIALOG','Object':{'Layout':'FRAME','Objects':["
                                           "{'Type':'BUTTON','Name':'b','NotifyList':'Name,Text,Attr'},"
                                           "{'Type':'BUTTON','NotifyList':'Name','Text':'\\u65E5'}]}}]}"));
    CObjectDataList& root = *resource.Dialogs().At(0).RootGroup();
    const CItemList& set = ObjectItemSet(OBJ_BUTTON, LAYOUT_FRAME).items;
    const CItemList& first = root.ChildAt(0).Items();
    const CItemList& second = root.ChildAt(1).Items();
    for (const char* name : {"Type", "NotifyList"})
        EXPECT_EQ(&first.Find(name)->Value(), &set.Find(name)->Value()) << name;
    EXPECT_EQ(&root.Items().Find("Layout")->Value(), &GroupItemSet(LAYOUT_FRAME).items.Find("Layout")->Value());
    // Other values are the file's, converted as before.
    EXPECT_EQ(second.Find("NotifyList")->Value(), "Name");
    EXPECT_EQ(second.Find("Text")->Value(), Utf8ToShiftJisExact("日"));
    EXPECT_EQ(first.Find("Name")->Value(), "b");
    // A copy of a loaded node holds the same constants and values.
    CItemList copy = first.Clone();
    EXPECT_EQ(&copy.Find("Type")->Value(), &set.Find("Type")->Value());
    EXPECT_EQ(copy.Find("Name")->Value(), "b");
}

TEST(ItemStore, StoredTextsAreCopiesOfTheirSource)
{
    auto store = std::make_shared<ItemValueStore>();
    CItemList list = StoredList(store);
    std::string source = "a text long enough to live outside the string itself";
    list.SetStoredText(1, source);
    source.assign(source.size(), 'x');
    EXPECT_EQ(list.At(1).Value(), "a text long enough to live outside the string itself");
    list.SetStoredText(1, "");
    EXPECT_EQ(list.At(1).Value(), "");
    CItemList unstored;
    unstored.Add(CItemData(InternItemDef("Name", ItemKind::FreeText), std::string()));
    unstored.SetStoredText(0, "own");
    EXPECT_EQ(unstored.At(0).Value(), "own");
}

} // namespace
} // namespace vesk
