#include "objects/treeshape.h"

#include "objects/resourcedata.h"
#include "objects/objectdata.h"

namespace vesk {

namespace {

bool IsObjectOrGroup(const TekClass& node)
{
    return node.Type() == NodeType::Object || node.Type() == NodeType::Group;
}

int Count(const TekList& list)
{
    return static_cast<int>(list.size());
}

int IndexIn(const TekList& list, const TekClass* node)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == node)
            return static_cast<int>(i);
    return -1;
}

/// The owner of a header column or command node among the nodes at and below node.
TekClass* OwnerBelow(const TekClass& node, const TekClass& wanted)
{
    if (node.Type() == NodeType::Dialog) {
        const auto& dialog = static_cast<const CTekDialogData&>(node);
        if (IndexIn(dialog.Commands(), &wanted) >= 0)
            return const_cast<CTekDialogData*>(&dialog);
        return dialog.RootObject() ? OwnerBelow(*dialog.RootObject(), wanted) : nullptr;
    }
    if (!IsObjectOrGroup(node))
        return nullptr;
    const auto& object = static_cast<const CObjectData&>(node);
    if (IndexIn(object.CommandList(), &wanted) >= 0 || IndexIn(object.HeaderColumns(), &wanted) >= 0)
        return const_cast<CObjectData*>(&object);
    if (object.IsGroup())
        for (const ObjectPtr& child : static_cast<const CObjectDataList&>(object).Children())
            if (TekClass* owner = OwnerBelow(*child, wanted))
                return owner;
    return nullptr;
}

} // namespace

int TreeChildCount(const TekClass& node)
{
    switch (node.Type()) {
    case NodeType::Resource:
        return static_cast<const CTekResourceData&>(node).Dialogs().Count();
    case NodeType::Dialog: {
        const auto& dialog = static_cast<const CTekDialogData&>(node);
        return Count(dialog.Commands()) + (dialog.RootObject() ? 1 : 0);
    }
    case NodeType::Object: {
        const auto& object = static_cast<const CObjectData&>(node);
        return Count(object.HeaderColumns()) + Count(object.CommandList());
    }
    case NodeType::Group: {
        const auto& group = static_cast<const CObjectDataList&>(node);
        return Count(group.CommandList()) + group.ChildCount();
    }
    default:
        return 0;
    }
}

TekClass* TreeChildAt(const TekClass& node, int row)
{
    if (row < 0)
        return nullptr;
    switch (node.Type()) {
    case NodeType::Resource: {
        const auto& dialogs = static_cast<const CTekResourceData&>(node).Dialogs();
        return row < dialogs.Count() ? &dialogs.At(row) : nullptr;
    }
    case NodeType::Dialog: {
        const auto& dialog = static_cast<const CTekDialogData&>(node);
        if (row < Count(dialog.Commands()))
            return dialog.Commands()[static_cast<size_t>(row)].get();
        return row == Count(dialog.Commands()) ? dialog.RootObject() : nullptr;
    }
    case NodeType::Object: {
        const auto& object = static_cast<const CObjectData&>(node);
        const int headers = Count(object.HeaderColumns());
        if (row < headers)
            return object.HeaderColumns()[static_cast<size_t>(row)].get();
        row -= headers;
        return row < Count(object.CommandList()) ? object.CommandList()[static_cast<size_t>(row)].get() : nullptr;
    }
    case NodeType::Group: {
        const auto& group = static_cast<const CObjectDataList&>(node);
        const int commands = Count(group.CommandList());
        if (row < commands)
            return group.CommandList()[static_cast<size_t>(row)].get();
        row -= commands;
        return row < group.ChildCount() ? &group.ChildAt(row) : nullptr;
    }
    default:
        return nullptr;
    }
}

int TreeRowOf(const TekClass& parent, const TekClass* child)
{
    if (!child)
        return -1;
    switch (parent.Type()) {
    case NodeType::Resource:
        return child->Type() == NodeType::Dialog ? static_cast<const CTekResourceData&>(parent).Dialogs().IndexOf(
                                                       static_cast<const CTekDialogData*>(child))
                                                 : -1;
    case NodeType::Dialog: {
        const auto& dialog = static_cast<const CTekDialogData&>(parent);
        if (const int index = IndexIn(dialog.Commands(), child); index >= 0)
            return index;
        return dialog.RootObject() == child ? Count(dialog.Commands()) : -1;
    }
    case NodeType::Object: {
        const auto& object = static_cast<const CObjectData&>(parent);
        if (const int index = IndexIn(object.HeaderColumns(), child); index >= 0)
            return index;
        const int index = IndexIn(object.CommandList(), child);
        return index >= 0 ? Count(object.HeaderColumns()) + index : -1;
    }
    case NodeType::Group: {
        const auto& group = static_cast<const CObjectDataList&>(parent);
        if (const int index = IndexIn(group.CommandList(), child); index >= 0)
            return index;
        if (!IsObjectOrGroup(*child))
            return -1;
        const int index = group.IndexOfChild(static_cast<const CObjectData*>(child));
        return index >= 0 ? Count(group.CommandList()) + index : -1;
    }
    default:
        return -1;
    }
}

TekClass* TreeParentOf(const CTekResourceData& resource, const TekClass& node)
{
    switch (node.Type()) {
    case NodeType::Resource:
    case NodeType::DialogList:
        return nullptr;
    case NodeType::Dialog:
        return resource.Dialogs().IndexOf(static_cast<const CTekDialogData*>(&node)) >= 0
                   ? const_cast<CTekResourceData*>(&resource)
                   : nullptr;
    case NodeType::Object:
    case NodeType::Group: {
        const auto& object = static_cast<const CObjectData&>(node);
        if (CObjectDataList* parent = object.ParentGroup())
            return parent->IndexOfChild(&object) >= 0 ? parent : nullptr;
        const CTekDialogDataList& dialogs = resource.Dialogs();
        for (int i = 0; i < dialogs.Count(); ++i)
            if (dialogs.At(i).RootObject() == &object)
                return &dialogs.At(i);
        return nullptr;
    }
    default: {
        const CTekDialogDataList& dialogs = resource.Dialogs();
        for (int i = 0; i < dialogs.Count(); ++i)
            if (TekClass* owner = OwnerBelow(dialogs.At(i), node))
                return owner;
        return nullptr;
    }
    }
}

bool IsInTree(const CTekResourceData& resource, const TekClass& node)
{
    const TekClass* at = &node;
    while (at && at != &resource)
        at = TreeParentOf(resource, *at);
    return at == &resource;
}

CTekDialogData* DialogOfNode(const CTekResourceData& resource, const TekClass& node)
{
    const TekClass* at = &node;
    while (at && at->Type() != NodeType::Dialog)
        at = TreeParentOf(resource, *at);
    if (!at || !IsInTree(resource, *at))
        return nullptr;
    return const_cast<CTekDialogData*>(static_cast<const CTekDialogData*>(at));
}

std::string TreeLabelOf(const TekClass& node, const TekClass* parent)
{
    switch (node.Type()) {
    case NodeType::Resource:
        return "Root = " + node.GetItem("Name");
    case NodeType::Command:
        return "Command:" + node.GetItem("Command");
    case NodeType::HeaderColumn:
        return "Header:Cullum" + std::to_string(parent ? TreeRowOf(*parent, &node) + 1 : 1);
    default:
        return node.GetLabel();
    }
}

} // namespace vesk
