#include "records/resourcefile.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "records/eventreader.h"
#include "model/jsonparser.h"
#include "model/jsontape.h"
#include "model/recordslots.h"
#include "records/objectreader.h"
#include "model/savefile.h"
#include "objects/objectdata.h"

namespace vesk {

namespace {

bool IsEventName(std::string_view key)
{
    for (const char* event : kEventNames)
        if (key == event)
            return true;
    return false;
}

bool IsSkippedResourceKey(std::string_view key)
{
    return key == "Commands" || key == "Command" || IsEventName(key);
}

DialogPtr ReadDialogRecord(CTekResourceData& resource, const JsonTape& tape, const JsonTape::Node& record)
{
    const RecordSlots slots(tape, record);
    auto dialog = std::make_shared<CTekDialogData>(tape.TextOr(slots[kKeyName]), &resource.Dialogs());
    std::string value;
    for (const auto& [key, member] : tape.SortedMembers(record)) {
        if (key == "Name" || key == "Object" || IsSkippedResourceKey(key))
            continue;
        if (tape.Text(*member, value))
            dialog->SetOrAddItem(key, value);
    }
    // The values and the memory of the dialog's nodes are kept together, freed with the last of them.
    auto store = std::make_shared<ItemValueStore>();
    ReadEventMembers(*dialog, tape, slots, store);
    // A DIALOG record without 'Object' yields an object, read from the record's own members.
    dialog->SetRoot(ReadObjectRecord(nullptr, tape, record, store));
    return dialog;
}

bool ReadCommandRecord(CTekResourceData& resource, const JsonTape& tape, const JsonTape::Node& record)
{
    const std::string command = tape.TextOr(tape.Member(record, "Command"));
    if (command == "DIALOG") {
        resource.Dialogs().Append(ReadDialogRecord(resource, tape, record));
        return true;
    }
    // HELLO, CHANGE and CONDITION records are recognised and not kept.
    return command == "HELLO" || command == "CHANGE" || command == "CONDITION";
}

/// Reads a parsed text as the resource reader does, whatever its shape.
void ReadParsedResource(CTekResourceData& resource, const JsonTape& tape)
{
    const JsonTape::Node& root = tape.Root();
    std::string value;
    for (const auto& [key, member] : tape.SortedMembers(root))
        if (!IsSkippedResourceKey(key) && tape.Text(*member, value))
            resource.SetOrAddItem(key, value);
    const JsonTape::Node* commands = tape.Member(root, "Commands");
    if (commands && commands->kind == JsonKind::Array) {
        for (uint32_t i = 0; i < commands->size; ++i)
            ReadCommandRecord(resource, tape, tape.Elements(*commands)[i]);
    } else {
        ReadCommandRecord(resource, tape, root);
    }
}

/// Reads a project text dialog by dialog as it is parsed, keeping the resource's members for
/// the end. The dialogs go to the resource at once; Undo takes them out again.
class ProjectReader : public ProjectScanSink {
public:
    explicit ProjectReader(CTekResourceData& resource)
        : m_resource(resource), m_dialogsBefore(resource.Dialogs().Count()),
          m_serialBefore(TekClass::PeekSerialNumber())
    {
    }

    void Member(std::string_view key, const JsonTape& value) override
    {
        m_members.emplace_back(std::string(key), std::nullopt);
        std::string text;
        if (value.Text(value.Root(), text))
            m_members.back().second = std::move(text);
    }

    void Command(const JsonTape& element) override { ReadCommandRecord(m_resource, element, element.Root()); }

    /// Sets the resource's items from the members met, in key order, the later of equal keys counting.
    void Finish()
    {
        std::stable_sort(m_members.begin(), m_members.end(), [](const auto& a, const auto& b) {
            return std::string_view(a.first) < std::string_view(b.first);
        });
        for (size_t i = 0; i < m_members.size(); ++i) {
            if (i + 1 < m_members.size() && m_members[i].first == m_members[i + 1].first)
                continue;
            const auto& [key, value] = m_members[i];
            if (value && !IsSkippedResourceKey(key))
                m_resource.SetOrAddItem(key, *value);
        }
    }

    /// Takes back the dialogs read, as if nothing had been read.
    void Undo()
    {
        while (m_resource.Dialogs().Count() > m_dialogsBefore)
            m_resource.Dialogs().RemoveAt(m_resource.Dialogs().Count() - 1);
        TekClass::RestoreSerialNumber(m_serialBefore);
    }

private:
    CTekResourceData& m_resource;
    const int m_dialogsBefore;
    const uint64_t m_serialBefore;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_members;
};

} // namespace

bool WriteDialog(const CTekDialogData& dialog, COrbStream& stream, int depth)
{
    const CObjectData* root = dialog.RootObject();
    if (!root)
        return false;
    std::string head(static_cast<size_t>(depth), '\t');
    head += "{'Command':'DIALOG'";
    for (const auto& item : dialog.Items()) {
        std::string text = ItemText(*item);
        if (!text.empty()) {
            head += ',';
            head += text;
        }
    }
    if (!dialog.Commands().empty()) {
        std::string events = WriteEventList(dialog.Commands(), depth);
        if (!events.empty()) {
            head += ',';
            head += events;
            head += '\n';
            head.append(static_cast<size_t>(depth), '\t');
        }
    }
    head += ",'Object':\n";
    stream.Write(head);
    root->WriteRecord(stream, depth + 1);
    stream.Write("\n");
    stream.WriteTabs(depth);
    stream.Write("}");
    return true;
}

std::string ResourceHead(const CTekResourceData& resource)
{
    std::string head = "{";
    bool any = false;
    for (const auto& item : resource.Items()) {
        std::string text = ItemText(*item);
        if (text.empty())
            continue;
        if (any)
            head += ',';
        head += text;
        any = true;
    }
    if (any)
        head += ',';
    head += "'Commands':[\n";
    return head;
}

std::string DialogRecordText(const CTekDialogData& dialog)
{
    CJsonString text;
    WriteDialog(dialog, text, 1);
    return text.TakeText();
}

void WriteResource(const CTekResourceData& resource, COrbStream& stream, std::string_view dialogName)
{
    stream.Write(ResourceHead(resource));
    const CTekDialogDataList& dialogs = resource.Dialogs();
    bool first = true;
    for (int i = 0; i < dialogs.Count(); ++i) {
        const CTekDialogData& dialog = dialogs.At(i);
        if (!dialogName.empty() && dialog.GetItem("Name") != dialogName)
            continue;
        if (!dialog.RootObject())
            continue;
        if (!first)
            stream.Write(kDialogSeparator);
        first = false;
        WriteDialog(dialog, stream, 1);
    }
    stream.Write(kResourceTail);
}

FileResult SaveResourceFile(const CTekResourceData& resource, const std::string& path, std::string_view dialogName)
{
    CJsonString text;
    WriteResource(resource, text, dialogName);
    return WriteFileAtomically(path, text.Text());
}

bool SaveResourceFile(const CTekResourceData& resource, const std::string& path, std::string_view dialogName,
                      std::string* errorText)
{
    FileResult result = SaveResourceFile(resource, path, dialogName);
    if (!result && errorText)
        *errorText = path + ": " + result.reason;
    return result.ok;
}

LoadResult LoadResourceFile(CTekResourceData& resource, const std::string& path)
{
    std::string contents;
    std::string error;
    if (!ReadWholeFile(path, contents, &error))
        return {LoadStatus::OpenFailed, std::move(error)};
    return LoadResourceBytes(resource, contents);
}

LoadResult LoadResourceBytes(CTekResourceData& resource, std::string_view bytes)
{
    LoadResult result;
    if (!ReadResourceText(resource, bytes, &result.errorText)) {
        result.status = LoadStatus::ParseFailed;
        // The text ends at its first 0 byte, as the reader takes it.
        result.encoding = DetectEncoding(bytes.substr(0, bytes.find('\0')));
    }
    return result;
}

bool ReadResourceText(CTekResourceData& resource, std::string_view text, std::string* errorText)
{
    // A project is read dialog by dialog while it is parsed; any other text, and any text that
    // does not parse, is read (or refused) whole.
    JsonTape tape;
    ProjectReader reader(resource);
    if (ScanProject(text, tape, reader) == ProjectScan::Done) {
        reader.Finish();
        return true;
    }
    reader.Undo();
    if (!ParseTape(text, tape)) {
        JsonParser parser;
        if (!parser.Parse(text)) {
            if (errorText)
                *errorText = parser.ErrorText;
            return false;
        }
        TapeFromValue(parser.Root(), tape);
    }
    ReadParsedResource(resource, tape);
    return true;
}

bool ReadCommandRecord(CTekResourceData& resource, JsonParser& parser)
{
    JsonTape tape;
    TapeFromValue(parser.Cursor() ? *parser.Cursor() : JsonValue::SharedNull(), tape);
    return ReadCommandRecord(resource, tape, tape.Root());
}

} // namespace vesk
