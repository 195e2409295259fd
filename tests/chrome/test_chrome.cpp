// The window chrome's helpers: the folder existence test, the text boundary and the message box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "chrome/folderchooser.h"
#include "chrome/prompts.h"
#include "chrome/uitext.h"
#include "guitestsupport.h"

namespace vesk {
namespace {

TEST(FolderChooser, ExistenceTestAnswersForFoldersOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = PathFromQ(dir.path());
    EXPECT_TRUE(FolderExistsWithin(folder));
    EXPECT_FALSE(FolderExistsWithin(folder + "/missing"));
    EXPECT_FALSE(FolderExistsWithin(""));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("sub")));
    QFile file(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(FolderExistsWithin(folder + "/sub"));
    EXPECT_FALSE(FolderExistsWithin(folder + "/file"));
}

TEST(UiText, ModelTextCrossesTheBoundaryExactly)
{
    const std::string sjis = test::Sjis("ﾃｽﾄ表示～");
    EXPECT_EQ(ToQ(sjis), QStringLiteral("ﾃｽﾄ表示～"));
    EXPECT_EQ(FromQ(ToQ(sjis)), sjis);
    // 0x5C as the second byte of a double-byte character stays a character.
    EXPECT_EQ(FromQ(QStringLiteral("表")), std::string("\x95\x5C"));
}

TEST(UiText, UnrepresentableCharactersAreNamedOnce)
{
    struct Case {
        QString text;
        QString expected;
    } cases[] = {
        {QStringLiteral("ボタン ABC 123 ?"), QString()},
        {QStringLiteral("OK😀"), QStringLiteral("😀")},
        {QStringLiteral("한국어 한"), QStringLiteral("한국어")},
        {QStringLiteral("〜①"), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnrepresentableCharacters(c.text), c.expected) << c.text.toStdString();
    const QString message = UnrepresentableTextMessage(QStringLiteral("😀"));
    EXPECT_TRUE(message.contains(QStringLiteral("😀 (U+1F600)"))) << message.toStdString();
}

TEST(MessageBox, IsWideEnoughForItsWholeCaption)
{
    // A short text makes a narrow box; its title bar must still hold the caption beside the
    // window's buttons.
    int width = 0;
    QString caption;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            width = box->width();
            caption = box->windowTitle();
            box->accept();
        }
    });
    closer.start(10);
    DialogPrompts().ShowMessage(nullptr, QStringLiteral("OK"), MessageIcon::Information, MessageButtons::Ok);
    EXPECT_EQ(caption, QStringLiteral("RESOURCE EDITOR"));
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int buttons = 3 * 40;
    EXPECT_GE(width, QFontMetrics(titleFont).horizontalAdvance(caption) + buttons);
}

} // namespace
} // namespace vesk
