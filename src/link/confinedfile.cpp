#include "link/confinedfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

#include "textconv/textconv.h"

namespace vesk {

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

/// A name requested over the link (Shift_JIS or UTF-8) as a confined UTF-8 name, or false.
bool NormaliseRelative(std::string_view relative, std::string& out)
{
    // Convert first: the second byte of a Shift_JIS character may be 0x5C, which is no separator.
    if (DetectEncoding(relative) == TextEncoding::ShiftJis)
        return ConfineRelativeName(ShiftJisToUtf8Exact(relative), out);
    return ConfineRelativeName(relative, out);
}

} // namespace

bool ConfineRelativeName(std::string_view name, std::string& out)
{
    if (name.empty())
        return false;
    std::string result(name);
    for (char& c : result) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return false;
        if (c == '\\')
            c = '/';
    }
    if (result.front() == '/' || result.back() == '/')
        return false;
    if (result.size() >= 2 && result[1] == ':' &&
        ((result[0] >= 'A' && result[0] <= 'Z') || (result[0] >= 'a' && result[0] <= 'z')))
        return false;
    for (size_t start = 0; start <= result.size();) {
        size_t end = result.find('/', start);
        if (end == std::string::npos)
            end = result.size();
        if (result.compare(start, end - start, "..") == 0)
            return false;
        start = end + 1;
    }
    out = std::move(result);
    return true;
}

namespace {

bool CanonicalPath(const std::string& path, std::string& out, int& error)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) {
        error = errno;
        return false;
    }
    out = resolved;
    std::free(resolved);
    return true;
}

bool IsInside(const std::string& path, const std::string& folder)
{
    if (folder == "/")
        return path.size() > 1 && path.front() == '/';
    return path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

ConfinedFileStatus StatusForError(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
        return ConfinedFileStatus::Missing;
    case ELOOP:
        return ConfinedFileStatus::Refused;
    default:
        return ConfinedFileStatus::Unreadable;
    }
}

} // namespace

ConfinedFile::~ConfinedFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

ConfinedFile::ConfinedFile(ConfinedFile&& other) noexcept
    : m_status(other.m_status), m_fd(std::exchange(other.m_fd, -1)), m_size(other.m_size), m_modified(other.m_modified)
{
}

ConfinedFile& ConfinedFile::operator=(ConfinedFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_status = other.m_status;
        m_fd = std::exchange(other.m_fd, -1);
        m_size = other.m_size;
        m_modified = other.m_modified;
    }
    return *this;
}

int ConfinedFile::Release()
{
    return std::exchange(m_fd, -1);
}

ConfinedFile ConfinedFile::Open(std::string_view folder, std::string_view relative)
{
    ConfinedFile file;
    std::string name;
    if (!NormaliseRelative(relative, name)) {
        file.m_status = ConfinedFileStatus::Refused;
        return file;
    }
    std::string base;
    std::string target;
    int error = 0;
    if (!CanonicalPath(TrimFolder(folder), base, error)) {
        file.m_status = ConfinedFileStatus::Missing;
        return file;
    }
    if (!CanonicalPath(base + "/" + name, target, error)) {
        file.m_status = StatusForError(error);
        return file;
    }
    if (!IsInside(target, base)) {
        file.m_status = ConfinedFileStatus::Refused;
        return file;
    }
    int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        file.m_status = StatusForError(errno);
        return file;
    }
    // The path may have changed between resolving and opening: check what was opened.
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char opened[PATH_MAX];
    ssize_t length = ::readlink(link, opened, sizeof opened - 1);
    if (length > 0 && !IsInside(std::string(opened, static_cast<size_t>(length)), base)) {
        ::close(fd);
        file.m_status = ConfinedFileStatus::Refused;
        return file;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        file.m_status = ConfinedFileStatus::Unreadable;
        return file;
    }
    file.m_status = ConfinedFileStatus::Opened;
    file.m_fd = fd;
    file.m_size = static_cast<uint64_t>(status.st_size);
    file.m_modified = status.st_mtime;
    return file;
}

std::string FormatFileDate(std::time_t time)
{
    std::tm local{};
    localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string TrimFolder(std::string_view folder)
{
    while (folder.size() > 1 && IsSeparator(folder.back()))
        folder.remove_suffix(1);
    return std::string(folder);
}

} // namespace vesk
