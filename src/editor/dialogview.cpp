#include "editor/dialogview.h"

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
    if (CTekDialogData* shown = Dialog()) {
        setAccessibleName(ToQ(shown->GetItem("Name")));
        setAccessibleDescription(QStringLiteral("プレビュー"));
    }
}

CTekDialogData* CTekDialogEditorView::Dialog() const
{
    return m_dialog.lock().get();
}

CObjectData* CTekDialogEditorView::ObjectAt(int x, int y) const
{
    CTekDialogData* dialog = Dialog();
    CObjectDataList* root = dialog ? dialog->RootGroup() : nullptr;
    return root ? root->HitTestChildren(x, y) : nullptr;
}

void CTekDialogEditorView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (CTekDialogData* dialog = Dialog())
        PaintDialogPreview(painter, m_resource, *dialog, width(), height(), &m_labels);
    else
        PaintCheckerBackground(painter, width(), height());
}

void CTekDialogEditorView::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (CObjectData* object = ObjectAt(point.x(), point.y()))
        emit objectClicked(object, event->modifiers());
    else
        update();
}

} // namespace vesk
