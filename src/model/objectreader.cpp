#include "model/objectreader.h"

#include <string>

#include "model/eventlist.h"
#include "model/jsonparser.h"
#include "objects/itemsets.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

// Every item a group or object can have is read back ('Hide' and 'Disable' of groups and
// 'NotifyList' included), so that an edited value survives a save and a load.
const char* const kGroupKeys[] = {"Name",   "Alias",   "Type",  "Layout",   "Width", "Height", "Weight",  "Padding",
                                  "Margin", "BGColor", "Align", "Vertical", "Value", "Hide",   "Disable", "NotifyList"};

const char* const kObjectKeys[] = {
    "Name",          "Alias",      "RadioName",  "Width",          "Height",          "Weight",       "PosX",
    "PosY",          "Padding",    "Margin",     "Hide",           "Disable",         "BGColor",      "TextOff",
    "TextOn",        "Text",       "TSize",      "TColor",         "TAlign",          "Stretch",      "Wrap",
    "Span",          "File",       "FileOff",    "FileOn",         "FileBase",        "FileActive",   "FileCursor",
    "FileTop",       "FileThumb",  "FileSource", "FilePath",       "ScaleType",       "EnablePinch",  "CenterPosBase",
    "CenterPosCursor", "CenterPosTop", "Pattern", "Revers",        "Min",             "Max",          "Value",
    "Attr",          "Vertical",   "Columns",    "ColumnHeight",   "Clickable",       "Data",         "NotifyList"};

const char* const kHeaderKeys[] = {"TSize", "TColor", "TAlign", "Margin", "BGColor", "Clickable"};

/// The item an old key name of an object maps to, or nullptr.
const char* OldKeyTarget(std::string_view key)
{
    if (key == "FileOff")
        return "FileBase";
    if (key == "FileOn")
        return "FileActive";
    return nullptr;
}

GroupPtr ReadGroup(CObjectDataList* parent, JsonParser& parser)
{
    auto group = std::make_shared<CObjectDataList>(parent);
    std::string layout;
    parser.GetString("Layout", layout);
    BuildGroupItems(*group, group->LayoutCode(layout));
    group->SetItem("Layout", layout);
    for (const char* key : kGroupKeys) {
        std::string value;
        if (parser.GetString(key, value))
            group->SetOrAddItem(key, ToShiftJis(value));
    }
    ReadEventMembers(*group, parser);
    JsonArrayWalk walk(parser, parser.GetArray("Objects"));
    while (walk.NextElement())
        ReadObjectRecord(group.get(), parser);
    return group;
}

ObjectPtr ReadObject(CObjectDataList* parent, JsonParser& parser)
{
    auto object = std::make_shared<CObjectData>(parent);
    std::string type;
    parser.GetString("Type", type);
    BuildObjectItems(*object, object->ObjectTypeCode(type));
    object->SetItem("Type", type);
    for (const char* key : kObjectKeys) {
        std::string value;
        if (!parser.GetString(key, value))
            continue;
        value = HeldTextFromFile(object->Items().Find(key), value);
        if (object->SetItem(key, value))
            continue;
        const char* target = OldKeyTarget(key);
        if (target && object->SetItem(target, value))
            continue;
        object->AddItem(std::make_unique<CItemData>(key, ItemKind::FreeText, std::move(value)));
    }
    ReadEventMembers(*object, parser);
    if (object->ObjectTypeCode() == OBJ_GRID && !parser.GetArray("Header").empty()) {
        parser.SaveCursor();
        JsonArrayWalk walk(parser, parser.GetArray("Header"));
        int columns = 0;
        while (walk.NextElement()) {
            auto column = std::make_shared<TekClass>(NodeType::HeaderColumn);
            BuildHeaderItems(*column);
            for (const char* key : kHeaderKeys) {
                std::string value;
                parser.GetString(key, value);
                column->SetItem(key, value);
            }
            object->HeaderColumns().push_back(std::move(column));
            ++columns;
        }
        parser.RestoreCursor();
        object->SetItem("Columns", std::to_string(columns));
    }
    return object;
}

}  // namespace

ObjectPtr ReadObjectRecord(CObjectDataList* parent, JsonParser& parser)
{
    ObjectPtr node;
    if (parser.IsArray("Objects") || parser.EnterObject("Object"))
        node = ReadGroup(parent, parser);
    else
        node = ReadObject(parent, parser);
    if (parent)
        parent->AppendChild(node);
    return node;
}

}  // namespace vesk
