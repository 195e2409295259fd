#include "editor/dialogview.h"

#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "chrome/uitext.h"
#include "model/resourcedata.h"
#include "objects/objectdata.h"
#include "render/previewpainter.h"

namespace vesk {

CTekDialogEditorView::CTekDialogEditorView(const CTekResourceData& resource, std::weak_ptr<CTekDialogData> dialog,
                                           QWidget* parent)
    : QWidget(parent), m_resource(resource), m_dialog(std::move(dialog))
{
    setObjectName(QStringLiteral("dialogPreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(40, 40);
    SetUpHands();
    if (CTekDialogData* shown = Dialog()) {
        setAccessibleName(ToQ(shown->GetItem("Name")));
        setAccessibleDescription(QStringLiteral("プレビュー"));
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
    bool invertible = false;
    const QPointF point = m_transform.inverted(&invertible).map(QPointF(x, y));
    if (!invertible)
        return nullptr;
    const LaidOutNode* hit =
        m_layout.ObjectAt(static_cast<int>(std::floor(point.x())), static_cast<int>(std::floor(point.y())));
    // An object removed since the layout was made is not answered.
    return hit && root->Contains(hit->node) ? hit->node : nullptr;
}

void CTekDialogEditorView::DialogChanged()
{
    Relayout();
    update();
}

void CTekDialogEditorView::Relayout()
{
    CTekDialogData* dialog = Dialog();
    if (!dialog) {
        m_layout = DialogLayout();
        return;
    }
    m_layout = ComputeLayout(*dialog, DeviceSizeOf(m_resource), {width(), height()});
    StoreLayoutRects(m_layout);
}

void CTekDialogEditorView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintCheckerBackground(painter, width(), height());
    if (!Dialog())
        return;
    painter.setTransform(m_transform);
    PaintDialogLayout(painter, m_layout, &m_labels);
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
