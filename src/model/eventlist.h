#pragma once

#include <string>

#include "model/tekclass.h"

namespace vesk {

/// The seven event names in their fixed order.
extern const char* const kEventNames[7];

/// The text of all event members of an owner's command list at the given depth; empty when no
/// command has one of the seven event names.
std::string WriteEventList(const TekList& commands, int depth);

} // namespace vesk
