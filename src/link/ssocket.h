#pragma once

#include <cstdint>
#include <string>

#include <QObject>

#include "link/sendqueue.h"

class QSocketNotifier;
class QTimer;

namespace vesk {

/// Low 16 bits of the owner notification codes; the socket id travels in the high 16 bits.
constexpr unsigned SOCK_NOTIFY_CLOSED = 10000;
constexpr unsigned SOCK_NOTIFY_CONNECTED = 10001;

/// The link's TCP socket: a non-blocking IPv4 socket whose events (accept, connect, readable data,
/// close) arrive on the thread of the Qt event loop as calls of its virtual notifications, with
/// errors as Windows Sockets codes. Every failure is logged through OutputLog in the system's
/// texts. Sends never block: what the socket cannot take at once is queued and finished when it
/// becomes writable. A socket never destroys itself; it reports a closed connection to its owner.
class CSSocket : public QObject {
public:
    explicit CSSocket(int id);
    ~CSSocket() override;

    /// The role code given at construction.
    int Id() const { return m_id; }

    /// Creates a TCP socket bound to the local port (0: any) and address (nullptr: any); address
    /// reuse is set before the bind when asked. False after logging the system's reason.
    bool CreateSocket(unsigned port, const char* address, bool reuseAddress = false);
    /// Creates, binds and listens; false after logging why.
    virtual bool StartListen(unsigned port, const char* bindAddress);
    /// Starts a connection to host:hostPort (dotted IPv4 or a name) from localPort/localAddress.
    /// True when connected or in progress (the outcome arrives through OnConnect); false after
    /// logging the connect table's text.
    virtual bool ConnectTo(unsigned hostPort, const std::string& host, unsigned localPort, const char* localAddress);
    /// Hands the bytes to the connection: what the socket cannot take now is queued and sent when
    /// it becomes writable, in order. Answers length, or -1 after logging the send table's text.
    virtual int Send(const void* buffer, int length, int flags = 0);
    /// Shuts the connection down both ways, logs the outcome and reports SOCK_NOTIFY_CLOSED.
    virtual void ShutDownSocket(const std::string& reason);

    /// Queues length bytes of an open file (from offset) after what is already queued; takes the
    /// descriptor. False (the descriptor closed) when the socket is not connected.
    bool SendFile(int fd, uint64_t offset, uint64_t length);
    /// Bytes queued and not yet handed to the system.
    uint64_t PendingBytes() const { return m_queue.PendingBytes(); }
    /// Ends the connection gracefully once everything queued has gone: the sending side is closed,
    /// received bytes are still delivered, and the close is reported when the peer closes too, or
    /// after graceMs.
    void CloseWhenSent(int graceMs = 10000);

    /// Reads up to length bytes; answers the count (0 at the end of the stream) or -1 with
    /// GetLastError set.
    int Receive(void* buffer, int length);
    /// Accepts a pending connection into an unused socket; false with GetLastError set.
    bool Accept(CSSocket& connection);
    bool SetReuseAddress();
    /// SO_LINGER on with a time-out of 0: closing resets the connection at once.
    bool SetLingerReset();
    /// The dotted address and port of this end / of the peer; false when not available.
    bool GetSockName(std::string& address, unsigned& port) const;
    bool GetPeerName(std::string& address, unsigned& port) const;
    /// The Windows Sockets code of the last failed operation.
    int GetLastError() const { return m_lastError; }
    /// Closes the socket without any notification.
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    bool IsListening() const { return m_state == State::Listening; }
    bool IsConnected() const { return m_state == State::Connected; }

protected:
    /// The logging hook: does nothing here.
    virtual void OutputLog(const std::string& message, int level);
    /// The owner hook: does nothing here.
    virtual void NotifyOwner(unsigned code, CSSocket* socket);

    virtual void OnReceive(int error);
    virtual void OnSend(int error);
    virtual void OnAccept(int error);
    virtual void OnConnect(int error);
    virtual void OnClose(int error);

    /// Stops accept notifications for that long (a listener out of descriptors would spin otherwise).
    void PauseAccepting(int milliseconds);

private:
    enum class State { None, Created, Listening, Connecting, Connected };

    void Attach(int fd, State state);
    void SetupNotifiers();
    void ReadyRead();
    void ReadyWrite();
    void FinishConnect();
    void FlushQueue();
    void ReportClose(int error);
    void HalfClose();
    void UpdateNotifiers();
    void LogSendFailure(int code);
    void LogEventError(int error);

    int m_id;
    int m_fd = -1;
    State m_state = State::None;
    int m_lastError = 0;
    SendQueue m_queue;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
    QTimer* m_graceTimer = nullptr;
    bool m_closeReported = false; ///< the close was reported; no further notifications
    bool m_readPaused = false;    ///< reading waits while much is queued for the peer
    bool m_peerEnded = false;     ///< the peer closed while data was still queued
    bool m_closeWhenSent = false;
    bool m_halfClosed = false;
    bool m_acceptPaused = false;
    int m_graceMs = 0;
};

} // namespace vesk
