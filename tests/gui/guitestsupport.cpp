#include "guitestsupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include "textconv/textconv.h"

namespace vesk::test {

MessageAnswer ScriptedPrompts::ShowMessage(QWidget*, const QString& text, MessageIcon icon, MessageButtons buttons)
{
    messages.push_back({text, icon, buttons});
    if (answers.empty())
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

int ScriptedPrompts::AskChoice(QWidget*, const QString& text, const QStringList& buttons, int defaultButton, int)
{
    questions.push_back({text, buttons});
    if (choices.empty())
        return defaultButton;
    const QString pressed = choices.front();
    choices.pop_front();
    const auto index = static_cast<int>(buttons.indexOf(pressed));
    EXPECT_GE(index, 0) << "no button " << pressed.toStdString() << " in " << text.toStdString();
    return index;
}

namespace {

QString NextPath(std::deque<QString>& paths)
{
    if (paths.empty())
        return {};
    QString path = paths.front();
    paths.pop_front();
    return path;
}

} // namespace

QString ScriptedPrompts::OpenFileName(QWidget*, const QString& title, const QString& filter)
{
    dialogTitles.push_back(title);
    dialogs.push_back(QStringLiteral("open:") + filter);
    return NextPath(paths);
}

QString ScriptedPrompts::SaveFileName(QWidget*, const QString& title, const QString& initialName, const QString& filter,
                                      const QString& defaultSuffix)
{
    dialogTitles.push_back(title);
    dialogs.push_back(QStringLiteral("save:") + initialName + QLatin1Char('|') + filter + QLatin1Char('|') +
                      defaultSuffix);
    return NextPath(paths);
}

QString ScriptedPrompts::ChooseFolder(QWidget*, const QString& title, const QString& prompt, const QString& start)
{
    dialogs.push_back(QStringLiteral("folder:") + title + QLatin1Char('|') + prompt + QLatin1Char('|') + start);
    return NextPath(paths);
}

std::vector<QString> ScriptedPrompts::TakeMessages()
{
    std::vector<QString> texts;
    for (const ShownMessage& message : messages)
        texts.push_back(message.text);
    messages.clear();
    return texts;
}

QString ScriptedPrompts::TakeOnlyMessage()
{
    std::vector<QString> texts = TakeMessages();
    EXPECT_LE(texts.size(), 1u);
    return texts.empty() ? QString() : texts.front();
}

std::string Sjis(const char* utf8)
{
    return Utf8ToShiftJisExact(utf8);
}

void ProcessEvents(int milliseconds)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (milliseconds <= 0)
        return;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool RunUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

} // namespace vesk::test
