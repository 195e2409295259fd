#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

/// How an item's value is edited and written; codes above 9 are written without quotes.
enum class ItemKind : int32_t {
    FreeText = 0,  ///< names, aliases
    Fixed = 1,     ///< set by the item builder, not editable
    Display = 2,   ///< display text, written as UTF-8
    Choice = 3,    ///< one entry of the choice list
    Suggest = 4,   ///< free text with the choice list as suggestions
    Image = 5,     ///< image file name
    Size = 6,      ///< size or position text
    Data = 10,     ///< initial data, raw JSON text
    Number = 11,   ///< integer
    Flag = 12,     ///< true or false
};

/// A shared list of allowed values; items only point to it.
using ChoiceList = std::vector<std::string>;

/// The one shared Shift_JIS copy of a UTF-8 text literal, made on first use; equal texts share it.
const std::string* SharedText(std::string_view utf8);

/// One named property, held as text.
class CItemData {
public:
    CItemData(std::string name, ItemKind kind, std::string value = {}, const ChoiceList* choices = nullptr,
              const std::string* description = nullptr)
        : m_kind(kind), m_choices(choices), m_name(std::move(name)), m_value(std::move(value)),
          m_description(description)
    {
    }
    virtual ~CItemData() = default;

    ItemKind Kind() const { return m_kind; }
    const ChoiceList* Choices() const { return m_choices; }
    const std::string& Name() const { return m_name; }
    const std::string& Value() const { return m_value; }
    void SetValue(std::string value) { m_value = std::move(value); }
    /// The help text, or nullptr.
    const std::string* Description() const { return m_description; }

private:
    ItemKind m_kind;
    const ChoiceList* m_choices;
    std::string m_name;
    std::string m_value;
    const std::string* m_description;
};

/// The ordered, owned items of a node; the order is the display order and the file order.
class CItemList {
public:
    CItemList() = default;
    CItemList(CItemList&&) = default;
    CItemList& operator=(CItemList&&) = default;
    /// A deep copy: kinds, names and values copied, choices and descriptions shared.
    CItemList Clone() const;

    int Count() const { return static_cast<int>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }
    CItemData& At(int index) { return *m_items.at(static_cast<size_t>(index)); }
    const CItemData& At(int index) const { return *m_items.at(static_cast<size_t>(index)); }
    /// The first item of that name, or nullptr.
    CItemData* Find(std::string_view name);
    const CItemData* Find(std::string_view name) const;
    void Add(std::unique_ptr<CItemData> item) { m_items.push_back(std::move(item)); }
    void Clear() { m_items.clear(); }
    /// Replaces each item whose name matches an item of old by that old item itself (value,
    /// kind, choices and description; the first of that name); old items without a match are
    /// dropped.
    void AdoptMatching(CItemList&& old);

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<std::unique_ptr<CItemData>> m_items;
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

/// True when a value of a bare kind (Data, Number, Flag) reads back as such a value when
/// written without quotes.
bool IsWellFormedBareValue(std::string_view value, ItemKind kind);

}  // namespace vesk
