// The property grid driven as a user drives it: real key and mouse events on the grid, its text
// cells and its choice cells (through the choice list's own view).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
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

// Rows of the sample node: one item of every kind, and one item without a description.
enum SampleRow {
    kName,    // 0 free text
    kType,    // 1 fixed
    kText,    // 2 display
    kAlign,   // 3 choice
    kColour,  // 4 suggestion
    kFile,    // 5 image
    kTSize,   // 6 size
    kData,    // 10 data
    kWeight,  // 11 number
    kHide,    // 12 flag
    kOnClick, // 3 choice (commands)
    kAlias,   // 0 free text, no description
    kSampleItems
};

const ChoiceList kAlignChoices = {"LEFT", "CENTER", "RIGHT", "LEFT|TOP"};
const ChoiceList kColourChoices = {"BLACK", "WHITE", "RED", "#RRGGBB"};

const std::string& Description(const char* utf8)
{
    static std::vector<std::unique_ptr<std::string>> texts;
    texts.push_back(std::make_unique<std::string>(Sjis(utf8)));
    return *texts.back();
}

/// A node holding one item of each kind, in the order of SampleRow.
std::shared_ptr<TekClass> MakeSampleNode()
{
    static const std::string& nameHelp = Description("名前です。");
    static const std::string& typeHelp = Description("種類です。");
    static const std::string& fileHelp = Description("画像ファイル名を指定します");
    static const ChoiceList commands = {Sjis("キャンセル"), "CONDITION", "UPDATE"};
    auto node = std::make_shared<TekClass>(NodeType::Command);
    auto add = [&](const char* name, ItemKind kind, std::string value, const ChoiceList* choices,
                   const std::string* help) {
        node->AddItem(std::make_unique<CItemData>(name, kind, std::move(value), choices, help));
    };
    add("Name", ItemKind::FreeText, "btn1", nullptr, &nameHelp);
    add("Type", ItemKind::Fixed, "GROUP", nullptr, &typeHelp);
    add("Text", ItemKind::Display, Sjis("ボタン"), nullptr, &nameHelp);
    add("Align", ItemKind::Choice, "CENTER", &kAlignChoices, &nameHelp);
    add("BGColor", ItemKind::Suggest, "red", &kColourChoices, &nameHelp);
    add("File", ItemKind::Image, "dial[10-20].png", nullptr, &fileHelp);
    add("TSize", ItemKind::Size, "12pt", nullptr, &nameHelp);
    add("Data", ItemKind::Data, "[1,2]", nullptr, &nameHelp);
    add("Weight", ItemKind::Number, "3", nullptr, &nameHelp);
    add("Hide", ItemKind::Flag, "false", nullptr, &nameHelp);
    add("OnClick", ItemKind::Choice, "", &commands, &nameHelp);
    add("Alias", ItemKind::FreeText, "b", nullptr, nullptr);
    return node;
}

/// A window holding the grid and a line edit to move the focus to.
class PropertyGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        grid = new CPropertyListCtrl(prompts, window.get());
        elsewhere = new QLineEdit(window.get());
        elsewhere->setObjectName(QStringLiteral("elsewhere"));
        layout->addWidget(grid);
        layout->addWidget(elsewhere);
        window->resize(420, 600);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QObject::connect(grid, &CPropertyListCtrl::propertyChanged, grid,
                         [this](TekClass* changed, const std::string& name) { changes.emplace_back(changed, name); });
        QObject::connect(grid, &CPropertyListCtrl::imagePickRequested, grid,
                         [this](TekClass* picked, const std::string& name) { picks.emplace_back(picked, name); });
        QObject::connect(grid, &CPropertyListCtrl::statusText, grid,
                         [this](const QString& text) { statusTexts.push_back(text); });
        node = MakeSampleNode();
        grid->ShowNode(node.get());
        grid->setFocus();
        ProcessEvents();
    }

    void TearDown() override
    {
        window.reset();
        ProcessEvents();
    }

    QString Value(int row) const { return ToQ(node->Items().At(row).Value()); }
    QString CellText(int row, int column) const { return grid->model()->index(row, column).data().toString(); }

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

    QPoint CellCentre(int row, int column) const
    {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }
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
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(row, column));
        Settle();
    }
    void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(target, key, modifiers);
        Settle();
    }
    /// The choice list of the open choice cell, once it may take a click.
    QAbstractItemView* ListOf(CComboBoxCell* cell)
    {
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        return cell->view();
    }
    void ClickEntry(CComboBoxCell* cell, const QString& entry)
    {
        QAbstractItemView* list = ListOf(cell);
        const int row = cell->findText(entry, Qt::MatchExactly);
        ASSERT_GE(row, 0) << entry.toStdString();
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        Settle();
    }

    using Notice = std::pair<TekClass*, std::string>;
    std::vector<Notice> Only(const std::string& name) const { return {{node.get(), name}}; }

    test::ScriptedPrompts prompts;
    std::unique_ptr<QWidget> window;
    CPropertyListCtrl* grid = nullptr;
    QLineEdit* elsewhere = nullptr;
    std::shared_ptr<TekClass> node;
    std::vector<Notice> changes;
    std::vector<Notice> picks;
    std::vector<QString> statusTexts;
};

// Rows, texts and the look of the grid

TEST_F(PropertyGridTest, TwelveItemsShowTwentyTwoRowsWithBlankRowsThatOpenNothing)
{
    ASSERT_EQ(node->Items().Count(), 12);
    EXPECT_EQ(grid->model()->rowCount(), 22);
    EXPECT_EQ(grid->model()->columnCount(), 3);
    EXPECT_EQ(CellText(kName, 0), QStringLiteral("Name"));
    EXPECT_EQ(CellText(kText, 1), Utf8("ボタン"));
    for (int row = 12; row < 22; ++row) {
        for (int column = 0; column < 3; ++column)
            EXPECT_TRUE(CellText(row, column).isEmpty()) << row << "," << column;
        EXPECT_FALSE(grid->StartEdit(row, 1)) << row;
        EXPECT_FALSE(grid->StartEdit(row, 2)) << row;
    }
    grid->scrollToBottom();
    grid->SetCurrentRow(20);
    Click(20, 1);
    Click(20, 2);
    grid->setFocus();
    Key(grid, Qt::Key_Space);
    EXPECT_EQ(TextCell(), nullptr);
    EXPECT_EQ(ChoiceCell(), nullptr);
    EXPECT_TRUE(changes.empty());
    EXPECT_FALSE(grid->Commit(12, QStringLiteral("x")));
}

TEST_F(PropertyGridTest, ButtonColumnMarksFollowTheKind)
{
    const std::pair<int, QString> marks[] = {
        {kName, {}},  {kType, {}}, {kText, {}},   {kAlign, Utf8("▼")}, {kColour, Utf8("▼")},  {kFile, Utf8(">>")},
        {kTSize, {}}, {kData, {}}, {kWeight, {}}, {kHide, Utf8("▼")},  {kOnClick, Utf8("▼")},
    };
    for (const auto& [row, mark] : marks)
        EXPECT_EQ(CellText(row, 2), mark) << row;
}

TEST_F(PropertyGridTest, HeadersWidthsAndNamesForAssistiveTechnology)
{
    QAbstractItemModel* model = grid->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Key"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Value"));
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QString());
    EXPECT_EQ(grid->objectName(), QStringLiteral("propertyGrid"));
    EXPECT_EQ(grid->accessibleName(), Utf8("プロパティー"));
    // Widths stay as they were when another node is shown.
    auto other = MakeSampleNode();
    grid->ShowNode(other.get());
    EXPECT_EQ(grid->columnWidth(0), 120);
    EXPECT_EQ(grid->columnWidth(1), 215);
    EXPECT_EQ(grid->columnWidth(2), 20);

    grid->ShowNode(node.get());
    ASSERT_TRUE(grid->StartEdit(kName, 1));
    EXPECT_EQ(TextCell()->accessibleName(), QStringLiteral("Name"));
    Key(TextCell(), Qt::Key_Escape);
    ASSERT_TRUE(grid->StartEdit(kAlign, 1));
    EXPECT_EQ(ChoiceCell()->objectName(), QStringLiteral("propertyChoiceCell"));
    EXPECT_EQ(ChoiceCell()->accessibleName(), QStringLiteral("Align"));
}

TEST_F(PropertyGridTest, CurrentRowIsPaintedOverTheSelectionHighlight)
{
    grid->SetCurrentRow(1);
    ProcessEvents();
    const QImage image = grid->viewport()->grab().toImage();
    auto colourAt = [&](int row) {
        const QRect rect = grid->visualRect(grid->model()->index(row, 1));
        return image.pixelColor(rect.right() - 3, rect.top() + 2);
    };
    EXPECT_EQ(colourAt(1), QColor(255, 230, 230));
    EXPECT_EQ(colourAt(0), QColor(240, 255, 255));
    EXPECT_EQ(colourAt(2), QColor(240, 255, 255));
    EXPECT_EQ(colourAt(3), QColor(255, 255, 255));
    EXPECT_EQ(grid->model()->index(1, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_EQ(grid->model()->index(2, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 0));
}

TEST(PropertyGridText, LongTextsAreCutAtAWordBoundary)
{
    const QFontMetrics metrics(QApplication::font());
    const QString text = QStringLiteral("alpha beta gamma delta");
    EXPECT_EQ(ElideAtWordBoundary(metrics, text, metrics.horizontalAdvance(text)), text);
    const int width = metrics.horizontalAdvance(QStringLiteral("alpha beta gam"));
    EXPECT_EQ(ElideAtWordBoundary(metrics, text, width), QStringLiteral("alpha beta") + QChar(0x2026));
    const QString cut = ElideAtWordBoundary(metrics, QStringLiteral("abcdefghijklmnop"), width / 3);
    EXPECT_TRUE(cut.endsWith(QChar(0x2026)));
    EXPECT_LE(metrics.horizontalAdvance(cut), width / 3);
}

// ShowNode and the row count

TEST_F(PropertyGridTest, ShowingNodesSetsTheCurrentRow)
{
    grid->SetCurrentRow(4);
    grid->ShowNode(node.get());
    EXPECT_EQ(grid->CurrentRow(), 4) << "showing the node shown does nothing";
    auto other = MakeSampleNode();
    grid->ShowNode(other.get());
    EXPECT_EQ(grid->Node(), other.get());
    EXPECT_EQ(grid->CurrentRow(), 0);
    grid->ShowNode(nullptr);
    EXPECT_EQ(grid->CurrentRow(), -1);
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_FALSE(grid->StartEdit(0, 1));
    Key(grid, Qt::Key_Down);
    Key(grid, Qt::Key_Delete);
    EXPECT_EQ(grid->CurrentRow(), -1);
    EXPECT_TRUE(changes.empty());
}

TEST_F(PropertyGridTest, RowCountFollowsTheItemListAndKeepsTheCurrentRow)
{
    grid->SetCurrentRow(5);
    for (int i = 0; i < 3; ++i)
        node->AddItem(std::make_unique<CItemData>("Extra" + std::to_string(i), ItemKind::FreeText, "e"));
    grid->RefreshRowCount();
    EXPECT_EQ(grid->model()->rowCount(), 25);
    EXPECT_EQ(CellText(13, 0), QStringLiteral("Extra1"));
    EXPECT_EQ(grid->CurrentRow(), 5);

    auto shortNode = std::make_shared<TekClass>(NodeType::Command);
    shortNode->AddItem(std::make_unique<CItemData>("Only", ItemKind::FreeText, "v"));
    grid->ShowNode(shortNode.get());
    grid->SetCurrentRow(10);
    shortNode->Items().Clear();
    grid->RefreshRowCount();
    EXPECT_EQ(grid->model()->rowCount(), 10);
    EXPECT_EQ(grid->CurrentRow(), 0) << "row 10 is gone";
}

// Which editor a cell opens

TEST_F(PropertyGridTest, EachKindOpensItsEditorInEachColumn)
{
    enum class Expect { Nothing, Text, Choice, Image };
    struct Case {
        int row;
        int column;
        Expect expect;
    } cases[] = {
        {kName, 1, Expect::Text},      {kName, 2, Expect::Nothing},  {kName, 0, Expect::Nothing},
        {kType, 1, Expect::Nothing},   {kType, 2, Expect::Nothing},  {kText, 1, Expect::Text},
        {kText, 2, Expect::Nothing},   {kAlign, 1, Expect::Choice},  {kAlign, 2, Expect::Choice},
        {kColour, 1, Expect::Text},    {kColour, 2, Expect::Choice}, {kFile, 1, Expect::Text},
        {kFile, 2, Expect::Image},     {kTSize, 1, Expect::Text},    {kTSize, 2, Expect::Nothing},
        {kData, 1, Expect::Text},      {kData, 2, Expect::Nothing},  {kWeight, 1, Expect::Text},
        {kWeight, 2, Expect::Nothing}, {kHide, 1, Expect::Choice},   {kHide, 2, Expect::Choice},
        {kOnClick, 2, Expect::Choice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " column " << c.column);
        picks.clear();
        const bool opened = grid->StartEdit(c.row, c.column);
        EXPECT_EQ(opened, c.expect != Expect::Nothing);
        EXPECT_EQ(TextCell() != nullptr, c.expect == Expect::Text);
        EXPECT_EQ(ChoiceCell() != nullptr, c.expect == Expect::Choice);
        EXPECT_EQ(picks.size(), c.expect == Expect::Image ? 1u : 0u);
        if (CExEditCell* cell = TextCell()) {
            EXPECT_EQ(cell->text(), Value(c.row));
            EXPECT_EQ(cell->selectedText(), Value(c.row));
            EXPECT_EQ(QApplication::focusWidget(), cell);
            Key(cell, Qt::Key_Escape);
        }
        if (CComboBoxCell* cell = ChoiceCell()) {
            EXPECT_TRUE(cell->view()->isVisible()) << "the list opens at once";
            Key(cell->view(), Qt::Key_Escape);
        }
        EXPECT_EQ(TextCell(), nullptr);
        EXPECT_EQ(ChoiceCell(), nullptr);
    }
    EXPECT_TRUE(changes.empty());
}

TEST_F(PropertyGridTest, ChoiceCellsOfferTheItemsChoicesOrTrueAndFalse)
{
    struct Case {
        int row;
        int column;
        QStringList choices;
    } cases[] = {
        {kAlign, 1, {"LEFT", "CENTER", "RIGHT", "LEFT|TOP"}},
        {kColour, 2, {"BLACK", "WHITE", "RED", "#RRGGBB"}},
        {kHide, 2, {"true", "false"}},
        {kOnClick, 1, {Utf8("キャンセル"), "CONDITION", "UPDATE"}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(grid->StartEdit(c.row, c.column)) << c.row;
        CComboBoxCell* cell = ChoiceCell();
        ASSERT_NE(cell, nullptr);
        QStringList shown;
        for (int i = 0; i < cell->count(); ++i)
            shown << cell->itemText(i);
        EXPECT_EQ(shown, c.choices) << c.row;
        EXPECT_EQ(cell->InitialText(), Value(c.row));
        EXPECT_EQ(cell->maxVisibleItems(), 10);
        Key(cell->view(), Qt::Key_Escape);
    }
}

TEST_F(PropertyGridTest, TrueFalseCellPreselectsTheCurrentValue)
{
    for (const char* value : {"true", "false", "TRUE", "f"}) {
        node->Items().At(kHide).SetValue(value);
        ASSERT_TRUE(grid->StartEdit(kHide, 2));
        CComboBoxCell* cell = ChoiceCell();
        ASSERT_NE(cell, nullptr);
        const QString expected = QString::fromLatin1(value).at(0).toLower() == QLatin1Char('t')
                                     ? QStringLiteral("true")
                                     : QStringLiteral("false");
        EXPECT_EQ(cell->currentText(), expected) << value;
        EXPECT_EQ(cell->view()->currentIndex().row(), cell->currentIndex()) << value;
        Key(cell->view(), Qt::Key_Escape);
    }
}

TEST_F(PropertyGridTest, NarrowColumnsOpenNoCell)
{
    grid->setColumnWidth(1, 4);
    EXPECT_FALSE(grid->StartEdit(kName, 1));
    EXPECT_FALSE(grid->StartEdit(kAlign, 1));
    grid->setColumnWidth(1, 9);
    EXPECT_FALSE(grid->StartEdit(kAlign, 2));
    ASSERT_TRUE(grid->StartEdit(kName, 1));
    EXPECT_NE(TextCell(), nullptr);
}

TEST_F(PropertyGridTest, ImageButtonAsksForAPickAndChangesNothing)
{
    Click(kFile, 2);
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0], Notice(node.get(), "File"));
    EXPECT_EQ(Value(kFile), QStringLiteral("dial[10-20].png"));
    EXPECT_EQ(TextCell(), nullptr);
    EXPECT_TRUE(changes.empty());
}

TEST_F(PropertyGridTest, ChoiceCellFromTheButtonColumnScrollsTenRowsAhead)
{
    // Fourteen rows in view: the row and the row ten below fit together.
    const int rowHeight = grid->rowHeight(0);
    window->resize(420, window->height() - grid->viewport()->height() + 14 * rowHeight);
    ProcessEvents();
    ASSERT_EQ(grid->rowAt(grid->viewport()->height() - 1), 13);
    grid->scrollToTop();
    const QRect viewport = grid->viewport()->rect();
    ASSERT_FALSE(viewport.intersects(grid->visualRect(grid->model()->index(kHide + 10, 1))));
    ASSERT_TRUE(grid->StartEdit(kHide, 2));
    EXPECT_TRUE(viewport.intersects(grid->visualRect(grid->model()->index(kHide + 10, 1))));
    CComboBoxCell* cell = ChoiceCell();
    ASSERT_NE(cell, nullptr);
    // The text field lies over the value column, one row high.
    const QRect value = grid->visualRect(grid->model()->index(kHide, 1));
    EXPECT_EQ(cell->geometry().topLeft(), value.topLeft());
    EXPECT_EQ(cell->height(), value.height());
    EXPECT_LT(cell->width(), value.width());
    // The list lies below the field.
    EXPECT_GE(cell->view()->mapToGlobal(QPoint(0, 0)).y(), cell->mapToGlobal(QPoint(0, cell->height())).y() - 1);
}

// Mouse

TEST_F(PropertyGridTest, ClicksMakeRowsCurrentAndOpenCellsOnTheCurrentRow)
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
    EXPECT_TRUE(changes.empty());
}

TEST_F(PropertyGridTest, HoveringRowsShowsDescriptions)
{
    auto hover = [&](int row) {
        QTest::mouseMove(grid->viewport(), CellCentre(row, 0));
        ProcessEvents();
    };
    hover(kName);
    hover(kFile);
    hover(kAlias);
    hover(15);
    ASSERT_EQ(statusTexts.size(), 3u);
    EXPECT_EQ(statusTexts[0], Utf8("名前です。"));
    EXPECT_EQ(statusTexts[1], Utf8("画像ファイル名を指定します"));
    EXPECT_EQ(statusTexts[2], QStringLiteral("..."));
}

// Keyboard on the grid

TEST_F(PropertyGridTest, UpAndDownMoveTheCurrentRowWithinTheRows)
{
    Key(grid, Qt::Key_Up);
    EXPECT_EQ(grid->CurrentRow(), 0);
    Key(grid, Qt::Key_Down);
    Key(grid, Qt::Key_Down);
    EXPECT_EQ(grid->CurrentRow(), 2);
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->CurrentRow(), 21);
    EXPECT_TRUE(grid->viewport()->rect().intersects(grid->visualRect(grid->model()->index(21, 0))));
    Key(grid, Qt::Key_Up);
    EXPECT_EQ(grid->CurrentRow(), 20);
}

TEST_F(PropertyGridTest, SpaceOpensTheValueEditorOfTheCurrentRow)
{
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

    grid->SetCurrentRow(kType);
    Key(grid, Qt::Key_Space);
    EXPECT_EQ(TextCell(), nullptr);
    EXPECT_EQ(ChoiceCell(), nullptr);
}

TEST_F(PropertyGridTest, DeleteEmptiesEveryItemRowButTheFirst)
{
    struct Case {
        int row;
        bool empties;
    } cases[] = {{kName, false}, {kType, true}, {kWeight, true}, {kAlias, true}, {14, false}};
    for (const Case& c : cases) {
        changes.clear();
        const QString before = c.row < kSampleItems ? Value(c.row) : QString();
        grid->SetCurrentRow(c.row);
        Key(grid, Qt::Key_Delete);
        if (c.empties) {
            EXPECT_EQ(Value(c.row), QString()) << c.row;
            EXPECT_EQ(CellText(c.row, 1), QString()) << c.row;
            EXPECT_EQ(changes, Only(node->Items().At(c.row).Name())) << c.row;
        } else {
            if (c.row < kSampleItems) {
                EXPECT_EQ(Value(c.row), before);
            }
            EXPECT_TRUE(changes.empty()) << c.row;
        }
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
    EXPECT_EQ(cell->text(), QStringLiteral("tn1"));
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
    enum class Ending { Enter, KeypadEnter, Escape, FocusLoss, EscapeThenFocusLoss };
    struct Case {
        Ending ending;
        bool commits;
    } cases[] = {{Ending::Enter, true},
                 {Ending::KeypadEnter, true},
                 {Ending::Escape, false},
                 {Ending::FocusLoss, true},
                 {Ending::EscapeThenFocusLoss, false}};
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.ending));
        changes.clear();
        const QString typed = QStringLiteral("v%1").arg(++round);
        const QString before = Value(kText);
        ASSERT_TRUE(grid->StartEdit(kText, 1));
        CExEditCell* cell = TextCell();
        ASSERT_NE(cell, nullptr);
        QTest::keyClicks(cell, typed);
        switch (c.ending) {
        case Ending::Enter:
            Key(cell, Qt::Key_Return);
            break;
        case Ending::KeypadEnter:
            Key(cell, Qt::Key_Enter, Qt::KeypadModifier);
            break;
        case Ending::Escape:
            Key(cell, Qt::Key_Escape);
            break;
        case Ending::FocusLoss:
            elsewhere->setFocus();
            ProcessEvents();
            break;
        case Ending::EscapeThenFocusLoss:
            Key(cell, Qt::Key_Escape);
            elsewhere->setFocus();
            ProcessEvents();
            break;
        }
        EXPECT_EQ(TextCell(), nullptr);
        if (c.commits) {
            EXPECT_EQ(Value(kText), typed);
            EXPECT_EQ(CellText(kText, 1), typed);
            EXPECT_EQ(changes, Only("Text"));
        } else {
            EXPECT_EQ(Value(kText), before);
            EXPECT_TRUE(changes.empty());
        }
        grid->setFocus();
    }
}

TEST_F(PropertyGridTest, UpAndDownInTheTextCellCommitAndMoveTheCell)
{
    ASSERT_TRUE(grid->StartEdit(kName, 1));
    QTest::keyClicks(TextCell(), QStringLiteral("n0"));
    Key(TextCell(), Qt::Key_Up);
    EXPECT_EQ(Value(kName), QStringLiteral("n0"));
    EXPECT_EQ(TextCell(), nullptr) << "nothing above row 0";

    ASSERT_TRUE(grid->StartEdit(kText, 1));
    QTest::keyClicks(TextCell(), QStringLiteral("t2"));
    Key(TextCell(), Qt::Key_Down);
    EXPECT_EQ(Value(kText), QStringLiteral("t2"));
    CExEditCell* next = TextCell();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->Row(), kAlign);
    EXPECT_EQ(next->text(), QStringLiteral("CENTER"));
    EXPECT_EQ(next->selectedText(), QStringLiteral("CENTER"));
    EXPECT_EQ(grid->CurrentRow(), kAlign);
    QTest::keyClicks(next, QStringLiteral("RIGHT"));
    Key(next, Qt::Key_Up);
    ASSERT_NE(TextCell(), nullptr);
    EXPECT_EQ(TextCell()->Row(), kText);
    Key(TextCell(), Qt::Key_Escape);
    EXPECT_EQ(Value(kAlign), QStringLiteral("RIGHT"));
    EXPECT_EQ(changes, (std::vector<Notice>{{node.get(), "Name"}, {node.get(), "Text"}, {node.get(), "Align"}}));

    changes.clear();
    ASSERT_TRUE(grid->StartEdit(kAlias, 1));
    Key(TextCell(), Qt::Key_Down);
    EXPECT_EQ(TextCell(), nullptr) << "blank rows take no cell";
    EXPECT_EQ(changes, Only("Alias"));
}

TEST_F(PropertyGridTest, TextCellWidensWhileTheTextOutgrowsIt)
{
    ASSERT_TRUE(grid->StartEdit(kName, 1));
    CExEditCell* cell = TextCell();
    ASSERT_NE(cell, nullptr);
    const int cellWidth = grid->visualRect(grid->model()->index(kName, 1)).width();
    EXPECT_EQ(cell->width(), cellWidth);
    QTest::keyClicks(cell, QStringLiteral("short"));
    EXPECT_EQ(cell->width(), cellWidth);
    const QString longer = QStringLiteral("a rather longer value, still typed");
    QTest::keyClicks(cell, longer);
    const int wanted = cell->fontMetrics().horizontalAdvance(cell->text()) + 5;
    const int rightEdge = grid->viewport()->width() - cell->x();
    ASSERT_GT(wanted, cellWidth);
    EXPECT_EQ(cell->width(), std::min(wanted, rightEdge));
    QTest::keyClicks(cell, QString(40, QLatin1Char('W')));
    EXPECT_EQ(cell->width(), rightEdge) << "not past the grid's right edge";
    Key(cell, Qt::Key_Escape);
}

TEST_F(PropertyGridTest, OpenTextCellMovesWithItsRowAndKeepsItsWidth)
{
    window->resize(420, 300);
    Settle();
    ASSERT_TRUE(grid->StartEdit(kText, 1));
    CExEditCell* cell = TextCell();
    QTest::keyClicks(cell, QStringLiteral("a value long enough to widen the cell"));
    const int widened = cell->width();
    ASSERT_GT(widened, grid->columnWidth(1));
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->value() + 2);
    ProcessEvents();
    EXPECT_EQ(cell->geometry().topLeft(), grid->visualRect(grid->model()->index(kText, 1)).topLeft());
    EXPECT_EQ(cell->width(), widened);
    Key(cell, Qt::Key_Return);
    EXPECT_EQ(Value(kText), QStringLiteral("a value long enough to widen the cell"));
}

TEST_F(PropertyGridTest, ShowingAnotherNodeClosesTheOpenCellWithoutACommit)
{
    ASSERT_TRUE(grid->StartEdit(kName, 1));
    QTest::keyClicks(TextCell(), QStringLiteral("typed"));
    auto other = MakeSampleNode();
    grid->ShowNode(other.get());
    Settle();
    EXPECT_EQ(TextCell(), nullptr);
    EXPECT_EQ(ToQ(other->Items().At(kName).Value()), QStringLiteral("btn1"));
    EXPECT_EQ(Value(kName), QStringLiteral("btn1"));
    EXPECT_TRUE(changes.empty());
    ASSERT_TRUE(grid->StartEdit(kAlign, 1)) << "the grid edits again";
    Key(ChoiceCell()->view(), Qt::Key_Escape);
}

TEST_F(PropertyGridTest, UnrepresentableTextIsRefused)
{
    struct Case {
        const char* typed;
        const char* named;
    } cases[] = {{"OK😀", "U+1F600"}, {"한글", "U+D55C"}};
    for (const Case& c : cases) {
        changes.clear();
        ASSERT_TRUE(grid->StartEdit(kText, 1));
        CExEditCell* cell = TextCell();
        ASSERT_NE(cell, nullptr);
        const QString typed = Utf8(c.typed);
        QTest::sendKeyEvent(QTest::Click, cell, Qt::Key_unknown, typed, Qt::NoModifier);
        ASSERT_EQ(cell->text(), typed);
        Key(cell, Qt::Key_Return);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(prompts.messages[0].text, UnrepresentableTextMessage(UnrepresentableCharacters(typed)));
        EXPECT_TRUE(prompts.messages[0].text.contains(QString::fromLatin1(c.named)));
        prompts.messages.clear();
        EXPECT_EQ(Value(kText), Utf8("ボタン"));
        EXPECT_TRUE(changes.empty());
    }
    EXPECT_FALSE(grid->Commit(kName, Utf8("😀")));
    EXPECT_EQ(prompts.TakeMessages().size(), 1u);
    EXPECT_TRUE(grid->Commit(kName, Utf8("名前～")));
    EXPECT_EQ(node->Items().At(kName).Value(), Sjis("名前～"));
    EXPECT_TRUE(prompts.messages.empty());
}

// Choice cell

TEST(PropertyGridChoices, PrefixSearchStartsAtTheSecondEntryAndWraps)
{
    const QStringList aligns = {"LEFT", "CENTER", "RIGHT", "LEFT|TOP"};
    struct Case {
        QStringList choices;
        QString text;
        int expected;
    } cases[] = {
        {aligns, "CENTER", 1},
        {aligns, "LEFT", 3},  // the second entry on comes first
        {aligns, "left|", 3}, // letter case ignored
        {aligns, "rig", 2},
        {aligns, "nothing", 0}, // not found: the first entry
        {aligns, "", 0},
        {{"LEFT", "CENTER", "RIGHT"}, "le", 0}, // found only after wrapping
        {{"true", "false"}, "T", 0},
        {{"true", "false"}, "FALSE", 1},
        {{"only"}, "on", 0},
        {{}, "x", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindChoiceByPrefix(c.choices, c.text), c.expected) << c.text.toStdString();
}

TEST_F(PropertyGridTest, ChoiceCellPreselectsByPrefix)
{
    struct Case {
        const char* value;
        const char* selected;
    } cases[] = {{"CENTER", "CENTER"}, {"left", "LEFT|TOP"}, {"ri", "RIGHT"}, {"TOP", "LEFT"}, {"", "LEFT"}};
    for (const Case& c : cases) {
        node->Items().At(kAlign).SetValue(c.value);
        ASSERT_TRUE(grid->StartEdit(kAlign, 1));
        CComboBoxCell* cell = ChoiceCell();
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->currentText(), QString::fromLatin1(c.selected)) << c.value;
        Key(cell->view(), Qt::Key_Escape);
    }
    EXPECT_TRUE(changes.empty());
}

TEST_F(PropertyGridTest, ChoosingInTheListCommitsAndCloses)
{
    ASSERT_TRUE(grid->StartEdit(kAlign, 1));
    ClickEntry(ChoiceCell(), QStringLiteral("RIGHT"));
    EXPECT_EQ(Value(kAlign), QStringLiteral("RIGHT"));
    EXPECT_EQ(changes, Only("Align"));
    EXPECT_EQ(ChoiceCell(), nullptr);

    changes.clear();
    Click(kOnClick, 2);
    ClickEntry(ChoiceCell(), QStringLiteral("CONDITION"));
    EXPECT_EQ(Value(kOnClick), QStringLiteral("CONDITION"));
    EXPECT_EQ(changes, Only("OnClick"));

    changes.clear();
    ASSERT_TRUE(grid->StartEdit(kHide, 2));
    QAbstractItemView* list = ListOf(ChoiceCell());
    ASSERT_EQ(list->currentIndex().row(), 1);
    Key(list, Qt::Key_Up);
    Key(list, Qt::Key_Return);
    EXPECT_EQ(Value(kHide), QStringLiteral("true"));
    EXPECT_EQ(changes, Only("Hide"));
    EXPECT_EQ(ChoiceCell(), nullptr);
}

TEST_F(PropertyGridTest, ChoiceCellEscapeAndFocusLoss)
{
    // Escape in the list closes the cell without a commit.
    ASSERT_TRUE(grid->StartEdit(kAlign, 2));
    QAbstractItemView* list = ListOf(ChoiceCell());
    Key(list, Qt::Key_Down);
    Key(list, Qt::Key_Escape);
    EXPECT_EQ(ChoiceCell(), nullptr);
    EXPECT_EQ(Value(kAlign), QStringLiteral("CENTER"));
    EXPECT_TRUE(changes.empty());

    // Losing the focus commits the selected entry.
    ASSERT_TRUE(grid->StartEdit(kAlign, 2));
    CComboBoxCell* cell = ChoiceCell();
    list = ListOf(cell);
    Key(list, Qt::Key_Down);
    cell->hidePopup();
    Settle();
    ASSERT_NE(ChoiceCell(), nullptr) << "closing the list leaves the cell open";
    elsewhere->setFocus();
    Settle();
    EXPECT_EQ(ChoiceCell(), nullptr);
    EXPECT_EQ(Value(kAlign), QStringLiteral("RIGHT"));
    EXPECT_EQ(changes, Only("Align"));

    // ... or the text typed into it.
    changes.clear();
    ASSERT_TRUE(grid->StartEdit(kColour, 2));
    cell = ChoiceCell();
    cell->hidePopup();
    Settle();
    cell->lineEdit()->selectAll();
    QTest::keyClicks(cell, QStringLiteral("#102030"));
    elsewhere->setFocus();
    ProcessEvents();
    EXPECT_EQ(Value(kColour), QStringLiteral("#102030"));
    EXPECT_EQ(changes, Only("BGColor"));
}

TEST_F(PropertyGridTest, ChoiceCellKeysAfterTheListClosed)
{
    struct Case {
        Qt::Key key;
        bool commits;
    } cases[] = {{Qt::Key_Escape, false}, {Qt::Key_Return, true}};
    for (const Case& c : cases) {
        changes.clear();
        node->Items().At(kColour).SetValue("red");
        ASSERT_TRUE(grid->StartEdit(kColour, 2));
        CComboBoxCell* cell = ChoiceCell();
        cell->hidePopup();
        Settle();
        ASSERT_EQ(QApplication::focusWidget(), cell);
        cell->lineEdit()->selectAll();
        QTest::keyClicks(cell, QStringLiteral("GREEN"));
        EXPECT_EQ(cell->count(), 4) << "typed text is not added to the choices";
        Key(cell, c.key);
        EXPECT_EQ(ChoiceCell(), nullptr);
        EXPECT_EQ(Value(kColour), c.commits ? QStringLiteral("GREEN") : QStringLiteral("red"));
        EXPECT_EQ(changes.size(), c.commits ? 1u : 0u);
    }
}

TEST_F(PropertyGridTest, OnlyOneChoiceCellIsOpen)
{
    ASSERT_TRUE(grid->StartEdit(kAlign, 2));
    CComboBoxCell* first = ChoiceCell();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(grid->StartEdit(kHide, 2));
    ProcessEvents();
    std::vector<CComboBoxCell*> open;
    for (CComboBoxCell* cell : grid->findChildren<CComboBoxCell*>())
        if (cell->isVisible())
            open.push_back(cell);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]->Row(), kHide);
    EXPECT_EQ(changes, Only("Align")) << "the first cell ended as losing the focus ends it";
}

// With the real item sets

TEST_F(PropertyGridTest, ObjectItemsShowWithTheirKinds)
{
    auto button = std::make_shared<CObjectData>(nullptr);
    BuildObjectItems(*button, OBJ_BUTTON);
    grid->ShowNode(button.get());
    const int rows = button->Items().Count();
    EXPECT_EQ(grid->model()->rowCount(), rows + 10);
    int onClick = -1;
    for (int row = 0; row < rows; ++row)
        if (button->Items().At(row).Name() == "OnClick")
            onClick = row;
    ASSERT_GE(onClick, 0);
    EXPECT_EQ(CellText(onClick, 2), Utf8("▼"));
    ASSERT_TRUE(grid->StartEdit(onClick, 2));
    CComboBoxCell* cell = ChoiceCell();
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->currentText(), Utf8("キャンセル")) << "an empty event starts on the cancel choice";
    ClickEntry(cell, QStringLiteral("UPDATE"));
    EXPECT_EQ(button->Items().At(onClick).Value(), "UPDATE");
    EXPECT_EQ(changes, (std::vector<Notice>{{button.get(), "OnClick"}}));
}

} // namespace
} // namespace vesk
