// The resource record and the DIALOG record: writing them, reading them back, and saving and
// loading files.

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/jsonparser.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "model/savefile.h"
#include "objects/objectdata.h"
#include "../model/testsupport.h"

namespace vesk {
namespace {

using test::MakeCommand;
using test::MakeGroup;
using test::MakeObject;
using test::ReadBytes;
using test::Sjis;
using test::TempDir;
using test::WriteBytes;

std::string Written(const CTekResourceData& resource, std::string_view dialogName = {})
{
    CJsonString text;
    WriteResource(resource, text, dialogName);
    return text.Text();
}

/// Adds a dialog with an empty LINEAR root group named after the dialog.
CTekDialogData& AddDialogWithRoot(CTekResourceData& resource, const std::string& name)
{
    CTekDialogData& dialog = resource.Dialogs().AddDialog(name);
    dialog.SetRoot(MakeGroup(nullptr, LAYOUT_LINEAR, name + "Root"));
    return dialog;
}

std::string EmptyRootRecord(const std::string& name)
{
    return "\t\t{'Name':'" + name + "Root','Type':'GROUP','Layout':'LINEAR','NotifyList':'Name','Objects':[\n\t\t]}";
}

std::string DialogRecord(const std::string& name)
{
    return "\t{'Command':'DIALOG','Name':'" + name + "','Object':\n" + EmptyRootRecord(name) + "\n\t}";
}

// --- Writing --------------------------------------------------------------------------------

TEST(WriteResource, EmptyResource)
{
    CTekResourceData resource;
    EXPECT_EQ(Written(resource), "{'Commands':[\n\n]}\n");
}

TEST(WriteResource, ResourceItemsComeFirstAndEmptyOnesAreLeftOut)
{
    CTekResourceData resource;
    resource.SetItem("Name", "Demo");
    resource.SetItem("DeviceWidth", "480");
    EXPECT_EQ(Written(resource), "{'Name':'Demo','DeviceWidth':480,'Commands':[\n\n]}\n");
    resource.SetItem("DeviceHeight", "800");
    EXPECT_EQ(Written(resource), "{'Name':'Demo','DeviceWidth':480,'DeviceHeight':800,'Commands':[\n\n]}\n");
}

TEST(WriteResource, TheExampleProjectForm)
{
    CTekResourceData resource;
    resource.SetItem("Name", "Demo");
    resource.SetItem("DeviceWidth", "480");
    resource.SetItem("DeviceHeight", "800");
    CTekDialogData& main = AddDialogWithRoot(resource, "Main");
    main.SetItem("TemplateType", "None");
    MakeCommand(main, "OPEN", "OnOpen")->SetItem("File", "a.wav");
    EXPECT_EQ(Written(resource), "{'Name':'Demo','DeviceWidth':480,'DeviceHeight':800,'Commands':[\n"
                                 "\t{'Command':'DIALOG','Name':'Main','TemplateType':'None',\n"
                                 "\t'OnOpen':{'Event':'OnOpen','Command':'OPEN','File':'a.wav'}\n"
                                 "\t,'Object':\n" +
                                     EmptyRootRecord("Main") +
                                     "\n"
                                     "\t}\n"
                                     "]}\n");
}

TEST(WriteResource, DialogItemsInOrderAndTheirBareKinds)
{
    CTekResourceData resource;
    CTekDialogData& main = AddDialogWithRoot(resource, "Main");
    main.SetItem("OnTimer", "TIMER");
    main.SetItem("TargetLayoutHeight", "160");
    main.SetItem("TargetLayoutWidth", "100");
    main.SetOrAddItem("DeviceWidth", "480");
    EXPECT_EQ(Written(resource), "{'Commands':[\n"
                                 "\t{'Command':'DIALOG','Name':'Main','TargetLayoutWidth':100,"
                                 "'TargetLayoutHeight':160,'OnTimer':'TIMER','DeviceWidth':'480','Object':\n" +
                                     EmptyRootRecord("Main") + "\n\t}\n]}\n");
}

TEST(WriteResource, DialogsAreSeparatedAndFilteredByName)
{
    CTekResourceData resource;
    resource.SetItem("Name", "P");
    AddDialogWithRoot(resource, "A");
    AddDialogWithRoot(resource, "B");
    EXPECT_EQ(Written(resource),
              "{'Name':'P','Commands':[\n" + DialogRecord("A") + ",\n" + DialogRecord("B") + "\n]}\n");
    EXPECT_EQ(Written(resource, "B"), "{'Name':'P','Commands':[\n" + DialogRecord("B") + "\n]}\n");
    EXPECT_EQ(Written(resource, "Nope"), "{'Name':'P','Commands':[\n\n]}\n");
}

TEST(WriteResource, DialogWithoutRootWritesNothingAndNoSeparator)
{
    CTekResourceData resource;
    resource.Dialogs().AddDialog("Bare");
    AddDialogWithRoot(resource, "B");
    resource.Dialogs().AddDialog("Bare2");
    EXPECT_EQ(Written(resource), "{'Commands':[\n" + DialogRecord("B") + "\n]}\n");
    CJsonString text;
    EXPECT_FALSE(WriteDialog(resource.Dialogs().At(0), text, 1));
    EXPECT_EQ(text.Text(), "");
    EXPECT_TRUE(WriteDialog(resource.Dialogs().At(1), text, 0));
    EXPECT_EQ(text.Text(), "{'Command':'DIALOG','Name':'B','Object':\n"
                           "\t{'Name':'BRoot','Type':'GROUP','Layout':'LINEAR','NotifyList':'Name','Objects':[\n"
                           "\t]}\n}");
}

TEST(WriteResource, CommandsWithUnknownEventsLeaveNoEventPart)
{
    CTekResourceData resource;
    CTekDialogData& main = AddDialogWithRoot(resource, "Main");
    MakeCommand(main, "CLOSE", "OnNothing");
    EXPECT_EQ(Written(resource), "{'Commands':[\n" + DialogRecord("Main") + "\n]}\n");
}

TEST(WriteResource, JapaneseDialogNameIsKeptAsShiftJis)
{
    CTekResourceData resource;
    const std::string name = Sjis("注文画面");
    AddDialogWithRoot(resource, name);
    std::string text = Written(resource, name);
    EXPECT_NE(text.find("'Name':'" + name + "'"), std::string::npos);
}

// --- Reading --------------------------------------------------------------------------------

TEST(ReadResource, ResourceItemsAndDialogs)
{
    CTekResourceData resource;
    std::string error;
    ASSERT_TRUE(ReadResourceText(resource,
                                 "{'Name':'Demo','DeviceWidth':480,'DeviceHeight':800.0,'Commands':[\n"
                                 "{'Command':'DIALOG','Name':'Main','TemplateType':'None','TargetLayoutWidth':100,"
                                 "'Object':{'Name':'root','Layout':'LINEAR','Objects':[]}}]}",
                                 &error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(resource.GetItem("Name"), "Demo");
    EXPECT_EQ(resource.GetItem("DeviceWidth"), "480");
    EXPECT_EQ(resource.GetItem("DeviceHeight"), "800.000000");
    EXPECT_EQ(resource.Items().Count(), 3);
    ASSERT_EQ(resource.Dialogs().Count(), 1);
    const CTekDialogData& main = resource.Dialogs().At(0);
    EXPECT_EQ(main.GetItem("Name"), "Main");
    EXPECT_EQ(main.GetItem("TemplateType"), "None");
    EXPECT_EQ(main.GetItem("TargetLayoutWidth"), "100");
    ASSERT_NE(main.RootGroup(), nullptr);
    EXPECT_EQ(main.RootGroup()->GetItem("Name"), "root");
    EXPECT_EQ(main.RootGroup()->ChildCount(), 0);
    EXPECT_EQ(main.RootGroup()->ParentGroup(), nullptr);
}

TEST(ReadResource, UnknownResourceMemberBecomesQuotedItem)
{
    CTekResourceData resource;
    ASSERT_TRUE(ReadResourceText(resource, "{'Foo':5,'Bar':[1,'x'],'Commands':[]}"));
    ASSERT_EQ(resource.Items().Count(), 5);
    // Members are taken in key order.
    EXPECT_EQ(resource.Items().At(3).Name(), "Bar");
    EXPECT_EQ(resource.Items().At(3).Value(), "[1,'x']");
    EXPECT_EQ(resource.Items().At(4).Name(), "Foo");
    EXPECT_EQ(resource.Items().At(4).Kind(), ItemKind::FreeText);
    EXPECT_EQ(resource.GetItem("Foo"), "5");
    EXPECT_EQ(Written(resource), "{'Bar':'[1,\\u0027x\\u0027]','Foo':'5','Commands':[\n\n]}\n");
}

TEST(ReadResource, EventMembersCommandAndNullAreNotResourceItems)
{
    CTekResourceData resource;
    resource.SetItem("Name", "Kept");
    ASSERT_TRUE(ReadResourceText(resource, "{'Name':null,'OnOpen':{'Event':'OnOpen','Command':'CLOSE'},"
                                           "'OnClick':'x','Commands':[]}"));
    EXPECT_EQ(resource.GetItem("Name"), "Kept");
    EXPECT_EQ(test::ItemNames(resource), "Name,DeviceWidth,DeviceHeight");
}

TEST(ReadResource, EmptyCommandsAddsNothing)
{
    CTekResourceData resource;
    EXPECT_TRUE(ReadResourceText(resource, "{'Commands':[]}"));
    EXPECT_EQ(resource.Dialogs().Count(), 0);
    EXPECT_EQ(test::DumpResource(resource), test::DumpResource(CTekResourceData()));
}

TEST(ReadResource, TopLevelDialogRecordLoadsAsOneDialog)
{
    CTekResourceData resource;
    ASSERT_TRUE(ReadResourceText(resource, "{'Command':'DIALOG','Name':'Solo','OnOpen':{'Event':'OnOpen',"
                                           "'Command':'CLOSE'},'Object':{'Layout':'FRAME','Objects':[]}}"));
    ASSERT_EQ(resource.Dialogs().Count(), 1);
    const CTekDialogData& solo = resource.Dialogs().At(0);
    EXPECT_EQ(solo.GetItem("Name"), "Solo");
    ASSERT_EQ(solo.Commands().size(), 1u);
    EXPECT_EQ(solo.Commands()[0]->GetItem("Command"), "CLOSE");
    ASSERT_NE(solo.RootGroup(), nullptr);
    EXPECT_EQ(solo.RootGroup()->GetItem("Layout"), "FRAME");
}

TEST(ReadResource, DialogMembersBecomeDialogItems)
{
    CTekResourceData resource;
    ASSERT_TRUE(ReadResourceText(resource, "{'Commands':[{'Command':'DIALOG','Name':'D','DeviceWidth':480,"
                                           "'TemplateType':'Shared','Commands':[1],'Object':{'Objects':[]}}]}"));
    const CTekDialogData& dialog = resource.Dialogs().At(0);
    EXPECT_EQ(test::ItemNames(dialog),
              "Name,TemplateType,TargetLayoutWidth,TargetLayoutHeight,OnOpen,OnClose,OnTimer,DeviceWidth");
    EXPECT_EQ(dialog.Items().At(7).Kind(), ItemKind::FreeText);
    EXPECT_EQ(dialog.GetItem("DeviceWidth"), "480");
    EXPECT_EQ(dialog.GetItem("TemplateType"), "Shared");
    std::string text = Written(resource);
    EXPECT_NE(text.find("'TemplateType':'Shared','DeviceWidth':'480','Object':"), std::string::npos) << text;
}

TEST(ReadResource, DialogNamesAreMadeUniqueWhileLoading)
{
    CTekResourceData resource;
    AddDialogWithRoot(resource, "Main");
    resource.SetItem("Name", "Old");
    resource.SetItem("DeviceWidth", "320");
    ASSERT_TRUE(ReadResourceText(resource, "{'Name':'New','Commands':[{'Command':'DIALOG','Name':'Main'},"
                                           "{'Command':'DIALOG','Name':'Main'},{'Command':'DIALOG'}]}"));
    ASSERT_EQ(resource.Dialogs().Count(), 4);
    EXPECT_EQ(resource.Dialogs().At(0).GetItem("Name"), "Main");
    EXPECT_EQ(resource.Dialogs().At(1).GetItem("Name"), "Main2");
    EXPECT_EQ(resource.Dialogs().At(2).GetItem("Name"), "Main3");
    EXPECT_EQ(resource.Dialogs().At(3).GetItem("Name"), "");
    EXPECT_EQ(resource.GetItem("Name"), "New");
    EXPECT_EQ(resource.GetItem("DeviceWidth"), "320");
}

TEST(ReadResource, OtherCommandRecordsAreIgnored)
{
    CTekResourceData resource;
    ASSERT_TRUE(ReadResourceText(resource, "{'Commands':[5,'x',null,{'Name':'NoCommand'},"
                                           "{'Command':'HELLO','OS':'x','ResolutionH':480},"
                                           "{'Command':'CHANGE','Dialog':{'Name':'D'}},"
                                           "{'Command':'CONDITION','Objects':[{'Name':'a'}]},"
                                           "{'Command':'KEEPALIVE'},"
                                           "{'Command':'DIALOG','Name':'Only'}]}"));
    ASSERT_EQ(resource.Dialogs().Count(), 1);
    EXPECT_EQ(resource.Dialogs().At(0).GetItem("Name"), "Only");
}

TEST(ReadResource, CommandRecordAnswers)
{
    struct Case {
        const char* text;
        bool answer;
    } cases[] = {
        {"{'Command':'HELLO'}", true},  {"{'Command':'CHANGE'}", true},     {"{'Command':'CONDITION'}", true},
        {"{'Command':'DIALOG'}", true}, {"{'Command':'KEEPALIVE'}", false}, {"{'Command':'dialog'}", false},
        {"{'Name':'x'}", false},
    };
    for (const Case& c : cases) {
        CTekResourceData resource;
        JsonParser parser;
        ASSERT_TRUE(parser.Parse(c.text));
        EXPECT_EQ(ReadCommandRecord(resource, parser), c.answer) << c.text;
    }
}

TEST(ReadResource, OnOpenItemAndOnOpenCommandsBothWrittenEventWins)
{
    CTekResourceData resource;
    CTekDialogData& main = AddDialogWithRoot(resource, "Main");
    main.SetItem("OnOpen", "OPEN");
    MakeCommand(main, "CLOSE", "OnOpen");
    std::string text = Written(resource);
    EXPECT_NE(text.find("'OnOpen':'OPEN',\n\t'OnOpen':{'Event':'OnOpen','Command':'CLOSE'}\n\t,'Object':"),
              std::string::npos)
        << text;
    CTekResourceData loaded;
    ASSERT_TRUE(ReadResourceText(loaded, text));
    const CTekDialogData& dialog = loaded.Dialogs().At(0);
    EXPECT_EQ(dialog.GetItem("OnOpen"), "");
    ASSERT_EQ(dialog.Commands().size(), 1u);
    EXPECT_EQ(dialog.Commands()[0]->GetItem("Command"), "CLOSE");
}

TEST(ReadResource, ParseFailureReportsAndChangesNothing)
{
    CTekResourceData resource;
    resource.SetItem("Name", "Kept");
    std::string error;
    EXPECT_FALSE(ReadResourceText(resource, "{'Name':'New','Commands':[{'Command':'DIALOG'},]}", &error));
    EXPECT_EQ(error.rfind("Parse error\n line:1", 0), 0u) << error;
    EXPECT_NE(error.find("put '!' at error pos."), std::string::npos);
    EXPECT_EQ(resource.GetItem("Name"), "Kept");
    EXPECT_EQ(resource.Dialogs().Count(), 0);
    EXPECT_FALSE(ReadResourceText(resource, ""));
    EXPECT_FALSE(ReadResourceText(resource, "not json"));
}

TEST(ReadResource, TextEndsAtFirstZeroByte)
{
    CTekResourceData resource;
    std::string text = "{'Name':'A','Commands':[]}";
    text += '\0';
    text += "garbage {";
    EXPECT_TRUE(ReadResourceText(resource, text));
    EXPECT_EQ(resource.GetItem("Name"), "A");
}

// --- Saving and loading files ---------------------------------------------------------------

TEST(ResourceFiles, SaveWritesTheRecordAndLoadReadsItBack)
{
    TempDir dir;
    CTekResourceData resource;
    resource.SetItem("Name", "Demo");
    AddDialogWithRoot(resource, "A");
    AddDialogWithRoot(resource, "B");
    const std::string path = dir.File("p.veskspro");
    std::string error;
    ASSERT_TRUE(SaveResourceFile(resource, path, "", &error)) << error;
    EXPECT_EQ(ReadBytes(path), Written(resource));
    CTekResourceData loaded;
    LoadResult result = LoadResourceFile(loaded, path);
    ASSERT_TRUE(result) << result.errorText;
    EXPECT_EQ(test::DumpResource(loaded), test::DumpResource(resource));

    ASSERT_TRUE(SaveResourceFile(resource, dir.File("b.json"), "B"));
    EXPECT_EQ(ReadBytes(dir.File("b.json")), Written(resource, "B"));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"b.json", "p.veskspro"}));
}

TEST(ResourceFiles, LoadFailures)
{
    TempDir dir;
    CTekResourceData resource;
    LoadResult missing = LoadResourceFile(resource, dir.File("missing.veskspro"));
    EXPECT_EQ(missing.status, LoadStatus::OpenFailed);
    EXPECT_NE(missing.errorText.find("missing.veskspro"), std::string::npos);
    EXPECT_FALSE(missing);

    LoadResult folder = LoadResourceFile(resource, dir.Path().string());
    EXPECT_EQ(folder.status, LoadStatus::OpenFailed);

    WriteBytes(dir.File("bad.veskspro"), "{'Name':'x',\n'Commands':[}\n");
    LoadResult bad = LoadResourceFile(resource, dir.File("bad.veskspro"));
    EXPECT_EQ(bad.status, LoadStatus::ParseFailed);
    EXPECT_EQ(bad.errorText.rfind("Parse error\n line:2", 0), 0u) << bad.errorText;
    EXPECT_EQ(resource.GetItem("Name"), "");

    WriteBytes(dir.File("empty.veskspro"), "");
    EXPECT_EQ(LoadResourceFile(resource, dir.File("empty.veskspro")).status, LoadStatus::ParseFailed);
}

TEST(ResourceFiles, ParseFailureTellsTheEncodingOfTheFile)
{
    // The failing line has only a two-byte UTF-8 sequence; the file as a whole is UTF-8.
    TempDir dir;
    WriteBytes(dir.File("utf8.json"), "{'Name':'効果音',\n'DeviceWidth':480,\n'Commands':[caf\xC3\xA9]}\n");
    CTekResourceData resource;
    LoadResult bad = LoadResourceFile(resource, dir.File("utf8.json"));
    ASSERT_EQ(bad.status, LoadStatus::ParseFailed);
    EXPECT_EQ(bad.encoding, TextEncoding::Utf8);
    EXPECT_NE(EncodedTextToUtf8(bad.errorText, bad.encoding).find("[c!afé]"), std::string::npos) << bad.errorText;

    EXPECT_EQ(LoadResourceBytes(resource, Sjis("{'Name':'効果音' x}")).encoding, TextEncoding::ShiftJis);
    EXPECT_EQ(LoadResourceBytes(resource, "{'Name':'x',}").encoding, TextEncoding::Ascii);
}

TEST(ResourceFiles, FailedSaveAnswersTheSystemsReason)
{
    TempDir dir;
    CTekResourceData resource;
    const FileResult missing = SaveResourceFile(resource, dir.File("no/such/folder/p.veskspro"), "");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.reason, std::strerror(ENOENT));
    const FileResult folder = SaveResourceFile(resource, dir.Path().string(), "");
    EXPECT_FALSE(folder);
    EXPECT_EQ(folder.reason, std::strerror(EISDIR));
    const FileResult saved = SaveResourceFile(resource, dir.File("p.veskspro"), "");
    EXPECT_TRUE(saved);
    EXPECT_EQ(saved.reason, "");
}

TEST(ResourceFiles, SaveReplacesTheFileAndKeepsItsPermissions)
{
    TempDir dir;
    const std::string path = dir.File("p.veskspro");
    WriteBytes(path, "old contents that are longer than the new ones ...............................");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    CTekResourceData resource;
    ASSERT_TRUE(SaveResourceFile(resource, path, ""));
    EXPECT_EQ(ReadBytes(path), "{'Commands':[\n\n]}\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"p.veskspro"});
}

TEST(ResourceFiles, SaveThroughASymbolicLinkUpdatesItsTarget)
{
    TempDir dir;
    const std::string target = dir.File("real.veskspro");
    const std::string link = dir.File("link.veskspro");
    WriteBytes(target, "old");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    CTekResourceData resource;
    ASSERT_TRUE(SaveResourceFile(resource, link, ""));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "{'Commands':[\n\n]}\n");
}

TEST(ResourceFiles, SaveIntoAMissingFolderFails)
{
    TempDir dir;
    CTekResourceData resource;
    std::string error;
    EXPECT_FALSE(SaveResourceFile(resource, dir.File("no/such/folder/p.veskspro"), "", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(ResourceFiles, SaveOverAFolderFailsAndLeavesIt)
{
    TempDir dir;
    const std::string folder = dir.File("taken");
    std::filesystem::create_directory(folder);
    WriteBytes(folder + "/inside", "x");
    CTekResourceData resource;
    std::string error;
    EXPECT_FALSE(SaveResourceFile(resource, folder, "", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(ReadBytes(folder + "/inside"), "x");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"taken"});
}

TEST(ResourceFiles, FailedWriteLeavesTheOldFileIntact)
{
    // A file size limit makes the write of the new contents fail part-way, also for root.
    TempDir dir;
    const std::string path = dir.File("p.veskspro");
    const std::string old = "{'Name':'Old','Commands':[\n\n]}\n";
    WriteBytes(path, old);
    CTekResourceData resource;
    resource.SetItem("Name", std::string(4096, 'n'));

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool savedOk = SaveResourceFile(resource, path, "", &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(savedOk);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"p.veskspro"});
}

TEST(ResourceFiles, WriteFileAtomicallyCreatesANewFile)
{
    TempDir dir;
    const std::string path = dir.File("new.txt");
    ASSERT_TRUE(WriteFileAtomically(path, std::string("a\0b", 3)));
    EXPECT_EQ(ReadBytes(path), std::string("a\0b", 3));
    std::string contents;
    ASSERT_TRUE(ReadWholeFile(path, contents));
    EXPECT_EQ(contents, std::string("a\0b", 3));
    std::string error;
    EXPECT_FALSE(ReadWholeFile(dir.File("none"), contents, &error));
    EXPECT_NE(error.find("none"), std::string::npos);
}

TEST(OrbStream, FileStreamWritesBytesAndReportsFailure)
{
    TempDir dir;
    const std::string path = dir.File("s.txt");
    {
        COrbStream stream(std::fopen(path.c_str(), "wb"));
        stream.Write("ab");
        stream.WriteTabs(2);
        stream.Write("\n", 1);
        EXPECT_TRUE(stream.Close());
    }
    EXPECT_EQ(ReadBytes(path), "ab\t\t\n");
    COrbStream none(nullptr);
    none.Write("x");
    EXPECT_TRUE(none.Failed());
    EXPECT_FALSE(none.Close());
    CJsonString text;
    text.WriteTabs(3);
    text.Write("x");
    EXPECT_EQ(text.Text(), "\t\t\tx");
}

} // namespace
} // namespace vesk
