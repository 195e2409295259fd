#include "model/itemdata.h"

#include <charconv>
#include <cmath>
#include <map>
#include <optional>

#include "model/jsonparser.h"
#include "textconv/textconv.h"

namespace vesk {

const std::string* SharedText(std::string_view utf8)
{
    static std::map<std::string, std::string, std::less<>> texts;
    auto it = texts.find(utf8);
    if (it == texts.end())
        it = texts.emplace(std::string(utf8), Utf8ToShiftJisExact(utf8)).first;
    return &it->second;
}

CItemList CItemList::Clone() const
{
    CItemList copy;
    copy.m_items.reserve(m_items.size());
    for (const auto& item : m_items)
        copy.m_items.push_back(std::make_unique<CItemData>(*item));
    return copy;
}

CItemData* CItemList::Find(std::string_view name)
{
    for (auto& item : m_items)
        if (item->Name() == name)
            return item.get();
    return nullptr;
}

const CItemData* CItemList::Find(std::string_view name) const
{
    for (const auto& item : m_items)
        if (item->Name() == name)
            return item.get();
    return nullptr;
}

void CItemList::AdoptMatching(CItemList&& old)
{
    for (auto& item : m_items)
        for (auto& previous : old.m_items)
            if (previous && previous->Name() == item->Name()) {
                item = std::move(previous);
                break;
            }
    old.Clear();
}

std::string HeldTextFromFile(const CItemData* item, std::string_view fileValue)
{
    if (item && item->Kind() == ItemKind::Display)
        return DisplayTextToShiftJis(fileValue);
    return ToShiftJis(fileValue);
}

void AppendEscaped(std::string& out, std::string_view text)
{
    static const char hex[] = "0123456789ABCDEF";
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\'') {
            out += "\\u0027";
        } else if (c < 0x20) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else {
            out += ch;
        }
    }
}

namespace {

/// True when a 0x5C byte of the text is the second byte of a Shift_JIS double-byte character.
bool HasShiftJisTrailBackslash(std::string_view text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (IsShiftJisLeadByte(static_cast<unsigned char>(text[i]))) {
            if (text[i + 1] == '\\')
                return true;
            ++i;
        }
    }
    return false;
}

} // namespace

bool IsWellFormedBareValue(std::string_view value, ItemKind kind)
{
    switch (kind) {
    case ItemKind::Flag:
        return value == "true" || value == "false";
    case ItemKind::Number: {
        std::optional<JsonValue> number = ParseWholeValue(value);
        if (!number)
            return false;
        if (number->Kind() == JsonKind::Real)
            return std::isfinite(number->AsReal()); // 1e999 would read back as "inf"
        if (number->Kind() != JsonKind::Integer)
            return false;
        // Digits with an optional minus sign that fit the integer exactly; "1-2" or
        // "99999999999" would read back as another number.
        char buffer[16];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, number->AsInteger());
        std::string_view canonical(buffer, static_cast<size_t>(result.ptr - buffer));
        std::string_view digits = value;
        if (digits.starts_with('-') && canonical.starts_with('-')) {
            digits.remove_prefix(1);
            canonical.remove_prefix(1);
        }
        size_t zeros = digits.find_first_not_of('0');
        if (zeros != std::string_view::npos && zeros > 0 && digits.size() > 1)
            digits.remove_prefix(zeros);
        return digits == canonical;
    }
    case ItemKind::Data: {
        // Written bare, the value reads back as the compact text of its parse. Keep it bare
        // only when that text reads back as itself (strings holding a quote, a backslash or a
        // control byte do not), and never when a 0x5C byte is the second byte of a Shift_JIS
        // character, which the parser would take for the start of an escape.
        std::optional<JsonValue> data = ParseWholeValue(value);
        if (!data || data->IsNull() || HasShiftJisTrailBackslash(value))
            return false;
        std::string compact = data->ToText(true);
        std::optional<JsonValue> again = ParseWholeValue(compact);
        return again && again->ToText(true) == compact;
    }
    default:
        return false;
    }
}

std::string ItemText(const CItemData& item)
{
    std::string out;
    if (item.Name().empty() || item.Value().empty())
        return out;
    out += '\'';
    AppendEscaped(out, item.Name());
    out += "':";
    int kind = static_cast<int>(item.Kind());
    if (kind > 9 && IsWellFormedBareValue(item.Value(), item.Kind())) {
        out += item.Value();
        return out;
    }
    out += '\'';
    if (item.Kind() == ItemKind::Display)
        AppendEscaped(out, ToUtf8(item.Value()));
    else
        AppendEscaped(out, item.Value());
    out += '\'';
    return out;
}

} // namespace vesk
