#include "link/linkcontroller.h"

#include <algorithm>

#include <QPointer>
#include <QTimer>

#include "link/commandprotocol.h"
#include "link/linklog.h"
#include "link/netsocket.h"
#include "link/socketerrors.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"

namespace vesk {

namespace {

/// Removes the socket from the list, destroying it; false when the list does not hold it.
bool DestroyFrom(std::vector<std::unique_ptr<CNetSocket>>& list, CNetSocket* socket)
{
    auto found = std::find_if(list.begin(), list.end(), [socket](const auto& held) { return held.get() == socket; });
    if (found == list.end())
        return false;
    list.erase(found);
    return true;
}

bool DestroySlot(std::unique_ptr<CNetSocket>& slot, CNetSocket* socket)
{
    if (!slot || slot.get() != socket)
        return false;
    slot.reset();
    return true;
}

/// Sends STX, the text and ETX; false when the socket refused any of them (it logged why).
bool SendFrame(CNetSocket& socket, const std::string& text)
{
    const int length = static_cast<int>(text.size());
    const bool start = socket.Send(&STX, 1) == 1;
    const bool body = length == 0 || socket.Send(text.data(), length) == length;
    const bool end = socket.Send(&ETX, 1) == 1;
    return start && body && end;
}

} // namespace

CLinkController::CLinkController(LinkLog& log, int keepAliveMs) : m_log(log)
{
    m_keepAliveTimer = new QTimer(this);
    connect(m_keepAliveTimer, &QTimer::timeout, this, [this] { KeepAliveTick(); });
    SetKeepAliveInterval(keepAliveMs);
}

void CLinkController::SetKeepAliveInterval(int milliseconds)
{
    m_keepAliveTimer->stop();
    if (milliseconds > 0) {
        m_keepAliveTimer->setInterval(milliseconds);
        m_keepAliveTimer->start();
    }
}

CLinkController::~CLinkController()
{
    m_terminal.reset();
    m_httpConnections.clear();
    m_retired.clear();
    m_httpListener.reset();
    m_commandListener.reset();
}

std::string CLinkController::IpAddressText() const
{
    return std::to_string((m_ipAddress >> 24) & 0xFF) + "." + std::to_string((m_ipAddress >> 16) & 0xFF) + "." +
           std::to_string((m_ipAddress >> 8) & 0xFF) + "." + std::to_string(m_ipAddress & 0xFF);
}

LinkButtons CLinkController::Buttons() const
{
    LinkButtons buttons;
    buttons.startListening = !m_commandListener;
    buttons.stopListening = m_commandListener != nullptr;
    buttons.connect = !m_terminal;
    buttons.disconnect = m_terminal != nullptr;
    buttons.send = m_terminal != nullptr;
    return buttons;
}

unsigned CLinkController::CommandListenerPort() const
{
    std::string address;
    unsigned port = 0;
    return m_commandListener && m_commandListener->GetSockName(address, port) ? port : 0;
}

unsigned CLinkController::HttpListenerPort() const
{
    std::string address;
    unsigned port = 0;
    return m_httpListener && m_httpListener->GetSockName(address, port) ? port : 0;
}

bool CLinkController::StartListening()
{
    m_httpListener.reset();
    m_commandListener.reset();
    const std::string address = IpAddressText();
    const char* bindAddress = m_ipAddress != 0 ? address.c_str() : nullptr;
    auto listener = std::make_unique<CNetSocket>(kCommandListenerId, this);
    if (m_listenPort < 0 || !listener->StartListen(static_cast<unsigned>(m_listenPort), bindAddress)) {
        listener.reset();
        ShowMessage(Sjis("エラー：Tcpサーバが開始出来ませんでした。"));
        ButtonsChanged();
        return false;
    }
    m_commandListener = std::move(listener);
    if (m_httpPort > 0) {
        auto http = std::make_unique<CNetSocket>(kHttpListenerId, this);
        if (http->StartListen(static_cast<unsigned>(m_httpPort), bindAddress))
            m_httpListener = std::move(http);
    }
    ButtonsChanged();
    return true;
}

void CLinkController::StopListening()
{
    if (!m_commandListener)
        return;
    m_commandListener->Close();
    m_httpListener.reset();
    m_commandListener.reset();
    ButtonsChanged();
}

bool CLinkController::Connect()
{
    return ConnectToHost(IpAddressText(), m_listenPort);
}

bool CLinkController::ConnectToHost(const std::string& host, int port)
{
    if (m_terminal)
        return false;
    auto connection = std::make_unique<CNetSocket>(kTerminalConnectionId, this);
    if (port <= 0 || !connection->ConnectTo(static_cast<unsigned>(port), host, 0, "0.0.0.0"))
        return false;
    m_terminal = std::move(connection);
    ButtonsChanged();
    return true;
}

void CLinkController::Disconnect()
{
    if (!m_terminal)
        return;
    CNetSocket* connection = m_terminal.get();
    m_retired.push_back(std::move(m_terminal));
    TerminalGone();
    connection->ShutDownSocket(Sjis("切断ボタン押下"));
    ButtonsChanged();
}

bool CLinkController::SendDialog(const CTekResourceData& project, std::string_view dialogName)
{
    if (!m_terminal || dialogName.empty())
        return false;
    CJsonString text;
    WriteResource(project, text, dialogName);
    const bool sent = SendFrame(*m_terminal, text.Text());
    AddLog(Sjis("送信 ") + std::to_string(text.Text().size()) + "Byte\n" + text.Text(), LOG_SENT);
    return sent;
}

void CLinkController::KeepAliveTick()
{
    if (!m_terminal)
        return;
    if (m_keepAliveOutstanding) {
        SetLinkState(kLinkStateRed);
        AddLog(Sjis("KEEPALIVEの応答がありませんでした。"), LOG_ERROR);
    } else {
        SetLinkState(kLinkStateGreen);
    }
    SendFrame(*m_terminal, KeepAliveRecord());
    m_keepAliveOutstanding = true;
}

void CLinkController::AddLog(const std::string& message, int level)
{
    m_log.AddLog(message, level);
}

void CLinkController::ShowMessage(const std::string& text)
{
    m_log.ShowMessage(text);
}

void CLinkController::SocketConnected(CNetSocket* socket)
{
    if (socket == m_terminal.get() && onTerminalConnected)
        onTerminalConnected();
}

void CLinkController::SocketDrained(CNetSocket* socket)
{
    if (socket == m_terminal.get() && onTerminalDrained)
        onTerminalDrained();
}

void CLinkController::PostSocketClosed(CNetSocket* socket)
{
    QPointer<CNetSocket> reporter(socket);
    const int id = socket->Id();
    QMetaObject::invokeMethod(
        this,
        [this, reporter, id] {
            if (reporter)
                SocketClosed(reporter.data(), id);
        },
        Qt::QueuedConnection);
}

void CLinkController::PostKeepAliveReply(CNetSocket* socket)
{
    QPointer<CNetSocket> reporter(socket);
    QMetaObject::invokeMethod(
        this,
        [this, reporter] {
            // A connection that was disconnected or replaced meanwhile speaks for no link.
            if (!reporter || reporter.data() != m_terminal.get())
                return;
            SetLinkState(kLinkStateYellow);
            m_keepAliveOutstanding = false;
        },
        Qt::QueuedConnection);
}

void CLinkController::SocketClosed(CNetSocket* socket, int id)
{
    bool destroyed = false;
    switch (id) {
    case kTerminalConnectionId:
        if (DestroySlot(m_terminal, socket)) {
            destroyed = true;
            TerminalGone();
            ButtonsChanged();
        } else {
            destroyed = DestroyFrom(m_retired, socket);
        }
        break;
    case kHttpConnectionId:
        destroyed = DestroyFrom(m_httpConnections, socket);
        break;
    case kCommandListenerId:
        destroyed = DestroySlot(m_commandListener, socket);
        if (destroyed)
            ButtonsChanged();
        break;
    case kHttpListenerId:
        destroyed = DestroySlot(m_httpListener, socket);
        break;
    default:
        break;
    }
    if (destroyed && onSocketClosed)
        onSocketClosed(id);
}

void CLinkController::AdoptTerminal(std::unique_ptr<CNetSocket> connection, uint32_t peerAddress)
{
    if (m_terminal) {
        CNetSocket* earlier = m_terminal.get();
        m_retired.push_back(std::move(m_terminal));
        TerminalGone();
        earlier->ShutDownSocket(Sjis("新しい端末の接続"));
    }
    m_terminal = std::move(connection);
    m_ipAddress = peerAddress;
    ButtonsChanged();
    if (onTerminalConnected)
        onTerminalConnected();
}

void CLinkController::AdoptHttpConnection(std::unique_ptr<CNetSocket> connection)
{
    m_httpConnections.push_back(std::move(connection));
}

void CLinkController::SetLinkState(int state)
{
    if (state == m_linkState)
        return;
    m_linkState = state;
    if (onLinkStateChanged)
        onLinkStateChanged(state);
}

void CLinkController::TerminalGone()
{
    m_keepAliveOutstanding = false;
    SetLinkState(kLinkStateRed);
}

void CLinkController::ButtonsChanged()
{
    if (onButtonsChanged)
        onButtonsChanged();
}

} // namespace vesk
