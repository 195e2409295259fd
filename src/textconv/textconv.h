#pragma once

#include <string>
#include <string_view>

namespace vesk {

/// True when the byte starts a two-byte Shift_JIS character (0x81 to 0x9F, 0xE0 to 0xFC).
constexpr bool IsShiftJisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

/// Japanese encodings that ToShiftJis recognises.
enum class TextEncoding {
    Ascii,     ///< only bytes below 0x80, not valid ISO-2022-JP with escape sequences
    ShiftJis,  ///< code page 932 (0x5C is a backslash)
    EucJp,     ///< EUC-JP, including SS2 half-width katakana
    Iso2022Jp, ///< 7-bit with ESC sequences (ESC ( I and SO/SI katakana included)
    Utf8,      ///< strict UTF-8
    Unknown,   ///< none of the above is valid
};

/// Answers the encoding of a text: escape sequences first, then ASCII, then strict validity of
/// UTF-8, Shift_JIS and EUC-JP in that order (Shift_JIS wins over EUC-JP when both are valid).
/// UTF-8 whose sequences are all two bytes long is tried after Shift_JIS instead, since pairs of
/// half-width katakana often form such sequences. Answers Unknown when no encoding is valid.
TextEncoding DetectEncoding(std::string_view text);

/// True when every conversion to Shift_JIS (ToShiftJis, DisplayTextToShiftJis and their Take
/// forms) gives the text back unchanged because it needs none: all bytes below 0x80, none ESC.
bool NeedsNoConversion(std::string_view text);

/// Converts a text in any recognised Japanese encoding to Shift_JIS; half-width katakana stay.
/// Shift_JIS and text of unknown encoding are returned unchanged; a character that Shift_JIS
/// lacks becomes '?'.
std::string ToShiftJis(std::string_view text);
/// ToShiftJis of a text that is given away: the text itself comes back when it needs no conversion.
std::string TakeAsShiftJis(std::string&& text);

/// Converts a display text as the editor writes it (UTF-8) to Shift_JIS: valid UTF-8 is taken
/// as UTF-8 even where its bytes would also read as Shift_JIS; anything else as ToShiftJis.
std::string DisplayTextToShiftJis(std::string_view text);
/// DisplayTextToShiftJis of a text that is given away, as TakeAsShiftJis.
std::string TakeDisplayTextAsShiftJis(std::string&& text);

/// Converts Shift_JIS to UTF-8 without a byte-order mark; half-width katakana become full-width
/// with voiced and semi-voiced marks composed (a mark left alone becomes ゛ or ゜). A byte
/// sequence that is not Shift_JIS becomes U+FFFD.
std::string ToUtf8(std::string_view shiftJis);

/// Converts UTF-8 to Shift_JIS; half-width katakana become full-width as in ToUtf8. Invalid
/// UTF-8 and characters that Shift_JIS lacks become '?'.
std::string Utf8ToShiftJis(std::string_view utf8);

/// Converts Shift_JIS to UTF-8 exactly, with no widening (for display at the widget boundary).
std::string ShiftJisToUtf8Exact(std::string_view shiftJis);

/// Converts UTF-8 to Shift_JIS exactly, with no widening (for input from the widget boundary
/// and for Japanese literals that the model holds).
std::string Utf8ToShiftJisExact(std::string_view utf8);

/// Converts a text known to be in the encoding (as DetectEncoding answered for the text it was
/// taken from) to UTF-8 exactly; ASCII and unknown text are taken as Shift_JIS. A byte sequence
/// that the encoding lacks becomes U+FFFD.
std::string EncodedTextToUtf8(std::string_view text, TextEncoding encoding);

} // namespace vesk
