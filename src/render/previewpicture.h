#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include "objects/devicelayout.h"
#include "objects/dialoglayout.h"

class QPainter;

namespace vesk {

class CTekDialogData;
class CTekResourceData;
class DevicePictureCache;
class LabelTextCache;

/// The zoom of a preview, in percent.
constexpr int kMinZoomPercent = 25;
constexpr int kMaxZoomPercent = 800;

/// What a preview picture shows: the look, the area the dialog is laid out in (layout pixels)
/// and the zoom it is drawn at.
struct PreviewFrame {
    PreviewLook look = PreviewLook::Box;
    LayoutArea area;
    int zoomPercent = 100;
};

/// The size in pixels of the picture of an area at a zoom (each side rounded, at least 1).
QSize PreviewPictureSize(LayoutArea area, int zoomPercent);

/// Lays the dialog out in the area as the look shows it: ComputeLayout for boxes,
/// ComputeDeviceLayout (texts in the label font, pictures through the cache) for the device.
DialogLayout LayOutPreview(const CTekResourceData& resource, const CTekDialogData& dialog, PreviewLook look,
                           LayoutArea area, const DevicePictureCache& pictures);

/// Paints a preview picture of the layout: the checkered background at the picture's own pixels,
/// then the layout in its look scaled by the zoom. The painter's transform and clip are the
/// picture's; labels are prepared through the cache when one is given.
void PaintPreviewPicture(QPainter& painter, QSize pictureSize, const DialogLayout& layout, PreviewLook look,
                         int zoomPercent, DevicePictureCache& pictures, LabelTextCache* labels = nullptr);

/// The picture the editor's preview area, `veskres render` and the simulated terminal show of a
/// dialog in a frame (PreviewPictureSize of its area and zoom); a null image when the area is not
/// above 0 or the image cannot be allocated. Needs a QGuiApplication for the fonts.
QImage RenderPreviewPicture(const CTekResourceData& resource, const CTekDialogData& dialog, const PreviewFrame& frame,
                            DevicePictureCache& pictures);

} // namespace vesk
