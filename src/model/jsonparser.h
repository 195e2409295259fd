#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/jsonvalue.h"

namespace vesk {

/// Parses the editor's JSON dialect (single or double quotes, integers apart from reals) and
/// offers cursor queries through which the readers walk the parsed text.
class JsonParser {
public:
    /// Nesting deeper than this fails the parse with the usual report.
    static constexpr int kMaxDepth = 512;

    virtual ~JsonParser() = default;

    /// Parses the text up to its first 0 byte. True on success, with the cursor on the root;
    /// on failure ErrorText holds the report and the cursor is unchanged.
    bool Parse(std::string_view text);

    /// True when the cursor is set and its member of that key is an array.
    bool IsArray(std::string_view key) const;
    /// The cursor's member of that key when it is an array, else an empty array.
    const JsonValue::Array& GetArray(std::string_view key) const;
    /// Moves the cursor into the member of that key when it is an object; false leaves it.
    bool EnterObject(std::string_view key);
    /// True when there is no cursor, the cursor is null, or its member of that key is null/absent.
    bool IsNull(std::string_view key) const;
    /// The member's compact text (strings bare), cut at its first 0 byte; false for null/absent.
    bool GetString(std::string_view key, std::string& out) const;
    /// The member when it is an integer; false for anything else.
    bool GetInt(std::string_view key, int& out) const;
    /// Appends the cursor's member keys in key order; answers how many, 0 when not an object.
    int GetKeys(std::vector<std::string>& keys) const;

    const JsonValue* Cursor() const { return m_cursor; }
    void SetCursor(const JsonValue* cursor) { m_cursor = cursor; }
    /// Copies the cursor into the saved slot, and back.
    void SaveCursor() { m_savedCursor = m_cursor; }
    void RestoreCursor() { m_cursor = m_savedCursor; }
    const JsonValue* SavedCursor() const { return m_savedCursor; }
    void SetSavedCursor(const JsonValue* saved) { m_savedCursor = saved; }

    const JsonValue& Root() const { return m_root; }

    /// The report of the last failed parse; empty after a successful one.
    std::string ErrorText;

private:
    JsonValue m_root;
    const JsonValue* m_cursor = nullptr;
    const JsonValue* m_savedCursor = nullptr;
};

/// Parses a text that must hold exactly one value (blanks around it allowed, nothing else);
/// answers the value, or nothing when the text is not such a value.
std::optional<JsonValue> ParseWholeValue(std::string_view text);

/// A walk over an array: each NextElement moves the parser's cursor to the next element and
/// answers true, or answers false at the end (leaving the cursor on the last element).
class JsonArrayWalk {
public:
    JsonArrayWalk(JsonParser& parser, const JsonValue::Array& elements)
        : m_parser(parser), m_elements(elements)
    {
    }
    bool NextElement();

private:
    JsonParser& m_parser;
    const JsonValue::Array& m_elements;
    size_t m_next = 0;
};

}  // namespace vesk
