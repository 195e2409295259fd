#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "objects/resourcedata.h"

namespace vesk {

/// The rows of the skeleton generator, in the order in which a generation carries them out.
enum class SkeletonRow {
    Main,        ///< the main file
    Application, ///< the application class (.cpp, then .h)
    DialogMaker, ///< the dialog-maker class (.cpp, then .h)
    Dialogs,     ///< one class per dialog
    Json,        ///< a JSON copy of each dialog under "resources"
    Project,     ///< the IDE project file
    Makefiles,   ///< "Makefile", then "Makeparam"
};
inline constexpr int kSkeletonRowCount = 7;

/// Which dialogs the dialog-class and JSON rows take.
enum class DialogScope : int32_t {
    ThisDialogOnly = 0, ///< only the dialog named by SkeletonOptions::dialogName
    AllDialogs = 1,     ///< every dialog of the project
};

/// The choices of one generation, as the generator window holds them.
struct SkeletonOptions {
    /// Folder the files are written to (a file-system path); a generation adds a final '/'.
    std::string outputFolder;
    /// Folder the templates are read from; empty means the "template" folder beside the executable.
    std::string templateFolder;
    std::array<bool, kSkeletonRowCount> generate{false, true, true, true, true, false, false};
    /// Each row's own overwrite permission.
    std::array<bool, kSkeletonRowCount> overwrite{};
    bool overwriteAll = false;
    DialogScope scope = DialogScope::ThisDialogOnly;
    /// Shift_JIS name of the dialog taken when the scope is ThisDialogOnly.
    std::string dialogName;
    /// Whether a generation creates a missing output folder, with its parents, before writing.
    /// Without it, every file of a missing folder fails on its own.
    bool createOutputFolder = false;

    bool Generates(SkeletonRow row) const { return generate[static_cast<size_t>(row)]; }
    bool MayOverwrite(SkeletonRow row) const { return overwriteAll || overwrite[static_cast<size_t>(row)]; }
};

/// Writes the source skeleton and the JSON copies of a project's dialogs from the templates,
/// reporting every file it touched as one result line (Shift_JIS).
class SkeletonGenerator {
public:
    /// The generator reads the project and may normalise options.outputFolder; both must
    /// outlive it.
    SkeletonGenerator(const CTekResourceData& project, SkeletonOptions& options);

    /// Runs every row whose generate flag is set and answers the result lines in order. A file
    /// that fails is reported and the run goes on; an empty output folder, or one that is missing
    /// and cannot be created when asked to, is refused with one line and nothing is written.
    const std::vector<std::string>& Generate();
    const std::vector<std::string>& Results() const { return m_results; }

    /// Expands one template into outputPath. False, leaving the output untouched, when the
    /// template cannot be read, when the output exists and overwrite is false, or when the output
    /// cannot be created; false also when writing fails. ErrorText() then holds the reason.
    bool ExpandTemplate(const std::string& templatePath, const std::string& outputPath, bool overwrite,
                        std::string_view dialogName, std::string_view templateType);
    /// The reason of the last failed file operation (Shift_JIS), empty after a success.
    const std::string& ErrorText() const { return m_errorText; }

    /// The "_SOURCES_" text: the main, application and dialog-maker sources and the class source
    /// of every dialog whose template type is not NONE, each followed by one blank. During a
    /// generation only the files that are in the output folder (written by this generation or
    /// there before) are listed, so that the makefile never names a source that is not there;
    /// "%MULTILINE%PROJECTS%" lists files by the same rule, except for the entries of dialogs of
    /// type NONE, which it always names.
    std::string SourcesList() const;

private:
    struct Dialog {
        std::string name;         // D
        std::string templateType; // T
    };

    void GenerateFile(SkeletonRow row, const std::string& templateName, const std::string& outputName,
                      std::string_view dialogName = {}, std::string_view templateType = {});
    void GenerateDialogClasses();
    void GenerateJsonCopies();
    bool IsSelected(const Dialog& dialog) const;
    /// Whether a file of the output folder is named in the sources and project lists.
    bool IsListed(const std::string& outputName) const;
    /// Creates the output folder when it is missing and the options ask for it; false, with the
    /// result line, when it is still missing.
    bool PrepareOutputFolder();
    void ExpandLine(std::string_view utf8Line, std::string_view dialogName, std::string_view templateType,
                    const std::string& sources, std::string& output) const;
    bool Fail(const char* utf8Reason);

    const CTekResourceData& m_project;
    SkeletonOptions& m_options;
    std::string m_appName; // P
    std::vector<Dialog> m_dialogs;
    std::string m_templateFolder; // ends with '/'
    std::string m_errorText;
    std::vector<std::string> m_results;
    bool m_generating = false; // list only files that are in the output folder
};

/// Replaces every occurrence of search in a Shift_JIS text, scanning left to right; a match never
/// starts on the second byte of a double-byte character and inserted text is never searched
/// again. An empty search replaces nothing.
std::string ReplaceShiftJis(std::string_view text, std::string_view search, std::string_view replacement);

/// Byte position of the first occurrence of search in a Shift_JIS text that starts on a character
/// boundary, or npos (also for an empty search).
size_t FindShiftJis(std::string_view text, std::string_view search);

/// True when a template type reads NONE in any letter case.
bool IsNoneTemplateType(std::string_view templateType);

/// The "template" folder that ships with the running executable: beside it in a build tree, in
/// the installed data folder ("../share/vesk-resource-editor/template") after an install; empty
/// when the executable's path is unknown.
std::string ShippedTemplateFolder();

/// The message shown instead of the generator when the project has no name (UTF-8).
inline constexpr const char* kNoApplicationNameMessage =
    "アプリケーション名が登録されていません。\nリソースツリーのRootのNameを設定して下さい。";

} // namespace vesk
