// The files shipped beside the executable: the skeleton templates (a generated skeleton must be
// well-formed C++) and the pictures of the side panel.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "codegen/skeletongenerator.h"
#include "codegentestsupport.h"
#include "records/resourcefile.h"
#include "objects/objectdata.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;

const std::string kSourceTemplates = std::string(VESK_SOURCE_DIR) + "/data/template";
const std::string kRuntimeDir = VESK_RUNTIME_DIR;

const char* const kTemplateNames[] = {
    "_APPNAME_.cpp",
    "_APPNAME_Application.cpp",
    "_APPNAME_Application.h",
    "_APPNAME_DialogMaker.cpp",
    "_APPNAME_DialogMaker.h",
    "_APPNAME_DialogShared.cpp",
    "_APPNAME_DialogShared.h",
    "_APPNAME_DialogUnique.cpp",
    "_APPNAME_DialogUnique.h",
    "_APPNAME_.kbpro",
    "Makefile",
    "Makeparam",
};

const char* const kPlaceholders[] = {
    "_APPNAME_",          "_DIALOGNAME_",         "_TEMPLATETYPE_", "_SOURCES_",
    "%MULTILINE%DIALOG%", "%MULTILINE%PROJECTS%", "_NUMBER_",       "_SOURCE_",
};

std::string Replaced(std::string text, const std::string& search, const std::string& replacement)
{
    for (size_t at = text.find(search); at != std::string::npos; at = text.find(search, at + replacement.size()))
        text.replace(at, search.size(), replacement);
    return text;
}

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

TEST(ShippedTemplates, CopiedBesideTheExecutableAndUsingEveryPlaceholder)
{
    EXPECT_EQ(ShippedTemplateFolder(), kRuntimeDir + "/template");
    std::string all;
    for (const char* name : kTemplateNames) {
        const std::string text = ReadBytes(kSourceTemplates + "/" + name);
        EXPECT_FALSE(text.empty()) << name;
        EXPECT_EQ(ReadBytes(kRuntimeDir + "/template/" + name), text) << name << " is not copied beside the executable";
        all += text;
    }
    for (const char* placeholder : kPlaceholders)
        EXPECT_NE(all.find(placeholder), std::string::npos) << placeholder;
}

class DemoSkeleton : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_folder = new TempFolder;
        s_project = new CTekResourceData;
        ASSERT_TRUE(LoadResourceFile(*s_project, std::string(VESK_SOURCE_DIR) + "/examples/demo.veskspro"));
        SkeletonOptions options;
        options.outputFolder = s_folder->Path();
        options.generate.fill(true);
        options.scope = DialogScope::AllDialogs;
        SkeletonGenerator generator(*s_project, options);
        s_lines = generator.Generate();
    }
    static void TearDownTestSuite()
    {
        delete s_project;
        delete s_folder;
    }

    static std::string Out(const std::string& name) { return *s_folder / name; }

    static TempFolder* s_folder;
    static CTekResourceData* s_project;
    static std::vector<std::string> s_lines;
};

TempFolder* DemoSkeleton::s_folder = nullptr;
CTekResourceData* DemoSkeleton::s_project = nullptr;
std::vector<std::string> DemoSkeleton::s_lines;

TEST_F(DemoSkeleton, EveryFileIsWrittenAndNoPlaceholderIsLeft)
{
    // Main, Application x2, DialogMaker x2, Main and Order x2, three JSON copies, project, makefiles.
    ASSERT_EQ(s_lines.size(), 15u);
    for (const std::string& line : s_lines)
        EXPECT_TRUE(line.starts_with(test::Sjis("○"))) << ShiftJisToUtf8Exact(line);
    for (const auto& entry : fs::recursive_directory_iterator(s_folder->Path())) {
        if (!entry.is_regular_file())
            continue;
        const std::string text = ReadBytes(entry.path().string());
        for (const char* placeholder : kPlaceholders)
            EXPECT_EQ(text.find(placeholder), std::string::npos) << placeholder << " left in " << entry.path();
    }
    EXPECT_FALSE(fs::exists(Out("DemoTerminalDialogSettings.cpp"))); // TemplateType None
}

TEST_F(DemoSkeleton, CompilesAgainstTheLibraryDeclarations)
{
    const std::string compiler = VESK_CXX_COMPILER;
    int files = 0;
    for (const auto& entry : fs::directory_iterator(s_folder->Path())) {
        if (entry.path().extension() != ".cpp")
            continue;
        ++files;
        const std::string command = Quoted(compiler) + " -std=c++17 -fsyntax-only -Wall -Wextra -Werror -I" +
                                    Quoted(VESK_TEST_DATA_DIR) + " -I" + Quoted(s_folder->Path()) + " " +
                                    Quoted(entry.path().string());
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
    EXPECT_EQ(files, 5);
}

TEST_F(DemoSkeleton, TemplateTextComesOutUnchangedAroundThePlaceholders)
{
    auto expected = [](const char* templateName, const std::string& dialog, const std::string& type) {
        std::string text = ReadBytes(kSourceTemplates + "/" + templateName);
        text = Replaced(text, "_APPNAME_", "DemoTerminal");
        if (!dialog.empty())
            text = Replaced(Replaced(text, "_DIALOGNAME_", dialog), "_TEMPLATETYPE_", type);
        return text + "\n";
    };
    EXPECT_EQ(ReadBytes(Out("DemoTerminal.cpp")), expected("_APPNAME_.cpp", "", ""));
    EXPECT_EQ(ReadBytes(Out("DemoTerminalApplication.cpp")), expected("_APPNAME_Application.cpp", "", ""));
    EXPECT_EQ(ReadBytes(Out("DemoTerminalApplication.h")), expected("_APPNAME_Application.h", "", ""));
    EXPECT_EQ(ReadBytes(Out("DemoTerminalDialogMaker.h")), expected("_APPNAME_DialogMaker.h", "", ""));
    EXPECT_EQ(ReadBytes(Out("Makeparam")), expected("Makeparam", "", ""));
    EXPECT_EQ(ReadBytes(Out("DemoTerminalDialogMain.cpp")), expected("_APPNAME_DialogShared.cpp", "Main", "Shared"));
    EXPECT_EQ(ReadBytes(Out("DemoTerminalDialogMain.h")), expected("_APPNAME_DialogShared.h", "Main", "Shared"));
    EXPECT_EQ(ReadBytes(Out("DemoTerminalDialogOrder.cpp")), expected("_APPNAME_DialogUnique.cpp", "Order", "Unique"));
    EXPECT_EQ(ReadBytes(Out("DemoTerminalDialogOrder.h")), expected("_APPNAME_DialogUnique.h", "Order", "Unique"));
    // Japanese text in the templates is really there to survive.
    EXPECT_NE(ReadBytes(Out("DemoTerminal.cpp")).find("アプリケーションの入口"), std::string::npos);
}

TEST_F(DemoSkeleton, ListsOfDialogsAndSources)
{
    const std::string maker = ReadBytes(Out("DemoTerminalDialogMaker.cpp"));
    EXPECT_NE(maker.find("    {\"Main\", \"Shared\"},\n    {\"Order\", \"Unique\"},\n    {\"Settings\", \"None\"},\n"),
              std::string::npos);
    const std::string makefile = ReadBytes(Out("Makefile"));
    EXPECT_NE(makefile.find("\nSOURCES = DemoTerminal.cpp DemoTerminalApplication.cpp DemoTerminalDialogMaker.cpp "
                            "DemoTerminalDialogMain.cpp DemoTerminalDialogOrder.cpp \n"),
              std::string::npos);
    EXPECT_NE(makefile.find("\n\t$(CXX) $(CXXFLAGS) -c $< -o $@\n"), std::string::npos) << "recipes need tabs";
    const std::string project = ReadBytes(Out("DemoTerminal.kbpro"));
    int files = 0;
    for (size_t at = project.find("\nFile"); at != std::string::npos; at = project.find("\nFile", at + 1))
        ++files;
    EXPECT_EQ(files, 7 + 2 * 2) << "the NONE dialog's class files are not written, so not listed";
    EXPECT_NE(project.find("\nFile010=@Document@\n"), std::string::npos);
}

// --- Pictures -------------------------------------------------------------------------------

/// Width and height from a PNG header, or {0, 0} when the file is no PNG.
std::pair<int, int> PngSize(const std::string& path)
{
    const std::string bytes = ReadBytes(path);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    auto number = [&bytes](size_t at) {
        int value = 0;
        for (size_t i = at; i < at + 4; ++i)
            value = value * 256 + static_cast<unsigned char>(bytes[i]);
        return value;
    };
    return {number(16), number(20)};
}

TEST(ShippedPictures, OnePicturePerObjectTypeAndLayoutNamedAfterIt)
{
    std::set<std::string> typeNames;
    for (const auto& entry : fs::directory_iterator(kRuntimeDir + "/objects")) {
        const std::string name = entry.path().filename().string();
        EXPECT_GT(PngSize(entry.path().string()).first, 0) << name;
        // The side panel's entry name: without extension, without its first three characters.
        std::string type = name.substr(0, name.rfind('.')).substr(3);
        typeNames.insert(type);
    }
    std::set<std::string> expected;
    for (int i = 0; i < OBJ_TYPE_COUNT; ++i) {
        expected.insert(kObjectTypeNames[i]);
        char name[32];
        std::snprintf(name, sizeof name, "/objects/%02d_%s.png", i + 1, kObjectTypeNames[i]);
        EXPECT_TRUE(fs::exists(kRuntimeDir + name)) << name;
    }
    for (int i = 0; i < LAYOUT_COUNT; ++i) {
        expected.insert(kLayoutNames[i]);
        char name[32];
        std::snprintf(name, sizeof name, "/objects/%02d_%s.png", i + 21, kLayoutNames[i]);
        EXPECT_TRUE(fs::exists(kRuntimeDir + name)) << name;
    }
    EXPECT_EQ(typeNames, expected);
}

TEST(ShippedPictures, ClipboardAndBuiltInImages)
{
    EXPECT_GT(PngSize(kRuntimeDir + "/samples/Clipboard.png").first, 0);
    int images = 0;
    for (const auto& entry : fs::directory_iterator(kRuntimeDir + "/assets")) {
        EXPECT_GT(PngSize(entry.path().string()).first, 0) << entry.path();
        ++images;
    }
    EXPECT_GE(images, 12);
    // The dial's name carries its centre, the middle of the 64 x 64 picture.
    EXPECT_EQ(PngSize(kRuntimeDir + "/assets/dial[32-32].png"), std::make_pair(64, 64));
    // The pictures the demo project names are among them.
    for (const char* name : {"btn_off.png", "btn_on.png", "needle.png", "bar_base.png", "bar_active.png", "thumb.png",
                             "edit_bg.png", "logo.png", "canvas_bg.png"})
        EXPECT_TRUE(fs::exists(kRuntimeDir + "/assets/" + name)) << name;
}

TEST(ShippedPictures, TheScriptDrawsTheCommittedPictures)
{
    if (std::system("python3 --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not available";
    TempFolder folder;
    const std::string command =
        "python3 " + Quoted(std::string(VESK_SOURCE_DIR) + "/scripts/make-pictures.py") + " " + Quoted(folder.Path());
    ASSERT_EQ(std::system(command.c_str()), 0);
    int pictures = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
        if (!entry.is_regular_file())
            continue;
        const std::string relative = fs::relative(entry.path(), folder.Path()).string();
        EXPECT_EQ(ReadBytes(entry.path().string()), ReadBytes(std::string(VESK_SOURCE_DIR) + "/data/" + relative))
            << relative << " differs from what the script draws";
        ++pictures;
    }
    // Objects and groups, the clipboard, the built-in images, the application icon at six sizes
    // and as SVG.
    EXPECT_EQ(pictures, int{OBJ_TYPE_COUNT} + int{LAYOUT_COUNT} + 1 + 13 + 7);
}

} // namespace
} // namespace vesk
