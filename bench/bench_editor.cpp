// The editor's windows on large projects, offscreen: opening a ~10 MB project until the tree is
// shown, painting a 2,000-object preview, selecting by a click, committing a property, undoing,
// grouping 100 objects, dragging one object to another place, a commit on 500 marked objects,
// live push to a simulated terminal over loopback, and the time the recovery journal of the
// ~10 MB project holds the GUI thread.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QElapsedTimer>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "benchproject.h"
#include "chrome/prompts.h"
#include "document/recoveryjournal.h"
#include "editor/dialogview.h"
#include "editor/dragdrop.h"
#include "editor/linkpage.h"
#include "editor/problemschecker.h"
#include "editor/livepush.h"
#include "editor/propertylistctrl.h"
#include "editor/resourcedlg.h"
#include "editor/resourcetreectrl.h"
#include "editor/resourcetreemodel.h"
#include "link/linkcontroller.h"
#include "link/linklog.h"
#include "link/terminalsimulator.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "model/savefile.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "render/paintersurface.h"
#include "render/previewpainter.h"
#include "shell/mainframe.h"

using namespace vesk;

namespace {

/// Prompts that answer at once and show nothing.
class SilentPrompts : public Prompts {
public:
    MessageAnswer ShowMessage(QWidget*, const QString&, MessageIcon, MessageButtons) override
    {
        return MessageAnswer::No;
    }
    int AskChoice(QWidget*, const QString&, const QStringList&, int, int escapeButton) override { return escapeButton; }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString ChooseFolder(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
};

class SilentLog : public LinkLog {
public:
    void AddLog(const std::string&, int) override {}
    void ShowMessage(const std::string&) override {}
};

void AddObject(CObjectDataList& parent, int serial)
{
    static const int types[] = {OBJ_TEXT, OBJ_BUTTON, OBJ_EDIT, OBJ_CHECKBOX, OBJ_PICTURE, OBJ_PROGRESS, OBJ_TOGGLE};
    auto object = std::make_shared<CObjectData>(&parent);
    BuildObjectItems(*object, types[serial % std::size(types)]);
    object->SetItem("Name", "obj" + std::to_string(serial));
    object->SetItem("Width", serial % 3 ? "PARENT" : "48");
    object->SetItem("Height", std::to_string(10 + serial % 20));
    object->SetItem("Weight", "1");
    object->SetItem("Text", "Text " + std::to_string(serial));
    if (serial % 4 == 0) {
        auto command = std::make_shared<TekClass>(NodeType::Command);
        BuildCommandItems(*command, "UPDATE", "OnClick");
        object->AddCommand(command);
    }
    parent.AppendChild(object);
}

GroupPtr AddGroup(CObjectDataList* parent, int layout, const std::string& name)
{
    auto group = std::make_shared<CObjectDataList>(parent);
    BuildGroupItems(*group, layout);
    group->SetItem("Name", name);
    group->SetItem("Width", "PARENT");
    group->SetItem("Weight", "1");
    if (parent)
        parent->AppendChild(group);
    return group;
}

/// A dialog of groups of 50 objects each, about objects objects in all.
void FillDialog(CTekDialogData& dialog, int objects, int& serial)
{
    GroupPtr root = AddGroup(nullptr, LAYOUT_LINEAR, "root");
    root->SetItem("Vertical", "true");
    for (int made = 0, section = 0; made < objects; ++section) {
        GroupPtr group =
            AddGroup(root.get(), section % 2 ? LAYOUT_LINEAR : LAYOUT_TABLE, "section" + std::to_string(section));
        for (int i = 0; i < 50 && made < objects; ++i, ++made)
            AddObject(*group, serial++);
    }
    dialog.SetRoot(root);
}

/// A project text: dialogs dialogs of objectsEach objects.
std::string ProjectText(int dialogs, int objectsEach)
{
    CTekResourceData resource;
    resource.SetItem("Name", "BenchTerminal");
    resource.SetItem("DeviceWidth", "480");
    resource.SetItem("DeviceHeight", "800");
    int serial = 0;
    for (int d = 0; d < dialogs; ++d)
        FillDialog(resource.Dialogs().AddDialog("Dialog" + std::to_string(d)), objectsEach, serial);
    CJsonString text;
    WriteResource(resource, text, "");
    return text.TakeText();
}

/// A main window (offscreen) holding a project file made from text.
struct Editor {
    explicit Editor(const std::string& text)
    {
        path = dir.path().toStdString() + "/bench.veskspro";
        WriteFileAtomically(path, text);
        ShellPaths paths = ShellPaths::ForProgramFolder(VESK_RUNTIME_DIR);
        paths.settingsFile = dir.path().toStdString() + "/settings.ini";
        paths.recoveryFolder = dir.path().toStdString() + "/recovery/";
        frame = std::make_unique<CMainFrame>(paths, prompts);
        frame->show();
        QApplication::processEvents();
    }
    /// Opens the project and the first dialog's window at 1000 x 800.
    CTekDialogEditorView& OpenFirstDialog()
    {
        frame->OpenFile(path);
        CResourceDlg& panel = frame->ResourcePanel();
        CTekDialogData& dialog = frame->Project().Resource().Dialogs().At(0);
        panel.SelectNode(&dialog, nullptr);
        QMdiSubWindow* window = frame->WindowOf(dialog);
        if (!window)
            throw std::runtime_error("the dialog's window did not open");
        window->showNormal();
        auto* view = qobject_cast<CTekDialogEditorView*>(window->widget());
        window->resize(window->size() - view->size() + QSize(1000, 800));
        view->repaint();
        QApplication::processEvents();
        return *view;
    }
    CTekDialogData& Dialog() { return frame->Project().Resource().Dialogs().At(0); }
    /// The objects of the first dialog's n-th section.
    CObjectDataList& Section(int n) { return static_cast<CObjectDataList&>(Dialog().RootGroup()->ChildAt(n)); }
    void RepaintAll(CTekDialogEditorView& view)
    {
        CResourceDlg& panel = frame->ResourcePanel();
        panel.Tree().viewport()->repaint();
        panel.Grid().viewport()->repaint();
        view.repaint();
    }

    QTemporaryDir dir;
    std::string path;
    SilentPrompts prompts;
    std::unique_ptr<CMainFrame> frame;
};

int RowOf(const TekClass& node, const char* name)
{
    for (int i = 0; i < node.Items().Count(); ++i)
        if (node.Items().At(i).Name() == name)
            return i;
    return -1;
}

QPoint CentreOf(const CObjectData& object)
{
    const LayoutRect& r = object.GetLayoutRect();
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

const std::string& LargeProject()
{
    static const std::string text = ProjectText(200, 250);
    return text;
}

const std::string& TwoThousandObjects()
{
    static const std::string text = ProjectText(1, 2000);
    return text;
}

// --- Opening ------------------------------------------------------------------------------------

void OpenLargeProject(benchmark::State& state)
{
    Editor editor(LargeProject());
    for (auto _ : state) {
        editor.frame->OpenFile(editor.path);
        editor.frame->ResourcePanel().Tree().viewport()->repaint();
        state.PauseTiming();
        editor.frame->DiscardAll();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["MB"] = static_cast<double>(LargeProject().size()) / 1e6;
}
BENCHMARK(OpenLargeProject)->Unit(benchmark::kMillisecond)->Iterations(3);

void TreeOfLargeProject(benchmark::State& state)
{
    Editor editor(LargeProject());
    editor.frame->OpenFile(editor.path);
    CResourceDlg& panel = editor.frame->ResourcePanel();
    for (auto _ : state) {
        panel.ResetForResource();
        panel.Tree().viewport()->repaint();
    }
    state.counters["items"] = panel.TreeModel().ItemCount();
}
BENCHMARK(TreeOfLargeProject)->Unit(benchmark::kMillisecond)->Iterations(10);

// --- A dialog of 2,000 objects ------------------------------------------------------------------

void PreviewPaint(benchmark::State& state)
{
    CTekResourceData resource;
    ReadResourceText(resource, TwoThousandObjects());
    QImage image(1000, 800, QImage::Format_RGB32);
    LabelTextCache labels;
    for (auto _ : state) {
        QPainter painter(&image);
        PaintDialogPreview(painter, resource, resource.Dialogs().At(0), 1000, 800, &labels);
    }
}
BENCHMARK(PreviewPaint)->Unit(benchmark::kMillisecond);

void SelectByClick(benchmark::State& state)
{
    Editor editor(TwoThousandObjects());
    CTekDialogEditorView& view = editor.OpenFirstDialog();
    CObjectData* targets[] = {&editor.Section(3).ChildAt(10), &editor.Section(20).ChildAt(30)};
    int next = 0;
    for (auto _ : state) {
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, CentreOf(*targets[next ^= 1]));
        editor.RepaintAll(view);
    }
}
BENCHMARK(SelectByClick)->Unit(benchmark::kMillisecond);

void PropertyCommit(benchmark::State& state)
{
    Editor editor(TwoThousandObjects());
    CTekDialogEditorView& view = editor.OpenFirstDialog();
    CObjectData& object = editor.Section(5).ChildAt(5);
    CResourceDlg& panel = editor.frame->ResourcePanel();
    panel.Tree().SelectItem(panel.TreeModel().ItemOf(&object));
    const int row = RowOf(object, "Text");
    int n = 0;
    for (auto _ : state) {
        panel.Grid().Commit(row, QStringLiteral("value %1").arg(++n));
        editor.RepaintAll(view);
    }
}
BENCHMARK(PropertyCommit)->Unit(benchmark::kMillisecond);

void UndoOneCommit(benchmark::State& state)
{
    Editor editor(TwoThousandObjects());
    CTekDialogEditorView& view = editor.OpenFirstDialog();
    CObjectData& object = editor.Section(5).ChildAt(5);
    CResourceDlg& panel = editor.frame->ResourcePanel();
    const int row = RowOf(object, "Text");
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        panel.Tree().SelectItem(panel.TreeModel().ItemOf(&object));
        panel.Grid().Commit(row, QStringLiteral("value %1").arg(++n));
        editor.RepaintAll(view);
        state.ResumeTiming();
        editor.frame->UndoActive();
        editor.RepaintAll(view);
    }
}
BENCHMARK(UndoOneCommit)->Unit(benchmark::kMillisecond);

/// The problems list after a commit in the dialog of 2,000 objects: the dialog checked again
/// (its layout at the project's size included), the list, the count and the tree marks renewed.
void ProblemsAfterACommit(benchmark::State& state)
{
    Editor editor(TwoThousandObjects());
    CTekDialogEditorView& view = editor.OpenFirstDialog();
    CProblemsChecker& problems = editor.frame->Problems();
    problems.CheckNow();
    CObjectData& object = editor.Section(5).ChildAt(5);
    CResourceDlg& panel = editor.frame->ResourcePanel();
    panel.Tree().SelectItem(panel.TreeModel().ItemOf(&object));
    const int row = RowOf(object, "Width");
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        panel.Grid().Commit(row, QString::number(40 + ++n % 20));
        editor.RepaintAll(view);
        state.ResumeTiming();
        problems.CheckNow();
        panel.Tree().viewport()->repaint();
    }
    state.counters["findings"] = static_cast<double>(problems.Findings().size());
}
BENCHMARK(ProblemsAfterACommit)->Unit(benchmark::kMillisecond);

/// The same in the ~10 MB project: one of its 200 dialogs checked again, the rest kept.
void ProblemsOfLargeProjectAfterACommit(benchmark::State& state)
{
    Editor editor(LargeProject());
    editor.frame->OpenFile(editor.path);
    CProblemsChecker& problems = editor.frame->Problems();
    problems.CheckNow();
    CTekDialogData& dialog = editor.frame->Project().Resource().Dialogs().At(0);
    CObjectData& object = *static_cast<CObjectDataList&>(*dialog.RootGroup()->Children().front()).Children().front();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        editor.frame->Project().SetItemValue(object, RowOf(object, "Width"), std::to_string(40 + ++n % 20));
        state.ResumeTiming();
        problems.CheckNow();
    }
    state.counters["findings"] = static_cast<double>(problems.Findings().size());
}
BENCHMARK(ProblemsOfLargeProjectAfterACommit)->Unit(benchmark::kMillisecond)->Iterations(10);

void GroupHundredObjects(benchmark::State& state)
{
    Editor editor(TwoThousandObjects());
    CTekDialogEditorView& view = editor.OpenFirstDialog();
    CResourceDlg& panel = editor.frame->ResourcePanel();
    for (auto _ : state) {
        state.PauseTiming();
        CObjectDataList* root = editor.Dialog().RootGroup();
        root->ClearMarks();
        for (int i = 0; i < 100; ++i)
            editor.Section(2 + i / 50).ChildAt(i % 50).SetMark(1);
        CObjectData& anchor = editor.Section(2).ChildAt(0);
        panel.Tree().SetInputModifiers(Qt::ControlModifier);
        panel.Tree().SelectItem(panel.TreeModel().ItemOf(&anchor));
        anchor.SetMark(1);
        state.ResumeTiming();
        panel.GroupOrUngroup();
        editor.RepaintAll(view);
        state.PauseTiming();
        editor.frame->UndoActive();
        editor.RepaintAll(view);
        state.ResumeTiming();
    }
}
BENCHMARK(GroupHundredObjects)->Unit(benchmark::kMillisecond);

/// An object of another group than the moved one that the view shows at its box's centre (the
/// objects of a crowded dialog overlap), searched from the first or from the last.
CObjectData* VisibleObjectBeside(const CTekDialogEditorView& view, const CObjectData& moved, bool fromEnd, QPoint& at)
{
    const std::vector<LaidOutNode>& nodes = view.Layout().nodes;
    for (size_t i = 0; i < nodes.size(); ++i) {
        const LaidOutNode& entry = nodes[fromEnd ? nodes.size() - 1 - i : i];
        if (entry.IsGroup() || entry.node == &moved || entry.node->ParentGroup() == moved.ParentGroup())
            continue;
        at = QPoint(entry.box.x + entry.box.width / 2, entry.box.y + entry.box.height / 2);
        if (view.ObjectAt(at.x(), at.y()) == entry.node)
            return entry.node;
    }
    throw std::runtime_error("no object to drop on");
}

void DragOneObject(benchmark::State& state)
{
    Editor editor(TwoThousandObjects());
    CTekDialogEditorView& view = editor.OpenFirstDialog();
    CObjectData& moved = editor.Section(3).ChildAt(10);
    bool fromEnd = false;
    for (auto _ : state) {
        state.PauseTiming();
        QPoint point;
        CObjectData* target = VisibleObjectBeside(view, moved, fromEnd = !fromEnd, point);
        state.ResumeTiming();
        // Dropped on the object: beside it in its group.
        std::unique_ptr<QMimeData> data(MimeDataOfNode(moved));
        QDragEnterEvent enter(point, Qt::MoveAction | Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &enter);
        QDragMoveEvent move(point, Qt::MoveAction | Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
        QDropEvent drop(point, Qt::MoveAction | Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &drop);
        if (moved.ParentGroup() != target->ParentGroup())
            throw std::runtime_error("the drag did not move the object");
        editor.RepaintAll(view);
    }
}
BENCHMARK(DragOneObject)->Unit(benchmark::kMillisecond);

void CommitOnFiveHundredMarked(benchmark::State& state)
{
    Editor editor(TwoThousandObjects());
    CTekDialogEditorView& view = editor.OpenFirstDialog();
    CResourceDlg& panel = editor.frame->ResourcePanel();
    std::vector<CObjectData*> marked;
    for (int i = 0; i < 500; ++i)
        marked.push_back(&editor.Section(i / 50).ChildAt(i % 50));
    editor.frame->Project().MarkObjects(&editor.Dialog(), marked);
    if (panel.Grid().Operands().size() != 500)
        throw std::runtime_error("the grid does not show the marked objects");
    const int row = RowOf(*marked.front(), "Height");
    int n = 0;
    for (auto _ : state) {
        panel.Grid().Commit(row, QString::number(10 + (++n % 20)));
        editor.RepaintAll(view);
    }
}
BENCHMARK(CommitOnFiveHundredMarked)->Unit(benchmark::kMillisecond);

// --- Live push ----------------------------------------------------------------------------------

void LivePushToTerminal(benchmark::State& state)
{
    Editor editor(TwoThousandObjects());
    editor.OpenFirstDialog();
    CResourceDlg& panel = editor.frame->ResourcePanel();
    CLinkController& link = panel.Link();
    link.SetListenPort(0);
    link.StartListening();
    SilentLog log;
    CTerminalSimulator terminal(log, TerminalOptions{});
    int received = 0;
    terminal.onDialog = [&](const std::string&, const std::string&, const std::string&) { ++received; };
    terminal.Connect("127.0.0.1", link.CommandListenerPort());
    QElapsedTimer wait;
    wait.start();
    while ((!terminal.IsConnected() || !link.TerminalConnection()) && wait.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    panel.LinkPage().SetLivePushEnabled(true);
    CObjectData& object = editor.Section(5).ChildAt(5);
    panel.Tree().SelectItem(panel.TreeModel().ItemOf(&object));
    const int row = RowOf(object, "Text");
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Let the coalescing window close, so that the commit goes out at once.
        QElapsedTimer idle;
        idle.start();
        while (idle.elapsed() < LivePush::kDefaultInterval + 50)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        const int before = received;
        state.ResumeTiming();
        panel.Grid().Commit(row, QStringLiteral("pushed %1").arg(++n));
        while (received == before)
            QApplication::processEvents(QEventLoop::AllEvents);
    }
}
BENCHMARK(LivePushToTerminal)->Unit(benchmark::kMillisecond)->Iterations(20);

// --- Recovery journal ---------------------------------------------------------------------------

/// The ~10 MB project of the model benchmarks open in the window, its journal made only when the
/// benchmark asks.
struct JournalledEditor : Editor {
    JournalledEditor() : Editor(bench::ProjectText())
    {
        frame->OpenFile(path);
        Journal().SetDelays(1 << 30, 1 << 30);
    }
    RecoveryJournal& Journal() { return frame->Journal(); }
    /// An edit of the value of an object of the dialog, as the grid makes it.
    void EditDialog(int dialog, int n)
    {
        CObjectData& object =
            static_cast<CObjectData&>(frame->Project().Resource().Dialogs().At(dialog).RootGroup()->ChildAt(0));
        frame->Project().SetItemValue(object, RowOf(object, "Name"), "section" + std::to_string(n));
    }
    /// Makes the journal's text slice by slice as the event loop would; answers the longest slice
    /// in seconds.
    double LongestSlice()
    {
        double longest = 0;
        bool done = false;
        while (!done) {
            QElapsedTimer clock;
            clock.start();
            done = Journal().MakeSlice();
            longest = std::max(longest, static_cast<double>(clock.nsecsElapsed()) / 1e9);
        }
        return longest;
    }
};

/// The journal after an edit of one dialog: the GUI thread makes that dialog's record again and
/// hands the text to the worker.
void JournalAfterAnEdit(benchmark::State& state)
{
    JournalledEditor editor;
    editor.EditDialog(0, 0);
    editor.LongestSlice(); // every record made once
    editor.Journal().Flush();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++n;
        editor.EditDialog(n % bench::kDialogs, n);
        state.ResumeTiming();
        const double longest = editor.LongestSlice();
        state.PauseTiming();
        editor.Journal().Flush();
        state.ResumeTiming();
        state.SetIterationTime(longest);
    }
    state.counters["MB"] = static_cast<double>(bench::ProjectText().size()) / 1e6;
}
BENCHMARK(JournalAfterAnEdit)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

/// The first journal of a project (or one after a change of the whole project): every dialog's
/// record is made, a slice at a time; the time is that of the longest slice.
void JournalOfTheWholeProject(benchmark::State& state)
{
    JournalledEditor editor;
    CTekResourceData& resource = editor.frame->Project().Resource();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // An edit of the project's own items makes every record anew.
        editor.frame->Project().SetItemValue(resource, RowOf(resource, "DeviceWidth"), std::to_string(++n));
        state.ResumeTiming();
        const double longest = editor.LongestSlice();
        state.PauseTiming();
        editor.Journal().Flush();
        state.ResumeTiming();
        state.SetIterationTime(longest);
    }
}
BENCHMARK(JournalOfTheWholeProject)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
