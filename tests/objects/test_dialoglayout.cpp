// The layout as a value: ComputeLayout's boxes, depths, flags and texts, its hit test, and the box
// style's painting, against the reference layout; and what laying out and painting leave alone.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogbuilder.h"
#include "objects/dialoglayout.h"
#include "objects/layout.h"
#include "objects/previewstyle.h"
#include "referencelayout.h"

namespace vesk {
namespace {

using test::AddGroup;
using test::AddObject;

constexpr LayoutRect kUntouched{-7, -7, -7, -7};

/// Calls fn on every node below and including node, in tree order, with its depth.
void Walk(CObjectData& node, int depth, const std::function<void(CObjectData&, int)>& fn)
{
    fn(node, depth);
    if (node.IsGroup())
        for (const ObjectPtr& child : static_cast<CObjectDataList&>(node).Children())
            Walk(*child, depth + 1, fn);
}

void ResetRects(const CTekDialogData& dialog)
{
    if (CObjectData* root = dialog.RootObject())
        Walk(*root, 0, [](CObjectData& node, int) { node.SetLayoutRect(kUntouched); });
}

bool RectsUntouched(const CTekDialogData& dialog)
{
    bool untouched = true;
    if (CObjectData* root = dialog.RootObject())
        Walk(*root, 0, [&](CObjectData& node, int) { untouched = untouched && node.GetLayoutRect() == kUntouched; });
    return untouched;
}

std::string Describe(const LayoutRect& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

/// Everything ComputeLayout answers and the box style paints, checked against the reference
/// layout and the dialog's tree; neither laying out nor painting may touch the nodes.
void ExpectAsReference(const CTekDialogData& dialog, LayoutArea area, const std::string& what)
{
    SCOPED_TRACE(what);
    RecordingSurface referenceSurface;
    const std::vector<test::ReferencePlacement> placements =
        test::ReferenceLayout(dialog, DeviceSize{}, referenceSurface, area.width, area.height);

    ResetRects(dialog);
    const DialogLayout layout = ComputeLayout(dialog, DeviceSize{}, area);
    RecordingSurface surface;
    BoxPreviewStyle().Paint(layout, surface);
    RecordingSurface thin;
    LayOutDialog(dialog, DeviceSize{}, thin, area.width, area.height);
    EXPECT_TRUE(RectsUntouched(dialog)) << "laying out and painting leave the nodes alone";

    ASSERT_EQ(surface.Calls().size(), referenceSurface.Calls().size());
    EXPECT_TRUE(surface.Calls() == referenceSurface.Calls());
    EXPECT_TRUE(thin.Calls() == referenceSurface.Calls()) << "LayOutDialog paints as the box style";

    // The entries follow the tree in order, with the depth, kind and mark of each node.
    CObjectDataList* root = dialog.RootGroup();
    ASSERT_EQ(layout.hasRoot, root != nullptr);
    size_t index = 0;
    size_t object = 0;
    if (root)
        Walk(*root, 0, [&](CObjectData& node, int depth) {
            ASSERT_LT(index, layout.nodes.size());
            const LaidOutNode& entry = layout.nodes[index++];
            EXPECT_EQ(entry.node, &node);
            EXPECT_EQ(entry.depth, depth);
            EXPECT_EQ(entry.IsGroup(), node.IsGroup());
            EXPECT_EQ(entry.IsMarked(), node.GetMark() != 0);
            if (node.IsGroup()) {
                EXPECT_TRUE(layout.TagOf(entry).empty() && layout.LineOf(entry).empty());
                return;
            }
            ASSERT_LT(object, placements.size());
            EXPECT_EQ(placements[object].object, &node);
            EXPECT_EQ(entry.Rect(), placements[object].rect) << "object " << object << ": " << Describe(entry.Rect())
                                                             << " reference " << Describe(placements[object].rect);
            ++object;
        });
    EXPECT_EQ(index, layout.nodes.size());
    EXPECT_EQ(object, placements.size());
}

/// The layout's hit test answers what the nodes' own hit test answers over the reference
/// rectangles, at points spread over the area and at the corners of every object.
void ExpectSameHits(const CTekDialogData& dialog, LayoutArea area, const std::string& what)
{
    SCOPED_TRACE(what);
    CObjectDataList* root = dialog.RootGroup();
    ASSERT_NE(root, nullptr);
    NullSurface surface;
    test::ReferenceLayOutDialog(dialog, DeviceSize{}, surface, area.width, area.height);
    const DialogLayout layout = ComputeLayout(dialog, DeviceSize{}, area);
    std::vector<std::pair<int, int>> points;
    for (int y = 0; y < area.height; y += 7)
        for (int x = 0; x < area.width; x += 11)
            points.emplace_back(x, y);
    for (const LaidOutNode& entry : layout.nodes) {
        const LayoutRect r = entry.Rect();
        for (int x : {r.left - 1, r.left, r.right - 1, r.right})
            for (int y : {r.top - 1, r.top, r.bottom - 1, r.bottom})
                points.emplace_back(x, y);
    }
    for (const auto& [x, y] : points) {
        const LaidOutNode* hit = layout.ObjectAt(x, y);
        ASSERT_EQ(hit ? hit->node : nullptr, root->HitTestChildren(x, y)) << "at (" << x << "," << y << ")";
    }
}

struct GeneratedCase {
    const char* name;
    test::TreeShape shape;
    int dialogs;
};

const GeneratedCase kGenerated[] = {
    {"mixed", {4, 4, 35, 25, 20, 10}, 60},  {"deep", {8, 2, 80, 20, 10, 5}, 20},
    {"wide", {2, 12, 20, 30, 20, 10}, 30},  {"weighted", {4, 4, 40, 80, 10, 10}, 30},
    {"frames", {4, 4, 50, 25, 80, 10}, 30}, {"marked", {3, 5, 40, 25, 20, 60}, 30},
};
const LayoutArea kAreas[] = {{480, 800}, {800, 480}, {100, 100}, {17, 300}, {9, 9}, {3, 3}};

TEST(ComputeLayout, MatchesTheReferenceOnGeneratedDialogs)
{
    unsigned seed = 1000;
    for (const GeneratedCase& c : kGenerated) {
        for (int i = 0; i < c.dialogs; ++i, ++seed) {
            test::TreeGenerator generator(seed, c.shape);
            auto dialog = generator.MakeRandomDialog();
            ExpectAsReference(*dialog, kAreas[seed % std::size(kAreas)],
                              std::string(c.name) + " seed " + std::to_string(seed));
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(ComputeLayout, MatchesTheReferenceOnNestedAndWideDialogs)
{
    for (int depth : {0, 1, 4, 9}) {
        auto dialog = test::MakeNestedDialog(depth);
        for (const LayoutArea& area : kAreas)
            ExpectAsReference(*dialog, area, "nested " + std::to_string(depth));
    }
    auto wide = test::MakeWideDialog(120);
    ExpectAsReference(*wide, {480, 800}, "wide");
    // Every row's first object marked: the marked round paints between unmarked rows.
    for (int row = 0; row < wide->RootGroup()->ChildCount(); row += 2)
        static_cast<CObjectDataList&>(wide->RootGroup()->ChildAt(row)).ChildAt(0).SetMark(1);
    ExpectAsReference(*wide, {480, 800}, "wide, marked");
}

TEST(ComputeLayout, WithoutRootGroupNothingIsLaidOut)
{
    auto dialog = test::MakeDialog();
    for (int round = 0; round < 2; ++round) {
        const DialogLayout layout = ComputeLayout(*dialog, DeviceSize{}, {480, 800});
        EXPECT_FALSE(layout.hasRoot);
        EXPECT_TRUE(layout.nodes.empty());
        EXPECT_EQ(layout.ObjectAt(100, 100), nullptr);
        RecordingSurface surface;
        BoxPreviewStyle().Paint(layout, surface);
        EXPECT_TRUE(surface.Calls().empty());
        // A dialog whose root is an object has no root group either.
        dialog->SetRoot(AddObject(nullptr, OBJ_BUTTON, "lonely"));
    }
}

TEST(ComputeLayout, AnswersTheWhiteAreaAndTheContentSize)
{
    auto dialog = test::MakeDialog();
    dialog->SetRoot(AddGroup(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT"));
    const DialogLayout layout = ComputeLayout(*dialog, DeviceSize{}, {480, 800});
    EXPECT_TRUE(layout.hasRoot);
    EXPECT_EQ(layout.previewArea, (LayoutBox{5, 5, 470, 790}));
    EXPECT_EQ(layout.contentSize, 39);
    EXPECT_EQ(layout.size.width, 480);
    EXPECT_EQ(layout.size.height, 800);
    ASSERT_EQ(layout.nodes.size(), 1u);
    EXPECT_EQ(layout.nodes[0].box, (LayoutBox{5, 5, 470, 790}));
}

TEST(ComputeLayout, HitTestAnswersAsTheNodesDo)
{
    unsigned seed = 5000;
    for (const GeneratedCase& c : kGenerated) {
        for (int i = 0; i < 6; ++i, ++seed) {
            test::TreeGenerator generator(seed, c.shape);
            auto dialog = generator.MakeRandomDialog();
            ExpectSameHits(*dialog, {480, 800}, std::string(c.name) + " seed " + std::to_string(seed));
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(ComputeLayout, HitTestFindsTheInnermostAndTheLastOfOverlappingObjects)
{
    auto dialog = test::MakeDialog();
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
    dialog->SetRoot(root);
    auto row = AddGroup(root.get(), LAYOUT_LINEAR, "row", false, "PARENT", "");
    auto left = AddObject(row.get(), OBJ_BUTTON, "left", "100px", "40px");
    auto column = AddGroup(row.get(), LAYOUT_LINEAR, "column", true, "", "");
    auto upper = AddObject(column.get(), OBJ_TEXT, "upper", "80px", "30px");
    auto lower = AddObject(column.get(), OBJ_TEXT, "lower", "80px", "30px");
    auto frame = AddGroup(root.get(), LAYOUT_FRAME, "frame", false, "200px", "100px");
    auto under = AddObject(frame.get(), OBJ_CANVAS, "under", "150px", "80px");
    auto over = AddObject(frame.get(), OBJ_CANVAS, "over", "100px", "40px");
    under->SetMark(1); // drawn over the other, but the hit test keeps the tree's order
    const DialogLayout layout = ComputeLayout(*dialog, DeviceSize{}, {480, 800});

    const struct {
        int x, y;
        const CObjectData* expected;
    } cases[] = {
        {5, 5, left.get()},     {104, 44, left.get()},  {105, 5, upper.get()},  {184, 34, upper.get()},
        {105, 35, lower.get()}, {185, 35, nullptr},     {300, 20, nullptr},     {104, 45, nullptr},
        {5, 65, over.get()},    {104, 104, over.get()}, {105, 65, under.get()}, {154, 144, under.get()},
        {155, 65, nullptr},     {4, 4, nullptr},        {5, 145, nullptr},
    };
    for (const auto& c : cases) {
        const LaidOutNode* hit = layout.ObjectAt(c.x, c.y);
        EXPECT_EQ(hit ? hit->node : nullptr, c.expected) << "at (" << c.x << "," << c.y << ")";
    }
    EXPECT_EQ(layout.nodes[0].depth, 0);
    EXPECT_EQ(layout.nodes[4].node, upper.get());
    EXPECT_EQ(layout.nodes[4].depth, 3);
}

TEST(DialogLayout, KeepsItsTextsWhenTheDialogChanges)
{
    auto dialog = test::MakeDialog();
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
    dialog->SetRoot(root);
    auto custom = AddObject(root.get(), OBJ_TEXT, "c1", "100px", "40px");
    custom->SetItem("Type", "CUSTOMTYPE"); // an unknown type is its own tag
    auto button = AddObject(root.get(), OBJ_BUTTON, "b1", "100px", "40px");
    button->SetItem("Text", "OK");
    const DialogLayout layout = ComputeLayout(*dialog, DeviceSize{}, {480, 800});
    RecordingSurface before;
    BoxPreviewStyle().Paint(layout, before);

    custom->SetItem("Type", "X");
    custom->SetItem("Name", "a much longer name than before");
    button->SetItem("Text", "");
    button->SetItem("Name", "");
    RecordingSurface after;
    BoxPreviewStyle().Paint(layout, after);
    EXPECT_TRUE(after.Calls() == before.Calls());
    EXPECT_EQ(layout.TagOf(layout.nodes[1]), "CUSTOMTYPE");
    EXPECT_EQ(layout.LineOf(layout.nodes[1]), "c1");
    EXPECT_EQ(layout.TagOf(layout.nodes[2]), "BTN");
    EXPECT_EQ(layout.LineOf(layout.nodes[2]), "b1:OK");
}

TEST(StoreLayoutRects, CopiesTheObjectsRectanglesOnly)
{
    auto dialog = test::MakeNestedDialog(3);
    ResetRects(*dialog);
    const DialogLayout layout = ComputeLayout(*dialog, DeviceSize{}, {480, 800});
    StoreLayoutRects(layout);
    for (const LaidOutNode& entry : layout.nodes)
        EXPECT_EQ(entry.node->GetLayoutRect(), entry.IsGroup() ? kUntouched : entry.Rect());
}

} // namespace
} // namespace vesk
