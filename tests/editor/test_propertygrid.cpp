// The property grid driven as a user drives it: real key and mouse events on the grid, its text
// cells and its choice cells (the choice list through its own view).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include "chrome/uitext.h"
#include "editor/propertycells.h"
#include "editor/propertylistctrl.h"
#include "guitestsupport.h"
#include "model/tekclass.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"

namespace vesk {
namespace {

using test::ProcessEvents;
using test::Sjis;
using Notice = std::pair<TekClass*, std::string>;

// Rows of the sample node (a command's items): an item of every kind.
enum SampleRow { kName, kType, kText, kAlign, kColour, kFile, kTSize, kData, kWeight, kHide, kOnClick, kAlias };

std::shared_ptr<TekClass> MakeSampleNode()
{
    static const ChoiceList aligns = {"LEFT", "CENTER", "RIGHT", "LEFT|TOP"};
    static const ChoiceList colours = {"BLACK", "WHITE", "RED", "#RRGGBB"};
    static const ChoiceList commands = {Sjis("キャンセル"), "CONDITION", "UPDATE"};
    struct Item {
        const char* name;
        ItemKind kind;
        std::string value;
        const ChoiceList* choices;
    };
    const Item items[] = {
        {"Name", ItemKind::FreeText, "btn1", nullptr},
        {"Type", ItemKind::Fixed, "GROUP", nullptr},
        {"Text", ItemKind::Display, Sjis("ボタン"), nullptr},
        {"Align", ItemKind::Choice, "CENTER", &aligns},
        {"BGColor", ItemKind::Suggest, "red", &colours},
        {"File", ItemKind::Image, "a.png", nullptr},
        {"TSize", ItemKind::Size, "12pt", nullptr},
        {"Data", ItemKind::Data, "[1,2]", nullptr},
        {"Weight", ItemKind::Number, "3", nullptr},
        {"Hide", ItemKind::Flag, "false", nullptr},
        {"OnClick", ItemKind::Choice, "", &commands},
        {"Alias", ItemKind::FreeText, "b", nullptr},
    };
    auto node = std::make_shared<TekClass>(NodeType::Command);
    for (const Item& item : items)
        node->AddItem(std::make_unique<CItemData>(item.name, item.kind, item.value, item.choices));
    return node;
}

/// A window holding the grid, showing the sample node, and a line edit to move the focus to.
class PropertyGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        grid = new CPropertyListCtrl(prompts, window.get());
        elsewhere = new QLineEdit(window.get());
        layout->addWidget(grid);
        layout->addWidget(elsewhere);
        window->resize(420, 600);
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QObject::connect(grid, &CPropertyListCtrl::propertyChanged, grid,
                         [this](TekClass* node, const std::string& name) { changes.emplace_back(node, name); });
        QObject::connect(grid, &CPropertyListCtrl::imagePickRequested, grid,
                         [this](TekClass* node, const std::string& name) { picks.emplace_back(node, name); });
        QObject::connect(grid, &CPropertyListCtrl::statusText, grid,
                         [this](const QString& text) { statusTexts.push_back(text); });
        node = MakeSampleNode();
        grid->ShowNode(node.get());
        grid->setFocus();
        ProcessEvents();
    }

    QString Value(int row) const { return ToQ(node->Items().At(row).Value()); }
    QString CellText(int row, int column) const { return Index(row, column).data().toString(); }
    QModelIndex Index(int row, int column) const { return grid->model()->index(row, column); }
    std::vector<Notice> Only(const std::string& name) const { return {{node.get(), name}}; }

    /// The open (visible) cell of that type, or nullptr.
    template <typename Cell> Cell* Open() const
    {
        for (Cell* cell : grid->findChildren<Cell*>())
            if (cell->isVisible())
                return cell;
        return nullptr;
    }
    CExEditCell* TextCell() const { return Open<CExEditCell>(); }
    CComboBoxCell* ChoiceCell() const { return Open<CComboBoxCell>(); }

    /// Lets queued events run. The offscreen platform leaves no window active once a popup
    /// list has closed, where a desktop gives the activation back: so does this.
    void Settle()
    {
        ProcessEvents();
        if (!QApplication::activePopupWidget() && QApplication::activeWindow() != window.get()) {
            QApplication::setActiveWindow(window.get());
            ProcessEvents();
        }
    }
    void Click(int row, int column)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(Index(row, column)).center());
        Settle();
    }
    void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(target, key, modifiers);
        Settle();
    }
    /// The list of the open choice cell.
    QAbstractItemView* List() const { return ChoiceCell() ? ChoiceCell()->view() : nullptr; }
    /// Clicks an entry of the open choice cell's list, once the list takes clicks (it ignores
    /// a release that comes soon after it opened).
    void ClickEntry(const QString& entry)
    {
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        QAbstractItemView* list = List();
        ASSERT_NE(list, nullptr);
        const QModelIndex index = list->model()->index(ChoiceCell()->findText(entry), 0);
        ASSERT_TRUE(index.isValid()) << entry.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        Settle();
    }

    test::ScriptedPrompts prompts;
    std::unique_ptr<QWidget> window;
    CPropertyListCtrl* grid = nullptr;
    QLineEdit* elsewhere = nullptr;
    std::shared_ptr<TekClass> node;
    std::vector<Notice> changes;
    std::vector<Notice> picks;
    std::vector<QString> statusTexts;
};

// Rows, texts and looks

TEST_F(PropertyGridTest, TwelveItemsShowTwentyTwoRowsAndBlankRowsOpenNothing)
{
    EXPECT_EQ(grid->model()->rowCount(), 22);
    const QString marks[] = {"", "", "", Utf8("▼"), Utf8("▼"), ">>", "", "", "", Utf8("▼"), Utf8("▼"), ""};
    for (int row = 0; row < 12; ++row) {
        EXPECT_EQ(CellText(row, 0), ToQ(node->Items().At(row).Name()));
        EXPECT_EQ(CellText(row, 1), Value(row));
        EXPECT_EQ(CellText(row, 2), marks[row]) << row;
    }
    for (int row = 12; row < 22; ++row) {
        EXPECT_EQ(CellText(row, 0) + CellText(row, 1) + CellText(row, 2), QString()) << row;
        EXPECT_FALSE(grid->StartEdit(row, 1));
        EXPECT_FALSE(grid->StartEdit(row, 2));
    }
    Click(20, 1);
    Click(20, 1);
    Click(20, 2);
    Key(grid, Qt::Key_Space);
    Key(grid, Qt::Key_Delete);
    EXPECT_EQ(grid->CurrentRow(), 20);
    EXPECT_EQ(TextCell(), nullptr);
    EXPECT_EQ(ChoiceCell(), nullptr);
    EXPECT_FALSE(grid->Commit(12, QStringLiteral("x")));
    EXPECT_TRUE(changes.empty());
}

TEST_F(PropertyGridTest, HeadersWidthsAndAccessibleNames)
{
    QAbstractItemModel* model = grid->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Key"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Value"));
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QString());
    EXPECT_EQ(grid->objectName(), QStringLiteral("propertyGrid"));
    EXPECT_EQ(grid->accessibleName(), Utf8("プロパティー"));
    auto other = MakeSampleNode();
    grid->ShowNode(other.get());
    EXPECT_EQ(grid->columnWidth(0), 120);
    EXPECT_EQ(grid->columnWidth(1), 215);
    EXPECT_EQ(grid->columnWidth(2), 20);
    ASSERT_TRUE(grid->StartEdit(kTSize, 1));
    EXPECT_EQ(TextCell()->objectName(), QStringLiteral("propertyTextCell"));
    EXPECT_EQ(TextCell()->accessibleName(), QStringLiteral("TSize"));
    ASSERT_TRUE(grid->StartEdit(kAlign, 1));
    EXPECT_EQ(ChoiceCell()->objectName(), QStringLiteral("propertyChoiceCell"));
    EXPECT_EQ(ChoiceCell()->accessibleName(), QStringLiteral("Align"));
}

TEST_F(PropertyGridTest, CurrentRowColoursShowOverTheSelection)
{
    grid->SetCurrentRow(1);
    const QImage image = grid->viewport()->grab().toImage();
    auto fill = [&](int row) {
        const QRect rect = grid->visualRect(Index(row, 1));
        return image.pixelColor(rect.right() - 3, rect.top() + 2);
    };
    EXPECT_EQ(fill(1), QColor(255, 230, 230));
    EXPECT_EQ(fill(2), QColor(240, 255, 255));
    EXPECT_EQ(fill(3), QColor(255, 255, 255));
    EXPECT_EQ(Index(1, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_EQ(Index(2, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 0));
}

TEST(PropertyGridText, LongTextsAreCutAtAWordBoundary)
{
    const QFontMetrics metrics(QApplication::font());
    const QString text = QStringLiteral("alpha beta gamma");
    EXPECT_EQ(ElideAtWordBoundary(metrics, text, metrics.horizontalAdvance(text)), text);
    const int width = metrics.horizontalAdvance(QStringLiteral("alpha beta gam"));
    EXPECT_EQ(ElideAtWordBoundary(metrics, text, width), QStringLiteral("alpha beta") + QChar(0x2026));
    const QString cut = ElideAtWordBoundary(metrics, QStringLiteral("abcdefghijklmnop"), width / 3);
    EXPECT_TRUE(cut.endsWith(QChar(0x2026)));
    EXPECT_LE(metrics.horizontalAdvance(cut), width / 3);
}

TEST_F(PropertyGridTest, ShowNodeAndRowCountRefresh)
{
    grid->SetCurrentRow(4);
    grid->ShowNode(node.get());
    EXPECT_EQ(grid->CurrentRow(), 4) << "showing the node shown does nothing";
    node->AddItem(std::make_unique<CItemData>("Extra", ItemKind::FreeText, "e"));
    grid->RefreshRowCount();
    EXPECT_EQ(grid->model()->rowCount(), 23);
    EXPECT_EQ(CellText(12, 0), QStringLiteral("Extra"));
    EXPECT_EQ(grid->CurrentRow(), 4);
    grid->SetCurrentRow(22);
    node->Items().Clear();
    grid->RefreshRowCount();
    EXPECT_EQ(grid->model()->rowCount(), 10);
    EXPECT_EQ(grid->CurrentRow(), 0) << "row 22 is gone";

    // Another node: row 0, and an open cell closes without a commit.
    auto other = MakeSampleNode();
    grid->ShowNode(other.get());
    ASSERT_TRUE(grid->StartEdit(kName, 1));
    QTest::keyClicks(TextCell(), QStringLiteral("typed"));
    grid->ShowNode(node.get());
    EXPECT_EQ(grid->CurrentRow(), 0);
    Settle();
    EXPECT_EQ(TextCell(), nullptr);
    EXPECT_EQ(ToQ(other->Items().At(kName).Value()), QStringLiteral("btn1"));
    grid->ShowNode(nullptr);
    EXPECT_EQ(grid->CurrentRow(), -1);
    EXPECT_EQ(grid->model()->rowCount(), 0);
    Key(grid, Qt::Key_Down);
    EXPECT_EQ(grid->CurrentRow(), -1);
    EXPECT_TRUE(changes.empty());
}

// Which editor a cell opens

TEST_F(PropertyGridTest, EachKindOpensItsEditorInEachColumn)
{
    enum Opens { Nothing, Text, Choice, Image };
    const struct {
        int row;
        Opens value;
        Opens button;
    } cases[] = {
        {kName, Text, Nothing},   {kType, Nothing, Nothing}, {kText, Text, Nothing},     {kAlign, Choice, Choice},
        {kColour, Text, Choice},  {kFile, Text, Image},      {kTSize, Text, Nothing},    {kData, Text, Nothing},
        {kWeight, Text, Nothing}, {kHide, Choice, Choice},   {kOnClick, Choice, Choice},
    };
    for (const auto& c : cases) {
        const std::pair<int, Opens> cells[] = {{0, Nothing}, {1, c.value}, {2, c.button}};
        for (const auto& [column, opens] : cells) {
            SCOPED_TRACE(testing::Message() << "row " << c.row << " column " << column);
            picks.clear();
            EXPECT_EQ(grid->StartEdit(c.row, column), opens != Nothing);
            EXPECT_EQ(picks, opens == Image ? Only("File") : std::vector<Notice>());
            ASSERT_EQ(TextCell() != nullptr, opens == Text);
            ASSERT_EQ(ChoiceCell() != nullptr, opens == Choice);
            if (CExEditCell* cell = TextCell()) {
                EXPECT_EQ(cell->selectedText(), Value(c.row));
                EXPECT_EQ(QApplication::focusWidget(), cell);
                Key(cell, Qt::Key_Escape);
            } else if (CComboBoxCell* cell = ChoiceCell()) {
                EXPECT_TRUE(cell->view()->isVisible()) << "the list opens at once";
                Key(cell->view(), Qt::Key_Escape);
            }
            EXPECT_EQ(TextCell(), nullptr);
            EXPECT_EQ(ChoiceCell(), nullptr);
        }
    }
    EXPECT_EQ(Value(kFile), QStringLiteral("a.png"));
    EXPECT_TRUE(changes.empty());

    grid->setColumnWidth(1, 4);
    EXPECT_FALSE(grid->StartEdit(kName, 1)) << "too narrow for a text cell";
    grid->setColumnWidth(1, 9);
    EXPECT_FALSE(grid->StartEdit(kAlign, 2)) << "too narrow for a choice cell";
    EXPECT_TRUE(grid->StartEdit(kName, 1));
}

TEST_F(PropertyGridTest, ChoiceCellsHoldTheirChoicesAndPreselectByPrefix)
{
    const QStringList aligns = {"LEFT", "CENTER", "RIGHT", "LEFT|TOP"};
    const QStringList flags = {"true", "false"};
    const struct {
        int row;
        int column;
        const char* value;
        QStringList choices;
        QString selected;
    } cases[] = {
        {kAlign, 1, "CENTER", aligns, "CENTER"},
        {kAlign, 2, "left", aligns, "LEFT|TOP"},
        {kAlign, 1, "TOP", aligns, "LEFT"},
        {kColour, 2, "r", {"BLACK", "WHITE", "RED", "#RRGGBB"}, "RED"},
        {kHide, 2, "true", flags, "true"},
        {kHide, 2, "false", flags, "false"},
        {kHide, 1, "F", flags, "false"},
        {kHide, 2, "", flags, "true"},
        {kOnClick, 1, "", {Utf8("キャンセル"), "CONDITION", "UPDATE"}, Utf8("キャンセル")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " value " << c.value);
        node->Items().At(c.row).SetValue(c.value);
        ASSERT_TRUE(grid->StartEdit(c.row, c.column));
        CComboBoxCell* cell = ChoiceCell();
        ASSERT_NE(cell, nullptr);
        QStringList shown;
        for (int i = 0; i < cell->count(); ++i)
            shown << cell->itemText(i);
        EXPECT_EQ(shown, c.choices);
        EXPECT_EQ(cell->currentText(), c.selected);
        EXPECT_EQ(cell->view()->currentIndex().row(), cell->currentIndex());
        EXPECT_EQ(cell->maxVisibleItems(), 10);
        Key(cell->view(), Qt::Key_Escape);
    }
    EXPECT_TRUE(changes.empty());
}

TEST(PropertyGridChoices, PrefixSearchStartsAtTheSecondEntryAndWraps)
{
    const QStringList aligns = {"LEFT", "CENTER", "RIGHT", "LEFT|TOP"};
    const struct {
        QStringList choices;
        QString text;
        int expected;
    } cases[] = {
        {aligns, "LEFT", 3},    {aligns, "left|", 3}, {aligns, "Rig", 2},
        {aligns, "nothing", 0}, {aligns, "", 0},      {{"LEFT", "CENTER", "RIGHT"}, "le", 0},
        {{"only"}, "on", 0},    {{}, "x", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindChoiceByPrefix(c.choices, c.text), c.expected) << c.text.toStdString();
}

TEST_F(PropertyGridTest, ChoiceCellFromTheButtonColumnScrollsTenRowsAhead)
{
    // Fourteen rows in view: the row and the row ten below fit together.
    window->resize(420, window->height() - grid->viewport()->height() + 14 * grid->rowHeight(0));
    Settle();
    const QRect view = grid->viewport()->rect();
    ASSERT_FALSE(view.intersects(grid->visualRect(Index(kHide + 10, 1))));
    ASSERT_TRUE(grid->StartEdit(kHide, 2));
    EXPECT_TRUE(view.intersects(grid->visualRect(Index(kHide + 10, 1))));
    // The text field lies over the value column, one row high; the list below it.
    CComboBoxCell* cell = ChoiceCell();
    const QRect value = grid->visualRect(Index(kHide, 1));
    EXPECT_EQ(cell->geometry().topLeft(), value.topLeft());
    EXPECT_EQ(cell->height(), value.height());
    EXPECT_LT(cell->width(), value.width());
    EXPECT_GE(cell->view()->mapToGlobal(QPoint()).y(), cell->mapToGlobal(QPoint(0, cell->height() - 1)).y());
}

// Mouse

TEST_F(PropertyGridTest, ClicksMakeRowsCurrentAndOpenCells)
{
    Click(kText, 1);
    EXPECT_EQ(grid->CurrentRow(), kText);
    EXPECT_EQ(TextCell(), nullptr) << "the first click only makes the row current";
    Click(kText, 1);
    ASSERT_NE(TextCell(), nullptr);
    EXPECT_EQ(TextCell()->Row(), kText);
    Key(TextCell(), Qt::Key_Escape);
    Click(kText, 0);
    EXPECT_EQ(TextCell(), nullptr) << "the name column opens nothing";

    Click(kAlign, 2);
    EXPECT_EQ(grid->CurrentRow(), kAlign);
    ASSERT_NE(ChoiceCell(), nullptr) << "the button column opens at the first click";
    Key(ChoiceCell()->view(), Qt::Key_Escape);

    Click(kFile, 2);
    EXPECT_EQ(picks, Only("File"));
    EXPECT_EQ(TextCell(), nullptr);
    EXPECT_TRUE(changes.empty());
}

TEST_F(PropertyGridTest, HoveringRowsShowsDescriptions)
{
    // A command's File has a description only in commands that fetch a file: the status keeps
    // the text before it.
    const int rows[] = {kName, kFile, kAlias, 15};
    for (int row : rows) {
        QTest::mouseMove(grid->viewport(), grid->visualRect(Index(row, 0)).center());
        ProcessEvents();
    }
    EXPECT_EQ(statusTexts, (std::vector<QString>{Utf8("対象オブジェクトの名前(Name)を指定。カンマ区切りで複数指定可能。"),
                                                 Utf8("対象オブジェクトの別名(Alias)を指定。複数指定不可。"), "..."}));
}

// Keyboard on the grid

TEST_F(PropertyGridTest, GridKeys)
{
    Key(grid, Qt::Key_Up);
    EXPECT_EQ(grid->CurrentRow(), 0);
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->CurrentRow(), 21);
    EXPECT_TRUE(grid->viewport()->rect().intersects(grid->visualRect(Index(21, 0))));
    grid->selectionModel()->select(Index(kData, 1), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(grid->CurrentRow(), kData) << "a row selected from outside becomes current";

    grid->SetCurrentRow(kWeight);
    Key(grid, Qt::Key_Space);
    ASSERT_NE(TextCell(), nullptr);
    EXPECT_EQ(TextCell()->Row(), kWeight);
    Key(TextCell(), Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), grid) << "the grid has the keyboard again";
    Key(grid, Qt::Key_Down);
    Key(grid, Qt::Key_Space);
    ASSERT_NE(ChoiceCell(), nullptr);
    EXPECT_EQ(ChoiceCell()->Row(), kHide);
    Key(ChoiceCell()->view(), Qt::Key_Escape);
}

TEST_F(PropertyGridTest, DeleteEmptiesEveryItemRowButTheFirst)
{
    for (int row : {kName, kType, kWeight, kAlias}) {
        changes.clear();
        grid->SetCurrentRow(row);
        Key(grid, Qt::Key_Delete);
        const std::string& value = node->Items().At(row).Value();
        EXPECT_EQ(value.empty(), row != kName) << row;
        EXPECT_EQ(changes, row == kName ? std::vector<Notice>() : Only(node->Items().At(row).Name()));
    }
}

TEST_F(PropertyGridTest, WindowShortcutsDoNotTakeTheKeysOfTheGridOrItsCells)
{
    int fired = 0;
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_A),
                                     QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Return)}) {
        auto* action = new QAction(window.get());
        action->setShortcut(keys);
        QObject::connect(action, &QAction::triggered, [&fired] { ++fired; });
        window->addAction(action);
    }
    grid->SetCurrentRow(kAlias);
    Key(grid, Qt::Key_Delete);
    EXPECT_EQ(Value(kAlias), QString());
    grid->SetCurrentRow(kName);
    Key(grid, Qt::Key_Space);
    CExEditCell* cell = TextCell();
    ASSERT_NE(cell, nullptr);
    Key(cell, Qt::Key_Home);
    Key(cell, Qt::Key_Delete);
    Key(cell, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(cell->selectedText(), QStringLiteral("tn1"));
    Key(cell, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), cell) << "Tab stays in the cell";
    Key(cell, Qt::Key_Return);
    EXPECT_EQ(Value(kName), QStringLiteral("tn1"));
    EXPECT_EQ(fired, 0);
}

// Text cell

TEST_F(PropertyGridTest, TextCellEndsByEnterEscapeAndFocusLoss)
{
    enum Ending { Enter, KeypadEnter, Escape, FocusLoss, EscapeThenFocusLoss };
    const struct {
        Ending ending;
        bool commits;
    } cases[] = {{Enter, true}, {KeypadEnter, true}, {Escape, false}, {FocusLoss, true}, {EscapeThenFocusLoss, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ending);
        changes.clear();
        const QString before = Value(kText);
        const QString typed = QStringLiteral("v%1").arg(static_cast<int>(c.ending));
        ASSERT_TRUE(grid->StartEdit(kText, 1));
        CExEditCell* cell = TextCell();
        QTest::keyClicks(cell, typed);
        if (c.ending == Enter)
            Key(cell, Qt::Key_Return);
        if (c.ending == KeypadEnter)
            Key(cell, Qt::Key_Enter, Qt::KeypadModifier);
        if (c.ending == Escape || c.ending == EscapeThenFocusLoss)
            Key(cell, Qt::Key_Escape);
        if (c.ending == FocusLoss || c.ending == EscapeThenFocusLoss)
            elsewhere->setFocus();
        Settle();
        EXPECT_EQ(TextCell(), nullptr);
        EXPECT_EQ(Value(kText), c.commits ? typed : before);
        EXPECT_EQ(CellText(kText, 1), Value(kText));
        EXPECT_EQ(changes, c.commits ? Only("Text") : std::vector<Notice>());
        grid->setFocus();
    }
}

TEST_F(PropertyGridTest, UpAndDownInTheTextCellCommitAndMoveTheCell)
{
    ASSERT_TRUE(grid->StartEdit(kName, 1));
    QTest::keyClicks(TextCell(), QStringLiteral("n0"));
    Key(TextCell(), Qt::Key_Up);
    EXPECT_EQ(TextCell(), nullptr) << "nothing above row 0";

    ASSERT_TRUE(grid->StartEdit(kText, 1));
    QTest::keyClicks(TextCell(), QStringLiteral("t2"));
    Key(TextCell(), Qt::Key_Down);
    ASSERT_NE(TextCell(), nullptr);
    EXPECT_EQ(TextCell()->Row(), kAlign);
    EXPECT_EQ(TextCell()->selectedText(), QStringLiteral("CENTER"));
    EXPECT_EQ(grid->CurrentRow(), kAlign);
    QTest::keyClicks(TextCell(), QStringLiteral("RIGHT"));
    Key(TextCell(), Qt::Key_Up);
    ASSERT_NE(TextCell(), nullptr);
    EXPECT_EQ(TextCell()->Row(), kText);
    Key(TextCell(), Qt::Key_Escape);

    ASSERT_TRUE(grid->StartEdit(kAlias, 1));
    Key(TextCell(), Qt::Key_Down);
    EXPECT_EQ(TextCell(), nullptr) << "blank rows take no cell";
    EXPECT_EQ(Value(kName) + Value(kText) + Value(kAlign), QStringLiteral("n0t2RIGHT"));
    EXPECT_EQ(changes, (std::vector<Notice>{
                           {node.get(), "Name"}, {node.get(), "Text"}, {node.get(), "Align"}, {node.get(), "Alias"}}));
}

TEST_F(PropertyGridTest, TextCellWidensWhileTheTextOutgrowsItAndMovesWithItsRow)
{
    window->resize(420, 300);
    Settle();
    ASSERT_TRUE(grid->StartEdit(kName, 1));
    CExEditCell* cell = TextCell();
    const int cellWidth = grid->visualRect(Index(kName, 1)).width();
    QTest::keyClicks(cell, QStringLiteral("short"));
    EXPECT_EQ(cell->width(), cellWidth);
    QTest::keyClicks(cell, QStringLiteral(" and a rather longer text, long enough to widen it"));
    const int wanted = cell->fontMetrics().horizontalAdvance(cell->text()) + 5;
    const int rightEdge = grid->viewport()->width() - cell->x();
    ASSERT_GT(wanted, cellWidth);
    EXPECT_EQ(cell->width(), std::min(wanted, rightEdge));
    QTest::keyClicks(cell, QString(40, QLatin1Char('W')));
    EXPECT_EQ(cell->width(), rightEdge) << "not past the grid's right edge";
    cell->selectAll();
    Key(cell, Qt::Key_Backspace);
    EXPECT_EQ(cell->width(), rightEdge) << "a widened cell does not narrow again";

    grid->verticalScrollBar()->setValue(1);
    ProcessEvents();
    EXPECT_EQ(cell->geometry().topLeft(), grid->visualRect(Index(kName, 1)).topLeft());
    EXPECT_EQ(cell->width(), rightEdge);
}

TEST_F(PropertyGridTest, TextThatShiftJisCannotHoldIsRefused)
{
    for (const char* typed : {"OK😀", "한글"}) {
        ASSERT_TRUE(grid->StartEdit(kText, 1));
        const QString text = Utf8(typed);
        QTest::sendKeyEvent(QTest::Click, TextCell(), Qt::Key_unknown, text, Qt::NoModifier);
        Key(TextCell(), Qt::Key_Return);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(prompts.messages[0].text, UnrepresentableTextMessage(UnrepresentableCharacters(text)));
        prompts.messages.clear();
        EXPECT_EQ(Value(kText), Utf8("ボタン"));
        EXPECT_TRUE(changes.empty());
        ASSERT_NE(TextCell(), nullptr) << "the refused text stays open to be mended";
        EXPECT_TRUE(TextCell()->text().endsWith(text));
        Key(TextCell(), Qt::Key_Escape);
    }
    EXPECT_TRUE(grid->Commit(kName, Utf8("名前～")));
    EXPECT_EQ(node->Items().At(kName).Value(), Sjis("名前～"));
    EXPECT_TRUE(prompts.messages.empty());
}

// Choice cell

TEST_F(PropertyGridTest, ChoiceCellEndings)
{
    enum Ending { ListClick, ListEnter, ListEscape, FocusLoss, TypedEnter, TypedEscape, TypedFocusLoss };
    const struct {
        Ending ending;
        const char* committed; // nullptr: nothing
    } cases[] = {{ListClick, "WHITE"},    {ListEnter, "WHITE"},   {ListEscape, nullptr},      {FocusLoss, "#RRGGBB"},
                 {TypedEnter, "#102030"}, {TypedEscape, nullptr}, {TypedFocusLoss, "#102030"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ending);
        changes.clear();
        node->Items().At(kColour).SetValue("red");
        ASSERT_TRUE(grid->StartEdit(kColour, 2));
        CComboBoxCell* cell = ChoiceCell();
        QAbstractItemView* list = List();
        if (c.ending == ListClick)
            ClickEntry(QStringLiteral("WHITE"));
        if (c.ending == ListEnter || c.ending == ListEscape) {
            Key(list, Qt::Key_Up);
            Key(list, c.ending == ListEnter ? Qt::Key_Return : Qt::Key_Escape);
        }
        if (c.ending == FocusLoss) {
            Key(list, Qt::Key_Down); // the list's keys select
            QTest::mouseMove(list->viewport(), list->visualRect(list->model()->index(0, 0)).center());
            cell->hidePopup(); // as a click outside the list does
            Settle();
            ASSERT_EQ(ChoiceCell(), cell) << "the cell stays open when its list closes";
        }
        if (c.ending >= TypedEnter) {
            cell->hidePopup();
            Settle();
            cell->lineEdit()->selectAll();
            QTest::keyClicks(cell, QStringLiteral("#102030"));
            EXPECT_EQ(cell->count(), 4) << "typed text is no new choice";
            if (c.ending != TypedFocusLoss)
                Key(cell, c.ending == TypedEnter ? Qt::Key_Return : Qt::Key_Escape);
        }
        if (c.ending == FocusLoss || c.ending == TypedFocusLoss)
            elsewhere->setFocus();
        Settle();
        EXPECT_EQ(ChoiceCell(), nullptr);
        EXPECT_EQ(Value(kColour), c.committed ? QString::fromLatin1(c.committed) : QStringLiteral("red"));
        EXPECT_EQ(changes, c.committed ? Only("BGColor") : std::vector<Notice>());
        grid->setFocus();
    }
}

TEST_F(PropertyGridTest, OpeningAChoiceCellEndsTheOpenOne)
{
    ASSERT_TRUE(grid->StartEdit(kAlign, 2));
    ASSERT_TRUE(grid->StartEdit(kHide, 2));
    ProcessEvents();
    int open = 0;
    for (CComboBoxCell* cell : grid->findChildren<CComboBoxCell*>())
        open += cell->isVisible() ? 1 : 0;
    EXPECT_EQ(open, 1);
    EXPECT_EQ(ChoiceCell()->Row(), kHide);
    EXPECT_EQ(changes, Only("Align")) << "the first ended as losing the focus ends it";
}

TEST_F(PropertyGridTest, EventItemOfARealObjectCommitsTheChosenCommand)
{
    auto button = std::make_shared<CObjectData>(nullptr);
    BuildObjectItems(*button, OBJ_BUTTON);
    grid->ShowNode(button.get());
    EXPECT_EQ(grid->model()->rowCount(), button->Items().Count() + 10);
    int onClick = 0;
    while (button->Items().At(onClick).Name() != "OnClick")
        ++onClick;
    Click(onClick, 2);
    ASSERT_NE(ChoiceCell(), nullptr);
    ClickEntry(QStringLiteral("UPDATE"));
    EXPECT_EQ(button->Items().At(onClick).Value(), "UPDATE");
    EXPECT_EQ(changes, (std::vector<Notice>{{button.get(), "OnClick"}}));
}

} // namespace
} // namespace vesk
