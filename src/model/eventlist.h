#pragma once

#include <string>

#include "model/tekclass.h"

namespace vesk {

class JsonParser;

/// The seven event names in their fixed order.
extern const char* const kEventNames[7];

/// The text of all event members of an owner's command list at the given depth; empty when no
/// command has one of the seven event names.
std::string WriteEventList(const TekList& commands, int depth);

/// Reads the command object under the parser's cursor into a new command node attached to
/// the owner; nothing is created when the object has no 'Command'.
void ReadEventCommand(TekClass& owner, JsonParser& parser);

/// Reads an event member under the cursor: each element of its 'Commands' array, or the
/// member itself as one command object.
void ReadEventMember(TekClass& owner, JsonParser& parser);

/// For each event name in order, reads the cursor's event member of that name (when it is an
/// object) into the owner, putting the cursor back afterwards.
void ReadEventMembers(TekClass& owner, JsonParser& parser);

}  // namespace vesk
