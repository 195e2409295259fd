#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cliargs.h"
#include "cli/commands.h"

namespace {

using vesk::cli::CommandEntry;

const CommandEntry kCommands[] = {
    {"check", "veskres check FILE...", vesk::cli::RunCheck},
    {"format", "veskres format FILE [--dialog NAME] [-o OUT]", vesk::cli::RunFormat},
    {"diff", "veskres diff OLD NEW [--dialog NAME] [--format text|json]", vesk::cli::RunDiff},
    {"merge", "veskres merge BASE OURS THEIRS -o OUT", vesk::cli::RunMerge},
    {"lint",
     "veskres lint FILE... [--device WxH]... [--format text|json|sarif] [--severity error|warning|info] "
     "[--project-folder DIR]",
     vesk::cli::RunLint},
    {"git-setup", "veskres git-setup [FOLDER]", vesk::cli::RunGitSetup},
    {"layout", "veskres layout FILE [--dialog NAME] [--size WxH]", vesk::cli::RunLayout},
    {"render", "veskres render FILE [--dialog NAME] [--size WxH] [--look box|device] [--zoom PERCENT] -o OUT.png",
     vesk::cli::RunRender},
    {"generate",
     "veskres generate FILE --out DIR [--templates DIR] [--all | --dialog NAME] [--rows LIST] "
     "[--overwrite | --overwrite-rows LIST]",
     vesk::cli::RunGenerate},
    {"serve",
     "veskres serve --project-folder DIR [--port N] [--bind ADDR] [--http-port N] [--keepalive SECONDS] "
     "[--send FILE [--dialog NAME]]",
     vesk::cli::RunServe},
    {"send", "veskres send FILE [--dialog NAME] --to HOST[:PORT]", vesk::cli::RunSend},
    {"terminal",
     "veskres terminal (--connect HOST[:PORT] | --listen PORT) [--os TEXT] [--resolution WxH] [--get FILE]... "
     "[--cache-dir DIR] [--render-dir DIR] [--no-keepalive-answer] [--exit-after SECONDS]",
     vesk::cli::RunTerminal},
};

void PrintUsage(std::ostream& out)
{
    out << "usage:\n";
    for (const CommandEntry& command : kCommands)
        out << "  " << command.usage << '\n';
    out << "  veskres --version | --help\n"
           "\n"
           "generate reads its templates from the template folder that ships with veskres\n"
           "(beside it, or ../share/vesk-resource-editor/template when installed) unless --templates\n"
           "names another. Exit status: 0 success, 1 failure, 2 usage error; diff answers 1 when the\n"
           "projects differ and merge when it met conflicts, both 2 when a file cannot be read.\n"
           "\n"
           "lint prints every finding (text: file:dialog/path: severity code: message) and answers 1\n"
           "when one is at or above --severity (error by default), 2 when a file cannot be read. BUILTIN\n"
           "pictures are looked up in the shipped assets folder, STATION ones and GETFILE files in\n"
           "--project-folder's resources folder (unchecked without it). The layout is checked as the\n"
           "device draws it at the project's DeviceWidth x DeviceHeight and at each --device WxH.\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(std::cerr);
        return vesk::cli::kUsageError;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(std::cout);
        return 0;
    }
    if (name == "--version") {
        std::cout << "veskres " << VESK_VERSION << '\n';
        return 0;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const CommandEntry& command : kCommands)
        if (name == command.name)
            return command.run(args, std::cout, std::cerr);
    std::cerr << "veskres: unknown command '" << name << "'\n";
    PrintUsage(std::cerr);
    return vesk::cli::kUsageError;
}
