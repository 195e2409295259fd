// The "接続" page end to end over loopback: the editor and a simulated terminal with real
// sockets, the buttons through every state, sending, keep-alives, live push.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPlainTextEdit>

#include "editor/linkpage.h"
#include "editor/livepush.h"
#include "../link/linktestsupport.h"
#include "editorfixture.h"
#include "link/linkcontroller.h"
#include "link/terminalsimulator.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "model/savefile.h"
#include "shell/logdlg.h"

namespace vesk {
namespace {

using test::EditorTest;
using test::RunUntil;

class QuietLog : public LinkLog {
public:
    void AddLog(const std::string& message, int) override { lines.push_back(message); }
    void ShowMessage(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

struct Frame {
    std::string text;
    std::string dialog;
};

class LinkPageTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        OpenDemo();
    }
    void TearDown() override
    {
        terminal.reset();
        EditorTest::TearDown();
    }

    CLinkPage& Page() const { return Panel().LinkPage(); }
    CLinkController& Link() const { return Panel().Link(); }

    struct Buttons {
        bool listen, stop, connect, disconnect, send;
        bool operator==(const Buttons&) const = default;
    };
    Buttons Shown() const
    {
        return {Page().ListenButton().isEnabled(), Page().StopButton().isEnabled(), Page().ConnectButton().isEnabled(),
                Page().DisconnectButton().isEnabled(), Page().SendButton().isEnabled()};
    }

    /// The editor listens on a free port and the terminal connects to it.
    void ListenAndAttach(TerminalOptions options = {})
    {
        Panel().ShowPanelPage(kPageLink);
        Page().PortField().setText(QString::number(linktest::UnusedPort()));
        QTest::mouseClick(&Page().ListenButton(), Qt::LeftButton);
        const unsigned port = Link().CommandListenerPort();
        ASSERT_NE(port, 0u);
        MakeTerminal(std::move(options));
        ASSERT_TRUE(terminal->Connect("127.0.0.1", port));
        ASSERT_TRUE(RunUntil([&] { return Link().TerminalConnection() && terminal->IsConnected(); }));
    }
    void MakeTerminal(TerminalOptions options)
    {
        terminal = std::make_unique<CTerminalSimulator>(terminalLog, std::move(options));
        terminal->onDialog = [this](const std::string& text, const std::string& dialog, const std::string&) {
            frames.push_back({text, dialog});
        };
        terminal->onClosed = [this] { ++terminalClosed; };
    }
    std::string ExpectedFrame(const std::string& dialogName) const
    {
        CJsonString text;
        WriteResource(Resource(), text, dialogName);
        return text.Text();
    }
    QString LogText() const { return frame->SidePanelDialog().LogView().toPlainText(); }

    QuietLog terminalLog;
    std::unique_ptr<CTerminalSimulator> terminal;
    std::vector<Frame> frames;
    int terminalClosed = 0;
};

TEST_F(LinkPageTest, ControlsCarryTheirTextsAndStartIdle)
{
    EXPECT_EQ(Page().ListenButton().text(), QStringLiteral("待受"));
    EXPECT_EQ(Page().StopButton().text(), QStringLiteral("停止"));
    EXPECT_EQ(Page().ConnectButton().text(), QStringLiteral("接続"));
    EXPECT_EQ(Page().DisconnectButton().text(), QStringLiteral("切断"));
    EXPECT_EQ(Page().SendButton().text(), QStringLiteral("送信"));
    EXPECT_EQ(Page().PortField().accessibleName(), QStringLiteral("待受ポート"));
    EXPECT_EQ(Page().AddressField().accessibleName(), QStringLiteral("IPアドレス"));
    EXPECT_EQ(Page().PortField().text(), QStringLiteral("5000"));
    EXPECT_EQ(Shown(), (Buttons{true, false, true, false, false}));
    EXPECT_FALSE(frame->Action("actionSend")->isEnabled());
    EXPECT_EQ(frame->CurrentLinkState(), kLinkStateRed);
}

TEST_F(LinkPageTest, ListenAcceptSendAndDisconnect)
{
    ListenAndAttach();
    EXPECT_EQ(Shown(), (Buttons{false, true, false, true, true}));
    EXPECT_EQ(Page().AddressField().text(), QStringLiteral("127.0.0.1")) << "the terminal's address is shown";
    EXPECT_TRUE(frame->Action("actionSend")->isEnabled());
    EXPECT_TRUE(LogText().contains(QStringLiteral("待ち受け開始しました。")));

    QTest::mouseClick(&Page().SendButton(), Qt::LeftButton);
    ASSERT_TRUE(RunUntil([&] { return frames.size() == 1; }));
    EXPECT_EQ(frames[0].text, ExpectedFrame("Main"));
    EXPECT_TRUE(LogText().contains(QStringLiteral(">送信 %1Byte").arg(ExpectedFrame("Main").size())));

    // The menu sends the same frame.
    frame->Action("actionSend")->trigger();
    ASSERT_TRUE(RunUntil([&] { return frames.size() == 2; }));

    QTest::mouseClick(&Page().DisconnectButton(), Qt::LeftButton);
    EXPECT_EQ(Shown(), (Buttons{false, true, true, false, false}));
    ASSERT_TRUE(RunUntil([&] { return terminalClosed > 0 && Link().RetiredConnectionCount() == 0; }));
    EXPECT_TRUE(LogText().contains(QStringLiteral("切断ボタン押下")));

    QTest::mouseClick(&Page().StopButton(), Qt::LeftButton);
    EXPECT_EQ(Shown(), (Buttons{true, false, true, false, false}));
}

TEST_F(LinkPageTest, StopListeningKeepsTheTerminalAndAPeerCloseEndsIt)
{
    ListenAndAttach();
    QTest::mouseClick(&Page().StopButton(), Qt::LeftButton);
    EXPECT_EQ(Shown(), (Buttons{true, false, false, true, true}));
    terminal.reset();
    ASSERT_TRUE(RunUntil([&] { return Link().TerminalConnection() == nullptr; }));
    EXPECT_EQ(Shown(), (Buttons{true, false, true, false, false}));
    EXPECT_FALSE(frame->Action("actionSend")->isEnabled());
}

TEST_F(LinkPageTest, KeepAliveAnsweredTurnsYellowAndUnansweredTurnsRed)
{
    Link().SetKeepAliveInterval(150);
    ListenAndAttach();
    ASSERT_TRUE(RunUntil([&] { return frame->CurrentLinkState() == kLinkStateYellow; }));
    terminal.reset();
    ASSERT_TRUE(RunUntil([&] { return Link().TerminalConnection() == nullptr; }));

    TerminalOptions silent;
    silent.answerKeepAlive = false;
    Page().AddressField().clear();
    QTest::mouseClick(&Page().StopButton(), Qt::LeftButton);
    ListenAndAttach(silent);
    ASSERT_TRUE(RunUntil([&] { return frame->CurrentLinkState() == kLinkStateRed; }));
    ASSERT_TRUE(RunUntil([&] { return LogText().contains(QStringLiteral("KEEPALIVEの応答がありませんでした。")); }));
    EXPECT_NE(Link().TerminalConnection(), nullptr) << "an unanswered keep-alive does not close the connection";
}

TEST_F(LinkPageTest, ARefusedConnectSwitchesBackWhenTheRefusalArrives)
{
    Panel().ShowPanelPage(kPageLink);
    Page().PortField().setText(QString::number(linktest::UnusedPort()));
    Page().AddressField().setText(QStringLiteral("127.0.0.1"));
    QTest::mouseClick(&Page().ConnectButton(), Qt::LeftButton);
    ASSERT_TRUE(RunUntil([&] { return Link().TerminalConnection() == nullptr && Page().ConnectButton().isEnabled(); }));
    EXPECT_EQ(Shown(), (Buttons{true, false, true, false, false}));
    EXPECT_TRUE(LogText().contains(QStringLiteral("!"))) << LogText().toStdString();
}

TEST_F(LinkPageTest, ATakenPortIsReportedAndNoListenerIsLeft)
{
    const int holder = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(holder, 1), 0);
    socklen_t length = sizeof address;
    ::getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length);
    Page().PortField().setText(QString::number(ntohs(address.sin_port)));
    QTest::mouseClick(&Page().ListenButton(), Qt::LeftButton);
    ::close(holder);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("エラー：Tcpサーバが開始出来ませんでした。"));
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(Link().CommandListener(), nullptr);
    EXPECT_EQ(Shown(), (Buttons{true, false, true, false, false}));
}

TEST_F(LinkPageTest, APortThatIsNotAnIntegerKeepsThePreviousOne)
{
    Page().PortField().setText(QStringLiteral("50x0"));
    Page().TakeControlValues();
    EXPECT_EQ(prompts.TakeOnlyMessage(), QStringLiteral("Please enter an integer."));
    EXPECT_EQ(Link().ListenPort(), 5000);
    Page().PortField().setText(QStringLiteral("6100"));
    Page().TakeControlValues();
    EXPECT_EQ(Link().ListenPort(), 6100);
    ASSERT_TRUE(frame->close());
    std::string settings;
    ASSERT_TRUE(ReadWholeFile(paths.settingsFile, settings));
    EXPECT_NE(settings.find("ListenPort=6100"), std::string::npos);
}

TEST_F(LinkPageTest, APortOutsideOneTo65535IsRefusedAndTheFieldShowsThePreviousOne)
{
    for (const char* typed : {"6100", "99999", "0", "-1", "65536"}) {
        Page().PortField().setText(QString::fromLatin1(typed));
        Page().TakeControlValues();
    }
    EXPECT_EQ(prompts.TakeMessages(),
              std::vector<QString>(4, QStringLiteral("Please enter an integer between 1 and 65535.")));
    EXPECT_EQ(Link().ListenPort(), 6100);
    EXPECT_EQ(Page().PortField().text(), QStringLiteral("6100"));
    for (int port : {1, 65535}) {
        Page().PortField().setText(QString::number(port));
        Page().TakeControlValues();
        EXPECT_EQ(Link().ListenPort(), port);
    }
    EXPECT_TRUE(prompts.TakeMessages().empty());
}

TEST_F(LinkPageTest, LivePushDeliversTheFinalStateAfterABurstOfEdits)
{
    ListenAndAttach();
    Page().LivePushBox().setChecked(true);
    ClickNode(Node(0, "title"));
    const size_t afterSelect = frames.size();
    CObjectData* title = Node(0, "title");
    int row = 0;
    while (title->Items().At(row).Name() != "Text")
        ++row;
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(Panel().Grid().Commit(row, QStringLiteral("edit %1").arg(i)));
    const std::string expected = ExpectedFrame("Main");
    ASSERT_TRUE(RunUntil([&] { return !frames.empty() && frames.back().text == expected; }));
    test::ProcessEvents(700);
    EXPECT_EQ(frames.back().text, expected);
    EXPECT_LE(frames.size() - afterSelect, 5u) << "the burst is coalesced";

    Page().LivePushBox().setChecked(false);
    const size_t before = frames.size();
    ASSERT_TRUE(Panel().Grid().Commit(row, QStringLiteral("quiet")));
    test::ProcessEvents(500);
    EXPECT_EQ(frames.size(), before);
}

TEST(Ipv4Field, TextsAndAddresses)
{
    EXPECT_EQ(ParseIpv4(QString()), 0u);
    EXPECT_EQ(ParseIpv4(QStringLiteral("127.0.0.1")), 0x7F000001u);
    EXPECT_EQ(ParseIpv4(QStringLiteral("192.168.10.255")), 0xC0A80AFFu);
    EXPECT_EQ(ParseIpv4(QStringLiteral("256.0.0.1")), std::nullopt);
    EXPECT_EQ(ParseIpv4(QStringLiteral("1.2.3")), std::nullopt);
}

} // namespace
} // namespace vesk
