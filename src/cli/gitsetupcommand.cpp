#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "model/savefile.h"

extern char** environ;

namespace vesk::cli {

namespace {

constexpr const char* kUsage = "usage: veskres git-setup [FOLDER]\n";

/// The attribute line that routes projects through the driver and the text conversion below.
constexpr const char* kAttributes = "*.veskspro diff=vesk merge=vesk";

/// The repository's settings, in the order they are set.
constexpr const char* kSettings[][2] = {
    {"diff.vesk.textconv", "veskres format"},
    {"merge.vesk.name", "Vesk project merge (veskres merge)"},
    {"merge.vesk.driver", "veskres merge %O %A %B -o %A"},
};

struct GitRun {
    bool started = false;
    int status = -1;
    std::string output;  ///< standard output, without the last line end
    std::string problem; ///< why git did not start, or what it wrote to standard error
};

std::string ReadAll(int fd)
{
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    return text;
}

std::string Trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

/// Runs git in the folder with the arguments, collecting what it writes.
GitRun Git(const std::string& folder, const std::vector<std::string>& args)
{
    GitRun run;
    std::vector<std::string> words = {"git", "-C", folder};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int out[2], err[2];
    if (::pipe(out) != 0) {
        run.problem = std::strerror(errno);
        return run;
    }
    if (::pipe(err) != 0) {
        run.problem = std::strerror(errno);
        ::close(out[0]);
        ::close(out[1]);
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    for (int fd : {out[0], out[1], err[0], err[1]})
        posix_spawn_file_actions_addclose(&actions, fd);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, "git", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    if (spawned == 0) {
        // git says little here: what it writes fits the pipes, so one is read after the other.
        run.output = Trimmed(ReadAll(out[0]));
        run.problem = Trimmed(ReadAll(err[0]));
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        run.started = true;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    } else {
        run.problem = std::strerror(spawned);
    }
    ::close(out[0]);
    ::close(err[0]);
    return run;
}

bool HasLine(const std::string& text, std::string_view line)
{
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view current(text.data() + start, end - start);
        while (!current.empty() && (current.back() == ' ' || current.back() == '\t' || current.back() == '\r'))
            current.remove_suffix(1);
        while (!current.empty() && (current.front() == ' ' || current.front() == '\t'))
            current.remove_prefix(1);
        if (current == line)
            return true;
        start = end + 1;
    }
    return false;
}

/// True when a program of that name is found on PATH.
bool OnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return false;
    std::string_view folders(path);
    while (true) {
        const size_t colon = folders.find(':');
        const std::string folder(folders.substr(0, colon));
        const std::filesystem::path candidate = std::filesystem::path(folder.empty() ? "." : folder) / program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return true;
        if (colon == std::string_view::npos)
            return false;
        folders.remove_prefix(colon + 1);
    }
}

} // namespace

int RunGitSetup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ArgParser parser(args, {}, {});
    if (!parser.Ok() || parser.Positionals().size() > 1) {
        err << "veskres git-setup: " << (parser.Ok() ? "give at most one folder" : parser.Error()) << '\n' << kUsage;
        return kUsageError;
    }
    const std::string folder = parser.Positionals().empty() ? "." : parser.Positionals()[0];

    const GitRun top = Git(folder, {"rev-parse", "--show-toplevel"});
    if (!top.started) {
        err << "veskres git-setup: cannot run git: " << top.problem << '\n';
        return 1;
    }
    if (top.status != 0 || top.output.empty()) {
        err << "veskres git-setup: " << folder << " is not in a git work tree (git says: " << top.problem << ")\n";
        return 1;
    }

    const std::string attributesPath = (std::filesystem::path(top.output) / ".gitattributes").string();
    std::string attributes;
    std::string reason;
    if (std::filesystem::exists(attributesPath) && !ReadWholeFile(attributesPath, attributes, &reason)) {
        err << "veskres git-setup: cannot read " << attributesPath << ": " << reason << '\n';
        return 1;
    }
    if (HasLine(attributes, kAttributes)) {
        out << attributesPath << " already has: " << kAttributes << '\n';
    } else {
        if (!attributes.empty() && attributes.back() != '\n')
            attributes += '\n';
        attributes += kAttributes;
        attributes += '\n';
        if (!WriteFileAtomically(attributesPath, attributes, &reason)) {
            err << "veskres git-setup: cannot write " << attributesPath << ": " << reason << '\n';
            return 1;
        }
        out << attributesPath << ": added " << kAttributes << '\n';
    }

    for (const auto& [key, value] : kSettings) {
        const GitRun current = Git(top.output, {"config", "--local", "--get", key});
        if (current.status == 0 && current.output == value) {
            out << key << " already set: " << value << '\n';
            continue;
        }
        const GitRun set = Git(top.output, {"config", "--local", key, value});
        if (set.status != 0) {
            err << "veskres git-setup: cannot set " << key << ": " << set.problem << '\n';
            return 1;
        }
        out << key << " set: " << value;
        if (current.status == 0)
            out << " (was: " << current.output << ')';
        out << '\n';
    }
    if (!OnPath("veskres"))
        out << "note: git runs veskres by name, and no veskres is on PATH: put its folder on PATH for git\n";
    return 0;
}

} // namespace vesk::cli
