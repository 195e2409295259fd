#include "editor/dialogview.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <vector>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include "chrome/uitext.h"
#include "objects/resourcedata.h"
#include "objects/objectdata.h"
#include "render/previewpainter.h"
#include "render/previewpicture.h"

namespace vesk {

namespace {

bool SameEntry(const DialogLayout& a, const LaidOutNode& x, const DialogLayout& b, const LaidOutNode& y)
{
    return x.node == y.node && x.box == y.box && x.flags == y.flags && x.depth == y.depth && a.TagOf(x) == b.TagOf(y) &&
           a.LineOf(x) == b.LineOf(y);
}

QRect RectOf(const LaidOutNode& entry)
{
    return QRect(entry.box.x, entry.box.y, std::max(0, entry.box.width), std::max(0, entry.box.height));
}

/// The part of the preview (layout pixels) where two layouts of the same area differ, or
/// nothing when they differ in most of it (another area). Entries are matched by their node; a
/// node painted in another order among the others counts as changed.
std::optional<QRect> ChangedPart(const DialogLayout& before, const DialogLayout& after)
{
    if (before.hasRoot != after.hasRoot || before.size.width != after.size.width ||
        before.size.height != after.size.height || !(before.previewArea == after.previewArea))
        return std::nullopt;
    QRect changed;
    if (before.nodes.size() == after.nodes.size()) {
        for (size_t i = 0; i < after.nodes.size(); ++i)
            if (!SameEntry(before, before.nodes[i], after, after.nodes[i]))
                changed |= RectOf(before.nodes[i]) | RectOf(after.nodes[i]);
        return changed;
    }
    std::unordered_map<const CObjectData*, size_t> earlier;
    earlier.reserve(before.nodes.size());
    for (size_t i = 0; i < before.nodes.size(); ++i)
        earlier.emplace(before.nodes[i].node, i);
    std::vector<bool> matched(before.nodes.size(), false);
    size_t lastMatched = 0;
    bool anyMatched = false;
    for (const LaidOutNode& is : after.nodes) {
        const auto found = earlier.find(is.node);
        if (found == earlier.end()) {
            changed |= RectOf(is);
            continue;
        }
        const LaidOutNode& was = before.nodes[found->second];
        matched[found->second] = true;
        const bool inOrder = !anyMatched || found->second > lastMatched;
        if (!inOrder || !SameEntry(before, was, after, is))
            changed |= RectOf(was) | RectOf(is);
        if (inOrder) {
            lastMatched = found->second;
            anyMatched = true;
        }
    }
    for (size_t i = 0; i < before.nodes.size(); ++i)
        if (!matched[i])
            changed |= RectOf(before.nodes[i]);
    return changed;
}

/// The nodes of the layout whose boxes meet the rectangle, in their order, with the rest of the
/// layout as it is.
DialogLayout PartOf(const DialogLayout& layout, const QRect& part)
{
    DialogLayout kept;
    kept.hasRoot = layout.hasRoot;
    kept.size = layout.size;
    kept.previewArea = layout.previewArea;
    kept.contentSize = layout.contentSize;
    kept.text = layout.text;
    for (const LaidOutNode& entry : layout.nodes)
        if (RectOf(entry).intersects(part))
            kept.nodes.push_back(entry);
    return kept;
}

} // namespace

CTekDialogEditorView::CTekDialogEditorView(const CTekResourceData& resource, std::weak_ptr<CTekDialogData> dialog,
                                           QWidget* parent)
    : QWidget(parent), m_resource(resource), m_dialog(std::move(dialog)),
      m_pictures(std::make_unique<DevicePictureCache>(
          PictureFolders{(QCoreApplication::applicationDirPath() + QStringLiteral("/assets")).toStdString(), {}}))
{
    setObjectName(QStringLiteral("dialogPreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(40, 40);
    for (auto [bar, orientation, name, text] :
         {std::tuple{&m_horizontal, Qt::Horizontal, "previewHorizontalScroll", QT_TR_NOOP("横スクロール")},
          std::tuple{&m_vertical, Qt::Vertical, "previewVerticalScroll", QT_TR_NOOP("縦スクロール")}}) {
        *bar = new QScrollBar(orientation, this);
        (*bar)->setObjectName(QString::fromLatin1(name));
        (*bar)->setAccessibleName(tr(text));
        (*bar)->setSingleStep(20);
        (*bar)->hide();
        connect(*bar, &QScrollBar::valueChanged, this, [this] {
            UpdateGeometry();
            update();
        });
    }
    SetUpHands();
    if (CTekDialogData* shown = Dialog()) {
        setAccessibleName(ToQ(shown->GetItem("Name")));
        setAccessibleDescription(tr("プレビュー"));
    }
    Relayout();
}

CTekDialogData* CTekDialogEditorView::Dialog() const
{
    return m_dialog.lock().get();
}

CObjectData* CTekDialogEditorView::ObjectAt(int x, int y) const
{
    CTekDialogData* dialog = Dialog();
    CObjectDataList* root = dialog ? dialog->RootGroup() : nullptr;
    if (!root)
        return nullptr;
    EnsureLayout();
    bool invertible = false;
    const QPointF point = m_transform.inverted(&invertible).map(QPointF(x, y));
    if (!invertible)
        return nullptr;
    const LaidOutNode* hit =
        m_layout.ObjectAt(static_cast<int>(std::floor(point.x())), static_cast<int>(std::floor(point.y())));
    // An object removed since the layout was made is not answered.
    return hit && root->Contains(hit->node) ? hit->node : nullptr;
}

void CTekDialogEditorView::SetLook(PreviewLook look)
{
    if (look == m_look)
        return;
    m_look = look;
    m_picture = QImage();
    Relayout();
    update();
}

void CTekDialogEditorView::SetPreviewSize(const PreviewSize& size)
{
    if (size == m_size)
        return;
    const int zoom = Zoom();
    m_size = size;
    m_picture = QImage();
    Relayout();
    update();
    if (Zoom() != zoom)
        emit zoomChanged(Zoom());
}

LayoutArea CTekDialogEditorView::Area() const
{
    switch (m_size.kind) {
    case PreviewSize::Kind::Dialog:
        if (const CTekDialogData* dialog = Dialog())
            return DialogDesignArea(*dialog);
        return {100, 100};
    case PreviewSize::Kind::Fixed:
        return m_size.fixed;
    case PreviewSize::Kind::Window:
        break;
    }
    return {width(), height()};
}

int CTekDialogEditorView::Zoom() const
{
    return m_size.kind == PreviewSize::Kind::Window ? 100 : m_zoom;
}

void CTekDialogEditorView::SetZoom(int percent, std::optional<QPointF> anchor)
{
    percent = std::clamp(percent, kMinZoomPercent, kMaxZoomPercent);
    if (m_size.kind == PreviewSize::Kind::Window || percent == m_zoom)
        return;
    const QPointF at = anchor.value_or(QPointF(width() / 2.0, height() / 2.0));
    const QPointF held = m_transform.inverted().map(at);
    m_zoom = percent;
    UpdateGeometry();
    // Scrolls so that the layout point under the anchor stays there.
    const QPointF moved = m_transform.map(held) - at;
    m_horizontal->setValue(m_horizontal->value() + static_cast<int>(std::lround(moved.x())));
    m_vertical->setValue(m_vertical->value() + static_cast<int>(std::lround(moved.y())));
    UpdateGeometry();
    update();
    emit zoomChanged(m_zoom);
}

void CTekDialogEditorView::ZoomStep(bool in)
{
    SetZoom(NextZoomStep(Zoom(), in));
}

QRect CTekDialogEditorView::PictureRect() const
{
    const QPointF origin = m_transform.map(QPointF(0, 0));
    return QRect(QPoint(static_cast<int>(std::lround(origin.x())), static_cast<int>(std::lround(origin.y()))),
                 PreviewPictureSize(Area(), Zoom()));
}

const QImage& CTekDialogEditorView::PreviewPicture()
{
    EnsureLayout();
    UpdatePicture();
    return m_picture;
}

void CTekDialogEditorView::UpdateGeometry()
{
    const QSize picture = PreviewPictureSize(Area(), Zoom());
    const bool window = m_size.kind == PreviewSize::Kind::Window;
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool wide = !window && picture.width() > width();
    bool tall = !window && picture.height() > height();
    wide = wide || (tall && !window && picture.width() > width() - extent);
    tall = tall || (wide && !window && picture.height() > height() - extent);
    const QSize viewport(width() - (tall ? extent : 0), height() - (wide ? extent : 0));
    const QSignalBlocker blockHorizontal(m_horizontal);
    const QSignalBlocker blockVertical(m_vertical);
    for (auto [bar, shown, length, room] : {std::tuple{m_horizontal, wide, picture.width(), viewport.width()},
                                            std::tuple{m_vertical, tall, picture.height(), viewport.height()}}) {
        bar->setVisible(shown);
        bar->setRange(0, shown ? std::max(0, length - room) : 0);
        bar->setPageStep(std::max(1, room));
    }
    if (wide)
        m_horizontal->setGeometry(0, viewport.height(), viewport.width(), extent);
    if (tall)
        m_vertical->setGeometry(viewport.width(), 0, extent, viewport.height());
    // A picture smaller than the room is centred; a larger one starts at the scrolled place.
    const int x = wide ? -m_horizontal->value() : (viewport.width() - picture.width()) / 2;
    const int y = tall ? -m_vertical->value() : (viewport.height() - picture.height()) / 2;
    const double scale = Zoom() / 100.0;
    m_transform = QTransform(scale, 0, 0, scale, x, y);
}

void CTekDialogEditorView::SetPictureFolders(PictureFolders folders)
{
    m_pictures = std::make_unique<DevicePictureCache>(std::move(folders));
    if (m_look == PreviewLook::Device) {
        m_picture = QImage();
        Relayout();
        update();
    }
}

void CTekDialogEditorView::DialogChanged()
{
    // Several changes of one edit are laid out once, at the next paint.
    m_layoutStale = true;
    update();
}

void CTekDialogEditorView::EnsureLayout() const
{
    if (m_layoutStale)
        const_cast<CTekDialogEditorView*>(this)->Relayout();
}

void CTekDialogEditorView::Relayout()
{
    CTekDialogData* dialog = Dialog();
    m_layoutStale = false;
    const bool device = m_look == PreviewLook::Device;
    DialogLayout layout;
    if (dialog) {
        layout = LayOutPreview(m_resource, *dialog, m_look, Area(), *m_pictures);
        StoreLayoutRects(layout);
    }
    UpdateGeometry();
    // The device look is repainted whole: its nodes are cut to their parents and see through.
    const std::optional<QRect> changed = device ? std::nullopt : ChangedPart(m_layout, layout);
    if (!changed || m_picture.size() != PreviewPictureSize(Area(), Zoom()))
        m_picture = QImage();
    else if (!changed->isEmpty())
        m_stale |= QTransform::fromScale(Zoom() / 100.0, Zoom() / 100.0).mapRect(*changed).adjusted(-1, -1, 1, 1);
    m_layout = std::move(layout);
}

void CTekDialogEditorView::UpdatePicture()
{
    const QSize size = PreviewPictureSize(Area(), Zoom());
    const bool whole = m_picture.isNull() || m_picture.size() != size;
    if (!whole && m_stale.isEmpty())
        return;
    if (whole)
        m_picture = QImage(size, QImage::Format_RGB32);
    if (m_picture.isNull())
        return;
    QPainter painter(&m_picture);
    const QRect part = whole ? m_picture.rect() : m_stale & m_picture.rect();
    painter.setClipRect(part);
    if (whole || m_look == PreviewLook::Device || !Dialog()) {
        PaintPreviewPicture(painter, size, m_layout, m_look, Zoom(), *m_pictures, &m_labels);
    } else {
        const double scale = Zoom() / 100.0;
        const QRect inLayout = QTransform::fromScale(1 / scale, 1 / scale).mapRect(part).adjusted(-1, -1, 1, 1);
        PaintPreviewPicture(painter, size, PartOf(m_layout, inLayout), m_look, Zoom(), *m_pictures, &m_labels);
    }
    m_stale = QRect();
}

void CTekDialogEditorView::paintEvent(QPaintEvent* event)
{
    EnsureLayout();
    UpdatePicture();
    QPainter painter(this);
    const QRect target = PictureRect();
    const QRegion around = QRegion(event->rect()) - QRegion(target);
    if (!around.isEmpty() || m_picture.isNull()) {
        painter.save();
        if (!m_picture.isNull())
            painter.setClipRegion(around);
        PaintCheckerBackground(painter, width(), height());
        painter.restore();
    }
    if (m_picture.isNull())
        return;
    const QRect shown = target & event->rect();
    painter.drawImage(shown, m_picture, shown.translated(-target.topLeft()));
}

void CTekDialogEditorView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A fixed area keeps its layout and picture; only its place in the window changes.
    if (m_size.kind == PreviewSize::Kind::Window)
        Relayout();
    else
        UpdateGeometry();
}

void CTekDialogEditorView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (event->modifiers() & Qt::ControlModifier) {
        // Ctrl+wheel zooms about the pointer.
        if (delta != 0 && m_size.kind != PreviewSize::Kind::Window)
            SetZoom(NextZoomStep(Zoom(), delta > 0), event->position());
        event->accept();
        return;
    }
    const bool sideways =
        (event->modifiers() & Qt::ShiftModifier) || event->angleDelta().y() == 0 || !m_vertical->isVisible();
    QScrollBar* bar = sideways ? m_horizontal : m_vertical;
    if (!bar->isVisible() || delta == 0) {
        event->ignore();
        return;
    }
    bar->setValue(bar->value() - delta * bar->singleStep() / 40);
    event->accept();
}

void CTekDialogEditorView::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    CObjectData* object = ObjectAt(point.x(), point.y());
    // Kept for a drag of the object, or a rubber band from between the objects.
    m_pressed = true;
    m_pressPoint = point;
    m_pressObject = object;
    if (object)
        emit objectClicked(object, event->modifiers());
    else
        update();
}

} // namespace vesk
