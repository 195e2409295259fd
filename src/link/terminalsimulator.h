#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QObject>

#include "link/commandprotocol.h"

namespace vesk {

class LinkLog;
class CTerminalSocket;

/// Splits what an editor sends to a terminal into frames and the unframed file data that follows
/// a PUTFILE header. Free of sockets.
class TerminalStream {
public:
    /// A frame longer than this is given up (its bytes dropped up to the next STX).
    static constexpr size_t kMaxFrame = 64 * 1024 * 1024;

    /// Scans received bytes. onFrame may call ExpectFileData to take the bytes after the frame as
    /// file data.
    void Feed(std::string_view bytes);
    /// The next length bytes are file data; onFileEnd follows them (at once for 0).
    void ExpectFileData(uint64_t length);
    bool InFileData() const { return m_fileRemaining > 0; }

    std::function<void(std::string_view text)> onFrame;
    std::function<void(std::string_view bytes)> onFileData;
    std::function<void()> onFileEnd;
    std::function<void(size_t dropped)> onOverflow;

private:
    FrameScanner m_scanner{kMaxFrame};
    uint64_t m_fileRemaining = 0;
};

/// What the simulated terminal does besides greeting and answering keep-alives.
struct TerminalOptions {
    std::string os = "Linux";
    int resolutionH = 480;
    int resolutionV = 800;
    /// Files to ask for with GETFILE once connected (names in UTF-8).
    std::vector<std::string> getFiles;
    /// Where received files are kept; a cached copy's length and date go with the request. Empty:
    /// received files are counted only.
    std::string cacheDir;
    /// Where each received dialog frame is written as <dialog name>.json. Empty: not written.
    std::string renderDir;
    bool answerKeepAlive = true;
};

/// A terminal without a device: it connects to an editor (or listens for one), sends HELLO,
/// answers KEEPALIVE, asks for files with GETFILE and stores them, and writes received dialog
/// frames. Every exchange is logged.
class CTerminalSimulator : public QObject {
public:
    CTerminalSimulator(LinkLog& log, TerminalOptions options);
    ~CTerminalSimulator() override;

    /// Starts connecting to an editor; false when the connection failed at once (logged).
    bool Connect(const std::string& host, unsigned port);
    /// Listens for an editor; false when listening failed (logged).
    bool Listen(unsigned port, const char* bindAddress);
    /// The port listened on; 0 when not listening.
    unsigned ListeningPort() const;
    bool IsConnected() const;

    /// Requested files that arrived, that were already up to date, and that failed (an ERROR
    /// answer or a transfer cut short).
    int FilesReceived() const { return m_filesReceived; }
    int FilesLatest() const { return m_filesLatest; }
    int FilesFailed() const { return m_filesFailed; }
    /// Requests that got no answer yet.
    int FilesPending() const { return static_cast<int>(m_pending.size()); }
    int DialogsReceived() const { return m_dialogsReceived; }

    /// Called for each dialog of a received DIALOG frame, with the project record text of the frame
    /// and the path (without extension) under the render folder that the frame was written to
    /// (empty without a render folder).
    std::function<void(const std::string& frameText, const std::string& dialogName, const std::string& basePath)>
        onDialog;
    /// Called when a connection is established / has ended.
    std::function<void()> onConnected;
    std::function<void()> onClosed;

    // Calls from the simulator's sockets.
    void Log(const std::string& message, int level);
    void SocketConnected(CTerminalSocket* socket);
    void SocketClosed(CTerminalSocket* socket);
    void Accepted(std::unique_ptr<CTerminalSocket> connection);
    void Received(std::string_view bytes);

private:
    struct Request {
        std::string file;     ///< name on the wire (Shift_JIS)
        std::string diskName; ///< name in the cache folder (UTF-8)
    };

    void Greet();
    void SendRecord(const std::string& record);
    void HandleFrame(std::string_view text);
    void HandlePutFile(const std::string& file, const std::string& status, const std::string& length,
                       const std::string& date);
    void ResetStream();
    void HandleDialogFrame(std::string_view text, const std::vector<std::string>& names);
    void FileData(std::string_view bytes);
    void FileEnd();
    void AbandonTransfer();

    LinkLog& m_log;
    TerminalOptions m_options;
    std::unique_ptr<CTerminalSocket> m_listener;
    std::unique_ptr<CTerminalSocket> m_connection;
    std::vector<std::unique_ptr<CTerminalSocket>> m_closing;
    TerminalStream m_stream;
    std::vector<Request> m_pending;
    // The transfer in progress.
    std::string m_transferName;
    std::string m_transferPath;
    std::string m_transferDate;
    std::FILE* m_transferFile = nullptr;
    uint64_t m_transferBytes = 0;
    bool m_transferFailed = false;
    int m_filesReceived = 0;
    int m_filesLatest = 0;
    int m_filesFailed = 0;
    int m_dialogsReceived = 0;
};

/// A file name (UTF-8) that may be stored under the cache folder, by the link's one rule
/// (ConfineRelativeName): answers the name with "/" separators, or false.
bool SafeRelativeName(std::string_view name, std::string& out);

} // namespace vesk
