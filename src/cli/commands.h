#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vesk::cli {

/// Each subcommand takes its arguments (after the subcommand name) and the two output
/// streams, and answers the exit status: 0 success, 1 failure, 2 usage error.
using CommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

struct CommandEntry {
    const char* name;
    const char* usage;
    CommandFunction run;
};

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunFormat(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunLayout(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunGenerate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunServe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunSend(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunDiff(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunMerge(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunLint(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunGitSetup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunTerminal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vesk::cli
