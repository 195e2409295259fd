#pragma once

#include <QTreeView>

#include "model/resourcetree.h"

namespace vesk {

class CResourceTreeModel;

/// The resource panel's tree view. Selecting an item (by mouse, keyboard or program) reports it
/// with the keyboard modifiers of the input that chose it; expanding or collapsing an item keeps
/// the node's expanded flag in step. Items are painted in the model's colours only (the current
/// item white on red, marked nodes red), not in the style's selection colours.
class CResourceTreeCtrl : public QTreeView {
    Q_OBJECT

public:
    explicit CResourceTreeCtrl(CResourceTreeModel& model, QWidget* parent = nullptr);

    CResourceTreeModel& TreeModel() const { return m_model; }
    /// Selects the item (0 clears the selection); a change of the selected item is reported.
    void SelectItem(TreeItemId item);
    TreeItemId SelectedItem() const;
    /// The modifiers of the input that made the latest selection (mouse click, key press, or a
    /// click in a preview handed on with SetInputModifiers).
    Qt::KeyboardModifiers InputModifiers() const { return m_inputModifiers; }
    void SetInputModifiers(Qt::KeyboardModifiers modifiers) { m_inputModifiers = modifiers; }

signals:
    /// The selected item changed to item (0: none).
    void itemSelected(vesk::TreeItemId item);
    /// The selected item was clicked again: it is chosen once more.
    void itemChosenAgain(vesk::TreeItemId item);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    /// A drag with Ctrl held copies, else it moves.
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void KeepExpandedFlag(const QModelIndex& index, bool expanded);

    CResourceTreeModel& m_model;
    Qt::KeyboardModifiers m_inputModifiers = Qt::NoModifier;
};

} // namespace vesk
