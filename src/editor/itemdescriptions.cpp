#include "editor/itemdescriptions.h"

#include <array>
#include <string>

#include <QCoreApplication>

#include "model/tekclass.h"

namespace vesk {

namespace {

// Texts shared by several items.
const char* const kSize = QT_TRANSLATE_NOOP("vesk::ItemDescription", "PARENT:包括しているグループオブジェクトの大きさの最大に合わせる。CONTENT:オブジェクト自身の大きさそのまま。数値:プライベートユニット。");
const char* const kWeight = QT_TRANSLATE_NOOP("vesk::ItemDescription", "グループ内オブジェクトの大きさを'比'で指定します。同じ大きさを指定することで等幅配置などが可能。");
const char* const kPadding = QT_TRANSLATE_NOOP("vesk::ItemDescription", "パディング。オブジェクトの内側のオフセット。カンマ区切りで左から時計周りで４辺指定。左,上,右,下。");
const char* const kMargin = QT_TRANSLATE_NOOP("vesk::ItemDescription", "マージン。オブジェクトの外側のオフセット。カンマ区切りで左から時計周りで４辺指定。左,上,右,下。");
const char* const kHide = QT_TRANSLATE_NOOP("vesk::ItemDescription", "更新する表示属性（通常/消す）");
const char* const kDisable = QT_TRANSLATE_NOOP("vesk::ItemDescription", "更新する表示属性（通常/無効）");
const char* const kColour = QT_TRANSLATE_NOOP("vesk::ItemDescription", "色を指定します。");
const char* const kClick = QT_TRANSLATE_NOOP("vesk::ItemDescription", "クリック可能/不可能を指定します。");
const char* const kEvent = QT_TRANSLATE_NOOP("vesk::ItemDescription", "コマンド名を選択するとコマンドが追加されます");
const char* const kSource = QT_TRANSLATE_NOOP("vesk::ItemDescription", "BUILTIN:プリインストール(省略時)。STATION:Veskサーバから取得。URI:Webサイトからダウンロード。STRAGE:端末の外部フォルダから取得");
const char* const kFilePath = QT_TRANSLATE_NOOP("vesk::ItemDescription", "指定したファイルがWebにある場合に指定");
const char* const kTSize = QT_TRANSLATE_NOOP("vesk::ItemDescription", "テキストのサイズを指定します");
const char* const kAlign = QT_TRANSLATE_NOOP("vesk::ItemDescription", "LEFT:左寄せ CENTER:中央 RIGHT:右寄せ TOP:上寄せ MIDDLE:中央 BOTTOM:下寄せ。 '|'で組合せ可能。");
const char* const kNotify = QT_TRANSLATE_NOOP("vesk::ItemDescription", "CONDITIONコマンドで送信される要素");
const char* const kPicture = QT_TRANSLATE_NOOP("vesk::ItemDescription", "画像ファイル名を指定します");
const char* const kValue = QT_TRANSLATE_NOOP("vesk::ItemDescription", "値を指定します");
const char* const kInitialValue = QT_TRANSLATE_NOOP("vesk::ItemDescription", "初期値を指定します");
const char* const kFileOff = QT_TRANSLATE_NOOP("vesk::ItemDescription", "通常状態で表示されるオブジェクトの画像ファイル名");
const char* const kFileOn = QT_TRANSLATE_NOOP("vesk::ItemDescription", "押下などアクティブ状態で表示されるオブジェクトの画像ファイル名");
const char* const kProgressBase = QT_TRANSLATE_NOOP("vesk::ItemDescription", "プログレスのベース画像ファイル名");
const char* const kProgressActive = QT_TRANSLATE_NOOP("vesk::ItemDescription", "プログレスのアクティブ部分の画像ファイル名");
const char* const kMin = QT_TRANSLATE_NOOP("vesk::ItemDescription", "最小値を指定します");
const char* const kMax = QT_TRANSLATE_NOOP("vesk::ItemDescription", "最大値を指定します");
const char* const kThumb = QT_TRANSLATE_NOOP("vesk::ItemDescription", "スライドバーのつまみ画像");
const char* const kMeterCursor = QT_TRANSLATE_NOOP("vesk::ItemDescription", "メーターオブジェクトの動く画像ファイル名（針）");
const char* const kMeterTop = QT_TRANSLATE_NOOP("vesk::ItemDescription", "メーターオブジェクトの最前面画像（枠）");
const char* const kMeterBaseCentre = QT_TRANSLATE_NOOP("vesk::ItemDescription", "メーターオブジェクトの背景画像の中心座標");
const char* const kMeterCursorCentre = QT_TRANSLATE_NOOP("vesk::ItemDescription", "メーターオブジェクトの動く画像の中心座標");
const char* const kMeterTopCentre = QT_TRANSLATE_NOOP("vesk::ItemDescription", "メーターオブジェクトの最前面画像の中心座標");
const char* const kGroupKind = QT_TRANSLATE_NOOP("vesk::ItemDescription", "グループオブジェクトの種類");
const char* const kFileTarget = QT_TRANSLATE_NOOP("vesk::ItemDescription", "コマンド対象のファイルを指定します。");

/// One description: of the item of that name in nodes of that kind ("object", "group",
/// "header", "command", "dialog"), for every node of the kind (an empty variant) or only for
/// the object type or command name given as the variant.
struct DescriptionEntry {
    std::string_view kind;
    std::string_view variant;
    std::string_view item;
    const char* text;
};

const DescriptionEntry kDescriptions[] = {
    {"object", "", "Name", QT_TRANSLATE_NOOP("vesk::ItemDescription", "このオブジェクトの名前（識別子）。コマンドの送受信時にオブジェクトを識別する為に使用。ダイアログ毎でユニークであること。")},
    {"object", "", "Alias", QT_TRANSLATE_NOOP("vesk::ItemDescription", "このオブジェクトの別名（補助識別子）。重複可能、重複させて使用することで、コマンド 'UPDATE'、'CONDITION'送受信時に一括指定可能。カンマ区切りで複数指定可能。")},
    {"object", "", "Type", QT_TRANSLATE_NOOP("vesk::ItemDescription", "機能オブジェクトの種類")},
    {"object", "", "Width", kSize},
    {"object", "", "Height", kSize},
    {"object", "", "Weight", kWeight},
    {"object", "", "Padding", kPadding},
    {"object", "", "Margin", kMargin},
    {"object", "", "Hide", kHide},
    {"object", "", "Disable", kDisable},
    {"object", "", "BGColor", kColour},
    {"object", "", "Clickable", kClick},
    {"object", "", "OnClick", kEvent},
    {"object", "", "FileSource", kSource},
    {"object", "", "FilePath", kFilePath},
    {"object", "", "PosX", QT_TRANSLATE_NOOP("vesk::ItemDescription", "包括しているグループオブジェクトの左上座標からの相対X座標。プライベートユニット。")},
    {"object", "", "PosY", QT_TRANSLATE_NOOP("vesk::ItemDescription", "包括しているグループオブジェクトの左上座標からの相対Y座標。プライベートユニット。")},
    {"object", "", "Stretch", QT_TRANSLATE_NOOP("vesk::ItemDescription", "カラムの幅を自動伸縮する/しないを指定します")},
    {"object", "", "Wrap", QT_TRANSLATE_NOOP("vesk::ItemDescription", "カラムに収まらない長さの文字列の表示方法を指定します。true:改行して表示する false:何もしない")},
    {"object", "", "Span", QT_TRANSLATE_NOOP("vesk::ItemDescription", "隣のカラムとくっつけて１つのカラムにします。（くっつけるカラムの数を指定します）")},
    {"object", "", "Text", QT_TRANSLATE_NOOP("vesk::ItemDescription", "ボタン上に表示するテキストを指定します。")},
    {"object", "", "TSize", kTSize},
    {"object", "", "TColor", kColour},
    {"object", "", "TAlign", kAlign},
    {"object", "", "NotifyList", kNotify},
    {"object", "", "File", kPicture},
    {"object", "EDIT", "Value", kValue},
    {"object", "RADIOBTN", "Value", kValue},
    {"object", "METER", "Value", kInitialValue},
    {"object", "PROGRESS", "Value", kInitialValue},
    {"object", "SLIDEBAR", "Value", kInitialValue},
    {"object", "", "Attr", QT_TRANSLATE_NOOP("vesk::ItemDescription", "属性を指定します")},
    {"object", "", "FileOff", kFileOff},
    {"object", "", "FileOn", kFileOn},
    {"object", "", "TextOff", QT_TRANSLATE_NOOP("vesk::ItemDescription", "属性OFF時にボタン上に表示するテキストを指定します。")},
    {"object", "", "TextOn", QT_TRANSLATE_NOOP("vesk::ItemDescription", "属性ON時にボタン上に表示するテキストを指定します。")},
    {"object", "", "ScaleType", QT_TRANSLATE_NOOP("vesk::ItemDescription", "画像の表示方法を指定します")},
    {"object", "", "EnablePinch", QT_TRANSLATE_NOOP("vesk::ItemDescription", "スクロール・ピンチズームを使う/使わないを指定します")},
    {"object", "", "Data", QT_TRANSLATE_NOOP("vesk::ItemDescription", "データの初期値を指定します。")},
    {"object", "", "ColumnHeight", QT_TRANSLATE_NOOP("vesk::ItemDescription", "カラムの高さを指定します。")},
    {"object", "PROGRESS", "FileBase", kProgressBase},
    {"object", "SLIDEBAR", "FileBase", QT_TRANSLATE_NOOP("vesk::ItemDescription", "スライドバーのベース画像ファイル名")},
    {"object", "METER", "FileBase", QT_TRANSLATE_NOOP("vesk::ItemDescription", "メーターオブジェクトの背景画像ファイル名（目盛）")},
    {"object", "PROGRESS", "FileActive", kProgressActive},
    {"object", "SLIDEBAR", "FileActive", QT_TRANSLATE_NOOP("vesk::ItemDescription", "スライドバーのアクティブ部分の画像ファイル名")},
    {"object", "", "Min", kMin},
    {"object", "", "Max", kMax},
    {"object", "", "Vertical", QT_TRANSLATE_NOOP("vesk::ItemDescription", "バーの配置方向を指定します。デフォルト（省略時：flase）は水平方向です。trueで垂直方向になります。")},
    {"object", "", "OnSlide", kEvent},
    {"object", "", "OnTouch", kEvent},
    {"object", "", "OnRelease", kEvent},
    {"object", "", "FileThumb", kThumb},
    {"object", "", "Revers", QT_TRANSLATE_NOOP("vesk::ItemDescription", "Cursor画像の回転方向/移動方向を逆にします")},
    {"object", "", "Pattern", QT_TRANSLATE_NOOP("vesk::ItemDescription", "メーターオブジェクトの動作パターンタイプ")},
    {"object", "", "FileCursor", kMeterCursor},
    {"object", "", "FileTop", kMeterTop},
    {"object", "", "CenterPosBase", kMeterBaseCentre},
    {"object", "", "CenterPosCursor", kMeterCursorCentre},
    {"object", "", "CenterPosTop", kMeterTopCentre},
    {"group", "", "Name", QT_TRANSLATE_NOOP("vesk::ItemDescription", "このオブジェクトの名前です。")},
    {"group", "", "Type", kGroupKind},
    {"group", "", "Layout", kGroupKind},
    {"group", "", "Width", kSize},
    {"group", "", "Height", kSize},
    {"group", "", "Weight", kWeight},
    {"group", "", "Hide", kHide},
    {"group", "", "Disable", kDisable},
    {"group", "", "BGColor", kColour},
    {"group", "", "Align", kAlign},
    {"group", "", "Vertical", QT_TRANSLATE_NOOP("vesk::ItemDescription", "並べる方向を指定します。デフォルト（省略時：flase）は水平方向です。trueで垂直方向になります。")},
    {"group", "", "NotifyList", kNotify},
    {"group", "", "Alias", QT_TRANSLATE_NOOP("vesk::ItemDescription", "ラジオグループ専用の要素です。値通知コマンド「NOTIFY」で使用します。")},
    {"header", "", "TSize", kTSize},
    {"header", "", "TAlign", kAlign},
    {"header", "", "BGColor", kColour},
    {"header", "", "Clickable", kClick},
    {"command", "", "Event", QT_TRANSLATE_NOOP("vesk::ItemDescription", "コマンド開始トリガー")},
    {"command", "", "Command", QT_TRANSLATE_NOOP("vesk::ItemDescription", "コマンド名")},
    {"command", "", "MakeCommand", QT_TRANSLATE_NOOP("vesk::ItemDescription", "生成コマンド名")},
    {"command", "", "Name", QT_TRANSLATE_NOOP("vesk::ItemDescription", "対象オブジェクトの名前(Name)を指定。カンマ区切りで複数指定可能。")},
    {"command", "", "Alias", QT_TRANSLATE_NOOP("vesk::ItemDescription", "対象オブジェクトの別名(Alias)を指定。複数指定不可。")},
    {"command", "", "Text", QT_TRANSLATE_NOOP("vesk::ItemDescription", "更新するテキスト値")},
    {"command", "", "FileOff", kFileOff},
    {"command", "", "FileOn", kFileOn},
    {"command", "", "Attr", QT_TRANSLATE_NOOP("vesk::ItemDescription", "更新する属性")},
    {"command", "", "Data", QT_TRANSLATE_NOOP("vesk::ItemDescription", "更新するデータ")},
    {"command", "", "Value", QT_TRANSLATE_NOOP("vesk::ItemDescription", "更新する値")},
    {"command", "", "Min", kMin},
    {"command", "", "Max", kMax},
    {"command", "", "Width", kSize},
    {"command", "", "Height", kSize},
    {"command", "", "Weight", kWeight},
    {"command", "", "Padding", kPadding},
    {"command", "", "Margin", kMargin},
    {"command", "", "Hide", kHide},
    {"command", "", "Disable", kDisable},
    {"command", "", "BGColor", kColour},
    {"command", "", "TSize", kTSize},
    {"command", "", "TColor", kColour},
    {"command", "", "TAlign", kAlign},
    {"command", "UPDATE", "File", kPicture},
    {"command", "OPEN", "File", kFileTarget},
    {"command", "SOUND", "File", kFileTarget},
    {"command", "GETFILE", "File", QT_TRANSLATE_NOOP("vesk::ItemDescription", "取得するファイル名")},
    {"command", "", "FileBase", kProgressBase},
    {"command", "", "FileActive", kProgressActive},
    {"command", "", "FileCursor", kMeterCursor},
    {"command", "", "FileTop", kMeterTop},
    {"command", "", "FileThumb", kThumb},
    {"command", "", "FileSource", kSource},
    {"command", "", "FilePath", kFilePath},
    {"command", "", "CenterPosBase", kMeterBaseCentre},
    {"command", "", "CenterPosCursor", kMeterCursorCentre},
    {"command", "", "CenterPosTop", kMeterTopCentre},
    {"command", "", "Time", QT_TRANSLATE_NOOP("vesk::ItemDescription", "インターバルをミリ秒で指定します。")},
    {"command", "", "SendCommand", QT_TRANSLATE_NOOP("vesk::ItemDescription", "ファイル取得コマンドをステーションへ送信します。")},
    {"command", "", "ObjectName", QT_TRANSLATE_NOOP("vesk::ItemDescription", "受信したことを通知するオブジェクトの名前")},
    {"dialog", "", "TemplateType", QT_TRANSLATE_NOOP("vesk::ItemDescription", "スケルトンソースコードのテンプレートの種類を決定します。")},
    {"dialog", "", "TargetLayoutWidth", QT_TRANSLATE_NOOP("vesk::ItemDescription", "画面の幅を任意の数値指定。単位'pu'で使用。")},
    {"dialog", "", "TargetLayoutHeight", QT_TRANSLATE_NOOP("vesk::ItemDescription", "画面の高さを任意の数値指定。単位'pu'で使用。")},
    {"dialog", "", "OnOpen", kEvent},
    {"dialog", "", "OnClose", kEvent},
    {"dialog", "", "OnTimer", kEvent},
};

/// The kind of a node and its variant (an object's type, a command's name), as the table keys them.
std::pair<std::string_view, std::string> KindOf(const TekClass& node)
{
    switch (node.Type()) {
    case NodeType::Object:
        return {"object", node.GetItem("Type")};
    case NodeType::Group:
        return {"group", {}};
    case NodeType::HeaderColumn:
        return {"header", {}};
    case NodeType::Command:
        // A command's name stands in the first of these its item set has.
        for (const char* item : {"MakeCommand", "SendCommand", "Command"})
            if (std::string name = node.GetItem(item); !name.empty())
                return {"command", name};
        return {"command", {}};
    case NodeType::Dialog:
        return {"dialog", {}};
    case NodeType::Resource:
    case NodeType::DialogList:
        break;
    }
    return {"resource", {}};
}

} // namespace

QString ItemDescription(const TekClass& node, std::string_view itemName)
{
    const auto [kind, variant] = KindOf(node);
    const char* general = nullptr;
    for (const DescriptionEntry& entry : kDescriptions) {
        if (entry.kind != kind || entry.item != itemName)
            continue;
        if (entry.variant.empty())
            general = entry.text;
        else if (entry.variant == variant)
            return QCoreApplication::translate("vesk::ItemDescription", entry.text);
    }
    return general ? QCoreApplication::translate("vesk::ItemDescription", general) : QString();
}

} // namespace vesk
