#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/itemdata.h"
#include "model/itemkeys.h"

namespace vesk {

class TekClass;
class CObjectData;
class CObjectDataList;

/// The shared choice lists; items point to them. Texts are Shift_JIS.
struct ChoiceLists {
    ChoiceList colour;
    ChoiceList size;
    ChoiceList offset;
    ChoiceList objectType;
    ChoiceList layout;
    ChoiceList alignment;
    ChoiceList attribute;
    ChoiceList header;
    ChoiceList command;
    ChoiceList scale;
    ChoiceList source;
    ChoiceList templates;
    ChoiceList pattern;
};

/// The one set of shared choice lists, filled on first use.
ChoiceLists& SharedChoiceLists();

/// The first entry of the command and header lists: choosing it adds nothing.
const std::string& CancelChoice();
/// The header list entry that adds a header column to a GRID.
const std::string& AddHeaderChoice();

/// Appends the item set of an object type (-1 for unset) to the object's items and sets its
/// node type; the set depends on the layout of the object's parent group.
void BuildObjectItems(CObjectData& object, int typeCode);
/// Appends the item set of a group layout (-1 for unset) and sets the group's node type.
void BuildGroupItems(CObjectDataList& group, int layoutCode);
/// Gives the object the item set of another type (code as for BuildObjectItems), keeping each
/// old item whose name the new set has, with its value, kind, choices and description.
void RebuildObjectItems(CObjectData& object, int typeCode);
/// The same for a group and another layout.
void RebuildGroupItems(CObjectDataList& group, int layoutCode);
/// One item set as the builders give it: the items with their constant defaults, and where each
/// known key (ItemKey) stands in it (-1 when the set has no item of that name).
struct ItemSet {
    CItemList items;
    std::array<int16_t, kKeyCount> positions{};
};

/// The item sets, built once: of an object type (-1 unset) in a group of that layout (-1
/// unknown), of a group layout, of a header column, and of a command's items after 'Event'.
const ItemSet& ObjectItemSet(int typeCode, int parentLayout);
const ItemSet& GroupItemSet(int layoutCode);
const ItemSet& HeaderItemSet();
const ItemSet& CommandItemSet(std::string_view commandName);
/// The definition of a command's 'Event' item.
const ItemDef& CommandEventDef();
/// The layout that decides an object's item set: its parent group's, LINEAR without one.
int ParentLayoutOf(const CObjectData& object);

/// Appends the item set of a GRID header column.
void BuildHeaderItems(TekClass& headerColumn);
/// Appends the item set of a command: 'Event' first, then the items of that command name.
void BuildCommandItems(TekClass& command, std::string_view commandName, std::string_view eventName);

} // namespace vesk
