// The skeleton generator: template expansion, substitution, the multi-line markers, the rows and
// their result lines, with real templates and outputs in temporary folders.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "codegen/skeletongenerator.h"
#include "codegentestsupport.h"
#include "records/resourcefile.h"

namespace vesk {
namespace {

using test::Exists;
using test::MakeProject;
using test::ReadBytes;
using test::Sjis;
using test::TempFolder;
using test::WriteBytes;

// --- Substitution ---------------------------------------------------------------------------

TEST(ReplaceShiftJis, ReplacesEveryOccurrenceWithoutRescanningInsertedText)
{
    EXPECT_EQ(ReplaceShiftJis("_X_ and _X_", "_X_", "ab"), "ab and ab");
    EXPECT_EQ(ReplaceShiftJis("_X_", "_X_", "a_X_b"), "a_X_b");
    EXPECT_EQ(ReplaceShiftJis("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceShiftJis("abc", "", "z"), "abc");
    EXPECT_EQ(ReplaceShiftJis("", "_X_", "z"), "");
}

TEST(ReplaceShiftJis, NeverMatchesOnTheSecondByteOfACharacter)
{
    // "ダ" is 0x83 0x5F in Shift_JIS: its second byte is '_'.
    const std::string da = Sjis("ダ");
    ASSERT_EQ(da, "\x83\x5F");
    EXPECT_EQ(ReplaceShiftJis(da + "X_", "_X_", "z"), da + "X_");
    EXPECT_EQ(ReplaceShiftJis(da + "_X_", "_X_", "z"), da + "z");
    // "表" is 0x95 0x5C: a trail byte that is a backslash does not start a match either.
    EXPECT_EQ(ReplaceShiftJis(Sjis("表") + "n", "\\n", "!"), Sjis("表") + "n");
    // A half-width katakana is one byte and does not swallow the byte after it.
    EXPECT_EQ(ReplaceShiftJis("\xB1_X_", "_X_", "z"), "\xB1z");
    EXPECT_EQ(FindShiftJis(da + "X_" + da + "_X_", "_X_"), 6u);
    EXPECT_EQ(FindShiftJis("abc", ""), std::string::npos);
}

TEST(IsNoneTemplateType, AnyLetterCase)
{
    for (const char* none : {"NONE", "None", "none", "nOnE"})
        EXPECT_TRUE(IsNoneTemplateType(none)) << none;
    for (const char* other : {"", "NON", "NONE ", " NONE", "Shared", "N0NE"})
        EXPECT_FALSE(IsNoneTemplateType(other)) << other;
}

// --- Template expansion ---------------------------------------------------------------------

class Expansion : public ::testing::Test {
protected:
    Expansion() : generator(project, options)
    {
        MakeProject(project, "Demo", {{"Main", "Shared"}, {"Order", "Unique"}, {"Settings", "none"}});
    }

    /// Expands a template text (UTF-8) and answers the output bytes.
    std::string Expand(const std::string& templateText, std::string_view dialogName = {},
                       std::string_view templateType = {})
    {
        WriteBytes(folder / "in.txt", templateText);
        std::remove((folder / "out.txt").c_str());
        EXPECT_TRUE(generator.ExpandTemplate(folder / "in.txt", folder / "out.txt", false, dialogName, templateType))
            << generator.ErrorText();
        return ReadBytes(folder / "out.txt");
    }

    TempFolder folder;
    CTekResourceData project;
    SkeletonOptions options;
    SkeletonGenerator generator;
};

TEST_F(Expansion, EveryOutputEndsWithOneMoreLineFeedThanTheTemplateHasLines)
{
    EXPECT_EQ(Expand(""), "\n");
    EXPECT_EQ(Expand("a\n"), "a\n\n");
    EXPECT_EQ(Expand("a\nb\n"), "a\nb\n\n");
    // A last line without a line feed ends with one, followed by one empty line.
    EXPECT_EQ(Expand("a\nb"), "a\nb\n\n");
    EXPECT_EQ(Expand("\n\n"), "\n\n\n");
}

TEST_F(Expansion, CarriageReturnsStayPartOfTheLine)
{
    EXPECT_EQ(Expand("a\r\nb\r\n"), "a\r\nb\r\n\n");
    EXPECT_EQ(Expand("_APPNAME_\r\n"), "Demo\r\n\n");
}

TEST_F(Expansion, PlaceholdersInOrder)
{
    EXPECT_EQ(Expand("class _APPNAME_ : _APPNAME_Base {}\n"), "class Demo : DemoBase {}\n\n");
    EXPECT_EQ(Expand("_APPNAME_Dialog_DIALOGNAME_ _TEMPLATETYPE_\n", "Main", "Shared"), "DemoDialogMain Shared\n\n");
    // Without a dialog name and template type those placeholders stay.
    EXPECT_EQ(Expand("_DIALOGNAME_ _TEMPLATETYPE_\n"), "_DIALOGNAME_ _TEMPLATETYPE_\n\n");
    EXPECT_EQ(Expand("SOURCES = _SOURCES_\n"),
              "SOURCES = Demo.cpp DemoApplication.cpp DemoDialogMaker.cpp DemoDialogMain.cpp "
              "DemoDialogOrder.cpp \n\n");
}

TEST_F(Expansion, ProjectNameContainingThePlaceholderIsInsertedOnce)
{
    project.SetItem("Name", "A_APPNAME_B");
    EXPECT_EQ(Expand("_APPNAME_/_APPNAME_\n"), "A_APPNAME_B/A_APPNAME_B\n\n");
    // The later substitutions do see what the earlier ones inserted.
    project.SetItem("Name", "x_DIALOGNAME_");
    EXPECT_EQ(Expand("_APPNAME_\n", "Main"), "xMain\n\n");
}

TEST_F(Expansion, ShiftJisCharactersAroundPlaceholders)
{
    // "ダ" ends with the byte '_': "ダAPPNAME_" holds no placeholder, "ダ_APPNAME_" does.
    EXPECT_EQ(Expand("ダAPPNAME_ ダ_APPNAME_ 表_APPNAME_表\n"), "ダAPPNAME_ ダDemo 表Demo表\n\n");
    project.SetItem("Name", Sjis("表示ダ"));
    EXPECT_EQ(Expand("//_APPNAME_ソース\n"), "//表示ダソース\n\n");
}

TEST_F(Expansion, JapaneseTextComesOutUnchanged)
{
    const std::string text = "// アプリケーションの入口です。「設定」を開きます。\n"
                             "const char* kTitle = \"メインメニュー（注文・在庫照会）\";\n";
    EXPECT_EQ(Expand(text), text + "\n");
}

TEST_F(Expansion, DialogMarkerRepeatsTheLineForEveryDialog)
{
    EXPECT_EQ(Expand("  {\"_DIALOGNAME_\", \"_TEMPLATETYPE_\"},%MULTILINE%DIALOG%\nend\n"),
              "  {\"Main\", \"Shared\"},\n  {\"Order\", \"Unique\"},\n  {\"Settings\", \"none\"},\nend\n\n");
    // Every occurrence is removed; the pattern itself is not written.
    EXPECT_EQ(Expand("x%MULTILINE%DIALOG%_DIALOGNAME_%MULTILINE%DIALOG%\n"), "xMain\nxOrder\nxSettings\n\n");
}

TEST_F(Expansion, DialogMarkerAfterSubstitutionOfTheDialogName)
{
    // In a dialog class the dialog's own name is already in place when the line is repeated.
    EXPECT_EQ(Expand("_DIALOGNAME_:%MULTILINE%DIALOG%\n", "Order", "Unique"), "Order:\nOrder:\nOrder:\n\n");
}

TEST_F(Expansion, MarkerAtTheStartOfTheLineDoesNotCount)
{
    EXPECT_EQ(Expand("%MULTILINE%DIALOG%_APPNAME_ _DIALOGNAME_\n"), "%MULTILINE%DIALOG%Demo _DIALOGNAME_\n\n");
    EXPECT_EQ(Expand("%MULTILINE%PROJECTS%_NUMBER_\n"), "%MULTILINE%PROJECTS%_NUMBER_\n\n");
    // A dialog marker at the start lets the projects marker of the same line apply.
    const std::string out = Expand("%MULTILINE%DIALOG%_NUMBER_%MULTILINE%PROJECTS%\n");
    EXPECT_EQ(out.substr(0, out.find('\n')), "%MULTILINE%DIALOG%000");
}

TEST_F(Expansion, ProjectsMarkerWritesSevenPlusTwoLinesPerDialog)
{
    EXPECT_EQ(Expand("File_NUMBER_=_SOURCE_%MULTILINE%PROJECTS%\n"), "File000=@Source@Demo.cpp,0\n"
                                                                     "File001=@Source@DemoApplication.cpp,0\n"
                                                                     "File002=@Source@DemoApplication.h,0\n"
                                                                     "File003=@Source@DemoDialogMaker.cpp,0\n"
                                                                     "File004=@Source@DemoDialogMaker.h,0\n"
                                                                     "File005=@Source@DemoDialogMain.cpp,0\n"
                                                                     "File006=@Source@DemoDialogMain.h,0\n"
                                                                     "File007=@Source@DemoDialogOrder.cpp,0\n"
                                                                     "File008=@Source@DemoDialogOrder.h,0\n"
                                                                     "File009=@Source@DemoDialogSettings.cpp,0\n"
                                                                     "File010=@Source@DemoDialogSettings.h,0\n"
                                                                     "File011=@Lib@\n"
                                                                     "File012=@Document@\n"
                                                                     "\n");
    for (int dialogs : {0, 1, 60}) {
        CTekResourceData other;
        other.SetOrAddItem("Name", "P");
        for (int i = 0; i < dialogs; ++i)
            other.Dialogs().AddDialog("D" + std::to_string(i));
        SkeletonGenerator counter(other, options);
        WriteBytes(folder / "count.txt", "x%MULTILINE%PROJECTS%_NUMBER_\n");
        std::remove((folder / "counted.txt").c_str());
        ASSERT_TRUE(counter.ExpandTemplate(folder / "count.txt", folder / "counted.txt", false, {}, {}));
        const std::string out = ReadBytes(folder / "counted.txt");
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 7 + 2 * dialogs + 1) << dialogs;
        const std::string last = "x" + std::to_string(1000 + 6 + 2 * dialogs).substr(1) + "\n\n";
        EXPECT_TRUE(out.ends_with(last)) << out;
    }
}

TEST_F(Expansion, SourcesLeaveOutNoneTypesOnlyAndEndWithABlank)
{
    project.Dialogs().AddDialog("Blank"); // empty TemplateType: still a source
    EXPECT_EQ(generator.SourcesList(),
              "Demo.cpp DemoApplication.cpp DemoDialogMaker.cpp DemoDialogMain.cpp DemoDialogOrder.cpp "
              "DemoDialogBlank.cpp ");
}

TEST_F(Expansion, ChecksRunInTheOrderTemplateExistingOutputCreation)
{
    const std::string output = folder / "kept.txt";
    WriteBytes(output, "old");
    EXPECT_FALSE(generator.ExpandTemplate(folder / "missing.txt", output, true, {}, {}));
    EXPECT_EQ(generator.ErrorText(), Sjis("テンプレートの読込みエラー"));
    EXPECT_EQ(ReadBytes(output), "old");

    WriteBytes(folder / "in.txt", "_APPNAME_\n");
    EXPECT_FALSE(generator.ExpandTemplate(folder / "in.txt", output, false, {}, {}));
    EXPECT_EQ(generator.ErrorText(), Sjis("ファイルが存在します[上書き禁止]"));
    EXPECT_EQ(ReadBytes(output), "old");

    EXPECT_FALSE(generator.ExpandTemplate(folder / "in.txt", folder / "no/such/folder.txt", true, {}, {}));
    EXPECT_EQ(generator.ErrorText(), Sjis("書込みできませんでした"));

    // A folder where the template should be is no template.
    EXPECT_FALSE(generator.ExpandTemplate(folder.Path(), folder / "x.txt", true, {}, {}));
    EXPECT_EQ(generator.ErrorText(), Sjis("テンプレートの読込みエラー"));
    EXPECT_FALSE(Exists(folder / "x.txt"));

    EXPECT_TRUE(generator.ExpandTemplate(folder / "in.txt", output, true, {}, {}));
    EXPECT_EQ(generator.ErrorText(), "");
    EXPECT_EQ(ReadBytes(output), "Demo\n\n");
}

// --- Generation -----------------------------------------------------------------------------

class Generation : public ::testing::Test {
protected:
    Generation()
    {
        MakeProject(project, "Demo", {{"Main", "Shared"}, {"Order", "Unique"}, {"Settings", "none"}, {"Blank", ""}});
        options.outputFolder = folder / "out";
        options.templateFolder = folder / "tpl";
        std::filesystem::create_directory(options.outputFolder);
        for (const char* name :
             {"_APPNAME_.cpp", "_APPNAME_Application.cpp", "_APPNAME_Application.h", "_APPNAME_DialogMaker.cpp",
              "_APPNAME_DialogMaker.h", "_APPNAME_.kbpro", "Makefile", "Makeparam"})
            WriteBytes(folder / ("tpl/" + std::string(name)), std::string(name) + " of _APPNAME_\n");
        for (const char* type : {"Shared", "Unique"})
            for (const char* extension : {".cpp", ".h"})
                WriteBytes(folder / ("tpl/_APPNAME_Dialog" + std::string(type) + extension),
                           "class _APPNAME_Dialog_DIALOGNAME_ // _TEMPLATETYPE_" + std::string(extension) + "\n");
    }

    std::vector<std::string> Run()
    {
        SkeletonGenerator generator(project, options);
        std::vector<std::string> lines;
        for (const std::string& line : generator.Generate())
            lines.push_back(ShiftJisToUtf8Exact(line));
        return lines;
    }

    std::string Out(const std::string& name) const { return folder / ("out/" + name); }

    TempFolder folder;
    CTekResourceData project;
    SkeletonOptions options;
};

TEST_F(Generation, DefaultRowsWithAllDialogs)
{
    options.scope = DialogScope::AllDialogs;
    EXPECT_EQ(Run(), (std::vector<std::string>{
                         "○ DemoApplication.cpp を更新しました。",
                         "○ DemoApplication.h を更新しました。",
                         "○ DemoDialogMaker.cpp を更新しました。",
                         "○ DemoDialogMaker.h を更新しました。",
                         "○ DemoDialogMain.cpp を更新しました。",
                         "○ DemoDialogMain.h を更新しました。",
                         "○ DemoDialogOrder.cpp を更新しました。",
                         "○ DemoDialogOrder.h を更新しました。",
                         "× Blank TemplateType が指定されていません。",
                         "○ Main.json を更新しました。",
                         "○ Order.json を更新しました。",
                         "○ Settings.json を更新しました。",
                         "○ Blank.json を更新しました。",
                     }));
    EXPECT_FALSE(Exists(Out("Demo.cpp")));
    EXPECT_FALSE(Exists(Out("DemoDialogSettings.cpp")));
    EXPECT_FALSE(Exists(Out("DemoDialogBlank.cpp")));
    EXPECT_FALSE(Exists(Out("Makefile")));
    EXPECT_EQ(ReadBytes(Out("DemoDialogOrder.h")), "class DemoDialogOrder // Unique.h\n\n");
    EXPECT_EQ(ReadBytes(Out("DemoApplication.cpp")), "DemoApplication.cpp of Demo\n\n");

    // The JSON copy of a none-type dialog holds that dialog and only it.
    CTekResourceData copy;
    ASSERT_TRUE(LoadResourceFile(copy, Out("resources/Settings.json")));
    ASSERT_EQ(copy.Dialogs().Count(), 1);
    EXPECT_EQ(copy.Dialogs().At(0).GetItem("Name"), "Settings");
    EXPECT_EQ(copy.GetItem("Name"), "Demo");
}

TEST_F(Generation, EveryRowInItsOrder)
{
    options.generate.fill(true);
    options.scope = DialogScope::ThisDialogOnly;
    options.dialogName = "Main";
    EXPECT_EQ(Run(), (std::vector<std::string>{
                         "○ Demo.cpp を更新しました。",
                         "○ DemoApplication.cpp を更新しました。",
                         "○ DemoApplication.h を更新しました。",
                         "○ DemoDialogMaker.cpp を更新しました。",
                         "○ DemoDialogMaker.h を更新しました。",
                         "○ DemoDialogMain.cpp を更新しました。",
                         "○ DemoDialogMain.h を更新しました。",
                         "○ Main.json を更新しました。",
                         "○ Demo.kbpro を更新しました。",
                         "○ Makefile を更新しました。",
                         "○ Makeparam を更新しました。",
                     }));
    EXPECT_EQ(ReadBytes(Out("Makeparam")), "Makeparam of Demo\n\n");
}

TEST_F(Generation, ScopeThatMatchesNoDialogReportsNoDialogOrJsonLine)
{
    options.dialogName = "main"; // names compare case-sensitively
    const std::vector<std::string> lines = Run();
    EXPECT_EQ(lines.size(), 4u);
    EXPECT_FALSE(Exists(Out("resources")));
    options.dialogName = "Blank";
    EXPECT_EQ(Run()[4], "× Blank TemplateType が指定されていません。");
}

TEST_F(Generation, OverwriteRefusedLeavesTheFileUnchanged)
{
    options.dialogName = "Order";
    WriteBytes(Out("DemoDialogOrder.h"), "mine");
    WriteBytes(Out("resources/Order.json"), "my json");
    std::vector<std::string> lines = Run();
    EXPECT_EQ(lines[5], "× DemoDialogOrder.h キャンセルしました。(ファイルが存在します[上書き禁止])");
    EXPECT_EQ(lines[6], "× Order.json キャンセルしました。(ファイルが存在します[上書き禁止])");
    EXPECT_EQ(ReadBytes(Out("DemoDialogOrder.h")), "mine");
    EXPECT_EQ(ReadBytes(Out("resources/Order.json")), "my json");

    // A row's own box allows that row only.
    options.overwrite[static_cast<size_t>(SkeletonRow::Dialogs)] = true;
    lines = Run();
    EXPECT_EQ(lines[5], "○ DemoDialogOrder.h を更新しました。");
    EXPECT_EQ(lines[6], "× Order.json キャンセルしました。(ファイルが存在します[上書き禁止])");
    EXPECT_EQ(lines[0], "× DemoApplication.cpp キャンセルしました。(ファイルが存在します[上書き禁止])");

    options.overwrite.fill(false);
    options.overwriteAll = true;
    WriteBytes(Out("DemoDialogOrder.h"), "mine");
    lines = Run();
    for (const std::string& line : lines)
        EXPECT_TRUE(line.starts_with("○")) << line;
    EXPECT_EQ(ReadBytes(Out("DemoDialogOrder.h")), "class DemoDialogOrder // Unique.h\n\n");
    EXPECT_NE(ReadBytes(Out("resources/Order.json")), "my json");
}

TEST_F(Generation, MissingTemplateIsReportedAndTheRunGoesOn)
{
    std::filesystem::remove(folder / "tpl/_APPNAME_Application.h");
    options.scope = DialogScope::AllDialogs;
    project.Dialogs().At(1).SetItem("TemplateType", "Special");
    const std::vector<std::string> lines = Run();
    EXPECT_EQ(lines[1], "× DemoApplication.h キャンセルしました。(テンプレートの読込みエラー)");
    EXPECT_EQ(lines[2], "○ DemoDialogMaker.cpp を更新しました。");
    EXPECT_EQ(lines[6], "× DemoDialogOrder.cpp キャンセルしました。(テンプレートの読込みエラー)");
    EXPECT_EQ(lines[7], "× DemoDialogOrder.h キャンセルしました。(テンプレートの読込みエラー)");
    EXPECT_FALSE(Exists(Out("DemoApplication.h")));
    EXPECT_FALSE(Exists(Out("DemoDialogOrder.cpp")));
}

TEST_F(Generation, FolderWithOrWithoutFinalSlashGivesTheSamePaths)
{
    options.generate = {true, false, false, false, false, false, false};
    Run();
    EXPECT_EQ(options.outputFolder, folder / "out/");
    EXPECT_EQ(Run()[0], "× Demo.cpp キャンセルしました。(ファイルが存在します[上書き禁止])");
    options.templateFolder += "/";
    options.overwriteAll = true;
    EXPECT_EQ(Run()[0], "○ Demo.cpp を更新しました。");
}

TEST_F(Generation, EmptyOutputFolderIsRefusedAndNothingIsWritten)
{
    // Should the refusal fail, missing templates and a dialog name that matches nothing keep
    // the run from writing into the root folder.
    options.generate.fill(true);
    options.templateFolder = folder / "no-templates";
    options.dialogName = "no such dialog";
    options.outputFolder.clear();
    EXPECT_EQ(Run(), std::vector<std::string>{"× 出力フォルダが指定されていません。"});
    EXPECT_EQ(options.outputFolder, "");
}

TEST_F(Generation, MissingOutputFolderFailsEveryFile)
{
    options.outputFolder = folder / "absent";
    options.scope = DialogScope::AllDialogs;
    const std::vector<std::string> lines = Run();
    EXPECT_EQ(lines[0], "× DemoApplication.cpp キャンセルしました。(書込みできませんでした)");
    // The resources folder is not created when its parent is missing; each dialog says so.
    const std::string noFolder = "× " + folder / "absent/resources" + " フォルダが作成できませんでした。";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), noFolder), 4);
}

TEST_F(Generation, MakefileAndProjectListOnlyTheFilesThatAreThere)
{
    // Main is off but its file is there from before; Order's type has no template and Blank has
    // no type: neither has class files to list. Settings is NONE: it has none either.
    WriteBytes(folder / "tpl/Makefile", "SOURCES = _SOURCES_\n");
    WriteBytes(folder / "tpl/_APPNAME_.kbpro", "File_NUMBER_=_SOURCE_%MULTILINE%PROJECTS%\n");
    WriteBytes(Out("Demo.cpp"), "mine");
    project.Dialogs().At(1).SetItem("TemplateType", "Special");
    options.generate.fill(true);
    options.generate[static_cast<size_t>(SkeletonRow::Main)] = false;
    options.scope = DialogScope::AllDialogs;
    Run();
    EXPECT_EQ(ReadBytes(Out("Makefile")),
              "SOURCES = Demo.cpp DemoApplication.cpp DemoDialogMaker.cpp DemoDialogMain.cpp \n\n");
    EXPECT_EQ(ReadBytes(Out("Demo.kbpro")), "File000=@Source@Demo.cpp,0\n"
                                            "File001=@Source@DemoApplication.cpp,0\n"
                                            "File002=@Source@DemoApplication.h,0\n"
                                            "File003=@Source@DemoDialogMaker.cpp,0\n"
                                            "File004=@Source@DemoDialogMaker.h,0\n"
                                            "File005=@Source@DemoDialogMain.cpp,0\n"
                                            "File006=@Source@DemoDialogMain.h,0\n"
                                            "File007=@Lib@\n"
                                            "File008=@Document@\n"
                                            "\n");
}

TEST_F(Generation, MissingOutputFolderIsCreatedWithItsParentsWhenAsked)
{
    options.createOutputFolder = true;
    options.dialogName = "Main";
    options.outputFolder = folder / "new/deeper";
    EXPECT_EQ(Run().front(), "○ DemoApplication.cpp を更新しました。");
    EXPECT_TRUE(Exists(folder / "new/deeper/DemoDialogMain.h"));
    EXPECT_TRUE(Exists(folder / "new/deeper/resources/Main.json"));

    // A folder that cannot be made is refused once, and nothing is written.
    WriteBytes(folder / "file", "not a folder");
    options.outputFolder = folder / "file/below";
    EXPECT_EQ(Run(), std::vector<std::string>{"× " + folder / "file/below" + " フォルダが作成できませんでした。"});
}

TEST_F(Generation, ResourcesFolderThatIsAFile)
{
    WriteBytes(Out("resources"), "not a folder");
    options.dialogName = "Main";
    EXPECT_EQ(Run().back(), "× " + folder / "out/resources" + " フォルダが作成できませんでした。");
}

TEST_F(Generation, JsonCopyThatCannotBeWritten)
{
    options.dialogName = "Main";
    std::filesystem::create_directories(Out("resources/Main.json")); // a folder in the way
    options.overwriteAll = true;
    EXPECT_EQ(Run().back(), "× Main.json キャンセルしました。(オープンエラー)");
}

TEST_F(Generation, NamesNeverLeadOutOfTheFolders)
{
    project.SetItem("Name", "../up");
    project.Dialogs().At(0).SetItem("Name", "../../escape");
    project.Dialogs().At(1).SetItem("TemplateType", "/../../tpl/_APPNAME_DialogShared");
    options.scope = DialogScope::AllDialogs;
    const std::vector<std::string> lines = Run();
    EXPECT_EQ(lines[0], "× ../upApplication.cpp キャンセルしました。(書込みできませんでした)");
    EXPECT_EQ(lines[4], "× ../upDialog../../escape.cpp キャンセルしました。(書込みできませんでした)");
    EXPECT_EQ(lines[6], "× ../upDialogOrder.cpp キャンセルしました。(テンプレートの読込みエラー)");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "× ../../escape.json キャンセルしました。(オープンエラー)"),
              lines.end());
    EXPECT_FALSE(Exists(folder / "upApplication.cpp"));
    EXPECT_FALSE(Exists(folder / "escape.json"));
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_TRUE(entry.path().filename() == "out" || entry.path().filename() == "tpl") << entry.path();
}

TEST_F(Generation, JapaneseNamesBecomeUtf8FileNames)
{
    project.SetItem("Name", Sjis("表示"));
    project.Dialogs().At(0).SetItem("Name", Sjis("ソース"));
    options.dialogName = Sjis("ソース");
    options.generate = {true, false, false, true, true, false, false};
    EXPECT_EQ(Run(), (std::vector<std::string>{
                         "○ 表示.cpp を更新しました。",
                         "○ 表示Dialogソース.cpp を更新しました。",
                         "○ 表示Dialogソース.h を更新しました。",
                         "○ ソース.json を更新しました。",
                     }));
    EXPECT_EQ(ReadBytes(Out("表示Dialogソース.h")), "class 表示Dialogソース // Shared.h\n\n");
    EXPECT_TRUE(Exists(Out("resources/ソース.json")));
}

TEST_F(Generation, OutputThatCannotBeCreatedIsReported)
{
    options.generate = {true, false, false, false, false, false, false};
    std::filesystem::create_directories(Out("Demo.cpp/inside"));
    options.overwriteAll = true;
    EXPECT_EQ(Run()[0], "× Demo.cpp キャンセルしました。(書込みできませんでした)");
    EXPECT_TRUE(Exists(Out("Demo.cpp/inside")));
}

} // namespace
} // namespace vesk
