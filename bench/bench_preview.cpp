// The device look of a 2,000-object dialog at 1000 x 800, half of its objects with pictures:
// a paint of the kept layout (what a repaint costs), a zoom step (a new picture at the next
// zoom, as a view makes it) and the decodes of its pictures, once per file whatever the paints.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "benchproject.h"
#include "render/devicepainter.h"
#include "render/previewpainter.h"
#include "render/previewpicture.h"

namespace vesk::bench {
namespace {

constexpr int kObjects = 2000;
constexpr int kPictureFiles = 17; // the files benchproject's objects name
constexpr LayoutArea kArea{1000, 800};

/// The item whose picture the device look draws for an object of the type, or nullptr.
const char* PictureItemOf(int type)
{
    switch (type) {
    case OBJ_TEXT:
        return nullptr;
    case OBJ_PICTURE:
    case OBJ_EDIT:
    case OBJ_CANVAS:
        return "File";
    case OBJ_PROGRESS:
    case OBJ_SLIDEBAR:
    case OBJ_METER:
        return "FileBase";
    default:
        return "FileOff";
    }
}

/// The project folder with the pictures, and a dialog of 40 rows of 50 objects side by side (as
/// the editor benchmarks' 2,000-object dialog, each object 20 x 20 pixels at 1000 x 800), of which
/// every other one that can show a picture names one (half of all objects in the end).
struct PictureDialog {
    PictureDialog()
    {
        QDir(folder.path()).mkpath(QStringLiteral("resources"));
        for (int i = 0; i < kPictureFiles; ++i) {
            QImage picture(64, 48, QImage::Format_ARGB32);
            picture.fill(QColor::fromHsv(i * 20, 200, 220));
            picture.save(folder.filePath(QStringLiteral("resources/button_%1.png").arg(i)));
        }
        dialog = std::make_shared<CTekDialogData>("Large", nullptr);
        dialog->SetItem("TargetLayoutWidth", std::to_string(kArea.width));
        dialog->SetItem("TargetLayoutHeight", std::to_string(kArea.height));
        GroupPtr root = AddGroup(nullptr, LAYOUT_LINEAR, "root");
        root->SetItem("Height", "PARENT");
        int given = 0;
        for (int serial = 0; serial < kObjects;) {
            GroupPtr row = AddGroup(root.get(), LAYOUT_LINEAR, "row" + std::to_string(serial / 50));
            row->SetItem("Vertical", "false");
            row->SetItem("Height", "20");
            for (int i = 0; i < 50; ++i, ++serial) {
                AddObject(*row, serial);
                CObjectData& object = row->ChildAt(i);
                object.SetItem("Width", "20");
                object.SetItem("Height", "PARENT");
                object.SetItem("Weight", "");
                object.SetItem("TSize", "12");
                object.SetItem("File", "");
                const char* item = PictureItemOf(object.ObjectTypeCode());
                if (item && given < (serial + 1) / 2) {
                    object.SetItem(item, "button_" + std::to_string(serial % kPictureFiles) + ".png");
                    object.SetItem("FileSource", "STATION");
                    object.SetItem("ScaleType", "SCALE_JUST");
                    ++given;
                }
            }
        }
        dialog->SetRoot(root);
        pictured = given;
    }

    QTemporaryDir folder;
    CTekResourceData resource;
    std::shared_ptr<CTekDialogData> dialog;
    int pictured = 0;
};

void DevicePaintOf2000Objects(benchmark::State& state)
{
    PictureDialog large;
    DevicePictureCache pictures({{}, large.folder.path().toStdString()});
    const DialogLayout layout = LayOutPreview(large.resource, *large.dialog, PreviewLook::Device, kArea, pictures);
    QImage image(kArea.width, kArea.height, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        PaintPreviewPicture(painter, image.size(), layout, PreviewLook::Device, 100, pictures);
    }
    if (!qEnvironmentVariableIsEmpty("VESK_BENCH_PICTURE"))
        image.save(qEnvironmentVariable("VESK_BENCH_PICTURE"));
    state.counters["objects"] = kObjects;
    state.counters["pictured"] = large.pictured;
    state.counters["files"] = kPictureFiles;
    state.counters["decodes"] = pictures.DecodeCount();
}
BENCHMARK(DevicePaintOf2000Objects)->Unit(benchmark::kMillisecond);

void DeviceLayoutOf2000Objects(benchmark::State& state)
{
    PictureDialog large;
    DevicePictureCache pictures({{}, large.folder.path().toStdString()});
    for (auto _ : state)
        benchmark::DoNotOptimize(LayOutPreview(large.resource, *large.dialog, PreviewLook::Device, kArea, pictures));
    state.counters["decodes"] = pictures.DecodeCount();
}
BENCHMARK(DeviceLayoutOf2000Objects)->Unit(benchmark::kMillisecond);

/// A zoom step as the view takes it: the layout is kept, a picture of the new size is made and
/// painted whole; the steps go 100, 125, 150 and back.
void ZoomStepOf2000Objects(benchmark::State& state)
{
    PictureDialog large;
    DevicePictureCache pictures({{}, large.folder.path().toStdString()});
    const DialogLayout layout = LayOutPreview(large.resource, *large.dialog, PreviewLook::Device, kArea, pictures);
    static constexpr int kZooms[] = {100, 125, 150, 125};
    size_t step = 0;
    for (auto _ : state) {
        const int zoom = kZooms[step++ % std::size(kZooms)];
        QImage picture(PreviewPictureSize(kArea, zoom), QImage::Format_RGB32);
        QPainter painter(&picture);
        PaintPreviewPicture(painter, picture.size(), layout, PreviewLook::Device, zoom, pictures);
    }
    state.counters["decodes"] = pictures.DecodeCount();
}
BENCHMARK(ZoomStepOf2000Objects)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vesk::bench

int main(int argc, char** argv)
{
    const auto application = vesk::MakeOffscreenGuiApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
