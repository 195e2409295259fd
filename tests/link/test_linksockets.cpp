#include <dirent.h>

#include <atomic>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include <QProcess>

#include "link/commandprotocol.h"
#include "link/linkcontroller.h"
#include "link/linklog.h"
#include "link/netsocket.h"
#include "linktestsupport.h"
#include "model/orbstream.h"
#include "objects/resourcedata.h"
#include "records/resourcefile.h"

namespace vesk {
namespace {

using linktest::App;
using linktest::Frame;
using linktest::HttpGet;
using linktest::PatternBytes;
using linktest::RawClient;
using linktest::ReadFile;
using linktest::RunFor;
using linktest::RunUntil;
using linktest::TempDir;
using linktest::UnusedPort;
using linktest::WhilePumping;
using linktest::WriteFile;

int OpenDescriptors()
{
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir))
            ++count;
        ::closedir(dir);
    }
    return count;
}

class LinkSocketTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        App();
        controller.SetProjectFolder(dir.Path() + "/project/");
        WriteFile(dir / "project/index.html", "<html>hello</html>");
        WriteFile(dir / "project/resources/a.png", "PNGDATA");
        controller.onLinkStateChanged = [this](int state) { states.push_back(state); };
        controller.onTerminalConnected = [this] { ++terminalsConnected; };
        controller.onSocketClosed = [this](int id) { closedIds.push_back(id); };
    }
    /// Listens on an ephemeral port (and HTTP on a free one when asked); answers the command port.
    unsigned Listen(bool withHttp = false)
    {
        controller.SetListenPort(0);
        if (withHttp)
            controller.SetHttpPort(static_cast<int>(UnusedPort()));
        EXPECT_TRUE(controller.StartListening()) << log.All();
        return controller.CommandListenerPort();
    }
    /// Connects a raw terminal and waits until the controller holds it.
    void ConnectTerminal(RawClient& client, unsigned port)
    {
        const int before = terminalsConnected;
        ASSERT_TRUE(client.Connect(port));
        ASSERT_TRUE(RunUntil([&] { return terminalsConnected > before; }));
    }

    TempDir dir;
    linktest::CollectingLog log;
    CLinkController controller{log, 0};
    std::vector<int> states;
    std::vector<int> closedIds;
    int terminalsConnected = 0;
};

TEST_F(LinkSocketTest, AcceptedTerminalExchangesCommands)
{
    const unsigned port = Listen();
    ASSERT_NE(port, 0u);
    EXPECT_TRUE(log.Has("待ち受け開始しました。PORT:" + std::to_string(port) + " [TCP]", LOG_INFO));
    EXPECT_FALSE(controller.Buttons().startListening);
    EXPECT_TRUE(controller.Buttons().stopListening);

    RawClient client;
    ConnectTerminal(client, port);
    EXPECT_TRUE(log.Has("接続要求を許可します。", LOG_INFO));
    const int accepted = log.FindPrefix("接続要求許可 127.0.0.1:" + std::to_string(port) + " 127.0.0.1:");
    ASSERT_GE(accepted, 0) << log.All();
    EXPECT_TRUE(log.lines[accepted].text.ends_with(" 通信ポート"));
    EXPECT_EQ(controller.IpAddress(), 0x7F000001u);
    EXPECT_EQ(controller.IpAddressText(), "127.0.0.1");
    EXPECT_FALSE(controller.Buttons().connect);
    EXPECT_TRUE(controller.Buttons().disconnect);
    EXPECT_TRUE(controller.Buttons().send);

    ASSERT_TRUE(client.SendAll(Frame("{'Command':'HELLO','OS':'x','ResolutionH':480,'ResolutionV':800}")));
    ASSERT_TRUE(RunUntil([&] { return log.Find("受信：HELLO OS:x Resolution 480 x 800") >= 0; }));
    ASSERT_TRUE(client.SendAll(Frame("{'Command':'GETFILE','File':'nothing.png'}")));
    ASSERT_TRUE(RunUntil([&] {
        client.ReadAvailable();
        return client.received.find('\x03') != std::string::npos;
    }));
    EXPECT_EQ(client.received, Frame("{'Command':'PUTFILE','File':'nothing.png','Status':'ERROR'}"));
}

TEST_F(LinkSocketTest, KeepAliveStateSequence)
{
    CLinkController ticking(log, 40);
    ticking.onLinkStateChanged = [this](int state) { states.push_back(state); };
    bool connected = false;
    ticking.onTerminalConnected = [&] { connected = true; };
    ticking.SetListenPort(0);
    ASSERT_TRUE(ticking.StartListening());
    RawClient client;
    ASSERT_TRUE(client.Connect(ticking.CommandListenerPort()));
    ASSERT_TRUE(RunUntil([&] { return connected; }));

    // A terminal that never answers: green at the first tick, then red with a log line per tick.
    ASSERT_TRUE(RunUntil([&] { return log.Count("KEEPALIVEの応答がありませんでした。") >= 2; }));
    EXPECT_EQ(states, (std::vector<int>{kLinkStateGreen, kLinkStateRed}));
    EXPECT_TRUE(ticking.KeepAliveOutstanding());
    ASSERT_TRUE(RunUntil([&] {
        client.ReadAvailable();
        return client.received.size() >= 3 * Frame(KeepAliveRecord()).size();
    }));
    EXPECT_TRUE(client.received.starts_with(Frame(KeepAliveRecord()) + Frame(KeepAliveRecord())));

    // An answer turns it yellow, and the next tick green.
    ASSERT_TRUE(client.SendAll(Frame("{'Command':'KEEPALIVE'}")));
    ASSERT_TRUE(RunUntil([&] { return states.size() >= 4; }));
    EXPECT_EQ(states, (std::vector<int>{kLinkStateGreen, kLinkStateRed, kLinkStateYellow, kLinkStateGreen}));
    EXPECT_TRUE(log.Has("受信：KEEPALIVE", LOG_RECEIVED));
}

TEST_F(LinkSocketTest, TheLinkIsRedOnceTheTerminalConnectionEnds)
{
    const unsigned port = Listen();
    RawClient next;
    const struct Case {
        const char* how;
        std::function<void(RawClient&)> end;
    } cases[] = {
        {"peer close", [](RawClient& client) { client.Close(); }},
        {"disconnect", [this](RawClient&) { controller.Disconnect(); }},
        {"another terminal", [&](RawClient&) { ConnectTerminal(next, port); }},
    };
    for (const Case& c : cases) {
        RawClient client;
        ConnectTerminal(client, port);
        CNetSocket* terminal = controller.TerminalConnection();
        controller.KeepAliveTick();
        ASSERT_TRUE(client.SendAll(Frame("{'Command':'KEEPALIVE'}")));
        ASSERT_TRUE(RunUntil([&] { return controller.LinkState() == kLinkStateYellow; })) << c.how;
        // Outstanding again, and the answer on its way as the connection ends.
        controller.KeepAliveTick();
        ASSERT_TRUE(client.SendAll(Frame("{'Command':'KEEPALIVE'}")));
        c.end(client);
        ASSERT_TRUE(RunUntil([&] {
            return controller.TerminalConnection() != terminal && controller.RetiredConnectionCount() == 0;
        })) << c.how;
        RunFor(50);
        EXPECT_EQ(controller.LinkState(), kLinkStateRed) << c.how;
        EXPECT_FALSE(controller.KeepAliveOutstanding()) << c.how << ": the next connection starts afresh";
        if (controller.TerminalConnection())
            controller.Disconnect();
        ASSERT_TRUE(RunUntil([&] { return controller.RetiredConnectionCount() == 0; })) << c.how;
    }
}

TEST_F(LinkSocketTest, TicksWithoutTerminalDoNothing)
{
    controller.KeepAliveTick();
    controller.KeepAliveTick();
    EXPECT_TRUE(states.empty());
    EXPECT_FALSE(controller.KeepAliveOutstanding());
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(LinkSocketTest, SendDialogSendsOneFrame)
{
    CTekResourceData project;
    ASSERT_TRUE(ReadResourceText(project, "{'Name':'P','Commands':[{'Command':'DIALOG','Name':'Main','Object':"
                                          "{'Name':'root','Type':'GROUP','Layout':'LINEAR'}},"
                                          "{'Command':'DIALOG','Name':'Other'}]}"));
    EXPECT_FALSE(controller.SendDialog(project, "Main"));
    const unsigned port = Listen();
    RawClient client;
    ConnectTerminal(client, port);
    EXPECT_FALSE(controller.SendDialog(project, ""));
    ASSERT_TRUE(controller.SendDialog(project, "Main"));
    CJsonString expected;
    WriteResource(project, expected, "Main");
    ASSERT_TRUE(RunUntil([&] {
        client.ReadAvailable();
        return client.received.size() >= expected.Text().size() + 2;
    }));
    RunFor(50);
    client.ReadAvailable();
    EXPECT_EQ(client.received, Frame(expected.Text()));
    EXPECT_EQ(client.received.find("Other"), std::string::npos);
    EXPECT_TRUE(log.Has("送信 " + std::to_string(expected.Text().size()) + "Byte\n" + expected.Text(), LOG_SENT));
}

TEST_F(LinkSocketTest, RefusedConnectIsLoggedAndDestroyed)
{
    const unsigned port = UnusedPort();
    const bool started = controller.ConnectToHost("127.0.0.1", static_cast<int>(port));
    if (started) {
        EXPECT_FALSE(controller.Buttons().connect);
        ASSERT_TRUE(RunUntil([&] { return controller.TerminalConnection() == nullptr; }));
        EXPECT_TRUE(log.Has("OnConnect()", LOG_TRACE));
        EXPECT_TRUE(log.Has("接続を試みましたが、強制的にリジェクトされました。", LOG_ERROR)) << log.All();
        EXPECT_TRUE(log.Has("ShutDownSocket()", LOG_TRACE));
        EXPECT_TRUE(log.Has("ShutDownに失敗しました。(OnConnect())", LOG_ERROR));
        EXPECT_TRUE(log.Has("ソケットが接続されていません。", LOG_ERROR));
        EXPECT_EQ(closedIds, std::vector<int>{kTerminalConnectionId});
    } else {
        const int failed = log.Find("送信準備に失敗しました。Connect");
        ASSERT_GE(failed, 0) << log.All();
        EXPECT_EQ(log.lines[failed + 1].text, "接続を試みましたが、拒否されました。");
    }
    EXPECT_TRUE(controller.Buttons().connect);
    EXPECT_EQ(controller.TerminalConnection(), nullptr);
}

TEST_F(LinkSocketTest, ConnectWithBadAddressFailsAtOnce)
{
    EXPECT_FALSE(controller.ConnectToHost("no such host.invalid", 5000));
    const int failed = log.Find("送信準備に失敗しました。Connect");
    ASSERT_GE(failed, 0) << log.All();
    EXPECT_EQ(log.lines[failed + 1].text, "ホスト アドレスが無効です。");
    EXPECT_EQ(controller.TerminalConnection(), nullptr);
}

TEST_F(LinkSocketTest, OutgoingConnectionIsReported)
{
    CLinkController terminalSide(log, 0);
    terminalSide.SetListenPort(0);
    ASSERT_TRUE(terminalSide.StartListening());
    const unsigned port = terminalSide.CommandListenerPort();
    controller.SetIpAddress(0x7F000001);
    controller.SetListenPort(static_cast<int>(port));
    ASSERT_TRUE(controller.Connect());
    ASSERT_TRUE(RunUntil([&] { return terminalsConnected == 1; }));
    EXPECT_TRUE(log.Has("OnConnect()", LOG_TRACE));
    const int connected = log.FindPrefix("相手[127.0.0.1:" + std::to_string(port) + "] 自分[127.0.0.1:");
    ASSERT_GE(connected, 0) << log.All();
    EXPECT_TRUE(log.lines[connected].text.ends_with("] 接続しました。"));
    EXPECT_EQ(log.lines[connected].level, LOG_RECEIVED);
}

TEST_F(LinkSocketTest, PeerResetAndGracefulCloseAreLogged)
{
    const unsigned port = Listen();
    {
        RawClient client;
        ConnectTerminal(client, port);
        client.Reset();
    }
    ASSERT_TRUE(RunUntil([&] { return controller.TerminalConnection() == nullptr; }));
    EXPECT_TRUE(log.Has("OnClose()", LOG_TRACE));
    EXPECT_TRUE(log.Has("接続がリモート側からリセットされました。", LOG_ERROR)) << log.All();
    EXPECT_TRUE(controller.Buttons().connect);

    {
        RawClient client;
        ConnectTerminal(client, port);
        client.Close();
    }
    ASSERT_TRUE(RunUntil([&] { return controller.TerminalConnection() == nullptr; }));
    EXPECT_TRUE(log.Has("通信を切断しました。", LOG_INFO));
    EXPECT_EQ(closedIds, (std::vector<int>{kTerminalConnectionId, kTerminalConnectionId}));
}

TEST_F(LinkSocketTest, DisconnectShutsDownAndDestroysLater)
{
    const unsigned port = Listen();
    RawClient client;
    ConnectTerminal(client, port);
    controller.Disconnect();
    EXPECT_TRUE(log.Has("ShutDownSocket()", LOG_TRACE));
    EXPECT_TRUE(log.Has("正常にシャットダウンしました。(切断ボタン押下)", LOG_INFO)) << log.All();
    EXPECT_TRUE(controller.Buttons().connect);
    EXPECT_FALSE(controller.Buttons().send);
    EXPECT_EQ(controller.RetiredConnectionCount(), 1u);
    ASSERT_TRUE(RunUntil([&] { return controller.RetiredConnectionCount() == 0; }));
    EXPECT_TRUE(client.ReadToEnd());
}

TEST_F(LinkSocketTest, SecondTerminalReplacesTheFirst)
{
    const unsigned port = Listen();
    RawClient first;
    ConnectTerminal(first, port);
    CNetSocket* firstSocket = controller.TerminalConnection();
    RawClient second;
    ConnectTerminal(second, port);
    CNetSocket* secondSocket = controller.TerminalConnection();
    EXPECT_NE(firstSocket, secondSocket);
    EXPECT_TRUE(log.Has("正常にシャットダウンしました。(新しい端末の接続)", LOG_INFO)) << log.All();
    EXPECT_TRUE(first.ReadToEnd());
    ASSERT_TRUE(RunUntil([&] { return controller.RetiredConnectionCount() == 0; }));
    RunFor(50);
    ASSERT_EQ(controller.TerminalConnection(), secondSocket);

    controller.KeepAliveTick();
    ASSERT_TRUE(RunUntil([&] {
        second.ReadAvailable();
        return second.received == Frame(KeepAliveRecord());
    }));
    ASSERT_TRUE(second.SendAll(Frame("{'Command':'DIALOG'}")));
    ASSERT_TRUE(RunUntil([&] { return log.Find("受信：DIALOG") >= 0; }));
}

TEST_F(LinkSocketTest, StopListeningKeepsTheTerminal)
{
    const unsigned port = Listen(true);
    ASSERT_NE(controller.HttpListener(), nullptr);
    RawClient client;
    ConnectTerminal(client, port);
    controller.StopListening();
    EXPECT_EQ(controller.CommandListener(), nullptr);
    EXPECT_EQ(controller.HttpListener(), nullptr);
    EXPECT_TRUE(controller.Buttons().startListening);
    EXPECT_TRUE(controller.Buttons().disconnect);
    ASSERT_TRUE(client.SendAll(Frame("{'Command':'DIALOG'}")));
    ASSERT_TRUE(RunUntil([&] { return log.Find("受信：DIALOG") >= 0; }));
    RawClient late;
    EXPECT_FALSE(late.Connect(port));
}

TEST_F(LinkSocketTest, ListeningTwiceReplacesAndTakenPortFails)
{
    const unsigned port = Listen();
    controller.SetListenPort(static_cast<int>(port));
    ASSERT_TRUE(controller.StartListening()) << log.All();
    EXPECT_EQ(controller.CommandListenerPort(), port);

    linktest::CollectingLog otherLog;
    CLinkController other(otherLog, 0);
    other.SetListenPort(static_cast<int>(port));
    EXPECT_FALSE(other.StartListening());
    EXPECT_EQ(other.CommandListener(), nullptr);
    EXPECT_EQ(other.HttpListener(), nullptr);
    EXPECT_TRUE(other.Buttons().startListening);
    EXPECT_EQ(otherLog.messages, std::vector<std::string>{"エラー：Tcpサーバが開始出来ませんでした。"});
    ASSERT_EQ(otherLog.lines.size(), 2u) << otherLog.All();
    EXPECT_EQ(otherLog.lines[0].text, "ソケットが作成できませんでした。");
    EXPECT_EQ(otherLog.lines[1].text, "Address already in use");
}

TEST_F(LinkSocketTest, ListeningOnAnotherMachinesAddressFails)
{
    controller.SetListenPort(0);
    controller.SetIpAddress(0xC0000201); // 192.0.2.1, a documentation address
    EXPECT_FALSE(controller.StartListening());
    EXPECT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(controller.CommandListener(), nullptr);
}

TEST_F(LinkSocketTest, Http404ClosesAnd200StaysOpen)
{
    Listen(true);
    const unsigned http = controller.HttpListenerPort();
    ASSERT_NE(http, 0u);
    EXPECT_TRUE(log.Has("待ち受け開始しました。PORT:" + std::to_string(http) + " [TCP]", LOG_INFO));
    EXPECT_EQ(WhilePumping([&] { return HttpGet(http, "/missing.html"); }), "HTTP/1.0 404 Not Found\r\n\r\n");
    EXPECT_TRUE(log.Has("Http応答 (/missing.html) 404 Not Found", LOG_ERROR));
    const int accepted = log.FindPrefix("接続要求許可 127.0.0.1:" + std::to_string(http));
    ASSERT_GE(accepted, 0);
    EXPECT_TRUE(log.lines[accepted].text.ends_with(" Httpポート"));

    RawClient client;
    ASSERT_TRUE(client.Connect(http));
    ASSERT_TRUE(client.SendAll("GET / HTTP/1.0\r\n\r\n"));
    const std::string answer =
        "HTTP/1.0 200 OK\r\nConnection: close\r\nContent-Type: text/html\r\nContent-Length: 18\r\n\r\n"
        "<html>hello</html>";
    std::atomic<bool> done{false};
    bool ok = false;
    std::thread reader([&] {
        ok = client.ReadUntilSize(answer.size()) && client.SendAll("GET /resources/a.png HTTP/1.0\r\n\r\n") &&
             client.ReadUntil("PNGDATA");
        done = true;
    });
    EXPECT_TRUE(RunUntil([&] { return done.load(); }));
    reader.join();
    EXPECT_TRUE(ok);
    EXPECT_TRUE(client.received.starts_with(answer));
    client.Close();
    ASSERT_TRUE(RunUntil([&] { return controller.HttpConnectionCount() == 0; }));
}

TEST_F(LinkSocketTest, EveryHttpConnectionIsDestroyedAndOnlyTheOneThatClosed)
{
    Listen(true);
    const unsigned http = controller.HttpListenerPort();
    std::vector<std::unique_ptr<RawClient>> open;
    auto connectMore = [&](int count) {
        return WhilePumping([&] {
            for (int i = 0; i < count; ++i) {
                open.push_back(std::make_unique<RawClient>());
                if (!open.back()->Connect(http))
                    return false;
            }
            return true;
        });
    };
    ASSERT_TRUE(connectMore(40));
    ASSERT_TRUE(RunUntil([&] { return controller.HttpConnectionCount() == 40; }));
    // Close every other one, and open new ones at once, while the close notices are on their way.
    for (int i = 0; i < 40; i += 2)
        open[i]->Close();
    ASSERT_TRUE(connectMore(10));
    ASSERT_TRUE(RunUntil([&] { return controller.HttpConnectionCount() == 30; })) << controller.HttpConnectionCount();
    RunFor(50);
    EXPECT_EQ(controller.HttpConnectionCount(), 30u);
    // The survivors still answer.
    std::atomic<int> answered{0};
    std::thread reader([&] {
        for (size_t i = 0; i < open.size(); ++i)
            if ((i >= 40 || i % 2 == 1) && open[i]->SendAll("GET / HTTP/1.0\r\n\r\n") && open[i]->ReadUntil("</html>"))
                ++answered;
    });
    EXPECT_TRUE(RunUntil([&] { return answered.load() == 30; }));
    reader.join();
    open.clear();
    ASSERT_TRUE(RunUntil([&] { return controller.HttpConnectionCount() == 0; }));
    // Many clients one after another leave nothing behind.
    std::atomic<int> served{0};
    std::thread many([&] {
        for (int i = 0; i < 300; ++i)
            if (HttpGet(http, i % 3 == 0 ? "/missing" : "/index.html").size() > 0)
                ++served;
    });
    EXPECT_TRUE(RunUntil([&] { return served.load() == 300; }, 60000));
    many.join();
    ASSERT_TRUE(RunUntil([&] { return controller.HttpConnectionCount() == 0; }));
}

TEST_F(LinkSocketTest, CurlFetchesFromTheProjectFolder)
{
    Listen(true);
    const std::string base = "http://127.0.0.1:" + std::to_string(controller.HttpListenerPort());
    auto curl = [&](const std::string& path, const std::string& output) {
        QProcess process;
        process.start(QStringLiteral("curl"),
                      {QStringLiteral("-s"), QStringLiteral("--max-time"), QStringLiteral("60"), QStringLiteral("-o"),
                       QString::fromStdString(output), QStringLiteral("-w"), QStringLiteral("%{http_code}"),
                       QString::fromStdString(base + path)});
        EXPECT_TRUE(RunUntil([&] { return process.state() == QProcess::NotRunning; }, 90000));
        return process.readAllStandardOutput().toStdString();
    };
    EXPECT_EQ(curl("/", dir / "index.out"), "200");
    EXPECT_EQ(ReadFile(dir / "index.out"), "<html>hello</html>");
    EXPECT_EQ(curl("/nothing.html", dir / "nothing.out"), "404");
    EXPECT_EQ(curl("/../outside.txt", dir / "outside.out"), "404");
    ASSERT_TRUE(RunUntil([&] { return controller.HttpConnectionCount() == 0; }));
}

/// The bytes of a GETFILE answer: the header record and the data after it.
struct GetFileAnswer {
    bool ok = false;
    std::string header;
    std::string data;
};

GetFileAnswer FetchByGetFile(unsigned port, const std::string& file, int stallMs = 0)
{
    GetFileAnswer answer;
    RawClient client;
    if (!client.Connect(port) || !client.SendAll(Frame("{'Command':'GETFILE','File':'" + file + "'}")))
        return answer;
    if (stallMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(stallMs));
    if (!client.ReadUntil("\x03"))
        return answer;
    const size_t etx = client.received.find('\x03');
    answer.header = client.received.substr(1, etx - 1);
    const size_t at = answer.header.find("'Length':");
    if (at == std::string::npos)
        return answer;
    const size_t length = std::stoull(answer.header.substr(at + 9));
    answer.ok = client.ReadUntilSize(etx + 1 + length);
    answer.data = client.received.substr(etx + 1);
    return answer;
}

TEST_F(LinkSocketTest, FiftyMegabytesArriveWholeByGetFileAndHttp)
{
    const std::string big = PatternBytes(50 * 1024 * 1024);
    WriteFile(dir / "project/resources/big.bin", big);
    const unsigned port = Listen(true);
    const unsigned http = controller.HttpListenerPort();

    // A terminal that does not read for a while stalls its transfer, but not the editor: an HTTP
    // request is answered meanwhile.
    std::atomic<bool> done{false};
    GetFileAnswer answer;
    std::thread terminal([&] {
        answer = FetchByGetFile(port, "big.bin", 500);
        done = true;
    });
    ASSERT_TRUE(RunUntil([&] { return controller.TerminalConnection() != nullptr; }));
    std::atomic<bool> small{false};
    std::string smallAnswer;
    std::thread other([&] {
        smallAnswer = HttpGet(http, "/index.html");
        small = true;
    });
    ASSERT_TRUE(RunUntil([&] { return small.load(); })) << log.All();
    other.join();
    EXPECT_TRUE(smallAnswer.ends_with("<html>hello</html>"));
    EXPECT_FALSE(done.load());
    ASSERT_TRUE(RunUntil([&] { return done.load(); }, 120000));
    terminal.join();
    ASSERT_TRUE(answer.ok) << answer.header;
    EXPECT_TRUE(answer.header.starts_with("{'Command':'PUTFILE','File':'big.bin','Length':52428800,'Date':'"));
    EXPECT_TRUE(answer.data == big) << "data differs";
    EXPECT_GE(log.FindPrefix("送信 "), 0);

    QProcess process;
    process.start(QStringLiteral("curl"),
                  {QStringLiteral("-s"), QStringLiteral("--max-time"), QStringLiteral("120"), QStringLiteral("-o"),
                   QString::fromStdString(dir / "big.out"),
                   QString::fromStdString("http://127.0.0.1:" + std::to_string(http) + "/resources/big.bin")});
    ASSERT_TRUE(RunUntil([&] { return process.state() == QProcess::NotRunning; }, 150000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(ReadFile(dir / "big.out") == big) << "data differs";
    EXPECT_TRUE(log.Has("Http応答 (/resources/big.bin) 52428800Byte", LOG_SENT));
}

TEST_F(LinkSocketTest, FileCutShortWhileSendingEndsTheConnection)
{
    const std::string path = dir / "project/resources/shrinking.bin";
    WriteFile(path, PatternBytes(40 * 1024 * 1024));
    const unsigned port = Listen();
    std::atomic<bool> done{false};
    GetFileAnswer answer;
    std::thread terminal([&] {
        answer = FetchByGetFile(port, "shrinking.bin", 300);
        done = true;
    });
    ASSERT_TRUE(RunUntil([&] { return log.FindPrefix("送信 ") >= 0; }));
    ASSERT_EQ(::truncate(path.c_str(), 1000), 0);
    ASSERT_TRUE(RunUntil([&] { return done.load(); }, 60000));
    terminal.join();
    // The terminal sees a broken transfer, never a file of the announced length.
    EXPECT_FALSE(answer.ok);
    EXPECT_LT(answer.data.size(), 40u * 1024 * 1024);
    ASSERT_TRUE(RunUntil([&] { return controller.TerminalConnection() == nullptr; }));
    const int failed = log.Find("送信に失敗しました。");
    ASSERT_GE(failed, 0) << log.All();
    EXPECT_EQ(log.lines[failed + 1].text, "Input/output error");
}

TEST_F(LinkSocketTest, TerminalThatDoesNotReadDoesNotExhaustTheEditor)
{
    WriteFile(dir / "project/resources/mid.bin", PatternBytes(2 * 1024 * 1024));
    const unsigned port = Listen();
    RawClient client;
    ConnectTerminal(client, port);
    const int before = OpenDescriptors();
    std::string requests;
    for (int i = 0; i < 300; ++i)
        requests += Frame("{'Command':'GETFILE','File':'mid.bin'}");
    std::atomic<bool> sent{false};
    std::thread writer([&] {
        // The editor stops reading once much is queued, so this send may not finish: give up after a while.
        timeval timeout{2, 0};
        setsockopt(client.Fd(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        client.SendAll(requests);
        sent = true;
    });
    ASSERT_TRUE(RunUntil([&] { return sent.load(); }, 30000));
    writer.join();
    RunFor(200);
    // What one receive holds may be queued, but not one file per request.
    EXPECT_LT(OpenDescriptors() - before, 60);
    client.Reset();
    ASSERT_TRUE(RunUntil([&] { return controller.TerminalConnection() == nullptr; }));
    EXPECT_LE(OpenDescriptors(), before + 1);
}

} // namespace
} // namespace vesk
