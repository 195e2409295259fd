#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vesk {

class JsonParser;
class ProtocolPeer;

/// Frame bytes of the terminal link.
constexpr char STX = 0x02;
constexpr char ETX = 0x03;

/// Collects STX ... ETX frames from received bytes. Bytes outside a frame are dropped; a frame
/// that reaches the capacity without an ETX is given up and the rest of it dropped up to the next
/// STX. The editor's command connection and the simulated terminal both scan with it.
class FrameScanner {
public:
    /// The capacity of the editor's command connection.
    static constexpr size_t kCapacity = 40000;

    explicit FrameScanner(size_t capacity = kCapacity) : m_capacity(capacity) {}

    /// Scans received bytes: onFrame gets the text of each completed frame (between STX and ETX),
    /// onOverflow the bytes of each frame given up. A frame may span any number of calls.
    void Feed(std::string_view bytes, const std::function<void(std::string_view)>& onFrame,
              const std::function<void(std::string_view)>& onOverflow);

    /// What one step of a scan met.
    enum class Event {
        None,     ///< the bytes ran out
        Frame,    ///< a frame completed: Collected() is its text
        Overflow, ///< a frame reached the capacity and was given up: Collected() is its bytes
    };
    /// Scans bytes until a frame completes, one is given up or the bytes run out; answers what
    /// was met and sets consumed to the bytes used (the rest is for the caller to scan next).
    Event Step(std::string_view bytes, size_t& consumed);
    /// The frame text or overflowed bytes of the last Step; valid until the next Step.
    std::string_view Collected() const { return m_message; }
    bool InFrame() const { return m_inFrame; }

private:
    size_t m_capacity;
    std::string m_message;
    bool m_inFrame = false;
};

/// The records that the editor sends (the text between STX and ETX). File and object names are
/// written escaped so that any name reads back.
std::string KeepAliveRecord();
std::string PutFileErrorRecord(std::string_view file, std::string_view objectName);
std::string PutFileLatestRecord(std::string_view file, std::string_view date, std::string_view objectName);
std::string PutFileHeaderRecord(std::string_view file, uint64_t length, std::string_view date,
                                std::string_view objectName);

/// The editor's end of a terminal command connection, free of sockets: it scans received bytes
/// into frames, runs their commands, logs every exchange and answers file requests from the
/// project's "resources" folder through its peer.
class CommandConnection {
public:
    explicit CommandConnection(ProtocolPeer& peer) : m_peer(peer) {}

    /// Handles received bytes.
    void Receive(std::string_view bytes);
    /// Handles the command object under the parser's cursor; 1 when it was recognised, else 0.
    int ExecuteCommand(JsonParser& parser);

private:
    void HandleFrame(std::string_view text);
    void HandleGetFile(JsonParser& parser);
    /// Sends STX, the record, ETX, and logs "送信 %dByte" with the record.
    void SendRecord(const std::string& record);
    void SendChecked(const char* data, int length, const std::string& header);

    ProtocolPeer& m_peer;
    FrameScanner m_scanner;
    std::string_view m_frameText;
};

} // namespace vesk
