#include "objects/layout.h"

#include <algorithm>
#include <array>

#include "model/resourcedata.h"
#include "objects/objectdata.h"
#include "textconv/textconv.h"

namespace vesk {

using namespace std::string_view_literals;
using layout_detail::ContentWidth;
using layout_detail::ResolveContent;
using layout_detail::ZeroLength;

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

void LayOutDialogReference(const CTekDialogData& dialog, DeviceSize device, DrawingSurface& surface, int width,
                           int height)
{
    CObjectDataList* root = dialog.RootGroup();
    if (!root)
        return;
    const LayoutStart start = PrepareLayout(dialog, device, width, height);
    const LayoutContext& context = start.context;
    surface.FillRect(5, 5, context.previewWidth, context.previewHeight, kDialogBackgroundColor);
    for (int pass = 0; pass < 2; ++pass)
        root->Arrange(surface, 5, 5, context.previewWidth, context.previewHeight, false, -1, context, start.contentSize,
                      pass);
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

// --- The nodes' own layout operations ---------------------------------------------------------

namespace {

/// 'Width' and 'Height' in preview pixels (-1 PARENT, -2 CONTENT), PARENT replaced by the
/// available size.
LayoutSize SizeFromItems(const CObjectData& node, int availableWidth, int availableHeight, const LayoutContext& context)
{
    OrbUnit unit;
    unit.SetAvailable(availableWidth, availableHeight);
    unit.SetContext(context);
    unit.ParseUnit(node.GetItem("Width"));
    LayoutSize size{unit.ToPixelsX(), 0};
    unit.ParseUnit(node.GetItem("Height"));
    size.height = unit.ToPixelsY();
    if (size.width == kLengthParent)
        size.width = availableWidth;
    if (size.height == kLengthParent)
        size.height = availableHeight;
    return size;
}

int WeightOf(const CObjectData& node)
{
    return LeadingInteger(node.GetItem("Weight"));
}

bool IsVertical(const CObjectData& node)
{
    return node.GetItem("Vertical") == "true";
}

int WeightSum(const CObjectDataList& group)
{
    int64_t sum = 0;
    for (const ObjectPtr& child : group.Children())
        sum += WeightOf(*child);
    return ClampToInt(sum);
}

bool StacksChildren(int layout)
{
    return layout != LAYOUT_FRAME && layout != LAYOUT_RELATIVE;
}

} // namespace

LayoutSize CObjectData::Measure(int availableWidth, int availableHeight, bool vertical, const LayoutContext& context,
                                int contentSize, int /*whole*/)
{
    LayoutSize size = SizeFromItems(*this, availableWidth, availableHeight, context);
    size.width = ResolveContent(size.width, availableWidth, ContentWidth(contentSize));
    size.height = ResolveContent(size.height, availableHeight, contentSize);
    if (WeightOf(*this) > 0)
        (vertical ? size.height : size.width) = 0;
    return size;
}

LayoutSize CObjectData::Arrange(DrawingSurface& surface, int x, int y, int availableWidth, int availableHeight,
                                bool vertical, int weightUnit, const LayoutContext& context, int contentSize, int pass)
{
    const int contentWidth = ContentWidth(contentSize);
    LayoutSize size = SizeFromItems(*this, availableWidth, availableHeight, context);
    size.width = ResolveContent(size.width, availableWidth, contentWidth);
    size.height = ResolveContent(size.height, availableHeight, contentSize);
    if (const int weight = WeightOf(*this); weight != 0)
        (vertical ? size.height : size.width) = ClampToInt(int64_t{weight} * weightUnit);
    if (size.width == 0)
        size.width = ZeroLength(availableWidth, contentWidth);
    if (size.height == 0)
        size.height = ZeroLength(availableHeight, contentSize);
    if (layout_detail::DrawObjectBox(surface, m_mark != 0, x, y, size.width, size.height, pass)) {
        const ObjectLabel label = LabelOf(*this);
        layout_detail::DrawObjectLabels(surface, label.tag, label.line, x, y, size.width, size.height);
    }
    m_layoutRect = {x, y, ClampToInt(int64_t{x} + size.width), ClampToInt(int64_t{y} + size.height)};
    return size;
}

LayoutSize CObjectDataList::Measure(int availableWidth, int availableHeight, bool vertical,
                                    const LayoutContext& context, int contentSize, int whole)
{
    const int contentWidth = ContentWidth(contentSize);
    LayoutSize size = SizeFromItems(*this, availableWidth, availableHeight, context);
    if (whole == 0 && WeightOf(*this) > 0)
        (vertical ? size.height : size.width) = 0;
    const bool ownVertical = IsVertical(*this);
    const bool stacks = StacksChildren(LayoutCode());
    const int weightSum = WeightSum(*this);
    if (size.width == kLengthContent || (whole == 1 && weightSum != 0 && !ownVertical)) {
        int64_t sum = 0;
        int largest = 0;
        for (const ObjectPtr& child : m_children) {
            int width = child->Measure(size.width, size.height, ownVertical, context, contentSize, 0).width;
            if (width == 0 && whole == 0)
                width = ZeroLength(availableWidth, contentWidth);
            sum += width;
            largest = std::max(largest, width);
        }
        size.width = !ownVertical && stacks ? ClampToInt(sum) : largest;
    }
    if (size.height == kLengthContent || (whole == 1 && weightSum != 0 && ownVertical)) {
        int64_t sum = 0;
        int largest = 0;
        for (const ObjectPtr& child : m_children) {
            int height = child->Measure(size.width, size.height, ownVertical, context, contentSize, 0).height;
            if (height == 0 && whole == 0)
                height = ZeroLength(availableHeight, contentSize);
            sum += height;
            largest = std::max(largest, height);
        }
        size.height = ownVertical && stacks ? ClampToInt(sum) : largest;
    }
    return size;
}

LayoutSize CObjectDataList::Arrange(DrawingSurface& surface, int x, int y, int availableWidth, int availableHeight,
                                    bool vertical, int weightUnit, const LayoutContext& context, int contentSize,
                                    int pass)
{
    LayoutSize size = SizeFromItems(*this, availableWidth, availableHeight, context);
    if (const int weight = WeightOf(*this); weight != 0)
        (vertical ? size.height : size.width) = ClampToInt(int64_t{weight} * weightUnit);
    const bool ownVertical = IsVertical(*this);
    const int weightSum = WeightSum(*this);

    const LayoutSize first = Measure(kLengthContent, kLengthContent, vertical, context, contentSize, 1);
    int offsetX = 0;
    int offsetY = 0;
    if (weightSum == 0) {
        const int align = ParseAlign(GetItem("Align"));
        if (!ownVertical && size.width != kLengthContent && size.width > first.width) {
            const int spare = ClampToInt(int64_t{size.width} - first.width);
            offsetX = align % 3 == 1 ? spare / 2 : align % 3 == 2 ? spare : 0;
        } else if (ownVertical && size.height != kLengthContent && size.height > first.height) {
            const int spare = ClampToInt(int64_t{size.height} - first.height);
            offsetY = align / 3 == 1 ? spare / 2 : align / 3 == 2 ? spare : 0;
        }
    }
    const LayoutSize second = Measure(size.width, size.height, vertical, context, contentSize, 1);
    int childWeightUnit = 0;
    if (weightSum > 0) {
        if (!ownVertical && size.width != kLengthContent && size.width > second.width)
            childWeightUnit = ClampToInt(int64_t{size.width} - second.width) / weightSum;
        else if (ownVertical && size.height != kLengthContent && size.height > second.height)
            childWeightUnit = ClampToInt(int64_t{size.height} - second.height) / weightSum;
    }
    if (size.width == kLengthContent)
        size.width = second.width;
    if (size.height == kLengthContent)
        size.height = second.height;
    layout_detail::DrawGroupFrame(surface, m_mark != 0, x, y, size.width, size.height, pass);
    x = ClampToInt(int64_t{x} + offsetX);
    y = ClampToInt(int64_t{y} + offsetY);

    if (!StacksChildren(LayoutCode())) {
        for (const ObjectPtr& child : m_children)
            child->Arrange(surface, x, y, size.width, size.height, ownVertical, childWeightUnit, context, contentSize,
                           pass);
        return size;
    }
    int64_t along = 0;
    for (const ObjectPtr& child : m_children) {
        const int childX = ownVertical ? x : ClampToInt(x + along);
        const int childY = ownVertical ? ClampToInt(y + along) : y;
        const LayoutSize taken = child->Arrange(surface, childX, childY, size.width, size.height, ownVertical,
                                                childWeightUnit, context, contentSize, pass);
        along += ownVertical ? taken.height : taken.width;
    }
    return ownVertical ? LayoutSize{size.width, ClampToInt(along)} : LayoutSize{ClampToInt(along), size.height};
}

} // namespace vesk
