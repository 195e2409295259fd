#include "model/jsontape.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <numeric>

namespace vesk {

namespace {

constexpr size_t kTextChunk = 64 * 1024;

void CutAtNul(std::string& text)
{
    if (size_t nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
}

} // namespace

const JsonTape::Node* JsonTape::Member(const Node& object, std::string_view key) const
{
    if (object.kind != JsonKind::Object)
        return nullptr;
    for (uint32_t i = object.size; i > 0; --i)
        if (Key(object, i - 1) == key)
            return &Value(object, i - 1);
    return nullptr;
}

bool JsonTape::Text(const Node& value, std::string& out) const
{
    if (value.kind == JsonKind::Null)
        return false;
    if (value.kind == JsonKind::String) {
        out.assign(value.text, value.size);
    } else {
        out.clear();
        AppendText(value, out, false);
    }
    if (m_hasNul)
        CutAtNul(out);
    return true;
}

std::string JsonTape::TextOr(const Node* value) const
{
    std::string out;
    if (value)
        Text(*value, out);
    return out;
}

std::vector<std::pair<std::string_view, const JsonTape::Node*>> JsonTape::SortedMembers(const Node& object) const
{
    std::vector<std::pair<std::string_view, const Node*>> members;
    if (object.kind != JsonKind::Object)
        return members;
    std::vector<uint32_t> order(object.size);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return KeyBefore(Key(object, a), Key(object, b)); });
    // Of equal keys the later one in text order counts.
    for (size_t i = 0; i < order.size(); ++i) {
        if (i + 1 < order.size() && Key(object, order[i]) == Key(object, order[i + 1]))
            continue;
        members.emplace_back(Key(object, order[i]), &Value(object, order[i]));
    }
    return members;
}

void JsonTape::AppendText(const Node& value, std::string& out, bool quote) const
{
    switch (value.kind) {
    case JsonKind::Null:
        out += "null";
        break;
    case JsonKind::Boolean:
        out += value.boolean ? "true" : "false";
        break;
    case JsonKind::Integer: {
        char buffer[16];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value.integer);
        out.append(buffer, result.ptr);
        break;
    }
    case JsonKind::Real:
        out += FormatReal(value.real);
        break;
    case JsonKind::String:
        if (quote)
            out += '\'';
        out.append(value.text, value.size);
        if (quote)
            out += '\'';
        break;
    case JsonKind::Array: {
        out += '[';
        for (uint32_t i = 0; i < value.size; ++i) {
            if (i)
                out += ',';
            AppendText(Elements(value)[i], out, true);
        }
        out += ']';
        break;
    }
    case JsonKind::Object: {
        out += '{';
        bool first = true;
        for (const auto& [key, member] : SortedMembers(value)) {
            if (!first)
                out += ',';
            first = false;
            out += '\'';
            out += key;
            out += "':";
            AppendText(*member, out, true);
        }
        out += '}';
        break;
    }
    }
}

void JsonTape::Clear()
{
    m_root = Node();
    m_nodes.clear();
    m_texts.clear();
    m_largeTexts.clear();
    m_hasNul = false;
    m_textUsed = 0;
    m_textCapacity = 0;
}

const char* JsonTape::KeepText(std::string_view text)
{
    if (text.size() > kTextChunk / 4) {
        m_largeTexts.push_back(std::make_unique<char[]>(text.size()));
        std::memcpy(m_largeTexts.back().get(), text.data(), text.size());
        return m_largeTexts.back().get();
    }
    if (m_textUsed + text.size() > m_textCapacity) {
        m_texts.push_back(std::make_unique<char[]>(kTextChunk));
        m_textUsed = 0;
        m_textCapacity = kTextChunk;
    }
    char* at = m_texts.back().get() + m_textUsed;
    std::memcpy(at, text.data(), text.size());
    m_textUsed += text.size();
    return at;
}

namespace {

void Lay(const JsonValue& value, JsonTape& tape, uint32_t index)
{
    JsonTape::Node node;
    node.kind = value.Kind();
    switch (value.Kind()) {
    case JsonKind::Null:
        break;
    case JsonKind::Boolean:
        node.boolean = value.AsBoolean();
        break;
    case JsonKind::Integer:
        node.integer = value.AsInteger();
        break;
    case JsonKind::Real:
        node.real = value.AsReal();
        break;
    case JsonKind::String:
        node.text = value.AsString().data();
        node.size = static_cast<uint32_t>(value.AsString().size());
        if (value.AsString().find('\0') != std::string::npos)
            tape.NoteNulByte();
        break;
    case JsonKind::Array: {
        const JsonValue::Array& elements = value.AsArray();
        node.size = static_cast<uint32_t>(elements.size());
        node.first = static_cast<uint32_t>(tape.Nodes().size());
        tape.Nodes().resize(tape.Nodes().size() + elements.size());
        for (size_t i = 0; i < elements.size(); ++i)
            Lay(elements[i], tape, node.first + static_cast<uint32_t>(i));
        break;
    }
    case JsonKind::Object: {
        const JsonValue::Object& members = value.AsObject();
        node.size = static_cast<uint32_t>(members.size());
        node.first = static_cast<uint32_t>(tape.Nodes().size());
        tape.Nodes().resize(tape.Nodes().size() + 2 * members.size());
        for (size_t i = 0; i < members.size(); ++i) {
            JsonTape::Node& key = tape.Nodes()[node.first + 2 * i];
            key.kind = JsonKind::String;
            key.text = members[i].first.data();
            if (members[i].first.find('\0') != std::string::npos)
                tape.NoteNulByte();
            key.size = static_cast<uint32_t>(members[i].first.size());
            Lay(members[i].second, tape, node.first + static_cast<uint32_t>(2 * i + 1));
        }
        break;
    }
    }
    if (index == UINT32_MAX)
        tape.MutableRoot() = node;
    else
        tape.Nodes()[index] = node;
}

} // namespace

void TapeFromValue(const JsonValue& value, JsonTape& tape)
{
    tape.Clear();
    Lay(value, tape, UINT32_MAX);
}

} // namespace vesk
