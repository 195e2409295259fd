#include "link/ssocket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include <QSocketNotifier>
#include <QTimer>

#include "link/linklog.h"
#include "link/socketerrors.h"

namespace vesk {

namespace {

/// At most this much leaves in one writable notification, so that a large file does not hold the
/// event loop.
constexpr size_t kFlushBudget = 4 * 1024 * 1024;
/// Connections waiting to be accepted. A small queue makes clients that connect in a burst wait for
/// a SYN retransmission (a second or more), so the system's maximum is asked for.
constexpr int kListenBacklog = SOMAXCONN;
/// Reading from the peer pauses while more than this waits to be sent to it.
constexpr uint64_t kReadPauseBytes = 1024 * 1024;

/// A dotted IPv4 address, or the first IPv4 address of a host name.
bool ResolveIpv4(const char* host, in_addr& address)
{
    if (inet_pton(AF_INET, host, &address) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found)
        return false;
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

bool NameOf(int fd, bool peer, std::string& address, unsigned& port)
{
    sockaddr_in name{};
    socklen_t length = sizeof name;
    int rc = peer ? getpeername(fd, reinterpret_cast<sockaddr*>(&name), &length)
                  : getsockname(fd, reinterpret_cast<sockaddr*>(&name), &length);
    if (rc != 0 || name.sin_family != AF_INET)
        return false;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &name.sin_addr, text, sizeof text);
    address = text;
    port = ntohs(name.sin_port);
    return true;
}

unsigned NotifyCode(int id, unsigned code)
{
    return (static_cast<unsigned>(id & 0xFFFF) << 16) | code;
}

} // namespace

CSSocket::CSSocket(int id) : m_id(id) {}

CSSocket::~CSSocket()
{
    Close();
}

void CSSocket::OutputLog(const std::string&, int) {}

void CSSocket::NotifyOwner(unsigned, CSSocket*) {}

bool CSSocket::CreateSocket(unsigned port, const char* address, bool reuseAddress)
{
    auto fail = [this](int error) {
        m_lastError = WsaErrorFromErrno(error);
        OutputLog(Sjis("ソケットが作成できませんでした。"), LOG_ERROR);
        OutputLog(SystemErrorText(m_lastError), LOG_ERROR);
        return false;
    };
    if (m_fd >= 0)
        return fail(EISCONN);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<uint16_t>(port));
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (port > 0xFFFF || (address && !ResolveIpv4(address, local.sin_addr)))
        return fail(EINVAL);
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail(errno);
    int on = 1;
    if (reuseAddress)
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        int error = errno;
        ::close(fd);
        return fail(error);
    }
    Attach(fd, State::Created);
    return true;
}

bool CSSocket::StartListen(unsigned port, const char* bindAddress)
{
    if (!CreateSocket(port, bindAddress, true))
        return false;
    if (::listen(m_fd, kListenBacklog) != 0) {
        m_lastError = WsaErrorFromErrno(errno);
        OutputLog(Sjis("待ち受けを開始できませんでした。(") + std::to_string(m_lastError) + ")", LOG_ERROR);
        return false;
    }
    m_state = State::Listening;
    UpdateNotifiers();
    std::string address;
    unsigned boundPort = port;
    GetSockName(address, boundPort);
    OutputLog(Sjis("待ち受け開始しました。PORT:") + std::to_string(boundPort) + " [TCP]", LOG_INFO);
    return true;
}

bool CSSocket::ConnectTo(unsigned hostPort, const std::string& host, unsigned localPort, const char* localAddress)
{
    if (!CreateSocket(localPort, localAddress, true))
        return false;
    auto fail = [this](int code) {
        m_lastError = code;
        OutputLog(Sjis("送信準備に失敗しました。Connect"), LOG_ERROR);
        OutputLog(ConnectErrorText(code), LOG_ERROR);
        return false;
    };
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<uint16_t>(hostPort));
    if (hostPort == 0 || hostPort > 0xFFFF || host.empty() || !ResolveIpv4(host.c_str(), remote.sin_addr))
        return fail(WsaErrorFromErrno(EINVAL));
    int rc;
    do {
        rc = ::connect(m_fd, reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0 && errno != EINPROGRESS)
        return fail(WsaErrorFromErrno(errno));
    m_state = State::Connecting;
    UpdateNotifiers();
    return true;
}

int CSSocket::Send(const void* buffer, int length, int flags)
{
    if (length <= 0)
        return 0;
    if (m_fd < 0) {
        LogSendFailure(WsaErrorFromErrno(ENOTSOCK));
        return -1;
    }
    const char* bytes = static_cast<const char*>(buffer);
    if (!m_queue.Empty()) {
        m_queue.AppendBytes(bytes, static_cast<size_t>(length));
        return length;
    }
    ssize_t sent;
    do {
        sent = ::send(m_fd, bytes, static_cast<size_t>(length), flags | MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    if (sent < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            LogSendFailure(WsaErrorFromErrno(errno));
            return -1;
        }
        sent = 0;
    }
    if (sent < length) {
        m_queue.AppendBytes(bytes + sent, static_cast<size_t>(length - sent));
        UpdateNotifiers();
    }
    return length;
}

bool CSSocket::SendFile(int fd, uint64_t offset, uint64_t length)
{
    if (m_fd < 0 || m_closeReported || (m_state != State::Connected && m_state != State::Connecting)) {
        ::close(fd);
        return false;
    }
    m_queue.AppendFile(fd, offset, length);
    if (m_state == State::Connected)
        FlushQueue();
    return true;
}

void CSSocket::LogSendFailure(int code)
{
    m_lastError = code;
    OutputLog(Sjis("送信に失敗しました。"), LOG_ERROR);
    OutputLog(SendErrorText(code), LOG_ERROR);
}

void CSSocket::ShutDownSocket(const std::string& reason)
{
    OutputLog("ShutDownSocket()", LOG_TRACE);
    m_queue.Clear();
    int error = 0;
    if (m_fd < 0)
        error = ENOTSOCK;
    else if (::shutdown(m_fd, SHUT_RDWR) != 0)
        error = errno;
    if (error != 0) {
        m_lastError = WsaErrorFromErrno(error);
        OutputLog(Sjis("ShutDownに失敗しました。(") + reason + ")", LOG_ERROR);
        OutputLog(ShutdownErrorText(m_lastError), LOG_ERROR);
    } else {
        OutputLog(Sjis("正常にシャットダウンしました。(") + reason + ")", LOG_INFO);
    }
    m_closeReported = true;
    UpdateNotifiers();
    NotifyOwner(NotifyCode(m_id, SOCK_NOTIFY_CLOSED), this);
}

void CSSocket::CloseWhenSent(int graceMs)
{
    m_closeWhenSent = true;
    m_graceMs = graceMs;
    if (m_queue.Empty() && m_state == State::Connected)
        HalfClose();
}

void CSSocket::HalfClose()
{
    if (m_halfClosed || m_fd < 0)
        return;
    m_halfClosed = true;
    ::shutdown(m_fd, SHUT_WR);
    if (!m_graceTimer) {
        m_graceTimer = new QTimer(this);
        m_graceTimer->setSingleShot(true);
        connect(m_graceTimer, &QTimer::timeout, this, [this] { ReportClose(0); });
    }
    m_graceTimer->start(m_graceMs);
}

int CSSocket::Receive(void* buffer, int length)
{
    if (m_fd < 0) {
        m_lastError = WsaErrorFromErrno(ENOTSOCK);
        return -1;
    }
    ssize_t n;
    do {
        n = ::recv(m_fd, buffer, static_cast<size_t>(length), 0);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        m_lastError = WsaErrorFromErrno(errno);
        return -1;
    }
    return static_cast<int>(n);
}

bool CSSocket::Accept(CSSocket& connection)
{
    if (m_fd < 0 || m_state != State::Listening) {
        m_lastError = WsaErrorFromErrno(EINVAL);
        return false;
    }
    int fd;
    do {
        fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        m_lastError = WsaErrorFromErrno(errno);
        return false;
    }
    connection.Close();
    connection.Attach(fd, State::Connected);
    connection.UpdateNotifiers();
    return true;
}

bool CSSocket::SetReuseAddress()
{
    int on = 1;
    return m_fd >= 0 && setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0;
}

bool CSSocket::SetLingerReset()
{
    linger value{1, 0};
    return m_fd >= 0 && setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &value, sizeof value) == 0;
}

bool CSSocket::GetSockName(std::string& address, unsigned& port) const
{
    return m_fd >= 0 && NameOf(m_fd, false, address, port);
}

bool CSSocket::GetPeerName(std::string& address, unsigned& port) const
{
    return m_fd >= 0 && NameOf(m_fd, true, address, port);
}

void CSSocket::Close()
{
    for (QSocketNotifier* notifier : {m_readNotifier, m_writeNotifier}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    m_readNotifier = nullptr;
    m_writeNotifier = nullptr;
    if (m_graceTimer)
        m_graceTimer->stop();
    m_queue.Clear();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_state = State::None;
}

void CSSocket::Attach(int fd, State state)
{
    m_fd = fd;
    m_state = state;
    m_closeReported = false;
    m_readPaused = false;
    m_peerEnded = false;
    m_closeWhenSent = false;
    m_halfClosed = false;
    m_acceptPaused = false;
    SetupNotifiers();
}

void CSSocket::SetupNotifiers()
{
    m_readNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    m_writeNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    connect(m_readNotifier, &QSocketNotifier::activated, this, [this] { ReadyRead(); });
    connect(m_writeNotifier, &QSocketNotifier::activated, this, [this] { ReadyWrite(); });
}

void CSSocket::UpdateNotifiers()
{
    if (!m_readNotifier || !m_writeNotifier)
        return;
    bool read = false;
    bool write = false;
    if (m_fd >= 0 && !m_closeReported) {
        read = (m_state == State::Listening && !m_acceptPaused) ||
               (m_state == State::Connected && !m_readPaused && !m_peerEnded);
        write = m_state == State::Connecting || (m_state == State::Connected && !m_queue.Empty());
    }
    if (m_readNotifier->isEnabled() != read)
        m_readNotifier->setEnabled(read);
    if (m_writeNotifier->isEnabled() != write)
        m_writeNotifier->setEnabled(write);
}

void CSSocket::PauseAccepting(int milliseconds)
{
    m_acceptPaused = true;
    UpdateNotifiers();
    QTimer::singleShot(milliseconds, this, [this] {
        m_acceptPaused = false;
        UpdateNotifiers();
    });
}

void CSSocket::ReadyRead()
{
    if (m_fd < 0 || m_closeReported)
        return;
    if (m_state == State::Listening) {
        OnAccept(0);
        return;
    }
    if (m_state != State::Connected)
        return;
    if (m_queue.PendingBytes() >= kReadPauseBytes) {
        m_readPaused = true;
        UpdateNotifiers();
        return;
    }
    char probe;
    ssize_t n = ::recv(m_fd, &probe, 1, MSG_PEEK);
    if (n > 0) {
        OnReceive(0);
        return;
    }
    if (n == 0) {
        if (!m_queue.Empty()) {
            m_peerEnded = true;
            UpdateNotifiers();
            return;
        }
        ReportClose(0);
        return;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return;
    ReportClose(WsaErrorFromErrno(errno));
}

void CSSocket::ReadyWrite()
{
    if (m_fd < 0 || m_closeReported)
        return;
    if (m_state == State::Connecting)
        FinishConnect();
    else if (m_state == State::Connected)
        FlushQueue();
}

void CSSocket::FinishConnect()
{
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    if (error == 0) {
        m_state = State::Connected;
        UpdateNotifiers();
        OnConnect(0);
        return;
    }
    m_state = State::Created;
    m_lastError = WsaErrorFromErrno(error);
    UpdateNotifiers();
    OnConnect(m_lastError);
}

void CSSocket::FlushQueue()
{
    if (int error = m_queue.Flush(m_fd, kFlushBudget); error != 0) {
        const int code = WsaErrorFromErrno(error);
        // A queued send failing later (the peer gone, a file cut short) says why even where the send
        // table has no text.
        m_lastError = code;
        OutputLog(Sjis("送信に失敗しました。"), LOG_ERROR);
        const std::string text = SendErrorText(code);
        OutputLog(text.empty() ? SystemErrorText(code) : text, LOG_ERROR);
        m_queue.Clear();
        ReportClose(code);
        return;
    }
    if (m_readPaused && m_queue.PendingBytes() < kReadPauseBytes / 2)
        m_readPaused = false;
    if (!m_queue.Empty()) {
        UpdateNotifiers();
        return;
    }
    // Everything queued has been handed to the system: that is reported before a close that the
    // peer sent meanwhile, so that the owner learns what went out.
    if (m_peerEnded) {
        OnSend(0);
        ReportClose(0);
        return;
    }
    if (m_closeWhenSent)
        HalfClose();
    UpdateNotifiers();
    OnSend(0);
}

void CSSocket::ReportClose(int error)
{
    if (m_closeReported)
        return;
    m_closeReported = true;
    if (m_graceTimer)
        m_graceTimer->stop();
    UpdateNotifiers();
    OnClose(error);
}

void CSSocket::LogEventError(int error)
{
    OutputLog(Sjis(error == WSAENETDOWN ? "ネットワーク サブシステムの異常を検出しました。"
                                        : "ネットワーク サブシステムの異常を検出しました。!"),
              LOG_ERROR);
}

void CSSocket::OnReceive(int error)
{
    if (error != 0)
        LogEventError(error);
}

void CSSocket::OnSend(int error)
{
    if (error != 0)
        LogEventError(error);
}

void CSSocket::OnAccept(int error)
{
    if (error != 0) {
        LogEventError(error);
        return;
    }
    OutputLog(Sjis("接続要求を許可します。"), LOG_INFO);
}

void CSSocket::OnConnect(int error)
{
    OutputLog("OnConnect()", LOG_TRACE);
    if (error != 0) {
        OutputLog(ConnectNotifyErrorText(error), LOG_ERROR);
        ShutDownSocket("OnConnect()");
        return;
    }
    std::string peerAddress, localAddress;
    unsigned peerPort = 0, localPort = 0;
    GetPeerName(peerAddress, peerPort);
    GetSockName(localAddress, localPort);
    OutputLog(Sjis("相手[") + peerAddress + ":" + std::to_string(peerPort) + Sjis("] 自分[") + localAddress + ":" +
                  std::to_string(localPort) + Sjis("] 接続しました。"),
              LOG_RECEIVED);
    NotifyOwner(NotifyCode(m_id, SOCK_NOTIFY_CONNECTED), this);
}

void CSSocket::OnClose(int error)
{
    OutputLog("OnClose()", LOG_TRACE);
    const char* text;
    switch (error) {
    case 0:
        text = "通信を切断しました。";
        break;
    case WSAENETDOWN:
        text = "ネットワーク サブシステムの異常を検出しました。";
        break;
    case WSAECONNABORTED:
        text = "タイムアウトまたはその他の障害により接続がアボートしました。";
        break;
    case WSAECONNRESET:
        text = "接続がリモート側からリセットされました。";
        break;
    default:
        text = "通信が切断されました。";
        break;
    }
    OutputLog(Sjis(text), error == 0 ? LOG_INFO : LOG_ERROR);
    NotifyOwner(NotifyCode(m_id, SOCK_NOTIFY_CLOSED), this);
}

} // namespace vesk
