#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "model/jsonparser.h"
#include "model/jsonvalue.h"
#include "model/orbstream.h"

using namespace vesk;

namespace {

std::string PrintfReal(double value)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%f", value);
    return buffer;
}

JsonValue Parsed(std::string_view text)
{
    JsonParser parser;
    EXPECT_TRUE(parser.Parse(text)) << parser.ErrorText;
    return parser.Root();
}

} // namespace

TEST(JsonValueModel, KindsAndEmptyPayloads)
{
    JsonValue fresh;
    EXPECT_TRUE(fresh.IsNull());
    EXPECT_EQ(static_cast<int>(fresh.Kind()), 0);
    const std::pair<JsonKind, const char*> kinds[] = {
        {JsonKind::Null, "null"}, {JsonKind::Boolean, "false"}, {JsonKind::Integer, "0"}, {JsonKind::Real, "0.000000"},
        {JsonKind::String, "''"}, {JsonKind::Array, "[]"},      {JsonKind::Object, "{}"},
    };
    int code = 0;
    for (const auto& [kind, text] : kinds) {
        JsonValue value(kind);
        EXPECT_EQ(static_cast<int>(value.Kind()), code++);
        EXPECT_EQ(value.ToText(true), text);
    }
    EXPECT_TRUE(JsonValue(JsonKind::Integer).IsInteger());
    EXPECT_TRUE(JsonValue(JsonKind::Array).IsArray());
    EXPECT_TRUE(JsonValue(JsonKind::Object).IsObject());
    EXPECT_FALSE(JsonValue(JsonKind::Object).IsArray());
}

TEST(JsonValueModel, GetAnswersTheSharedNullForMissingMembersAndNonObjects)
{
    JsonValue object = Parsed("{'a':1}");
    EXPECT_EQ(object.Get("a").AsInteger(), 1);
    EXPECT_EQ(&object.Get("b"), &JsonValue::SharedNull());
    EXPECT_EQ(&Parsed("[1]").Get("a"), &JsonValue::SharedNull());
    EXPECT_EQ(&JsonValue::String("a").Get("a"), &JsonValue::SharedNull());
    EXPECT_TRUE(JsonValue::SharedNull().IsNull());
}

TEST(JsonValueModel, MemberInsertsNullInKeyOrder)
{
    JsonValue object(JsonKind::Object);
    object.Member("m") = JsonValue::Integer(1);
    object.Member("b") = JsonValue::String("x");
    JsonValue& inserted = object.Member("z");
    EXPECT_TRUE(inserted.IsNull());
    object.Member("b") = JsonValue::Boolean(true);
    EXPECT_EQ(object.ToText(true), "{'b':true,'m':1,'z':null}");
}

TEST(JsonValueModel, AdoptMembersSortsAndKeepsTheLaterOfEqualKeys)
{
    JsonValue::Object members;
    members.emplace_back("b", JsonValue::Integer(1));
    members.emplace_back("a", JsonValue::Integer(2));
    members.emplace_back("b", JsonValue::Integer(3));
    members.emplace_back("a", JsonValue::Integer(4));
    members.emplace_back("\x80", JsonValue::Integer(5));
    members.emplace_back("A", JsonValue::Integer(6));
    JsonValue object;
    object.AdoptMembers(std::move(members));
    EXPECT_EQ(object.ToText(true), "{'A':6,'a':4,'b':3,'\x80':5}");
}

TEST(JsonValueModel, CopiesAreDeep)
{
    JsonValue original = Parsed("{'list':[1,{'k':'v'}],'s':'text'}");
    JsonValue copy = original;
    copy.AsObject()[0].second.AsArray()[1].Member("k") = JsonValue::Integer(9);
    copy.Member("s").AsString() = "changed";
    EXPECT_EQ(original.ToText(true), "{'list':[1,{'k':'v'}],'s':'text'}");
    EXPECT_EQ(copy.ToText(true), "{'list':[1,{'k':9}],'s':'changed'}");
    copy = copy; // assigning a value to itself changes nothing
    EXPECT_EQ(copy.ToText(true), "{'list':[1,{'k':9}],'s':'changed'}");
}

TEST(JsonValueText, StringsAreNeverEscaped)
{
    JsonValue word = Parsed("\"it's\"");
    EXPECT_EQ(word.ToText(false), "it's");
    EXPECT_EQ(word.ToText(true), "'it's'");
    JsonValue controls = Parsed("'a\\\\b\\n\\u0001'");
    EXPECT_EQ(controls.ToText(true), "'a\\b\n\x01'");
}

TEST(JsonValueText, CompactFormsInKeyOrder)
{
    EXPECT_EQ(Parsed("{ 'b' : 1 ,\n 'a' : 2 }").ToText(true), "{'a':2,'b':1}");
    EXPECT_EQ(Parsed("['x', 'y']").ToText(false), "['x','y']") << "inner strings are always quoted";
    EXPECT_EQ(Parsed("{'o':{'n':null,'t':true,'f':false},'r':[1.5,-2,[]]}").ToText(false),
              "{'o':{'f':false,'n':null,'t':true},'r':[1.500000,-2,[]]}");
    EXPECT_EQ(JsonValue::Integer(INT_MIN).ToText(true), "-2147483648");
    EXPECT_EQ(JsonValue::Integer(INT_MAX).ToText(true), "2147483647");
    EXPECT_EQ(JsonValue::Real(1.5).ToText(true), "1.500000");
    EXPECT_EQ(JsonValue::Real(-0.0).ToText(true), "-0.000000");
    EXPECT_EQ(JsonValue::Real(0.0000005).ToText(true), "0.000000");
    EXPECT_EQ(JsonValue::Real(0.0000015).ToText(true), "0.000002");
    EXPECT_EQ(JsonValue::Real(HUGE_VAL).ToText(true), "inf");
    EXPECT_EQ(JsonValue::Real(-HUGE_VAL).ToText(true), "-inf");
}

TEST(JsonValueText, RealsHaveNoLengthLimit)
{
    // Six-decimal texts of 64 bytes and more.
    EXPECT_EQ(FormatReal(1e56), "100000000000000009190283508143378238084034459715684532224.000000");
    EXPECT_EQ(FormatReal(-1e55), "-10000000000000000102350670204085511496304388135324745728.000000");
    EXPECT_EQ(FormatReal(std::ldexp(1.0, 200)), "1606938044258990275541962092341162602522202993782792835301376.000000");
    std::string largest = FormatReal(DBL_MAX);
    EXPECT_EQ(largest.size(), 309u + 7u);
    EXPECT_TRUE(largest.starts_with("1797693134862315708145274237317043567980705675258449965989174768031572607800285"));
    EXPECT_EQ(FormatReal(-DBL_MAX), "-" + largest);
}

TEST(JsonValueText, RealsMatchThePrintfFormat)
{
    const double chosen[] = {
        0.0,          -0.0,      0.5,          1.5,          2.5,   0.0000005,          0.0000025,
        0.1234565,    9.9999995, 480.0,        1e22,         1e23,  123456789.125,      DBL_MIN,
        DBL_TRUE_MIN, DBL_MAX,   -DBL_MAX,     1e56,         -1e55, 4503599627370496.5, 9007199254740993.0,
        HUGE_VAL,     -HUGE_VAL, std::nan(""), -std::nan("")};
    for (double value : chosen)
        EXPECT_EQ(FormatReal(value), PrintfReal(value)) << value;

    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> moderate(-1e7, 1e7);
    int mismatches = 0;
    for (int i = 0; i < 100000; ++i) {
        uint64_t bits = random();
        double anyDouble;
        std::memcpy(&anyDouble, &bits, sizeof anyDouble);
        // Binary fractions with up to 23 bits after the point include exact ties at the sixth decimal.
        double tie = std::round(moderate(random)) / static_cast<double>(1u << (random() % 24));
        for (double value : {anyDouble, moderate(random), tie})
            if (FormatReal(value) != PrintfReal(value) && ++mismatches < 5)
                ADD_FAILURE() << "value " << std::hexfloat << value << ": " << FormatReal(value) << " vs "
                              << PrintfReal(value);
    }
    EXPECT_EQ(mismatches, 0);
    for (int exponent = -330; exponent <= 308; ++exponent) {
        double value = std::pow(10.0, exponent);
        EXPECT_EQ(FormatReal(value), PrintfReal(value)) << exponent;
        EXPECT_EQ(FormatReal(-3 * value), PrintfReal(-3 * value)) << exponent;
    }
}

TEST(OrbStreamOutput, StringStreamCollectsAndFileStreamWritesBytesUnchanged)
{
    CJsonString text;
    text.Write("{'a':", 5);
    text.WriteTabs(2);
    text.Write(std::string_view("\0\r\n}", 4));
    EXPECT_EQ(text.Text(), std::string("{'a':\t\t\0\r\n}", 11));
    text.WriteTabs(0);
    EXPECT_EQ(text.Text().size(), 11u);

    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
        COrbStream stream(file);
        stream.Write("a\nb");
        stream.WriteTabs(1);
        ASSERT_EQ(std::fflush(file), 0);
        std::rewind(file);
        char buffer[16] = {};
        EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, file), 4u);
        EXPECT_EQ(std::string(buffer, 4), "a\nb\t");
        std::fseek(file, 0, SEEK_END);
        EXPECT_FALSE(stream.Failed());
        EXPECT_TRUE(stream.Close());
    }

    COrbStream closed(nullptr);
    closed.Write("x");
    EXPECT_TRUE(closed.Failed());
    EXPECT_FALSE(closed.Close());
}
