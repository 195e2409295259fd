#include "editor/propertylistctrl.h"

#include "editor/itemdescriptions.h"

#include <algorithm>
#include <functional>

#include <QAbstractTableModel>
#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QHoverEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringList>

#include "chrome/prompts.h"
#include "chrome/uitext.h"
#include "document/projectdocument.h"
#include "editor/propertycells.h"
#include "model/tekclass.h"

namespace vesk {

namespace {

/// Blank rows shown after the items.
constexpr int kBlankRows = 10;
constexpr int kColumnCount = 3;
constexpr int kValueColumn = 1;
constexpr int kButtonColumn = 2;
constexpr int kColumnWidths[kColumnCount] = {120, 215, 20};
/// How far below a row the grid scrolls before a choice cell opens from the button column.
constexpr int kChoiceListReach = 10;
/// The narrowest column in which a text cell, and a choice cell, still opens.
constexpr int kMinTextCellWidth = 5;
constexpr int kMinChoiceCellWidth = 10;

const QColor kCurrentRowFill(255, 230, 230);
const QColor kEvenRowFill(240, 255, 255);
const QColor kOddRowFill(255, 255, 255);
const QColor kCurrentRowText(255, 0, 0);
const QColor kRowText(0, 0, 0);
/// The value cell of an item whose value differs between the objects shown.
const QColor kDiffersFill(216, 216, 216);

/// The mark of the button column for an item kind.
QString ButtonMark(ItemKind kind)
{
    switch (kind) {
    case ItemKind::Choice:
    case ItemKind::Suggest:
    case ItemKind::Flag:
        return Utf8("▼");
    case ItemKind::Image:
        return QStringLiteral(">>");
    default:
        return {};
    }
}

bool NoModifiers(const QKeyEvent& event)
{
    return (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

/// The grid's own keys, which shortcuts of the surrounding window must not take.
bool IsGridKey(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Space:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Delete:
        return NoModifiers(event);
    default:
        return false;
    }
}

} // namespace

/// The items of one node as rows of name, value and button mark, then blank rows. The row
/// count is kept here and changes only when the grid asks, so that it stays what the view was
/// told even while the node's item list is being changed.
class PropertyModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit PropertyModel(QObject* parent) : QAbstractTableModel(parent) {}

    TekClass* Node() const { return m_node; }
    int ItemCount() const { return m_node ? m_node->Items().Count() : 0; }
    int CurrentRow() const { return m_currentRow; }

    /// The nodes shown together (empty: the node alone); each row's item is common to all of them
    /// or not, and its value the same in all or not.
    void SetOperands(const std::vector<TekClass*>& operands)
    {
        m_operands = operands.size() > 1 ? operands : std::vector<TekClass*>();
        ReadOperands();
    }
    const std::vector<TekClass*>& Operands() const { return m_operands; }
    void ReadOperands()
    {
        const int count = ItemCount();
        m_common.assign(static_cast<size_t>(count), true);
        m_differs.assign(static_cast<size_t>(count), false);
        for (TekClass* other : m_operands) {
            if (other == m_node)
                continue;
            for (int row = 0; row < count; ++row) {
                const auto& item = m_node->Items().At(row);
                const auto* found = other->Items().Find(item.Name());
                if (!found)
                    m_common[static_cast<size_t>(row)] = false;
                else if (found->Value() != item.Value())
                    m_differs[static_cast<size_t>(row)] = true;
            }
        }
        AllChanged();
    }
    bool Common(int row) const
    {
        return m_operands.empty() ||
               (row >= 0 && static_cast<size_t>(row) < m_common.size() && m_common[static_cast<size_t>(row)]);
    }
    bool Differs(int row) const
    {
        return !m_operands.empty() && row >= 0 && static_cast<size_t>(row) < m_differs.size() &&
               m_differs[static_cast<size_t>(row)];
    }

    void SetNode(TekClass* node)
    {
        beginResetModel();
        m_operands.clear();
        m_node = node;
        m_rows = node ? ItemCount() + kBlankRows : 0;
        m_currentRow = node ? 0 : -1;
        endResetModel();
    }

    /// Adds or removes rows after the node's item list changed; every row may read anew.
    void SyncRowCount()
    {
        const int wanted = m_node ? ItemCount() + kBlankRows : 0;
        if (wanted > m_rows) {
            beginInsertRows({}, m_rows, wanted - 1);
            m_rows = wanted;
            endInsertRows();
        } else if (wanted < m_rows) {
            beginRemoveRows({}, wanted, m_rows - 1);
            m_rows = wanted;
            endRemoveRows();
        }
        AllChanged();
    }

    void SetCurrentRow(int row)
    {
        if (row == m_currentRow)
            return;
        const int old = m_currentRow;
        m_currentRow = row;
        RowChanged(old);
        RowChanged(row);
    }

    void RowChanged(int row)
    {
        if (row >= 0 && row < m_rows)
            emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    }

    void AllChanged()
    {
        if (m_rows > 0)
            emit dataChanged(index(0, 0), index(m_rows - 1, kColumnCount - 1));
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kColumnCount; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || !m_node)
            return {};
        const int row = index.row();
        switch (role) {
        case Qt::DisplayRole:
            if (index.column() == 1 && Differs(row))
                return QString();
            return CellText(row, index.column());
        case Qt::BackgroundRole:
            if (index.column() == 1 && Differs(row))
                return QBrush(kDiffersFill);
            if (row == m_currentRow)
                return QBrush(kCurrentRowFill);
            return QBrush(row % 2 == 0 ? kEvenRowFill : kOddRowFill);
        case Qt::ForegroundRole:
            return QBrush(row == m_currentRow ? kCurrentRowText : kRowText);
        case ItemKindRole:
            return row < ItemCount() ? static_cast<int>(m_node->Items().At(row).Kind()) : -1;
        case ItemChoicesRole:
            return Choices(row);
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        switch (section) {
        case 0:
            return QStringLiteral("Key");
        case 1:
            return QStringLiteral("Value");
        default:
            return QString();
        }
    }

    /// Sets the value of the row's item: through the document when the grid has one (with the
    /// side effects of the item's role and an undo step), else on the node itself. A refusal goes
    /// to onRefusal and answers false.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override
    {
        if (role != Qt::EditRole || !index.isValid() || index.row() >= ItemCount())
            return false;
        const int row = index.row();
        std::string text = FromQ(value.toString());
        if (m_document && !m_operands.empty()) {
            const EditResult result =
                m_document->SetItemValues(m_operands, m_node->Items().At(row).Name(), std::move(text));
            if (result.refusal && onRefusal)
                onRefusal(*result.refusal);
            return result.done;
        }
        if (!m_document) {
            m_node->Items().At(row).SetValue(std::move(text));
            RowChanged(row);
            return true;
        }
        const EditResult result = m_document->SetItemValue(*m_node, row, std::move(text));
        if (result.refusal && onRefusal)
            onRefusal(*result.refusal);
        if (!result.status.empty() && onStatus)
            onStatus(result.status);
        return result.done;
    }

    void SetDocument(ProjectDocument* document) { m_document = document; }
    std::function<void(const Refusal&)> onRefusal;
    std::function<void(const std::string&)> onStatus;

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.row() >= ItemCount())
            return flags;
        // A value opens a text cell at least when an open text cell moves onto it.
        const int kind = static_cast<int>(m_node->Items().At(index.row()).Kind());
        if (index.column() == 1 || EditorForCell(kind, index.column()) != CellEditor::None)
            flags |= Qt::ItemIsEditable;
        return flags;
    }

private:
    QString CellText(int row, int column) const
    {
        if (row >= ItemCount())
            return {};
        const auto& item = m_node->Items().At(row);
        switch (column) {
        case 0:
            return ToQ(item.Name());
        case 1:
            return ToQ(item.Value());
        default:
            return ButtonMark(item.Kind());
        }
    }

    QStringList Choices(int row) const
    {
        QStringList choices;
        if (row >= ItemCount())
            return choices;
        const auto& item = m_node->Items().At(row);
        if (const auto* list = item.Choices())
            for (const auto& choice : *list)
                choices << ToQ(choice);
        return choices;
    }

    TekClass* m_node = nullptr;
    std::vector<TekClass*> m_operands;
    std::vector<bool> m_common;
    std::vector<bool> m_differs;
    ProjectDocument* m_document = nullptr;
    int m_rows = 0;
    int m_currentRow = -1;
};

CPropertyListCtrl::CPropertyListCtrl(Prompts& prompts, QWidget* parent)
    : QTableView(parent), m_prompts(prompts), m_model(new PropertyModel(this)), m_delegate(new PropertyDelegate(*this))
{
    setObjectName(QStringLiteral("propertyGrid"));
    setAccessibleName(tr("プロパティー"));
    setModel(m_model);
    setItemDelegate(m_delegate);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    // Compact rows, as property lists have them: one line of text with a little air.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setObjectName(QStringLiteral("propertyGridHeader"));
    horizontalHeader()->setAccessibleName(tr("プロパティーの列"));
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    for (int column = 0; column < kColumnCount; ++column)
        setColumnWidth(column, kColumnWidths[column]);
    setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_Hover, true);
    // The current row follows the view's current index and its selection, however they were
    // changed (keys of the view, clicks, assistive technology).
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (current.isValid())
            m_model->SetCurrentRow(current.row());
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = selectionModel()->selectedIndexes();
        if (!selected.isEmpty() && selected.front().row() != CurrentRow())
            SetCurrentRow(selected.front().row());
    });
}

CPropertyListCtrl::~CPropertyListCtrl() = default;

void CPropertyListCtrl::SetValueColumnFills(bool fills)
{
    QHeaderView& header = *horizontalHeader();
    header.setSectionResizeMode(kValueColumn, fills ? QHeaderView::Stretch : QHeaderView::Interactive);
    header.setSectionResizeMode(kButtonColumn, fills ? QHeaderView::Fixed : QHeaderView::Interactive);
    if (!fills)
        setColumnWidth(kValueColumn, kColumnWidths[kValueColumn]);
}

void CPropertyListCtrl::ShowNode(TekClass* node)
{
    if (node == m_model->Node())
        return;
    // The node shown may be gone already (a discard tells the views after it): the rows let go
    // of it before the open cell closes, which moves the focus and reads the rows again.
    m_model->SetNode(node);
    m_delegate->CancelOpenCell();
    m_pendingEdit = QPersistentModelIndex();
    m_hoverRow = -2;
    SetCurrentRow(node ? 0 : -1);
    ApplyRowVisibility();
    scrollToTop();
}

void CPropertyListCtrl::ShowNodes(TekClass* node, const std::vector<TekClass*>& operands)
{
    if (node != m_model->Node())
        ShowNode(node);
    if (operands.size() <= 1 && m_model->Operands().empty())
        return;
    m_model->SetOperands(node ? operands : std::vector<TekClass*>());
    ApplyRowVisibility();
}

const std::vector<TekClass*>& CPropertyListCtrl::Operands() const
{
    return m_model->Operands();
}

void CPropertyListCtrl::RefreshOperands()
{
    if (m_model->Operands().empty())
        return;
    m_model->ReadOperands();
    ApplyRowVisibility();
}

bool CPropertyListCtrl::ValueDiffers(int row) const
{
    return m_model->Differs(row);
}

void CPropertyListCtrl::SetFilter(const QString& text)
{
    if (text == m_filter)
        return;
    m_filter = text;
    ApplyRowVisibility();
}

void CPropertyListCtrl::ApplyRowVisibility()
{
    const int rows = m_model->rowCount();
    const int items = ItemCount();
    TekClass* node = Node();
    for (int row = 0; row < rows; ++row) {
        bool shown = row >= items ? m_filter.isEmpty() : m_model->Common(row);
        if (shown && row < items && !m_filter.isEmpty()) {
            const auto& item = node->Items().At(row);
            shown = ToQ(item.Name()).contains(m_filter, Qt::CaseInsensitive) ||
                    (!m_model->Differs(row) && ToQ(item.Value()).contains(m_filter, Qt::CaseInsensitive));
        }
        if (isRowHidden(row) == shown)
            setRowHidden(row, !shown);
    }
}

TekClass* CPropertyListCtrl::Node() const
{
    return m_model->Node();
}

int CPropertyListCtrl::ItemCount() const
{
    return m_model->ItemCount();
}

void CPropertyListCtrl::RefreshRowCount()
{
    const int row = CurrentRow();
    m_model->SyncRowCount();
    if (!m_model->Operands().empty())
        m_model->ReadOperands();
    SetCurrentRow(row >= 0 && row < m_model->rowCount() ? row : (Node() ? 0 : -1));
    ApplyRowVisibility();
}

void CPropertyListCtrl::RepaintGrid()
{
    m_model->AllChanged();
    viewport()->update();
}

int CPropertyListCtrl::CurrentRow() const
{
    return m_model->CurrentRow();
}

void CPropertyListCtrl::SetCurrentRow(int row)
{
    if (row == -1 || !Node()) {
        m_model->SetCurrentRow(-1);
        selectionModel()->clear();
        return;
    }
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_model->SetCurrentRow(row);
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    selectionModel()->setCurrentIndex(m_model->index(row, column),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool CPropertyListCtrl::StartEdit(int row, int column)
{
    if (row < 0 || row >= ItemCount())
        return false;
    const auto& item = Node()->Items().At(row);
    const CellEditor editor = EditorForCell(static_cast<int>(item.Kind()), column);
    switch (editor) {
    case CellEditor::None:
        return false;
    case CellEditor::ImagePick: {
        TekClass* node = Node();
        const std::string name = item.Name();
        emit imagePickRequested(node, name);
        return true;
    }
    case CellEditor::Choice:
    case CellEditor::TrueFalse:
        if (column == kButtonColumn) {
            scrollTo(m_model->index(row, column));
            const int below = std::min(row + kChoiceListReach, m_model->rowCount() - 1);
            scrollTo(m_model->index(below, column));
        }
        break;
    case CellEditor::Text:
        break;
    }
    return OpenCell(row, column, editor, false);
}

bool CPropertyListCtrl::StartTextEdit(int row, int column)
{
    if (row < 0 || row >= ItemCount())
        return false;
    SetCurrentRow(row);
    return OpenCell(row, column, CellEditor::Text, true);
}

bool CPropertyListCtrl::OpenCell(int row, int column, CellEditor editor, bool forceText)
{
    // A choice cell lies over the value column, whichever column opens it.
    const bool choice = editor == CellEditor::Choice || editor == CellEditor::TrueFalse;
    if (columnWidth(choice ? 1 : column) < (choice ? kMinChoiceCellWidth : kMinTextCellWidth))
        return false;
    if (m_delegate->OpenCell())
        m_delegate->EndOpenCell();
    const QModelIndex index = m_model->index(row, column);
    if (!index.isValid())
        return false;
    scrollTo(index);
    m_delegate->ForceTextCell(forceText);
    edit(index, QAbstractItemView::AllEditTriggers, nullptr);
    m_delegate->ForceTextCell(false);
    QWidget* cell = m_delegate->OpenCell();
    if (auto* choiceCell = qobject_cast<CComboBoxCell*>(cell))
        choiceCell->ShowList();
    return cell != nullptr;
}

bool CPropertyListCtrl::Commit(int row, const QString& text)
{
    if (row < 0 || row >= ItemCount())
        return false;
    const QString unrepresentable = UnrepresentableCharacters(text);
    if (!unrepresentable.isEmpty()) {
        m_prompts.ShowMessage(this, UnrepresentableTextMessage(unrepresentable), MessageIcon::Error);
        return false;
    }
    TekClass* node = Node();
    // The item list may be rebuilt by the commit, so the name travels as a copy.
    const std::string name = node->Items().At(row).Name();
    if (!m_model->setData(m_model->index(row, 1), text, Qt::EditRole))
        return false;
    emit propertyChanged(node, name);
    return true;
}

void CPropertyListCtrl::SetDocument(ProjectDocument* document)
{
    m_model->SetDocument(document);
    m_model->onRefusal = [this](const Refusal& refusal) {
        m_prompts.ShowMessage(this, Utf8(refusal.text.c_str()),
                              refusal.error ? MessageIcon::Error : MessageIcon::Warning);
    };
    m_model->onStatus = [this](const std::string& text) { emit statusText(Utf8(text.c_str())); };
}

void CPropertyListCtrl::RowChanged(int row)
{
    m_model->RowChanged(row);
}

bool CPropertyListCtrl::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && Node() && IsGridKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QTableView::event(event);
}

void CPropertyListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (!NoModifiers(*event)) {
        QTableView::keyPressEvent(event);
        return;
    }
    const int row = CurrentRow();
    switch (event->key()) {
    case Qt::Key_Space:
        if (row >= 0)
            StartEdit(row, 1);
        event->accept();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int step = event->key() == Qt::Key_Up ? -1 : 1;
        int next = row + step;
        // Rows the filter hides are passed over.
        while (next >= 0 && next < m_model->rowCount() && isRowHidden(next))
            next += step;
        if (row >= 0 && next >= 0 && next < m_model->rowCount()) {
            SetCurrentRow(next);
            scrollTo(m_model->index(next, std::max(0, currentIndex().column())));
        }
        event->accept();
        return;
    }
    case Qt::Key_Delete:
        if (row > 0 && row < ItemCount())
            Commit(row, QString());
        event->accept();
        return;
    default:
        QTableView::keyPressEvent(event);
    }
}

void CPropertyListCtrl::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool wasCurrent = index.isValid() && index.row() == CurrentRow();
    QTableView::mousePressEvent(event);
    NoteMousePress(event, wasCurrent);
}

void CPropertyListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool wasCurrent = index.isValid() && index.row() == CurrentRow();
    QTableView::mouseDoubleClickEvent(event);
    NoteMousePress(event, wasCurrent);
}

void CPropertyListCtrl::NoteMousePress(QMouseEvent* event, bool wasCurrent)
{
    m_pendingEdit = QPersistentModelIndex();
    if (event->button() != Qt::LeftButton || !Node())
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    SetCurrentRow(index.row());
    // The editor opens once the click is complete, on the release over the same cell.
    if (wasCurrent || index.column() == kButtonColumn)
        m_pendingEdit = index;
}

void CPropertyListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    const QModelIndex pending = m_pendingEdit;
    m_pendingEdit = QPersistentModelIndex();
    if (event->button() == Qt::LeftButton && pending.isValid() && indexAt(event->position().toPoint()) == pending)
        StartEdit(pending.row(), pending.column());
}

bool CPropertyListCtrl::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        HoverAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        HoverAt(static_cast<QHoverEvent*>(event)->position().toPoint());
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        m_hoverRow = -2;
        break;
    default:
        break;
    }
    return QTableView::viewportEvent(event);
}

void CPropertyListCtrl::HoverAt(const QPoint& position)
{
    const int row = Node() ? rowAt(position.y()) : -1;
    if (row == m_hoverRow)
        return;
    m_hoverRow = row;
    if (row < 0)
        return;
    if (row >= ItemCount()) {
        emit statusText(QStringLiteral("..."));
        return;
    }
    const QString description = ItemDescription(*Node(), Node()->Items().At(row).Name());
    if (!description.isEmpty())
        emit statusText(description);
}

} // namespace vesk

#include "propertylistctrl.moc"
