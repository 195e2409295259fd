#pragma once

#include <memory>
#include <string>

#include <QImage>

class QGuiApplication;
class QPainter;

namespace vesk {

class CTekDialogData;
class CTekResourceData;
class LabelTextCache;
struct DialogLayout;

/// Size of one square of the preview's checkered background.
constexpr int kCheckerSquare = 8;

/// Fills width x height with the checkered background: 16 x 16 tiles of four 8 x 8 squares,
/// grey 128 at top left and bottom right, grey 192 at top right and bottom left.
void PaintCheckerBackground(QPainter& painter, int width, int height);

/// Paints a laid-out dialog in the box style with the painter (in its current transform):
/// nothing without a root group. Labels are prepared through cache when one is given (a window
/// keeps one between paints).
void PaintDialogLayout(QPainter& painter, const DialogLayout& layout, LabelTextCache* cache = nullptr);

/// Paints a dialog window's whole client area of width x height: the checkered background,
/// then the dialog laid out (ComputeLayout) and painted over it (nothing more without a root
/// group). The dialog is left as it is.
void PaintDialogPreview(QPainter& painter, const CTekResourceData& resource, const CTekDialogData& dialog, int width,
                        int height, LabelTextCache* cache = nullptr);

/// The dialog window's client area of width x height in the box look at 100 % as an image
/// (RenderPreviewPicture); a null image when the size
/// is not above 0 or the image cannot be allocated. Needs a QGuiApplication for the fonts.
QImage RenderDialogPreview(const CTekResourceData& resource, const CTekDialogData& dialog, int width, int height);

/// Writes the image as a PNG file, atomically; false with the reason in errorText (when given).
bool SavePreviewPng(const QImage& image, const std::string& path, std::string* errorText = nullptr);

/// A QGuiApplication on the offscreen platform when the process has no application yet (for
/// drawing text without a window); nullptr when one exists already.
std::unique_ptr<QGuiApplication> MakeOffscreenGuiApplication();

} // namespace vesk
