#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/savefile.h"

namespace vesk {

/// The folder of the editors' recovery journals: $XDG_STATE_HOME/VeskResourceEditor/recovery/,
/// else ~/.local/state/VeskResourceEditor/recovery/ (ending in '/'); empty when neither
/// variable names a folder.
std::string DefaultRecoveryFolder();

/// The small record beside a journal's project text.
struct JournalRecord {
    /// The project's own file, empty for a project that has none.
    std::string projectFile;
    /// When the journal was written, in seconds since the epoch.
    int64_t time = 0;
    /// The editor that wrote it.
    int64_t pid = 0;
    /// The project file's content as the editor last read or wrote it (unknown when it did
    /// neither), to tell later whether another program changed the file since.
    ContentStamp disk;

    /// The record's text: one "key=value" line each, the path with "\\" and line breaks escaped.
    std::string Text() const;
    /// The record of a text; nullopt when it is not one.
    static std::optional<JournalRecord> Parse(std::string_view text);
};

/// The files of one journal in the folder, all named by its id ("<pid>-<random>"): the project
/// text (.veskspro), the record (.record) and the lock (.lock) that the editor writing the
/// journal holds for as long as it runs.
struct JournalFiles {
    std::string folder;
    std::string id;

    std::string DataPath() const { return folder + id + ".veskspro"; }
    std::string RecordPath() const { return folder + id + ".record"; }
    std::string LockPath() const { return folder + id + ".lock"; }
    /// Removes the record first (so that no one takes the journal for whole any more), then the
    /// project text, then the lock.
    void Remove() const;
};

/// A hold on a journal's lock file: an exclusive lock of the file (flock) that no other editor,
/// nor another hold in this one, can take while it lasts, and that ends with the process however
/// it ends. Holds are moved, not copied.
class JournalLock {
public:
    JournalLock() = default;
    JournalLock(JournalLock&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    JournalLock& operator=(JournalLock&& other) noexcept;
    JournalLock(const JournalLock&) = delete;
    JournalLock& operator=(const JournalLock&) = delete;
    ~JournalLock() { Release(); }

    /// Takes the lock of the file, making it when missing; an empty hold when another holds it or
    /// the file cannot be made (errorText, when given, says why for the latter).
    static JournalLock Take(const std::string& path, std::string* errorText = nullptr);
    bool Held() const { return m_fd >= 0; }
    void Release();

private:
    int m_fd = -1;
};

/// A journal left by an editor that no longer runs, claimed: its lock is held, so that no other
/// editor offers or takes it meanwhile.
struct OrphanJournal {
    JournalFiles files;
    JournalRecord record;
    JournalLock lock;
};

/// Claims the journals in the folder whose editors no longer run, newest first; a journal whose
/// lock another editor holds is left alone. What is left of a journal without its record or its
/// project text (an editor stopped while it wrote or removed one) is removed.
std::vector<OrphanJournal> ClaimOrphanJournals(const std::string& folder);

/// A new journal id for this process: "<pid>-<random hex>".
std::string NewJournalId();

} // namespace vesk
