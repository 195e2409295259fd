// Picture lists: the shipped pictures, the row model, entry names and captions, and the list
// control's grid and painting. (Decoding, scaling and the folder scan: tests/render/test_dibimage.)
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include "chrome/uitext.h"
#include "guitestsupport.h"
#include "render/dibimage.h"
#include "shell/imagelistctrl.h"

namespace vesk {
namespace {

using test::Sjis;

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

std::vector<std::string> NamesOf(const CDibImageList& images)
{
    std::vector<std::string> names;
    for (int i = 0; i < images.Count(); ++i)
        names.push_back(images.At(i).Name());
    return names;
}

QString RuntimeFolder(const char* name)
{
    return QDir(QStringLiteral(VESK_RUNTIME_DIR)).filePath(QString::fromUtf8(name));
}

// --- Shipped pictures ---------------------------------------------------------------------

TEST(DibImageList, ShippedPicturesLoad)
{
    CDibImageList objects;
    LoadPictureFolder(objects, PathFromQ(RuntimeFolder("objects")));
    ASSERT_EQ(objects.Count(), 21);
    EXPECT_EQ(objects.At(0).Name(), "01_TEXT.png");
    EXPECT_EQ(objects.At(20).Name(), "28_RELATIVE.png");
    EXPECT_EQ(EntryNameOf(objects.At(2).Name(), SidePanelListKind::InsertedObjects), "BUTTON");
    // "0…" nine pictures, "1…" four, "2…" eight, three to a row.
    std::vector<std::string> names = NamesOf(objects);
    EXPECT_EQ(PictureRows(names, 3).size(), 3u + 2u + 3u);

    CDibImageList clipboard;
    ASSERT_TRUE(clipboard.LoadFile(PathFromQ(RuntimeFolder("samples/Clipboard.png"))));
    EXPECT_EQ(clipboard.At(0).Name(), "Clipboard.png");
    EXPECT_EQ(EntryNameOf(clipboard.At(0).Name(), SidePanelListKind::Clipboard), "Clipboard");

    CDibImageList assets;
    LoadPictureFolder(assets, PathFromQ(RuntimeFolder("assets")));
    EXPECT_EQ(assets.Count(), 13);
    EXPECT_EQ(assets.At(0).Name(), "bar_active.png");
}

TEST(DibImageList, ShippedObjectPicturesCarryNoCaptionOfTheirOwn)
{
    // The list writes each entry's name below its picture; a band across the picture's whole
    // width (where a caption of its own would stand) would show the name twice.
    const QDir objects(RuntimeFolder("objects"));
    const QStringList names = objects.entryList({QStringLiteral("*.png")}, QDir::Files);
    ASSERT_EQ(names.size(), 21);
    for (const QString& name : names) {
        const QImage picture(objects.filePath(name));
        ASSERT_FALSE(picture.isNull()) << name.toStdString();
        const QRgb background = picture.pixel(0, 0);
        for (int y = 0; y < picture.height(); ++y) {
            int x = 0;
            while (x < picture.width() && picture.pixel(x, y) == picture.pixel(0, y))
                ++x;
            EXPECT_FALSE(x == picture.width() && picture.pixel(0, y) != background)
                << name.toStdString() << ": a band at row " << y;
        }
    }
}

// --- Rows, entry names, captions ------------------------------------------------------------

TEST(PictureRows, GroupByFirstByteAndWrap)
{
    const std::vector<std::string> twenty(20, "x.png");
    const struct Case {
        const char* what;
        std::vector<std::string> names;
        int columns;
        std::vector<std::vector<int>> expected;
    } cases[] = {
        {"one group in one row", {"01_BUTTON.png", "02_TEXT.png", "03_CHECK.png"}, 3, {{0, 1, 2}}},
        {"new letter, new row", {"apple.png", "arrow.png", "bird.png"}, 2, {{0, 1}, {2}}},
        {"new letter with room left", {"apple.png", "arrow.png", "bird.png"}, 5, {{0, 1}, {2}}},
        {"group wraps", {"0a", "0b", "0c", "0d", "0e"}, 2, {{0, 1}, {2, 3}, {4}}},
        {"one column", {"0a", "0b", "1a"}, 1, {{0}, {1}, {2}}},
        {"no room still one a row", {"0a", "0b"}, 0, {{0}, {1}}},
        {"at most fifteen a row",
         twenty,
         40,
         {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, {15, 16, 17, 18, 19}}},
        {"only the neighbour counts", {"a", "a2", "b", "a3"}, 5, {{0, 1}, {2}, {3}}},
        {"empty names group together", {"", "", "a"}, 5, {{0, 1}, {2}}},
        {"Shift_JIS lead bytes", {Sjis("ボタン"), Sjis("ボール"), Sjis("あ")}, 5, {{0, 1}, {2}}},
        {"nothing", {}, 3, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PictureRows(c.names, c.columns), c.expected) << c.what;
}

TEST(EntryNames, FollowTheListKind)
{
    using K = SidePanelListKind;
    const struct Case {
        std::string picture;
        K kind;
        std::string expected;
    } cases[] = {
        {"01_button.png", K::InsertedObjects, "BUTTON"},
        {"01_BUTTON.jpg", K::InsertedObjects, "BUTTON"},
        {"21_my.frame.png", K::InsertedObjects, "MY.FRAME"},
        {"ab.png", K::InsertedObjects, ""},
        // The second byte of テ is 'e': it stays as it is.
        {Sjis("01_テb.png"), K::InsertedObjects, Sjis("テB")},
        {Sjis("あい_x.png"), K::InsertedObjects, "X"},
        {"Clipboard.png", K::Clipboard, "Clipboard"},
        {"bg.png", K::BuiltinImages, "bg.png"},
        {"dial[32-32].png", K::StationImages, "dial[32-32].png"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EntryNameOf(c.picture, c.kind), c.expected) << c.picture;
}

TEST(PictureCaptions, ObjectsShowTheEntryImagesNameAndSize)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CDibImageList images;
    ASSERT_TRUE(images.LoadFile(WritePicture(dir.path(), QStringLiteral("pic.png"), Filled(64, 48, Qt::gray))));
    ASSERT_TRUE(images.LoadFile(WritePicture(dir.path(), QStringLiteral("01_button.png"), Filled(5, 7, Qt::gray))));
    using K = SidePanelListKind;
    EXPECT_EQ(PictureCaptions(images.At(0), K::BuiltinImages),
              QStringList({QStringLiteral("pic.png"), QStringLiteral("48 x 64 24 bit")}));
    EXPECT_EQ(PictureCaptions(images.At(0), K::StationImages).value(1), QStringLiteral("48 x 64 24 bit"));
    EXPECT_EQ(PictureCaptions(images.At(1), K::InsertedObjects), QStringList({QStringLiteral("BUTTON")}));
    EXPECT_EQ(PictureCaptions(images.At(1), K::Clipboard), QStringList({QStringLiteral("01_button")}));
}

// --- The list control -----------------------------------------------------------------------

/// Sizes the list so that its viewport is that wide (and tall enough for every row).
void SetViewportWidth(CImageListCtrl& list, int width)
{
    list.resize(width, 2000);
    test::ProcessEvents();
    const int frame = list.width() - list.viewport()->width();
    list.resize(width + frame, 2000);
    test::ProcessEvents();
}

TEST(ImageListCtrl, CellsAndColumnsFollowTheKindAndWidth)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CDibImageList images;
    for (int i = 0; i < 20; ++i)
        images.LoadFile(WritePicture(dir.path(), QStringLiteral("x%1.png").arg(i, 2, 10, QLatin1Char('0')),
                                     Filled(4, 4, Qt::gray)));
    ASSERT_EQ(images.Count(), 20);

    using K = SidePanelListKind;
    const struct Case {
        K kind;
        int viewportWidth;
        int cellSize, columns, rows;
    } cases[] = {
        {K::InsertedObjects, 130, 65, 2, 10}, {K::InsertedObjects, 129, 65, 1, 20}, {K::InsertedObjects, 40, 65, 1, 20},
        {K::InsertedObjects, 200, 65, 3, 7},  {K::Clipboard, 130, 65, 2, 10},       {K::BuiltinImages, 130, 80, 1, 20},
        {K::StationImages, 160, 80, 2, 10},   {K::BuiltinImages, 2000, 80, 25, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.viewportWidth);
        CImageListCtrl list(c.kind, images);
        list.show();
        SetViewportWidth(list, c.viewportWidth);
        EXPECT_EQ(list.CellSize(), c.cellSize);
        EXPECT_EQ(list.ColumnsPerRow(), c.columns);
        EXPECT_EQ(list.RowCount(), c.rows);
        EXPECT_EQ(list.model()->rowCount(), c.rows);
        EXPECT_EQ(list.model()->columnCount(), std::min(c.columns, 15));
        EXPECT_EQ(list.columnWidth(0), c.cellSize);
        EXPECT_EQ(list.rowHeight(0), c.cellSize);
        EXPECT_EQ(list.PictureAt(0, 0), 0);
        EXPECT_EQ(list.PictureAt(1, 0), std::min(c.columns, 15));
        EXPECT_EQ(list.PictureAt(c.rows, 0), -1);
    }
}

TEST(ImageListCtrl, GroupsRowsAndLeavesEmptyCells)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CDibImageList objects;
    CDibImageList builtin;
    for (const char* name : {"01_BUTTON.png", "02_TEXT.png", "03_CHECK.png"})
        WritePicture(dir.path(), QString::fromUtf8(name), Filled(8, 8, Qt::gray));
    LoadPictureFolder(objects, PathFromQ(dir.path()));
    QTemporaryDir builtinDir;
    for (const char* name : {"bird.png", "apple.png", "arrow.png"})
        WritePicture(builtinDir.path(), QString::fromUtf8(name), Filled(64, 48, Qt::gray));
    LoadPictureFolder(builtin, PathFromQ(builtinDir.path()));

    CImageListCtrl objectList(SidePanelListKind::InsertedObjects, objects);
    objectList.show();
    SetViewportWidth(objectList, 3 * 65);
    EXPECT_EQ(objectList.RowCount(), 1);
    QStringList captions;
    for (int column = 0; column < 3; ++column)
        captions << objectList.model()->index(0, column).data().toString();
    EXPECT_EQ(captions, QStringList({QStringLiteral("BUTTON"), QStringLiteral("TEXT"), QStringLiteral("CHECK")}));

    CImageListCtrl builtinList(SidePanelListKind::BuiltinImages, builtin);
    builtinList.show();
    SetViewportWidth(builtinList, 2 * 80);
    ASSERT_EQ(builtinList.RowCount(), 2);
    const QAbstractItemModel& model = *builtinList.model();
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("apple.png"));
    EXPECT_EQ(model.index(0, 1).data().toString(), QStringLiteral("arrow.png"));
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("bird.png"));
    EXPECT_EQ(model.index(1, 0).data(Qt::AccessibleTextRole).toString(), QStringLiteral("bird.png"));
    EXPECT_EQ(model.index(1, 0).data(Qt::AccessibleDescriptionRole).toString(),
              QStringLiteral("bird.png\n48 x 64 24 bit"));
    // The cell after bird is empty: no text, and not selectable.
    EXPECT_EQ(builtinList.PictureAt(1, 1), -1);
    EXPECT_FALSE(model.index(1, 1).data().isValid());
    EXPECT_FALSE(model.flags(model.index(1, 1)).testFlag(Qt::ItemIsSelectable));
    EXPECT_TRUE(model.flags(model.index(1, 0)).testFlag(Qt::ItemIsSelectable));
}

TEST(ImageListCtrl, PaintsThumbnailsOnTheSelectionColour)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage transparent(640, 480, QImage::Format_ARGB32);
    transparent.fill(Qt::transparent);
    WritePicture(dir.path(), QStringLiteral("01_BIG.png"), Filled(640, 480, Qt::red));
    WritePicture(dir.path(), QStringLiteral("02_CLEAR.png"), transparent);
    CDibImageList images;
    LoadPictureFolder(images, PathFromQ(dir.path()));
    ASSERT_EQ(images.Count(), 2);

    CImageListCtrl list(SidePanelListKind::InsertedObjects, images);
    list.show();
    SetViewportWidth(list, 2 * 65);
    list.SetSelectedIndex(1);
    const QImage shot = list.viewport()->grab().toImage();
    const QColor highlight = list.palette().color(QPalette::Highlight);
    const QColor base = list.palette().color(QPalette::Base);
    ASSERT_NE(highlight, base);
    const struct Probe {
        QPoint at;
        QColor expected;
    } probes[] = {
        {{32, 0}, base},                    // above the 65 x 48 thumbnail
        {{32, 1}, QColor(Qt::red)},         // its first row
        {{0, 48}, QColor(Qt::red)},         // its last row, left edge
        {{64, 48}, QColor(Qt::red)},        // right edge
        {{32, 49}, base},                   // below it
        {{65 + 32, 0}, highlight},          // the selected cell's background
        {{65 + 32, 10}, QColor(Qt::white)}, // its transparent picture shows white
        {{65 + 32, 49}, highlight},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(shot.pixelColor(p.at), p.expected) << p.at.x() << "," << p.at.y();
}

} // namespace
} // namespace vesk
