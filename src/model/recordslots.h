#pragma once

#include <string>
#include <string_view>

#include "model/itemdata.h"
#include "model/itemkeys.h"
#include "model/jsontape.h"
#include "textconv/textconv.h"

namespace vesk {

/// The members of one record by key number, found in one walk over its members: for each known
/// key the member that counts (the last of that key). A record that is not an object has none.
class RecordSlots {
public:
    RecordSlots(const JsonTape& tape, const JsonTape::Node& record)
    {
        if (record.kind != JsonKind::Object)
            return;
        for (uint32_t i = 0; i < record.size; ++i) {
            const int key = ItemKeyOf(tape.Key(record, i));
            if (key >= 0)
                m_slots[key] = &tape.Value(record, i);
        }
    }

    /// The member of that key, or nullptr when it is missing.
    const JsonTape::Node* operator[](int key) const { return m_slots[key]; }
    /// The member of that key when it is there and not null, else nullptr.
    const JsonTape::Node* Present(int key) const
    {
        const JsonTape::Node* member = m_slots[key];
        return member && member->kind != JsonKind::Null ? member : nullptr;
    }
    /// The member of that key when it is of that kind, else nullptr.
    const JsonTape::Node* OfKind(int key, JsonKind kind) const
    {
        const JsonTape::Node* member = m_slots[key];
        return member && member->kind == kind ? member : nullptr;
    }

private:
    const JsonTape::Node* m_slots[kKeyCount] = {};
};

/// Sets the item at index to the held text of a member's value (empty when the member is missing
/// or null), converted as a value of the item convertAs (nullptr: as any value) is. A string that
/// needs no conversion is copied straight from the tape; scratch is room for the others.
inline void StoreMemberText(CItemList& items, int index, const CItemData* convertAs, const JsonTape& tape,
                            const JsonTape::Node* member, std::string& scratch)
{
    std::string_view text;
    if (member && tape.StringText(*member, text) && NeedsNoConversion(text)) {
        items.SetStoredText(index, text);
        return;
    }
    scratch.clear();
    if (member)
        tape.Text(*member, scratch);
    items.SetStoredValue(index, TakeHeldTextFromFile(convertAs, std::move(scratch)));
}

} // namespace vesk
