#include <QCoreApplication>
#include <QGuiApplication>
#include <filesystem>
#include <ostream>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/previewoptions.h"
#include "render/devicepainter.h"
#include "render/previewpainter.h"
#include "render/previewpicture.h"

namespace vesk::cli {

namespace {

constexpr const char* kRenderUsage =
    "veskres render FILE [--dialog NAME] [--size WxH] [--look box|device] [--zoom PERCENT] -o OUT.png";
// Larger images are refused rather than allocated.
constexpr int kMaxRenderSide = 8192;

} // namespace

int RunRender(const std::vector<std::string>& args, std::ostream& /*out*/, std::ostream& err)
{
    const auto options = ParsePreviewOptions(args, true, kMaxRenderSide, "render", kRenderUsage, err);
    if (!options)
        return kUsageError;
    CTekResourceData project;
    const CTekDialogData* dialog = LoadPreviewDialog(project, *options, "render", err);
    if (!dialog)
        return 1;
    const auto application = MakeOffscreenGuiApplication();
    // BUILTIN pictures come from the assets beside the executable, STATION ones from the
    // resources of the project file's folder.
    const std::filesystem::path projectFolder = std::filesystem::absolute(options->file).parent_path();
    DevicePictureCache pictures(
        {(QCoreApplication::applicationDirPath() + QStringLiteral("/assets")).toStdString(), projectFolder.string()});
    const QImage image = RenderPreviewPicture(
        project, *dialog, {options->look, {options->width, options->height}, options->zoomPercent}, pictures);
    if (image.isNull()) {
        err << "veskres render: cannot make an image of " << options->width << 'x' << options->height << " at "
            << options->zoomPercent << "%\n";
        return 1;
    }
    std::string reason;
    if (!SavePreviewPng(image, *options->output, &reason)) {
        err << "veskres render: cannot write " << reason << '\n';
        return 1;
    }
    return 0;
}

} // namespace vesk::cli
