#pragma once

#include <optional>
#include <string>

namespace vesk {

/// What the editor's command line asks for.
struct EditorOptions {
    /// A project or dialog file to open at start.
    std::string file;
    /// Write a picture of the main window here after start-up, then exit.
    std::string screenshot;
    /// Close the main window right after start-up (after the picture), as a user would, so that
    /// the settings are written; nothing waits for input.
    bool quit = false;
    bool version = false;
    bool help = false;
};

/// Reads the command line; nothing (with the reason in error) for an unknown option or a
/// missing value.
std::optional<EditorOptions> ParseEditorOptions(int argc, char** argv, std::string& error);

/// The editor's usage text.
std::string EditorUsage();

/// Runs the editor: the application, the main window, and the event loop until the window
/// closes. Answers the exit status.
int RunEditor(int argc, char** argv);

} // namespace vesk
