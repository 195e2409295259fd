#include "shell/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

#include "chrome/uitext.h"

namespace vesk {

namespace {

/// Loads and installs one translation file; the application owns the translator.
bool InstallTranslation(InstalledLanguage& installed, const QString& name, const QString& folder)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    installed.translators.push_back(translator);
    return true;
}

} // namespace

LanguageChoice LanguageChoiceOf(std::string_view settingValue)
{
    if (settingValue == "en")
        return LanguageChoice::English;
    if (settingValue == "auto")
        return LanguageChoice::Automatic;
    return LanguageChoice::Japanese;
}

const char* LanguageSettingValue(LanguageChoice choice)
{
    switch (choice) {
    case LanguageChoice::English:
        return "en";
    case LanguageChoice::Automatic:
        return "auto";
    case LanguageChoice::Japanese:
        break;
    }
    return "ja";
}

UiLanguage ResolveLanguage(LanguageChoice choice, const QLocale& system)
{
    switch (choice) {
    case LanguageChoice::English:
        return UiLanguage::English;
    case LanguageChoice::Automatic:
        return system.language() == QLocale::Japanese ? UiLanguage::Japanese : UiLanguage::English;
    case LanguageChoice::Japanese:
        break;
    }
    return UiLanguage::Japanese;
}

InstalledLanguage InstallLanguage(UiLanguage language, const std::string& dataFolder)
{
    InstalledLanguage installed;
    if (language == UiLanguage::Japanese) {
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        // Qt's own dialogs and buttons in Japanese; without them they speak English, which
        // leaves the editor usable.
        InstallTranslation(installed, QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        SetEditorSpeaksEnglish(false);
        return installed;
    }
    // Qt's own texts are English already.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    installed.complete = InstallTranslation(installed, QStringLiteral("vesk_en"),
                                            QString::fromStdString(dataFolder) + QStringLiteral("translations"));
    SetEditorSpeaksEnglish(installed.complete);
    return installed;
}

void RemoveLanguage(InstalledLanguage& installed)
{
    for (QTranslator* translator : installed.translators) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    installed.translators.clear();
    SetEditorSpeaksEnglish(false);
}

} // namespace vesk
