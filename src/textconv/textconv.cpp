#include "textconv/textconv.h"

#include <unicode/translit.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace vesk {
namespace {

// Code page 932 as Windows has it: 0x5C is a backslash, 0x7E a tilde, and the NEC and IBM
// extensions are mapped. ("ibm-943" would turn 0x5C into a yen sign.)
constexpr const char* kShiftJisName = "windows-31j";
constexpr const char* kEucJpName = "EUC-JP";
// The JIS7 flavour also accepts SO/SI katakana and JIS X 0212 besides ESC ( I.
constexpr const char* kIso2022JpName = "ISO_2022,locale=ja,version=3";
constexpr const char* kUtf8Name = "UTF-8";

enum class Codec { ShiftJis, EucJp, Iso2022Jp, Utf8 };
constexpr std::size_t kCodecCount = 4;

const char* CodecName(Codec codec)
{
    switch (codec) {
    case Codec::ShiftJis:
        return kShiftJisName;
    case Codec::EucJp:
        return kEucJpName;
    case Codec::Iso2022Jp:
        return kIso2022JpName;
    case Codec::Utf8:
        return kUtf8Name;
    }
    return kUtf8Name;
}

// Half-width katakana and punctuation (U+FF61 to U+FF9F) become full-width, voiced and
// semi-voiced marks composing with the preceding kana. Only characters of that range are
// touched: a combining mark elsewhere in the text stays as it is. A mark that has nothing to
// compose with becomes the spacing mark, and the two composites Shift_JIS lacks (ヷ, ヺ) are
// split again, so that the result always encodes in Shift_JIS.
constexpr const char16_t* kWidenRules = u":: [\\uFF61-\\uFF9F] ;\n"
                                        u":: Halfwidth-Fullwidth ;\n"
                                        u":: NFC ;\n"
                                        u"\\u30F7 > \\u30EF\\u309B ;\n"
                                        u"\\u30FA > \\u30F2\\u309B ;\n"
                                        u"\\u3099 > \\u309B ;\n"
                                        u"\\u309A > \\u309C ;\n";

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// ICU converters keep state between calls and must not be shared between threads, so each
// thread opens its own, once.
class ThreadConverters {
public:
    UConverter* Get(Codec codec)
    {
        ConverterPtr& slot = m_converters[static_cast<std::size_t>(codec)];
        if (!slot) {
            UErrorCode status = U_ZERO_ERROR;
            slot.reset(ucnv_open(CodecName(codec), &status));
            if (U_FAILURE(status)) {
                slot.reset();
                return nullptr;
            }
            if (codec == Codec::ShiftJis) {
                // Fallbacks let U+301C WAVE DASH, U+2212 MINUS SIGN and their kin encode.
                ucnv_setFallback(slot.get(), true);
                const char substitute = '?';
                ucnv_setSubstChars(slot.get(), &substitute, 1, &status);
            }
        }
        return slot.get();
    }

    const icu::Transliterator* Widener()
    {
        if (!m_widenerTried) {
            m_widenerTried = true;
            UErrorCode status = U_ZERO_ERROR;
            UParseError parseError{};
            m_widener.reset(icu::Transliterator::createFromRules(
                u"vesk-widen-katakana", icu::UnicodeString(kWidenRules), UTRANS_FORWARD, parseError, status));
            if (U_FAILURE(status))
                m_widener.reset();
        }
        return m_widener.get();
    }

private:
    std::array<ConverterPtr, kCodecCount> m_converters;
    std::unique_ptr<icu::Transliterator> m_widener;
    bool m_widenerTried = false;
};

ThreadConverters& Converters()
{
    thread_local ThreadConverters converters;
    return converters;
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

/// True when every byte is below 0x80 and none is ESC: a text that no conversion changes. Eight
/// bytes are looked at a time.
bool IsPlainAscii(std::string_view text)
{
    constexpr uint64_t kOnes = 0x0101010101010101;
    constexpr uint64_t kHighBits = 0x8080808080808080;
    const char* p = text.data();
    size_t left = text.size();
    for (; left >= 8; p += 8, left -= 8) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
        const uint64_t escapes = word ^ (kOnes * 0x1B); // a zero byte where an ESC was
        if (((word | ((escapes - kOnes) & ~escapes)) & kHighBits) != 0)
            return false;
    }
    for (; left > 0; ++p, --left)
        if (static_cast<unsigned char>(*p) >= 0x80 || *p == '\x1B')
            return false;
    return true;
}

// ICU counts in int32_t; a text too large for it is left alone.
bool FitsIcu(std::string_view text)
{
    return text.size() < static_cast<std::size_t>(INT32_MAX / 2);
}

// Answers the text decoded from the codec, or nothing when the converter is unavailable or,
// when strict, when the bytes hold an illegal or unassigned sequence. Otherwise such sequences
// become U+FFFD.
std::optional<icu::UnicodeString> Decode(Codec codec, std::string_view bytes, bool strict)
{
    UConverter* converter = Converters().Get(codec);
    if (converter == nullptr || !FitsIcu(bytes))
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    if (strict)
        ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    else
        ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status))
        return std::nullopt;

    icu::UnicodeString text;
    int32_t capacity = static_cast<int32_t>(bytes.size()) + 1;
    for (int attempt = 0; attempt < 2; ++attempt) {
        status = U_ZERO_ERROR;
        UChar* buffer = text.getBuffer(capacity);
        if (buffer == nullptr)
            return std::nullopt;
        const int32_t length =
            ucnv_toUChars(converter, buffer, capacity, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
        text.releaseBuffer(U_SUCCESS(status) ? length : 0);
        if (status != U_BUFFER_OVERFLOW_ERROR)
            break;
        capacity = length + 1;
    }
    if (U_FAILURE(status))
        return std::nullopt;
    return text;
}

// Shift_JIS has the full-width forms of these JIS characters only.
void ReplaceJisOnlyCharacters(icu::UnicodeString& text)
{
    for (int32_t i = 0; i < text.length(); ++i) {
        switch (text.charAt(i)) {
        case u'\u00A2': // CENT SIGN
            text.setCharAt(i, u'\uFFE0');
            break;
        case u'\u00A3': // POUND SIGN
            text.setCharAt(i, u'\uFFE1');
            break;
        case u'\u00AC': // NOT SIGN
            text.setCharAt(i, u'\uFFE2');
            break;
        default:
            break;
        }
    }
}

// Answers the text in Shift_JIS, a character it lacks becoming '?', or nothing when the
// converter is unavailable.
std::optional<std::string> EncodeShiftJis(icu::UnicodeString text)
{
    UConverter* converter = Converters().Get(Codec::ShiftJis);
    if (converter == nullptr)
        return std::nullopt;
    ReplaceJisOnlyCharacters(text);
    std::string bytes;
    int32_t capacity = text.length() * 2 + 1;
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode status = U_ZERO_ERROR;
        bytes.resize(static_cast<std::size_t>(capacity));
        const int32_t length =
            ucnv_fromUChars(converter, bytes.data(), capacity, text.getBuffer(), text.length(), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            capacity = length + 1;
            continue;
        }
        if (U_FAILURE(status))
            return std::nullopt;
        bytes.resize(static_cast<std::size_t>(length));
        return bytes;
    }
    return std::nullopt;
}

// The Shift_JIS bytes of every character of the Basic Multilingual Plane as EncodeShiftJis gives
// them, with the same fallbacks, substitute and replacements: the converter keeps no state
// between characters, so a text of such characters encodes as their bytes one after another.
// Built once, by one conversion of all the characters with the source offset of each byte.
class ShiftJisTable {
public:
    static const ShiftJisTable& Get()
    {
        static const ShiftJisTable table;
        return table;
    }

    bool Valid() const { return m_valid; }
    /// The bytes of c: the first in the low byte, the second (if any) in the next; the count above.
    uint32_t Entry(uint32_t c) const { return m_entries[c]; }
    static constexpr uint32_t kCountShift = 16;

private:
    ShiftJisTable()
    {
        UErrorCode status = U_ZERO_ERROR;
        ConverterPtr converter(ucnv_open(kShiftJisName, &status));
        if (U_FAILURE(status))
            return;
        ucnv_setFallback(converter.get(), true);
        const char substitute = '?';
        ucnv_setSubstChars(converter.get(), &substitute, 1, &status);
        ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &status);
        if (U_FAILURE(status))
            return;

        icu::UnicodeString all;
        for (uint32_t c = 0; c < 0x10000; ++c)
            all.append(static_cast<char16_t>(IsSurrogate(c) ? 0 : c));
        ReplaceJisOnlyCharacters(all);
        const int32_t length = all.length();
        std::vector<char> bytes(static_cast<size_t>(length) * 4);
        std::vector<int32_t> offsets(bytes.size());
        char* target = bytes.data();
        const UChar* source = all.getBuffer();
        ucnv_fromUnicode(converter.get(), &target, bytes.data() + bytes.size(), &source, source + length,
                         offsets.data(), true, &status);
        if (U_FAILURE(status))
            return;
        const size_t written = static_cast<size_t>(target - bytes.data());
        for (size_t i = 0; i < written; ++i) {
            const auto c = static_cast<uint32_t>(offsets[i]);
            if (c >= m_entries.size())
                return;
            const uint32_t count = m_entries[c] >> kCountShift;
            if (count >= 2)
                return;
            const uint32_t byte = static_cast<unsigned char>(bytes[i]);
            m_entries[c] = (m_entries[c] & 0xFFFF) | (byte << (8 * count)) | ((count + 1) << kCountShift);
        }
        m_valid = true;
    }

    static bool IsSurrogate(uint32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

    std::array<uint32_t, 0x10000> m_entries{};
    bool m_valid = false;
};

// The text's UTF-8 in Shift_JIS as Decode(Utf8, strict) and EncodeShiftJis give it, or nothing
// when the text holds anything but well-formed sequences of one to three bytes for characters
// other than the noncharacters, which are left to ICU.
std::optional<std::string> TableUtf8ToShiftJis(std::string_view utf8)
{
    const ShiftJisTable& table = ShiftJisTable::Get();
    if (!table.Valid() || !FitsIcu(utf8))
        return std::nullopt;
    std::string out;
    out.resize(utf8.size());
    char* o = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const end = p + utf8.size();
    while (p != end) {
        const unsigned char* const start = p;
        uint32_t c = *p;
        if (c < 0x80) {
            ++p;
        } else if (c >= 0xC2 && c <= 0xDF) {
            if (end - p < 2 || (p[1] & 0xC0) != 0x80)
                return std::nullopt;
            c = ((c & 0x1F) << 6) | (p[1] & 0x3F);
            p += 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            if (end - p < 3 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80)
                return std::nullopt;
            c = ((c & 0x0F) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3F);
            if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF) || (c >= 0xFDD0 && c <= 0xFDEF) || c >= 0xFFFE)
                return std::nullopt;
            p += 3;
        } else {
            return std::nullopt;
        }
        // Never more bytes out than came in, so the text's size is room enough.
        const uint32_t entry = table.Entry(c);
        const uint32_t count = entry >> ShiftJisTable::kCountShift;
        if (count == 0 || count > static_cast<uint32_t>(p - start))
            return std::nullopt;
        *o++ = static_cast<char>(entry & 0xFF);
        if (count == 2)
            *o++ = static_cast<char>((entry >> 8) & 0xFF);
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return out;
}

std::string EncodeUtf8(const icu::UnicodeString& text)
{
    std::string bytes;
    text.toUTF8String(bytes);
    return bytes;
}

void WidenKatakana(icu::UnicodeString& text)
{
    const bool hasHalfWidth = [&] {
        for (int32_t i = 0; i < text.length(); ++i) {
            const char16_t c = text.charAt(i);
            if (c >= u'\uFF61' && c <= u'\uFF9F')
                return true;
        }
        return false;
    }();
    if (!hasHalfWidth)
        return;
    if (const icu::Transliterator* widener = Converters().Widener())
        widener->transliterate(text);
}

bool HasSequenceOfThreeOrMoreBytes(std::string_view utf8)
{
    return std::any_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
}

// EUC-JP admits the single bytes 0x80 to 0xA0 as C1 controls, which no text holds; taking
// them would let stray bytes pass as EUC-JP.
bool HasC1Control(const icu::UnicodeString& text)
{
    for (int32_t i = 0; i < text.length(); ++i) {
        const char16_t c = text.charAt(i);
        if (c >= u'\u0080' && c <= u'\u009F')
            return true;
    }
    return false;
}

struct Detection {
    TextEncoding encoding = TextEncoding::Unknown;
    icu::UnicodeString decoded; // filled for the encodings that need converting
};

Detection Detect(std::string_view text)
{
    if (IsAscii(text)) {
        if (text.find('\x1B') != std::string_view::npos) {
            if (auto decoded = Decode(Codec::Iso2022Jp, text, true))
                return {TextEncoding::Iso2022Jp, std::move(*decoded)};
        }
        return {TextEncoding::Ascii, {}};
    }
    // Half-width katakana in Shift_JIS often pair up into valid two-byte UTF-8 sequences
    // (ﾃｷ is C3 B7, the UTF-8 of ÷). Japanese in UTF-8 needs sequences of three bytes or more,
    // so a text with only two-byte sequences is taken as UTF-8 only when it is not Shift_JIS:
    // texts the editor wrote itself then load back unchanged.
    std::optional<icu::UnicodeString> utf8 = Decode(Codec::Utf8, text, true);
    if (utf8 && HasSequenceOfThreeOrMoreBytes(text))
        return {TextEncoding::Utf8, std::move(*utf8)};
    if (Decode(Codec::ShiftJis, text, true))
        return {TextEncoding::ShiftJis, {}};
    if (utf8)
        return {TextEncoding::Utf8, std::move(*utf8)};
    if (auto decoded = Decode(Codec::EucJp, text, true); decoded && !HasC1Control(*decoded))
        return {TextEncoding::EucJp, std::move(*decoded)};
    return {TextEncoding::Unknown, {}};
}

std::string ConvertShiftJisToUtf8(std::string_view shiftJis, bool widen)
{
    if (IsAscii(shiftJis))
        return std::string(shiftJis);
    std::optional<icu::UnicodeString> text = Decode(Codec::ShiftJis, shiftJis, false);
    if (!text)
        return std::string(shiftJis);
    if (widen)
        WidenKatakana(*text);
    return EncodeUtf8(*text);
}

std::string ConvertUtf8ToShiftJis(std::string_view utf8, bool widen)
{
    if (IsAscii(utf8))
        return std::string(utf8);
    std::optional<icu::UnicodeString> text = Decode(Codec::Utf8, utf8, false);
    if (!text)
        return std::string(utf8);
    if (widen)
        WidenKatakana(*text);
    std::optional<std::string> bytes = EncodeShiftJis(std::move(*text));
    return bytes ? std::move(*bytes) : std::string(utf8);
}

} // namespace

bool NeedsNoConversion(std::string_view text)
{
    return IsPlainAscii(text);
}

TextEncoding DetectEncoding(std::string_view text)
{
    return Detect(text).encoding;
}

std::string ToShiftJis(std::string_view text)
{
    if (IsPlainAscii(text))
        return std::string(text);
    if (HasSequenceOfThreeOrMoreBytes(text)) {
        // Valid UTF-8 with such a sequence is taken as UTF-8 (see Detect).
        if (auto bytes = TableUtf8ToShiftJis(text))
            return std::move(*bytes);
    }
    Detection detection = Detect(text);
    switch (detection.encoding) {
    case TextEncoding::Utf8:
    case TextEncoding::EucJp:
    case TextEncoding::Iso2022Jp:
        if (auto bytes = EncodeShiftJis(std::move(detection.decoded)))
            return std::move(*bytes);
        return std::string(text);
    case TextEncoding::Ascii:
    case TextEncoding::ShiftJis:
    case TextEncoding::Unknown:
        break;
    }
    return std::string(text);
}

std::string TakeAsShiftJis(std::string&& text)
{
    if (IsPlainAscii(text))
        return std::move(text);
    return ToShiftJis(std::string_view(text));
}

std::string TakeDisplayTextAsShiftJis(std::string&& text)
{
    if (IsPlainAscii(text))
        return std::move(text);
    return DisplayTextToShiftJis(std::string_view(text));
}

std::string DisplayTextToShiftJis(std::string_view text)
{
    if (IsAscii(text))
        return ToShiftJis(text);
    if (auto bytes = TableUtf8ToShiftJis(text))
        return std::move(*bytes);
    if (auto utf8 = Decode(Codec::Utf8, text, true)) {
        if (auto bytes = EncodeShiftJis(std::move(*utf8)))
            return std::move(*bytes);
    }
    return ToShiftJis(text);
}

std::string ToUtf8(std::string_view shiftJis)
{
    return ConvertShiftJisToUtf8(shiftJis, true);
}

std::string Utf8ToShiftJis(std::string_view utf8)
{
    return ConvertUtf8ToShiftJis(utf8, true);
}

std::string ShiftJisToUtf8Exact(std::string_view shiftJis)
{
    return ConvertShiftJisToUtf8(shiftJis, false);
}

std::string Utf8ToShiftJisExact(std::string_view utf8)
{
    return ConvertUtf8ToShiftJis(utf8, false);
}

std::string EncodedTextToUtf8(std::string_view text, TextEncoding encoding)
{
    Codec codec = Codec::ShiftJis;
    switch (encoding) {
    case TextEncoding::Utf8:
        codec = Codec::Utf8;
        break;
    case TextEncoding::EucJp:
        codec = Codec::EucJp;
        break;
    case TextEncoding::Iso2022Jp:
        codec = Codec::Iso2022Jp;
        break;
    case TextEncoding::Ascii:
    case TextEncoding::ShiftJis:
    case TextEncoding::Unknown:
        break;
    }
    if (IsAscii(text) && codec != Codec::Iso2022Jp)
        return std::string(text);
    std::optional<icu::UnicodeString> decoded = Decode(codec, text, false);
    return decoded ? EncodeUtf8(*decoded) : std::string(text);
}

} // namespace vesk
