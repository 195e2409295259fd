#include "link/commandprotocol.h"

#include <algorithm>
#include <cstring>

#include "link/confinedfile.h"
#include "link/linklog.h"
#include "link/protocolpeer.h"
#include "link/socketerrors.h"
#include "model/itemdata.h"
#include "model/jsonparser.h"

namespace vesk {

namespace {

/// A received text as the log shows it: up to its first 0 byte.
std::string_view UpToNul(std::string_view text)
{
    return text.substr(0, std::min(text.find('\0'), text.size()));
}

std::string Quoted(std::string_view text)
{
    std::string out = "'";
    AppendEscaped(out, text);
    out += '\'';
    return out;
}

} // namespace

FrameScanner::Event FrameScanner::Step(std::string_view bytes, size_t& consumed)
{
    size_t i = 0;
    if (!m_inFrame || m_message.size() >= m_capacity)
        m_message.clear();
    while (i < bytes.size()) {
        if (!m_inFrame) {
            const size_t start = bytes.find(STX, i);
            if (start == std::string_view::npos) {
                i = bytes.size();
                break;
            }
            i = start + 1;
            m_inFrame = true;
            m_message.clear();
            continue;
        }
        const size_t take = std::min(bytes.size() - i, m_capacity - m_message.size());
        const std::string_view piece = bytes.substr(i, take);
        const size_t end = piece.find(ETX);
        if (end != std::string_view::npos) {
            m_message.append(piece.substr(0, end));
            consumed = i + end + 1;
            m_inFrame = false;
            return Event::Frame;
        }
        m_message.append(piece);
        i += take;
        if (m_message.size() >= m_capacity) {
            consumed = i;
            m_inFrame = false;
            return Event::Overflow;
        }
    }
    consumed = i;
    return Event::None;
}

void FrameScanner::Feed(std::string_view bytes, const std::function<void(std::string_view)>& onFrame,
                        const std::function<void(std::string_view)>& onOverflow)
{
    while (!bytes.empty()) {
        size_t consumed = 0;
        const Event event = Step(bytes, consumed);
        bytes.remove_prefix(consumed);
        if (event == Event::Frame)
            onFrame(m_message);
        else if (event == Event::Overflow)
            onOverflow(m_message);
        else
            break;
        m_message.clear();
    }
}

std::string KeepAliveRecord()
{
    return "{'Command':'KEEPALIVE'}";
}

std::string PutFileErrorRecord(std::string_view file, std::string_view objectName)
{
    std::string record = "{'Command':'PUTFILE','File':" + Quoted(file) + ",'Status':'ERROR'";
    if (!objectName.empty())
        record += ",'Name':" + Quoted(objectName);
    return record + "}";
}

std::string PutFileLatestRecord(std::string_view file, std::string_view date, std::string_view objectName)
{
    std::string record = "{'Command':'PUTFILE','File':" + Quoted(file) + ",'Status':'LATEST','Date':" + Quoted(date);
    if (!objectName.empty())
        record += ",'ObjectName':" + Quoted(objectName);
    return record + "}";
}

std::string PutFileHeaderRecord(std::string_view file, uint64_t length, std::string_view date,
                                std::string_view objectName)
{
    std::string record = "{'Command':'PUTFILE','File':" + Quoted(file) + ",'Length':" + std::to_string(length) +
                         ",'Date':" + Quoted(date);
    if (!objectName.empty())
        record += ",'ObjectName':" + Quoted(objectName);
    return record + "}";
}

void CommandConnection::Receive(std::string_view bytes)
{
    m_scanner.Feed(
        bytes, [this](std::string_view frame) { HandleFrame(frame); },
        [this](std::string_view collected) {
            m_peer.Log(Sjis("コマンド受信エラー ") + std::to_string(FrameScanner::kCapacity) +
                           Sjis("Byte 受信でETXが見つかりませんでした。\n") + std::string(UpToNul(collected)),
                       LOG_ERROR);
        });
}

void CommandConnection::HandleFrame(std::string_view text)
{
    JsonParser parser;
    if (!parser.Parse(text)) {
        m_peer.Log(Sjis("コマンド解析エラー:") + parser.ErrorText, LOG_ERROR);
        return;
    }
    m_frameText = text;
    int recognised = 0;
    if (parser.IsArray("Commands")) {
        JsonArrayWalk walk(parser, parser.GetArray("Commands"));
        while (walk.NextElement()) {
            recognised = ExecuteCommand(parser);
            if (!recognised)
                break;
        }
    } else {
        recognised = ExecuteCommand(parser);
    }
    if (!recognised)
        m_peer.Log(Sjis("コマンド受信 ") + std::to_string(text.size()) +
                       Sjis("Byte 未登録のコマンドを受信しました。\n") + std::string(UpToNul(text)),
                   LOG_RECEIVED);
    m_frameText = {};
}

int CommandConnection::ExecuteCommand(JsonParser& parser)
{
    auto member = [&parser](std::string_view key) {
        std::string value;
        parser.GetString(key, value);
        return value;
    };
    const std::string command = member("Command");
    if (command == "KEEPALIVE") {
        std::string line = Sjis("受信：KEEPALIVE");
        if (member("Status") == "DESTROY")
            line += Sjis("終了ステータス");
        m_peer.Log(line, LOG_RECEIVED);
        m_peer.KeepAliveReply();
        return 1;
    }
    if (command == "DIALOG") {
        m_peer.Log(Sjis("受信：DIALOG"), LOG_RECEIVED);
        return 1;
    }
    if (command == "HELLO") {
        m_peer.Log(Sjis("受信：HELLO OS:") + member("OS") + " Resolution " + member("ResolutionH") + " x " +
                       member("ResolutionV"),
                   LOG_RECEIVED);
        return 1;
    }
    if (command == "CHANGE") {
        std::string line = Sjis("受信：CHANGE");
        const auto* cursor = parser.Cursor();
        if (parser.EnterObject("Dialog"))
            line += " Dialog Name:" + member("Name");
        parser.SetCursor(cursor);
        m_peer.Log(line, LOG_RECEIVED);
        return 1;
    }
    if (command == "CONDITION") {
        m_peer.Log(Sjis("受信：CONDITION ") + std::string(UpToNul(m_frameText)), LOG_RECEIVED);
        return 1;
    }
    if (command == "GETFILE") {
        HandleGetFile(parser);
        return 1;
    }
    return 0;
}

void CommandConnection::HandleGetFile(JsonParser& parser)
{
    std::string file, objectName, date;
    int length = 0;
    parser.GetString("File", file);
    parser.GetString("ObjectName", objectName);
    parser.GetString("Date", date);
    parser.GetInt("Length", length);

    std::string line = Sjis("受信：GETFILE");
    if (!file.empty())
        line += " File:" + file;
    if (!objectName.empty())
        line += " ObjectName:" + objectName;
    if (!date.empty())
        line += " Date:" + date;
    if (length > 0)
        line += " Length:" + std::to_string(length);
    m_peer.Log(line, LOG_RECEIVED);

    ConfinedFile found = ConfinedFile::Open(TrimFolder(m_peer.ProjectFolder()) + "/resources", file);
    if (found.Status() == ConfinedFileStatus::Refused || found.Status() == ConfinedFileStatus::Missing) {
        SendRecord(PutFileErrorRecord(file, objectName));
        return;
    }
    if (!found.IsOpen())
        return;
    const uint64_t size = found.Size();
    const std::string fileDate = FormatFileDate(found.ModificationTime());
    if (static_cast<uint32_t>(length) == static_cast<uint32_t>(size) && date == fileDate) {
        SendRecord(PutFileLatestRecord(file, fileDate, objectName));
        return;
    }
    const std::string header = PutFileHeaderRecord(file, size, fileDate, objectName);
    SendChecked(&STX, 1, header);
    SendChecked(header.data(), static_cast<int>(header.size()), header);
    SendChecked(&ETX, 1, header);
    if (!m_peer.SendFileData(found.Release(), size))
        m_peer.Log(Sjis("送信 error ret:-1 != send:") + std::to_string(size) +
                       " (eno:" + std::to_string(m_peer.LastError()) + ")\n" + header,
                   LOG_ERROR);
    m_peer.Log(Sjis("送信 ") + std::to_string(header.size()) + "+4+" + std::to_string(size) + "Byte\n" + header,
               LOG_SENT);
}

void CommandConnection::SendChecked(const char* data, int length, const std::string& header)
{
    const int sent = m_peer.SendBytes(data, length);
    if (sent != length)
        m_peer.Log(Sjis("送信 error ret:") + std::to_string(sent) + " != send:" + std::to_string(length) +
                       " (eno:" + std::to_string(m_peer.LastError()) + ")\n" + header,
                   LOG_ERROR);
}

void CommandConnection::SendRecord(const std::string& record)
{
    m_peer.SendBytes(&STX, 1);
    m_peer.SendBytes(record.data(), static_cast<int>(record.size()));
    m_peer.SendBytes(&ETX, 1);
    m_peer.Log(Sjis("送信 ") + std::to_string(record.size()) + "Byte\n" + record, LOG_SENT);
}

} // namespace vesk
