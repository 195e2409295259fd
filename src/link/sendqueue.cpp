#include "link/sendqueue.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace vesk {

namespace {

/// Small pieces are merged into the last chunk so that a record goes out in one write.
constexpr size_t kMergeLimit = 64 * 1024;
/// File data is read ahead in pieces of this size.
constexpr size_t kFilePiece = 1024 * 1024;

/// Sends what the socket takes now; answers the count (0 when it would block) or -errno.
ssize_t SendSome(int socketFd, const char* data, size_t length)
{
    for (;;) {
        ssize_t n = ::send(socketFd, data, length, MSG_NOSIGNAL);
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -errno;
    }
}

} // namespace

SendQueue::~SendQueue()
{
    Clear();
}

void SendQueue::CloseChunk(Chunk& chunk)
{
    if (chunk.fd >= 0) {
        ::close(chunk.fd);
        chunk.fd = -1;
    }
}

void SendQueue::AppendBytes(const char* data, size_t length)
{
    if (length == 0)
        return;
    m_pending += length;
    if (!m_chunks.empty()) {
        Chunk& last = m_chunks.back();
        if (last.fd < 0 && last.data.size() - last.offset + length <= kMergeLimit) {
            last.data.append(data, length);
            return;
        }
    }
    Chunk chunk;
    chunk.data.assign(data, length);
    m_chunks.push_back(std::move(chunk));
}

void SendQueue::AppendFile(int fd, uint64_t offset, uint64_t length)
{
    if (length == 0) {
        ::close(fd);
        return;
    }
    Chunk chunk;
    chunk.fd = fd;
    chunk.fileOffset = offset;
    chunk.remaining = length;
    m_pending += length;
    m_chunks.push_back(std::move(chunk));
}

void SendQueue::Clear()
{
    for (Chunk& chunk : m_chunks)
        CloseChunk(chunk);
    m_chunks.clear();
    m_pending = 0;
}

int SendQueue::Flush(int socketFd, size_t budget)
{
    size_t written = 0;
    while (!m_chunks.empty() && written < budget) {
        Chunk& chunk = m_chunks.front();
        if (chunk.offset == chunk.data.size() && chunk.fd >= 0) {
            // Read the next piece of the file; what was read stays staged until it has gone.
            chunk.data.resize(static_cast<size_t>(std::min<uint64_t>(chunk.remaining, kFilePiece)));
            chunk.offset = 0;
            ssize_t n;
            do {
                n = ::pread(chunk.fd, chunk.data.data(), chunk.data.size(), static_cast<off_t>(chunk.fileOffset));
            } while (n < 0 && errno == EINTR);
            if (n <= 0) {
                chunk.data.clear();
                return n == 0 ? EIO : errno;
            }
            chunk.data.resize(static_cast<size_t>(n));
            chunk.fileOffset += static_cast<uint64_t>(n);
            chunk.remaining -= static_cast<uint64_t>(n);
            if (chunk.remaining == 0)
                CloseChunk(chunk);
        }
        const ssize_t sent = SendSome(socketFd, chunk.data.data() + chunk.offset, chunk.data.size() - chunk.offset);
        if (sent < 0)
            return static_cast<int>(-sent);
        chunk.offset += static_cast<size_t>(sent);
        m_pending -= static_cast<uint64_t>(sent);
        written += static_cast<size_t>(sent);
        if (chunk.offset < chunk.data.size())
            return 0;
        if (chunk.fd < 0)
            m_chunks.pop_front();
    }
    return 0;
}

} // namespace vesk
