#pragma once

#include <string_view>

namespace vesk {

/// The keys that the record readers and the layout look up by number instead of by name: every
/// key of group, object, header column and command records, the structural members and the
/// event names. An item definition knows the number of its name (ItemDef::key).
enum ItemKey : int {
    // Items of groups, objects, header columns and commands.
    kKeyName,
    kKeyAlias,
    kKeyRadioName,
    kKeyType,
    kKeyLayout,
    kKeyWidth,
    kKeyHeight,
    kKeyWeight,
    kKeyPosX,
    kKeyPosY,
    kKeyPadding,
    kKeyMargin,
    kKeyHide,
    kKeyDisable,
    kKeyBGColor,
    kKeyAlign,
    kKeyVertical,
    kKeyTextOff,
    kKeyTextOn,
    kKeyText,
    kKeyTSize,
    kKeyTColor,
    kKeyTAlign,
    kKeyStretch,
    kKeyWrap,
    kKeySpan,
    kKeyFile,
    kKeyFileOff,
    kKeyFileOn,
    kKeyFileBase,
    kKeyFileActive,
    kKeyFileCursor,
    kKeyFileTop,
    kKeyFileThumb,
    kKeyFileSource,
    kKeyFilePath,
    kKeyScaleType,
    kKeyEnablePinch,
    kKeyCenterPosBase,
    kKeyCenterPosCursor,
    kKeyCenterPosTop,
    kKeyPattern,
    kKeyRevers,
    kKeyMin,
    kKeyMax,
    kKeyValue,
    kKeyAttr,
    kKeyColumns,
    kKeyColumnHeight,
    kKeyClickable,
    kKeyData,
    kKeyNotifyList,
    kKeyTime,
    kKeySendCommand,
    kKeyObjectName,
    kKeyEvent,
    kKeyCommand,
    kKeyMakeCommand,
    // Structural members.
    kKeyObjects,
    kKeyObject,
    kKeyHeader,
    kKeyCommands,
    // Event names, in their fixed order.
    kKeyOnClick,
    kKeyOnSlide,
    kKeyOnTouch,
    kKeyOnRelease,
    kKeyOnTimer,
    kKeyOnOpen,
    kKeyOnClose,
    kKeyCount
};

/// The number of a known key; -1 for any other text.
int ItemKeyOf(std::string_view name);
/// The text of a known key.
std::string_view ItemKeyName(int key);

} // namespace vesk
