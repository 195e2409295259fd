#pragma once

#include <string>

namespace vesk {

/// The name of the settings file.
inline constexpr const char* kSettingsFileName = "VeskResourceEditor.ini";

/// Where the editor finds what ships with it and where it keeps its settings. Folders end
/// in '/'.
struct ShellPaths {
    /// The folder of the running executable.
    std::string programFolder;
    /// The folder holding "objects", "assets", "samples" and "template": the program folder when
    /// they lie there (a build tree), else "../share/vesk-resource-editor/" beside it (an install).
    std::string dataFolder;
    /// The settings file: beside the executable when the data lies there too and that folder can
    /// be written, else (an installed or read-only program) in the user's configuration folder
    /// ($XDG_CONFIG_HOME/VeskResourceEditor/, or ~/.config/VeskResourceEditor/).
    std::string settingsFile;
    /// The folder of the recovery journals ($XDG_STATE_HOME/VeskResourceEditor/recovery/, else
    /// ~/.local/state/VeskResourceEditor/recovery/); empty keeps no journal.
    std::string recoveryFolder;

    /// True when the file (or, when it does not exist, its folder) may be written.
    using WritableTest = bool (*)(const std::string& path);
    static bool MayWrite(const std::string& path);

    /// The paths of an executable living in programFolder.
    static ShellPaths ForProgramFolder(std::string programFolder, WritableTest mayWrite = &MayWrite);
    /// The paths of the running executable.
    static ShellPaths ForRunningProgram();
};

} // namespace vesk
