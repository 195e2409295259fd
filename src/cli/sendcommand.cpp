#include <ostream>

#include <QTimer>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/linkeventloop.h"
#include "cli/projectfile.h"
#include "link/linkcontroller.h"
#include "link/linklog.h"
#include "link/netsocket.h"
#include "textconv/textconv.h"

namespace vesk::cli {

namespace {

constexpr const char* kSendUsage = "veskres send FILE [--dialog NAME] --to HOST[:PORT]";
constexpr int kDefaultPort = 5000;
constexpr int kConnectTimeoutMs = 30000;
/// How long the closed sending side waits for the terminal to close its side.
constexpr int kCloseGraceMs = 2000;

int UsageError(std::ostream& err, const std::string& message)
{
    err << "veskres send: " << message << "\nusage: " << kSendUsage << '\n';
    return kUsageError;
}

} // namespace

int RunSend(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ArgParser parser(args, {"--dialog", "--to"}, {});
    if (!parser.Ok())
        return UsageError(err, parser.Error());
    if (parser.Positionals().size() != 1)
        return UsageError(err, parser.Positionals().empty() ? "no file given" : "give one file");
    const auto to = parser.Value("--to");
    if (!to)
        return UsageError(err, "--to is required");
    std::string host;
    int port = 0;
    if (!ParseHostPort(*to, host, port, kDefaultPort))
        return UsageError(err, "--to takes HOST or HOST:PORT with a port from 1 to 65535");

    const std::string& file = parser.Positionals()[0];
    CTekResourceData project;
    if (!LoadProjectFile(project, file, err))
        return 1;
    std::string dialogName;
    if (auto wanted = parser.Value("--dialog")) {
        dialogName = Utf8ToShiftJisExact(*wanted);
        if (!project.Dialogs().FindDialog(dialogName)) {
            err << "veskres send: " << file << " has no dialog named " << *wanted << '\n';
            return 1;
        }
    } else if (project.Dialogs().Count() > 0) {
        dialogName = project.Dialogs().At(0).GetItem("Name");
    }
    if (dialogName.empty()) {
        err << "veskres send: " << file << " has no dialog to send\n";
        return 1;
    }

    LinkEventLoop loop;
    ConsoleLinkLog log(out);
    CLinkController controller(log, 0);
    bool sent = false;
    bool connected = false;
    QTimer drained;
    drained.setInterval(5);
    QObject::connect(&drained, &QTimer::timeout, &drained, [&] {
        CNetSocket* connection = controller.TerminalConnection();
        if (!connection || connection->PendingBytes() > 0)
            return;
        drained.stop();
        sent = true;
        connection->CloseWhenSent(kCloseGraceMs);
    });
    controller.onTerminalConnected = [&] {
        connected = true;
        if (controller.SendDialog(project, dialogName))
            drained.start();
    };
    controller.onSocketClosed = [&](int) { loop.Quit(); };
    if (!controller.ConnectToHost(host, port))
        return 1;
    QTimer::singleShot(kConnectTimeoutMs, &drained, [&] {
        if (!connected) {
            err << "veskres send: no connection to " << *to << " within " << kConnectTimeoutMs / 1000 << " seconds\n";
            loop.Quit();
        }
    });
    loop.Run();
    return sent ? 0 : 1;
}

} // namespace vesk::cli
