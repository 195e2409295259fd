#include "link/terminalsimulator.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <charconv>
#include <ctime>
#include <filesystem>

#include <QPointer>

#include "link/commandprotocol.h"
#include "link/confinedfile.h"
#include "link/linklog.h"
#include "link/netsocket.h"
#include "link/socketerrors.h"
#include "link/ssocket.h"
#include "model/itemdata.h"
#include "model/jsonparser.h"
#include "textconv/textconv.h"

namespace vesk {

/// A socket of the simulated terminal: it reads in large pieces and hands everything to the
/// simulator.
class CTerminalSocket : public CSSocket {
public:
    CTerminalSocket(int id, CTerminalSimulator* owner) : CSSocket(id), m_owner(owner) {}

protected:
    void OutputLog(const std::string& message, int level) override { m_owner->Log(message, level); }

    void NotifyOwner(unsigned code, CSSocket*) override
    {
        if ((code & 0xFFFF) == SOCK_NOTIFY_CLOSED)
            m_owner->SocketClosed(this);
        else if ((code & 0xFFFF) == SOCK_NOTIFY_CONNECTED)
            m_owner->SocketConnected(this);
    }

    void OnReceive(int error) override
    {
        CSSocket::OnReceive(error);
        m_buffer.resize(256 * 1024);
        const int received = Receive(m_buffer.data(), static_cast<int>(m_buffer.size()));
        if (received > 0)
            m_owner->Received(std::string_view(m_buffer.data(), static_cast<size_t>(received)));
    }

    void OnAccept(int error) override
    {
        CSSocket::OnAccept(error);
        if (error != 0)
            return;
        auto connection = std::make_unique<CTerminalSocket>(kTerminalConnectionId, m_owner);
        if (Accept(*connection)) {
            connection->SetReuseAddress();
            m_owner->Accepted(std::move(connection));
        } else if (GetLastError() != WSAEWOULDBLOCK) {
            OutputLog(SystemErrorText(GetLastError()), LOG_ERROR);
            PauseAccepting(100);
        }
    }

private:
    CTerminalSimulator* m_owner;
    std::vector<char> m_buffer;
};

namespace {

std::string Quoted(std::string_view text)
{
    std::string out = "'";
    AppendEscaped(out, text);
    out += '\'';
    return out;
}

/// A dialog name (Shift_JIS) as a file name of the render folder.
std::string RenderFileName(const std::string& dialogName)
{
    std::string name = ShiftJisToUtf8Exact(dialogName);
    for (char& c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F)
            c = '_';
    }
    if (name.empty() || name.front() == '.')
        name.insert(0, "_");
    return name;
}

/// A date written by the editor ("%Y-%m-%d %H:%M:%S", local time) as the file's modification time.
bool SetModificationTime(const std::string& path, const std::string& date)
{
    std::tm local{};
    const char* end = strptime(date.c_str(), "%Y-%m-%d %H:%M:%S", &local);
    if (!end || *end != '\0')
        return false;
    local.tm_isdst = -1;
    const std::time_t time = std::mktime(&local);
    if (time == static_cast<std::time_t>(-1))
        return false;
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = time;
    times[1].tv_nsec = 0;
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

} // namespace

bool SafeRelativeName(std::string_view name, std::string& out)
{
    return ConfineRelativeName(name, out);
}

void TerminalStream::Feed(std::string_view bytes)
{
    while (!bytes.empty()) {
        if (m_fileRemaining > 0) {
            const size_t take = static_cast<size_t>(std::min<uint64_t>(m_fileRemaining, bytes.size()));
            m_fileRemaining -= take;
            if (onFileData)
                onFileData(bytes.substr(0, take));
            bytes.remove_prefix(take);
            if (m_fileRemaining == 0 && onFileEnd)
                onFileEnd();
            continue;
        }
        size_t consumed = 0;
        const FrameScanner::Event event = m_scanner.Step(bytes, consumed);
        bytes.remove_prefix(consumed);
        if (event == FrameScanner::Event::Frame) {
            // The handler may start file data (ExpectFileData) or reset this stream.
            const std::string text(m_scanner.Collected());
            if (onFrame)
                onFrame(text);
        } else if (event == FrameScanner::Event::Overflow) {
            if (onOverflow)
                onOverflow(m_scanner.Collected().size());
        } else {
            break;
        }
    }
}

void TerminalStream::ExpectFileData(uint64_t length)
{
    m_fileRemaining = length;
    if (length == 0 && onFileEnd)
        onFileEnd();
}

CTerminalSimulator::CTerminalSimulator(LinkLog& log, TerminalOptions options)
    : m_log(log), m_options(std::move(options))
{
    ResetStream();
}

void CTerminalSimulator::ResetStream()
{
    m_stream = TerminalStream{};
    m_stream.onFrame = [this](std::string_view text) { HandleFrame(text); };
    m_stream.onFileData = [this](std::string_view bytes) { FileData(bytes); };
    m_stream.onFileEnd = [this] { FileEnd(); };
    m_stream.onOverflow = [this](size_t dropped) {
        Log("frame longer than " + std::to_string(TerminalStream::kMaxFrame) + " bytes dropped (" +
                std::to_string(dropped) + " bytes)",
            LOG_ERROR);
    };
}

CTerminalSimulator::~CTerminalSimulator()
{
    AbandonTransfer();
}

bool CTerminalSimulator::Connect(const std::string& host, unsigned port)
{
    auto connection = std::make_unique<CTerminalSocket>(kTerminalConnectionId, this);
    if (!connection->ConnectTo(port, host, 0, nullptr))
        return false;
    m_connection = std::move(connection);
    return true;
}

bool CTerminalSimulator::Listen(unsigned port, const char* bindAddress)
{
    auto listener = std::make_unique<CTerminalSocket>(kCommandListenerId, this);
    if (!listener->StartListen(port, bindAddress))
        return false;
    m_listener = std::move(listener);
    return true;
}

unsigned CTerminalSimulator::ListeningPort() const
{
    std::string address;
    unsigned port = 0;
    return m_listener && m_listener->GetSockName(address, port) ? port : 0;
}

bool CTerminalSimulator::IsConnected() const
{
    return m_connection && m_connection->IsConnected();
}

void CTerminalSimulator::Log(const std::string& message, int level)
{
    m_log.AddLog(message, level);
}

void CTerminalSimulator::SocketConnected(CTerminalSocket* socket)
{
    if (socket == m_connection.get())
        Greet();
}

void CTerminalSimulator::SocketClosed(CTerminalSocket* socket)
{
    QPointer<CTerminalSocket> reporter(socket);
    QMetaObject::invokeMethod(
        this,
        [this, reporter] {
            if (!reporter)
                return;
            CTerminalSocket* closed = reporter.data();
            if (closed == m_connection.get()) {
                AbandonTransfer();
                m_connection.reset();
                if (onClosed)
                    onClosed();
            } else {
                std::erase_if(m_closing, [closed](const auto& held) { return held.get() == closed; });
            }
        },
        Qt::QueuedConnection);
}

void CTerminalSimulator::Accepted(std::unique_ptr<CTerminalSocket> connection)
{
    if (m_connection) {
        AbandonTransfer();
        CTerminalSocket* earlier = m_connection.get();
        m_closing.push_back(std::move(m_connection));
        earlier->ShutDownSocket("new editor connection");
    }
    ResetStream();
    m_connection = std::move(connection);
    std::string address;
    unsigned port = 0;
    m_connection->GetPeerName(address, port);
    Log("editor connected from " + address + ":" + std::to_string(port), LOG_INFO);
    Greet();
}

void CTerminalSimulator::Greet()
{
    if (onConnected)
        onConnected();
    SendRecord("{'Command':'HELLO','OS':" + Quoted(Utf8ToShiftJisExact(m_options.os)) + ",'ResolutionH':" +
               std::to_string(m_options.resolutionH) + ",'ResolutionV':" + std::to_string(m_options.resolutionV) + "}");
    for (const std::string& name : m_options.getFiles) {
        Request request;
        request.file = Utf8ToShiftJisExact(name);
        std::string record = "{'Command':'GETFILE','File':" + Quoted(request.file);
        std::string relative;
        if (!m_options.cacheDir.empty() && SafeRelativeName(name, relative)) {
            request.diskName = relative;
            struct stat status {};
            const std::string cached = m_options.cacheDir + "/" + relative;
            if (::stat(cached.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= 0x7FFFFFFF)
                record += ",'Length':" + std::to_string(status.st_size) +
                          ",'Date':" + Quoted(FormatFileDate(status.st_mtime));
        }
        record += "}";
        m_pending.push_back(std::move(request));
        SendRecord(record);
    }
}

void CTerminalSimulator::SendRecord(const std::string& record)
{
    if (!m_connection)
        return;
    m_connection->Send(&STX, 1);
    m_connection->Send(record.data(), static_cast<int>(record.size()));
    m_connection->Send(&ETX, 1);
    Log(record, LOG_SENT);
}

void CTerminalSimulator::Received(std::string_view bytes)
{
    m_stream.Feed(bytes);
}

void CTerminalSimulator::HandleFrame(std::string_view text)
{
    Log(std::string(text), LOG_RECEIVED);
    JsonParser parser;
    if (!parser.Parse(text)) {
        Log("frame does not parse: " + parser.ErrorText, LOG_ERROR);
        return;
    }
    auto member = [&parser](std::string_view key) {
        std::string value;
        parser.GetString(key, value);
        return value;
    };
    std::vector<std::string> dialogs;
    if (parser.IsArray("Commands")) {
        JsonArrayWalk walk(parser, parser.GetArray("Commands"));
        while (walk.NextElement())
            if (member("Command") == "DIALOG")
                dialogs.push_back(member("Name"));
        parser.SetCursor(&parser.Root());
    }
    const std::string command = member("Command");
    if (command == "DIALOG")
        dialogs.push_back(member("Name"));
    if (!dialogs.empty()) {
        HandleDialogFrame(text, dialogs);
    } else if (command == "KEEPALIVE") {
        if (m_options.answerKeepAlive)
            SendRecord(KeepAliveRecord());
    } else if (command == "PUTFILE") {
        HandlePutFile(member("File"), member("Status"), member("Length"), member("Date"));
    } else {
        Log("unknown command '" + command + "'", LOG_ERROR);
    }
}

void CTerminalSimulator::HandlePutFile(const std::string& file, const std::string& status, const std::string& length,
                                       const std::string& date)
{
    Request request;
    bool requested = false;
    for (auto it = m_pending.begin(); it != m_pending.end(); ++it)
        if (it->file == file) {
            request = *it;
            m_pending.erase(it);
            requested = true;
            break;
        }
    if (status == "ERROR") {
        ++m_filesFailed;
        Log("file " + file + ": ERROR", LOG_ERROR);
        return;
    }
    if (status == "LATEST") {
        ++m_filesLatest;
        Log("file " + file + ": up to date (" + date + ")", LOG_INFO);
        return;
    }
    uint64_t size = 0;
    auto parsed = std::from_chars(length.data(), length.data() + length.size(), size);
    if (length.empty() || parsed.ec != std::errc() || parsed.ptr != length.data() + length.size()) {
        ++m_filesFailed;
        Log("file " + file + ": PUTFILE without a length", LOG_ERROR);
        return;
    }
    m_transferName = file;
    m_transferDate = date;
    m_transferBytes = 0;
    m_transferFailed = false;
    m_transferPath.clear();
    if (!requested)
        Log("file " + file + ": not requested; its data is dropped", LOG_ERROR);
    else if (!request.diskName.empty()) {
        m_transferPath = m_options.cacheDir + "/" + request.diskName;
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(m_transferPath).parent_path(), error);
        m_transferFile = std::fopen((m_transferPath + ".part").c_str(), "wb");
        if (!m_transferFile) {
            m_transferFailed = true;
            Log("file " + file + ": cannot write " + Sjis(m_transferPath) + ".part", LOG_ERROR);
        }
    }
    m_stream.ExpectFileData(size);
}

void CTerminalSimulator::FileData(std::string_view bytes)
{
    m_transferBytes += bytes.size();
    if (m_transferFile && std::fwrite(bytes.data(), 1, bytes.size(), m_transferFile) != bytes.size())
        m_transferFailed = true;
}

void CTerminalSimulator::FileEnd()
{
    if (m_transferFile) {
        if (std::fclose(m_transferFile) != 0)
            m_transferFailed = true;
        m_transferFile = nullptr;
        const std::string part = m_transferPath + ".part";
        if (!m_transferFailed && std::rename(part.c_str(), m_transferPath.c_str()) != 0)
            m_transferFailed = true;
        if (m_transferFailed)
            std::remove(part.c_str());
        else
            SetModificationTime(m_transferPath, m_transferDate);
    }
    if (m_transferFailed) {
        ++m_filesFailed;
        Log("file " + m_transferName + ": " + std::to_string(m_transferBytes) + "Byte received, not stored", LOG_ERROR);
    } else {
        ++m_filesReceived;
        Log("file " + m_transferName + ": " + std::to_string(m_transferBytes) + "Byte received" +
                (m_transferPath.empty() ? std::string() : " into " + Sjis(m_transferPath)),
            LOG_RECEIVED);
    }
    m_transferName.clear();
    m_transferPath.clear();
}

void CTerminalSimulator::AbandonTransfer()
{
    if (!m_stream.InFileData())
        return;
    if (m_transferFile) {
        std::fclose(m_transferFile);
        m_transferFile = nullptr;
        std::remove((m_transferPath + ".part").c_str());
    }
    ++m_filesFailed;
    Log("file " + m_transferName + ": transfer cut short after " + std::to_string(m_transferBytes) + "Byte", LOG_ERROR);
    ResetStream();
}

void CTerminalSimulator::HandleDialogFrame(std::string_view text, const std::vector<std::string>& names)
{
    m_dialogsReceived += static_cast<int>(names.size());
    if (m_options.renderDir.empty()) {
        if (onDialog)
            for (const std::string& name : names)
                onDialog(std::string(text), name, std::string());
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(m_options.renderDir, error);
    for (const std::string& name : names) {
        const std::string base = m_options.renderDir + "/" + RenderFileName(name);
        std::FILE* out = std::fopen((base + ".json").c_str(), "wb");
        const bool written = out && std::fwrite(text.data(), 1, text.size(), out) == text.size();
        const bool closed = !out || std::fclose(out) == 0;
        if (written && closed)
            Log("dialog " + name + " written to " + Sjis(base) + ".json", LOG_INFO);
        else
            Log("cannot write " + Sjis(base) + ".json", LOG_ERROR);
        if (onDialog)
            onDialog(std::string(text), name, base);
    }
}

} // namespace vesk
