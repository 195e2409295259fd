#pragma once

#include <iosfwd>
#include <string>

#include "objects/resourcedata.h"

namespace vesk::cli {

/// Loads a file into the project as the editor's open does. On failure writes a message
/// naming the file (the parser's report, as UTF-8, for a text that does not parse) and
/// answers false.
bool LoadProjectFile(CTekResourceData& project, const std::string& path, std::ostream& messages);

/// A held Shift_JIS text as UTF-8 for the terminal, exactly (no widening).
std::string ForTerminal(const std::string& shiftJis);

}  // namespace vesk::cli
