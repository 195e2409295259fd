#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <QString>

#include "chrome/prompts.h"

namespace vesk::test {

/// One message box that was shown.
struct ShownMessage {
    QString text;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
};

/// One question with buttons of its own that was asked.
struct AskedQuestion {
    QString text;
    QStringList buttons;
};

/// Prompts answered by the test: message boxes answer the queued answers (OK when none is
/// queued), questions with buttons of their own press the queued button texts (the default
/// button, as Enter would, when none is queued) and file and folder dialogs answer the queued
/// paths (cancelled when none is queued). Everything shown is kept for inspection.
class ScriptedPrompts : public Prompts {
public:
    MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageIcon icon, MessageButtons buttons) override;
    int AskChoice(QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton,
                  int escapeButton) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& title, const QString& initialName, const QString& filter,
                         const QString& defaultSuffix) override;
    QString ChooseFolder(QWidget* parent, const QString& title, const QString& prompt, const QString& start) override;

    std::deque<MessageAnswer> answers;
    /// The texts of the buttons to press, in order.
    std::deque<QString> choices;
    std::deque<QString> paths;

    std::vector<ShownMessage> messages;
    std::vector<AskedQuestion> questions;
    /// What the file and folder dialogs were opened with, one line each ("save:" initial name,
    /// filter and suffix; "open:" filter; "folder:" title, prompt and start).
    std::vector<QString> dialogs;
    /// The titles of the file dialogs, in order.
    std::vector<QString> dialogTitles;

    /// The texts of the messages shown, in order; and forgets them.
    std::vector<QString> TakeMessages();
    /// The one message shown since the last take (empty when none; a failure when several).
    QString TakeOnlyMessage();
};

/// A UTF-8 literal as Shift_JIS, as the model holds text.
std::string Sjis(const char* utf8);

/// Lets queued events (posted calls, deferred deletes, timers due) run.
void ProcessEvents(int milliseconds = 0);

/// Runs the event loop until done() holds or the time-out passes; answers done().
bool RunUntil(const std::function<bool()>& done, int timeoutMs = 10000);

} // namespace vesk::test
