#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/projectfile.h"
#include "model/orbstream.h"
#include "records/projectmerge.h"
#include "records/resourcefile.h"

namespace vesk::cli {

namespace {

constexpr const char* kUsage = "usage: veskres merge BASE OURS THEIRS -o OUT\n";

int UsageError(std::ostream& err, const std::string& problem)
{
    err << "veskres merge: " << problem << '\n' << kUsage;
    return kUsageError;
}

} // namespace

int RunMerge(const std::vector<std::string>& args, std::ostream& /*out*/, std::ostream& err)
{
    ArgParser parser(args, {"-o", "--output"}, {});
    if (!parser.Ok())
        return UsageError(err, parser.Error());
    if (parser.Positionals().size() != 3)
        return UsageError(err, "give three files: the common base, ours and theirs");
    std::optional<std::string> output = parser.Value("-o");
    if (!output)
        output = parser.Value("--output");
    if (!output)
        return UsageError(err, "-o OUT is required");

    CTekResourceData base;
    CTekResourceData ours;
    CTekResourceData theirs;
    CTekResourceData* projects[] = {&base, &ours, &theirs};
    for (size_t i = 0; i < 3; ++i) {
        // git gives an empty base when both sides added the file: the base is then no project.
        std::error_code error;
        if (i == 0 && std::filesystem::is_regular_file(parser.Positionals()[i], error) &&
            std::filesystem::file_size(parser.Positionals()[i], error) == 0)
            continue;
        std::ostringstream messages;
        if (!LoadProjectFile(*projects[i], parser.Positionals()[i], messages)) {
            err << "veskres merge: " << messages.str();
            return 2;
        }
    }

    const std::vector<MergeConflict> conflicts = MergeProjects(base, ours, theirs);

    // The merged project as a load of its file gives it, so that the file is in the writer's form.
    CJsonString text;
    WriteResource(ours, text, "");
    CTekResourceData merged;
    std::string reason;
    if (!ReadResourceText(merged, text.Text(), &reason)) {
        err << "veskres merge: the merged project does not read back:\n" << ForTerminal(reason);
        return 2;
    }
    if (!SaveResourceFile(merged, *output, "", &reason)) {
        err << "veskres merge: cannot write " << reason << '\n';
        return 2;
    }
    for (const MergeConflict& conflict : conflicts)
        err << "veskres merge: conflict: " << DescribeConflict(conflict) << '\n';
    if (conflicts.empty())
        return 0;
    err << "veskres merge: " << conflicts.size() << (conflicts.size() == 1 ? " conflict" : " conflicts")
        << ", ours kept at each\n";
    return 1;
}

} // namespace vesk::cli
