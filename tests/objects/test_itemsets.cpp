// Item sets of objects, groups, header columns and commands, and the shared choice lists.

#include <gtest/gtest.h>

#include <set>

#include "../model/testsupport.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"

namespace vesk {
namespace {

using test::ItemNames;
using test::MakeGroup;
using test::MakeObject;
using test::Sjis;

const std::string kCommon = "Name,Alias,Type,Width,Height,Weight,Padding,Margin,Hide,Disable,BGColor";

/// The object item names for a type in a group of the given layout (-2: no parent group).
std::string ObjectSet(int typeCode, int parentLayout = LAYOUT_LINEAR)
{
    GroupPtr parent = parentLayout == -2 ? nullptr : MakeGroup(nullptr, parentLayout, "p");
    return ItemNames(*MakeObject(parent.get(), typeCode, "o"));
}

const CItemData& Item(const TekClass& node, const char* name)
{
    const CItemData* item = node.Items().Find(name);
    EXPECT_NE(item, nullptr) << name;
    static const CItemData missing("", ItemKind::FreeText);
    return item ? *item : missing;
}

// --- Objects --------------------------------------------------------------------------------

TEST(ObjectItems, ButtonInALinearGroup)
{
    GroupPtr parent = MakeGroup(nullptr, LAYOUT_LINEAR, "p");
    ObjectPtr button = MakeObject(parent.get(), OBJ_BUTTON, "");
    const CItemList& items = button->Items();
    ASSERT_EQ(items.Count(), 23);
    EXPECT_EQ(ItemNames(*button), kCommon + ",Clickable,OnClick,Attr,Text,TSize,TColor,TAlign,FileOff,FileOn,"
                                            "FileSource,FilePath,NotifyList");
    const ItemKind kinds[23] = {ItemKind::FreeText, ItemKind::FreeText, ItemKind::Choice,  ItemKind::Suggest,
                                ItemKind::Suggest,  ItemKind::Number,   ItemKind::Suggest, ItemKind::Suggest,
                                ItemKind::Flag,     ItemKind::Flag,     ItemKind::Suggest, ItemKind::Flag,
                                ItemKind::Choice,   ItemKind::Suggest,  ItemKind::Display, ItemKind::Size,
                                ItemKind::Suggest,  ItemKind::Choice,   ItemKind::Image,   ItemKind::Image,
                                ItemKind::Choice,   ItemKind::FreeText, ItemKind::FreeText};
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(items.At(i).Kind(), kinds[i]) << items.At(i).Name();
    EXPECT_EQ(button->GetItem("Type"), "BUTTON");
    EXPECT_EQ(button->GetItem("NotifyList"), "Name,Text,Attr");
    for (const auto& item : items) {
        if (item->Name() != "Type" && item->Name() != "NotifyList") {
            EXPECT_EQ(item->Value(), "") << item->Name();
        }
    }
    EXPECT_EQ(button->Type(), NodeType::Object);
}

TEST(ObjectItems, ParentLayoutAddsPositionAndColumnItems)
{
    const std::string linear = ObjectSet(OBJ_BUTTON, LAYOUT_LINEAR);
    EXPECT_EQ(ObjectSet(OBJ_BUTTON, LAYOUT_FRAME),
              "Name,Alias,Type,Width,Height,Weight,PosX,PosY,Padding,Margin,Hide,Disable,BGColor,Clickable,OnClick,"
              "Attr,Text,TSize,TColor,TAlign,FileOff,FileOn,FileSource,FilePath,NotifyList");
    EXPECT_EQ(ObjectSet(OBJ_BUTTON, LAYOUT_TABLEROW),
              kCommon + ",Clickable,OnClick,Attr,Text,TSize,TColor,TAlign,Stretch,Wrap,Span,FileOff,FileOn,"
                        "FileSource,FilePath,NotifyList");
    EXPECT_EQ(ObjectSet(OBJ_BUTTON, -2), linear);
    for (int layout :
         {int(LAYOUT_RADIO), int(LAYOUT_SCROLL), int(LAYOUT_PAGE), int(LAYOUT_TABLE), int(LAYOUT_RELATIVE), -1})
        EXPECT_EQ(ObjectSet(OBJ_BUTTON, layout), linear) << layout;

    GroupPtr frame = MakeGroup(nullptr, LAYOUT_FRAME, "f");
    ObjectPtr placed = MakeObject(frame.get(), OBJ_TEXT, "t");
    EXPECT_EQ(Item(*placed, "PosX").Kind(), ItemKind::Size);
    GroupPtr row = MakeGroup(nullptr, LAYOUT_TABLEROW, "r");
    ObjectPtr cell = MakeObject(row.get(), OBJ_TEXT, "c");
    EXPECT_EQ(Item(*cell, "Stretch").Kind(), ItemKind::Flag);
    EXPECT_EQ(Item(*cell, "Wrap").Kind(), ItemKind::Flag);
    EXPECT_EQ(Item(*cell, "Span").Kind(), ItemKind::Number);
}

TEST(ObjectItems, EveryTypeHasItsSet)
{
    const char* tails[OBJ_TYPE_COUNT] = {
        "Clickable,OnClick,Text,TSize,TColor,TAlign,FileSource,FilePath,NotifyList",
        "Clickable,OnClick,File,FileSource,FilePath,Value,NotifyList",
        "Clickable,OnClick,Attr,Text,TSize,TColor,TAlign,FileOff,FileOn,FileSource,FilePath,NotifyList",
        "Clickable,OnClick,Attr,Text,TSize,TColor,TAlign,FileOff,FileOn,FileSource,FilePath,NotifyList",
        "Clickable,OnClick,Attr,TextOff,TextOn,TSize,TColor,TAlign,FileOff,FileOn,FileSource,FilePath,NotifyList",
        "Clickable,OnClick,Attr,Text,TSize,TColor,TAlign,FileOff,FileOn,FileSource,FilePath,Value,NotifyList",
        "ScaleType,Clickable,OnClick,File,FileSource,FilePath,EnablePinch,NotifyList",
        "Clickable,OnClick,File,FileSource,FilePath",
        "Clickable,OnClick,Data,FileOff,FileOn,FileSource,FilePath,ColumnHeight,Columns,NotifyList",
        "Clickable,OnClick,Data,FileOff,FileOn,FileSource,FilePath,ColumnHeight,NotifyList",
        "Clickable,OnClick,FileBase,FileActive,FileSource,FilePath,Min,Max,Value,Vertical,NotifyList",
        "OnSlide,OnTouch,OnRelease,FileBase,FileActive,FileThumb,FileSource,FilePath,Min,Max,Value,Vertical,"
        "NotifyList",
        "Clickable,OnClick,Revers,Pattern,FileBase,FileCursor,FileTop,CenterPosBase,CenterPosCursor,CenterPosTop,"
        "FileSource,FilePath,Min,Max,Value,NotifyList",
    };
    const char* notify[OBJ_TYPE_COUNT] = {
        "Name,Text",
        "Name,Value",
        "Name,Text,Attr",
        "Name,Attr",
        "Name,Attr",
        "Name,Value,Attr",
        "Name,File,ScaleX,ScaleY,OffsetX,OffsetY",
        "",
        "Name,Value,Position",
        "Name,Text,Position",
        "Name,Value",
        "Name,Value",
        "Name,Position",
    };
    for (int code = 0; code < OBJ_TYPE_COUNT; ++code) {
        ObjectPtr object = MakeObject(nullptr, code, "o");
        EXPECT_EQ(ItemNames(*object), kCommon + "," + tails[code]) << kObjectTypeNames[code];
        EXPECT_EQ(object->GetItem("Type"), kObjectTypeNames[code]);
        EXPECT_EQ(object->GetItem("NotifyList"), notify[code]) << kObjectTypeNames[code];
    }
}

TEST(ObjectItems, UnsetTypeCanvasAndSlidebar)
{
    ObjectPtr unset = MakeObject(nullptr, -1, "u");
    EXPECT_EQ(ItemNames(*unset), kCommon + ",Clickable,OnClick,FileSource,FilePath");
    EXPECT_EQ(unset->GetItem("Type"), "Unset");
    EXPECT_EQ(unset->Items().Find("NotifyList"), nullptr);
    EXPECT_EQ(MakeObject(nullptr, OBJ_CANVAS, "c")->Items().Find("NotifyList"), nullptr);
    ObjectPtr slidebar = MakeObject(nullptr, OBJ_SLIDEBAR, "s");
    EXPECT_EQ(slidebar->Items().Find("Clickable"), nullptr);
    EXPECT_EQ(slidebar->Items().Find("OnClick"), nullptr);
    for (const char* event : {"OnSlide", "OnTouch", "OnRelease"}) {
        EXPECT_EQ(Item(*slidebar, event).Kind(), ItemKind::Choice);
        EXPECT_EQ(Item(*slidebar, event).Choices(), &SharedChoiceLists().command);
    }
}

TEST(ObjectItems, KindsOfTypeItems)
{
    ObjectPtr edit = MakeObject(nullptr, OBJ_EDIT, "e");
    EXPECT_EQ(Item(*edit, "Value").Kind(), ItemKind::Display);
    EXPECT_EQ(Item(*edit, "File").Kind(), ItemKind::Image);
    ObjectPtr progress = MakeObject(nullptr, OBJ_PROGRESS, "p");
    EXPECT_EQ(Item(*progress, "Value").Kind(), ItemKind::FreeText);
    EXPECT_EQ(Item(*progress, "Min").Kind(), ItemKind::Number);
    EXPECT_EQ(Item(*progress, "Vertical").Kind(), ItemKind::Flag);
    ObjectPtr meter = MakeObject(nullptr, OBJ_METER, "m");
    EXPECT_EQ(Item(*meter, "Revers").Kind(), ItemKind::Flag);
    EXPECT_EQ(Item(*meter, "Pattern").Choices(), &SharedChoiceLists().pattern);
    EXPECT_EQ(Item(*meter, "CenterPosTop").Kind(), ItemKind::FreeText);
    ObjectPtr grid = MakeObject(nullptr, OBJ_GRID, "g");
    EXPECT_EQ(Item(*grid, "Data").Kind(), ItemKind::Data);
    EXPECT_EQ(Item(*grid, "Columns").Kind(), ItemKind::Choice);
    EXPECT_EQ(Item(*grid, "Columns").Choices(), &SharedChoiceLists().header);
    EXPECT_EQ(Item(*grid, "ColumnHeight").Kind(), ItemKind::Size);
    ObjectPtr picture = MakeObject(nullptr, OBJ_PICTURE, "p");
    EXPECT_EQ(Item(*picture, "ScaleType").Choices(), &SharedChoiceLists().scale);
    EXPECT_EQ(Item(*picture, "EnablePinch").Kind(), ItemKind::Flag);
    ObjectPtr toggle = MakeObject(nullptr, OBJ_TOGGLE, "t");
    EXPECT_EQ(Item(*toggle, "TextOn").Kind(), ItemKind::Display);
    EXPECT_EQ(Item(*toggle, "Attr").Choices(), &SharedChoiceLists().attribute);
    EXPECT_EQ(Item(*toggle, "TAlign").Choices(), &SharedChoiceLists().alignment);
}

TEST(ObjectItems, BuildersAppendAndNeverClear)
{
    auto object = std::make_shared<CObjectData>(nullptr);
    object->AddItem(std::make_unique<CItemData>("Kept", ItemKind::FreeText, "k"));
    BuildObjectItems(*object, OBJ_TEXT);
    BuildObjectItems(*object, OBJ_TEXT);
    EXPECT_EQ(object->Items().At(0).Name(), "Kept");
    EXPECT_EQ(object->Items().Count(), 1 + 2 * 20);
}

// --- Groups and header columns --------------------------------------------------------------

TEST(ObjectItems, RebuildKeepsMatchingItemsAndTakesTheNewSet)
{
    GroupPtr parent = MakeGroup(nullptr, LAYOUT_LINEAR, "p");
    ObjectPtr object = MakeObject(parent.get(), OBJ_BUTTON, "btn");
    object->SetItem("Text", "OK");
    object->SetItem("Type", "TOGGLE");
    RebuildObjectItems(*object, OBJ_TOGGLE);
    EXPECT_EQ(ItemNames(*object), ObjectSet(OBJ_TOGGLE));
    EXPECT_EQ(object->GetItem("Name"), "btn");
    EXPECT_EQ(object->GetItem("Type"), "TOGGLE");
    EXPECT_EQ(object->GetItem("NotifyList"), "Name,Text,Attr") << "the old item wins over the new default";
    EXPECT_EQ(object->Items().Find("Text"), nullptr);
    ASSERT_NE(object->Items().Find("TextOn"), nullptr);

    object->SetItem("Type", "CHECKBOX");
    object->SetItem("TextOn", "on");
    RebuildObjectItems(*object, OBJ_CHECKBOX);
    EXPECT_EQ(ItemNames(*object), ObjectSet(OBJ_CHECKBOX));
    EXPECT_EQ(object->GetItem("Text"), "");

    GroupPtr group = MakeGroup(nullptr, LAYOUT_LINEAR, "g");
    group->SetItem("Layout", "RADIO");
    RebuildGroupItems(*group, LAYOUT_RADIO);
    EXPECT_EQ(group->GetItem("Name"), "g");
    EXPECT_NE(group->Items().Find("Alias"), nullptr);
    EXPECT_EQ(group->GetItem("Layout"), "RADIO");
}

TEST(GroupItems, LayoutSets)
{
    const std::string linear = "Name,Type,Layout,Width,Height,Weight,Padding,Margin,Hide,Disable,BGColor,Align,"
                               "Vertical,NotifyList";
    GroupPtr group = MakeGroup(nullptr, LAYOUT_LINEAR, "g");
    EXPECT_EQ(ItemNames(*group), linear);
    EXPECT_EQ(group->GetItem("Type"), "GROUP");
    EXPECT_EQ(Item(*group, "Type").Kind(), ItemKind::Fixed);
    EXPECT_EQ(group->GetItem("Layout"), "LINEAR");
    EXPECT_EQ(Item(*group, "Layout").Choices(), &SharedChoiceLists().layout);
    EXPECT_EQ(group->GetItem("NotifyList"), "Name");
    GroupPtr radio = MakeGroup(nullptr, LAYOUT_RADIO, "r");
    EXPECT_EQ(ItemNames(*radio), "Name,Alias," + linear.substr(5));
    for (int code = 0; code < LAYOUT_COUNT; ++code)
        EXPECT_EQ(MakeGroup(nullptr, code, "x")->GetItem("Layout"), kLayoutNames[code]);
    GroupPtr unset = MakeGroup(nullptr, -1, "u");
    EXPECT_EQ(unset->GetItem("Layout"), "Unset");
    EXPECT_EQ(ItemNames(*unset), linear);
}

TEST(HeaderItems, ColumnSet)
{
    TekClass column(NodeType::HeaderColumn);
    BuildHeaderItems(column);
    EXPECT_EQ(ItemNames(column), "TSize,TColor,TAlign,Margin,BGColor,Clickable");
    EXPECT_EQ(Item(column, "TSize").Kind(), ItemKind::Size);
    EXPECT_EQ(Item(column, "TColor").Choices(), &SharedChoiceLists().colour);
    EXPECT_EQ(Item(column, "TAlign").Kind(), ItemKind::Choice);
    EXPECT_EQ(Item(column, "Margin").Choices(), &SharedChoiceLists().offset);
    EXPECT_EQ(Item(column, "Clickable").Kind(), ItemKind::Flag);
    for (const auto& item : column.Items())
        EXPECT_EQ(item->Value(), "");
}

// --- Shared choice lists --------------------------------------------------------------------

TEST(ChoiceLists, Contents)
{
    const ChoiceLists& lists = SharedChoiceLists();
    EXPECT_EQ(lists.colour, (ChoiceList{"BLACK", "WHITE", "DKGRAY", "GRAY", "LTGRAY", "RED", "GREEN", "BLUE", "CYAN",
                                        "MAGENTA", "YELLOW", "TRANSPARENT", "#RRGGBB"}));
    EXPECT_EQ(lists.size, (ChoiceList{"PARENT", "CONTENT"}));
    EXPECT_EQ(lists.offset, (ChoiceList{"0,0,0,0", "10,10,10,10"}));
    EXPECT_EQ(lists.objectType.size(), 13u);
    EXPECT_EQ(lists.objectType[8], "GRID");
    EXPECT_EQ(lists.layout,
              (ChoiceList{"FRAME", "LINEAR", "RADIO", "SCROLL", "PAGE", "TABLE", "TABLEROW", "RELATIVE"}));
    ASSERT_EQ(lists.alignment.size(), 15u);
    EXPECT_EQ(lists.alignment[6], "LEFT|TOP");
    EXPECT_EQ(lists.alignment[14], "RIGHT|BOTTOM");
    EXPECT_EQ(lists.attribute, (ChoiceList{"ON", "OFF", "TOGGLE"}));
    EXPECT_EQ(lists.header, (ChoiceList{Sjis("キャンセル"), Sjis("ヘッダ項目追加")}));
    EXPECT_EQ(lists.command, (ChoiceList{Sjis("キャンセル"), "CONDITION", "UPDATE", "OPEN", "CLOSE", "SOUND", "TIMER",
                                         "DELETE", "GETFILE", "HELLO"}));
    EXPECT_EQ(lists.scale, (ChoiceList{"SCALE_100PER", "SCALE_WIDTH", "SCALE_HEIGHT", "SCALE_AUTO", "SCALE_JUST"}));
    EXPECT_EQ(lists.source, (ChoiceList{"BUILTIN", "STATION", "STRAGE", "URI"}));
    EXPECT_EQ(lists.templates, (ChoiceList{"None", "Shared", "Unique"}));
    EXPECT_EQ(lists.pattern, (ChoiceList{"CIRCLE", "HORIZONTAL", "VERTICAL"}));
    EXPECT_EQ(CancelChoice(), lists.command[0]);
    EXPECT_EQ(CancelChoice(), lists.header[0]);
    EXPECT_EQ(AddHeaderChoice(), lists.header[1]);
    EXPECT_EQ(&SharedChoiceLists(), &lists);
}

TEST(ChoiceLists, ItemsOfTheSameNameShareOneList)
{
    GroupPtr group = MakeGroup(nullptr, LAYOUT_LINEAR, "g");
    ObjectPtr text = MakeObject(group.get(), OBJ_TEXT, "t");
    ObjectPtr button = MakeObject(nullptr, OBJ_BUTTON, "b");
    TekClass column(NodeType::HeaderColumn);
    BuildHeaderItems(column);
    ChoiceLists& lists = SharedChoiceLists();
    const ChoiceList* colours = &lists.colour;
    EXPECT_EQ(Item(*group, "BGColor").Choices(), colours);
    EXPECT_EQ(Item(*text, "BGColor").Choices(), colours);
    EXPECT_EQ(Item(*text, "TColor").Choices(), colours);
    EXPECT_EQ(Item(*button, "TColor").Choices(), colours);
    EXPECT_EQ(Item(column, "BGColor").Choices(), colours);
    lists.colour.push_back("ORANGE");
    EXPECT_EQ(Item(*button, "TColor").Choices()->back(), "ORANGE");
    lists.colour.pop_back();
    EXPECT_EQ(Item(*text, "OnClick").Choices(), &lists.command);
}

// --- Commands -------------------------------------------------------------------------------

TEST(CommandItems, Close)
{
    TekClass close(NodeType::Command);
    BuildCommandItems(close, "CLOSE", "OnClick");
    EXPECT_EQ(ItemNames(close), "Event,Command");
    EXPECT_EQ(close.GetItem("Event"), "OnClick");
    EXPECT_EQ(close.GetItem("Command"), "CLOSE");
    EXPECT_EQ(Item(close, "Event").Kind(), ItemKind::Fixed);
    EXPECT_EQ(Item(close, "Command").Kind(), ItemKind::Fixed);
}

TEST(CommandItems, Condition)
{
    TekClass condition(NodeType::Command);
    BuildCommandItems(condition, "CONDITION", "OnOpen");
    EXPECT_EQ(ItemNames(condition), "Event,Command,MakeCommand,Name,Alias");
    EXPECT_EQ(condition.GetItem("Command"), "NOTIFY");
    EXPECT_EQ(condition.GetItem("MakeCommand"), "CONDITION");
    EXPECT_EQ(Item(condition, "MakeCommand").Kind(), ItemKind::Fixed);
}

TEST(CommandItems, UpdateHas35DistinctItems)
{
    TekClass update(NodeType::Command);
    BuildCommandItems(update, "UPDATE", "OnClick");
    EXPECT_EQ(update.Items().Count(), 35);
    EXPECT_EQ(ItemNames(update),
              "Event,Command,MakeCommand,Name,Alias,Text,FileOff,FileOn,Attr,Data,Value,Min,Max,Width,Height,Weight,"
              "Padding,Margin,Hide,Disable,BGColor,TSize,TColor,TAlign,File,FileBase,FileActive,FileCursor,FileTop,"
              "FileThumb,FileSource,FilePath,CenterPosBase,CenterPosCursor,CenterPosTop");
    std::set<std::string> names;
    for (const auto& item : update.Items())
        EXPECT_TRUE(names.insert(item->Name()).second) << item->Name();
    EXPECT_EQ(update.GetItem("MakeCommand"), "UPDATE");
    EXPECT_EQ(Item(update, "Text").Kind(), ItemKind::Display);
    EXPECT_EQ(Item(update, "Data").Kind(), ItemKind::Data);
    EXPECT_EQ(Item(update, "Min").Kind(), ItemKind::Number);
    EXPECT_EQ(Item(update, "Hide").Kind(), ItemKind::Flag);
    EXPECT_EQ(Item(update, "Attr").Choices(), &SharedChoiceLists().attribute);
    EXPECT_EQ(Item(update, "TAlign").Choices(), &SharedChoiceLists().alignment);
    for (const auto& item : update.Items()) {
        if (item->Name() != "Event" && item->Name() != "Command" && item->Name() != "MakeCommand") {
            EXPECT_EQ(item->Value(), "") << item->Name();
        }
    }
}

TEST(CommandItems, CancelAndUnknownNamesGiveOnlyTheEvent)
{
    for (std::string name : {CancelChoice(), std::string("NOTIFY"), std::string("close"), std::string()}) {
        TekClass command(NodeType::Command);
        BuildCommandItems(command, name, "OnTimer");
        EXPECT_EQ(ItemNames(command), "Event") << name;
        EXPECT_EQ(command.GetItem("Event"), "OnTimer");
    }
}

TEST(CommandItems, FileItemsAreTextExceptForUpdate)
{
    for (const char* name : {"OPEN", "SOUND"}) {
        TekClass command(NodeType::Command);
        BuildCommandItems(command, name, "OnClick");
        EXPECT_EQ(ItemNames(command), "Event,Command,File,FileSource,FilePath") << name;
        EXPECT_EQ(command.GetItem("Command"), name);
        EXPECT_EQ(Item(command, "File").Kind(), ItemKind::FreeText);
        EXPECT_EQ(Item(command, "FileSource").Choices(), &SharedChoiceLists().source);
    }
    TekClass getfile(NodeType::Command);
    BuildCommandItems(getfile, "GETFILE", "OnClick");
    EXPECT_EQ(ItemNames(getfile), "Event,Command,SendCommand,File,FileSource,FilePath,ObjectName");
    EXPECT_EQ(getfile.GetItem("Command"), "SENDCOMMAND");
    EXPECT_EQ(getfile.GetItem("SendCommand"), "GETFILE");
    EXPECT_EQ(Item(getfile, "File").Kind(), ItemKind::FreeText);
    TekClass update(NodeType::Command);
    BuildCommandItems(update, "UPDATE", "OnClick");
    EXPECT_EQ(Item(update, "File").Kind(), ItemKind::Image);
}

TEST(CommandItems, OtherCommands)
{
    TekClass del(NodeType::Command);
    BuildCommandItems(del, "DELETE", "OnClick");
    EXPECT_EQ(ItemNames(del), "Event,Command,Name,Alias");
    TekClass timer(NodeType::Command);
    BuildCommandItems(timer, "TIMER", "OnOpen");
    EXPECT_EQ(ItemNames(timer), "Event,Command,Time");
    EXPECT_EQ(Item(timer, "Time").Kind(), ItemKind::Number);
    TekClass hello(NodeType::Command);
    BuildCommandItems(hello, "HELLO", "OnClose");
    EXPECT_EQ(ItemNames(hello), "Event,Command,SendCommand");
    EXPECT_EQ(hello.GetItem("SendCommand"), "HELLO");
}

} // namespace
} // namespace vesk
