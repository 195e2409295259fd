#pragma once

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include <QAbstractItemModel>

#include "model/resourcetree.h"

namespace vesk {

class DropHandler;
class ProjectDocument;
class TekClass;

/// The resource tree as a Qt model over the project document's nodes: rows are answered from
/// the nodes themselves (treeshape.h), and the document's change signals become the model's
/// insert, remove, move and change notices. An index carries the node it is shown under; an
/// item id is the node itself. The document's highlighted node is painted white on red and
/// marked objects and groups red.
class CResourceTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit CResourceTreeModel(ProjectDocument& document, QObject* parent = nullptr);
    ~CResourceTreeModel() override;

    /// The index of the node's row, or an invalid index when the tree does not show it.
    QModelIndex IndexOfNode(const TekClass* node) const;
    /// The node of the row, or nullptr.
    TekClass* NodeAt(const QModelIndex& index) const;

    /// The item of the node, or 0 when the tree does not show it.
    TreeItemId ItemOf(const TekClass* node) const;
    /// The item's node, parent item (0 at the top), children and label.
    TekClass* NodeOf(TreeItemId item) const;
    TreeItemId ParentOf(TreeItemId item) const;
    std::vector<TreeItemId> ChildrenOf(TreeItemId item) const;
    std::string LabelOf(TreeItemId item) const;
    /// The number of items in the tree.
    int ItemCount() const;

    QModelIndex IndexOf(TreeItemId item) const { return IndexOfNode(NodeOf(item)); }
    TreeItemId ItemAt(const QModelIndex& index) const { return ItemOf(NodeAt(index)); }

    /// The highlighted item (painted white on red); 0 for none.
    TreeItemId CurrentItem() const;

    /// Tells which nodes have errors of the problems list: they are shown with an error icon.
    /// None are by default.
    void SetErrorMarker(std::function<bool(const TekClass*)> hasError);
    /// The nodes with errors changed: the views paint every item again.
    void ErrorMarksChanged() { emit repaintRequested(); }

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Drag and drop: dialogs, objects, groups, header columns and commands are dragged; a drop
    // is made by the drop handler (a document operation), never by the model's rows.
    /// The handler that takes drops (nullptr: the tree takes none).
    void SetDropHandler(DropHandler* handler) { m_dropHandler = handler; }
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

signals:
    /// A node that the tree shows anew wants its row expanded or collapsed (its expanded flag).
    void expandRequested(const QModelIndex& index, bool expanded);
    /// The marks or the highlight changed: views should paint every item again.
    void repaintRequested();

private:
    bool Shows(const TekClass* node) const;
    void RequestExpansion(const TekClass& node);
    void RowsChanged(const TekClass& parent);

    void OnAboutToInsert(TekClass* parent, int first, int last);
    void OnInserted(TekClass* parent, int first, int last);
    void OnAboutToRemove(TekClass* parent, int first, int last);
    void OnRemoved(TekClass* parent, int first, int last);
    void OnAboutToMove(TekClass* parent, int from, int to);
    void OnMoved(TekClass* parent, int from, int to);
    void OnAboutToResetChildren(TekClass* parent);
    void OnChildrenReset(TekClass* parent);
    void OnNodeChanged(TekClass* node);
    /// The node and place a drop at (row, parent) means: on the parent's node itself when row is
    /// -1, else before the row's node (after the last one past the end).
    bool DropSpotAt(int row, const QModelIndex& parent, struct DropSpot& spot) const;

    ProjectDocument& m_document;
    DropHandler* m_dropHandler = nullptr;
    std::function<bool(const TekClass*)> m_hasError;
    /// Whether the resource's row is shown (a project is open).
    bool m_showsResource = false;
    /// Nodes whose children the model does not show while the document changes them at once.
    std::unordered_set<const TekClass*> m_hidden;
    /// Whether each begun notice was passed on (a parent that the tree does not show is not).
    std::vector<bool> m_begun;
};

} // namespace vesk
