#pragma once

#include <string>
#include <string_view>
#include <vector>

class QLocale;
class QTranslator;

namespace vesk {

/// The languages the editor speaks. Japanese is its own language: the texts in the code are
/// Japanese, and every other language is a translation file beside the program.
enum class UiLanguage { Japanese, English };

/// How the settings file asks for the language: "ja" (also anything unreadable), "en", or "auto"
/// (the system locale's language when the editor speaks it, else English).
enum class LanguageChoice { Japanese, English, Automatic };

/// The choice a "[SETTING] Language" value holds; Japanese for an empty or unknown value.
LanguageChoice LanguageChoiceOf(std::string_view settingValue);
/// The value written back for a choice: "ja", "en" or "auto".
const char* LanguageSettingValue(LanguageChoice choice);
/// The language a choice gives on a system whose locale is the one given.
UiLanguage ResolveLanguage(LanguageChoice choice, const QLocale& system);

/// What installing a language did: the translators installed (the application owns them), and
/// whether the editor's own translation the language needs was found.
struct InstalledLanguage {
    std::vector<QTranslator*> translators;
    bool complete = true;
};

/// Makes the running application speak the language: sets the default locale and installs the
/// editor's translation (translations/vesk_<code>.qm in the data folder) and Qt's own for its
/// dialogs and buttons. Japanese needs no translation of the editor's texts; without the
/// editor's translation file the texts stay Japanese.
InstalledLanguage InstallLanguage(UiLanguage language, const std::string& dataFolder);
/// Takes the translators out of the application again and deletes them.
void RemoveLanguage(InstalledLanguage& installed);

} // namespace vesk
