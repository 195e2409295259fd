#include "document/recoveryfiles.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vesk {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRecordHead = "VeskResourceEditor recovery journal";

std::string Escaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string Unescaped(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

bool ReadInt(std::string_view text, int64_t& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

/// The id a file of the folder belongs to (its name up to the first dot), or empty.
std::string IdOfFile(const std::string& name)
{
    const size_t dot = name.find('.');
    if (dot == std::string::npos || dot == 0)
        return {};
    const std::string id = name.substr(0, dot);
    // "<pid>-<random hex>"
    const size_t dash = id.find('-');
    if (dash == std::string::npos || dash == 0 || dash + 1 == id.size())
        return {};
    for (size_t i = 0; i < id.size(); ++i)
        if (i != dash && !std::isxdigit(static_cast<unsigned char>(id[i])))
            return {};
    return id;
}

} // namespace

std::string DefaultRecoveryFolder()
{
    std::string base;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/')
        base = state;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.local/state";
    else
        return {};
    if (!base.ends_with('/'))
        base += '/';
    return base + "VeskResourceEditor/recovery/";
}

std::string JournalRecord::Text() const
{
    std::string text(kRecordHead);
    text += "\nfile=" + Escaped(projectFile);
    text += "\ntime=" + std::to_string(time);
    text += "\npid=" + std::to_string(pid);
    text += "\ndisk=" + disk.Text();
    text += '\n';
    return text;
}

std::optional<JournalRecord> JournalRecord::Parse(std::string_view text)
{
    if (!text.starts_with(kRecordHead))
        return std::nullopt;
    JournalRecord record;
    bool time = false;
    bool pid = false;
    size_t at = kRecordHead.size();
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == "file")
            record.projectFile = Unescaped(value);
        else if (key == "time")
            time = ReadInt(value, record.time);
        else if (key == "pid")
            pid = ReadInt(value, record.pid);
        else if (key == "disk")
            record.disk = ContentStamp::Parse(value);
    }
    if (!time || !pid)
        return std::nullopt;
    return record;
}

void JournalFiles::Remove() const
{
    for (const std::string& path : {RecordPath(), DataPath(), LockPath()})
        ::unlink(path.c_str());
}

JournalLock& JournalLock::operator=(JournalLock&& other) noexcept
{
    if (this != &other) {
        Release();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

JournalLock JournalLock::Take(const std::string& path, std::string* errorText)
{
    JournalLock lock;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errorText)
            *errorText = path + ": " + std::strerror(errno);
        return lock;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return lock;
    }
    lock.m_fd = fd;
    return lock;
}

void JournalLock::Release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::vector<OrphanJournal> ClaimOrphanJournals(const std::string& folder)
{
    std::vector<OrphanJournal> orphans;
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec))
        return orphans;
    // The files of each journal, by id.
    std::map<std::string, std::vector<std::string>> journals;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (const std::string id = IdOfFile(name); !id.empty())
            journals[id].push_back(name);
    }
    for (const auto& [id, names] : journals) {
        JournalFiles files{folder, id};
        JournalLock lock = JournalLock::Take(files.LockPath());
        if (!lock.Held())
            continue; // its editor runs, or the folder cannot be written
        // Temporary files of a write that was cut short.
        for (const std::string& name : names)
            if (name != id + ".veskspro" && name != id + ".record" && name != id + ".lock")
                ::unlink((folder + name).c_str());
        struct stat data {};
        if (::stat(files.DataPath().c_str(), &data) != 0 || !S_ISREG(data.st_mode)) {
            files.Remove();
            continue;
        }
        std::string text;
        std::optional<JournalRecord> record;
        if (ReadWholeFile(files.RecordPath(), text))
            record = JournalRecord::Parse(text);
        if (!record) {
            // Stopped between the project text and the record of a first write: the text is
            // kept, as a project without a file, from the time it was written.
            record = JournalRecord{};
            record->time = static_cast<int64_t>(data.st_mtime);
            ReadInt(std::string_view(id).substr(0, id.find('-')), record->pid);
        }
        orphans.push_back(OrphanJournal{std::move(files), std::move(*record), std::move(lock)});
    }
    std::stable_sort(orphans.begin(), orphans.end(),
                     [](const OrphanJournal& a, const OrphanJournal& b) { return a.record.time > b.record.time; });
    return orphans;
}

std::string NewJournalId()
{
    static std::mt19937_64 random(std::random_device{}() ^ static_cast<uint64_t>(::getpid()));
    char id[48];
    std::snprintf(id, sizeof id, "%ld-%08llx", static_cast<long>(::getpid()),
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFull));
    return id;
}

} // namespace vesk
