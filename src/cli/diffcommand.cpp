#include <ostream>
#include <sstream>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/projectfile.h"
#include "records/projectdiff.h"
#include "textconv/textconv.h"

namespace vesk::cli {

namespace {

constexpr const char* kUsage = "usage: veskres diff OLD NEW [--dialog NAME] [--format text|json]\n";

int UsageError(std::ostream& err, const std::string& problem)
{
    err << "veskres diff: " << problem << '\n' << kUsage;
    return kUsageError;
}

const char* KindName(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Added:
        return "added";
    case ChangeKind::Removed:
        return "removed";
    case ChangeKind::Moved:
        return "moved";
    case ChangeKind::ItemChanged:
        return "changed";
    }
    return "";
}

const char* SubjectName(ChangeSubject subject)
{
    switch (subject) {
    case ChangeSubject::Project:
        return "project";
    case ChangeSubject::Dialog:
        return "dialog";
    case ChangeSubject::Node:
        return "node";
    case ChangeSubject::Command:
        return "command";
    case ChangeSubject::HeaderColumn:
        return "header";
    }
    return "";
}

/// One change as a JSON object on one line.
std::string JsonChange(const ProjectChange& change)
{
    std::string json = "{\"change\":\"";
    json += KindName(change.kind);
    json += "\",\"subject\":\"";
    json += SubjectName(change.subject);
    json += "\",\"path\":" + QuotedForDisplay(change.path);
    switch (change.kind) {
    case ChangeKind::ItemChanged:
        json += ",\"item\":" + QuotedForDisplay(change.item) + ",\"old\":" + QuotedForDisplay(change.before) +
                ",\"new\":" + QuotedForDisplay(change.after);
        break;
    case ChangeKind::Added:
    case ChangeKind::Removed:
        json += ",\"what\":" + QuotedForDisplay(change.what);
        if (change.toPosition >= 0)
            json += ",\"position\":" + std::to_string(change.toPosition);
        break;
    case ChangeKind::Moved:
        if (change.subject != ChangeSubject::Dialog)
            json += ",\"from\":" + QuotedForDisplay(change.from) + ",\"to\":" + QuotedForDisplay(change.to);
        json += ",\"fromPosition\":" + std::to_string(change.fromPosition) +
                ",\"toPosition\":" + std::to_string(change.toPosition);
        break;
    }
    return json + '}';
}

} // namespace

int RunDiff(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ArgParser parser(args, {"--dialog", "--format"}, {});
    if (!parser.Ok())
        return UsageError(err, parser.Error());
    if (parser.Positionals().size() != 2)
        return UsageError(err, "give two files, the older version first");
    const std::string format = parser.Value("--format").value_or("text");
    if (format != "text" && format != "json")
        return UsageError(err, "unknown format '" + format + "' (text or json)");

    CTekResourceData older;
    CTekResourceData newer;
    for (auto [project, path] : {std::pair{&older, &parser.Positionals()[0]}, {&newer, &parser.Positionals()[1]}}) {
        std::ostringstream messages;
        if (!LoadProjectFile(*project, *path, messages)) {
            err << "veskres diff: " << messages.str();
            return 2;
        }
    }
    const std::string dialog = Utf8ToShiftJisExact(parser.Value("--dialog").value_or(std::string()));
    if (!dialog.empty() && !older.Dialogs().FindDialog(dialog) && !newer.Dialogs().FindDialog(dialog)) {
        err << "veskres diff: neither project has a dialog named " << ForTerminal(dialog) << '\n';
        return 2;
    }

    const std::vector<ProjectChange> changes = DiffProjects(older, newer, dialog);
    if (format == "json") {
        out << "{\"equal\":" << (changes.empty() ? "true" : "false") << ",\"changes\":[";
        for (size_t i = 0; i < changes.size(); ++i)
            out << (i ? ",\n" : "\n") << JsonChange(changes[i]);
        out << (changes.empty() ? "]}\n" : "\n]}\n");
    } else {
        for (const ProjectChange& change : changes)
            out << DescribeChange(change) << '\n';
    }
    out.flush();
    return changes.empty() ? 0 : 1;
}

} // namespace vesk::cli
