// The side panel: its tabs, the picture lists driven by mouse, keyboard and assistive tools,
// activation of entries, and the link log with its markers, colours and font.
#include <gtest/gtest.h>

#include <functional>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAbstractItemModel>
#include <QDir>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QPlainTextEdit>

#include "chrome/uitext.h"
#include "guitestsupport.h"
#include "link/linklog.h"
#include "render/dibimage.h"
#include "shell/imagelistctrl.h"
#include "shell/logdlg.h"

namespace vesk {
namespace {

using test::Sjis;
using K = SidePanelListKind;

struct Activation {
    K kind;
    std::string name;
    bool operator==(const Activation&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Activation& a)
{
    return out << static_cast<int>(a.kind) << ":" << a.name;
}

void WritePictures(const QString& folder, std::initializer_list<const char*> names, QSize size = QSize(8, 8))
{
    QDir().mkpath(folder);
    for (const char* name : names) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(QDir(folder).filePath(QString::fromUtf8(name))));
    }
}

/// The pictures of the four lists, in a temporary folder.
class PictureFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        WritePictures(Folder("objects"),
                      {"01_BUTTON.png", "02_TEXT.png", "03_CHECK.png", "11_FRAME.png", "12_LINEAR.png"});
        WritePictures(Folder("assets"), {"apple.png", "arrow.png", "bird.png"}, QSize(64, 48));
        WritePictures(Folder("resources"), {"bg.png"});
        WritePictures(Folder("samples"), {"Clipboard.png"});
        LoadPictureFolder(m_objects, PathFromQ(Folder("objects")));
        LoadPictureFolder(m_builtin, PathFromQ(Folder("assets")));
        LoadPictureFolder(m_station, PathFromQ(Folder("resources")));
        ASSERT_TRUE(m_clipboard.LoadFile(PathFromQ(Folder("samples") + QStringLiteral("/Clipboard.png"))));
    }

    QString Folder(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir m_dir;
    CDibImageList m_objects;
    CDibImageList m_clipboard;
    CDibImageList m_builtin;
    CDibImageList m_station;
};

/// A list shown standalone, three cells wide: objects lie in rows {0 1 2} and {3 4}.
class PictureListTest : public PictureFolders {
protected:
    void SetUp() override
    {
        PictureFolders::SetUp();
        m_list = std::make_unique<CImageListCtrl>(K::InsertedObjects, m_objects);
        m_list->show();
        m_list->resize(300, 400);
        test::ProcessEvents();
        m_list->resize(3 * 65 + m_list->width() - m_list->viewport()->width(), 400);
        test::ProcessEvents();
        ASSERT_EQ(m_list->ColumnsPerRow(), 3);
        ASSERT_EQ(m_list->RowCount(), 2);
        ConnectActivations();
    }

    void ConnectActivations()
    {
        QObject::connect(m_list.get(), &CImageListCtrl::entryActivated, [this](K kind, const std::string& name) {
            m_activations.push_back({kind, name});
        });
    }

    QPoint CentreOf(int row, int column) const
    {
        return m_list->visualRect(m_list->model()->index(row, column)).center();
    }

    std::unique_ptr<CImageListCtrl> m_list;
    std::vector<Activation> m_activations;
};

TEST_F(PictureListTest, ClickSelectsThePictureUnderThePointer)
{
    const struct Step {
        QPoint at;
        int expected;
    } steps[] = {
        {CentreOf(0, 1), 1},  {CentreOf(1, 2), 1}, // empty cell: the selection stays
        {QPoint(10, 300), 1},                      // below every row
        {CentreOf(1, 0), 3},  {CentreOf(0, 2), 2},
    };
    for (const Step& step : steps) {
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, step.at);
        test::ProcessEvents();
        EXPECT_EQ(m_list->SelectedIndex(), step.expected) << step.at.x() << "," << step.at.y();
        // The view's own selection follows, so that assistive technology reads it.
        const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(m_list->PictureAt(selected[0].row(), selected[0].column()), step.expected);
    }
    // Control-clicking the selected picture does not deselect it.
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, Qt::ControlModifier, CentreOf(0, 2));
    test::ProcessEvents();
    EXPECT_EQ(m_list->SelectedIndex(), 2);
    EXPECT_EQ(m_list->selectionModel()->selectedIndexes().size(), 1);
    std::string name;
    K kind = K::Clipboard;
    ASSERT_TRUE(m_list->GetSelectedEntry(name, kind));
    EXPECT_EQ(name, "CHECK");
    EXPECT_EQ(kind, K::InsertedObjects);
    EXPECT_TRUE(m_activations.empty());
}

TEST_F(PictureListTest, ArrowKeysWalkThePictures)
{
    const struct Case {
        int start;
        Qt::Key key;
        int expected;
    } cases[] = {
        {0, Qt::Key_Right, 1}, {2, Qt::Key_Right, 3}, {4, Qt::Key_Right, 4}, {0, Qt::Key_Left, 0}, {3, Qt::Key_Left, 2},
        {1, Qt::Key_Down, 4},  {2, Qt::Key_Down, 4},  {0, Qt::Key_Down, 3},  {3, Qt::Key_Down, 3}, {3, Qt::Key_Up, 0},
        {4, Qt::Key_Up, 1},    {0, Qt::Key_Up, 0},    {2, Qt::Key_Home, 0},  {0, Qt::Key_End, 4},
    };
    for (const Case& c : cases) {
        m_list->SetSelectedIndex(c.start);
        QTest::keyClick(m_list.get(), c.key);
        test::ProcessEvents();
        EXPECT_EQ(m_list->SelectedIndex(), c.expected) << c.start << " key " << c.key;
        EXPECT_EQ(m_list->PictureAt(m_list->currentIndex().row(), m_list->currentIndex().column()), c.expected);
    }
    EXPECT_TRUE(m_activations.empty());
}

TEST_F(PictureListTest, DoubleClickAndEnterActivateThePicture)
{
    using Action = std::function<void()>;
    const struct Case {
        const char* what;
        int selectedBefore;
        Action act;
        std::vector<Activation> expected;
        int selectedAfter;
    } cases[] = {
        {"double click",
         -1,
         [&] { QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, CentreOf(0, 1)); },
         {{K::InsertedObjects, "TEXT"}},
         1},
        {"double click on an empty cell",
         4,
         [&] { QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, CentreOf(1, 2)); },
         {},
         4},
        {"Enter", 3, [&] { QTest::keyClick(m_list.get(), Qt::Key_Enter); }, {{K::InsertedObjects, "FRAME"}}, 3},
        {"Return", 0, [&] { QTest::keyClick(m_list.get(), Qt::Key_Return); }, {{K::InsertedObjects, "BUTTON"}}, 0},
        {"Enter after moving",
         0,
         [&] {
             QTest::keyClick(m_list.get(), Qt::Key_Down);
             QTest::keyClick(m_list.get(), Qt::Key_Return);
         },
         {{K::InsertedObjects, "FRAME"}},
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_list->SetSelectedIndex(c.selectedBefore);
        m_activations.clear();
        c.act();
        test::ProcessEvents();
        EXPECT_EQ(m_activations, c.expected);
        EXPECT_EQ(m_list->SelectedIndex(), c.selectedAfter);
    }
}

TEST_F(PictureListTest, AssistiveToolsReadAndSelectCells)
{
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(m_list.get());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("挿入オブジェクト"));
    QAccessibleTableInterface* table = list->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnCount(), 3);
    QAccessibleInterface* text = table->cellAt(0, 1);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(QAccessible::Name), QStringLiteral("TEXT"));
    QAccessibleInterface* frame = table->cellAt(1, 0);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->text(QAccessible::Name), QStringLiteral("FRAME"));

    // Selecting a cell through its accessible action selects the picture.
    QAccessibleActionInterface* action = frame->actionInterface();
    ASSERT_NE(action, nullptr);
    ASSERT_TRUE(action->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    action->doAction(QAccessibleActionInterface::toggleAction());
    test::ProcessEvents();
    EXPECT_EQ(m_list->SelectedIndex(), 3);
    // Clearing the view's selection does not leave the list without a selected picture.
    m_list->clearSelection();
    test::ProcessEvents();
    EXPECT_EQ(m_list->SelectedIndex(), 3);
    EXPECT_EQ(table->selectedCellCount(), 1);
}

TEST_F(PictureListTest, SelectByNameAndRefreshKeepThePosition)
{
    const struct Case {
        std::string name;
        int expected;
    } cases[] = {
        {"03_CHECK.png", 2}, {"03_check.png", 2}, {"CHECK", 2}, {"missing.png", 2}, {"12_LINEAR.png", 4},
    };
    m_list->SetSelectedIndex(2);
    for (const Case& c : cases) {
        m_list->SelectByName(c.name);
        EXPECT_EQ(m_list->SelectedIndex(), c.expected) << c.name;
    }

    // After a reload the index designates whatever picture has that position.
    m_list->SetSelectedIndex(1);
    m_objects.Clear();
    WritePictures(Folder("other"), {"05_A.png", "06_B.png", "07_C.png"});
    LoadPictureFolder(m_objects, PathFromQ(Folder("other")));
    m_list->Refresh();
    std::string name;
    K kind;
    ASSERT_TRUE(m_list->GetSelectedEntry(name, kind));
    EXPECT_EQ(name, "B");
    EXPECT_EQ(m_list->RowCount(), 1);

    // A position beyond the new list designates nothing.
    m_list->SetSelectedIndex(2);
    m_objects.Clear();
    m_list->Refresh();
    EXPECT_EQ(m_list->SelectedIndex(), -1);
    EXPECT_FALSE(m_list->GetSelectedEntry(name, kind));
    EXPECT_EQ(m_list->RowCount(), 0);
}

// --- The panel ------------------------------------------------------------------------------

class SidePanelTest : public PictureFolders {
protected:
    void SetUp() override
    {
        PictureFolders::SetUp();
        m_panel = std::make_unique<CLogDlg>(m_objects, m_clipboard, m_builtin, m_station);
        m_panel->resize(500, 300);
        m_panel->show();
        test::ProcessEvents();
        m_tabs = m_panel->findChild<QTabWidget*>(QStringLiteral("sidePanelTabs"));
        ASSERT_NE(m_tabs, nullptr);
        QObject::connect(m_panel.get(), &CLogDlg::entryActivated, [this](K kind, const std::string& name) {
            m_activations.push_back({kind, name});
        });
    }

    std::unique_ptr<CLogDlg> m_panel;
    QTabWidget* m_tabs = nullptr;
    std::vector<Activation> m_activations;
};

TEST_F(SidePanelTest, FiveNamedTabsInOrder)
{
    const struct Tab {
        QString text;
        QWidget* page;
        QString objectName;
    } tabs[] = {
        {QStringLiteral("挿入オブジェクト"), &m_panel->List(K::InsertedObjects), QStringLiteral("insertedObjectsList")},
        {QStringLiteral("クリップボード"), &m_panel->List(K::Clipboard), QStringLiteral("clipboardList")},
        {QStringLiteral("標準画像(BUILTIN)"), &m_panel->List(K::BuiltinImages), QStringLiteral("builtinImagesList")},
        {QStringLiteral("ユーザ登録画像(STATION)"), &m_panel->List(K::StationImages),
         QStringLiteral("stationImagesList")},
        {QStringLiteral("通信ログ"), &m_panel->LogView(), QStringLiteral("linkLog")},
    };
    ASSERT_EQ(m_tabs->count(), 5);
    EXPECT_EQ(m_panel->CurrentPage(), kPageInsertedObjects);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m_tabs->tabText(i), tabs[i].text);
        EXPECT_EQ(m_tabs->widget(i), tabs[i].page);
        EXPECT_EQ(tabs[i].page->objectName(), tabs[i].objectName);
        EXPECT_EQ(tabs[i].page->accessibleName(), tabs[i].text);
    }
    EXPECT_EQ(m_panel->List(K::Clipboard).Kind(), K::Clipboard);
    EXPECT_EQ(m_panel->List(K::BuiltinImages).Kind(), K::BuiltinImages);
    EXPECT_TRUE(m_panel->List(K::InsertedObjects).isVisible());
    EXPECT_FALSE(m_panel->LogView().isVisible());
}

TEST_F(SidePanelTest, ShowPageSelectsTabsAboveTheFirst)
{
    const struct Step {
        int index;
        int expected;
    } steps[] = {{2, 2}, {0, 2}, {4, 4}, {-1, 4}, {1, 1}, {3, 3}};
    for (const Step& step : steps) {
        m_panel->ShowPage(step.index);
        EXPECT_EQ(m_panel->CurrentPage(), step.expected) << step.index;
        EXPECT_TRUE(m_tabs->widget(step.expected)->isVisible());
    }
}

TEST_F(SidePanelTest, SelectedEntryComesFromTheShownTab)
{
    m_panel->List(K::InsertedObjects).SetSelectedIndex(1);
    m_panel->List(K::Clipboard).SetSelectedIndex(0);
    m_panel->List(K::BuiltinImages).SelectByName("arrow.png");
    const struct Case {
        int page;
        bool found;
        std::string name;
        K kind;
    } cases[] = {
        {kPageInsertedObjects, true, "TEXT", K::InsertedObjects},
        {kPageClipboard, true, "Clipboard", K::Clipboard},
        {kPageBuiltinImages, true, "arrow.png", K::BuiltinImages},
        {kPageStationImages, false, "", K::StationImages},
        {kPageLinkLog, false, "", K::StationImages},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        m_tabs->setCurrentIndex(c.page); // as the user does
        std::string name = "unchanged";
        K kind = K::StationImages;
        ASSERT_EQ(m_panel->GetSelectedEntry(name, kind), c.found);
        if (c.found) {
            EXPECT_EQ(name, c.name);
            EXPECT_EQ(kind, c.kind);
        }
    }
}

TEST_F(SidePanelTest, DoubleClickOnAListReachesThePanel)
{
    m_panel->ShowPage(kPageClipboard);
    CImageListCtrl& clipboard = m_panel->List(K::Clipboard);
    const QPoint cell = clipboard.visualRect(clipboard.model()->index(0, 0)).center();
    QTest::mouseDClick(clipboard.viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(m_activations, std::vector<Activation>({{K::Clipboard, "Clipboard"}}));
}

// --- The link log ---------------------------------------------------------------------------

/// The log's lines (blocks) and the colours used on each.
struct LogLine {
    QString text;
    std::vector<QColor> colours;
};

std::vector<LogLine> LinesOf(const QTextDocument& document)
{
    std::vector<LogLine> lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        LogLine line{block.text(), {}};
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            line.colours.push_back(fragment.fragment().charFormat().foreground().color());
        lines.push_back(line);
    }
    return lines;
}

const QRegularExpression kTime(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]"));

TEST_F(SidePanelTest, LogLinesCarryTimeMarkerAndColour)
{
    const QColor black(0, 0, 0), red(255, 0, 0), blue(80, 80, 200), green(30, 170, 0), grey(100, 100, 100);
    const struct Case {
        std::string message;
        int level;
        std::vector<QString> shown; // after the time
        QColor colour;
    } cases[] = {
        {Sjis("接続しました"), LOG_INFO, {QStringLiteral("#接続しました")}, black},
        {Sjis("エラー: 送信できません\n詳細"),
         LOG_ERROR,
         {QStringLiteral("!エラー: 送信できません"), QStringLiteral("詳細")},
         red},
        {Sjis("受信：KEEPALIVE"), LOG_RECEIVED, {QStringLiteral("<受信：KEEPALIVE")}, blue},
        {Sjis("受信：DIALOG") + "\n{'Text':'表示'}",
         LOG_RECEIVED,
         {QStringLiteral("<受信：DIALOG"), QStringLiteral("{'Text':'表示'}")},
         blue},
        {"KEEPALIVE", LOG_SENT, {QStringLiteral(">KEEPALIVE")}, green},
        {"OnClose()", LOG_TRACE, {QStringLiteral("?OnClose()")}, grey},
        {"GET /a.png HTTP/1.0\r\nHost: x",
         7,
         {QStringLiteral("?GET /a.png HTTP/1.0"), QStringLiteral("Host: x")},
         grey},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        m_panel->ClearLog();
        m_panel->AddLog(c.message, c.level);
        const std::vector<LogLine> lines = LinesOf(*m_panel->LogView().document());
        ASSERT_EQ(lines.size(), c.shown.size() + 1); // the line end leaves an empty last line
        EXPECT_TRUE(lines.back().text.isEmpty());
        const QRegularExpressionMatch time = kTime.match(lines[0].text);
        ASSERT_TRUE(time.hasMatch()) << lines[0].text.toStdString();
        EXPECT_EQ(lines[0].text.mid(8), c.shown[0]);
        for (size_t i = 1; i < c.shown.size(); ++i)
            EXPECT_EQ(lines[i].text, c.shown[i]);
        for (size_t i = 0; i < c.shown.size(); ++i)
            for (const QColor& colour : lines[i].colours)
                EXPECT_EQ(colour, c.colour) << "line " << i;
    }
}

TEST_F(SidePanelTest, LogAppendsInItsFontWithoutUndoOrDisturbingTheUser)
{
    QPlainTextEdit& log = m_panel->LogView();
    EXPECT_TRUE(log.isReadOnly());
    EXPECT_EQ(log.accessibleName(), QStringLiteral("通信ログ"));
    const QFont font = log.document()->defaultFont();
    EXPECT_EQ(font.families().value(0), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_TRUE(font.families().contains(QStringLiteral("IPAGothic")));
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 10.5);
    EXPECT_EQ(QFontInfo(log.font()).family(), QStringLiteral("IPAGothic"));

    m_panel->AddLog("first line", LOG_INFO);
    m_panel->AddLog("second line", LOG_SENT);
    QTextCursor selection(log.document());
    selection.setPosition(9);
    selection.setPosition(14, QTextCursor::KeepAnchor);
    log.setTextCursor(selection);
    m_panel->AddLog("third line", LOG_ERROR);
    EXPECT_EQ(log.textCursor().selectedText(), QStringLiteral("first"));
    EXPECT_FALSE(log.document()->isUndoAvailable());
    EXPECT_EQ(log.toPlainText().count(QLatin1Char('\n')), 3);

    m_panel->ClearLog();
    EXPECT_TRUE(log.toPlainText().isEmpty());
    m_panel->AddLog("after clearing", LOG_ERROR);
    const std::vector<LogLine> lines = LinesOf(*log.document());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].text.endsWith(QStringLiteral("!after clearing")));
    EXPECT_EQ(lines[0].colours, std::vector<QColor>({QColor(255, 0, 0)}));
    EXPECT_EQ(log.document()->defaultFont().families().value(0), QStringLiteral("ＭＳ ゴシック"));
}

TEST_F(SidePanelTest, LogScrollsToItsEndAndStaysFast)
{
    m_panel->ShowPage(kPageLinkLog);
    test::ProcessEvents();
    QScrollBar* bar = m_panel->LogView().verticalScrollBar();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 10000; ++i)
        m_panel->AddLog("line " + std::to_string(i), i % 4);
    test::ProcessEvents();
    const qint64 elapsed = timer.elapsed();
    EXPECT_LT(elapsed, 4000) << "10,000 lines took " << elapsed << " ms";
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(m_panel->LogView().document()->blockCount(), 10001);
    EXPECT_TRUE(m_panel->LogView().document()->lastBlock().previous().text().endsWith(QStringLiteral(">line 9999")));
}

} // namespace
} // namespace vesk
