// veskres generate: options, defaults, printed result lines and exit status.

#include <gtest/gtest.h>

#include <sstream>

#include "../codegen/codegentestsupport.h"
#include "cli/commands.h"

namespace vesk::cli {
namespace {

using test::Exists;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

const std::string kDemo = std::string(VESK_SOURCE_DIR) + "/examples/demo.veskspro";
const std::string kTemplates = std::string(VESK_SOURCE_DIR) + "/data/template";

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Generate(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    int status = RunGenerate(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(GenerateCommand, UsageErrors)
{
    TempFolder folder;
    const std::vector<std::vector<std::string>> bad = {
        {},
        {kDemo},
        {kDemo, kDemo, "--out", folder.Path()},
        {kDemo, "--out"},
        {kDemo, "--out", folder.Path(), "--all", "--dialog", "Main"},
        {kDemo, "--out", folder.Path(), "--overwrite", "--overwrite-rows", "main"},
        {kDemo, "--out", folder.Path(), "--rows", "main,apps"},
        {kDemo, "--out", folder.Path(), "--overwrite-rows", "json,"},
        {kDemo, "--out", folder.Path(), "--everything"},
    };
    for (const auto& args : bad) {
        Outcome outcome = Generate(args);
        EXPECT_EQ(outcome.status, 2) << outcome.err;
        EXPECT_NE(outcome.err.find("usage: veskres generate"), std::string::npos);
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST(GenerateCommand, DefaultRowsForOneDialogWithTheTemplatesBesideTheExecutable)
{
    TempFolder folder;
    Outcome outcome = Generate({kDemo, "--out", folder.Path(), "--dialog", "Order"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(Lines(outcome.out), (std::vector<std::string>{
                                      "○ DemoTerminalApplication.cpp を更新しました。",
                                      "○ DemoTerminalApplication.h を更新しました。",
                                      "○ DemoTerminalDialogMaker.cpp を更新しました。",
                                      "○ DemoTerminalDialogMaker.h を更新しました。",
                                      "○ DemoTerminalDialogOrder.cpp を更新しました。",
                                      "○ DemoTerminalDialogOrder.h を更新しました。",
                                      "○ Order.json を更新しました。",
                                  }));
    EXPECT_TRUE(Exists(folder / "resources/Order.json"));
    EXPECT_FALSE(Exists(folder / "DemoTerminal.cpp"));
}

TEST(GenerateCommand, WithoutADialogNameNoDialogIsTaken)
{
    TempFolder folder;
    Outcome outcome = Generate({kDemo, "--out", folder.Path(), "--templates", kTemplates, "--rows", "dialogs,json"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST(GenerateCommand, RefusedFilesGiveStatusOneAndChosenRowsMayOverwrite)
{
    TempFolder folder;
    const std::vector<std::string> base = {kDemo,      "--out", folder.Path(), "--templates",
                                           kTemplates, "--all", "--rows",      "main,project,makefile"};
    ASSERT_EQ(Generate(base).status, 0);
    WriteBytes(folder / "Makefile", "mine");
    WriteBytes(folder / "DemoTerminal.cpp", "mine");

    Outcome again = Generate(base);
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(Lines(again.out)[0], "× DemoTerminal.cpp キャンセルしました。(ファイルが存在します[上書き禁止])");
    EXPECT_EQ(ReadBytes(folder / "Makefile"), "mine");

    std::vector<std::string> someRows = base;
    someRows.insert(someRows.end(), {"--overwrite-rows", "makefile,project"});
    Outcome partly = Generate(someRows);
    EXPECT_EQ(partly.status, 1);
    EXPECT_EQ(Lines(partly.out),
              (std::vector<std::string>{"× DemoTerminal.cpp キャンセルしました。(ファイルが存在します[上書き禁止])",
                                        "○ DemoTerminal.kbpro を更新しました。", "○ Makefile を更新しました。",
                                        "○ Makeparam を更新しました。"}));
    EXPECT_NE(ReadBytes(folder / "Makefile"), "mine");
    EXPECT_EQ(ReadBytes(folder / "DemoTerminal.cpp"), "mine");

    std::vector<std::string> all = base;
    all.push_back("--overwrite");
    EXPECT_EQ(Generate(all).status, 0);
    EXPECT_NE(ReadBytes(folder / "DemoTerminal.cpp"), "mine");
}

TEST(GenerateCommand, MissingOutputFolderIsCreated)
{
    TempFolder folder;
    Outcome outcome = Generate({kDemo, "--out", folder / "new/skeleton", "--dialog", "Order", "--rows", "dialogs"});
    EXPECT_EQ(outcome.status, 0) << outcome.out;
    EXPECT_TRUE(Exists(folder / "new/skeleton/DemoTerminalDialogOrder.cpp"));
}

TEST(GenerateCommand, EmptyOutputFolderIsRefused)
{
    // Missing templates and no dialog keep a failed refusal from writing into the root folder.
    TempFolder folder;
    Outcome outcome = Generate({kDemo, "--out", "", "--templates", folder / "none", "--rows", "main,json"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "× 出力フォルダが指定されていません。\n");
}

TEST(GenerateCommand, ProjectWithoutANameIsNotGenerated)
{
    TempFolder folder;
    WriteBytes(folder / "nameless.veskspro", "{'Commands':[{'Command':'DIALOG','Name':'Main','TemplateType':'Shared',"
                                             "'Object':{'Name':'root','Type':'GROUP','Layout':'LINEAR'}}]}");
    Outcome outcome = Generate({folder / "nameless.veskspro", "--out", folder.Path(), "--all"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "アプリケーション名が登録されていません。\nリソースツリーのRootのNameを設定して下さい。\n");
    EXPECT_FALSE(Exists(folder / "resources"));
}

TEST(GenerateCommand, UnreadableProject)
{
    TempFolder folder;
    Outcome outcome = Generate({folder / "absent.veskspro", "--out", folder.Path()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("absent.veskspro"), std::string::npos);
}

TEST(GenerateCommand, MissingTemplateFolder)
{
    TempFolder folder;
    Outcome outcome = Generate({kDemo, "--out", folder.Path(), "--templates", folder / "none", "--rows", "main"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "× DemoTerminal.cpp キャンセルしました。(テンプレートの読込みエラー)\n");
}

} // namespace
} // namespace vesk::cli
