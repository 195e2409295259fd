#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "link/linklog.h"
#include "link/protocolpeer.h"
#include "textconv/textconv.h"

namespace vesk::linktest {

/// The application object that the socket notifiers need; made once per test program.
inline QCoreApplication& App()
{
    static int argc = 1;
    static char name[] = "test_link";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

/// Runs the event loop until done() holds or the time-out passes; answers done().
inline bool RunUntil(const std::function<bool()>& done, int timeoutMs = 15000)
{
    App();
    QTimer wake;
    wake.start(5);
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

/// Runs the event loop for a while.
inline void RunFor(int milliseconds)
{
    QElapsedTimer elapsed;
    elapsed.start();
    RunUntil([&] { return elapsed.elapsed() >= milliseconds; }, milliseconds + 1000);
}

/// A temporary folder removed with its contents at the end of the test.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vesk-link-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    const std::string& Path() const { return m_path; }
    std::string operator/(std::string_view name) const { return m_path + "/" + std::string(name); }

private:
    std::string m_path;
};

inline void WriteFile(const std::string& path, std::string_view bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// Bytes that differ from position to position, so that a reordered or shifted transfer shows.
inline std::string PatternBytes(size_t size, uint32_t seed = 12345)
{
    std::string bytes(size, '\0');
    uint32_t state = seed;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(state >> 24);
    }
    return bytes;
}

/// One line of a collected log, in UTF-8.
struct LogLine {
    int level;
    std::string text;
};

/// A link log that keeps every line (converted to UTF-8) for the test to look at.
class CollectingLog : public LinkLog {
public:
    void AddLog(const std::string& message, int level) override
    {
        lines.push_back({level, ShiftJisToUtf8Exact(message)});
    }
    void ShowMessage(const std::string& text) override { messages.push_back(ShiftJisToUtf8Exact(text)); }

    /// Index of the first line from `from` on whose text equals text, or -1.
    int Find(std::string_view text, size_t from = 0) const
    {
        for (size_t i = from; i < lines.size(); ++i)
            if (lines[i].text == text)
                return static_cast<int>(i);
        return -1;
    }
    bool Has(std::string_view text, int level) const
    {
        for (const LogLine& line : lines)
            if (line.text == text && line.level == level)
                return true;
        return false;
    }
    /// Index of the first line that starts with the prefix, or -1.
    int FindPrefix(std::string_view prefix) const
    {
        for (size_t i = 0; i < lines.size(); ++i)
            if (std::string_view(lines[i].text).starts_with(prefix))
                return static_cast<int>(i);
        return -1;
    }
    int Count(std::string_view text) const
    {
        int count = 0;
        for (const LogLine& line : lines)
            count += line.text == text ? 1 : 0;
        return count;
    }
    std::string All() const
    {
        std::string all;
        for (const LogLine& line : lines)
            all += std::to_string(line.level) + " " + line.text + "\n";
        return all;
    }

    std::vector<LogLine> lines;
    std::vector<std::string> messages;
};

/// A protocol peer that keeps what the protocol sends and logs, reading sent files whole.
class RecordingPeer : public ProtocolPeer {
public:
    int SendBytes(const char* data, int length) override
    {
        sent.append(data, static_cast<size_t>(length));
        return length;
    }
    bool SendFileData(int fd, uint64_t length) override
    {
        std::string data(length, '\0');
        size_t done = 0;
        while (done < length) {
            ssize_t n = ::pread(fd, data.data() + done, length - done, static_cast<off_t>(done));
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        ::close(fd);
        sent.append(data, 0, done);
        return true;
    }
    int LastError() const override { return 0; }
    void Log(const std::string& message, int level) override { log.AddLog(message, level); }
    std::string ProjectFolder() const override { return folder; }
    void KeepAliveReply() override { ++keepAliveReplies; }
    void EndAfterSending() override { ended = true; }

    std::string sent;
    CollectingLog log;
    std::string folder;
    int keepAliveReplies = 0;
    bool ended = false;
};

/// A frame as sent on the wire.
inline std::string Frame(std::string_view text)
{
    return "\x02" + std::string(text) + "\x03";
}

/// A plain blocking TCP client on the loopback address, for tests and helper threads.
class RawClient {
public:
    RawClient() = default;
    ~RawClient() { Close(); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool Connect(unsigned port)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        timeval timeout{30, 0};
        setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        setsockopt(m_fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    bool SendAll(std::string_view bytes)
    {
        while (!bytes.empty()) {
            ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            bytes.remove_prefix(static_cast<size_t>(n));
        }
        return true;
    }
    /// Appends what has arrived without waiting; false once the peer has closed.
    bool ReadAvailable()
    {
        char buffer[65536];
        for (;;) {
            ssize_t n = ::recv(m_fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n > 0) {
                received.append(buffer, static_cast<size_t>(n));
                continue;
            }
            if (n == 0)
                return false;
            return errno == EAGAIN || errno == EWOULDBLOCK;
        }
    }
    /// Blocks until count bytes have arrived in total (or the peer closed / timed out).
    bool ReadUntilSize(size_t count)
    {
        std::string buffer(1 << 20, '\0');
        while (received.size() < count) {
            ssize_t n = ::recv(m_fd, buffer.data(), std::min(buffer.size(), count - received.size()), 0);
            if (n <= 0)
                return false;
            received.append(buffer.data(), static_cast<size_t>(n));
        }
        return true;
    }
    /// Blocks until the text occurs in what was received.
    bool ReadUntil(std::string_view text)
    {
        char buffer[65536];
        while (received.find(text) == std::string::npos) {
            ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return false;
            received.append(buffer, static_cast<size_t>(n));
        }
        return true;
    }
    /// Blocks until the peer closes; false on a time-out or error.
    bool ReadToEnd()
    {
        char buffer[65536];
        for (;;) {
            ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n == 0)
                return true;
            if (n < 0)
                return false;
            received.append(buffer, static_cast<size_t>(n));
        }
    }
    /// Closes so that the peer sees a reset.
    void Reset()
    {
        linger value{1, 0};
        setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &value, sizeof value);
        Close();
    }
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    int Fd() const { return m_fd; }

    std::string received;

private:
    int m_fd = -1;
};

/// Runs work on a helper thread while the event loop runs here; answers its result.
template <typename Work> auto WhilePumping(Work work, int timeoutMs = 60000) -> decltype(work())
{
    std::atomic<bool> done{false};
    decltype(work()) result{};
    std::thread thread([&] {
        result = work();
        done = true;
    });
    RunUntil([&] { return done.load(); }, timeoutMs);
    thread.join();
    return result;
}

/// Sends one GET request and answers everything received: up to the end of the body for a 200
/// answer with a length, up to the close otherwise.
inline std::string HttpGet(unsigned port, const std::string& path)
{
    RawClient client;
    if (!client.Connect(port) || !client.SendAll("GET " + path + " HTTP/1.0\r\n\r\n"))
        return {};
    if (!client.ReadUntil("\r\n\r\n"))
        return client.received;
    const size_t headEnd = client.received.find("\r\n\r\n") + 4;
    const size_t length = client.received.find("Content-Length: ");
    if (client.received.starts_with("HTTP/1.0 200 OK") && length != std::string::npos && length < headEnd)
        client.ReadUntilSize(headEnd + std::stoull(client.received.substr(length + 16)));
    else
        client.ReadToEnd();
    return client.received;
}

/// A loopback port on which nothing listens (bound once and released).
inline unsigned UnusedPort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

} // namespace vesk::linktest
