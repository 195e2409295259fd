#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace vesk {

/// The order of object members: unsigned byte order, a prefix first (as std::string_view orders,
/// cheaper for short keys).
inline bool KeyBefore(std::string_view a, std::string_view b)
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
        if (a[i] != b[i])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
    return a.size() < b.size();
}

/// The kind of a parsed value; the numbers are those the system uses for the kinds.
enum class JsonKind : int32_t {
    Null = 0,     ///< no payload
    Boolean = 1,  ///< true or false
    Integer = 2,  ///< signed 32-bit integer
    Real = 3,     ///< IEEE double
    String = 4,   ///< byte string, no encoding assumed
    Array = 5,    ///< values in text order
    Object = 6,   ///< members ordered by key (unsigned byte order), each key once
};

/// A parsed value. Copies are deep; members of an object are kept sorted by key.
class JsonValue {
public:
    using Array = std::vector<JsonValue>;
    using Entry = std::pair<std::string, JsonValue>;
    using Object = std::vector<Entry>;  ///< sorted by key, unique keys

    JsonValue() = default;
    /// A value of the given kind with an empty payload (false, 0, 0.0, "", [], {}).
    explicit JsonValue(JsonKind kind);
    static JsonValue Boolean(bool value);
    static JsonValue Integer(int32_t value);
    static JsonValue Real(double value);
    static JsonValue String(std::string value);

    JsonKind Kind() const { return static_cast<JsonKind>(m_payload.index()); }
    bool IsNull() const { return Kind() == JsonKind::Null; }
    bool IsInteger() const { return Kind() == JsonKind::Integer; }
    bool IsArray() const { return Kind() == JsonKind::Array; }
    bool IsObject() const { return Kind() == JsonKind::Object; }

    /// Payload accessors; calling one for another kind is a programming error.
    bool AsBoolean() const { return std::get<bool>(m_payload); }
    int32_t AsInteger() const { return std::get<int32_t>(m_payload); }
    double AsReal() const { return std::get<double>(m_payload); }
    const std::string& AsString() const { return std::get<std::string>(m_payload); }
    std::string& AsString() { return std::get<std::string>(m_payload); }
    const Array& AsArray() const { return std::get<Array>(m_payload); }
    Array& AsArray() { return std::get<Array>(m_payload); }
    const Object& AsObject() const { return std::get<Object>(m_payload); }
    Object& AsObject() { return std::get<Object>(m_payload); }

    /// Replace the payload in place: a scalar, or an empty string, array or object to fill.
    void SetNull() { m_payload.emplace<std::monostate>(); }
    void SetBoolean(bool value) { m_payload.emplace<bool>(value); }
    void SetInteger(int32_t value) { m_payload.emplace<int32_t>(value); }
    void SetReal(double value) { m_payload.emplace<double>(value); }
    std::string& SetString() { return m_payload.emplace<std::string>(); }
    Array& SetArray() { return m_payload.emplace<Array>(); }
    Object& SetObject() { return m_payload.emplace<Object>(); }

    /// The member of that key; the shared null when absent or when this is not an object.
    const JsonValue& Get(std::string_view key) const;
    /// The member of that key, inserted as null when absent; this must be an object.
    JsonValue& Member(std::string_view key);

    /// Takes a list of members in text order, sorts it by key and keeps the last of equal keys.
    void AdoptMembers(Object&& membersInTextOrder);

    /// The compact text: strings bare, or single-quoted (unescaped) when quote is set;
    /// inner strings of arrays and objects are always quoted.
    std::string ToText(bool quote) const;
    void AppendText(std::string& out, bool quote) const;

    /// The one process-wide null value, never modified.
    static const JsonValue& SharedNull();

private:
    std::variant<std::monostate, bool, int32_t, double, std::string, Array, Object> m_payload;
};

/// Formats a double as "%f" does, without a length limit.
std::string FormatReal(double value);

}  // namespace vesk
