#include "link/httpservice.h"

#include <cstring>

#include "link/confinedfile.h"
#include "link/linklog.h"
#include "link/protocolpeer.h"
#include "link/socketerrors.h"

namespace vesk {

std::string_view ContentTypeFor(std::string_view requestPath)
{
    const size_t dot = requestPath.rfind('.');
    if (dot != std::string_view::npos && dot > 0) {
        const std::string_view extension = requestPath.substr(dot + 1);
        if (extension.size() == 3 && (extension[0] == 'a' || extension[0] == 'A') &&
            (extension[1] == 'p' || extension[1] == 'P') && (extension[2] == 'k' || extension[2] == 'K'))
            return "application/octet-stream";
    }
    return "text/html";
}

void HttpConnection::Receive(std::string_view bytes)
{
    for (char c : bytes) {
        if (m_closing)
            return;
        m_line[m_length] = c;
        if (m_length > 0 && c == '\n' && m_line[m_length - 1] == '\r') {
            const size_t length = m_length - 1;
            m_length = 0;
            HandleLine(length);
        } else {
            ++m_length;
        }
        if (m_length == kLineCapacity) {
            m_length = 0;
            m_skip = true;
        }
    }
}

void HttpConnection::HandleLine(size_t length)
{
    if (m_skip) {
        m_skip = false;
        return;
    }
    if (length > 0) {
        if (length > 12 && std::memcmp(m_line, "GET ", 4) == 0) {
            const std::string_view rest(m_line + 4, std::min(length - 4, kMaxPath + 1));
            const size_t blank = rest.find(' ');
            if (blank == std::string_view::npos)
                return;
            m_requestPath.assign(rest.substr(0, blank));
            if (m_requestPath == "/")
                m_requestPath = "/index.html";
            m_peer.Log(Sjis("Httpリクエスト (") + m_requestPath + ")", LOG_RECEIVED);
        }
        return;
    }
    if (!m_requestPath.empty())
        Answer();
    m_requestPath.clear();
}

void HttpConnection::Answer()
{
    ConfinedFile file;
    if (m_requestPath.front() == '/')
        file = ConfinedFile::Open(TrimFolder(m_peer.ProjectFolder()), std::string_view(m_requestPath).substr(1));
    if (!file.IsOpen()) {
        static const char kNotFound[] = "HTTP/1.0 404 Not Found\r\n\r\n";
        m_peer.SendBytes(kNotFound, static_cast<int>(sizeof kNotFound - 1));
        m_peer.Log(Sjis("Http応答 (") + m_requestPath + ") 404 Not Found", LOG_ERROR);
        m_closing = true;
        m_peer.EndAfterSending();
        return;
    }
    const uint64_t size = file.Size();
    std::string head = "HTTP/1.0 200 OK\r\nConnection: close\r\nContent-Type: ";
    head += ContentTypeFor(m_requestPath);
    head += "\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n";
    m_peer.SendBytes(head.data(), static_cast<int>(head.size()));
    m_peer.SendFileData(file.Release(), size);
    m_peer.Log(Sjis("Http応答 (") + m_requestPath + ") " + std::to_string(size) + "Byte", LOG_SENT);
}

} // namespace vesk
