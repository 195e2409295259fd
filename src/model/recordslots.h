#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/itemdata.h"
#include "model/itemkeys.h"
#include "model/jsontape.h"
#include "textconv/textconv.h"

namespace vesk {

/// The place of each key in a list of keys, for walking the keys of a record in that list's order.
class KeyOrder {
public:
    static constexpr int kWords = (kKeyCount + 63) / 64;

    template <size_t N> constexpr explicit KeyOrder(const ItemKey (&keys)[N])
    {
        static_assert(N <= 127);
        for (int& place : m_places)
            place = -1;
        for (size_t i = 0; i < N; ++i) {
            m_places[keys[i]] = static_cast<int>(i);
            m_mask[keys[i] / 64] |= uint64_t{1} << (keys[i] % 64);
        }
    }

    int Place(int key) const { return m_places[key]; }
    uint64_t Mask(int word) const { return m_mask[word]; }

private:
    int m_places[kKeyCount] = {};
    uint64_t m_mask[kWords] = {};
};

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
            if (key >= 0) {
                m_present[key / 64] |= uint64_t{1} << (key % 64);
                m_slots[key] = &tape.Value(record, i);
            }
        }
    }

    /// The member of that key, or nullptr when it is missing.
    const JsonTape::Node* operator[](int key) const
    {
        return (m_present[key / 64] >> (key % 64)) & 1 ? m_slots[key] : nullptr;
    }
    /// The member of that key when it is there and not null, else nullptr.
    const JsonTape::Node* Present(int key) const
    {
        const JsonTape::Node* member = (*this)[key];
        return member && member->kind != JsonKind::Null ? member : nullptr;
    }
    /// The member of that key when it is of that kind, else nullptr.
    const JsonTape::Node* OfKind(int key, JsonKind kind) const
    {
        const JsonTape::Node* member = (*this)[key];
        return member && member->kind == kind ? member : nullptr;
    }

    /// The keys of the order's list that the record has (null members too), in the list's order;
    /// answers how many were put into keys.
    int KeysInOrder(const KeyOrder& order, int (&keys)[kKeyCount]) const
    {
        int count = 0;
        for (int word = 0; word < KeyOrder::kWords; ++word) {
            for (uint64_t bits = m_present[word] & order.Mask(word); bits != 0; bits &= bits - 1) {
                const int key = word * 64 + std::countr_zero(bits);
                // A record has a few of the keys: insertion keeps them sorted by place.
                int at = count++;
                for (; at > 0 && order.Place(keys[at - 1]) > order.Place(key); --at)
                    keys[at] = keys[at - 1];
                keys[at] = key;
            }
        }
        return count;
    }

private:
    // Only the slots of the keys marked present are ever read, so the table is not cleared.
    uint64_t m_present[KeyOrder::kWords] = {};
    const JsonTape::Node* m_slots[kKeyCount];
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
