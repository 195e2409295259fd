#include "cli/projectfile.h"

#include <ostream>

#include "records/resourcefile.h"
#include "textconv/textconv.h"

namespace vesk::cli {

std::string ForTerminal(const std::string& shiftJis) { return ShiftJisToUtf8Exact(shiftJis); }

bool LoadProjectFile(CTekResourceData& project, const std::string& path, std::ostream& messages)
{
    LoadResult result = LoadResourceFile(project, path);
    switch (result.status) {
    case LoadStatus::Ok: return true;
    case LoadStatus::OpenFailed: messages << "cannot read " << result.errorText << '\n'; return false;
    case LoadStatus::ParseFailed:
        // The excerpt holds the file's own bytes, in the file's own encoding.
        messages << path << ": " << EncodedTextToUtf8(result.errorText, result.encoding);
        return false;
    }
    return false;
}

}  // namespace vesk::cli
