#include "editor/resourcetreemodel.h"

#include <functional>

#include <QBrush>
#include <QColor>
#include <QApplication>
#include <QIcon>
#include <QMimeData>
#include <QStyle>

#include "chrome/uitext.h"
#include "document/projectdocument.h"
#include "editor/dragdrop.h"
#include "objects/resourcedata.h"
#include "objects/objectdata.h"
#include "objects/treeshape.h"

namespace vesk {

namespace {

bool IsMarked(const TekClass* node)
{
    if (!node || (node->Type() != NodeType::Object && node->Type() != NodeType::Group))
        return false;
    return static_cast<const CObjectData*>(node)->GetMark() != 0;
}

TreeItemId IdOf(const TekClass* node)
{
    return static_cast<TreeItemId>(reinterpret_cast<uintptr_t>(node));
}

void ForEachBelow(const TekClass& node, const std::function<void(const TekClass&)>& visit)
{
    visit(node);
    const int count = TreeChildCount(node);
    for (int row = 0; row < count; ++row)
        if (const TekClass* child = TreeChildAt(node, row))
            ForEachBelow(*child, visit);
}

} // namespace

CResourceTreeModel::CResourceTreeModel(ProjectDocument& document, QObject* parent)
    : QAbstractItemModel(parent), m_document(document)
{
    connect(&document, &ProjectDocument::projectReset, this, [this] {
        beginResetModel();
        m_hidden.clear();
        m_showsResource = m_document.EditingEnabled() && m_document.TreeShown();
        endResetModel();
        if (m_showsResource) {
            ForEachBelow(m_document.Resource(), [this](const TekClass& node) { RequestExpansion(node); });
            emit expandRequested(IndexOfNode(&m_document.Resource()), true);
        }
    });
    connect(&document, &ProjectDocument::nodesAboutToBeInserted, this, &CResourceTreeModel::OnAboutToInsert);
    connect(&document, &ProjectDocument::nodesInserted, this, &CResourceTreeModel::OnInserted);
    connect(&document, &ProjectDocument::nodesAboutToBeRemoved, this, &CResourceTreeModel::OnAboutToRemove);
    connect(&document, &ProjectDocument::nodesRemoved, this, &CResourceTreeModel::OnRemoved);
    connect(&document, &ProjectDocument::nodeAboutToBeMoved, this, &CResourceTreeModel::OnAboutToMove);
    connect(&document, &ProjectDocument::nodeMoved, this, &CResourceTreeModel::OnMoved);
    connect(&document, &ProjectDocument::childrenAboutToBeReset, this, &CResourceTreeModel::OnAboutToResetChildren);
    connect(&document, &ProjectDocument::childrenReset, this, &CResourceTreeModel::OnChildrenReset);
    connect(&document, &ProjectDocument::itemChanged, this, [this](TekClass* node, int) { OnNodeChanged(node); });
    connect(&document, &ProjectDocument::itemsReset, this, &CResourceTreeModel::OnNodeChanged);
    connect(&document, &ProjectDocument::selectionChanged, this, [this] {
        if (TekClass* highlighted = m_document.Highlighted())
            OnNodeChanged(highlighted);
        emit repaintRequested();
    });
    connect(&document, &ProjectDocument::marksChanged, this, &CResourceTreeModel::repaintRequested);
}

CResourceTreeModel::~CResourceTreeModel() = default;

// --- Nodes and rows -----------------------------------------------------------------------------

bool CResourceTreeModel::Shows(const TekClass* node) const
{
    if (!node || !m_showsResource)
        return false;
    const CTekResourceData& resource = m_document.Resource();
    for (const TekClass* at = node; at != &resource;) {
        at = TreeParentOf(resource, *at);
        if (!at || m_hidden.count(at) > 0)
            return false;
    }
    return true;
}

QModelIndex CResourceTreeModel::IndexOfNode(const TekClass* node) const
{
    if (!Shows(node))
        return {};
    const CTekResourceData& resource = m_document.Resource();
    if (node == &resource)
        return createIndex(0, 0, nullptr);
    TekClass* parent = TreeParentOf(resource, *node);
    return createIndex(TreeRowOf(*parent, node), 0, parent);
}

TekClass* CResourceTreeModel::NodeAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    auto* parent = static_cast<TekClass*>(index.internalPointer());
    if (!parent)
        return &m_document.Resource();
    return TreeChildAt(*parent, index.row());
}

TreeItemId CResourceTreeModel::ItemOf(const TekClass* node) const
{
    return Shows(node) ? IdOf(node) : 0;
}

TekClass* CResourceTreeModel::NodeOf(TreeItemId item) const
{
    return reinterpret_cast<TekClass*>(static_cast<uintptr_t>(item));
}

TreeItemId CResourceTreeModel::ParentOf(TreeItemId item) const
{
    const TekClass* node = NodeOf(item);
    if (!node || node == &m_document.Resource())
        return 0;
    return ItemOf(TreeParentOf(m_document.Resource(), *node));
}

std::vector<TreeItemId> CResourceTreeModel::ChildrenOf(TreeItemId item) const
{
    std::vector<TreeItemId> children;
    if (item == kTreeRootLevel) {
        if (m_showsResource)
            children.push_back(IdOf(&m_document.Resource()));
        return children;
    }
    const TekClass* node = NodeOf(item);
    if (!Shows(node) || m_hidden.count(node) > 0)
        return children;
    const int count = TreeChildCount(*node);
    for (int row = 0; row < count; ++row)
        children.push_back(IdOf(TreeChildAt(*node, row)));
    return children;
}

std::string CResourceTreeModel::LabelOf(TreeItemId item) const
{
    const TekClass* node = NodeOf(item);
    if (!Shows(node))
        return {};
    return TreeLabelOf(*node, TreeParentOf(m_document.Resource(), *node));
}

int CResourceTreeModel::ItemCount() const
{
    if (!m_showsResource)
        return 0;
    int count = 0;
    std::function<void(const TekClass&)> visit = [&](const TekClass& node) {
        ++count;
        if (m_hidden.count(&node) > 0)
            return;
        const int rows = TreeChildCount(node);
        for (int row = 0; row < rows; ++row)
            visit(*TreeChildAt(node, row));
    };
    visit(m_document.Resource());
    return count;
}

TreeItemId CResourceTreeModel::CurrentItem() const
{
    return ItemOf(m_document.Highlighted());
}

// --- QAbstractItemModel ----------------------------------------------------------------------------

QModelIndex CResourceTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, 0, nullptr);
    return createIndex(row, 0, NodeAt(parent));
}

QModelIndex CResourceTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    auto* parent = static_cast<TekClass*>(child.internalPointer());
    if (!parent)
        return {};
    if (parent == &m_document.Resource())
        return createIndex(0, 0, nullptr);
    TekClass* above = TreeParentOf(m_document.Resource(), *parent);
    if (!above)
        return {};
    return createIndex(TreeRowOf(*above, parent), 0, above);
}

int CResourceTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return m_showsResource ? 1 : 0;
    if (parent.column() != 0)
        return 0;
    const TekClass* node = NodeAt(parent);
    if (!node || m_hidden.count(node) > 0)
        return 0;
    return TreeChildCount(*node);
}

int CResourceTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant CResourceTreeModel::data(const QModelIndex& index, int role) const
{
    const TekClass* node = NodeAt(index);
    if (!node)
        return {};
    const bool current = node == m_document.Highlighted();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return ToQ(TreeLabelOf(*node, static_cast<const TekClass*>(index.internalPointer())));
    case Qt::ForegroundRole:
        if (current)
            return QBrush(Qt::white);
        return QBrush(IsMarked(node) ? QColor(255, 0, 0) : QColor(0, 0, 0));
    case Qt::BackgroundRole:
        return QBrush(current ? QColor(255, 0, 0) : QColor(255, 255, 255));
    case Qt::DecorationRole:
        if (m_hasError && m_hasError(node))
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical);
        return {};
    case Qt::AccessibleDescriptionRole: {
        QString description = current ? tr("現在の項目") : IsMarked(node) ? tr("選択中") : QString();
        if (m_hasError && m_hasError(node))
            description += (description.isEmpty() ? QString() : QStringLiteral(" ")) + tr("エラーあり");
        return description.isEmpty() ? QVariant() : QVariant(description);
    }
    default:
        return {};
    }
}

void CResourceTreeModel::SetErrorMarker(std::function<bool(const TekClass*)> hasError)
{
    m_hasError = std::move(hasError);
    emit repaintRequested();
}

// --- Following the document --------------------------------------------------------------------------

void CResourceTreeModel::RequestExpansion(const TekClass& node)
{
    if (node.Type() == NodeType::Command || node.Type() == NodeType::HeaderColumn)
        return;
    if (node.Expanded() && TreeChildCount(node) > 0)
        if (const QModelIndex index = IndexOfNode(&node); index.isValid())
            emit expandRequested(index, true);
}

void CResourceTreeModel::RowsChanged(const TekClass& parent)
{
    // Header columns are numbered by their place: the rows of an object read anew.
    if (parent.Type() != NodeType::Object)
        return;
    const QModelIndex at = IndexOfNode(&parent);
    const int rows = rowCount(at);
    if (at.isValid() && rows > 0)
        emit dataChanged(index(0, 0, at), index(rows - 1, 0, at));
}

void CResourceTreeModel::OnAboutToInsert(TekClass* parent, int first, int last)
{
    const bool shown = Shows(parent) && m_hidden.count(parent) == 0;
    m_begun.push_back(shown);
    if (shown)
        beginInsertRows(IndexOfNode(parent), first, last);
}

void CResourceTreeModel::OnInserted(TekClass* parent, int first, int last)
{
    const bool shown = !m_begun.empty() && m_begun.back();
    if (!m_begun.empty())
        m_begun.pop_back();
    if (!shown)
        return;
    endInsertRows();
    RequestExpansion(*parent);
    for (int row = first; row <= last; ++row)
        if (const TekClass* child = TreeChildAt(*parent, row))
            ForEachBelow(*child, [this](const TekClass& node) { RequestExpansion(node); });
    RowsChanged(*parent);
}

void CResourceTreeModel::OnAboutToRemove(TekClass* parent, int first, int last)
{
    const bool shown = Shows(parent) && m_hidden.count(parent) == 0;
    m_begun.push_back(shown);
    if (shown)
        beginRemoveRows(IndexOfNode(parent), first, last);
}

void CResourceTreeModel::OnRemoved(TekClass* parent, int, int)
{
    const bool shown = !m_begun.empty() && m_begun.back();
    if (!m_begun.empty())
        m_begun.pop_back();
    if (!shown)
        return;
    endRemoveRows();
    RowsChanged(*parent);
}

void CResourceTreeModel::OnAboutToMove(TekClass* parent, int from, int to)
{
    const bool shown = Shows(parent) && m_hidden.count(parent) == 0;
    m_begun.push_back(shown);
    if (shown) {
        const QModelIndex at = IndexOfNode(parent);
        beginMoveRows(at, from, from, at, to > from ? to + 1 : to);
    }
}

void CResourceTreeModel::OnMoved(TekClass* parent, int, int)
{
    const bool shown = !m_begun.empty() && m_begun.back();
    if (!m_begun.empty())
        m_begun.pop_back();
    if (!shown)
        return;
    endMoveRows();
    RowsChanged(*parent);
}

void CResourceTreeModel::OnAboutToResetChildren(TekClass* parent)
{
    const bool shown = Shows(parent) && m_hidden.count(parent) == 0;
    const int rows = shown ? TreeChildCount(*parent) : 0;
    if (rows > 0)
        beginRemoveRows(IndexOfNode(parent), 0, rows - 1);
    m_hidden.insert(parent);
    if (rows > 0)
        endRemoveRows();
}

void CResourceTreeModel::OnChildrenReset(TekClass* parent)
{
    const bool shown = Shows(parent);
    const int rows = shown ? TreeChildCount(*parent) : 0;
    if (rows > 0)
        beginInsertRows(IndexOfNode(parent), 0, rows - 1);
    m_hidden.erase(parent);
    if (rows == 0)
        return;
    endInsertRows();
    if (const QModelIndex at = IndexOfNode(parent); at.isValid())
        emit dataChanged(at, at);
    ForEachBelow(*parent, [this](const TekClass& node) { RequestExpansion(node); });
}

void CResourceTreeModel::OnNodeChanged(TekClass* node)
{
    if (const QModelIndex at = IndexOfNode(node); at.isValid())
        emit dataChanged(at, at);
}

// --- Drag and drop ---------------------------------------------------------------------------------

Qt::ItemFlags CResourceTreeModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    const TekClass* node = NodeAt(index);
    if (!node)
        return flags;
    flags |= Qt::ItemIsDropEnabled;
    if (node->Type() != NodeType::Resource && node->Type() != NodeType::DialogList)
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList CResourceTreeModel::mimeTypes() const
{
    return {QString::fromLatin1(kNodeMimeType), QString::fromLatin1(kNewTypeMimeType),
            QString::fromLatin1(kPictureMimeType)};
}

QMimeData* CResourceTreeModel::mimeData(const QModelIndexList& indexes) const
{
    const TekClass* node = indexes.isEmpty() ? nullptr : NodeAt(indexes.front());
    return node ? MimeDataOfNode(*node) : nullptr;
}

Qt::DropActions CResourceTreeModel::supportedDragActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

Qt::DropActions CResourceTreeModel::supportedDropActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

bool CResourceTreeModel::DropSpotAt(int row, const QModelIndex& parent, DropSpot& spot) const
{
    TekClass* parentNode = NodeAt(parent);
    if (!parentNode)
        return false;
    if (row < 0) {
        spot.on = parentNode;
        spot.place = DropPlace::Into;
        return true;
    }
    const int count = TreeChildCount(*parentNode);
    if (count == 0) {
        spot.on = parentNode;
        spot.place = DropPlace::Into;
    } else if (row >= count) {
        spot.on = TreeChildAt(*parentNode, count - 1);
        spot.place = DropPlace::After;
    } else {
        spot.on = TreeChildAt(*parentNode, row);
        spot.place = DropPlace::Before;
    }
    return spot.on != nullptr;
}

bool CResourceTreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                         const QModelIndex& parent) const
{
    DropSpot spot;
    if (!m_dropHandler || !DropSpotAt(row, parent, spot))
        return false;
    const DragPayload payload = ReadDragPayload(data, m_document.Resource());
    return !m_dropHandler->Check(payload, spot, action == Qt::CopyAction).has_value();
}

bool CResourceTreeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                      const QModelIndex& parent)
{
    DropSpot spot;
    if (!m_dropHandler || !DropSpotAt(row, parent, spot))
        return false;
    const DragPayload payload = ReadDragPayload(data, m_document.Resource());
    // The rows change through the document's signals (the model removes no rows on request).
    return m_dropHandler->Drop(payload, spot, action == Qt::CopyAction).done;
}

} // namespace vesk
