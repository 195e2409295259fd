// The device look painted into images: colours, backgrounds, pictures by source, the own looks
// of the types, half strength, clipping and marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "dialogbuilder.h"
#include "guienvironment.h"
#include "objects/devicelayout.h"
#include "objects/itemsets.h"
#include "render/devicepainter.h"
#include "render/previewpainter.h"

namespace vesk {
namespace {

using test::AddGroup;
using test::AddObject;

const QRgb kBackdrop = qRgb(10, 20, 30);

std::string Hex(QRgb colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", colour & 0xFFFFFFu);
    return text;
}

#define EXPECT_PIXEL(image, x, y, colour)                                                                              \
    EXPECT_EQ(Hex((image).pixel((x), (y))), Hex(colour)) << "at (" << (x) << ", " << (y) << ")"

void Set(CObjectData& node, const std::string& item, const std::string& value)
{
    node.SetOrAddItem(item, value);
}

/// A 200 x 100 image of the dialog in the device look over a dark backdrop.
QImage Paint(const CTekDialogData& dialog, DevicePictureCache& pictures)
{
    const FontTextMeasurer text;
    const DialogLayout layout = ComputeDeviceLayout(dialog, DeviceSize{}, {200, 100}, {&text, &pictures});
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(kBackdrop);
    QPainter painter(&image);
    PaintDeviceLayout(painter, layout, pictures);
    painter.end();
    return image;
}

QImage Paint(const CTekDialogData& dialog)
{
    DevicePictureCache pictures({});
    return Paint(dialog, pictures);
}

TEST(DeviceColor, Texts)
{
    const struct {
        const char* text;
        std::optional<QRgb> rgba;
    } cases[] = {
        {"BLACK", 0xFF000000},      {"WHITE", 0xFFFFFFFF},     {"DKGRAY", 0xFF444444},    {"GRAY", 0xFF888888},
        {"LTGRAY", 0xFFCCCCCC},     {"RED", 0xFFFF0000},       {"GREEN", 0xFF00FF00},     {"BLUE", 0xFF0000FF},
        {"CYAN", 0xFF00FFFF},       {"MAGENTA", 0xFFFF00FF},   {"YELLOW", 0xFFFFFF00},    {"TRANSPARENT", 0x00000000},
        {"#123456", 0xFF123456},    {"#80aBcDeF", 0x80ABCDEF}, {"red", std::nullopt},     {"", std::nullopt},
        {"#", std::nullopt},        {"#12345", std::nullopt},  {"#GG0000", std::nullopt}, {"123456", std::nullopt},
        {"#1234567", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<QColor> color = ParseDeviceColor(c.text);
        ASSERT_EQ(color.has_value(), c.rgba.has_value()) << c.text;
        if (color) {
            EXPECT_EQ(color->rgba(), *c.rgba) << c.text;
        }
    }
}

TEST(DevicePainter, Backgrounds)
{
    const struct {
        const char* rootColour;
        const char* childColour;
        QRgb root;
        QRgb child;
    } cases[] = {
        {"", "", qRgb(255, 255, 255), qRgb(255, 255, 255)},       {"", "#00FF00", qRgb(255, 255, 255), qRgb(0, 255, 0)},
        {"BLUE", "unreadable", qRgb(0, 0, 255), qRgb(0, 0, 255)}, {"TRANSPARENT", "", kBackdrop, kBackdrop},
        {"nonsense", "YELLOW", kBackdrop, qRgb(255, 255, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.rootColour) + " / " + c.childColour);
        auto dialog = test::MakeDialog();
        auto root = AddGroup(nullptr, LAYOUT_FRAME, "root", false, "PARENT", "PARENT");
        Set(*root, "BGColor", c.rootColour);
        auto child = AddGroup(root.get(), LAYOUT_LINEAR, "child", false, "50px", "50px");
        Set(*child, "BGColor", c.childColour);
        dialog->SetRoot(root);
        const QImage image = Paint(*dialog);
        EXPECT_PIXEL(image, 100, 75, c.root);
        EXPECT_PIXEL(image, 25, 25, c.child);
    }
}

TEST(DevicePainter, DisabledAtHalfStrength)
{
    auto dialog = test::MakeDialog();
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", false, "PARENT", "PARENT");
    auto off = AddObject(root.get(), OBJ_TEXT, "off", "20px", "20px");
    Set(*off, "BGColor", "BLACK");
    Set(*off, "Disable", "true");
    auto on = AddObject(root.get(), OBJ_TEXT, "on", "20px", "20px");
    Set(*on, "BGColor", "BLACK");
    dialog->SetRoot(root);
    const QImage image = Paint(*dialog);
    EXPECT_NEAR(qRed(image.pixel(10, 10)), 128, 2);
    EXPECT_PIXEL(image, 30, 10, qRgb(0, 0, 0));
}

TEST(DevicePainter, ScrollContentCutToItsBoxAndMarksOutlined)
{
    auto dialog = test::MakeDialog();
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
    auto scroll = AddGroup(root.get(), LAYOUT_SCROLL, "scroll", true, "40px", "30px");
    auto tall = AddObject(scroll.get(), OBJ_TEXT, "tall", "40px", "80px");
    Set(*tall, "BGColor", "RED");
    auto marked = AddObject(root.get(), OBJ_TEXT, "marked", "20px", "20px");
    marked->SetMark(1);
    dialog->SetRoot(root);
    const QImage image = Paint(*dialog);
    EXPECT_PIXEL(image, 20, 29, qRgb(255, 0, 0));
    EXPECT_PIXEL(image, 30, 40, qRgb(255, 255, 255)); // the tall object is cut at the scroll's bottom
    EXPECT_PIXEL(image, 50, 31, qRgb(255, 255, 255));
    EXPECT_PIXEL(image, 10, 40, qRgb(255, 255, 255));
    EXPECT_PIXEL(image, 0, 30, qRgb(255, 0, 0));
    EXPECT_PIXEL(image, 19, 49, qRgb(255, 0, 0));
}

TEST(DevicePainter, ProgressFilledToItsValue)
{
    const struct {
        const char* min;
        const char* max;
        const char* value;
        int filledUpTo; ///< pixels of the 100-pixel track filled
    } cases[] = {
        {"0", "100", "50", 50}, {"", "", "25", 25},    {"100", "200", "175", 75},
        {"0", "10", "20", 100}, {"0", "100", "-5", 0}, {"5", "5", "5", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.min) + ".." + c.max + " at " + c.value);
        auto dialog = test::MakeDialog();
        auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", false, "PARENT", "PARENT");
        auto bar = AddObject(root.get(), OBJ_PROGRESS, "bar", "100px", "20px");
        Set(*bar, "Min", c.min);
        Set(*bar, "Max", c.max);
        Set(*bar, "Value", c.value);
        dialog->SetRoot(root);
        const QImage image = Paint(*dialog);
        const QRgb empty = image.pixel(98, 10);
        if (c.filledUpTo > 1) {
            EXPECT_NE(Hex(image.pixel(c.filledUpTo - 1, 10)), Hex(empty));
        }
        if (c.filledUpTo < 98) {
            EXPECT_PIXEL(image, c.filledUpTo + 1, 10, empty);
        }
    }
}

TEST(DevicePainter, TextInItsColourAndAlignment)
{
    const struct {
        const char* align;
        bool left; ///< ink in the left half
        bool right;
    } cases[] = {{"", true, false}, {"RIGHT", false, true}, {"LEFT|MIDDLE", true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.align);
        auto dialog = test::MakeDialog();
        auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", false, "PARENT", "PARENT");
        auto text = AddObject(root.get(), OBJ_TEXT, "t", "200px", "40px");
        Set(*text, "Text", "MMM");
        Set(*text, "TColor", "#0000FF");
        Set(*text, "TAlign", c.align);
        dialog->SetRoot(root);
        const QImage image = Paint(*dialog);
        int leftInk = 0;
        int rightInk = 0;
        bool onlyBlue = true;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (pixel == qRgb(255, 255, 255))
                    continue;
                (x < 100 ? leftInk : rightInk)++;
                onlyBlue = onlyBlue && qBlue(pixel) >= qRed(pixel) && qBlue(pixel) >= qGreen(pixel);
            }
        EXPECT_EQ(leftInk > 0, c.left);
        EXPECT_EQ(rightInk > 0, c.right);
        EXPECT_TRUE(onlyBlue);
    }
}

TEST(DevicePainter, TextSizeInTheDialogsUnits)
{
    // 100 pu of a dialog 1000 pu high shown 100 pixels high is a 10-pixel font, not a 100-pixel one.
    auto dialog = test::MakeDialog();
    dialog->SetOrAddItem("TargetLayoutWidth", "200");
    dialog->SetOrAddItem("TargetLayoutHeight", "1000");
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", false, "PARENT", "PARENT");
    auto text = AddObject(root.get(), OBJ_TEXT, "t", "200px", "100px");
    Set(*text, "Text", "MMM");
    Set(*text, "TSize", "100");
    dialog->SetRoot(root);
    const QImage image = Paint(*dialog);
    int top = 100;
    int bottom = -1;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(bottom, top);
    EXPECT_LE(bottom - top, 12);
}

TEST(DevicePainter, StatesDirectionsHeadersAndGroupMarks)
{
    // Each case: one node in a 200 x 100 dialog, one pixel that shows the rule, and its colour.
    const QRgb accent = qRgb(0x33, 0x66, 0xCC);
    const QRgb dark = qRgb(0x88, 0x88, 0x88);
    const struct {
        const char* name;
        std::function<void(CObjectDataList&)> build;
        int x;
        int y;
        QRgb colour;
    } cases[] = {
        {"checked checkbox",
         [](CObjectDataList& root) { Set(*AddObject(&root, OBJ_CHECKBOX, "c", "100px", "16px"), "Attr", "ON"); }, 8, 8,
         accent},
        {"unchecked checkbox", [](CObjectDataList& root) { AddObject(&root, OBJ_CHECKBOX, "c", "100px", "16px"); }, 8,
         8, qRgb(255, 255, 255)},
        {"vertical progress fills from the bottom",
         [](CObjectDataList& root) {
             auto bar = AddObject(&root, OBJ_PROGRESS, "p", "20px", "100px");
             Set(*bar, "Vertical", "true");
             Set(*bar, "Value", "30");
         },
         10, 90, accent},
        {"vertical progress empty at the top",
         [](CObjectDataList& root) {
             auto bar = AddObject(&root, OBJ_PROGRESS, "p", "20px", "100px");
             Set(*bar, "Vertical", "true");
             Set(*bar, "Value", "30");
         },
         10, 50, qRgb(0xE0, 0xE0, 0xE0)},
        {"grid header in its column's colour",
         [](CObjectDataList& root) {
             auto grid = AddObject(&root, OBJ_GRID, "g", "200px", "100px");
             for (const char* colour : {"RED", "GREEN"}) {
                 auto column = std::make_shared<TekClass>(NodeType::HeaderColumn);
                 BuildHeaderItems(*column);
                 column->SetItem("BGColor", colour);
                 grid->HeaderColumns().push_back(column);
             }
         },
         150, 8, qRgb(0, 255, 0)},
        {"page dots, the first filled",
         [](CObjectDataList& root) {
             auto page = AddGroup(&root, LAYOUT_PAGE, "pg", false, "200px", "100px");
             AddObject(page.get(), OBJ_TEXT, "a");
             AddObject(page.get(), OBJ_TEXT, "b");
         },
         93, 93, dark},
        {"scroll bar mark at the right",
         [](CObjectDataList& root) {
             auto scroll = AddGroup(&root, LAYOUT_SCROLL, "s", true, "200px", "100px");
             AddObject(scroll.get(), OBJ_TEXT, "tall", "100px", "400px");
         },
         198, 10, dark},
        {"meter dial needle straight up at half",
         [](CObjectDataList& root) { Set(*AddObject(&root, OBJ_METER, "m", "100px", "100px"), "Value", "50"); }, 49, 25,
         qRgb(255, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = test::MakeDialog();
        auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", false, "PARENT", "PARENT");
        c.build(*root);
        dialog->SetRoot(root);
        const QImage image = Paint(*dialog);
        EXPECT_PIXEL(image, c.x, c.y, c.colour);
    }
}

TEST(DevicePainter, WrappedTextTakesSeveralLines)
{
    int rows[2] = {};
    for (const bool wrap : {false, true}) {
        auto dialog = test::MakeDialog();
        auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", false, "PARENT", "PARENT");
        auto text = AddObject(root.get(), OBJ_TEXT, "t", "60px", "100px");
        Set(*text, "Text", "MMM MMM MMM MMM");
        Set(*text, "Wrap", wrap ? "true" : "false");
        dialog->SetRoot(root);
        const QImage image = Paint(*dialog);
        int top = 100;
        int bottom = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 60; ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        rows[wrap] = bottom - top;
    }
    EXPECT_GT(rows[1], 2 * rows[0]);
}

class DevicePictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkpath("assets");
        QDir(m_dir.path()).mkpath("project/resources");
        Save("assets/blue.png", Qt::blue, 8, 4);
        Save("project/resources/green.png", Qt::green, 10, 10);
    }
    void Save(const QString& name, Qt::GlobalColor colour, int width, int height)
    {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(colour);
        ASSERT_TRUE(picture.save(m_dir.filePath(name)));
    }
    PictureFolders Folders() const
    {
        return {m_dir.filePath("assets").toStdString(), m_dir.filePath("project").toStdString()};
    }

    QTemporaryDir m_dir;
};

TEST_F(DevicePictures, BySourceWithPlaceholders)
{
    const struct {
        const char* source;
        const char* file;
        QRgb centre;
        std::optional<QRgb> corner; ///< nullopt: the picture itself
    } cases[] = {
        {"BUILTIN", "blue.png", qRgb(0, 0, 255), std::nullopt},
        {"STATION", "green.png", qRgb(0, 255, 0), std::nullopt},
        {"STATION", "blue.png", qRgb(0xCC, 0xCC, 0xCC), qRgb(255, 0, 0)},
        {"BUILTIN", "gone.png", qRgb(0xCC, 0xCC, 0xCC), qRgb(255, 0, 0)},
        {"URI", "green.png", qRgb(0xCC, 0xCC, 0xCC), qRgb(0xCC, 0xCC, 0xCC)},
        {"STRAGE", "green.png", qRgb(0xCC, 0xCC, 0xCC), qRgb(0xCC, 0xCC, 0xCC)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " " + c.file);
        auto dialog = test::MakeDialog();
        auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", false, "PARENT", "PARENT");
        auto picture = AddObject(root.get(), OBJ_PICTURE, "p", "80px", "80px");
        Set(*picture, "File", c.file);
        Set(*picture, "FileSource", c.source);
        Set(*picture, "ScaleType", "SCALE_JUST");
        dialog->SetRoot(root);
        DevicePictureCache pictures(Folders());
        const QImage image = Paint(*dialog, pictures);
        EXPECT_PIXEL(image, 40, 20, c.centre);
        EXPECT_PIXEL(image, 0, 0, c.corner.value_or(c.centre));
    }
}

TEST_F(DevicePictures, PathsBySourceAndFolder)
{
    const std::string assets = Folders().assets;
    const std::string project = Folders().project;
    const struct {
        PictureFolders folders;
        const char* source;
        std::string path;
    } cases[] = {
        {Folders(), "", assets + "/a.png"},
        {Folders(), "BUILTIN", assets + "/a.png"},
        {Folders(), "STATION", project + "/resources/a.png"},
        {{assets, project, "/cache"}, "STATION", "/cache/a.png"},
        {{assets, ""}, "STATION", ""},
        {Folders(), "URI", ""},
        {Folders(), "STRAGE", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DevicePictureCache(c.folders).PathOf(c.source, "a.png"), c.path) << c.source;
}

TEST_F(DevicePictures, MeterTurnsItsCursorAboutTheCentres)
{
    // A 40 x 40 green base stretched to 80 x 80 and a 4 x 20 red needle turning about its foot.
    Save("project/resources/base.png", Qt::green, 40, 40);
    Save("project/resources/needle.png", Qt::red, 4, 20);
    const struct {
        const char* value;
        const char* revers;
        QPoint red;
        QPoint green;
    } cases[] = {
        {"0", "", {40, 15}, {65, 40}},
        {"25", "", {65, 40}, {40, 15}},
        {"25", "true", {15, 40}, {65, 40}},
        {"50", "", {40, 65}, {40, 15}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " " + c.revers);
        auto dialog = test::MakeDialog();
        auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", false, "PARENT", "PARENT");
        auto meter = AddObject(root.get(), OBJ_METER, "m", "80px", "80px");
        for (const auto& [item, value] : {std::pair{"FileBase", "base.png"},
                                          {"FileCursor", "needle.png"},
                                          {"FileSource", "STATION"},
                                          {"CenterPosBase", "20,20"},
                                          {"CenterPosCursor", "2,20"},
                                          {"Value", c.value},
                                          {"Revers", c.revers}})
            Set(*meter, item, value);
        dialog->SetRoot(root);
        DevicePictureCache pictures(Folders());
        const QImage image = Paint(*dialog, pictures);
        EXPECT_PIXEL(image, c.red.x(), c.red.y(), qRgb(255, 0, 0));
        EXPECT_PIXEL(image, c.green.x(), c.green.y(), qRgb(0, 255, 0));
    }
}

TEST_F(DevicePictures, ScaleTypes)
{
    const struct {
        const char* scale;
        QRgb inside;  ///< at (40, 10): inside a picture stretched or fitted
        QRgb outside; ///< at (40, 75): below a fitted picture (8 x 4 fits as 80 x 40, centred)
    } cases[] = {
        {"SCALE_JUST", qRgb(0, 0, 255), qRgb(0, 0, 255)},
        {"", qRgb(255, 255, 255), qRgb(255, 255, 255)},
        {"SCALE_AUTO", qRgb(255, 255, 255), qRgb(255, 255, 255)},
        {"SCALE_WIDTH", qRgb(255, 255, 255), qRgb(255, 255, 255)},
        {"SCALE_100PER", qRgb(255, 255, 255), qRgb(255, 255, 255)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        auto dialog = test::MakeDialog();
        auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", false, "PARENT", "PARENT");
        auto picture = AddObject(root.get(), OBJ_PICTURE, "p", "80px", "80px");
        Set(*picture, "File", "blue.png");
        Set(*picture, "FileSource", "BUILTIN");
        Set(*picture, "ScaleType", c.scale);
        dialog->SetRoot(root);
        DevicePictureCache pictures(Folders());
        const QImage image = Paint(*dialog, pictures);
        EXPECT_PIXEL(image, 40, 10, c.inside);
        EXPECT_PIXEL(image, 40, 75, c.outside);
        EXPECT_PIXEL(image, 40, 40, qRgb(0, 0, 255));
    }
}

TEST_F(DevicePictures, UnscaledPictureFromTheProjectPixelForPixel)
{
    QImage source(10, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            source.setPixel(x, y, qRgb(x * 25, y * 40, 200));
    ASSERT_TRUE(source.save(m_dir.filePath("project/resources/ramp.png")));
    auto dialog = test::MakeDialog();
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", false, "PARENT", "PARENT");
    auto picture = AddObject(root.get(), OBJ_PICTURE, "p", "30px", "16px");
    Set(*picture, "File", "ramp.png");
    Set(*picture, "FileSource", "STATION");
    Set(*picture, "ScaleType", "SCALE_100PER");
    dialog->SetRoot(root);
    DevicePictureCache pictures(Folders());
    const QImage image = Paint(*dialog, pictures);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_PIXEL(image, 10 + x, 5 + y, source.pixel(x, y));
    EXPECT_PIXEL(image, 9, 5, qRgb(255, 255, 255));
}

TEST_F(DevicePictures, ContentSizedPictureAndOneDecodePerFile)
{
    auto dialog = test::MakeDialog();
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", false, "PARENT", "PARENT");
    for (const char* name : {"a", "b"}) {
        auto picture = AddObject(root.get(), OBJ_PICTURE, name, "CONTENT", "CONTENT");
        Set(*picture, "File", "green.png");
        Set(*picture, "FileSource", "STATION");
    }
    dialog->SetRoot(root);
    DevicePictureCache pictures(Folders());
    QImage image = Paint(*dialog, pictures);
    image = Paint(*dialog, pictures);
    EXPECT_EQ(pictures.DecodeCount(), 1);
    EXPECT_PIXEL(image, 19, 9, qRgb(0, 255, 0));
    EXPECT_PIXEL(image, 20, 9, qRgb(255, 255, 255));
    EXPECT_PIXEL(image, 5, 10, qRgb(255, 255, 255));
}

} // namespace
} // namespace vesk
