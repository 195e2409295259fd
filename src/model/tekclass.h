#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/itemdata.h"

namespace vesk {

/// Node type codes of the resource tree.
enum class NodeType : uint32_t {
    Resource = 0,
    DialogList = 1,
    Dialog = 2,
    Object = 3,
    Group = 4,
    HeaderColumn = 5,
    Command = 6,
};

class TekClass;
using TekPtr = std::shared_ptr<TekClass>;
/// Command nodes and header column nodes are plain TekClass nodes; lists of them are shared
/// between the live tree and undo snapshots, so a node is freed once, by whoever lets go last.
/// A list made by a load keeps its room in the load's store.
using TekList = std::vector<TekPtr, StoreAllocator<TekPtr>>;

/// Base of every tree node: type code, expanded flag, items and serial number.
/// Nodes live in shared pointers (create them with std::make_shared).
class TekClass : public std::enable_shared_from_this<TekClass> {
public:
    explicit TekClass(NodeType type);
    /// A node whose values read later, and whose lists, live in the store (a load's node).
    TekClass(NodeType type, const std::shared_ptr<ItemValueStore>& store);
    virtual ~TekClass() = default;
    TekClass(const TekClass&) = delete;
    TekClass& operator=(const TekClass&) = delete;

    NodeType Type() const { return m_type; }
    void SetType(NodeType type) { m_type = type; }
    bool Expanded() const { return m_expanded != 0; }
    void SetExpanded(bool expanded) { m_expanded = expanded ? 1 : 0; }
    uint64_t SerialNumber() const { return m_serialNumber; }
    CItemList& Items() { return m_items; }
    const CItemList& Items() const { return m_items; }

    /// The value of the first item of that name, or an empty text.
    const std::string& GetItem(std::string_view name) const;
    /// Sets the first item of that name; false (adding nothing) when there is none.
    bool SetItem(std::string_view name, std::string value);
    /// Appends an item; the node takes ownership.
    void AddItem(std::unique_ptr<CItemData> item) { m_items.Add(std::move(item)); }
    /// Sets the item of that name, or appends it as a free-text item when there is none (a name
    /// read from a file: see CItemData::OfReadName).
    void SetOrAddItem(std::string_view name, std::string value);

    /// The text shown for the node in the resource tree.
    virtual std::string GetLabel() const;
    /// Takes type, expanded flag, serial number and a copy of the items of the source.
    virtual void CopyFrom(const TekClass& source);
    /// True when both item lists have equal names and values, index by index.
    virtual bool SameItems(const TekClass& other) const;
    /// Attaches a command node; answers its index, or 0 when this node keeps no commands.
    virtual int AddCommand(TekPtr command);

    /// Takes the next number of the process-wide serial counter (starting at 1).
    static uint64_t NextSerialNumber();
    /// The number the next construction will take.
    static uint64_t PeekSerialNumber();
    /// Sets the counter back to a number it had, once every node made since then is gone (a read
    /// that was taken back).
    static void RestoreSerialNumber(uint64_t next);

protected:
    NodeType m_type;
    int32_t m_expanded = 0;
    CItemList m_items;
    uint64_t m_serialNumber;
};

} // namespace vesk
