#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <ostream>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/projectfile.h"
#include "codegen/skeletongenerator.h"
#include "textconv/textconv.h"

namespace vesk::cli {

namespace {

constexpr const char* kUsage =
    "usage: veskres generate FILE --out DIR [--templates DIR] [--all | --dialog NAME] [--rows LIST]\n"
    "                        [--overwrite | --overwrite-rows LIST]\n"
    "  LIST: comma-separated rows from main, app, maker, dialogs, json, project, makefile\n";

/// Row names in the order of SkeletonRow.
constexpr const char* kRowNames[kSkeletonRowCount] = {"main", "app", "maker", "dialogs", "json", "project", "makefile"};

/// Reads a comma-separated row list (empty for no row) into flags; false with the offending
/// word in error.
bool ParseRows(const std::string& list, std::array<bool, kSkeletonRowCount>& rows, std::string& error)
{
    rows.fill(false);
    if (list.empty())
        return true;
    size_t start = 0;
    for (;;) {
        const size_t comma = list.find(',', start);
        const std::string word = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        auto found = std::find_if(std::begin(kRowNames), std::end(kRowNames),
                                  [&word](const char* name) { return word == name; });
        if (found == std::end(kRowNames)) {
            error = "unknown row '" + word + "'";
            return false;
        }
        rows[static_cast<size_t>(found - std::begin(kRowNames))] = true;
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

int UsageError(std::ostream& err, const std::string& problem)
{
    err << "veskres generate: " << problem << '\n' << kUsage;
    return kUsageError;
}

} // namespace

int RunGenerate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ArgParser parser(args, {"--out", "--templates", "--dialog", "--rows", "--overwrite-rows"},
                     {"--all", "--overwrite"});
    if (!parser.Ok())
        return UsageError(err, parser.Error());
    if (parser.Positionals().size() != 1)
        return UsageError(err, parser.Positionals().empty() ? "no file given" : "give one file");
    std::optional<std::string> outputFolder = parser.Value("--out");
    if (!outputFolder)
        return UsageError(err, "--out DIR is required");
    if (parser.Flag("--all") && parser.Value("--dialog"))
        return UsageError(err, "--all and --dialog exclude each other");
    if (parser.Flag("--overwrite") && parser.Value("--overwrite-rows"))
        return UsageError(err, "--overwrite and --overwrite-rows exclude each other");

    SkeletonOptions options;
    options.outputFolder = *outputFolder;
    options.createOutputFolder = true;
    options.templateFolder = parser.Value("--templates").value_or(ShippedTemplateFolder());
    options.scope = parser.Flag("--all") ? DialogScope::AllDialogs : DialogScope::ThisDialogOnly;
    options.dialogName = Utf8ToShiftJisExact(parser.Value("--dialog").value_or(std::string()));
    options.overwriteAll = parser.Flag("--overwrite");
    std::string problem;
    if (auto rows = parser.Value("--rows"); rows && !ParseRows(*rows, options.generate, problem))
        return UsageError(err, "--rows: " + problem);
    if (auto rows = parser.Value("--overwrite-rows"); rows && !ParseRows(*rows, options.overwrite, problem))
        return UsageError(err, "--overwrite-rows: " + problem);

    CTekResourceData project;
    if (!LoadProjectFile(project, parser.Positionals()[0], err))
        return 1;
    if (project.GetItem("Name").empty()) {
        err << kNoApplicationNameMessage << '\n';
        return 1;
    }

    SkeletonGenerator generator(project, options);
    const std::string failureMark = Utf8ToShiftJisExact("×");
    bool failed = false;
    for (const std::string& line : generator.Generate()) {
        out << ForTerminal(line) << '\n';
        failed = failed || line.starts_with(failureMark);
    }
    out.flush();
    return failed || !out ? 1 : 0;
}

} // namespace vesk::cli
