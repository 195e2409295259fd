#include "editor/problemschecker.h"

#include <QTimer>

#include "document/projectdocument.h"
#include "objects/layout.h"
#include "objects/objectdata.h"
#include "objects/resourcedata.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

/// The child of the group whose Name is the UTF-8 name given, or nullptr.
CObjectData* ChildNamed(const CObjectDataList& group, std::string_view name)
{
    for (const ObjectPtr& child : group.Children())
        if (ToUtf8(child->GetItem("Name")) == name)
            return child.get();
    return nullptr;
}

/// The node a '/'-separated path of names leads to from the dialog's root, as far as it leads.
TekClass* FollowPath(const CTekDialogData& dialog, std::string_view path)
{
    CObjectData* node = dialog.RootObject();
    if (!node)
        return const_cast<CTekDialogData*>(&dialog);
    size_t slash = path.find('/');
    if (ToUtf8(node->GetItem("Name")) != path.substr(0, slash))
        return node;
    while (slash != std::string_view::npos && node->IsGroup()) {
        path.remove_prefix(slash + 1);
        slash = path.find('/');
        CObjectData* child = ChildNamed(static_cast<const CObjectDataList&>(*node), path.substr(0, slash));
        if (!child)
            break;
        node = child;
    }
    return node;
}

} // namespace

CProblemsChecker::CProblemsChecker(ProjectDocument& document, QObject* parent)
    : QObject(parent), m_document(document), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(kCoalesceMs);
    connect(m_timer, &QTimer::timeout, this, &CProblemsChecker::CheckPending);
    connect(&document, &ProjectDocument::dialogChanged, this, &CProblemsChecker::DialogChanged);
    connect(&document, &ProjectDocument::dialogRestored, this, &CProblemsChecker::DialogChanged);
    connect(&document, &ProjectDocument::projectReset, this, [this] {
        m_allDirty = true;
        Schedule();
    });
}

CProblemsChecker::~CProblemsChecker() = default;

void CProblemsChecker::SetOptions(const LintOptions& options)
{
    m_options = options;
    m_allDirty = true;
    Schedule();
}

void CProblemsChecker::SetDeviceSizes(const std::vector<LayoutArea>& sizes)
{
    m_options.deviceSizes = sizes;
    m_allDirty = true;
    Schedule();
}

int CProblemsChecker::Count(LintSeverity severity) const
{
    int count = 0;
    for (const ProblemEntry& entry : m_entries)
        count += entry.finding->severity == severity ? 1 : 0;
    return count;
}

bool CProblemsChecker::Pending() const
{
    return m_timer->isActive();
}

void CProblemsChecker::CheckNow()
{
    if (m_timer->isActive()) {
        m_timer->stop();
        CheckPending();
    }
}

void CProblemsChecker::DialogChanged(CTekDialogData* dialog)
{
    // A change of the project (the dialog list, its own items) leaves the dialogs as they were:
    // only the names across them are checked again, and the dialogs new to the list (all of
    // them when the project's device size changed).
    if (dialog)
        m_dirty.insert(dialog);
    Schedule();
}

void CProblemsChecker::Schedule()
{
    if (!m_timer->isActive())
        m_timer->start();
}

void CProblemsChecker::CheckPending()
{
    const CTekDialogDataList& dialogs = m_document.Resource().Dialogs();
    const DeviceSize device = DeviceSizeOf(m_document.Resource());
    if (device.width != m_checkedDevice.width || device.height != m_checkedDevice.height)
        m_allDirty = true;
    m_checkedDevice = device;
    std::unordered_map<const CTekDialogData*, Checked> kept;
    for (int i = 0; i < dialogs.Count(); ++i) {
        const DialogPtr& dialog = dialogs.PtrAt(i);
        auto known = m_byDialog.find(dialog.get());
        if (!m_allDirty && !m_dirty.count(dialog.get()) && known != m_byDialog.end())
            kept.emplace(dialog.get(), std::move(known->second));
        else
            kept.emplace(dialog.get(), Check(dialog, device));
    }
    m_byDialog = std::move(kept);
    m_dirty.clear();
    m_allDirty = false;
    Rebuild();
    emit findingsChanged();
}

CProblemsChecker::Checked CProblemsChecker::Check(const DialogPtr& dialog, DeviceSize device) const
{
    Checked checked{dialog, LintDialog(*dialog, m_options, device), {}};
    for (const LintFinding& finding : checked.findings) {
        if (finding.severity != LintSeverity::Error)
            continue;
        if (checked.errorNodes.empty())
            checked.errorNodes.push_back(dialog.get());
        checked.errorNodes.push_back(finding.path.empty() ? dialog.get() : FollowPath(*dialog, finding.path));
    }
    return checked;
}

void CProblemsChecker::Rebuild()
{
    m_entries.clear();
    m_errorNodes.clear();
    const CTekResourceData& project = m_document.Resource();
    const CTekDialogDataList& dialogs = project.Dialogs();
    // Name findings come in tree order, one dialog at a time, as the dialogs do.
    m_names = LintDialogNames(project);
    size_t next = 0;
    for (int i = 0; i < dialogs.Count(); ++i) {
        const CTekDialogData& dialog = dialogs.At(i);
        const std::string name = ToUtf8(dialog.GetItem("Name"));
        for (; next < m_names.size() && m_names[next].dialog == name; ++next) {
            if (m_names[next].severity == LintSeverity::Error)
                m_errorNodes.insert(&dialog);
            m_entries.push_back({&m_names[next], &dialog});
        }
        const Checked& checked = m_byDialog[&dialog];
        m_errorNodes.insert(checked.errorNodes.begin(), checked.errorNodes.end());
        for (const LintFinding& finding : checked.findings)
            m_entries.push_back({&finding, &dialog});
    }
    for (; next < m_names.size(); ++next)
        m_entries.push_back({&m_names[next], nullptr});
}

TekClass* CProblemsChecker::NodeOf(const ProblemEntry& entry) const
{
    if (!entry.dialog)
        return nullptr;
    const CTekDialogDataList& dialogs = m_document.Resource().Dialogs();
    for (int i = 0; i < dialogs.Count(); ++i) {
        CTekDialogData& dialog = dialogs.At(i);
        if (&dialog == entry.dialog)
            return entry.finding->path.empty() ? &dialog : FollowPath(dialog, entry.finding->path);
    }
    return nullptr;
}

} // namespace vesk
