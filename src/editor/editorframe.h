#pragma once

#include <QString>

namespace vesk {

class SidePanelAccess;
class CTekDialogData;
class Prompts;

/// What the editor panels need of the main window: its dialog windows, its status bar, its
/// picture lists, its side panel and its prompts.
class EditorFrame {
public:
    virtual ~EditorFrame() = default;

    /// Brings the window showing the dialog to the front; false when no window shows it.
    virtual bool ActivateDialogWindow(CTekDialogData& dialog) = 0;
    /// Opens a window onto the dialog.
    virtual void OpenDialogWindow(CTekDialogData& dialog) = 0;
    /// Closes every window showing the dialog.
    virtual void CloseDialogWindows(const CTekDialogData& dialog) = 0;
    /// Lays out and repaints the views of the dialog (every view when nullptr).
    virtual void RefreshDialogViews(const CTekDialogData* dialog) = 0;
    /// The dialog of the active dialog window, or nullptr.
    virtual CTekDialogData* ActiveDialog() const = 0;
    /// Puts a text into the first pane of the status bar.
    virtual void SetStatusText(const QString& text) = 0;
    /// Reloads the picture lists (after the project folder changed).
    virtual void LoadImages() = 0;
    /// Shows a link state (0 red, 1 green, 2 yellow) in the status bar.
    virtual void SetLinkState(int state) = 0;
    virtual SidePanelAccess& SidePanel() = 0;
    virtual Prompts& UserPrompts() = 0;
};

} // namespace vesk
