#include "objects/itemsets.h"

#include <initializer_list>
#include <iterator>
#include <memory>

#include "model/tekclass.h"
#include "objects/objectdata.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

ChoiceList ShiftJisList(std::initializer_list<const char*> utf8Entries)
{
    ChoiceList list;
    for (const char* entry : utf8Entries)
        list.push_back(Utf8ToShiftJisExact(entry));
    return list;
}

// Description texts shared by several items.
namespace text {
const char* const kSize = "PARENT:包括しているグループオブジェクトの大きさの最大に合わせる。CONTENT:"
                          "オブジェクト自身の大きさそのまま。数値:プライベートユニット。";
const char* const kWeight =
    "グループ内オブジェクトの大きさを'比'で指定します。同じ大きさを指定することで等幅配置などが可能。";
const char* const kAlign =
    "LEFT:左寄せ CENTER:中央 RIGHT:右寄せ TOP:上寄せ MIDDLE:中央 BOTTOM:下寄せ。 '|'で組合せ可能。";
const char* const kColour = "色を指定します。";
const char* const kEvent = "コマンド名を選択するとコマンドが追加されます";
const char* const kSource = "BUILTIN:プリインストール(省略時)。STATION:Veskサーバから取得。URI:"
                            "Webサイトからダウンロード。STRAGE:端末の外部フォルダから取得";
const char* const kNotify = "CONDITIONコマンドで送信される要素";
const char* const kHide = "更新する表示属性（通常/消す）";
const char* const kDisable = "更新する表示属性（通常/無効）";
const char* const kClick = "クリック可能/不可能を指定します。";
const char* const kTSize = "テキストのサイズを指定します";
const char* const kPadding =
    "パディング。オブジェクトの内側のオフセット。カンマ区切りで左から時計周りで４辺指定。左,上,右,下。";
const char* const kMargin =
    "マージン。オブジェクトの外側のオフセット。カンマ区切りで左から時計周りで４辺指定。左,上,右,下。";
const char* const kFilePath = "指定したファイルがWebにある場合に指定";
} // namespace text

/// Appends one item to an item set; description is a UTF-8 literal or nullptr, value a constant.
void Add(CItemList& items, const char* name, ItemKind kind, const ChoiceList* choices = nullptr,
         const char* description = nullptr, const char* value = nullptr)
{
    const ItemDef* def = InternItemDef(name, kind, choices, description ? SharedText(description) : nullptr);
    items.Add(CItemData::WithConstant(def, value ? ConstantText(value) : nullptr));
}

bool OneOf(int code, std::initializer_list<int> codes)
{
    for (int c : codes)
        if (c == code)
            return true;
    return false;
}

const char* const kNotifyLists[OBJ_TYPE_COUNT] = {
    "Name,Text",
    "Name,Value",
    "Name,Text,Attr",
    "Name,Attr",
    "Name,Attr",
    "Name,Value,Attr",
    "Name,File,ScaleX,ScaleY,OffsetX,OffsetY",
    nullptr,
    "Name,Value,Position",
    "Name,Text,Position",
    "Name,Value",
    "Name,Value",
    "Name,Position",
};

void AddImageItems(CItemList& object, int code)
{
    const ChoiceLists& lists = SharedChoiceLists();
    switch (code) {
    case OBJ_EDIT:
    case OBJ_PICTURE:
    case OBJ_CANVAS:
        Add(object, "File", ItemKind::Image, nullptr, "画像ファイル名を指定します");
        break;
    case OBJ_PROGRESS:
        Add(object, "FileBase", ItemKind::Image, nullptr, "プログレスのベース画像ファイル名");
        Add(object, "FileActive", ItemKind::Image, nullptr, "プログレスのアクティブ部分の画像ファイル名");
        break;
    case OBJ_SLIDEBAR:
        Add(object, "FileBase", ItemKind::Image, nullptr, "スライドバーのベース画像ファイル名");
        Add(object, "FileActive", ItemKind::Image, nullptr, "スライドバーのアクティブ部分の画像ファイル名");
        Add(object, "FileThumb", ItemKind::Image, nullptr, "スライドバーのつまみ画像");
        break;
    case OBJ_METER:
        Add(object, "Revers", ItemKind::Flag, nullptr, "Cursor画像の回転方向/移動方向を逆にします");
        Add(object, "Pattern", ItemKind::Choice, &lists.pattern, "メーターオブジェクトの動作パターンタイプ");
        Add(object, "FileBase", ItemKind::Image, nullptr, "メーターオブジェクトの背景画像ファイル名（目盛）");
        Add(object, "FileCursor", ItemKind::Image, nullptr, "メーターオブジェクトの動く画像ファイル名（針）");
        Add(object, "FileTop", ItemKind::Image, nullptr, "メーターオブジェクトの最前面画像（枠）");
        Add(object, "CenterPosBase", ItemKind::FreeText, nullptr, "メーターオブジェクトの背景画像の中心座標");
        Add(object, "CenterPosCursor", ItemKind::FreeText, nullptr, "メーターオブジェクトの動く画像の中心座標");
        Add(object, "CenterPosTop", ItemKind::FreeText, nullptr, "メーターオブジェクトの最前面画像の中心座標");
        break;
    case OBJ_BUTTON:
    case OBJ_CHECKBOX:
    case OBJ_TOGGLE:
    case OBJ_RADIOBTN:
    case OBJ_GRID:
    case OBJ_PULLDOWN:
        Add(object, "FileOff", ItemKind::Image, nullptr, "通常状態で表示されるオブジェクトの画像ファイル名");
        Add(object, "FileOn", ItemKind::Image, nullptr,
            "押下などアクティブ状態で表示されるオブジェクトの画像ファイル名");
        break;
    default:
        break;
    }
}

} // namespace

ChoiceLists& SharedChoiceLists()
{
    static ChoiceLists lists = [] {
        ChoiceLists l;
        l.colour = ShiftJisList({"BLACK", "WHITE", "DKGRAY", "GRAY", "LTGRAY", "RED", "GREEN", "BLUE", "CYAN",
                                 "MAGENTA", "YELLOW", "TRANSPARENT", "#RRGGBB"});
        l.size = ShiftJisList({"PARENT", "CONTENT"});
        l.offset = ShiftJisList({"0,0,0,0", "10,10,10,10"});
        for (const char* name : kObjectTypeNames)
            l.objectType.push_back(name);
        for (const char* name : kLayoutNames)
            l.layout.push_back(name);
        l.alignment = ShiftJisList({"LEFT", "CENTER", "RIGHT", "TOP", "MIDDLE", "BOTTOM", "LEFT|TOP", "LEFT|MIDDLE",
                                    "LEFT|BOTTOM", "CENTER|TOP", "CENTER|MIDDLE", "CENTER|BOTTOM", "RIGHT|TOP",
                                    "RIGHT|MIDDLE", "RIGHT|BOTTOM"});
        l.attribute = ShiftJisList({"ON", "OFF", "TOGGLE"});
        l.header = ShiftJisList({"キャンセル", "ヘッダ項目追加"});
        l.command = ShiftJisList(
            {"キャンセル", "CONDITION", "UPDATE", "OPEN", "CLOSE", "SOUND", "TIMER", "DELETE", "GETFILE", "HELLO"});
        l.scale = ShiftJisList({"SCALE_100PER", "SCALE_WIDTH", "SCALE_HEIGHT", "SCALE_AUTO", "SCALE_JUST"});
        l.source = ShiftJisList({"BUILTIN", "STATION", "STRAGE", "URI"});
        l.templates = ShiftJisList({"None", "Shared", "Unique"});
        l.pattern = ShiftJisList({"CIRCLE", "HORIZONTAL", "VERTICAL"});
        return l;
    }();
    return lists;
}

const std::string& CancelChoice()
{
    return *SharedText("キャンセル");
}
const std::string& AddHeaderChoice()
{
    return *SharedText("ヘッダ項目追加");
}

namespace {

/// The object item set of a type code (-1 unset) in a group of that layout.
void ObjectSet(CItemList& object, int code, int parentLayout)
{
    const ChoiceLists& lists = SharedChoiceLists();
    const bool slidebar = code == OBJ_SLIDEBAR;
    const bool textual = OneOf(code, {OBJ_TEXT, OBJ_BUTTON, OBJ_CHECKBOX, OBJ_TOGGLE, OBJ_RADIOBTN});
    const bool ranged = OneOf(code, {OBJ_PROGRESS, OBJ_SLIDEBAR, OBJ_METER});

    Add(object, "Name", ItemKind::FreeText, nullptr,
        "このオブジェクトの名前（識別子）。コマンドの送受信時にオブジェクトを識別する為に使用。ダイアログ毎でユニークで"
        "あること。");
    Add(object, "Alias", ItemKind::FreeText, nullptr,
        "このオブジェクトの別名（補助識別子）。重複可能、重複させて使用することで、コマンド "
        "'UPDATE'、'CONDITION'送受信時に一括指定可能。カンマ区切りで複数指定可能。");
    Add(object, "Type", ItemKind::Choice, &lists.objectType, "機能オブジェクトの種類",
        code >= 0 && code < OBJ_TYPE_COUNT ? kObjectTypeNames[code] : "Unset");
    Add(object, "Width", ItemKind::Suggest, &lists.size, text::kSize);
    Add(object, "Height", ItemKind::Suggest, &lists.size, text::kSize);
    Add(object, "Weight", ItemKind::Number, nullptr, text::kWeight);
    if (parentLayout == LAYOUT_FRAME) {
        Add(object, "PosX", ItemKind::Size, nullptr,
            "包括しているグループオブジェクトの左上座標からの相対X座標。プライベートユニット。");
        Add(object, "PosY", ItemKind::Size, nullptr,
            "包括しているグループオブジェクトの左上座標からの相対Y座標。プライベートユニット。");
    }
    Add(object, "Padding", ItemKind::Suggest, &lists.offset, text::kPadding);
    Add(object, "Margin", ItemKind::Suggest, &lists.offset, text::kMargin);
    Add(object, "Hide", ItemKind::Flag, nullptr, text::kHide);
    Add(object, "Disable", ItemKind::Flag, nullptr, text::kDisable);
    Add(object, "BGColor", ItemKind::Suggest, &lists.colour, text::kColour);
    if (code == OBJ_PICTURE)
        Add(object, "ScaleType", ItemKind::Suggest, &lists.scale, "画像の表示方法を指定します");
    if (!slidebar) {
        Add(object, "Clickable", ItemKind::Flag, nullptr, text::kClick);
        Add(object, "OnClick", ItemKind::Choice, &lists.command, text::kEvent);
    } else {
        Add(object, "OnSlide", ItemKind::Choice, &lists.command, text::kEvent);
        Add(object, "OnTouch", ItemKind::Choice, &lists.command, text::kEvent);
        Add(object, "OnRelease", ItemKind::Choice, &lists.command, text::kEvent);
    }
    if (OneOf(code, {OBJ_BUTTON, OBJ_CHECKBOX, OBJ_TOGGLE, OBJ_RADIOBTN}))
        Add(object, "Attr", ItemKind::Suggest, &lists.attribute, "属性を指定します");
    if (OneOf(code, {OBJ_GRID, OBJ_PULLDOWN}))
        Add(object, "Data", ItemKind::Data, nullptr, "データの初期値を指定します。");
    if (code == OBJ_TOGGLE) {
        Add(object, "TextOff", ItemKind::Display, nullptr, "属性OFF時にボタン上に表示するテキストを指定します。");
        Add(object, "TextOn", ItemKind::Display, nullptr, "属性ON時にボタン上に表示するテキストを指定します。");
    }
    if (OneOf(code, {OBJ_TEXT, OBJ_BUTTON, OBJ_CHECKBOX, OBJ_RADIOBTN}))
        Add(object, "Text", ItemKind::Display, nullptr, "ボタン上に表示するテキストを指定します。");
    if (textual) {
        Add(object, "TSize", ItemKind::Size, nullptr, text::kTSize);
        Add(object, "TColor", ItemKind::Suggest, &lists.colour, text::kColour);
        Add(object, "TAlign", ItemKind::Choice, &lists.alignment, text::kAlign);
    }
    if (parentLayout == LAYOUT_TABLEROW) {
        Add(object, "Stretch", ItemKind::Flag, nullptr, "カラムの幅を自動伸縮する/しないを指定します");
        Add(object, "Wrap", ItemKind::Flag, nullptr,
            "カラムに収まらない長さの文字列の表示方法を指定します。true:改行して表示する false:何もしない");
        Add(object, "Span", ItemKind::Number, nullptr,
            "隣のカラムとくっつけて１つのカラムにします。（くっつけるカラムの数を指定します）");
    }
    AddImageItems(object, code);
    Add(object, "FileSource", ItemKind::Choice, &lists.source, text::kSource);
    Add(object, "FilePath", ItemKind::FreeText, nullptr, text::kFilePath);
    if (code == OBJ_PICTURE)
        Add(object, "EnablePinch", ItemKind::Flag, nullptr, "スクロール・ピンチズームを使う/使わないを指定します");
    if (ranged) {
        Add(object, "Min", ItemKind::Number, nullptr, "最小値を指定します");
        Add(object, "Max", ItemKind::Number, nullptr, "最大値を指定します");
        Add(object, "Value", ItemKind::FreeText, nullptr, "初期値を指定します");
    }
    if (OneOf(code, {OBJ_EDIT, OBJ_RADIOBTN}))
        Add(object, "Value", ItemKind::Display, nullptr, "値を指定します");
    if (OneOf(code, {OBJ_PROGRESS, OBJ_SLIDEBAR}))
        Add(object, "Vertical", ItemKind::Flag, nullptr,
            "バーの配置方向を指定します。デフォルト（省略時：flase）は水平方向です。trueで垂直方向になります。");
    if (OneOf(code, {OBJ_GRID, OBJ_PULLDOWN}))
        Add(object, "ColumnHeight", ItemKind::Size, nullptr, "カラムの高さを指定します。");
    if (code == OBJ_GRID)
        Add(object, "Columns", ItemKind::Choice, &lists.header);
    if (code >= 0 && code < OBJ_TYPE_COUNT && kNotifyLists[code])
        Add(object, "NotifyList", ItemKind::FreeText, nullptr, text::kNotify, kNotifyLists[code]);
}

void GroupSet(CItemList& group, int code)
{
    const ChoiceLists& lists = SharedChoiceLists();
    Add(group, "Name", ItemKind::FreeText, nullptr, "このオブジェクトの名前です。");
    if (code == LAYOUT_RADIO)
        Add(group, "Alias", ItemKind::FreeText, nullptr,
            "ラジオグループ専用の要素です。値通知コマンド「NOTIFY」で使用します。");
    Add(group, "Type", ItemKind::Fixed, nullptr, "グループオブジェクトの種類", "GROUP");
    Add(group, "Layout", ItemKind::Choice, &lists.layout, "グループオブジェクトの種類",
        code >= 0 && code < LAYOUT_COUNT ? kLayoutNames[code] : "Unset");
    Add(group, "Width", ItemKind::Suggest, &lists.size, text::kSize);
    Add(group, "Height", ItemKind::Suggest, &lists.size, text::kSize);
    Add(group, "Weight", ItemKind::Number, nullptr, text::kWeight);
    Add(group, "Padding", ItemKind::Suggest, &lists.offset);
    Add(group, "Margin", ItemKind::Suggest, &lists.offset);
    Add(group, "Hide", ItemKind::Flag, nullptr, text::kHide);
    Add(group, "Disable", ItemKind::Flag, nullptr, text::kDisable);
    Add(group, "BGColor", ItemKind::Suggest, &lists.colour, text::kColour);
    Add(group, "Align", ItemKind::Choice, &lists.alignment, text::kAlign);
    Add(group, "Vertical", ItemKind::Flag, nullptr,
        "並べる方向を指定します。デフォルト（省略時：flase）は水平方向です。trueで垂直方向になります。");
    Add(group, "NotifyList", ItemKind::FreeText, nullptr, text::kNotify, "Name");
}

void HeaderSet(CItemList& column)
{
    const ChoiceLists& lists = SharedChoiceLists();
    Add(column, "TSize", ItemKind::Size, nullptr, text::kTSize);
    Add(column, "TColor", ItemKind::Suggest, &lists.colour);
    Add(column, "TAlign", ItemKind::Choice, &lists.alignment, text::kAlign);
    Add(column, "Margin", ItemKind::Suggest, &lists.offset);
    Add(column, "BGColor", ItemKind::Suggest, &lists.colour, text::kColour);
    Add(column, "Clickable", ItemKind::Flag, nullptr, text::kClick);
}

void AddCommandName(CItemList& node, const char* value)
{
    Add(node, "Command", ItemKind::Fixed, nullptr, "コマンド名", value);
}

void AddMakeCommand(CItemList& node, const char* value)
{
    Add(node, "MakeCommand", ItemKind::Fixed, nullptr, "生成コマンド名", value);
}

void AddSendCommand(CItemList& node, const char* value)
{
    Add(node, "SendCommand", ItemKind::Fixed, nullptr, "ファイル取得コマンドをステーションへ送信します。", value);
}

void AddTargetItems(CItemList& node)
{
    Add(node, "Name", ItemKind::FreeText, nullptr, "対象オブジェクトの名前(Name)を指定。カンマ区切りで複数指定可能。");
    Add(node, "Alias", ItemKind::FreeText, nullptr, "対象オブジェクトの別名(Alias)を指定。複数指定不可。");
}

void AddFileItems(CItemList& node, const char* fileDescription)
{
    Add(node, "File", ItemKind::FreeText, nullptr, fileDescription);
    Add(node, "FileSource", ItemKind::Choice, &SharedChoiceLists().source, text::kSource);
    Add(node, "FilePath", ItemKind::FreeText, nullptr, text::kFilePath);
}

void AddUpdateItems(CItemList& node)
{
    const ChoiceLists& lists = SharedChoiceLists();
    Add(node, "Text", ItemKind::Display, nullptr, "更新するテキスト値");
    Add(node, "FileOff", ItemKind::Image, nullptr, "通常状態で表示されるオブジェクトの画像ファイル名");
    Add(node, "FileOn", ItemKind::Image, nullptr, "押下などアクティブ状態で表示されるオブジェクトの画像ファイル名");
    Add(node, "Attr", ItemKind::Suggest, &lists.attribute, "更新する属性");
    Add(node, "Data", ItemKind::Data, nullptr, "更新するデータ");
    Add(node, "Value", ItemKind::FreeText, nullptr, "更新する値");
    Add(node, "Min", ItemKind::Number, nullptr, "最小値を指定します");
    Add(node, "Max", ItemKind::Number, nullptr, "最大値を指定します");
    Add(node, "Width", ItemKind::Suggest, &lists.size, text::kSize);
    Add(node, "Height", ItemKind::Suggest, &lists.size, text::kSize);
    Add(node, "Weight", ItemKind::Number, nullptr, text::kWeight);
    Add(node, "Padding", ItemKind::Suggest, &lists.offset, text::kPadding);
    Add(node, "Margin", ItemKind::Suggest, &lists.offset, text::kMargin);
    Add(node, "Hide", ItemKind::Flag, nullptr, text::kHide);
    Add(node, "Disable", ItemKind::Flag, nullptr, text::kDisable);
    Add(node, "BGColor", ItemKind::Suggest, &lists.colour, text::kColour);
    Add(node, "TSize", ItemKind::Size, nullptr, text::kTSize);
    Add(node, "TColor", ItemKind::Suggest, &lists.colour, text::kColour);
    Add(node, "TAlign", ItemKind::Choice, &lists.alignment, text::kAlign);
    Add(node, "File", ItemKind::Image, nullptr, "画像ファイル名を指定します");
    Add(node, "FileBase", ItemKind::Image, nullptr, "プログレスのベース画像ファイル名");
    Add(node, "FileActive", ItemKind::Image, nullptr, "プログレスのアクティブ部分の画像ファイル名");
    Add(node, "FileCursor", ItemKind::Image, nullptr, "メーターオブジェクトの動く画像ファイル名（針）");
    Add(node, "FileTop", ItemKind::Image, nullptr, "メーターオブジェクトの最前面画像（枠）");
    Add(node, "FileThumb", ItemKind::Image, nullptr, "スライドバーのつまみ画像");
    Add(node, "FileSource", ItemKind::Choice, &lists.source, text::kSource);
    Add(node, "FilePath", ItemKind::FreeText, nullptr, text::kFilePath);
    Add(node, "CenterPosBase", ItemKind::FreeText, nullptr, "メーターオブジェクトの背景画像の中心座標");
    Add(node, "CenterPosCursor", ItemKind::FreeText, nullptr, "メーターオブジェクトの動く画像の中心座標");
    Add(node, "CenterPosTop", ItemKind::FreeText, nullptr, "メーターオブジェクトの最前面画像の中心座標");
}

/// The items of a command after its 'Event', for the command name.
void CommandSet(CItemList& node, std::string_view command)
{
    const char* const kFileTarget = "コマンド対象のファイルを指定します。";
    if (command == "CONDITION") {
        AddCommandName(node, "NOTIFY");
        AddMakeCommand(node, "CONDITION");
        AddTargetItems(node);
    } else if (command == "UPDATE") {
        AddCommandName(node, "NOTIFY");
        AddMakeCommand(node, "UPDATE");
        AddTargetItems(node);
        AddUpdateItems(node);
    } else if (command == "OPEN" || command == "SOUND") {
        AddCommandName(node, command == "OPEN" ? "OPEN" : "SOUND");
        AddFileItems(node, kFileTarget);
    } else if (command == "CLOSE") {
        AddCommandName(node, "CLOSE");
    } else if (command == "DELETE") {
        AddCommandName(node, "DELETE");
        AddTargetItems(node);
    } else if (command == "TIMER") {
        AddCommandName(node, "TIMER");
        Add(node, "Time", ItemKind::Number, nullptr, "インターバルをミリ秒で指定します。");
    } else if (command == "GETFILE") {
        AddCommandName(node, "SENDCOMMAND");
        AddSendCommand(node, "GETFILE");
        AddFileItems(node, "取得するファイル名");
        Add(node, "ObjectName", ItemKind::FreeText, nullptr, "受信したことを通知するオブジェクトの名前");
    } else if (command == "HELLO") {
        AddCommandName(node, "SENDCOMMAND");
        AddSendCommand(node, "HELLO");
    }
}

constexpr int kParentLayouts = LAYOUT_COUNT + 1; // -1 (unknown) to LAYOUT_COUNT - 1
constexpr const char* kCommandNames[] = {"CONDITION", "UPDATE", "OPEN",    "SOUND", "CLOSE",
                                         "DELETE",    "TIMER",  "GETFILE", "HELLO"};
constexpr int kCommandSets = static_cast<int>(std::size(kCommandNames));

/// Every item set, built once.
struct ItemSets {
    ItemSet objects[OBJ_TYPE_COUNT + 1][kParentLayouts];
    ItemSet groups[LAYOUT_COUNT + 1];
    ItemSet header;
    ItemSet event;
    ItemSet commands[kCommandSets + 1]; ///< the last one: any other name
};

void Index(ItemSet& set)
{
    set.positions.fill(-1);
    for (int i = set.items.Count() - 1; i >= 0; --i) {
        const int key = set.items.At(i).Def().key;
        if (key >= 0)
            set.positions[static_cast<size_t>(key)] = static_cast<int16_t>(i);
    }
}

const ItemSets& AllItemSets()
{
    static const std::unique_ptr<ItemSets> sets = [] {
        auto all = std::make_unique<ItemSets>();
        for (int code = -1; code < OBJ_TYPE_COUNT; ++code)
            for (int layout = -1; layout < LAYOUT_COUNT; ++layout) {
                ItemSet& set = all->objects[code + 1][layout + 1];
                ObjectSet(set.items, code, layout);
                Index(set);
            }
        for (int code = -1; code < LAYOUT_COUNT; ++code) {
            GroupSet(all->groups[code + 1].items, code);
            Index(all->groups[code + 1]);
        }
        HeaderSet(all->header.items);
        Index(all->header);
        Add(all->event.items, "Event", ItemKind::Fixed, nullptr, "コマンド開始トリガー");
        Index(all->event);
        for (int i = 0; i <= kCommandSets; ++i) {
            CommandSet(all->commands[i].items, i < kCommandSets ? kCommandNames[i] : "");
            Index(all->commands[i]);
        }
        return all;
    }();
    return *sets;
}

/// Codes beyond their tables give the set of -1 (no table row matches them).
int SetIndex(int code, int count)
{
    return code >= 0 && code < count ? code + 1 : 0;
}

} // namespace

const ItemSet& ObjectItemSet(int typeCode, int parentLayout)
{
    return AllItemSets().objects[SetIndex(typeCode, OBJ_TYPE_COUNT)][SetIndex(parentLayout, LAYOUT_COUNT)];
}

const ItemSet& GroupItemSet(int layoutCode)
{
    return AllItemSets().groups[SetIndex(layoutCode, LAYOUT_COUNT)];
}

const ItemSet& HeaderItemSet()
{
    return AllItemSets().header;
}

const ItemSet& CommandItemSet(std::string_view commandName)
{
    int i = 0;
    while (i < kCommandSets && commandName != kCommandNames[i])
        ++i;
    return AllItemSets().commands[i];
}

const ItemDef& CommandEventDef()
{
    return AllItemSets().event.items.At(0).Def();
}

int ParentLayoutOf(const CObjectData& object)
{
    const CObjectDataList* parent = object.ParentGroup();
    return parent ? parent->LayoutCode() : LAYOUT_LINEAR;
}

void BuildObjectItems(CObjectData& object, int code)
{
    object.SetType(NodeType::Object);
    object.Items().AppendSet(ObjectItemSet(code, ParentLayoutOf(object)).items);
}

void BuildGroupItems(CObjectDataList& group, int code)
{
    group.SetType(NodeType::Group);
    group.Items().AppendSet(GroupItemSet(code).items);
}

void BuildHeaderItems(TekClass& column)
{
    column.Items().AppendSet(HeaderItemSet().items);
}

void BuildCommandItems(TekClass& node, std::string_view command, std::string_view event)
{
    node.Items().Add(CItemData(&CommandEventDef(), std::string(event)));
    node.Items().AppendSet(CommandItemSet(command).items);
}

void RebuildObjectItems(CObjectData& object, int typeCode)
{
    CItemList old = std::move(object.Items());
    object.Items().Clear();
    BuildObjectItems(object, typeCode);
    object.Items().AdoptMatching(std::move(old));
}

void RebuildGroupItems(CObjectDataList& group, int layoutCode)
{
    CItemList old = std::move(group.Items());
    group.Items().Clear();
    BuildGroupItems(group, layoutCode);
    group.Items().AdoptMatching(std::move(old));
}

} // namespace vesk
