// The device layout: one small dialog per rule, each checked box by box, with a text measurer
// of fixed-width characters and a picture sizer of known files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "dialogbuilder.h"
#include "objects/devicelayout.h"

namespace vesk {
namespace {

using test::AddGroup;
using test::AddObject;

/// Every character half as wide as the font is high; a line as high as the font.
class HalfWidthText : public TextMeasurer {
public:
    LayoutSize MeasureText(std::string_view text, int fontHeight) const override
    {
        return {static_cast<int>(text.size()) * fontHeight / 2, fontHeight};
    }
};

/// Pictures known by source and name.
class KnownPictures : public PictureSizer {
public:
    LayoutSize PictureSize(std::string_view fileSource, std::string_view file) const override
    {
        if (fileSource == "STATION" && file == "photo.png")
            return {64, 48};
        return {};
    }
};

struct Expected {
    std::string name;
    std::optional<LayoutBox> box; ///< nullopt: the node is not laid out
    bool disabled = false;
};

struct Case {
    std::string name;
    std::function<GroupPtr()> build;
    std::vector<Expected> expected;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

const LaidOutNode* Find(const DialogLayout& layout, const std::string& name)
{
    for (const LaidOutNode& entry : layout.nodes)
        if (entry.node->GetItem("Name") == name)
            return &entry;
    return nullptr;
}

ObjectPtr Object(CObjectDataList* parent, int type, const std::string& name, const std::string& width,
                 const std::string& height, std::initializer_list<std::pair<std::string, std::string>> items = {})
{
    ObjectPtr object = AddObject(parent, type, name, width, height);
    for (const auto& [item, value] : items)
        object->SetOrAddItem(item, value);
    return object;
}

GroupPtr Group(CObjectDataList* parent, int layout, const std::string& name, bool vertical, const std::string& width,
               const std::string& height, std::initializer_list<std::pair<std::string, std::string>> items = {})
{
    GroupPtr group = AddGroup(parent, layout, name, vertical, width, height);
    for (const auto& [item, value] : items)
        group->SetOrAddItem(item, value);
    return group;
}

const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases = {
        {"LengthsAndContent",
         [] {
             auto root = Group(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
             Object(root.get(), OBJ_TEXT, "hello", "CONTENT", "CONTENT", {{"Text", "Hello"}});
             Object(root.get(), OBJ_BUTTON, "fixed", "50px", "20px");
             Object(root.get(), OBJ_TEXT, "big", "CONTENT", "", {{"Text", "ab"}, {"TSize", "20px"}});
             Object(root.get(), OBJ_CHECKBOX, "check", "CONTENT", "CONTENT", {{"Text", "ab"}});
             Object(root.get(), OBJ_TEXT, "wide", "PARENT", "10px");
             Object(root.get(), OBJ_TEXT, "units", "50", "10");
             return root;
         },
         {{"root", LayoutBox{0, 0, 200, 300}},
          {"hello", LayoutBox{0, 0, 40, 16}},
          {"fixed", LayoutBox{0, 16, 50, 20}},
          {"big", LayoutBox{0, 36, 20, 20}},
          {"check", LayoutBox{0, 56, 36, 16}},
          {"wide", LayoutBox{0, 72, 200, 10}},
          {"units", LayoutBox{0, 82, 100, 30}}}},
        {"GroupSizedByChildren",
         [] {
             auto root = Group(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
             auto row = Group(root.get(), LAYOUT_LINEAR, "row", false, "CONTENT", "CONTENT");
             Object(row.get(), OBJ_BUTTON, "a", "30px", "10px");
             Object(row.get(), OBJ_BUTTON, "b", "20px", "15px");
             Object(root.get(), OBJ_BUTTON, "after", "10px", "10px");
             return root;
         },
         {{"row", LayoutBox{0, 0, 50, 15}},
          {"a", LayoutBox{0, 0, 30, 10}},
          {"b", LayoutBox{30, 0, 20, 15}},
          {"after", LayoutBox{0, 15, 10, 10}}}},
        {"MarginOutsidePaddingInside",
         [] {
             auto root =
                 Group(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT", {{"Padding", "10px,20px,30px,40px"}});
             Object(root.get(), OBJ_BUTTON, "a", "50px", "20px", {{"Margin", "1px,2px,3px,4px"}});
             Object(root.get(), OBJ_TEXT, "b", "CONTENT", "CONTENT", {{"Text", "x"}, {"Margin", "bad,5px"}});
             Object(root.get(), OBJ_TEXT, "c", "PARENT", "5px", {{"Margin", "5px,0,5px"}});
             return root;
         },
         {{"root", LayoutBox{0, 0, 200, 300}},
          {"a", LayoutBox{11, 22, 50, 20}},
          {"b", LayoutBox{10, 51, 8, 16}},
          {"c", LayoutBox{15, 67, 150, 5}}}},
        {"WeightSharesTheRoomLeft",
         [] {
             auto root = Group(nullptr, LAYOUT_LINEAR, "root", false, "PARENT", "PARENT");
             Object(root.get(), OBJ_BUTTON, "fixed", "40px", "10px");
             Object(root.get(), OBJ_BUTTON, "one", "", "10px", {{"Weight", "1"}});
             Object(root.get(), OBJ_BUTTON, "three", "", "10px", {{"Weight", "3"}});
             return root;
         },
         {{"fixed", LayoutBox{0, 0, 40, 10}}, {"one", LayoutBox{40, 0, 40, 10}}, {"three", LayoutBox{80, 0, 120, 10}}}},
        {"AlignPlacesTheRun",
         [] {
             auto root = Group(nullptr, LAYOUT_RADIO, "root", true, "PARENT", "PARENT", {{"Align", "CENTER|BOTTOM"}});
             Object(root.get(), OBJ_RADIOBTN, "a", "50px", "20px");
             Object(root.get(), OBJ_RADIOBTN, "b", "50px", "20px");
             return root;
         },
         {{"a", LayoutBox{75, 260, 50, 20}}, {"b", LayoutBox{75, 280, 50, 20}}}},
        {"FramePlacesAtPosition",
         [] {
             auto root =
                 Group(nullptr, LAYOUT_FRAME, "root", false, "PARENT", "PARENT", {{"Padding", "5px,5px,5px,5px"}});
             Object(root.get(), OBJ_BUTTON, "placed", "20px", "20px", {{"PosX", "30px"}, {"PosY", "40px"}});
             Object(root.get(), OBJ_BUTTON, "origin", "20px", "20px", {{"PosX", "none"}});
             auto relative = Group(root.get(), LAYOUT_RELATIVE, "relative", false, "CONTENT", "CONTENT",
                                   {{"PosX", "100px"}, {"PosY", "100px"}});
             Object(relative.get(), OBJ_BUTTON, "inner", "10px", "10px", {{"PosX", "7px"}, {"PosY", "3px"}});
             return root;
         },
         {{"placed", LayoutBox{35, 45, 20, 20}},
          {"origin", LayoutBox{5, 5, 20, 20}},
          {"relative", LayoutBox{105, 105, 17, 13}},
          {"inner", LayoutBox{112, 108, 10, 10}}}},
        {"TableColumnsAsWideAsTheWidestCell",
         [] {
             auto root = Group(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
             auto table = Group(root.get(), LAYOUT_TABLE, "table", true, "CONTENT", "CONTENT");
             auto first = Group(table.get(), LAYOUT_TABLEROW, "first", false, "", "");
             Object(first.get(), OBJ_TEXT, "a", "30px", "10px");
             Object(first.get(), OBJ_TEXT, "b", "50px", "12px");
             auto second = Group(table.get(), LAYOUT_TABLEROW, "second", false, "", "");
             Object(second.get(), OBJ_TEXT, "c", "40px", "20px");
             Object(second.get(), OBJ_TEXT, "d", "10px", "10px");
             return root;
         },
         {{"table", LayoutBox{0, 0, 90, 32}},
          {"first", LayoutBox{0, 0, 90, 12}},
          {"a", LayoutBox{0, 0, 30, 10}},
          {"b", LayoutBox{40, 0, 50, 12}},
          {"second", LayoutBox{0, 12, 90, 20}},
          {"c", LayoutBox{0, 12, 40, 20}},
          {"d", LayoutBox{40, 12, 10, 10}}}},
        {"TableSpanAndStretch",
         [] {
             auto root = Group(nullptr, LAYOUT_TABLE, "root", true, "PARENT", "PARENT");
             auto first = Group(root.get(), LAYOUT_TABLEROW, "first", false, "", "");
             Object(first.get(), OBJ_TEXT, "span", "120px", "10px", {{"Span", "2"}});
             auto second = Group(root.get(), LAYOUT_TABLEROW, "second", false, "", "");
             Object(second.get(), OBJ_TEXT, "f", "30px", "10px");
             Object(second.get(), OBJ_TEXT, "g", "PARENT", "10px", {{"Stretch", "true"}});
             return root;
         },
         {{"first", LayoutBox{0, 0, 200, 10}},
          {"span", LayoutBox{0, 0, 120, 10}},
          {"second", LayoutBox{0, 10, 200, 10}},
          {"f", LayoutBox{0, 10, 30, 10}},
          {"g", LayoutBox{30, 10, 170, 10}}}},
        {"TableCellsFillTheirRowAndWeightedRowsShareTheRest",
         [] {
             // Cells as high as PARENT are measured by their content; the row they fill is as
             // high as its tallest cell, and rows with a Weight share the height left over.
             auto root = Group(nullptr, LAYOUT_TABLE, "root", true, "PARENT", "PARENT");
             auto fixedRow = Group(root.get(), LAYOUT_TABLEROW, "fixedRow", false, "", "");
             Object(fixedRow.get(), OBJ_TEXT, "tall", "30px", "40px");
             Object(fixedRow.get(), OBJ_BUTTON, "filler", "50px", "PARENT");
             auto one = Group(root.get(), LAYOUT_TABLEROW, "one", false, "", "", {{"Weight", "1"}});
             Object(one.get(), OBJ_BUTTON, "fillsOne", "30px", "PARENT", {{"Text", "ab"}});
             auto three = Group(root.get(), LAYOUT_TABLEROW, "three", false, "", "", {{"Weight", "3"}});
             Object(three.get(), OBJ_BUTTON, "fillsThree", "30px", "PARENT", {{"Margin", "0,2px,0,2px"}});
             return root;
         },
         // 300 high: 40 for the fixed row; the weighted rows ask 24 (a button's line and half a
         // line) and 28 (the same with margins); the 208 left go 52 and 156.
         {{"fixedRow", LayoutBox{0, 0, 80, 40}},
          {"tall", LayoutBox{0, 0, 30, 40}},
          {"filler", LayoutBox{30, 0, 50, 40}},
          {"one", LayoutBox{0, 40, 80, 76}},
          {"fillsOne", LayoutBox{0, 40, 30, 76}},
          {"three", LayoutBox{0, 116, 80, 184}},
          {"fillsThree", LayoutBox{0, 118, 30, 180}}}},
        {"ScrollKeepsItsContentLength",
         [] {
             auto root = Group(nullptr, LAYOUT_SCROLL, "root", true, "100px", "50px");
             Object(root.get(), OBJ_BUTTON, "a", "40px", "30px");
             Object(root.get(), OBJ_BUTTON, "b", "40px", "30px");
             Object(root.get(), OBJ_BUTTON, "c", "40px", "", {{"Weight", "1"}});
             Object(root.get(), OBJ_BUTTON, "d", "40px", "30px");
             return root;
         },
         {{"root", LayoutBox{0, 0, 100, 50}},
          {"a", LayoutBox{0, 0, 40, 30}},
          {"b", LayoutBox{0, 30, 40, 30}},
          {"c", LayoutBox{0, 60, 40, 0}},
          {"d", LayoutBox{0, 60, 40, 30}}}},
        {"PageShowsItsFirstChild",
         [] {
             auto root = Group(nullptr, LAYOUT_PAGE, "root", false, "100px", "80px", {{"Padding", "2px,2px,2px,2px"}});
             Object(root.get(), OBJ_BUTTON, "hidden", "10px", "10px", {{"Hide", "true"}});
             Object(root.get(), OBJ_BUTTON, "shown", "10px", "10px");
             Object(root.get(), OBJ_BUTTON, "later", "10px", "10px");
             return root;
         },
         {{"root", LayoutBox{0, 0, 100, 80}},
          {"hidden", std::nullopt},
          {"shown", LayoutBox{2, 2, 96, 76}},
          {"later", std::nullopt}}},
        {"HiddenTakesNoRoom",
         [] {
             auto root = Group(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
             Object(root.get(), OBJ_BUTTON, "a", "20px", "20px");
             auto gone = Group(root.get(), LAYOUT_LINEAR, "gone", true, "20px", "20px", {{"Hide", "true"}});
             Object(gone.get(), OBJ_BUTTON, "inside", "20px", "20px");
             Object(root.get(), OBJ_BUTTON, "b", "20px", "20px", {{"Hide", "TRUE"}});
             return root;
         },
         {{"a", LayoutBox{0, 0, 20, 20}},
          {"gone", std::nullopt},
          {"inside", std::nullopt},
          {"b", LayoutBox{0, 20, 20, 20}}}},
        {"DisabledFlaggedWithWhatItHolds",
         [] {
             auto root = Group(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
             auto off = Group(root.get(), LAYOUT_LINEAR, "off", true, "CONTENT", "CONTENT", {{"Disable", "true"}});
             Object(off.get(), OBJ_BUTTON, "inside", "20px", "20px");
             Object(root.get(), OBJ_BUTTON, "on", "20px", "20px", {{"Disable", "false"}});
             return root;
         },
         {{"root", LayoutBox{0, 0, 200, 300}, false},
          {"off", LayoutBox{0, 0, 20, 20}, true},
          {"inside", LayoutBox{0, 0, 20, 20}, true},
          {"on", LayoutBox{0, 20, 20, 20}, false}}},
        {"PictureOwnSize",
         [] {
             auto root = Group(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
             Object(root.get(), OBJ_PICTURE, "known", "CONTENT", "CONTENT",
                    {{"File", "photo.png"}, {"FileSource", "STATION"}});
             Object(root.get(), OBJ_PICTURE, "unknown", "CONTENT", "CONTENT",
                    {{"File", "photo.png"}, {"FileSource", "BUILTIN"}});
             Object(root.get(), OBJ_BUTTON, "imaged", "CONTENT", "CONTENT",
                    {{"Text", "OK"}, {"FileOff", "photo.png"}, {"FileSource", "STATION"}});
             return root;
         },
         {{"known", LayoutBox{0, 0, 64, 48}},
          {"unknown", LayoutBox{0, 48, 0, 0}},
          {"imaged", LayoutBox{0, 48, 64, 48}}}},
    };
    return cases;
}

class DeviceLayoutRules : public testing::TestWithParam<Case> {};

TEST_P(DeviceLayoutRules, Boxes)
{
    const Case& c = GetParam();
    auto dialog = test::MakeDialog();
    dialog->SetRoot(c.build());
    const HalfWidthText text;
    const KnownPictures pictures;
    const DialogLayout layout = ComputeDeviceLayout(*dialog, DeviceSize{}, {200, 300}, {&text, &pictures});
    ASSERT_TRUE(layout.hasRoot);
    EXPECT_EQ(layout.previewArea, (LayoutBox{0, 0, 200, 300}));
    EXPECT_EQ(layout.clips.size(), layout.nodes.size());
    for (const Expected& expected : c.expected) {
        SCOPED_TRACE(expected.name);
        const LaidOutNode* entry = Find(layout, expected.name);
        if (!expected.box) {
            EXPECT_EQ(entry, nullptr);
            continue;
        }
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->box, *expected.box);
        EXPECT_EQ(entry->IsDisabled(), expected.disabled);
    }
}

INSTANTIATE_TEST_SUITE_P(OneDialogPerRule, DeviceLayoutRules, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(DeviceLayout, ScrollContentClippedToItsBox)
{
    auto dialog = test::MakeDialog();
    auto root = Group(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
    auto scroll = Group(root.get(), LAYOUT_SCROLL, "scroll", true, "100px", "50px", {{"Margin", "10px,10px"}});
    Object(scroll.get(), OBJ_BUTTON, "a", "40px", "80px");
    Object(root.get(), OBJ_BUTTON, "after", "40px", "10px");
    dialog->SetRoot(root);
    const DialogLayout layout = ComputeDeviceLayout(*dialog, DeviceSize{}, {200, 300}, {});
    ASSERT_EQ(layout.nodes.size(), 4u);
    const LayoutBox whole{0, 0, 200, 300};
    const LayoutBox scrolled{10, 10, 100, 50};
    EXPECT_EQ(layout.clips[0], whole);
    EXPECT_EQ(layout.clips[1], whole);
    EXPECT_EQ(layout.nodes[2].box, (LayoutBox{10, 10, 40, 80}));
    EXPECT_EQ(layout.clips[2], scrolled);
    EXPECT_EQ(layout.nodes[3].box, (LayoutBox{0, 60, 40, 10}));
    EXPECT_EQ(layout.clips[3], whole);
}

TEST(DeviceLayout, TreeOrderDepthsAndTexts)
{
    auto dialog = test::MakeDialog();
    auto root = Group(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
    auto inner = Group(root.get(), LAYOUT_LINEAR, "inner", false, "CONTENT", "CONTENT");
    Object(inner.get(), OBJ_BUTTON, "ok", "10px", "10px", {{"Text", "OK"}})->SetMark(1);
    Object(root.get(), OBJ_TOGGLE, "sw", "10px", "10px", {{"TextOn", "on"}, {"TextOff", "off"}});
    dialog->SetRoot(root);
    const DialogLayout layout = ComputeDeviceLayout(*dialog, DeviceSize{}, {200, 300}, {});
    ASSERT_EQ(layout.nodes.size(), 4u);
    const int depths[] = {0, 1, 2, 1};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(layout.nodes[i].depth, depths[i]) << i;
    EXPECT_TRUE(layout.nodes[1].IsGroup());
    EXPECT_TRUE(layout.nodes[2].IsMarked());
    EXPECT_EQ(layout.TagOf(layout.nodes[2]), "BTN");
    EXPECT_EQ(layout.LineOf(layout.nodes[2]), "OK");
    EXPECT_EQ(layout.TagOf(layout.nodes[3]), "TOGL");
    EXPECT_EQ(layout.LineOf(layout.nodes[3]), "off");
    EXPECT_EQ(layout.ObjectAt(5, 5), &layout.nodes[2]);
}

TEST(DeviceLayout, HiddenRootOrNoRootLaysNothingOut)
{
    auto dialog = test::MakeDialog();
    EXPECT_FALSE(ComputeDeviceLayout(*dialog, DeviceSize{}, {200, 300}, {}).hasRoot);
    auto root = Group(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT", {{"Hide", "true"}});
    Object(root.get(), OBJ_BUTTON, "a", "10px", "10px");
    dialog->SetRoot(root);
    const DialogLayout layout = ComputeDeviceLayout(*dialog, DeviceSize{}, {200, 300}, {});
    EXPECT_TRUE(layout.hasRoot);
    EXPECT_TRUE(layout.nodes.empty());
}

TEST(DeviceLayout, PixelsBackToUnitsGiveTheNearestPosition)
{
    // Units of 2 x 3 pixels, and units of 1024/480 of a pixel across (a design larger than the device).
    for (const LayoutContext& context :
         {LayoutContext{100, 100, 1024, 800, 200, 300}, LayoutContext{1024, 800, 480, 800, 480, 800}}) {
        const auto pixelsOf = [&](int units, bool across) {
            const BoxSpacing spacing = ParseSpacing("0," + std::to_string(units), context);
            return across ? ParseSpacing(std::to_string(units), context).left : spacing.top;
        };
        for (const bool across : {true, false}) {
            EXPECT_EQ(DeviceUnitsForPixels(0, context, across), 0);
            EXPECT_EQ(DeviceUnitsForPixels(-7, context, across), 0);
            for (const int pixels : {1, 2, 5, 37, 100, 479, 1000}) {
                const int units = DeviceUnitsForPixels(pixels, context, across);
                const int error = std::abs(pixelsOf(units, across) - pixels);
                EXPECT_LE(error, std::abs(pixelsOf(units + 1, across) - pixels)) << pixels;
                if (units > 0) {
                    EXPECT_LE(error, std::abs(pixelsOf(units - 1, across) - pixels)) << pixels;
                }
            }
        }
    }
}

TEST(DeviceLayout, SpacingTexts)
{
    const LayoutContext context{100, 100, 1024, 800, 200, 300};
    const struct {
        const char* text;
        BoxSpacing spacing;
    } cases[] = {
        {"1px,2px,3px,4px", {1, 2, 3, 4}},
        {"", {0, 0, 0, 0}},
        {"5px", {5, 0, 0, 0}},
        {"a,b,3px", {0, 0, 3, 0}},
        {"PARENT,2px,CONTENT,-4px", {0, 2, 0, 0}},
        {"10,10,10,10", {20, 30, 20, 30}},
        {" 7px , 8px", {7, 8, 0, 0}},
        {"1px,2px,3px,4px,5px", {1, 2, 3, 4}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseSpacing(c.text, context), c.spacing) << c.text;
}

} // namespace
} // namespace vesk
