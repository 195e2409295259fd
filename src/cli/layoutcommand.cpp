#include <ostream>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/previewoptions.h"
#include "cli/projectfile.h"
#include "objects/dialoglayout.h"

namespace vesk::cli {

namespace {

constexpr const char* kLayoutUsage = "veskres layout FILE [--dialog NAME] [--size WxH]";

/// One line per object, in tree order: type, name and layout rectangle.
void PrintRectangles(const DialogLayout& layout, std::ostream& out)
{
    for (const LaidOutNode& entry : layout.nodes) {
        if (entry.IsGroup())
            continue;
        const LayoutRect rect = entry.Rect();
        out << ForTerminal(entry.node->GetItem("Type")) << '\t' << ForTerminal(entry.node->GetItem("Name")) << '\t'
            << rect.left << '\t' << rect.top << '\t' << rect.right << '\t' << rect.bottom << '\n';
    }
}

} // namespace

int RunLayout(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const auto options = ParsePreviewOptions(args, false, 100000, "layout", kLayoutUsage, err);
    if (!options)
        return kUsageError;
    CTekResourceData project;
    const CTekDialogData* dialog = LoadPreviewDialog(project, *options, "layout", err);
    if (!dialog)
        return 1;
    PrintRectangles(ComputeLayout(*dialog, DeviceSizeOf(project), {options->width, options->height}), out);
    out.flush();
    return out ? 0 : 1;
}

} // namespace vesk::cli
