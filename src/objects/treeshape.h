#pragma once

#include <string>

namespace vesk {

class CTekDialogData;
class CTekResourceData;
class TekClass;

// The shape of the resource tree as the editor shows it, answered from the nodes themselves:
// the resource holds its dialogs; a dialog its command nodes, then its root node; an object its
// header column nodes, then its command nodes; a group its command nodes, then its children.

/// The number of nodes shown under the node.
int TreeChildCount(const TekClass& node);
/// The node shown at that row under the node, or nullptr for a row out of range.
TekClass* TreeChildAt(const TekClass& node, int row);
/// The row of child under parent, or -1 when it is not shown there.
int TreeRowOf(const TekClass& parent, const TekClass* child);
/// The node under which the node is shown, or nullptr (for the resource, and for a node that is
/// not in the resource's tree). Found from the node for dialogs, objects and groups; header
/// column and command nodes are looked for through the tree.
TekClass* TreeParentOf(const CTekResourceData& resource, const TekClass& node);
/// True when the node is shown in the resource's tree.
bool IsInTree(const CTekResourceData& resource, const TekClass& node);
/// The dialog whose tree holds the node (a dialog answers itself), or nullptr.
CTekDialogData* DialogOfNode(const CTekResourceData& resource, const TekClass& node);
/// The text shown for the node in the tree; parent is the node it is shown under (header
/// columns are numbered by their place).
std::string TreeLabelOf(const TekClass& node, const TekClass* parent);

} // namespace vesk
