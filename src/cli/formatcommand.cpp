#include <ostream>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/projectfile.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "textconv/textconv.h"

namespace vesk::cli {

int RunFormat(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ArgParser parser(args, {"--dialog", "-o", "--output"}, {});
    if (!parser.Ok() || parser.Positionals().size() != 1) {
        err << "veskres format: "
            << (!parser.Ok() ? parser.Error() : parser.Positionals().empty() ? "no file given" : "give one file")
            << "\nusage: veskres format FILE [--dialog NAME] [-o OUT]\n";
        return kUsageError;
    }
    CTekResourceData project;
    if (!LoadProjectFile(project, parser.Positionals()[0], err))
        return 1;
    // Names are held as Shift_JIS; the terminal gives UTF-8.
    const std::string dialog = ToShiftJis(parser.Value("--dialog").value_or(std::string()));
    std::optional<std::string> output = parser.Value("-o");
    if (!output)
        output = parser.Value("--output");
    if (!output) {
        CJsonString text;
        WriteResource(project, text, dialog);
        out << text.Text();
        out.flush();
        return out ? 0 : 1;
    }
    if (const FileResult saved = SaveResourceFile(project, *output, dialog); !saved) {
        err << "veskres format: cannot write " << *output << ": " << saved.reason << '\n';
        return 1;
    }
    return 0;
}

}  // namespace vesk::cli
