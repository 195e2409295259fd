#pragma once

#include "model/itemkeys.h"
#include "model/jsontape.h"

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

} // namespace vesk
