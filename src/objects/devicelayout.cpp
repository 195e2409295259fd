// The device layout: each node sized by its lengths, its content (texts and pictures measured
// through the measurers given) and its children, with margins outside and paddings inside, and
// each group's children placed as its layout places them on the device.
#include "objects/devicelayout.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "objects/objectdata.h"
#include "objects/resourcedata.h"

namespace vesk {

namespace {

bool IsTrue(std::string_view text)
{
    return text == "true";
}

bool IsHidden(const CObjectData& node)
{
    return IsTrue(node.GetItem("Hide"));
}

int Weight(const CObjectData& node)
{
    return std::max(0, LeadingInteger(node.GetItem("Weight")));
}

/// A length as pixels: PARENT and CONTENT keep their codes, other negative values count 0.
int Length(std::string_view text, const LayoutContext& context, bool horizontal)
{
    OrbUnit unit;
    unit.SetContext(context);
    unit.ParseUnit(text);
    const int pixels = horizontal ? unit.ToPixelsX() : unit.ToPixelsY();
    if (pixels == kLengthParent || pixels == kLengthContent)
        return pixels;
    return std::max(0, pixels);
}

/// A length that is only ever a number (a position, a font size): PARENT, CONTENT and unreadable
/// texts count 0.
int PlainLength(std::string_view text, const LayoutContext& context, bool horizontal)
{
    return std::max(0, Length(text, context, horizontal));
}

/// The room left by taking a spacing's two sides off a length, never below 0.
int Less(int length, int first, int second)
{
    return std::max(0, ClampToInt(int64_t{length} - first - second));
}

struct Placement {
    int x = 0;
    int y = 0;
    int availableWidth = 0;
    int availableHeight = 0;
    int forcedWidth = -1; ///< the margin box's width when the parent sets it, else -1
    int forcedHeight = -1;
};

class DevicePass {
public:
    DevicePass(const LayoutContext& context, const DeviceMeasures& measures, DialogLayout& out)
        : m_context(context), m_measures(measures), m_out(out)
    {
    }

    /// The size the node takes with its margins, offered that room.
    LayoutSize Measure(const CObjectData& node, int availableWidth, int availableHeight) const
    {
        const BoxSpacing margin = ParseSpacing(node.GetItem("Margin"), m_context);
        const LayoutSize own = OwnSize(node, Less(availableWidth, margin.left, margin.right),
                                       Less(availableHeight, margin.top, margin.bottom));
        return {ClampToInt(int64_t{own.width} + margin.left + margin.right),
                ClampToInt(int64_t{own.height} + margin.top + margin.bottom)};
    }

    void Arrange(CObjectData& node, const Placement& at, int depth, bool disabled, const LayoutBox& clip);

private:
    /// The size a table cell asks for, with its margins: as Measure, but a side that fills its
    /// parent (PARENT) measured by its content, since the cell's row and column are made from
    /// what the cells ask for.
    LayoutSize MeasureCell(const CObjectData& node) const
    {
        const BoxSpacing margin = ParseSpacing(node.GetItem("Margin"), m_context);
        const LayoutSize own = OwnSize(node, 0, 0, true);
        return {ClampToInt(int64_t{own.width} + margin.left + margin.right),
                ClampToInt(int64_t{own.height} + margin.top + margin.bottom)};
    }

    /// The node's box size (without margins) within that room; with parentAsContent a PARENT
    /// side is measured as CONTENT.
    LayoutSize OwnSize(const CObjectData& node, int roomWidth, int roomHeight, bool parentAsContent = false) const
    {
        const BoxSpacing padding = ParseSpacing(node.GetItem("Padding"), m_context);
        int width = Length(node.GetItem("Width"), m_context, true);
        int height = Length(node.GetItem("Height"), m_context, false);
        if (width == kLengthParent)
            width = parentAsContent ? kLengthContent : roomWidth;
        if (height == kLengthParent)
            height = parentAsContent ? kLengthContent : roomHeight;
        if (width == kLengthContent || height == kLengthContent) {
            const LayoutSize content =
                ContentOf(node, Less(width == kLengthContent ? roomWidth : width, padding.left, padding.right),
                          Less(height == kLengthContent ? roomHeight : height, padding.top, padding.bottom));
            if (width == kLengthContent)
                width = ClampToInt(int64_t{content.width} + padding.left + padding.right);
            if (height == kLengthContent)
                height = ClampToInt(int64_t{content.height} + padding.top + padding.bottom);
        }
        return {width, height};
    }

    LayoutSize ContentOf(const CObjectData& node, int roomWidth, int roomHeight) const;
    LayoutSize ObjectContent(const CObjectData& object) const;
    LayoutSize TableContent(const CObjectDataList& table) const;

    int FontHeight(const CObjectData& object) const
    {
        const int height = PlainLength(object.GetItem("TSize"), m_context, false);
        return height > 0 ? height : kDeviceFontHeight;
    }
    LayoutSize Text(std::string_view text, int fontHeight) const
    {
        const LayoutSize size = m_measures.text ? m_measures.text->MeasureText(text, fontHeight) : LayoutSize{};
        return {size.width, std::max(size.height, fontHeight)};
    }
    LayoutSize Picture(const CObjectData& object, std::string_view file) const
    {
        if (file.empty() || !m_measures.pictures)
            return {};
        return m_measures.pictures->PictureSize(object.GetItem("FileSource"), file);
    }

    size_t Enter(CObjectData& node, const LayoutBox& box, int depth, bool disabled, const LayoutBox& clip);
    void ArrangeRun(const CObjectDataList& group, const LayoutBox& content, bool vertical, int alongRoom, int depth,
                    bool disabled, const LayoutBox& clip);
    void ArrangeTable(const CObjectDataList& table, const LayoutBox& content, int depth, bool disabled,
                      const LayoutBox& clip);

    const LayoutContext& m_context;
    const DeviceMeasures& m_measures;
    DialogLayout& m_out;
};

std::vector<CObjectData*> VisibleChildren(const CObjectDataList& group)
{
    std::vector<CObjectData*> children;
    for (const ObjectPtr& child : group.Children())
        if (!IsHidden(*child))
            children.push_back(child.get());
    return children;
}

/// Whether a group runs its children top to bottom (a table row always runs across).
bool RunsVertically(const CObjectDataList& group)
{
    return group.LayoutCode() != LAYOUT_TABLEROW && IsTrue(group.GetItem("Vertical"));
}

/// The cells of a table's row: a TABLEROW's shown children, any other node a cell of its own.
std::vector<CObjectData*> CellsOf(CObjectData& row)
{
    if (row.IsGroup() && static_cast<CObjectDataList&>(row).LayoutCode() == LAYOUT_TABLEROW)
        return VisibleChildren(static_cast<CObjectDataList&>(row));
    return {&row};
}

int SpanOf(const CObjectData& cell)
{
    return std::max(1, LeadingInteger(cell.GetItem("Span")));
}

LayoutSize DevicePass::ObjectContent(const CObjectData& object) const
{
    const int font = FontHeight(object);
    const int code = object.ObjectTypeCode();
    if (const LayoutSize picture = Picture(object, object.GetItem("FileOff"));
        picture.width > 0 && (code == OBJ_BUTTON || code == OBJ_TOGGLE || code == OBJ_CHECKBOX || code == OBJ_RADIOBTN))
        return picture;
    switch (code) {
    case OBJ_TEXT:
        return Text(object.GetItem("Text"), font);
    case OBJ_EDIT:
    case OBJ_BUTTON: {
        const LayoutSize text = Text(object.GetItem("Text"), font);
        return {text.width + 2 * (font / 2), text.height + font / 2};
    }
    case OBJ_CHECKBOX:
    case OBJ_RADIOBTN: {
        const LayoutSize text = Text(object.GetItem("Text"), font);
        return {text.width + font + font / 4, text.height};
    }
    case OBJ_TOGGLE: {
        const LayoutSize text = Text(object.GetItem("TextOff"), font);
        return {text.width + 2 * font + font / 4, text.height};
    }
    case OBJ_PULLDOWN:
        return {6 * font, font + font / 2};
    case OBJ_PROGRESS:
    case OBJ_SLIDEBAR:
        return {6 * font, font};
    case OBJ_GRID:
    case OBJ_CANVAS:
        return {6 * font, 4 * font};
    case OBJ_PICTURE:
    case OBJ_METER:
        return Picture(object, object.GetItem("File"));
    default:
        return {};
    }
}

LayoutSize DevicePass::TableContent(const CObjectDataList& table) const
{
    int64_t width = 0;
    int64_t height = 0;
    std::vector<int> columns;
    for (CObjectData* row : VisibleChildren(table)) {
        int rowHeight = 0;
        size_t column = 0;
        for (CObjectData* cell : CellsOf(*row)) {
            const LayoutSize size = MeasureCell(*cell);
            const size_t span = static_cast<size_t>(SpanOf(*cell));
            if (columns.size() < column + span)
                columns.resize(column + span, 0);
            int64_t spanned = 0;
            for (size_t i = column; i < column + span; ++i)
                spanned += columns[i];
            if (size.width > spanned)
                columns[column + span - 1] += ClampToInt(size.width - spanned);
            rowHeight = std::max(rowHeight, size.height);
            column += span;
        }
        height += rowHeight;
    }
    for (int column : columns)
        width += column;
    return {ClampToInt(width), ClampToInt(height)};
}

LayoutSize DevicePass::ContentOf(const CObjectData& node, int roomWidth, int roomHeight) const
{
    if (!node.IsGroup())
        return ObjectContent(node);
    const auto& group = static_cast<const CObjectDataList&>(node);
    const int layout = group.LayoutCode();
    if (layout == LAYOUT_TABLE)
        return TableContent(group);
    const std::vector<CObjectData*> children = VisibleChildren(group);
    if (layout == LAYOUT_PAGE)
        return children.empty() ? LayoutSize{} : Measure(*children.front(), roomWidth, roomHeight);
    int64_t along = 0;
    int across = 0;
    int width = 0;
    int height = 0;
    const bool placed = layout == LAYOUT_FRAME || layout == LAYOUT_RELATIVE;
    const bool vertical = RunsVertically(group);
    for (CObjectData* child : children) {
        LayoutSize size = Measure(*child, roomWidth, roomHeight);
        if (placed) {
            width =
                std::max(width, ClampToInt(int64_t{size.width} + PlainLength(child->GetItem("PosX"), m_context, true)));
            height = std::max(height,
                              ClampToInt(int64_t{size.height} + PlainLength(child->GetItem("PosY"), m_context, false)));
            continue;
        }
        if (Weight(*child) > 0)
            (vertical ? size.height : size.width) = 0; // a weighted child takes only the room left over
        along += vertical ? size.height : size.width;
        across = std::max(across, vertical ? size.width : size.height);
    }
    if (placed)
        return {width, height};
    return vertical ? LayoutSize{across, ClampToInt(along)} : LayoutSize{ClampToInt(along), across};
}

size_t DevicePass::Enter(CObjectData& node, const LayoutBox& box, int depth, bool disabled, const LayoutBox& clip)
{
    LaidOutNode entry;
    entry.node = &node;
    entry.box = box;
    entry.depth = depth;
    entry.flags =
        static_cast<uint8_t>((node.IsGroup() ? LaidOutNode::kGroup : 0) | (node.GetMark() ? LaidOutNode::kMarked : 0) |
                             (disabled ? LaidOutNode::kDisabled : 0));
    entry.textBegin = static_cast<uint32_t>(m_out.text.size());
    if (!node.IsGroup()) {
        const std::string& type = node.GetItem("Type");
        const std::string_view tag = layout_detail::TypeTagOf(type);
        const std::string_view shown = node.ObjectTypeCode() == OBJ_TOGGLE
                                           ? std::string_view(node.GetItem("TextOff"))
                                           : std::string_view(node.GetItem(layout_detail::ShownTextItem(type)));
        m_out.text.append(tag);
        m_out.text.append(shown);
        entry.tagLength = static_cast<uint32_t>(tag.size());
        entry.lineLength = static_cast<uint32_t>(shown.size());
    }
    m_out.nodes.push_back(entry);
    m_out.clips.push_back(clip);
    return m_out.nodes.size() - 1;
}

/// The overlap of two rectangles (empty, at the first's corner, when they do not meet).
LayoutBox Intersect(const LayoutBox& a, const LayoutBox& b)
{
    const int64_t left = std::max(a.x, b.x);
    const int64_t top = std::max(a.y, b.y);
    const int64_t right = std::min(int64_t{a.x} + a.width, int64_t{b.x} + b.width);
    const int64_t bottom = std::min(int64_t{a.y} + a.height, int64_t{b.y} + b.height);
    if (right <= left || bottom <= top)
        return {a.x, a.y, 0, 0};
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
}

/// Where a run or a child starts in a room: at its start, centre or end (alignment part 0, 1, 2).
int AlignOffset(int room, int taken, int part)
{
    if (taken >= room)
        return 0;
    return part == 1 ? (room - taken) / 2 : part == 2 ? room - taken : 0;
}

void DevicePass::ArrangeRun(const CObjectDataList& group, const LayoutBox& content, bool vertical, int alongRoom,
                            int depth, bool disabled, const LayoutBox& clip)
{
    const std::vector<CObjectData*> children = VisibleChildren(group);
    std::vector<LayoutSize> sizes;
    sizes.reserve(children.size());
    int64_t fixed = 0;
    int64_t weights = 0;
    for (CObjectData* child : children) {
        sizes.push_back(Measure(*child, content.width, content.height));
        if (const int weight = Weight(*child); weight > 0)
            weights += weight;
        else
            fixed += vertical ? sizes.back().height : sizes.back().width;
    }
    const int64_t rest = std::max<int64_t>(0, alongRoom - fixed);
    int64_t total = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        if (const int weight = Weight(*children[i]); weight > 0)
            (vertical ? sizes[i].height : sizes[i].width) = static_cast<int>(rest * weight / weights);
        total += vertical ? sizes[i].height : sizes[i].width;
    }
    const int align = ParseAlign(group.GetItem("Align"));
    const int alongPart = vertical ? align / 3 : align % 3;
    const int acrossPart = vertical ? align % 3 : align / 3;
    int64_t along = AlignOffset(alongRoom, ClampToInt(total), alongPart);
    for (size_t i = 0; i < children.size(); ++i) {
        const bool weighted = Weight(*children[i]) > 0;
        Placement at;
        at.availableWidth = content.width;
        at.availableHeight = content.height;
        if (vertical) {
            at.x = content.x + AlignOffset(content.width, sizes[i].width, acrossPart);
            at.y = ClampToInt(content.y + along);
            at.forcedHeight = weighted ? sizes[i].height : -1;
            along += sizes[i].height;
        } else {
            at.x = ClampToInt(content.x + along);
            at.y = content.y + AlignOffset(content.height, sizes[i].height, acrossPart);
            at.forcedWidth = weighted ? sizes[i].width : -1;
            along += sizes[i].width;
        }
        Arrange(*children[i], at, depth + 1, disabled, clip);
    }
}

void DevicePass::ArrangeTable(const CObjectDataList& table, const LayoutBox& content, int depth, bool disabled,
                              const LayoutBox& clip)
{
    const std::vector<CObjectData*> rows = VisibleChildren(table);
    std::vector<int> columns;
    std::vector<bool> stretch;
    std::vector<int> heights;
    for (CObjectData* row : rows) {
        int rowHeight = 0;
        size_t column = 0;
        for (CObjectData* cell : CellsOf(*row)) {
            const LayoutSize size = MeasureCell(*cell);
            const size_t span = static_cast<size_t>(SpanOf(*cell));
            if (columns.size() < column + span) {
                columns.resize(column + span, 0);
                stretch.resize(column + span, false);
            }
            if (span == 1)
                columns[column] = std::max(columns[column], size.width);
            if (IsTrue(cell->GetItem("Stretch")))
                for (size_t i = column; i < column + span; ++i)
                    stretch[i] = true;
            rowHeight = std::max(rowHeight, size.height);
            column += span;
        }
        heights.push_back(rowHeight);
    }
    // A cell spanning columns widens the last of them when it is wider than they are together.
    for (CObjectData* row : rows) {
        size_t column = 0;
        for (CObjectData* cell : CellsOf(*row)) {
            const size_t span = static_cast<size_t>(SpanOf(*cell));
            if (span > 1) {
                int64_t spanned = 0;
                for (size_t i = column; i < column + span; ++i)
                    spanned += columns[i];
                const int width = MeasureCell(*cell).width;
                if (width > spanned)
                    columns[column + span - 1] += ClampToInt(width - spanned);
            }
            column += span;
        }
    }
    // Stretching columns share the width the columns leave, the last of them taking the remainder.
    int64_t used = 0;
    for (int column : columns)
        used += column;
    const int64_t stretching = std::count(stretch.begin(), stretch.end(), true);
    if (stretching > 0 && used < content.width) {
        const int64_t spare = content.width - used;
        int64_t given = 0;
        int64_t seen = 0;
        for (size_t i = 0; i < columns.size(); ++i) {
            if (!stretch[i])
                continue;
            const int64_t share = ++seen == stretching ? spare - given : spare / stretching;
            columns[i] = ClampToInt(columns[i] + share);
            given += share;
        }
    }
    // Rows with a Weight share the height the rows leave, as the children of a column do.
    int64_t rowsHeight = 0;
    int64_t rowWeights = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
        rowsHeight += heights[r];
        rowWeights += std::max(0, Weight(*rows[r]));
    }
    if (rowWeights > 0 && rowsHeight < content.height) {
        const int64_t spare = content.height - rowsHeight;
        int64_t given = 0;
        int64_t weightSeen = 0;
        for (size_t r = 0; r < rows.size(); ++r) {
            const int weight = std::max(0, Weight(*rows[r]));
            if (weight == 0)
                continue;
            weightSeen += weight;
            // Each row's share ends where the weights so far reach, so the shares add up exactly.
            const int64_t reach = spare * weightSeen / rowWeights;
            heights[r] = ClampToInt(heights[r] + reach - given);
            given = reach;
        }
    }
    int64_t y = content.y;
    for (size_t r = 0; r < rows.size(); ++r) {
        CObjectData& row = *rows[r];
        const std::vector<CObjectData*> cells = CellsOf(row);
        const bool rowGroup = cells.empty() || cells.front() != &row;
        int64_t x = content.x;
        int rowDepth = depth + 1;
        const bool rowDisabled = disabled || IsTrue(row.GetItem("Disable"));
        if (rowGroup) {
            int64_t width = 0;
            for (int column : columns)
                width += column;
            Enter(row, {content.x, ClampToInt(y), ClampToInt(width), heights[r]}, rowDepth, rowDisabled, clip);
            ++rowDepth;
        }
        size_t column = 0;
        for (CObjectData* cell : cells) {
            const size_t span = static_cast<size_t>(SpanOf(*cell));
            int64_t width = 0;
            for (size_t i = column; i < column + span; ++i)
                width += columns[i];
            Placement at;
            at.x = ClampToInt(x);
            at.y = ClampToInt(y);
            at.availableWidth = ClampToInt(width);
            at.availableHeight = heights[r];
            Arrange(*cell, at, rowDepth, rowGroup ? rowDisabled : disabled, clip);
            x += width;
            column += span;
        }
        y += heights[r];
    }
}

void DevicePass::Arrange(CObjectData& node, const Placement& at, int depth, bool disabled, const LayoutBox& clip)
{
    disabled = disabled || IsTrue(node.GetItem("Disable"));
    const BoxSpacing margin = ParseSpacing(node.GetItem("Margin"), m_context);
    LayoutSize size = OwnSize(node, Less(at.availableWidth, margin.left, margin.right),
                              Less(at.availableHeight, margin.top, margin.bottom));
    if (at.forcedWidth >= 0)
        size.width = Less(at.forcedWidth, margin.left, margin.right);
    if (at.forcedHeight >= 0)
        size.height = Less(at.forcedHeight, margin.top, margin.bottom);
    const LayoutBox box{ClampToInt(int64_t{at.x} + margin.left), ClampToInt(int64_t{at.y} + margin.top), size.width,
                        size.height};
    Enter(node, box, depth, disabled, clip);
    if (!node.IsGroup())
        return;
    const auto& group = static_cast<const CObjectDataList&>(node);
    const BoxSpacing padding = ParseSpacing(node.GetItem("Padding"), m_context);
    const LayoutBox content{ClampToInt(int64_t{box.x} + padding.left), ClampToInt(int64_t{box.y} + padding.top),
                            Less(box.width, padding.left, padding.right),
                            Less(box.height, padding.top, padding.bottom)};
    switch (group.LayoutCode()) {
    case LAYOUT_FRAME:
    case LAYOUT_RELATIVE:
        for (CObjectData* child : VisibleChildren(group)) {
            Placement placed;
            placed.x = ClampToInt(int64_t{content.x} + PlainLength(child->GetItem("PosX"), m_context, true));
            placed.y = ClampToInt(int64_t{content.y} + PlainLength(child->GetItem("PosY"), m_context, false));
            placed.availableWidth = content.width;
            placed.availableHeight = content.height;
            Arrange(*child, placed, depth + 1, disabled, clip);
        }
        break;
    case LAYOUT_PAGE:
        if (const std::vector<CObjectData*> children = VisibleChildren(group); !children.empty()) {
            Placement page{content.x, content.y, content.width, content.height, content.width, content.height};
            Arrange(*children.front(), page, depth + 1, disabled, clip);
        }
        break;
    case LAYOUT_TABLE:
        ArrangeTable(group, content, depth, disabled, clip);
        break;
    case LAYOUT_SCROLL: {
        // The content keeps its natural length along the run and is cut to the box.
        const bool vertical = RunsVertically(group);
        const LayoutSize natural = ContentOf(group, content.width, content.height);
        const int room = std::max(vertical ? content.height : content.width, vertical ? natural.height : natural.width);
        ArrangeRun(group, content, vertical, room, depth, disabled, Intersect(content, clip));
        break;
    }
    default: {
        const bool vertical = RunsVertically(group);
        ArrangeRun(group, content, vertical, vertical ? content.height : content.width, depth, disabled, clip);
        break;
    }
    }
}

} // namespace

BoxSpacing ParseSpacing(std::string_view text, const LayoutContext& context)
{
    int sides[4] = {};
    for (int side = 0; side < 4 && !text.empty(); ++side) {
        const size_t comma = text.find(',');
        sides[side] = PlainLength(text.substr(0, comma), context, side % 2 == 0);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return {sides[0], sides[1], sides[2], sides[3]};
}

int DeviceUnitsForPixels(int pixels, const LayoutContext& context, bool horizontal)
{
    if (pixels <= 0)
        return 0;
    const auto pixelsOf = [&](int units) { return PlainLength(std::to_string(units), context, horizontal); };
    // The smallest count of units that reaches the pixels (lengths grow with their number), then
    // the nearer of it and the one below.
    int high = 1;
    while (pixelsOf(high) < pixels && high < (1 << 28))
        high *= 2;
    int low = 0;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (pixelsOf(middle) < pixels)
            low = middle + 1;
        else
            high = middle;
    }
    if (low > 0 && pixels - pixelsOf(low - 1) < pixelsOf(low) - pixels)
        --low;
    return low;
}

DialogLayout ComputeDeviceLayout(const CTekDialogData& dialog, DeviceSize device, LayoutArea area,
                                 const DeviceMeasures& measures)
{
    DialogLayout layout;
    layout.size = area;
    CObjectDataList* root = dialog.RootGroup();
    if (!root)
        return layout;
    LayoutContext context = PrepareLayout(dialog, device, 0, 0).context;
    context.previewWidth = area.width;
    context.previewHeight = area.height;
    layout.context = context;
    layout.hasRoot = true;
    layout.previewArea = {0, 0, area.width, area.height};
    if (IsHidden(*root))
        return layout;
    DevicePass pass(context, measures, layout);
    Placement whole;
    whole.availableWidth = area.width;
    whole.availableHeight = area.height;
    pass.Arrange(*root, whole, 0, false, layout.previewArea);
    return layout;
}

} // namespace vesk
