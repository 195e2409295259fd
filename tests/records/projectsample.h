#pragma once

// A small project with something of every kind (project items, dialog items and commands, nested
// groups, a FRAME group of unnamed objects, a GRID with header columns, object commands, three
// dialogs) and the edits the diff and merge tests make to it, each as the editor would.

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "objects/itemsets.h"
#include "../model/testsupport.h"

namespace vesk::test {

inline const char* const kSampleProject = R"({'Name':'Shop','DeviceWidth':480,'DeviceHeight':800,'Commands':[
{'Command':'DIALOG','Name':'Main','TemplateType':'None',
 'OnOpen':{'Event':'OnOpen','Command':'SOUND','File':'open.wav'},
 'Object':{'Name':'root','Type':'GROUP','Layout':'LINEAR','Objects':[
   {'Name':'title','Type':'TEXT','Text':'メニュー'},
   {'Name':'bar','Type':'GROUP','Layout':'LINEAR','Objects':[
     {'Name':'ok','Type':'BUTTON','Text':'押す','OnClick':{'Event':'OnClick','Command':'OPEN','File':'Order'}},
     {'Name':'cancel','Type':'BUTTON','Text':'戻る'}]},
   {'Name':'list','Type':'GRID','Header':[{'TSize':'12'},{'TSize':'14'}]},
   {'Name':'box','Type':'GROUP','Layout':'FRAME','Objects':[{'Type':'TEXT','Text':'a'},{'Type':'TEXT','Text':'b'}]}]}},
{'Command':'DIALOG','Name':'Settings','Object':{'Name':'root','Type':'GROUP','Layout':'LINEAR','Objects':[
   {'Name':'volume','Type':'SLIDEBAR','Max':'10'}]}},
{'Command':'DIALOG','Name':'About','Object':{'Name':'root','Type':'GROUP','Layout':'LINEAR','Objects':[]}}
]})";

/// A change made to a project, as the editor would make it.
using Edit = std::function<void(CTekResourceData&)>;

/// The sample project, or any text, loaded.
inline void LoadText(CTekResourceData& project, std::string_view text = kSampleProject)
{
    std::string error;
    if (!ReadResourceText(project, text, &error))
        throw std::runtime_error("the sample does not read: " + error);
}

/// The project's file text as the writer writes it after a load of its own text: what a save
/// and a load make of the project.
inline std::string Canonical(const CTekResourceData& project)
{
    CJsonString first;
    WriteResource(project, first, "");
    CTekResourceData loaded;
    LoadText(loaded, first.Text());
    CJsonString second;
    WriteResource(loaded, second, "");
    return second.TakeText();
}

inline CTekDialogData& DialogNamed(CTekResourceData& project, std::string_view name)
{
    CTekDialogData* dialog = project.Dialogs().FindDialog(name);
    if (!dialog)
        throw std::runtime_error("no dialog " + std::string(name));
    return *dialog;
}

inline CObjectData* FindNode(CObjectData& node, std::string_view name)
{
    if (node.GetItem("Name") == name)
        return &node;
    if (node.IsGroup())
        for (const ObjectPtr& child : static_cast<CObjectDataList&>(node).Children())
            if (CObjectData* found = FindNode(*child, name))
                return found;
    return nullptr;
}

/// The node of that name in the dialog ("Main" when not given as "Dialog:name").
inline CObjectData& NodeNamed(CTekResourceData& project, std::string_view where)
{
    const size_t colon = where.find(':');
    const std::string_view dialog = colon == std::string_view::npos ? "Main" : where.substr(0, colon);
    const std::string_view name = colon == std::string_view::npos ? where : where.substr(colon + 1);
    CObjectData* found = FindNode(*DialogNamed(project, dialog).RootObject(), name);
    if (!found)
        throw std::runtime_error("no node " + std::string(where));
    return *found;
}

inline CObjectDataList& GroupNamed(CTekResourceData& project, std::string_view where)
{
    return static_cast<CObjectDataList&>(NodeNamed(project, where));
}

/// Sets an item of the project, a dialog ("@Main") or a node; the value is UTF-8.
inline Edit SetItem(std::string where, std::string item, std::string value)
{
    return [=](CTekResourceData& project) {
        TekClass& node = where.empty()            ? static_cast<TekClass&>(project)
                         : where.starts_with('@') ? static_cast<TekClass&>(DialogNamed(project, where.substr(1)))
                                                  : static_cast<TekClass&>(NodeNamed(project, where));
        node.SetOrAddItem(item, Sjis(value));
    };
}

/// Sets an item of the child at that place of a group (for unnamed nodes).
inline Edit SetChildItem(std::string group, int index, std::string item, std::string value)
{
    return [=](CTekResourceData& project) { GroupNamed(project, group).ChildAt(index).SetItem(item, Sjis(value)); };
}

/// Adds an object (or a group, for a layout code given as a negative number - 1) to a group.
inline Edit AddNode(std::string group, int index, int typeCode, std::string name, std::string text = {})
{
    return [=](CTekResourceData& project) {
        CObjectDataList& parent = GroupNamed(project, group);
        ObjectPtr node;
        if (typeCode < 0) {
            auto made = std::make_shared<CObjectDataList>(&parent);
            BuildGroupItems(*made, -typeCode - 1);
            node = made;
        } else {
            node = std::make_shared<CObjectData>(&parent);
            BuildObjectItems(*node, typeCode);
        }
        node->SetItem("Name", name);
        if (!text.empty())
            node->SetItem("Text", Sjis(text));
        const CObjectData* anchor = index < parent.ChildCount() ? &parent.ChildAt(index) : nullptr;
        if (anchor)
            parent.InsertChild(node, anchor, 1);
        else
            parent.AppendChild(node);
    };
}

inline Edit RemoveNode(std::string where)
{
    return [=](CTekResourceData& project) {
        CObjectData& node = NodeNamed(project, where);
        node.ParentGroup()->RemoveChild(&node);
    };
}

/// Moves a node into a group, at that place among the group's children after the move.
inline Edit MoveNode(std::string where, std::string group, int index)
{
    return [=](CTekResourceData& project) {
        CObjectData& node = NodeNamed(project, where);
        ObjectPtr held = std::static_pointer_cast<CObjectData>(node.shared_from_this());
        node.ParentGroup()->RemoveChild(&node);
        CObjectDataList& target = GroupNamed(project, group);
        if (index < target.ChildCount())
            target.InsertChild(held, &target.ChildAt(index), 1);
        else
            target.AppendChild(held);
        held->SetParentGroup(&target);
    };
}

/// Gives an object the item set of another type, keeping the values of the items both have.
inline Edit ChangeType(std::string where, int typeCode)
{
    return [=](CTekResourceData& project) {
        CObjectData& node = NodeNamed(project, where);
        RebuildObjectItems(node, typeCode);
        node.SetItem("Type", kObjectTypeNames[typeCode]);
    };
}

/// Adds a command to a node (or to a dialog, "@Main").
inline Edit AddCommand(std::string where, std::string command, std::string event, std::string name = {})
{
    return [=](CTekResourceData& project) {
        TekClass& owner = where.starts_with('@') ? static_cast<TekClass&>(DialogNamed(project, where.substr(1)))
                                                 : static_cast<TekClass&>(NodeNamed(project, where));
        TekPtr node = MakeCommand(owner, command, event);
        node->SetItem("Name", name);
    };
}

/// The commands of a node (or of a dialog, "@Main").
inline TekList& CommandsOf(CTekResourceData& project, const std::string& where)
{
    return where.starts_with('@') ? DialogNamed(project, where.substr(1)).Commands()
                                  : NodeNamed(project, where).CommandList();
}

inline Edit SetCommandItem(std::string where, int index, std::string item, std::string value)
{
    return [=](CTekResourceData& project) { CommandsOf(project, where).at(size_t(index))->SetItem(item, value); };
}

inline Edit RemoveCommand(std::string where, int index)
{
    return [=](CTekResourceData& project) {
        TekList& commands = CommandsOf(project, where);
        commands.erase(commands.begin() + index);
    };
}

inline Edit SetHeaderItem(std::string grid, int index, std::string item, std::string value)
{
    return [=](CTekResourceData& project) {
        NodeNamed(project, grid).HeaderColumns().at(size_t(index))->SetItem(item, value);
    };
}

inline Edit AddHeader(std::string grid, std::string size)
{
    return [=](CTekResourceData& project) {
        CObjectData& node = NodeNamed(project, grid);
        MakeHeaderColumn(node)->SetItem("TSize", size);
        node.SetItem("Columns", std::to_string(node.HeaderColumns().size()));
    };
}

inline Edit AddDialog(std::string name)
{
    return [=](CTekResourceData& project) {
        CTekDialogData& dialog = project.Dialogs().AddDialog(name);
        dialog.SetRoot(MakeGroup(nullptr, LAYOUT_LINEAR, "root"));
    };
}

inline Edit RemoveDialog(std::string name)
{
    return [=](CTekResourceData& project) {
        project.Dialogs().RemoveAt(project.Dialogs().IndexOf(&DialogNamed(project, name)));
    };
}

/// Moves a dialog to that place in the list.
inline Edit MoveDialog(std::string name, int index)
{
    return [=](CTekResourceData& project) {
        CTekDialogDataList& dialogs = project.Dialogs();
        DialogPtr dialog = dialogs.RemoveAt(dialogs.IndexOf(&DialogNamed(project, name)));
        std::vector<DialogPtr> rest;
        while (dialogs.Count() > 0)
            rest.insert(rest.begin(), dialogs.RemoveAt(dialogs.Count() - 1));
        rest.insert(rest.begin() + index, dialog);
        for (DialogPtr& each : rest)
            dialogs.Append(each);
    };
}

/// Several edits, one after the other.
inline Edit Edits(std::vector<Edit> edits)
{
    return [=](CTekResourceData& project) {
        for (const Edit& edit : edits)
            edit(project);
    };
}

} // namespace vesk::test
