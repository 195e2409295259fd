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
};

void PrintUsage(std::ostream& out)
{
    out << "usage:\n";
    for (const CommandEntry& command : kCommands)
        out << "  " << command.usage << '\n';
}

}  // namespace

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
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const CommandEntry& command : kCommands)
        if (name == command.name)
            return command.run(args, std::cout, std::cerr);
    std::cerr << "veskres: unknown command '" << name << "'\n";
    PrintUsage(std::cerr);
    return vesk::cli::kUsageError;
}
