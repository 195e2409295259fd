#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk {

class ProtocolPeer;

/// The Content-Type of an answer: application/octet-stream when the request path's extension
/// (after its last ".", compared upper-cased) is APK, text/html for anything else.
std::string_view ContentTypeFor(std::string_view requestPath);

/// The editor's end of an HTTP/1.0 connection, free of sockets: it scans received bytes into
/// CR LF lines, remembers the path of a GET request and answers it from the project folder when
/// the blank line ends the request head. A 404 answer ends the connection; after a 200 answer
/// the connection stays open for the next request.
class HttpConnection {
public:
    static constexpr size_t kLineCapacity = 1000;
    /// Longest request path taken from a GET line.
    static constexpr size_t kMaxPath = 255;

    explicit HttpConnection(ProtocolPeer& peer) : m_peer(peer) {}

    /// Handles received bytes; ignored after a 404 answer.
    void Receive(std::string_view bytes);
    /// The path of the request waiting for its blank line; empty when none is.
    const std::string& RequestPath() const { return m_requestPath; }

private:
    void HandleLine(size_t length);
    void Answer();

    ProtocolPeer& m_peer;
    char m_line[kLineCapacity] = {};
    size_t m_length = 0;
    bool m_skip = false;
    bool m_closing = false;
    std::string m_requestPath;
};

} // namespace vesk
