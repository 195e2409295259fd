#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "dialogbuilder.h"
#include "objects/layout.h"
#include "referencelayout.h"
#include "textconv/textconv.h"

namespace vesk {
namespace {

using test::AddGroup;
using test::AddObject;
using test::MakeDialog;

using LayoutFunction = void (*)(const CTekDialogData&, DeviceSize, DrawingSurface&, int, int);

std::vector<DrawCall> CallsOfKind(const RecordingSurface& surface, DrawCall::Kind kind)
{
    std::vector<DrawCall> calls;
    for (const DrawCall& call : surface.Calls())
        if (call.kind == kind)
            calls.push_back(call);
    return calls;
}

LayoutRect Rect(int left, int top, int right, int bottom)
{
    return {left, top, right, bottom};
}

// Every expectation holds for both the editor's layout (ComputeLayout painted in the box style,
// its rectangles stored in the objects) and the reference one.
class LayoutTest : public ::testing::TestWithParam<LayoutFunction> {
protected:
    LayoutTest() : m_dialog(MakeDialog()) {}

    GroupPtr Root(bool vertical, const std::string& width = "PARENT", const std::string& height = "PARENT",
                  int layout = LAYOUT_LINEAR)
    {
        auto root = AddGroup(nullptr, layout, "root", vertical, width, height);
        m_dialog->SetRoot(root);
        return root;
    }

    void LayOut(int width = 480, int height = 800)
    {
        m_surface.Clear();
        GetParam()(*m_dialog, DeviceSize{}, m_surface, width, height);
    }

    std::shared_ptr<CTekDialogData> m_dialog;
    RecordingSurface m_surface;
};

TEST(PrepareLayout, PreviewAreaAndContentSize)
{
    auto dialog = MakeDialog();
    LayoutStart start = PrepareLayout(*dialog, DeviceSize{}, 480, 800);
    EXPECT_EQ(start.context.previewWidth, 470);
    EXPECT_EQ(start.context.previewHeight, 790);
    EXPECT_EQ(start.contentSize, 39);
    EXPECT_EQ(layout_detail::ContentWidth(start.contentSize), 50);
    EXPECT_EQ(start.context.targetWidth, 100);
    EXPECT_EQ(start.context.targetHeight, 100);
    EXPECT_EQ(start.context.deviceWidth, 1024);
    EXPECT_EQ(start.context.deviceHeight, 800);

    // A landscape area divides the other way round.
    EXPECT_EQ(PrepareLayout(*dialog, DeviceSize{}, 800, 480).contentSize, std::min(790 / 16, 470 / 12));
}

TEST(PrepareLayout, TargetLayoutFallsBackAsAPair)
{
    auto dialog = MakeDialog();
    dialog->SetItem("TargetLayoutWidth", "200");
    dialog->SetItem("TargetLayoutHeight", "400");
    LayoutStart start = PrepareLayout(*dialog, DeviceSize{480, 640}, 480, 800);
    EXPECT_EQ(start.context.targetWidth, 200);
    EXPECT_EQ(start.context.targetHeight, 400);
    EXPECT_EQ(start.context.deviceWidth, 480);
    EXPECT_EQ(start.context.deviceHeight, 640);

    dialog->SetItem("TargetLayoutHeight", "0");
    start = PrepareLayout(*dialog, DeviceSize{0, -5}, 480, 800);
    EXPECT_EQ(start.context.targetWidth, 100);
    EXPECT_EQ(start.context.targetHeight, 100);
    EXPECT_EQ(start.context.deviceWidth, 1024);
    EXPECT_EQ(start.context.deviceHeight, 800);
}

TEST(DeviceSizeOf, ReadsTheResourceItems)
{
    CTekResourceData resource;
    DeviceSize size = DeviceSizeOf(resource);
    EXPECT_EQ(size.width, 1024);
    EXPECT_EQ(size.height, 800);
    resource.SetItem("DeviceWidth", "480");
    resource.SetItem("DeviceHeight", "wide");
    size = DeviceSizeOf(resource);
    EXPECT_EQ(size.width, 480);
    EXPECT_EQ(size.height, 800);
}

TEST(ParseAlign, Codes)
{
    EXPECT_EQ(ParseAlign(""), 0);
    EXPECT_EQ(ParseAlign("LEFT"), 0);
    EXPECT_EQ(ParseAlign("CENTER"), 1);
    EXPECT_EQ(ParseAlign("RIGHT"), 2);
    EXPECT_EQ(ParseAlign("MIDDLE"), 3); // horizontal start, vertical centre
    EXPECT_EQ(ParseAlign("BOTTOM"), 6);
    EXPECT_EQ(ParseAlign("LEFT|BOTTOM"), 6);
    EXPECT_EQ(ParseAlign("CENTER|MIDDLE"), 4);
    EXPECT_EQ(ParseAlign("RIGHT|BOTTOM"), 8);
    EXPECT_EQ(ParseAlign("|CENTER|MIDDLE"), 4);
    EXPECT_EQ(ParseAlign("||RIGHT"), 2);
    EXPECT_EQ(ParseAlign("CENTER|"), 1);
    EXPECT_EQ(ParseAlign("center|middle"), 0);
    EXPECT_EQ(ParseAlign("TOP|MIDDLE|BOTTOM"), 0);
}

TEST(LabelOf, TagsAndLines)
{
    auto button = AddObject(nullptr, OBJ_BUTTON, "b1");
    button->SetItem("Text", "OK");
    EXPECT_EQ(LabelOf(*button).tag, "BTN");
    EXPECT_EQ(LabelOf(*button).line, "b1:OK");
    button->SetItem("Text", "");
    EXPECT_EQ(LabelOf(*button).line, "b1");

    auto text = AddObject(nullptr, OBJ_TEXT, "");
    text->SetItem("Text", "A");
    EXPECT_EQ(LabelOf(*text).tag, "TXT");
    EXPECT_EQ(LabelOf(*text).line, "");
    // One Japanese character is two Shift_JIS bytes but still one character.
    text->SetItem("Text", Utf8ToShiftJisExact("字"));
    EXPECT_EQ(LabelOf(*text).line, "");
    text->SetItem("Text", "AB");
    EXPECT_EQ(LabelOf(*text).line, "AB");

    auto toggle = AddObject(nullptr, OBJ_TOGGLE, "t1");
    toggle->SetItem("TextOn", "ON");
    toggle->SetItem("TextOff", "OFF");
    EXPECT_EQ(LabelOf(*toggle).tag, "TOGL");
    EXPECT_EQ(LabelOf(*toggle).line, "t1:ON");

    auto picture = AddObject(nullptr, OBJ_PICTURE, "p");
    picture->SetItem("File", "logo.png");
    EXPECT_EQ(LabelOf(*picture).tag, "PIC");
    EXPECT_EQ(LabelOf(*picture).line, "p:logo.png");

    auto canvas = AddObject(nullptr, OBJ_CANVAS, "c");
    canvas->SetOrAddItem("Text", "ignored");
    EXPECT_EQ(LabelOf(*canvas).tag, "CANVAS");
    EXPECT_EQ(LabelOf(*canvas).line, "c");

    const std::pair<int, const char*> tags[] = {{OBJ_EDIT, "EDIT"},     {OBJ_CHECKBOX, "CHK"},  {OBJ_RADIOBTN, "RADO"},
                                                {OBJ_GRID, "GRID"},     {OBJ_PULLDOWN, "PDWN"}, {OBJ_PROGRESS, "PROG"},
                                                {OBJ_SLIDEBAR, "SLID"}, {OBJ_METER, "METR"}};
    for (const auto& [code, tag] : tags)
        EXPECT_EQ(LabelOf(*AddObject(nullptr, code, "x")).tag, tag);

    auto unknown = AddObject(nullptr, OBJ_TEXT, "u");
    unknown->SetItem("Type", "FOO");
    unknown->SetItem("Text", "hidden");
    EXPECT_EQ(LabelOf(*unknown).tag, "FOO");
    EXPECT_EQ(LabelOf(*unknown).line, "u");
}

TEST_P(LayoutTest, ContentObjectInTheDefaultArea)
{
    auto root = Root(true);
    auto object = AddObject(root.get(), OBJ_BUTTON, "b");
    LayOut();
    EXPECT_EQ(object->GetLayoutRect(), Rect(5, 5, 55, 44));
    const auto fills = CallsOfKind(m_surface, DrawCall::Kind::Fill);
    ASSERT_GE(fills.size(), 2u);
    EXPECT_EQ(fills[0], (DrawCall{DrawCall::Kind::Fill, 5, 5, 470, 790, kDialogBackgroundColor, {}, 0, false}));
}

TEST_P(LayoutTest, WeightedButtonTakesTheRest)
{
    auto root = Root(true);
    auto b1 = AddObject(root.get(), OBJ_BUTTON, "b1");
    auto b2 = AddObject(root.get(), OBJ_BUTTON, "b2");
    auto b3 = AddObject(root.get(), OBJ_BUTTON, "b3", "", "", "1");
    LayOut();
    EXPECT_EQ(b1->GetLayoutRect(), Rect(5, 5, 55, 44));
    EXPECT_EQ(b2->GetLayoutRect(), Rect(5, 44, 55, 83));
    EXPECT_EQ(b3->GetLayoutRect(), Rect(5, 83, 55, 795));
}

TEST_P(LayoutTest, WeightUnitDropsTheRemainder)
{
    auto root = Root(false);
    auto group = AddGroup(root.get(), LAYOUT_LINEAR, "g", false, "300px", "");
    auto fixed = AddObject(group.get(), OBJ_TEXT, "f", "100px");
    auto one = AddObject(group.get(), OBJ_TEXT, "w1", "", "", "1");
    auto two = AddObject(group.get(), OBJ_TEXT, "w2", "", "", "2");
    auto after = AddObject(root.get(), OBJ_TEXT, "after");
    LayOut();
    EXPECT_EQ(fixed->GetLayoutRect(), Rect(5, 5, 105, 44));
    EXPECT_EQ(one->GetLayoutRect(), Rect(105, 5, 171, 44));
    EXPECT_EQ(two->GetLayoutRect(), Rect(171, 5, 303, 44));
    // The group answers the sum of its children, 2 pixels short of its width.
    EXPECT_EQ(after->GetLayoutRect().left, 303);
}

TEST_P(LayoutTest, HorizontalAlignmentOffsets)
{
    struct Case {
        const char* align;
        const char* width;
        const char* weight;
        int expectedLeft;
    };
    const Case cases[] = {
        {"CENTER", "PARENT", "", 105}, {"RIGHT", "PARENT", "", 205}, {"LEFT", "PARENT", "", 5},
        {"MIDDLE", "PARENT", "", 5},   {"CENTER", "300px", "", 5},   {"CENTER|MIDDLE", "PARENT", "", 105},
        {"RIGHT", "PARENT", "1", 5},
    };
    for (const Case& c : cases) {
        auto root = Root(true, "300px");
        auto group = AddGroup(root.get(), LAYOUT_LINEAR, "g", false, c.width, "", "", c.align);
        auto child = AddObject(group.get(), OBJ_TEXT, "c", "100px", "", c.weight);
        LayOut();
        EXPECT_EQ(child->GetLayoutRect().left, c.expectedLeft) << c.align << ' ' << c.width << ' ' << c.weight;
    }
}

TEST_P(LayoutTest, VerticalAlignmentOffsets)
{
    const std::pair<const char*, int> cases[] = {
        {"LEFT|BOTTOM", 205}, {"BOTTOM", 205}, {"MIDDLE", 105}, {"CENTER", 5}, {"RIGHT|TOP", 5}};
    for (const auto& [align, expectedTop] : cases) {
        auto root = Root(false, "PARENT", "300px");
        auto group = AddGroup(root.get(), LAYOUT_LINEAR, "g", true, "", "PARENT", "", align);
        auto child = AddObject(group.get(), OBJ_TEXT, "c", "", "100px");
        LayOut();
        EXPECT_EQ(child->GetLayoutRect().top, expectedTop) << align;
        EXPECT_EQ(child->GetLayoutRect().left, 5) << align;
    }
}

TEST_P(LayoutTest, FramePlacesEveryChildAtItsOrigin)
{
    for (int layout : {LAYOUT_FRAME, LAYOUT_RELATIVE}) {
        auto root = Root(true);
        AddObject(root.get(), OBJ_TEXT, "top");
        auto frame = AddGroup(root.get(), layout, "f", false, "200px", "100px");
        auto a = AddObject(frame.get(), OBJ_BUTTON, "a", "50px", "20px");
        a->SetOrAddItem("PosX", "30");
        a->SetOrAddItem("PosY", "40");
        auto b = AddObject(frame.get(), OBJ_BUTTON, "b", "80px", "60px");
        auto c = AddObject(frame.get(), OBJ_BUTTON, "c", "PARENT", "");
        LayOut();
        EXPECT_EQ(a->GetLayoutRect(), Rect(5, 44, 55, 64));
        EXPECT_EQ(b->GetLayoutRect(), Rect(5, 44, 85, 104));
        EXPECT_EQ(c->GetLayoutRect(), Rect(5, 44, 205, 83));
    }
}

TEST_P(LayoutTest, GroupFrameIsWiderThanTheSizeItAnswers)
{
    auto root = Root(false);
    auto group = AddGroup(root.get(), LAYOUT_LINEAR, "g", false, "300px", "");
    AddObject(group.get(), OBJ_TEXT, "c", "100px");
    auto after = AddObject(root.get(), OBJ_TEXT, "after");
    LayOut();
    EXPECT_EQ(after->GetLayoutRect().left, 105);
    const auto frames = CallsOfKind(m_surface, DrawCall::Kind::Frame);
    const DrawCall groupFrame{DrawCall::Kind::Frame, 5, 5, 300, 39, kGroupFrameColor, {}, 0, false};
    EXPECT_NE(std::find(frames.begin(), frames.end(), groupFrame), frames.end());
}

TEST_P(LayoutTest, ZeroWidthTakesTheContentWidthOrLess)
{
    auto root = Root(true);
    auto wide = AddObject(root.get(), OBJ_TEXT, "wide", "0", "0");
    auto frame = AddGroup(root.get(), LAYOUT_FRAME, "f", false, "30px", "20px");
    auto narrow = AddObject(frame.get(), OBJ_TEXT, "narrow", "0", "0");
    LayOut();
    EXPECT_EQ(wide->GetLayoutRect(), Rect(5, 5, 55, 44));
    EXPECT_EQ(narrow->GetLayoutRect(), Rect(5, 44, 35, 64));
}

TEST_P(LayoutTest, PrivateUnitsFollowTheDialogsTarget)
{
    m_dialog->SetItem("TargetLayoutWidth", "200");
    m_dialog->SetItem("TargetLayoutHeight", "395");
    auto root = Root(true);
    auto object = AddObject(root.get(), OBJ_TEXT, "o", "100", "50pu");
    auto parent = AddObject(root.get(), OBJ_TEXT, "p", "PARENT", "9pt");
    LayOut();
    EXPECT_EQ(object->GetLayoutRect(), Rect(5, 5, 240, 105));
    EXPECT_EQ(parent->GetLayoutRect(), Rect(5, 105, 475, 125));
}

TEST_P(LayoutTest, LabelsOfAnUnmarkedBox)
{
    auto root = Root(true);
    auto button = AddObject(root.get(), OBJ_BUTTON, "b1", "100px", "40px");
    button->SetItem("Text", "OK");
    LayOut();
    const std::vector<DrawCall> expected = {
        {DrawCall::Kind::Fill, 5, 5, 470, 790, kDialogBackgroundColor, {}, 0, false},
        {DrawCall::Kind::Frame, 5, 5, 470, 790, kGroupFrameColor, {}, 0, false},
        {DrawCall::Kind::Fill, 5, 5, 100, 40, kObjectFillColor, {}, 0, false},
        {DrawCall::Kind::Frame, 5, 5, 100, 40, kObjectFrameColor, {}, 0, false},
        {DrawCall::Kind::Text, 9, 6, 98, 38, {}, "BTN", kTagFontHeight, false},
        {DrawCall::Kind::Text, 6, 10, 98, 38, {}, "b1:OK", kLabelFontHeight, true},
    };
    EXPECT_EQ(m_surface.Calls(), expected);
}

TEST_P(LayoutTest, MarkedNodesAreDrawnLastAndHighlighted)
{
    auto root = Root(true);
    auto marked = AddObject(root.get(), OBJ_TEXT, "m", "100px", "40px");
    auto group = AddGroup(root.get(), LAYOUT_FRAME, "g", false, "120px", "50px");
    auto inner = AddObject(group.get(), OBJ_TEXT, "i", "100px", "40px");
    auto plain = AddObject(root.get(), OBJ_TEXT, "p", "100px", "40px");
    marked->SetMark(1);
    group->SetMark(1);
    LayOut();
    const auto& calls = m_surface.Calls();
    auto firstOf = [&](const DrawCall& call) { return std::find(calls.begin(), calls.end(), call) - calls.begin(); };
    const long markedFill = firstOf({DrawCall::Kind::Fill, 5, 5, 100, 40, kMarkedFillColor, {}, 0, false});
    const long markedFrame = firstOf({DrawCall::Kind::Frame, 5, 5, 100, 40, kMarkedFrameColor, {}, 0, false});
    const long groupFrame = firstOf({DrawCall::Kind::Frame, 5, 45, 120, 50, kMarkedGroupFrameColor, {}, 0, false});
    const long innerFill = firstOf({DrawCall::Kind::Fill, 5, 45, 100, 40, kMarkedFillColor, {}, 0, false});
    const long plainFill = firstOf({DrawCall::Kind::Fill, 5, 95, 100, 40, kObjectFillColor, {}, 0, false});
    const long size = static_cast<long>(calls.size());
    ASSERT_LT(markedFill, size);
    ASSERT_LT(markedFrame, size);
    ASSERT_LT(groupFrame, size);
    ASSERT_LT(innerFill, size);
    ASSERT_LT(plainFill, size);
    EXPECT_GT(markedFill, plainFill);
    EXPECT_EQ(markedFrame, markedFill + 1);
    EXPECT_LT(groupFrame, innerFill);
    // A marked box is drawn once, in the second pass, with its labels.
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const DrawCall& c) { return c.kind == DrawCall::Kind::Text && c.text == "m"; }),
              1);
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const DrawCall& c) {
                                return c.x == 5 && c.y == 5 && c.width == 100 && c.color == kObjectFillColor;
                            }),
              0);
    EXPECT_EQ(marked->GetLayoutRect(), Rect(5, 5, 105, 45));
    EXPECT_EQ(inner->GetLayoutRect(), Rect(5, 45, 105, 85));
}

TEST_P(LayoutTest, GroupsKeepNoRectangleAndHitTestFindsObjects)
{
    auto root = Root(true);
    auto group = AddGroup(root.get(), LAYOUT_LINEAR, "g", false, "PARENT", "");
    auto left = AddObject(group.get(), OBJ_BUTTON, "l", "100px", "40px");
    auto right = AddObject(group.get(), OBJ_BUTTON, "r", "100px", "40px");
    LayOut();
    EXPECT_EQ(group->GetLayoutRect(), LayoutRect{});
    EXPECT_EQ(root->HitTestChildren(50, 20), left.get());
    EXPECT_EQ(root->HitTestChildren(105, 20), right.get());
    EXPECT_EQ(root->HitTestChildren(300, 20), nullptr);
    EXPECT_EQ(root->HitTestChildren(50, 45), nullptr);
}

TEST_P(LayoutTest, DialogWithoutRootGroupDrawsNothing)
{
    LayOut();
    EXPECT_TRUE(m_surface.Calls().empty());
    m_dialog->SetRoot(AddObject(nullptr, OBJ_BUTTON, "lonely"));
    LayOut();
    EXPECT_TRUE(m_surface.Calls().empty());
}

TEST_P(LayoutTest, TinyAndHugeValuesDoNotBreakTheLayout)
{
    auto root = Root(false);
    auto huge = AddObject(root.get(), OBJ_TEXT, "h", "2147483647px", "99999999999mm");
    auto negative = AddObject(root.get(), OBJ_TEXT, "n", "-30px", "-40px", "-3");
    auto heavy = AddObject(root.get(), OBJ_TEXT, "w", "", "", "2000000000");
    LayOut(3, 3);
    LayOut(480, 800);
    EXPECT_EQ(huge->GetLayoutRect().left, 5);
    EXPECT_EQ(huge->GetLayoutRect().right, INT_MAX);
    EXPECT_EQ(negative->GetLayoutRect().left, INT_MAX);
    EXPECT_EQ(heavy->GetLayoutRect().left, INT_MAX);
}

INSTANTIATE_TEST_SUITE_P(Both, LayoutTest, ::testing::Values(&test::LayOutAndStoreRects, &test::ReferenceLayOutDialog),
                         [](const ::testing::TestParamInfo<LayoutFunction>& info) {
                             return info.param == &test::LayOutAndStoreRects ? std::string("Fast")
                                                                             : std::string("Reference");
                         });

// --- The fast layout against the reference -----------------------------------------------------

struct Outcome {
    std::vector<DrawCall> calls;
    std::vector<LayoutRect> rectangles;
};

void CollectRectangles(const CObjectData& node, std::vector<LayoutRect>& out)
{
    if (!node.IsGroup()) {
        out.push_back(node.GetLayoutRect());
        return;
    }
    for (const ObjectPtr& child : static_cast<const CObjectDataList&>(node).Children())
        CollectRectangles(*child, out);
}

Outcome Run(LayoutFunction layout, const CTekDialogData& dialog, int width, int height)
{
    // Reset every rectangle so that a stale one cannot match by accident.
    std::function<void(CObjectData&)> reset = [&](CObjectData& node) {
        node.SetLayoutRect({-7, -7, -7, -7});
        if (node.IsGroup())
            for (const ObjectPtr& child : static_cast<CObjectDataList&>(node).Children())
                reset(*child);
    };
    if (dialog.RootObject())
        reset(*dialog.RootObject());
    RecordingSurface surface;
    layout(dialog, DeviceSize{}, surface, width, height);
    Outcome outcome{surface.Calls(), {}};
    if (dialog.RootObject())
        CollectRectangles(*dialog.RootObject(), outcome.rectangles);
    return outcome;
}

void ExpectSameLayout(const CTekDialogData& dialog, int width, int height, const std::string& what)
{
    const Outcome reference = Run(&test::ReferenceLayOutDialog, dialog, width, height);
    const Outcome fast = Run(&test::LayOutAndStoreRects, dialog, width, height);
    ASSERT_EQ(fast.rectangles.size(), reference.rectangles.size()) << what;
    for (size_t i = 0; i < fast.rectangles.size(); ++i) {
        const LayoutRect& f = fast.rectangles[i];
        const LayoutRect& r = reference.rectangles[i];
        ASSERT_EQ(f, r) << what << " object " << i << ": fast (" << f.left << ',' << f.top << ',' << f.right << ','
                        << f.bottom << ") reference (" << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom
                        << ')';
    }
    ASSERT_EQ(fast.calls.size(), reference.calls.size()) << what;
    EXPECT_TRUE(fast.calls == reference.calls) << what;
}

struct GeneratedCase {
    const char* name;
    test::TreeShape shape;
    int dialogs;
};

TEST(FastLayout, MatchesTheReferenceOnGeneratedDialogs)
{
    const GeneratedCase cases[] = {
        {"mixed", {4, 4, 35, 25, 20, 10}, 150}, {"deep", {9, 2, 80, 20, 10, 5}, 40},
        {"wide", {2, 12, 20, 30, 20, 10}, 60},  {"weighted", {4, 4, 40, 80, 10, 10}, 80},
        {"frames", {4, 4, 50, 25, 80, 10}, 80}, {"marked", {3, 5, 40, 25, 20, 60}, 40},
    };
    const std::pair<int, int> sizes[] = {{480, 800}, {800, 480}, {100, 100}, {17, 300}, {9, 9}};
    unsigned seed = 1;
    for (const GeneratedCase& c : cases) {
        for (int i = 0; i < c.dialogs; ++i, ++seed) {
            test::TreeGenerator generator(seed, c.shape);
            auto dialog = generator.MakeRandomDialog();
            const auto& [width, height] = sizes[seed % std::size(sizes)];
            ExpectSameLayout(*dialog, width, height, std::string(c.name) + " seed " + std::to_string(seed));
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(FastLayout, MatchesTheReferenceOnNestedAndWideDialogs)
{
    for (int depth : {0, 1, 5, 10}) {
        auto dialog = test::MakeNestedDialog(depth);
        ExpectSameLayout(*dialog, 480, 800, "nested " + std::to_string(depth));
        ExpectSameLayout(*dialog, 1024, 300, "nested landscape " + std::to_string(depth));
    }
    auto wide = test::MakeWideDialog(300);
    ExpectSameLayout(*wide, 480, 800, "wide");
}

} // namespace
} // namespace vesk
