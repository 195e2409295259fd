#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "model/jsonparser.h"

using namespace vesk;

namespace {

constexpr const char* kTrailer = "\n\nput '!' at error pos. under 0x20, (Hex).\n";

/// The report the parser gives for a text that fails.
std::string ReportFor(std::string_view text)
{
    JsonParser parser;
    EXPECT_FALSE(parser.Parse(text)) << text;
    return parser.ErrorText;
}

std::string Report(int line, long byte, long showFrom, const std::string& excerpt)
{
    return "Parse error\n line:" + std::to_string(line) + "  byte:" + std::to_string(byte) + "\n show from " +
           std::to_string(showFrom) + " byte\n\n" + excerpt + kTrailer;
}

/// The root of a text that must parse.
JsonValue Parsed(std::string_view text)
{
    JsonParser parser;
    EXPECT_TRUE(parser.Parse(text)) << text << "\n" << parser.ErrorText;
    return parser.Root();
}

bool Parses(std::string_view text)
{
    JsonParser parser;
    return parser.Parse(text);
}

std::string Nested(int depth, std::string_view open, std::string_view inner, std::string_view close)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += open;
    text += inner;
    for (int i = 0; i < depth; ++i)
        text += close;
    return text;
}

} // namespace

TEST(JsonParserGrammar, SingleAndDoubleQuotesGiveTheSameObject)
{
    JsonValue single = Parsed("{'Command':'HELLO'}");
    JsonValue twice = Parsed("{\"Command\":\"HELLO\"}");
    EXPECT_EQ(single.ToText(true), "{'Command':'HELLO'}");
    EXPECT_EQ(twice.ToText(true), single.ToText(true));
    // The other quote is an ordinary byte: a key opened with ' runs on to the next '.
    JsonValue mixed = Parsed("{'a\":1,\"b':2}");
    ASSERT_TRUE(mixed.IsObject());
    ASSERT_EQ(mixed.AsObject().size(), 1u);
    EXPECT_EQ(mixed.AsObject()[0].first, "a\":1,\"b");
    EXPECT_EQ(mixed.AsObject()[0].second.AsInteger(), 2);
    EXPECT_EQ(Parsed("\"it's\"").AsString(), "it's");
    EXPECT_EQ(Parsed("'say \"hi\"'").AsString(), "say \"hi\"");
}

TEST(JsonParserGrammar, StringEscapes)
{
    EXPECT_FALSE(Parses("'it\\'s'"));
    EXPECT_EQ(Parsed(R"('\"\/\\\b\f\n\r\t')").AsString(), "\"/\\\b\f\n\r\t");
    EXPECT_FALSE(Parses("'a\tb'"));
    EXPECT_FALSE(Parses("'a\nb'"));
    EXPECT_FALSE(Parses("'a\x1f'"));
    EXPECT_EQ(Parsed("'a\x7f\xff'").AsString(), "a\x7f\xff");
    EXPECT_FALSE(Parses("'\\x41'"));
    EXPECT_FALSE(Parses("'\\"));
    EXPECT_FALSE(Parses("'unterminated"));
}

TEST(JsonParserGrammar, UnicodeEscapesGiveUtf8)
{
    EXPECT_EQ(Parsed("'\\u0041'").AsString(), "A");
    EXPECT_EQ(Parsed("'\\u00e9\\u00E9'").AsString(), "\xc3\xa9\xc3\xa9");
    EXPECT_EQ(Parsed("'\\u3042'").AsString(), "\xe3\x81\x82");
    EXPECT_EQ(Parsed("'\\uFFFF'").AsString(), "\xef\xbf\xbf");
    EXPECT_EQ(Parsed("'\\ud83d\\ude00'").AsString(), "\xf0\x9f\x98\x80");
    EXPECT_EQ(Parsed("'\\uDBFF\\uDFFF'").AsString(), "\xf4\x8f\xbf\xbf");
    EXPECT_EQ(Parsed("'\\u0027'").AsString(), "'");
    EXPECT_EQ(Parsed("'a\\u0000b'").AsString(), std::string("a\0b", 3));

    EXPECT_FALSE(Parses("'\\u12'"));
    EXPECT_FALSE(Parses("'\\u12g4'"));
    EXPECT_FALSE(Parses("'\\udc00'"));        // a low half alone
    EXPECT_FALSE(Parses("'\\ud83dx'"));       // a high half not followed by an escape
    EXPECT_FALSE(Parses("'\\ud83d\\n'"));     // followed by another escape
    EXPECT_FALSE(Parses("'\\ud83d\\u0041'")); // followed by no low half
    EXPECT_FALSE(Parses("'\\ud83d\\ud83d'")); // followed by a second high half
}

TEST(JsonParserGrammar, HighBytesPassThroughButShiftJisBackslashesNeedEscaping)
{
    // UTF-8 and Shift_JIS bytes are ordinary bytes.
    EXPECT_EQ(Parsed("'\xe3\x81\x82\x82\xa0'").AsString(), "\xe3\x81\x82\x82\xa0");
    // The second byte of a Shift_JIS character may be 0x5C, which starts an escape.
    EXPECT_FALSE(Parses("'\x95\x5c'"));
    EXPECT_EQ(Parsed("'\x95\x5c\x5c'").AsString(), "\x95\x5c");
}

TEST(JsonParserGrammar, Numbers)
{
    JsonValue ten = Parsed("10");
    ASSERT_EQ(ten.Kind(), JsonKind::Integer);
    EXPECT_EQ(ten.AsInteger(), 10);
    for (const auto& [text, value] : std::vector<std::pair<const char*, double>>{
             {"10.0", 10.0}, {"1e3", 1000.0}, {"-2.5E-1", -0.25}, {"1E+2", 100.0}, {"0.5", 0.5}, {"1.", 1.0}}) {
        JsonValue real = Parsed(text);
        ASSERT_EQ(real.Kind(), JsonKind::Real) << text;
        EXPECT_EQ(real.AsReal(), value) << text;
    }
    EXPECT_FALSE(Parses("1.2.3"));
    EXPECT_FALSE(Parses("1e"));
    EXPECT_FALSE(Parses("1e+"));
    EXPECT_FALSE(Parses("-."));
    EXPECT_FALSE(Parses("[1e5.5]"));
    // Integer text stops at the first byte that does not fit; this never fails.
    EXPECT_EQ(Parsed("1-").AsInteger(), 1);
    EXPECT_EQ(Parsed("12-3").AsInteger(), 12);
    EXPECT_EQ(Parsed("-").AsInteger(), 0);
    EXPECT_EQ(Parsed("--5").AsInteger(), 0);
    EXPECT_EQ(Parsed("-0").AsInteger(), 0);
    EXPECT_EQ(Parsed("007").AsInteger(), 7);
    // Integers clamp to the 32-bit range.
    EXPECT_EQ(Parsed("2147483647").AsInteger(), INT_MAX);
    EXPECT_EQ(Parsed("2147483648").AsInteger(), INT_MAX);
    EXPECT_EQ(Parsed("99999999999999999999999").AsInteger(), INT_MAX);
    EXPECT_EQ(Parsed("-2147483648").AsInteger(), INT_MIN);
    EXPECT_EQ(Parsed("-2147483649").AsInteger(), INT_MIN);
    // Reals out of range become infinity or zero.
    EXPECT_EQ(Parsed("1e400").AsReal(), HUGE_VAL);
    EXPECT_EQ(Parsed("-1e400").AsReal(), -HUGE_VAL);
    EXPECT_EQ(Parsed("1e-400").AsReal(), 0.0);
    EXPECT_EQ(Parsed("1e99999999999999999999").AsReal(), HUGE_VAL);
    EXPECT_EQ(Parsed("4.9e-324").AsReal(), 4.9e-324);
    std::string tiny = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(Parsed(tiny).AsReal(), 0.0);
    EXPECT_TRUE(std::signbit(Parsed("-" + tiny).AsReal()));
    std::string huge = "1" + std::string(400, '0');
    EXPECT_EQ(Parsed(huge + "e-5").AsReal(), HUGE_VAL);
    EXPECT_EQ(Parsed(huge + ".0").AsReal(), HUGE_VAL);
    EXPECT_EQ(Parsed(huge + "e-500").AsReal(), 1e-100);
}

TEST(JsonParserGrammar, LiteralsArraysAndObjects)
{
    EXPECT_EQ(Parsed("true").ToText(false), "true");
    EXPECT_EQ(Parsed(" \t\r\nfalse").ToText(false), "false");
    EXPECT_TRUE(Parsed("null").IsNull());
    EXPECT_FALSE(Parses("tru"));
    EXPECT_FALSE(Parses("nul"));
    EXPECT_FALSE(Parses("True"));
    EXPECT_FALSE(Parses("+1"));
    EXPECT_FALSE(Parses(".5"));

    EXPECT_EQ(Parsed("[]").ToText(true), "[]");
    EXPECT_EQ(Parsed("{}").ToText(true), "{}");
    EXPECT_EQ(Parsed(" [ 1 , 'a' , [ ] , { } ] ").ToText(true), "[1,'a',[],{}]");
    EXPECT_EQ(Parsed("{ 'a' : 1 , \"b\" : [ null ] }").ToText(true), "{'a':1,'b':[null]}");
    EXPECT_FALSE(Parses("[1,2,]"));
    EXPECT_FALSE(Parses("{'a':1,}"));
    EXPECT_FALSE(Parses("[1 2]"));
    EXPECT_FALSE(Parses("{'a' 1}"));
    EXPECT_FALSE(Parses("{a:1}"));
    EXPECT_FALSE(Parses("{1:1}"));
    EXPECT_FALSE(Parses("[,]"));
    EXPECT_FALSE(Parses("["));
}

TEST(JsonParserGrammar, MembersAreOrderedByKeyAndTheLaterDuplicateWins)
{
    JsonValue twice = Parsed("{'a':1,'a':2}");
    ASSERT_EQ(twice.AsObject().size(), 1u);
    EXPECT_EQ(twice.Get("a").AsInteger(), 2);
    EXPECT_EQ(Parsed("{'a':[1],'b':0,'a':'x'}").ToText(true), "{'a':'x','b':0}");
    // Unsigned byte order; a prefix sorts first.
    JsonValue keys = Parsed("{'b':1,'\xc3\xa9':5,'ab':3,'a':2,'B':0,'':-1}");
    EXPECT_EQ(keys.ToText(true), "{'':-1,'B':0,'a':2,'ab':3,'b':1,'\xc3\xa9':5}");
}

TEST(JsonParserGrammar, TextAfterTheValueIsIgnoredAndZeroEndsTheText)
{
    EXPECT_EQ(Parsed("{'a':1} ]]} garbage \x01").ToText(true), "{'a':1}");
    EXPECT_EQ(Parsed("1 2").AsInteger(), 1);
    EXPECT_EQ(Parsed(std::string_view("{'a':1}\0{", 9)).ToText(true), "{'a':1}");
    EXPECT_EQ(ReportFor(std::string_view("[1,\0 2]", 7)), Report(1, 3, 0, "[1,!"));
}

TEST(JsonParserGrammar, ParseWholeValueRefusesAnythingAfterTheValue)
{
    ASSERT_TRUE(ParseWholeValue(" 480 \n"));
    EXPECT_EQ(ParseWholeValue(" 480 \n")->AsInteger(), 480);
    EXPECT_EQ(ParseWholeValue("[1,'a']")->ToText(true), "[1,'a']");
    EXPECT_FALSE(ParseWholeValue("1 2"));
    EXPECT_FALSE(ParseWholeValue("480px"));
    EXPECT_FALSE(ParseWholeValue(""));
    EXPECT_FALSE(ParseWholeValue(std::string_view("1\0", 2)));
}

TEST(JsonParserReport, EmptyTextMarksTheStart)
{
    EXPECT_EQ(ReportFor(""),
              "Parse error\n line:1  byte:0\n show from 0 byte\n\n!\n\nput '!' at error pos. under 0x20, (Hex).\n");
    EXPECT_EQ(ReportFor(" \n\t"), Report(2, 3, 0, " \t!"));
}

TEST(JsonParserReport, ShowsThePreviousAndTheFailingLineWithoutTheirLineFeed)
{
    EXPECT_EQ(ReportFor("{'a':1,\n'b':x}"), Report(2, 13, 0, "{'a':1,'b':x!}"));
    EXPECT_EQ(ReportFor("[1,\n2,\n3,\nx]"), Report(4, 11, 7, "3,x!]"));
    // On line 1 the excerpt runs on into line 2 and stops at the second line feed.
    EXPECT_EQ(ReportFor("{x\n1\n2"), Report(1, 2, 0, "{x!1"));
}

TEST(JsonParserReport, ThePushedBackByteCountsAsRead)
{
    EXPECT_EQ(ReportFor("trux"), Report(1, 4, 0, "trux!"));
    EXPECT_EQ(ReportFor("tru"), Report(1, 3, 0, "tru!"));
    EXPECT_EQ(ReportFor("[1,2"), Report(1, 4, 0, "[1,2!"));
    EXPECT_EQ(ReportFor("[1,2,]"), Report(1, 6, 0, "[1,2,]!"));
    EXPECT_EQ(ReportFor("{'a':1,}"), Report(1, 8, 0, "{'a':1,}!"));
    EXPECT_EQ(ReportFor("'it\\'s'"), Report(1, 5, 0, "'it\\'!s'"));
    EXPECT_EQ(ReportFor("1.2.3 "), Report(1, 6, 0, "1.2.3 !"));
}

TEST(JsonParserReport, ControlBytesAreShownInHex)
{
    EXPECT_EQ(ReportFor("[1,\r\n\x01]"), Report(2, 6, 0, "[1,(d)(1)!]"));
    EXPECT_EQ(ReportFor("[\t\x0e]"), Report(1, 3, 0, "[\t\x0e!]"));
    EXPECT_EQ(ReportFor("['a\x1f']"), Report(1, 4, 0, "['a(1f)!']"));
    EXPECT_EQ(ReportFor("['\x82\xa0\x7f',x]"), Report(1, 8, 0, "['\x82\xa0\x7f',x!]"));
}

TEST(JsonParserReport, LineEndingAtTheEndOfTheText)
{
    EXPECT_EQ(ReportFor("[\n"), Report(1, 2, 0, "[!"));
    // The failing position lies past the second line feed of the excerpt, so no mark is shown.
    EXPECT_EQ(ReportFor("[\n\n"), Report(2, 3, 0, "["));
}

TEST(JsonParserReport, FailedParseKeepsTheCursorAndASuccessfulOneClearsTheReport)
{
    JsonParser parser;
    ASSERT_TRUE(parser.Parse("{'Name':'first'}"));
    const JsonValue* root = parser.Cursor();
    EXPECT_FALSE(parser.Parse("{'Name':"));
    EXPECT_EQ(parser.Cursor(), root);
    std::string name;
    EXPECT_TRUE(parser.GetString("Name", name));
    EXPECT_EQ(name, "first");
    EXPECT_FALSE(parser.ErrorText.empty());
    ASSERT_TRUE(parser.Parse("{'Name':'second'}"));
    EXPECT_TRUE(parser.ErrorText.empty());
    EXPECT_EQ(parser.Cursor(), &parser.Root());
}

TEST(JsonParserDepth, FiveHundredTwelveLevelsParseAndOneMoreFails)
{
    EXPECT_TRUE(Parses(Nested(JsonParser::kMaxDepth, "[", "", "]")));
    EXPECT_TRUE(Parses(Nested(JsonParser::kMaxDepth, "{'a':", "1", "}")));
    EXPECT_TRUE(Parses(Nested(JsonParser::kMaxDepth / 2, "[{'k':", "null", "}]")));

    std::string deeper = Nested(JsonParser::kMaxDepth + 1, "[", "", "]");
    EXPECT_EQ(ReportFor(deeper), Report(1, 513, 0, std::string(513, '[') + "!" + std::string(513, ']')));
    EXPECT_FALSE(Parses(Nested(JsonParser::kMaxDepth + 1, "{'a':", "1", "}")));
}

TEST(JsonParserDepth, VeryDeepNestingFailsCleanly)
{
    for (const char* open : {"[", "{'a':", "[{'a':"}) {
        std::string text;
        for (int i = 0; i < 100000; ++i)
            text += open;
        std::string report = ReportFor(text);
        EXPECT_TRUE(report.starts_with("Parse error\n line:1  byte:")) << open;
        EXPECT_TRUE(report.ends_with(kTrailer));
    }
}

TEST(JsonParserCursor, QueriesBeforeAnyParse)
{
    JsonParser parser;
    std::string text = "unchanged";
    int number = 7;
    std::vector<std::string> keys;
    EXPECT_EQ(parser.Cursor(), nullptr);
    EXPECT_TRUE(parser.IsNull("a"));
    EXPECT_FALSE(parser.GetString("a", text));
    EXPECT_FALSE(parser.GetInt("a", number));
    EXPECT_EQ(parser.GetKeys(keys), 0);
    EXPECT_FALSE(parser.IsArray("a"));
    EXPECT_TRUE(parser.GetArray("a").empty());
    EXPECT_FALSE(parser.EnterObject("a"));
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(number, 7);
    EXPECT_TRUE(keys.empty());
}

TEST(JsonParserCursor, IsNullAndGetString)
{
    JsonParser parser;
    ASSERT_TRUE(parser.Parse("{'real':480.0,'int':480,'text':'480','yes':true,'none':null,'list':[1,'a',{'b':null}],"
                             "'obj':{'z':'q','a':-1.5},'cut':'ab\\u0000cd','empty':''}"));
    EXPECT_TRUE(parser.IsNull("missing"));
    EXPECT_TRUE(parser.IsNull("none"));
    EXPECT_FALSE(parser.IsNull("empty"));
    EXPECT_FALSE(parser.IsNull("int"));

    auto text = [&parser](const char* key) {
        std::string out = "unchanged";
        bool got = parser.GetString(key, out);
        return (got ? "+" : "-") + out;
    };
    EXPECT_EQ(text("real"), "+480.000000");
    EXPECT_EQ(text("int"), "+480");
    EXPECT_EQ(text("text"), "+480");
    EXPECT_EQ(text("yes"), "+true");
    EXPECT_EQ(text("list"), "+[1,'a',{'b':null}]");
    EXPECT_EQ(text("obj"), "+{'a':-1.500000,'z':'q'}");
    EXPECT_EQ(text("cut"), "+ab");
    EXPECT_EQ(text("empty"), "+");
    EXPECT_EQ(text("none"), "-unchanged");
    EXPECT_EQ(text("missing"), "-unchanged");
    EXPECT_FALSE(Parses("{'z':'it''s'}")) << "two single quotes are not an escape";
}

TEST(JsonParserCursor, IsNullOnANullCursor)
{
    JsonParser parser;
    ASSERT_TRUE(parser.Parse("[null,{'a':1}]"));
    JsonArrayWalk walk(parser, parser.Root().AsArray());
    ASSERT_TRUE(walk.NextElement());
    EXPECT_TRUE(parser.IsNull("a"));
    ASSERT_TRUE(walk.NextElement());
    EXPECT_FALSE(parser.IsNull("a"));
}

TEST(JsonParserCursor, GetIntOnlyForIntegers)
{
    JsonParser parser;
    ASSERT_TRUE(parser.Parse("{'s':'12','r':12.0,'b':true,'i':12,'n':-7,'x':null}"));
    int value = 99;
    EXPECT_FALSE(parser.GetInt("s", value));
    EXPECT_FALSE(parser.GetInt("r", value));
    EXPECT_FALSE(parser.GetInt("b", value));
    EXPECT_FALSE(parser.GetInt("x", value));
    EXPECT_FALSE(parser.GetInt("missing", value));
    EXPECT_EQ(value, 99);
    EXPECT_TRUE(parser.GetInt("i", value));
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(parser.GetInt("n", value));
    EXPECT_EQ(value, -7);
}

TEST(JsonParserCursor, GetKeysAppendsInKeyOrder)
{
    JsonParser parser;
    ASSERT_TRUE(parser.Parse("{'b':1,'a':{'y':1,'x':2},'c':[1,2]}"));
    std::vector<std::string> keys{"before"};
    EXPECT_EQ(parser.GetKeys(keys), 3);
    EXPECT_EQ(keys, (std::vector<std::string>{"before", "a", "b", "c"}));

    JsonArrayWalk walk(parser, parser.GetArray("c"));
    ASSERT_TRUE(walk.NextElement());
    std::vector<std::string> none;
    EXPECT_EQ(parser.GetKeys(none), 0);
    EXPECT_TRUE(none.empty());

    ASSERT_TRUE(parser.Parse("[{'a':1}]"));
    EXPECT_EQ(parser.GetKeys(none), 0);
    EXPECT_TRUE(none.empty());
}

TEST(JsonParserCursor, EnterObjectMovesOnlyOnSuccess)
{
    JsonParser parser;
    ASSERT_TRUE(parser.Parse("{'Dialog':{'Name':'Main','Inner':{'k':5}},'List':[{}],'Text':'x','None':null}"));
    const JsonValue* root = parser.Cursor();
    for (const char* key : {"List", "Text", "None", "Missing"}) {
        EXPECT_FALSE(parser.EnterObject(key)) << key;
        EXPECT_EQ(parser.Cursor(), root) << key;
    }
    ASSERT_TRUE(parser.EnterObject("Dialog"));
    std::string name;
    EXPECT_TRUE(parser.GetString("Name", name));
    EXPECT_EQ(name, "Main");
    ASSERT_TRUE(parser.EnterObject("Inner"));
    int k = 0;
    EXPECT_TRUE(parser.GetInt("k", k));
    EXPECT_EQ(k, 5);
    EXPECT_FALSE(parser.EnterObject("Dialog"));
}

TEST(JsonParserCursor, ArrayWalkEndsOnTheLastElement)
{
    JsonParser parser;
    ASSERT_TRUE(parser.Parse("{'Objects':[{'Name':'a'},{'Name':'b'},{'Name':'c'}],'Empty':[],'Name':'outer'}"));
    parser.SaveCursor();
    std::vector<std::string> names;
    JsonArrayWalk walk(parser, parser.GetArray("Objects"));
    while (walk.NextElement()) {
        std::string name;
        parser.GetString("Name", name);
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_FALSE(walk.NextElement());
    std::string name;
    parser.GetString("Name", name);
    EXPECT_EQ(name, "c") << "the cursor stays on the last element";
    parser.RestoreCursor();
    parser.GetString("Name", name);
    EXPECT_EQ(name, "outer");

    const JsonValue* before = parser.Cursor();
    JsonArrayWalk empty(parser, parser.GetArray("Empty"));
    EXPECT_FALSE(empty.NextElement());
    EXPECT_EQ(parser.Cursor(), before);
    EXPECT_TRUE(parser.IsArray("Empty"));
    EXPECT_FALSE(parser.IsArray("Name"));
    EXPECT_TRUE(parser.GetArray("Name").empty());
}
