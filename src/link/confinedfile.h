#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace vesk {

/// How opening a file requested over the link ended.
enum class ConfinedFileStatus {
    Opened,     ///< the file is open for reading
    Refused,    ///< the name is malformed or leads outside the folder; nothing was opened
    Missing,    ///< no such file
    Unreadable, ///< it exists but is not a regular file or cannot be opened
};

/// A file of a served folder, opened for reading. Owns the descriptor until Release().
class ConfinedFile {
public:
    ConfinedFile() = default;
    ~ConfinedFile();
    ConfinedFile(ConfinedFile&& other) noexcept;
    ConfinedFile& operator=(ConfinedFile&& other) noexcept;
    ConfinedFile(const ConfinedFile&) = delete;
    ConfinedFile& operator=(const ConfinedFile&) = delete;

    ConfinedFileStatus Status() const { return m_status; }
    bool IsOpen() const { return m_status == ConfinedFileStatus::Opened; }
    uint64_t Size() const { return m_size; }
    std::time_t ModificationTime() const { return m_modified; }
    /// Hands the descriptor over; the caller closes it.
    int Release();

    /// Opens folder/relative for reading. The relative name uses "/" or "\" between folders and
    /// must stay inside the folder: a name with a ".." segment, an absolute name (leading separator
    /// or a drive letter), a control byte, or one that resolves (through symbolic links) outside
    /// the folder is refused, and no file outside is opened. A Shift_JIS name is looked up as UTF-8.
    static ConfinedFile Open(std::string_view folder, std::string_view relative);

private:
    ConfinedFileStatus m_status = ConfinedFileStatus::Missing;
    int m_fd = -1;
    uint64_t m_size = 0;
    std::time_t m_modified = 0;
};

/// The one rule by which a relative file name (UTF-8) of the link may name a file under a folder:
/// it is not empty, holds no control byte (below 0x20, or 0x7F), uses "/" or "\" between folders,
/// does not start with a separator or a drive letter ("C:"), has no ".." segment and does not end
/// with a separator. Answers true with the name, "/" between folders, in out; false when refused.
bool ConfineRelativeName(std::string_view name, std::string& out);

/// A modification time as the link writes it: local time "%Y-%m-%d %H:%M:%S".
std::string FormatFileDate(std::time_t time);

/// A folder setting without its trailing separators ("/" or "\"), "/" kept for the root.
std::string TrimFolder(std::string_view folder);

} // namespace vesk
