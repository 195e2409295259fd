#pragma once

#include <memory>

#include "model/jsontape.h"
#include "objects/objectdata.h"

namespace vesk {

class JsonParser;
class ItemValueStore;

/// Reads the group or object record under the parser's cursor (a group when it has an
/// 'Objects' array or an 'Object' member) with its events, children and header columns.
/// With a parent the node is also appended to it. Answers the new node.
ObjectPtr ReadObjectRecord(CObjectDataList* parent, JsonParser& parser);

/// The same for a record of a tape; the values read are kept in the store (none: by each item).
ObjectPtr ReadObjectRecord(CObjectDataList* parent, const JsonTape& tape, const JsonTape::Node& record,
                           const std::shared_ptr<ItemValueStore>& store);

} // namespace vesk
