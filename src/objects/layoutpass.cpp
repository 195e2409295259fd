// The layout of a whole dialog in one pass over a flattened copy of its tree. Every node's
// items are read once, and each group remembers its Measure answers for the arguments it has
// been asked with, so a subtree is measured once per distinct question instead of once per
// path that leads to it. The arithmetic is that of the nodes' own Measure and Arrange.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/itemkeys.h"
#include "model/resourcedata.h"
#include "objects/layout.h"
#include "objects/objectdata.h"

namespace vesk {

using namespace std::string_view_literals;
using layout_detail::ContentWidth;
using layout_detail::ResolveContent;
using layout_detail::ZeroLength;

namespace {

/// One remembered Measure answer of a group; a group's answers form a list in one pool.
struct MeasureMemo {
    int availableWidth;
    int availableHeight;
    int flags;
    LayoutSize answer;
    uint32_t next;
};

constexpr uint32_t kNoMemo = UINT32_MAX;

struct FlatNode {
    CObjectData* node = nullptr;
    bool group = false;
    bool marked = false;
    int width = kLengthContent; ///< in pixels, PARENT and CONTENT kept as codes
    int height = kLengthContent;
    int weight = 0;
    // Objects only: the labels (each object is drawn once, in one of the two passes).
    std::string_view tag;
    uint32_t lineBegin = 0; ///< the label line in the pass's text store
    uint32_t lineLength = 0;
    // Groups only.
    bool ownVertical = false;
    bool stacks = true;
    int align = 0;
    int weightSum = 0;
    uint32_t childBegin = 0;
    uint32_t childEnd = 0;
    uint32_t memo = kNoMemo; ///< the group's newest remembered answer in the pool
};

constexpr unsigned Bit(int slot)
{
    return 1u << slot;
}

/// The first value of each item a node's layout reads, found in one walk over its items.
struct LayoutItems {
    enum Slot { Width, Height, Weight, Vertical, Layout, Align, Name, Type, Text, TextOn, File, SlotCount };
    const std::string* value[SlotCount] = {};

    std::string_view TextOf(Slot slot) const
    {
        return value[slot] ? std::string_view(*value[slot]) : std::string_view();
    }

    static constexpr unsigned ObjectSlots = Bit(Width) | Bit(Height) | Bit(Weight) | Bit(Name) | Bit(Type);
    static constexpr unsigned GroupSlots =
        Bit(Width) | Bit(Height) | Bit(Weight) | Bit(Vertical) | Bit(Layout) | Bit(Align);

    /// The bit of the item that shows an object's text for its type, 0 when it shows none.
    static unsigned ShownSlotBit(std::string_view type)
    {
        const std::string_view item = layout_detail::ShownTextItem(type);
        return item == "Text"sv ? Bit(Text) : item == "TextOn"sv ? Bit(TextOn) : item == "File"sv ? Bit(File) : 0;
    }

    /// The slot of an item, by the number of its name.
    static int SlotOf(const ItemDef& def)
    {
        switch (def.key) {
        case kKeyName:
            return Name;
        case kKeyType:
            return Type;
        case kKeyText:
            return Text;
        case kKeyFile:
            return File;
        case kKeyWidth:
            return Width;
        case kKeyAlign:
            return Align;
        case kKeyHeight:
            return Height;
        case kKeyWeight:
            return Weight;
        case kKeyLayout:
            return Layout;
        case kKeyTextOn:
            return TextOn;
        case kKeyVertical:
            return Vertical;
        default:
            return -1;
        }
    }
};

/// Starts loading the values that the layout reads of a node's items, which lie apart in
/// memory, all at once rather than one by one.
void PrefetchItems(const CObjectData& node)
{
    for (const auto& item : node.Items())
        if (LayoutItems::SlotOf(item->Def()) >= 0)
            __builtin_prefetch(&item->Value());
}

size_t CountNodes(const CObjectData& node)
{
    size_t count = 1;
    if (node.IsGroup())
        for (const ObjectPtr& child : static_cast<const CObjectDataList&>(node).Children())
            count += CountNodes(*child);
    return count;
}

class LayoutPass {
public:
    LayoutPass(CObjectDataList& root, const LayoutStart& start)
        : m_context(start.context), m_contentSize(start.contentSize), m_contentWidth(ContentWidth(start.contentSize))
    {
        const size_t count = CountNodes(root);
        m_nodes.reserve(count);
        m_children.reserve(count);
        Flatten(root);
    }

    LayoutSize Arrange(DrawingSurface& surface, uint32_t index, int x, int y, int availableWidth, int availableHeight,
                       bool vertical, int weightUnit, int pass);

private:
    uint32_t Flatten(CObjectData& node);
    LayoutSize Measure(uint32_t index, int availableWidth, int availableHeight, bool vertical, int whole);
    LayoutSize MeasureGroup(const FlatNode& group, int availableWidth, int availableHeight, bool vertical, int whole);

    LayoutContext m_context;
    int m_contentSize;
    int m_contentWidth;
    std::vector<FlatNode> m_nodes;
    std::vector<uint32_t> m_children;
    std::vector<MeasureMemo> m_memos;
    std::string m_lines; ///< the label lines of all objects, one after the other
    std::string m_line;  ///< the label line being composed
};

uint32_t LayoutPass::Flatten(CObjectData& node)
{
    const auto index = static_cast<uint32_t>(m_nodes.size());
    FlatNode flat;
    flat.node = &node;
    flat.group = node.IsGroup();
    flat.marked = node.GetMark() != 0;
    // Only the first item of each name counts, so the walk stops once every item the node's
    // layout and labels read has been met.
    LayoutItems items;
    unsigned wanted = flat.group ? LayoutItems::GroupSlots : LayoutItems::ObjectSlots;
    unsigned met = 0;
    for (const auto& item : node.Items()) {
        const int slot = LayoutItems::SlotOf(item->Def());
        if (slot < 0 || items.value[slot])
            continue;
        items.value[slot] = &item->Value();
        met |= Bit(slot);
        if (slot == LayoutItems::Type && !flat.group)
            wanted |= LayoutItems::ShownSlotBit(*items.value[slot]);
        if ((met & wanted) == wanted)
            break;
    }
    OrbUnit unit;
    unit.SetContext(m_context);
    unit.ParseUnit(items.TextOf(LayoutItems::Width));
    flat.width = unit.ToPixelsX();
    unit.ParseUnit(items.TextOf(LayoutItems::Height));
    flat.height = unit.ToPixelsY();
    flat.weight = LeadingInteger(items.TextOf(LayoutItems::Weight));
    if (!flat.group) {
        const unsigned shownBit = LayoutItems::ShownSlotBit(items.TextOf(LayoutItems::Type));
        const std::string* shown = nullptr;
        for (int slot : {LayoutItems::Text, LayoutItems::TextOn, LayoutItems::File})
            if (shownBit == Bit(slot))
                shown = items.value[slot];
        flat.tag = layout_detail::TypeTagOf(items.TextOf(LayoutItems::Type));
        layout_detail::ComposeLabelLine(m_line, items.value[LayoutItems::Name], shown);
        flat.lineBegin = static_cast<uint32_t>(m_lines.size());
        flat.lineLength = static_cast<uint32_t>(m_line.size());
        m_lines += m_line;
        m_nodes.push_back(flat);
        return index;
    }
    flat.ownVertical = items.TextOf(LayoutItems::Vertical) == "true"sv;
    const std::string_view layout = items.TextOf(LayoutItems::Layout);
    flat.stacks = layout != kLayoutNames[LAYOUT_FRAME] && layout != kLayoutNames[LAYOUT_RELATIVE];
    flat.align = ParseAlign(items.TextOf(LayoutItems::Align));
    m_nodes.push_back(flat);

    const auto& children = static_cast<CObjectDataList&>(node).Children();
    const auto begin = static_cast<uint32_t>(m_children.size());
    m_children.resize(m_children.size() + children.size());
    int64_t weightSum = 0;
    // Each child is a chain of three loads (the node, its item list, the items), each asked
    // for one child earlier than the next: the items one child ahead, the list two, the node three.
    for (size_t i = 0; i < children.size() && i < 3; ++i)
        __builtin_prefetch(children[i].get());
    if (!children.empty())
        PrefetchItems(*children[0]);
    for (size_t i = 0; i < children.size(); ++i) {
        if (i + 3 < children.size())
            __builtin_prefetch(children[i + 3].get());
        if (i + 2 < children.size())
            if (!children[i + 2]->Items().Empty())
                __builtin_prefetch(&children[i + 2]->Items().At(0));
        if (i + 1 < children.size())
            PrefetchItems(*children[i + 1]);
        const uint32_t child = Flatten(*children[i]);
        m_children[begin + i] = child;
        weightSum += m_nodes[child].weight;
    }
    FlatNode& group = m_nodes[index];
    group.childBegin = begin;
    group.childEnd = begin + static_cast<uint32_t>(children.size());
    group.weightSum = ClampToInt(weightSum);
    return index;
}

LayoutSize LayoutPass::Measure(uint32_t index, int availableWidth, int availableHeight, bool vertical, int whole)
{
    FlatNode& node = m_nodes[index];
    if (!node.group) {
        LayoutSize size{node.width == kLengthParent ? availableWidth : node.width,
                        node.height == kLengthParent ? availableHeight : node.height};
        size.width = ResolveContent(size.width, availableWidth, m_contentWidth);
        size.height = ResolveContent(size.height, availableHeight, m_contentSize);
        if (node.weight > 0)
            (vertical ? size.height : size.width) = 0;
        return size;
    }
    // The direction handed down only matters to a weighted group measured by its parent.
    const int flags = whole | (whole == 0 && node.weight > 0 && vertical ? 2 : 0);
    for (uint32_t i = node.memo; i != kNoMemo; i = m_memos[i].next) {
        const MeasureMemo& memo = m_memos[i];
        if (memo.availableWidth == availableWidth && memo.availableHeight == availableHeight && memo.flags == flags)
            return memo.answer;
    }
    const LayoutSize answer = MeasureGroup(node, availableWidth, availableHeight, vertical, whole);
    m_memos.push_back({availableWidth, availableHeight, flags, answer, m_nodes[index].memo});
    m_nodes[index].memo = static_cast<uint32_t>(m_memos.size() - 1);
    return answer;
}

LayoutSize LayoutPass::MeasureGroup(const FlatNode& group, int availableWidth, int availableHeight, bool vertical,
                                    int whole)
{
    LayoutSize size{group.width == kLengthParent ? availableWidth : group.width,
                    group.height == kLengthParent ? availableHeight : group.height};
    if (whole == 0 && group.weight > 0)
        (vertical ? size.height : size.width) = 0;
    const uint32_t begin = group.childBegin;
    const uint32_t end = group.childEnd;
    const bool ownVertical = group.ownVertical;
    const bool stacks = group.stacks;
    const int weightSum = group.weightSum;
    if (size.width == kLengthContent || (whole == 1 && weightSum != 0 && !ownVertical)) {
        int64_t sum = 0;
        int largest = 0;
        for (uint32_t i = begin; i < end; ++i) {
            int width = Measure(m_children[i], size.width, size.height, ownVertical, 0).width;
            if (width == 0 && whole == 0)
                width = ZeroLength(availableWidth, m_contentWidth);
            sum += width;
            largest = std::max(largest, width);
        }
        size.width = !ownVertical && stacks ? ClampToInt(sum) : largest;
    }
    if (size.height == kLengthContent || (whole == 1 && weightSum != 0 && ownVertical)) {
        int64_t sum = 0;
        int largest = 0;
        for (uint32_t i = begin; i < end; ++i) {
            int height = Measure(m_children[i], size.width, size.height, ownVertical, 0).height;
            if (height == 0 && whole == 0)
                height = ZeroLength(availableHeight, m_contentSize);
            sum += height;
            largest = std::max(largest, height);
        }
        size.height = ownVertical && stacks ? ClampToInt(sum) : largest;
    }
    return size;
}

LayoutSize LayoutPass::Arrange(DrawingSurface& surface, uint32_t index, int x, int y, int availableWidth,
                               int availableHeight, bool vertical, int weightUnit, int pass)
{
    const FlatNode& node = m_nodes[index];
    LayoutSize size{node.width == kLengthParent ? availableWidth : node.width,
                    node.height == kLengthParent ? availableHeight : node.height};
    if (!node.group) {
        size.width = ResolveContent(size.width, availableWidth, m_contentWidth);
        size.height = ResolveContent(size.height, availableHeight, m_contentSize);
        if (node.weight != 0)
            (vertical ? size.height : size.width) = ClampToInt(int64_t{node.weight} * weightUnit);
        if (size.width == 0)
            size.width = ZeroLength(availableWidth, m_contentWidth);
        if (size.height == 0)
            size.height = ZeroLength(availableHeight, m_contentSize);
        if (layout_detail::DrawObjectBox(surface, node.marked, x, y, size.width, size.height, pass)) {
            const std::string_view line = std::string_view(m_lines).substr(node.lineBegin, node.lineLength);
            layout_detail::DrawObjectLabels(surface, node.tag, line, x, y, size.width, size.height);
        }
        node.node->SetLayoutRect({x, y, ClampToInt(int64_t{x} + size.width), ClampToInt(int64_t{y} + size.height)});
        return size;
    }

    if (node.weight != 0)
        (vertical ? size.height : size.width) = ClampToInt(int64_t{node.weight} * weightUnit);
    const bool ownVertical = node.ownVertical;
    const int weightSum = node.weightSum;
    const LayoutSize first = Measure(index, kLengthContent, kLengthContent, vertical, 1);
    int offsetX = 0;
    int offsetY = 0;
    if (weightSum == 0) {
        if (!ownVertical && size.width != kLengthContent && size.width > first.width) {
            const int spare = ClampToInt(int64_t{size.width} - first.width);
            offsetX = node.align % 3 == 1 ? spare / 2 : node.align % 3 == 2 ? spare : 0;
        } else if (ownVertical && size.height != kLengthContent && size.height > first.height) {
            const int spare = ClampToInt(int64_t{size.height} - first.height);
            offsetY = node.align / 3 == 1 ? spare / 2 : node.align / 3 == 2 ? spare : 0;
        }
    }
    const LayoutSize second = Measure(index, size.width, size.height, vertical, 1);
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
    layout_detail::DrawGroupFrame(surface, node.marked, x, y, size.width, size.height, pass);
    x = ClampToInt(int64_t{x} + offsetX);
    y = ClampToInt(int64_t{y} + offsetY);

    const uint32_t begin = node.childBegin;
    const uint32_t end = node.childEnd;
    if (!node.stacks) {
        for (uint32_t i = begin; i < end; ++i) {
            Arrange(surface, m_children[i], x, y, size.width, size.height, ownVertical, childWeightUnit, pass);
        }
        return size;
    }
    int64_t along = 0;
    for (uint32_t i = begin; i < end; ++i) {
        const int childX = ownVertical ? x : ClampToInt(x + along);
        const int childY = ownVertical ? ClampToInt(y + along) : y;
        const LayoutSize taken = Arrange(surface, m_children[i], childX, childY, size.width, size.height, ownVertical,
                                         childWeightUnit, pass);
        along += ownVertical ? taken.height : taken.width;
    }
    return ownVertical ? LayoutSize{size.width, ClampToInt(along)} : LayoutSize{ClampToInt(along), size.height};
}

} // namespace

void LayOutDialog(const CTekDialogData& dialog, DeviceSize device, DrawingSurface& surface, int width, int height)
{
    CObjectDataList* root = dialog.RootGroup();
    if (!root)
        return;
    const LayoutStart start = PrepareLayout(dialog, device, width, height);
    const LayoutContext& context = start.context;
    surface.FillRect(5, 5, context.previewWidth, context.previewHeight, kDialogBackgroundColor);
    LayoutPass layout(*root, start);
    for (int pass = 0; pass < 2; ++pass)
        layout.Arrange(surface, 0, 5, 5, context.previewWidth, context.previewHeight, false, -1, pass);
}

} // namespace vesk
