#include "shell/imagelistctrl.h"

#include <algorithm>
#include <utility>

#include <QCoreApplication>
#include <QAbstractTableModel>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "chrome/uitext.h"
#include "editor/dragdrop.h"
#include "render/dibimage.h"

namespace vesk {

namespace {

constexpr int kThumbnailSize = 50;
constexpr int kLineHeight = 15;
constexpr int kMaxColumns = 15;
constexpr int kCaptionFontPixels = 10;

/// The model role that answers the picture index of a cell (-1 for an empty cell).
constexpr int kPictureIndexRole = Qt::UserRole + 1;

bool IsShiftJisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

/// The name without its extension (the text before its last "."); the whole name without one.
std::string WithoutExtension(const std::string& name)
{
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

/// The text after its first `count` characters (a Shift_JIS double-byte character counts once).
std::string DropCharacters(const std::string& text, int count)
{
    size_t at = 0;
    for (int i = 0; i < count && at < text.size(); ++i)
        at += IsShiftJisLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    return text.substr(at);
}

/// Upper-cases the ASCII letters of a Shift_JIS text, leaving double-byte characters whole.
std::string ToUpperShiftJis(std::string text)
{
    for (size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (IsShiftJisLeadByte(byte))
            ++at;
        else if (byte >= 'a' && byte <= 'z')
            text[at] = static_cast<char>(byte - 'a' + 'A');
    }
    return text;
}

QString ListObjectName(SidePanelListKind kind)
{
    switch (kind) {
    case SidePanelListKind::InsertedObjects:
        return QStringLiteral("insertedObjectsList");
    case SidePanelListKind::BuiltinImages:
        return QStringLiteral("builtinImagesList");
    case SidePanelListKind::StationImages:
        return QStringLiteral("stationImagesList");
    case SidePanelListKind::Clipboard:
        return QStringLiteral("clipboardList");
    }
    return {};
}

int CellSizeOf(SidePanelListKind kind)
{
    const bool twoLines = kind == SidePanelListKind::BuiltinImages || kind == SidePanelListKind::StationImages;
    return kThumbnailSize + (twoLines ? 2 : 1) * kLineHeight;
}

} // namespace

std::vector<std::vector<int>> PictureRows(const std::vector<std::string>& names, int columnsPerRow)
{
    const size_t perRow = static_cast<size_t>(std::clamp(columnsPerRow, 1, kMaxColumns));
    std::vector<std::vector<int>> rows;
    for (size_t i = 0; i < names.size(); ++i) {
        const auto firstByte = [&](size_t at) { return names[at].empty() ? '\0' : names[at].front(); };
        if (rows.empty() || rows.back().size() >= perRow || firstByte(i) != firstByte(i - 1))
            rows.emplace_back();
        rows.back().push_back(static_cast<int>(i));
    }
    return rows;
}

std::string EntryNameOf(const std::string& pictureName, SidePanelListKind kind)
{
    switch (kind) {
    case SidePanelListKind::InsertedObjects:
        return ToUpperShiftJis(DropCharacters(WithoutExtension(pictureName), 3));
    case SidePanelListKind::Clipboard:
        return WithoutExtension(pictureName);
    case SidePanelListKind::BuiltinImages:
    case SidePanelListKind::StationImages:
        break;
    }
    return pictureName;
}

QString ListTitle(SidePanelListKind kind)
{
    switch (kind) {
    case SidePanelListKind::InsertedObjects:
        return QCoreApplication::translate("vesk::SidePanelLists", "挿入オブジェクト");
    case SidePanelListKind::BuiltinImages:
        return QCoreApplication::translate("vesk::SidePanelLists", "標準画像(BUILTIN)");
    case SidePanelListKind::StationImages:
        return QCoreApplication::translate("vesk::SidePanelLists", "ユーザ登録画像(STATION)");
    case SidePanelListKind::Clipboard:
        return QCoreApplication::translate("vesk::SidePanelLists", "クリップボード");
    }
    return {};
}

QStringList PictureCaptions(const CDibImage& image, SidePanelListKind kind)
{
    if (kind == SidePanelListKind::InsertedObjects || kind == SidePanelListKind::Clipboard)
        return {ToQ(EntryNameOf(image.Name(), kind))};
    return {ToQ(image.Name()),
            QStringLiteral("%1 x %2 %3 bit").arg(image.Height()).arg(image.Width()).arg(image.BitDepth())};
}

/// The grid of a picture list as a table: one cell per picture in the row model, empty cells
/// where a row ends early. Cells answer their captions for display and assistive technology.
class PictureListModel : public QAbstractTableModel {
public:
    PictureListModel(SidePanelListKind kind, const CDibImageList& images, QObject* parent)
        : QAbstractTableModel(parent), m_kind(kind), m_images(images)
    {
    }

    /// Lays the pictures out again for that many columns per row.
    void Rebuild(int columnsPerRow)
    {
        beginResetModel();
        m_columns = std::clamp(columnsPerRow, 1, kMaxColumns);
        std::vector<std::string> names;
        names.reserve(static_cast<size_t>(m_images.Count()));
        for (int i = 0; i < m_images.Count(); ++i)
            names.push_back(m_images.At(i).Name());
        m_rows = PictureRows(names, m_columns);
        m_cells.assign(names.size(), {-1, -1});
        for (size_t row = 0; row < m_rows.size(); ++row)
            for (size_t column = 0; column < m_rows[row].size(); ++column)
                m_cells[static_cast<size_t>(m_rows[row][column])] = {static_cast<int>(row), static_cast<int>(column)};
        endResetModel();
    }

    int PictureAt(int row, int column) const
    {
        if (row < 0 || column < 0 || static_cast<size_t>(row) >= m_rows.size())
            return -1;
        const std::vector<int>& pictures = m_rows[static_cast<size_t>(row)];
        return static_cast<size_t>(column) < pictures.size() ? pictures[static_cast<size_t>(column)] : -1;
    }

    /// The row and column of a picture; (-1, -1) for an index that designates none.
    std::pair<int, int> PositionOf(int picture) const
    {
        if (picture < 0 || static_cast<size_t>(picture) >= m_cells.size())
            return {-1, -1};
        return m_cells[static_cast<size_t>(picture)];
    }

    int RowLength(int row) const { return static_cast<int>(m_rows.at(static_cast<size_t>(row)).size()); }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }

    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_columns; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int picture = PictureAt(index.row(), index.column());
        if (role == kPictureIndexRole)
            return picture;
        if (picture < 0)
            return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return PictureCaptions(m_images.At(picture), m_kind).constFirst();
        case Qt::AccessibleDescriptionRole:
        case Qt::ToolTipRole:
            return PictureCaptions(m_images.At(picture), m_kind).join(QLatin1Char('\n'));
        case Qt::SizeHintRole:
            return QSize(CellSizeOf(m_kind), CellSizeOf(m_kind));
        default:
            return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (PictureAt(index.row(), index.column()) < 0)
            return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

private:
    SidePanelListKind m_kind;
    const CDibImageList& m_images;
    int m_columns = 3;
    std::vector<std::vector<int>> m_rows;
    std::vector<std::pair<int, int>> m_cells; // by picture index
};

namespace {

/// Paints one cell: its background, the thumbnail, and the captions below it.
class PictureCellDelegate : public QStyledItemDelegate {
public:
    PictureCellDelegate(const CImageListCtrl& list, const CDibImageList& images, QObject* parent)
        : QStyledItemDelegate(parent), m_list(list), m_images(images)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int picture = index.data(kPictureIndexRole).toInt();
        if (picture < 0 || picture >= m_images.Count())
            return;
        const CDibImage& image = m_images.At(picture);
        const bool selected = picture == m_list.SelectedIndex();
        const QPalette& palette = option.palette;
        const QRect cell = option.rect;

        painter->save();
        painter->fillRect(cell, palette.color(selected ? QPalette::Highlight : QPalette::Base));
        image.Draw(*painter, cell.x(), cell.y(), cell.width(), kThumbnailSize);

        painter->setFont(option.font);
        painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QStringList captions = PictureCaptions(image, m_list.Kind());
        const int left = cell.x() + 2;
        const int width = cell.width() - 2;
        const int captionTop = cell.y() + kThumbnailSize;
        const int bottom = cell.y() + cell.height() - 1; // exclusive
        if (captions.size() == 1) {
            DrawCaption(*painter, QRect(left, captionTop, width, bottom - captionTop), captions[0], Qt::AlignHCenter);
        } else {
            DrawCaption(*painter, QRect(left, captionTop, width, kLineHeight), captions[0], Qt::AlignLeft);
            const int secondTop = captionTop + kLineHeight;
            DrawCaption(*painter, QRect(left, secondTop, width, bottom - secondTop), captions[1], Qt::AlignLeft);
        }

        if (option.state.testFlag(QStyle::State_HasFocus)) {
            QStyleOptionFocusRect focus;
            focus.initFrom(option.widget);
            focus.rect = cell.adjusted(1, 1, -1, -1);
            focus.backgroundColor = palette.color(selected ? QPalette::Highlight : QPalette::Base);
            const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(m_list.CellSize(), m_list.CellSize());
    }

private:
    static void DrawCaption(QPainter& painter, const QRect& box, const QString& text, Qt::Alignment alignment)
    {
        if (box.height() <= 0 || box.width() <= 0)
            return;
        const QString shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, box.width());
        painter.drawText(box, static_cast<int>(alignment | Qt::AlignTop | Qt::TextSingleLine), shown);
    }

    const CImageListCtrl& m_list;
    const CDibImageList& m_images;
};

} // namespace

CImageListCtrl::CImageListCtrl(SidePanelListKind kind, const CDibImageList& images, QWidget* parent)
    : QTableView(parent), m_kind(kind), m_images(images), m_model(new PictureListModel(kind, images, this))
{
    setObjectName(ListObjectName(kind));
    setAccessibleName(ListTitle(kind));
    QFont captionFont = font();
    captionFont.setPixelSize(kCaptionFontPixels);
    setFont(captionFont);

    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setMinimumSectionSize(1);
        header->setDefaultSectionSize(CellSize());
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    setItemDelegate(new PictureCellDelegate(*this, images, this));
    setModel(m_model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { TakeSelection(); });
    Refresh();
}

CImageListCtrl::~CImageListCtrl() = default;

int CImageListCtrl::CellSize() const
{
    return CellSizeOf(m_kind);
}

int CImageListCtrl::PictureAt(int row, int column) const
{
    return m_model->PictureAt(row, column);
}

int CImageListCtrl::RowCount() const
{
    return m_model->rowCount();
}

QModelIndex CImageListCtrl::CellOf(int picture) const
{
    const auto [row, column] = m_model->PositionOf(picture);
    return row < 0 ? QModelIndex() : m_model->index(row, column);
}

void CImageListCtrl::Refresh()
{
    m_showingSelection = true;
    m_model->Rebuild(m_columnsPerRow);
    m_showingSelection = false;
    if (m_selected >= m_images.Count())
        m_selected = -1;
    ShowSelection();
}

bool CImageListCtrl::GetSelectedEntry(std::string& name, SidePanelListKind& kind) const
{
    if (m_selected < 0 || m_selected >= m_images.Count())
        return false;
    name = EntryNameOf(m_images.At(m_selected).Name(), m_kind);
    kind = m_kind;
    return true;
}

void CImageListCtrl::SelectByName(const std::string& name)
{
    for (int i = 0; i < m_images.Count(); ++i) {
        if (m_images.At(i).Name() == name) {
            SetSelectedIndex(i);
            scrollTo(CellOf(i));
            return;
        }
    }
}

void CImageListCtrl::SetSelectedIndex(int index)
{
    m_selected = index >= 0 && index < m_images.Count() ? index : -1;
    ShowSelection();
}

void CImageListCtrl::ShowSelection()
{
    m_showingSelection = true;
    const QModelIndex cell = CellOf(m_selected);
    if (cell.isValid())
        selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clear();
    m_showingSelection = false;
    viewport()->update();
}

void CImageListCtrl::TakeSelection()
{
    if (m_showingSelection)
        return;
    const QModelIndexList chosen = selectionModel()->selectedIndexes();
    for (const QModelIndex& cell : chosen) {
        const int picture = PictureAt(cell.row(), cell.column());
        if (picture >= 0) {
            m_selected = picture;
            viewport()->update();
            return;
        }
    }
    // A picture stays selected until another one is chosen; show it again once the view is done.
    QMetaObject::invokeMethod(this, &CImageListCtrl::ShowSelection, Qt::QueuedConnection);
}

void CImageListCtrl::ActivateSelected()
{
    std::string name;
    SidePanelListKind kind;
    if (GetSelectedEntry(name, kind))
        emit entryActivated(kind, name);
}

QItemSelectionModel::SelectionFlags CImageListCtrl::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const
{
    if (PictureAt(index.row(), index.column()) < 0)
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void CImageListCtrl::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    const int columns = std::max(1, viewport()->width() / CellSize());
    if (columns != m_columnsPerRow) {
        m_columnsPerRow = columns;
        Refresh();
    }
}

void CImageListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QTableView::keyPressEvent(event);
        return;
    }
    const QModelIndex current = currentIndex();
    const int picture = PictureAt(current.row(), current.column());
    if (picture >= 0 && picture != m_selected)
        SetSelectedIndex(picture);
    if (m_selected < 0) {
        event->ignore();
        return;
    }
    ActivateSelected();
    event->accept();
}

void CImageListCtrl::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    m_dragStart = event->button() == Qt::LeftButton ? event->position().toPoint() : QPoint(-1, -1);
}

void CImageListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_dragStart.x() < 0) {
        QTableView::mouseMoveEvent(event);
        return;
    }
    if ((event->position().toPoint() - m_dragStart).manhattanLength() < QApplication::startDragDistance())
        return;
    const QModelIndex index = indexAt(m_dragStart);
    const int picture = index.isValid() ? PictureAt(index.row(), index.column()) : -1;
    m_dragStart = QPoint(-1, -1);
    if (picture < 0 || picture >= m_images.Count())
        return;
    QMimeData* data = MimeDataOfEntry(m_kind, EntryNameOf(m_images.At(picture).Name(), m_kind));
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void CImageListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex cell = indexAt(event->position().toPoint());
    const int picture = PictureAt(cell.row(), cell.column());
    if (picture < 0)
        return;
    SetSelectedIndex(picture);
    ActivateSelected();
}

QModelIndex CImageListCtrl::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int count = m_images.Count();
    if (count == 0)
        return {};
    const QModelIndex current = currentIndex();
    const int picture = PictureAt(current.row(), current.column());
    if (picture < 0)
        return CellOf(m_selected >= 0 ? m_selected : 0);

    const auto [row, column] = m_model->PositionOf(picture);
    const int lastRow = RowCount() - 1;
    const int rowsPerPage = std::max(1, viewport()->height() / CellSize());
    const auto inRow = [&](int targetRow) {
        targetRow = std::clamp(targetRow, 0, lastRow);
        return PictureAt(targetRow, std::min(column, m_model->RowLength(targetRow) - 1));
    };
    int target = picture;
    switch (action) {
    case MoveLeft:
    case MovePrevious:
        target = std::max(0, picture - 1);
        break;
    case MoveRight:
    case MoveNext:
        target = std::min(count - 1, picture + 1);
        break;
    case MoveUp:
        target = inRow(row - 1);
        break;
    case MoveDown:
        target = inRow(row + 1);
        break;
    case MovePageUp:
        target = inRow(row - rowsPerPage);
        break;
    case MovePageDown:
        target = inRow(row + rowsPerPage);
        break;
    case MoveHome:
        target = 0;
        break;
    case MoveEnd:
        target = count - 1;
        break;
    }
    return CellOf(target);
}

} // namespace vesk
