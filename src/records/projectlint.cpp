#include "records/projectlint.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "objects/orbunit.h"
#include "objects/resourcedata.h"
#include "records/layoutlint.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

const std::vector<LintRule> kRules = {
    {"bad-length", LintSeverity::Error, "A length is not PARENT, CONTENT or a number with px, pu, pt, mm or dp."},
    {"bad-offset", LintSeverity::Error, "An offset is not four comma-separated lengths."},
    {"bad-colour", LintSeverity::Error, "A colour is not a named colour, #RRGGBB or #AARRGGBB."},
    {"bad-number", LintSeverity::Error, "A number item does not hold a whole number."},
    {"bad-choice", LintSeverity::Error, "A value is not one of the item's choices."},
    {"bad-flag", LintSeverity::Error, "A flag is neither true nor false."},
    {"empty-name", LintSeverity::Error, "An object or group has no Name."},
    {"duplicate-name", LintSeverity::Error, "Two objects of one dialog share a Name."},
    {"duplicate-dialog", LintSeverity::Error, "Two dialogs share a Name."},
    {"bad-dialog-name", LintSeverity::Error, "A dialog Name cannot become a C++ class name or a file name."},
    {"radio-outside-group", LintSeverity::Warning, "A RADIOBTN does not lie in a RADIO group."},
    {"grid-columns", LintSeverity::Warning, "A GRID's Columns differs from its number of header columns."},
    {"empty-group", LintSeverity::Warning, "A group holds no objects."},
    {"root-object", LintSeverity::Warning, "A dialog's top node is an object, not a group."},
    {"missing-picture", LintSeverity::Warning, "A picture named by an image item is not in its folder."},
    {"missing-file", LintSeverity::Warning, "A file that GETFILE fetches is not in the project's resources."},
    {"unknown-object", LintSeverity::Error, "A command names an object the dialog does not have."},
    {"unknown-notify-item", LintSeverity::Warning, "NotifyList names a value this kind of node does not report."},
    {"no-template-type", LintSeverity::Info, "A dialog has no TemplateType; the generator skips it."},
    {"outside-area", LintSeverity::Error, "An object reaches outside its dialog's area at a device size."},
    {"zero-size", LintSeverity::Warning,
     "An object with something to show is laid out with no width or no height at a device size."},
    {"clipped-text", LintSeverity::Warning, "A text is wider than its object's content at a device size."},
    {"frame-overlap", LintSeverity::Warning, "Two nodes of one FRAME group overlap at a device size."},
    {"small-tap-target", LintSeverity::Warning,
     "An object that takes taps is less than 40 pixels on a side at a device size."},
};

LintSeverity SeverityOf(std::string_view code)
{
    for (const LintRule& rule : kRules)
        if (code == rule.code)
            return rule.severity;
    return LintSeverity::Error;
}

const char* const kNamedColours[] = {"BLACK", "WHITE", "DKGRAY", "GRAY",    "LTGRAY", "RED",
                                     "GREEN", "BLUE",  "CYAN",   "MAGENTA", "YELLOW", "TRANSPARENT"};

/// A whole decimal integer within 32 bits (optional sign, digits, nothing else).
bool IsWholeNumber(std::string_view text, int* result = nullptr)
{
    int value = 0;
    size_t end = 0;
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])) || !ScanInteger(text, value, end) ||
        end != text.size() || value == INT_MAX || value == INT_MIN)
        return false;
    if (result)
        *result = value;
    return true;
}

/// A length as the units code reads it, with nothing ignored: an optional sign, digits within
/// 32 bits and one of the known suffixes. Sizes (Width, Height) may be negative only as -1 and
/// -2 (PARENT and CONTENT); text sizes and heights may not be negative.
enum class LengthUse { Size, Position, Positive };
bool IsLength(std::string_view text, LengthUse use)
{
    if (text == "PARENT" || text == "CONTENT")
        return use == LengthUse::Size;
    int value = 0;
    size_t end = 0;
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])) || !ScanInteger(text, value, end) ||
        value == INT_MAX || value == INT_MIN)
        return false;
    std::string_view suffix = text.substr(end);
    if (!suffix.empty() && suffix != "px" && suffix != "pu" && suffix != "pt" && suffix != "mm" && suffix != "dp")
        return false;
    OrbUnit unit;
    unit.ParseUnit(text);
    switch (use) {
    case LengthUse::Size:
        return unit.Value() >= 0 || unit.Value() == kLengthParent || unit.Value() == kLengthContent;
    case LengthUse::Position:
        return true;
    case LengthUse::Positive:
        return unit.Value() >= 0;
    }
    return false;
}

bool IsOffset(std::string_view text)
{
    int parts = 0;
    size_t start = 0;
    while (true) {
        size_t comma = text.find(',', start);
        std::string_view part =
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (!IsLength(part, LengthUse::Position))
            return false;
        ++parts;
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return parts == 4;
}

bool IsColour(std::string_view text)
{
    for (const char* name : kNamedColours)
        if (text == name)
            return true;
    if (text.size() != 7 && text.size() != 9)
        return false;
    if (text[0] != '#')
        return false;
    return std::all_of(text.begin() + 1, text.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

/// The C++ keywords, which no class may be named.
const char* const kKeywords[] = {
    "alignas",     "alignof",   "and",        "and_eq",    "asm",      "auto",         "bitand",
    "bitor",       "bool",      "break",      "case",      "catch",    "char",         "char8_t",
    "char16_t",    "char32_t",  "class",      "compl",     "concept",  "const",        "consteval",
    "constexpr",   "constinit", "const_cast", "continue",  "co_await", "co_return",    "co_yield",
    "decltype",    "default",   "delete",     "do",        "double",   "dynamic_cast", "else",
    "enum",        "explicit",  "export",     "extern",    "false",    "float",        "for",
    "friend",      "goto",      "if",         "inline",    "int",      "long",         "mutable",
    "namespace",   "new",       "noexcept",   "not",       "not_eq",   "nullptr",      "operator",
    "or",          "or_eq",     "private",    "protected", "public",   "register",     "reinterpret_cast",
    "requires",    "return",    "short",      "signed",    "sizeof",   "static",       "static_assert",
    "static_cast", "struct",    "switch",     "template",  "this",     "thread_local", "throw",
    "true",        "try",       "typedef",    "typeid",    "typename", "union",        "unsigned",
    "using",       "virtual",   "void",       "volatile",  "wchar_t",  "while",        "xor",
    "xor_eq"};

bool IsIdentifier(std::string_view name)
{
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    for (const char* keyword : kKeywords)
        if (name == keyword)
            return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<std::string_view> SplitCommas(std::string_view text)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string_view::npos)
            comma = text.size();
        std::string_view part = text.substr(start, comma - start);
        while (!part.empty() && part.front() == ' ')
            part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ')
            part.remove_suffix(1);
        if (!part.empty())
            parts.push_back(part);
        start = comma + 1;
    }
    return parts;
}

/// Walks one dialog and collects its findings.
class DialogLinter {
public:
    /// files: which files exist, as found so far in this run.
    DialogLinter(const CTekDialogData& dialog, const LintOptions& options, std::vector<LintFinding>& findings,
                 std::unordered_map<std::string, bool>& files)
        : m_dialog(dialog), m_options(options), m_findings(findings), m_files(files),
          m_dialogName(ToUtf8(dialog.GetItem("Name")))
    {
    }

    void Run()
    {
        if (m_dialog.GetItem("TemplateType").empty())
            Add("no-template-type", "", "TemplateType", "the dialog has no TemplateType; the generator skips it",
                "TemplateType が指定されていないため、スケルトン生成の対象になりません");
        const CObjectData* root = m_dialog.RootObject();
        if (root) {
            CollectNames(*root);
            if (!root->IsGroup())
                Add("root-object", Name(*root), "", "the dialog's top node is an object, not a group",
                    "ダイアログの最上位がグループではなくオブジェクトです");
            Walk(*root, "");
        }
        for (const TekPtr& command : m_dialog.Commands())
            CheckCommand(*command, "");
    }

private:
    static std::string Name(const CObjectData& node) { return ToUtf8(node.GetItem("Name")); }

    void Add(std::string_view code, std::string path, std::string item, std::string message, std::string messageJa)
    {
        m_findings.push_back({SeverityOf(code), std::string(code), m_dialogName, std::move(path), std::move(item),
                              std::move(message), std::move(messageJa)});
    }

    void CollectNames(const CObjectData& node)
    {
        const std::string& name = node.GetItem("Name");
        if (!name.empty())
            ++m_names[name];
        if (node.IsGroup())
            for (const ObjectPtr& child : static_cast<const CObjectDataList&>(node).Children())
                CollectNames(*child);
    }

    void Walk(const CObjectData& node, const std::string& parentPath)
    {
        const std::string& name = node.GetItem("Name");
        std::string path = parentPath.empty() ? ToUtf8(name) : parentPath + "/" + ToUtf8(name);
        if (name.empty()) {
            path = parentPath.empty() ? "(unnamed)" : parentPath + "/(unnamed)";
            Add("empty-name", path, "Name", "the node has no Name", "Name が空です");
        } else if (m_names[name] > 1 && m_reported.insert(name).second) {
            Add("duplicate-name", path, "Name",
                "the Name '" + ToUtf8(name) + "' is used " + std::to_string(m_names[name]) + " times in the dialog",
                "Name '" + ToUtf8(name) + "' がダイアログ内で重複しています");
        }
        CheckValues(node, path);
        CheckNotifyList(node, path);
        if (node.IsGroup()) {
            const auto& group = static_cast<const CObjectDataList&>(node);
            if (group.ChildCount() == 0)
                Add("empty-group", path, "", "the group holds no objects", "グループにオブジェクトがありません");
            for (const ObjectPtr& child : group.Children())
                Walk(*child, path);
        } else {
            CheckObject(node, path);
        }
        for (size_t i = 0; i < node.HeaderColumns().size(); ++i)
            CheckValues(*node.HeaderColumns()[i], path + "/Header[" + std::to_string(i) + ']');
        for (const TekPtr& command : node.CommandList())
            CheckCommand(*command, path);
    }

    void CheckObject(const CObjectData& object, const std::string& path)
    {
        int type = object.ObjectTypeCode();
        if (type == OBJ_RADIOBTN) {
            const CObjectDataList* parent = object.ParentGroup();
            if (!parent || parent->LayoutCode() != LAYOUT_RADIO)
                Add("radio-outside-group", path, "Type", "the RADIOBTN does not lie in a RADIO group",
                    "RADIOBTN が RADIO グループの外にあります");
        }
        if (type == OBJ_GRID) {
            const std::string& columns = object.GetItem("Columns");
            int count = 0;
            if (!columns.empty() && IsWholeNumber(columns, &count) &&
                count != static_cast<int>(object.HeaderColumns().size()))
                Add("grid-columns", path, "Columns",
                    "Columns is " + columns + " but the GRID has " + std::to_string(object.HeaderColumns().size()) +
                        " header columns",
                    "Columns (" + columns + ") とヘッダ項目の数 (" + std::to_string(object.HeaderColumns().size()) +
                        ") が一致しません");
        }
    }

    void CheckValues(const TekClass& node, const std::string& path)
    {
        // The Value of a ranged object is a number; an UPDATE's Value may be any object's value.
        const bool hasRange = node.Type() == NodeType::Object && node.Items().Find("Min") != nullptr;
        const std::string& source = node.GetItem("FileSource");
        for (const auto& item : node.Items()) {
            const std::string& value = item->Value();
            if (value.empty())
                continue;
            const std::string& name = item->Name();
            const ChoiceList* choices = item->Choices();
            const ChoiceLists& lists = SharedChoiceLists();
            if (IsOneOf(name, {"Width", "Height"}))
                CheckLength(value, name, path, LengthUse::Size);
            else if (IsOneOf(name, {"PosX", "PosY"}))
                CheckLength(value, name, path, LengthUse::Position);
            else if (IsOneOf(name, {"TSize", "ColumnHeight"}))
                CheckLength(value, name, path, LengthUse::Positive);
            else if (IsOneOf(name, {"Padding", "Margin"})) {
                if (!IsOffset(value))
                    Add("bad-offset", path, name, name + " '" + ToUtf8(value) + "' is not four comma-separated lengths",
                        name + " '" + ToUtf8(value) + "' は4つのカンマ区切りの長さではありません");
            } else if (choices == &lists.colour) {
                if (!IsColour(value))
                    Add("bad-colour", path, name,
                        name + " '" + ToUtf8(value) + "' is not a named colour, #RRGGBB or #AARRGGBB",
                        name + " '" + ToUtf8(value) + "' は色として正しくありません");
            } else if (IsOneOf(name, {"Weight", "Min", "Max", "Span", "Columns"}) || (name == "Value" && hasRange)) {
                if (!IsWholeNumber(value))
                    Add("bad-number", path, name, name + " '" + ToUtf8(value) + "' is not a whole number",
                        name + " '" + ToUtf8(value) + "' は整数ではありません");
            } else if (item->Kind() == ItemKind::Flag) {
                if (value != "true" && value != "false")
                    Add("bad-flag", path, name, name + " '" + ToUtf8(value) + "' is neither true nor false",
                        name + " '" + ToUtf8(value) + "' は true でも false でもありません");
            } else if (item->Kind() == ItemKind::Choice && choices &&
                       (item->Def().role == ItemRole::Plain || item->Def().role == ItemRole::TypeSelector ||
                        item->Def().role == ItemRole::LayoutSelector)) {
                if (std::find(choices->begin(), choices->end(), value) == choices->end())
                    Add("bad-choice", path, name, name + " '" + ToUtf8(value) + "' is not one of its choices",
                        name + " '" + ToUtf8(value) + "' は選択肢にありません");
            } else if (item->Kind() == ItemKind::Image) {
                CheckPicture(value, name, path, source);
            }
        }
    }

    void CheckLength(const std::string& value, const std::string& name, const std::string& path, LengthUse use)
    {
        if (!IsLength(value, use))
            Add("bad-length", path, name, name + " '" + ToUtf8(value) + "' is not a valid length",
                name + " '" + ToUtf8(value) + "' は長さとして正しくありません");
    }

    void CheckPicture(const std::string& file, const std::string& item, const std::string& path,
                      const std::string& source)
    {
        std::string folder;
        if (source.empty() || source == "BUILTIN") {
            if (m_options.dataFolder.empty())
                return;
            folder = WithSlash(m_options.dataFolder) + "assets/";
        } else if (source == "STATION") {
            if (m_options.projectFolder.empty())
                return;
            folder = WithSlash(m_options.projectFolder) + "resources/";
        } else {
            return;
        }
        if (!FileExists(folder + ToUtf8(file)))
            Add("missing-picture", path, item,
                "the picture '" + ToUtf8(file) + "' is not in " + (source == "STATION" ? "resources/" : "assets/"),
                "画像 '" + ToUtf8(file) + "' が " + (source == "STATION" ? "resources/" : "assets/") + " にありません");
    }

    /// Whether the file exists, each path asked of the system once a run.
    bool FileExists(const std::string& path)
    {
        auto known = m_files.find(path);
        if (known == m_files.end()) {
            std::error_code error;
            known = m_files.emplace(path, std::filesystem::is_regular_file(path, error)).first;
        }
        return known->second;
    }

    static std::string WithSlash(const std::string& folder)
    {
        return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
    }

    /// NotifyList names the values a CONDITION reports: each entry must be one the node's type
    /// offers (the item set's default list names them all).
    void CheckNotifyList(const CObjectData& node, const std::string& path)
    {
        const std::string& list = node.GetItem("NotifyList");
        if (list.empty())
            return;
        const ItemSet& set = node.IsGroup() ? GroupItemSet(static_cast<const CObjectDataList&>(node).LayoutCode())
                                            : ObjectItemSet(node.ObjectTypeCode(), ParentLayoutOf(node));
        const CItemData* offered = set.items.Find("NotifyList");
        if (!offered || offered->Value().empty())
            return;
        std::vector<std::string_view> known = SplitCommas(offered->Value());
        for (std::string_view entry : SplitCommas(list))
            if (std::find(known.begin(), known.end(), entry) == known.end())
                Add("unknown-notify-item", path, "NotifyList",
                    "NotifyList names '" + ToUtf8(entry) + "', which this kind of node does not report",
                    "NotifyList の '" + ToUtf8(entry) + "' はこの種類のノードが通知できる項目ではありません");
    }

    void CheckCommand(const TekClass& command, const std::string& path)
    {
        CheckValues(command, path);
        const std::string label = ToUtf8(command.GetItem("Event")) + " " + ToUtf8(command.GetItem("Command"));
        const std::string& file = command.GetItem("File");
        if (command.GetItem("SendCommand") == "GETFILE" && !file.empty() && !m_options.projectFolder.empty() &&
            !FileExists(WithSlash(m_options.projectFolder) + "resources/" + ToUtf8(file)))
            Add("missing-file", path, "File",
                "the file '" + ToUtf8(file) + "' that GETFILE fetches is not in resources/",
                "GETFILE で取得するファイル '" + ToUtf8(file) + "' が resources/ にありません");
        for (const char* itemName : {"Name", "ObjectName"}) {
            for (std::string_view name : SplitCommas(command.GetItem(itemName))) {
                if (m_names.count(std::string(name)))
                    continue;
                Add("unknown-object", path, itemName,
                    "the command " + label + " names the object '" + ToUtf8(name) + "', which the dialog does not have",
                    "コマンド " + label + " の '" + ToUtf8(name) + "' はダイアログにないオブジェクトです");
            }
        }
    }

    const CTekDialogData& m_dialog;
    const LintOptions& m_options;
    std::vector<LintFinding>& m_findings;
    std::unordered_map<std::string, bool>& m_files;
    std::string m_dialogName;
    std::unordered_map<std::string, int> m_names;
    std::unordered_set<std::string> m_reported;
};

} // namespace

const char* LintSeverityName(LintSeverity severity)
{
    switch (severity) {
    case LintSeverity::Info:
        return "info";
    case LintSeverity::Warning:
        return "warning";
    case LintSeverity::Error:
        return "error";
    }
    return "error";
}

std::string LintFinding::Location() const
{
    if (dialog.empty() && path.empty())
        return "(project)";
    return path.empty() ? dialog : dialog + "/" + path;
}

const std::vector<LintRule>& LintRules()
{
    return kRules;
}

std::vector<LintFinding> LintDialog(const CTekDialogData& dialog, const LintOptions& options, DeviceSize projectDevice)
{
    std::vector<LintFinding> findings;
    std::unordered_map<std::string, bool> pictures;
    DialogLinter(dialog, options, findings, pictures).Run();
    if (options.text) {
        LintOptions measured = options;
        const CachedTextMeasurer text(*options.text);
        measured.text = &text;
        LintDialogLayout(dialog, projectDevice, measured, findings);
    }
    return findings;
}

namespace {

/// Appends the name findings of the dialog at index i; seen counts each Name's dialogs.
void LintDialogName(const CTekDialogData& dialog, const std::unordered_map<std::string, int>& seen,
                    std::unordered_set<std::string>& reported, std::vector<LintFinding>& findings)
{
    const std::string& name = dialog.GetItem("Name");
    std::string utf8 = ToUtf8(name);
    if (!IsIdentifier(name))
        findings.push_back({LintSeverity::Error, "bad-dialog-name", utf8, "", "Name",
                            "the dialog Name '" + utf8 + "' cannot become a C++ class name or a file name",
                            "ダイアログ名 '" + utf8 + "' は C++ のクラス名やファイル名にできません"});
    const int count = seen.at(name);
    if (count > 1 && reported.insert(name).second)
        findings.push_back({LintSeverity::Error, "duplicate-dialog", utf8, "", "Name",
                            "the dialog Name '" + utf8 + "' is used by " + std::to_string(count) + " dialogs",
                            "ダイアログ名 '" + utf8 + "' が重複しています"});
}

std::unordered_map<std::string, int> CountDialogNames(const CTekDialogDataList& dialogs)
{
    std::unordered_map<std::string, int> seen;
    for (int i = 0; i < dialogs.Count(); ++i)
        ++seen[dialogs.At(i).GetItem("Name")];
    return seen;
}

} // namespace

std::vector<LintFinding> LintDialogNames(const CTekResourceData& project)
{
    std::vector<LintFinding> findings;
    const CTekDialogDataList& dialogs = project.Dialogs();
    const std::unordered_map<std::string, int> seen = CountDialogNames(dialogs);
    std::unordered_set<std::string> reported;
    for (int i = 0; i < dialogs.Count(); ++i)
        LintDialogName(dialogs.At(i), seen, reported, findings);
    return findings;
}

std::vector<LintFinding> LintProject(const CTekResourceData& project, const LintOptions& options)
{
    std::vector<LintFinding> findings;
    const CTekDialogDataList& dialogs = project.Dialogs();
    const std::unordered_map<std::string, int> seen = CountDialogNames(dialogs);
    std::unordered_set<std::string> reported;
    std::unordered_map<std::string, bool> pictures;
    LintOptions measured = options;
    std::optional<CachedTextMeasurer> text;
    if (options.text) {
        text.emplace(*options.text);
        measured.text = &*text;
    }
    const DeviceSize device = DeviceSizeOf(project);
    for (int i = 0; i < dialogs.Count(); ++i) {
        const CTekDialogData& dialog = dialogs.At(i);
        LintDialogName(dialog, seen, reported, findings);
        DialogLinter(dialog, options, findings, pictures).Run();
        LintDialogLayout(dialog, device, measured, findings);
    }
    return findings;
}

} // namespace vesk
