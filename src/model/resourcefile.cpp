#include "model/resourcefile.h"

#include <vector>

#include "model/eventlist.h"
#include "model/jsonparser.h"
#include "model/objectreader.h"
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

DialogPtr ReadDialogRecord(CTekResourceData& resource, JsonParser& parser)
{
    std::string name;
    parser.GetString("Name", name);
    auto dialog = std::make_shared<CTekDialogData>(name, &resource.Dialogs());
    std::vector<std::string> keys;
    parser.GetKeys(keys);
    for (const std::string& key : keys) {
        if (key == "Name" || key == "Commands" || key == "Command" || key == "Object" || IsEventName(key))
            continue;
        std::string value;
        if (parser.GetString(key, value))
            dialog->SetOrAddItem(key, std::move(value));
    }
    ReadEventMembers(*dialog, parser);
    // A DIALOG record without 'Object' yields an object, read from the record's own members.
    dialog->SetRoot(ReadObjectRecord(nullptr, parser));
    return dialog;
}

}  // namespace

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

void WriteResource(const CTekResourceData& resource, COrbStream& stream, std::string_view dialogName)
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
    stream.Write(head);
    const CTekDialogDataList& dialogs = resource.Dialogs();
    bool first = true;
    for (int i = 0; i < dialogs.Count(); ++i) {
        const CTekDialogData& dialog = dialogs.At(i);
        if (!dialogName.empty() && dialog.GetItem("Name") != dialogName)
            continue;
        if (!dialog.RootObject())
            continue;
        if (!first)
            stream.Write(",\n");
        first = false;
        WriteDialog(dialog, stream, 1);
    }
    stream.Write("\n");
    stream.Write("]}\n");
}

bool SaveResourceFile(const CTekResourceData& resource, const std::string& path, std::string_view dialogName,
                      std::string* errorText)
{
    CJsonString text;
    WriteResource(resource, text, dialogName);
    return WriteFileAtomically(path, text.Text(), errorText);
}

LoadResult LoadResourceFile(CTekResourceData& resource, const std::string& path)
{
    LoadResult result;
    std::string contents;
    if (!ReadWholeFile(path, contents, &result.errorText)) {
        result.status = LoadStatus::OpenFailed;
        return result;
    }
    if (!ReadResourceText(resource, contents, &result.errorText))
        result.status = LoadStatus::ParseFailed;
    return result;
}

bool ReadResourceText(CTekResourceData& resource, std::string_view text, std::string* errorText)
{
    JsonParser parser;
    if (!parser.Parse(text)) {
        if (errorText)
            *errorText = parser.ErrorText;
        return false;
    }
    std::vector<std::string> keys;
    parser.GetKeys(keys);
    for (const std::string& key : keys) {
        if (key == "Commands" || key == "Command" || IsEventName(key))
            continue;
        std::string value;
        if (parser.GetString(key, value))
            resource.SetOrAddItem(key, std::move(value));
    }
    if (parser.IsArray("Commands")) {
        JsonArrayWalk walk(parser, parser.GetArray("Commands"));
        while (walk.NextElement())
            ReadCommandRecord(resource, parser);
    } else {
        ReadCommandRecord(resource, parser);
    }
    return true;
}

bool ReadCommandRecord(CTekResourceData& resource, JsonParser& parser)
{
    std::string command;
    parser.GetString("Command", command);
    if (command == "DIALOG") {
        resource.Dialogs().Append(ReadDialogRecord(resource, parser));
        return true;
    }
    if (command == "HELLO") {
        std::string ignored;
        parser.GetString("OS", ignored);
        parser.GetString("ResolutionH", ignored);
        parser.GetString("ResolutionV", ignored);
        return true;
    }
    if (command == "CHANGE") {
        const JsonValue* record = parser.Cursor();
        std::string ignored;
        if (parser.EnterObject("Dialog"))
            parser.GetString("Name", ignored);
        parser.SetCursor(record);
        return true;
    }
    if (command == "CONDITION") {
        // The reported objects are visited and not kept.
        return true;
    }
    return false;
}

}  // namespace vesk
