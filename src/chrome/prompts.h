#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vesk {

/// The caption of every message box and the application's name.
inline constexpr const char* kApplicationName = "RESOURCE EDITOR";

/// The icon of a message box.
enum class MessageIcon {
    Information, ///< successes ("ファイルを保存しました。")
    Warning,     ///< hints on what to select, and other refusals
    Error,       ///< texts that begin with "エラー"
    Question,    ///< questions answered with Yes, No or Cancel
};

/// The buttons of a message box.
enum class MessageButtons { Ok, YesNoCancel };

/// The button that closed a message box.
enum class MessageAnswer { Ok, Yes, No, Cancel };

/// Every message box and file or folder dialog of the editor goes through this, so that a test
/// can answer them and read what was shown. Texts are what the user reads.
class Prompts {
public:
    virtual ~Prompts() = default;

    /// Shows a message box captioned with the application's name; answers the button pressed
    /// (Ok for a box with only OK, Cancel when a question box is closed without a choice).
    virtual MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageIcon icon,
                                      MessageButtons buttons = MessageButtons::Ok) = 0;
    /// Asks a question captioned with the application's name with buttons of its own (their texts,
    /// in order); answers the index of the button pressed, escapeButton when the box is closed
    /// without a choice. Enter presses defaultButton.
    virtual int AskChoice(QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton,
                          int escapeButton) = 0;
    /// An existing file to open, chosen in a file dialog titled title; empty when cancelled.
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    /// A file to save to, chosen in a file dialog titled title, starting with initialName;
    /// defaultSuffix is added to a name typed without one. Empty when cancelled.
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& initialName,
                                 const QString& filter, const QString& defaultSuffix) = 0;
    /// A folder chosen in the folder chooser titled title with the prompt, starting at start;
    /// empty when cancelled.
    virtual QString ChooseFolder(QWidget* parent, const QString& title, const QString& prompt,
                                 const QString& start) = 0;
};

/// The real dialogs of the platform.
class DialogPrompts : public Prompts {
public:
    MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageIcon icon, MessageButtons buttons) override;
    int AskChoice(QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton,
                  int escapeButton) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& title, const QString& initialName, const QString& filter,
                         const QString& defaultSuffix) override;
    QString ChooseFolder(QWidget* parent, const QString& title, const QString& prompt, const QString& start) override;
};

} // namespace vesk
