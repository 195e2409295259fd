#include "link/sendqueue.h"

#include <sys/sendfile.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>

#include <pthread.h>

namespace vesk {

namespace {

/// Small pieces are merged into the last chunk so that a record goes out in one write.
constexpr size_t kMergeLimit = 64 * 1024;

/// Holds SIGPIPE back while a file range is written to a socket (sendfile has no MSG_NOSIGNAL), and
/// discards a SIGPIPE that the writes raised, leaving the thread's mask as it was.
class SigPipeGuard {
public:
    SigPipeGuard()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_previous);
    }
    ~SigPipeGuard()
    {
        if (!m_wasPending) {
            const timespec zero{};
            while (sigtimedwait(&m_pipe, nullptr, &zero) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    SigPipeGuard(const SigPipeGuard&) = delete;
    SigPipeGuard& operator=(const SigPipeGuard&) = delete;

private:
    sigset_t m_pipe;
    sigset_t m_previous;
    bool m_wasPending = false;
};

}  // namespace

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
        if (chunk.fd < 0) {
            const size_t left = chunk.data.size() - chunk.offset;
            ssize_t n = ::send(socketFd, chunk.data.data() + chunk.offset, left, MSG_NOSIGNAL);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : errno;
            }
            chunk.offset += static_cast<size_t>(n);
            m_pending -= static_cast<uint64_t>(n);
            written += static_cast<size_t>(n);
            if (chunk.offset < chunk.data.size())
                return 0;
            m_chunks.pop_front();
            continue;
        }
        const size_t piece = static_cast<size_t>(std::min<uint64_t>(chunk.remaining, budget - written));
        off_t offset = static_cast<off_t>(chunk.fileOffset);
        ssize_t n;
        int error;
        {
            SigPipeGuard guard;
            n = ::sendfile(socketFd, chunk.fd, &offset, piece);
            error = errno;
        }
        if (n < 0) {
            if (error == EINTR)
                continue;
            return error == EAGAIN || error == EWOULDBLOCK ? 0 : error;
        }
        if (n == 0)
            return EIO;
        chunk.fileOffset += static_cast<uint64_t>(n);
        chunk.remaining -= static_cast<uint64_t>(n);
        m_pending -= static_cast<uint64_t>(n);
        written += static_cast<size_t>(n);
        if (chunk.remaining == 0) {
            CloseChunk(chunk);
            m_chunks.pop_front();
        }
    }
    return 0;
}

}  // namespace vesk
