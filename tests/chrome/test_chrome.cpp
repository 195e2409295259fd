// The window chrome's helpers: the folder existence test and the text boundary.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "chrome/folderchooser.h"
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

} // namespace
} // namespace vesk
