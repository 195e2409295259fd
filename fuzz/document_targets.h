#pragma once

// The entry point of the paste target, shared by the libFuzzer binary and the paste robustness
// test: any bytes pasted into a project as the clipboard's text (from another program, or the
// editor's own record) answers an empty text when every property held, or what broke.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/projectdocument.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "objects/objectdata.h"

namespace vesk::fuzz {

/// The project pasted into: two dialogs with nested groups, a grid with header columns,
/// commands, and a dialog whose top node is an object.
inline constexpr std::string_view kPasteProject =
    "{'Name':'Shop','Commands':[\n"
    "{'Command':'DIALOG','Name':'Main','OnOpen':{'Event':'OnOpen','Command':'SOUND'},'Object':\n"
    "{'Type':'LINEAR','Name':'root','Vertical':'true','Objects':[\n"
    " {'Type':'TEXT','Name':'title','Text':'Menu','OnClick':{'Event':'OnClick','Command':'UPDATE'}},\n"
    " {'Type':'TABLE','Name':'table','Objects':[{'Type':'TABLEROW','Name':'row','Objects':[\n"
    "  {'Type':'BUTTON','Name':'ok','Text':'OK'},{'Type':'CHECKBOX','Name':'check'}]}]},\n"
    " {'Type':'RADIO','Name':'choice','Objects':[{'Type':'RADIOBTN','Name':'one'}]},\n"
    " {'Type':'GRID','Name':'grid','Header':[{'TSize':'9'},{'TColor':'#FF0000'}]}]}},\n"
    "{'Command':'DIALOG','Name':'Bare','Object':{'Type':'TEXT','Name':'alone'}}]}\n";

/// The project's text as the editor writes it.
inline std::string ProjectBytes(const ProjectDocument& document)
{
    CJsonString text;
    WriteResource(document.Resource(), text, "");
    return text.TakeText();
}

/// Every node of the dialog's shown tree, in order: the dialog, its commands, groups, objects,
/// their commands and header columns.
inline void CollectNodes(TekClass& node, std::vector<TekClass*>& nodes)
{
    nodes.push_back(&node);
    if (node.Type() == NodeType::Dialog) {
        auto& dialog = static_cast<CTekDialogData&>(node);
        for (const auto& command : dialog.Commands())
            nodes.push_back(command.get());
        if (CObjectData* root = dialog.RootObject())
            CollectNodes(*root, nodes);
        return;
    }
    if (node.Type() != NodeType::Object && node.Type() != NodeType::Group)
        return;
    auto& object = static_cast<CObjectData&>(node);
    for (const auto& command : object.CommandList())
        nodes.push_back(command.get());
    for (const auto& column : object.HeaderColumns())
        nodes.push_back(column.get());
    if (object.IsGroup())
        for (const ObjectPtr& child : static_cast<CObjectDataList&>(object).Children())
            CollectNodes(*child, nodes);
}

/// Pastes the text at three places and positions picked by the text's bytes, each time into the
/// project as it was: a paste that refuses or takes nothing leaves the bytes and the history; a
/// paste that takes the text writes a project that loads again with its dialogs, and undo and
/// redo bring back the bytes from before and after it.
inline std::string CheckPasteText(std::string_view text)
{
    ProjectDocument document;
    if (!ReadResourceText(document.Resource(), kPasteProject))
        return "the project pasted into does not load";
    document.ProjectLoaded();
    const std::string original = ProjectBytes(document);
    uint32_t hash = 2166136261u;
    for (char c : text)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    const std::string pasted(text);
    for (int round = 0; round < 3; ++round, hash = hash * 2654435761u + 1) {
        // An undo may bring back copies of the nodes: they are looked up anew each time.
        std::vector<TekClass*> nodes;
        for (int i = 0; i < document.Resource().Dialogs().Count(); ++i)
            CollectNodes(document.Resource().Dialogs().At(i), nodes);
        TekClass* selected = nodes[hash % nodes.size()];
        const auto position = static_cast<InsertPosition>((hash >> 16) % 3);
        document.Select(selected);
        const bool couldUndo = document.CanUndo();
        const EditResult result = document.Paste(selected, pasted, position);
        const std::string after = ProjectBytes(document);
        if (!result.done) {
            if (after != original || document.CanUndo() != couldUndo)
                return "a paste that was not made changed the project";
            continue;
        }
        CTekResourceData reread;
        std::string error;
        if (!ReadResourceText(reread, after, &error))
            return "the project after the paste does not load again:\n" + error + "\n" + after;
        int withRoot = 0;
        for (int i = 0; i < document.Resource().Dialogs().Count(); ++i)
            withRoot += document.Resource().Dialogs().At(i).RootObject() ? 1 : 0;
        if (reread.Dialogs().Count() != withRoot)
            return "the project after the paste loads with another number of dialogs:\n" + after;
        if (after != original) {
            if (!document.Undo().done || ProjectBytes(document) != original)
                return "undo of the paste does not bring back the project:\n" + ProjectBytes(document);
            if (!document.Redo().done || ProjectBytes(document) != after)
                return "redo of the paste does not bring back the pasted project:\n" + ProjectBytes(document);
            document.Undo();
        }
    }
    return {};
}

} // namespace vesk::fuzz
