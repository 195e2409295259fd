#pragma once

#include <memory>
#include <string>

#include "link/protocolpeer.h"
#include "link/ssocket.h"

namespace vesk {

class CLinkController;
class CommandConnection;
class HttpConnection;
class JsonParser;

/// Socket ids of the link.
constexpr int kCommandListenerId = 1;
constexpr int kHttpListenerId = 80;
constexpr int kTerminalConnectionId = 10001;
constexpr int kHttpConnectionId = 10080;

/// Command codes with which the link's sockets notify their owner.
constexpr int ID_SOCKET_CONNECTED = 32854;
constexpr int ID_SOCKET_CLOSED = 32855;
constexpr int ID_KEEPALIVE_REPLY = 32856;

/// The socket of the terminal link. Its id decides its role: listeners (1 commands, 80 HTTP)
/// accept connections into sockets of id + 10000 and hand them to the owner; a terminal
/// connection (10001) runs the command protocol, an HTTP connection (10080) the file service.
/// Log lines go to the owner's link log; closes and connects are reported to the owner.
class CNetSocket : public CSSocket, private ProtocolPeer {
public:
    /// A socket of that id owned by the controller (which may be null: then logs and reports are
    /// dropped and accepted connections closed).
    CNetSocket(int id, CLinkController* owner);
    ~CNetSocket() override;

    /// Handles the command under the parser's cursor as a received command; 1 when recognised,
    /// 0 otherwise (always 0 on a socket that is not a terminal connection).
    int ExecuteCommand(JsonParser& parser);

protected:
    void OutputLog(const std::string& message, int level) override;
    void NotifyOwner(unsigned code, CSSocket* socket) override;
    void OnReceive(int error) override;
    void OnSend(int error) override;
    void OnAccept(int error) override;

private:
    int SendBytes(const char* data, int length) override;
    bool SendFileData(int fd, uint64_t length) override;
    int LastError() const override;
    void Log(const std::string& message, int level) override;
    std::string ProjectFolder() const override;
    void KeepAliveReply() override;
    void EndAfterSending() override;

    CLinkController* m_owner;
    char m_receiveBuffer[1024] = {};
    int m_receiveCount = 0;
    std::unique_ptr<CommandConnection> m_command;
    std::unique_ptr<HttpConnection> m_http;
};

} // namespace vesk
