#include "objects/itemsets.h"

#include <initializer_list>
#include <iterator>
#include <memory>

#include "model/tekclass.h"
#include "objects/objectdata.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

ChoiceList ShiftJisList(std::initializer_list<const char*> utf8Entries)
{
    ChoiceList list;
    for (const char* entry : utf8Entries)
        list.push_back(Utf8ToShiftJisExact(entry));
    return list;
}


/// Appends one item to an item set, with a constant value or none.
void Add(CItemList& items, const char* name, ItemKind kind, const ChoiceList* choices = nullptr,
         const char* value = nullptr)
{
    const ItemDef* def = InternItemDef(name, kind, choices);
    items.Add(CItemData::WithConstant(def, value ? ConstantText(value) : nullptr));
}

bool OneOf(int code, std::initializer_list<int> codes)
{
    for (int c : codes)
        if (c == code)
            return true;
    return false;
}

const char* const kNotifyLists[OBJ_TYPE_COUNT] = {
    "Name,Text",
    "Name,Value",
    "Name,Text,Attr",
    "Name,Attr",
    "Name,Attr",
    "Name,Value,Attr",
    "Name,File,ScaleX,ScaleY,OffsetX,OffsetY",
    nullptr,
    "Name,Value,Position",
    "Name,Text,Position",
    "Name,Value",
    "Name,Value",
    "Name,Position",
};

void AddImageItems(CItemList& object, int code)
{
    const ChoiceLists& lists = SharedChoiceLists();
    switch (code) {
    case OBJ_EDIT:
    case OBJ_PICTURE:
    case OBJ_CANVAS:
        Add(object, "File", ItemKind::Image, nullptr);
        break;
    case OBJ_PROGRESS:
        Add(object, "FileBase", ItemKind::Image, nullptr);
        Add(object, "FileActive", ItemKind::Image, nullptr);
        break;
    case OBJ_SLIDEBAR:
        Add(object, "FileBase", ItemKind::Image, nullptr);
        Add(object, "FileActive", ItemKind::Image, nullptr);
        Add(object, "FileThumb", ItemKind::Image, nullptr);
        break;
    case OBJ_METER:
        Add(object, "Revers", ItemKind::Flag, nullptr);
        Add(object, "Pattern", ItemKind::Choice, &lists.pattern);
        Add(object, "FileBase", ItemKind::Image, nullptr);
        Add(object, "FileCursor", ItemKind::Image, nullptr);
        Add(object, "FileTop", ItemKind::Image, nullptr);
        Add(object, "CenterPosBase", ItemKind::FreeText, nullptr);
        Add(object, "CenterPosCursor", ItemKind::FreeText, nullptr);
        Add(object, "CenterPosTop", ItemKind::FreeText, nullptr);
        break;
    case OBJ_BUTTON:
    case OBJ_CHECKBOX:
    case OBJ_TOGGLE:
    case OBJ_RADIOBTN:
    case OBJ_GRID:
    case OBJ_PULLDOWN:
        Add(object, "FileOff", ItemKind::Image, nullptr);
        Add(object, "FileOn", ItemKind::Image, nullptr);
        break;
    default:
        break;
    }
}

} // namespace

ChoiceLists& SharedChoiceLists()
{
    static ChoiceLists lists = [] {
        ChoiceLists l;
        l.colour = ShiftJisList({"BLACK", "WHITE", "DKGRAY", "GRAY", "LTGRAY", "RED", "GREEN", "BLUE", "CYAN",
                                 "MAGENTA", "YELLOW", "TRANSPARENT", "#RRGGBB"});
        l.size = ShiftJisList({"PARENT", "CONTENT"});
        l.offset = ShiftJisList({"0,0,0,0", "10,10,10,10"});
        for (const char* name : kObjectTypeNames)
            l.objectType.push_back(name);
        for (const char* name : kLayoutNames)
            l.layout.push_back(name);
        l.alignment = ShiftJisList({"LEFT", "CENTER", "RIGHT", "TOP", "MIDDLE", "BOTTOM", "LEFT|TOP", "LEFT|MIDDLE",
                                    "LEFT|BOTTOM", "CENTER|TOP", "CENTER|MIDDLE", "CENTER|BOTTOM", "RIGHT|TOP",
                                    "RIGHT|MIDDLE", "RIGHT|BOTTOM"});
        l.attribute = ShiftJisList({"ON", "OFF", "TOGGLE"});
        l.header = ShiftJisList({"キャンセル", "ヘッダ項目追加"});
        l.command = ShiftJisList(
            {"キャンセル", "CONDITION", "UPDATE", "OPEN", "CLOSE", "SOUND", "TIMER", "DELETE", "GETFILE", "HELLO"});
        l.scale = ShiftJisList({"SCALE_100PER", "SCALE_WIDTH", "SCALE_HEIGHT", "SCALE_AUTO", "SCALE_JUST"});
        l.source = ShiftJisList({"BUILTIN", "STATION", "STRAGE", "URI"});
        l.templates = ShiftJisList({"None", "Shared", "Unique"});
        l.pattern = ShiftJisList({"CIRCLE", "HORIZONTAL", "VERTICAL"});
        return l;
    }();
    return lists;
}

const std::string& CancelChoice()
{
    return *SharedText("キャンセル");
}
const std::string& AddHeaderChoice()
{
    return *SharedText("ヘッダ項目追加");
}

namespace {

/// The object item set of a type code (-1 unset) in a group of that layout.
void ObjectSet(CItemList& object, int code, int parentLayout)
{
    const ChoiceLists& lists = SharedChoiceLists();
    const bool slidebar = code == OBJ_SLIDEBAR;
    const bool textual = OneOf(code, {OBJ_TEXT, OBJ_BUTTON, OBJ_CHECKBOX, OBJ_TOGGLE, OBJ_RADIOBTN});
    const bool ranged = OneOf(code, {OBJ_PROGRESS, OBJ_SLIDEBAR, OBJ_METER});

    Add(object, "Name", ItemKind::FreeText, nullptr);
    Add(object, "Alias", ItemKind::FreeText, nullptr);
    Add(object, "Type", ItemKind::Choice, &lists.objectType, code >= 0 && code < OBJ_TYPE_COUNT ? kObjectTypeNames[code] : "Unset");
    Add(object, "Width", ItemKind::Suggest, &lists.size);
    Add(object, "Height", ItemKind::Suggest, &lists.size);
    Add(object, "Weight", ItemKind::Number, nullptr);
    if (parentLayout == LAYOUT_FRAME) {
        Add(object, "PosX", ItemKind::Size, nullptr);
        Add(object, "PosY", ItemKind::Size, nullptr);
    }
    Add(object, "Padding", ItemKind::Suggest, &lists.offset);
    Add(object, "Margin", ItemKind::Suggest, &lists.offset);
    Add(object, "Hide", ItemKind::Flag, nullptr);
    Add(object, "Disable", ItemKind::Flag, nullptr);
    Add(object, "BGColor", ItemKind::Suggest, &lists.colour);
    if (code == OBJ_PICTURE)
        Add(object, "ScaleType", ItemKind::Suggest, &lists.scale);
    if (!slidebar) {
        Add(object, "Clickable", ItemKind::Flag, nullptr);
        Add(object, "OnClick", ItemKind::Choice, &lists.command);
    } else {
        Add(object, "OnSlide", ItemKind::Choice, &lists.command);
        Add(object, "OnTouch", ItemKind::Choice, &lists.command);
        Add(object, "OnRelease", ItemKind::Choice, &lists.command);
    }
    if (OneOf(code, {OBJ_BUTTON, OBJ_CHECKBOX, OBJ_TOGGLE, OBJ_RADIOBTN}))
        Add(object, "Attr", ItemKind::Suggest, &lists.attribute);
    if (OneOf(code, {OBJ_GRID, OBJ_PULLDOWN}))
        Add(object, "Data", ItemKind::Data, nullptr);
    if (code == OBJ_TOGGLE) {
        Add(object, "TextOff", ItemKind::Display, nullptr);
        Add(object, "TextOn", ItemKind::Display, nullptr);
    }
    if (OneOf(code, {OBJ_TEXT, OBJ_BUTTON, OBJ_CHECKBOX, OBJ_RADIOBTN}))
        Add(object, "Text", ItemKind::Display, nullptr);
    if (textual) {
        Add(object, "TSize", ItemKind::Size, nullptr);
        Add(object, "TColor", ItemKind::Suggest, &lists.colour);
        Add(object, "TAlign", ItemKind::Choice, &lists.alignment);
    }
    if (parentLayout == LAYOUT_TABLEROW) {
        Add(object, "Stretch", ItemKind::Flag, nullptr);
        Add(object, "Wrap", ItemKind::Flag, nullptr);
        Add(object, "Span", ItemKind::Number, nullptr);
    }
    AddImageItems(object, code);
    Add(object, "FileSource", ItemKind::Choice, &lists.source);
    Add(object, "FilePath", ItemKind::FreeText, nullptr);
    if (code == OBJ_PICTURE)
        Add(object, "EnablePinch", ItemKind::Flag, nullptr);
    if (ranged) {
        Add(object, "Min", ItemKind::Number, nullptr);
        Add(object, "Max", ItemKind::Number, nullptr);
        Add(object, "Value", ItemKind::FreeText, nullptr);
    }
    if (OneOf(code, {OBJ_EDIT, OBJ_RADIOBTN}))
        Add(object, "Value", ItemKind::Display, nullptr);
    if (OneOf(code, {OBJ_PROGRESS, OBJ_SLIDEBAR}))
        Add(object, "Vertical", ItemKind::Flag, nullptr);
    if (OneOf(code, {OBJ_GRID, OBJ_PULLDOWN}))
        Add(object, "ColumnHeight", ItemKind::Size, nullptr);
    if (code == OBJ_GRID)
        Add(object, "Columns", ItemKind::Choice, &lists.header);
    if (code >= 0 && code < OBJ_TYPE_COUNT && kNotifyLists[code])
        Add(object, "NotifyList", ItemKind::FreeText, nullptr, kNotifyLists[code]);
}

void GroupSet(CItemList& group, int code)
{
    const ChoiceLists& lists = SharedChoiceLists();
    Add(group, "Name", ItemKind::FreeText, nullptr);
    if (code == LAYOUT_RADIO)
        Add(group, "Alias", ItemKind::FreeText, nullptr);
    Add(group, "Type", ItemKind::Fixed, nullptr, "GROUP");
    Add(group, "Layout", ItemKind::Choice, &lists.layout, code >= 0 && code < LAYOUT_COUNT ? kLayoutNames[code] : "Unset");
    Add(group, "Width", ItemKind::Suggest, &lists.size);
    Add(group, "Height", ItemKind::Suggest, &lists.size);
    Add(group, "Weight", ItemKind::Number, nullptr);
    Add(group, "Padding", ItemKind::Suggest, &lists.offset);
    Add(group, "Margin", ItemKind::Suggest, &lists.offset);
    Add(group, "Hide", ItemKind::Flag, nullptr);
    Add(group, "Disable", ItemKind::Flag, nullptr);
    Add(group, "BGColor", ItemKind::Suggest, &lists.colour);
    Add(group, "Align", ItemKind::Choice, &lists.alignment);
    Add(group, "Vertical", ItemKind::Flag, nullptr);
    Add(group, "NotifyList", ItemKind::FreeText, nullptr, "Name");
}

void HeaderSet(CItemList& column)
{
    const ChoiceLists& lists = SharedChoiceLists();
    Add(column, "TSize", ItemKind::Size, nullptr);
    Add(column, "TColor", ItemKind::Suggest, &lists.colour);
    Add(column, "TAlign", ItemKind::Choice, &lists.alignment);
    Add(column, "Margin", ItemKind::Suggest, &lists.offset);
    Add(column, "BGColor", ItemKind::Suggest, &lists.colour);
    Add(column, "Clickable", ItemKind::Flag, nullptr);
}

void AddCommandName(CItemList& node, const char* value)
{
    Add(node, "Command", ItemKind::Fixed, nullptr, value);
}

void AddMakeCommand(CItemList& node, const char* value)
{
    Add(node, "MakeCommand", ItemKind::Fixed, nullptr, value);
}

void AddSendCommand(CItemList& node, const char* value)
{
    Add(node, "SendCommand", ItemKind::Fixed, nullptr, value);
}

void AddTargetItems(CItemList& node)
{
    Add(node, "Name", ItemKind::FreeText, nullptr);
    Add(node, "Alias", ItemKind::FreeText, nullptr);
}

void AddFileItems(CItemList& node)
{
    Add(node, "File", ItemKind::FreeText, nullptr);
    Add(node, "FileSource", ItemKind::Choice, &SharedChoiceLists().source);
    Add(node, "FilePath", ItemKind::FreeText, nullptr);
}

void AddUpdateItems(CItemList& node)
{
    const ChoiceLists& lists = SharedChoiceLists();
    Add(node, "Text", ItemKind::Display, nullptr);
    Add(node, "FileOff", ItemKind::Image, nullptr);
    Add(node, "FileOn", ItemKind::Image, nullptr);
    Add(node, "Attr", ItemKind::Suggest, &lists.attribute);
    Add(node, "Data", ItemKind::Data, nullptr);
    Add(node, "Value", ItemKind::FreeText, nullptr);
    Add(node, "Min", ItemKind::Number, nullptr);
    Add(node, "Max", ItemKind::Number, nullptr);
    Add(node, "Width", ItemKind::Suggest, &lists.size);
    Add(node, "Height", ItemKind::Suggest, &lists.size);
    Add(node, "Weight", ItemKind::Number, nullptr);
    Add(node, "Padding", ItemKind::Suggest, &lists.offset);
    Add(node, "Margin", ItemKind::Suggest, &lists.offset);
    Add(node, "Hide", ItemKind::Flag, nullptr);
    Add(node, "Disable", ItemKind::Flag, nullptr);
    Add(node, "BGColor", ItemKind::Suggest, &lists.colour);
    Add(node, "TSize", ItemKind::Size, nullptr);
    Add(node, "TColor", ItemKind::Suggest, &lists.colour);
    Add(node, "TAlign", ItemKind::Choice, &lists.alignment);
    Add(node, "File", ItemKind::Image, nullptr);
    Add(node, "FileBase", ItemKind::Image, nullptr);
    Add(node, "FileActive", ItemKind::Image, nullptr);
    Add(node, "FileCursor", ItemKind::Image, nullptr);
    Add(node, "FileTop", ItemKind::Image, nullptr);
    Add(node, "FileThumb", ItemKind::Image, nullptr);
    Add(node, "FileSource", ItemKind::Choice, &lists.source);
    Add(node, "FilePath", ItemKind::FreeText, nullptr);
    Add(node, "CenterPosBase", ItemKind::FreeText, nullptr);
    Add(node, "CenterPosCursor", ItemKind::FreeText, nullptr);
    Add(node, "CenterPosTop", ItemKind::FreeText, nullptr);
}

/// The items of a command after its 'Event', for the command name.
void CommandSet(CItemList& node, std::string_view command)
{
    if (command == "CONDITION") {
        AddCommandName(node, "NOTIFY");
        AddMakeCommand(node, "CONDITION");
        AddTargetItems(node);
    } else if (command == "UPDATE") {
        AddCommandName(node, "NOTIFY");
        AddMakeCommand(node, "UPDATE");
        AddTargetItems(node);
        AddUpdateItems(node);
    } else if (command == "OPEN" || command == "SOUND") {
        AddCommandName(node, command == "OPEN" ? "OPEN" : "SOUND");
        AddFileItems(node);
    } else if (command == "CLOSE") {
        AddCommandName(node, "CLOSE");
    } else if (command == "DELETE") {
        AddCommandName(node, "DELETE");
        AddTargetItems(node);
    } else if (command == "TIMER") {
        AddCommandName(node, "TIMER");
        Add(node, "Time", ItemKind::Number, nullptr);
    } else if (command == "GETFILE") {
        AddCommandName(node, "SENDCOMMAND");
        AddSendCommand(node, "GETFILE");
        AddFileItems(node);
        Add(node, "ObjectName", ItemKind::FreeText, nullptr);
    } else if (command == "HELLO") {
        AddCommandName(node, "SENDCOMMAND");
        AddSendCommand(node, "HELLO");
    }
}

constexpr int kParentLayouts = LAYOUT_COUNT + 1; // -1 (unknown) to LAYOUT_COUNT - 1
constexpr const char* kCommandNames[] = {"CONDITION", "UPDATE", "OPEN",    "SOUND", "CLOSE",
                                         "DELETE",    "TIMER",  "GETFILE", "HELLO"};
constexpr int kCommandSets = static_cast<int>(std::size(kCommandNames));

/// Every item set, built once.
struct ItemSets {
    ItemSet objects[OBJ_TYPE_COUNT + 1][kParentLayouts];
    ItemSet groups[LAYOUT_COUNT + 1];
    ItemSet header;
    ItemSet event;
    ItemSet commands[kCommandSets + 1]; ///< the last one: any other name
};

void Index(ItemSet& set)
{
    set.positions.fill(-1);
    for (int i = set.items.Count() - 1; i >= 0; --i) {
        const int key = set.items.At(i).Def().key;
        if (key >= 0)
            set.positions[static_cast<size_t>(key)] = static_cast<int16_t>(i);
    }
}

const ItemSets& AllItemSets()
{
    static const std::unique_ptr<ItemSets> sets = [] {
        auto all = std::make_unique<ItemSets>();
        for (int code = -1; code < OBJ_TYPE_COUNT; ++code)
            for (int layout = -1; layout < LAYOUT_COUNT; ++layout) {
                ItemSet& set = all->objects[code + 1][layout + 1];
                ObjectSet(set.items, code, layout);
                Index(set);
            }
        for (int code = -1; code < LAYOUT_COUNT; ++code) {
            GroupSet(all->groups[code + 1].items, code);
            Index(all->groups[code + 1]);
        }
        HeaderSet(all->header.items);
        Index(all->header);
        Add(all->event.items, "Event", ItemKind::Fixed, nullptr);
        Index(all->event);
        for (int i = 0; i <= kCommandSets; ++i) {
            CommandSet(all->commands[i].items, i < kCommandSets ? kCommandNames[i] : "");
            Index(all->commands[i]);
        }
        return all;
    }();
    return *sets;
}

/// Codes beyond their tables give the set of -1 (no table row matches them).
int SetIndex(int code, int count)
{
    return code >= 0 && code < count ? code + 1 : 0;
}

} // namespace

const ItemSet& ObjectItemSet(int typeCode, int parentLayout)
{
    return AllItemSets().objects[SetIndex(typeCode, OBJ_TYPE_COUNT)][SetIndex(parentLayout, LAYOUT_COUNT)];
}

const ItemSet& GroupItemSet(int layoutCode)
{
    return AllItemSets().groups[SetIndex(layoutCode, LAYOUT_COUNT)];
}

const ItemSet& HeaderItemSet()
{
    return AllItemSets().header;
}

const ItemSet& CommandItemSet(std::string_view commandName)
{
    int i = 0;
    while (i < kCommandSets && commandName != kCommandNames[i])
        ++i;
    return AllItemSets().commands[i];
}

const ItemDef& CommandEventDef()
{
    return AllItemSets().event.items.At(0).Def();
}

int ParentLayoutOf(const CObjectData& object)
{
    const CObjectDataList* parent = object.ParentGroup();
    return parent ? parent->LayoutCode() : LAYOUT_LINEAR;
}

void BuildObjectItems(CObjectData& object, int code)
{
    object.SetType(NodeType::Object);
    object.Items().AppendSet(ObjectItemSet(code, ParentLayoutOf(object)).items);
}

void BuildGroupItems(CObjectDataList& group, int code)
{
    group.SetType(NodeType::Group);
    group.Items().AppendSet(GroupItemSet(code).items);
}

void BuildHeaderItems(TekClass& column)
{
    column.Items().AppendSet(HeaderItemSet().items);
}

void BuildCommandItems(TekClass& node, std::string_view command, std::string_view event)
{
    node.Items().Add(CItemData(&CommandEventDef(), std::string(event)));
    node.Items().AppendSet(CommandItemSet(command).items);
}

void RebuildObjectItems(CObjectData& object, int typeCode)
{
    CItemList old = std::move(object.Items());
    object.Items().Clear();
    BuildObjectItems(object, typeCode);
    object.Items().AdoptMatching(std::move(old));
}

void RebuildGroupItems(CObjectDataList& group, int layoutCode)
{
    CItemList old = std::move(group.Items());
    group.Items().Clear();
    BuildGroupItems(group, layoutCode);
    group.Items().AdoptMatching(std::move(old));
}

} // namespace vesk
