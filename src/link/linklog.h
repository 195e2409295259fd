#pragma once

#include <ctime>
#include <iosfwd>
#include <string>
#include <string_view>

namespace vesk {

/// Levels of the link log.
constexpr int LOG_INFO = 0;     ///< normal connection events
constexpr int LOG_ERROR = 1;    ///< failures
constexpr int LOG_RECEIVED = 2; ///< something arrived from the peer
constexpr int LOG_SENT = 3;     ///< something was sent to the peer
constexpr int LOG_TRACE = 5;    ///< entry of a notification or shutdown routine

/// The marker that the log shows for a level: "#", "!", "<", ">", and "?" for 5 and above.
std::string_view LogMarker(int level);

/// One line of the link log as it is shown: the time as "%H:%M:%S", the level's marker and the
/// message, without the line end. The message stays in its encoding (Shift_JIS).
std::string FormatLogLine(const std::tm& localTime, int level, std::string_view message);

/// A log text made readable as UTF-8, line by line: Shift_JIS lines are converted, lines that
/// are UTF-8 already (records carry their display texts in UTF-8) are kept as they are.
std::string LogDisplayText(std::string_view text);

/// Where the link writes its log lines and the few texts the user must acknowledge. Every text is
/// Shift_JIS, as the system holds it.
class LinkLog {
public:
    virtual ~LinkLog() = default;
    /// Adds one line (it may continue over further lines after a line feed) at that level.
    virtual void AddLog(const std::string& message, int level) = 0;
    /// A text that the editor shows in a message box: a failed receive or a failed start of listening.
    virtual void ShowMessage(const std::string& text) = 0;
};

/// Prints each log line as the log shows it, in UTF-8 (Shift_JIS lines converted, lines that are
/// UTF-8 already kept), and flushes at once. Message-box texts are printed as error lines.
class ConsoleLinkLog : public LinkLog {
public:
    explicit ConsoleLinkLog(std::ostream& out) : m_out(out) {}
    void AddLog(const std::string& message, int level) override;
    void ShowMessage(const std::string& text) override;

private:
    std::ostream& m_out;
};

} // namespace vesk
