#include "model/itemdata.h"

#include <charconv>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <tuple>

#include "model/eventlist.h"
#include "model/itemkeys.h"
#include "model/jsonparser.h"
#include "textconv/textconv.h"

namespace vesk {

const std::string* SharedText(std::string_view utf8)
{
    static std::map<std::string, std::string, std::less<>> texts;
    auto it = texts.find(utf8);
    if (it == texts.end())
        it = texts.emplace(std::string(utf8), Utf8ToShiftJisExact(utf8)).first;
    return &it->second;
}

const std::string* ConstantText(std::string_view text)
{
    static std::map<std::string, std::unique_ptr<const std::string>, std::less<>> texts;
    static std::mutex mutex;
    const std::lock_guard<std::mutex> lock(mutex);
    auto it = texts.find(text);
    if (it == texts.end())
        it = texts.emplace(std::string(text), std::make_unique<const std::string>(text)).first;
    return it->second.get();
}

// Constant-initialised, so no guard on use.
const std::string CItemData::s_emptyText;

namespace {

uintptr_t ConstantValue(const std::string* text)
{
    return reinterpret_cast<uintptr_t>(text);
}

} // namespace

uintptr_t CItemData::OwnValue(std::string&& value)
{
    if (value.empty())
        return EmptyValue();
    return reinterpret_cast<uintptr_t>(new std::string(std::move(value))) | kOwned;
}

ItemRole ItemRoleOfName(std::string_view name)
{
    if (name == "Name")
        return ItemRole::Name;
    if (name == "Type")
        return ItemRole::TypeSelector;
    if (name == "Layout")
        return ItemRole::LayoutSelector;
    if (name == "Columns")
        return ItemRole::Columns;
    for (const char* event : kEventNames)
        if (name == event)
            return ItemRole::Event;
    static constexpr std::string_view kImageItems[] = {"File",     "FileOn",     "FileOff",    "FileThumb",
                                                       "FileBase", "FileActive", "FileCursor", "FileTop"};
    for (std::string_view image : kImageItems)
        if (name == image)
            return ItemRole::Image;
    return ItemRole::Plain;
}

const ItemDef* InternItemDef(std::string_view name, ItemKind kind, const ChoiceList* choices)
{
    using Key = std::tuple<std::string, int, const ChoiceList*>;
    static std::map<Key, std::unique_ptr<ItemDef>> defs;
    static std::mutex mutex;
    const std::lock_guard<std::mutex> lock(mutex);
    Key key(std::string(name), static_cast<int>(kind), choices);
    auto it = defs.find(key);
    if (it == defs.end()) {
        auto def = std::make_unique<ItemDef>(
            ItemDef{std::string(name), kind, choices, ItemKeyOf(name), ItemRoleOfName(name)});
        it = defs.emplace(std::move(key), std::move(def)).first;
    }
    return it->second.get();
}

namespace {

/// The counted definitions alive, by name; a definition leaves when its last item lets go.
struct CountedDefs {
    std::mutex mutex;
    std::map<std::string, ItemDef*, std::less<>> byName;
};

CountedDefs& Counted()
{
    // Never destroyed: items of static lifetime may let go of their definitions at exit.
    static CountedDefs* defs = new CountedDefs;
    return *defs;
}

/// The counted definition of the name, held once more for the caller.
const ItemDef* AcquireCountedDef(std::string_view name)
{
    CountedDefs& defs = Counted();
    const std::lock_guard<std::mutex> lock(defs.mutex);
    auto it = defs.byName.find(name);
    if (it == defs.byName.end()) {
        auto* def = new ItemDef{std::string(name), ItemKind::FreeText, nullptr, -1, ItemRoleOfName(name)};
        def->counted = true;
        it = defs.byName.emplace(def->name, def).first;
    }
    ++it->second->users;
    return it->second;
}

void ReleaseCountedDef(const ItemDef* def)
{
    CountedDefs& defs = Counted();
    std::unique_ptr<ItemDef> freed;
    {
        const std::lock_guard<std::mutex> lock(defs.mutex);
        auto it = defs.byName.find(def->name);
        if (it == defs.byName.end() || it->second != def || --it->second->users > 0)
            return;
        freed.reset(it->second);
        defs.byName.erase(it);
    }
}

} // namespace

size_t CountedItemDefs()
{
    CountedDefs& defs = Counted();
    const std::lock_guard<std::mutex> lock(defs.mutex);
    return defs.byName.size();
}

void CItemData::RetainDef() const
{
    CountedDefs& defs = Counted();
    const std::lock_guard<std::mutex> lock(defs.mutex);
    ++Def().users;
}

void CItemData::ReleaseDef() const
{
    ReleaseCountedDef(&Def());
}

CItemData CItemData::OfReadName(std::string_view name, std::string value)
{
    if (ItemKeyOf(name) >= 0)
        return CItemData(InternItemDef(name, ItemKind::FreeText), std::move(value));
    const ItemDef* def = AcquireCountedDef(name);
    CItemData item(def, std::move(value));
    ReleaseCountedDef(def);
    return item;
}

const std::string* ItemValueStore::Keep(std::string text)
{
    std::string& slot = NextSlot();
    slot = std::move(text);
    return &slot;
}

const std::string* ItemValueStore::Keep(std::string_view text)
{
    std::string& slot = NextSlot();
    slot.assign(text);
    return &slot;
}

ItemValueStore::Block ItemValueStore::NewBlock(size_t size)
{
    return Block(static_cast<std::byte*>(::operator new(size, std::align_val_t(kMaxAlign))));
}

void* ItemValueStore::Allocate(size_t size, size_t align)
{
    const auto mask = static_cast<uintptr_t>(align - 1);
    auto at = reinterpret_cast<std::byte*>((reinterpret_cast<uintptr_t>(m_next) + mask) & ~mask);
    if (m_next && at <= m_limit && size <= static_cast<size_t>(m_limit - at)) {
        m_next = at + size;
        return at;
    }
    if (size > kBlockSize / 4) {
        // A large request gets a block of its own; the block being filled stays in use.
        m_blocks.push_back(NewBlock(size));
        return m_blocks.back().get();
    }
    m_blocks.push_back(NewBlock(kBlockSize));
    m_next = m_blocks.back().get() + size;
    m_limit = m_blocks.back().get() + kBlockSize;
    return m_blocks.back().get();
}

ItemValueStore::~ItemValueStore()
{
    for (size_t chunk = 0; chunk < m_chunks.size(); ++chunk) {
        const size_t used = chunk + 1 == m_chunks.size() ? m_used : kChunk;
        for (size_t i = 0; i < used; ++i)
            std::destroy_at(m_chunks[chunk] + i);
    }
}

std::string& ItemValueStore::NextSlot()
{
    if (m_used == kChunk) {
        m_chunks.reserve(m_chunks.size() + 1);
        m_chunks.push_back(static_cast<std::string*>(Allocate(kChunk * sizeof(std::string), alignof(std::string))));
        m_used = 0;
    }
    return *std::construct_at(m_chunks.back() + m_used++);
}

CItemData::CItemData(std::string name, ItemKind kind, std::string value, const ChoiceList* choices)
    : m_def(DefWord(InternItemDef(name, kind, choices))), m_value(OwnValue(std::move(value)))
{
}

CItemData::CItemData(const ItemDef* def, std::string value) : m_def(DefWord(def)), m_value(OwnValue(std::move(value)))
{
    if (HoldsCountedDef()) [[unlikely]]
        RetainDef();
}

CItemData CItemData::WithConstant(const ItemDef* def, const std::string* value)
{
    return CItemData(def, ConstantValue(value ? value : &s_emptyText));
}

uintptr_t CItemData::CopiedValue(const CItemData& other)
{
    return OwnValue(std::string(other.Value()));
}

CItemData& CItemData::operator=(const CItemData& other)
{
    if (this != &other) {
        const uintptr_t value = other.Tag() == 0 ? other.m_value : CopiedValue(other);
        Release();
        if (other.HoldsCountedDef())
            other.RetainDef();
        DropDef();
        m_def = other.m_def;
        m_value = value;
    }
    return *this;
}

CItemData& CItemData::operator=(CItemData&& other) noexcept
{
    if (this != &other) {
        Release();
        if (other.HoldsCountedDef())
            other.RetainDef();
        DropDef();
        m_def = other.m_def;
        m_value = other.m_value;
        other.m_value = EmptyValue();
    }
    return *this;
}

void CItemData::DeleteOwnValue()
{
    delete reinterpret_cast<std::string*>(m_value & ~kTagMask);
}

void CItemData::SetValue(std::string value)
{
    if (Tag() == kOwned && !value.empty()) {
        *reinterpret_cast<std::string*>(m_value & ~kTagMask) = std::move(value);
        return;
    }
    Release();
    m_value = OwnValue(std::move(value));
}

void CItemData::OwnStoredValue()
{
    if (Tag() == kStored)
        m_value = OwnValue(std::string(Value()));
}

CItemList CItemList::Clone() const
{
    CItemList copy;
    copy.m_items.reserve(m_items.size());
    for (const CItemData& item : m_items) {
        // Constants and stored values are shared (the copy holds the store); own values are copied.
        if (item.Tag() == CItemData::kOwned)
            copy.m_items.push_back(item);
        else
            copy.m_items.push_back(CItemData::Sharing(item));
    }
    copy.m_store = m_store;
    return copy;
}

CItemData* CItemList::Find(std::string_view name)
{
    const int index = IndexOf(name);
    return index < 0 ? nullptr : &m_items[static_cast<size_t>(index)];
}

const CItemData* CItemList::Find(std::string_view name) const
{
    const int index = IndexOf(name);
    return index < 0 ? nullptr : &m_items[static_cast<size_t>(index)];
}

int CItemList::IndexOf(std::string_view name) const
{
    // Items of a known name carry its key number, and only they carry it.
    if (const int key = ItemKeyOf(name); key >= 0)
        return IndexOfKey(key);
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].Name() == name)
            return static_cast<int>(i);
    return -1;
}

int CItemList::IndexOfKey(int key) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].Key() == key)
            return static_cast<int>(i);
    return -1;
}

void CItemList::Take(CItemData&& item, const std::shared_ptr<ItemValueStore>& itsStore)
{
    if (item.Tag() == CItemData::kStored) {
        if (!m_store && itsStore)
            m_store = itsStore;
        if (!itsStore || m_store != itsStore)
            item.OwnStoredValue();
    }
    m_items.push_back(std::move(item));
}

void CItemList::UseStore(std::shared_ptr<ItemValueStore> store)
{
    if (m_items.capacity() == 0)
        m_items = ItemArray(StoreAllocator<CItemData>(store));
    m_store = std::move(store);
}

void CItemList::Add(std::unique_ptr<CItemData> item)
{
    // An item on its own cannot say which store its value lives in.
    Take(std::move(*item), nullptr);
}

void CItemList::Add(CItemData item)
{
    Take(std::move(item), nullptr);
}

void CItemList::Clear()
{
    m_items.clear();
}

void CItemList::AdoptMatching(CItemList&& old)
{
    ItemArray built = std::move(m_items);
    m_items.clear();
    m_items.reserve(built.size());
    for (CItemData& item : built) {
        CItemData* previous = nullptr;
        for (CItemData& candidate : old.m_items)
            if (candidate.m_def != 0 && candidate.Name() == item.Name()) {
                previous = &candidate;
                break;
            }
        if (previous) {
            Take(std::move(*previous), old.m_store);
            previous->DropDef(); // taken: matches nothing further
        } else {
            m_items.push_back(std::move(item));
        }
    }
    old.m_items.clear();
    old.m_store.reset();
}

void CItemList::AppendSet(const CItemList& set)
{
    // A set's values are constants, which copies share.
    m_items.insert(m_items.end(), set.m_items.begin(), set.m_items.end());
}

CItemData* CItemList::ItemToStore(int index, std::string_view text)
{
    CItemData& item = m_items.at(static_cast<size_t>(index));
    // A value that equals the constant the item holds (a default of its item set) stays that
    // constant, which outlives every list.
    if (item.Tag() == 0 && item.Value() == text)
        return nullptr;
    return &item;
}

void CItemList::SetStoredValue(int index, std::string text)
{
    CItemData* item = ItemToStore(index, text);
    if (!item)
        return;
    if (!m_store || text.empty()) {
        item->SetValue(std::move(text));
        return;
    }
    item->Release();
    item->m_value = reinterpret_cast<uintptr_t>(m_store->Keep(std::move(text))) | CItemData::kStored;
}

void CItemList::SetStoredText(int index, std::string_view text)
{
    CItemData* item = ItemToStore(index, text);
    if (!item)
        return;
    if (!m_store || text.empty()) {
        item->SetValue(std::string(text));
        return;
    }
    item->Release();
    item->m_value = reinterpret_cast<uintptr_t>(m_store->Keep(text)) | CItemData::kStored;
}

std::string TakeHeldTextFromFile(const CItemData* item, std::string&& fileValue)
{
    if (item && item->Kind() == ItemKind::Display)
        return TakeDisplayTextAsShiftJis(std::move(fileValue));
    return TakeAsShiftJis(std::move(fileValue));
}

std::string HeldTextFromFile(const CItemData* item, std::string_view fileValue)
{
    if (item && item->Kind() == ItemKind::Display)
        return DisplayTextToShiftJis(fileValue);
    return ToShiftJis(fileValue);
}

void AppendEscaped(std::string& out, std::string_view text)
{
    static const char hex[] = "0123456789ABCDEF";
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\'') {
            out += "\\u0027";
        } else if (c < 0x20) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else {
            out += ch;
        }
    }
}

namespace {

/// True when a 0x5C byte of the text is the second byte of a Shift_JIS double-byte character.
bool HasShiftJisTrailBackslash(std::string_view text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (IsShiftJisLeadByte(static_cast<unsigned char>(text[i]))) {
            if (text[i + 1] == '\\')
                return true;
            ++i;
        }
    }
    return false;
}

} // namespace

bool IsWellFormedBareValue(std::string_view value, ItemKind kind)
{
    switch (kind) {
    case ItemKind::Flag:
        return value == "true" || value == "false";
    case ItemKind::Number: {
        std::optional<JsonValue> number = ParseWholeValue(value);
        if (!number)
            return false;
        if (number->Kind() == JsonKind::Real)
            return std::isfinite(number->AsReal()); // 1e999 would read back as "inf"
        if (number->Kind() != JsonKind::Integer)
            return false;
        // Digits with an optional minus sign that fit the integer exactly; "1-2" or
        // "99999999999" would read back as another number.
        char buffer[16];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, number->AsInteger());
        std::string_view canonical(buffer, static_cast<size_t>(result.ptr - buffer));
        std::string_view digits = value;
        if (digits.starts_with('-') && canonical.starts_with('-')) {
            digits.remove_prefix(1);
            canonical.remove_prefix(1);
        }
        size_t zeros = digits.find_first_not_of('0');
        if (zeros != std::string_view::npos && zeros > 0 && digits.size() > 1)
            digits.remove_prefix(zeros);
        return digits == canonical;
    }
    case ItemKind::Data: {
        // Written bare, the value reads back as the compact text of its parse. Keep it bare
        // only when that text reads back as itself (strings holding a quote, a backslash or a
        // control byte do not), and never when a 0x5C byte is the second byte of a Shift_JIS
        // character, which the parser would take for the start of an escape.
        std::optional<JsonValue> data = ParseWholeValue(value);
        if (!data || data->IsNull() || HasShiftJisTrailBackslash(value))
            return false;
        std::string compact = data->ToText(true);
        std::optional<JsonValue> again = ParseWholeValue(compact);
        return again && again->ToText(true) == compact;
    }
    default:
        return false;
    }
}

std::string ItemText(const CItemData& item)
{
    std::string out;
    if (item.Name().empty() || item.Value().empty())
        return out;
    out += '\'';
    AppendEscaped(out, item.Name());
    out += "':";
    int kind = static_cast<int>(item.Kind());
    if (kind > 9 && IsWellFormedBareValue(item.Value(), item.Kind())) {
        out += item.Value();
        return out;
    }
    out += '\'';
    if (item.Kind() == ItemKind::Display)
        AppendEscaped(out, ToUtf8(item.Value()));
    else
        AppendEscaped(out, item.Value());
    out += '\'';
    return out;
}

} // namespace vesk
