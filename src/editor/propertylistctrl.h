#pragma once

#include <string>
#include <vector>

#include <QPersistentModelIndex>
#include <QTableView>

namespace vesk {

class TekClass;
class Prompts;
class ProjectDocument;
class PropertyModel;
class PropertyDelegate;
enum class CellEditor;

/// The property grid: the items of one node as rows of "Key", "Value" and a button column,
/// item count + 10 rows, edited in place with an editor chosen by the item's kind. A commit
/// sets the item's value and sends propertyChanged; the resource panel applies the side effects.
class CPropertyListCtrl : public QTableView {
    Q_OBJECT

public:
    /// A grid whose refusals go through prompts (which must outlive it).
    explicit CPropertyListCtrl(Prompts& prompts, QWidget* parent = nullptr);
    ~CPropertyListCtrl() override;

    /// Whether the value column takes the width that the name and button columns leave, so that
    /// no blank band stays at the right of a grid wider than its columns (the button column
    /// keeps its width). Off, the columns keep the widths they are given (120, 215 and 20).
    void SetValueColumnFills(bool fills);

    /// Shows the node's items (nullptr: nothing) with row 0 current (-1 without a node); nothing
    /// happens when the node is shown already.
    void ShowNode(TekClass* node);
    TekClass* Node() const;
    /// Shows the items that every operand has (the node's rows, the others hidden); a value that
    /// differs between them is empty on grey. A commit then sets the item on every operand. With
    /// one operand or none this is ShowNode.
    void ShowNodes(TekClass* node, const std::vector<TekClass*>& operands);
    /// The nodes a commit goes to when several are shown, else empty.
    const std::vector<TekClass*>& Operands() const;
    /// Reads the operands' values again (after one of them changed).
    void RefreshOperands();
    /// Whether the row's value differs between the operands (shown empty on grey).
    bool ValueDiffers(int row) const;
    /// Shows only the rows whose key or value holds the text, letter case ignored (empty: all).
    void SetFilter(const QString& text);
    const QString& Filter() const { return m_filter; }
    /// Whether the row is shown (the filter and the operands' common items allow it).
    bool RowShown(int row) const { return !isRowHidden(row); }
    /// Commits go to the document (nullptr: straight to the node shown, for a node of no project).
    void SetDocument(ProjectDocument* document);
    /// Repaints one row (after its value changed elsewhere).
    void RowChanged(int row);
    /// Sets the row count again after the node's item list changed.
    void RefreshRowCount();
    /// Repaints every row (after a value changed elsewhere).
    void RepaintGrid();

    /// The highlighted row, -1 when no node is shown.
    int CurrentRow() const;
    void SetCurrentRow(int row);
    /// Opens the editor of the cell at row and column (1 value, 2 button) as the item's kind
    /// asks; false when that cell opens nothing.
    bool StartEdit(int row, int column);
    /// Opens a text cell on the row's cell whatever the item's kind (an open text cell moving up
    /// or down) and makes the row current; false for a row without an item.
    bool StartTextEdit(int row, int column);
    /// Sets the value of the row's item (through the document, which may refuse it with a message
    /// box) and sends propertyChanged. False, changing nothing, for a row without an item, for a
    /// refused value and for text holding characters that Shift_JIS cannot hold (refused with a
    /// message box naming them).
    bool Commit(int row, const QString& text);

signals:
    /// The item of that name of the node was committed (the property change notice).
    void propertyChanged(vesk::TekClass* node, const std::string& itemName);
    /// The button of an image item was pressed: the side panel should offer its pictures.
    void imagePickRequested(vesk::TekClass* node, const std::string& itemName);
    /// A text for the status bar's first pane (the hovered item's description, or "...").
    void statusText(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    /// The number of items of the node shown, 0 without a node.
    int ItemCount() const;
    void NoteMousePress(QMouseEvent* event, bool wasCurrent);
    void HoverAt(const QPoint& position);
    bool OpenCell(int row, int column, CellEditor editor, bool forceText);
    /// Hides the rows that the filter or the operands leave out.
    void ApplyRowVisibility();

    Prompts& m_prompts;
    PropertyModel* m_model;
    PropertyDelegate* m_delegate;
    /// The cell a left press asked to open when the button is released, or an invalid index.
    QPersistentModelIndex m_pendingEdit;
    /// The row the pointer was last over (-2 when it is outside the rows).
    int m_hoverRow = -2;
    QString m_filter;
};

} // namespace vesk
