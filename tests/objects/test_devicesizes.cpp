#include <gtest/gtest.h>

#include "objects/devicesizes.h"

namespace vesk {
namespace {

TEST(DeviceSizes, PresetsComeUprightThenSideways)
{
    const auto& presets = DeviceSizePresets();
    ASSERT_EQ(presets.size() % 2, 0u);
    for (size_t i = 0; i < presets.size(); i += 2) {
        EXPECT_LT(presets[i].width, presets[i].height);
        EXPECT_EQ(presets[i + 1].width, presets[i].height);
        EXPECT_EQ(presets[i + 1].height, presets[i].width);
    }
    EXPECT_EQ(DeviceSizeText(presets.front()), "240x320");
}

TEST(DeviceSizes, TextsReadAndWritten)
{
    struct Case {
        const char* text;
        bool readable;
        int width;
        int height;
    };
    const Case cases[] = {
        {"480x800", true, 480, 800}, {"1080X1920", true, 1080, 1920}, {"100000x1", true, 100000, 1},
        {"0x10", false, 0, 0},       {"-5x10", false, 0, 0},          {"10x", false, 0, 0},
        {"x10", false, 0, 0},        {"10*10", false, 0, 0},          {"10x10x10", false, 0, 0},
        {"100001x5", false, 0, 0},   {" 10x10", false, 0, 0},         {"", false, 0, 0},
    };
    for (const Case& c : cases) {
        const auto size = ParseDeviceSizeText(c.text);
        ASSERT_EQ(size.has_value(), c.readable) << c.text;
        if (size) {
            EXPECT_EQ(size->width, c.width) << c.text;
            EXPECT_EQ(size->height, c.height) << c.text;
        }
    }
}

TEST(DeviceSizes, ListsDropUnreadableEntriesAndRepeats)
{
    const auto sizes = ParseDeviceSizeList("480x800, bad,240x320,480x800,,320x480 ");
    EXPECT_EQ(DeviceSizeListText(sizes), "480x800,240x320,320x480");
    EXPECT_TRUE(ParseDeviceSizeList("").empty());
}

} // namespace
} // namespace vesk
