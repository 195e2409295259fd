#include "model/jsonparser.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vesk {

namespace {

/// Byte reader with one byte of push-back and line tracking for the error report.
class JsonLexer {
public:
    JsonLexer(const char* text, size_t length)
        : m_start(text), m_position(text), m_end(text + length), m_previousLineStart(text),
          m_currentLineStart(text)
    {
    }

    int Read()
    {
        if (m_pushedBack) {
            m_pushedBack = false;
            return m_last;
        }
        if (m_position == m_end) {
            m_last = -1;
            return -1;
        }
        if (m_last == '\n') {
            ++m_line;
            m_previousLineStart = m_currentLineStart;
            m_currentLineStart = m_position;
        }
        m_last = static_cast<unsigned char>(*m_position++);
        return m_last;
    }

    void PushBack()
    {
        if (m_last != -1)
            m_pushedBack = true;
    }

    void SkipBlanks()
    {
        int c;
        do {
            c = Read();
        } while (c == ' ' || c == '\t' || c == '\n' || c == '\r');
        PushBack();
    }

    bool Expect(int wanted)
    {
        SkipBlanks();
        if (Read() == wanted)
            return true;
        PushBack();
        return false;
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

    /// Appends the run of ordinary string bytes (no quote, backslash or control byte) that
    /// follows, consuming it as Read would. Valid only when nothing is pushed back.
    void TakeStringRun(int closing, std::string& out)
    {
        if (m_pushedBack)
            return;
        const char* p = m_position;
        while (p != m_end) {
            unsigned char c = static_cast<unsigned char>(*p);
            if (c == closing || c == '\\' || c < 0x20)
                break;
            ++p;
        }
        if (p == m_position)
            return;
        if (m_last == '\n') {  // the first byte of the run starts a new line
            ++m_line;
            m_previousLineStart = m_currentLineStart;
            m_currentLineStart = m_position;
        }
        out.append(m_position, p);
        m_last = static_cast<unsigned char>(p[-1]);
        m_position = p;
    }

    /// Reads a run of number bytes (digits, + - . e E) into out; the byte after it is pushed back.
    void TakeNumber(std::string& out)
    {
        for (;;) {
            int c = Read();
            if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E') {
                out += static_cast<char>(c);
                continue;
            }
            PushBack();
            return;
        }
    }

    std::string ErrorReport() const;

private:
    const char* m_start;
    const char* m_position;
    const char* m_end;
    int m_last = 0;
    bool m_pushedBack = false;
    int m_line = 1;
    const char* m_previousLineStart;
    const char* m_currentLineStart;
};

std::string JsonLexer::ErrorReport() const
{
    const long errorOffset = m_position - m_start;
    const long excerptStart = m_previousLineStart - m_start;
    char header[128];
    std::snprintf(header, sizeof header, "Parse error\n line:%d  byte:%ld\n show from %ld byte\n\n", m_line,
                  errorOffset, excerptStart);
    std::string report = header;

    const char* p = m_previousLineStart;
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
int32_t TextToInteger(const std::string& text)
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

/// Decimal text to double; false unless the whole text is one number.
bool TextToReal(const std::string& text, double& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range && result.ptr == last) {
        // Overflow and underflow give infinity and zero, as the C library does.
        bool negative = text[0] == '-';
        double magnitude = 0.0;
        size_t e = text.find_first_of("eE");
        bool bigExponent = e != std::string::npos && text.compare(e + 1, 1, "-") != 0;
        if (bigExponent || e == std::string::npos)
            magnitude = HUGE_VAL;
        value = negative ? -magnitude : magnitude;
        return true;
    }
    return result.ec == std::errc() && result.ptr == last;
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

    JsonLexer& m_lexer;
    std::string m_numberText;
};

bool ParserImpl::ParseValue(JsonValue& target, int depth)
{
    m_lexer.SkipBlanks();
    int c = m_lexer.Read();
    switch (c) {
    case '"':
    case '\'': {
        target = JsonValue(JsonKind::String);
        return ParseString(c, target.AsString());
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
        target = JsonValue::Boolean(true);
        return true;
    case 'f':
        if (!m_lexer.Match("alse"))
            return false;
        target = JsonValue::Boolean(false);
        return true;
    case 'n':
        if (!m_lexer.Match("ull"))
            return false;
        target = JsonValue();
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

bool ParserImpl::ParseString(int closing, std::string& out)
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
        case '"': out += '"'; break;
        case '/': out += '/'; break;
        case '\\': out += '\\'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
            auto readUnit = [this](unsigned long& unit) {
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
        default: return false;
        }
    }
}

bool ParserImpl::ParseNumber(JsonValue& target)
{
    m_numberText.clear();
    m_lexer.TakeNumber(m_numberText);
    if (m_numberText.find_first_of(".eE") != std::string::npos) {
        double value;
        if (!TextToReal(m_numberText, value))
            return false;
        target = JsonValue::Real(value);
        return true;
    }
    target = JsonValue::Integer(TextToInteger(m_numberText));
    return true;
}

bool ParserImpl::ParseArray(JsonValue& target, int depth)
{
    target = JsonValue(JsonKind::Array);
    JsonValue::Array& elements = target.AsArray();
    if (m_lexer.Expect(']'))
        return true;
    for (;;) {
        elements.emplace_back();
        if (!ParseValue(elements.back(), depth))
            return false;
        m_lexer.SkipBlanks();
        if (m_lexer.Read() == ',')
            continue;
        m_lexer.PushBack();
        return m_lexer.Expect(']');
    }
}

bool ParserImpl::ParseObject(JsonValue& target, int depth)
{
    target = JsonValue(JsonKind::Object);
    if (m_lexer.Expect('}'))
        return true;
    JsonValue::Object members;
    auto finish = [&target, &members](bool ok) {
        target.AdoptMembers(std::move(members));
        return ok;
    };
    for (;;) {
        m_lexer.SkipBlanks();
        int quote = m_lexer.Read();
        if (quote != '\'') {
            m_lexer.PushBack();
            m_lexer.SkipBlanks();
            quote = m_lexer.Read();
            if (quote != '"')
                return finish(false);
        }
        members.emplace_back();
        if (!ParseString(quote, members.back().first))
            return finish(false);
        m_lexer.SkipBlanks();
        if (m_lexer.Read() != ':') {
            m_lexer.PushBack();
            return finish(false);
        }
        if (!ParseValue(members.back().second, depth))
            return finish(false);
        m_lexer.SkipBlanks();
        if (m_lexer.Read() == ',')
            continue;
        m_lexer.PushBack();
        return finish(m_lexer.Expect('}'));
    }
}

}  // namespace

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

}  // namespace vesk
