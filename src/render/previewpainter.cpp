#include "render/previewpainter.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>

#include "objects/resourcedata.h"
#include "objects/dialoglayout.h"
#include "objects/previewstyle.h"
#include "render/devicepainter.h"
#include "render/paintersurface.h"
#include "render/previewpicture.h"

namespace vesk {

namespace {

QImage CheckerTile()
{
    QImage tile(2 * kCheckerSquare, 2 * kCheckerSquare, QImage::Format_RGB32);
    const QColor dark(128, 128, 128);
    const QColor light(192, 192, 192);
    QPainter painter(&tile);
    painter.fillRect(0, 0, kCheckerSquare, kCheckerSquare, dark);
    painter.fillRect(kCheckerSquare, 0, kCheckerSquare, kCheckerSquare, light);
    painter.fillRect(0, kCheckerSquare, kCheckerSquare, kCheckerSquare, light);
    painter.fillRect(kCheckerSquare, kCheckerSquare, kCheckerSquare, kCheckerSquare, dark);
    return tile;
}

} // namespace

void PaintCheckerBackground(QPainter& painter, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    painter.save();
    painter.setBrushOrigin(0, 0);
    painter.fillRect(QRect(0, 0, width, height), QBrush(CheckerTile()));
    painter.restore();
}

void PaintDialogLayout(QPainter& painter, const DialogLayout& layout, LabelTextCache* cache)
{
    PainterSurface surface(painter, cache);
    BoxPreviewStyle().Paint(layout, surface);
}

void PaintDialogPreview(QPainter& painter, const CTekResourceData& resource, const CTekDialogData& dialog, int width,
                        int height, LabelTextCache* cache)
{
    PaintCheckerBackground(painter, width, height);
    PaintDialogLayout(painter, ComputeLayout(dialog, DeviceSizeOf(resource), {width, height}), cache);
}

QImage RenderDialogPreview(const CTekResourceData& resource, const CTekDialogData& dialog, int width, int height)
{
    DevicePictureCache noPictures({});
    return RenderPreviewPicture(resource, dialog, {PreviewLook::Box, {width, height}, 100}, noPictures);
}

bool SavePreviewPng(const QImage& image, const std::string& path, std::string* errorText)
{
    auto fail = [&](const QString& reason) {
        if (errorText)
            *errorText = path + ": " + reason.toStdString();
        return false;
    };
    if (image.isNull())
        return fail(QStringLiteral("no image to write"));
    QSaveFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (!image.save(&file, "PNG"))
        return fail(file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("cannot encode PNG"));
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

std::unique_ptr<QGuiApplication> MakeOffscreenGuiApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    // Without a runtime folder Qt warns on every start; command-line runs often have none.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray folder = QByteArray("/tmp/runtime-") + QByteArray::number(::getuid());
        if (::mkdir(folder.constData(), 0700) == 0 || errno == EEXIST)
            qputenv("XDG_RUNTIME_DIR", folder);
    }
    // The arguments must outlive the application.
    static int argc = 3;
    static char name[] = "veskres";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace vesk
