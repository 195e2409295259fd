// The parts of the fast layout that the reference does not have: the type looks found by a
// table, label lines appended in place, and a box style that paints the marked nodes in a second
// round over the kept layout instead of laying the dialog out again.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogbuilder.h"
#include "objects/dialoglayout.h"
#include "objects/layout.h"
#include "referencelayout.h"
#include "textconv/textconv.h"

namespace vesk {
namespace {

using test::AddGroup;
using test::AddObject;
using Shown = layout_detail::TypeLook::Shown;

TEST(TypeLook, KnownTypesAndTheirNeighbours)
{
    const struct {
        const char* type;
        const char* tag;
        Shown shown;
    } known[] = {
        {"TEXT", "TXT", Shown::Text},      {"EDIT", "EDIT", Shown::Text},     {"BUTTON", "BTN", Shown::Text},
        {"CHECKBOX", "CHK", Shown::Text},  {"RADIOBTN", "RADO", Shown::Text}, {"TOGGLE", "TOGL", Shown::TextOn},
        {"GRID", "GRID", Shown::None},     {"PULLDOWN", "PDWN", Shown::None}, {"PROGRESS", "PROG", Shown::None},
        {"SLIDEBAR", "SLID", Shown::None}, {"PICTURE", "PIC", Shown::File},   {"METER", "METR", Shown::File},
    };
    for (const auto& entry : known) {
        const layout_detail::TypeLook look = layout_detail::LookOfType(entry.type);
        EXPECT_EQ(look.tag, entry.tag) << entry.type;
        EXPECT_EQ(look.shown, entry.shown) << entry.type;
    }
    EXPECT_EQ(layout_detail::ShownTextItem("TOGGLE"), "TextOn");
    EXPECT_EQ(layout_detail::ShownTextItem("METER"), "File");
    EXPECT_EQ(layout_detail::ShownTextItem("EDIT"), "Text");
    EXPECT_EQ(layout_detail::ShownTextItem("GRID"), "");
    // Anything else is its own tag and shows nothing, however close to a known type.
    const std::vector<std::string> others = {"",        "T",       "TEXT ",    "TEXt",   "text",
                                             "TEXTX",   "PROGRES", "PULLDOWM", "CANVAS", std::string("TE\0T", 4),
                                             "EDIT\xFF"};
    for (const std::string& other : others) {
        const layout_detail::TypeLook look = layout_detail::LookOfType(other);
        EXPECT_EQ(look.tag, other);
        EXPECT_EQ(look.shown, Shown::None);
        EXPECT_EQ(layout_detail::ShownTextItem(other), "");
    }
}

/// The label line by its rule: the name, then ':' and the text, the part after the name dropped
/// when it has at most one character (a lead byte and the byte after it count once).
std::string ExpectedLine(const std::string* name, const std::string& text)
{
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++characters)
        i += IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    const bool named = name && !name->empty();
    std::string line = named ? *name : std::string();
    if ((named ? 1 : 0) + characters > 1)
        line += (named ? ":" : "") + text;
    return line;
}

TEST(LabelLine, AppendedAsComposed)
{
    const std::string name = "n";
    const std::string empty;
    const std::vector<std::string> texts = {"",
                                            "A",
                                            "AB",
                                            Utf8ToShiftJisExact("字"),
                                            Utf8ToShiftJisExact("字") + "A",
                                            Utf8ToShiftJisExact("漢字"),
                                            "\x82",
                                            "\x82\x82",
                                            "A\x82"};
    for (const std::string* label : {&name, &empty, static_cast<const std::string*>(nullptr)}) {
        for (const std::string& text : texts) {
            std::string composed = "old";
            layout_detail::ComposeLabelLine(composed, label, &text);
            EXPECT_EQ(composed, ExpectedLine(label, text));
            std::string appended = "head";
            layout_detail::AppendLabelLine(appended, label, &text);
            EXPECT_EQ(appended, "head" + composed);
        }
    }
    std::string line;
    layout_detail::ComposeLabelLine(line, &name, nullptr);
    EXPECT_EQ(line, "n");
    // Without a name, one character (a lead byte and the byte after it, or a lone last lead byte)
    // is dropped, two are kept.
    layout_detail::ComposeLabelLine(line, nullptr, &texts[3]);
    EXPECT_EQ(line, "");
    layout_detail::ComposeLabelLine(line, nullptr, &texts[6]);
    EXPECT_EQ(line, "");
    layout_detail::ComposeLabelLine(line, nullptr, &texts[8]);
    EXPECT_EQ(line, "A\x82");
    layout_detail::ComposeLabelLine(line, &name, &texts[1]);
    EXPECT_EQ(line, "n:A");
}

struct Drawn {
    std::vector<DrawCall> calls;
    std::vector<LayoutRect> rectangles;
};

void Collect(const CObjectData& node, std::vector<LayoutRect>& out)
{
    if (!node.IsGroup()) {
        out.push_back(node.GetLayoutRect());
        return;
    }
    for (const ObjectPtr& child : static_cast<const CObjectDataList&>(node).Children())
        Collect(*child, out);
}

Drawn Draw(void (*layout)(const CTekDialogData&, DeviceSize, DrawingSurface&, int, int), const CTekDialogData& dialog)
{
    RecordingSurface surface;
    layout(dialog, DeviceSize{}, surface, 480, 800);
    Drawn drawn{surface.Calls(), {}};
    Collect(*dialog.RootObject(), drawn.rectangles);
    return drawn;
}

void ExpectAsReference(const CTekDialogData& dialog, const std::string& what)
{
    const Drawn reference = Draw(&test::ReferenceLayOutDialog, dialog);
    const Drawn fast = Draw(&test::LayOutAndStoreRects, dialog);
    EXPECT_TRUE(fast.calls == reference.calls) << what;
    EXPECT_TRUE(fast.rectangles == reference.rectangles) << what;
}

/// A vertical root of rows, each a horizontal group (or frame) of weighted objects around a
/// nested group, so that the second pass has unmarked siblings to step over.
std::shared_ptr<CTekDialogData> RowsDialog()
{
    auto dialog = test::MakeDialog();
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
    for (int row = 0; row < 4; ++row) {
        auto group = AddGroup(root.get(), row == 2 ? LAYOUT_FRAME : LAYOUT_LINEAR, "row" + std::to_string(row), false,
                              "PARENT", "", "", row % 2 ? "CENTER" : "");
        for (int i = 0; i < 3; ++i)
            AddObject(group.get(), OBJ_BUTTON, "b" + std::to_string(row) + std::to_string(i), i ? "" : "30", "",
                      i == 1 ? "1" : "");
        auto inner = AddGroup(group.get(), LAYOUT_LINEAR, "inner" + std::to_string(row), true, "CONTENT", "");
        AddObject(inner.get(), OBJ_TEXT, "t" + std::to_string(row), "20", "12");
        AddObject(inner.get(), OBJ_TOGGLE, "g" + std::to_string(row));
    }
    dialog->SetRoot(root);
    return dialog;
}

CObjectDataList& Row(CTekDialogData& dialog, int row)
{
    return static_cast<CObjectDataList&>(dialog.RootGroup()->ChildAt(row));
}

TEST(SecondPass, DrawsMarkedNodesWherePlacedWhateverTheirSiblings)
{
    auto dialog = RowsDialog();
    ExpectAsReference(*dialog, "nothing marked");

    // One object deep inside the third row (a frame), then its group, then a whole row.
    auto& inner = static_cast<CObjectDataList&>(Row(*dialog, 2).ChildAt(3));
    inner.ChildAt(1).SetMark(1);
    ExpectAsReference(*dialog, "one object marked");
    inner.SetMark(1);
    ExpectAsReference(*dialog, "a group marked");
    Row(*dialog, 0).SetMark(1);
    ExpectAsReference(*dialog, "a row and a group marked");
    // A marked group among unmarked children, and the last object of the last row.
    Row(*dialog, 0).ClearMarks();
    Row(*dialog, 1).CObjectData::SetMark(1);
    Row(*dialog, 3).ChildAt(2).SetMark(1);
    ExpectAsReference(*dialog, "a group marked alone");
    dialog->RootGroup()->SetMark(1);
    ExpectAsReference(*dialog, "everything marked");
}

TEST(SecondPass, RectanglesOfUnmarkedNodesStayFromTheFirstPass)
{
    auto dialog = RowsDialog();
    Row(*dialog, 1).ChildAt(0).SetMark(1);
    test::ReferenceLayOutDialog(*dialog, DeviceSize{}, *std::make_unique<NullSurface>(), 480, 800);
    std::vector<LayoutRect> expected;
    Collect(*dialog->RootObject(), expected);

    std::function<void(CObjectData&)> reset = [&](CObjectData& node) {
        node.SetLayoutRect({-1, -1, -1, -1});
        if (node.IsGroup())
            for (const ObjectPtr& child : static_cast<CObjectDataList&>(node).Children())
                reset(*child);
    };
    reset(*dialog->RootObject());
    StoreLayoutRects(ComputeLayout(*dialog, DeviceSize{}, {480, 800}));
    std::vector<LayoutRect> placed;
    Collect(*dialog->RootObject(), placed);
    EXPECT_TRUE(placed == expected);
}

} // namespace
} // namespace vesk
