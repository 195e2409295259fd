#include "link/netsocket.h"

#include <arpa/inet.h>

#include "link/commandprotocol.h"
#include "link/httpservice.h"
#include "link/linkcontroller.h"
#include "link/linklog.h"
#include "link/socketerrors.h"

namespace vesk {

CNetSocket::CNetSocket(int id, CLinkController* owner) : CSSocket(id), m_owner(owner)
{
    ProtocolPeer& peer = *this;
    if (id == kTerminalConnectionId)
        m_command = std::make_unique<CommandConnection>(peer);
    else if (id == kHttpConnectionId)
        m_http = std::make_unique<HttpConnection>(peer);
}

CNetSocket::~CNetSocket() = default;

int CNetSocket::ExecuteCommand(JsonParser& parser)
{
    return m_command ? m_command->ExecuteCommand(parser) : 0;
}

void CNetSocket::OutputLog(const std::string& message, int level)
{
    if (m_owner)
        m_owner->AddLog(message, level);
}

void CNetSocket::NotifyOwner(unsigned code, CSSocket*)
{
    if (!m_owner)
        return;
    if ((code & 0xFFFF) == SOCK_NOTIFY_CLOSED)
        m_owner->PostSocketClosed(this);
    else if ((code & 0xFFFF) == SOCK_NOTIFY_CONNECTED)
        m_owner->SocketConnected(this);
}

void CNetSocket::OnReceive(int error)
{
    CSSocket::OnReceive(error);
    const int room = static_cast<int>(sizeof m_receiveBuffer) - 1 - m_receiveCount;
    const int received = Receive(m_receiveBuffer + m_receiveCount, room);
    if (received < 0) {
        if (m_owner)
            m_owner->ShowMessage(ReceiveErrorText(GetLastError()));
        return;
    }
    m_receiveCount += received;
    m_receiveBuffer[m_receiveCount] = 0;
    const std::string_view bytes(m_receiveBuffer, static_cast<size_t>(m_receiveCount));
    if (m_command)
        m_command->Receive(bytes);
    else if (m_http)
        m_http->Receive(bytes);
    m_receiveCount = 0;
}

void CNetSocket::OnSend(int error)
{
    CSSocket::OnSend(error);
    if (error == 0 && m_owner)
        m_owner->SocketDrained(this);
}

void CNetSocket::OnAccept(int error)
{
    CSSocket::OnAccept(error);
    if (error != 0)
        return;
    auto connection = std::make_unique<CNetSocket>(Id() + 10000, m_owner);
    if (!Accept(*connection)) {
        const int code = GetLastError();
        if (code == WSAEWOULDBLOCK || code == WSAECONNABORTED)
            return;
        OutputLog(SystemErrorText(code), LOG_ERROR);
        // Out of descriptors or memory: the pending connection stays, so wait before trying again.
        PauseAccepting(100);
        return;
    }
    connection->SetReuseAddress();
    connection->SetLingerReset();
    std::string localAddress, peerAddress;
    unsigned localPort = 0, peerPort = 0;
    connection->GetSockName(localAddress, localPort);
    connection->GetPeerName(peerAddress, peerPort);
    const std::string ends =
        localAddress + ":" + std::to_string(localPort) + " " + peerAddress + ":" + std::to_string(peerPort) + " ";
    if (!m_owner)
        return;
    if (Id() == kCommandListenerId) {
        OutputLog(Sjis("接続要求許可 ") + ends + Sjis("通信ポート"), LOG_INFO);
        in_addr peer{};
        inet_pton(AF_INET, peerAddress.c_str(), &peer);
        m_owner->AdoptTerminal(std::move(connection), ntohl(peer.s_addr));
    } else if (Id() == kHttpListenerId) {
        OutputLog(Sjis("接続要求許可 ") + ends + Sjis("Httpポート"), LOG_INFO);
        m_owner->AdoptHttpConnection(std::move(connection));
    }
}

int CNetSocket::SendBytes(const char* data, int length)
{
    return Send(data, length);
}

bool CNetSocket::SendFileData(int fd, uint64_t length)
{
    return SendFile(fd, 0, length);
}

int CNetSocket::LastError() const
{
    return GetLastError();
}

void CNetSocket::Log(const std::string& message, int level)
{
    OutputLog(message, level);
}

std::string CNetSocket::ProjectFolder() const
{
    return m_owner ? m_owner->ProjectFolder() : std::string();
}

void CNetSocket::KeepAliveReply()
{
    if (m_owner)
        m_owner->PostKeepAliveReply(this);
}

void CNetSocket::EndAfterSending()
{
    CloseWhenSent();
}

} // namespace vesk
