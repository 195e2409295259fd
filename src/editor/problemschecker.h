#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <QObject>

#include "objects/layout.h"
#include "objects/resourcedata.h"
#include "records/projectlint.h"

class QTimer;

namespace vesk {

class CTekDialogData;
class ProjectDocument;
class TekClass;

/// One finding of the open project with the dialog it was found in (nullptr for none). The
/// finding lives in the checker until its next check.
struct ProblemEntry {
    const LintFinding* finding = nullptr;
    const CTekDialogData* dialog = nullptr;
};

/// The findings of the whole open project, kept up to date as it is edited: after a change the
/// changed dialogs alone are checked again, and the checks of the dialog names across the
/// project are repeated; changes in a burst are checked together once a short timer runs out,
/// so that typing never waits for the checks.
class CProblemsChecker : public QObject {
    Q_OBJECT

public:
    /// How long changes are gathered before they are checked, in milliseconds.
    static constexpr int kCoalesceMs = 150;

    explicit CProblemsChecker(ProjectDocument& document, QObject* parent = nullptr);
    ~CProblemsChecker() override;

    /// The options of the checks (folders, measurers, device sizes); every dialog is checked
    /// again (at once when nothing is waiting, else with the rest).
    void SetOptions(const LintOptions& options);
    const LintOptions& Options() const { return m_options; }
    /// The device sizes checked besides the project's own; every dialog is checked again.
    void SetDeviceSizes(const std::vector<LayoutArea>& sizes);

    /// The findings: those of the dialog names, then each dialog's in tree order.
    const std::vector<ProblemEntry>& Findings() const { return m_entries; }
    int Count(LintSeverity severity) const;
    /// Whether an error was found at the node (a dialog counts the errors of its whole tree).
    bool HasError(const TekClass* node) const { return m_errorNodes.count(node) != 0; }
    /// Whether changes wait to be checked.
    bool Pending() const;
    /// Checks what waits now rather than when the timer runs out.
    void CheckNow();

    /// The node a finding names in its dialog: the dialog itself when the finding has no path,
    /// else the node the path leads to (as far as it leads); nullptr when the dialog is no
    /// longer in the project.
    TekClass* NodeOf(const ProblemEntry& entry) const;

signals:
    /// The findings changed (the list, the counts and the nodes with errors).
    void findingsChanged();

private:
    void DialogChanged(CTekDialogData* dialog);
    void Schedule();
    void CheckPending();
    void Rebuild();

    ProjectDocument& m_document;
    LintOptions m_options;
    QTimer* m_timer;
    /// The findings of each dialog as last checked; the dialog is held until the next check, so
    /// that no new dialog takes its place in memory meanwhile.
    struct Checked {
        DialogPtr dialog;
        std::vector<LintFinding> findings;
        /// The nodes its errors name, the dialog first (none without errors).
        std::vector<const TekClass*> errorNodes;
    };
    Checked Check(const DialogPtr& dialog, DeviceSize device) const;
    std::unordered_map<const CTekDialogData*, Checked> m_byDialog;
    std::unordered_set<const CTekDialogData*> m_dirty;
    bool m_allDirty = true;
    /// The project's device size at the last check (a change of it changes every layout).
    DeviceSize m_checkedDevice{0, 0};
    /// The findings about the dialog names, as last checked.
    std::vector<LintFinding> m_names;
    std::vector<ProblemEntry> m_entries;
    std::unordered_set<const TekClass*> m_errorNodes;
};

} // namespace vesk
