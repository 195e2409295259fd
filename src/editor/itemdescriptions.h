#pragma once

#include <string_view>

#include <QString>

namespace vesk {

class TekClass;

/// The description of a node's item as the property grid shows it when the item is hovered, in
/// the editor's language; empty for an item without one. Descriptions belong to the window, not
/// to the project: they are looked up by the kind of node (an object of a type, a group, a
/// header column, a command of a name, a dialog) and the item's name.
QString ItemDescription(const TekClass& node, std::string_view itemName);

} // namespace vesk
