#include "model/jsonvalue.h"

#include <algorithm>
#include <charconv>

namespace vesk {

namespace {

bool KeyLess(const JsonValue::Entry& a, const JsonValue::Entry& b) { return a.first < b.first; }

JsonValue::Object::const_iterator FindMember(const JsonValue::Object& members, std::string_view key)
{
    auto it = std::lower_bound(members.begin(), members.end(), key,
                               [](const JsonValue::Entry& m, std::string_view k) { return KeyBefore(m.first, k); });
    if (it != members.end() && it->first == key)
        return it;
    return members.end();
}

}  // namespace

JsonValue::JsonValue(JsonKind kind)
{
    switch (kind) {
    case JsonKind::Null: break;
    case JsonKind::Boolean: m_payload = false; break;
    case JsonKind::Integer: m_payload = int32_t{0}; break;
    case JsonKind::Real: m_payload = 0.0; break;
    case JsonKind::String: m_payload = std::string(); break;
    case JsonKind::Array: m_payload = Array(); break;
    case JsonKind::Object: m_payload = Object(); break;
    }
}

JsonValue JsonValue::Boolean(bool value)
{
    JsonValue v;
    v.m_payload = value;
    return v;
}

JsonValue JsonValue::Integer(int32_t value)
{
    JsonValue v;
    v.m_payload = value;
    return v;
}

JsonValue JsonValue::Real(double value)
{
    JsonValue v;
    v.m_payload = value;
    return v;
}

JsonValue JsonValue::String(std::string value)
{
    JsonValue v;
    v.m_payload = std::move(value);
    return v;
}

const JsonValue& JsonValue::SharedNull()
{
    static const JsonValue null;
    return null;
}

const JsonValue& JsonValue::Get(std::string_view key) const
{
    if (!IsObject())
        return SharedNull();
    const Object& members = AsObject();
    auto it = FindMember(members, key);
    return it == members.end() ? SharedNull() : it->second;
}

JsonValue& JsonValue::Member(std::string_view key)
{
    Object& members = AsObject();
    auto it = std::lower_bound(members.begin(), members.end(), key,
                               [](const JsonValue::Entry& m, std::string_view k) { return std::string_view(m.first) < k; });
    if (it != members.end() && it->first == key)
        return it->second;
    return members.emplace(it, std::string(key), JsonValue())->second;
}

void JsonValue::AdoptMembers(Object&& membersInTextOrder)
{
    Object members = std::move(membersInTextOrder);
    if (!std::is_sorted(members.begin(), members.end(), KeyLess))
        std::stable_sort(members.begin(), members.end(), KeyLess);
    // Of equal keys the later one in text order wins.
    auto out = members.begin();
    for (auto it = members.begin(); it != members.end(); ++it) {
        auto next = std::next(it);
        if (next != members.end() && next->first == it->first)
            continue;
        if (out != it)
            *out = std::move(*it);
        ++out;
    }
    members.erase(out, members.end());
    m_payload = std::move(members);
}

std::string FormatReal(double value)
{
    // Six decimals as "%f" gives them, in the C locale whatever the process locale is, and
    // with room for the largest double (309 integer digits).
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

void JsonValue::AppendText(std::string& out, bool quote) const
{
    switch (Kind()) {
    case JsonKind::Null: out += "null"; break;
    case JsonKind::Boolean: out += AsBoolean() ? "true" : "false"; break;
    case JsonKind::Integer: {
        char buffer[16];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, AsInteger());
        out.append(buffer, result.ptr);
        break;
    }
    case JsonKind::Real: out += FormatReal(AsReal()); break;
    case JsonKind::String:
        if (quote)
            out += '\'';
        out += AsString();
        if (quote)
            out += '\'';
        break;
    case JsonKind::Array: {
        out += '[';
        bool first = true;
        for (const JsonValue& element : AsArray()) {
            if (!first)
                out += ',';
            first = false;
            element.AppendText(out, true);
        }
        out += ']';
        break;
    }
    case JsonKind::Object: {
        out += '{';
        bool first = true;
        for (const auto& [key, member] : AsObject()) {
            if (!first)
                out += ',';
            first = false;
            out += '\'';
            out += key;
            out += "':";
            member.AppendText(out, true);
        }
        out += '}';
        break;
    }
    }
}

std::string JsonValue::ToText(bool quote) const
{
    std::string out;
    AppendText(out, quote);
    return out;
}

}  // namespace vesk
