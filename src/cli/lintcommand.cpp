#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <sstream>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/projectfile.h"
#include "model/datafolder.h"
#include "objects/devicesizes.h"
#include "records/projectlint.h"
#include "render/devicepainter.h"
#include "render/previewpainter.h"

namespace vesk::cli {

namespace {

constexpr const char* kUsage = "usage: veskres lint FILE... [--device WxH]... [--format text|json|sarif] "
                               "[--severity error|warning|info] [--project-folder DIR]\n";

constexpr const char* kSarifSchema =
    "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json";

int UsageError(std::ostream& err, const std::string& problem)
{
    err << "veskres lint: " << problem << '\n' << kUsage;
    return kUsageError;
}

/// A UTF-8 text as a JSON string.
std::string Quoted(const std::string& text)
{
    std::string json = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + '"';
}

/// A file path as a relative or absolute URI reference: bytes other than unreserved ones and '/'
/// percent-encoded.
std::string PathUri(const std::string& path)
{
    std::string uri;
    for (char c : path) {
        unsigned char byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') || c == '-' ||
            c == '.' || c == '_' || c == '~' || c == '/') {
            uri += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            uri += escaped;
        }
    }
    return uri;
}

/// SARIF's level of a severity.
const char* SarifLevel(LintSeverity severity)
{
    switch (severity) {
    case LintSeverity::Error:
        return "error";
    case LintSeverity::Warning:
        return "warning";
    case LintSeverity::Info:
        return "note";
    }
    return "error";
}

struct FileFindings {
    std::string file;
    std::vector<LintFinding> findings;
};

void WriteText(const std::vector<FileFindings>& files, std::ostream& out)
{
    for (const FileFindings& file : files)
        for (const LintFinding& f : file.findings)
            out << file.file << ':' << f.Location() << ": " << LintSeverityName(f.severity) << ' ' << f.code << ": "
                << f.message << '\n';
}

void WriteJson(const std::vector<FileFindings>& files, std::ostream& out)
{
    out << "{\"findings\":[";
    bool first = true;
    for (const FileFindings& file : files)
        for (const LintFinding& f : file.findings) {
            out << (first ? "\n" : ",\n") << "{\"file\":" << Quoted(file.file) << ",\"dialog\":" << Quoted(f.dialog)
                << ",\"path\":" << Quoted(f.path) << ",\"item\":" << Quoted(f.item)
                << ",\"severity\":" << Quoted(LintSeverityName(f.severity)) << ",\"code\":" << Quoted(f.code)
                << ",\"message\":" << Quoted(f.message) << ",\"messageJa\":" << Quoted(f.messageJa) << '}';
            first = false;
        }
    out << (first ? "]}\n" : "\n]}\n");
}

void WriteSarif(const std::vector<FileFindings>& files, std::ostream& out)
{
    const std::vector<LintRule>& rules = LintRules();
    out << "{\"version\":\"2.1.0\",\"$schema\":" << Quoted(kSarifSchema)
        << ",\"runs\":[{\"tool\":{\"driver\":{\"name\":\"veskres\",\"rules\":[";
    for (size_t i = 0; i < rules.size(); ++i)
        out << (i ? "," : "") << "\n{\"id\":" << Quoted(rules[i].code)
            << ",\"shortDescription\":{\"text\":" << Quoted(rules[i].description)
            << "},\"defaultConfiguration\":{\"level\":" << Quoted(SarifLevel(rules[i].severity)) << "}}";
    out << "]}},\"results\":[";
    bool first = true;
    for (const FileFindings& file : files)
        for (const LintFinding& f : file.findings) {
            size_t index = 0;
            while (index < rules.size() && f.code != rules[index].code)
                ++index;
            out << (first ? "\n" : ",\n") << "{\"ruleId\":" << Quoted(f.code);
            if (index < rules.size())
                out << ",\"ruleIndex\":" << index;
            out << ",\"level\":" << Quoted(SarifLevel(f.severity)) << ",\"message\":{\"text\":" << Quoted(f.message)
                << "},\"locations\":[{\"physicalLocation\":{\"artifactLocation\":{\"uri\":"
                << Quoted(PathUri(file.file))
                << "}},\"logicalLocations\":[{\"fullyQualifiedName\":" << Quoted(f.Location())
                << ",\"kind\":\"object\"}]}]}";
            first = false;
        }
    out << (first ? "]}]}\n" : "\n]}]}\n");
}

bool ParseSeverity(const std::string& text, LintSeverity& severity)
{
    for (LintSeverity s : {LintSeverity::Error, LintSeverity::Warning, LintSeverity::Info})
        if (text == LintSeverityName(s)) {
            severity = s;
            return true;
        }
    return false;
}

} // namespace

int RunLint(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ArgParser parser(args, {"--device", "--format", "--severity", "--project-folder"}, {});
    if (!parser.Ok())
        return UsageError(err, parser.Error());
    if (parser.Positionals().empty())
        return UsageError(err, "no file given");
    const std::string format = parser.Value("--format").value_or("text");
    if (format != "text" && format != "json" && format != "sarif")
        return UsageError(err, "unknown format '" + format + "' (text, json or sarif)");
    LintSeverity threshold = LintSeverity::Error;
    if (auto severity = parser.Value("--severity"); severity && !ParseSeverity(*severity, threshold))
        return UsageError(err, "unknown severity '" + *severity + "' (error, warning or info)");
    LintOptions options;
    for (const std::string& device : parser.Values("--device")) {
        const std::optional<LayoutArea> size = ParseDeviceSizeText(device);
        if (!size)
            return UsageError(err, "a device size is WxH, not '" + device + "'");
        options.deviceSizes.push_back(*size);
    }
    options.dataFolder = DataFolderOf(RunningProgramFolder());
    options.projectFolder = parser.Value("--project-folder").value_or(std::string());
    // The layout is checked as the device draws it: texts measured in its font.
    const auto application = MakeOffscreenGuiApplication();
    const FontTextMeasurer text;
    options.text = &text;

    std::vector<FileFindings> files;
    bool unreadable = false;
    for (const std::string& path : parser.Positionals()) {
        CTekResourceData project;
        std::ostringstream messages;
        if (!LoadProjectFile(project, path, messages)) {
            err << "veskres lint: " << messages.str();
            unreadable = true;
            continue;
        }
        // STATION pictures come from the project folder given, else from the file's own folder.
        const DevicePictureCache pictures({options.dataFolder.empty() ? std::string() : options.dataFolder + "/assets",
                                           options.projectFolder.empty()
                                               ? std::filesystem::absolute(path).parent_path().string()
                                               : options.projectFolder});
        LintOptions fileOptions = options;
        fileOptions.pictures = &pictures;
        files.push_back({path, LintProject(project, fileOptions)});
    }
    if (format == "sarif")
        WriteSarif(files, out);
    else if (format == "json")
        WriteJson(files, out);
    else
        WriteText(files, out);
    out.flush();
    if (unreadable)
        return 2;
    for (const FileFindings& file : files)
        for (const LintFinding& f : file.findings)
            if (f.severity >= threshold)
                return 1;
    return 0;
}

} // namespace vesk::cli
