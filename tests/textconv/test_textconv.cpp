#include "textconv/textconv.h"

#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>
#include <string>
#include <thread>
#include <vector>

namespace vesk {
namespace {

// Bytes from hex pairs separated by spaces: Bytes("95 5C") is "\x95\x5C".
std::string Bytes(std::string_view hex)
{
    std::string bytes;
    std::size_t i = 0;
    while (i < hex.size()) {
        if (hex[i] == ' ') {
            ++i;
            continue;
        }
        bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
        i += 2;
    }
    return bytes;
}

std::string Hex(std::string_view bytes)
{
    std::string text;
    char pair[4];
    for (unsigned char c : bytes) {
        std::snprintf(pair, sizeof pair, "%02X ", c);
        text += pair;
    }
    if (!text.empty())
        text.pop_back();
    return text;
}

bool IsValidUtf8(std::string_view bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    return status == U_BUFFER_OVERFLOW_ERROR || status == U_STRING_NOT_TERMINATED_WARNING || U_SUCCESS(status);
}

// A Shift_JIS text as the converters write it: it decodes without replacement characters and
// encodes back to the same bytes.
bool IsCanonicalShiftJis(const std::string& bytes)
{
    const std::string utf8 = ShiftJisToUtf8Exact(bytes);
    return utf8.find("\xEF\xBF\xBD") == std::string::npos && Utf8ToShiftJisExact(utf8) == bytes;
}

struct Sample {
    const char* label;
    std::string input;
    TextEncoding encoding;
    std::string shiftJis;
};

std::vector<Sample> ShortSamples()
{
    const std::string hyoji = Bytes("95 5C 8E A6");
    const std::string sofuto = Bytes("83 5C 83 74 83 67");
    const std::string ok = Bytes("82 6E 82 6A");
    const std::string gagi = Bytes("B6 DE B7 DE");
    return {
        {"表示 UTF-8", "表示", TextEncoding::Utf8, hyoji},
        {"表示 Shift_JIS", hyoji, TextEncoding::ShiftJis, hyoji},
        {"表示 ISO-2022-JP", Bytes("1B 24 42 49 3D 3C 28 1B 28 42"), TextEncoding::Iso2022Jp, hyoji},
        {"ソフト UTF-8", "ソフト", TextEncoding::Utf8, sofuto},
        {"ソフト Shift_JIS", sofuto, TextEncoding::ShiftJis, sofuto},
        {"ソフト ISO-2022-JP", Bytes("1B 24 42 25 3D 25 55 25 48 1B 28 42"), TextEncoding::Iso2022Jp, sofuto},
        {"ＯＫ UTF-8", "ＯＫ", TextEncoding::Utf8, ok},
        {"ＯＫ Shift_JIS", ok, TextEncoding::ShiftJis, ok},
        {"ＯＫ ISO-2022-JP", Bytes("1B 24 42 23 4F 23 4B 1B 28 42"), TextEncoding::Iso2022Jp, ok},
        {"ｶﾞｷﾞ UTF-8", "ｶﾞｷﾞ", TextEncoding::Utf8, gagi},
        {"ｶﾞｷﾞ Shift_JIS", gagi, TextEncoding::ShiftJis, gagi},
        {"ｶﾞｷﾞ ISO-2022-JP", Bytes("1B 28 49 36 5E 37 5E 1B 28 42"), TextEncoding::Iso2022Jp, gagi},
        {"ｶﾞｷﾞ ISO-2022-JP with SO and SI", Bytes("0E 36 5E 37 5E 0F 1B 28 42"), TextEncoding::Iso2022Jp, gagi},
        {"日本語テキスト EUC-JP", Bytes("C6 FC CB DC B8 EC A5 C6 A5 AD A5 B9 A5 C8"), TextEncoding::EucJp,
         Bytes("93 FA 96 7B 8C EA 83 65 83 4C 83 58 83 67")},
        {"日本語ｶﾅ EUC-JP with SS2 katakana", Bytes("C6 FC CB DC B8 EC 8E B6 8E C5"), TextEncoding::EucJp,
         Bytes("93 FA 96 7B 8C EA B6 C5")},
        {"～ from a JIS X 0212 character in EUC-JP", Bytes("C6 FC 8F A2 B7"), TextEncoding::EucJp,
         Bytes("93 FA 81 60")},
        {"ISO-2022-JP JIS X 0201 Roman", Bytes("1B 24 40 46 7C 1B 28 4A 5C 7E 1B 28 42"), TextEncoding::Iso2022Jp,
         Bytes("93 FA 5C 7E")},
        {"plain ASCII", "Button_1", TextEncoding::Ascii, "Button_1"},
        {"empty", "", TextEncoding::Ascii, ""},
    };
}

TEST(TextConvDetect, RecognisesShortTextsInEveryEncoding)
{
    for (const Sample& sample : ShortSamples())
        EXPECT_EQ(DetectEncoding(sample.input), sample.encoding) << sample.label;
}

TEST(TextConvDetect, AnswersUnknownForBytesOfNoJapaneseEncoding)
{
    EXPECT_EQ(DetectEncoding(Bytes("80")), TextEncoding::Unknown);
    EXPECT_EQ(DetectEncoding(Bytes("41 FF FE")), TextEncoding::Unknown);
    EXPECT_EQ(DetectEncoding(Bytes("95")), TextEncoding::Unknown); // lead byte cut off
}

TEST(TextConvDetect, SevenBitTextWithBrokenEscapeIsAscii)
{
    EXPECT_EQ(DetectEncoding(Bytes("1B 24 5A 61 62")), TextEncoding::Ascii);
    EXPECT_EQ(DetectEncoding(Bytes("61 1B")), TextEncoding::Ascii);
    EXPECT_EQ(DetectEncoding(Bytes("1B 24 42 25")), TextEncoding::Ascii); // half a character
}

TEST(TextConvDetect, ShiftJisWinsOverEucJp)
{
    // テキスト in EUC-JP is also the half-width ･ﾆ･ｭ･ｹ･ﾈ in Shift_JIS.
    const std::string text = Bytes("A5 C6 A5 AD A5 B9 A5 C8");
    EXPECT_EQ(DetectEncoding(text), TextEncoding::ShiftJis);
    EXPECT_EQ(ToShiftJis(text), text);
}

TEST(TextConvToShiftJis, ConvertsShortTextsFromEveryEncoding)
{
    for (const Sample& sample : ShortSamples())
        EXPECT_EQ(Hex(ToShiftJis(sample.input)), Hex(sample.shiftJis)) << sample.label;
}

TEST(TextConvToShiftJis, KeepsShiftJisBytesUnchanged)
{
    const std::vector<std::string> texts = {
        Bytes("83 5C"),                   // ソ, 0x5C as second byte
        Bytes("95 5C"),                   // 表
        Bytes("94 5C"),                   // 能
        Bytes("8F 5C"),                   // 十
        Bytes("97 5C"),                   // 予
        Bytes("83 5C 5C 94 5C 7E"),       // ソ\能~
        Bytes("87 40 87 54 87 8A FB FC"), // ①Ⅰ㈱髙
        Bytes("ED 40 EE EF"),             // NEC-selected IBM extensions, not normalised
        Bytes("C3 B7"),                   // ﾃｷ, also the UTF-8 of ÷
        Bytes("C2 A7 DE"),                // ﾂｧﾞ, begins with the UTF-8 of §
        Bytes("B6 DE B7 DE 20 41"),
        Bytes("F0 40"), // user-defined area
    };
    for (const std::string& text : texts) {
        EXPECT_EQ(DetectEncoding(text), TextEncoding::ShiftJis) << Hex(text);
        EXPECT_EQ(Hex(ToShiftJis(text)), Hex(text));
    }
}

TEST(TextConvToShiftJis, EverySingleShiftJisCharacterLoadsBackUnchanged)
{
    int checked = 0;
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        const std::string single(1, static_cast<char>(lead));
        if (ShiftJisToUtf8Exact(single).find("\xEF\xBF\xBD") == std::string::npos) {
            EXPECT_EQ(ToShiftJis(single), single) << Hex(single);
            ++checked;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            std::string pair = single;
            pair.push_back(static_cast<char>(trail));
            const std::string utf8 = ShiftJisToUtf8Exact(pair);
            if (utf8.find("\xEF\xBF\xBD") != std::string::npos || utf8.size() < 3)
                continue; // invalid, or two single-byte characters
            EXPECT_EQ(ToShiftJis(pair), pair) << Hex(pair);
            ++checked;
        }
    }
    // 63 half-width characters and the double-byte characters of code page 932.
    EXPECT_GT(checked, 7000);
}

TEST(TextConvToShiftJis, ReturnsTextOfNoJapaneseEncodingUnchanged)
{
    for (const std::string& text :
         {Bytes("80"), Bytes("41 FF FE 42"), Bytes("95"), Bytes("EF 40 41"), Bytes("00 80 00")})
        EXPECT_EQ(Hex(ToShiftJis(text)), Hex(text));
}

TEST(TextConvEncode, UsesFallbacksForJisStyleCharacters)
{
    // WAVE DASH, MINUS SIGN, DOUBLE VERTICAL LINE, EM DASH, CENT, POUND, NOT SIGN.
    const std::string jisStyle = "〜−‖—¢£¬";
    const std::string expected = "81 60 81 7C 81 61 81 5C 81 91 81 92 81 CA";
    EXPECT_EQ(Hex(Utf8ToShiftJis(jisStyle)), expected);
    EXPECT_EQ(Hex(Utf8ToShiftJisExact(jisStyle)), expected);
    EXPECT_EQ(Hex(ToShiftJis(jisStyle)), expected);
}

TEST(TextConvEncode, CharacterWithoutShiftJisFormBecomesQuestionMark)
{
    EXPECT_EQ(Utf8ToShiftJis("caf\xC3\xA9!"), "caf?!");
    EXPECT_EQ(Hex(Utf8ToShiftJis("表\xF0\x9F\x98\x80示")), "95 5C 3F 8E A6"); // emoji
    EXPECT_EQ(Hex(ToShiftJis("表\xF0\x9F\x98\x80示")), "95 5C 3F 8E A6");
    // A byte that is not UTF-8 at all is replaced as well.
    EXPECT_EQ(Hex(Utf8ToShiftJis(Bytes("41 FF 42"))), "41 3F 42");
}

TEST(TextConvUtf8, ExtensionCharactersRoundTrip)
{
    const std::string shiftJis = Bytes("87 40 87 54 87 8A FB FC");
    EXPECT_EQ(ToUtf8(shiftJis), "①Ⅰ㈱髙");
    EXPECT_EQ(Hex(Utf8ToShiftJis("①Ⅰ㈱髙")), Hex(shiftJis));
    EXPECT_EQ(Hex(ToShiftJis("①Ⅰ㈱髙")), Hex(shiftJis));
    // The NEC-selected forms read as the same characters and are written in the IBM forms.
    EXPECT_EQ(ToUtf8(Bytes("ED 40 EE EF")), "纊ⅰ");
    EXPECT_EQ(Hex(Utf8ToShiftJis("纊ⅰ")), "FA 5C FA 40");
}

TEST(TextConvUtf8, BackslashSecondByteCharactersRoundTrip)
{
    const std::string shiftJis = Bytes("83 5C 95 5C 94 5C 8F 5C 97 5C 5C");
    EXPECT_EQ(ToUtf8(shiftJis), "ソ表能十予\\");
    EXPECT_EQ(Hex(Utf8ToShiftJis(ToUtf8(shiftJis))), Hex(shiftJis));
}

TEST(TextConvUtf8, AsciiPassesThroughEveryConversion)
{
    const std::string ascii = std::string("C:\\dir\\file~1.txt 'a' {b}\n\t") + '\0' + "end";
    EXPECT_EQ(ToUtf8(ascii), ascii);
    EXPECT_EQ(ShiftJisToUtf8Exact(ascii), ascii);
    EXPECT_EQ(Utf8ToShiftJis(ascii), ascii);
    EXPECT_EQ(Utf8ToShiftJisExact(ascii), ascii);
    EXPECT_EQ(ToShiftJis(ascii), ascii);
    // Mixed with Japanese, a backslash and a tilde still stay what they are.
    EXPECT_EQ(ToUtf8(Bytes("95 5C 5C 7E")), "表\\~");
    EXPECT_EQ(Hex(Utf8ToShiftJis("表\\~")), "95 5C 5C 7E");
}

TEST(TextConvUtf8, InvalidShiftJisBecomesReplacementCharacter)
{
    const std::string utf8 = ToUtf8(Bytes("41 80 95"));
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(utf8.substr(0, 1), "A");
    EXPECT_NE(utf8.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(TextConvUtf8, EncodedTextIsReadInTheEncodingGiven)
{
    // A parser's report: ASCII around an excerpt of the file's own bytes, which on its own may
    // read as another encoding (C3 A9, é in UTF-8, is also ﾃｩ in Shift_JIS).
    const struct {
        const char* label;
        std::string text;
        TextEncoding encoding;
        std::string utf8;
    } cases[] = {
        {"UTF-8", "x!" + Bytes("E5 8A B9 E6 9E 9C E9 9F B3"), TextEncoding::Utf8, "x!効果音"},
        {"UTF-8 with two-byte sequences only", "caf" + Bytes("C3 A9"), TextEncoding::Utf8, "café"},
        {"Shift_JIS", "x!" + Bytes("8C F8 89 CA 89 B9"), TextEncoding::ShiftJis, "x!効果音"},
        {"Shift_JIS half-width katakana", Bytes("C3 A9"), TextEncoding::ShiftJis, "ﾃｩ"},
        {"EUC-JP", "x!" + Bytes("B8 FA B2 CC B2 BB"), TextEncoding::EucJp, "x!効果音"},
        {"ISO-2022-JP", "x!" + Bytes("1B 24 42 38 7A 32 4C 32 3B 1B 28 42"), TextEncoding::Iso2022Jp, "x!効果音"},
        {"ASCII", "Parse error\n line:1", TextEncoding::Ascii, "Parse error\n line:1"},
        {"unknown, as Shift_JIS", "A" + Bytes("95"), TextEncoding::Unknown, "A\xEF\xBF\xBD"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodedTextToUtf8(c.text, c.encoding), c.utf8) << c.label;
}

TEST(TextConvWiden, HalfWidthKatakanaBecomeFullWidthWithMarksComposed)
{
    const struct {
        const char* halfWidth;
        const char* fullWidth;
    } cases[] = {
        {"ｶﾞ", "ガ"},
        {"ﾊﾟ", "パ"},
        {"ﾃﾞｨｽﾌﾟﾚｲ", "ディスプレイ"},
        {"ｳﾞ", "ヴ"},
        {"ﾞ", "゛"},
        {"ﾟ", "゜"},
        {"ｱﾞ", "ア゛"},
        {"ｶﾟ", "カ゜"},
        {"ﾞﾞ", "゛゛"},
        {"ﾜﾞｦﾞ", "ワ゛ヲ゛"},
        {"｡｢｣､･ｰ", "。「」、・ー"},
        {"ﾎﾞﾀﾝ1 ｦ ｵｽ", "ボタン1 ヲ オス"},
    };
    for (const auto& c : cases) {
        const std::string shiftJis = Utf8ToShiftJisExact(c.halfWidth);
        EXPECT_EQ(ToUtf8(shiftJis), c.fullWidth) << c.halfWidth;
        EXPECT_EQ(Utf8ToShiftJis(c.halfWidth), Utf8ToShiftJisExact(c.fullWidth)) << c.halfWidth;
        // The widened text always has a Shift_JIS form.
        EXPECT_EQ(Utf8ToShiftJisExact(ToUtf8(shiftJis)).find('?'), std::string::npos) << c.halfWidth;
    }
}

TEST(TextConvWiden, ExactConversionsKeepHalfWidthKatakana)
{
    EXPECT_EQ(Hex(Utf8ToShiftJisExact("ｶﾞｷﾞ｡")), "B6 DE B7 DE A1");
    EXPECT_EQ(ShiftJisToUtf8Exact(Bytes("B6 DE B7 DE A1")), "ｶﾞｷﾞ｡");
    EXPECT_EQ(Hex(ToShiftJis("ｶﾞｷﾞ｡")), "B6 DE B7 DE A1");
}

TEST(TextConvWiden, LeavesCharactersOutsideTheHalfWidthRangeAlone)
{
    // A combining voiced mark after a full-width kana is not composed, and has no Shift_JIS
    // form; only the half-width pair is.
    EXPECT_EQ(Hex(Utf8ToShiftJis("か\xE3\x82\x99ｶﾞ")), "82 A9 3F 83 4B");
    EXPECT_EQ(Hex(Utf8ToShiftJis("Ａ１ｶ")), "82 60 82 50 83 4A");
    EXPECT_EQ(ToUtf8(Bytes("82 60 B6 DE 82 50")), "Ａガ１");
}

TEST(TextConvRobustness, ArbitraryBytesConvertWithoutFailure)
{
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(1, 24);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const int n = length(random);
        for (int i = 0; i < n; ++i)
            text.push_back(static_cast<char>(round % 2 == 0 ? byte(random) : 0x80 | byte(random)));

        const std::string shiftJis = ToShiftJis(text);
        EXPECT_TRUE(shiftJis == text || IsCanonicalShiftJis(shiftJis)) << Hex(text);
        EXPECT_TRUE(IsValidUtf8(ToUtf8(text))) << Hex(text);
        EXPECT_TRUE(IsValidUtf8(ShiftJisToUtf8Exact(text))) << Hex(text);
        EXPECT_TRUE(IsCanonicalShiftJis(Utf8ToShiftJis(text))) << Hex(text);
        EXPECT_TRUE(IsCanonicalShiftJis(Utf8ToShiftJisExact(text))) << Hex(text);
        if (HasFailure())
            return;
    }
}

TEST(TextConvRobustness, ThreadsConvertIndependently)
{
    const std::vector<std::string> inputs = {"表示ｶﾞ", Bytes("95 5C B6 DE"), Bytes("1B 24 42 49 3D 3C 28 1B 28 42"),
                                             Bytes("C6 FC CB DC B8 EC")};
    std::vector<std::string> expected;
    for (const std::string& input : inputs)
        expected.push_back(ToUtf8(ToShiftJis(input)) + Utf8ToShiftJis(input));

    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 2000; ++round) {
                const std::size_t i = (t + static_cast<std::size_t>(round)) % inputs.size();
                if (ToUtf8(ToShiftJis(inputs[i])) + Utf8ToShiftJis(inputs[i]) != expected[i])
                    ++mismatches[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int count : mismatches)
        EXPECT_EQ(count, 0);
}

// nkf, reading code page 932 and widening half-width katakana, is an independent reference.
TEST(TextConvOracle, ToUtf8AgreesWithNkf)
{
    if (std::system("nkf --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "nkf is not installed";

    const std::vector<std::string> samples = {
        Bytes("95 5C 8E A6"),
        Bytes("83 5C 83 74 83 67"),
        Bytes("82 6E 82 6A"),
        Bytes("B6 DE B7 DE"),
        Bytes("CA DF"),
        Bytes("C3 DE A8 BD CC DF DA B2"),
        Bytes("B3 DE"),
        Bytes("DE"),
        Bytes("DF"),
        Bytes("B1 DE"),
        Bytes("DC DE A6 DE"),
        Bytes("DE DE"),
        Bytes("B6 DF"),
        Bytes("A1 A2 A3 A4 A5 B0"),
        Bytes("CE DE C0 DD 31 20 A6 20 B5 BD"),
        Bytes("81 60 81 7C 81 61 81 91 81 92 81 CA"),
        Bytes("87 40 87 54 87 8A FB FC"),
        Bytes("83 5C 95 5C 94 5C 8F 5C 97 5C"),
        Bytes("95 5C 5C 7E 41 42"),
        Bytes("93 FA 96 7B 8C EA 83 65 83 4C 83 58 83 67"),
        "Plain ASCII with \\ and ~",
    };

    const std::filesystem::path input =
        std::filesystem::temp_directory_path() / ("vesk_textconv_nkf_" + std::to_string(getpid()) + ".txt");
    for (const std::string& sample : samples) {
        {
            std::ofstream file(input, std::ios::binary | std::ios::trunc);
            file << sample;
        }
        const std::string command = "nkf --ic=CP932 -X -w < '" + input.string() + "'";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string expected;
        char buffer[256];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            expected.append(buffer, n);
        ASSERT_EQ(pclose(pipe), 0);
        EXPECT_EQ(ToUtf8(sample), expected) << Hex(sample);
    }
    std::filesystem::remove(input);
}

TEST(TextConvPlain, TextsThatNeedNoConversionAreFoundAtEveryOffset)
{
    // An escape sequence, a UTF-8 character or a lone high byte at every offset of ASCII texts of
    // every length around the word size: such a text needs converting (or at least looking at),
    // and the conversions still treat it as before.
    const std::string iso2022 = Bytes("1B 24 42 46 7C 4B 5C 1B 28 42");
    const std::string utf8 = "\xE6\x97\xA5";
    for (size_t length = 0; length <= 20; ++length) {
        const std::string plain(length, 'a');
        EXPECT_TRUE(NeedsNoConversion(plain)) << length;
        EXPECT_EQ(ToShiftJis(plain), plain);
        for (size_t at = 0; at <= length; ++at) {
            const std::string head = plain.substr(0, at);
            const std::string tail = plain.substr(at);
            EXPECT_FALSE(NeedsNoConversion(head + "\x1B" + tail)) << length << ' ' << at;
            EXPECT_FALSE(NeedsNoConversion(head + "\x80" + tail)) << length << ' ' << at;
            EXPECT_FALSE(NeedsNoConversion(head + "\xFF" + tail)) << length << ' ' << at;
            EXPECT_EQ(ToShiftJis(head + iso2022 + tail), head + Bytes("93 FA 96 7B") + tail) << length << ' ' << at;
            EXPECT_EQ(ToShiftJis(head + utf8 + tail), head + Bytes("93 FA") + tail) << length << ' ' << at;
            EXPECT_EQ(DisplayTextToShiftJis(head + utf8 + tail), head + Bytes("93 FA") + tail);
            EXPECT_EQ(TakeAsShiftJis(head + utf8 + tail), head + Bytes("93 FA") + tail);
        }
    }
    // Control bytes other than ESC, and 0x7F, need nothing.
    EXPECT_TRUE(NeedsNoConversion(std::string("\x00\x01\x1A\x1C\x7F tab\t", 11)));
}

/// The UTF-8 of one code point.
std::string Utf8Of(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Texts of characters of up to three UTF-8 bytes take a quicker way than texts that also hold
// others (a four-byte character sends the whole text through ICU); both ways must agree on
// every character, fallbacks and substitutes included.
TEST(TextConvUtf8, EveryCharacterEncodesAloneAsInAnyText)
{
    std::string all;
    for (char32_t c = 1; c < 0x10000; ++c) {
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        const bool nonCharacter = (c >= 0xFDD0 && c <= 0xFDEF) || c >= 0xFFFE;
        if (!surrogate && !nonCharacter)
            all += Utf8Of(c);
    }
    const std::string emoji = Utf8Of(0x1F600);
    ASSERT_EQ(DisplayTextToShiftJis(emoji), "?");
    const std::string quick = DisplayTextToShiftJis(all);
    EXPECT_EQ(DisplayTextToShiftJis(all + emoji), quick + "?");
    EXPECT_EQ(ToShiftJis(all), quick);
    EXPECT_EQ(ToShiftJis(all + emoji), quick + "?");

    struct Case {
        char32_t c;
        std::string shiftJis;
    };
    const Case cases[] = {
        {U'A', "A"},
        {U'\\', "\\"},
        {U'~', "~"},
        {U'\u00A5', "\\"},           // YEN SIGN, by fallback
        {U'\u00A2', Bytes("81 91")}, // CENT SIGN, as its full-width form
        {U'\u301C', Bytes("81 60")}, // WAVE DASH, by fallback
        {U'\uFF5E', Bytes("81 60")}, // FULLWIDTH TILDE
        {U'\u2212', Bytes("81 7C")}, // MINUS SIGN, by fallback
        {U'\uFF83', Bytes("C3")},    // half-width katakana stay half-width
        {U'\u8868', Bytes("95 5C")}, // a second byte of 0x5C
        {U'\u2460', Bytes("87 40")}, // NEC extension
        {U'\uE000', Bytes("F0 40")}, // user-defined area
        {U'\uD55C', "?"},            // Hangul: no Shift_JIS form
    };
    for (const Case& sample : cases) {
        const std::string text = "x" + Utf8Of(sample.c) + "\xE3\x81\x82"; // x, the character, あ
        const std::string expected = "x" + sample.shiftJis + Bytes("82 A0");
        EXPECT_EQ(Hex(DisplayTextToShiftJis(text)), Hex(expected)) << static_cast<uint32_t>(sample.c);
        EXPECT_EQ(Hex(DisplayTextToShiftJis(text + emoji)), Hex(expected + "?")) << static_cast<uint32_t>(sample.c);
        EXPECT_EQ(Hex(ToShiftJis(text)), Hex(expected)) << static_cast<uint32_t>(sample.c);
    }
    // Malformed UTF-8 is left to the detection as before: Shift_JIS bytes stay as they are.
    EXPECT_EQ(DisplayTextToShiftJis(Bytes("95 5C E3 81")), Bytes("95 5C E3 81"));
}

} // namespace
} // namespace vesk
