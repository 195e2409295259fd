#include "model/savefile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vesk {

namespace {

bool Fail(std::string* errorText, const std::string& what, int error)
{
    if (errorText)
        *errorText = what + ": " + std::strerror(error);
    return false;
}

} // namespace

FileResult FileResult::Failed(int error)
{
    return {false, std::strerror(error)};
}

FileResult WriteFileAtomically(const std::string& path, std::string_view data)
{
    std::error_code ec;
    std::string target = path;
    if (std::filesystem::is_symlink(path, ec)) {
        auto resolved = std::filesystem::weakly_canonical(path, ec);
        if (!ec)
            target = resolved.string();
    }
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && S_ISDIR(old.st_mode))
        return FileResult::Failed(EISDIR);

    std::string temp = target + ".XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return FileResult::Failed(errno);
    auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        return FileResult::Failed(error);
    };
    // Keep the old file's permissions; a new file gets the usual ones for the umask.
    mode_t mode = existed ? (old.st_mode & 07777) : [] {
        mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    if (::fchmod(fd, mode) != 0)
        return abandon(errno);
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return abandon(errno);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0)
        return abandon(errno);
    if (::close(fd) != 0) {
        int error = errno;
        ::unlink(temp.c_str());
        return FileResult::Failed(error);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        int error = errno;
        ::unlink(temp.c_str());
        return FileResult::Failed(error);
    }
    return {};
}

bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* errorText)
{
    FileResult result = WriteFileAtomically(path, data);
    if (!result && errorText)
        *errorText = path + ": " + result.reason;
    return result.ok;
}

bool ReadWholeFile(const std::string& path, std::string& contents, std::string* errorText)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Fail(errorText, path, errno);
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return Fail(errorText, path, EISDIR);
    }
    // Read straight into the text; a file that grows meanwhile is read to its end. The byte past
    // the expected size lets the read that finds the end do so without growing the text.
    contents.resize(info.st_size > 0 ? static_cast<size_t>(info.st_size) + 1 : 0);
    size_t used = 0;
    for (;;) {
        if (used == contents.size())
            contents.resize(used + 65536);
        ssize_t n = ::read(fd, contents.data() + used, contents.size() - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int error = errno;
            ::close(fd);
            contents.clear();
            return Fail(errorText, path, error);
        }
        if (n == 0)
            break;
        used += static_cast<size_t>(n);
    }
    contents.resize(used);
    ::close(fd);
    return true;
}

ContentStamp ContentStamp::Of(std::string_view bytes)
{
    // Eight bytes at a time, mixed by multiplication: fast on large projects, and any change of
    // a byte or of the length changes the stamp but for a chance of one in 2^64.
    uint64_t hash = 0x9E3779B97F4A7C15ull ^ bytes.size();
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
    }
    uint64_t rest = 0;
    if (i < bytes.size())
        std::memcpy(&rest, bytes.data() + i, bytes.size() - i);
    hash = (hash ^ rest) * 0xC4CEB9FE1A85EC53ull;
    hash ^= hash >> 29;
    return {true, bytes.size(), hash};
}

ContentStamp ContentStamp::OfFile(const std::string& path)
{
    std::string contents;
    if (!ReadWholeFile(path, contents))
        return {};
    return Of(contents);
}

std::string ContentStamp::Text() const
{
    if (!known)
        return {};
    char text[40];
    std::snprintf(text, sizeof text, "%llx:%016llx", static_cast<unsigned long long>(size),
                  static_cast<unsigned long long>(hash));
    return text;
}

ContentStamp ContentStamp::Parse(std::string_view text)
{
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon + 1 == text.size())
        return {};
    ContentStamp stamp{true, 0, 0};
    const auto hex = [](std::string_view digits, uint64_t& value) {
        if (digits.size() > 16)
            return false;
        value = 0;
        for (char c : digits) {
            const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            if (digit < 0)
                return false;
            value = value * 16 + static_cast<uint64_t>(digit);
        }
        return true;
    };
    if (!hex(text.substr(0, colon), stamp.size) || !hex(text.substr(colon + 1), stamp.hash))
        return {};
    return stamp;
}

} // namespace vesk
