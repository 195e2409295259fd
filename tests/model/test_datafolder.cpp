// Where the programs find what ships with them: beside the executable, else in the installed
// share folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/datafolder.h"
#include "testsupport.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

TEST(DataFolder, BesideTheProgramThenTheInstalledShareFolder)
{
    test::TempDir dir;
    const fs::path root = dir.Path();
    fs::create_directories(root / "build/bin/template");
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/vesk-resource-editor/objects");
    fs::create_directories(root / "opt/bin");
    fs::create_directories(root / "both/bin/assets");
    fs::create_directories(root / "both/share/vesk-resource-editor/assets");

    struct Case {
        const char* program;
        const char* expected;
    } cases[] = {
        {"build/bin", "build/bin/"},                     // a build tree: the data lies beside it
        {"usr/bin/", "usr/share/vesk-resource-editor/"}, // an install, under any prefix
        {"opt/bin", "opt/bin/"},                         // neither: the program folder
        {"both/bin", "both/bin/"},                       // beside the program comes first
    };
    for (const Case& c : cases)
        EXPECT_EQ(DataFolderOf((root / c.program).string()), (root / c.expected).string()) << c.program;

    EXPECT_TRUE(HoldsShippedData((root / "build/bin").string()));
    EXPECT_FALSE(HoldsShippedData((root / "usr/bin").string()));
    EXPECT_FALSE(HoldsShippedData((root / "no/such").string()));
}

TEST(DataFolder, TheRunningProgramsFolder)
{
    const std::string folder = RunningProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::equivalent(folder, VESK_RUNTIME_DIR));
}

} // namespace
} // namespace vesk
