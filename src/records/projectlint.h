#pragma once

#include <string>
#include <vector>

namespace vesk {

class CTekResourceData;
class CTekDialogData;

/// How serious a finding is; the order is the order of severity.
enum class LintSeverity { Info = 0, Warning = 1, Error = 2 };

/// "error", "warning" or "info".
const char* LintSeverityName(LintSeverity severity);

/// One problem found in a project. Every text is UTF-8 (names and values converted from the
/// Shift_JIS held in memory); the editor converts for display.
struct LintFinding {
    LintSeverity severity = LintSeverity::Error;
    std::string code;      ///< stable identifier of the check ("duplicate-name")
    std::string dialog;    ///< the dialog's Name (empty for findings about the project)
    std::string path;      ///< the node: group names then the object name, '/'-separated
    std::string item;      ///< the item concerned, or empty
    std::string message;   ///< one line in English
    std::string messageJa; ///< one line in Japanese

    /// "dialog/path" (or the dialog alone, or "(project)").
    std::string Location() const;
};

/// One kind of finding: its code, severity and a short description (English).
struct LintRule {
    const char* code;
    LintSeverity severity;
    const char* description;
};

/// Every check's rule, in a fixed order.
const std::vector<LintRule>& LintRules();

/// Where pictures are looked up. An empty folder leaves those pictures unchecked.
struct LintOptions {
    /// The data folder of the programs (its "assets" holds the BUILTIN pictures).
    std::string dataFolder;
    /// The project folder (its "resources" holds the STATION pictures).
    std::string projectFolder;
};

/// The findings of the whole project, dialog by dialog in tree order.
std::vector<LintFinding> LintProject(const CTekResourceData& project, const LintOptions& options);
/// The findings of one dialog alone (no checks across dialogs).
std::vector<LintFinding> LintDialog(const CTekDialogData& dialog, const LintOptions& options);

} // namespace vesk
