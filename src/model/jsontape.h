#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/jsonvalue.h"

namespace vesk {

/// A parsed text laid out flat for the record readers: every value is one small node, the
/// elements of an array and the members of an object (key, value, key, value, ...) lie next to
/// each other, and strings point into the parsed text wherever they hold no escape. Members stay
/// in text order, repeated keys included; a lookup takes the last one, as the parser's objects keep
/// the later of two equal keys. The parsed text must outlive the tape.
class JsonTape {
public:
    struct Node {
        JsonKind kind = JsonKind::Null;
        uint32_t size = 0; ///< string length, element count or member count
        union {
            const char* text; ///< string bytes
            int32_t integer;
            double real;
            bool boolean;
            uint32_t first; ///< index of the first element, or of the first member's key
        };
        Node() : first(0) {}
    };

    JsonTape() = default;
    JsonTape(const JsonTape&) = delete;
    JsonTape& operator=(const JsonTape&) = delete;

    const Node& Root() const { return m_root; }
    bool IsObject(const Node& node) const { return node.kind == JsonKind::Object; }
    /// The elements of an array (size of them).
    const Node* Elements(const Node& array) const { return m_nodes.data() + array.first; }
    /// The key and the value of member i of an object.
    std::string_view Key(const Node& object, uint32_t i) const { return String(m_nodes[object.first + 2 * i]); }
    const Node& Value(const Node& object, uint32_t i) const { return m_nodes[object.first + 2 * i + 1]; }
    /// The last member of that key, or nullptr (also when the node is not an object).
    const Node* Member(const Node& object, std::string_view key) const;
    std::string_view String(const Node& string) const { return std::string_view(string.text, string.size); }

    /// The text of a value as JsonParser::GetString gives it for a member: a string bare, a number
    /// as "%d" or "%f", true or false, an array or object in compact form; cut at its first 0
    /// byte. False (out left alone) for null.
    bool Text(const Node& value, std::string& out) const;
    /// The text of a member, or an empty text when it is null or missing.
    std::string TextOr(const Node* value) const;
    /// The text of a string value as Text gives it, without copying it; false for other kinds.
    bool StringText(const Node& value, std::string_view& out) const
    {
        if (value.kind != JsonKind::String)
            return false;
        out = String(value);
        if (m_hasNul)
            out = out.substr(0, out.find('\0'));
        return true;
    }
    /// The keys of an object in key order, each once, with the member that counts for it.
    std::vector<std::pair<std::string_view, const Node*>> SortedMembers(const Node& object) const;

    /// Forgets everything, keeping the memory for the next parse.
    void Clear();

    // Used while building.
    Node& MutableRoot() { return m_root; }
    std::vector<Node>& Nodes() { return m_nodes; }
    /// Keeps a decoded string; the answer lives as long as the tape's contents.
    const char* KeepText(std::string_view text);
    /// Notes that a decoded string holds a 0 byte (texts taken from the tape are cut there).
    void NoteNulByte() { m_hasNul = true; }

private:
    void AppendText(const Node& value, std::string& out, bool quote) const;

    Node m_root;
    std::vector<Node> m_nodes;
    std::vector<std::unique_ptr<char[]>> m_texts;      ///< chunks of short texts, the last one in use
    std::vector<std::unique_ptr<char[]>> m_largeTexts; ///< texts of their own
    size_t m_textUsed = 0;
    size_t m_textCapacity = 0;
    bool m_hasNul = false; ///< the parsed text itself holds none: it ends at its first 0 byte
};

/// Parses a text (up to its first 0 byte) into a tape by the grammar of JsonParser::Parse; false
/// where that parse fails (the report comes from JsonParser).
bool ParseTape(std::string_view text, JsonTape& tape);

/// Lays a parsed value out as a tape whose strings point into the value.
void TapeFromValue(const JsonValue& value, JsonTape& tape);

/// Receives a project text member by member while ScanProject reads it.
class ProjectScanSink {
public:
    virtual ~ProjectScanSink() = default;
    /// A member of the top-level object other than the 'Commands' array (its value is the tape's root).
    virtual void Member(std::string_view key, const JsonTape& value) = 0;
    /// An element of the 'Commands' array, in order (it is the tape's root).
    virtual void Command(const JsonTape& element) = 0;
};

/// How ScanProject ended.
enum class ProjectScan {
    Done,        ///< the text is an object with one 'Commands' array; everything was handed over
    Failed,      ///< the text does not parse
    NotAProject, ///< the text is no object, or its 'Commands' is missing, repeated or not an array
};

/// Reads a text (up to its first 0 byte) that holds a top-level object, handing each member and
/// each element of its 'Commands' array to the sink as soon as it is parsed, through one tape
/// that is reused; the grammar is that of JsonParser::Parse. Nothing that the sink got counts
/// unless the answer is Done.
ProjectScan ScanProject(std::string_view text, JsonTape& scratch, ProjectScanSink& sink);

} // namespace vesk
