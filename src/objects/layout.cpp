#include "objects/layout.h"

#include <algorithm>
#include <array>

#include "objects/resourcedata.h"
#include "objects/dialoglayout.h"
#include "objects/objectdata.h"
#include "objects/previewstyle.h"
#include "textconv/textconv.h"

namespace vesk {

using namespace std::string_view_literals;

namespace {

/// The number of bytes of a Shift_JIS text's first character, 0 for an empty text (a lead byte
/// and the byte after it are one character).
size_t FirstCharacterLength(std::string_view text)
{
    if (text.empty())
        return 0;
    return IsShiftJisLeadByte(static_cast<unsigned char>(text[0])) && text.size() > 1 ? 2 : 1;
}

} // namespace

DeviceSize DeviceSizeOf(const CTekResourceData& resource)
{
    DeviceSize size;
    const int width = LeadingInteger(resource.GetItem("DeviceWidth"));
    const int height = LeadingInteger(resource.GetItem("DeviceHeight"));
    if (width > 0)
        size.width = width;
    if (height > 0)
        size.height = height;
    return size;
}

int ParseAlign(std::string_view text)
{
    const size_t start = text.find_first_not_of('|');
    text = start == std::string_view::npos ? std::string_view() : text.substr(start);
    const size_t bar = text.find('|');
    std::string_view first = text.substr(0, bar);
    std::string_view second = bar == std::string_view::npos ? std::string_view() : text.substr(bar + 1);
    if (second.empty())
        second = first;
    const int horizontal = first == "CENTER" ? 1 : first == "RIGHT" ? 2 : 0;
    const int vertical = second == "MIDDLE" ? 1 : second == "BOTTOM" ? 2 : 0;
    return horizontal + 3 * vertical;
}

ObjectLabel LabelOf(const CObjectData& object)
{
    // One walk over the items: the first item of each name counts.
    const std::string* name = nullptr;
    const std::string* type = nullptr;
    const std::string* text = nullptr;
    const std::string* textOn = nullptr;
    const std::string* file = nullptr;
    for (const auto& item : object.Items()) {
        const std::string_view itemName = item->Name();
        const std::string** slot = itemName == "Name"sv     ? &name
                                   : itemName == "Type"sv   ? &type
                                   : itemName == "Text"sv   ? &text
                                   : itemName == "TextOn"sv ? &textOn
                                   : itemName == "File"sv   ? &file
                                                            : nullptr;
        if (slot && !*slot)
            *slot = &item->Value();
    }
    const std::string_view typeText = type ? std::string_view(*type) : std::string_view();
    const std::string_view shownItem = layout_detail::ShownTextItem(typeText);
    const std::string* shown = shownItem == "Text"     ? text
                               : shownItem == "TextOn" ? textOn
                               : shownItem == "File"   ? file
                                                       : nullptr;

    ObjectLabel label;
    label.tag = layout_detail::TypeTagOf(typeText);
    layout_detail::ComposeLabelLine(label.line, name, shown);
    return label;
}

LayoutStart PrepareLayout(const CTekDialogData& dialog, DeviceSize device, int width, int height)
{
    LayoutStart start;
    LayoutContext& context = start.context;
    context.targetWidth = LeadingInteger(dialog.GetItem("TargetLayoutWidth"));
    context.targetHeight = LeadingInteger(dialog.GetItem("TargetLayoutHeight"));
    if (context.targetWidth <= 0 || context.targetHeight <= 0) {
        context.targetWidth = 100;
        context.targetHeight = 100;
    }
    context.deviceWidth = device.width > 0 ? device.width : 1024;
    context.deviceHeight = device.height > 0 ? device.height : 800;
    context.previewWidth = ClampToInt(int64_t{width} - 10);
    context.previewHeight = ClampToInt(int64_t{height} - 10);
    const int pw = context.previewWidth;
    const int ph = context.previewHeight;
    start.contentSize = pw < ph ? std::min(pw / 12, ph / 16) : std::min(pw / 16, ph / 12);
    return start;
}

void LayOutDialog(const CTekDialogData& dialog, DeviceSize device, DrawingSurface& surface, int width, int height)
{
    BoxPreviewStyle().Paint(ComputeLayout(dialog, device, {width, height}), surface);
}

namespace layout_detail {

namespace {

using Shown = TypeLook::Shown;
constexpr std::pair<std::string_view, TypeLook> kLooks[] = {
    {"TEXT", {"TXT", Shown::Text}},      {"EDIT", {"EDIT", Shown::Text}},     {"BUTTON", {"BTN", Shown::Text}},
    {"CHECKBOX", {"CHK", Shown::Text}},  {"RADIOBTN", {"RADO", Shown::Text}}, {"TOGGLE", {"TOGL", Shown::TextOn}},
    {"GRID", {"GRID", Shown::None}},     {"PULLDOWN", {"PDWN", Shown::None}}, {"PROGRESS", {"PROG", Shown::None}},
    {"SLIDEBAR", {"SLID", Shown::None}}, {"PICTURE", {"PIC", Shown::File}},   {"METER", {"METR", Shown::File}},
};

/// The only entry of kLooks that a type of at least two bytes can be, by its length and first bytes.
constexpr size_t LookSlot(std::string_view type)
{
    return (type.size() * 2 + static_cast<unsigned char>(type[0]) * 4 + static_cast<unsigned char>(type[1])) % 32;
}

/// Index + 1 into kLooks of each slot; 0 where no known type lands.
constexpr std::array<uint8_t, 32> kLookOfSlot = [] {
    std::array<uint8_t, 32> slots{};
    for (size_t i = 0; i < std::size(kLooks); ++i) {
        uint8_t& slot = slots[LookSlot(kLooks[i].first)];
        if (slot != 0)
            throw "two known types share a slot";
        slot = static_cast<uint8_t>(i + 1);
    }
    return slots;
}();

} // namespace

TypeLook LookOfType(std::string_view type)
{
    if (type.size() >= 2)
        if (const int entry = kLookOfSlot[LookSlot(type)]; entry > 0 && kLooks[entry - 1].first == type)
            return kLooks[entry - 1].second;
    return {type, Shown::None};
}

std::string_view ShownTextItem(std::string_view type)
{
    switch (LookOfType(type).shown) {
    case TypeLook::Shown::Text:
        return "Text";
    case TypeLook::Shown::TextOn:
        return "TextOn";
    case TypeLook::Shown::File:
        return "File";
    case TypeLook::Shown::None:
        break;
    }
    return {};
}

std::string_view TypeTagOf(std::string_view type)
{
    return LookOfType(type).tag;
}

void ComposeLabelLine(std::string& line, const std::string* name, const std::string* shown)
{
    line.clear();
    AppendLabelLine(line, name, shown);
}

void AppendLabelLine(std::string& out, const std::string* name, const std::string* shown)
{
    const bool named = name && !name->empty();
    const std::string_view shownText = shown ? std::string_view(*shown) : std::string_view();
    if (named)
        out += *name;
    // The part after the name is dropped when it has at most one character: with a name, when
    // the text is empty; without, when the text's first character is all of it.
    const bool kept = named ? !shownText.empty() : shownText.size() > FirstCharacterLength(shownText);
    if (kept) {
        if (named)
            out += ':';
        out += shownText;
    }
}

} // namespace layout_detail

} // namespace vesk
