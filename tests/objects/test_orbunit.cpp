#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "objects/orbunit.h"

namespace vesk {
namespace {

// A preview of 470 x 790 pixels for a dialog designed as 100 x 100 pu.
LayoutContext PreviewContext()
{
    LayoutContext context;
    context.targetWidth = 100;
    context.targetHeight = 100;
    context.previewWidth = 470;
    context.previewHeight = 790;
    return context;
}

int PixelsX(const std::string& text)
{
    OrbUnit unit;
    unit.SetContext(PreviewContext());
    unit.ParseUnit(text);
    return unit.ToPixelsX();
}

int PixelsY(const std::string& text)
{
    OrbUnit unit;
    unit.SetContext(PreviewContext());
    unit.ParseUnit(text);
    return unit.ToPixelsY();
}

TEST(OrbUnit, FreshUnitIsContentInPu)
{
    OrbUnit unit;
    EXPECT_EQ(unit.Value(), kLengthContent);
    EXPECT_EQ(unit.Unit(), OrbUnit::UNIT_PU);
    EXPECT_EQ(unit.ToPixelsX(), kLengthContent);
}

TEST(OrbUnit, PrivateUnitsScaleWithThePreview)
{
    EXPECT_EQ(PixelsX("120"), 564);
    EXPECT_EQ(PixelsX("7"), 32);
    EXPECT_EQ(PixelsX("-7pu"), -32);
    EXPECT_EQ(PixelsY("10"), 79);
    EXPECT_EQ(PixelsY("7pu"), 55);
}

TEST(OrbUnit, PrivateUnitsFollowTheTargetLayout)
{
    LayoutContext context = PreviewContext();
    context.targetWidth = 200;
    context.targetHeight = 400;
    OrbUnit unit;
    unit.SetContext(context);
    unit.ParseUnit("100");
    EXPECT_EQ(unit.ToPixelsX(), 235);
    EXPECT_EQ(unit.ToPixelsY(), 197);
}

TEST(OrbUnit, PhysicalUnitsIgnoreThePreview)
{
    EXPECT_EQ(PixelsX("9pt"), 20);
    EXPECT_EQ(PixelsX("-9pt"), -20);
    EXPECT_EQ(PixelsX("3mm"), 18);
    EXPECT_EQ(PixelsX("10mm"), 62);
    EXPECT_EQ(PixelsY("-10mm"), -62);
    EXPECT_EQ(PixelsX("48dp"), 48);
    EXPECT_EQ(PixelsX("48px"), 48);
    EXPECT_EQ(PixelsY("48px"), 48);
}

TEST(OrbUnit, ParentAndContentWinOverTheUnit)
{
    EXPECT_EQ(PixelsX("PARENT"), kLengthParent);
    EXPECT_EQ(PixelsX("CONTENT"), kLengthContent);
    EXPECT_EQ(PixelsX("-1"), kLengthParent);
    EXPECT_EQ(PixelsX("-1px"), kLengthParent);
    EXPECT_EQ(PixelsY("-1mm"), kLengthParent);
    EXPECT_EQ(PixelsX("-2"), kLengthContent);
    EXPECT_EQ(PixelsX("-2mm"), kLengthContent);
    EXPECT_EQ(PixelsY("-2pt"), kLengthContent);
}

TEST(OrbUnit, SuffixMustMatchExactly)
{
    // A space ends the number: the suffix is empty, so the unit is pu.
    EXPECT_EQ(PixelsX("10 px"), 47);
    EXPECT_EQ(PixelsX("10PX"), 47);
    EXPECT_EQ(PixelsX("50%"), 235);
    EXPECT_EQ(PixelsX("10px;"), 10);
    EXPECT_EQ(PixelsX("10pxx"), 47);
    EXPECT_EQ(PixelsX("  +10px"), 10);
}

TEST(OrbUnit, UnreadableTextsAreContent)
{
    for (const char* text : {"", "auto", "px", "parent", "Content", "-", "+px", "  "}) {
        OrbUnit unit;
        unit.SetContext(PreviewContext());
        unit.ParseUnit(text);
        EXPECT_EQ(unit.ToPixelsX(), kLengthContent) << text;
        EXPECT_EQ(unit.Unit(), OrbUnit::UNIT_PX) << text;
    }
}

TEST(OrbUnit, HugeValuesStayInRange)
{
    EXPECT_EQ(PixelsX("99999999999999999999px"), INT_MAX);
    EXPECT_EQ(PixelsX("-99999999999999999999px"), INT_MIN);
    EXPECT_EQ(PixelsX("2000000000"), INT_MAX);
    EXPECT_EQ(PixelsX("2000000000pt"), INT_MAX);
    EXPECT_EQ(PixelsX("-2000000000mm"), INT_MIN);
    EXPECT_EQ(PixelsX("2147483647dp"), INT_MAX);
}

TEST(OrbUnit, ZeroTargetGivesZeroInsteadOfDividing)
{
    OrbUnit unit;
    unit.SetContext(LayoutContext{0, 0, 1024, 800, 470, 790});
    unit.ParseUnit("10");
    EXPECT_EQ(unit.ToPixelsX(), 0);
    EXPECT_EQ(unit.ToPixelsY(), 0);
}

TEST(LeadingInteger, ReadsLikeAtoi)
{
    EXPECT_EQ(LeadingInteger("12"), 12);
    EXPECT_EQ(LeadingInteger(" -3abc"), -3);
    EXPECT_EQ(LeadingInteger("1.5"), 1);
    EXPECT_EQ(LeadingInteger(""), 0);
    EXPECT_EQ(LeadingInteger("x1"), 0);
    EXPECT_EQ(LeadingInteger("99999999999"), INT_MAX);
}

} // namespace
} // namespace vesk
