#include "shell/shellpaths.h"

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace vesk {

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

bool HasDataFolders(const std::string& folder)
{
    std::error_code ec;
    for (const char* name : {"objects", "assets", "samples", "template"})
        if (fs::is_directory(folder + name, ec))
            return true;
    return false;
}

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
    return WithSlash(base) + "VeskResourceEditor/";
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
    paths.programFolder = WithSlash(std::move(programFolder));
    paths.dataFolder = paths.programFolder;
    if (!HasDataFolders(paths.dataFolder)) {
        const std::string installed = paths.programFolder + "../share/vesk-resource-editor/";
        if (HasDataFolders(installed))
            paths.dataFolder = WithSlash(fs::path(installed).lexically_normal().string());
    }
    const std::string beside = paths.programFolder + kSettingsFileName;
    paths.settingsFile = mayWrite(beside) ? beside : UserConfigFolder() + kSettingsFileName;
    return paths;
}

ShellPaths ShellPaths::ForRunningProgram()
{
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    return ForProgramFolder(ec ? fs::current_path(ec).string() : executable.parent_path().string());
}

} // namespace vesk
