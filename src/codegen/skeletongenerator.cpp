#include "codegen/skeletongenerator.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "model/datafolder.h"
#include "records/resourcefile.h"
#include "model/savefile.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDialogMarker = "%MULTILINE%DIALOG%";
constexpr std::string_view kProjectsMarker = "%MULTILINE%PROJECTS%";

/// A Japanese literal of this file as the Shift_JIS text the result list holds.
std::string Sjis(const char* utf8)
{
    return Utf8ToShiftJisExact(utf8);
}

/// A Shift_JIS name from the project as a file-system name.
std::string FileName(const std::string& shiftJis)
{
    return ShiftJisToUtf8Exact(shiftJis);
}

/// A name that stays inside the folder it is appended to: no folder separator, no 0 byte.
bool StaysInFolder(std::string_view name)
{
    return name.find_first_of(std::string_view("/\0", 2)) == name.npos;
}

/// True when something (a file, a folder, even a dangling link) is at the path.
bool PathExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

bool IsDirectory(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

std::string FormatNumber(int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "%03d", n);
    return text;
}

} // namespace

std::string ReplaceShiftJis(std::string_view text, std::string_view search, std::string_view replacement)
{
    if (search.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, search.size(), search) == 0) {
            result += replacement;
            i += search.size();
            continue;
        }
        size_t step = IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        result.append(text.substr(i, step));
        i += step;
    }
    return result;
}

size_t FindShiftJis(std::string_view text, std::string_view search)
{
    if (search.empty())
        return std::string_view::npos;
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, search.size(), search) == 0)
            return i;
        i += IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    return std::string_view::npos;
}

bool IsNoneTemplateType(std::string_view templateType)
{
    constexpr std::string_view kNone = "NONE";
    if (templateType.size() != kNone.size())
        return false;
    for (size_t i = 0; i < kNone.size(); ++i) {
        char c = templateType[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != kNone[i])
            return false;
    }
    return true;
}

std::string ShippedTemplateFolder()
{
    const std::string program = RunningProgramFolder();
    if (program.empty())
        return {};
    return DataFolderOf(program) + "template";
}

SkeletonGenerator::SkeletonGenerator(const CTekResourceData& project, SkeletonOptions& options)
    : m_project(project), m_options(options)
{
}

std::string SkeletonGenerator::SourcesList() const
{
    const std::string& app = m_project.GetItem("Name");
    std::string sources;
    const auto add = [this, &sources](const std::string& file) {
        if (IsListed(file))
            sources += file + ' ';
    };
    add(app + ".cpp");
    add(app + "Application.cpp");
    add(app + "DialogMaker.cpp");
    const CTekDialogDataList& dialogs = m_project.Dialogs();
    for (int i = 0; i < dialogs.Count(); ++i) {
        const CTekDialogData& dialog = dialogs.At(i);
        if (!IsNoneTemplateType(dialog.GetItem("TemplateType")))
            add(app + "Dialog" + dialog.GetItem("Name") + ".cpp");
    }
    return sources;
}

bool SkeletonGenerator::IsListed(const std::string& outputName) const
{
    if (!m_generating)
        return true;
    const std::string file = FileName(outputName);
    std::error_code ec;
    return StaysInFolder(file) && fs::is_regular_file(m_options.outputFolder + file, ec);
}

bool SkeletonGenerator::Fail(const char* utf8Reason)
{
    m_errorText = Sjis(utf8Reason);
    return false;
}

bool SkeletonGenerator::ExpandTemplate(const std::string& templatePath, const std::string& outputPath, bool overwrite,
                                       std::string_view dialogName, std::string_view templateType)
{
    m_errorText.clear();
    std::string templateText;
    if (!ReadWholeFile(templatePath, templateText))
        return Fail("テンプレートの読込みエラー");
    if (!overwrite && PathExists(outputPath))
        return Fail("ファイルが存在します[上書き禁止]");

    const std::string sources = SourcesList();
    std::string output;
    size_t position = 0;
    for (;;) {
        // A line ends at a line feed (a carriage return before it stays); reading past the end
        // yields one last empty line, which is processed too.
        const bool atEnd = position >= templateText.size();
        std::string_view line;
        if (!atEnd) {
            size_t feed = templateText.find('\n', position);
            size_t end = feed == std::string::npos ? templateText.size() : feed;
            line = std::string_view(templateText).substr(position, end - position);
            position = feed == std::string::npos ? templateText.size() : feed + 1;
        }
        ExpandLine(line, dialogName, templateType, sources, output);
        if (atEnd)
            break;
    }

    // Saved as projects are: a failed write leaves the old file as it was.
    if (!WriteFileAtomically(outputPath, output))
        return Fail("書込みできませんでした");
    return true;
}

void SkeletonGenerator::ExpandLine(std::string_view utf8Line, std::string_view dialogName,
                                   std::string_view templateType, const std::string& sources, std::string& output) const
{
    auto write = [&output](const std::string& shiftJis) { output += ToUtf8(shiftJis + '\n'); };
    const std::string& app = m_project.GetItem("Name");
    const CTekDialogDataList& dialogs = m_project.Dialogs();

    std::string line = Utf8ToShiftJis(utf8Line);
    line = ReplaceShiftJis(line, "_APPNAME_", app);
    if (!dialogName.empty())
        line = ReplaceShiftJis(line, "_DIALOGNAME_", dialogName);
    if (!templateType.empty())
        line = ReplaceShiftJis(line, "_TEMPLATETYPE_", templateType);
    line = ReplaceShiftJis(line, "_SOURCES_", sources);

    // A marker counts only when its first occurrence stands after the start of the line.
    size_t marker = FindShiftJis(line, kDialogMarker);
    if (marker != std::string::npos && marker > 0) {
        const std::string pattern = ReplaceShiftJis(line, kDialogMarker, "");
        for (int i = 0; i < dialogs.Count(); ++i) {
            const CTekDialogData& dialog = dialogs.At(i);
            std::string copy = ReplaceShiftJis(pattern, "_DIALOGNAME_", dialog.GetItem("Name"));
            write(ReplaceShiftJis(copy, "_TEMPLATETYPE_", dialog.GetItem("TemplateType")));
        }
        return;
    }
    marker = FindShiftJis(line, kProjectsMarker);
    if (marker != std::string::npos && marker > 0) {
        const std::string pattern = ReplaceShiftJis(line, kProjectsMarker, "");
        std::vector<std::string> entries;
        const auto addSource = [&entries](const std::string& file) { entries.push_back("@Source@" + file + ",0"); };
        for (const char* suffix : {".cpp", "Application.cpp", "Application.h", "DialogMaker.cpp", "DialogMaker.h"})
            if (IsListed(app + suffix))
                addSource(app + suffix);
        for (int i = 0; i < dialogs.Count(); ++i) {
            const std::string& name = dialogs.At(i).GetItem("Name");
            // A dialog's class files are named only when they are there (a dialog of type NONE,
            // or without a template type, has none).
            for (const char* extension : {".cpp", ".h"})
                if (IsListed(app + "Dialog" + name + extension))
                    addSource(app + "Dialog" + name + extension);
        }
        entries.push_back("@Lib@");
        entries.push_back("@Document@");
        for (size_t n = 0; n < entries.size(); ++n) {
            std::string copy = ReplaceShiftJis(pattern, "_NUMBER_", FormatNumber(static_cast<int>(n)));
            write(ReplaceShiftJis(copy, "_SOURCE_", entries[n]));
        }
        return;
    }
    write(line);
}

void SkeletonGenerator::GenerateFile(SkeletonRow row, const std::string& templateName, const std::string& outputName,
                                     std::string_view dialogName, std::string_view templateType)
{
    m_errorText.clear();
    const std::string templateFile = FileName(templateName);
    const std::string outputFile = FileName(outputName);
    bool ok;
    if (!StaysInFolder(templateFile))
        ok = Fail("テンプレートの読込みエラー");
    else if (!StaysInFolder(outputFile))
        ok = Fail("書込みできませんでした");
    else
        ok = ExpandTemplate(m_templateFolder + templateFile, m_options.outputFolder + outputFile,
                            m_options.MayOverwrite(row), dialogName, templateType);
    if (ok)
        m_results.push_back(Sjis("○ ") + outputName + Sjis(" を更新しました。"));
    else
        m_results.push_back(Sjis("× ") + outputName + Sjis(" キャンセルしました。(") + m_errorText + ")");
}

bool SkeletonGenerator::IsSelected(const Dialog& dialog) const
{
    return m_options.scope == DialogScope::AllDialogs || dialog.name == m_options.dialogName;
}

void SkeletonGenerator::GenerateDialogClasses()
{
    for (const Dialog& dialog : m_dialogs) {
        if (IsNoneTemplateType(dialog.templateType) || !IsSelected(dialog))
            continue;
        if (dialog.templateType.empty()) {
            m_results.push_back(Sjis("× ") + dialog.name + Sjis(" TemplateType が指定されていません。"));
            continue;
        }
        for (const char* extension : {".cpp", ".h"})
            GenerateFile(SkeletonRow::Dialogs, "_APPNAME_Dialog" + dialog.templateType + extension,
                         m_appName + "Dialog" + dialog.name + extension, dialog.name, dialog.templateType);
    }
}

void SkeletonGenerator::GenerateJsonCopies()
{
    const std::string subfolder = m_options.outputFolder + "resources";
    for (const Dialog& dialog : m_dialogs) {
        if (!IsSelected(dialog))
            continue;
        if (!IsDirectory(subfolder)) {
            std::error_code ec;
            fs::create_directory(subfolder, ec);
            if (!IsDirectory(subfolder)) {
                m_results.push_back(Sjis("× ") + Utf8ToShiftJisExact(subfolder) +
                                    Sjis(" フォルダが作成できませんでした。"));
                continue;
            }
        }
        const std::string reported = dialog.name + ".json";
        const std::string fileName = FileName(reported);
        const std::string path = subfolder + "/" + fileName;
        if (!m_options.MayOverwrite(SkeletonRow::Json) && PathExists(path)) {
            m_results.push_back(Sjis("× ") + reported +
                                Sjis(" キャンセルしました。(ファイルが存在します[上書き禁止])"));
        } else if (!StaysInFolder(fileName) || !SaveResourceFile(m_project, path, dialog.name)) {
            m_results.push_back(Sjis("× ") + reported + Sjis(" キャンセルしました。(オープンエラー)"));
        } else {
            m_results.push_back(Sjis("○ ") + reported + Sjis(" を更新しました。"));
        }
    }
}

bool SkeletonGenerator::PrepareOutputFolder()
{
    const std::string& folder = m_options.outputFolder; // ends with '/'
    if (!m_options.createOutputFolder || IsDirectory(folder))
        return true;
    const std::string path = folder.substr(0, folder.size() - 1);
    std::error_code ec;
    fs::create_directories(path, ec);
    if (IsDirectory(folder))
        return true;
    m_results.push_back(Sjis("× ") + Utf8ToShiftJisExact(path) + Sjis(" フォルダが作成できませんでした。"));
    return false;
}

const std::vector<std::string>& SkeletonGenerator::Generate()
{
    m_results.clear();
    m_errorText.clear();
    // An empty folder would put every file into the root of the file system.
    if (m_options.outputFolder.empty()) {
        m_results.push_back(Sjis("× 出力フォルダが指定されていません。"));
        return m_results;
    }
    if (!m_options.outputFolder.ends_with('/'))
        m_options.outputFolder += '/';
    if (!PrepareOutputFolder())
        return m_results;
    m_templateFolder = m_options.templateFolder.empty() ? ShippedTemplateFolder() : m_options.templateFolder;
    if (!m_templateFolder.ends_with('/'))
        m_templateFolder += '/';

    m_appName = m_project.GetItem("Name");
    m_dialogs.clear();
    const CTekDialogDataList& dialogs = m_project.Dialogs();
    for (int i = 0; i < dialogs.Count(); ++i)
        m_dialogs.push_back({dialogs.At(i).GetItem("Name"), dialogs.At(i).GetItem("TemplateType")});

    // From here on the makefile and the project list only the files that are there.
    m_generating = true;
    const std::string& app = m_appName;
    if (m_options.Generates(SkeletonRow::Main))
        GenerateFile(SkeletonRow::Main, "_APPNAME_.cpp", app + ".cpp");
    if (m_options.Generates(SkeletonRow::Application)) {
        GenerateFile(SkeletonRow::Application, "_APPNAME_Application.cpp", app + "Application.cpp");
        GenerateFile(SkeletonRow::Application, "_APPNAME_Application.h", app + "Application.h");
    }
    if (m_options.Generates(SkeletonRow::DialogMaker)) {
        GenerateFile(SkeletonRow::DialogMaker, "_APPNAME_DialogMaker.cpp", app + "DialogMaker.cpp");
        GenerateFile(SkeletonRow::DialogMaker, "_APPNAME_DialogMaker.h", app + "DialogMaker.h");
    }
    if (m_options.Generates(SkeletonRow::Dialogs))
        GenerateDialogClasses();
    if (m_options.Generates(SkeletonRow::Json))
        GenerateJsonCopies();
    if (m_options.Generates(SkeletonRow::Project))
        GenerateFile(SkeletonRow::Project, "_APPNAME_.kbpro", app + ".kbpro");
    if (m_options.Generates(SkeletonRow::Makefiles)) {
        GenerateFile(SkeletonRow::Makefiles, "Makefile", "Makefile");
        GenerateFile(SkeletonRow::Makefiles, "Makeparam", "Makeparam");
    }
    m_generating = false;
    return m_results;
}

} // namespace vesk
