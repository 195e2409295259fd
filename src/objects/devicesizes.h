#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "objects/dialoglayout.h"

namespace vesk {

/// The device sizes offered wherever a size is chosen (the preview's size box, the sizes the
/// problems list checks): common terminal screens upright, each followed by the same screen
/// turned sideways.
const std::vector<LayoutArea>& DeviceSizePresets();

/// "WxH" (for example "480x800"): two whole numbers above 0 and at most 100000 joined by 'x'
/// or 'X'; nullopt for anything else.
std::optional<LayoutArea> ParseDeviceSizeText(std::string_view text);

/// The size as "WxH".
std::string DeviceSizeText(LayoutArea size);

/// A comma-separated list of sizes ("240x320,480x800"); unreadable entries and repeats are
/// left out, the order is kept.
std::vector<LayoutArea> ParseDeviceSizeList(std::string_view text);
std::string DeviceSizeListText(const std::vector<LayoutArea>& sizes);

} // namespace vesk
