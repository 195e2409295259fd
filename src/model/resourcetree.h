#pragma once

#include <cstdint>
#include <string>

namespace vesk {

class TekClass;

/// Identifies an item of the resource tree view; 0 is the tree's root level.
using TreeItemId = uint64_t;
constexpr TreeItemId kTreeRootLevel = 0;
/// Insert-after values: at the end, or at the start, of the parent's children.
constexpr TreeItemId kTreeInsertLast = UINT64_MAX;
constexpr TreeItemId kTreeInsertFirst = UINT64_MAX - 1;

/// The tree control the resource tree is built into; every item carries its node.
class ResourceTreeView {
public:
    virtual ~ResourceTreeView() = default;
    /// Inserts an item under parent, after the given sibling (or kTreeInsertLast/First).
    virtual TreeItemId InsertItem(const std::string& text, TreeItemId parent, TreeItemId after, TekClass* node) = 0;
    /// Shows the item expanded or collapsed.
    virtual void SetExpanded(TreeItemId item, bool expanded) = 0;
    /// Deletes every item.
    virtual void DeleteAllItems() = 0;
};

}  // namespace vesk
