// The resource panel: the tree over the project, selection rules (current dialog, marks, Ctrl),
// the current item's colours, the project folder, and clicks in a dialog's preview.
#include <QApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabBar>

#include "editor/dialogview.h"
#include "editor/linkpage.h"
#include "editor/propertylistctrl.h"
#include "editorfixture.h"

namespace vesk {
namespace {

using test::EditorTest;
using test::ProcessEvents;

class ResourcePanelTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        OpenDemo();
    }

    std::vector<std::string> Marked(int dialog) const
    {
        std::vector<std::string> names;
        Collect(DialogAt(dialog).RootObject(), names);
        return names;
    }
    static void Collect(const CObjectData* node, std::vector<std::string>& names)
    {
        if (!node)
            return;
        if (node->GetMark())
            names.push_back(node->GetItem("Name"));
        if (node->IsGroup())
            for (const ObjectPtr& child : static_cast<const CObjectDataList*>(node)->Children())
                Collect(child.get(), names);
    }
    static int CountNodes(const CObjectData* node)
    {
        if (!node)
            return 0;
        int count = 1 + static_cast<int>(node->HeaderColumns().size() + node->CommandList().size());
        if (node->IsGroup())
            for (const ObjectPtr& child : static_cast<const CObjectDataList*>(node)->Children())
                count += CountNodes(child.get());
        return count;
    }
    QColor Foreground(const TekClass* node) const
    {
        return Model().IndexOf(Model().ItemOf(node)).data(Qt::ForegroundRole).value<QBrush>().color();
    }
    QColor Background(const TekClass* node) const
    {
        return Model().IndexOf(Model().ItemOf(node)).data(Qt::BackgroundRole).value<QBrush>().color();
    }
};

using Names = std::vector<std::string>;

TEST_F(ResourcePanelTest, TreeShowsTheProjectInTheCoreLabelsAndOrder)
{
    const TreeItemId root = Model().ChildrenOf(0).front();
    EXPECT_EQ(Model().NodeOf(root), &Resource());
    ASSERT_EQ(Model().ChildrenOf(root).size(), 3u);
    const TreeItemId mainItem = Model().ChildrenOf(root)[0];
    EXPECT_EQ(Model().LabelOf(mainItem), "Dialog:Main");
    // Under a dialog: its commands, then its root group.
    std::vector<std::string> labels;
    for (TreeItemId child : Model().ChildrenOf(mainItem))
        labels.push_back(Model().LabelOf(child));
    EXPECT_EQ(labels, (Names{"Command:NOTIFY", "Command:SOUND", "Command:TIMER", "Group:LINEAR(root)"}));
    // Every node has its item: the resource, and each dialog with all it holds.
    int nodes = 1;
    for (int i = 0; i < Resource().Dialogs().Count(); ++i)
        nodes += 1 + static_cast<int>(DialogAt(i).Commands().size()) + CountNodes(DialogAt(i).RootObject());
    EXPECT_EQ(Model().ItemCount(), nodes);
    // The accessible text of an item is its label.
    EXPECT_EQ(Model().IndexOf(mainItem).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Dialog:Main"));
}

TEST_F(ResourcePanelTest, SelectingAnObjectMarksItAndCtrlAddsMore)
{
    CObjectData* order = Node(0, "btnOrder");
    CObjectData* stock = Node(0, "btnStock");
    ClickNode(order);
    EXPECT_EQ(Marked(0), Names{"btnOrder"});
    EXPECT_EQ(Panel().CurrentDialog(), &DialogAt(0));
    EXPECT_EQ(Panel().Grid().Node(), order);
    EXPECT_EQ(Foreground(order), QColor(Qt::white));
    EXPECT_EQ(Background(order), QColor(255, 0, 0));

    ClickNode(stock, Qt::ControlModifier);
    EXPECT_EQ(Marked(0), (Names{"btnOrder", "btnStock"}));
    EXPECT_EQ(Foreground(order), QColor(255, 0, 0)) << "a marked item that is not current is red on white";
    EXPECT_EQ(Background(order), QColor(255, 255, 255));

    ClickNode(Node(0, "title"));
    EXPECT_EQ(Marked(0), Names{"title"}) << "a click without Ctrl starts the marks afresh";
}

TEST_F(ResourcePanelTest, TheCurrentItemsRowShowsNoSelectionColourBesideTheRed)
{
    CObjectData* title = Node(0, "title");
    ClickNode(title);
    Tree().setFocus();
    ProcessEvents();
    const QRect item = Tree().visualRect(Model().IndexOf(Model().ItemOf(title)));
    ASSERT_GT(item.left(), 0) << "an object's item is indented: the branch area lies beside it";
    const QImage image = Tree().viewport()->grab().toImage();
    const int y = item.center().y();
    EXPECT_EQ(image.pixelColor(item.right() - 3, item.top() + 3), QColor(255, 0, 0));
    const QPalette style = QApplication::palette(&Tree());
    for (const QColor highlight :
         {style.color(QPalette::Active, QPalette::Highlight), style.color(QPalette::Inactive, QPalette::Highlight)})
        for (int x = 0; x < image.width(); ++x)
            ASSERT_NE(image.pixelColor(x, y), highlight) << "at x " << x;
}

TEST_F(ResourcePanelTest, TheGridsValueColumnFillsTheWidthTheOtherColumnsLeave)
{
    ClickNode(Node(0, "title"));
    auto* bar = frame->findChild<QDockWidget*>(QStringLiteral("resourceBar"));
    ASSERT_NE(bar, nullptr);
    const CPropertyListCtrl& grid = Panel().Grid();
    for (int width : {400, 600}) {
        frame->resizeDocks({bar}, {width}, Qt::Horizontal);
        ProcessEvents();
        ASSERT_GT(grid.viewport()->width(), 120 + 215 + 20) << width;
        EXPECT_EQ(grid.columnWidth(0) + grid.columnWidth(1) + grid.columnWidth(2), grid.viewport()->width()) << width;
        EXPECT_EQ(grid.columnWidth(2), 20) << width;
    }
}

TEST_F(ResourcePanelTest, CtrlSelectingAMarkedObjectClearsItAndMovesTheHighlight)
{
    CObjectData* order = Node(0, "btnOrder");
    CObjectData* stock = Node(0, "btnStock");
    ClickNode(order);
    ClickNode(stock, Qt::ControlModifier);
    ClickNode(order, Qt::ControlModifier);
    EXPECT_EQ(Marked(0), Names{"btnStock"});
    EXPECT_EQ(CurrentItemNode(), stock);
    EXPECT_EQ(SelectedNode(), order);
    // The last mark cleared moves the highlight to the dialog.
    ClickNode(stock, Qt::ControlModifier);
    EXPECT_TRUE(Marked(0).empty());
    EXPECT_EQ(CurrentItemNode(), &DialogAt(0));
}

TEST_F(ResourcePanelTest, ClickingTheSelectedItemChoosesItAgain)
{
    CObjectData* title = Node(0, "title");
    ClickNode(title);
    ClickNode(title, Qt::ControlModifier);
    EXPECT_TRUE(Marked(0).empty()) << "Ctrl toggles the selected object's mark";
    ClickNode(title);
    EXPECT_EQ(Marked(0), Names{"title"});

    // The first dialog is selected once a project is open; a click opens its window.
    Panel().ResetForResource();
    ASSERT_EQ(SelectedNode(), &DialogAt(0));
    frame->DialogArea().closeAllSubWindows();
    ClickNode(&DialogAt(0));
    EXPECT_EQ(frame->ActiveDialog(), &DialogAt(0));
}

TEST_F(ResourcePanelTest, SelectingAGroupMarksEverythingInItAndADialogClearsEveryMark)
{
    ClickNode(Node(0, "row1"));
    EXPECT_EQ(Marked(0), (Names{"row1", "btnOrder", "btnStock"}));
    EXPECT_EQ(Panel().GroupButton().text(), QStringLiteral("Grp.解除"));
    EXPECT_TRUE(Panel().GroupButton().isEnabled());
    ClickNode(&DialogAt(0));
    EXPECT_TRUE(Marked(0).empty());
    EXPECT_FALSE(Panel().GroupButton().isEnabled());
    ClickNode(DialogAt(0).RootObject());
    EXPECT_EQ(Panel().GroupButton().text(), QStringLiteral("Grp.解除"));
    EXPECT_FALSE(Panel().GroupButton().isEnabled()) << "a dialog's root group cannot be ungrouped";
    ClickNode(Node(0, "title"));
    EXPECT_EQ(Panel().GroupButton().text(), QStringLiteral("Group化"));
}

TEST_F(ResourcePanelTest, SelectingAnObjectOfAnotherDialogMakesItCurrentAndOpensItsWindow)
{
    ClickNode(Node(0, "title"));
    ASSERT_EQ(frame->DialogArea().subWindowList().size(), 1);
    CObjectData* other = DialogAt(1).RootObject();
    ClickNode(other);
    EXPECT_EQ(Panel().CurrentDialog(), &DialogAt(1));
    EXPECT_EQ(frame->ActiveDialog(), &DialogAt(1));
    EXPECT_EQ(frame->DialogArea().subWindowList().size(), 2);
    ClickNode(Node(0, "title"));
    EXPECT_EQ(frame->DialogArea().subWindowList().size(), 2) << "an open window is activated, not opened again";
    EXPECT_EQ(frame->ActiveDialog(), &DialogAt(0));
}

TEST_F(ResourcePanelTest, CommandItemsSelectTheirOwnerAndShowTheirOwnItems)
{
    CObjectData* exit = Node(0, "btnExit");
    ASSERT_EQ(exit->CommandList().size(), 1u);
    TekClass* command = exit->CommandList()[0].get();
    ClickNode(command);
    EXPECT_EQ(Panel().Grid().Node(), command);
    EXPECT_EQ(Marked(0), Names{"btnExit"});
    EXPECT_FALSE(Panel().GroupButton().isEnabled());
}

TEST_F(ResourcePanelTest, ExpandingAndCollapsingKeepTheNodesFlag)
{
    CObjectData* menu = Node(0, "menu");
    const QModelIndex index = Model().IndexOf(Model().ItemOf(menu));
    Tree().expand(index.parent());
    Tree().expand(index);
    EXPECT_TRUE(menu->Expanded());
    Tree().collapse(index);
    EXPECT_FALSE(menu->Expanded());
    Tree().expand(index);
    Panel().ResetForResource();
    EXPECT_TRUE(Tree().isExpanded(Model().IndexOf(Model().ItemOf(menu)))) << "a rebuilt tree keeps the flag";
}

TEST_F(ResourcePanelTest, ProjectFolderFromTheChooserAndTheFieldRule)
{
    prompts.paths.push_back(QString::fromStdString(TempPath("chosen")));
    QTest::mouseClick(Panel().findChild<QPushButton*>(QStringLiteral("browseProjectFolder")), Qt::LeftButton);
    EXPECT_EQ(Panel().ProjectFolder(), TempPath("chosen/"));
    EXPECT_EQ(prompts.dialogs.back(), QStringLiteral("folder:フォルダを選択してください|フォルダを選択してください|"));

    QLineEdit& field = Panel().FolderField();
    field.setFocus();
    field.setText(QStringLiteral("/srv/project"));
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(Panel().ProjectFolder(), "/srv/project/");
    field.setText(QString());
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(Panel().ProjectFolder(), "/");
}

TEST_F(ResourcePanelTest, TabsSwitchBetweenTheLinkAndThePropertyPages)
{
    QTabBar& tabs = Panel().PageTabs();
    ASSERT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("接続"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("プロパティー"));
    EXPECT_EQ(tabs.currentIndex(), 1);
    tabs.setCurrentIndex(0);
    EXPECT_TRUE(Panel().LinkPage().isVisible());
    EXPECT_FALSE(Panel().Grid().isVisible());
    Panel().SetCurrentDialog(&DialogAt(1));
    EXPECT_EQ(tabs.currentIndex(), 1) << "making a dialog current shows its properties";
    EXPECT_TRUE(Panel().Grid().isVisible());
}

class PreviewClickTest : public ResourcePanelTest {
protected:
    CTekDialogEditorView& OpenMain()
    {
        ClickNode(&DialogAt(0));
        QMdiSubWindow* window = frame->DialogArea().activeSubWindow();
        EXPECT_NE(window, nullptr);
        window->resize(500, 700);
        auto* view = qobject_cast<CTekDialogEditorView*>(window->widget());
        view->repaint();
        return *view;
    }
    QPoint CentreOf(const CObjectData* object) const
    {
        const LayoutRect& r = object->GetLayoutRect();
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
};

TEST_F(PreviewClickTest, AClickSelectsTheInnermostObjectAndCtrlTogglesMarks)
{
    CTekDialogEditorView& view = OpenMain();
    CObjectData* order = Node(0, "btnOrder");
    CObjectData* sound = Node(0, "chkSound");
    ASSERT_LT(order->GetLayoutRect().left, order->GetLayoutRect().right);
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, CentreOf(order));
    ProcessEvents();
    EXPECT_EQ(SelectedNode(), order) << "the object itself, not its groups";
    EXPECT_EQ(Panel().Grid().Node(), order);
    EXPECT_EQ(Marked(0), Names{"btnOrder"});
    QTest::mouseClick(&view, Qt::LeftButton, Qt::ControlModifier, CentreOf(sound));
    ProcessEvents();
    EXPECT_EQ(Marked(0), (Names{"btnOrder", "chkSound"}));
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    ProcessEvents();
    EXPECT_EQ(SelectedNode(), sound) << "a click between objects changes nothing";
    EXPECT_EQ(Marked(0), (Names{"btnOrder", "chkSound"}));
}

TEST_F(PreviewClickTest, ThePreviewPaintsTheDialogOverTheCheckeredBackground)
{
    CTekDialogEditorView& view = OpenMain();
    const QImage image = view.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(8, 0), QColor(192, 192, 192));
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() - 8), QColor(255, 255, 255)) << "the dialog area";
}

} // namespace
} // namespace vesk
