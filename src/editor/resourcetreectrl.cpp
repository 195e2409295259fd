#include "editor/resourcetreectrl.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "editor/resourcetreemodel.h"
#include "model/tekclass.h"

namespace vesk {

namespace {

/// Paints items with the model's colours, whatever the selection and focus state: the style's
/// focus frame would tint the red of the current item.
class TreeItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        const QVariant foreground = index.data(Qt::ForegroundRole);
        if (foreground.canConvert<QBrush>())
            option->palette.setBrush(QPalette::Text, foreground.value<QBrush>());
    }
};

} // namespace

CResourceTreeCtrl::CResourceTreeCtrl(CResourceTreeModel& model, QWidget* parent) : QTreeView(parent), m_model(model)
{
    setObjectName(QStringLiteral("resourceTree"));
    setAccessibleName(tr("リソースツリー"));
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new TreeItemDelegate(this));
    // The view paints the selected row's branch area and background in the style's selection
    // colour, which would show as a band beside the red current item: it paints nothing there.
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, Qt::transparent);
    colours.setColor(QPalette::HighlightedText, colours.color(QPalette::Text));
    setPalette(colours);
    setModel(&m_model);
    // Nodes are dragged to another place (Ctrl: copied); entries of the side panel are dropped.
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    connect(&m_model, &CResourceTreeModel::expandRequested, this,
            [this](const QModelIndex& index, bool expanded) { setExpanded(index, expanded); });
    connect(&m_model, &CResourceTreeModel::repaintRequested, viewport(), qOverload<>(&QWidget::update));
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) { KeepExpandedFlag(index, true); });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) { KeepExpandedFlag(index, false); });
}

void CResourceTreeCtrl::KeepExpandedFlag(const QModelIndex& index, bool expanded)
{
    if (TekClass* node = m_model.NodeOf(m_model.ItemAt(index)))
        node->SetExpanded(expanded);
}

void CResourceTreeCtrl::SelectItem(TreeItemId item)
{
    const QModelIndex index = m_model.IndexOf(item);
    if (!index.isValid()) {
        selectionModel()->clear();
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

TreeItemId CResourceTreeCtrl::SelectedItem() const
{
    return m_model.ItemAt(selectionModel()->currentIndex());
}

QItemSelectionModel::SelectionFlags CResourceTreeCtrl::selectionCommand(const QModelIndex& index,
                                                                        const QEvent* event) const
{
    // Ctrl marks nodes; it never deselects the clicked item as a list would.
    if (index.isValid() && event && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return QTreeView::selectionCommand(index, event);
}

void CResourceTreeCtrl::mousePressEvent(QMouseEvent* event)
{
    m_inputModifiers = event->modifiers();
    const QModelIndex before = currentIndex();
    const QModelIndex clicked = indexAt(event->position().toPoint());
    QTreeView::mousePressEvent(event);
    // A click on the item that is selected already chooses it again: the selection rules run
    // once more (a dialog's window opens, Ctrl toggles the mark).
    if (event->button() == Qt::LeftButton && clicked.isValid() && clicked == before && currentIndex() == clicked &&
        visualRect(clicked).contains(event->position().toPoint())) {
        emit itemChosenAgain(m_model.ItemAt(clicked));
        m_inputModifiers = Qt::NoModifier;
    }
}

void CResourceTreeCtrl::keyPressEvent(QKeyEvent* event)
{
    m_inputModifiers = event->modifiers();
    QTreeView::keyPressEvent(event);
}

void CResourceTreeCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    emit itemSelected(m_model.ItemAt(current));
    m_inputModifiers = Qt::NoModifier;
}

void CResourceTreeCtrl::dragMoveEvent(QDragMoveEvent* event)
{
    event->setDropAction((event->modifiers() & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction);
    QTreeView::dragMoveEvent(event);
}

void CResourceTreeCtrl::dropEvent(QDropEvent* event)
{
    event->setDropAction((event->modifiers() & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction);
    QTreeView::dropEvent(event);
}

} // namespace vesk
