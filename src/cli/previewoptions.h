#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "objects/devicelayout.h"
#include "objects/resourcedata.h"

namespace vesk::cli {

/// What `layout` and `render` are asked for: FILE [--dialog NAME] [--size WxH] [-o OUT]
/// (render also [--look box|device] [--zoom PERCENT]).
struct PreviewOptions {
    std::string file;
    std::optional<std::string> dialogName; ///< as typed (UTF-8)
    int width = 480;
    int height = 800;
    std::optional<std::string> output;
    PreviewLook look = PreviewLook::Box;
    int zoomPercent = 100;
};

/// Parses the arguments of a preview subcommand; on a usage error writes the message and the
/// usage line to err and answers nothing. Sizes, and the picture at the zoom, are limited to
/// maxSide on either side. An
/// output file and a look are taken by the subcommands that write images.
std::optional<PreviewOptions> ParsePreviewOptions(const std::vector<std::string>& args, bool takesOutput, int maxSide,
                                                  const char* command, const char* usage, std::ostream& err);

/// Loads the file into the project and answers the dialog asked for (the first one without a
/// name); on failure writes a message to err and answers nullptr.
const CTekDialogData* LoadPreviewDialog(CTekResourceData& project, const PreviewOptions& options, const char* command,
                                        std::ostream& err);

} // namespace vesk::cli
