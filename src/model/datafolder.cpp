#include "model/datafolder.h"

#include <filesystem>

namespace vesk {

namespace fs = std::filesystem;

std::string WithTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

bool HoldsShippedData(const std::string& folder)
{
    std::error_code ec;
    for (const char* name : {"objects", "assets", "samples", "template"})
        if (fs::is_directory(fs::path(folder) / name, ec))
            return true;
    return false;
}

std::string RunningProgramFolder()
{
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    if (ec || executable.empty())
        return {};
    return WithTrailingSlash(executable.parent_path().string());
}

std::string DataFolderOf(std::string programFolder)
{
    programFolder = WithTrailingSlash(std::move(programFolder));
    if (HoldsShippedData(programFolder))
        return programFolder;
    const std::string installed = programFolder + kInstalledDataFolder;
    if (HoldsShippedData(installed))
        return WithTrailingSlash(fs::path(installed).lexically_normal().string());
    return programFolder;
}

} // namespace vesk
