#include "records/objectreader.h"

#include <string>

#include "records/eventreader.h"
#include "model/jsonparser.h"
#include "model/recordslots.h"
#include "objects/itemsets.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

// Every item a group or object can have is read back ('Hide' and 'Disable' of groups and
// 'NotifyList' included), so that an edited value survives a save and a load.
constexpr ItemKey kGroupKeys[] = {kKeyName,   kKeyAlias,   kKeyType,    kKeyLayout,    kKeyWidth, kKeyHeight,
                                  kKeyWeight, kKeyPadding, kKeyMargin,  kKeyBGColor,   kKeyAlign, kKeyVertical,
                                  kKeyValue,  kKeyHide,    kKeyDisable, kKeyNotifyList};

constexpr ItemKey kObjectKeys[] = {
    kKeyName,         kKeyAlias,    kKeyRadioName,  kKeyWidth,        kKeyHeight,        kKeyWeight,
    kKeyPosX,         kKeyPosY,     kKeyPadding,    kKeyMargin,       kKeyHide,          kKeyDisable,
    kKeyBGColor,      kKeyTextOff,  kKeyTextOn,     kKeyText,         kKeyTSize,         kKeyTColor,
    kKeyTAlign,       kKeyStretch,  kKeyWrap,       kKeySpan,         kKeyFile,          kKeyFileOff,
    kKeyFileOn,       kKeyFileBase, kKeyFileActive, kKeyFileCursor,   kKeyFileTop,       kKeyFileThumb,
    kKeyFileSource,   kKeyFilePath, kKeyScaleType,  kKeyEnablePinch,  kKeyCenterPosBase, kKeyCenterPosCursor,
    kKeyCenterPosTop, kKeyPattern,  kKeyRevers,     kKeyMin,          kKeyMax,           kKeyValue,
    kKeyAttr,         kKeyVertical, kKeyColumns,    kKeyColumnHeight, kKeyClickable,     kKeyData,
    kKeyNotifyList};

constexpr KeyOrder kGroupOrder(kGroupKeys);
constexpr KeyOrder kObjectOrder(kObjectKeys);

constexpr ItemKey kHeaderKeys[] = {kKeyTSize, kKeyTColor, kKeyTAlign, kKeyMargin, kKeyBGColor, kKeyClickable};

/// The item an old key name of an object maps to, or -1.
int OldKeyTarget(int key)
{
    if (key == kKeyFileOff)
        return kKeyFileBase;
    if (key == kKeyFileOn)
        return kKeyFileActive;
    return -1;
}

/// Appends an empty item of kind 0 named by the key; answers its index.
int AppendFreeText(TekClass& node, int key)
{
    CItemList& items = node.Items();
    items.Add(CItemData::WithConstant(InternItemDef(ItemKeyName(key), ItemKind::FreeText), nullptr));
    return items.Count() - 1;
}

GroupPtr ReadGroup(CObjectDataList* parent, const JsonTape& tape, const RecordSlots& slots,
                   const std::shared_ptr<ItemValueStore>& store)
{
    auto group = MakeInStore<CObjectDataList>(store, parent, store);
    CItemList& items = group->Items();
    const std::string layout = tape.TextOr(slots[kKeyLayout]);
    const ItemSet& set = GroupItemSet(group->LayoutCode(layout));
    group->SetType(NodeType::Group);
    items.AppendSet(set.items);
    items.SetStoredValue(set.positions[kKeyLayout], layout);
    std::string scratch;
    int keys[kKeyCount];
    const int count = slots.KeysInOrder(kGroupOrder, keys);
    for (int i = 0; i < count; ++i) {
        const int key = keys[i];
        const JsonTape::Node* member = slots.Present(key);
        if (!member)
            continue;
        const int position = set.positions[key];
        StoreMemberText(items, position >= 0 ? position : AppendFreeText(*group, key), nullptr, tape, member, scratch);
    }
    ReadEventMembers(*group, tape, slots, store);
    if (const JsonTape::Node* children = slots.OfKind(kKeyObjects, JsonKind::Array))
        group->ReserveChildren(children->size);
    if (const JsonTape::Node* children = slots.OfKind(kKeyObjects, JsonKind::Array))
        for (uint32_t i = 0; i < children->size; ++i)
            ReadObjectRecord(group.get(), tape, tape.Elements(*children)[i], store);
    return group;
}

void ReadHeaderColumns(CObjectData& object, const JsonTape& tape, const JsonTape::Node& header,
                       const std::shared_ptr<ItemValueStore>& store)
{
    const ItemSet& set = HeaderItemSet();
    for (uint32_t i = 0; i < header.size; ++i) {
        const RecordSlots column(tape, tape.Elements(header)[i]);
        auto node = MakeInStore<TekClass>(store, NodeType::HeaderColumn, store);
        CItemList& items = node->Items();
        items.AppendSet(set.items);
        // Header column values are taken as parsed; a missing one clears the item.
        for (ItemKey key : kHeaderKeys)
            items.SetStoredValue(set.positions[key], tape.TextOr(column[key]));
        object.HeaderColumns().push_back(std::move(node));
    }
    object.SetItem("Columns", std::to_string(header.size));
}

ObjectPtr ReadObject(CObjectDataList* parent, const JsonTape& tape, const RecordSlots& slots,
                     const std::shared_ptr<ItemValueStore>& store)
{
    auto object = MakeInStore<CObjectData>(store, parent, store);
    CItemList& items = object->Items();
    const std::string type = tape.TextOr(slots[kKeyType]);
    const int code = object->ObjectTypeCode(type);
    const ItemSet& set = ObjectItemSet(code, ParentLayoutOf(*object));
    object->SetType(NodeType::Object);
    items.AppendSet(set.items);
    items.SetStoredValue(set.positions[kKeyType], type);
    std::string scratch;
    int keys[kKeyCount];
    const int count = slots.KeysInOrder(kObjectOrder, keys);
    for (int i = 0; i < count; ++i) {
        const int key = keys[i];
        const JsonTape::Node* member = slots.Present(key);
        if (!member)
            continue;
        // The value is converted as one of the item of its own name; an old name's value is
        // converted as any value and goes to the item that replaced it.
        int position = set.positions[key];
        const CItemData* convertAs = position >= 0 ? &items.At(position) : nullptr;
        if (position < 0 && OldKeyTarget(key) >= 0)
            position = set.positions[OldKeyTarget(key)];
        StoreMemberText(items, position >= 0 ? position : AppendFreeText(*object, key), convertAs, tape, member,
                        scratch);
    }
    ReadEventMembers(*object, tape, slots, store);
    if (code == OBJ_GRID)
        if (const JsonTape::Node* header = slots.OfKind(kKeyHeader, JsonKind::Array); header && header->size > 0)
            ReadHeaderColumns(*object, tape, *header, store);
    return object;
}

} // namespace

ObjectPtr ReadObjectRecord(CObjectDataList* parent, const JsonTape& tape, const JsonTape::Node& record,
                           const std::shared_ptr<ItemValueStore>& store)
{
    const RecordSlots slots(tape, record);
    ObjectPtr node;
    if (slots.OfKind(kKeyObjects, JsonKind::Array)) {
        node = ReadGroup(parent, tape, slots, store);
    } else if (const JsonTape::Node* inner = slots.OfKind(kKeyObject, JsonKind::Object)) {
        // The group is read from its 'Object' member.
        node = ReadGroup(parent, tape, RecordSlots(tape, *inner), store);
    } else {
        node = ReadObject(parent, tape, slots, store);
    }
    if (parent)
        parent->AppendChild(node);
    return node;
}

ObjectPtr ReadObjectRecord(CObjectDataList* parent, JsonParser& parser)
{
    JsonTape tape;
    TapeFromValue(parser.Cursor() ? *parser.Cursor() : JsonValue::SharedNull(), tape);
    return ReadObjectRecord(parent, tape, tape.Root(), std::make_shared<ItemValueStore>());
}

} // namespace vesk
