// The problems page of the side panel on the real main window: it follows edits and their undo
// (checking only after a burst of changes), counts in the status bar, marks the tree, sorts and
// filters, goes to a finding on a double click, and keeps the device sizes it checks.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTabWidget>

#include <fstream>
#include <sstream>

#include "editor/problemschecker.h"
#include "editor/problemspage.h"
#include "objects/devicesizes.h"
#include "editorfixture.h"
#include "shell/logdlg.h"

namespace vesk {
namespace {

class ProblemsPageTest : public test::EditorTest {
protected:
    CProblemsChecker& Checker() const { return frame->Problems(); }
    CProblemsPage& Page() const { return frame->ProblemsPage(); }
    QTableView& Table() const { return Page().Table(); }

    void WaitForChecks()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Checker().Pending(); }, 5000));
        test::ProcessEvents();
    }

    /// Each shown row as "severity code location item" (severity as the page shows it).
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        QAbstractItemModel& model = *Table().model();
        for (int row = 0; row < model.rowCount(); ++row) {
            std::string line;
            for (int column = 0; column < 4; ++column)
                line += (column ? " " : "") + model.index(row, column).data().toString().toStdString();
            rows.push_back(line);
        }
        return rows;
    }
    int CountRows(const std::string& line) const
    {
        const std::vector<std::string> rows = Rows();
        return static_cast<int>(std::count(rows.begin(), rows.end(), line));
    }
    bool MarkedInTree(const TekClass* node) const
    {
        return !Model().IndexOfNode(node).data(Qt::DecorationRole).isNull();
    }
};

TEST_F(ProblemsPageTest, IsATabOfTheSidePanelWithNamedControls)
{
    auto* tabs = frame->SidePanelDialog().findChild<QTabWidget*>(QStringLiteral("sidePanelTabs"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->widget(kPageProblems), &Page());
    EXPECT_EQ(tabs->tabText(kPageProblems), QStringLiteral("問題"));
    for (QWidget* widget : std::initializer_list<QWidget*>{&Page(), &Table(), &Page().SeverityFilter(),
                                                           &Page().SizesButton(), &frame->ProblemsCount()}) {
        EXPECT_FALSE(widget->objectName().isEmpty());
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
    }
    const std::vector<QString> headers = {QStringLiteral("重要度"), QStringLiteral("コード"), QStringLiteral("場所"),
                                          QStringLiteral("項目"), QStringLiteral("内容")};
    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(Table().model()->headerData(column, Qt::Horizontal), headers[static_cast<size_t>(column)]);
}

TEST_F(ProblemsPageTest, CountTextNamesErrorsThenWarnings)
{
    struct Case {
        int errors;
        int warnings;
        const char* text;
    };
    for (const Case& c :
         {Case{0, 0, "エラー 0 警告 0"}, Case{2, 5, "エラー 2 警告 5"}, Case{12, 0, "エラー 12 警告 0"}})
        EXPECT_EQ(CProblemsPage::CountText(c.errors, c.warnings), QString::fromUtf8(c.text));
    EXPECT_EQ(frame->ProblemsCount().text(), QStringLiteral("エラー 0 警告 0"));
    OpenDemo();
    WaitForChecks();
    EXPECT_EQ(Checker().Count(LintSeverity::Error), 1);
    EXPECT_EQ(frame->ProblemsCount().text(), CProblemsPage::CountText(1, Checker().Count(LintSeverity::Warning)));
    EXPECT_GT(Checker().Count(LintSeverity::Warning), 0);
}

TEST_F(ProblemsPageTest, FollowsAnEditAndItsUndoAfterTheBurst)
{
    OpenDemo();
    WaitForChecks();
    const std::vector<std::string> before = Rows();
    const std::string known = "エラー unknown-object Settings/settingsRoot/overlay/btnReset Name";
    EXPECT_EQ(CountRows(known), 1);
    EXPECT_TRUE(MarkedInTree(Node(2, "btnReset")));
    EXPECT_TRUE(MarkedInTree(&DialogAt(2)));
    EXPECT_FALSE(MarkedInTree(&DialogAt(0)));

    CObjectData* button = Node(0, "btnExit");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(Commit(button, "Width", QStringLiteral("abc")));
    ASSERT_TRUE(Commit(button, "TColor", QStringLiteral("#12")));
    // The two changes wait for the timer and are checked together.
    EXPECT_TRUE(Checker().Pending());
    EXPECT_EQ(Rows(), before);
    WaitForChecks();
    EXPECT_EQ(CountRows("エラー bad-length Main/root/btnExit Width"), 1);
    EXPECT_EQ(CountRows("エラー bad-colour Main/root/btnExit TColor"), 1);
    EXPECT_EQ(static_cast<int>(Rows().size()), static_cast<int>(before.size()) + 2);
    EXPECT_TRUE(MarkedInTree(button));
    EXPECT_TRUE(MarkedInTree(&DialogAt(0)));
    EXPECT_EQ(frame->ProblemsCount().text(), CProblemsPage::CountText(3, Checker().Count(LintSeverity::Warning)));
    // The Japanese message is the last column.
    bool messageShown = false;
    for (int row = 0; row < Table().model()->rowCount(); ++row)
        messageShown = messageShown || Table().model()->index(row, 4).data().toString() ==
                                           QStringLiteral("Width 'abc' は長さとして正しくありません");
    EXPECT_TRUE(messageShown);

    frame->UndoActive();
    frame->UndoActive();
    WaitForChecks();
    EXPECT_EQ(Rows(), before);
    EXPECT_FALSE(MarkedInTree(button));
    EXPECT_FALSE(MarkedInTree(&DialogAt(0)));
    EXPECT_EQ(frame->ProblemsCount().text(), CProblemsPage::CountText(1, Checker().Count(LintSeverity::Warning)));
}

TEST_F(ProblemsPageTest, RenamingADialogRechecksTheNamesAcrossTheProject)
{
    OpenDemo();
    WaitForChecks();
    const size_t before = Checker().Findings().size();
    ASSERT_TRUE(Commit(&DialogAt(1), "Name", QStringLiteral("2nd")));
    WaitForChecks();
    EXPECT_EQ(CountRows("エラー bad-dialog-name 2nd Name"), 1);
    EXPECT_TRUE(MarkedInTree(&DialogAt(1)));
    frame->UndoActive();
    WaitForChecks();
    EXPECT_EQ(CountRows("エラー bad-dialog-name 2nd Name"), 0);
    EXPECT_EQ(Checker().Findings().size(), before);
}

TEST_F(ProblemsPageTest, AChangeOfTheProjectsDeviceSizeChecksEveryDialogAgain)
{
    OpenDemo();
    WaitForChecks();
    auto atSize = [this](const char* size) {
        int count = 0;
        for (const ProblemEntry& entry : Checker().Findings())
            count += entry.finding->message.find(size) != std::string::npos ? 1 : 0;
        return count;
    };
    EXPECT_GT(atSize("at 480x800"), 0);
    TekClass& project = Resource();
    ClickNode(&project);
    ASSERT_TRUE(Panel().Grid().Commit(RowOf(project, "DeviceWidth"), QStringLiteral("320")));
    WaitForChecks();
    EXPECT_EQ(atSize("at 480x800"), 0);
    EXPECT_GT(atSize("at 320x800"), 0);
}

TEST_F(ProblemsPageTest, SortsByAColumnAndFiltersBySeverity)
{
    OpenDemo();
    WaitForChecks();
    struct Case {
        std::optional<LintSeverity> only;
        const char* shown;
    };
    for (const Case& c :
         {Case{LintSeverity::Error, "エラー"}, Case{LintSeverity::Warning, "警告"}, Case{LintSeverity::Info, "情報"}}) {
        Page().ShowOnly(c.only);
        EXPECT_EQ(Table().model()->rowCount(), Checker().Count(*c.only)) << c.shown;
        for (int row = 0; row < Table().model()->rowCount(); ++row)
            EXPECT_EQ(Table().model()->index(row, 0).data().toString(), QString::fromUtf8(c.shown));
    }
    Page().ShowOnly(std::nullopt);
    EXPECT_EQ(Table().model()->rowCount(), static_cast<int>(Checker().Findings().size()));

    // A click on the code column's header sorts by code, a second click the other way.
    const QHeaderView& header = *Table().horizontalHeader();
    const QPoint codeHeader(header.sectionViewportPosition(1) + 5, header.height() / 2);
    QTest::mouseClick(header.viewport(), Qt::LeftButton, Qt::NoModifier, codeHeader);
    std::vector<QString> codes;
    for (int row = 0; row < Table().model()->rowCount(); ++row)
        codes.push_back(Table().model()->index(row, 1).data().toString());
    ASSERT_GT(codes.size(), 2u);
    EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()) || std::is_sorted(codes.rbegin(), codes.rend()));
    EXPECT_NE(codes.front(), codes.back());
    // Sorting by severity puts the error at one end.
    Table().sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(Table().model()->index(0, 0).data().toString(), QStringLiteral("エラー"));
    EXPECT_FALSE(Table().model()->index(0, 0).data(Qt::DecorationRole).isNull());
}

TEST_F(ProblemsPageTest, DoubleClickSelectsTheNodeOpensItsDialogAndPutsTheGridOnTheItem)
{
    OpenDemo();
    WaitForChecks();
    frame->SidePanelDialog().ShowPage(kPageProblems);
    Page().ShowOnly(LintSeverity::Error);
    ASSERT_EQ(Table().model()->rowCount(), 1);
    CTekDialogData& settings = DialogAt(2);
    EXPECT_EQ(frame->WindowOf(settings), nullptr);
    Table().scrollTo(Table().model()->index(0, 2));
    const QRect cell = Table().visualRect(Table().model()->index(0, 2));
    QTest::mouseClick(Table().viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::mouseDClick(Table().viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    test::ProcessEvents();
    CObjectData* button = Node(2, "btnReset");
    EXPECT_EQ(frame->Project().Selected(), button);
    EXPECT_NE(frame->WindowOf(settings), nullptr);
    EXPECT_EQ(frame->ActiveDialog(), &settings);
    EXPECT_EQ(Panel().Grid().CurrentRow(), RowOf(*button, "Name"));
    EXPECT_EQ(CurrentItemNode(), button);
}

TEST_F(ProblemsPageTest, EnterOnAFindingGoesToItToo)
{
    OpenDemo();
    WaitForChecks();
    frame->SidePanelDialog().ShowPage(kPageProblems);
    Page().ShowOnly(LintSeverity::Warning);
    ASSERT_GT(Table().model()->rowCount(), 1);
    const int row = Table().model()->rowCount() - 1;
    const ProblemEntry* entry = Page().EntryAt(row);
    ASSERT_NE(entry, nullptr);
    TekClass* node = Checker().NodeOf(*entry);
    ASSERT_NE(node, nullptr);
    Table().setFocus();
    Table().setCurrentIndex(Table().model()->index(row, 0));
    QTest::keyClick(&Table(), Qt::Key_Return);
    test::ProcessEvents();
    EXPECT_EQ(frame->Project().Selected(), node);
    EXPECT_EQ(frame->ActiveDialog(), frame->Project().DialogOf(*node));
}

TEST_F(ProblemsPageTest, TheSizesDialogOffersThePresetsAndAnySizeChosenBefore)
{
    struct Case {
        std::vector<LayoutArea> chosen;
        int extra;
    };
    for (const Case& c : {Case{{}, 0}, Case{{{480, 800}}, 0}, Case{{{123, 456}, {480, 800}}, 1}}) {
        CLintSizesDlg dialog(c.chosen);
        EXPECT_EQ(dialog.List().count(), static_cast<int>(DeviceSizePresets().size()) + c.extra);
        const std::vector<LayoutArea> answered = dialog.ChosenSizes();
        ASSERT_EQ(answered.size(), c.chosen.size());
        for (const LayoutArea& size : c.chosen)
            EXPECT_TRUE(std::any_of(answered.begin(), answered.end(), [&](const LayoutArea& a) {
                return a.width == size.width && a.height == size.height;
            }));
        for (int row = 0; row < dialog.List().count(); ++row)
            EXPECT_FALSE(dialog.List().item(row)->text().isEmpty());
    }
}

TEST_F(ProblemsPageTest, TheSizesChosenAreCheckedAndKeptInTheSettings)
{
    OpenDemo();
    WaitForChecks();
    auto atSize = [this](const char* size) {
        int count = 0;
        for (const ProblemEntry& entry : Checker().Findings())
            count += entry.finding->messageJa.find(size) != std::string::npos ? 1 : 0;
        return count;
    };
    EXPECT_EQ(atSize("240x320"), 0);
    EXPECT_GT(atSize("480x800"), 0);

    QDialog* dialog = frame->ChooseLintSizes();
    ASSERT_NE(dialog, nullptr);
    auto* list = dialog->findChild<QListWidget*>(QStringLiteral("lintSizesList"));
    ASSERT_NE(list, nullptr);
    ASSERT_GE(list->count(), 2);
    QListWidgetItem* small = nullptr;
    for (int row = 0; row < list->count(); ++row) {
        EXPECT_EQ(list->item(row)->checkState(), Qt::Unchecked);
        if (list->item(row)->text() == QStringLiteral("240x320"))
            small = list->item(row);
    }
    ASSERT_NE(small, nullptr);
    small->setCheckState(Qt::Checked);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("lintSizesOk")), Qt::LeftButton);
    WaitForChecks();
    ASSERT_EQ(Checker().Options().deviceSizes.size(), 1u);
    EXPECT_EQ(Checker().Options().deviceSizes[0].width, 240);
    EXPECT_GT(atSize("240x320"), 0);

    ASSERT_TRUE(frame->WriteSettings());
    std::ifstream file(paths.settingsFile);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("LintSizes=240x320"), std::string::npos);

    // A new window reads them back; the dialog offers them checked, and a cancel keeps them.
    frame.reset();
    MakeFrame();
    ASSERT_EQ(Checker().Options().deviceSizes.size(), 1u);
    EXPECT_EQ(Checker().Options().deviceSizes[0].height, 320);
    dialog = frame->ChooseLintSizes();
    list = dialog->findChild<QListWidget*>(QStringLiteral("lintSizesList"));
    int checked = 0;
    for (int row = 0; row < list->count(); ++row)
        checked += list->item(row)->checkState() == Qt::Checked ? 1 : 0;
    EXPECT_EQ(checked, 1);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("lintSizesCancel")), Qt::LeftButton);
    EXPECT_EQ(Checker().Options().deviceSizes.size(), 1u);
}

TEST_F(ProblemsPageTest, TheViewMenuAndThePageButtonOpenTheSizesDialog)
{
    for (auto open : std::initializer_list<std::function<void()>>{
             [this] { frame->Action("actionLintSizes")->trigger(); },
             [this] { QTest::mouseClick(&Page().SizesButton(), Qt::LeftButton); }}) {
        open();
        test::ProcessEvents();
        auto* dialog = frame->findChild<CLintSizesDlg*>(QStringLiteral("lintSizesDialog"));
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        dialog->reject();
        test::ProcessEvents();
        delete frame->findChild<CLintSizesDlg*>(QStringLiteral("lintSizesDialog"));
    }
}

} // namespace
} // namespace vesk
