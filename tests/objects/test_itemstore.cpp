// Items held by definition: values that live in a store shared by the lists of one read, in the
// items themselves, or in the item sets; copies, adoptions and history steps keep them valid.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dialogbuilder.h"
#include "records/resourcefile.h"
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

// A load puts its nodes and their item arrays in the memory of the dialog's store; whatever
// still holds a part of it keeps that memory, and edits and moves keep every value valid.
TEST(ItemStore, NodesOfALoadOutliveTheirResourceAndStayEditable)
{
    ObjectPtr kept;
    TekPtr command;
    {
        CTekResourceData resource;
        ASSERT_TRUE(ReadResourceText(resource,
                                     "{'Commands':[{'Command':'DIALOG','Object':{'Objects':[{'Type':"
                                     "'BUTTON','Name':'a name read from the file','OnClick':{'Event':"
                                     "'OnClick','Command':'SOUND','File':'a long sound file name.wav'}}]}}]}"));
        kept = resource.Dialogs().At(0).RootGroup()->Children().at(0);
        ASSERT_EQ(kept->CommandList().size(), 1u);
        command = kept->CommandList().front();
    }
    EXPECT_EQ(kept->GetItem("Name"), "a name read from the file");
    EXPECT_EQ(command->GetItem("File"), "a long sound file name.wav");
    // Growing the item array and replacing values after the resource has gone.
    for (int i = 0; i < 40; ++i)
        kept->Items().Add(
            CItemData(InternItemDef("Extra" + std::to_string(i), ItemKind::FreeText), "value " + std::to_string(i)));
    kept->SetItem("Name", "renamed after the load");
    EXPECT_EQ(kept->GetItem("Extra39"), "value 39");
    EXPECT_EQ(kept->GetItem("Name"), "renamed after the load");
    EXPECT_EQ(kept->GetItem("Type"), "BUTTON");
    kept.reset();
    EXPECT_EQ(command->GetItem("File"), "a long sound file name.wav");
}

TEST(ItemStore, ItemListsMovedBetweenStoresKeepTheirValues)
{
    auto first = std::make_shared<ItemValueStore>();
    auto second = std::make_shared<ItemValueStore>();
    CItemList a = StoredList(first);
    CItemList b = StoredList(second);
    b.SetStoredValue(1, "second store's text, long enough to be held apart");
    CItemList heap;
    heap.Add(CItemData(InternItemDef("Name", ItemKind::FreeText), "own"));

    a = std::move(b); // a now holds the second store's items
    first.reset();
    second.reset();
    EXPECT_EQ(a.At(1).Value(), "second store's text, long enough to be held apart");
    std::swap(a, heap);
    EXPECT_EQ(heap.At(1).Value(), "second store's text, long enough to be held apart");
    EXPECT_EQ(a.At(0).Value(), "own");
    // Matching items taken from a list of another store take their values along.
    CItemList rebuilt = StoredList(std::make_shared<ItemValueStore>());
    rebuilt.AdoptMatching(std::move(heap));
    EXPECT_EQ(rebuilt.At(1).Value(), "second store's text, long enough to be held apart");
    CItemList copy = rebuilt.Clone();
    rebuilt = CItemList();
    EXPECT_EQ(copy.At(0).Value(), "stored name, longer than a short text");
    EXPECT_EQ(copy.At(1).Value(), "second store's text, long enough to be held apart");
}

TEST(ItemStore, StoreMemoryGoesWithMovesAndNotWithCopies)
{
    auto store = std::make_shared<ItemValueStore>();
    using Ints = std::vector<int, StoreAllocator<int>>;
    Ints held{StoreAllocator<int>(store)};
    held.assign(5000, 7); // larger than a block of the store
    for (int i = 0; i < 100; ++i)
        held.push_back(i);
    const Ints copy = held;
    EXPECT_EQ(copy.get_allocator().Store(), nullptr);
    Ints moved = std::move(held);
    EXPECT_EQ(moved.get_allocator().Store(), store);
    EXPECT_EQ(moved, copy);
    // Aligned requests of every size come back aligned and apart.
    std::vector<std::byte*> blocks;
    for (size_t size = 1; size <= 20000; size = size * 3 + 1) {
        for (size_t align : {size_t{1}, size_t{8}, size_t{16}, ItemValueStore::kMaxAlign}) {
            auto* block = static_cast<std::byte*>(store->Allocate(size, align));
            EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % align, 0u) << size << ' ' << align;
            std::fill(block, block + size, std::byte{0x5A});
            for (std::byte* other : blocks)
                EXPECT_TRUE(other < block || other >= block + size) << size << ' ' << align;
            blocks.push_back(block);
        }
    }
    store.reset();
    EXPECT_EQ(moved.back(), 99);
}

} // namespace
} // namespace vesk
