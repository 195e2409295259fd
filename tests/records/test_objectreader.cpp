// Reading group and object records into nodes.

#include <gtest/gtest.h>

#include "model/jsonparser.h"
#include "records/objectreader.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "objects/objectdata.h"
#include "../model/testsupport.h"

namespace vesk {
namespace {

using test::ItemNames;
using test::Sjis;

ObjectPtr Read(std::string_view record, CObjectDataList* parent = nullptr)
{
    JsonParser parser;
    EXPECT_TRUE(parser.Parse(record)) << parser.ErrorText;
    return ReadObjectRecord(parent, parser);
}

const CObjectDataList& AsGroup(const ObjectPtr& node)
{
    EXPECT_TRUE(node->IsGroup());
    return static_cast<const CObjectDataList&>(*node);
}

std::string RecordText(const CObjectData& node, int depth = 0)
{
    CJsonString text;
    node.WriteRecord(text, depth);
    return text.Text();
}

TEST(ReadObjectRecord, GroupWithEmptyObjectsHasNoChildren)
{
    ObjectPtr node = Read("{'Name':'g','Type':'GROUP','Layout':'LINEAR','Objects':[]}");
    const CObjectDataList& group = AsGroup(node);
    EXPECT_EQ(group.Type(), NodeType::Group);
    EXPECT_EQ(group.ChildCount(), 0);
    EXPECT_EQ(group.GetItem("Name"), "g");
    EXPECT_EQ(group.GetItem("Layout"), "LINEAR");
    EXPECT_EQ(ItemNames(group), "Name,Type,Layout,Width,Height,Weight,Padding,Margin,Hide,Disable,BGColor,Align,"
                                "Vertical,NotifyList");
}

TEST(ReadObjectRecord, RecordWithoutObjectsOrObjectIsAnObject)
{
    ObjectPtr node = Read("{'Name':'b','Type':'BUTTON','Text':'OK','Objects':5}");
    EXPECT_FALSE(node->IsGroup());
    EXPECT_EQ(node->Type(), NodeType::Object);
    EXPECT_EQ(node->GetItem("Type"), "BUTTON");
    EXPECT_EQ(node->GetItem("Text"), "OK");
    EXPECT_EQ(node->GetItem("NotifyList"), "Name,Text,Attr");
}

TEST(ReadObjectRecord, ObjectMemberMakesTheRecordAGroupReadFromIt)
{
    ObjectPtr node = Read("{'Command':'DIALOG','Name':'D','Object':{'Name':'root','Layout':'FRAME','Objects':["
                          "{'Name':'p','Type':'PICTURE'}]}}");
    const CObjectDataList& group = AsGroup(node);
    EXPECT_EQ(group.GetItem("Name"), "root");
    EXPECT_EQ(group.GetItem("Layout"), "FRAME");
    ASSERT_EQ(group.ChildCount(), 1);
    EXPECT_EQ(group.ChildAt(0).GetItem("Name"), "p");
    EXPECT_EQ(group.ChildAt(0).ParentGroup(), &group);
    // A child of a FRAME gets the position items.
    EXPECT_NE(group.ChildAt(0).Items().Find("PosX"), nullptr);

    // An 'Object' member without 'Objects' is a group with no children.
    ObjectPtr empty = Read("{'Object':{'Name':'e','Layout':'LINEAR'}}");
    EXPECT_EQ(AsGroup(empty).ChildCount(), 0);
    EXPECT_EQ(empty->GetItem("Name"), "e");
}

TEST(ReadObjectRecord, DialogWithoutObjectGetsAnObjectRoot)
{
    CTekResourceData resource;
    ASSERT_TRUE(ReadResourceText(resource, "{'Commands':[{'Command':'DIALOG','Name':'D','Type':'BUTTON',"
                                           "'Text':'x'}]}"));
    const CTekDialogData& dialog = resource.Dialogs().At(0);
    ASSERT_NE(dialog.RootObject(), nullptr);
    EXPECT_EQ(dialog.RootGroup(), nullptr);
    EXPECT_FALSE(dialog.RootObject()->IsGroup());
    EXPECT_EQ(dialog.RootObject()->GetItem("Type"), "BUTTON");
    EXPECT_EQ(dialog.RootObject()->GetItem("Name"), "D");
    EXPECT_EQ(dialog.RootObject()->GetItem("Text"), "x");
    // It is written as the dialog's 'Object' and reads back the same way.
    CJsonString text;
    WriteResource(resource, text, "");
    EXPECT_NE(text.Text().find(",'Object':\n\t\t{'Name':'D','Type':'BUTTON','Text':'x',"), std::string::npos)
        << text.Text();
}

TEST(ReadObjectRecord, ChildrenAreAppendedWithTheirParent)
{
    ObjectPtr node = Read("{'Name':'root','Layout':'LINEAR','Objects':["
                          "{'Name':'a','Type':'TEXT'},"
                          "{'Name':'row','Layout':'TABLEROW','Objects':[{'Name':'c','Type':'CHECKBOX'}]},"
                          "7,"
                          "{'Name':'d','Type':'EDIT'}]}");
    const CObjectDataList& root = AsGroup(node);
    ASSERT_EQ(root.ChildCount(), 4);
    EXPECT_EQ(root.ChildAt(0).GetItem("Name"), "a");
    const CObjectDataList& row = AsGroup(root.ChildPtrAt(1));
    EXPECT_EQ(row.ParentGroup(), &root);
    ASSERT_EQ(row.ChildCount(), 1);
    EXPECT_EQ(row.ChildAt(0).ParentGroup(), &row);
    // A CHECKBOX in a TABLEROW gets Stretch, Wrap and Span.
    EXPECT_NE(row.ChildAt(0).Items().Find("Span"), nullptr);
    // A non-object element is read as an object with nothing in it.
    EXPECT_EQ(root.ChildAt(2).GetItem("Type"), "");
    EXPECT_EQ(root.ChildAt(3).GetItem("Name"), "d");
    EXPECT_EQ(root.ChildAt(3).ParentGroup(), &root);

    // With a parent the node is appended to it.
    GroupPtr parent = test::MakeGroup(nullptr, LAYOUT_LINEAR, "p");
    ObjectPtr child = Read("{'Name':'x','Type':'TEXT'}", parent.get());
    ASSERT_EQ(parent->ChildCount(), 1);
    EXPECT_EQ(parent->ChildPtrAt(0), child);
    EXPECT_EQ(child->ParentGroup(), parent.get());
}

TEST(ReadObjectRecord, OldImageKeysGoToFileBaseAndFileActive)
{
    ObjectPtr progress = Read("{'Type':'PROGRESS','FileOff':'base.png','FileOn':'active.png'}");
    EXPECT_EQ(progress->GetItem("FileBase"), "base.png");
    EXPECT_EQ(progress->GetItem("FileActive"), "active.png");
    EXPECT_EQ(progress->Items().Find("FileOff"), nullptr);
    EXPECT_EQ(progress->Items().Find("FileOn"), nullptr);

    ObjectPtr button = Read("{'Type':'BUTTON','FileOff':'off.png','FileOn':'on.png'}");
    EXPECT_EQ(button->GetItem("FileOff"), "off.png");
    EXPECT_EQ(button->GetItem("FileOn"), "on.png");
    EXPECT_EQ(button->Items().Find("FileBase"), nullptr);

    // A TEXT has neither: the old names become new items of their own.
    ObjectPtr text = Read("{'Type':'TEXT','FileOff':'off.png'}");
    ASSERT_NE(text->Items().Find("FileOff"), nullptr);
    EXPECT_EQ(text->Items().Find("FileOff")->Kind(), ItemKind::FreeText);
    EXPECT_EQ(text->GetItem("FileOff"), "off.png");
}

TEST(ReadObjectRecord, UnlistedKeysAreLostListedOnesWithoutItemAreAdded)
{
    ObjectPtr button = Read("{'Type':'BUTTON','Name':'b','Foo':'x','Min':3,'RadioName':'r','Data':[1]}");
    EXPECT_EQ(button->Items().Find("Foo"), nullptr);
    const int count = button->Items().Count();
    ASSERT_EQ(count, 23 + 3);
    // Added in the order of the reader's key list.
    EXPECT_EQ(button->Items().At(23).Name(), "RadioName");
    EXPECT_EQ(button->Items().At(24).Name(), "Min");
    EXPECT_EQ(button->Items().At(25).Name(), "Data");
    EXPECT_EQ(button->Items().At(24).Kind(), ItemKind::FreeText);
    EXPECT_EQ(button->GetItem("Min"), "3");
    EXPECT_EQ(button->GetItem("Data"), "[1]");
    EXPECT_EQ(RecordText(*button), "{'Name':'b','Type':'BUTTON','NotifyList':'Name,Text,Attr','RadioName':'r',"
                                   "'Min':'3','Data':'[1]'}");
}

TEST(ReadObjectRecord, AddedItemsFollowTheKeyListWhateverTheRecordsOrder)
{
    // The reader's list has Vertical after Max and before Columns; the record's order is not used.
    for (const char* record : {"{'Type':'BUTTON','Columns':'2','Vertical':true,'Max':'9','PosY':1,'PosX':2}",
                               "{'PosX':2,'Max':'9','Vertical':true,'Type':'BUTTON','PosY':1,'Columns':'2'}"}) {
        ObjectPtr button = Read(record);
        const int count = button->Items().Count();
        ASSERT_EQ(count, 23 + 5) << record;
        std::string added;
        for (int i = 23; i < count; ++i)
            added += button->Items().At(i).Name() + ",";
        EXPECT_EQ(added, "PosX,PosY,Max,Vertical,Columns,") << record;
        EXPECT_EQ(button->GetItem("Vertical"), "true");
    }
    ObjectPtr group = Read("{'NotifyList':'n','Disable':true,'Hide':true,'Value':'v','Layout':'FRAME','Objects':[]}");
    EXPECT_EQ(group->GetItem("Hide"), "true");
    EXPECT_EQ(group->GetItem("Value"), "v");
}

TEST(ReadObjectRecord, GroupKeysNotInTheSetAreAdded)
{
    ObjectPtr node = Read("{'Layout':'LINEAR','Alias':'a','Value':'v','Text':'lost','Objects':[]}");
    EXPECT_EQ(ItemNames(*node), "Name,Type,Layout,Width,Height,Weight,Padding,Margin,Hide,Disable,BGColor,Align,"
                                "Vertical,NotifyList,Alias,Value");
    EXPECT_EQ(node->GetItem("Alias"), "a");
    ObjectPtr radio = Read("{'Layout':'RADIO','Alias':'pay','Objects':[]}");
    EXPECT_EQ(radio->Items().At(1).Name(), "Alias");
    EXPECT_EQ(radio->GetItem("Alias"), "pay");
}

TEST(ReadObjectRecord, TypeAndLayoutTextsAreKeptEvenWhenUnknown)
{
    ObjectPtr object = Read("{'Name':'o','Type':'SPINNER'}");
    EXPECT_EQ(object->GetItem("Type"), "SPINNER");
    EXPECT_EQ(object->ObjectTypeCode(), -1);
    EXPECT_EQ(object->Items().Find("NotifyList"), nullptr);
    EXPECT_NE(object->Items().Find("OnClick"), nullptr);

    ObjectPtr untyped = Read("{'Name':'o'}");
    EXPECT_EQ(untyped->GetItem("Type"), "");

    ObjectPtr group = Read("{'Name':'g','Objects':[]}");
    EXPECT_EQ(group->GetItem("Layout"), "");
    EXPECT_EQ(AsGroup(group).LayoutCode(), -1);
    EXPECT_EQ(group->GetItem("Type"), "GROUP");

    ObjectPtr lower = Read("{'Layout':'linear','Objects':[]}");
    EXPECT_EQ(AsGroup(lower).LayoutCode(), -1);
    EXPECT_EQ(lower->GetItem("Layout"), "linear");
}

TEST(ReadObjectRecord, GridHeaderColumnsSetColumns)
{
    ObjectPtr grid = Read("{'Name':'gr','Type':'GRID','Columns':'7','Header':["
                          "{'TSize':'12','TAlign':'LEFT','BGColor':'LTGRAY'},"
                          "{'TSize':12,'TColor':null,'Foo':1},"
                          "{'Clickable':true,'Margin':'1,1,1,1','TColor':'RED'}]}");
    EXPECT_EQ(grid->GetItem("Columns"), "3");
    ASSERT_EQ(grid->HeaderColumns().size(), 3u);
    const TekClass& first = *grid->HeaderColumns()[0];
    EXPECT_EQ(first.Type(), NodeType::HeaderColumn);
    EXPECT_EQ(ItemNames(first), "TSize,TColor,TAlign,Margin,BGColor,Clickable");
    EXPECT_EQ(first.GetItem("TSize"), "12");
    EXPECT_EQ(first.GetItem("TAlign"), "LEFT");
    EXPECT_EQ(first.GetItem("TColor"), "");
    const TekClass& second = *grid->HeaderColumns()[1];
    EXPECT_EQ(second.GetItem("TSize"), "12");
    EXPECT_EQ(second.GetItem("TColor"), "");
    EXPECT_EQ(second.Items().Find("Foo"), nullptr);
    const TekClass& third = *grid->HeaderColumns()[2];
    EXPECT_EQ(third.GetItem("Clickable"), "true");
    EXPECT_EQ(third.GetItem("Margin"), "1,1,1,1");
    EXPECT_EQ(third.GetItem("TColor"), "RED");
}

TEST(ReadObjectRecord, HeaderOnlyCountsForAGridWithColumns)
{
    ObjectPtr emptyHeader = Read("{'Type':'GRID','Columns':'2','Header':[]}");
    EXPECT_EQ(emptyHeader->GetItem("Columns"), "2");
    EXPECT_TRUE(emptyHeader->HeaderColumns().empty());
    ObjectPtr notArray = Read("{'Type':'GRID','Columns':'2','Header':{'TSize':'1'}}");
    EXPECT_EQ(notArray->GetItem("Columns"), "2");
    ObjectPtr pulldown = Read("{'Type':'PULLDOWN','Header':[{'TSize':'1'}]}");
    EXPECT_TRUE(pulldown->HeaderColumns().empty());
    ObjectPtr group = Read("{'Type':'GRID','Objects':[],'Header':[{'TSize':'1'}]}");
    EXPECT_TRUE(group->HeaderColumns().empty());
}

TEST(ReadObjectRecord, EventsOfGroupsAndObjectsAreRead)
{
    ObjectPtr node = Read("{'Layout':'LINEAR','OnClick':{'Event':'OnClick','Command':'CLOSE'},'Objects':["
                          "{'Type':'SLIDEBAR','OnSlide':{'Event':'OnSlide','Command':'NOTIFY',"
                          "'MakeCommand':'CONDITION','Name':'v'},"
                          "'OnRelease':{'Event':'OnRelease','Command':'SOUND','File':'c.wav'}}]}");
    ASSERT_EQ(node->CommandList().size(), 1u);
    EXPECT_EQ(node->CommandList()[0]->GetItem("Command"), "CLOSE");
    const CObjectData& slider = AsGroup(node).ChildAt(0);
    ASSERT_EQ(slider.CommandList().size(), 2u);
    EXPECT_EQ(slider.CommandList()[0]->GetItem("MakeCommand"), "CONDITION");
    EXPECT_EQ(slider.CommandList()[1]->GetItem("File"), "c.wav");
}

TEST(ReadObjectRecord, Utf8AndShiftJisValuesBothArriveAsShiftJis)
{
    const std::string menu = Sjis("メインメニュー");
    ObjectPtr fromUtf8 = Read("{'Type':'TEXT','Name':'見出し','Text':'メインメニュー','Align':'x'}");
    ObjectPtr fromShiftJis = Read("{'Type':'TEXT','Name':'" + Sjis("見出し") + "','Text':'" + menu + "'}");
    EXPECT_EQ(fromUtf8->GetItem("Text"), menu);
    EXPECT_EQ(fromShiftJis->GetItem("Text"), menu);
    EXPECT_EQ(fromUtf8->GetItem("Name"), Sjis("見出し"));
    EXPECT_EQ(fromShiftJis->GetItem("Name"), Sjis("見出し"));
    ObjectPtr group = Read("{'Layout':'LINEAR','Name':'グループ','Objects':[]}");
    EXPECT_EQ(group->GetItem("Name"), Sjis("グループ"));
    // Header column values are taken as they are.
    ObjectPtr grid = Read("{'Type':'GRID','Header':[{'BGColor':'赤'}]}");
    EXPECT_EQ(grid->HeaderColumns()[0]->GetItem("BGColor"), "赤");
}

TEST(ReadObjectRecord, ValuesOfOtherKindsComeAsTheirCompactText)
{
    ObjectPtr grid = Read("{'Type':'GRID','Data':[['A','1'],{'b':2,'a':1.5}],'Weight':2,'Hide':false,"
                          "'ColumnHeight':12.25}");
    EXPECT_EQ(grid->GetItem("Data"), "[['A','1'],{'a':1.500000,'b':2}]");
    EXPECT_EQ(grid->GetItem("Weight"), "2");
    EXPECT_EQ(grid->GetItem("Hide"), "false");
    EXPECT_EQ(grid->GetItem("ColumnHeight"), "12.250000");
}

} // namespace
} // namespace vesk
