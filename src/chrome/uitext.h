#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QString>

class QLabel;

namespace vesk {

/// A text of the model (Shift_JIS) as the user reads it. Every model text shown in a widget
/// passes through here, once.
QString ToQ(std::string_view shiftJis);

/// A text typed by the user as the model holds it (Shift_JIS); characters that Shift_JIS lacks
/// become '?' (check them first with UnrepresentableCharacters).
std::string FromQ(const QString& text);

/// The editor's own UTF-8 literal as a QString.
inline QString Utf8(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

/// Whether the editor speaks English (its English translation is installed) rather than its own
/// Japanese: for texts that the core gives in both languages.
bool EditorSpeaksEnglish();
void SetEditorSpeaksEnglish(bool english);

/// A fixed text of the core (a message its callers show; Shift_JIS, or UTF-8 for the second) in
/// the editor's language; any other text is shown as it is.
QString CoreText(std::string_view shiftJis);
QString CoreTextUtf8(const char* utf8);
/// The core's fixed texts that CoreText translates (UTF-8, as the translation holds them).
std::vector<const char*> CoreTextSources();

/// A file-system path (UTF-8) as a QString, and back.
QString PathToQ(const std::string& path);
std::string PathFromQ(const QString& path);

/// The distinct characters of the text that Shift_JIS (code page 932) cannot hold, in order of
/// first appearance; empty when every character can be held.
QString UnrepresentableCharacters(const QString& text);

/// The message that refuses a text holding such characters.
QString UnrepresentableTextMessage(const QString& characters);

/// Names a label that shows a value (a version, a path, file names) by that value: assistive
/// technology reads the label's text, whatever it becomes, and describes it by its caption.
void NameValueLabel(QLabel& value, const QString& caption);
/// The same for a value with a caption label of its own, which also becomes the value's buddy
/// (the value is labelled by it).
void TieCaptionToValue(QLabel& caption, QLabel& value);

} // namespace vesk
