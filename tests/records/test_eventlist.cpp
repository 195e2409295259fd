// Event members: grouping command nodes by event on writing, and reading command objects back.

#include <gtest/gtest.h>

#include "records/eventreader.h"
#include "model/jsonparser.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "../model/testsupport.h"

namespace vesk {
namespace {

using test::MakeCommand;
using test::Sjis;

/// Reads the members of an owner record text into a fresh object node.
std::shared_ptr<CObjectData> ReadOwner(std::string_view record)
{
    JsonParser parser;
    EXPECT_TRUE(parser.Parse(record)) << parser.ErrorText;
    auto owner = std::make_shared<CObjectData>(nullptr);
    ReadEventMembers(*owner, parser);
    return owner;
}

// --- Writing --------------------------------------------------------------------------------

TEST(WriteEventList, NoCommandsGiveNoText)
{
    EXPECT_EQ(WriteEventList({}, 1), "");
    CObjectData owner(nullptr);
    MakeCommand(owner, "CLOSE", "OnPaint");
    MakeCommand(owner, "CLOSE", "onclick");
    EXPECT_EQ(WriteEventList(owner.CommandList(), 1), "");
}

TEST(WriteEventList, TheExampleText)
{
    CObjectData owner(nullptr);
    TekPtr update = MakeCommand(owner, "UPDATE", "OnClick");
    update->SetItem("Name", "btn1");
    update->SetItem("Text", "OK");
    MakeCommand(owner, "OPEN", "OnOpen")->SetItem("File", "a.wav");
    MakeCommand(owner, "TIMER", "OnOpen")->SetItem("Time", "1000");
    EXPECT_EQ(WriteEventList(owner.CommandList(), 1),
              "\n\t'OnClick':{'Event':'OnClick','Command':'NOTIFY','MakeCommand':'UPDATE','Name':'btn1','Text':'OK'},"
              "\n\t'OnOpen':{'Commands':[{'Event':'OnOpen','Command':'OPEN','File':'a.wav'},"
              "{'Event':'OnOpen','Command':'TIMER','Time':1000}]}");
}

TEST(WriteEventList, EventsInFixedOrderCommandsInListOrder)
{
    CObjectData owner(nullptr);
    MakeCommand(owner, "CLOSE", "OnClose");
    MakeCommand(owner, "SOUND", "OnTimer")->SetItem("File", "1.wav");
    MakeCommand(owner, "HELLO", "OnClick");
    MakeCommand(owner, "SOUND", "OnTimer")->SetItem("File", "2.wav");
    MakeCommand(owner, "DELETE", "OnSlide")->SetItem("Alias", "x");
    EXPECT_EQ(WriteEventList(owner.CommandList(), 0),
              "\n'OnClick':{'Event':'OnClick','Command':'SENDCOMMAND','SendCommand':'HELLO'},"
              "\n'OnSlide':{'Event':'OnSlide','Command':'DELETE','Alias':'x'},"
              "\n'OnTimer':{'Commands':[{'Event':'OnTimer','Command':'SOUND','File':'1.wav'},"
              "{'Event':'OnTimer','Command':'SOUND','File':'2.wav'}]},"
              "\n'OnClose':{'Event':'OnClose','Command':'CLOSE'}");
}

TEST(WriteEventList, DepthSetsTheTabs)
{
    CObjectData owner(nullptr);
    MakeCommand(owner, "CLOSE", "OnTouch");
    MakeCommand(owner, "CLOSE", "OnRelease");
    EXPECT_EQ(WriteEventList(owner.CommandList(), 3), "\n\t\t\t'OnTouch':{'Event':'OnTouch','Command':'CLOSE'},"
                                                      "\n\t\t\t'OnRelease':{'Event':'OnRelease','Command':'CLOSE'}");
}

TEST(WriteEventList, CommandValuesAreEscapedAndDisplayTextIsUtf8)
{
    CObjectData owner(nullptr);
    TekPtr update = MakeCommand(owner, "UPDATE", "OnClick");
    update->SetItem("Name", Sjis("表"));
    update->SetItem("Text", Sjis("送信中…"));
    update->SetItem("Value", "it's");
    EXPECT_EQ(WriteEventList(owner.CommandList(), 0),
              "\n'OnClick':{'Event':'OnClick','Command':'NOTIFY','MakeCommand':'UPDATE','Name':'\x95\\\\',"
              "'Text':'送信中…','Value':'it\\u0027s'}");
}

// --- Reading --------------------------------------------------------------------------------

TEST(ReadEventCommand, OneCommandObject)
{
    auto owner = ReadOwner("{'OnClick':{'Event':'OnClick','Command':'OPEN','File':'Order','FileSource':'BUILTIN'}}");
    ASSERT_EQ(owner->CommandList().size(), 1u);
    const TekClass& command = *owner->CommandList()[0];
    EXPECT_EQ(command.Type(), NodeType::Command);
    EXPECT_EQ(test::ItemNames(command), "Event,Command,File,FileSource,FilePath");
    EXPECT_EQ(command.GetItem("Event"), "OnClick");
    EXPECT_EQ(command.GetItem("Command"), "OPEN");
    EXPECT_EQ(command.GetItem("File"), "Order");
    EXPECT_EQ(command.GetItem("FileSource"), "BUILTIN");
}

TEST(ReadEventCommand, CommandsArrayAttachesEachInOrder)
{
    auto owner = ReadOwner("{'OnOpen':{'Commands':[{'Event':'OnOpen','Command':'SOUND','File':'a.wav'},"
                           "{'Event':'OnOpen','Command':'TIMER','Time':1000},5,{'Event':'OnOpen'}]}}");
    ASSERT_EQ(owner->CommandList().size(), 2u);
    EXPECT_EQ(owner->CommandList()[0]->GetItem("Command"), "SOUND");
    EXPECT_EQ(owner->CommandList()[0]->GetItem("File"), "a.wav");
    EXPECT_EQ(owner->CommandList()[1]->GetItem("Command"), "TIMER");
    EXPECT_EQ(owner->CommandList()[1]->GetItem("Time"), "1000");
    // Written back, they form the same member.
    EXPECT_EQ(WriteEventList(owner->CommandList(), 0),
              "\n'OnOpen':{'Commands':[{'Event':'OnOpen','Command':'SOUND','File':'a.wav'},"
              "{'Event':'OnOpen','Command':'TIMER','Time':1000}]}");
}

TEST(ReadEventCommand, EventMembersAreReadInFixedOrder)
{
    auto owner = ReadOwner("{'OnClose':{'Event':'OnClose','Command':'CLOSE'},"
                           "'OnClick':{'Event':'OnClick','Command':'HELLO'},"
                           "'OnTimer':null,'OnSlide':'CLOSE','OnTouch':[{'Event':'OnTouch','Command':'CLOSE'}]}");
    ASSERT_EQ(owner->CommandList().size(), 2u);
    EXPECT_EQ(owner->CommandList()[0]->GetItem("Event"), "OnClick");
    EXPECT_EQ(owner->CommandList()[1]->GetItem("Event"), "OnClose");
}

TEST(ReadEventCommand, NotifyAndSendCommandFormsGiveTheRealCommand)
{
    auto owner = ReadOwner("{'OnClick':{'Commands':["
                           "{'Event':'OnClick','Command':'NOTIFY','MakeCommand':'CONDITION','Name':'a'},"
                           "{'Event':'OnClick','Command':'SENDCOMMAND','SendCommand':'GETFILE','File':'p.csv',"
                           "'ObjectName':'grid'},"
                           "{'Event':'OnClick','Command':'NOTIFY'},"
                           "{'Event':'OnClick','Command':'SENDCOMMAND','SendCommand':null}]}}");
    ASSERT_EQ(owner->CommandList().size(), 4u);
    const TekClass& condition = *owner->CommandList()[0];
    EXPECT_EQ(test::ItemNames(condition), "Event,Command,MakeCommand,Name,Alias");
    EXPECT_EQ(condition.GetItem("Command"), "NOTIFY");
    EXPECT_EQ(condition.GetItem("MakeCommand"), "CONDITION");
    EXPECT_EQ(condition.GetItem("Name"), "a");
    const TekClass& getfile = *owner->CommandList()[1];
    EXPECT_EQ(test::ItemNames(getfile), "Event,Command,SendCommand,File,FileSource,FilePath,ObjectName");
    EXPECT_EQ(getfile.GetItem("SendCommand"), "GETFILE");
    EXPECT_EQ(getfile.GetItem("File"), "p.csv");
    EXPECT_EQ(getfile.GetItem("ObjectName"), "grid");
    // Without the real name there is no item set for the command: only 'Event' remains.
    EXPECT_EQ(test::ItemNames(*owner->CommandList()[2]), "Event");
    EXPECT_EQ(test::ItemNames(*owner->CommandList()[3]), "Event");
}

TEST(ReadEventCommand, WithoutCommandNothingIsCreated)
{
    auto owner = ReadOwner("{'OnClick':{'Event':'OnClick','Name':'x'},'OnOpen':{'Event':'OnOpen','Command':''},"
                           "'OnClose':{'Event':'OnClose','Command':null}}");
    EXPECT_TRUE(owner->CommandList().empty());
}

TEST(ReadEventCommand, TheCommandObjectsOwnEventDecides)
{
    auto owner = ReadOwner("{'OnClick':{'Event':'OnOpen','Command':'CLOSE'},'OnTimer':{'Command':'CLOSE'}}");
    ASSERT_EQ(owner->CommandList().size(), 2u);
    EXPECT_EQ(owner->CommandList()[0]->GetItem("Event"), "OnOpen");
    EXPECT_EQ(owner->CommandList()[1]->GetItem("Event"), "");
    // The one without an event is not written back.
    EXPECT_EQ(WriteEventList(owner->CommandList(), 0), "\n'OnOpen':{'Event':'OnOpen','Command':'CLOSE'}");
}

TEST(ReadEventCommand, ItemsOfTheCommandAreReadOthersDropped)
{
    auto owner = ReadOwner("{'OnClick':{'Event':'OnClick','Command':'NOTIFY','MakeCommand':'UPDATE',"
                           "'Alias':'grp','Time':5,'Min':1,'Data':['a',1],'Hide':true,'Foo':'bar'}}");
    ASSERT_EQ(owner->CommandList().size(), 1u);
    const TekClass& update = *owner->CommandList()[0];
    EXPECT_EQ(update.Items().Count(), 35);
    EXPECT_EQ(update.GetItem("Name"), "");
    EXPECT_EQ(update.GetItem("Alias"), "grp");
    EXPECT_EQ(update.GetItem("Data"), "['a',1]");
    EXPECT_EQ(update.GetItem("Hide"), "true");
    // Every update item is read back; 'Time' and 'Foo' have no item in an UPDATE.
    EXPECT_EQ(update.GetItem("Min"), "1");
    EXPECT_EQ(update.Items().Find("Time"), nullptr);
    EXPECT_EQ(update.Items().Find("Foo"), nullptr);
}

TEST(ReadEventCommand, ValuesArriveAsShiftJisFromEitherEncoding)
{
    const std::string sending = Sjis("送信中…");
    const std::string table = Sjis("表");
    auto owner = ReadOwner("{'OnClick':{'Commands':[{'Event':'OnClick','Command':'NOTIFY','MakeCommand':'UPDATE',"
                           "'Name':'表','Text':'送信中…'},"
                           "{'Event':'OnClick','Command':'NOTIFY','MakeCommand':'UPDATE','Name':'" +
                           Sjis("ラベル") + "','Text':'" + sending + "'}]}}");
    ASSERT_EQ(owner->CommandList().size(), 2u);
    EXPECT_EQ(owner->CommandList()[0]->GetItem("Name"), table);
    EXPECT_EQ(owner->CommandList()[0]->GetItem("Text"), sending);
    EXPECT_EQ(owner->CommandList()[1]->GetItem("Name"), Sjis("ラベル"));
    EXPECT_EQ(owner->CommandList()[1]->GetItem("Text"), sending);
}

TEST(ReadEventCommand, DialogCommandsAttachToTheDialog)
{
    JsonParser parser;
    ASSERT_TRUE(parser.Parse("{'OnOpen':{'Event':'OnOpen','Command':'OPEN'},'OnTimer':{'Event':'OnTimer',"
                             "'Command':'TIMER','Time':500}}"));
    CTekDialogData dialog("d", nullptr);
    const JsonValue* before = parser.Cursor();
    ReadEventMembers(dialog, parser);
    EXPECT_EQ(parser.Cursor(), before);
    ASSERT_EQ(dialog.Commands().size(), 2u);
    EXPECT_EQ(dialog.Commands()[0]->GetItem("Event"), "OnTimer");
    EXPECT_EQ(dialog.Commands()[1]->GetItem("Event"), "OnOpen");
}

} // namespace
} // namespace vesk
