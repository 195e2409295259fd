#include <gtest/gtest.h>

#include "link/commandprotocol.h"
#include "link/linkcontroller.h"
#include "link/terminalsimulator.h"
#include "linktestsupport.h"
#include "records/resourcefile.h"

namespace vesk {
namespace {

using linktest::Frame;
using linktest::ReadFile;
using linktest::RunUntil;
using linktest::TempDir;
using linktest::WriteFile;

TEST(TerminalStream, FramesAndFileDataSplitAnywhere)
{
    // The five bytes after the header are data, even though they hold STX and ETX.
    const std::string data = "\x02\x03"
                             "12"
                             "\x03";
    const std::string wire = "noise" + Frame("{'Command':'PUTFILE','File':'a','Length':5}") + data +
                             Frame("{'Command':'KEEPALIVE'}") + "tail";
    for (size_t split = 0; split <= wire.size(); ++split) {
        TerminalStream stream;
        std::vector<std::string> frames;
        std::string received;
        int ends = 0;
        stream.onFrame = [&](std::string_view text) {
            frames.emplace_back(text);
            if (text.find("PUTFILE") != std::string_view::npos)
                stream.ExpectFileData(5);
        };
        stream.onFileData = [&](std::string_view bytes) { received += bytes; };
        stream.onFileEnd = [&] { ++ends; };
        stream.Feed(std::string_view(wire).substr(0, split));
        stream.Feed(std::string_view(wire).substr(split));
        ASSERT_EQ(frames.size(), 2u) << split;
        EXPECT_EQ(frames[1], "{'Command':'KEEPALIVE'}");
        EXPECT_EQ(received, data) << split;
        EXPECT_EQ(ends, 1);
    }
}

TEST(TerminalStream, EmptyFileEndsAtOnce)
{
    TerminalStream stream;
    int ends = 0;
    stream.onFileEnd = [&] { ++ends; };
    stream.ExpectFileData(0);
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(stream.InFileData());
}

TEST(SafeRelativeName, RefusesNamesLeavingTheFolder)
{
    std::string out;
    EXPECT_TRUE(SafeRelativeName("img\\a.png", out));
    EXPECT_EQ(out, "img/a.png");
    for (const char* bad : {"", "../a", "a/../../b", "/etc/passwd", "\\x", "C:x", "a/", "a\x01"})
        EXPECT_FALSE(SafeRelativeName(bad, out)) << bad;
}

TEST(TerminalSimulator, FetchesCachesAndRendersAgainstTheEditor)
{
    linktest::App();
    TempDir dir;
    WriteFile(dir / "project/resources/img/pic.png", "PICTURE");
    linktest::CollectingLog editorLog;
    CLinkController editor(editorLog, 0);
    editor.SetProjectFolder(dir / "project");
    editor.SetListenPort(0);
    ASSERT_TRUE(editor.StartListening());
    CTekResourceData project;
    ASSERT_TRUE(ReadResourceText(project, "{'Name':'P','Commands':[{'Command':'DIALOG','Name':'Main/1'}]}"));
    editor.onTerminalConnected = [&] { editor.SendDialog(project, "Main/1"); };

    auto runTerminal = [&](linktest::CollectingLog& log, std::vector<std::string>* dialogs) {
        TerminalOptions options;
        options.os = "Sim";
        options.getFiles = {"img\\pic.png", "none.png"};
        options.cacheDir = dir / "cache";
        options.renderDir = dir / "render";
        CTerminalSimulator terminal(log, options);
        if (dialogs)
            terminal.onDialog = [&](const std::string&, const std::string& name, const std::string& base) {
                dialogs->push_back(name + "|" + base);
            };
        EXPECT_TRUE(terminal.Connect("127.0.0.1", editor.CommandListenerPort()));
        EXPECT_TRUE(RunUntil([&] { return terminal.FilesPending() == 0 && terminal.DialogsReceived() == 1; }))
            << log.All();
        return std::tuple(terminal.FilesReceived(), terminal.FilesLatest(), terminal.FilesFailed());
    };

    linktest::CollectingLog first;
    std::vector<std::string> dialogs;
    EXPECT_EQ(runTerminal(first, &dialogs), std::tuple(1, 0, 1));
    EXPECT_EQ(ReadFile(dir / "cache/img/pic.png"), "PICTURE");
    EXPECT_EQ(dialogs, std::vector<std::string>{"Main/1|" + (dir / "render/Main_1")});
    EXPECT_TRUE(ReadFile(dir / "render/Main_1.json").starts_with("{'Name':'P'"));
    EXPECT_TRUE(first.Has("{'Command':'HELLO','OS':'Sim','ResolutionH':480,'ResolutionV':800}", LOG_SENT));
    EXPECT_TRUE(RunUntil([&] { return editorLog.Find("受信：HELLO OS:Sim Resolution 480 x 800") >= 0; }));

    linktest::CollectingLog second;
    EXPECT_EQ(runTerminal(second, nullptr), std::tuple(0, 1, 1));
    EXPECT_TRUE(editorLog.FindPrefix("受信：GETFILE File:img\\pic.png Date:") >= 0) << editorLog.All();
}

} // namespace
} // namespace vesk
