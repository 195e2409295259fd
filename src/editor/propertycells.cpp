#include "editor/propertycells.h"

#include <algorithm>

#include <QCoreApplication>
#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTextBoundaryFinder>

#include "editor/propertylistctrl.h"
#include "model/itemdata.h"

namespace vesk {

namespace {

/// Room kept after the text of a text cell.
constexpr int kTextCellSlack = 5;
/// Distance of a cell's text from its left edge.
constexpr int kTextIndent = 2;
/// Rows the list of a choice cell shows.
constexpr int kChoiceListRows = 10;

/// Keys that an open cell keeps for itself instead of leaving them to shortcuts and dialogs.
bool IsCellKey(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Enter:
    case Qt::Key_Return:
    case Qt::Key_Escape:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Delete:
        return true;
    default:
        return event.modifiers().testFlag(Qt::ControlModifier);
    }
}

/// Takes the cell's own keys from the shortcuts of the window, and keeps Tab from moving the
/// focus on; true when the event was taken.
bool TakeCellKeys(QEvent& event)
{
    if (event.type() == QEvent::ShortcutOverride && IsCellKey(static_cast<QKeyEvent&>(event))) {
        event.accept();
        return true;
    }
    if (event.type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent&>(event).key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            event.accept();
            return true;
        }
    }
    return false;
}

/// True when the focus went to a window of the cell's own (its list, a context menu), to a
/// widget inside the cell, or away with the whole window (it comes back to the cell).
bool FocusStaysWithCell(const QWidget& cell, const QFocusEvent& event)
{
    if (event.reason() == Qt::PopupFocusReason || event.reason() == Qt::ActiveWindowFocusReason)
        return true;
    for (const QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
        if (widget == &cell)
            return true;
    return false;
}

} // namespace

CellEditor EditorForCell(int kindCode, int column)
{
    if (column != 1 && column != 2)
        return CellEditor::None;
    const bool button = column == 2;
    switch (static_cast<ItemKind>(kindCode)) {
    case ItemKind::FreeText:
    case ItemKind::Display:
    case ItemKind::Size:
    case ItemKind::Data:
    case ItemKind::Number:
        return button ? CellEditor::None : CellEditor::Text;
    case ItemKind::Suggest:
        return button ? CellEditor::Choice : CellEditor::Text;
    case ItemKind::Image:
        return button ? CellEditor::ImagePick : CellEditor::Text;
    case ItemKind::Choice:
        return CellEditor::Choice;
    case ItemKind::Flag:
        return CellEditor::TrueFalse;
    case ItemKind::Fixed:
        break;
    }
    return CellEditor::None;
}

namespace {

// The choice entries that are commands of the grid, not values: lupdate collects them here.
[[maybe_unused]] const char* const kCommandChoices[] = {
    QT_TRANSLATE_NOOP("vesk::ChoiceText", "キャンセル"),
    QT_TRANSLATE_NOOP("vesk::ChoiceText", "ヘッダ項目追加"),
};

QString ChoiceText(const QString& choice)
{
    const QByteArray utf8 = choice.toUtf8();
    return QCoreApplication::translate("vesk::ChoiceText", utf8.constData());
}

} // namespace

int FindChoiceByPrefix(const QStringList& choices, const QString& text)
{
    const int count = static_cast<int>(choices.size());
    if (count == 0)
        return -1;
    if (text.isEmpty())
        return 0;
    for (int step = 1; step <= count; ++step) {
        const int index = step % count;
        if (choices.at(index).startsWith(text, Qt::CaseInsensitive))
            return index;
    }
    return 0;
}

QString ElideAtWordBoundary(const QFontMetrics& metrics, const QString& text, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString ellipsis(QChar(0x2026));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    qsizetype best = -1;
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        const QString head = text.left(at).trimmed();
        if (head.isEmpty())
            continue;
        if (metrics.horizontalAdvance(head + ellipsis) > width)
            break;
        best = at;
    }
    if (best > 0)
        return text.left(best).trimmed() + ellipsis;
    return metrics.elidedText(text, Qt::ElideRight, width);
}

// CExEditCell

CExEditCell::CExEditCell(int row, int column, const QString& itemName, QWidget* parent)
    : QLineEdit(parent), m_row(row), m_column(column)
{
    setObjectName(QStringLiteral("propertyTextCell"));
    setAccessibleName(itemName);
    setFrame(false);
    connect(this, &QLineEdit::textEdited, this, &CExEditCell::Widen);
}

void CExEditCell::Place(const QRect& cellRect, int rightEdge)
{
    m_cellRect = cellRect;
    m_rightEdge = rightEdge;
    setGeometry(cellRect.x(), cellRect.y(), WidthFor(m_typedWidth), cellRect.height());
}

int CExEditCell::WidthFor(int wanted) const
{
    return std::max(m_cellRect.width(), std::min(wanted, m_rightEdge - m_cellRect.left()));
}

void CExEditCell::Widen()
{
    const int wanted = fontMetrics().horizontalAdvance(text()) + kTextCellSlack;
    if (wanted <= width())
        return;
    m_typedWidth = wanted;
    resize(WidthFor(wanted), height());
}

bool CExEditCell::event(QEvent* event)
{
    return TakeCellKeys(*event) || QLineEdit::event(event);
}

void CExEditCell::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Enter:
    case Qt::Key_Return:
        m_endedByKey = !m_ended;
        End(CellEnd::Commit);
        return;
    case Qt::Key_Escape:
        m_cancelled = true;
        End(CellEnd::Cancel);
        return;
    case Qt::Key_Up:
        m_endedByKey = !m_ended;
        End(CellEnd::CommitMoveUp);
        return;
    case Qt::Key_Down:
        m_endedByKey = !m_ended;
        End(CellEnd::CommitMoveDown);
        return;
    default:
        QLineEdit::keyPressEvent(event);
        event->accept();
    }
}

void CExEditCell::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!FocusStaysWithCell(*this, *event))
        End(m_cancelled ? CellEnd::Cancel : CellEnd::Commit);
}

void CExEditCell::End(CellEnd end)
{
    if (m_ended)
        return;
    m_ended = true;
    emit ended(end);
}

// CComboBoxCell

CComboBoxCell::CComboBoxCell(int row, int column, const QString& itemName, const QStringList& choices,
                             const QString& initialText, QWidget* parent)
    : QComboBox(parent), m_row(row), m_column(column), m_choices(choices), m_initialText(initialText)
{
    setObjectName(QStringLiteral("propertyChoiceCell"));
    setAccessibleName(itemName);
    setEditable(true);
    setFrame(false);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(kChoiceListRows);
    // The entries that stand for a command rather than a value ("キャンセル", "ヘッダ項目追加")
    // read in the editor's language; the value committed stays the entry itself.
    for (const QString& choice : m_choices)
        addItem(ChoiceText(choice), choice);
    setCurrentIndex(FindChoiceByPrefix(m_choices, m_initialText));
    if (currentIndex() < 0)
        setEditText(m_initialText);
    view()->setAccessibleName(itemName);
    view()->installEventFilter(this);
    view()->viewport()->installEventFilter(this);
    connect(view()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (m_keyInList && current.isValid())
                    setCurrentIndex(current.row());
            });
    connect(this, &QComboBox::activated, this, [this] { End(CellEnd::Commit); });
}

QString CComboBoxCell::CommitText() const
{
    if (currentIndex() >= 0 && currentText() == itemText(currentIndex()))
        return itemData(currentIndex()).toString();
    return currentText();
}

void CComboBoxCell::ShowList()
{
    if (!m_ended)
        showPopup();
}

bool CComboBoxCell::event(QEvent* event)
{
    return TakeCellKeys(*event) || QComboBox::event(event);
}

bool CComboBoxCell::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view() && event->type() == QEvent::KeyPress) {
        // Escape in the list closes the whole cell, not only the list.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            End(CellEnd::Cancel);
            return true;
        }
        m_keyInList = true;
    } else if (watched == view()->viewport() && event->type() == QEvent::MouseMove) {
        m_keyInList = false;
    }
    return QComboBox::eventFilter(watched, event);
}

void CComboBoxCell::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Enter:
    case Qt::Key_Return:
        End(CellEnd::Commit);
        return;
    case Qt::Key_Escape:
        End(CellEnd::Cancel);
        return;
    default:
        QComboBox::keyPressEvent(event);
        event->accept();
    }
}

void CComboBoxCell::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (!FocusStaysWithCell(*this, *event))
        End(CellEnd::Commit);
}

void CComboBoxCell::End(CellEnd end)
{
    if (m_ended)
        return;
    m_ended = true;
    hidePopup();
    emit ended(end);
}

// PropertyDelegate

PropertyDelegate::PropertyDelegate(CPropertyListCtrl& grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

void PropertyDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The row colours come from the model; the style's selection and hover highlights would
    // hide the current row's colour, so none of them is drawn.
    painter->save();
    painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QBrush>());
    painter->setPen(index.data(Qt::ForegroundRole).value<QBrush>().color());
    painter->setFont(option.font);
    const QRect textRect = option.rect.adjusted(kTextIndent, 0, 0, 0);
    const QString text = index.data(Qt::DisplayRole).toString();
    const QString shown = ElideAtWordBoundary(option.fontMetrics, text, textRect.width());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    painter->restore();
}

QWidget* PropertyDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const bool forceText = m_forceText;
    m_forceText = false;
    const int kind = index.data(ItemKindRole).toInt();
    if (kind < 0)
        return nullptr;
    const CellEditor editor = forceText ? CellEditor::Text : EditorForCell(kind, index.column());
    const QString name = index.siblingAtColumn(0).data().toString();
    const QString value = index.siblingAtColumn(1).data().toString();
    const int row = index.row();
    const int column = index.column();
    // createEditor is const by the view's interface; the cell's end is handled by this delegate.
    auto* self = const_cast<PropertyDelegate*>(this);
    QWidget* cell = nullptr;
    switch (editor) {
    case CellEditor::Text: {
        auto* text = new CExEditCell(row, column, name, parent);
        text->setText(value);
        connect(text, &CExEditCell::ended, self,
                [self, text, row, column](CellEnd end) { self->OnCellEnded(text, end, row, column); });
        cell = text;
        break;
    }
    case CellEditor::Choice:
    case CellEditor::TrueFalse: {
        const QStringList choices = editor == CellEditor::TrueFalse
                                        ? QStringList{QStringLiteral("true"), QStringLiteral("false")}
                                        : index.data(ItemChoicesRole).toStringList();
        auto* choice = new CComboBoxCell(row, column, name, choices, value, parent);
        connect(choice, &CComboBoxCell::ended, self,
                [self, choice, row, column](CellEnd end) { self->OnCellEnded(choice, end, row, column); });
        cell = choice;
        break;
    }
    case CellEditor::None:
    case CellEditor::ImagePick:
        return nullptr;
    }
    m_openCell = cell;
    return cell;
}

void PropertyDelegate::setEditorData(QWidget*, const QModelIndex&) const
{
    // The cells take their text when they are made; a repaint of the row leaves them alone.
}

void PropertyDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    if (auto* text = qobject_cast<CExEditCell*>(editor)) {
        if (!text->Cancelled())
            m_grid.Commit(index.row(), text->text());
    } else if (auto* choice = qobject_cast<CComboBoxCell*>(editor)) {
        m_grid.Commit(index.row(), choice->CommitText());
    }
}

void PropertyDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const
{
    if (auto* text = qobject_cast<CExEditCell*>(editor)) {
        text->Place(option.rect, m_grid.viewport()->width());
    } else if (qobject_cast<CComboBoxCell*>(editor)) {
        // The text field lies over the value column, whichever column opened it.
        QRect rect = m_grid.visualRect(index.siblingAtColumn(1));
        const int scrollBar = m_grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &m_grid);
        rect.setWidth(std::max(1, m_grid.columnWidth(1) - scrollBar));
        editor->setGeometry(rect);
    } else {
        QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    }
}

void PropertyDelegate::EndOpenCell()
{
    if (auto* text = qobject_cast<CExEditCell*>(m_openCell.data()))
        text->EndEdit();
    else if (auto* choice = qobject_cast<CComboBoxCell*>(m_openCell.data()))
        choice->EndEdit();
}

void PropertyDelegate::CancelOpenCell()
{
    if (auto* text = qobject_cast<CExEditCell*>(m_openCell.data()))
        text->CancelEdit();
    else if (auto* choice = qobject_cast<CComboBoxCell*>(m_openCell.data()))
        choice->CancelEdit();
}

bool PropertyDelegate::eventFilter(QObject*, QEvent*)
{
    // The cells handle their keys and their loss of focus themselves.
    return false;
}

void PropertyDelegate::OnCellEnded(QWidget* cell, CellEnd end, int row, int column)
{
    if (m_openCell == cell)
        m_openCell = nullptr;
    // A cell that the grid has let go already (its rows were reset) ends without a word.
    if (m_grid.indexWidget(m_grid.model()->index(row, column)) != cell)
        return;
    if (end != CellEnd::Cancel) {
        if (auto* text = qobject_cast<CExEditCell*>(cell)) {
            // A text refused at Enter stays in its open cell, so that the user can mend it.
            if (!m_grid.Commit(row, text->text()) && text->EndedByKey()) {
                m_openCell = cell;
                text->Reopen();
                text->setFocus();
                return;
            }
        } else {
            emit commitData(cell);
        }
        // The commit may have rebuilt the rows (another type or layout), letting go of the cell.
        if (m_grid.indexWidget(m_grid.model()->index(row, column)) != cell)
            return;
    }
    emit closeEditor(cell, QAbstractItemDelegate::NoHint);
    if (end == CellEnd::CommitMoveUp)
        m_grid.StartTextEdit(row - 1, column);
    else if (end == CellEnd::CommitMoveDown)
        m_grid.StartTextEdit(row + 1, column);
}

} // namespace vesk
