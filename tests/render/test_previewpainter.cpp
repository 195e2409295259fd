#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "dialogbuilder.h"
#include "guienvironment.h"
#include "objects/layout.h"
#include "render/modeltext.h"
#include "render/paintersurface.h"
#include "render/previewpainter.h"
#include "textconv/textconv.h"

namespace vesk {
namespace {

using test::AddGroup;
using test::AddObject;

const QRgb kDark = qRgb(128, 128, 128);
const QRgb kLight = qRgb(192, 192, 192);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kLightRed = qRgb(255, 200, 200);

std::string Hex(QRgb colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", colour & 0xFFFFFFu);
    return text;
}

#define EXPECT_PIXEL(image, x, y, colour)                                                                              \
    EXPECT_EQ(Hex((image).pixel((x), (y))), Hex(colour)) << "at (" << (x) << ", " << (y) << ")"

int CountNonWhite(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) != kWhite;
    return count;
}

QImage WhiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kWhite);
    return image;
}

TEST(PreviewPainter, DialogWithoutRootShowsOnlyThePattern)
{
    CTekResourceData resource;
    auto dialog = test::MakeDialog();
    const QImage image = RenderDialogPreview(resource, *dialog, 480, 800);
    ASSERT_EQ(image.size(), QSize(480, 800));
    EXPECT_PIXEL(image, 0, 0, kDark);
    EXPECT_PIXEL(image, 7, 7, kDark);
    EXPECT_PIXEL(image, 8, 0, kLight);
    EXPECT_PIXEL(image, 0, 8, kLight);
    EXPECT_PIXEL(image, 8, 8, kDark);
    EXPECT_PIXEL(image, 16, 3, kDark);
    EXPECT_PIXEL(image, 240, 400, kDark);
    EXPECT_PIXEL(image, 248, 400, kLight);
    EXPECT_PIXEL(image, 479, 799, kDark);
}

class PreviewImage : public ::testing::Test {
protected:
    PreviewImage() : dialog(test::MakeDialog())
    {
        root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
        dialog->SetRoot(root);
    }

    QImage Render(int width = 480, int height = 800) { return RenderDialogPreview(resource, *dialog, width, height); }

    CTekResourceData resource;
    std::shared_ptr<CTekDialogData> dialog;
    GroupPtr root;
};

TEST_F(PreviewImage, WhiteAreaInsideAPatternBorder)
{
    const QImage image = Render();
    // The border keeps the pattern.
    EXPECT_PIXEL(image, 0, 0, kDark);
    EXPECT_PIXEL(image, 4, 4, kDark);
    EXPECT_PIXEL(image, 8, 2, kLight);
    EXPECT_PIXEL(image, 475, 400, kLight);
    EXPECT_PIXEL(image, 240, 795, kLight);
    EXPECT_PIXEL(image, 479, 799, kDark);
    // The root group's grey frame, then white.
    EXPECT_PIXEL(image, 5, 5, kDark);
    EXPECT_PIXEL(image, 474, 794, kDark);
    EXPECT_PIXEL(image, 240, 5, kDark);
    EXPECT_PIXEL(image, 6, 6, kWhite);
    EXPECT_PIXEL(image, 240, 400, kWhite);
    EXPECT_PIXEL(image, 473, 793, kWhite);
}

TEST_F(PreviewImage, ObjectBoxHasABlackFrameAndItsLabels)
{
    auto button = AddObject(root.get(), OBJ_BUTTON, "b1", "200px", "60px");
    button->SetItem("Text", "OK");
    const QImage image = Render();
    EXPECT_PIXEL(image, 5, 5, kBlack);
    EXPECT_PIXEL(image, 204, 5, kBlack);
    EXPECT_PIXEL(image, 5, 64, kBlack);
    EXPECT_PIXEL(image, 204, 64, kBlack);
    EXPECT_PIXEL(image, 100, 64, kBlack);
    EXPECT_PIXEL(image, 205, 30, kWhite);
    EXPECT_PIXEL(image, 100, 65, kWhite);
    EXPECT_PIXEL(image, 200, 60, kWhite);
    // The tag in the top left corner and the centred label line.
    EXPECT_GT(CountNonWhite(image, QRect(9, 6, 30, 10)), 0);
    EXPECT_GT(CountNonWhite(image, QRect(70, 25, 70, 20)), 0);
    EXPECT_EQ(CountNonWhite(image, QRect(150, 50, 50, 12)), 0);
}

TEST_F(PreviewImage, MarkedBoxIsDrawnOverItsNeighbours)
{
    auto frame = AddGroup(root.get(), LAYOUT_FRAME, "f", false, "300px", "200px");
    auto marked = AddObject(frame.get(), OBJ_CANVAS, "", "100px", "40px");
    auto plain = AddObject(frame.get(), OBJ_CANVAS, "", "150px", "80px");
    marked->SetItem("Type", ""); // no tag, so the fill can be probed anywhere
    plain->SetItem("Type", "");
    marked->SetMark(1);
    const QImage image = Render();
    // The marked box lies under the later, unmarked one but is drawn over it.
    EXPECT_PIXEL(image, 5, 5, kRed);
    EXPECT_PIXEL(image, 104, 44, kRed);
    EXPECT_PIXEL(image, 60, 44, kRed);
    EXPECT_PIXEL(image, 60, 30, kLightRed);
    EXPECT_PIXEL(image, 103, 43, kLightRed);
    // The unmarked neighbour shows outside it.
    EXPECT_PIXEL(image, 60, 84, kBlack);
    EXPECT_PIXEL(image, 154, 30, kBlack);
    EXPECT_PIXEL(image, 120, 30, kWhite);
    EXPECT_PIXEL(image, 60, 60, kWhite);
}

TEST_F(PreviewImage, MarkedGroupFrameIsRed)
{
    auto group = AddGroup(root.get(), LAYOUT_FRAME, "g", false, "100px", "50px");
    group->SetMark(1);
    const QImage image = Render();
    EXPECT_PIXEL(image, 5, 5, kRed);
    EXPECT_PIXEL(image, 104, 30, kRed);
    EXPECT_PIXEL(image, 50, 54, kRed);
    EXPECT_PIXEL(image, 50, 30, kWhite);
    EXPECT_PIXEL(image, 300, 5, kDark);
}

TEST_F(PreviewImage, NoImageOfNoSize)
{
    EXPECT_TRUE(Render(0, 100).isNull());
    EXPECT_TRUE(Render(100, -1).isNull());
    // A size smaller than the border still paints the pattern without failing.
    const QImage tiny = Render(6, 6);
    ASSERT_FALSE(tiny.isNull());
    EXPECT_PIXEL(tiny, 0, 0, kDark);
}

TEST(LabelFont, JapaneseGlyphsAreAvailable)
{
    const QFont font = LabelFont(12);
    EXPECT_EQ(font.pixelSize(), 12);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(font.italic());
    EXPECT_FALSE(font.underline());
    EXPECT_FALSE(font.strikeOut());
    const QFontMetrics metrics(font);
    for (char32_t c : {U'日', U'本', U'ゴ', U'シ', U'ク', U'ア'})
        EXPECT_TRUE(metrics.inFontUcs4(c))
            << static_cast<unsigned>(c) << " in " << QFontInfo(font).family().toStdString();
}

TEST(PainterSurface, JapaneseLabelDrawsGlyphs)
{
    QImage image = WhiteImage(200, 40);
    {
        QPainter painter(&image);
        PainterSurface surface(painter);
        surface.DrawText(Utf8ToShiftJisExact("日本語テキスト"), 0, 0, 200, 40, 12, true);
    }
    EXPECT_GT(CountNonWhite(image, image.rect()), 30);

    // Each glyph has its own shape: no two characters are drawn as the same box.
    auto glyphImage = [](const char* text) {
        QImage glyph = WhiteImage(20, 20);
        QPainter painter(&glyph);
        PainterSurface surface(painter);
        surface.DrawText(Utf8ToShiftJisExact(text), 0, 0, 20, 20, 16, false);
        painter.end();
        return glyph;
    };
    EXPECT_NE(glyphImage("日"), glyphImage("本"));
}

TEST(PainterSurface, TextStaysInsideItsRectangle)
{
    QImage image = WhiteImage(200, 60);
    {
        QPainter painter(&image);
        PainterSurface surface(painter);
        surface.DrawText("a very long label that cannot fit at all", 20, 20, 40, 12, 12, false);
    }
    const QRect inside(20, 20, 40, 12);
    EXPECT_GT(CountNonWhite(image, inside), 0);
    EXPECT_EQ(CountNonWhite(image, image.rect()), CountNonWhite(image, inside));
}

TEST(PainterSurface, FrameIsOnePixelInside)
{
    QImage image = WhiteImage(20, 20);
    {
        QPainter painter(&image);
        PainterSurface surface(painter);
        surface.FrameRect(2, 3, 10, 5, RgbColor{0, 0, 0});
        surface.FillRect(15, 15, 0, 4, RgbColor{0, 0, 0});
        surface.FrameRect(15, 15, 3, -1, RgbColor{0, 0, 0});
        surface.FillRect(-2147483647, -5, 2147483647, 2147483647, RgbColor{255, 255, 255});
    }
    EXPECT_EQ(CountNonWhite(image, QRect(2, 3, 10, 5)), 2 * 10 + 2 * 3);
    EXPECT_EQ(CountNonWhite(image, image.rect()), 26);
    EXPECT_PIXEL(image, 11, 7, kBlack);
    EXPECT_PIXEL(image, 12, 7, kWhite);
    EXPECT_PIXEL(image, 3, 4, kWhite);
}

TEST(ModelText, ShiftJisReachesQtUnchanged)
{
    const std::string shiftJis = Utf8ToShiftJisExact("ﾎﾞﾀﾝ ボタン");
    EXPECT_EQ(ModelTextToQString(shiftJis), QStringLiteral("ﾎﾞﾀﾝ ボタン"));
    EXPECT_EQ(QStringToModelText(QStringLiteral("ﾎﾞﾀﾝ ボタン")), shiftJis);
}

TEST(SavePreviewPng, WritesAndReportsFailures)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vesk_render_test";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "preview.png").string();
    QImage image = WhiteImage(30, 20);
    image.setPixel(3, 4, kRed);
    std::string reason;
    ASSERT_TRUE(SavePreviewPng(image, path, &reason)) << reason;
    const QImage back(QString::fromStdString(path));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image);

    const std::string missing = (folder / "no such folder" / "x.png").string();
    EXPECT_FALSE(SavePreviewPng(image, missing, &reason));
    EXPECT_NE(reason.find(missing), std::string::npos) << reason;
    EXPECT_FALSE(SavePreviewPng(QImage(), path, &reason));
    // The earlier file is left as it was.
    EXPECT_EQ(QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32), image);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace vesk
