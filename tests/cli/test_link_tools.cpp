// veskres serve, send and terminal: argument errors in-process, the link through the built
// executable on loopback.

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include "../link/linktestsupport.h"
#include "cli/commands.h"

namespace vesk {
namespace {

using linktest::ReadFile;
using linktest::TempDir;
using linktest::UnusedPort;
using linktest::WriteFile;

const std::string kDemoPath = std::string(VESK_SOURCE_DIR) + "/examples/demo.veskspro";
const QString kVeskres = QString::fromStdString(std::string(VESK_RUNTIME_DIR) + "/veskres");

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

RunResult RunCommand(cli::CommandFunction command, const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = command(args, out, err);
    return {status, out.str(), err.str()};
}

/// A veskres subcommand running as its own process, with its output collected.
class Tool {
public:
    explicit Tool(const std::vector<std::string>& args)
    {
        linktest::App();
        QStringList arguments;
        for (const std::string& arg : args)
            arguments << QString::fromStdString(arg);
        m_process.start(kVeskres, arguments);
        m_process.waitForStarted(10000);
    }
    ~Tool()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    /// Waits until the output holds the text; false after the time-out or the end of the process.
    bool WaitFor(std::string_view text, int timeoutMs = 15000)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        while (Collect(), out.find(text) == std::string::npos) {
            if (elapsed.elapsed() > timeoutMs || m_process.state() == QProcess::NotRunning)
                return Collect(), out.find(text) != std::string::npos;
            m_process.waitForReadyRead(100);
        }
        return true;
    }
    /// The port of the first "待ち受け開始しました。PORT:N [TCP]" line, 0 when none came.
    unsigned ListeningPort()
    {
        const std::string marker = "待ち受け開始しました。PORT:";
        if (!WaitFor(" [TCP]"))
            return 0;
        const size_t at = out.find(marker);
        return at == std::string::npos ? 0 : static_cast<unsigned>(std::stoul(out.substr(at + marker.size())));
    }
    void Interrupt() { ::kill(static_cast<pid_t>(m_process.processId()), SIGINT); }
    /// Waits for the end; answers the exit status, or -1 after the time-out or a crash.
    int Finish(int timeoutMs = 30000)
    {
        if (!m_process.waitForFinished(timeoutMs))
            return -1;
        Collect();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

    std::string out;
    std::string err;

private:
    void Collect()
    {
        out += m_process.readAllStandardOutput().toStdString();
        err += m_process.readAllStandardError().toStdString();
    }
    QProcess m_process;
};

TEST(LinkToolArguments, UsageErrorsAreReported)
{
    struct Case {
        cli::CommandFunction command;
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {cli::RunServe, {}, "--project-folder is required"},
        {cli::RunServe, {"--project-folder", "/tmp", "--port", "70000"}, "--port takes"},
        {cli::RunServe, {"--project-folder", "/tmp", "--http-port", "x"}, "--http-port takes"},
        {cli::RunServe, {"--project-folder", "/tmp", "--keepalive", "0"}, "--keepalive takes"},
        {cli::RunServe, {"--project-folder", "/tmp", "--bind", "localhost"}, "--bind takes"},
        {cli::RunServe, {"--project-folder", "/tmp", "--dialog", "Main"}, "--dialog goes with --send"},
        {cli::RunServe, {"--project-folder", "/tmp", "--bogus"}, "unknown option --bogus"},
        {cli::RunSend, {kDemoPath}, "--to is required"},
        {cli::RunSend, {"--to", "127.0.0.1"}, "no file given"},
        {cli::RunSend, {kDemoPath, "--to", "127.0.0.1:0"}, "--to takes"},
        {cli::RunSend, {kDemoPath, "--to", ":5000"}, "--to takes"},
        {cli::RunTerminal, {}, "give one of --connect"},
        {cli::RunTerminal, {"--connect", "127.0.0.1", "--listen", "0"}, "give one of --connect"},
        {cli::RunTerminal, {"--listen", "0", "--resolution", "480"}, "--resolution takes"},
        {cli::RunTerminal, {"--listen", "0", "--exit-after", "-1"}, "--exit-after takes"},
        {cli::RunTerminal, {"--listen", "port"}, "--listen takes"},
    };
    for (const Case& each : cases) {
        const RunResult result = RunCommand(each.command, each.args);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_NE(result.err.find(each.message), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("usage: veskres "), std::string::npos);
        EXPECT_TRUE(result.out.empty());
    }
}

TEST(LinkToolArguments, BadInputsFail)
{
    TempDir dir;
    RunResult result = RunCommand(cli::RunServe, {"--project-folder", dir / "absent"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("is not a folder"), std::string::npos);
    result = RunCommand(cli::RunServe, {"--project-folder", dir.Path(), "--send", kDemoPath, "--dialog", "NoSuch"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("has no dialog named NoSuch"), std::string::npos);
    result = RunCommand(cli::RunSend, {dir / "absent.veskspro", "--to", "127.0.0.1"});
    EXPECT_EQ(result.status, 1);
}

class LinkToolsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(dir / "project/resources/a.txt", "resource bytes");
        WriteFile(dir / "project/index.html", "<p>index</p>");
        WriteFile(dir / "outside.txt", "outside");
    }
    TempDir dir;
};

TEST_F(LinkToolsTest, ServeAnswersTheTerminalTool)
{
    const unsigned httpPort = UnusedPort();
    Tool serve({"serve", "--project-folder", dir / "project", "--port", "0", "--http-port", std::to_string(httpPort),
                "--keepalive", "1", "--send", kDemoPath, "--dialog", "Main"});
    const unsigned port = serve.ListeningPort();
    ASSERT_NE(port, 0u) << serve.out << serve.err;
    ASSERT_TRUE(serve.WaitFor("PORT:" + std::to_string(httpPort) + " [TCP]"));

    Tool terminal({"terminal", "--connect", "127.0.0.1:" + std::to_string(port), "--get", "a.txt", "--get",
                   "../outside.txt", "--cache-dir", dir / "cache", "--render-dir", dir / "render", "--exit-after", "3",
                   "--os", "TestOS", "--resolution", "320x480"});
    EXPECT_EQ(terminal.Finish(), 1) << "an ERROR answer fails the run\n" << terminal.out << terminal.err;
    EXPECT_EQ(ReadFile(dir / "cache/a.txt"), "resource bytes");
    EXPECT_FALSE(std::filesystem::exists(dir / "cache/outside.txt"));
    const std::string frame = ReadFile(dir / "render/Main.json");
    EXPECT_TRUE(frame.starts_with("{'Name':'DemoTerminal'")) << frame.substr(0, 100);
    EXPECT_NE(frame.find("'Command':'DIALOG','Name':'Main'"), std::string::npos);
    EXPECT_TRUE(ReadFile(dir / "render/Main.png").starts_with("\x89PNG\r\n\x1a\n"));
    EXPECT_NE(terminal.out.find(">{'Command':'HELLO','OS':'TestOS','ResolutionH':320,'ResolutionV':480}"),
              std::string::npos)
        << terminal.out;
    EXPECT_NE(terminal.out.find("<{'Command':'PUTFILE','File':'../outside.txt','Status':'ERROR'}"), std::string::npos);
    EXPECT_NE(terminal.out.find(">{'Command':'KEEPALIVE'}"), std::string::npos);

    ASSERT_TRUE(serve.WaitFor("受信：HELLO OS:TestOS Resolution 320 x 480"));
    ASSERT_TRUE(serve.WaitFor("受信：GETFILE File:a.txt"));
    ASSERT_TRUE(serve.WaitFor("受信：KEEPALIVE"));
    EXPECT_NE(serve.out.find(">送信 "), std::string::npos);
    EXPECT_NE(serve.out.find("'Command':'PUTFILE','File':'../outside.txt','Status':'ERROR'"), std::string::npos);
    // Lines read as the log shows them: time, marker, text.
    const size_t hello = serve.out.find("受信：HELLO");
    ASSERT_NE(hello, std::string::npos);
    const std::string line = serve.out.substr(serve.out.rfind('\n', hello) + 1, 9);
    EXPECT_EQ(line[2], ':');
    EXPECT_EQ(line[5], ':');
    EXPECT_EQ(line[8], '<');

    // The cached copy is current now.
    Tool again({"terminal", "--connect", "127.0.0.1:" + std::to_string(port), "--get", "a.txt", "--cache-dir",
                dir / "cache", "--exit-after", "1"});
    EXPECT_EQ(again.Finish(), 0) << again.out << again.err;
    EXPECT_NE(again.out.find("'Status':'LATEST'"), std::string::npos) << again.out;

    QProcess curl;
    curl.start(QStringLiteral("curl"),
               {QStringLiteral("-s"), QStringLiteral("--max-time"), QStringLiteral("20"),
                QString::fromStdString("http://127.0.0.1:" + std::to_string(httpPort) + "/index.html")});
    ASSERT_TRUE(curl.waitForFinished(30000));
    EXPECT_EQ(curl.readAllStandardOutput().toStdString(), "<p>index</p>");
    ASSERT_TRUE(serve.WaitFor("Http応答 (/index.html) 12Byte"));

    serve.Interrupt();
    EXPECT_EQ(serve.Finish(), 0);
}

TEST_F(LinkToolsTest, SilentTerminalIsReportedBySendingKeepAlives)
{
    Tool serve({"serve", "--project-folder", dir / "project/", "--port", "0", "--keepalive", "1"});
    const unsigned port = serve.ListeningPort();
    ASSERT_NE(port, 0u);
    Tool terminal(
        {"terminal", "--connect", "127.0.0.1:" + std::to_string(port), "--no-keepalive-answer", "--exit-after", "3"});
    EXPECT_TRUE(serve.WaitFor("KEEPALIVEの応答がありませんでした。"));
    EXPECT_EQ(terminal.Finish(), 0);
    EXPECT_EQ(terminal.out.find(">{'Command':'KEEPALIVE'}"), std::string::npos);
    serve.Interrupt();
    EXPECT_EQ(serve.Finish(), 0);
}

TEST_F(LinkToolsTest, SendDeliversTheDialogToAListeningTerminal)
{
    Tool terminal({"terminal", "--listen", "0", "--render-dir", dir / "render", "--exit-after", "20"});
    const unsigned port = terminal.ListeningPort();
    ASSERT_NE(port, 0u) << terminal.out << terminal.err;
    Tool send({"send", kDemoPath, "--dialog", "Main", "--to", "127.0.0.1:" + std::to_string(port)});
    EXPECT_EQ(send.Finish(), 0) << send.out << send.err;
    EXPECT_NE(send.out.find(">送信 "), std::string::npos) << send.out;
    EXPECT_NE(send.out.find("接続しました。"), std::string::npos);
    ASSERT_TRUE(terminal.WaitFor("Main.png"));
    EXPECT_TRUE(ReadFile(dir / "render/Main.png").starts_with("\x89PNG"));
    EXPECT_TRUE(ReadFile(dir / "render/Main.json").starts_with("{'Name':'DemoTerminal'"));
    terminal.Interrupt();
    EXPECT_EQ(terminal.Finish(), 0);
}

TEST_F(LinkToolsTest, SendToNobodyFailsWithTheLogLines)
{
    Tool send({"send", kDemoPath, "--to", "127.0.0.1:" + std::to_string(UnusedPort())});
    EXPECT_EQ(send.Finish(), 1);
    EXPECT_NE(send.out.find("接続を試みましたが、"), std::string::npos) << send.out;
}

/// A terminal that reads one frame from each editor that connects and closes its side at once.
class ClosingTerminal {
public:
    ClosingTerminal()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listener, 8) != 0 ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~ClosingTerminal()
    {
        ::shutdown(m_listener, SHUT_RDWR);
        ::close(m_listener);
        if (m_thread.joinable())
            m_thread.join();
    }
    unsigned Port() const { return m_port; }
    int FramesRead() const { return m_frames; }

private:
    void Serve()
    {
        for (;;) {
            const int connection = ::accept(m_listener, nullptr, nullptr);
            if (connection < 0)
                return;
            char buffer[4096];
            for (ssize_t n; (n = ::recv(connection, buffer, sizeof buffer, 0)) > 0;)
                if (std::string_view(buffer, static_cast<size_t>(n)).find('\x03') != std::string_view::npos) {
                    ++m_frames;
                    break;
                }
            ::close(connection);
        }
    }

    int m_listener = -1;
    unsigned m_port = 0;
    std::atomic<int> m_frames{0};
    std::thread m_thread;
};

TEST_F(LinkToolsTest, SendSucceedsWhenTheTerminalClosesRightAfterReading)
{
    ClosingTerminal terminal;
    ASSERT_NE(terminal.Port(), 0u);
    for (int run = 0; run < 8; ++run) {
        Tool send({"send", kDemoPath, "--dialog", "Main", "--to", "127.0.0.1:" + std::to_string(terminal.Port())});
        ASSERT_EQ(send.Finish(), 0) << "run " << run << "\n" << send.out << send.err;
        EXPECT_EQ(send.err, "") << "run " << run;
    }
    EXPECT_EQ(terminal.FramesRead(), 8);
}

TEST_F(LinkToolsTest, SendFailureSaysWhy)
{
    Tool send({"send", kDemoPath, "--to", "127.0.0.1:" + std::to_string(UnusedPort())});
    EXPECT_EQ(send.Finish(), 1);
    EXPECT_NE(send.err.find("veskres send: no connection to 127.0.0.1:"), std::string::npos) << send.err;
}

TEST_F(LinkToolsTest, ServeOnATakenPortFails)
{
    Tool first({"serve", "--project-folder", dir / "project", "--port", "0"});
    const unsigned port = first.ListeningPort();
    ASSERT_NE(port, 0u);
    Tool second({"serve", "--project-folder", dir / "project", "--port", std::to_string(port)});
    EXPECT_EQ(second.Finish(), 1);
    EXPECT_NE(second.out.find("!ソケットが作成できませんでした。"), std::string::npos) << second.out;
    EXPECT_NE(second.out.find("!エラー：Tcpサーバが開始出来ませんでした。"), std::string::npos);
    first.Interrupt();
    EXPECT_EQ(first.Finish(), 0);
}

} // namespace
} // namespace vesk
