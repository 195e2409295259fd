// The layout of a whole dialog in one pass over a flattened copy of its tree. Every node's
// items are read once, found by the key numbers the items carry, and each group remembers its
// Measure answers for the arguments it has been asked with, so a subtree is measured once per
// distinct question instead of once per path that leads to it. The flattened tree is in tree
// order, as the answered layout is, so a node's index is that of its entry in the answer; the
// entries (node, depth, flags, texts) are filled while flattening, the boxes while arranging.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/itemkeys.h"
#include "objects/resourcedata.h"
#include "objects/dialoglayout.h"
#include "objects/layout.h"
#include "objects/objectdata.h"

namespace vesk {

using namespace std::string_view_literals;
using layout_detail::ContentWidth;
using layout_detail::ResolveContent;
using layout_detail::TypeLook;
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
    int width = kLengthContent; ///< in pixels, PARENT and CONTENT kept as codes
    int height = kLengthContent;
    int weight = 0;
    bool group = false;
    // Groups only:
    bool ownVertical = false;
    bool stacks = true;
    bool leaf = true; ///< every child is an object
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
    TypeLook look; ///< of the first 'Type' item, when typed
    bool typed = false;

    std::string_view TextOf(Slot slot) const
    {
        return value[slot] ? std::string_view(*value[slot]) : std::string_view();
    }

    static constexpr unsigned ObjectSlots = Bit(Width) | Bit(Height) | Bit(Weight) | Bit(Name) | Bit(Type);
    static constexpr unsigned GroupSlots =
        Bit(Width) | Bit(Height) | Bit(Weight) | Bit(Vertical) | Bit(Layout) | Bit(Align);

    /// The slot of the item that gives an object of that look its shown text, or -1.
    static int ShownSlot(TypeLook::Shown shown)
    {
        switch (shown) {
        case TypeLook::Shown::Text:
            return Text;
        case TypeLook::Shown::TextOn:
            return TextOn;
        case TypeLook::Shown::File:
            return File;
        case TypeLook::Shown::None:
            break;
        }
        return -1;
    }
};

/// The slot of the item of each key number plus one (as items hold it), -1 for the items the
/// layout does not read and for names without a key number.
constexpr std::array<int8_t, CItemData::kKeyTags> kSlotOfKeyTag = [] {
    std::array<int8_t, CItemData::kKeyTags> slots{};
    slots.fill(-1);
    slots[kKeyWidth + 1] = LayoutItems::Width;
    slots[kKeyHeight + 1] = LayoutItems::Height;
    slots[kKeyWeight + 1] = LayoutItems::Weight;
    slots[kKeyVertical + 1] = LayoutItems::Vertical;
    slots[kKeyLayout + 1] = LayoutItems::Layout;
    slots[kKeyAlign + 1] = LayoutItems::Align;
    slots[kKeyName + 1] = LayoutItems::Name;
    slots[kKeyType + 1] = LayoutItems::Type;
    slots[kKeyText + 1] = LayoutItems::Text;
    slots[kKeyTextOn + 1] = LayoutItems::TextOn;
    slots[kKeyFile + 1] = LayoutItems::File;
    return slots;
}();

/// Finds the first item of each name that the node's layout and labels read (by the key numbers
/// the items carry), and starts loading their values, which lie apart in memory.
void GatherItems(const CObjectData& node, LayoutItems& items)
{
    const bool group = node.IsGroup();
    unsigned wanted = group ? LayoutItems::GroupSlots : LayoutItems::ObjectSlots;
    unsigned met = 0;
    items.typed = false;
    // Only the first item of each name counts, so the walk stops once every item wanted is met.
    for (const auto& item : node.Items()) {
        const int slot = kSlotOfKeyTag[item->KeyTag()];
        if (slot < 0 || (met & Bit(slot)) != 0)
            continue;
        items.value[slot] = &item->Value();
        met |= Bit(slot);
        if (slot == LayoutItems::Type && !group) {
            items.look = layout_detail::LookOfType(*items.value[slot]);
            items.typed = true;
            if (const int shown = LayoutItems::ShownSlot(items.look.shown); shown >= 0)
                wanted |= Bit(shown);
        }
        if ((met & wanted) == wanted)
            break;
    }
    for (unsigned rest = met; rest != 0; rest &= rest - 1)
        __builtin_prefetch(items.value[std::countr_zero(rest)]);
    for (unsigned missing = ~met & (Bit(LayoutItems::SlotCount) - 1); missing != 0; missing &= missing - 1)
        items.value[std::countr_zero(missing)] = nullptr;
}

/// Starts loading a node's first lines: its type, mark and item list.
void PrefetchNode(const CObjectData* node)
{
    __builtin_prefetch(node);
    __builtin_prefetch(reinterpret_cast<const char*>(node) + 64);
}

/// Starts loading the first items of a node.
void PrefetchItemArray(const CObjectData& node)
{
    const CItemList& items = node.Items();
    if (items.Empty())
        return;
    const char* first = reinterpret_cast<const char*>(&items.At(0));
    for (int line = 0; line < 4; ++line)
        __builtin_prefetch(first + 64 * line);
}

size_t CountNodes(const CObjectData& node)
{
    size_t count = 1;
    if (node.IsGroup())
        for (const ObjectPtr& child : static_cast<const CObjectDataList&>(node).Children())
            count += CountNodes(*child);
    return count;
}

/// The working memory of a layout pass, kept from one pass to the next on the thread: a pass
/// then neither allocates nor touches fresh pages for it, which for a large dialog costs as much
/// as the layout itself.
struct PassMemory {
    std::vector<FlatNode> nodes;
    std::vector<uint32_t> children;
    std::vector<MeasureMemo> memos;

    /// Emptied, with room for a tree of that many nodes.
    static PassMemory& ForNodes(size_t count)
    {
        thread_local PassMemory memory;
        // Let go of what an unusually large dialog left, rather than keep it for good.
        constexpr size_t kKept = size_t{1} << 16;
        if (memory.nodes.capacity() > kKept && memory.nodes.capacity() > 4 * count)
            memory = PassMemory();
        memory.nodes.clear();
        memory.children.clear();
        memory.memos.clear();
        memory.nodes.reserve(count);
        memory.children.reserve(count);
        return memory;
    }
};

class LayoutPass {
public:
    LayoutPass(CObjectDataList& root, const LayoutStart& start, DialogLayout& out)
        : LayoutPass(root, start, out, PassMemory::ForNodes(CountNodes(root)))
    {
    }

    /// Places the node and its subtree at (x, y); fills their boxes and answers the node's size.
    LayoutSize Arrange(uint32_t index, int x, int y, int availableWidth, int availableHeight, bool vertical,
                       int weightUnit);

private:
    LayoutPass(CObjectDataList& root, const LayoutStart& start, DialogLayout& out, PassMemory& memory)
        : m_contentSize(start.contentSize), m_contentWidth(ContentWidth(start.contentSize)), m_out(out),
          m_nodes(memory.nodes), m_children(memory.children), m_memos(memory.memos)
    {
        m_unit.SetContext(start.context);
        m_out.nodes.reserve(m_nodes.capacity());
        // Room for a short tag and label line per node, so that the texts are seldom moved.
        m_out.text.reserve(m_nodes.capacity() * 16);
        LayoutItems items;
        GatherItems(root, items);
        Flatten(root, items, 0);
    }

    uint32_t Flatten(CObjectData& node, const LayoutItems& items, int depth);
    void FlattenChildren(CObjectDataList& group, uint32_t index, int depth);
    int LengthX(std::string_view text);
    int LengthY(std::string_view text);
    LayoutSize MeasureObject(const FlatNode& object, int availableWidth, int availableHeight, bool vertical) const;
    LayoutSize Measure(uint32_t index, int availableWidth, int availableHeight, bool vertical, int whole);
    LayoutSize MeasureGroup(const FlatNode& group, int availableWidth, int availableHeight, bool vertical, int whole);
    /// The sum and the largest of the children's widths (or heights) measured in the space
    /// available; a length of 0 counts as zeroLength.
    template <bool Widths>
    std::pair<int64_t, int> SumChildren(const FlatNode& group, LayoutSize available, bool vertical, int zeroLength);
    /// The same for a group whose children are all objects.
    template <bool Widths>
    std::pair<int64_t, int> SumObjects(const FlatNode& group, LayoutSize available, bool vertical,
                                       int zeroLength) const;
    LayoutSize ArrangeGroup(uint32_t index, int x, int y, int availableWidth, int availableHeight, bool vertical,
                            int weightUnit);
    LayoutSize ArrangeObject(uint32_t index, int x, int y, int availableWidth, int availableHeight, bool vertical,
                             int weightUnit);

    OrbUnit m_unit;
    int m_contentSize;
    int m_contentWidth;
    DialogLayout& m_out; ///< its nodes run parallel to m_nodes
    std::vector<FlatNode>& m_nodes;
    std::vector<uint32_t>& m_children;
    std::vector<MeasureMemo>& m_memos;
};

int LayoutPass::LengthX(std::string_view text)
{
    if (text.empty())
        return kLengthContent;
    m_unit.ParseUnit(text);
    return m_unit.ToPixelsX();
}

int LayoutPass::LengthY(std::string_view text)
{
    if (text.empty())
        return kLengthContent;
    m_unit.ParseUnit(text);
    return m_unit.ToPixelsY();
}

uint32_t LayoutPass::Flatten(CObjectData& node, const LayoutItems& items, int depth)
{
    const auto index = static_cast<uint32_t>(m_nodes.size());
    FlatNode flat;
    flat.group = node.IsGroup();
    flat.width = LengthX(items.TextOf(LayoutItems::Width));
    flat.height = LengthY(items.TextOf(LayoutItems::Height));
    flat.weight = LeadingInteger(items.TextOf(LayoutItems::Weight));

    LaidOutNode entry;
    entry.node = &node;
    entry.depth = depth;
    entry.flags =
        static_cast<uint8_t>((flat.group ? LaidOutNode::kGroup : 0) | (node.GetMark() != 0 ? LaidOutNode::kMarked : 0));
    std::string& text = m_out.text;
    entry.textBegin = static_cast<uint32_t>(text.size());
    if (!flat.group) {
        // The texts are copied now, while the values are at hand: the layout outlives them.
        const TypeLook look = items.typed ? items.look : layout_detail::LookOfType({});
        const int shown = LayoutItems::ShownSlot(look.shown);
        text += look.tag;
        entry.tagLength = static_cast<uint32_t>(look.tag.size());
        layout_detail::AppendLabelLine(text, items.value[LayoutItems::Name], shown >= 0 ? items.value[shown] : nullptr);
        entry.lineLength = static_cast<uint32_t>(text.size() - entry.textBegin - entry.tagLength);
        m_out.nodes.push_back(entry);
        m_nodes.push_back(flat);
        return index;
    }
    const std::string_view layout = items.TextOf(LayoutItems::Layout);
    flat.ownVertical = items.TextOf(LayoutItems::Vertical) == "true"sv;
    flat.stacks = layout != kLayoutNames[LAYOUT_FRAME] && layout != kLayoutNames[LAYOUT_RELATIVE];
    flat.align = ParseAlign(items.TextOf(LayoutItems::Align));
    m_out.nodes.push_back(entry);
    m_nodes.push_back(flat);
    FlattenChildren(static_cast<CObjectDataList&>(node), index, depth + 1);
    return index;
}

void LayoutPass::FlattenChildren(CObjectDataList& node, uint32_t index, int depth)
{
    const auto& children = node.Children();
    const size_t count = children.size();
    const auto begin = static_cast<uint32_t>(m_children.size());
    m_children.resize(m_children.size() + count);
    int64_t weightSum = 0;
    bool leaf = true;
    // Each child is a chain of loads (the node, its items, their values), asked for ahead of
    // its turn: the node kNodeAhead children early, the items kItemsAhead, the values (GatherItems) one.
    constexpr size_t kNodeAhead = 6;
    constexpr size_t kItemsAhead = 3;
    for (size_t i = 0; i < count && i < kNodeAhead; ++i)
        PrefetchNode(children[i].get());
    for (size_t i = 1; i < count && i < kItemsAhead; ++i)
        PrefetchItemArray(*children[i]);
    LayoutItems ahead[2];
    if (count > 0)
        GatherItems(*children[0], ahead[0]);
    for (size_t i = 0; i < count; ++i) {
        if (i + kNodeAhead < count)
            PrefetchNode(children[i + kNodeAhead].get());
        if (i + kItemsAhead < count)
            PrefetchItemArray(*children[i + kItemsAhead]);
        if (i + 1 < count)
            GatherItems(*children[i + 1], ahead[(i + 1) % 2]);
        const uint32_t child = Flatten(*children[i], ahead[i % 2], depth);
        m_children[begin + i] = child;
        weightSum += m_nodes[child].weight;
        leaf = leaf && !m_nodes[child].group;
    }
    FlatNode& group = m_nodes[index];
    group.childBegin = begin;
    group.childEnd = begin + static_cast<uint32_t>(count);
    group.weightSum = ClampToInt(weightSum);
    group.leaf = leaf;
}

inline LayoutSize LayoutPass::MeasureObject(const FlatNode& object, int availableWidth, int availableHeight,
                                            bool vertical) const
{
    LayoutSize size{object.width == kLengthParent ? availableWidth : object.width,
                    object.height == kLengthParent ? availableHeight : object.height};
    size.width = ResolveContent(size.width, availableWidth, m_contentWidth);
    size.height = ResolveContent(size.height, availableHeight, m_contentSize);
    if (object.weight > 0)
        (vertical ? size.height : size.width) = 0;
    return size;
}

LayoutSize LayoutPass::Measure(uint32_t index, int availableWidth, int availableHeight, bool vertical, int whole)
{
    const FlatNode& node = m_nodes[index];
    if (!node.group)
        return MeasureObject(node, availableWidth, availableHeight, vertical);
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
    const bool ownVertical = group.ownVertical;
    const bool stacks = group.stacks;
    const int weightSum = group.weightSum;
    if (size.width == kLengthContent || (whole == 1 && weightSum != 0 && !ownVertical)) {
        const int zero = whole == 0 ? ZeroLength(availableWidth, m_contentWidth) : 0;
        const auto [sum, largest] = group.leaf ? SumObjects<true>(group, size, ownVertical, zero)
                                               : SumChildren<true>(group, size, ownVertical, zero);
        size.width = !ownVertical && stacks ? ClampToInt(sum) : largest;
    }
    if (size.height == kLengthContent || (whole == 1 && weightSum != 0 && ownVertical)) {
        const int zero = whole == 0 ? ZeroLength(availableHeight, m_contentSize) : 0;
        const auto [sum, largest] = group.leaf ? SumObjects<false>(group, size, ownVertical, zero)
                                               : SumChildren<false>(group, size, ownVertical, zero);
        size.height = ownVertical && stacks ? ClampToInt(sum) : largest;
    }
    return size;
}

template <bool Widths>
std::pair<int64_t, int> LayoutPass::SumChildren(const FlatNode& group, LayoutSize available, bool vertical,
                                                int zeroLength)
{
    int64_t sum = 0;
    int largest = 0;
    for (uint32_t i = group.childBegin; i < group.childEnd; ++i) {
        const LayoutSize measured = Measure(m_children[i], available.width, available.height, vertical, 0);
        int length = Widths ? measured.width : measured.height;
        if (length == 0)
            length = zeroLength;
        sum += length;
        largest = std::max(largest, length);
    }
    return {sum, largest};
}

template <bool Widths>
std::pair<int64_t, int> LayoutPass::SumObjects(const FlatNode& group, LayoutSize available, bool vertical,
                                               int zeroLength) const
{
    // MeasureObject along one direction, for children that are all objects.
    const int availableLength = Widths ? available.width : available.height;
    const int limit = Widths ? m_contentWidth : m_contentSize;
    const bool weightZeroes = Widths ? !vertical : vertical;
    int64_t sum = 0;
    int largest = 0;
    for (uint32_t i = group.childBegin; i < group.childEnd; ++i) {
        const FlatNode& object = m_nodes[m_children[i]];
        int length = Widths ? object.width : object.height;
        if (length == kLengthParent)
            length = availableLength;
        length = ResolveContent(length, availableLength, limit);
        if (weightZeroes && object.weight > 0)
            length = 0;
        if (length == 0)
            length = zeroLength;
        sum += length;
        largest = std::max(largest, length);
    }
    return {sum, largest};
}

LayoutSize LayoutPass::ArrangeObject(uint32_t index, int x, int y, int availableWidth, int availableHeight,
                                     bool vertical, int weightUnit)
{
    const FlatNode& object = m_nodes[index];
    LayoutSize size{object.width == kLengthParent ? availableWidth : object.width,
                    object.height == kLengthParent ? availableHeight : object.height};
    size.width = ResolveContent(size.width, availableWidth, m_contentWidth);
    size.height = ResolveContent(size.height, availableHeight, m_contentSize);
    if (object.weight != 0)
        (vertical ? size.height : size.width) = ClampToInt(int64_t{object.weight} * weightUnit);
    if (size.width == 0)
        size.width = ZeroLength(availableWidth, m_contentWidth);
    if (size.height == 0)
        size.height = ZeroLength(availableHeight, m_contentSize);
    m_out.nodes[index].box = {x, y, size.width, size.height};
    return size;
}

inline LayoutSize LayoutPass::Arrange(uint32_t index, int x, int y, int availableWidth, int availableHeight,
                                      bool vertical, int weightUnit)
{
    if (!m_nodes[index].group)
        return ArrangeObject(index, x, y, availableWidth, availableHeight, vertical, weightUnit);
    return ArrangeGroup(index, x, y, availableWidth, availableHeight, vertical, weightUnit);
}

LayoutSize LayoutPass::ArrangeGroup(uint32_t index, int x, int y, int availableWidth, int availableHeight,
                                    bool vertical, int weightUnit)
{
    const FlatNode& node = m_nodes[index];
    LayoutSize size{node.width == kLengthParent ? availableWidth : node.width,
                    node.height == kLengthParent ? availableHeight : node.height};
    if (node.weight != 0)
        (vertical ? size.height : size.width) = ClampToInt(int64_t{node.weight} * weightUnit);
    const bool ownVertical = node.ownVertical;
    const int weightSum = node.weightSum;
    const int align = node.align;
    const LayoutSize first = Measure(index, kLengthContent, kLengthContent, vertical, 1);
    int offsetX = 0;
    int offsetY = 0;
    if (weightSum == 0) {
        if (!ownVertical && size.width != kLengthContent && size.width > first.width) {
            const int spare = ClampToInt(int64_t{size.width} - first.width);
            offsetX = align % 3 == 1 ? spare / 2 : align % 3 == 2 ? spare : 0;
        } else if (ownVertical && size.height != kLengthContent && size.height > first.height) {
            const int spare = ClampToInt(int64_t{size.height} - first.height);
            offsetY = align / 3 == 1 ? spare / 2 : align / 3 == 2 ? spare : 0;
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
    m_out.nodes[index].box = {x, y, size.width, size.height};
    x = ClampToInt(int64_t{x} + offsetX);
    y = ClampToInt(int64_t{y} + offsetY);

    // m_nodes is not resized while arranging, so the node's fields may be read again below.
    const uint32_t begin = m_nodes[index].childBegin;
    const uint32_t end = m_nodes[index].childEnd;
    if (!m_nodes[index].stacks) {
        for (uint32_t i = begin; i < end; ++i)
            Arrange(m_children[i], x, y, size.width, size.height, ownVertical, childWeightUnit);
        return size;
    }
    int64_t along = 0;
    for (uint32_t i = begin; i < end; ++i) {
        const int childX = ownVertical ? x : ClampToInt(x + along);
        const int childY = ownVertical ? ClampToInt(y + along) : y;
        const LayoutSize taken =
            Arrange(m_children[i], childX, childY, size.width, size.height, ownVertical, childWeightUnit);
        along += ownVertical ? taken.height : taken.width;
    }
    return ownVertical ? LayoutSize{size.width, ClampToInt(along)} : LayoutSize{ClampToInt(along), size.height};
}

} // namespace

DialogLayout ComputeLayout(const CTekDialogData& dialog, DeviceSize device, LayoutArea area)
{
    DialogLayout layout;
    layout.size = area;
    CObjectDataList* root = dialog.RootGroup();
    if (!root)
        return layout;
    const LayoutStart start = PrepareLayout(dialog, device, area.width, area.height);
    const LayoutContext& context = start.context;
    layout.hasRoot = true;
    layout.previewArea = {5, 5, context.previewWidth, context.previewHeight};
    layout.contentSize = start.contentSize;
    LayoutPass pass(*root, start, layout);
    pass.Arrange(0, 5, 5, context.previewWidth, context.previewHeight, false, -1);
    return layout;
}

void StoreLayoutRects(const DialogLayout& layout)
{
    for (const LaidOutNode& entry : layout.nodes)
        if (!entry.IsGroup())
            entry.node->SetLayoutRect(entry.Rect());
}

const LaidOutNode* DialogLayout::ObjectAt(int x, int y) const
{
    // Tree order backwards: a group's later children (and all below them) before its earlier ones.
    for (auto entry = nodes.rbegin(); entry != nodes.rend(); ++entry)
        if (!entry->IsGroup() && entry->Rect().Contains(x, y))
            return &*entry;
    return nullptr;
}

} // namespace vesk
