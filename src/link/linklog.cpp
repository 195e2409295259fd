#include "link/linklog.h"

#include <ostream>

#include "textconv/textconv.h"

namespace vesk {

std::string_view LogMarker(int level)
{
    switch (level) {
    case LOG_INFO:
        return "#";
    case LOG_ERROR:
        return "!";
    case LOG_RECEIVED:
        return "<";
    case LOG_SENT:
        return ">";
    default:
        return "?";
    }
}

std::string FormatLogLine(const std::tm& localTime, int level, std::string_view message)
{
    char time[16];
    std::strftime(time, sizeof time, "%H:%M:%S", &localTime);
    std::string line = time;
    line += LogMarker(level);
    line += message;
    return line;
}

std::string LogDisplayText(std::string_view text)
{
    std::string shown;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        const std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (DetectEncoding(line) == TextEncoding::Utf8)
            shown += line;
        else
            shown += ShiftJisToUtf8Exact(line);
        if (end == std::string_view::npos)
            return shown;
        shown += '\n';
        start = end + 1;
    }
}

namespace {

std::tm LocalNow()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

} // namespace

void ConsoleLinkLog::AddLog(const std::string& message, int level)
{
    m_out << LogDisplayText(FormatLogLine(LocalNow(), level, message)) << '\n';
    m_out.flush();
}

void ConsoleLinkLog::ShowMessage(const std::string& text)
{
    AddLog(text, LOG_ERROR);
}

} // namespace vesk
