#include <ostream>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/previewoptions.h"
#include "cli/projectfile.h"
#include "objects/layout.h"
#include "objects/objectdata.h"

namespace vesk::cli {

namespace {

constexpr const char* kLayoutUsage = "veskres layout FILE [--dialog NAME] [--size WxH]";

/// One line per object, in tree order: type, name and layout rectangle.
void PrintRectangles(const CObjectData& node, std::ostream& out)
{
    if (node.IsGroup()) {
        for (const ObjectPtr& child : static_cast<const CObjectDataList&>(node).Children())
            PrintRectangles(*child, out);
        return;
    }
    const LayoutRect& rect = node.GetLayoutRect();
    out << ForTerminal(node.GetItem("Type")) << '\t' << ForTerminal(node.GetItem("Name")) << '\t' << rect.left << '\t'
        << rect.top << '\t' << rect.right << '\t' << rect.bottom << '\n';
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
    NullSurface surface;
    LayOutDialog(*dialog, DeviceSizeOf(project), surface, options->width, options->height);
    if (const CObjectDataList* root = dialog->RootGroup())
        PrintRectangles(*root, out);
    out.flush();
    return out ? 0 : 1;
}

} // namespace vesk::cli
