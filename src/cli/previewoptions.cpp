#include "cli/previewoptions.h"

#include <ostream>

#include "cli/cliargs.h"
#include "cli/projectfile.h"
#include "render/previewpicture.h"
#include "textconv/textconv.h"

namespace vesk::cli {

std::optional<PreviewOptions> ParsePreviewOptions(const std::vector<std::string>& args, bool takesOutput, int maxSide,
                                                  const char* command, const char* usage, std::ostream& err)
{
    std::vector<std::string> valueOptions = {"--dialog", "--size"};
    if (takesOutput)
        valueOptions.insert(valueOptions.end(), {"-o", "--output", "--look", "--zoom"});
    ArgParser parser(args, valueOptions, {});
    auto usageError = [&](const std::string& message) {
        err << "veskres " << command << ": " << message << "\nusage: " << usage << '\n';
        return std::nullopt;
    };
    if (!parser.Ok())
        return usageError(parser.Error());
    if (parser.Positionals().empty())
        return usageError("no file given");
    if (parser.Positionals().size() > 1)
        return usageError("give one file");
    PreviewOptions options;
    options.file = parser.Positionals()[0];
    options.dialogName = parser.Value("--dialog");
    if (const auto size = parser.Value("--size")) {
        if (!ParseSize(*size, options.width, options.height))
            return usageError("--size wants WxH with positive whole numbers, not '" + *size + "'");
        if (options.width > maxSide || options.height > maxSide)
            return usageError("--size is limited to " + std::to_string(maxSide) + " pixels a side");
    }
    if (takesOutput) {
        options.output = parser.Value("-o");
        if (!options.output)
            options.output = parser.Value("--output");
        if (!options.output || options.output->empty())
            return usageError("no output file given (-o OUT.png)");
        if (const auto look = parser.Value("--look")) {
            if (*look == "device")
                options.look = PreviewLook::Device;
            else if (*look != "box")
                return usageError("--look wants box or device, not '" + *look + "'");
        }
        if (const auto zoom = parser.Value("--zoom")) {
            long percent = 0;
            if (!ParseNumber(*zoom, kMinZoomPercent, kMaxZoomPercent, percent))
                return usageError("--zoom wants a whole percent from " + std::to_string(kMinZoomPercent) + " to " +
                                  std::to_string(kMaxZoomPercent) + ", not '" + *zoom + "'");
            options.zoomPercent = static_cast<int>(percent);
        }
        const QSize picture = PreviewPictureSize({options.width, options.height}, options.zoomPercent);
        if (picture.width() > maxSide || picture.height() > maxSide)
            return usageError("the picture at " + std::to_string(options.zoomPercent) + "% would be " +
                              std::to_string(picture.width()) + 'x' + std::to_string(picture.height()) +
                              "; it is limited to " + std::to_string(maxSide) + " pixels a side");
    }
    return options;
}

const CTekDialogData* LoadPreviewDialog(CTekResourceData& project, const PreviewOptions& options, const char* command,
                                        std::ostream& err)
{
    if (!LoadProjectFile(project, options.file, err))
        return nullptr;
    const CTekDialogDataList& dialogs = project.Dialogs();
    if (!options.dialogName) {
        if (dialogs.Count() == 0) {
            err << "veskres " << command << ": " << options.file << " holds no dialog\n";
            return nullptr;
        }
        return &dialogs.At(0);
    }
    // Names are held as Shift_JIS; the terminal gives UTF-8.
    if (const CTekDialogData* dialog = dialogs.FindDialog(ToShiftJis(*options.dialogName)))
        return dialog;
    err << "veskres " << command << ": " << options.file << " has no dialog named '" << *options.dialogName << "'";
    if (dialogs.Count() > 0) {
        err << " (dialogs:";
        for (int i = 0; i < dialogs.Count(); ++i)
            err << ' ' << ForTerminal(dialogs.At(i).GetItem("Name"));
        err << ')';
    }
    err << '\n';
    return nullptr;
}

} // namespace vesk::cli
