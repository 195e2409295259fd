#pragma once

// Entry points shared by the libFuzzer targets and the scanner robustness test of the terminal
// link. Each takes any bytes: the first two choose how the rest is cut into received pieces, the
// rest goes through one connection. They answer an empty text when every property held, or a
// description of what broke.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/commandprotocol.h"
#include "link/httpservice.h"
#include "link/protocolpeer.h"
#include "model/jsonparser.h"

namespace vesk::fuzz {

/// Content of the one file in the served "resources" folder.
inline constexpr std::string_view kResourceText = "small resource file\n";
/// Content of the page at the top of the project folder (served over HTTP only).
inline constexpr std::string_view kIndexText = "<html>index</html>";
/// Content of the file beside the project folder, which must never be served.
inline constexpr std::string_view kSecretText = "secret outside the project";

/// A temporary project folder, made once per process and removed at its end:
///   <root>/secret.txt, <root>/project/index.html, <root>/project/resources/small.txt,
///   symbolic links project/out -> <root>, project/resources/up -> project,
///   project/resources/secret -> <root>/secret.txt.
class LinkFixture {
public:
    LinkFixture()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vesk-linkfuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        std::error_code error;
        m_root = std::filesystem::canonical(pattern, error).string();
        m_project = m_root + "/project";
        m_resources = m_project + "/resources";
        std::filesystem::create_directories(m_resources, error);
        Write(m_root + "/secret.txt", kSecretText);
        Write(m_project + "/index.html", kIndexText);
        Write(m_resources + "/small.txt", kResourceText);
        std::filesystem::create_directory_symlink(m_root, m_project + "/out", error);
        std::filesystem::create_directory_symlink(m_project, m_resources + "/up", error);
        std::filesystem::create_symlink(m_root + "/secret.txt", m_resources + "/secret", error);
        struct stat status {};
        if (::stat((m_resources + "/small.txt").c_str(), &status) != 0)
            std::abort();
        m_resourceDate = FormatFileDate(status.st_mtime);
    }
    ~LinkFixture()
    {
        std::error_code error;
        std::filesystem::remove_all(m_root, error);
    }
    LinkFixture(const LinkFixture&) = delete;
    LinkFixture& operator=(const LinkFixture&) = delete;

    const std::string& Project() const { return m_project; }
    const std::string& Resources() const { return m_resources; }
    /// The date that a GETFILE must name for the resource file to be reported as latest.
    const std::string& ResourceDate() const { return m_resourceDate; }

private:
    static std::string FormatFileDate(std::time_t time)
    {
        std::tm local{};
        localtime_r(&time, &local);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
        return text;
    }
    static void Write(const std::string& path, std::string_view bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    std::string m_root;
    std::string m_project;
    std::string m_resources;
    std::string m_resourceDate;
};

inline const LinkFixture& Fixture()
{
    static const LinkFixture fixture;
    return fixture;
}

/// A peer that keeps everything in memory. A file handed to it must lie inside the allowed
/// folder; it is read whole into the sent bytes. Breaches are collected in m_broken.
class MemoryPeer : public ProtocolPeer {
public:
    MemoryPeer(std::string folder, std::string allowed) : m_folder(std::move(folder)), m_allowed(std::move(allowed)) {}

    int SendBytes(const char* data, int length) override
    {
        if (length < 0 || (length > 0 && !data)) {
            Break("SendBytes with a negative length or no data");
            return -1;
        }
        if (m_ended)
            Break("bytes sent after the connection was to end");
        m_sent.append(data, static_cast<size_t>(length));
        return length;
    }
    bool SendFileData(int fd, uint64_t length) override
    {
        if (m_ended)
            Break("a file sent after the connection was to end");
        char link[64];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        char opened[PATH_MAX];
        const ssize_t size = ::readlink(link, opened, sizeof opened - 1);
        if (size <= 0) {
            Break("SendFileData with a descriptor that is not open");
            return false;
        }
        const std::string path(opened, static_cast<size_t>(size));
        if (!path.starts_with(m_allowed + "/"))
            Break("a file outside the served folder was sent: " + path);
        struct stat status {};
        if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || static_cast<uint64_t>(status.st_size) != length)
            Break("SendFileData with a length other than the file's size: " + path);
        std::string data(length, '\0');
        size_t done = 0;
        while (done < length) {
            const ssize_t n = ::pread(fd, data.data() + done, length - done, static_cast<off_t>(done));
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        ::close(fd);
        m_sent.append(data, 0, done);
        return true;
    }
    int LastError() const override { return 0; }
    void Log(const std::string& message, int level) override
    {
        m_log += std::to_string(level) + ":" + message + "\n";
        m_longestLog = std::max(m_longestLog, message.size());
    }
    std::string ProjectFolder() const override { return m_folder; }
    void KeepAliveReply() override { ++m_keepAlives; }
    void EndAfterSending() override
    {
        if (m_ended)
            Break("the end of the connection asked twice");
        m_ended = true;
    }

    void Break(const std::string& what)
    {
        if (m_broken.empty())
            m_broken = what;
    }

    std::string m_folder;
    std::string m_allowed;
    std::string m_sent;
    std::string m_log;
    std::string m_broken;
    size_t m_longestLog = 0;
    int m_keepAlives = 0;
    bool m_ended = false;
};

/// Cuts the input after its first two bytes into pieces whose sizes those two bytes choose:
/// from single bytes to pieces larger than the frame capacity. Fewer than two bytes: one piece.
inline std::vector<std::string_view> SplitByLeadingBytes(std::string_view input)
{
    if (input.size() < 2)
        return {input};
    static constexpr size_t kLargest[] = {1, 2, 3, 7, 64, 1000, 40001, 1 << 20};
    uint32_t state = static_cast<unsigned char>(input[0]) | static_cast<unsigned char>(input[1]) << 8;
    const size_t largest = kLargest[state & 7];
    std::string_view rest = input.substr(2);
    std::vector<std::string_view> pieces;
    while (!rest.empty()) {
        state = state * 1664525u + 1013904223u;
        const size_t take = std::min(rest.size(), 1 + (state >> 8) % largest);
        pieces.push_back(rest.substr(0, take));
        rest.remove_prefix(take);
    }
    return pieces;
}

/// The bytes after the two that choose the pieces.
inline std::string_view Body(std::string_view input)
{
    return input.size() < 2 ? input : input.substr(2);
}

/// One event of the frame scanner: a completed frame or a frame given up.
struct FrameEvent {
    bool overflow;
    std::string text;
    bool operator==(const FrameEvent&) const = default;
};

/// The frames of the bytes, found one byte at a time.
inline std::vector<FrameEvent> ExpectedFrames(std::string_view bytes)
{
    std::vector<FrameEvent> events;
    bool inFrame = false;
    std::string message;
    for (char c : bytes) {
        if (!inFrame) {
            if (c == STX) {
                inFrame = true;
                message.clear();
            }
            continue;
        }
        if (c == ETX) {
            events.push_back({false, message});
            inFrame = false;
            continue;
        }
        message += c;
        if (message.size() == FrameScanner::kCapacity) {
            events.push_back({true, message});
            inFrame = false;
        }
    }
    return events;
}

/// Checks the sent bytes of a command connection: frames of PUTFILE records that read back,
/// each header with a length followed by exactly the resource file.
inline std::string CheckCommandOutput(std::string_view sent)
{
    while (!sent.empty()) {
        if (sent.front() != STX)
            return "sent bytes outside a frame";
        const size_t end = sent.find(ETX);
        if (end == std::string_view::npos)
            return "a sent frame without its ETX";
        const std::string_view record = sent.substr(1, end - 1);
        sent.remove_prefix(end + 1);
        JsonParser parser;
        if (!parser.Parse(record))
            return "a sent record does not read back: " + std::string(record) + "\n" + parser.ErrorText;
        std::string command, status, file;
        parser.GetString("Command", command);
        parser.GetString("Status", status);
        if (command != "PUTFILE" || !parser.GetString("File", file))
            return "a sent record that is not a PUTFILE answer: " + std::string(record);
        int length = -1;
        if (parser.GetInt("Length", length)) {
            if (length != static_cast<int>(kResourceText.size()) || !sent.starts_with(kResourceText))
                return "a PUTFILE header not followed by the resource file: " + std::string(record);
            sent.remove_prefix(kResourceText.size());
        } else if (status != "ERROR" && status != "LATEST") {
            return "a PUTFILE record with neither a length nor a status: " + std::string(record);
        }
    }
    return {};
}

/// Runs the bytes (after the first two) through a frame scanner in pieces and through a command
/// connection in pieces and whole; both must agree with each other and with the byte-at-a-time
/// frames, serve only the resource file, and keep their texts within the frame capacity.
inline std::string CheckCommandBytes(std::string_view input)
{
    const std::vector<std::string_view> pieces = SplitByLeadingBytes(input);
    const std::string_view body = Body(input);

    std::vector<FrameEvent> events;
    FrameScanner scanner;
    for (std::string_view piece : pieces)
        scanner.Feed(
            piece,
            [&](std::string_view text) {
                events.push_back({false, std::string(text)});
            },
            [&](std::string_view text) {
                events.push_back({true, std::string(text)});
            });
    if (events != ExpectedFrames(body))
        return "the frame scanner found other frames than a byte-at-a-time scan";
    for (const FrameEvent& event : events)
        if (event.overflow ? event.text.size() != FrameScanner::kCapacity
                           : event.text.size() >= FrameScanner::kCapacity)
            return "a frame text beyond the capacity";

    const LinkFixture& fixture = Fixture();
    MemoryPeer split(fixture.Project() + "/", fixture.Resources());
    MemoryPeer whole(fixture.Project(), fixture.Resources());
    {
        CommandConnection connection(split);
        for (std::string_view piece : pieces)
            connection.Receive(piece);
    }
    {
        CommandConnection connection(whole);
        connection.Receive(body);
    }
    for (const MemoryPeer* peer : {&split, &whole}) {
        if (!peer->m_broken.empty())
            return peer->m_broken;
        if (peer->m_ended)
            return "a command connection asked to end";
        // A log line holds at most one frame's text with a short prefix.
        if (peer->m_longestLog > FrameScanner::kCapacity + 256)
            return "a log line longer than a frame: " + std::to_string(peer->m_longestLog);
    }
    if (split.m_sent != whole.m_sent || split.m_log != whole.m_log || split.m_keepAlives != whole.m_keepAlives)
        return "the pieces were handled otherwise than the whole input";
    return CheckCommandOutput(split.m_sent);
}

/// Checks the sent bytes of an HTTP connection: 200 answers with a body that is a file of the
/// project, and at most one 404 answer, last, with the end asked exactly then.
inline std::string CheckHttpOutput(std::string_view sent, bool ended)
{
    static constexpr std::string_view kNotFound = "HTTP/1.0 404 Not Found\r\n\r\n";
    static constexpr std::string_view kOk = "HTTP/1.0 200 OK\r\nConnection: close\r\nContent-Type: ";
    bool notFound = false;
    while (!sent.empty()) {
        if (notFound)
            return "bytes sent after a 404 answer";
        if (sent.starts_with(kNotFound)) {
            sent.remove_prefix(kNotFound.size());
            notFound = true;
            continue;
        }
        if (!sent.starts_with(kOk))
            return "sent bytes that are no answer";
        const size_t headEnd = sent.find("\r\n\r\n");
        const size_t lengthAt = sent.find("\r\nContent-Length: ");
        if (headEnd == std::string_view::npos || lengthAt == std::string_view::npos || lengthAt > headEnd)
            return "a 200 answer without its length";
        const size_t length =
            std::strtoull(std::string(sent.substr(lengthAt + 18, headEnd - lengthAt - 18)).c_str(), nullptr, 10);
        sent.remove_prefix(headEnd + 4);
        const std::string_view served = sent.substr(0, length);
        if (served != kIndexText && served != kResourceText)
            return "a 200 answer whose body is not a file of the project: " + std::string(served.substr(0, 200));
        sent.remove_prefix(length);
    }
    if (notFound != ended)
        return "the end of the connection asked without a 404 answer, or not after one";
    return {};
}

/// Runs the bytes (after the first two) through an HTTP connection in pieces and whole; both
/// must agree, serve only files inside the project folder and keep the request path bounded.
inline std::string CheckHttpBytes(std::string_view input)
{
    const std::vector<std::string_view> pieces = SplitByLeadingBytes(input);
    const LinkFixture& fixture = Fixture();
    MemoryPeer split(fixture.Project() + "//", fixture.Project());
    MemoryPeer whole(fixture.Project(), fixture.Project());
    {
        HttpConnection connection(split);
        for (std::string_view piece : pieces) {
            connection.Receive(piece);
            if (connection.RequestPath().size() > HttpConnection::kMaxPath)
                return "a request path beyond the longest taken";
        }
    }
    {
        HttpConnection connection(whole);
        connection.Receive(Body(input));
    }
    for (const MemoryPeer* peer : {&split, &whole}) {
        if (!peer->m_broken.empty())
            return peer->m_broken;
        if (peer->m_longestLog > HttpConnection::kMaxPath + 64)
            return "a log line longer than a request path allows";
        if (peer->m_keepAlives)
            return "an HTTP connection reported a keep-alive";
    }
    if (split.m_sent != whole.m_sent || split.m_log != whole.m_log || split.m_ended != whole.m_ended)
        return "the pieces were handled otherwise than the whole input";
    return CheckHttpOutput(split.m_sent, split.m_ended);
}

/// Stops the process with the description when a property broke (for the fuzzing binaries).
inline void RequireCleanLink(const std::string& broken)
{
    if (broken.empty())
        return;
    std::fprintf(stderr, "%s\n", broken.c_str());
    std::abort();
}

} // namespace vesk::fuzz
