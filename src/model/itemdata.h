#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/itemkeys.h"

namespace vesk {

/// How an item's value is edited and written; codes above 9 are written without quotes.
enum class ItemKind : int32_t {
    FreeText = 0, ///< names, aliases
    Fixed = 1,    ///< set by the item builder, not editable
    Display = 2,  ///< display text, written as UTF-8
    Choice = 3,   ///< one entry of the choice list
    Suggest = 4,  ///< free text with the choice list as suggestions
    Image = 5,    ///< image file name
    Size = 6,     ///< size or position text
    Data = 10,    ///< initial data, raw JSON text
    Number = 11,  ///< integer
    Flag = 12,    ///< true or false
};

/// A shared list of allowed values; items only point to it.
using ChoiceList = std::vector<std::string>;

/// The one shared Shift_JIS copy of a UTF-8 text literal, made on first use; equal texts share it.
const std::string* SharedText(std::string_view utf8);
/// The one shared copy of a constant text (a default value of an item set), made on first use.
const std::string* ConstantText(std::string_view text);

/// What editing an item of a name sets off besides its own value.
enum class ItemRole : uint8_t {
    Plain,          ///< nothing
    Name,           ///< 'Name': names a dialog (unique, a file and class name) or an object
    TypeSelector,   ///< 'Type' of an object: its item set follows the type
    LayoutSelector, ///< 'Layout' of a group: its item set follows the layout
    Columns,        ///< 'Columns' of an object: the number of header columns, or the add choice
    Event,          ///< an event ('OnClick' and the like): a chosen command adds a command node
    Image,          ///< a picture name ('File', 'FileOn', ...): may carry a centre position
};

/// The role of an item of that name.
ItemRole ItemRoleOfName(std::string_view name);

/// The fixed part of an item, shared by every item of one definition: its name, kind and choice
/// list. The program's own definitions are interned (one per distinct name, kind and choice list)
/// and live as long as the process; a definition of a name that
/// only a file knows is counted (see CItemData::OfReadName) and lives as long as items hold it. Their
/// alignment leaves the low bits of their address free, so that an item holds the key number of
/// its name beside the address.
struct alignas(128) ItemDef {
    std::string name;
    ItemKind kind;
    const ChoiceList* choices;
    int key; ///< the name's number among the known record keys (ItemKeyOf), -1 for any other name
    ItemRole role = ItemRole::Plain;
    /// The items holding a counted definition (guarded by the table of counted definitions);
    /// unused for interned ones.
    mutable size_t users = 0;
    /// Whether items count their hold on the definition.
    bool counted = false;
};

/// The one definition of that name, kind and choice list, made by the program for names it
/// defines itself: interned for the life of the process.
const ItemDef* InternItemDef(std::string_view name, ItemKind kind, const ChoiceList* choices = nullptr);

/// The number of counted definitions alive: names read from files (CItemData::OfReadName) that
/// items still hold.
size_t CountedItemDefs();

/// What one source (a dialog of a file) read: the values of its items, and the memory of its nodes
/// and their item arrays, kept together and freed at once when the last node, item array and item
/// list that hold the store are gone. Nothing is freed before that: a load builds, and the few
/// blocks an edit gives up stay until then.
class ItemValueStore {
public:
    ItemValueStore() = default;
    ItemValueStore(const ItemValueStore&) = delete;
    ItemValueStore& operator=(const ItemValueStore&) = delete;
    ~ItemValueStore();

    /// Keeps a text; the answer lives as long as the store.
    const std::string* Keep(std::string text);
    const std::string* Keep(std::string_view text);

    /// Room for size bytes at that alignment (at most kMaxAlign), living as long as the store.
    void* Allocate(size_t size, size_t align);
    static constexpr size_t kMaxAlign = 64;

private:
    std::string& NextSlot();

    struct BlockDeleter {
        void operator()(std::byte* block) const { ::operator delete(block, std::align_val_t(kMaxAlign)); }
    };
    using Block = std::unique_ptr<std::byte, BlockDeleter>;
    static Block NewBlock(size_t size);

    static constexpr size_t kChunk = 256;
    std::vector<std::string*> m_chunks; ///< kChunk texts each (m_used in the last), in the blocks
    size_t m_used = kChunk;

    static constexpr size_t kBlockSize = 32 * 1024;
    std::vector<Block> m_blocks;
    /// The free part of the block being filled.
    std::byte* m_next = nullptr;
    std::byte* m_limit = nullptr;
};

/// An allocator that takes memory from a store (which it holds), or from the heap without one.
/// Copies made for copied containers use the heap; moved and swapped containers take the
/// allocator along, so that memory is always given back to (or left in) the place it came from.
template <class T> class StoreAllocator {
public:
    using value_type = T;
    using propagate_on_container_copy_assignment = std::false_type;
    using propagate_on_container_move_assignment = std::true_type;
    using propagate_on_container_swap = std::true_type;
    using is_always_equal = std::false_type;

    StoreAllocator() noexcept = default;
    explicit StoreAllocator(std::shared_ptr<ItemValueStore> store) noexcept : m_store(std::move(store)) {}
    template <class U> StoreAllocator(const StoreAllocator<U>& other) noexcept : m_store(other.Store()) {}
    // Copied, never moved from: a moved-from container must still free through its own.
    StoreAllocator(const StoreAllocator&) noexcept = default;
    StoreAllocator& operator=(const StoreAllocator&) noexcept = default;
    ~StoreAllocator() = default;

    T* allocate(size_t count)
    {
        static_assert(alignof(T) <= ItemValueStore::kMaxAlign);
        if (!m_store)
            return std::allocator<T>().allocate(count);
        if (count > SIZE_MAX / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(m_store->Allocate(count * sizeof(T), alignof(T)));
    }
    void deallocate(T* p, size_t count) noexcept
    {
        if (!m_store)
            std::allocator<T>().deallocate(p, count);
    }
    StoreAllocator select_on_container_copy_construction() const noexcept { return {}; }

    const std::shared_ptr<ItemValueStore>& Store() const noexcept { return m_store; }
    template <class U> bool operator==(const StoreAllocator<U>& other) const noexcept
    {
        return m_store == other.Store();
    }

private:
    std::shared_ptr<ItemValueStore> m_store;
};

/// A node made in the memory of a store (on the heap without one).
template <class T, class... Args>
std::shared_ptr<T> MakeInStore(const std::shared_ptr<ItemValueStore>& store, Args&&... args)
{
    return std::allocate_shared<T>(StoreAllocator<T>(store), std::forward<Args>(args)...);
}

/// One named property, held as text: its definition and its value. The value is a text of the
/// item's own, a constant of an item set, or a text of the store of the list that holds the item.
class CItemData {
public:
    CItemData(std::string name, ItemKind kind, std::string value = {}, const ChoiceList* choices = nullptr);
    /// An item of a definition with a value of its own.
    CItemData(const ItemDef* def, std::string value);
    /// A free-text item of a name read from a file, with its value. A known key (ItemKeyOf) has
    /// the interned definition; any other name a counted one, shared by every item of that name
    /// and freed with the last of them, so that reading files with ever new names does not keep
    /// the names for the life of the process.
    static CItemData OfReadName(std::string_view name, std::string value);
    /// An item of a definition whose value is a constant that outlives it.
    static CItemData WithConstant(const ItemDef* def, const std::string* value);
    /// A copy holds its value itself (a stored value is copied).
    CItemData(const CItemData& other)
        : m_def(other.m_def), m_value(other.Tag() == 0 ? other.m_value : CopiedValue(other))
    {
        if (HoldsCountedDef()) [[unlikely]]
            RetainDef();
    }
    CItemData& operator=(const CItemData& other);
    /// A move takes the value as it is held; an item that shares a list's store belongs in a list
    /// holding that store (lists see to it). The definition stays with the moved-from item too.
    CItemData(CItemData&& other) noexcept : m_def(other.m_def), m_value(other.m_value)
    {
        other.m_value = EmptyValue();
        if (HoldsCountedDef()) [[unlikely]]
            RetainDef();
    }
    CItemData& operator=(CItemData&& other) noexcept;
    ~CItemData()
    {
        if (Tag() == kOwned)
            DeleteOwnValue();
        if (HoldsCountedDef()) [[unlikely]]
            ReleaseDef();
    }

    ItemKind Kind() const { return Def().kind; }
    const ChoiceList* Choices() const { return Def().choices; }
    const std::string& Name() const { return Def().name; }
    const std::string& Value() const { return *reinterpret_cast<const std::string*>(m_value & ~kTagMask); }
    void SetValue(std::string value);
    const ItemDef& Def() const { return *reinterpret_cast<const ItemDef*>(m_def & ~kKeyMask); }
    /// The key number of the name (ItemDef::key), read without reaching the definition.
    int Key() const { return HoldsCountedDef() ? -1 : static_cast<int>(KeyTag()) - 1; }
    /// The key number plus one for a name with one; another value below kKeyTags, with no key
    /// number beside it, for a name without one.
    size_t KeyTag() const { return static_cast<size_t>(m_def & kKeyMask); }
    static constexpr size_t kKeyTags = alignof(ItemDef);

private:
    friend class CItemList;
    static constexpr uintptr_t kOwned = 1;  ///< the item deletes its value
    static constexpr uintptr_t kStored = 2; ///< the value lives in the store of the item's list
    static constexpr uintptr_t kTagMask = 3;
    /// The low bits of m_def: the key number of the name plus one, 0 for a name without one, or
    /// kCountedTag for a counted definition (whose name has no key number).
    static constexpr uintptr_t kKeyMask = alignof(ItemDef) - 1;
    static constexpr uintptr_t kCountedTag = kKeyMask;
    static_assert(kKeyCount + 1 < kCountedTag, "every key number fits beside a definition's address");

    CItemData(const ItemDef* def, uintptr_t value) : m_def(DefWord(def)), m_value(value)
    {
        if (HoldsCountedDef()) [[unlikely]]
            RetainDef();
    }
    /// An item sharing the definition and the value of another (a constant or a stored value).
    static CItemData Sharing(const CItemData& other) { return CItemData(Words{other.m_def, other.m_value}); }
    struct Words {
        uintptr_t def;
        uintptr_t value;
    };
    explicit CItemData(Words words) : m_def(words.def), m_value(words.value)
    {
        if (HoldsCountedDef()) [[unlikely]]
            RetainDef();
    }
    /// The definition's address with the key number of its name (or the counted tag).
    static uintptr_t DefWord(const ItemDef* def)
    {
        return reinterpret_cast<uintptr_t>(def) | (def->counted ? kCountedTag : static_cast<uintptr_t>(def->key + 1));
    }
    bool HoldsCountedDef() const { return (m_def & kKeyMask) == kCountedTag; }
    /// One more and one less hold of the counted definition; the last release frees it.
    void RetainDef() const;
    void ReleaseDef() const;
    /// Lets go of the definition (the item is then only to be destroyed or assigned to).
    void DropDef()
    {
        if (HoldsCountedDef()) [[unlikely]]
            ReleaseDef();
        m_def = 0;
    }
    uintptr_t Tag() const { return m_value & kTagMask; }
    void Release()
    {
        if (Tag() == kOwned)
            DeleteOwnValue();
        m_value = EmptyValue();
    }
    void DeleteOwnValue();
    /// The held form of a value of the item's own (the shared empty text when it is empty).
    static uintptr_t OwnValue(std::string&& value);
    /// The held form of a copy of the other item's value of its own or stored value.
    static uintptr_t CopiedValue(const CItemData& other);
    /// The held form of the empty value, which every empty item shares.
    static uintptr_t EmptyValue() { return reinterpret_cast<uintptr_t>(&s_emptyText); }
    static const std::string s_emptyText;
    /// Takes the value into the item itself when it lives in a store.
    void OwnStoredValue();

    uintptr_t m_def;
    uintptr_t m_value;
};

/// What iterating a CItemList gives: a pointer-like handle (item->Name()).
template <typename Item> class ItemHandle {
public:
    explicit ItemHandle(Item* item = nullptr) : m_item(item) {}
    Item* operator->() const { return m_item; }
    Item& operator*() const { return *m_item; }
    Item* get() const { return m_item; }
    explicit operator bool() const { return m_item != nullptr; }

private:
    Item* m_item;
};

/// Walks the items of a list, answering a handle for each.
template <typename Item, typename Iterator> class ItemIterator {
public:
    explicit ItemIterator(Iterator it) : m_it(it) {}
    const ItemHandle<Item>& operator*() const
    {
        m_handle = ItemHandle<Item>(&*m_it);
        return m_handle;
    }
    const ItemHandle<Item>* operator->() const { return &**this; }
    ItemIterator& operator++()
    {
        ++m_it;
        return *this;
    }
    bool operator==(const ItemIterator& other) const { return m_it == other.m_it; }
    bool operator!=(const ItemIterator& other) const { return m_it != other.m_it; }

private:
    Iterator m_it;
    mutable ItemHandle<Item> m_handle;
};

/// The ordered items of a node; the order is the display order and the file order. Items are
/// held in one array; the values read from a file live in a store that the list shares.
class CItemList {
public:
    CItemList() = default;
    /// A list whose items and stored values live in the store.
    explicit CItemList(const std::shared_ptr<ItemValueStore>& store)
        : m_items(StoreAllocator<CItemData>(store)), m_store(store)
    {
    }
    CItemList(CItemList&&) noexcept = default;
    CItemList& operator=(CItemList&&) noexcept = default;
    /// A copy: kinds, names and values copied, choices and descriptions shared; stored values are
    /// shared with the store.
    CItemList Clone() const;

    int Count() const { return static_cast<int>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }
    CItemData& At(int index) { return m_items.at(static_cast<size_t>(index)); }
    const CItemData& At(int index) const { return m_items.at(static_cast<size_t>(index)); }
    /// The first item of that name, or nullptr.
    CItemData* Find(std::string_view name);
    const CItemData* Find(std::string_view name) const;
    /// The index of the first item of that name, or -1.
    int IndexOf(std::string_view name) const;
    /// The index of the first item whose name has that key number (ItemKey), or -1.
    int IndexOfKey(int key) const;
    /// Makes room for that many items in all.
    void Reserve(int count) { m_items.reserve(static_cast<size_t>(count)); }
    void Add(std::unique_ptr<CItemData> item);
    void Add(CItemData item);
    void Clear();
    /// Replaces each item whose name matches an item of old by that old item itself (value,
    /// kind, choices and description; the first of that name); old items without a match are
    /// dropped.
    void AdoptMatching(CItemList&& old);

    /// Appends copies of the items of an item set (whose values are constants).
    void AppendSet(const CItemList& set);
    /// Makes values read later live in that store, and, while the list has no room yet, its items.
    void UseStore(std::shared_ptr<ItemValueStore> store);
    /// Sets the value of the item at index to a text kept in the list's store (its own text
    /// without a store); an item whose constant value equals the text keeps the constant.
    void SetStoredValue(int index, std::string text);
    /// SetStoredValue of a copy of the text.
    void SetStoredText(int index, std::string_view text);

    using ItemArray = std::vector<CItemData, StoreAllocator<CItemData>>;
    using iterator = ItemIterator<CItemData, ItemArray::iterator>;
    using const_iterator = ItemIterator<const CItemData, ItemArray::const_iterator>;
    iterator begin() { return iterator(m_items.begin()); }
    iterator end() { return iterator(m_items.end()); }
    const_iterator begin() const { return const_iterator(m_items.begin()); }
    const_iterator end() const { return const_iterator(m_items.end()); }

private:
    /// The item at index, or nullptr when the text is to be kept as it is (it equals the
    /// constant the item holds).
    CItemData* ItemToStore(int index, std::string_view text);
    /// Puts an item coming from elsewhere into the list, keeping its value valid.
    void Take(CItemData&& item, const std::shared_ptr<ItemValueStore>& itsStore);

    ItemArray m_items;
    std::shared_ptr<ItemValueStore> m_store;
};

/// The text of one item as written in records: empty for an empty name or value; otherwise
/// 'name':value for kinds above 9 (when the value is well-formed for the kind) and
/// 'name':'value' for the rest, Display values converted to UTF-8. Backslashes, single quotes
/// and control bytes in the name and in quoted values are escaped so that they read back.
std::string ItemText(const CItemData& item);

/// Appends the escaped form of a name or quoted value: 0x5C as \\, ' as \u0027, bytes below
/// 0x20 as \u00XX; every other byte unchanged.
void AppendEscaped(std::string& out, std::string_view text);

/// A value read from a file for an item (nullptr when the node has none) as held text:
/// display texts, which the editor writes as UTF-8, prefer UTF-8 where the bytes are ambiguous;
/// other values are detected as ToShiftJis does.
std::string HeldTextFromFile(const CItemData* item, std::string_view fileValue);
/// HeldTextFromFile of a value that is given away: the value itself comes back when it needs no
/// conversion.
std::string TakeHeldTextFromFile(const CItemData* item, std::string&& fileValue);

/// True when a value of a bare kind (Data, Number, Flag) reads back as such a value when
/// written without quotes.
bool IsWellFormedBareValue(std::string_view value, ItemKind kind);

} // namespace vesk
