// Picture files: decoding into 24-bit bitmaps, the scaling rule of thumbnails, the folder scan
// and its order, and the loading of the editor's four picture lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "render/dibimage.h"
#include "render/picturelists.h"
#include "textconv/textconv.h"

namespace vesk {
namespace {

std::string Sjis(const char* utf8)
{
    return Utf8ToShiftJisExact(utf8);
}

std::string PathFromQ(const QString& path)
{
    return path.toStdString();
}

/// Writes a picture into the folder (format from the suffix); answers its UTF-8 path.
std::string WritePicture(const QString& folder, const QString& name, const QImage& image)
{
    const QString path = QDir(folder).filePath(name);
    EXPECT_TRUE(image.save(path)) << path.toStdString();
    return PathFromQ(path);
}

QImage Filled(int width, int height, QColor colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::vector<std::string> NamesOf(const CDibImageList& images)
{
    std::vector<std::string> names;
    for (int i = 0; i < images.Count(); ++i)
        names.push_back(images.At(i).Name());
    return names;
}

// --- Decoding -------------------------------------------------------------------------------

TEST(DibImage, DecodesIntoPlainTwentyFourBitPixels)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    QImage alpha(3, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(10, 20, 30, 0));    // fully transparent: white
    alpha.setPixel(1, 0, qRgba(200, 40, 60, 128)); // half transparent: its own colour, unblended
    alpha.setPixel(2, 0, qRgba(1, 2, 3, 255));

    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(10, 200, 30), qRgba(5, 5, 5, 0)});
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);

    QImage opaqueIndexed(2, 1, QImage::Format_Indexed8);
    opaqueIndexed.setColorTable({qRgb(7, 8, 9), qRgb(250, 0, 5)});
    opaqueIndexed.setPixel(0, 0, 1);
    opaqueIndexed.setPixel(1, 0, 0);

    QImage grey(2, 1, QImage::Format_Grayscale8);
    grey.setPixel(0, 0, qRgb(90, 90, 90));
    grey.setPixel(1, 0, qRgb(200, 200, 200));

    const struct Case {
        const char* name;
        QImage image;
        std::vector<QColor> expected;
    } cases[] = {
        {"alpha.png", alpha, {QColor(255, 255, 255), QColor(200, 40, 60), QColor(1, 2, 3)}},
        {"palette.png", indexed, {QColor(10, 200, 30), QColor(255, 255, 255)}},
        {"opaque-palette.png", opaqueIndexed, {QColor(250, 0, 5), QColor(7, 8, 9)}},
        {"grey.png", grey, {QColor(90, 90, 90), QColor(200, 200, 200)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDibImage image;
        const std::string path = WritePicture(dir.path(), QString::fromUtf8(c.name), c.image);
        ASSERT_TRUE(image.Load(path));
        EXPECT_EQ(image.Path(), path);
        EXPECT_EQ(image.Bitmap().format(), QImage::Format_RGB888);
        EXPECT_EQ(image.BitDepth(), 24);
        ASSERT_EQ(image.Width(), static_cast<int>(c.expected.size()));
        EXPECT_EQ(image.Height(), 1);
        for (size_t x = 0; x < c.expected.size(); ++x)
            EXPECT_EQ(image.Bitmap().pixelColor(static_cast<int>(x), 0), c.expected[x]) << "pixel " << x;
    }
}

TEST(DibImage, DecodesJpegAtItsOwnSize)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CDibImage image;
    ASSERT_TRUE(image.Load(WritePicture(dir.path(), QStringLiteral("photo.jpg"), Filled(64, 48, QColor(0, 0, 255)))));
    EXPECT_EQ(image.Width(), 64);
    EXPECT_EQ(image.Height(), 48);
    EXPECT_EQ(image.BitDepth(), 24);
    const QColor centre = image.Bitmap().pixelColor(32, 24);
    EXPECT_LT(centre.red(), 20);
    EXPECT_GT(centre.blue(), 235);
}

TEST(DibImage, FailedLoadLeavesTheImageAsItWas)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string good = WritePicture(dir.path(), QStringLiteral("good.png"), Filled(4, 3, Qt::red));
    WriteBytes(dir.filePath(QStringLiteral("bad.png")), "not a picture");

    CDibImage image;
    EXPECT_EQ(image.BitDepth(), 0);
    EXPECT_FALSE(image.Load(PathFromQ(dir.filePath(QStringLiteral("missing.png")))));
    EXPECT_TRUE(image.Bitmap().isNull());
    ASSERT_TRUE(image.Load(good));
    for (const char* failing : {"missing.png", "bad.png"}) {
        EXPECT_FALSE(image.Load(PathFromQ(dir.filePath(QString::fromUtf8(failing))))) << failing;
        EXPECT_EQ(image.Path(), good);
        EXPECT_EQ(image.Width(), 4);
        EXPECT_EQ(image.Height(), 3);
    }
}

// --- Scaling into a cell --------------------------------------------------------------------

TEST(DibImage, DrawnRectShrinksKeepingAspectAndCentres)
{
    const struct Case {
        int pictureWidth, pictureHeight, x, y, width, height;
        QRect expected;
    } cases[] = {
        {640, 480, 0, 0, 65, 50, QRect(0, 1, 65, 48)}, // width-bound, centred vertically
        {30, 20, 0, 0, 65, 50, QRect(17, 15, 30, 20)}, // fits: own size, centred
        {30, 20, 100, 200, 65, 50, QRect(117, 215, 30, 20)},
        {10, 100, 0, 0, 65, 50, QRect(30, 0, 5, 50)},  // height-bound
        {200, 10, 0, 0, 65, 50, QRect(0, 23, 65, 3)},  // 65 * 10 / 200 rounds down
        {65, 50, 5, 5, 65, 50, QRect(5, 5, 65, 50)},   // exactly fits
        {130, 100, 0, 0, 65, 50, QRect(0, 0, 65, 50)}, // same ratio: height branch, same size
        {80, 50, 0, 0, 65, 50, QRect(0, 5, 65, 40)},   // only too wide
        {64, 48, 0, 0, 80, 50, QRect(8, 1, 64, 48)},   // an image cell
        {0, 10, 3, 4, 65, 50, QRect(3, 4, 0, 0)},      // nothing to draw
    };
    for (const Case& c : cases)
        EXPECT_EQ(CDibImage::DrawnRect(c.pictureWidth, c.pictureHeight, c.x, c.y, c.width, c.height), c.expected)
            << c.pictureWidth << "x" << c.pictureHeight << " in " << c.width << "x" << c.height;
}

TEST(DibImage, DrawPaintsThePictureWhereTheRuleSays)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct Case {
        int width, height;
        QRect expected;
    } cases[] = {{640, 480, QRect(0, 1, 65, 48)}, {30, 20, QRect(17, 15, 30, 20)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        CDibImage image;
        ASSERT_TRUE(image.Load(
            WritePicture(dir.path(), QStringLiteral("p%1.png").arg(c.width), Filled(c.width, c.height, Qt::red))));
        QImage canvas = Filled(65, 50, Qt::white);
        {
            QPainter painter(&canvas);
            image.Draw(painter, 0, 0, 65, 50);
        }
        int red = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                if (canvas.pixelColor(x, y) == QColor(Qt::red)) {
                    ++red;
                    EXPECT_TRUE(c.expected.contains(x, y)) << x << "," << y;
                }
        EXPECT_EQ(red, c.expected.width() * c.expected.height());
    }

    QImage canvas = Filled(20, 20, Qt::white);
    QPainter painter(&canvas);
    CDibImage().Draw(painter, 0, 0, 20, 20);
    painter.end();
    EXPECT_EQ(canvas, Filled(20, 20, Qt::white));
}

// --- Folders --------------------------------------------------------------------------------

TEST(DibImageList, FolderScanKeepsPicturesOnlyAndSortsByShiftJisBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path();
    WritePicture(folder, QStringLiteral("02_TEXT.png"), Filled(8, 8, Qt::green));
    WritePicture(folder, QStringLiteral("01_BUTTON.jpg"), Filled(8, 8, Qt::blue));
    WritePicture(folder, QStringLiteral("05_UPPER.PNG"), Filled(8, 8, Qt::blue));
    // Half-width katakana (0xB1) sorts before a kanji of lead byte 0xE5 in Shift_JIS bytes,
    // although it comes after it in UTF-8 and UTF-16.
    WritePicture(folder, QStringLiteral("ｱ.png"), Filled(8, 8, Qt::blue));
    WritePicture(folder, QStringLiteral("蕭.png"), Filled(8, 8, Qt::blue));
    WritePicture(folder, QStringLiteral("other.bmp"), Filled(8, 8, Qt::blue));
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("03_FOLDER.png")));
    WriteBytes(QDir(folder).filePath(QStringLiteral("04_BROKEN.png")), "not a picture");

    CDibImageList images;
    LoadPictureFolder(images, PathFromQ(folder));
    const std::vector<std::string> expected = {"01_BUTTON.jpg", "02_TEXT.png", "05_UPPER.PNG", Sjis("ｱ.png"),
                                               Sjis("蕭.png")};
    EXPECT_EQ(NamesOf(images), expected);
    ASSERT_EQ(images.Count(), 5);
    EXPECT_EQ(images.At(0).Path(), PathFromQ(QDir(folder).filePath(QStringLiteral("01_BUTTON.jpg"))));

    // Reloading refills rather than adds.
    LoadPictureFolder(images, PathFromQ(folder));
    EXPECT_EQ(images.Count(), 5);

    CDibImageList jpegs;
    jpegs.LoadFolder(PathFromQ(folder), ".jpg");
    EXPECT_EQ(NamesOf(jpegs), std::vector<std::string>{"01_BUTTON.jpg"});
}

TEST(DibImageList, MissingFoldersAndFilesGiveNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CDibImageList images;
    LoadPictureFolder(images, PathFromQ(dir.filePath(QStringLiteral("resources"))));
    EXPECT_EQ(images.Count(), 0);
    LoadPictureFolder(images, PathFromQ(dir.path())); // exists, but empty
    EXPECT_EQ(images.Count(), 0);
    EXPECT_FALSE(images.LoadFile(PathFromQ(dir.filePath(QStringLiteral("Clipboard.png")))));
    EXPECT_EQ(images.Count(), 0);
}

// --- The four lists ---------------------------------------------------------------------------

TEST(PictureLists, EachListFromItsFolderAndReloadsRefill)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir root(dir.path());
    for (const char* folder : {"data/objects", "data/samples", "data/assets", "project/resources"})
        ASSERT_TRUE(root.mkpath(QString::fromUtf8(folder)));
    const QString data = root.filePath(QStringLiteral("data"));
    WritePicture(data + QStringLiteral("/objects"), QStringLiteral("02_TEXT.png"), Filled(8, 8, Qt::green));
    WritePicture(data + QStringLiteral("/objects"), QStringLiteral("01_BUTTON.jpg"), Filled(8, 8, Qt::blue));
    WritePicture(data + QStringLiteral("/samples"), QStringLiteral("Clipboard.png"), Filled(8, 8, Qt::blue));
    WritePicture(data + QStringLiteral("/samples"), QStringLiteral("Other.png"), Filled(8, 8, Qt::blue));
    WritePicture(data + QStringLiteral("/assets"), QStringLiteral("logo.png"), Filled(8, 8, Qt::blue));
    const QString resources = root.filePath(QStringLiteral("project/resources"));
    WritePicture(resources, QStringLiteral("mine.jpg"), Filled(8, 8, Qt::blue));

    PictureLists lists;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        LoadPictureLists(lists, PathFromQ(data) + "/", PathFromQ(resources) + "/");
        EXPECT_EQ(NamesOf(lists.insertedObjects), (std::vector<std::string>{"01_BUTTON.jpg", "02_TEXT.png"}));
        EXPECT_EQ(NamesOf(lists.clipboard), std::vector<std::string>{"Clipboard.png"});
        EXPECT_EQ(NamesOf(lists.builtinImages), std::vector<std::string>{"logo.png"});
        EXPECT_EQ(NamesOf(lists.stationImages), std::vector<std::string>{"mine.jpg"});
    }

    // A project without a resources folder and a data folder without a clipboard sample.
    ASSERT_TRUE(QFile::remove(data + QStringLiteral("/samples/Clipboard.png")));
    LoadPictureLists(lists, PathFromQ(data) + "/", PathFromQ(root.filePath(QStringLiteral("none"))) + "/");
    EXPECT_EQ(lists.insertedObjects.Count(), 2);
    EXPECT_EQ(lists.clipboard.Count(), 0);
    EXPECT_EQ(lists.builtinImages.Count(), 1);
    EXPECT_EQ(lists.stationImages.Count(), 0);
}

} // namespace
} // namespace vesk
