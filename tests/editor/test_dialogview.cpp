// The preview view: its own layout of the dialog, made when the view is resized or told that the
// dialog changed, painted and hit-tested from that layout, and never by a paint.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QTest>

#include "editor/dialogview.h"
#include "editor/dragdrop.h"
#include "guitestsupport.h"
#include "objects/resourcedata.h"
#include "objects/dialogbuilder.h"
#include "render/previewpainter.h"
#include "render/previewpicture.h"

namespace vesk {
namespace {

using test::AddGroup;
using test::AddObject;

constexpr LayoutRect kUntouched{-7, -7, -7, -7};

/// A vertical root holding: a button; a row with a button beside a column of two texts; a frame
/// whose two objects overlap; and a right-aligned row whose button follows the view's width.
class DialogViewTest : public ::testing::Test {
protected:
    DialogViewTest() : dialog(test::MakeDialog("Main"))
    {
        root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
        dialog->SetRoot(root);
        top = AddObject(root.get(), OBJ_BUTTON, "top", "100px", "40px");
        auto row = AddGroup(root.get(), LAYOUT_LINEAR, "row", false, "PARENT", "");
        left = AddObject(row.get(), OBJ_BUTTON, "left", "100px", "40px");
        auto column = AddGroup(row.get(), LAYOUT_LINEAR, "column", true, "", "");
        upper = AddObject(column.get(), OBJ_TEXT, "upper", "80px", "30px");
        lower = AddObject(column.get(), OBJ_TEXT, "lower", "80px", "30px");
        frame = AddGroup(root.get(), LAYOUT_FRAME, "frame", false, "200px", "100px");
        under = AddObject(frame.get(), OBJ_CANVAS, "under", "150px", "80px");
        over = AddObject(frame.get(), OBJ_CANVAS, "over", "100px", "40px");
        auto aligned = AddGroup(root.get(), LAYOUT_LINEAR, "aligned", false, "PARENT", "", "", "RIGHT");
        right = AddObject(aligned.get(), OBJ_BUTTON, "right", "100px", "40px");

        view = std::make_unique<CTekDialogEditorView>(resource, dialog);
        view->resize(480, 800);
        view->show();
        test::ProcessEvents();
    }

    void SetAllRects(const LayoutRect& rect)
    {
        for (CObjectData* object :
             {top.get(), left.get(), upper.get(), lower.get(), under.get(), over.get(), right.get()})
            object->SetLayoutRect(rect);
    }

    CTekResourceData resource;
    std::shared_ptr<CTekDialogData> dialog;
    GroupPtr root, frame;
    ObjectPtr top, left, upper, lower, under, over, right;
    std::unique_ptr<CTekDialogEditorView> view;
};

TEST_F(DialogViewTest, HitTestAnswersTheInnermostObjectOfItsLayout)
{
    ASSERT_EQ(view->size(), QSize(480, 800));
    EXPECT_TRUE(view->ViewTransform().isIdentity());
    // The top button lies at (5, 5)-(105, 45); the row below it from y 45, 60 high; the frame
    // from y 105; the right-aligned button at the right end of the white area, from y 205.
    const struct {
        int x, y;
        const CObjectData* expected;
    } cases[] = {
        {5, 5, top.get()},       {104, 44, top.get()},    {105, 20, nullptr},  {50, 50, left.get()},
        {110, 50, upper.get()},  {184, 104, lower.get()}, {185, 80, nullptr},  {300, 60, nullptr},
        {20, 110, over.get()},   {130, 150, under.get()}, {180, 150, nullptr}, {2, 2, nullptr},
        {380, 210, right.get()}, {474, 244, right.get()}, {374, 210, nullptr}, {476, 210, nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(view->ObjectAt(c.x, c.y), c.expected) << "at (" << c.x << "," << c.y << ")";
}

TEST_F(DialogViewTest, TheDeviceLookIsPaintedAndHitTestedFromItsOwnLayout)
{
    view->SetLook(PreviewLook::Device);
    EXPECT_EQ(view->Look(), PreviewLook::Device);
    EXPECT_EQ(view->Layout().previewArea, (LayoutBox{0, 0, 480, 800}));
    EXPECT_EQ(view->Layout().clips.size(), view->Layout().nodes.size());
    // No border: the top button from (0, 0), the row below it 60 high, the frame from y 100, the
    // right-aligned button at the right edge from y 200.
    const struct {
        int x, y;
        const CObjectData* expected;
    } cases[] = {
        {0, 0, top.get()},       {99, 39, top.get()},    {100, 20, nullptr},    {50, 50, left.get()},
        {110, 45, upper.get()},  {179, 99, lower.get()}, {20, 110, over.get()}, {130, 150, under.get()},
        {479, 239, right.get()}, {379, 210, nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(view->ObjectAt(c.x, c.y), c.expected) << "at (" << c.x << "," << c.y << ")";
    EXPECT_EQ(top->GetLayoutRect(), (LayoutRect{0, 0, 100, 40}));
    const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(50, 20), qRgb(0xEE, 0xEE, 0xEE)); // a button's face
    EXPECT_EQ(shown.pixel(300, 60), qRgb(255, 255, 255));   // the dialog's white

    view->SetLook(PreviewLook::Box);
    EXPECT_EQ(view->ObjectAt(0, 0), nullptr);
    EXPECT_EQ(view->ObjectAt(5, 5), top.get());
    EXPECT_TRUE(view->Layout().clips.empty());
}

TEST_F(DialogViewTest, AClickReportsTheInnermostObjectAndNothingBetweenObjects)
{
    QSignalSpy clicked(view.get(), &CTekDialogEditorView::objectClicked);
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(110, 80));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).value<CObjectData*>(), lower.get());
    EXPECT_EQ(clicked.at(0).at(1).value<Qt::KeyboardModifiers>(), Qt::ControlModifier);
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 60));
    QTest::mouseClick(view.get(), Qt::RightButton, Qt::NoModifier, QPoint(110, 80));
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(DialogViewTest, ResizingLaysTheDialogOutAgain)
{
    EXPECT_EQ(view->ObjectAt(400, 210), right.get());
    EXPECT_EQ(view->ObjectAt(600, 210), nullptr);
    view->resize(680, 800);
    test::ProcessEvents();
    EXPECT_EQ(view->Layout().size.width, 680);
    EXPECT_EQ(view->ObjectAt(400, 210), nullptr);
    EXPECT_EQ(view->ObjectAt(600, 210), right.get());
    EXPECT_EQ(right->GetLayoutRect(), (LayoutRect{575, 205, 675, 245}));
}

TEST_F(DialogViewTest, PaintingUsesTheKeptLayoutAndLeavesTheNodesAlone)
{
    EXPECT_EQ(top->GetLayoutRect(), (LayoutRect{5, 5, 105, 45})) << "a view's layout reaches the nodes";
    // Changed behind the view's back: its layout, and its paints, stay as they were.
    top->SetItem("Width", "300px");
    SetAllRects(kUntouched);
    view->repaint();
    const QImage image = view->grab().toImage();
    EXPECT_EQ(image.pixelColor(200, 20), QColor(255, 255, 255)) << "the old, narrower box";
    EXPECT_EQ(image.pixelColor(104, 20), QColor(0, 0, 0)) << "the old box's right edge";
    EXPECT_EQ(top->GetLayoutRect(), kUntouched);
    EXPECT_EQ(right->GetLayoutRect(), kUntouched);
    EXPECT_EQ(view->ObjectAt(200, 20), nullptr);

    // Told, the view lays the dialog out anew and hands the rectangles to the nodes.
    view->DialogChanged();
    EXPECT_EQ(view->ObjectAt(200, 20), top.get());
    EXPECT_EQ(top->GetLayoutRect(), (LayoutRect{5, 5, 305, 45}));
    EXPECT_EQ(right->GetLayoutRect(), (LayoutRect{375, 205, 475, 245}));
    SetAllRects(kUntouched);
    view->repaint();
    EXPECT_EQ(view->grab().toImage().pixelColor(304, 20), QColor(0, 0, 0)) << "the new box's right edge";
    EXPECT_EQ(top->GetLayoutRect(), kUntouched);
}

TEST_F(DialogViewTest, AnObjectRemovedSinceTheLayoutIsNotAnswered)
{
    ASSERT_EQ(view->ObjectAt(20, 110), over.get());
    ASSERT_TRUE(frame->RemoveChild(over.get()));
    EXPECT_EQ(view->ObjectAt(20, 110), nullptr);
    view->DialogChanged();
    EXPECT_EQ(view->ObjectAt(20, 110), under.get());
}

TEST_F(DialogViewTest, ClicksAtEveryZoomSelectTheObjectUnderThePointer)
{
    // A fixed 240 x 320 area in a 300 x 300 view: centred when it fits, scrolled when larger.
    view->resize(300, 300);
    view->SetPreviewSize({PreviewSize::Kind::Fixed, {240, 320}});
    QSignalSpy clicked(view.get(), &CTekDialogEditorView::objectClicked);
    for (const PreviewLook look : {PreviewLook::Box, PreviewLook::Device}) {
        view->SetLook(look);
        for (const int zoom : {25, 50, 100, 200, 400}) {
            view->SetZoom(zoom);
            ASSERT_EQ(view->Zoom(), zoom);
            for (const CObjectData* object : {top.get(), left.get(), upper.get(), lower.get(), over.get()}) {
                SCOPED_TRACE(std::to_string(zoom) + "% " + object->GetItem("Name"));
                const LaidOutNode* entry = nullptr;
                for (const LaidOutNode& node : view->Layout().nodes)
                    entry = node.node == object ? &node : entry;
                ASSERT_NE(entry, nullptr);
                // The middle of its box, scrolled into the view first when it lies outside.
                const QPointF middle(entry->box.x + entry->box.width / 2.0, entry->box.y + entry->box.height / 2.0);
                QPoint point = view->ViewTransform().map(middle).toPoint();
                if (!QRect(0, 0, 250, 250).contains(point)) {
                    auto* across = view->findChild<QScrollBar*>(QStringLiteral("previewHorizontalScroll"));
                    auto* down = view->findChild<QScrollBar*>(QStringLiteral("previewVerticalScroll"));
                    across->setValue(across->value() + point.x() - 100);
                    down->setValue(down->value() + point.y() - 100);
                    point = view->ViewTransform().map(middle).toPoint();
                }
                clicked.clear();
                QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, point);
                ASSERT_EQ(clicked.count(), 1) << "at " << point.x() << "," << point.y();
                EXPECT_EQ(clicked.at(0).at(0).value<CObjectData*>(), object);
                // A drop on the first quarter of its box goes before it, on the last after it.
                for (const auto& [fraction, place] :
                     {std::pair{0.3, DropPlace::Before}, std::pair{0.7, DropPlace::After}}) {
                    const QPointF inBox(entry->box.x + entry->box.width * fraction,
                                        entry->box.y + entry->box.height * fraction);
                    DropSpot spot;
                    ASSERT_TRUE(view->DropSpotAt(view->ViewTransform().map(inBox).toPoint(), false, spot));
                    EXPECT_EQ(spot.on, object);
                    EXPECT_EQ(spot.place, place);
                }
            }
        }
    }
    // Beside the picture nothing is hit.
    view->SetZoom(50);
    clicked.clear();
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 150));
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(DialogViewTest, AreasZoomAndScrolling)
{
    QSignalSpy zoomed(view.get(), &CTekDialogEditorView::zoomChanged);
    auto* across = view->findChild<QScrollBar*>(QStringLiteral("previewHorizontalScroll"));
    auto* down = view->findChild<QScrollBar*>(QStringLiteral("previewVerticalScroll"));
    ASSERT_TRUE(across && down);
    // The window's area: laid out at the client size, always at 100 %.
    view->SetZoom(200);
    EXPECT_EQ(view->Zoom(), 100);
    EXPECT_EQ(view->PictureRect(), QRect(0, 0, 480, 800));
    EXPECT_EQ(zoomed.count(), 0);

    view->SetPreviewSize({PreviewSize::Kind::Fixed, {240, 320}});
    EXPECT_EQ(view->Layout().size.width, 240);
    EXPECT_EQ(view->PictureRect(), QRect(120, 240, 240, 320)); // in the middle
    view->resize(400, 800);
    EXPECT_EQ(view->PictureRect(), QRect(80, 240, 240, 320)) << "a resize moves the area, not its layout";
    EXPECT_EQ(view->Layout().size.width, 240);
    view->resize(480, 800);
    EXPECT_FALSE(across->isVisible());
    const struct {
        bool in;
        int zoom;
    } steps[] = {{true, 125}, {true, 150}, {true, 200}, {true, 300},  {true, 400},
                 {true, 600}, {true, 800}, {true, 800}, {false, 600}, {false, 400}};
    for (const auto& step : steps) {
        view->ZoomStep(step.in);
        EXPECT_EQ(view->Zoom(), step.zoom);
    }
    // 960 x 1280 is larger than the view: from the top left, scrolled by the bars.
    EXPECT_TRUE(across->isVisible() && down->isVisible());
    EXPECT_EQ(view->PictureRect().size(), QSize(960, 1280));
    across->setValue(0);
    down->setValue(0);
    EXPECT_EQ(view->PictureRect().topLeft(), QPoint(0, 0));
    down->setValue(100);
    EXPECT_EQ(view->PictureRect().topLeft(), QPoint(0, -100));
    EXPECT_EQ(view->ViewTransform().map(QPointF(10, 10)), QPointF(40, -60));

    // Ctrl+wheel steps about the pointer; Ctrl+0's 100 % and the limits.
    QWheelEvent wheel(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.get(), &wheel);
    EXPECT_EQ(view->Zoom(), 300);
    view->SetZoom(100);
    view->SetZoom(5);
    EXPECT_EQ(view->Zoom(), 25);
    view->SetZoom(5000);
    EXPECT_EQ(view->Zoom(), 800);
    EXPECT_EQ(zoomed.count(), 13);
    EXPECT_EQ(zoomed.last().at(0).toInt(), 800);

    // The dialog's own design size, in pixels; back to the window at 100 %.
    dialog->SetOrAddItem("TargetLayoutWidth", "320");
    dialog->SetOrAddItem("TargetLayoutHeight", "200");
    view->SetPreviewSize({PreviewSize::Kind::Dialog, {}});
    view->SetZoom(50);
    EXPECT_EQ(view->PictureRect(), QRect(160, 350, 160, 100));
    view->SetPreviewSize({});
    EXPECT_EQ(view->Zoom(), 100);
    EXPECT_EQ(zoomed.last().at(0).toInt(), 100);
    EXPECT_FALSE(across->isVisible());
    EXPECT_TRUE(view->ViewTransform().isIdentity());
}

TEST_F(DialogViewTest, WithoutADialogNothingIsHit)
{
    dialog.reset();
    EXPECT_EQ(view->Dialog(), nullptr);
    EXPECT_EQ(view->ObjectAt(50, 20), nullptr);
    view->DialogChanged();
    EXPECT_FALSE(view->Layout().hasRoot);
    const QImage image = view->grab().toImage();
    EXPECT_EQ(image.pixelColor(50, 20), QColor(128, 128, 128)) << "only the checkered background";
}

} // namespace
} // namespace vesk

namespace vesk {
namespace {

/// The view's picture, painted in parts after changes, against a picture painted whole.
class DialogViewPictureTest : public DialogViewTest {
protected:
    QImage Shown() { return view->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QImage PaintedWhole() { return RenderDialogPreview(resource, *dialog, view->width(), view->height()); }
};

TEST_F(DialogViewPictureTest, TheZoomedPictureIsTheOnePictureOfThePreview)
{
    view->SetPreviewSize({PreviewSize::Kind::Fixed, {200, 300}});
    for (const PreviewLook look : {PreviewLook::Box, PreviewLook::Device}) {
        view->SetLook(look);
        for (const int zoom : {50, 150}) {
            SCOPED_TRACE(zoom);
            view->SetZoom(zoom);
            DevicePictureCache pictures({});
            const QImage expected = RenderPreviewPicture(resource, *dialog, {look, {200, 300}, zoom}, pictures);
            EXPECT_EQ(view->PreviewPicture(), expected);
            EXPECT_EQ(Shown().copy(view->PictureRect()), expected);
            // A change repainted in part is the same as the whole picture.
            left->SetItem("Width", zoom == 50 ? "70px" : "100px");
            view->DialogChanged();
            EXPECT_EQ(Shown().copy(view->PictureRect()),
                      RenderPreviewPicture(resource, *dialog, {look, {200, 300}, zoom}, pictures));
        }
    }
}

TEST_F(DialogViewPictureTest, APictureRepaintedWhereBoxesChangedEqualsOnePaintedWhole)
{
    const std::function<void()> changes[] = {
        [this] { top->SetMark(1); },
        [this] { top->SetMark(0), upper->SetMark(1); },
        [this] { over->SetItem("Text", "x"), over->SetItem("Name", "renamed"); },
        [this] { under->SetMark(1); },
        [this] { left->SetItem("Width", "60px"); },
        [this] { root->ClearMarks(); },
        [this] { AddObject(frame.get(), OBJ_BUTTON, "added", "30px", "30px"); },
        [this] { frame->RemoveChild(under.get()); },
        [this] {
            // The last one of the frame's children goes first: painted under the others.
            ObjectPtr last = frame->ChildPtrAt(frame->ChildCount() - 1);
            frame->RemoveChild(last.get());
            frame->InsertChild(last, nullptr, 1);
        },
    };
    ASSERT_EQ(Shown(), PaintedWhole());
    int step = 0;
    for (const auto& change : changes) {
        change();
        view->DialogChanged();
        EXPECT_EQ(Shown(), PaintedWhole()) << "after change " << step++;
    }
}

} // namespace
} // namespace vesk
