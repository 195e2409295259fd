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
    // The answer follows what happened: the frame counts as sent once all of it has been handed
    // to the system, which is known at once for a frame the socket takes whole and from the
    // socket's drained notice otherwise, even when the terminal closes right after reading it.
    enum class Outcome { Connecting, Sending, Sent, NotSent };
    Outcome outcome = Outcome::Connecting;
    std::string failure;
    auto sent = [&] {
        if (outcome != Outcome::Sending)
            return;
        outcome = Outcome::Sent;
        if (CNetSocket* connection = controller.TerminalConnection())
            connection->CloseWhenSent(kCloseGraceMs);
    };
    controller.onTerminalConnected = [&] {
        if (!controller.SendDialog(project, dialogName)) {
            outcome = Outcome::NotSent;
            failure = "the dialog could not be sent to " + *to;
            controller.Disconnect();
            return;
        }
        outcome = Outcome::Sending;
        if (controller.TerminalConnection()->PendingBytes() == 0)
            sent();
    };
    controller.onTerminalDrained = sent;
    controller.onSocketClosed = [&](int) { loop.Quit(); };
    if (!controller.ConnectToHost(host, port)) {
        err << "veskres send: cannot connect to " << *to << '\n';
        return 1;
    }
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &timeout, [&] {
        if (outcome == Outcome::Connecting) {
            failure = "no connection to " + *to + " within " + std::to_string(kConnectTimeoutMs / 1000) + " seconds";
            loop.Quit();
        }
    });
    timeout.start(kConnectTimeoutMs);
    loop.Run();
    if (outcome == Outcome::Sent)
        return 0;
    if (failure.empty())
        failure = outcome == Outcome::Connecting ? "no connection to " + *to
                                                 : "the connection to " + *to + " ended before the dialog was sent";
    err << "veskres send: " << failure << '\n';
    return 1;
}

} // namespace vesk::cli
