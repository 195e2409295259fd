#pragma once

#include <memory>
#include <string>

#include "model/eventlist.h"
#include "model/jsontape.h"
#include "model/tekclass.h"

namespace vesk {

class JsonParser;
class RecordSlots;

/// Reads the command object under the parser's cursor into a new command node attached to
/// the owner; nothing is created when the object has no 'Command'.
void ReadEventCommand(TekClass& owner, JsonParser& parser);

/// Reads an event member under the cursor: each element of its 'Commands' array, or the
/// member itself as one command object.
void ReadEventMember(TekClass& owner, JsonParser& parser);

/// For each event name in order, reads the cursor's event member of that name (when it is an
/// object) into the owner, putting the cursor back afterwards.
void ReadEventMembers(TekClass& owner, JsonParser& parser);

/// The same three for records of a tape; the values read are kept in the store.
void ReadEventCommand(TekClass& owner, const JsonTape& tape, const JsonTape::Node& command,
                      const std::shared_ptr<ItemValueStore>& store);
void ReadEventMember(TekClass& owner, const JsonTape& tape, const JsonTape::Node& member,
                     const std::shared_ptr<ItemValueStore>& store);
/// Reads the event members among a record's members (each when it is an object).
void ReadEventMembers(TekClass& owner, const JsonTape& tape, const RecordSlots& record,
                      const std::shared_ptr<ItemValueStore>& store);

} // namespace vesk
