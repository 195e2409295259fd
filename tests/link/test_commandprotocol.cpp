#include <sys/stat.h>
#include <utime.h>

#include <gtest/gtest.h>

#include "link/commandprotocol.h"
#include "link/confinedfile.h"
#include "link/linklog.h"
#include "linktestsupport.h"
#include "model/jsonparser.h"

namespace vesk {
namespace {

using linktest::Frame;
using linktest::RecordingPeer;
using linktest::TempDir;
using linktest::WriteFile;

const char kHello[] = "{'Command':'HELLO','OS':'x','ResolutionH':480,'ResolutionV':800}";
const char kHelloLine[] = "受信：HELLO OS:x Resolution 480 x 800";

TEST(FrameScanner, FrameSplitAtEveryByteIsHandledOnce)
{
    const std::string wire = Frame(kHello);
    for (size_t split = 0; split <= wire.size(); ++split) {
        RecordingPeer peer;
        CommandConnection connection(peer);
        connection.Receive(std::string_view(wire).substr(0, split));
        connection.Receive(std::string_view(wire).substr(split));
        ASSERT_EQ(peer.log.lines.size(), 1u) << "split at " << split << "\n" << peer.log.All();
        EXPECT_EQ(peer.log.lines[0].text, kHelloLine);
        EXPECT_EQ(peer.log.lines[0].level, LOG_RECEIVED);
    }
}

TEST(FrameScanner, FrameFedByteByByte)
{
    RecordingPeer peer;
    CommandConnection connection(peer);
    for (char c : Frame(kHello))
        connection.Receive(std::string_view(&c, 1));
    EXPECT_EQ(peer.log.Count(kHelloLine), 1);
}

TEST(FrameScanner, SeveralFramesInOneReadInOrderAndBytesOutsideDropped)
{
    RecordingPeer peer;
    CommandConnection connection(peer);
    connection.Receive("garbage{'Command':'DIALOG'}\x03" + Frame("{'Command':'KEEPALIVE'}") + "between\x03" +
                       Frame("{'Command':'KEEPALIVE','Status':'DESTROY'}") + "tail");
    ASSERT_EQ(peer.log.lines.size(), 2u) << peer.log.All();
    EXPECT_EQ(peer.log.lines[0].text, "受信：KEEPALIVE");
    EXPECT_EQ(peer.log.lines[1].text, "受信：KEEPALIVE終了ステータス");
    EXPECT_EQ(peer.keepAliveReplies, 2);
    EXPECT_TRUE(peer.sent.empty());
}

TEST(FrameScanner, StxInsideFrameIsAnOrdinaryByte)
{
    FrameScanner scanner;
    std::vector<std::string> frames;
    scanner.Feed(
        "\x02"
        "a\x02"
        "b\x03",
        [&](std::string_view text) { frames.emplace_back(text); }, [](std::string_view) { FAIL(); });
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], "a\x02"
                         "b");
}

TEST(FrameScanner, OverflowAtCapacityThenGoodFrame)
{
    RecordingPeer peer;
    CommandConnection connection(peer);
    std::string wire = "\x02" + std::string(FrameScanner::kCapacity, 'x');
    wire += "more of the dropped frame\x03";
    wire += Frame("{'Command':'DIALOG'}");
    // Deliver in pieces the size of a receive, as the socket does.
    for (size_t at = 0; at < wire.size(); at += 1023)
        connection.Receive(std::string_view(wire).substr(at, 1023));
    ASSERT_EQ(peer.log.lines.size(), 2u);
    EXPECT_EQ(peer.log.lines[0].level, LOG_ERROR);
    EXPECT_EQ(peer.log.lines[0].text,
              "コマンド受信エラー 40000Byte 受信でETXが見つかりませんでした。\n" + std::string(40000, 'x'));
    EXPECT_EQ(peer.log.lines[1].text, "受信：DIALOG");
}

TEST(FrameScanner, LargestFrameFits)
{
    FrameScanner scanner;
    size_t frameSize = 0;
    bool overflow = false;
    const std::string text(FrameScanner::kCapacity - 1, 'y');
    scanner.Feed(
        Frame(text), [&](std::string_view frame) { frameSize = frame.size(); },
        [&](std::string_view) { overflow = true; });
    EXPECT_FALSE(overflow);
    EXPECT_EQ(frameSize, FrameScanner::kCapacity - 1);
}

TEST(CommandConnection, ParseErrorIsLoggedAndNextFrameHandled)
{
    RecordingPeer peer;
    CommandConnection connection(peer);
    connection.Receive(Frame("{'Command':'HELLO',") + Frame("{'Command':'DIALOG'}"));
    ASSERT_EQ(peer.log.lines.size(), 2u);
    EXPECT_EQ(peer.log.lines[0].level, LOG_ERROR);
    EXPECT_TRUE(peer.log.lines[0].text.starts_with("コマンド解析エラー:")) << peer.log.lines[0].text;
    EXPECT_GT(peer.log.lines[0].text.size(), std::string("コマンド解析エラー:").size());
    EXPECT_EQ(peer.log.lines[1].text, "受信：DIALOG");
}

TEST(CommandConnection, DeeplyNestedFrameFailsWithinTheDepthBound)
{
    RecordingPeer peer;
    CommandConnection connection(peer);
    std::string deep = "{'Commands':" + std::string(39000, '[') + std::string(39000, ']').substr(0, 10);
    connection.Receive(Frame(deep));
    std::string objects;
    for (int i = 0; i < 6000; ++i)
        objects += "{'a':";
    connection.Receive(Frame(objects));
    connection.Receive(Frame("{'Command':'DIALOG'}"));
    ASSERT_EQ(peer.log.lines.size(), 3u);
    EXPECT_TRUE(peer.log.lines[0].text.starts_with("コマンド解析エラー:"));
    EXPECT_TRUE(peer.log.lines[1].text.starts_with("コマンド解析エラー:"));
    EXPECT_EQ(peer.log.lines[2].text, "受信：DIALOG");
}

TEST(CommandConnection, CommandsArrayStopsAtFirstUnrecognised)
{
    RecordingPeer peer;
    CommandConnection connection(peer);
    const std::string text = "{'Commands':[{'Command':'HELLO','OS':'x','ResolutionH':480,'ResolutionV':800},"
                             "{'Command':'FOO'},{'Command':'DIALOG'}]}";
    connection.Receive(Frame(text));
    ASSERT_EQ(peer.log.lines.size(), 2u) << peer.log.All();
    EXPECT_EQ(peer.log.lines[0].text, kHelloLine);
    EXPECT_EQ(peer.log.lines[1].level, LOG_RECEIVED);
    EXPECT_EQ(peer.log.lines[1].text,
              "コマンド受信 " + std::to_string(text.size()) + "Byte 未登録のコマンドを受信しました。\n" + text);
}

TEST(CommandConnection, EmptyCommandsArrayAndUnknownCommandsAreUnrecognised)
{
    for (std::string text :
         {"{'Commands':[]}", "{'Command':'keepalive'}", "{'Other':1}", "[1,2]", "{'Commands':[5]}"}) {
        RecordingPeer peer;
        CommandConnection connection(peer);
        connection.Receive(Frame(text));
        ASSERT_EQ(peer.log.lines.size(), 1u) << text;
        EXPECT_EQ(peer.log.lines[0].text,
                  "コマンド受信 " + std::to_string(text.size()) + "Byte 未登録のコマンドを受信しました。\n" + text);
        EXPECT_EQ(peer.keepAliveReplies, 0);
    }
}

TEST(CommandConnection, CommandsArrayRunsEveryRecognisedCommand)
{
    RecordingPeer peer;
    CommandConnection connection(peer);
    connection.Receive(Frame("{'Commands':[{'Command':'KEEPALIVE'},{'Command':'DIALOG'},{'Command':'KEEPALIVE'}]}"));
    ASSERT_EQ(peer.log.lines.size(), 3u);
    EXPECT_EQ(peer.keepAliveReplies, 2);
}

TEST(CommandConnection, ReportsAreLogged)
{
    RecordingPeer peer;
    CommandConnection connection(peer);
    const std::string condition = "{'Command':'CONDITION','Battery':80}";
    connection.Receive(Frame("{'Command':'CHANGE','Dialog':{'Name':'Main'}}") + Frame("{'Command':'CHANGE'}") +
                       Frame(condition) + Frame("{'Command':'HELLO'}"));
    ASSERT_EQ(peer.log.lines.size(), 4u);
    EXPECT_EQ(peer.log.lines[0].text, "受信：CHANGE Dialog Name:Main");
    EXPECT_EQ(peer.log.lines[1].text, "受信：CHANGE");
    EXPECT_EQ(peer.log.lines[2].text, "受信：CONDITION " + condition);
    EXPECT_EQ(peer.log.lines[3].text, "受信：HELLO OS: Resolution  x ");
}

TEST(CommandConnection, ExecuteCommandAnswersWhetherRecognised)
{
    RecordingPeer peer;
    CommandConnection connection(peer);
    JsonParser parser;
    ASSERT_TRUE(parser.Parse("{'Command':'DIALOG'}"));
    EXPECT_EQ(connection.ExecuteCommand(parser), 1);
    ASSERT_TRUE(parser.Parse("{'Command':'Dialog'}"));
    EXPECT_EQ(connection.ExecuteCommand(parser), 0);
}

/// A project folder with a resources folder and files with known dates.
class GetFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        peer.folder = dir.Path() + "/project/";
        WriteFile(Resource("a.png"), "PNGDATA-1234");
        SetTime(Resource("a.png"), 1351674309); // a fixed moment
        WriteFile(dir / "project/secret.txt", "project secret");
        WriteFile(dir / "outside/secret.txt", "outside secret");
    }
    std::string Resource(std::string_view name) const { return dir.Path() + "/project/resources/" + std::string(name); }
    static void SetTime(const std::string& path, time_t time)
    {
        utimbuf times{time, time};
        ::utime(path.c_str(), &times);
    }
    std::string Date(const std::string& path) const
    {
        struct stat status {};
        ::stat(path.c_str(), &status);
        return FormatFileDate(status.st_mtime);
    }
    void Request(const std::string& text)
    {
        CommandConnection connection(peer);
        connection.Receive(Frame(text));
    }

    TempDir dir;
    RecordingPeer peer;
};

TEST_F(GetFileTest, MissingFileGetsErrorRecord)
{
    Request("{'Command':'GETFILE','File':'missing.png','ObjectName':'btn'}");
    const std::string record = "{'Command':'PUTFILE','File':'missing.png','Status':'ERROR','Name':'btn'}";
    EXPECT_EQ(peer.sent, Frame(record));
    ASSERT_EQ(peer.log.lines.size(), 2u);
    EXPECT_EQ(peer.log.lines[0].text, "受信：GETFILE File:missing.png ObjectName:btn");
    EXPECT_EQ(peer.log.lines[1].level, LOG_SENT);
    EXPECT_EQ(peer.log.lines[1].text, "送信 " + std::to_string(record.size()) + "Byte\n" + record);
}

TEST_F(GetFileTest, MatchingLengthAndDateGetLatestRecord)
{
    const std::string date = Date(Resource("a.png"));
    Request("{'Command':'GETFILE','File':'a.png','ObjectName':'pic','Length':12,'Date':'" + date + "'}");
    const std::string record =
        "{'Command':'PUTFILE','File':'a.png','Status':'LATEST','Date':'" + date + "','ObjectName':'pic'}";
    EXPECT_EQ(peer.sent, Frame(record));
    EXPECT_EQ(peer.log.lines[0].text, "受信：GETFILE File:a.png ObjectName:pic Date:" + date + " Length:12");
}

TEST_F(GetFileTest, FileDateIsLocalTime)
{
    std::tm local{};
    const time_t moment = 1351674309;
    localtime_r(&moment, &local);
    char expected[32];
    std::strftime(expected, sizeof expected, "%Y-%m-%d %H:%M:%S", &local);
    EXPECT_EQ(FormatFileDate(moment), expected);
    EXPECT_EQ(Date(Resource("a.png")), expected);
}

TEST_F(GetFileTest, StaleCopyGetsHeaderThenData)
{
    const std::string date = Date(Resource("a.png"));
    Request("{'Command':'GETFILE','File':'a.png','Length':11,'Date':'" + date + "'}");
    const std::string header = "{'Command':'PUTFILE','File':'a.png','Length':12,'Date':'" + date + "'}";
    EXPECT_EQ(peer.sent, Frame(header) + "PNGDATA-1234");
    ASSERT_EQ(peer.log.lines.size(), 2u);
    EXPECT_EQ(peer.log.lines[1].text, "送信 " + std::to_string(header.size()) + "+4+12Byte\n" + header);
}

TEST_F(GetFileTest, QuotedLengthReadsAsZeroSoTheFileIsSent)
{
    const std::string date = Date(Resource("a.png"));
    Request("{'Command':'GETFILE','File':'a.png','Length':'12','Date':'" + date + "'}");
    EXPECT_TRUE(peer.sent.ends_with("\x03PNGDATA-1234"));
}

TEST_F(GetFileTest, BackslashSeparatesFolders)
{
    WriteFile(Resource("img/b.png"), "B");
    Request("{'Command':'GETFILE','File':'img\\\\b.png'}");
    EXPECT_TRUE(peer.sent.ends_with("\x03"
                                    "B"))
        << peer.sent;
    EXPECT_NE(peer.sent.find("'File':'img\\\\b.png'"), std::string::npos) << peer.sent;
}

TEST_F(GetFileTest, ProjectFolderWithoutTrailingSeparator)
{
    peer.folder = dir.Path() + "/project";
    Request("{'Command':'GETFILE','File':'a.png'}");
    EXPECT_TRUE(peer.sent.ends_with("PNGDATA-1234"));
}

TEST_F(GetFileTest, FilesOutsideResourcesAreRefused)
{
    ASSERT_EQ(::symlink((dir / "outside/secret.txt").c_str(), Resource("link_out").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "outside").c_str(), Resource("dir_out").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "outside/fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink((dir / "outside/fifo").c_str(), Resource("fifo_out").c_str()), 0);
    const std::string absolute = dir / "outside/secret.txt";
    for (std::string name : {"../secret.txt", "..\\\\secret.txt", "sub/../../secret.txt", "..", "link_out",
                             "dir_out/secret.txt", "fifo_out", "/etc/passwd", "\\\\etc\\\\passwd", "C:\\\\secret.txt",
                             "a.png\\u0001", "a\\u0000.png", absolute.c_str()}) {
        peer.sent.clear();
        peer.log.lines.clear();
        Request("{'Command':'GETFILE','File':'" + name + "','ObjectName':'o'}");
        EXPECT_TRUE(peer.sent.starts_with("\x02{'Command':'PUTFILE','File':")) << name;
        EXPECT_TRUE(peer.sent.ends_with(",'Status':'ERROR','Name':'o'}\x03")) << name << ": " << peer.sent;
        EXPECT_EQ(peer.sent.find("outside secret"), std::string::npos) << name;
        EXPECT_EQ(peer.sent.find("project secret"), std::string::npos) << name;
        ASSERT_EQ(peer.log.lines.size(), 2u) << name;
        EXPECT_EQ(peer.log.lines[1].level, LOG_SENT);
    }
}

TEST_F(GetFileTest, SymbolicLinkInsideResourcesIsServed)
{
    ASSERT_EQ(::symlink("a.png", Resource("alias.png").c_str()), 0);
    Request("{'Command':'GETFILE','File':'alias.png'}");
    EXPECT_TRUE(peer.sent.ends_with("PNGDATA-1234"));
}

TEST_F(GetFileTest, DirectoryGetsNoReply)
{
    std::filesystem::create_directories(Resource("folder"));
    Request("{'Command':'GETFILE','File':'folder'}");
    EXPECT_TRUE(peer.sent.empty());
    EXPECT_EQ(peer.log.lines.size(), 1u);
}

TEST_F(GetFileTest, NamesWithQuotesAreEchoedEscaped)
{
    Request("{'Command':'GETFILE','File':'it\\u0027s.png','ObjectName':'o\\u0027k'}");
    const std::string expected = "{'Command':'PUTFILE','File':'it\\u0027s.png','Status':'ERROR','Name':'o\\u0027k'}";
    EXPECT_EQ(peer.sent, Frame(expected));
    JsonParser parser;
    ASSERT_TRUE(parser.Parse(expected));
    std::string file;
    ASSERT_TRUE(parser.GetString("File", file));
    EXPECT_EQ(file, "it's.png");
}

TEST_F(GetFileTest, ShiftJisNameFindsUtf8File)
{
    WriteFile(Resource("表.png"), "HYOU");
    const std::string name = Utf8ToShiftJisExact("表.png");
    std::string escaped;
    for (char c : name)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    Request("{'Command':'GETFILE','File':'" + escaped + "'}");
    EXPECT_TRUE(peer.sent.ends_with("HYOU")) << peer.sent;
}

TEST(PutFileRecords, TextsAsWritten)
{
    EXPECT_EQ(PutFileErrorRecord("a.png", ""), "{'Command':'PUTFILE','File':'a.png','Status':'ERROR'}");
    EXPECT_EQ(PutFileLatestRecord("a.png", "2012-10-31 18:05:09", ""),
              "{'Command':'PUTFILE','File':'a.png','Status':'LATEST','Date':'2012-10-31 18:05:09'}");
    EXPECT_EQ(PutFileHeaderRecord("a.png", 5000000000ull, "2012-10-31 18:05:09", "x"),
              "{'Command':'PUTFILE','File':'a.png','Length':5000000000,'Date':'2012-10-31 18:05:09','ObjectName':'x'}");
    EXPECT_EQ(KeepAliveRecord(), "{'Command':'KEEPALIVE'}");
}

} // namespace
} // namespace vesk
