#include "shell/shellpaths.h"

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "document/recoveryfiles.h"
#include "model/datafolder.h"

namespace vesk {

namespace fs = std::filesystem;

namespace {

std::string UserConfigFolder()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && *config == '/')
        base = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = "/tmp";
    return WithTrailingSlash(base) + "VeskResourceEditor/";
}

} // namespace

bool ShellPaths::MayWrite(const std::string& path)
{
    std::error_code ec;
    if (fs::exists(path, ec))
        return ::access(path.c_str(), W_OK) == 0;
    return ::access(fs::path(path).parent_path().c_str(), W_OK) == 0;
}

ShellPaths ShellPaths::ForProgramFolder(std::string programFolder, WritableTest mayWrite)
{
    ShellPaths paths;
    paths.programFolder = WithTrailingSlash(std::move(programFolder));
    paths.dataFolder = DataFolderOf(paths.programFolder);
    // An installed program keeps its settings per user, even where its folder could be written
    // (by root); only a program with its data beside it keeps them there too.
    const std::string beside = paths.programFolder + kSettingsFileName;
    const bool portable = paths.dataFolder == paths.programFolder;
    paths.settingsFile = portable && mayWrite(beside) ? beside : UserConfigFolder() + kSettingsFileName;
    paths.recoveryFolder = DefaultRecoveryFolder();
    return paths;
}

ShellPaths ShellPaths::ForRunningProgram()
{
    const std::string program = RunningProgramFolder();
    if (!program.empty())
        return ForProgramFolder(program);
    std::error_code ec;
    return ForProgramFolder(fs::current_path(ec).string());
}

} // namespace vesk
