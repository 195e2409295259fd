#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QObject>

class QTimer;

namespace vesk {

class CNetSocket;
class CTekResourceData;
class LinkLog;

/// Which of the link's buttons are enabled.
struct LinkButtons {
    bool startListening = true; ///< "待受"
    bool stopListening = false; ///< "停止"
    bool connect = true;        ///< "接続"
    bool disconnect = false;    ///< "切断"
    bool send = false;          ///< "送信"
};

/// Link states shown by the status icon.
constexpr int kLinkStateRed = 0;    ///< no terminal answer, or no terminal connection at all
constexpr int kLinkStateGreen = 1;  ///< the last keep-alive was answered
constexpr int kLinkStateYellow = 2; ///< a keep-alive answer just arrived

/// The control of the terminal link without its widgets: it owns every link socket (listeners,
/// the terminal connection, HTTP connections), starts and stops listening, connects and
/// disconnects, sends the current dialog, runs the keep-alive and keeps the link state. Socket
/// notifications arrive as calls from the sockets; a closed socket is destroyed from the event
/// loop after its notification has returned, and only the socket that reported the close is.
class CLinkController : public QObject {
public:
    /// A controller logging to log, with a keep-alive tick every keepAliveMs (none when 0).
    explicit CLinkController(LinkLog& log, int keepAliveMs = 60000);
    ~CLinkController() override;
    CLinkController(const CLinkController&) = delete;
    CLinkController& operator=(const CLinkController&) = delete;

    /// Sets the keep-alive period (0 stops the ticks).
    void SetKeepAliveInterval(int milliseconds);

    /// The port to listen on and to connect to (5000 unless set).
    int ListenPort() const { return m_listenPort; }
    void SetListenPort(int port) { m_listenPort = port; }
    /// The terminal's IPv4 address in host byte order; 0 for none (listen on every address).
    uint32_t IpAddress() const { return m_ipAddress; }
    void SetIpAddress(uint32_t address) { m_ipAddress = address; }
    /// The address as "%d.%d.%d.%d", most significant byte first.
    std::string IpAddressText() const;
    /// The HTTP port opened beside the command listener; 0 (the default) opens none.
    int HttpPort() const { return m_httpPort; }
    void SetHttpPort(int port) { m_httpPort = port; }
    /// The project folder whose "resources" the terminal gets and whose files HTTP serves.
    const std::string& ProjectFolder() const { return m_projectFolder; }
    void SetProjectFolder(std::string folder) { m_projectFolder = std::move(folder); }

    /// Replaces the listeners by a command listener on the listening port (and an HTTP listener
    /// when an HTTP port is set). False, with the message box text shown and no listener left,
    /// when the command listener cannot start; a failed HTTP listener is only logged.
    bool StartListening();
    /// Closes the listeners; a connected terminal stays connected.
    void StopListening();
    /// Connects to the IP address at the listening port. True when connected or in progress;
    /// false when the connection failed at once or a terminal connection already exists.
    bool Connect();
    /// Connects to a host given by dotted address or name, as Connect does.
    bool ConnectToHost(const std::string& host, int port);
    /// Shuts the terminal connection down; it is destroyed when its close notice arrives.
    void Disconnect();
    /// Sends the project's resource record for the named dialog as one frame to the terminal and
    /// logs it. False when there is no terminal connection or no dialog name, or when the socket
    /// refused the frame (it logged why).
    bool SendDialog(const CTekResourceData& project, std::string_view dialogName);
    /// The keep-alive tick: with a terminal connection, shows whether the last keep-alive was
    /// answered, sends a new one and marks it outstanding.
    void KeepAliveTick();

    /// The state the status icon shows: red without a terminal connection, else the keep-alive's.
    int LinkState() const { return m_linkState; }
    bool KeepAliveOutstanding() const { return m_keepAliveOutstanding; }
    LinkButtons Buttons() const;
    CNetSocket* TerminalConnection() const { return m_terminal.get(); }
    CNetSocket* CommandListener() const { return m_commandListener.get(); }
    CNetSocket* HttpListener() const { return m_httpListener.get(); }
    size_t HttpConnectionCount() const { return m_httpConnections.size(); }
    /// Terminal connections that were replaced or disconnected and wait for their close notice.
    size_t RetiredConnectionCount() const { return m_retired.size(); }
    /// The port the command / HTTP listener is bound to; 0 without that listener.
    unsigned CommandListenerPort() const;
    unsigned HttpListenerPort() const;

    /// Called when the link state changes (0 red, 1 green, 2 yellow).
    std::function<void(int state)> onLinkStateChanged;
    /// Called when the enabled buttons may have changed.
    std::function<void()> onButtonsChanged;
    /// Called when a terminal connection is established (accepted, or an outgoing connect).
    std::function<void()> onTerminalConnected;
    /// Called after a closed socket of that id was destroyed.
    std::function<void(int socketId)> onSocketClosed;
    /// Called when everything queued for the terminal connection has been handed to the system.
    std::function<void()> onTerminalDrained;

    // Calls from the link's sockets.
    void AddLog(const std::string& message, int level);
    void ShowMessage(const std::string& text);
    /// ID_SOCKET_CONNECTED, handled at once.
    void SocketConnected(CNetSocket* socket);
    /// The socket's queue has gone out, handled at once.
    void SocketDrained(CNetSocket* socket);
    /// ID_SOCKET_CLOSED, handled from the event loop after the caller has returned.
    void PostSocketClosed(CNetSocket* socket);
    /// ID_KEEPALIVE_REPLY from that socket, handled from the event loop; it counts only while
    /// the socket is still the terminal connection.
    void PostKeepAliveReply(CNetSocket* socket);
    /// An accepted terminal becomes the terminal connection; an earlier one is shut down.
    void AdoptTerminal(std::unique_ptr<CNetSocket> connection, uint32_t peerAddress);
    void AdoptHttpConnection(std::unique_ptr<CNetSocket> connection);

private:
    void SocketClosed(CNetSocket* socket, int id);
    void SetLinkState(int state);
    /// The terminal connection ended or was replaced: the link is red, and the next connection
    /// starts without a keep-alive outstanding.
    void TerminalGone();
    void ButtonsChanged();

    LinkLog& m_log;
    QTimer* m_keepAliveTimer = nullptr;
    int m_listenPort = 5000;
    uint32_t m_ipAddress = 0;
    int m_httpPort = 0;
    std::string m_projectFolder;
    bool m_keepAliveOutstanding = false;
    int m_linkState = kLinkStateRed;
    std::unique_ptr<CNetSocket> m_terminal;
    std::unique_ptr<CNetSocket> m_commandListener;
    std::unique_ptr<CNetSocket> m_httpListener;
    std::vector<std::unique_ptr<CNetSocket>> m_httpConnections;
    std::vector<std::unique_ptr<CNetSocket>> m_retired;
};

} // namespace vesk
