#pragma once

#include <string>
#include <vector>

#include "objects/dialoglayout.h"
#include "objects/layout.h"

namespace vesk {

class TextMeasurer;
class PictureSizer;

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

/// Where pictures are looked up (an empty folder leaves those pictures unchecked) and how the
/// layout is checked.
struct LintOptions {
    /// The data folder of the programs (its "assets" holds the BUILTIN pictures).
    std::string dataFolder;
    /// The project folder (its "resources" holds the STATION pictures).
    std::string projectFolder;
    /// Measures texts for the layout checks; without it the layout is not checked.
    const TextMeasurer* text = nullptr;
    /// Gives the pictures' own sizes to the layout; may be null.
    const PictureSizer* pictures = nullptr;
    /// The device sizes the layout is checked at besides the project's own.
    std::vector<LayoutArea> deviceSizes;
};

/// The findings of the whole project, dialog by dialog in tree order: each dialog's name
/// findings, then its own.
std::vector<LintFinding> LintProject(const CTekResourceData& project, const LintOptions& options);
/// The findings of one dialog alone (no checks across dialogs), its layout checked at the
/// project's device size given and at the options' sizes.
std::vector<LintFinding> LintDialog(const CTekDialogData& dialog, const LintOptions& options,
                                    DeviceSize projectDevice = {});
/// The findings about the dialogs' names across the project (names that cannot become class
/// names, names used twice), in tree order; cheap enough to repeat after every edit.
std::vector<LintFinding> LintDialogNames(const CTekResourceData& project);

} // namespace vesk
