#pragma once

#include <cstdint>
#include <string>

namespace vesk {

/// What the byte-level protocols (terminal commands, HTTP) need from their connection. The
/// socket implements it; tests implement it to feed bytes and collect the answers.
class ProtocolPeer {
public:
    virtual ~ProtocolPeer() = default;
    /// Hands bytes to the connection; answers length, or -1 when the send failed (already logged).
    virtual int SendBytes(const char* data, int length) = 0;
    /// Sends length bytes of an open file from its start after what was sent before; takes the
    /// descriptor. False when the connection cannot take it.
    virtual bool SendFileData(int fd, uint64_t length) = 0;
    /// The Windows Sockets code of the last failed send.
    virtual int LastError() const = 0;
    /// Writes a line to the link log (Shift_JIS).
    virtual void Log(const std::string& message, int level) = 0;
    /// The project folder whose files the link serves.
    virtual std::string ProjectFolder() const = 0;
    /// The terminal answered a keep-alive.
    virtual void KeepAliveReply() = 0;
    /// Ends the connection once everything sent has gone out.
    virtual void EndAfterSending() = 0;
};

} // namespace vesk
