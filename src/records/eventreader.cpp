#include "records/eventreader.h"

#include <array>
#include <iterator>

#include "model/eventlist.h"
#include "model/jsonparser.h"
#include "model/recordslots.h"
#include "objects/itemsets.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

// Every item a command can have is read back (the update items of UPDATE included), so that an
// edited value survives a save and a load.
constexpr ItemKey kCommandKeys[] = {kKeyName,          kKeyAlias,
                                    kKeyText,          kKeyAttr,
                                    kKeyData,          kKeyValue,
                                    kKeyHide,          kKeyDisable,
                                    kKeyFile,          kKeyFileSource,
                                    kKeyFilePath,      kKeyTime,
                                    kKeySendCommand,   kKeyObjectName,
                                    kKeyFileOff,       kKeyFileOn,
                                    kKeyMin,           kKeyMax,
                                    kKeyWidth,         kKeyHeight,
                                    kKeyWeight,        kKeyPadding,
                                    kKeyMargin,        kKeyBGColor,
                                    kKeyTSize,         kKeyTColor,
                                    kKeyTAlign,        kKeyFileBase,
                                    kKeyFileActive,    kKeyFileCursor,
                                    kKeyFileTop,       kKeyFileThumb,
                                    kKeyCenterPosBase, kKeyCenterPosCursor,
                                    kKeyCenterPosTop};

constexpr ItemKey kEventKeys[] = {kKeyOnClick, kKeyOnSlide, kKeyOnTouch, kKeyOnRelease,
                                  kKeyOnTimer, kKeyOnOpen,  kKeyOnClose};

/// The shared constant of an event name the editor knows (the value an event item of that name
/// keeps), or nullptr.
const std::string* KnownEventName(std::string_view name)
{
    static const std::array<const std::string*, std::size(kEventNames)> constants = [] {
        std::array<const std::string*, std::size(kEventNames)> texts{};
        for (size_t i = 0; i < texts.size(); ++i)
            texts[i] = ConstantText(kEventNames[i]);
        return texts;
    }();
    for (const std::string* constant : constants)
        if (*constant == name)
            return constant;
    return nullptr;
}

/// A parsed value under the cursor as a tape of its own.
struct CursorTape {
    explicit CursorTape(const JsonParser& parser)
    {
        TapeFromValue(parser.Cursor() ? *parser.Cursor() : JsonValue::SharedNull(), tape);
    }
    JsonTape tape;
};

} // namespace

void ReadEventCommand(TekClass& owner, const JsonTape& tape, const JsonTape::Node& record,
                      const std::shared_ptr<ItemValueStore>& store)
{
    const RecordSlots slots(tape, record);
    std::string command = tape.TextOr(slots[kKeyCommand]);
    const std::string event = tape.TextOr(slots[kKeyEvent]);
    if (command.empty())
        return;
    auto node = MakeInStore<TekClass>(store, NodeType::Command, store);
    if (command == "NOTIFY")
        if (const JsonTape::Node* made = slots.Present(kKeyMakeCommand))
            tape.Text(*made, command);
    if (command == "SENDCOMMAND")
        if (const JsonTape::Node* sent = slots.Present(kKeySendCommand))
            tape.Text(*sent, command);
    CItemList& items = node->Items();
    // Values are held as Shift_JIS, whatever encoding the file stored them in.
    const ItemSet& set = CommandItemSet(command);
    items.Reserve(1 + set.items.Count());
    items.Add(CItemData::WithConstant(&CommandEventDef(), KnownEventName(event)));
    items.SetStoredValue(0, ToShiftJis(event));
    items.AppendSet(set.items);
    // Keys the command has no item for are dropped; a missing member clears the item.
    std::string scratch;
    for (ItemKey key : kCommandKeys) {
        const int position = set.positions[key];
        if (position < 0)
            continue;
        StoreMemberText(items, 1 + position, &items.At(1 + position), tape, slots[key], scratch);
    }
    owner.AddCommand(std::move(node));
}

void ReadEventMember(TekClass& owner, const JsonTape& tape, const JsonTape::Node& member,
                     const std::shared_ptr<ItemValueStore>& store)
{
    const JsonTape::Node* commands = tape.Member(member, "Commands");
    if (commands && commands->kind == JsonKind::Array) {
        for (uint32_t i = 0; i < commands->size; ++i)
            ReadEventCommand(owner, tape, tape.Elements(*commands)[i], store);
    } else {
        ReadEventCommand(owner, tape, member, store);
    }
}

void ReadEventMembers(TekClass& owner, const JsonTape& tape, const RecordSlots& record,
                      const std::shared_ptr<ItemValueStore>& store)
{
    for (ItemKey event : kEventKeys)
        if (const JsonTape::Node* member = record.OfKind(event, JsonKind::Object))
            ReadEventMember(owner, tape, *member, store);
}

void ReadEventCommand(TekClass& owner, JsonParser& parser)
{
    const CursorTape command(parser);
    ReadEventCommand(owner, command.tape, command.tape.Root(), std::make_shared<ItemValueStore>());
}

void ReadEventMember(TekClass& owner, JsonParser& parser)
{
    const CursorTape member(parser);
    ReadEventMember(owner, member.tape, member.tape.Root(), std::make_shared<ItemValueStore>());
}

void ReadEventMembers(TekClass& owner, JsonParser& parser)
{
    const CursorTape record(parser);
    ReadEventMembers(owner, record.tape, RecordSlots(record.tape, record.tape.Root()),
                     std::make_shared<ItemValueStore>());
}

} // namespace vesk
