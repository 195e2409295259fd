#include <filesystem>
#include <ostream>

#include <QCoreApplication>
#include <QImage>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/linkeventloop.h"
#include "link/linklog.h"
#include "link/socketerrors.h"
#include "link/terminalsimulator.h"
#include "records/resourcefile.h"
#include "render/devicepainter.h"
#include "render/previewpainter.h"
#include "render/previewpicture.h"

namespace vesk::cli {

namespace {

constexpr const char* kTerminalUsage =
    "veskres terminal (--connect HOST[:PORT] | --listen PORT) [--os TEXT] [--resolution WxH] [--get FILE]... "
    "[--cache-dir DIR] [--render-dir DIR] [--no-keepalive-answer] [--exit-after SECONDS]";
constexpr int kDefaultPort = 5000;
constexpr int kMaxPreviewSide = 8192;

int UsageError(std::ostream& err, const std::string& message)
{
    err << "veskres terminal: " << message << "\nusage: " << kTerminalUsage << '\n';
    return kUsageError;
}

/// Draws the named dialog of a received frame into pngPath at the terminal's resolution, in the
/// device look, with the pictures the terminal holds.
void RenderDialogFrame(const std::string& frameText, const std::string& dialogName, const std::string& pngPath,
                       int width, int height, const PictureFolders& folders, LinkLog& log)
{
    CTekResourceData project;
    std::string reason;
    if (!ReadResourceText(project, frameText, &reason)) {
        log.AddLog("dialog frame does not read: " + reason, LOG_ERROR);
        return;
    }
    const CTekDialogData* dialog = project.Dialogs().FindDialog(dialogName);
    if (!dialog) {
        log.AddLog("dialog " + dialogName + " is not in the frame", LOG_ERROR);
        return;
    }
    // Read anew for each frame: the terminal may have fetched pictures since.
    DevicePictureCache pictures(folders);
    const QImage image = RenderPreviewPicture(project, *dialog, {PreviewLook::Device, {width, height}, 100}, pictures);
    if (image.isNull() || !SavePreviewPng(image, pngPath, &reason)) {
        log.AddLog("cannot write " + Sjis(pngPath) + " " + reason, LOG_ERROR);
        return;
    }
    log.AddLog("preview written to " + Sjis(pngPath), LOG_INFO);
}

} // namespace

int RunTerminal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ArgParser parser(
        args, {"--connect", "--listen", "--os", "--resolution", "--get", "--cache-dir", "--render-dir", "--exit-after"},
        {"--no-keepalive-answer"});
    if (!parser.Ok())
        return UsageError(err, parser.Error());
    if (!parser.Positionals().empty())
        return UsageError(err, "unexpected argument " + parser.Positionals()[0]);
    const auto connectTo = parser.Value("--connect");
    const auto listen = parser.Value("--listen");
    if (connectTo.has_value() == listen.has_value())
        return UsageError(err, "give one of --connect HOST[:PORT] and --listen PORT");
    std::string host;
    int port = 0;
    if (connectTo && !ParseHostPort(*connectTo, host, port, kDefaultPort))
        return UsageError(err, "--connect takes HOST or HOST:PORT with a port from 1 to 65535");
    long listenPort = 0;
    if (listen && !ParseNumber(*listen, 0, 65535, listenPort))
        return UsageError(err, "--listen takes a port number from 0 to 65535");

    TerminalOptions options;
    if (auto os = parser.Value("--os"))
        options.os = *os;
    if (auto resolution = parser.Value("--resolution")) {
        if (!ParseSize(*resolution, options.resolutionH, options.resolutionV) ||
            options.resolutionH > kMaxPreviewSide || options.resolutionV > kMaxPreviewSide)
            return UsageError(err, "--resolution takes WxH, each side from 1 to 8192");
    }
    long exitAfter = 0;
    if (auto value = parser.Value("--exit-after"); value && !ParseNumber(*value, 1, 864000, exitAfter))
        return UsageError(err, "--exit-after takes a number of seconds from 1 to 864000");
    options.getFiles = parser.Values("--get");
    for (const std::string& file : options.getFiles)
        if (file.empty())
            return UsageError(err, "--get takes a file name");
    options.cacheDir = parser.Value("--cache-dir").value_or(std::string());
    options.renderDir = parser.Value("--render-dir").value_or(std::string());
    options.answerKeepAlive = !parser.Flag("--no-keepalive-answer");
    for (const std::string* folder : {&options.cacheDir, &options.renderDir}) {
        std::error_code error;
        if (!folder->empty() && !std::filesystem::is_directory(*folder) &&
            !std::filesystem::create_directories(*folder, error)) {
            err << "veskres terminal: cannot make the folder " << *folder << '\n';
            return 1;
        }
    }

    LinkEventLoop loop(!options.renderDir.empty());
    ConsoleLinkLog log(out);
    const int width = options.resolutionH;
    const int height = options.resolutionV;
    const size_t wanted = options.getFiles.size();
    // BUILTIN pictures come with the program, STATION ones are the files the terminal fetched.
    const PictureFolders pictures{
        (QCoreApplication::applicationDirPath() + QStringLiteral("/assets")).toStdString(), {}, options.cacheDir};
    CTerminalSimulator terminal(log, std::move(options));
    bool connected = false;
    terminal.onConnected = [&] { connected = true; };
    terminal.onDialog = [&](const std::string& frameText, const std::string& dialogName, const std::string& base) {
        if (base.empty())
            return; // no render folder: the frame is only counted
        RenderDialogFrame(frameText, dialogName, base + ".png", width, height, pictures, log);
    };
    if (connectTo) {
        terminal.onClosed = [&] { loop.Quit(); };
        if (!terminal.Connect(host, static_cast<unsigned>(port)))
            return 1;
    } else if (!terminal.Listen(static_cast<unsigned>(listenPort), nullptr)) {
        return 1;
    }
    if (exitAfter > 0)
        loop.QuitAfter(static_cast<int>(exitAfter * 1000));
    loop.Run();

    const size_t answered = static_cast<size_t>(terminal.FilesReceived() + terminal.FilesLatest());
    if (connectTo && !connected)
        return 1;
    return answered < wanted ? 1 : 0;
}

} // namespace vesk::cli
