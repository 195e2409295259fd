#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace vesk {

/// Bytes and file ranges waiting to go out on a socket, in the order they were queued.
class SendQueue {
public:
    SendQueue() = default;
    ~SendQueue();
    SendQueue(const SendQueue&) = delete;
    SendQueue& operator=(const SendQueue&) = delete;

    void AppendBytes(const char* data, size_t length);
    /// Queues length bytes of an open file from offset; the queue takes the descriptor and closes it
    /// when the range has gone out or the queue is cleared.
    void AppendFile(int fd, uint64_t offset, uint64_t length);

    bool Empty() const { return m_chunks.empty(); }
    uint64_t PendingBytes() const { return m_pending; }
    /// Drops everything queued and closes the queued files.
    void Clear();

    /// Writes queued data to a non-blocking socket until it would block, the queue is empty or
    /// about budget bytes have gone; file ranges are read a piece at a time. Answers 0, or the errno
    /// of a failed write or read (EIO when a file ended before its range); what was not written
    /// stays queued.
    int Flush(int socketFd, size_t budget);

private:
    struct Chunk {
        std::string data;        ///< bytes to send (for a file: the piece read last), from offset
        size_t offset = 0;       ///< bytes of data already sent
        int fd = -1;             ///< file still to be read, or -1
        uint64_t fileOffset = 0; ///< where the next piece of the file starts
        uint64_t remaining = 0;  ///< file bytes not yet read
    };
    static void CloseChunk(Chunk& chunk);

    std::deque<Chunk> m_chunks;
    uint64_t m_pending = 0;
};

} // namespace vesk
