// The editor's language: Japanese by default, English from its translation file, chosen in the
// settings file or the View menu; Qt's own dialogs follow.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include <QAbstractButton>
#include <QCheckBox>
#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QXmlStreamReader>

#include "chrome/uitext.h"
#include "editorfixture.h"
#include "editor/itemdescriptions.h"
#include "editor/treepanel.h"
#include "link/socketerrors.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "shell/language.h"
#include "shell/skeletondlg.h"

namespace vesk {
namespace {

using test::ProcessEvents;

bool HasJapanese(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

TEST(LanguageSetting, ValuesGiveTheLanguage)
{
    struct Case {
        const char* value;
        LanguageChoice choice;
        const char* written;
        UiLanguage onJapanese;
        UiLanguage onGerman;
    };
    const Case cases[] = {
        {"", LanguageChoice::Japanese, "ja", UiLanguage::Japanese, UiLanguage::Japanese},
        {"ja", LanguageChoice::Japanese, "ja", UiLanguage::Japanese, UiLanguage::Japanese},
        {"EN", LanguageChoice::Japanese, "ja", UiLanguage::Japanese, UiLanguage::Japanese},
        {"en", LanguageChoice::English, "en", UiLanguage::English, UiLanguage::English},
        {"auto", LanguageChoice::Automatic, "auto", UiLanguage::Japanese, UiLanguage::English},
    };
    for (const Case& c : cases) {
        const LanguageChoice choice = LanguageChoiceOf(c.value);
        EXPECT_EQ(choice, c.choice) << c.value;
        EXPECT_STREQ(LanguageSettingValue(choice), c.written) << c.value;
        EXPECT_EQ(ResolveLanguage(choice, QLocale(QLocale::Japanese, QLocale::Japan)), c.onJapanese) << c.value;
        EXPECT_EQ(ResolveLanguage(choice, QLocale(QLocale::German, QLocale::Germany)), c.onGerman) << c.value;
    }
}

TEST(LanguageSetting, QtsOwnDialogsFollowTheLanguage)
{
    for (const UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        InstalledLanguage installed = InstallLanguage(language, VESK_RUNTIME_DIR "/");
        ASSERT_TRUE(installed.complete);
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        const QString cancel = buttons.button(QDialogButtonBox::Cancel)->text();
        RemoveLanguage(installed);
        EXPECT_EQ(cancel, language == UiLanguage::Japanese ? QStringLiteral("キャンセル") : QStringLiteral("Cancel"));
    }
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

/// Every text the translation file holds, by context: (context, source) pairs.
std::vector<std::pair<QString, QString>> TranslationSources()
{
    std::ifstream file(VESK_SOURCE_DIR "/translations/vesk_en.ts");
    std::stringstream text;
    text << file.rdbuf();
    QXmlStreamReader xml(QString::fromStdString(text.str()));
    std::vector<std::pair<QString, QString>> sources;
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QStringLiteral("name"))
            context = xml.readElementText();
        else if (xml.name() == QStringLiteral("source"))
            sources.emplace_back(context, xml.readElementText());
    }
    return sources;
}

/// The main window built with the English translation installed.
class EnglishEditor : public test::EditorTest {
protected:
    void SetUp() override
    {
        installed = InstallLanguage(UiLanguage::English, VESK_RUNTIME_DIR "/");
        ASSERT_TRUE(installed.complete) << "translations/vesk_en.qm is missing from the build";
        EditorTest::SetUp();
    }
    void TearDown() override
    {
        EditorTest::TearDown();
        RemoveLanguage(installed);
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    }

    /// Every text a user reads on the widget and the widgets below it that are shown as
    /// controls: menus (with their submenus), buttons, tabs, column headers, labels, fields'
    /// placeholders, tool bars, dock titles, and the accessible names and tool tips.
    static void CollectTexts(QWidget& root, QStringList& texts)
    {
        for (QWidget* widget : root.findChildren<QWidget*>()) {
            texts << widget->accessibleName() << widget->toolTip() << widget->statusTip() << widget->windowTitle();
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                texts << button->text();
            if (auto* label = qobject_cast<QLabel*>(widget))
                texts << label->text();
            if (auto* edit = qobject_cast<QLineEdit*>(widget))
                texts << edit->placeholderText();
            if (auto* tabs = qobject_cast<QTabBar*>(widget))
                for (int i = 0; i < tabs->count(); ++i)
                    texts << tabs->tabText(i) << tabs->tabToolTip(i);
            if (auto* header = qobject_cast<QHeaderView*>(widget); header && header->model())
                for (int i = 0; i < header->count(); ++i)
                    texts << header->model()->headerData(i, header->orientation()).toString();
            if (auto* menu = qobject_cast<QMenu*>(widget))
                texts << menu->title();
            for (QAction* action : widget->actions())
                texts << action->text() << action->toolTip() << action->statusTip();
        }
    }

    InstalledLanguage installed;
};

TEST_F(EnglishEditor, NoControlShowsJapanese)
{
    OpenDemo();
    QStringList texts;
    CollectTexts(*frame, texts);
    for (QMenu* menu : frame->menuBar()->findChildren<QMenu*>())
        for (QAction* action : menu->actions())
            texts << action->text();
    for (QMenu* menu : Panel().findChildren<QMenu*>())
        for (QAction* action : menu->actions())
            texts << action->text() << menu->title();
    texts.removeAll(QString());
    QStringList japanese;
    for (const QString& text : texts)
        if (HasJapanese(text))
            japanese << text;
    // Dialog, group and object names come from the project, which is Japanese-free in the demo.
    EXPECT_TRUE(japanese.isEmpty()) << japanese.join(QStringLiteral(" | ")).toStdString();
    EXPECT_GT(texts.size(), 100);
    EXPECT_EQ(frame->Action("actionSave")->text(), QStringLiteral("&Save"));
    EXPECT_EQ(frame->findChild<QMenu*>(QStringLiteral("menuView"))->title(), QStringLiteral("&View"));
}

TEST_F(EnglishEditor, EveryTranslatedTextReadsEnglish)
{
    const auto sources = TranslationSources();
    ASSERT_GT(sources.size(), 200u);
    for (const auto& [context, source] : sources) {
        const QByteArray contextBytes = context.toUtf8();
        const QByteArray sourceBytes = source.toUtf8();
        const QString shown = QCoreApplication::translate(contextBytes.constData(), sourceBytes.constData());
        EXPECT_FALSE(HasJapanese(shown)) << context.toStdString() << ": " << source.toStdString();
    }
}

TEST_F(EnglishEditor, RefusalsAndDescriptionsReadEnglish)
{
    // Inserting with nothing selected is refused by the document; the refusal reads English.
    ASSERT_FALSE(Panel().TreePanel().InsertNew("BUTTON", InsertPosition::After));
    const QString refusal = prompts.TakeOnlyMessage();
    EXPECT_FALSE(refusal.isEmpty());
    EXPECT_FALSE(HasJapanese(refusal)) << refusal.toStdString();

    auto slidebar = std::make_shared<CObjectData>(nullptr);
    BuildObjectItems(*slidebar, OBJ_SLIDEBAR);
    EXPECT_EQ(ItemDescription(*slidebar, "FileThumb"), QStringLiteral("The slide bar's thumb picture"));
    for (const auto& item : slidebar->Items())
        EXPECT_FALSE(HasJapanese(ItemDescription(*slidebar, item->Name()))) << item->Name();
}

TEST_F(EnglishEditor, TheLinksMessageBoxesReadEnglish)
{
    // The receive errors are the link's only texts that reach a message box.
    int listed = 0;
    for (int code = 10000; code < 10100; ++code) {
        const std::string text = ReceiveErrorText(code);
        if (text.empty())
            continue;
        ++listed;
        EXPECT_FALSE(HasJapanese(CoreText(text))) << code;
    }
    EXPECT_GT(listed, 10);
}

TEST_F(EnglishEditor, GeneratorResultsReadEnglishWithTheirNames)
{
    OpenDemo();
    CSkeletonDlg* window = frame->OpenSkeletonGenerator();
    ASSERT_NE(window, nullptr);
    const std::string out = TempPath("gui");
    window->GenerateBox(SkeletonRow::Main).setChecked(true);
    window->OutputFolderField().setText(QString::fromStdString(out));
    QStringList lines;
    for (int run = 0; run < 2; ++run) {
        QTest::mouseClick(&window->GenerateButton(), Qt::LeftButton);
        for (int i = 0; i < window->findChild<QListWidget*>(QStringLiteral("skeletonResults"))->count(); ++i)
            lines << window->findChild<QListWidget*>(QStringLiteral("skeletonResults"))->item(i)->text();
    }
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.front(), QStringLiteral("○ DemoTerminal.cpp was written."));
    EXPECT_TRUE(lines.contains(QStringLiteral("× DemoTerminal.cpp was skipped. (The file exists [overwriting is off])")))
        << lines.join(QLatin1Char('\n')).toStdString();
    for (const QString& line : lines)
        EXPECT_FALSE(HasJapanese(line)) << line.toStdString();
}

TEST_F(EnglishEditor, TheLanguageIsChosenForTheNextStart)
{
    EXPECT_TRUE(frame->Action("actionLanguageJapanese")->isChecked());
    frame->Action("actionLanguageEnglish")->trigger();
    EXPECT_EQ(prompts.TakeOnlyMessage(), QStringLiteral("The language takes effect the next time the editor starts."));
    EXPECT_EQ(frame->ChosenLanguage(), LanguageChoice::English);
    std::ifstream file(paths.settingsFile);
    std::stringstream settings;
    settings << file.rdbuf();
    EXPECT_NE(settings.str().find("\nLanguage=en"), std::string::npos) << settings.str();
    // The editor keeps speaking what it started with; the next start reads the choice.
    frame.reset();
    MakeFrame();
    EXPECT_TRUE(frame->Action("actionLanguageEnglish")->isChecked());
    EXPECT_EQ(frame->ChosenLanguage(), LanguageChoice::English);
    // Choosing it again says nothing.
    frame->Action("actionLanguageEnglish")->trigger();
    EXPECT_TRUE(prompts.TakeMessages().empty());
}

} // namespace
} // namespace vesk
