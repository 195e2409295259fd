// The link's one rule for relative file names: the names the GETFILE and HTTP services and the
// simulated terminal's cache were each tested with, held against the same answers everywhere.
#include <gtest/gtest.h>

#include <string>

#include "link/confinedfile.h"
#include "link/terminalsimulator.h"
#include "linktestsupport.h"

namespace vesk {
namespace {

struct NameCase {
    const char* name;
    const char* confined; ///< the confined name, or nullptr when the name is refused
};

const NameCase kNames[] = {
    // Names that stay inside the folder.
    {"a.png", "a.png"},
    {"img\\a.png", "img/a.png"},
    {"resources\\a.png", "resources/a.png"},
    {"sub/a.png", "sub/a.png"},
    {"a..b.png", "a..b.png"},
    {"..a", "..a"},
    {"./a.png", "./a.png"},
    {"1:x", "1:x"},
    // Names that leave it, are absolute or are malformed.
    {"", nullptr},
    {"..", nullptr},
    {"../a", nullptr},
    {"../secret.txt", nullptr},
    {"..\\secret.txt", nullptr},
    {"a/../../b", nullptr},
    {"sub/../../secret.txt", nullptr},
    {"resources/../index.html", nullptr},
    {"/etc/passwd", nullptr},
    {"\\etc\\passwd", nullptr},
    {"\\x", nullptr},
    {"C:x", nullptr},
    {"C:\\secret.txt", nullptr},
    {"c:/x", nullptr},
    {"a/", nullptr},
    {"sub\\", nullptr},
    {"a\x01", nullptr},
    {"a.png\x01", nullptr},
    {"a\x7F", nullptr},
};

TEST(Confinement, OneRuleForEveryName)
{
    for (const NameCase& test : kNames) {
        std::string out = "unchanged";
        const bool confined = ConfineRelativeName(test.name, out);
        EXPECT_EQ(confined, test.confined != nullptr) << test.name;
        EXPECT_EQ(out, test.confined ? test.confined : "unchanged") << test.name;
        std::string simulated;
        EXPECT_EQ(SafeRelativeName(test.name, simulated), confined) << test.name;
    }
}

TEST(Confinement, ServedFilesFollowTheSameRule)
{
    linktest::TempDir dir;
    for (const NameCase& test : kNames)
        if (test.confined && *test.confined)
            linktest::WriteFile(dir / ("folder/" + std::string(test.confined)), "data");
    for (const NameCase& test : kNames) {
        const ConfinedFile file = ConfinedFile::Open(dir / "folder", test.name);
        if (test.confined)
            EXPECT_EQ(file.Status(), ConfinedFileStatus::Opened) << test.name;
        else
            EXPECT_EQ(file.Status(), ConfinedFileStatus::Refused) << test.name;
    }
}

TEST(Confinement, ShiftJisNamesAreConfinedAsUtf8)
{
    // 表 is 0x95 0x5C in Shift_JIS: its second byte is no folder separator.
    linktest::TempDir dir;
    linktest::WriteFile(dir / "folder/\xE8\xA1\xA8.png", "data");
    EXPECT_EQ(ConfinedFile::Open(dir / "folder", "\x95\x5C.png").Status(), ConfinedFileStatus::Opened);
    EXPECT_EQ(ConfinedFile::Open(dir / "folder", "..\\\x95\x5C.png").Status(), ConfinedFileStatus::Refused);
}

} // namespace
} // namespace vesk
