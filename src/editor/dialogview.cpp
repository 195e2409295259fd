#include "editor/dialogview.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>
#include <vector>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "chrome/uitext.h"
#include "objects/resourcedata.h"
#include "objects/objectdata.h"
#include "render/previewpainter.h"

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
    if (dialog && device) {
        const FontTextMeasurer text;
        layout = ComputeDeviceLayout(*dialog, DeviceSizeOf(m_resource), {width(), height()}, {&text, m_pictures.get()});
    } else if (dialog) {
        layout = ComputeLayout(*dialog, DeviceSizeOf(m_resource), {width(), height()});
    }
    if (dialog)
        StoreLayoutRects(layout);
    // The device look is repainted whole: its nodes are cut to their parents and see through.
    const std::optional<QRect> changed = device ? std::nullopt : ChangedPart(m_layout, layout);
    if (!changed || m_picture.size() != size())
        m_picture = QImage();
    else if (!changed->isEmpty())
        m_stale |= m_transform.mapRect(*changed).adjusted(-1, -1, 1, 1);
    m_layout = std::move(layout);
}

void CTekDialogEditorView::UpdatePicture()
{
    const bool whole = m_picture.isNull() || m_picture.size() != size();
    if (!whole && m_stale.isEmpty())
        return;
    if (whole)
        m_picture = QImage(size(), QImage::Format_RGB32);
    if (m_picture.isNull())
        return;
    QPainter painter(&m_picture);
    const QRect part = whole ? m_picture.rect() : m_stale & m_picture.rect();
    painter.setClipRect(part);
    PaintCheckerBackground(painter, width(), height());
    if (Dialog()) {
        painter.setTransform(m_transform);
        if (m_look == PreviewLook::Device) {
            PaintDeviceLayout(painter, m_layout, *m_pictures);
        } else if (whole) {
            PaintDialogLayout(painter, m_layout, &m_labels);
        } else {
            bool invertible = false;
            const QRect inLayout = m_transform.inverted(&invertible).mapRect(part).adjusted(-1, -1, 1, 1);
            PaintDialogLayout(painter, invertible ? PartOf(m_layout, inLayout) : m_layout, &m_labels);
        }
    }
    m_stale = QRect();
}

void CTekDialogEditorView::paintEvent(QPaintEvent* event)
{
    EnsureLayout();
    UpdatePicture();
    QPainter painter(this);
    if (m_picture.isNull()) {
        PaintCheckerBackground(painter, width(), height());
        return;
    }
    painter.drawImage(event->rect(), m_picture, event->rect());
}

void CTekDialogEditorView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Relayout();
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
