#include "shell/application.h"

#include <cstdio>
#include <cstring>
#include <iostream>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QBuffer>
#include <QPixmap>
#include <QTimer>

#include "chrome/prompts.h"
#include "chrome/uitext.h"
#include "editor/resourcedlg.h"
#include "objects/resourcedata.h"
#include "model/savefile.h"
#include "shell/icons.h"
#include "shell/language.h"
#include "shell/mainframe.h"
#include "shell/profilefile.h"
#include "shell/shellpaths.h"

namespace vesk {

namespace {

/// Prompts for a run without a user (the screenshot): messages go to the error stream, questions
/// are answered No or closed without a choice and file dialogs cancelled, so nothing waits for
/// input.
class UnattendedPrompts : public Prompts {
public:
    MessageAnswer ShowMessage(QWidget*, const QString& text, MessageIcon, MessageButtons buttons) override
    {
        std::cerr << "vesk-resource-editor: " << text.toStdString() << '\n';
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    int AskChoice(QWidget*, const QString& text, const QStringList&, int, int escapeButton) override
    {
        std::cerr << "vesk-resource-editor: " << text.toStdString() << '\n';
        return escapeButton;
    }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString ChooseFolder(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
};

void Settle(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    do
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    while (timer.elapsed() < milliseconds);
}

/// Selects the first dialog as a click in the tree would, lets the windows settle and writes the
/// main window's picture. Answers the exit status.
int TakeScreenshot(CMainFrame& frame, const std::string& path)
{
    Settle(200);
    CTekDialogDataList& dialogs = frame.Project().Resource().Dialogs();
    if (dialogs.Count() > 0) {
        frame.ResourcePanel().SelectNode(&dialogs.At(0), nullptr);
    }
    Settle(400);
    const QImage image = frame.grab().toImage();
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        std::cerr << "vesk-resource-editor: the window could not be drawn\n";
        return 1;
    }
    std::string error;
    if (!WriteFileAtomically(path, std::string_view(png.constData(), static_cast<size_t>(png.size())), &error)) {
        std::cerr << "vesk-resource-editor: cannot write " << path << ": " << error << '\n';
        return 1;
    }
    return 0;
}

} // namespace

std::string EditorUsage()
{
    return "usage: vesk-resource-editor [FILE] [--screenshot OUT.png] [--quit]\n"
           "       vesk-resource-editor --version | --help\n"
           "\n"
           "  FILE                 a project (.veskspro) or dialog (.json) file to open\n"
           "  --screenshot OUT.png open FILE, select its first dialog, write a picture of the\n"
           "                       main window to OUT.png and exit\n"
           "  --quit               close the main window right after start-up (after the\n"
           "                       picture), writing the settings as a close by the user does\n"
           "  --version            print the version and exit\n"
           "  --help               print this text and exit\n";
}

std::optional<EditorOptions> ParseEditorOptions(int argc, char** argv, std::string& error)
{
    EditorOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--version") {
            options.version = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--screenshot") {
            if (i + 1 >= argc) {
                error = "--screenshot needs a file name";
                return std::nullopt;
            }
            options.screenshot = argv[++i];
        } else if (argument == "--quit") {
            options.quit = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            error = "unknown option " + argument;
            return std::nullopt;
        } else if (options.file.empty()) {
            options.file = argument;
        } else {
            error = "only one file can be opened at start";
            return std::nullopt;
        }
    }
    return options;
}

int RunEditor(int argc, char** argv)
{
    std::string error;
    const std::optional<EditorOptions> options = ParseEditorOptions(argc, argv, error);
    if (!options) {
        std::cerr << "vesk-resource-editor: " << error << '\n' << EditorUsage();
        return 2;
    }
    if (options->help) {
        std::cout << EditorUsage();
        return 0;
    }
    if (options->version) {
        std::cout << "vesk-resource-editor " << VESK_VERSION << '\n';
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VeskResourceEditor"));
    QApplication::setApplicationVersion(QString::fromLatin1(VESK_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vesk-resource-editor"));
    QApplication::setWindowIcon(ApplicationIcon());
    const ShellPaths paths = ShellPaths::ForRunningProgram();
    {
        // The language is read before any window is made, so that every text is translated.
        ProfileFile settings;
        settings.Load(paths.settingsFile);
        const LanguageChoice choice = LanguageChoiceOf(settings.GetString(kSettingSection, "Language"));
        const InstalledLanguage installed =
            InstallLanguage(ResolveLanguage(choice, QLocale::system()), paths.dataFolder);
        if (!installed.complete)
            std::cerr << "vesk-resource-editor: the translation file is missing from " << paths.dataFolder
                      << "translations; the editor speaks Japanese\n";
    }

    DialogPrompts dialogs;
    UnattendedPrompts unattended;
    const bool attended = options->screenshot.empty() && !options->quit;
    Prompts& prompts = attended ? static_cast<Prompts&>(dialogs) : unattended;
    CMainFrame frame(paths, prompts);
    frame.show();
    // Edits that an editor which stopped without saving left behind are offered first; a run
    // without a user leaves them for the next start.
    if (attended)
        frame.OfferRecovery();
    if (!options->file.empty())
        frame.OpenFile(options->file);
    // For tests that drive the program from outside: the commands named in VESK_EDITOR_ACTIONS
    // (the objectNames of their actions, separated by commas) run once the event loop does.
    const QStringList actions = qEnvironmentVariable("VESK_EDITOR_ACTIONS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (!actions.isEmpty())
        QTimer::singleShot(0, &frame, [&frame, actions] {
            for (const QString& name : actions)
                if (QAction* action = frame.Action(name.trimmed().toLatin1().constData()))
                    action->trigger();
        });
    if (attended)
        return application.exec();
    const int status = options->screenshot.empty() ? 0 : TakeScreenshot(frame, options->screenshot);
    if (options->quit && !frame.close())
        return 1;
    return status;
}

} // namespace vesk
