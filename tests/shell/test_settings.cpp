// The settings file and where the editor finds its data and settings.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QTemporaryDir>

#include "model/savefile.h"
#include "shell/profilefile.h"
#include "shell/shellpaths.h"

namespace vesk {
namespace {

TEST(ProfileFile, ReadsKeysBySectionWithoutRegardToCase)
{
    ProfileFile profile;
    profile.Parse("; comment\r\n[SETTING]\r\nProjectFolder=/home/me/proj/\r\nListenPort = 6000\r\n"
                  "[Recent File List]\nFile1=/a b/c.veskspro\n[Other]\nListenPort=1\n");
    EXPECT_EQ(profile.GetString("SETTING", "ProjectFolder"), "/home/me/proj/");
    EXPECT_EQ(profile.GetString("setting", "projectfolder"), "/home/me/proj/");
    EXPECT_EQ(profile.GetInt("SETTING", "ListenPort", 5000), 6000);
    EXPECT_EQ(profile.GetString("Recent File List", "File1"), "/a b/c.veskspro");
    EXPECT_EQ(profile.GetString("SETTING", "Missing", "fallback"), "fallback");
    EXPECT_EQ(profile.GetInt("Other", "ListenPort", 0), 1);
}

TEST(ProfileFile, IntegersAsTheProfileReadsThem)
{
    struct Case {
        const char* value;
        int expected;
    } cases[] = {{"5000", 5000}, {" 42", 42}, {"-7", -7}, {"12abc", 12}, {"abc", 99}, {"", 99}};
    for (const Case& c : cases) {
        ProfileFile profile;
        profile.SetString("S", "K", c.value);
        EXPECT_EQ(profile.GetInt("S", "K", 99), c.expected) << c.value;
    }
}

TEST(ProfileFile, WritingKeepsUnknownLinesAndAddsMissingOnes)
{
    ProfileFile profile;
    profile.Parse("[SETTING]\nProjectFolder=old\nLivePush=1\n; keep me\n[Window]\nState=abc\n");
    profile.SetString("SETTING", "ProjectFolder", "/new/");
    profile.SetInt("SETTING", "ListenPort", 5000);
    profile.SetString("Recent File List", "File1", "/x.veskspro");
    EXPECT_EQ(profile.Text(), "[SETTING]\nProjectFolder=/new/\nLivePush=1\nListenPort=5000\n; keep me\n"
                              "[Window]\nState=abc\n[Recent File List]\nFile1=/x.veskspro\n");
    profile.Remove("Recent File List", "File1");
    profile.Remove("Recent File List", "File9");
    EXPECT_EQ(profile.GetString("Recent File List", "File1", "gone"), "gone");
}

TEST(ProfileFile, MissingFileGivesDefaultsAndSaveRoundTrips)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/VeskResourceEditor.ini";
    ProfileFile profile;
    EXPECT_FALSE(profile.Load(path));
    EXPECT_EQ(profile.GetInt("SETTING", "ListenPort", 5000), 5000);
    profile.SetString("SETTING", "ProjectFolder", "/日本語/");
    ASSERT_TRUE(profile.Save(path));
    ProfileFile again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(again.GetString("SETTING", "ProjectFolder"), "/日本語/");
    EXPECT_FALSE(profile.Save(dir.path().toStdString() + "/no/such/folder/x.ini"));
}

TEST(ShellPaths, DataBesideTheProgramOrInTheInstalledShareFolder)
{
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    std::filesystem::create_directories(root / "build/bin/objects");
    std::filesystem::create_directories(root / "usr/bin");
    std::filesystem::create_directories(root / "usr/share/vesk-resource-editor/assets");

    const ShellPaths build = ShellPaths::ForProgramFolder((root / "build/bin").string());
    EXPECT_EQ(build.dataFolder, (root / "build/bin/").string());
    EXPECT_EQ(build.settingsFile, (root / "build/bin/VeskResourceEditor.ini").string());

    // An installed program keeps its settings per user even where its folder may be written.
    const auto writable = [](const std::string&) { return true; };
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    const ShellPaths installed = ShellPaths::ForProgramFolder((root / "usr/bin").string(), writable);
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(installed.dataFolder, (root / "usr/share/vesk-resource-editor/").string());
    EXPECT_EQ(installed.settingsFile, "/cfg/VeskResourceEditor/VeskResourceEditor.ini");
}

TEST(ShellPaths, SettingsGoToTheUserFolderWhenTheProgramFolderIsReadOnly)
{
    const auto readOnly = [](const std::string&) { return false; };
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(ShellPaths::ForProgramFolder("/opt/x/bin", readOnly).settingsFile,
              "/cfg/VeskResourceEditor/VeskResourceEditor.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", "/home/user", 1);
    const std::string inHome = ShellPaths::ForProgramFolder("/opt/x/bin", readOnly).settingsFile;
    ::setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(inHome, "/home/user/.config/VeskResourceEditor/VeskResourceEditor.ini");
    EXPECT_FALSE(ShellPaths::MayWrite("/proc/no-such-folder/VeskResourceEditor.ini"));
}

} // namespace
} // namespace vesk
