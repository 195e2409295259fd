// The layout checks: each dialog laid out by the device layout at every size targeted, and the
// boxes it answers compared with the area, the texts they show, their neighbours and a finger.
#include "records/layoutlint.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "objects/devicelayout.h"
#include "objects/devicesizes.h"
#include "objects/objectdata.h"
#include "objects/orbunit.h"
#include "objects/resourcedata.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

/// The smallest side, in device pixels, of an object a finger taps reliably.
constexpr int kTapTargetSide = 40;

bool TakesTaps(const CObjectData& object)
{
    switch (object.ObjectTypeCode()) {
    case OBJ_BUTTON:
    case OBJ_CHECKBOX:
    case OBJ_TOGGLE:
    case OBJ_RADIOBTN:
    case OBJ_EDIT:
    case OBJ_PULLDOWN:
    case OBJ_SLIDEBAR:
        return true;
    default:
        return object.GetItem("Clickable") == "true";
    }
}

/// The node's path in the dialog: group names then its own, '/'-separated.
std::string PathOf(const CObjectData& node)
{
    std::vector<const CObjectData*> chain;
    for (const CObjectData* at = &node; at; at = at->ParentGroup())
        chain.push_back(at);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const std::string& name = (*it)->GetItem("Name");
        if (!path.empty())
            path += '/';
        path += name.empty() ? std::string("(unnamed)") : ToUtf8(name);
    }
    return path;
}

bool Overlap(const LayoutBox& a, const LayoutBox& b)
{
    return a.width > 0 && a.height > 0 && b.width > 0 && b.height > 0 && int64_t{a.x} < int64_t{b.x} + b.width &&
           int64_t{b.x} < int64_t{a.x} + a.width && int64_t{a.y} < int64_t{b.y} + b.height &&
           int64_t{b.y} < int64_t{a.y} + a.height;
}

class LayoutLinter {
public:
    LayoutLinter(const CTekDialogData& dialog, const DialogLayout& layout, const TextMeasurer& text,
                 const PictureSizer* pictures, std::vector<LintFinding>& findings)
        : m_layout(layout), m_text(text), m_pictures(pictures), m_findings(findings),
          m_dialogName(ToUtf8(dialog.GetItem("Name"))), m_size(DeviceSizeText(layout.size))
    {
    }

    void Run()
    {
        const LayoutBox& area = m_layout.previewArea;
        std::unordered_map<const CObjectDataList*, size_t> frameIndex;
        std::vector<std::vector<size_t>> framed;
        for (size_t i = 0; i < m_layout.nodes.size(); ++i) {
            const LaidOutNode& entry = m_layout.nodes[i];
            const CObjectData& node = *entry.node;
            if (const CObjectDataList* parent = node.ParentGroup(); parent && parent->LayoutCode() == LAYOUT_FRAME) {
                auto [at, added] = frameIndex.emplace(parent, framed.size());
                if (added)
                    framed.emplace_back();
                framed[at->second].push_back(i);
            }
            if (entry.IsGroup())
                continue;
            const LayoutBox& box = entry.box;
            if (box.width <= 0 || box.height <= 0) {
                if (!ShowsNothing(node))
                    Add("zero-size", node, "",
                        "the object is laid out " + std::to_string(box.width) + "x" + std::to_string(box.height) +
                            " at " + m_size,
                        m_size + " でオブジェクトの大きさが " + std::to_string(box.width) + "x" +
                            std::to_string(box.height) + " になります");
                continue;
            }
            // Content of a SCROLL group is cut to its box and scrolls: only the rest must fit the area.
            const bool scrolled = i < m_layout.clips.size() && !(m_layout.clips[i] == area);
            if (!scrolled &&
                (box.x < area.x || box.y < area.y || int64_t{box.x} + box.width > int64_t{area.x} + area.width ||
                 int64_t{box.y} + box.height > int64_t{area.y} + area.height))
                Add("outside-area", node, "", "the object reaches outside the dialog's area at " + m_size,
                    m_size + " でオブジェクトがダイアログの領域からはみ出します");
            CheckText(entry);
            if (TakesTaps(node) && (box.width < kTapTargetSide || box.height < kTapTargetSide))
                Add("small-tap-target", node, "",
                    "the object takes taps but is " + std::to_string(box.width) + "x" + std::to_string(box.height) +
                        " at " + m_size + ", less than 40 pixels on a side",
                    m_size + " でタップするオブジェクトが " + std::to_string(box.width) + "x" +
                        std::to_string(box.height) + " しかありません (一辺 40 ピクセル未満)");
        }
        for (const std::vector<size_t>& children : framed)
            CheckOverlaps(children);
    }

private:
    void Add(std::string_view code, const CObjectData& node, std::string item, std::string message,
             std::string messageJa)
    {
        LintFinding finding;
        finding.code = std::string(code);
        for (const LintRule& rule : LintRules())
            if (finding.code == rule.code)
                finding.severity = rule.severity;
        finding.dialog = m_dialogName;
        finding.path = PathOf(node);
        finding.item = std::move(item);
        finding.message = std::move(message);
        finding.messageJa = std::move(messageJa);
        m_findings.push_back(std::move(finding));
    }

    /// A TEXT without a text (one filled in at run time), or a PICTURE or METER whose picture
    /// cannot be measured (its absence is a finding of its own): no size to expect.
    bool ShowsNothing(const CObjectData& node) const
    {
        const int code = node.ObjectTypeCode();
        if (code == OBJ_TEXT)
            return node.GetItem("Text").empty();
        if (code != OBJ_PICTURE && code != OBJ_METER)
            return false;
        if (!m_pictures)
            return true;
        const LayoutSize size = m_pictures->PictureSize(node.GetItem("FileSource"), node.GetItem("File"));
        return size.width <= 0 || size.height <= 0;
    }

    int FontHeight(const CObjectData& object) const
    {
        OrbUnit unit;
        unit.SetContext(m_layout.context);
        unit.ParseUnit(object.GetItem("TSize"));
        const int height = unit.ToPixelsY();
        return height > 0 ? height : kDeviceFontHeight;
    }

    /// The text the object shows and the width it is drawn in, as the device look paints them.
    void CheckText(const LaidOutNode& entry)
    {
        const CObjectData& object = *entry.node;
        const int code = object.ObjectTypeCode();
        const int font = FontHeight(object);
        const BoxSpacing padding = ParseSpacing(object.GetItem("Padding"), m_layout.context);
        int64_t room = int64_t{entry.box.width} - padding.left - padding.right;
        const char* item = "Text";
        switch (code) {
        case OBJ_TEXT:
        case OBJ_BUTTON:
            break;
        case OBJ_EDIT:
            room -= 8;
            break;
        case OBJ_CHECKBOX:
        case OBJ_RADIOBTN:
            room -= std::min(font, entry.box.height) + font / 4;
            break;
        case OBJ_TOGGLE:
            item = "TextOff";
            room -= 2 * std::min(font, entry.box.height) + font / 4;
            break;
        default:
            return;
        }
        const std::string& text = object.GetItem(item);
        if (text.empty())
            return;
        const int width = m_text.MeasureText(text, font).width;
        if (width > room)
            Add("clipped-text", object, item,
                item + std::string(" is ") + std::to_string(width) + " pixels wide at TSize " + std::to_string(font) +
                    " but has " + std::to_string(std::max<int64_t>(0, room)) + " at " + m_size + "; it is cut off",
                m_size + " で " + item + " の幅 " + std::to_string(width) + " が表示幅 " +
                    std::to_string(std::max<int64_t>(0, room)) + " を超えて切れます");
    }

    /// Reports each node of a FRAME that overlaps an earlier one, once, naming the first of
    /// those it overlaps.
    void CheckOverlaps(const std::vector<size_t>& children)
    {
        // Sorted by left edge, each box is compared only with those that start before it ends.
        std::vector<size_t> order(children);
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return m_layout.nodes[a].box.x < m_layout.nodes[b].box.x; });
        std::unordered_map<size_t, size_t> firstOverlapped; // a node's index: the earliest it overlaps
        for (size_t i = 0; i < order.size(); ++i) {
            const LaidOutNode& first = m_layout.nodes[order[i]];
            for (size_t j = i + 1; j < order.size(); ++j) {
                const LaidOutNode& second = m_layout.nodes[order[j]];
                if (int64_t{second.box.x} >= int64_t{first.box.x} + first.box.width)
                    break;
                if (!Overlap(first.box, second.box))
                    continue;
                const size_t later = std::max(order[i], order[j]);
                const size_t earlier = std::min(order[i], order[j]);
                auto [at, added] = firstOverlapped.emplace(later, earlier);
                if (!added)
                    at->second = std::min(at->second, earlier);
            }
        }
        for (size_t index : children) {
            auto found = firstOverlapped.find(index);
            if (found == firstOverlapped.end())
                continue;
            const std::string other = ToUtf8(m_layout.nodes[found->second].node->GetItem("Name"));
            Add("frame-overlap", *m_layout.nodes[index].node, "",
                "the node overlaps '" + other + "' in its FRAME at " + m_size,
                m_size + " で FRAME 内の '" + other + "' と重なっています");
        }
    }

    const DialogLayout& m_layout;
    const TextMeasurer& m_text;
    const PictureSizer* m_pictures;
    std::vector<LintFinding>& m_findings;
    std::string m_dialogName;
    std::string m_size;
};

} // namespace

LayoutSize CachedTextMeasurer::MeasureText(std::string_view text, int fontHeight) const
{
    std::string key(text);
    key += '\0';
    key += std::to_string(fontHeight);
    auto found = m_sizes.find(key);
    if (found == m_sizes.end())
        found = m_sizes.emplace(std::move(key), m_measurer.MeasureText(text, fontHeight)).first;
    return found->second;
}

void LintDialogLayout(const CTekDialogData& dialog, DeviceSize projectDevice, const LintOptions& options,
                      std::vector<LintFinding>& findings)
{
    if (!options.text || !dialog.RootGroup())
        return;
    std::vector<LayoutArea> sizes{{projectDevice.width, projectDevice.height}};
    for (const LayoutArea& size : options.deviceSizes)
        if (std::none_of(sizes.begin(), sizes.end(),
                         [&](const LayoutArea& s) { return s.width == size.width && s.height == size.height; }))
            sizes.push_back(size);
    const TextMeasurer& text = *options.text;
    for (const LayoutArea& size : sizes) {
        const DialogLayout layout =
            ComputeDeviceLayout(dialog, {size.width, size.height}, size, {&text, options.pictures});
        LayoutLinter(dialog, layout, text, options.pictures, findings).Run();
    }
}

} // namespace vesk
