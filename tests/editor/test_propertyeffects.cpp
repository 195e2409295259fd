// What a committed property does besides setting its value: unique dialog names, item sets
// rebuilt by Type and Layout, header columns and commands added from their choice items, label
// refreshes, and pictures assigned from the side panel.
#include <QMdiArea>
#include <QMdiSubWindow>

#include "chrome/uitext.h"
#include "editor/propertycells.h"
#include "editorfixture.h"
#include "objects/itemsets.h"
#include "shell/imagelistctrl.h"

namespace vesk {
namespace {

using test::EditorTest;
using test::ProcessEvents;
using test::Sjis;

class PropertyEffectTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        OpenDemo();
    }
    std::string LabelOf(const TekClass* node) const { return Model().LabelOf(Model().ItemOf(node)); }
    std::vector<std::string> ChildLabels(const TekClass* node) const
    {
        std::vector<std::string> labels;
        for (TreeItemId child : Model().ChildrenOf(Model().ItemOf(node)))
            labels.push_back(Model().LabelOf(child));
        return labels;
    }
};

TEST_F(PropertyEffectTest, DialogNamesStayUnique)
{
    struct Case {
        QString typed;
        std::string expected;
    } cases[] = {
        {QStringLiteral("Main"), "Main2"},
        {QString(), "Dialog"},
        {QStringLiteral("Fresh"), "Fresh"},
    };
    CTekDialogData& second = DialogAt(1);
    frame->OpenDialogWindow(second);
    for (const Case& c : cases) {
        ASSERT_TRUE(Commit(&second, "Name", c.typed));
        EXPECT_EQ(second.GetItem("Name"), c.expected) << c.typed.toStdString();
        EXPECT_EQ(LabelOf(&second), "Dialog:" + c.expected);
        EXPECT_EQ(frame->WindowOf(second)->windowTitle().toStdString(), c.expected) << "the window follows";
    }
    DialogAt(2).SetItem("Name", "Main2");
    ASSERT_TRUE(Commit(&second, "Name", QStringLiteral("Main")));
    EXPECT_EQ(second.GetItem("Name"), "Main3");
}

TEST_F(PropertyEffectTest, TypeAndLayoutRebuildTheItemSetKeepingMatchingItems)
{
    CObjectData* order = Node(0, "btnOrder");
    const std::string text = order->GetItem("Text");
    ASSERT_TRUE(Commit(order, "Type", QStringLiteral("CHECKBOX")));
    EXPECT_EQ(order->GetItem("Type"), "CHECKBOX");
    EXPECT_EQ(order->GetItem("Name"), "btnOrder");
    EXPECT_EQ(order->GetItem("Text"), text);
    ObjectPtr fresh = std::make_shared<CObjectData>(order->ParentGroup());
    BuildObjectItems(*fresh, OBJ_CHECKBOX);
    EXPECT_EQ(order->Items().Count(), fresh->Items().Count());
    EXPECT_EQ(Panel().Grid().model()->rowCount(), order->Items().Count() + 10);
    EXPECT_NE(LabelOf(order).find("btnOrder"), std::string::npos);

    CObjectData* menu = Node(0, "menu");
    ASSERT_TRUE(Commit(menu, "Layout", QStringLiteral("RADIO")));
    EXPECT_NE(menu->Items().Find("Alias"), nullptr) << "a RADIO group has its own items";
    EXPECT_EQ(menu->GetItem("Name"), "menu");
}

TEST_F(PropertyEffectTest, ColumnsAddsHeaderColumnsAndCountsThem)
{
    ClickNode(Node(0, "title"));
    ASSERT_TRUE(Panel().InsertNew("GRID", InsertPosition::After));
    auto* grid = static_cast<CObjectData*>(SelectedNode());
    ASSERT_TRUE(Commit(grid, "Columns", ToQ(AddHeaderChoice())));
    EXPECT_EQ(grid->HeaderColumns().size(), 2u);
    EXPECT_EQ(grid->GetItem("Columns"), "2");
    ASSERT_TRUE(Commit(grid, "Columns", ToQ(AddHeaderChoice())));
    EXPECT_EQ(grid->GetItem("Columns"), "3");
    EXPECT_EQ(ChildLabels(grid), (std::vector<std::string>{"Header:Cullum1", "Header:Cullum2", "Header:Cullum3"}));
    ASSERT_TRUE(Commit(grid, "Columns", QStringLiteral("7")));
    EXPECT_EQ(grid->GetItem("Columns"), "3") << "typing a number sets it back to the count";
}

TEST_F(PropertyEffectTest, EventChoicesAddCommandsAndReturnToEmpty)
{
    CObjectData* order = Node(0, "btnOrder");
    const size_t before = order->CommandList().size();
    ASSERT_TRUE(Commit(order, "OnClick", QStringLiteral("CONDITION")));
    ASSERT_EQ(order->CommandList().size(), before + 1);
    EXPECT_EQ(order->GetItem("OnClick"), "");
    EXPECT_EQ(order->CommandList().back()->GetItem("Event"), "OnClick");
    EXPECT_EQ(ChildLabels(order).back(), "Command:" + order->CommandList().back()->GetItem("Command"));
    ASSERT_TRUE(Commit(order, "OnClick", ToQ(CancelChoice())));
    EXPECT_EQ(order->CommandList().size(), before + 1) << "the cancel choice adds nothing";
    EXPECT_EQ(order->GetItem("OnClick"), "");

    CTekDialogData& main = DialogAt(0);
    const size_t dialogCommands = main.Commands().size();
    ASSERT_TRUE(Commit(&main, "OnClose", QStringLiteral("CLOSE")));
    ASSERT_EQ(main.Commands().size(), dialogCommands + 1);
    EXPECT_EQ(ChildLabels(&main)[dialogCommands], "Command:CLOSE") << "after the dialog's last command item";
}

TEST_F(PropertyEffectTest, TextAndNameRefreshTheLabel)
{
    CObjectData* title = Node(0, "title");
    ASSERT_TRUE(Commit(title, "Text", QStringLiteral("見出し")));
    EXPECT_EQ(LabelOf(title), title->GetLabel());
    EXPECT_NE(LabelOf(title).find(Sjis("見出し")), std::string::npos) << LabelOf(title);
    ASSERT_TRUE(Commit(&Resource(), "Name", QStringLiteral("Terminal2")));
    EXPECT_EQ(Model().LabelOf(Model().ChildrenOf(0).front()), "Root = Terminal2");
}

TEST_F(PropertyEffectTest, ImagesFromTheSidePanelGoToImageItemsWithSourceAndCentre)
{
    CObjectData* gauge = Node(0, "gauge");
    ClickNode(gauge);
    Panel().Grid().SetCurrentRow(RowOf(*gauge, "FileCursor"));
    Panel().AssignImage(SidePanelListKind::BuiltinImages, "dial[10-20].png");
    EXPECT_EQ(gauge->GetItem("FileCursor"), "dial[10-20].png");
    EXPECT_EQ(gauge->GetItem("CenterPosCursor"), "10,20");

    Panel().Grid().SetCurrentRow(RowOf(*gauge, "FileTop"));
    Panel().AssignImage(SidePanelListKind::StationImages, "top.png");
    EXPECT_EQ(gauge->GetItem("FileTop"), "top.png");
    EXPECT_EQ(gauge->GetItem("FileSource"), "STATION");
    EXPECT_EQ(gauge->GetItem("CenterPosTop"), "") << "no brackets, no centre";

    Panel().Grid().SetCurrentRow(RowOf(*gauge, "FileBase"));
    Panel().AssignImage(SidePanelListKind::BuiltinImages, "x[1-2].png");
    EXPECT_EQ(gauge->GetItem("FileSource"), "BUILTIN");
    EXPECT_EQ(gauge->GetItem("CenterPosBase"), "1,2");

    const std::string name = gauge->GetItem("Name");
    Panel().Grid().SetCurrentRow(RowOf(*gauge, "Name"));
    Panel().AssignImage(SidePanelListKind::BuiltinImages, "bg.png");
    EXPECT_EQ(gauge->GetItem("Name"), name) << "only image items take a picture";
}

/// The warnings Qt gives while it lives.
class QtWarnings {
public:
    QtWarnings() { s_previous = qInstallMessageHandler(&Keep); }
    ~QtWarnings() { qInstallMessageHandler(s_previous); }
    std::vector<std::string> Take() { return std::exchange(s_kept, {}); }

private:
    static void Keep(QtMsgType type, const QMessageLogContext&, const QString& message)
    {
        if (type == QtWarningMsg && !message.contains(QStringLiteral("This plugin does not support")))
            s_kept.push_back(message.toStdString());
    }
    static inline QtMessageHandler s_previous = nullptr;
    static inline std::vector<std::string> s_kept;
};

TEST_F(PropertyEffectTest, OpenCellsEndQuietlyWhenTheirRowsGo)
{
    QtWarnings warnings;
    // A command's value typed into its cell: the edit puts a copy of the command in its place,
    // whose rows replace those of the open cell.
    CObjectData* order = Node(0, "btnOrder");
    ASSERT_EQ(order->CommandList().size(), 1u);
    TekClass* command = order->CommandList()[0].get();
    ClickNode(command);
    CPropertyListCtrl& grid = Panel().Grid();
    ASSERT_EQ(grid.Node(), command);
    const int row = RowOf(*command, "File");
    ASSERT_TRUE(grid.StartEdit(row, 1));
    auto* cell = grid.findChild<CExEditCell*>();
    ASSERT_NE(cell, nullptr);
    cell->setText(QStringLiteral("Settings"));
    QTest::keyClick(cell, Qt::Key_Return);
    ProcessEvents();
    EXPECT_EQ(order->CommandList()[0]->GetItem("File"), "Settings");

    // A cell open on a node whose dialog is discarded: the grid lets go of the node first.
    ClickNode(Node(0, "title"));
    ASSERT_TRUE(grid.StartEdit(RowOf(*Node(0, "title"), "TAlign"), 1));
    ASSERT_NE(grid.findChild<CComboBoxCell*>(), nullptr);
    prompts.answers.push_back(MessageAnswer::No); // 変更を保存しますか？
    ASSERT_TRUE(frame->DiscardAll());
    ProcessEvents();
    EXPECT_EQ(grid.Node(), nullptr);
    EXPECT_EQ(warnings.Take(), std::vector<std::string>{});
}

} // namespace
} // namespace vesk
