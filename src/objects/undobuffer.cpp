#include "objects/undobuffer.h"

#include <algorithm>
#include <unordered_set>

#include "objects/resourcedata.h"
#include "objects/objectdata.h"

namespace vesk {

namespace {

/// Adds the node's copy when it is new or changed; a new node also gets its ACT_ORIGINAL entry.
void SnapshotNode(TekClass& node, UndoBuffer& buffer, UndoRecord& record)
{
    if (const TekClass* previous = buffer.FindSnapshot(node, -1)) {
        if (!node.SameItems(*previous))
            record.AddCopy(TekClassBackup::ACT_MODIFY, node);
        return;
    }
    if (record.AddCopy(TekClassBackup::ACT_CREATE, node))
        buffer.AddOriginal(record, node);
}

/// Keeps the better of the node to select after an undo or redo and a new candidate: an object
/// outranks other nodes, and the first of the highest rank wins.
void Consider(TekClass* live, TekClass*& best, int& bestRank)
{
    if (!live)
        return;
    const int rank = live->Type() == NodeType::Object ? 3 : 1;
    if (rank > bestRank) {
        best = live;
        bestRank = rank;
    }
}

} // namespace

// --- TekClassBackup ----------------------------------------------------------------------------

TekPtr CopyNode(const TekClass& source)
{
    TekPtr copy;
    switch (source.Type()) {
    case NodeType::Dialog:
        copy = std::make_shared<CTekDialogData>(std::string_view(), nullptr);
        break;
    case NodeType::Object:
        copy = std::make_shared<CObjectData>(nullptr);
        break;
    case NodeType::Group:
        copy = std::make_shared<CObjectDataList>(nullptr);
        break;
    default:
        return nullptr;
    }
    copy->CopyFrom(source);
    return copy;
}

std::unique_ptr<TekClassBackup> TekClassBackup::MakeCopy(Action action, const TekClass& source)
{
    TekPtr copy = CopyNode(source);
    if (!copy)
        return nullptr;
    return std::unique_ptr<TekClassBackup>(new TekClassBackup(action, std::move(copy), nullptr));
}

std::unique_ptr<TekClassBackup> TekClassBackup::MakeOriginal(TekPtr live)
{
    return std::unique_ptr<TekClassBackup>(new TekClassBackup(ACT_ORIGINAL, std::move(live), nullptr));
}

std::unique_ptr<TekClassBackup> TekClassBackup::MakeUnheldOriginal(TekClass& live)
{
    return std::unique_ptr<TekClassBackup>(new TekClassBackup(ACT_ORIGINAL, nullptr, &live));
}

bool UndoRecord::AddCopy(TekClassBackup::Action action, const TekClass& source)
{
    auto entry = TekClassBackup::MakeCopy(action, source);
    if (!entry)
        return false;
    m_entries.push_back(std::move(entry));
    return true;
}

// --- UndoBuffer --------------------------------------------------------------------------------

UndoBuffer::~UndoBuffer()
{
    Clear();
}

void UndoBuffer::Clear()
{
    m_copies.clear();
    m_originals.clear();
    while (!m_records.empty())
        m_records.pop_back();
    m_position = 0;
}

void UndoBuffer::IndexRecord(int recordIndex)
{
    const UndoRecord& record = *m_records[static_cast<size_t>(recordIndex)];
    for (int e = 0; e < record.Count(); ++e) {
        const TekClassBackup& entry = record.At(e);
        SerialIndex& index = entry.GetAction() == TekClassBackup::ACT_ORIGINAL ? m_originals : m_copies;
        index[entry.Node()->SerialNumber()].push_back({recordIndex, entry.Node()});
    }
}

void UndoBuffer::DropNewestRecord()
{
    const int recordIndex = RecordCount() - 1;
    const UndoRecord& record = *m_records.back();
    // The newest record's entries are the last of their serial numbers' lists.
    for (int e = record.Count() - 1; e >= 0; --e) {
        const TekClassBackup& entry = record.At(e);
        SerialIndex& index = entry.GetAction() == TekClassBackup::ACT_ORIGINAL ? m_originals : m_copies;
        auto found = index.find(entry.Node()->SerialNumber());
        if (found == index.end())
            continue;
        std::vector<IndexedEntry>& entries = found->second;
        while (!entries.empty() && entries.back().record == recordIndex)
            entries.pop_back();
        if (entries.empty())
            index.erase(found);
    }
    m_records.pop_back();
}

void UndoBuffer::AddOriginal(UndoRecord& record, TekClass& live) const
{
    // The owner holds this history; holding the owner here would keep both alive forever.
    if (&live == m_owner)
        record.Add(TekClassBackup::MakeUnheldOriginal(live));
    else
        record.Add(TekClassBackup::MakeOriginal(live.shared_from_this()));
}

void UndoBuffer::Append(std::unique_ptr<UndoRecord> record)
{
    while (RecordCount() > m_position)
        DropNewestRecord();
    m_records.push_back(std::move(record));
    m_position = RecordCount();
    IndexRecord(m_position - 1);
}

int UndoBuffer::Clamp(int upTo) const
{
    return std::min(upTo, RecordCount() - 1);
}

TekClass* UndoBuffer::FindSnapshot(const TekClass& node, int upTo) const
{
    if (upTo < 0)
        upTo = m_position - 1;
    upTo = Clamp(upTo);
    auto found = m_copies.find(node.SerialNumber());
    if (found == m_copies.end())
        return nullptr;
    const std::vector<IndexedEntry>& entries = found->second;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->record <= upTo)
            return it->node;
    return nullptr;
}

TekClass* UndoBuffer::FindOriginal(const TekClass& node, int upTo) const
{
    if (upTo < 0)
        upTo = RecordCount() - 1;
    upTo = Clamp(upTo);
    auto found = m_originals.find(node.SerialNumber());
    if (found == m_originals.end())
        return nullptr;
    // The newest record that holds one, and in it the first such entry.
    const std::vector<IndexedEntry>& entries = found->second;
    auto it = entries.rbegin();
    while (it != entries.rend() && it->record > upTo)
        ++it;
    if (it == entries.rend())
        return nullptr;
    auto first = it;
    for (; it != entries.rend() && it->record == first->record; ++it)
        first = it;
    return first->node;
}

TekClass* UndoBuffer::Undo()
{
    if (m_position <= 1)
        return nullptr;
    const int p = m_position - 1;
    const UndoRecord& record = *m_records[static_cast<size_t>(p)];
    TekClass* best = nullptr;
    int bestRank = 0;
    for (int e = 0; e < record.Count(); ++e) {
        const TekClassBackup& entry = record.At(e);
        if (entry.GetAction() == TekClassBackup::ACT_CREATE) {
            Consider(FindOriginal(*entry.Node(), -1), best, bestRank);
        } else if (entry.GetAction() == TekClassBackup::ACT_MODIFY) {
            const TekClass* previous = FindSnapshot(*entry.Node(), p - 1);
            TekClass* live = FindOriginal(*entry.Node(), -1);
            if (previous && !live)
                continue;
            if (previous && live)
                live->CopyFrom(*previous);
            Consider(live, best, bestRank);
        }
    }
    m_position = p;
    return best;
}

TekClass* UndoBuffer::Redo()
{
    if (m_position >= RecordCount())
        return nullptr;
    const UndoRecord& record = *m_records[static_cast<size_t>(m_position)];
    TekClass* best = nullptr;
    int bestRank = 0;
    for (int e = 0; e < record.Count(); ++e) {
        const TekClassBackup& entry = record.At(e);
        if (entry.GetAction() == TekClassBackup::ACT_CREATE) {
            Consider(FindOriginal(*entry.Node(), -1), best, bestRank);
        } else if (entry.GetAction() == TekClassBackup::ACT_MODIFY) {
            TekClass* live = FindOriginal(*entry.Node(), -1);
            if (!live)
                continue;
            live->CopyFrom(*entry.Node());
            Consider(live, best, bestRank);
        }
    }
    ++m_position;
    return best;
}

// --- Snapshots ---------------------------------------------------------------------------------

void CObjectData::TakeSnapshot(UndoBuffer& buffer, UndoRecord& record)
{
    SnapshotNode(*this, buffer, record);
}

void CObjectDataList::TakeSnapshot(UndoBuffer& buffer, UndoRecord& record)
{
    SnapshotNode(*this, buffer, record);
    for (const ObjectPtr& child : m_children)
        child->TakeSnapshot(buffer, record);
}

namespace {

void CollectTree(const CObjectData& node, std::unordered_set<const TekClass*>& nodes)
{
    nodes.insert(&node);
    if (node.IsGroup())
        for (const ObjectPtr& child : static_cast<const CObjectDataList&>(node).Children())
            CollectTree(*child, nodes);
}

} // namespace

bool RecordUndoStep(CTekDialogData& dialog)
{
    UndoBuffer& buffer = dialog.UndoHistory();
    auto record = std::make_unique<UndoRecord>();
    SnapshotNode(dialog, buffer, *record);
    std::unordered_set<const TekClass*> seen;
    if (CObjectData* root = dialog.RootObject()) {
        root->TakeSnapshot(buffer, *record);
        CollectTree(*root, seen);
    }
    // Nodes that left the tree can still have changed (an ungrouped group loses its children);
    // without their copies, undoing the step would bring them back changed.
    for (int r = 0; r < buffer.Position(); ++r) {
        const UndoRecord& applied = buffer.RecordAt(r);
        for (int e = 0; e < applied.Count(); ++e) {
            const TekClassBackup& entry = applied.At(e);
            TekClass* live = entry.Node();
            if (entry.GetAction() != TekClassBackup::ACT_ORIGINAL || live == &dialog || !seen.insert(live).second)
                continue;
            SnapshotNode(*live, buffer, *record);
        }
    }
    if (record->Empty())
        return false;
    buffer.Append(std::move(record));
    return true;
}

} // namespace vesk
