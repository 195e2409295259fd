#pragma once

// The generated project of the model benchmarks: kDialogs dialogs of about kNodesPerDialog groups
// and objects each, with display texts, commands and nested layouts, as the editor writes it.

#include <memory>
#include <string>
#include <vector>

#include "model/orbstream.h"
#include "objects/resourcedata.h"
#include "records/resourcefile.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "textconv/textconv.h"

namespace vesk::bench {

constexpr int kDialogs = 200;
constexpr int kNodesPerDialog = 250;

/// Display texts as the model holds them (Shift_JIS); they are written as UTF-8.
inline const std::vector<std::string>& DisplayTexts()
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> converted;
        for (const char* utf8 : {"注文", "在庫照会", "メインメニュー", "効果音", "ライト点灯", "送信中…",
                                 "バージョン情報 ソフトウェア", "商品コード", "初期化", "戻る", "現金", "カード払い"})
            converted.push_back(Utf8ToShiftJis(utf8));
        return converted;
    }();
    return texts;
}

inline void AddCommand(TekClass& owner, const char* command, const char* event, const std::string& name)
{
    auto node = std::make_shared<TekClass>(NodeType::Command);
    BuildCommandItems(*node, command, event);
    node->SetItem("Name", name);
    node->SetItem("File", "click.wav");
    owner.AddCommand(node);
}

inline void AddObject(CObjectDataList& parent, int serial)
{
    static const int types[] = {OBJ_TEXT,     OBJ_BUTTON,   OBJ_EDIT,     OBJ_CHECKBOX, OBJ_PICTURE,
                                OBJ_PROGRESS, OBJ_PULLDOWN, OBJ_SLIDEBAR, OBJ_TOGGLE,   OBJ_RADIOBTN};
    auto object = std::make_shared<CObjectData>(&parent);
    BuildObjectItems(*object, types[serial % std::size(types)]);
    const std::string name = "obj" + std::to_string(serial);
    const std::string& text = DisplayTexts()[static_cast<size_t>(serial) % DisplayTexts().size()];
    object->SetItem("Name", name);
    object->SetItem("Width", serial % 3 ? "PARENT" : "48");
    object->SetItem("Height", std::to_string(10 + serial % 20));
    object->SetItem("Weight", "1");
    object->SetItem("Text", text + " " + std::to_string(serial));
    object->SetItem("TextOff", text);
    object->SetItem("TextOn", text);
    object->SetItem("TSize", "14");
    object->SetItem("TColor", "#203040");
    object->SetItem("TAlign", "CENTER|MIDDLE");
    object->SetItem("File", "button_" + std::to_string(serial % 17) + ".png");
    object->SetItem("Min", "0");
    object->SetItem("Max", "100");
    object->SetItem("Value", std::to_string(serial % 100));
    if (serial % 4 == 0)
        AddCommand(*object, "UPDATE", "OnClick", name);
    if (serial % 12 == 0)
        AddCommand(*object, "OPEN", "OnClick", "Dialog" + std::to_string(serial % kDialogs));
    parent.AppendChild(object);
}

inline GroupPtr AddGroup(CObjectDataList* parent, int layout, const std::string& name)
{
    auto group = std::make_shared<CObjectDataList>(parent);
    BuildGroupItems(*group, layout);
    group->SetItem("Name", name);
    group->SetItem("Width", "PARENT");
    group->SetItem("Vertical", layout == LAYOUT_LINEAR ? "true" : "false");
    if (parent)
        parent->AppendChild(group);
    return group;
}

/// A project of kDialogs dialogs with about kNodesPerDialog groups and objects each, nested up
/// to four levels, as the editor writes it.
inline std::string ProjectText()
{
    CTekResourceData resource;
    resource.SetItem("Name", "BenchTerminal");
    resource.SetItem("DeviceWidth", "480");
    resource.SetItem("DeviceHeight", "800");
    for (int d = 0; d < kDialogs; ++d) {
        CTekDialogData& dialog = resource.Dialogs().AddDialog("Dialog" + std::to_string(d));
        dialog.SetItem("TemplateType", "Shared");
        dialog.SetItem("TargetLayoutWidth", "100");
        dialog.SetItem("TargetLayoutHeight", "160");
        AddCommand(dialog, "SOUND", "OnOpen", "");
        GroupPtr root = AddGroup(nullptr, LAYOUT_LINEAR, "root");
        int nodes = 1;
        for (int section = 0; nodes < kNodesPerDialog; ++section) {
            static const int layouts[] = {LAYOUT_TABLE, LAYOUT_FRAME, LAYOUT_SCROLL, LAYOUT_LINEAR, LAYOUT_RADIO};
            const int layout = layouts[section % std::size(layouts)];
            GroupPtr group = AddGroup(root.get(), layout, "section" + std::to_string(section));
            ++nodes;
            for (int row = 0; row < 3 && nodes < kNodesPerDialog; ++row) {
                GroupPtr inner = AddGroup(group.get(), layout == LAYOUT_TABLE ? LAYOUT_TABLEROW : LAYOUT_LINEAR,
                                          "row" + std::to_string(row));
                ++nodes;
                for (int i = 0; i < 5 && nodes < kNodesPerDialog; ++i, ++nodes)
                    AddObject(*inner, d * kNodesPerDialog + nodes);
            }
        }
        dialog.SetRoot(root);
    }
    CJsonString text;
    WriteResource(resource, text, "");
    return text.TakeText();
}

} // namespace vesk::bench
