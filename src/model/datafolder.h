#pragma once

#include <string>

namespace vesk {

/// The folder, relative to an installed executable's folder, that holds what ships with the
/// programs.
inline constexpr const char* kInstalledDataFolder = "../share/vesk-resource-editor/";

/// The folder with a '/' at its end (an empty folder becomes "/").
std::string WithTrailingSlash(std::string folder);

/// True when the folder holds one of the folders that ship with the programs ("objects",
/// "assets", "samples", "template").
bool HoldsShippedData(const std::string& folder);

/// The folder of the running executable as the system describes it (/proc/self/exe), ending in
/// '/'; empty when the system does not tell.
std::string RunningProgramFolder();

/// Where an executable living in programFolder finds what ships with it, ending in '/': the
/// program folder when the data lies there (a build tree), else the installed data folder beside
/// it, normalised, when the data lies there (an install); the program folder when neither holds it.
std::string DataFolderOf(std::string programFolder);

} // namespace vesk
