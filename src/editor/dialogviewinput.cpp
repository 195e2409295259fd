// The preview's hands: dragging an object to another place (Ctrl: a copy), taking drops of new
// objects, pictures and nodes with an outline of the receiving group and a line where the node
// would go, the rubber band, the keyboard walk and the context menu. The painting of the dialog
// itself is dialogview.cpp's; what is drawn here lies on a child widget above it.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include <QCoreApplication>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

#include "editor/dialogview.h"
#include "editor/dragdrop.h"
#include "objects/resourcedata.h"
#include "objects/objectdata.h"
#include "objects/orbunit.h"

namespace vesk {

/// Drawn over the preview while a drag is over it: the frame of the group that would take the
/// node and the line (or, in a FRAME group, the cross) where it would go.
class DropIndicator : public QWidget {
public:
    explicit DropIndicator(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("previewDropIndicator"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setAccessibleName(QCoreApplication::translate("vesk::DropIndicator", "ドロップ先"));
        hide();
    }

    void Show(const QRect& group, const QLine& line, bool cross)
    {
        m_group = group;
        m_line = line;
        m_cross = cross;
        setGeometry(parentWidget()->rect());
        show();
        raise();
        update();
    }

    QRect Group() const { return m_group; }
    QLine Line() const { return m_line; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QPen(QColor(0, 120, 215), 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_group.adjusted(1, 1, -1, -1));
        painter.setPen(QPen(QColor(0, 120, 215), 3));
        if (m_cross) {
            const QPoint at = m_line.p1();
            painter.drawLine(at - QPoint(6, 0), at + QPoint(6, 0));
            painter.drawLine(at - QPoint(0, 6), at + QPoint(0, 6));
        } else if (!m_line.isNull()) {
            painter.drawLine(m_line);
        }
    }

private:
    QRect m_group;
    QLine m_line;
    bool m_cross = false;
};

namespace {

QRect RectOf(const LayoutBox& box)
{
    return QRect(box.x, box.y, box.width, box.height);
}

/// Whether the group puts its children side by side (else one below the other).
bool StacksSideBySide(const CObjectDataList& group)
{
    switch (group.LayoutCode()) {
    case LAYOUT_LINEAR:
    case LAYOUT_RADIO:
        return group.GetItem("Vertical") != "true";
    case LAYOUT_TABLEROW:
        return true;
    default:
        return false;
    }
}

/// The line along the box's edge where a node placed before or after it goes.
QLine EdgeLine(const QRect& box, bool sideBySide, bool after)
{
    if (sideBySide) {
        const int x = after ? box.right() + 1 : box.left();
        return QLine(x, box.top(), x, box.bottom());
    }
    const int y = after ? box.bottom() + 1 : box.top();
    return QLine(box.left(), y, box.right(), y);
}

} // namespace

void CTekDialogEditorView::SetUpHands()
{
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    struct KeyEntry {
        const char* name;
        const char* text;
        QKeySequence shortcut;
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    const KeyEntry entries[] = {
        {"previewNext", QT_TR_NOOP("次のオブジェクト"), QKeySequence(Qt::Key_Tab), Qt::Key_Tab, Qt::NoModifier},
        {"previewPrevious", QT_TR_NOOP("前のオブジェクト"), QKeySequence(Qt::SHIFT | Qt::Key_Tab), Qt::Key_Backtab,
         Qt::ShiftModifier},
        {"previewLeft", QT_TR_NOOP("左のオブジェクト"), QKeySequence(Qt::Key_Left), Qt::Key_Left, Qt::NoModifier},
        {"previewRight", QT_TR_NOOP("右のオブジェクト"), QKeySequence(Qt::Key_Right), Qt::Key_Right, Qt::NoModifier},
        {"previewUp", QT_TR_NOOP("上のオブジェクト"), QKeySequence(Qt::Key_Up), Qt::Key_Up, Qt::NoModifier},
        {"previewDown", QT_TR_NOOP("下のオブジェクト"), QKeySequence(Qt::Key_Down), Qt::Key_Down, Qt::NoModifier},
        {"previewChild", QT_TR_NOOP("最初の子オブジェクト"), QKeySequence(Qt::Key_Return), Qt::Key_Return, Qt::NoModifier},
        {"previewParent", QT_TR_NOOP("親グループ"), QKeySequence(Qt::Key_Backspace), Qt::Key_Backspace, Qt::NoModifier},
        {"previewRename", QT_TR_NOOP("Text / Name の編集"), QKeySequence(Qt::Key_F2), Qt::Key_F2, Qt::NoModifier},
    };
    for (const KeyEntry& entry : entries) {
        auto* action = new QAction(tr(entry.text), this);
        action->setObjectName(QString::fromLatin1(entry.name));
        // The keys reach the view itself; the action shows them in the menu and runs the same.
        action->setShortcut(entry.shortcut);
        action->setShortcutContext(Qt::WidgetShortcut);
        const int key = entry.key;
        const Qt::KeyboardModifiers modifiers = entry.modifiers;
        connect(action, &QAction::triggered, this, [this, key, modifiers] { RunKey(key, modifiers); });
        m_keyActions.push_back(action);
    }
}

// --- Hit tests --------------------------------------------------------------------------------------

const LaidOutNode* CTekDialogEditorView::EntryOf(const TekClass* node) const
{
    for (const LaidOutNode& entry : m_layout.nodes)
        if (entry.node == node)
            return &entry;
    return nullptr;
}

CObjectData* CTekDialogEditorView::GroupAt(int x, int y) const
{
    CTekDialogData* dialog = Dialog();
    CObjectDataList* root = dialog ? dialog->RootGroup() : nullptr;
    if (!root)
        return nullptr;
    bool invertible = false;
    const QPointF point = m_transform.inverted(&invertible).map(QPointF(x, y));
    if (!invertible)
        return nullptr;
    const int px = static_cast<int>(std::floor(point.x()));
    const int py = static_cast<int>(std::floor(point.y()));
    const LaidOutNode* found = nullptr;
    for (const LaidOutNode& entry : m_layout.nodes)
        if (entry.IsGroup() && entry.Rect().Contains(px, py) && (!found || entry.depth >= found->depth))
            found = &entry;
    return found && root->Contains(found->node) ? found->node : nullptr;
}

bool CTekDialogEditorView::DropSpotAt(const QPoint& point, bool newObject, DropSpot& spot) const
{
    spot = DropSpot();
    // The point in layout pixels, where the boxes lie.
    const QPointF mapped = m_transform.inverted().map(QPointF(point));
    const QPoint at(static_cast<int>(std::floor(mapped.x())), static_cast<int>(std::floor(mapped.y())));
    if (CObjectData* object = ObjectAt(point.x(), point.y())) {
        spot.on = object;
        spot.place = DropPlace::Into;
        if (!newObject) {
            const CObjectDataList* parent = object->ParentGroup();
            const LaidOutNode* entry = EntryOf(object);
            if (parent && entry) {
                const QRect box = RectOf(entry->box);
                const bool before = StacksSideBySide(*parent) ? at.x() < box.center().x() : at.y() < box.center().y();
                spot.place = before ? DropPlace::Before : DropPlace::After;
            }
        }
        return true;
    }
    auto* group = static_cast<CObjectDataList*>(GroupAt(point.x(), point.y()));
    if (!group)
        return false;
    spot.on = group;
    spot.place = DropPlace::Into;
    const LaidOutNode* entry = EntryOf(group);
    CTekDialogData* dialog = Dialog();
    if (entry && dialog && group->LayoutCode() == LAYOUT_FRAME && m_look == PreviewLook::Device) {
        // The device look places a child at its PosX and PosY from the group's content corner.
        const LayoutContext& context = m_layout.context;
        const BoxSpacing padding = ParseSpacing(group->GetItem("Padding"), context);
        spot.point = FramePoint{DeviceUnitsForPixels(at.x() - entry->box.x - padding.left, context, true),
                                DeviceUnitsForPixels(at.y() - entry->box.y - padding.top, context, false)};
    } else if (entry && dialog && group->LayoutCode() == LAYOUT_FRAME) {
        // The point in the dialog's design units, from the group's top left corner.
        int targetWidth = LeadingInteger(dialog->GetItem("TargetLayoutWidth"));
        int targetHeight = LeadingInteger(dialog->GetItem("TargetLayoutHeight"));
        if (targetWidth <= 0 || targetHeight <= 0)
            targetWidth = targetHeight = 100;
        const int previewWidth = std::max(1, m_layout.size.width - 10);
        const int previewHeight = std::max(1, m_layout.size.height - 10);
        spot.point = FramePoint{static_cast<int>(int64_t{at.x() - entry->box.x} * targetWidth / previewWidth),
                                static_cast<int>(int64_t{at.y() - entry->box.y} * targetHeight / previewHeight)};
    }
    return true;
}

// --- Drops ------------------------------------------------------------------------------------------

bool CTekDialogEditorView::ShowsDropIndicator() const
{
    return m_indicator && m_indicator->isVisible();
}

void CTekDialogEditorView::HideDropIndicator()
{
    if (m_indicator)
        m_indicator->hide();
}

void CTekDialogEditorView::FollowDrag(QDropEvent* event)
{
    CTekDialogData* dialog = Dialog();
    if (!m_dropHandler || !dialog) {
        event->ignore();
        return;
    }
    const DragPayload payload = ReadDragPayload(event->mimeData(), m_resource);
    DropSpot spot;
    const bool newObject = payload.kind != DragPayload::Kind::Node;
    const bool copy = (event->modifiers() & Qt::ControlModifier) != 0;
    if (payload.kind == DragPayload::Kind::None || !DropSpotAt(event->position().toPoint(), newObject, spot) ||
        m_dropHandler->Check(payload, spot, copy)) {
        // The forbidden cursor: the drop would do nothing.
        HideDropIndicator();
        event->ignore();
        return;
    }
    // What the side panel carries is always a copy.
    event->setDropAction(copy || payload.kind != DragPayload::Kind::Node ? Qt::CopyAction : Qt::MoveAction);
    event->accept();

    if (!m_indicator)
        m_indicator = new DropIndicator(this);
    const LaidOutNode* onEntry = EntryOf(spot.on);
    if (!onEntry) {
        HideDropIndicator();
        return;
    }
    const QRect onBox = m_transform.mapRect(RectOf(onEntry->box));
    if (payload.kind == DragPayload::Kind::Picture) {
        m_indicator->Show(onBox, QLine(), false);
        return;
    }
    auto* on = static_cast<CObjectData*>(spot.on);
    if (!on->IsGroup()) {
        // Beside an object: its group receives, the line runs along the object's edge.
        CObjectDataList* parent = on->ParentGroup();
        const LaidOutNode* parentEntry = EntryOf(parent);
        const QRect groupBox = parentEntry ? m_transform.mapRect(RectOf(parentEntry->box)) : onBox;
        const bool after = spot.place != DropPlace::Before;
        m_indicator->Show(groupBox, EdgeLine(onBox, parent && StacksSideBySide(*parent), after), false);
        return;
    }
    auto* group = static_cast<CObjectDataList*>(on);
    if (spot.point) {
        m_indicator->Show(onBox, QLine(event->position().toPoint(), event->position().toPoint()), true);
        return;
    }
    // Into a group: after its last child, or along its top when it has none.
    QLine line(onBox.left(), onBox.top() + 2, onBox.right(), onBox.top() + 2);
    if (group->ChildCount() > 0)
        if (const LaidOutNode* last = EntryOf(&group->ChildAt(group->ChildCount() - 1)))
            line = EdgeLine(m_transform.mapRect(RectOf(last->box)), StacksSideBySide(*group), true);
    m_indicator->Show(onBox, line, false);
}

void CTekDialogEditorView::dragEnterEvent(QDragEnterEvent* event)
{
    FollowDrag(event);
}

void CTekDialogEditorView::dragMoveEvent(QDragMoveEvent* event)
{
    FollowDrag(event);
}

void CTekDialogEditorView::dragLeaveEvent(QDragLeaveEvent* event)
{
    HideDropIndicator();
    QWidget::dragLeaveEvent(event);
}

void CTekDialogEditorView::dropEvent(QDropEvent* event)
{
    HideDropIndicator();
    CTekDialogData* dialog = Dialog();
    if (!m_dropHandler || !dialog) {
        event->ignore();
        return;
    }
    const DragPayload payload = ReadDragPayload(event->mimeData(), m_resource);
    DropSpot spot;
    const bool copy = (event->modifiers() & Qt::ControlModifier) != 0;
    if (payload.kind == DragPayload::Kind::None ||
        !DropSpotAt(event->position().toPoint(), payload.kind != DragPayload::Kind::Node, spot)) {
        event->ignore();
        return;
    }
    // A refused drop does nothing: the cursor told it already.
    if (m_dropHandler->Drop(payload, spot, copy).done) {
        event->setDropAction(copy || payload.kind != DragPayload::Kind::Node ? Qt::CopyAction : Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

// --- Mouse ------------------------------------------------------------------------------------------

void CTekDialogEditorView::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    if (!m_pressed || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    if ((point - m_pressPoint).manhattanLength() < QApplication::startDragDistance() &&
        !(m_band && m_band->isVisible()))
        return;
    if (m_pressObject) {
        CTekDialogData* dialog = Dialog();
        CObjectDataList* root = dialog ? dialog->RootGroup() : nullptr;
        CObjectData* object = m_pressObject;
        m_pressed = false;
        m_pressObject = nullptr;
        if (!m_dropHandler || !root || !root->Contains(object))
            return;
        auto* drag = new QDrag(this);
        drag->setMimeData(MimeDataOfNode(*object));
        drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
        return;
    }
    if (!m_band) {
        m_band = new QRubberBand(QRubberBand::Rectangle, this);
        m_band->setObjectName(QStringLiteral("previewRubberBand"));
    }
    m_band->setGeometry(QRect(m_pressPoint, point).normalized());
    m_band->show();
}

void CTekDialogEditorView::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    m_pressed = false;
    m_pressObject = nullptr;
    if (event->button() != Qt::LeftButton || !m_band || !m_band->isVisible())
        return;
    m_band->hide();
    CTekDialogData* dialog = Dialog();
    CObjectDataList* root = dialog ? dialog->RootGroup() : nullptr;
    if (!root)
        return;
    bool invertible = false;
    const QRect band = m_transform.inverted(&invertible).mapRect(m_band->geometry());
    if (!invertible)
        return;
    std::vector<CObjectData*> touched;
    for (const LaidOutNode& entry : m_layout.nodes)
        if (!entry.IsGroup() && RectOf(entry.box).intersects(band) && root->Contains(entry.node))
            touched.push_back(entry.node);
    emit objectsBanded(touched);
}

void CTekDialogEditorView::contextMenuEvent(QContextMenuEvent* event)
{
    if (CObjectData* object = ObjectAt(event->pos().x(), event->pos().y()); object && object != m_current)
        emit objectClicked(object, Qt::NoModifier);
    emit contextMenuRequested(event->globalPos());
    event->accept();
}

// --- Keyboard ---------------------------------------------------------------------------------------

std::vector<CObjectData*> CTekDialogEditorView::WalkOrder() const
{
    std::vector<CObjectData*> order;
    CTekDialogData* dialog = Dialog();
    CObjectDataList* root = dialog ? dialog->RootGroup() : nullptr;
    if (!root)
        return order;
    order.reserve(m_layout.nodes.size());
    for (const LaidOutNode& entry : m_layout.nodes)
        if (entry.node != root && root->Contains(entry.node))
            order.push_back(entry.node);
    return order;
}

CObjectData* CTekDialogEditorView::NextInTreeOrder(bool forward) const
{
    const std::vector<CObjectData*> order = WalkOrder();
    if (order.empty())
        return nullptr;
    const auto at = std::find(order.begin(), order.end(), m_current);
    if (at == order.end())
        return forward ? order.front() : order.back();
    const auto index = static_cast<size_t>(at - order.begin());
    return order[forward ? (index + 1) % order.size() : (index + order.size() - 1) % order.size()];
}

CObjectData* CTekDialogEditorView::NeighbourTowards(int key) const
{
    const LaidOutNode* current = EntryOf(m_current);
    CTekDialogData* dialog = Dialog();
    CObjectDataList* root = dialog ? dialog->RootGroup() : nullptr;
    if (!current || !root)
        return nullptr;
    const QPoint from = RectOf(current->box).center();
    const auto* currentGroup = current->IsGroup() ? static_cast<const CObjectDataList*>(current->node) : nullptr;
    CObjectData* best = nullptr;
    int64_t bestScore = std::numeric_limits<int64_t>::max();
    for (const LaidOutNode& entry : m_layout.nodes) {
        if (entry.IsGroup() || entry.node == current->node || !root->Contains(entry.node))
            continue;
        if (currentGroup && currentGroup->Contains(entry.node))
            continue;
        const QPoint d = RectOf(entry.box).center() - from;
        int64_t along = 0;
        int64_t across = 0;
        switch (key) {
        case Qt::Key_Left:
            along = -d.x();
            across = d.y();
            break;
        case Qt::Key_Right:
            along = d.x();
            across = d.y();
            break;
        case Qt::Key_Up:
            along = -d.y();
            across = d.x();
            break;
        default:
            along = d.y();
            across = d.x();
            break;
        }
        if (along <= 0)
            continue;
        const int64_t score = along + 2 * std::llabs(across);
        if (score < bestScore) {
            bestScore = score;
            best = entry.node;
        }
    }
    return best;
}

bool CTekDialogEditorView::RunKey(int key, Qt::KeyboardModifiers modifiers)
{
    CTekDialogData* dialog = Dialog();
    CObjectDataList* root = dialog ? dialog->RootGroup() : nullptr;
    if (!root)
        return false;
    auto* current = m_current && (m_current->Type() == NodeType::Object || m_current->Type() == NodeType::Group) &&
                            root->Contains(static_cast<CObjectData*>(m_current))
                        ? static_cast<CObjectData*>(m_current)
                        : nullptr;
    CObjectData* chosen = nullptr;
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        chosen = NextInTreeOrder(key == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        chosen = NeighbourTowards(key);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (current && current->IsGroup() && static_cast<CObjectDataList*>(current)->ChildCount() > 0)
            chosen = &static_cast<CObjectDataList*>(current)->ChildAt(0);
        break;
    case Qt::Key_Backspace:
        chosen = current ? current->ParentGroup() : nullptr;
        break;
    case Qt::Key_Delete:
        emit deleteRequested();
        return true;
    case Qt::Key_F2:
        emit renameRequested();
        return true;
    default:
        return false;
    }
    if (chosen)
        emit nodeChosen(chosen);
    return true;
}

bool CTekDialogEditorView::event(QEvent* event)
{
    // Tab walks the objects rather than the focus chain.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            RunKey(key->key(), key->modifiers());
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // The view's own keys come to it, not to shortcuts of the window.
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_F2:
            if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                event->accept();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QWidget::event(event);
}

void CTekDialogEditorView::keyPressEvent(QKeyEvent* event)
{
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && RunKey(event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace vesk
