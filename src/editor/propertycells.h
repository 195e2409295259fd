#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QStyledItemDelegate>

namespace vesk {

class CPropertyListCtrl;

/// Roles of the property grid's model beyond the display texts and colours.
enum PropertyRole {
    /// The item's kind code (int), -1 for a blank row.
    ItemKindRole = Qt::UserRole + 1,
    /// The item's choice list as the user reads it (QStringList), empty when it has none.
    ItemChoicesRole,
};

/// The editor a cell of the grid opens.
enum class CellEditor {
    None,      ///< the cell opens nothing
    Text,      ///< a text cell over the cell
    Choice,    ///< a choice cell with the item's choices
    TrueFalse, ///< a choice cell with "true" and "false"
    ImagePick, ///< no editor: the side panel offers its pictures
};

/// The editor that a click (or Space) on the cell of an item of that kind opens; column 1 is
/// the value column, 2 the button column, anything else opens nothing.
CellEditor EditorForCell(int kindCode, int column);

/// The entry a choice cell selects for its initial text: the first entry that begins with the
/// text (letter case ignored), searching from the second entry on, wrapping around and ending
/// with the first; 0 when none does or the text is empty; -1 for no choices.
int FindChoiceByPrefix(const QStringList& choices, const QString& text);

/// The text cut to width at a word boundary and ended with an ellipsis (at a character when
/// not even the first word fits); the text itself when it fits.
QString ElideAtWordBoundary(const QFontMetrics& metrics, const QString& text, int width);

/// How an open cell ends.
enum class CellEnd {
    Commit,         ///< commit the cell's text
    Cancel,         ///< close without a commit
    CommitMoveUp,   ///< commit, then open a text cell one row up
    CommitMoveDown, ///< commit, then open a text cell one row down
};

/// The text cell: a line edit over a value cell showing its text all selected. Enter commits,
/// Escape cancels, Up and Down commit and move; losing the focus commits unless cancelled. It
/// widens while the user types when the text no longer fits.
class CExEditCell : public QLineEdit {
    Q_OBJECT

public:
    CExEditCell(int row, int column, const QString& itemName, QWidget* parent);

    int Row() const { return m_row; }
    int Column() const { return m_column; }
    bool Cancelled() const { return m_cancelled; }
    /// Ends the edit as losing the focus does: a commit unless cancelled.
    void EndEdit() { End(m_cancelled ? CellEnd::Cancel : CellEnd::Commit); }
    /// Lets an ended cell end again (its text was refused and it stays open).
    void Reopen()
    {
        m_ended = false;
        m_endedByKey = false;
    }
    /// Whether the cell ended by a key of its own (Enter, Up, Down), not by losing the focus.
    bool EndedByKey() const { return m_endedByKey; }
    /// Ends the edit without a commit.
    void CancelEdit()
    {
        m_cancelled = true;
        End(CellEnd::Cancel);
    }
    /// Lays the cell over the cell rectangle; rightEdge is the grid's right edge (in the same
    /// coordinates), which a widened cell does not pass.
    void Place(const QRect& cellRect, int rightEdge);

signals:
    /// The edit has ended (once per cell).
    void ended(vesk::CellEnd end);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void End(CellEnd end);
    /// Widens the cell to the text when the text no longer fits; it never narrows again.
    void Widen();
    /// The width for a wanted width: at least the cell's, at most up to the right edge.
    int WidthFor(int wanted) const;

    int m_row;
    int m_column;
    bool m_cancelled = false;
    bool m_ended = false;
    bool m_endedByKey = false;
    QRect m_cellRect;
    int m_rightEdge = 0;
    /// The width the typed text asked for (0 before it outgrew the cell).
    int m_typedWidth = 0;
};

/// The choice cell: an editable combo box over the value cell whose list, ten rows high, is
/// shown below it as soon as it opens. Confirming an entry in the list commits it; losing the
/// focus commits the selected entry (or the typed text); Escape closes without a commit.
class CComboBoxCell : public QComboBox {
    Q_OBJECT

public:
    CComboBoxCell(int row, int column, const QString& itemName, const QStringList& choices, const QString& initialText,
                  QWidget* parent);

    int Row() const { return m_row; }
    int Column() const { return m_column; }
    const QStringList& Choices() const { return m_choices; }
    const QString& InitialText() const { return m_initialText; }
    /// The text a commit takes: the selected entry, or the typed text.
    QString CommitText() const;
    /// Shows the list below the cell.
    void ShowList();
    /// Ends the edit as losing the focus does: a commit.
    void EndEdit() { End(CellEnd::Commit); }
    /// Ends the edit without a commit.
    void CancelEdit() { End(CellEnd::Cancel); }

signals:
    /// The edit has ended (once per cell).
    void ended(vesk::CellEnd end);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void End(CellEnd end);

    int m_row;
    int m_column;
    QStringList m_choices;
    QString m_initialText;
    bool m_ended = false;
    /// A key went to the list: the entry it moves to becomes the selected one (the pointer
    /// passing over the list selects nothing).
    bool m_keyInList = false;
};

/// Draws the grid's cells from the model's colours and opens the cell editors; commits go
/// through the grid, so that its refusals apply.
class PropertyDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit PropertyDelegate(CPropertyListCtrl& grid);

    /// Whether the next editor opened is a text cell whatever the item's kind.
    void ForceTextCell(bool force) { m_forceText = force; }
    /// The cell being edited, or nullptr.
    QWidget* OpenCell() const { return m_openCell; }
    /// Ends the open cell, if any, as losing the focus does.
    void EndOpenCell();
    /// Closes the open cell, if any, without a commit.
    void CancelOpenCell();

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    void OnCellEnded(QWidget* cell, CellEnd end, int row, int column);

    CPropertyListCtrl& m_grid;
    mutable bool m_forceText = false;
    mutable QPointer<QWidget> m_openCell;
};

} // namespace vesk
