// Items carry the key number of their name beside their definition: lookups by key number and by
// name find the same item through every way a list changes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "dialogbuilder.h"
#include "model/itemkeys.h"
#include "records/resourcefile.h"

namespace vesk {
namespace {

/// The index of the first item of that name, by comparing names only.
int IndexByText(const CItemList& items, std::string_view name)
{
    for (int i = 0; i < items.Count(); ++i)
        if (items.At(i).Name() == name)
            return i;
    return -1;
}

/// Every known key and a few other names are found where a walk over the names finds them.
void ExpectLookupsAgree(const CItemList& items, const std::string& what)
{
    for (int key = 0; key < kKeyCount; ++key) {
        const std::string_view name = ItemKeyName(key);
        const int expected = IndexByText(items, name);
        EXPECT_EQ(items.IndexOfKey(key), expected) << what << " key " << name;
        EXPECT_EQ(items.IndexOf(name), expected) << what << " name " << name;
        EXPECT_EQ(items.Find(name), expected < 0 ? nullptr : &items.At(expected)) << what << " name " << name;
    }
    for (std::string_view other : {"TemplateType", "Unknown", "", "name", "Name "})
        EXPECT_EQ(items.IndexOf(other), IndexByText(items, other)) << what << " name '" << other << "'";
    for (int i = 0; i < items.Count(); ++i)
        EXPECT_EQ(items.At(i).Key(), items.At(i).Def().key) << what << " item " << i;
}

TEST(ItemKeys, DefinitionsKnowTheirKeyNumbers)
{
    for (int key = 0; key < kKeyCount; ++key) {
        const ItemDef* def = InternItemDef(ItemKeyName(key), ItemKind::FreeText);
        EXPECT_EQ(def->key, key);
        EXPECT_EQ(CItemData(def, "v").Key(), key);
    }
    EXPECT_EQ(InternItemDef("NotAKey", ItemKind::Number)->key, -1);
    EXPECT_EQ(CItemData("NotAKey", ItemKind::Number, "1").Key(), -1);
    EXPECT_EQ(CItemData("NotAKey", ItemKind::Number, "1").Name(), "NotAKey");
}

TEST(ItemKeys, LookupsAgreeOnBuiltLoadedAndChangedLists)
{
    for (int type = -1; type < OBJ_TYPE_COUNT; ++type) {
        auto object = test::AddObject(nullptr, type, "o");
        ExpectLookupsAgree(object->Items(), "built type " + std::to_string(type));
    }
    auto group = test::AddGroup(nullptr, LAYOUT_TABLE, "g", true);
    ExpectLookupsAgree(group->Items(), "built group");

    CTekResourceData resource;
    ASSERT_TRUE(ReadResourceText(resource, "{'Commands':[{'Command':'DIALOG','Name':'D','Object':{'Objects':["
                                           "{'Type':'BUTTON','Name':'b','FileOff':'old.png','PosX':'3'},"
                                           "{'Type':'GRID','Header':[{'TSize':'9'}]}]}}]}"));
    CObjectDataList& root = *resource.Dialogs().At(0).RootGroup();
    ExpectLookupsAgree(root.Items(), "loaded group");
    ExpectLookupsAgree(root.ChildAt(0).Items(), "loaded button");
    ExpectLookupsAgree(root.ChildAt(1).HeaderColumns().at(0)->Items(), "loaded header column");
    ExpectLookupsAgree(resource.Dialogs().At(0).Items(), "loaded dialog");

    // Appended, rebuilt, cloned, moved and cleared lists.
    CObjectData& button = root.ChildAt(0);
    button.SetOrAddItem("Extra", "x");
    button.AddItem(std::make_unique<CItemData>("Name", ItemKind::FreeText, "second name"));
    ExpectLookupsAgree(button.Items(), "appended");
    EXPECT_EQ(button.GetItem("Name"), "b");
    RebuildObjectItems(button, OBJ_TOGGLE);
    ExpectLookupsAgree(button.Items(), "rebuilt");
    CItemList clone = button.Items().Clone();
    ExpectLookupsAgree(clone, "cloned");
    CItemList moved = std::move(clone);
    ExpectLookupsAgree(moved, "moved");
    moved.Clear();
    ExpectLookupsAgree(moved, "cleared");
}

TEST(ItemKeys, AssignedItemsTakeTheKeyOfTheirNewName)
{
    auto object = test::AddObject(nullptr, OBJ_TEXT, "t");
    CItemList& items = object->Items();
    const int alias = items.IndexOf("Alias");
    ASSERT_GE(alias, 0);
    // An item replaced in place by one of another name is found by that name, and only by it.
    items.At(alias) = CItemData("Name", ItemKind::FreeText, "replaced");
    ExpectLookupsAgree(items, "assigned");
    EXPECT_EQ(items.IndexOfKey(kKeyAlias), -1);
    items.At(0) = CItemData("Other", ItemKind::FreeText, "gone");
    EXPECT_EQ(object->GetItem("Name"), "replaced");
    ExpectLookupsAgree(items, "assigned twice");
}

} // namespace
} // namespace vesk
