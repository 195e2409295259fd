#include "document/recoveryjournal.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <unistd.h>

#include "document/projectdocument.h"
#include "records/resourcefile.h"
#include "model/savefile.h"

namespace vesk {

namespace {

int64_t SteadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

// --- Schedule ---------------------------------------------------------------------------------

void JournalSchedule::Edit(int64_t now)
{
    if (!m_pending) {
        m_pending = true;
        m_first = now;
    }
    m_last = now;
}

int64_t JournalSchedule::Due() const
{
    return std::min(m_last + m_quiet, m_first + m_burst);
}

// --- Journal ----------------------------------------------------------------------------------

RecoveryJournal::RecoveryJournal(ProjectDocument& document, std::string folder, QObject* parent)
    : QObject(parent), m_document(document), m_folder(std::move(folder))
{
    if (!m_folder.empty() && !m_folder.ends_with('/'))
        m_folder += '/';
    m_dueTimer.setSingleShot(true);
    connect(&m_dueTimer, &QTimer::timeout, this, &RecoveryJournal::StartMaking);
    m_sliceTimer.setInterval(0);
    connect(&m_sliceTimer, &QTimer::timeout, this, &RecoveryJournal::MakeSlice);

    // Records made earlier stay good until their dialog changes; the whole project changing
    // (a load, a discard, a change of the dialog list or of the project's own items) makes them
    // all anew.
    connect(&document, &ProjectDocument::dialogChanged, this, [this](CTekDialogData* dialog) {
        Invalidate(dialog);
        OnEdit();
    });
    connect(&document, &ProjectDocument::projectReset, this, [this] {
        Invalidate(nullptr);
        OnEdit();
    });
    connect(&document, &ProjectDocument::modifiedChanged, this, [this](bool modified) {
        if (modified)
            OnEdit();
        else
            Remove();
    });
    if (!m_folder.empty())
        m_worker = std::thread([this] { RunWorker(); });
}

RecoveryJournal::~RecoveryJournal()
{
    if (m_worker.joinable()) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        m_worker.join();
    }
}

void RecoveryJournal::SetDelays(int quietMs, int burstMs)
{
    m_schedule.SetDelays(quietMs, burstMs);
    if (m_schedule.Pending() && !m_making)
        m_dueTimer.start(static_cast<int>(std::max<int64_t>(0, m_schedule.Due() - SteadyMs())));
}

void RecoveryJournal::Invalidate(const CTekDialogData* dialog)
{
    if (dialog)
        m_cache.erase(dialog);
    else
        m_cache.clear();
}

void RecoveryJournal::OnEdit()
{
    if (m_folder.empty() || !m_document.IsModified())
        return;
    m_schedule.Edit(SteadyMs());
    // While the text is being made, a change is taken in by the slices still to come.
    if (!m_making)
        m_dueTimer.start(static_cast<int>(std::max<int64_t>(0, m_schedule.Due() - SteadyMs())));
}

void RecoveryJournal::StartMaking()
{
    if (!m_document.IsModified()) {
        m_schedule.Taken();
        return;
    }
    m_making = true;
    m_sliceTimer.start();
}

bool RecoveryJournal::MakeSlice()
{
    if (!m_document.IsModified() || m_folder.empty()) {
        m_making = false;
        m_sliceTimer.stop();
        m_schedule.Taken();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    const CTekResourceData& resource = m_document.Resource();
    const CTekDialogDataList& dialogs = resource.Dialogs();
    std::vector<std::shared_ptr<const std::string>> records;
    records.reserve(static_cast<size_t>(dialogs.Count()));
    for (int i = 0; i < dialogs.Count(); ++i) {
        const DialogPtr dialog = dialogs.PtrAt(i);
        if (!dialog->RootObject())
            continue;
        CachedRecord& cached = m_cache[dialog.get()];
        if (!cached.text || cached.dialog.lock() != dialog) {
            cached.dialog = dialog;
            cached.text = std::make_shared<const std::string>(DialogRecordText(*dialog));
            if (clock.elapsed() >= kSliceMs && i + 1 < dialogs.Count())
                return false; // the rest in the next slice, after other events
        }
        records.push_back(cached.text);
    }
    // Every record holds the project as it is now.
    if (m_cache.size() > records.size()) {
        for (auto it = m_cache.begin(); it != m_cache.end();) {
            const std::shared_ptr<CTekDialogData> dialog = it->second.dialog.lock();
            if (!dialog || dialogs.IndexOf(dialog.get()) < 0)
                it = m_cache.erase(it);
            else
                ++it;
        }
    }
    m_making = false;
    m_sliceTimer.stop();
    m_schedule.Taken();
    if (!EnsureFiles())
        return false;
    Task task;
    task.files = m_files;
    task.head = ResourceHead(resource);
    task.records = std::move(records);
    JournalRecord record;
    record.projectFile = resource.FileName();
    record.time = static_cast<int64_t>(std::time(nullptr));
    record.pid = ::getpid();
    record.disk = m_diskStamp;
    task.record = record.Text();
    Queue(std::move(task));
    return true;
}

bool RecoveryJournal::EnsureFiles()
{
    if (!m_files.id.empty())
        return true;
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace,
                                 ec);
    JournalFiles files{m_folder, NewJournalId()};
    std::string error;
    JournalLock lock = JournalLock::Take(files.LockPath(), &error);
    if (!lock.Held()) {
        emit writeFailed(QString::fromLocal8Bit(error.c_str()));
        return false;
    }
    m_files = std::move(files);
    m_lock = std::move(lock);
    return true;
}

void RecoveryJournal::Adopt(OrphanJournal&& orphan)
{
    Remove();
    m_files = std::move(orphan.files);
    m_lock = std::move(orphan.lock);
}

void RecoveryJournal::Remove()
{
    m_dueTimer.stop();
    m_sliceTimer.stop();
    m_making = false;
    m_schedule.Taken();
    if (m_files.id.empty())
        return;
    Task task;
    task.remove = true;
    task.files = m_files;
    task.lock = std::move(m_lock);
    m_files = JournalFiles{};
    Queue(std::move(task));
}

bool RecoveryJournal::WriteNow()
{
    if (m_folder.empty() || !m_document.IsModified())
        return false;
    m_dueTimer.stop();
    m_making = true;
    while (!MakeSlice() && m_making) {
    }
    const int before = m_writtenCount;
    Flush();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    return m_writtenCount > before && !m_lastWriteFailed;
}

void RecoveryJournal::Flush()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return m_tasks.empty() && !m_busy; });
}

void RecoveryJournal::Queue(Task task)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        // Only the newest text of a journal matters, and a removal makes every write before it
        // needless: writes not yet started are dropped.
        std::erase_if(m_tasks, [](const Task& queued) { return !queued.remove; });
        m_tasks.push_back(std::move(task));
    }
    m_wake.notify_one();
}

void RecoveryJournal::RunWorker()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_tasks.empty(); });
        if (m_tasks.empty())
            return; // stopping, with everything done
        Task task = std::move(m_tasks.front());
        m_tasks.pop_front();
        m_busy = true;
        lock.unlock();
        if (task.remove)
            task.files.Remove();
        else
            WriteTask(task);
        task.lock.Release();
        lock.lock();
        m_busy = false;
        if (m_tasks.empty())
            m_idle.notify_all();
    }
}

void RecoveryJournal::WriteTask(const Task& task)
{
    size_t size = task.head.size() + kResourceTail.size();
    for (const auto& record : task.records)
        size += record->size() + kDialogSeparator.size();
    std::string text;
    text.reserve(size);
    text += task.head;
    for (size_t i = 0; i < task.records.size(); ++i) {
        if (i > 0)
            text += kDialogSeparator;
        text += *task.records[i];
    }
    text += kResourceTail;
    FileResult result = WriteFileAtomically(task.files.DataPath(), text);
    if (result)
        result = WriteFileAtomically(task.files.RecordPath(), task.record);
    QMetaObject::invokeMethod(
        this,
        [this, ok = result.ok, reason = QString::fromLocal8Bit(result.reason.c_str())] {
            m_lastWriteFailed = !ok;
            if (ok) {
                ++m_writtenCount;
                emit written();
            } else {
                emit writeFailed(reason);
            }
        },
        Qt::QueuedConnection);
}

} // namespace vesk
