// The one picture of a dialog that every preview shows: the editor's windows, veskres render and
// the simulated terminal.
#include "render/previewpicture.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "objects/resourcedata.h"
#include "render/devicepainter.h"
#include "render/previewpainter.h"

namespace vesk {

QSize PreviewPictureSize(LayoutArea area, int zoomPercent)
{
    const auto side = [zoomPercent](int length) {
        return std::max(1, static_cast<int>(std::lround(double(length) * zoomPercent / 100.0)));
    };
    return {side(area.width), side(area.height)};
}

DialogLayout LayOutPreview(const CTekResourceData& resource, const CTekDialogData& dialog, PreviewLook look,
                           LayoutArea area, const DevicePictureCache& pictures)
{
    if (look == PreviewLook::Box)
        return ComputeLayout(dialog, DeviceSizeOf(resource), area);
    const FontTextMeasurer text;
    return ComputeDeviceLayout(dialog, DeviceSizeOf(resource), area, {&text, &pictures});
}

void PaintPreviewPicture(QPainter& painter, QSize pictureSize, const DialogLayout& layout, PreviewLook look,
                         int zoomPercent, DevicePictureCache& pictures, LabelTextCache* labels)
{
    PaintCheckerBackground(painter, pictureSize.width(), pictureSize.height());
    painter.save();
    if (zoomPercent != 100) {
        const double scale = zoomPercent / 100.0;
        painter.scale(scale, scale);
    }
    if (look == PreviewLook::Device)
        PaintDeviceLayout(painter, layout, pictures);
    else
        PaintDialogLayout(painter, layout, labels);
    painter.restore();
}

QImage RenderPreviewPicture(const CTekResourceData& resource, const CTekDialogData& dialog, const PreviewFrame& frame,
                            DevicePictureCache& pictures)
{
    if (frame.area.width <= 0 || frame.area.height <= 0)
        return {};
    const QSize size = PreviewPictureSize(frame.area, frame.zoomPercent);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    QPainter painter(&image);
    PaintPreviewPicture(painter, size, LayOutPreview(resource, dialog, frame.look, frame.area, pictures), frame.look,
                        frame.zoomPercent, pictures);
    painter.end();
    return image;
}

} // namespace vesk
