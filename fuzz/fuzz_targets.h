#pragma once

// Entry points shared by the libFuzzer targets and the robustness tests. Each takes any bytes,
// runs them through one reader and answers an empty text when every property held, or a
// description of what broke.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/jsonparser.h"
#include "model/orbstream.h"
#include "objects/resourcedata.h"
#include "records/resourcefile.h"
#include "model/resourcetree.h"

namespace vesk::fuzz {

inline constexpr std::string_view kReportHead = "Parse error\n line:";
inline constexpr std::string_view kReportTrailer = "\n\nput '!' at error pos. under 0x20, (Hex).\n";

/// An empty text when the report has the parser's frame and numbers that fit a text of that
/// length (up to its first 0 byte); otherwise what is wrong with it.
inline std::string CheckReport(const std::string& report, std::string_view text)
{
    if (!report.starts_with(kReportHead) || !report.ends_with(kReportTrailer))
        return "report without its frame:\n" + report;
    int line = 0;
    long byte = -1;
    long showFrom = -1;
    if (std::sscanf(report.c_str(), "Parse error\n line:%d  byte:%ld\n show from %ld byte\n\n", &line, &byte,
                    &showFrom) != 3)
        return "report header unreadable:\n" + report;
    const long length = static_cast<long>(text.substr(0, text.find('\0')).size());
    if (line < 1 || byte < 0 || byte > length || showFrom < 0 || showFrom > byte)
        return "report numbers out of range:\n" + report;
    return {};
}

/// True when the compact quoted text of the value reads back as the same text: no reals (their
/// six decimals round), and no quote, backslash or control byte in any string or key.
inline bool HasPlainText(const JsonValue& value)
{
    auto plain = [](const std::string& text) {
        for (char ch : text) {
            unsigned char c = static_cast<unsigned char>(ch);
            if (c < 0x20 || c == '\'' || c == '\\')
                return false;
        }
        return true;
    };
    switch (value.Kind()) {
    case JsonKind::Real:
        return false;
    case JsonKind::String:
        return plain(value.AsString());
    case JsonKind::Array:
        for (const JsonValue& element : value.AsArray())
            if (!HasPlainText(element))
                return false;
        return true;
    case JsonKind::Object:
        for (const auto& [key, member] : value.AsObject())
            if (!plain(key) || !HasPlainText(member))
                return false;
        return true;
    default:
        return true;
    }
}

/// Walks the value under the cursor with the cursor queries, as the readers do, checking that
/// they agree with the value; answers what disagreed, or an empty text.
inline std::string WalkWithQueries(JsonParser& parser, int& budget, int depth = 0)
{
    const JsonValue* here = parser.Cursor();
    if (--budget < 0 || !here)
        return {};
    std::vector<std::string> keys;
    int count = parser.GetKeys(keys);
    if (count != static_cast<int>(keys.size()) || (!here->IsObject() && count != 0))
        return "GetKeys count differs from the keys it appended";
    for (const std::string& key : keys) {
        const JsonValue& member = here->Get(key);
        // The compact text of an array or object is checked near the top only.
        if (depth < 3 || (!member.IsArray() && !member.IsObject())) {
            std::string text = "unchanged";
            bool got = parser.GetString(key, text);
            if (got == member.IsNull() || (!got && text != "unchanged"))
                return "GetString disagrees with the member's kind for key " + key;
            if (got) {
                std::string expected = member.ToText(false);
                expected.resize(std::min(expected.size(), expected.find('\0')));
                if (text != expected)
                    return "GetString differs from the compact text for key " + key;
            }
        }
        int number = 0;
        if (parser.GetInt(key, number) != member.IsInteger() || (member.IsInteger() && number != member.AsInteger()))
            return "GetInt disagrees with the member for key " + key;
        if (parser.IsArray(key)) {
            const JsonValue::Array& elements = parser.GetArray(key);
            JsonArrayWalk walk(parser, elements);
            while (walk.NextElement()) {
                const JsonValue* element = parser.Cursor();
                if (std::string broken = WalkWithQueries(parser, budget, depth + 1); !broken.empty())
                    return broken;
                parser.SetCursor(element);
            }
            if (parser.Cursor() != (elements.empty() ? here : &elements.back()))
                return "the array walk did not end on the last element for key " + key;
            parser.SetCursor(here);
        } else if (parser.EnterObject(key)) {
            if (parser.Cursor() != &member)
                return "EnterObject moved the cursor elsewhere for key " + key;
            if (std::string broken = WalkWithQueries(parser, budget, depth + 1); !broken.empty())
                return broken;
            parser.SetCursor(here);
        } else if (parser.Cursor() != here) {
            return "a failed EnterObject moved the cursor for key " + key;
        }
    }
    if (parser.Cursor() != here)
        return "the walk lost the cursor";
    return {};
}

/// Parses the bytes with the cursor queries and the whole-value reader; accepted (when given)
/// tells whether the text parsed.
inline std::string CheckJsonParser(std::string_view text, bool* accepted = nullptr)
{
    JsonParser parser;
    if (!parser.Parse("{'k':[1]}"))
        return "the fixed first text does not parse";
    const JsonValue* before = parser.Cursor();
    const bool parsed = parser.Parse(text);
    if (accepted)
        *accepted = parsed;
    if (!parsed) {
        if (parser.Cursor() != before)
            return "a failed parse moved the cursor";
        if (std::string broken = CheckReport(parser.ErrorText, text); !broken.empty())
            return broken;
        if (ParseWholeValue(text))
            return "the whole-value reader accepts a text the parser refuses";
        return {};
    }
    if (!parser.ErrorText.empty() || parser.Cursor() != &parser.Root())
        return "a successful parse left a report or no cursor on the root";
    int budget = 20000;
    if (std::string broken = WalkWithQueries(parser, budget); !broken.empty())
        return broken;
    const std::string compact = parser.Root().ToText(true);
    if (std::optional<JsonValue> whole = ParseWholeValue(text); whole && whole->ToText(true) != compact)
        return "the whole-value reader reads another value than the parser";
    if (HasPlainText(parser.Root())) {
        JsonParser again;
        if (!again.Parse(compact) || again.Root().ToText(true) != compact)
            return "the compact text does not read back:\n" + compact;
    }
    return {};
}

/// A tree view that only counts what it is given.
class CountingTreeView : public ResourceTreeView {
public:
    TreeItemId InsertItem(const std::string&, TreeItemId, TreeItemId, TekClass* node) override
    {
        if (!node)
            m_failed = true;
        return ++m_count;
    }
    void SetExpanded(TreeItemId item, bool) override
    {
        if (item == kTreeRootLevel || item > m_count)
            m_failed = true;
    }
    void DeleteAllItems() override { m_count = 0; }
    TreeItemId Count() const { return m_count; }
    bool Failed() const { return m_failed; }

private:
    TreeItemId m_count = 0;
    bool m_failed = false;
};

/// Reads the bytes as a resource text into a fresh resource, builds its tree, writes it and
/// reads the written text again, which must load with every written dialog.
inline std::string CheckResourceText(std::string_view text)
{
    CTekResourceData resource;
    std::string errorText;
    if (!ReadResourceText(resource, text, &errorText)) {
        if (std::string broken = CheckReport(errorText, text); !broken.empty())
            return broken;
        CJsonString written;
        CJsonString fresh;
        WriteResource(resource, written, "");
        WriteResource(CTekResourceData(), fresh, "");
        if (written.Text() != fresh.Text())
            return "a text that does not parse changed the resource";
        return {};
    }
    CountingTreeView tree;
    resource.BuildTree(tree);
    if (tree.Failed() || tree.Count() < 1)
        return "the tree was built badly";

    CJsonString written;
    WriteResource(resource, written, "");
    CTekResourceData reread;
    std::string rereadError;
    if (!ReadResourceText(reread, written.Text(), &rereadError))
        return "the written text does not load again:\n" + rereadError + "\nwritten text:\n" + written.Text();
    int withRoot = 0;
    for (int i = 0; i < resource.Dialogs().Count(); ++i)
        if (resource.Dialogs().At(i).RootObject())
            ++withRoot;
    if (reread.Dialogs().Count() != withRoot)
        return "the written text loads with another number of dialogs:\n" + written.Text();

    if (resource.Dialogs().Count() > 0) {
        const std::string& name = resource.Dialogs().At(0).GetItem("Name");
        CJsonString one;
        WriteResource(resource, one, name);
        CTekResourceData single;
        if (!ReadResourceText(single, one.Text(), &rereadError))
            return "the written dialog does not load again:\n" + rereadError + "\nwritten text:\n" + one.Text();
    }
    return {};
}

/// Stops the process with the description when a property broke (for the fuzzing binaries).
inline void RequireClean(const std::string& broken)
{
    if (broken.empty())
        return;
    std::fprintf(stderr, "%s\n", broken.c_str());
    std::abort();
}

} // namespace vesk::fuzz
