#include "referencelayout.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "objects/resourcedata.h"
#include "objects/dialoglayout.h"
#include "objects/previewstyle.h"
#include "textconv/textconv.h"

namespace vesk::test {

namespace {

// Colours and font heights as the rules give them.
constexpr RgbColor kWhite{255, 255, 255};
constexpr RgbColor kBlack{0, 0, 0};
constexpr RgbColor kLightRed{255, 200, 200};
constexpr RgbColor kRed{255, 0, 0};
constexpr RgbColor kGrey{128, 128, 128};
constexpr int kTagHeight = 9;
constexpr int kLineHeight = 12;

/// What every node of one layout shares.
struct Shared {
    LayoutContext context;
    int t = 0; ///< the content size: a content box is t high and ⌊1.3 t⌋ wide
    std::vector<ReferencePlacement>* placements = nullptr;
};

int ContentWidth(int t)
{
    return static_cast<int>(t * 1.3);
}

int Weight(const CObjectData& node)
{
    return LeadingInteger(node.GetItem("Weight"));
}

bool OwnVertical(const CObjectData& node)
{
    return node.GetItem("Vertical") == "true";
}

bool Stacks(const CObjectDataList& group)
{
    const int layout = group.LayoutCode();
    return layout != LAYOUT_FRAME && layout != LAYOUT_RELATIVE;
}

int WeightSum(const CObjectDataList& group)
{
    int64_t sum = 0;
    for (const ObjectPtr& child : group.Children())
        sum += Weight(*child);
    return ClampToInt(sum);
}

/// 'Width' and 'Height' in preview pixels, PARENT replaced by the available size (CONTENT stays -2).
LayoutSize ItemSize(const CObjectData& node, int availableWidth, int availableHeight, const Shared& shared)
{
    OrbUnit unit;
    unit.SetContext(shared.context);
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

/// A CONTENT length becomes the available one when 0 <= it < limit, else the limit.
int Content(int value, int available, int limit)
{
    if (value != kLengthContent)
        return value;
    return 0 <= available && available < limit ? available : limit;
}

/// What a zero length becomes: the available one when 0 < it < limit, else the limit.
int Zero(int available, int limit)
{
    return 0 < available && available < limit ? available : limit;
}

// --- Labels ------------------------------------------------------------------------------------

std::string TagOf(const std::string& type)
{
    static const std::pair<const char*, const char*> kTags[] = {
        {"TEXT", "TXT"},      {"EDIT", "EDIT"},     {"BUTTON", "BTN"},  {"CHECKBOX", "CHK"},
        {"RADIOBTN", "RADO"}, {"TOGGLE", "TOGL"},   {"GRID", "GRID"},   {"PULLDOWN", "PDWN"},
        {"PROGRESS", "PROG"}, {"SLIDEBAR", "SLID"}, {"PICTURE", "PIC"}, {"METER", "METR"},
    };
    for (const auto& [name, tag] : kTags)
        if (type == name)
            return tag;
    return type;
}

std::string ShownTextOf(const CObjectData& object)
{
    const std::string& type = object.GetItem("Type");
    if (type == "TEXT" || type == "EDIT" || type == "BUTTON" || type == "CHECKBOX" || type == "RADIOBTN")
        return object.GetItem("Text");
    if (type == "TOGGLE")
        return object.GetItem("TextOn");
    if (type == "PICTURE" || type == "METER")
        return object.GetItem("File");
    return {};
}

/// The number of characters of a Shift_JIS text: a lead byte and the byte after it are one.
size_t Characters(std::string_view text)
{
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++count)
        i += IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    return count;
}

std::string LabelLineOf(const CObjectData& object)
{
    const std::string& name = object.GetItem("Name");
    std::string s = (name.empty() ? "" : ":") + ShownTextOf(object);
    if (Characters(s) <= 1)
        s.clear();
    return name + s;
}

// --- Measure and Arrange -----------------------------------------------------------------------

LayoutSize Measure(const CObjectData& node, int availableWidth, int availableHeight, bool vertical,
                   const Shared& shared, int whole);

LayoutSize MeasureObject(const CObjectData& object, int availableWidth, int availableHeight, bool vertical,
                         const Shared& shared)
{
    LayoutSize size = ItemSize(object, availableWidth, availableHeight, shared);
    size.width = Content(size.width, availableWidth, ContentWidth(shared.t));
    size.height = Content(size.height, availableHeight, shared.t);
    if (Weight(object) > 0)
        (vertical ? size.height : size.width) = 0;
    return size;
}

LayoutSize MeasureGroup(const CObjectDataList& group, int availableWidth, int availableHeight, bool vertical,
                        const Shared& shared, int whole)
{
    LayoutSize size = ItemSize(group, availableWidth, availableHeight, shared);
    if (whole == 0 && Weight(group) > 0)
        (vertical ? size.height : size.width) = 0;
    const bool own = OwnVertical(group);
    const bool stacks = Stacks(group);
    const int weightSum = WeightSum(group);
    if (size.width == kLengthContent || (whole == 1 && weightSum != 0 && !own)) {
        int64_t sum = 0;
        int largest = 0;
        for (const ObjectPtr& child : group.Children()) {
            int width = Measure(*child, size.width, size.height, own, shared, 0).width;
            if (width == 0 && whole == 0)
                width = Zero(availableWidth, ContentWidth(shared.t));
            sum += width;
            largest = std::max(largest, width);
        }
        size.width = !own && stacks ? ClampToInt(sum) : largest;
    }
    if (size.height == kLengthContent || (whole == 1 && weightSum != 0 && own)) {
        int64_t sum = 0;
        int largest = 0;
        for (const ObjectPtr& child : group.Children()) {
            int height = Measure(*child, size.width, size.height, own, shared, 0).height;
            if (height == 0 && whole == 0)
                height = Zero(availableHeight, shared.t);
            sum += height;
            largest = std::max(largest, height);
        }
        size.height = own && stacks ? ClampToInt(sum) : largest;
    }
    return size;
}

LayoutSize Measure(const CObjectData& node, int availableWidth, int availableHeight, bool vertical,
                   const Shared& shared, int whole)
{
    if (node.IsGroup())
        return MeasureGroup(static_cast<const CObjectDataList&>(node), availableWidth, availableHeight, vertical,
                            shared, whole);
    return MeasureObject(node, availableWidth, availableHeight, vertical, shared);
}

LayoutSize Arrange(CObjectData& node, DrawingSurface& surface, int x, int y, int availableWidth, int availableHeight,
                   bool vertical, int weightUnit, const Shared& shared, int pass);

LayoutSize ArrangeObject(CObjectData& object, DrawingSurface& surface, int x, int y, int availableWidth,
                         int availableHeight, bool vertical, int weightUnit, const Shared& shared, int pass)
{
    const int contentWidth = ContentWidth(shared.t);
    LayoutSize size = ItemSize(object, availableWidth, availableHeight, shared);
    size.width = Content(size.width, availableWidth, contentWidth);
    size.height = Content(size.height, availableHeight, shared.t);
    if (const int weight = Weight(object); weight != 0)
        (vertical ? size.height : size.width) = ClampToInt(int64_t{weight} * weightUnit);
    if (size.width == 0)
        size.width = Zero(availableWidth, contentWidth);
    if (size.height == 0)
        size.height = Zero(availableHeight, shared.t);

    const bool marked = object.GetMark() != 0;
    bool drawn = false;
    if (pass == 0 && !marked) {
        surface.FillRect(x, y, size.width, size.height, kWhite);
        surface.FrameRect(x, y, size.width, size.height, kBlack);
        drawn = true;
    } else if (pass == 1 && marked) {
        surface.FillRect(x, y, size.width, size.height, kLightRed);
        surface.FrameRect(x, y, size.width, size.height, kRed);
        drawn = true;
    }
    if (pass == 0)
        shared.placements->push_back(
            {&object, {x, y, ClampToInt(int64_t{x} + size.width), ClampToInt(int64_t{y} + size.height)}});
    if (drawn) {
        const int innerWidth = ClampToInt(int64_t{size.width} - 2);
        const int innerHeight = ClampToInt(int64_t{size.height} - 2);
        surface.DrawText(TagOf(object.GetItem("Type")), ClampToInt(int64_t{x} + 4), ClampToInt(int64_t{y} + 1),
                         innerWidth, innerHeight, kTagHeight, false);
        surface.DrawText(LabelLineOf(object), ClampToInt(int64_t{x} + 1), ClampToInt(int64_t{y} + 5), innerWidth,
                         innerHeight, kLineHeight, true);
    }
    return size;
}

LayoutSize ArrangeGroup(CObjectDataList& group, DrawingSurface& surface, int x, int y, int availableWidth,
                        int availableHeight, bool vertical, int weightUnit, const Shared& shared, int pass)
{
    LayoutSize size = ItemSize(group, availableWidth, availableHeight, shared);
    if (const int weight = Weight(group); weight != 0)
        (vertical ? size.height : size.width) = ClampToInt(int64_t{weight} * weightUnit);
    const bool own = OwnVertical(group);
    const int weightSum = WeightSum(group);

    const LayoutSize first = MeasureGroup(group, kLengthContent, kLengthContent, vertical, shared, 1);
    int offsetX = 0;
    int offsetY = 0;
    if (weightSum == 0) {
        const int align = ParseAlign(group.GetItem("Align"));
        if (!own && size.width != kLengthContent && size.width > first.width) {
            const int spare = ClampToInt(int64_t{size.width} - first.width);
            offsetX = align % 3 == 1 ? spare / 2 : align % 3 == 2 ? spare : 0;
        } else if (own && size.height != kLengthContent && size.height > first.height) {
            const int spare = ClampToInt(int64_t{size.height} - first.height);
            offsetY = align / 3 == 1 ? spare / 2 : align / 3 == 2 ? spare : 0;
        }
    }
    const LayoutSize second = MeasureGroup(group, size.width, size.height, vertical, shared, 1);
    int childWeightUnit = 0;
    if (weightSum > 0) {
        if (!own && size.width != kLengthContent && size.width > second.width)
            childWeightUnit = ClampToInt(int64_t{size.width} - second.width) / weightSum;
        else if (own && size.height != kLengthContent && size.height > second.height)
            childWeightUnit = ClampToInt(int64_t{size.height} - second.height) / weightSum;
    }
    if (size.width == kLengthContent)
        size.width = second.width;
    if (size.height == kLengthContent)
        size.height = second.height;

    const bool marked = group.GetMark() != 0;
    if (pass == 1 && marked)
        surface.FrameRect(x, y, size.width, size.height, kRed);
    else if (pass == 0 && !marked)
        surface.FrameRect(x, y, size.width, size.height, kGrey);
    x = ClampToInt(int64_t{x} + offsetX);
    y = ClampToInt(int64_t{y} + offsetY);

    if (!Stacks(group)) {
        for (const ObjectPtr& child : group.Children())
            Arrange(*child, surface, x, y, size.width, size.height, own, childWeightUnit, shared, pass);
        return size;
    }
    int64_t along = 0;
    for (const ObjectPtr& child : group.Children()) {
        const int childX = own ? x : ClampToInt(x + along);
        const int childY = own ? ClampToInt(y + along) : y;
        const LayoutSize taken =
            Arrange(*child, surface, childX, childY, size.width, size.height, own, childWeightUnit, shared, pass);
        along += own ? taken.height : taken.width;
    }
    return own ? LayoutSize{size.width, ClampToInt(along)} : LayoutSize{ClampToInt(along), size.height};
}

LayoutSize Arrange(CObjectData& node, DrawingSurface& surface, int x, int y, int availableWidth, int availableHeight,
                   bool vertical, int weightUnit, const Shared& shared, int pass)
{
    if (node.IsGroup())
        return ArrangeGroup(static_cast<CObjectDataList&>(node), surface, x, y, availableWidth, availableHeight,
                            vertical, weightUnit, shared, pass);
    return ArrangeObject(node, surface, x, y, availableWidth, availableHeight, vertical, weightUnit, shared, pass);
}

} // namespace

std::vector<ReferencePlacement> ReferenceLayout(const CTekDialogData& dialog, DeviceSize device,
                                                DrawingSurface& surface, int width, int height)
{
    std::vector<ReferencePlacement> placements;
    CObjectDataList* root = dialog.RootGroup();
    if (!root)
        return placements;
    Shared shared;
    LayoutContext& context = shared.context;
    context.targetWidth = LeadingInteger(dialog.GetItem("TargetLayoutWidth"));
    context.targetHeight = LeadingInteger(dialog.GetItem("TargetLayoutHeight"));
    if (context.targetWidth <= 0 || context.targetHeight <= 0)
        context.targetWidth = context.targetHeight = 100;
    context.deviceWidth = device.width > 0 ? device.width : 1024;
    context.deviceHeight = device.height > 0 ? device.height : 800;
    const int pw = ClampToInt(int64_t{width} - 10);
    const int ph = ClampToInt(int64_t{height} - 10);
    context.previewWidth = pw;
    context.previewHeight = ph;
    shared.t = pw < ph ? std::min(pw / 12, ph / 16) : std::min(pw / 16, ph / 12);
    shared.placements = &placements;

    surface.FillRect(5, 5, pw, ph, kWhite);
    for (int pass = 0; pass < 2; ++pass)
        Arrange(*root, surface, 5, 5, pw, ph, false, -1, shared, pass);
    return placements;
}

void ReferenceLayOutDialog(const CTekDialogData& dialog, DeviceSize device, DrawingSurface& surface, int width,
                           int height)
{
    for (const ReferencePlacement& placement : ReferenceLayout(dialog, device, surface, width, height))
        placement.object->SetLayoutRect(placement.rect);
}

void LayOutAndStoreRects(const CTekDialogData& dialog, DeviceSize device, DrawingSurface& surface, int width,
                         int height)
{
    const DialogLayout layout = ComputeLayout(dialog, device, {width, height});
    BoxPreviewStyle().Paint(layout, surface);
    StoreLayoutRects(layout);
}

} // namespace vesk::test
