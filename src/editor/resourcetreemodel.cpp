#include "editor/resourcetreemodel.h"

#include <QBrush>
#include <QColor>

#include "chrome/uitext.h"
#include "model/resourcedata.h"
#include "objects/objectdata.h"

namespace vesk {

namespace {

bool IsMarked(const TekClass* node)
{
    if (!node || (node->Type() != NodeType::Object && node->Type() != NodeType::Group))
        return false;
    return static_cast<const CObjectData*>(node)->GetMark() != 0;
}

const std::vector<TreeItemId> kNoChildren;
const std::string kNoLabel;

} // namespace

CResourceTreeModel::CResourceTreeModel(QObject* parent) : QAbstractItemModel(parent)
{
    m_entries.resize(1);
    m_entries[0].live = true;
}

CResourceTreeModel::~CResourceTreeModel() = default;

void CResourceTreeModel::Rebuild(CTekResourceData* resource)
{
    beginResetModel();
    m_resetting = true;
    DeleteAllItems();
    if (resource)
        resource->BuildTree(*this);
    m_resetting = false;
    endResetModel();
    std::vector<std::pair<TreeItemId, bool>> expansion;
    expansion.swap(m_pendingExpansion);
    for (const auto& [item, expanded] : expansion)
        if (At(item).live)
            emit expandRequested(IndexOf(item), expanded);
}

void CResourceTreeModel::DeleteAllItems()
{
    if (!m_resetting)
        beginResetModel();
    m_entries.clear();
    m_entries.resize(1);
    m_entries[0].live = true;
    m_free.clear();
    m_itemOfNode.clear();
    m_pendingExpansion.clear();
    m_current = 0;
    m_liveCount = 0;
    if (!m_resetting)
        endResetModel();
}

TreeItemId CResourceTreeModel::InsertItem(const std::string& text, TreeItemId parent, TreeItemId after, TekClass* node)
{
    if (parent >= m_entries.size() || !At(parent).live)
        parent = kTreeRootLevel;
    std::vector<TreeItemId>& siblings = At(parent).children;
    size_t place = siblings.size();
    if (after == kTreeInsertFirst) {
        place = 0;
    } else if (after != kTreeInsertLast && after < m_entries.size() && At(after).live && At(after).parent == parent) {
        place = static_cast<size_t>(At(after).row) + 1;
    }

    TreeItemId item;
    if (!m_free.empty()) {
        item = m_free.back();
        m_free.pop_back();
    } else {
        item = m_entries.size();
        m_entries.emplace_back();
    }
    if (!m_resetting)
        beginInsertRows(IndexOf(parent), static_cast<int>(place), static_cast<int>(place));
    Entry& entry = At(item);
    entry.node = node;
    entry.parent = parent;
    entry.live = true;
    entry.label = text;
    entry.children.clear();
    // The table may have grown: take the siblings again.
    std::vector<TreeItemId>& children = At(parent).children;
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(place), item);
    Renumber(parent, place);
    if (node)
        m_itemOfNode[node] = item;
    ++m_liveCount;
    if (!m_resetting)
        endInsertRows();
    return item;
}

void CResourceTreeModel::SetExpanded(TreeItemId item, bool expanded)
{
    if (item == 0 || item >= m_entries.size() || !At(item).live)
        return;
    if (m_resetting)
        m_pendingExpansion.emplace_back(item, expanded);
    else
        emit expandRequested(IndexOf(item), expanded);
}

void CResourceTreeModel::Renumber(TreeItemId parent, size_t from)
{
    std::vector<TreeItemId>& children = At(parent).children;
    for (size_t i = from; i < children.size(); ++i)
        At(children[i]).row = static_cast<int>(i);
}

void CResourceTreeModel::Forget(TreeItemId item)
{
    Entry& entry = At(item);
    for (TreeItemId child : entry.children)
        Forget(child);
    if (entry.node) {
        auto it = m_itemOfNode.find(entry.node);
        if (it != m_itemOfNode.end() && it->second == item)
            m_itemOfNode.erase(it);
    }
    if (m_current == item)
        m_current = 0;
    entry = Entry();
    m_free.push_back(item);
    --m_liveCount;
}

void CResourceTreeModel::DeleteItem(TreeItemId item)
{
    if (item == 0 || item >= m_entries.size() || !At(item).live)
        return;
    const TreeItemId parent = At(item).parent;
    const int row = At(item).row;
    beginRemoveRows(IndexOf(parent), row, row);
    std::vector<TreeItemId>& siblings = At(parent).children;
    siblings.erase(siblings.begin() + row);
    Renumber(parent, static_cast<size_t>(row));
    Forget(item);
    endRemoveRows();
}

bool CResourceTreeModel::MoveItem(TreeItemId item, int delta)
{
    if (item == 0 || item >= m_entries.size() || !At(item).live || (delta != 1 && delta != -1))
        return false;
    const TreeItemId parent = At(item).parent;
    std::vector<TreeItemId>& siblings = At(parent).children;
    const int row = At(item).row;
    const int target = row + delta;
    if (target < 0 || target >= static_cast<int>(siblings.size()))
        return false;
    const QModelIndex parentIndex = IndexOf(parent);
    // Qt counts the destination before the move: one further down when moving down.
    beginMoveRows(parentIndex, row, row, parentIndex, delta > 0 ? target + 1 : target);
    std::swap(siblings[static_cast<size_t>(row)], siblings[static_cast<size_t>(target)]);
    Renumber(parent, static_cast<size_t>(std::min(row, target)));
    endMoveRows();
    return true;
}

void CResourceTreeModel::Rebind(TreeItemId item, TekClass* node)
{
    if (item == 0 || item >= m_entries.size() || !At(item).live)
        return;
    Entry& entry = At(item);
    if (entry.node)
        m_itemOfNode.erase(entry.node);
    entry.node = node;
    if (node)
        m_itemOfNode[node] = item;
}

void CResourceTreeModel::SetLabel(TreeItemId item, const std::string& text)
{
    if (item == 0 || item >= m_entries.size() || !At(item).live)
        return;
    At(item).label = text;
    const QModelIndex index = IndexOf(item);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::AccessibleTextRole});
}

TreeItemId CResourceTreeModel::ItemOf(const TekClass* node) const
{
    auto it = m_itemOfNode.find(node);
    return it == m_itemOfNode.end() ? 0 : it->second;
}

TekClass* CResourceTreeModel::NodeOf(TreeItemId item) const
{
    return item < m_entries.size() && At(item).live ? At(item).node : nullptr;
}

TreeItemId CResourceTreeModel::ParentOf(TreeItemId item) const
{
    return item < m_entries.size() && At(item).live ? At(item).parent : 0;
}

const std::vector<TreeItemId>& CResourceTreeModel::ChildrenOf(TreeItemId item) const
{
    return item < m_entries.size() && At(item).live ? At(item).children : kNoChildren;
}

const std::string& CResourceTreeModel::LabelOf(TreeItemId item) const
{
    return item < m_entries.size() && At(item).live ? At(item).label : kNoLabel;
}

QModelIndex CResourceTreeModel::IndexOf(TreeItemId item) const
{
    if (item == 0 || item >= m_entries.size() || !At(item).live)
        return {};
    return createIndex(At(item).row, 0, static_cast<quintptr>(item));
}

TreeItemId CResourceTreeModel::ItemAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return 0;
    return static_cast<TreeItemId>(index.internalId());
}

void CResourceTreeModel::SetCurrentItem(TreeItemId item)
{
    if (item == m_current)
        return;
    const TreeItemId previous = m_current;
    m_current = item;
    for (TreeItemId changed : {previous, item}) {
        const QModelIndex index = IndexOf(changed);
        if (index.isValid())
            emit dataChanged(index, index, {Qt::ForegroundRole, Qt::BackgroundRole});
    }
}

void CResourceTreeModel::RepaintAll()
{
    // The colours are read at paint time, so the views only need to paint again.
    emit repaintRequested();
}

QModelIndex CResourceTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    const TreeItemId parentItem = parent.isValid() ? ItemAt(parent) : 0;
    const std::vector<TreeItemId>& children = ChildrenOf(parentItem);
    if (row >= static_cast<int>(children.size()))
        return {};
    return createIndex(row, 0, static_cast<quintptr>(children[static_cast<size_t>(row)]));
}

QModelIndex CResourceTreeModel::parent(const QModelIndex& child) const
{
    return IndexOf(ParentOf(ItemAt(child)));
}

int CResourceTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return static_cast<int>(ChildrenOf(parent.isValid() ? ItemAt(parent) : 0).size());
}

int CResourceTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant CResourceTreeModel::data(const QModelIndex& index, int role) const
{
    const TreeItemId item = ItemAt(index);
    if (item == 0 || item >= m_entries.size() || !At(item).live)
        return {};
    const Entry& entry = At(item);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return ToQ(entry.label);
    case Qt::ForegroundRole:
        if (item == m_current)
            return QBrush(Qt::white);
        return QBrush(IsMarked(entry.node) ? QColor(255, 0, 0) : QColor(0, 0, 0));
    case Qt::BackgroundRole:
        return QBrush(item == m_current ? QColor(255, 0, 0) : QColor(255, 255, 255));
    case Qt::AccessibleDescriptionRole:
        if (item == m_current)
            return QStringLiteral("現在の項目");
        return IsMarked(entry.node) ? QStringLiteral("選択中") : QVariant();
    default:
        return {};
    }
}

} // namespace vesk
