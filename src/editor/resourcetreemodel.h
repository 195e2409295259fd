#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include <QAbstractItemModel>

#include "model/resourcetree.h"

namespace vesk {

class CTekResourceData;
class TekClass;

/// The resource tree as a Qt model: one row per tree item, each carrying its node. The core's
/// tree building inserts the items through the ResourceTreeView interface, so the labels and the
/// order of children are the model's own; rows are answered from a flat table, never copied into
/// per-item Qt objects. The model also keeps the panel's current item, which it paints white on
/// red, and paints marked objects and groups red.
class CResourceTreeModel : public QAbstractItemModel, public ResourceTreeView {
    Q_OBJECT

public:
    explicit CResourceTreeModel(QObject* parent = nullptr);
    ~CResourceTreeModel() override;

    /// Builds every item anew from the resource; nullptr empties the tree.
    void Rebuild(CTekResourceData* resource);

    // ResourceTreeView
    TreeItemId InsertItem(const std::string& text, TreeItemId parent, TreeItemId after, TekClass* node) override;
    void SetExpanded(TreeItemId item, bool expanded) override;
    void DeleteAllItems() override;

    /// Deletes the item with everything below it.
    void DeleteItem(TreeItemId item);
    /// Moves the item (with its subtree) by one place among its siblings (delta -1 or +1);
    /// false at the first or last place.
    bool MoveItem(TreeItemId item, int delta);
    /// Lets the item carry another node (which took the place of its node in the model).
    void Rebind(TreeItemId item, TekClass* node);
    /// Sets an item's label.
    void SetLabel(TreeItemId item, const std::string& text);

    /// The item of the node, or 0 when the tree has none.
    TreeItemId ItemOf(const TekClass* node) const;
    /// The item's node, parent item (0 at the top) and children.
    TekClass* NodeOf(TreeItemId item) const;
    TreeItemId ParentOf(TreeItemId item) const;
    const std::vector<TreeItemId>& ChildrenOf(TreeItemId item) const;
    const std::string& LabelOf(TreeItemId item) const;
    /// The number of items in the tree.
    int ItemCount() const { return m_liveCount; }

    QModelIndex IndexOf(TreeItemId item) const;
    TreeItemId ItemAt(const QModelIndex& index) const;

    /// The current item (painted white on red); 0 for none.
    TreeItemId CurrentItem() const { return m_current; }
    void SetCurrentItem(TreeItemId item);
    /// Asks the views to repaint every item (after marks changed).
    void RepaintAll();

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

signals:
    /// The tree building asked for an item to be shown expanded or collapsed.
    void expandRequested(const QModelIndex& index, bool expanded);
    /// The marks changed: views should paint every item again.
    void repaintRequested();

private:
    struct Entry {
        TekClass* node = nullptr;
        TreeItemId parent = 0;
        int row = 0; ///< place among the parent's children
        bool live = false;
        std::string label; ///< Shift_JIS
        std::vector<TreeItemId> children;
    };

    Entry& At(TreeItemId item) { return m_entries[item]; }
    const Entry& At(TreeItemId item) const { return m_entries[item]; }
    void Renumber(TreeItemId parent, size_t from);
    void Forget(TreeItemId item);

    // Entry 0 is the invisible top level; item ids index the table.
    std::vector<Entry> m_entries;
    std::vector<TreeItemId> m_free;
    std::unordered_map<const TekClass*, TreeItemId> m_itemOfNode;
    std::vector<std::pair<TreeItemId, bool>> m_pendingExpansion;
    TreeItemId m_current = 0;
    int m_liveCount = 0;
    bool m_resetting = false;
};

} // namespace vesk
