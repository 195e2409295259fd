// Random and mutated texts through the parser and the project reader, with the entry points of
// the fuzzing binaries. The seed is fixed, so a failure repeats.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "fuzz_targets.h"

using namespace vesk;

namespace {

std::string DemoProject()
{
    std::ifstream in(VESK_SOURCE_DIR "/examples/demo.veskspro", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// The input shown in a failure: printable bytes as they are, others as \xNN, at most 600 bytes.
std::string Shown(std::string_view text)
{
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (char ch : text.substr(0, 600)) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7f) {
            out += ch;
        } else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    if (text.size() > 600)
        out += "...";
    return out;
}

/// Makes variants of a text with the edits that matter to this dialect: flipped bits, cuts,
/// quotes, brackets, escapes, Shift_JIS characters whose second byte is 0x5C, deep nesting.
class Mutator {
public:
    explicit Mutator(uint32_t seed) : m_random(seed) {}

    size_t Below(size_t bound) { return bound ? m_random() % bound : 0; }

    std::string Mutate(std::string text)
    {
        // clang-format off
        static const std::string_view pieces[] = {
            "'", "\"", "[", "]", "{", "}", ",", ":", "\\", "\\\\", "\\'", "\\u", "\\u0027", "\\u0000",
            "\\ud83d", "\\ud83d\\ude00", "\\udc00", "\x95\x5c", "\x83\x5c", "\x95\x5c\x5c", "\x81", "\xe3\x81\x82",
            "\n", "\r", "\t", std::string_view("\0", 1), "null", "true", "-", "1e400", "1.2.3", "0.000001",
            "2147483648", "[]", "{}", "'Objects':[", "'Object':{"};
        static const std::string_view records[] = {
            "{'Command':'DIALOG','Name':'Main'}", "'OnClick':{'Event':'OnClick',", "'Command':'NOTIFY'",
            "'Type':'GRID','Header':[{},{'TSize':'9'}]", "'Layout':'TABLE'"};
        // clang-format on
        int edits = Below(2) ? 1 : 2 + static_cast<int>(Below(3));
        for (int i = 0; i < edits; ++i) {
            size_t at = Below(text.size() + 1);
            switch (Below(12)) {
            case 8:
            case 9:
                InsertIntoString(text, at);
                break;
            case 10:
            case 11:
                InsertMember(text, at);
                break;
            case 0:
                if (at < text.size())
                    text[at] = static_cast<char>(text[at] ^ (1 << Below(8)));
                break;
            case 1:
                text.resize(at);
                break;
            case 2:
                text.insert(at, pieces[Below(std::size(pieces))]);
                break;
            case 3:
                text.insert(at, records[Below(std::size(records))]);
                break;
            case 4:
                text.erase(at, 1 + Below(16));
                break;
            case 5: {
                size_t from = Below(text.size());
                text.insert(at, text.substr(from, 1 + Below(200)));
                break;
            }
            case 6: {
                static const char* const opens[] = {"[", "{'a':", "{'Objects':[", "{'Object':"};
                const char* open = opens[Below(4)];
                std::string nesting;
                for (size_t n = 300 + Below(400); n > 0; --n)
                    nesting += open;
                text.insert(at, nesting);
                break;
            }
            default:
                if (at < text.size())
                    text[at] = "'\"[]{}\\:,"[Below(9)];
                break;
            }
        }
        return text;
    }

    /// Puts bytes that need escaping (or are escapes) at the start of a quoted value, keeping
    /// the text well-formed.
    void InsertIntoString(std::string& text, size_t from)
    {
        static const char* const pieces[] = {"\\u0027", "\\\\",      "\x95\x5c\x5c", "\x83\x5c\x5c\x95\x5c\x5c",
                                             "\\u0000", "\\n\\t\\r", "\\u0001",      "\xe3\x81\x82",
                                             "\\\"",    "\"",        "\\/",          "\\ud83d\\ude00"};
        size_t at = text.find("':'", from);
        if (at != std::string::npos)
            text.insert(at + 3, pieces[Below(std::size(pieces))]);
    }

    /// Puts another value and a member with a key the readers look for in front of a member's value.
    void InsertMember(std::string& text, size_t from)
    {
        static const char* const values[] = {"null",
                                             "5",
                                             "-1.5",
                                             "1e400",
                                             "true",
                                             "[]",
                                             "{}",
                                             "[1,'a',null]",
                                             "{'Command':'DIALOG'}",
                                             "{'Objects':[]}",
                                             "{'Event':'OnClick'}",
                                             "'x'",
                                             "[{'Type':'GRID','Header':[{}]}]"};
        static const char* const keys[] = {"Objects", "Object", "Commands", "Command", "OnClick", "OnOpen",  "Header",
                                           "Name",    "Type",   "Layout",   "Text",    "Data",    "Columns", "Event"};
        size_t at = text.find("':", from);
        if (at == std::string::npos)
            return;
        std::string member = values[Below(std::size(values))];
        member += ",'";
        member += keys[Below(std::size(keys))];
        member += "':";
        text.insert(at + 2, member);
    }

    std::string RandomText()
    {
        static const char alphabet[] = "{}[]'\",:\\ \n\t01-.eEutrfalsn\x5c\x95\x82\xa0";
        std::string text;
        for (size_t n = Below(120); n > 0; --n)
            text += alphabet[Below(sizeof alphabet - 1)];
        return text;
    }

private:
    std::mt19937 m_random;
};

} // namespace

TEST(Robustness, DemoProjectPassesBothChecks)
{
    std::string demo = DemoProject();
    ASSERT_FALSE(demo.empty());
    EXPECT_EQ(fuzz::CheckJsonParser(demo), "");
    EXPECT_EQ(fuzz::CheckResourceText(demo), "");
    JsonParser parser;
    EXPECT_TRUE(parser.Parse(demo)) << parser.ErrorText;
}

TEST(Robustness, ParserWithMutatedAndRandomTexts)
{
    std::string demo = DemoProject();
    Mutator mutator(1);
    int accepted = 0;
    int failures = 0;
    for (int i = 0; i < 4000; ++i) {
        std::string text = i < 2000 ? mutator.Mutate(demo) : mutator.RandomText();
        bool parsed = false;
        std::string broken = fuzz::CheckJsonParser(text, &parsed);
        if (!broken.empty() && ++failures <= 3)
            ADD_FAILURE() << "case " << i << ": " << broken << "\ninput: " << Shown(text);
        accepted += parsed ? 1 : 0;
    }
    EXPECT_EQ(failures, 0);
    // Both the accepted and the refused paths must be exercised well.
    EXPECT_GT(accepted, 400);
    EXPECT_LT(accepted, 3600);
}

TEST(Robustness, ProjectReaderWithMutatedAndRandomTexts)
{
    std::string demo = DemoProject();
    Mutator mutator(2);
    int loadable = 0;
    int failures = 0;
    for (int i = 0; i < 800; ++i) {
        std::string text = i < 600 ? mutator.Mutate(demo) : mutator.RandomText();
        JsonParser parser;
        if (parser.Parse(text) && parser.Root().IsObject())
            ++loadable;
        std::string broken = fuzz::CheckResourceText(text);
        if (!broken.empty() && ++failures <= 3)
            ADD_FAILURE() << "case " << i << ": " << broken << "\ninput: " << Shown(text);
    }
    EXPECT_EQ(failures, 0);
    // The mutations must leave enough texts readable for the write-and-read-again check to matter.
    EXPECT_GT(loadable, 150);
}

TEST(Robustness, ValuesWithQuotesBackslashesAndShiftJisLoadAgainAfterSaving)
{
    // Resource items are stored as read, so every byte of them must survive a save.
    const std::string text = "{'Name':'it\\u0027s','Path':'C:\\\\dir\\\\','Kanji':'\x95\x5c\x5c\x83\x5c\x5c',"
                             "'Control':'a\\tb\\u0001','Quote':\"say \\\"hi\\\"\",'Commands':[]}";
    CTekResourceData resource;
    std::string errorText;
    ASSERT_TRUE(ReadResourceText(resource, text, &errorText)) << errorText;
    EXPECT_EQ(resource.GetItem("Name"), "it's");
    EXPECT_EQ(resource.GetItem("Kanji"), "\x95\x5c\x83\x5c");

    CJsonString written;
    WriteResource(resource, written, "");
    CTekResourceData reread;
    ASSERT_TRUE(ReadResourceText(reread, written.Text(), &errorText)) << errorText << "\n" << written.Text();
    for (const char* key : {"Name", "Path", "Kanji", "Control", "Quote"})
        EXPECT_EQ(reread.GetItem(key), resource.GetItem(key)) << key;
    EXPECT_EQ(reread.GetItem("Path"), "C:\\dir\\");
    EXPECT_EQ(reread.GetItem("Control"), "a\tb\x01");
    EXPECT_EQ(reread.GetItem("Quote"), "say \"hi\"");
}
