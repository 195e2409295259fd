#pragma once

// Matching the parts of two or three versions of one project, shared by the project diff and the
// three-way merge. Dialogs are matched by name. The nodes of a dialog are matched by name where
// the name tells one node from every other of that dialog in each version; otherwise by their
// place: the parent's identity, the name and the node's rank among the siblings of that name (an
// unnamed node by its rank among its unnamed siblings). A group never matches an object. The
// dialog's top node matches the other top node. Commands are matched by event and rank among
// the owner's commands of that event, header columns by place.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "objects/resourcedata.h"
#include "objects/objectdata.h"

namespace vesk::match {

/// One node of one version of a dialog.
struct NodeEntry {
    CObjectData* node = nullptr;
    ObjectPtr holder;                  ///< the node itself, for moving it between trees
    const std::string* name = nullptr; ///< the node's 'Name' value
    int parent = -1;                   ///< entry of the parent group; -1 for the dialog's top node
    int position = 0;                  ///< place among the parent's children, from 0
    int id = -1;                       ///< identity, the same for the matching nodes of every version
    int rank = 1;                      ///< place among the siblings of the same name, from 1
    bool nameShared = false;           ///< the node has no name, or a sibling has the same name
    int firstChild = 0;                ///< the children's entries are childEntries[firstChild, firstChild + childCount)
    int childCount = 0;
};

/// The nodes of one version of a dialog in tree order (every parent before its children).
struct DialogNodes {
    const CTekDialogData* dialog = nullptr; ///< nullptr: a version without the dialog
    std::vector<NodeEntry> entries;
    std::vector<int> childEntries;
    std::vector<int> entryOf; ///< the entry of each identity, -1 where this version has none

    int Find(int id) const { return id >= 0 && id < static_cast<int>(entryOf.size()) ? entryOf[id] : -1; }
    std::span<const int> Children(int entry) const
    {
        const NodeEntry& e = entries[static_cast<size_t>(entry)];
        return std::span<const int>(childEntries)
            .subspan(static_cast<size_t>(e.firstChild), static_cast<size_t>(e.childCount));
    }
    /// The identity of the entry's parent, -1 for the top node.
    int ParentId(int entry) const
    {
        const int parent = entries[static_cast<size_t>(entry)].parent;
        return parent < 0 ? -1 : entries[static_cast<size_t>(parent)].id;
    }
    /// The identities of the entry's children, in order.
    std::vector<int> ChildIds(int entry) const;

    /// The name shown for the entry: its name, followed by "#" and its rank when the name does not
    /// tell it from its siblings ("#2" for the second unnamed child).
    std::string Segment(int entry) const;
    /// The dialog's name and the segments down to the entry, joined by "/" ("Main/root/btn1").
    std::string Path(int entry) const;
    /// The path of the entry's parent group; the dialog's name for the top node.
    std::string ParentPath(int entry) const;
    const std::string& DialogName() const;
};

/// Indexes the node tree of each version of one dialog (set each version's dialog first) and
/// gives matching nodes the same identity. Answers the number of identities.
int IndexDialogNodes(std::span<DialogNodes> versions);

/// The value of an item (empty when the node has no item of that name); nullptr stands for a node
/// without items.
const std::string& ValueOf(const TekClass* node, std::string_view name);

/// Calls visit(name, valueOfA, valueOfB) for each item name whose values differ between the two
/// nodes, a missing item counting as empty: in a's item order, then b's items that a lacks.
/// Either node may be nullptr (no items).
template <typename Visit> void ForEachItemDifference(const TekClass* a, const TekClass* b, Visit&& visit);

/// True when no item differs (ForEachItemDifference would call nothing).
bool SameItemValues(const TekClass* a, const TekClass* b);

/// The commands of a list bound to that event, in list order.
std::vector<TekPtr> CommandsWithEvent(const TekList& commands, std::string_view event);
/// The command a node stands for: 'MakeCommand' of a NOTIFY command, 'SendCommand' of a
/// SENDCOMMAND command, else its 'Command'.
std::string CommandName(const TekClass& command);
/// The written commands are the same: for each event, the same number with the same items.
bool SameCommands(const TekList& a, const TekList& b);
/// The same header columns, column by column.
bool SameHeaders(const TekList& a, const TekList& b);
/// The node's own part is the same: items, commands and header columns (children aside).
bool SameOwnContent(const CObjectData& a, const CObjectData& b);
/// Two whole dialogs are the same: items, commands and node trees.
bool SameDialog(const CTekDialogData& a, const CTekDialogData& b);

/// What a node is, as shown to the user: its type ("BUTTON"), or its layout and "group".
std::string NodeKindText(const CObjectData& node);

/// For each value, whether it belongs to one longest strictly increasing subsequence. The values
/// left out are the fewest whose moving puts the rest in order.
std::vector<char> InLongestIncreasing(std::span<const int> values);

// --- template definitions ---------------------------------------------------------------------

template <typename Visit> void ForEachItemDifference(const TekClass* a, const TekClass* b, Visit&& visit)
{
    static const std::string kEmpty;
    if (a && b && a->Items().Count() == b->Items().Count()) {
        const CItemList& first = a->Items();
        const CItemList& second = b->Items();
        bool sameNames = true;
        for (int i = 0; i < first.Count() && sameNames; ++i)
            sameNames = &first.At(i).Def() == &second.At(i).Def() || first.At(i).Name() == second.At(i).Name();
        if (sameNames) {
            for (int i = 0; i < first.Count(); ++i)
                if (first.At(i).Value() != second.At(i).Value() && first.IndexOf(first.At(i).Name()) == i)
                    visit(std::string_view(first.At(i).Name()), first.At(i).Value(), second.At(i).Value());
            return;
        }
    }
    if (a) {
        const CItemList& items = a->Items();
        for (int i = 0; i < items.Count(); ++i) {
            const CItemData& item = items.At(i);
            if (items.IndexOf(item.Name()) != i)
                continue;
            const std::string& other = ValueOf(b, item.Name());
            if (item.Value() != other)
                visit(std::string_view(item.Name()), item.Value(), other);
        }
    }
    if (b) {
        const CItemList& items = b->Items();
        for (int i = 0; i < items.Count(); ++i) {
            const CItemData& item = items.At(i);
            if (item.Value().empty() || items.IndexOf(item.Name()) != i || (a && a->Items().IndexOf(item.Name()) >= 0))
                continue;
            visit(std::string_view(item.Name()), kEmpty, item.Value());
        }
    }
}

} // namespace vesk::match
