#include "model/itemkeys.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vesk {

namespace {

constexpr std::string_view kKeyNames[kKeyCount] = {
    "Name",         "Alias",      "RadioName",   "Type",          "Layout",
    "Width",        "Height",     "Weight",      "PosX",          "PosY",
    "Padding",      "Margin",     "Hide",        "Disable",       "BGColor",
    "Align",        "Vertical",   "TextOff",     "TextOn",        "Text",
    "TSize",        "TColor",     "TAlign",      "Stretch",       "Wrap",
    "Span",         "File",       "FileOff",     "FileOn",        "FileBase",
    "FileActive",   "FileCursor", "FileTop",     "FileThumb",     "FileSource",
    "FilePath",     "ScaleType",  "EnablePinch", "CenterPosBase", "CenterPosCursor",
    "CenterPosTop", "Pattern",    "Revers",      "Min",           "Max",
    "Value",        "Attr",       "Columns",     "ColumnHeight",  "Clickable",
    "Data",         "NotifyList", "Time",        "SendCommand",   "ObjectName",
    "Event",        "Command",    "MakeCommand", "Objects",       "Object",
    "Header",       "Commands",   "OnClick",     "OnSlide",       "OnTouch",
    "OnRelease",    "OnTimer",    "OnOpen",      "OnClose",
};

constexpr size_t kSlots = 512;

constexpr size_t Hash(std::string_view name)
{
    if (name.empty())
        return 0;
    const auto first = static_cast<unsigned char>(name.front());
    const auto last = static_cast<unsigned char>(name.back());
    const auto middle = static_cast<unsigned char>(name[name.size() / 2]);
    return (name.size() * 131 + first * 7 + last * 31 + middle * 17) % kSlots;
}

/// Open addressing: each slot holds a key number + 1, or 0 when empty.
constexpr std::array<uint8_t, kSlots> kTable = [] {
    std::array<uint8_t, kSlots> table{};
    for (int key = 0; key < kKeyCount; ++key) {
        size_t slot = Hash(kKeyNames[key]);
        while (table[slot] != 0)
            slot = (slot + 1) % kSlots;
        table[slot] = static_cast<uint8_t>(key + 1);
    }
    return table;
}();

/// Eight bytes (or four) of a text from p on, in memory order.
uint64_t Load8(const char* p)
{
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}
uint32_t Load4(const char* p)
{
    uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

/// True when two texts of the same size are equal, comparing words where the size allows.
bool SameText(const char* a, const char* b, size_t size)
{
    if (size >= 8)
        return Load8(a) == Load8(b) && Load8(a + size - 8) == Load8(b + size - 8) &&
               (size <= 16 || std::memcmp(a + 8, b + 8, size - 16) == 0);
    if (size >= 4)
        return Load4(a) == Load4(b) && Load4(a + size - 4) == Load4(b + size - 4);
    for (size_t i = 0; i < size; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

} // namespace

int ItemKeyOf(std::string_view name)
{
    for (size_t slot = Hash(name);; slot = (slot + 1) % kSlots) {
        const int entry = kTable[slot];
        if (entry == 0)
            return -1;
        const std::string_view known = kKeyNames[entry - 1];
        if (known.size() == name.size() && SameText(known.data(), name.data(), name.size()))
            return entry - 1;
    }
}

std::string_view ItemKeyName(int key)
{
    return kKeyNames[key];
}

} // namespace vesk
