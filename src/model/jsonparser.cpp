#include "model/jsonparser.h"
#include "model/jsontape.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>

namespace vesk {

namespace {

/// Bytes that end a run of ordinary string bytes, apart from the closing quote: the backslash
/// and the control bytes.
constexpr std::array<bool, 256> kStringStops = [] {
    std::array<bool, 256> stops{};
    for (int c = 0; c < 0x20; ++c)
        stops[static_cast<size_t>(c)] = true;
    stops['\\'] = true;
    return stops;
}();

/// SP, TAB, LF and CR: the bytes SkipBlanks passes over.
constexpr std::array<bool, 256> kBlanks = [] {
    std::array<bool, 256> blanks{};
    blanks[' '] = blanks['\t'] = blanks['\n'] = blanks['\r'] = true;
    return blanks;
}();

/// The number of leading bytes of [p, end) that are ordinary string bytes (not the closing quote,
/// a backslash or a control byte), looking at eight bytes at a time where eight are left.
size_t StringRunLength(const char* p, const char* end, int closing)
{
    const char* const first = p;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t kOnes = 0x0101010101010101;
        constexpr uint64_t kHighBits = 0x8080808080808080;
        const uint64_t quotes = kOnes * static_cast<unsigned char>(closing);
        for (; end - p >= 8; p += 8) {
            uint64_t word;
            std::memcpy(&word, p, sizeof word);
            // The high bit of a byte is set where it is the quote or a backslash (a zero after the
            // XOR) or below 0x20; a false mark can only follow a true one, so the lowest counts.
            const uint64_t quote = word ^ quotes;
            const uint64_t backslash = word ^ (kOnes * '\\');
            const uint64_t stops =
                ((quote - kOnes) & ~quote) | ((backslash - kOnes) & ~backslash) | ((word - kOnes * 0x20) & ~word);
            if (const uint64_t found = stops & kHighBits; found != 0)
                return static_cast<size_t>(p - first) + static_cast<size_t>(std::countr_zero(found) / 8);
        }
    }
    for (; p != end; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == closing || kStringStops[c])
            break;
    }
    return static_cast<size_t>(p - first);
}

/// The number of leading bytes of [p, end) that are blanks (SP, TAB, LF, CR), looking at eight
/// bytes at a time where eight are left.
size_t BlankRunLength(const char* p, const char* end)
{
    const char* const first = p;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t kOnes = 0x0101010101010101;
        constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
        constexpr uint64_t kHighBits = 0x8080808080808080;
        // The high bit of each byte that is zero, and of no other.
        const auto zeros = [](uint64_t v) { return ~(((v & kLow7) + kLow7) | v) & kHighBits; };
        for (; end - p >= 8; p += 8) {
            uint64_t word;
            std::memcpy(&word, p, sizeof word);
            const uint64_t blanks = zeros(word ^ (kOnes * ' ')) | zeros(word ^ (kOnes * '\t')) |
                                    zeros(word ^ (kOnes * '\n')) | zeros(word ^ (kOnes * '\r'));
            if (const uint64_t others = ~blanks & kHighBits; others != 0)
                return static_cast<size_t>(p - first) + static_cast<size_t>(std::countr_zero(others) / 8);
        }
    }
    while (p != end && kBlanks[static_cast<unsigned char>(*p)])
        ++p;
    return static_cast<size_t>(p - first);
}

bool IsNumberByte(char c)
{
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

/// Byte reader with one byte of push-back. A pushed-back byte counts as read for the error
/// report; the line numbers of the report follow from how far the reader got.
class JsonLexer {
public:
    JsonLexer(const char* text, size_t length) : m_start(text), m_position(text), m_end(text + length) {}

    /// The next byte (0 to 255), or -1 at the end of the text.
    int Read()
    {
        m_pushedBack = false;
        if (m_position == m_end) {
            m_lastWasEnd = true;
            return -1;
        }
        m_lastWasEnd = false;
        return static_cast<unsigned char>(*m_position++);
    }

    /// Hands the byte last read back to the next Read; nothing happens after the end was read.
    void PushBack()
    {
        if (m_lastWasEnd || m_pushedBack)
            return;
        --m_position;
        m_pushedBack = true;
    }

    /// Reads up to the first byte other than SP, TAB, LF or CR and pushes that byte back.
    void SkipBlanks()
    {
        const char* p = m_position;
        if (p != m_end && kBlanks[static_cast<unsigned char>(*p)])
            p += BlankRunLength(p, m_end);
        m_position = p;
        m_lastWasEnd = p == m_end;
        m_pushedBack = !m_lastWasEnd;
    }

    bool Expect(int wanted)
    {
        SkipBlanks();
        if (m_lastWasEnd || static_cast<unsigned char>(*m_position) != wanted)
            return false;
        ++m_position;
        m_pushedBack = false;
        return true;
    }

    bool Match(const char* text)
    {
        for (; *text; ++text) {
            if (Read() != static_cast<unsigned char>(*text)) {
                PushBack();
                return false;
            }
        }
        return true;
    }

    /// Appends the run of ordinary string bytes (no closing quote, backslash or control byte)
    /// that follows, consuming it.
    void TakeStringRun(int closing, std::string& out)
    {
        const char* p = m_position + StringRunLength(m_position, m_end, closing);
        if (p == m_position)
            return;
        out.append(m_position, p);
        m_position = p;
        m_pushedBack = false;
        m_lastWasEnd = false;
    }

    /// Consumes the run of ordinary string bytes that follows and answers it.
    std::string_view TakeStringRunView(int closing)
    {
        const char* first = m_position;
        const char* p = first + StringRunLength(first, m_end, closing);
        if (p != first) {
            m_position = p;
            m_pushedBack = false;
            m_lastWasEnd = false;
        }
        return std::string_view(first, static_cast<size_t>(p - first));
    }

    /// Reads a run of number bytes (digits, + - . e E) and answers it; the byte after it is
    /// pushed back.
    std::string_view TakeNumber()
    {
        const char* first = m_position;
        const char* p = first;
        while (p != m_end && IsNumberByte(*p))
            ++p;
        m_position = p;
        m_lastWasEnd = p == m_end;
        m_pushedBack = !m_lastWasEnd;
        return std::string_view(first, static_cast<size_t>(p - first));
    }

    /// Reads the opening quote of a member's key (' or ", blanks before it skipped); -1 when
    /// anything else comes.
    int ReadKeyQuote()
    {
        SkipBlanks();
        int quote = Read();
        if (quote != '\'') {
            PushBack();
            SkipBlanks();
            quote = Read();
            if (quote != '"')
                return -1;
        }
        return quote;
    }

    /// What follows an element or a member: 1 for a comma, 0 for the closing byte (either consumed),
    /// -1 for anything else.
    int NextOrClose(int closing)
    {
        SkipBlanks();
        if (Read() == ',')
            return 1;
        PushBack();
        return Expect(closing) ? 0 : -1;
    }

    std::string ErrorReport() const;

private:
    const char* m_start;
    const char* m_position; ///< the next byte to deliver (a pushed-back byte is delivered again)
    const char* m_end;
    bool m_pushedBack = false;
    bool m_lastWasEnd = false;
};

std::string JsonLexer::ErrorReport() const
{
    // Bytes read so far, a pushed-back byte included.
    const long errorOffset = (m_position - m_start) + (m_pushedBack ? 1 : 0);
    // A line begins when the byte after a line feed is read; the excerpt starts at the line
    // before the current one.
    int line = 1;
    const char* currentLineStart = m_start;
    const char* previousLineStart = m_start;
    for (const char* p = m_start; p + 1 < m_start + errorOffset; ++p) {
        p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(m_start + errorOffset - 1 - p)));
        if (!p)
            break;
        ++line;
        previousLineStart = currentLineStart;
        currentLineStart = p + 1;
    }
    const long excerptStart = previousLineStart - m_start;
    char header[128];
    std::snprintf(header, sizeof header, "Parse error\n line:%d  byte:%ld\n show from %ld byte\n\n", line, errorOffset,
                  excerptStart);
    std::string report = header;

    const char* p = previousLineStart;
    int lineFeeds = 0;
    for (;;) {
        if (p - m_start == errorOffset)
            report += '!';
        if (p == m_end)
            break;
        unsigned char c = static_cast<unsigned char>(*p++);
        if (c == '\n') {
            if (++lineFeeds >= 2)
                break;
            continue;
        }
        if (c >= 0x20 || c == '\t' || c == 0x0E) {
            report += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "(%x)", c);
            report += hex;
        }
    }
    report += "\n\nput '!' at error pos. under 0x20, (Hex).\n";
    return report;
}

/// Appends a code point in UTF-8.
void AppendUtf8(std::string& out, unsigned long cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int HexDigit(int c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

/// Decimal text to integer as the C library's strtol does with a 32-bit long: optional sign,
/// digits, stop at the first other byte, clamp on overflow.
int32_t TextToInteger(std::string_view text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 1LL + INT32_MAX)
            value = 1LL + INT32_MAX;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

/// True when a well-formed decimal number that does not fit a double is too large rather than
/// too small: its first significant digit stands left of the decimal point once the exponent
/// is applied.
bool IsTooLarge(std::string_view text)
{
    size_t i = text[0] == '-' ? 1 : 0;
    long long magnitude = 0;
    bool significant = false;
    bool fraction = false;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] == '.') {
            fraction = true;
        } else if (significant || text[i] != '0') {
            significant = true;
            if (!fraction)
                ++magnitude;
        } else if (fraction) {
            --magnitude;
        }
    }
    long long exponent = 0;
    bool negativeExponent = false;
    if (i < text.size()) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            negativeExponent = text[i++] == '-';
        for (; i < text.size(); ++i)
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1000000000000LL);
    }
    return magnitude + (negativeExponent ? -exponent : exponent) > 0;
}

/// Decimal text to double; false unless the whole text is one number.
bool TextToReal(std::string_view text, double& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range && result.ptr == last) {
        // Overflow and underflow give infinity and zero, as the C library does.
        double magnitude = IsTooLarge(text) ? HUGE_VAL : 0.0;
        value = text[0] == '-' ? -magnitude : magnitude;
        return true;
    }
    return result.ec == std::errc() && result.ptr == last;
}

/// The cleared scratch list of a nesting level; lists stay where they are as levels are added.
template <typename List> List& Scratch(std::vector<std::unique_ptr<List>>& levels, int depth)
{
    while (levels.size() <= static_cast<size_t>(depth))
        levels.push_back(std::make_unique<List>());
    List& list = *levels[static_cast<size_t>(depth)];
    list.clear();
    return list;
}

/// The number the lexer is at: a real when its text has '.', 'e' or 'E', else an integer; false
/// when a real does not convert.
bool TakeNumber(JsonLexer& lexer, JsonKind& kind, double& real, int32_t& integer)
{
    const std::string_view text = lexer.TakeNumber();
    if (text.find_first_of(".eE") != std::string_view::npos) {
        kind = JsonKind::Real;
        return TextToReal(text, real);
    }
    kind = JsonKind::Integer;
    integer = TextToInteger(text);
    return true;
}

class ParserImpl {
public:
    explicit ParserImpl(JsonLexer& lexer) : m_lexer(lexer) {}

    bool ParseValue(JsonValue& target, int depth);

private:
    bool ParseString(int closing, std::string& out);
    bool ParseNumber(JsonValue& target);
    bool ParseArray(JsonValue& target, int depth);
    bool ParseObject(JsonValue& target, int depth);
    void TakeMembers(JsonValue::Object& inTextOrder, JsonValue::Object& out);

    JsonLexer& m_lexer;
    // Elements and members are collected per nesting level and then moved into a container of
    // their exact size, so each array and object allocates once.
    std::vector<std::unique_ptr<JsonValue::Array>> m_elementLevels;
    std::vector<std::unique_ptr<JsonValue::Object>> m_memberLevels;
    struct SortRecord {
        uint64_t prefix;
        uint32_t index;
    };
    std::vector<SortRecord> m_order;
};

bool ParserImpl::ParseValue(JsonValue& target, int depth)
{
    m_lexer.SkipBlanks();
    int c = m_lexer.Read();
    switch (c) {
    case '"':
    case '\'': {
        return ParseString(c, target.SetString());
    }
    case '[':
        if (depth >= JsonParser::kMaxDepth)
            return false;
        return ParseArray(target, depth + 1);
    case '{':
        if (depth >= JsonParser::kMaxDepth)
            return false;
        return ParseObject(target, depth + 1);
    case 't':
        if (!m_lexer.Match("rue"))
            return false;
        target.SetBoolean(true);
        return true;
    case 'f':
        if (!m_lexer.Match("alse"))
            return false;
        target.SetBoolean(false);
        return true;
    case 'n':
        if (!m_lexer.Match("ull"))
            return false;
        target.SetNull();
        return true;
    default:
        if (c == '-' || (c >= '0' && c <= '9')) {
            m_lexer.PushBack();
            return ParseNumber(target);
        }
        m_lexer.PushBack();
        return false;
    }
}

/// Parses the rest of a string closed by the given byte, appending its bytes to out.
bool ParseStringBody(JsonLexer& m_lexer, int closing, std::string& out)
{
    for (;;) {
        m_lexer.TakeStringRun(closing, out);
        int c = m_lexer.Read();
        if (c == -1)
            return false;
        if (c < 0x20) {
            m_lexer.PushBack();
            return false;
        }
        if (c == closing)
            return true;
        if (c != '\\') {
            out += static_cast<char>(c);
            continue;
        }
        c = m_lexer.Read();
        switch (c) {
        case '"':
            out += '"';
            break;
        case '/':
            out += '/';
            break;
        case '\\':
            out += '\\';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'u': {
            auto readUnit = [&m_lexer](unsigned long& unit) {
                unit = 0;
                for (int i = 0; i < 4; ++i) {
                    int digit = HexDigit(m_lexer.Read());
                    if (digit < 0)
                        return false;
                    unit = unit * 16 + static_cast<unsigned long>(digit);
                }
                return true;
            };
            unsigned long unit;
            if (!readUnit(unit))
                return false;
            if (unit >= 0xDC00 && unit <= 0xDFFF)
                return false;
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                unsigned long low;
                if (m_lexer.Read() != '\\' || m_lexer.Read() != 'u' || !readUnit(low))
                    return false;
                if (low < 0xDC00 || low > 0xDFFF)
                    return false;
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            }
            AppendUtf8(out, unit);
            break;
        }
        default:
            return false;
        }
    }
}

bool ParserImpl::ParseString(int closing, std::string& out)
{
    return ParseStringBody(m_lexer, closing, out);
}

bool ParserImpl::ParseNumber(JsonValue& target)
{
    JsonKind kind;
    double real = 0;
    int32_t integer = 0;
    if (!TakeNumber(m_lexer, kind, real, integer))
        return false;
    if (kind == JsonKind::Real)
        target.SetReal(real);
    else
        target.SetInteger(integer);
    return true;
}

bool ParserImpl::ParseArray(JsonValue& target, int depth)
{
    JsonValue::Array& result = target.SetArray();
    if (m_lexer.Expect(']'))
        return true;
    JsonValue::Array& elements = Scratch(m_elementLevels, depth);
    for (;;) {
        elements.emplace_back();
        if (!ParseValue(elements.back(), depth))
            return false;
        const int next = m_lexer.NextOrClose(']');
        if (next < 0)
            return false;
        if (next > 0)
            continue;
        result.reserve(elements.size());
        std::move(elements.begin(), elements.end(), std::back_inserter(result));
        elements.clear();
        return true;
    }
}

bool ParserImpl::ParseObject(JsonValue& target, int depth)
{
    JsonValue::Object& result = target.SetObject();
    if (m_lexer.Expect('}'))
        return true;
    JsonValue::Object& members = Scratch(m_memberLevels, depth);
    for (;;) {
        const int quote = m_lexer.ReadKeyQuote();
        if (quote < 0)
            return false;
        members.emplace_back();
        if (!ParseString(quote, members.back().first))
            return false;
        m_lexer.SkipBlanks();
        if (m_lexer.Read() != ':') {
            m_lexer.PushBack();
            return false;
        }
        if (!ParseValue(members.back().second, depth))
            return false;
        const int next = m_lexer.NextOrClose('}');
        if (next < 0)
            return false;
        if (next > 0)
            continue;
        TakeMembers(members, result);
        return true;
    }
}

/// Moves the members into out ordered by key, keeping the later of equal keys.
void ParserImpl::TakeMembers(JsonValue::Object& inTextOrder, JsonValue::Object& out)
{
    // The members are ordered through small records of the first eight key bytes (big-endian,
    // so that integer order is byte order) and the text position; equal prefixes fall back to
    // comparing whole keys. Ties keep text order.
    const size_t count = inTextOrder.size();
    m_order.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const std::string& key = inTextOrder[i].first;
        uint64_t prefix = 0;
        std::memcpy(&prefix, key.data(), std::min<size_t>(key.size(), 8));
        if constexpr (std::endian::native == std::endian::little)
            prefix = __builtin_bswap64(prefix);
        m_order[i] = {prefix, static_cast<uint32_t>(i)};
    }
    auto less = [&inTextOrder](const SortRecord& a, const SortRecord& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        return KeyBefore(inTextOrder[a.index].first, inTextOrder[b.index].first);
    };
    if (count <= 32) {
        // Insertion sort: stable, and without the buffer a stable sort allocates.
        for (size_t i = 1; i < count; ++i) {
            SortRecord record = m_order[i];
            size_t j = i;
            for (; j > 0 && less(record, m_order[j - 1]); --j)
                m_order[j] = m_order[j - 1];
            m_order[j] = record;
        }
    } else {
        std::stable_sort(m_order.begin(), m_order.end(), less);
    }
    out.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        JsonValue::Entry& member = inTextOrder[m_order[i].index];
        if (i + 1 < count && m_order[i].prefix == m_order[i + 1].prefix &&
            member.first == inTextOrder[m_order[i + 1].index].first)
            continue;
        out.push_back(std::move(member));
    }
    inTextOrder.clear();
}

} // namespace

bool JsonParser::Parse(std::string_view text)
{
    ErrorText.clear();
    size_t length = text.size();
    if (const void* nul = std::memchr(text.data(), 0, length))
        length = static_cast<size_t>(static_cast<const char*>(nul) - text.data());
    JsonLexer lexer(text.data(), length);
    ParserImpl parser(lexer);
    JsonValue root;
    if (!parser.ParseValue(root, 0)) {
        ErrorText = lexer.ErrorReport();
        return false;
    }
    m_root = std::move(root);
    m_cursor = &m_root;
    return true;
}

std::optional<JsonValue> ParseWholeValue(std::string_view text)
{
    if (text.find('\0') != std::string_view::npos)
        return std::nullopt;
    JsonLexer lexer(text.data(), text.size());
    ParserImpl parser(lexer);
    JsonValue value;
    if (!parser.ParseValue(value, 0))
        return std::nullopt;
    lexer.SkipBlanks();
    if (lexer.Read() != -1)
        return std::nullopt;
    return value;
}

bool JsonParser::IsArray(std::string_view key) const
{
    return m_cursor && m_cursor->Get(key).IsArray();
}

const JsonValue::Array& JsonParser::GetArray(std::string_view key) const
{
    static const JsonValue::Array empty;
    if (!m_cursor)
        return empty;
    const JsonValue& member = m_cursor->Get(key);
    return member.IsArray() ? member.AsArray() : empty;
}

bool JsonParser::EnterObject(std::string_view key)
{
    if (!m_cursor)
        return false;
    const JsonValue& member = m_cursor->Get(key);
    if (!member.IsObject())
        return false;
    m_cursor = &member;
    return true;
}

bool JsonParser::IsNull(std::string_view key) const
{
    return !m_cursor || m_cursor->IsNull() || m_cursor->Get(key).IsNull();
}

bool JsonParser::GetString(std::string_view key, std::string& out) const
{
    if (IsNull(key))
        return false;
    out = m_cursor->Get(key).ToText(false);
    if (size_t nul = out.find('\0'); nul != std::string::npos)
        out.resize(nul);
    return true;
}

bool JsonParser::GetInt(std::string_view key, int& out) const
{
    if (!m_cursor)
        return false;
    const JsonValue& member = m_cursor->Get(key);
    if (!member.IsInteger())
        return false;
    out = member.AsInteger();
    return true;
}

int JsonParser::GetKeys(std::vector<std::string>& keys) const
{
    if (!m_cursor || !m_cursor->IsObject())
        return 0;
    for (const auto& member : m_cursor->AsObject())
        keys.push_back(member.first);
    return static_cast<int>(m_cursor->AsObject().size());
}

bool JsonArrayWalk::NextElement()
{
    if (m_next >= m_elements.size())
        return false;
    m_parser.SetCursor(&m_elements[m_next++]);
    return true;
}

// --- Tapes ------------------------------------------------------------------------------------

namespace {

using TapeNode = JsonTape::Node;

/// The grammar of ParserImpl, building tape nodes instead of values.
class TapeBuilder {
public:
    TapeBuilder(JsonLexer& lexer, JsonTape& tape) : m_lexer(lexer), m_tape(tape) {}

    bool ParseValue(TapeNode& target, int depth);
    /// Parses a string closed by the given byte into a string node.
    bool ParseString(int closing, TapeNode& target);
    /// Parses the elements of an array whose "[" was read, each through ParseValue at depth.
    bool ParseArray(TapeNode& target, int depth);

private:
    bool ParseNumber(TapeNode& target);
    bool ParseObject(TapeNode& target, int depth);
    /// Moves the collected children into the tape as one block.
    void Settle(TapeNode& target, std::vector<TapeNode>& children, uint32_t count)
    {
        std::vector<TapeNode>& nodes = m_tape.Nodes();
        target.first = static_cast<uint32_t>(nodes.size());
        target.size = count;
        nodes.insert(nodes.end(), children.begin(), children.end());
        children.clear();
    }

    JsonLexer& m_lexer;
    JsonTape& m_tape;
    std::vector<std::unique_ptr<std::vector<TapeNode>>> m_levels;
    std::string m_decoded;
};

bool TapeBuilder::ParseValue(TapeNode& target, int depth)
{
    m_lexer.SkipBlanks();
    int c = m_lexer.Read();
    switch (c) {
    case '"':
    case '\'':
        return ParseString(c, target);
    case '[':
        if (depth >= JsonParser::kMaxDepth)
            return false;
        target.kind = JsonKind::Array;
        return ParseArray(target, depth + 1);
    case '{':
        if (depth >= JsonParser::kMaxDepth)
            return false;
        return ParseObject(target, depth + 1);
    case 't':
        if (!m_lexer.Match("rue"))
            return false;
        target.kind = JsonKind::Boolean;
        target.boolean = true;
        return true;
    case 'f':
        if (!m_lexer.Match("alse"))
            return false;
        target.kind = JsonKind::Boolean;
        target.boolean = false;
        return true;
    case 'n':
        if (!m_lexer.Match("ull"))
            return false;
        target.kind = JsonKind::Null;
        return true;
    default:
        if (c == '-' || (c >= '0' && c <= '9')) {
            m_lexer.PushBack();
            return ParseNumber(target);
        }
        m_lexer.PushBack();
        return false;
    }
}

bool TapeBuilder::ParseString(int closing, TapeNode& target)
{
    target.kind = JsonKind::String;
    const std::string_view run = m_lexer.TakeStringRunView(closing);
    const int c = m_lexer.Read();
    if (c == closing) {
        target.text = run.data();
        target.size = static_cast<uint32_t>(run.size());
        return true;
    }
    if (c == -1)
        return false;
    // An escape or a control byte: decode the rest as the parser does.
    m_lexer.PushBack();
    m_decoded.assign(run);
    if (!ParseStringBody(m_lexer, closing, m_decoded))
        return false;
    if (m_decoded.find('\0') != std::string::npos)
        m_tape.NoteNulByte();
    target.text = m_tape.KeepText(m_decoded);
    target.size = static_cast<uint32_t>(m_decoded.size());
    return true;
}

bool TapeBuilder::ParseNumber(TapeNode& target)
{
    JsonKind kind;
    double real = 0;
    int32_t integer = 0;
    if (!TakeNumber(m_lexer, kind, real, integer))
        return false;
    target.kind = kind;
    if (kind == JsonKind::Real)
        target.real = real;
    else
        target.integer = integer;
    return true;
}

bool TapeBuilder::ParseArray(TapeNode& target, int depth)
{
    target.kind = JsonKind::Array;
    target.size = 0;
    target.first = 0;
    if (m_lexer.Expect(']'))
        return true;
    std::vector<TapeNode>& elements = Scratch(m_levels, depth);
    for (;;) {
        elements.emplace_back();
        if (!ParseValue(elements.back(), depth))
            return false;
        const int next = m_lexer.NextOrClose(']');
        if (next < 0)
            return false;
        if (next > 0)
            continue;
        Settle(target, elements, static_cast<uint32_t>(elements.size()));
        return true;
    }
}

bool TapeBuilder::ParseObject(TapeNode& target, int depth)
{
    target.kind = JsonKind::Object;
    target.size = 0;
    target.first = 0;
    if (m_lexer.Expect('}'))
        return true;
    std::vector<TapeNode>& members = Scratch(m_levels, depth);
    for (;;) {
        const int quote = m_lexer.ReadKeyQuote();
        if (quote < 0)
            return false;
        members.emplace_back();
        if (!ParseString(quote, members.back()))
            return false;
        m_lexer.SkipBlanks();
        if (m_lexer.Read() != ':') {
            m_lexer.PushBack();
            return false;
        }
        members.emplace_back();
        if (!ParseValue(members.back(), depth))
            return false;
        const int next = m_lexer.NextOrClose('}');
        if (next < 0)
            return false;
        if (next > 0)
            continue;
        Settle(target, members, static_cast<uint32_t>(members.size() / 2));
        return true;
    }
}

std::string_view UpToNul(std::string_view text)
{
    if (const void* nul = std::memchr(text.data(), 0, text.size()))
        return text.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - text.data()));
    return text;
}

} // namespace

bool ParseTape(std::string_view text, JsonTape& tape)
{
    tape.Clear();
    text = UpToNul(text);
    JsonLexer lexer(text.data(), text.size());
    TapeBuilder builder(lexer, tape);
    return builder.ParseValue(tape.MutableRoot(), 0);
}

ProjectScan ScanProject(std::string_view text, JsonTape& scratch, ProjectScanSink& sink)
{
    text = UpToNul(text);
    JsonLexer lexer(text.data(), text.size());
    TapeBuilder builder(lexer, scratch);
    // The top-level object at depth 0, its members at depth 1, the elements of 'Commands' at depth 2,
    // as ParserImpl counts them.
    lexer.SkipBlanks();
    if (lexer.Read() != '{' || lexer.Expect('}'))
        return ProjectScan::NotAProject;
    bool commandsSeen = false;
    std::string key;
    for (;;) {
        const int quote = lexer.ReadKeyQuote();
        if (quote < 0)
            return ProjectScan::Failed;
        scratch.Clear();
        TapeNode keyNode;
        if (!builder.ParseString(quote, keyNode))
            return ProjectScan::Failed;
        key.assign(scratch.String(keyNode));
        lexer.SkipBlanks();
        if (lexer.Read() != ':')
            return ProjectScan::Failed;
        if (key == "Commands") {
            lexer.SkipBlanks();
            if (commandsSeen || lexer.Read() != '[')
                return ProjectScan::NotAProject;
            commandsSeen = true;
            if (!lexer.Expect(']')) {
                for (;;) {
                    scratch.Clear();
                    if (!builder.ParseValue(scratch.MutableRoot(), 2))
                        return ProjectScan::Failed;
                    sink.Command(scratch);
                    const int next = lexer.NextOrClose(']');
                    if (next < 0)
                        return ProjectScan::Failed;
                    if (next == 0)
                        break;
                }
            }
        } else {
            scratch.Clear();
            if (!builder.ParseValue(scratch.MutableRoot(), 1))
                return ProjectScan::Failed;
            sink.Member(key, scratch);
        }
        const int next = lexer.NextOrClose('}');
        if (next < 0)
            return ProjectScan::Failed;
        if (next > 0)
            continue;
        return commandsSeen ? ProjectScan::Done : ProjectScan::NotAProject;
    }
}

} // namespace vesk
