// Work with the hands in the editor's windows: drops on the tree and the previews with real
// drag events and data, the drop indicator, several marked objects in the grid, the grid's
// search field, the context menu and the preview's keys.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDragMoveEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>

#include "editor/dialogview.h"
#include "editor/dragdrop.h"
#include "editor/propertypanel.h"
#include "editor/treepanel.h"
#include "editorfixture.h"
#include "objects/dialogbuilder.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"

namespace vesk {
namespace {

using test::ChildNames;
using test::EditorTest;
using test::ProcessEvents;
using Names = std::vector<std::string>;

class HandEditTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        OpenDemo();
        start = Project();
    }

    std::string Project() const
    {
        CJsonString text;
        WriteResource(Resource(), text, {});
        return text.Text();
    }

    CTekDialogEditorView& OpenMain()
    {
        ClickNode(&DialogAt(0));
        QMdiSubWindow* window = frame->DialogArea().activeSubWindow();
        EXPECT_NE(window, nullptr);
        window->resize(500, 700);
        auto* view = qobject_cast<CTekDialogEditorView*>(window->widget());
        view->repaint();
        ProcessEvents();
        return *view;
    }
    static QPoint CentreOf(const CObjectData* object)
    {
        const LayoutRect& r = object->GetLayoutRect();
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    /// Drags data over the widget to the point and drops it there, as the platform's drag
    /// delivers it: enter, move, drop. Answers whether the move was accepted (no forbidden cursor).
    static bool DragAndDrop(QWidget* target, QMimeData* data, QPoint point,
                            Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool drop = true)
    {
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(point, actions, data, Qt::LeftButton, modifiers);
        QApplication::sendEvent(target, &enter);
        QDragMoveEvent move(point, actions, data, Qt::LeftButton, modifiers);
        QApplication::sendEvent(target, &move);
        const bool accepted = move.isAccepted();
        if (drop) {
            QDropEvent dropped(point, actions, data, Qt::LeftButton, modifiers);
            QApplication::sendEvent(target, &dropped);
        }
        ProcessEvents();
        delete data;
        return accepted;
    }
    /// The centre of the node's tree item, shown.
    QPoint TreePoint(const TekClass* node)
    {
        const QModelIndex index = Model().IndexOf(Model().ItemOf(node));
        for (QModelIndex above = index.parent(); above.isValid(); above = above.parent())
            Tree().expand(above);
        Tree().scrollTo(index);
        ProcessEvents();
        return Tree().visualRect(index).center();
    }
    bool UndoGivesBackTheStart()
    {
        frame->UndoActive();
        return Project() == start;
    }

    std::string start;
};

// --- Drops ------------------------------------------------------------------------------------------

TEST_F(HandEditTest, ATypeDroppedOnAGroupGoesInLastAndOnAnObjectAfterIt)
{
    CTekDialogEditorView& view = OpenMain();
    // On a group in the tree: its last child.
    EXPECT_TRUE(DragAndDrop(Tree().viewport(), MimeDataOfEntry(SidePanelListKind::InsertedObjects, "BUTTON"),
                            TreePoint(Node(0, "row2"))));
    EXPECT_EQ(ChildNames(Node(0, "row2")), (Names{"chkSound", "tglLight", "BUTTON"}));
    EXPECT_EQ(SelectedNode()->GetItem("Type"), "BUTTON");
    EXPECT_TRUE(UndoGivesBackTheStart()) << "one drop, one step";

    // On an object in the preview: right after it.
    view.repaint();
    EXPECT_TRUE(
        DragAndDrop(&view, MimeDataOfEntry(SidePanelListKind::InsertedObjects, "EDIT"), CentreOf(Node(0, "title"))));
    EXPECT_EQ(ChildNames(DialogAt(0).RootObject()).at(1), "EDIT");
    EXPECT_TRUE(UndoGivesBackTheStart());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(HandEditTest, ATypeDroppedInAFrameGroupTakesTheDropPointAsItsPosition)
{
    CTekDialogEditorView& view = OpenMain();
    for (const PreviewLook look : {PreviewLook::Box, PreviewLook::Device}) {
        SCOPED_TRACE(look == PreviewLook::Box ? "boxes" : "device look");
        frame->SetPreviewLook(look);
        view.repaint();
        CObjectData* status = Node(0, "status");
        // A point of the FRAME group between its children.
        LayoutRect r;
        for (const LaidOutNode& entry : view.Layout().nodes)
            if (entry.node == status)
                r = entry.Rect();
        QPoint free(-1, -1);
        for (int y = r.bottom - 2; y > r.top && free.x() < 0; y -= 2)
            for (int x = r.right - 2; x > r.left && free.x() < 0; x -= 2)
                if (!view.ObjectAt(x, y) && view.GroupAt(x, y) == status)
                    free = QPoint(x, y);
        ASSERT_GE(free.x(), 0) << "the FRAME group shows free room " << r.left << "," << r.top << " " << r.right
                               << "," << r.bottom;
        EXPECT_TRUE(DragAndDrop(&view, MimeDataOfEntry(SidePanelListKind::InsertedObjects, "TEXT"),
                                view.ViewTransform().map(free)));
        const CObjectData& added = static_cast<CObjectDataList*>(status)->ChildAt(3);
        EXPECT_EQ(added.GetItem("Type"), "TEXT");
        EXPECT_FALSE(added.GetItem("PosX").empty());
        EXPECT_GT(std::stoi(added.GetItem("PosY")), 0) << "the point lies below the group's top";
        if (look == PreviewLook::Device) {
            // The device look shows the new object where it was dropped (to the nearest unit).
            const LaidOutNode* placed = nullptr;
            for (const LaidOutNode& entry : view.Layout().nodes)
                if (entry.node == &added)
                    placed = &entry;
            ASSERT_NE(placed, nullptr);
            EXPECT_NEAR(placed->box.x, free.x(), 2);
            EXPECT_NEAR(placed->box.y, free.y(), 2);
        }
        EXPECT_TRUE(UndoGivesBackTheStart()) << "the position is part of the one step";
    }
}

TEST_F(HandEditTest, RefusedDropsShowTheForbiddenCursorAndChangeNothing)
{
    CTekDialogEditorView& view = OpenMain();
    struct Case {
        const char* what;
        QWidget* target;
        QMimeData* data;
        QPoint point;
    };
    const Case cases[] = {
        {"radio button beside a text in the preview", &view,
         MimeDataOfEntry(SidePanelListKind::InsertedObjects, "RADIOBTN"), CentreOf(Node(0, "title"))},
        {"radio button into a table row in the tree", Tree().viewport(),
         MimeDataOfEntry(SidePanelListKind::InsertedObjects, "RADIOBTN"), TreePoint(Node(0, "row2"))},
        {"a type on the dialog's item, outside its root group", Tree().viewport(),
         MimeDataOfEntry(SidePanelListKind::InsertedObjects, "TEXT"), TreePoint(&DialogAt(0))},
        {"a type on the preview's border, outside the root group", &view,
         MimeDataOfEntry(SidePanelListKind::InsertedObjects, "TEXT"), QPoint(1, 1)},
        {"a group into its own child", &view, MimeDataOfNode(*Node(0, "menu")), CentreOf(Node(0, "btnOrder"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(DragAndDrop(c.target, c.data, c.point)) << "the forbidden cursor";
        EXPECT_FALSE(view.ShowsDropIndicator());
        EXPECT_EQ(Project(), start);
        EXPECT_FALSE(frame->Project().CanUndo());
        EXPECT_TRUE(prompts.messages.empty()) << "a refused drop tells nothing more than its cursor";
    }
}

TEST_F(HandEditTest, DraggedNodesMoveOrCopyAndUndoToTheStart)
{
    CTekDialogEditorView& view = OpenMain();
    CObjectData* exitButton = Node(0, "btnExit");
    CObjectData* title = Node(0, "title");
    // Over the upper half of the title: before it, with the root group outlined.
    const QPoint aboveTitle =
        CentreOf(title) - QPoint(0, (title->GetLayoutRect().bottom - title->GetLayoutRect().top) / 4);
    EXPECT_TRUE(DragAndDrop(&view, MimeDataOfNode(*exitButton), aboveTitle, Qt::NoModifier, false));
    EXPECT_TRUE(view.ShowsDropIndicator()) << "the receiving group and the line are drawn during the drag";
    EXPECT_TRUE(DragAndDrop(&view, MimeDataOfNode(*exitButton), aboveTitle));
    EXPECT_FALSE(view.ShowsDropIndicator());
    EXPECT_EQ(ChildNames(DialogAt(0).RootObject()), (Names{"btnExit", "title", "clock", "menu", "status"}));
    EXPECT_EQ(SelectedNode(), exitButton) << "the moved node stays selected";
    EXPECT_TRUE(UndoGivesBackTheStart());

    // Ctrl copies, as copy and paste would.
    view.repaint();
    EXPECT_TRUE(
        DragAndDrop(&view, MimeDataOfNode(*Node(0, "btnOrder")), CentreOf(Node(0, "chkSound")), Qt::ControlModifier));
    EXPECT_EQ(ChildNames(Node(0, "row1")), (Names{"btnOrder", "btnStock"}));
    EXPECT_EQ(ChildNames(Node(0, "row2")).size(), 3u);
    EXPECT_EQ(SelectedNode()->GetItem("Name"), "btnOrder2");
    EXPECT_TRUE(UndoGivesBackTheStart());

    // In the tree, with the data the tree's own drag carries: into a group.
    QMimeData* data = Model().mimeData({Model().IndexOf(Model().ItemOf(Node(0, "clock")))});
    EXPECT_TRUE(DragAndDrop(Tree().viewport(), data, TreePoint(Node(0, "row1"))));
    EXPECT_EQ(ChildNames(Node(0, "row1")), (Names{"btnOrder", "btnStock", "clock"}));
    EXPECT_TRUE(UndoGivesBackTheStart());
    EXPECT_FALSE(frame->Project().CanUndo());
}

TEST_F(HandEditTest, APictureDroppedOnAnObjectIsAssignedAsADoubleClickWould)
{
    CTekDialogEditorView& view = OpenMain();
    CObjectData* gauge = Node(0, "gauge");
    // The double click assigns to the grid's current row; the drop takes the same row.
    ClickNode(gauge);
    const int row = RowOf(*gauge, "FileCursor");
    Panel().Grid().SetCurrentRow(row);
    view.repaint();
    EXPECT_TRUE(
        DragAndDrop(&view, MimeDataOfEntry(SidePanelListKind::StationImages, "dial[10-20].png"), CentreOf(gauge)));
    const std::string dropped = Project();
    EXPECT_EQ(gauge->GetItem("FileCursor"), "dial[10-20].png");
    EXPECT_TRUE(UndoGivesBackTheStart());
    ClickNode(gauge);
    Panel().Grid().SetCurrentRow(row);
    Panel().OnSidePanelEntry(SidePanelListKind::StationImages, "dial[10-20].png");
    EXPECT_EQ(Project(), dropped) << "the same bytes as the double click";

    // An object without image items takes no picture.
    EXPECT_FALSE(DragAndDrop(&view, MimeDataOfEntry(SidePanelListKind::BuiltinImages, "bg_blue.png"),
                             CentreOf(Node(0, "title"))));
}

// --- Several objects ------------------------------------------------------------------------------------

TEST_F(HandEditTest, TheGridShowsWhatMarkedObjectsShareAndACommitSetsItOnAll)
{
    CObjectData* order = Node(0, "btnOrder");
    CObjectData* stock = Node(0, "btnStock");
    CObjectData* title = Node(0, "title");
    ClickNode(order);
    ClickNode(stock, Qt::ControlModifier);
    ClickNode(title, Qt::ControlModifier);
    CPropertyListCtrl& grid = Panel().Grid();
    ASSERT_EQ(grid.Operands().size(), 3u);
    EXPECT_EQ(grid.Node(), title);
    const int text = RowOf(*title, "Text");
    EXPECT_TRUE(grid.ValueDiffers(text)) << "the texts differ";
    EXPECT_EQ(grid.model()->index(text, 1).data().toString(), QString());
    EXPECT_NE(grid.model()->index(text, 1).data(Qt::BackgroundRole).value<QBrush>().color(),
              grid.model()->index(text, 0).data(Qt::BackgroundRole).value<QBrush>().color())
        << "a differing value shows grey";
    EXPECT_TRUE(grid.RowShown(RowOf(*title, "Width")));

    ASSERT_TRUE(grid.Commit(RowOf(*title, "Width"), QStringLiteral("77")));
    for (const CObjectData* object : {order, stock, title})
        EXPECT_EQ(object->GetItem("Width"), "77");
    EXPECT_FALSE(grid.ValueDiffers(RowOf(*title, "Width")));
    EXPECT_TRUE(UndoGivesBackTheStart()) << "one commit on three objects is one step";

    // 削除 takes every marked object, in one step.
    ClickNode(order);
    ClickNode(Node(0, "btnExit"), Qt::ControlModifier);
    Panel().DeleteNode();
    EXPECT_EQ(Node(0, "btnOrder"), nullptr);
    EXPECT_EQ(Node(0, "btnExit"), nullptr);
    EXPECT_TRUE(UndoGivesBackTheStart());
}

TEST_F(HandEditTest, ShiftClickMarksTheSiblingsBetween)
{
    ClickNode(Node(0, "clock"));
    ClickNode(Node(0, "btnExit"), Qt::ShiftModifier);
    std::vector<CObjectData*> marked = frame->Project().MarkedObjects(&DialogAt(0));
    ASSERT_EQ(marked.size(), 4u);
    EXPECT_EQ(marked.front(), Node(0, "clock"));
    EXPECT_EQ(Panel().Grid().Operands().size(), 4u);
}

// --- The search field ----------------------------------------------------------------------------------

TEST_F(HandEditTest, TheSearchFieldShowsOnlyMatchingRowsWithTheirColours)
{
    CObjectData* order = Node(0, "btnOrder");
    ClickNode(order);
    CPropertyListCtrl& grid = Panel().Grid();
    QLineEdit& field = Panel().PropertyPanel().FilterField();
    EXPECT_EQ(field.objectName(), QStringLiteral("propertyFilter"));
    EXPECT_EQ(field.placeholderText(), QStringLiteral("プロパティを検索"));

    frame->Action("actionFindProperty")->trigger();
    ProcessEvents();
    EXPECT_TRUE(field.hasFocus()) << "Ctrl+F";
    QTest::keyClicks(&field, QStringLiteral("COLOR"));
    ProcessEvents();
    int shown = 0;
    for (int row = 0; row < grid.model()->rowCount(); ++row) {
        if (!grid.RowShown(row))
            continue;
        ++shown;
        const QString key = grid.model()->index(row, 0).data().toString();
        const QString value = grid.model()->index(row, 1).data().toString();
        EXPECT_TRUE(key.contains(QStringLiteral("color"), Qt::CaseInsensitive) ||
                    value.contains(QStringLiteral("color"), Qt::CaseInsensitive))
            << key.toStdString();
        // The colours stay those of the row's own number.
        const QColor fill = grid.model()->index(row, 0).data(Qt::BackgroundRole).value<QBrush>().color();
        if (row != grid.CurrentRow()) {
            EXPECT_EQ(fill, row % 2 == 0 ? QColor(240, 255, 255) : QColor(255, 255, 255));
        }
    }
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, order->Items().Count());
    QTest::keyClick(&field, Qt::Key_Escape);
    ProcessEvents();
    EXPECT_TRUE(field.text().isEmpty()) << "Escape clears";
    for (int row = 0; row < grid.model()->rowCount(); ++row)
        EXPECT_TRUE(grid.RowShown(row));
}

// --- Context menu and keys ---------------------------------------------------------------------------------

TEST_F(HandEditTest, TheContextMenuEnablesItsEntriesAsTheButtonsAre)
{
    CTreePanel& tree = Panel().TreePanel();
    auto enabled = [&tree](const char* name) {
        tree.UpdateActions();
        return tree.MenuAction(name)->isEnabled();
    };
    ClickNode(Node(0, "menu"));
    EXPECT_TRUE(enabled("menuUngroup"));
    EXPECT_FALSE(enabled("menuGroup"));
    EXPECT_TRUE(enabled("menuCut"));
    ClickNode(Node(0, "title"));
    EXPECT_TRUE(enabled("menuGroup"));
    EXPECT_FALSE(enabled("menuUngroup"));
    ClickNode(&DialogAt(0));
    EXPECT_FALSE(enabled("menuGroup"));
    EXPECT_FALSE(enabled("menuUngroup"));
    EXPECT_EQ(tree.MenuAction("menuDelete")->shortcut(), QKeySequence(Qt::Key_Delete)) << "the key is shown";

    ClickNode(Node(0, "title"));
    auto* insertButton = tree.ContextMenu().findChild<QAction*>(QStringLiteral("menuInsertBUTTON"));
    ASSERT_NE(insertButton, nullptr);
    insertButton->trigger();
    EXPECT_EQ(ChildNames(DialogAt(0).RootObject()).at(1), "BUTTON");
    EXPECT_TRUE(UndoGivesBackTheStart());
}

TEST_F(HandEditTest, ThePreviewsKeysWalkTheTreeAndEdit)
{
    CTekDialogEditorView& view = OpenMain();
    ClickNode(Node(0, "title"));
    view.setFocus();
    ProcessEvents();
    QTest::keyClick(&view, Qt::Key_Tab);
    EXPECT_EQ(SelectedNode(), Node(0, "clock")) << "Tab: the next node in tree order";
    QTest::keyClick(&view, Qt::Key_Tab);
    EXPECT_EQ(SelectedNode(), Node(0, "menu"));
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(SelectedNode(), Node(0, "row1")) << "Enter: the first child";
    QTest::keyClick(&view, Qt::Key_Backspace);
    EXPECT_EQ(SelectedNode(), Node(0, "menu")) << "Backspace: the parent";
    QTest::keyClick(&view, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(SelectedNode(), Node(0, "clock"));

    ClickNode(Node(0, "btnOrder"));
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(SelectedNode(), Node(0, "btnStock")) << "the neighbour to the right";
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(SelectedNode(), Node(0, "tglLight")) << "the neighbour below";

    QTest::keyClick(&view, Qt::Key_F2);
    ProcessEvents();
    EXPECT_NE(Panel().Grid().findChild<QLineEdit*>(), nullptr) << "F2 opens a text cell";
    view.setFocus();
    ProcessEvents();
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(Node(0, "tglLight"), nullptr);
    EXPECT_TRUE(UndoGivesBackTheStart());

    // Every key is in the preview's menu with its shortcut shown.
    QMenu* menu = frame->PreviewMenu(view);
    QStringList shortcuts;
    for (QAction* action : menu->actions())
        shortcuts << action->shortcut().toString();
    for (const char* key : {"Tab", "Shift+Tab", "Return", "Backspace", "Del", "F2", "Left", "Down"})
        EXPECT_TRUE(shortcuts.contains(QString::fromLatin1(key))) << key;
    delete menu;
}

} // namespace
} // namespace vesk
