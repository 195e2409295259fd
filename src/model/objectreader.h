#pragma once

#include "objects/objectdata.h"

namespace vesk {

class JsonParser;

/// Reads the group or object record under the parser's cursor (a group when it has an
/// 'Objects' array or an 'Object' member) with its events, children and header columns.
/// With a parent the node is also appended to it. Answers the new node.
ObjectPtr ReadObjectRecord(CObjectDataList* parent, JsonParser& parser);

}  // namespace vesk
