#include <arpa/inet.h>
#include <sys/stat.h>

#include <ostream>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/linkeventloop.h"
#include "cli/projectfile.h"
#include "link/linkcontroller.h"
#include "link/linklog.h"
#include "textconv/textconv.h"

namespace vesk::cli {

namespace {

constexpr const char* kServeUsage = "veskres serve --project-folder DIR [--port N] [--bind ADDR] [--http-port N] "
                                    "[--keepalive SECONDS] [--send FILE [--dialog NAME]]";

int UsageError(std::ostream& err, const std::string& message)
{
    err << "veskres serve: " << message << "\nusage: " << kServeUsage << '\n';
    return kUsageError;
}

bool IsFolder(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

int RunServe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ArgParser parser(args, {"--project-folder", "--port", "--bind", "--http-port", "--keepalive", "--send", "--dialog"},
                     {});
    if (!parser.Ok())
        return UsageError(err, parser.Error());
    if (!parser.Positionals().empty())
        return UsageError(err, "unexpected argument " + parser.Positionals()[0]);
    const auto folder = parser.Value("--project-folder");
    if (!folder)
        return UsageError(err, "--project-folder is required");
    long port = 5000, httpPort = 0, keepAlive = 60;
    if (auto value = parser.Value("--port"); value && !ParseNumber(*value, 0, 65535, port))
        return UsageError(err, "--port takes a port number from 0 to 65535");
    if (auto value = parser.Value("--http-port"); value && !ParseNumber(*value, 0, 65535, httpPort))
        return UsageError(err, "--http-port takes a port number from 0 (off) to 65535");
    if (auto value = parser.Value("--keepalive"); value && !ParseNumber(*value, 1, 86400, keepAlive))
        return UsageError(err, "--keepalive takes a number of seconds from 1 to 86400");
    uint32_t bindAddress = 0;
    if (auto value = parser.Value("--bind")) {
        in_addr address{};
        if (inet_pton(AF_INET, value->c_str(), &address) != 1)
            return UsageError(err, "--bind takes a dotted IPv4 address");
        bindAddress = ntohl(address.s_addr);
    }
    const auto sendFile = parser.Value("--send");
    if (parser.Value("--dialog") && !sendFile)
        return UsageError(err, "--dialog goes with --send");
    if (!IsFolder(*folder)) {
        err << "veskres serve: " << *folder << " is not a folder\n";
        return 1;
    }

    CTekResourceData project;
    std::string dialogName;
    if (sendFile) {
        if (!LoadProjectFile(project, *sendFile, err))
            return 1;
        if (auto wanted = parser.Value("--dialog")) {
            dialogName = Utf8ToShiftJisExact(*wanted);
            if (!project.Dialogs().FindDialog(dialogName)) {
                err << "veskres serve: " << *sendFile << " has no dialog named " << *wanted << '\n';
                return 1;
            }
        } else if (project.Dialogs().Count() > 0) {
            dialogName = project.Dialogs().At(0).GetItem("Name");
        }
        if (dialogName.empty()) {
            err << "veskres serve: " << *sendFile << " has no dialog to send\n";
            return 1;
        }
    }

    LinkEventLoop loop;
    ConsoleLinkLog log(out);
    CLinkController controller(log, static_cast<int>(keepAlive * 1000));
    controller.SetProjectFolder(*folder);
    controller.SetListenPort(static_cast<int>(port));
    controller.SetIpAddress(bindAddress);
    controller.SetHttpPort(static_cast<int>(httpPort));
    if (sendFile)
        controller.onTerminalConnected = [&] { controller.SendDialog(project, dialogName); };
    if (!controller.StartListening())
        return 1;
    if (httpPort != 0 && !controller.HttpListener())
        return 1;
    loop.Run();
    controller.StopListening();
    return 0;
}

} // namespace vesk::cli
