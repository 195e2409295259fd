#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include <QObject>
#include <QTimer>

#include "document/recoveryfiles.h"

namespace vesk {

class CTekDialogData;
class ProjectDocument;

/// When the journal of a project with unsaved changes is due: quiet milliseconds after the last
/// edit, and at the latest burst milliseconds after the first edit that no journal holds yet, so
/// that a long run of edits is still written every burst milliseconds. Times are milliseconds of
/// a steady clock.
class JournalSchedule {
public:
    JournalSchedule(int64_t quiet, int64_t burst) : m_quiet(quiet), m_burst(burst) {}
    void SetDelays(int64_t quiet, int64_t burst)
    {
        m_quiet = quiet;
        m_burst = burst;
    }
    /// An edit at now.
    void Edit(int64_t now);
    /// Whether edits wait for a journal.
    bool Pending() const { return m_pending; }
    /// When the journal is due (while edits wait).
    int64_t Due() const;
    /// A journal holds every edit so far.
    void Taken() { m_pending = false; }

private:
    int64_t m_quiet;
    int64_t m_burst;
    bool m_pending = false;
    int64_t m_first = 0;
    int64_t m_last = 0;
};

/// The recovery journal of the open project. While the project has unsaved changes its whole
/// text, as a save writes it, is kept in the recovery folder with a record of the project's file,
/// the time and the editor's process, so that the edits outlive a crash, a kill or a power loss.
/// The text is made on the GUI thread a few dialogs at a time (a dialog's record is made again
/// only after it changed) and written by a worker thread through the atomic save. A save (the
/// project's changed flag going off) removes the journal, and so does Remove at a clean close.
class RecoveryJournal : public QObject {
    Q_OBJECT

public:
    static constexpr int kQuietMs = 2000;
    static constexpr int kBurstMs = 30000;
    /// How long the GUI thread makes records at a time before other events run.
    static constexpr int kSliceMs = 5;

    /// A journal of the document's project in folder; with an empty folder nothing is written.
    RecoveryJournal(ProjectDocument& document, std::string folder, QObject* parent = nullptr);
    /// Waits for the worker. The journal's files stay, as after a crash: only Remove takes them.
    ~RecoveryJournal() override;

    void SetDelays(int quietMs, int burstMs);
    /// The project file's content as last read or written, for the record.
    void SetDiskStamp(const ContentStamp& stamp) { m_diskStamp = stamp; }
    /// Continues a journal that a stopped editor left as this one's own (its files and lock).
    void Adopt(OrphanJournal&& orphan);
    /// Removes the journal; later edits start a new one.
    void Remove();
    /// Makes the whole text at once and waits until it is written; false when the project has no
    /// unsaved changes, the folder is not set or the write failed.
    bool WriteNow();
    /// Makes one slice of the text, as the event loop does while a journal is due: the records of
    /// changed dialogs for up to kSliceMs, and once every record is made, the text goes to the
    /// worker. Answers whether it went.
    bool MakeSlice();
    /// Waits until the worker wrote or removed everything asked of it.
    void Flush();

    /// Whether edits wait for a journal.
    bool Pending() const { return m_schedule.Pending(); }
    /// The journal's files; the id is empty until the first write after a start or a removal.
    const JournalFiles& Files() const { return m_files; }
    /// The journals the worker wrote so far.
    int WrittenCount() const { return m_writtenCount; }
    const std::string& Folder() const { return m_folder; }

signals:
    /// The worker wrote a journal.
    void written();
    /// The worker could not write a journal, for the system's reason.
    void writeFailed(const QString& reason);

private:
    struct Task {
        bool remove = false;
        JournalFiles files;
        std::string head;
        std::vector<std::shared_ptr<const std::string>> records;
        std::string record;
        JournalLock lock; ///< a removal lets go of the lock once the files are gone
    };
    struct CachedRecord {
        std::weak_ptr<CTekDialogData> dialog;
        std::shared_ptr<const std::string> text;
    };

    void OnEdit();
    void Invalidate(const CTekDialogData* dialog);
    void StartMaking();
    /// The id, the folder and the lock of a new journal; false when they cannot be made.
    bool EnsureFiles();
    void Queue(Task task);
    void RunWorker();
    void WriteTask(const Task& task);

    ProjectDocument& m_document;
    std::string m_folder;
    JournalSchedule m_schedule{kQuietMs, kBurstMs};
    QTimer m_dueTimer;
    QTimer m_sliceTimer;
    bool m_making = false;
    std::unordered_map<const CTekDialogData*, CachedRecord> m_cache;
    ContentStamp m_diskStamp;
    JournalFiles m_files;
    JournalLock m_lock;
    int m_writtenCount = 0;
    bool m_lastWriteFailed = false;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Task> m_tasks;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_worker;
};

} // namespace vesk
