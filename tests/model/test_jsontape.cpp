// The tape that the resource reader parses into, held against the parser it stands in for, and
// the two ways a resource text is read (dialog by dialog, or whole) held against each other.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "model/jsonparser.h"
#include "model/jsontape.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "testsupport.h"

namespace vesk {
namespace {

using test::DumpResource;
using test::ReadBytes;

const std::string kDemoPath = std::string(VESK_SOURCE_DIR) + "/examples/demo.veskspro";

/// Texts at the edges of the grammar, valid and not.
const std::vector<std::string>& EdgeTexts()
{
    static const std::vector<std::string> texts = {
        "",
        "{}",
        "[]",
        "{'a':1}",
        "{\"a\":1}",
        "{'a':1,}",
        "[1,2,]",
        "{'a':1,'a':2}",
        "{'b':1,'a':[true,false,null]}",
        "10",
        "10.0",
        "1e3",
        "-2.5E-1",
        "1.2.3",
        "1-",
        "-",
        "1e",
        "'it\\'s'",
        "\"it's\"",
        "'a\\u0000b'",
        "{'k\\u0000':'v'}",
        "'\\ud83d\\ude00'",
        "'\\udc00'",
        "'\\ud800x'",
        "'a\tb'",
        "'a\\tb'",
        "{'a':{'b':{'c':[]}}}",
        "{'a':1} trailing",
        "  {'x' : 'y' }  ",
        "tru",
        "nul",
        "{'a' 1}",
        "{a:1}",
        "['x\"y']",
        "'\x95\x5c'",
        "{'Data':[1,'two',{'z':1,'y':[2.5]}],'Data':{'b':'x','a':null}}",
        std::string(600, '[') + std::string(600, ']'),
        std::string(300, '[') + std::string(300, ']'),
    };
    return texts;
}

/// Each byte of a text changed, dropped or doubled, from a seed.
std::vector<std::string> Mutations(const std::string& text, unsigned seed, int count)
{
    std::mt19937 random(seed);
    static const char kBytes[] = "{}[]'\",:\\u0 \n\x01\x95tfn-.e";
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        std::string mutated = text;
        const size_t at = mutated.empty() ? 0 : random() % mutated.size();
        switch (random() % 3) {
        case 0:
            if (!mutated.empty())
                mutated[at] = kBytes[random() % (sizeof kBytes - 1)];
            break;
        case 1:
            if (!mutated.empty())
                mutated.erase(at, 1);
            break;
        default:
            mutated.insert(at, 1, kBytes[random() % (sizeof kBytes - 1)]);
            break;
        }
        out.push_back(std::move(mutated));
    }
    return out;
}

void ExpectSameAsParser(const std::string& text)
{
    JsonParser parser;
    JsonTape tape;
    const bool parsed = parser.Parse(text);
    ASSERT_EQ(ParseTape(text, tape), parsed) << text;
    if (!parsed)
        return;
    std::string fromTape = "(null)";
    tape.Text(tape.Root(), fromTape);
    std::string fromParser = "(null)";
    if (!parser.Root().IsNull()) {
        fromParser = parser.Root().ToText(false);
        fromParser.resize(std::min(fromParser.size(), fromParser.find('\0')));
    }
    EXPECT_EQ(fromTape, fromParser) << text;
}

TEST(JsonTape, ParsesWhatTheParserParsesAndGivesTheSameTexts)
{
    for (const std::string& text : EdgeTexts())
        ExpectSameAsParser(text);
    const std::string demo = ReadBytes(kDemoPath);
    for (const std::string& text : Mutations(demo.substr(0, 1500), 7, 400))
        ExpectSameAsParser(text);
}

TEST(JsonTape, MembersInKeyOrderTheLaterOfEqualKeysCounting)
{
    JsonTape tape;
    ASSERT_TRUE(ParseTape("{'b':1,'a':2,'b':3,'\x95':4,'a':null}", tape));
    const auto members = tape.SortedMembers(tape.Root());
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0].first, "a");
    EXPECT_EQ(members[0].second->kind, JsonKind::Null);
    EXPECT_EQ(members[1].first, "b");
    EXPECT_EQ(tape.TextOr(members[1].second), "3");
    EXPECT_EQ(members[2].first, "\x95");
    EXPECT_EQ(tape.TextOr(tape.Member(tape.Root(), "b")), "3");
    EXPECT_EQ(tape.Member(tape.Root(), "c"), nullptr);
}

TEST(JsonTape, TapeOfAParsedValueGivesItsTexts)
{
    JsonParser parser;
    ASSERT_TRUE(parser.Parse("{'x':[1,'a\\u0000b',{'q':2.5}],'y':'t'}"));
    JsonTape tape;
    TapeFromValue(parser.Root(), tape);
    EXPECT_EQ(tape.TextOr(&tape.Root()), "{'x':[1,'a");
    EXPECT_EQ(tape.TextOr(tape.Member(tape.Root(), "y")), "t");
}

TEST(JsonTape, StringTextsAreTheTextsWithoutCopying)
{
    for (const char* text : {"{'a':'plain','b':'e\\u0041scaped','c':3,'d':null,'e':[1]}",
                             "{'a':'plain','b':'cut\\u0000here','c':3,'d':null,'e':[1]}"}) {
        JsonTape tape;
        ASSERT_TRUE(ParseTape(text, tape)) << text;
        for (const char* key : {"a", "b"}) {
            std::string_view view;
            ASSERT_TRUE(tape.StringText(*tape.Member(tape.Root(), key), view)) << key;
            EXPECT_EQ(std::string(view), tape.TextOr(tape.Member(tape.Root(), key))) << key;
        }
        for (const char* key : {"c", "d", "e"}) {
            std::string_view view = "untouched";
            EXPECT_FALSE(tape.StringText(*tape.Member(tape.Root(), key), view)) << key;
            EXPECT_EQ(view, "untouched");
        }
    }
}

/// Ordinary string bytes (none a quote, a backslash or below 0x20), count of them.
std::string Ordinary(size_t count, size_t start)
{
    static const char kBytes[] = {'a', ' ', '\x7F', '\x80', '\xFF', '[', '!', '\xE6', '~', '#', '\x21', '\x5B'};
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += kBytes[(start + i) % sizeof kBytes];
    return text;
}

/// The string a text parses to, by the parser and by the tape, which must agree; nothing when
/// neither accepts it.
std::optional<std::string> ParsedString(const std::string& text)
{
    JsonParser parser;
    JsonTape tape;
    const bool parsed = parser.Parse(text);
    EXPECT_EQ(ParseTape(text, tape), parsed) << text;
    if (!parsed)
        return std::nullopt;
    std::string_view view;
    EXPECT_TRUE(tape.StringText(tape.Root(), view)) << text;
    EXPECT_EQ(std::string(view), parser.Root().AsString()) << text;
    return std::string(view);
}

TEST(JsonTape, StringsEndAndEscapeAtEveryOffset)
{
    for (size_t before = 0; before <= 19; ++before) {
        for (size_t after = 0; after <= 10; after += 5) {
            const std::string head = Ordinary(before, after);
            const std::string tail = Ordinary(after, before);
            EXPECT_EQ(ParsedString("'" + head + tail + "'"), head + tail);
            EXPECT_EQ(ParsedString("'" + head + "\\n" + tail + "'"), head + "\n" + tail);
            EXPECT_EQ(ParsedString("'" + head + "\\\\" + tail + "'"), head + "\\" + tail);
            EXPECT_EQ(ParsedString("\"" + head + "'" + tail + "\""), head + "'" + tail);
            EXPECT_EQ(ParsedString("'" + head + "\"" + tail + "'"), head + "\"" + tail);
            // The string ends at the first closing quote; what follows is not read.
            EXPECT_EQ(ParsedString("'" + head + "'" + tail + "'"), head);
            for (const char control : {'\x01', '\x1F', '\t'})
                EXPECT_EQ(ParsedString("'" + head + control + tail + "'"), std::nullopt);
        }
    }
}

/// The same text with a first, empty 'Commands' member: it is then read whole, not dialog by dialog.
std::string ReadWhole(const std::string& project)
{
    return "{'Commands':[]," + project.substr(project.find('{') + 1);
}

TEST(ProjectReading, DialogByDialogAndWholeGiveTheSameResource)
{
    std::vector<std::string> projects = {
        ReadBytes(kDemoPath),
        "{'Name':'P','Commands':[{'Command':'DIALOG','Name':'A','Object':{'Type':'BUTTON','Text':'x'}},"
        "{'Command':'HELLO'},5,{'Command':'DIALOG','Name':'A','Foo':[1,{'b':2,'a':'\\u00e9'}],'OnOpen':"
        "{'Commands':[{'Event':'OnOpen','Command':'TIMER','Time':10},{'Command':'NOTIFY','MakeCommand':'UPDATE'}]},"
        "'Object':{'Layout':'FRAME','Objects':[{'Type':'GRID','Header':[{'TSize':1},3]},{'Object':{'Layout':"
        "'TABLEROW','Objects':[{'Type':'PROGRESS','FileOff':'a.png','FileOn':null,'Min':1.5}]}}]}}],"
        "'DeviceWidth':480,'Name':'Q','Extra':null,'Command':'DIALOG','OnClick':{}}",
        "{'Commands':[{'Command':'DIALOG','Object':{'Objects':[],'Name':'g','Name':null,'Vertical':true}}]}",
    };
    for (const std::string& project : projects) {
        CTekResourceData byDialog;
        CTekResourceData whole;
        ASSERT_TRUE(ReadResourceText(byDialog, project)) << project;
        ASSERT_TRUE(ReadResourceText(whole, ReadWhole(project))) << project;
        EXPECT_EQ(DumpResource(byDialog), DumpResource(whole)) << project;
        CJsonString a, b;
        WriteResource(byDialog, a, "");
        WriteResource(whole, b, "");
        EXPECT_EQ(a.Text(), b.Text());
    }
}

TEST(ProjectReading, ABrokenTextLaterOnLeavesTheResourceAsItWas)
{
    CTekResourceData resource;
    resource.SetItem("Name", "Kept");
    ASSERT_TRUE(
        ReadResourceText(resource, "{'Commands':[{'Command':'DIALOG','Name':'First','Object':{'Objects':[]}}]}"));
    const std::string before = DumpResource(resource);
    const uint64_t nextSerial = TekClass::PeekSerialNumber();
    const std::string broken = "{'Name':'X','Commands':[{'Command':'DIALOG','Name':'First','Object':{'Objects':["
                               "{'Type':'TEXT'}]}},{'Command':'DIALOG','Name':'Second','Object':{'Objects':[}}]}";
    std::string error;
    EXPECT_FALSE(ReadResourceText(resource, broken, &error));
    EXPECT_NE(error.find("Parse error"), std::string::npos);
    EXPECT_EQ(DumpResource(resource), before);
    EXPECT_EQ(TekClass::PeekSerialNumber(), nextSerial);
    JsonParser parser;
    ASSERT_FALSE(parser.Parse(broken));
    EXPECT_EQ(error, parser.ErrorText);
}

TEST(ProjectReading, DialogsOfALoadKeepTheirValuesAfterTheRestIsGone)
{
    // Nodes of one dialog share one store of values: a node kept alone keeps them.
    ObjectPtr kept;
    {
        CTekResourceData resource;
        ASSERT_TRUE(ReadResourceText(resource, ReadBytes(kDemoPath)));
        ASSERT_GT(resource.Dialogs().Count(), 0);
        CObjectDataList* root = resource.Dialogs().At(0).RootGroup();
        ASSERT_TRUE(root && root->ChildCount() > 0);
        kept = root->ChildPtrAt(0);
        EXPECT_FALSE(kept->GetItem("Name").empty());
    }
    const std::string name = kept->GetItem("Name");
    TekPtr copy = kept;
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(copy->Items().Clone().At(0).Value(), kept->Items().At(0).Value());
}

} // namespace
} // namespace vesk
