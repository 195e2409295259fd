#include "model/eventlist.h"

#include "model/jsonparser.h"
#include "objects/itemsets.h"
#include "textconv/textconv.h"

namespace vesk {

const char* const kEventNames[7] = {"OnClick", "OnSlide", "OnTouch", "OnRelease", "OnTimer", "OnOpen", "OnClose"};

std::string WriteEventList(const TekList& commands, int depth)
{
    std::string out;
    bool firstMember = true;
    for (const char* event : kEventNames) {
        int count = 0;
        for (const TekPtr& command : commands)
            if (command->GetItem("Event") == event)
                ++count;
        if (count == 0)
            continue;
        if (!firstMember)
            out += ',';
        out += '\n';
        out.append(static_cast<size_t>(depth), '\t');
        out += '\'';
        out += event;
        out += "':";
        if (count > 1)
            out += "{'Commands':[";
        bool firstCommand = true;
        for (const TekPtr& command : commands) {
            if (command->GetItem("Event") != event)
                continue;
            if (!firstCommand)
                out += ',';
            firstCommand = false;
            out += '{';
            bool firstItem = true;
            for (const auto& item : command->Items()) {
                std::string text = ItemText(*item);
                if (text.empty())
                    continue;
                if (!firstItem)
                    out += ',';
                firstItem = false;
                out += text;
            }
            out += '}';
        }
        if (count > 1)
            out += "]}";
        firstMember = false;
    }
    return out;
}

void ReadEventCommand(TekClass& owner, JsonParser& parser)
{
    // Every item a command can have is read back (the update items of UPDATE included), so that
    // an edited value survives a save and a load.
    static const char* const kCommandKeys[] = {
        "Name",       "Alias",      "Text",       "Attr",      "Data",          "Value",           "Hide",
        "Disable",    "File",       "FileSource", "FilePath",  "Time",          "SendCommand",     "ObjectName",
        "FileOff",    "FileOn",     "Min",        "Max",       "Width",         "Height",          "Weight",
        "Padding",    "Margin",     "BGColor",    "TSize",     "TColor",        "TAlign",          "FileBase",
        "FileActive", "FileCursor", "FileTop",    "FileThumb", "CenterPosBase", "CenterPosCursor", "CenterPosTop"};
    std::string command;
    std::string event;
    parser.GetString("Command", command);
    parser.GetString("Event", event);
    if (command.empty())
        return;
    auto node = std::make_shared<TekClass>(NodeType::Command);
    if (command == "NOTIFY")
        parser.GetString("MakeCommand", command);
    if (command == "SENDCOMMAND")
        parser.GetString("SendCommand", command);
    // Values are held as Shift_JIS, whatever encoding the file stored them in.
    BuildCommandItems(*node, command, ToShiftJis(event));
    for (const char* key : kCommandKeys) {
        std::string value;
        parser.GetString(key, value);
        node->SetItem(key, HeldTextFromFile(node->Items().Find(key), value));
    }
    owner.AddCommand(std::move(node));
}

void ReadEventMember(TekClass& owner, JsonParser& parser)
{
    if (parser.IsArray("Commands")) {
        JsonArrayWalk walk(parser, parser.GetArray("Commands"));
        while (walk.NextElement())
            ReadEventCommand(owner, parser);
    } else {
        ReadEventCommand(owner, parser);
    }
}

void ReadEventMembers(TekClass& owner, JsonParser& parser)
{
    for (const char* event : kEventNames) {
        parser.SaveCursor();
        if (!parser.IsNull(event) && parser.EnterObject(event))
            ReadEventMember(owner, parser);
        parser.RestoreCursor();
    }
}

}  // namespace vesk
