#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "model/tekclass.h"

namespace vesk {

class CTekDialogData;

/// One entry of an undo step: a copy of a node as it was, or a reference to the live node.
class TekClassBackup {
public:
    enum Action : int32_t {
        ACT_CREATE = 0,   ///< the node's first copy
        ACT_MODIFY = 1,   ///< a copy made after the node changed
        ACT_ORIGINAL = 2, ///< the live node itself
    };

    /// A copy of the source (a dialog, group or object; nullptr for any other node type).
    static std::unique_ptr<TekClassBackup> MakeCopy(Action action, const TekClass& source);
    /// An ACT_ORIGINAL entry that holds the live node, keeping it alive while it is out of the tree.
    static std::unique_ptr<TekClassBackup> MakeOriginal(TekPtr live);
    /// An ACT_ORIGINAL entry that refers to the live node without holding it: for the node that
    /// owns the history, which outlives it anyway.
    static std::unique_ptr<TekClassBackup> MakeUnheldOriginal(TekClass& live);

    virtual ~TekClassBackup() = default;

    Action GetAction() const { return m_action; }
    /// The copy, or the live node of an ACT_ORIGINAL entry.
    TekClass* Node() const { return m_node ? m_node.get() : m_unheld; }

private:
    TekClassBackup(Action action, TekPtr node, TekClass* unheld)
        : m_action(action), m_node(std::move(node)), m_unheld(unheld)
    {
    }

    Action m_action;
    TekPtr m_node;
    TekClass* m_unheld;
};

/// A copy of a dialog, group or object that shares its header, command and child nodes with
/// the source; nullptr for any other node type.
TekPtr CopyNode(const TekClass& source);

/// The entries of one step, in the order they were added.
class UndoRecord {
public:
    /// Appends an entry with a copy of the source; false, adding nothing, when the node type
    /// cannot be copied.
    bool AddCopy(TekClassBackup::Action action, const TekClass& source);
    void Add(std::unique_ptr<TekClassBackup> entry) { m_entries.push_back(std::move(entry)); }

    int Count() const { return static_cast<int>(m_entries.size()); }
    bool Empty() const { return m_entries.empty(); }
    const TekClassBackup& At(int index) const { return *m_entries.at(static_cast<size_t>(index)); }

private:
    std::vector<std::unique_ptr<TekClassBackup>> m_entries;
};

/// A dialog's undo history: steps of snapshots, nodes matched by serial number.
/// Record 0 holds the first snapshot of the whole dialog; each later record one edit.
class UndoBuffer {
public:
    /// owner is the node that holds this history; its ACT_ORIGINAL entry does not hold it.
    explicit UndoBuffer(TekClass* owner = nullptr) : m_owner(owner) {}
    virtual ~UndoBuffer();
    UndoBuffer(const UndoBuffer&) = delete;
    UndoBuffer& operator=(const UndoBuffer&) = delete;

    /// The number of records currently applied.
    int Position() const { return m_position; }
    int RecordCount() const { return static_cast<int>(m_records.size()); }
    const UndoRecord& RecordAt(int index) const { return *m_records.at(static_cast<size_t>(index)); }

    /// Appends an ACT_ORIGINAL entry for the live node (held, unless it is the owner).
    void AddOriginal(UndoRecord& record, TekClass& live) const;
    /// Drops the records past the position, then appends the record as the newest applied one.
    void Append(std::unique_ptr<UndoRecord> record);
    /// Deletes every record.
    void Clear();

    /// The copy of the node in the newest ACT_CREATE or ACT_MODIFY entry of records 0 to upTo
    /// (negative: up to position - 1), or nullptr.
    TekClass* FindSnapshot(const TekClass& node, int upTo = -1) const;
    /// The live node of the node's ACT_ORIGINAL entry in records 0 to upTo (negative: all), or
    /// nullptr.
    TekClass* FindOriginal(const TekClass& node, int upTo = -1) const;

    /// Restores the nodes changed by the newest applied record to their previous copies; answers
    /// the node to select (an object before any other node), or nullptr when nothing is undone.
    TekClass* Undo();
    /// Applies the next record again; answers the node to select, or nullptr at the end.
    TekClass* Redo();
    /// True when there is a record beyond the position.
    bool CanRedo() const { return m_position < RecordCount(); }
    /// True when more than the first snapshot is applied.
    bool CanUndo() const { return m_position > 1; }

private:
    /// Where a node's copies or its live node are held: the record and the node of one entry.
    struct IndexedEntry {
        int32_t record;
        TekClass* node;
    };
    /// The entries of each serial number in the order of the records and of their entries.
    using SerialIndex = std::unordered_map<uint64_t, std::vector<IndexedEntry>>;

    int Clamp(int upTo) const;
    void IndexRecord(int recordIndex);
    void DropNewestRecord();

    TekClass* m_owner;
    int32_t m_position = 0;
    std::vector<std::unique_ptr<UndoRecord>> m_records;
    SerialIndex m_copies;    ///< ACT_CREATE and ACT_MODIFY entries
    SerialIndex m_originals; ///< ACT_ORIGINAL entries
};

/// Records one step in the dialog's history: a record of the dialog, of every node of its tree
/// and of every node the history keeps outside the tree that is new or changed since its newest
/// applied copy. The first call records the whole dialog. Records past the position (undone
/// steps) are dropped when a step is added. Answers false, adding nothing and keeping the undone
/// steps, when nothing changed.
bool RecordUndoStep(CTekDialogData& dialog);

} // namespace vesk
