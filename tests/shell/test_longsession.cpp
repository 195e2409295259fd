// A long random session on the real widgets: tree clicks with and without Ctrl, preview clicks,
// grid commits of good and bad values, inserts, moves, grouping, deletes, copy, cut and paste
// (the editor's own records and texts of other programs), undo, redo, save, open, discard and
// new project. After every step the project's bytes equal those of the same operations made on
// a second document alone; before the history starts anew, and at the end, undoing every step
// brings back the bytes the history started from, and redoing them the bytes before. The seed
// and the step of a failure are printed. VESK_SOAK_STEPS sets the number of steps.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include "chrome/uitext.h"
#include "document/recoveryjournal.h"
#include "editor/clipboardtext.h"
#include "editor/dialogview.h"
#include "editor/propertycells.h"
#include "editorfixture.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "model/savefile.h"
#include "shell/imagelistctrl.h"
#include "shell/logdlg.h"

namespace vesk {
namespace {

using test::EditorTest;
using test::ProcessEvents;

/// The steps of the session: VESK_SOAK_STEPS when set, else 2,000.
int SessionSteps()
{
    if (const char* steps = std::getenv("VESK_SOAK_STEPS"); steps && std::atoi(steps) > 0)
        return std::atoi(steps);
    return 2000;
}

std::string ProjectBytes(const CTekResourceData& resource)
{
    CJsonString text;
    WriteResource(resource, text, "");
    return text.TakeText();
}

std::string ReadFile(const std::string& path)
{
    std::string text;
    ReadWholeFile(path, text);
    return text;
}

/// Every node of the project in one order: the resource, then each dialog with its commands and
/// its tree (each node, its commands, its header columns, its children). Two projects with the
/// same bytes list their nodes alike, so a node is named across them by its place here.
void ListNodes(CTekResourceData& resource, std::vector<TekClass*>& nodes)
{
    std::function<void(CObjectData*)> walk = [&](CObjectData* node) {
        if (!node)
            return;
        nodes.push_back(node);
        for (const TekPtr& command : node->CommandList())
            nodes.push_back(command.get());
        for (const TekPtr& column : node->HeaderColumns())
            nodes.push_back(column.get());
        if (node->IsGroup())
            for (const ObjectPtr& child : static_cast<CObjectDataList*>(node)->Children())
                walk(child.get());
    };
    nodes.push_back(&resource);
    for (int i = 0; i < resource.Dialogs().Count(); ++i) {
        CTekDialogData& dialog = resource.Dialogs().At(i);
        nodes.push_back(&dialog);
        for (const TekPtr& command : dialog.Commands())
            nodes.push_back(command.get());
        walk(dialog.RootObject());
    }
}

// clang-format off
/// Values the grid takes, and values it refuses: characters Shift_JIS cannot hold (refused by
/// the grid), names a dialog cannot have and RADIOBTN outside a radio group (refused by the
/// document).
const char* const kGoodValues[] = {"", "abc", "12", "-3", "PARENT", "CONTENT", "50%", "a'b\\c", "Name_2", "true",
                                   "日本語", "ＡＢＣ", "#FF0000", "[1,2]", "CENTER|MIDDLE", "RADIOBTN"};
const char* const kBadValues[] = {"雪☃", "😀", "bad name!", "名前 2"};
/// Texts of other programs on the clipboard.
const char* const kOtherTexts[] = {"plain words", "{\"Type\":\"BUTTON\"}", "{'Type':'TEXT','Text':'他のアプリ'}",
                                   "{'Type':'LINEAR','Objects':[{'Type':'EDIT'}]}", "{'Type':", "[1,2]",
                                   "{'Command':'DIALOG','Name':'Pasted','Object':{'Type':'FRAME'}}"};
// clang-format on

class LongSession : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        // The session saves over the files it opens: copies of the demo project.
        savedProject = TempPath("session.veskspro");
        demoProject = TempPath("demo.veskspro");
        ASSERT_TRUE(WriteFileAtomically(demoProject, ReadFile(test::DemoProjectPath())));
        ASSERT_TRUE(frame->OpenFile(demoProject));
        ASSERT_TRUE(ReadResourceText(shadow.Resource(), ReadFile(demoProject)));
        shadow.ProjectLoaded();
        QApplication::clipboard()->clear();
    }

    size_t Pick(size_t count) { return count ? std::uniform_int_distribution<size_t>(0, count - 1)(random) : 0; }
    bool Chance(int percent) { return static_cast<int>(Pick(100)) < percent; }

    std::string Where() const { return "seed " + std::to_string(seed) + ", step " + std::to_string(step) + ": "; }

    /// The shadow's node in the place of the window's node, or nullptr.
    TekClass* Shadow(const TekClass* node)
    {
        if (!node)
            return nullptr;
        std::vector<TekClass*> shown;
        std::vector<TekClass*> alone;
        ListNodes(Resource(), shown);
        ListNodes(shadow.Resource(), alone);
        const auto at = std::find(shown.begin(), shown.end(), node);
        if (at == shown.end() || shown.size() != alone.size())
            return nullptr;
        return alone[static_cast<size_t>(at - shown.begin())];
    }

    /// The selection and the marks of the window's project, given to the shadow: the edits
    /// take them as their operands.
    void FollowSelection()
    {
        std::vector<TekClass*> shown;
        std::vector<TekClass*> alone;
        ListNodes(Resource(), shown);
        ListNodes(shadow.Resource(), alone);
        ASSERT_EQ(shown.size(), alone.size()) << Where() << "the projects hold different nodes";
        if (TekClass* selected = frame->Project().Selected())
            shadow.Select(Shadow(selected));
        else
            shadow.ClearSelection();
        for (size_t i = 0; i < shown.size(); ++i)
            if (shown[i]->Type() == NodeType::Object || shown[i]->Type() == NodeType::Group)
                static_cast<CObjectData*>(alone[i])->SetMark(static_cast<CObjectData*>(shown[i])->GetMark());
    }

    void Check(const char* action)
    {
        const std::string shown = ProjectBytes(Resource());
        const std::string alone = ProjectBytes(shadow.Resource());
        ASSERT_EQ(shown, alone) << Where() << action << ": the window's project differs from the same edits alone";
        if (!frame->Project().CanUndo() && !frame->Project().CanRedo())
            historyStart = shown;
    }

    /// Undoes every step of the history with the window's command, then redoes them (and no more:
    /// the steps undone before stay undone).
    void UndoAndRedoEverything()
    {
        const std::string end = ProjectBytes(Resource());
        int undone = 0;
        while (frame->Project().CanUndo()) {
            frame->Action("actionUndo")->trigger();
            shadow.Undo();
            ASSERT_LT(++undone, 100000);
        }
        ASSERT_EQ(ProjectBytes(Resource()), historyStart) << Where() << "after undoing " << undone << " steps";
        ASSERT_EQ(ProjectBytes(shadow.Resource()), historyStart) << Where() << "the edits alone, undone";
        for (int redone = 0; redone < undone; ++redone) {
            ASSERT_TRUE(frame->Project().CanRedo()) << Where() << "redo " << redone + 1 << " of " << undone;
            frame->Action("actionRedo")->trigger();
            shadow.Redo();
        }
        ASSERT_EQ(ProjectBytes(Resource()), end) << Where() << "after redoing " << undone << " steps";
        FollowSelection();
    }

    /// The cell of that type open in the grid, or nullptr.
    template <typename Cell> static Cell* OpenCell(CPropertyListCtrl& grid)
    {
        for (Cell* cell : grid.findChildren<Cell*>())
            if (cell->isVisible())
                return cell;
        return nullptr;
    }

    /// Types the text into the widget one character at a time, as a keyboard or an input method
    /// sends it (any character, not only those of the keys QTest knows).
    static void Type(QWidget* widget, const QString& text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            const QString character = text.mid(i, length);
            i += length - 1;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
            QApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
            QApplication::sendEvent(widget, &release);
        }
    }

    /// The clipboard as the paste reads it.
    void PutOnClipboard(const std::string& utf8) { QApplication::clipboard()->setText(QString::fromUtf8(utf8)); }

    // --- The steps ---------------------------------------------------------------------------------

    void ClickInTree()
    {
        std::vector<TekClass*> nodes;
        ListNodes(Resource(), nodes);
        TekClass* node = nodes[Pick(nodes.size())];
        const bool ctrl = Chance(30);
        if (!Model().IndexOf(Model().ItemOf(node)).isValid())
            return;
        ClickNode(node, ctrl ? Qt::ControlModifier : Qt::NoModifier);
        shadow.Select(Shadow(node), ctrl);
    }

    void ClickInPreview()
    {
        CTekDialogEditorView* view = frame->ActiveView();
        if (!view)
            return;
        view->repaint();
        const QPoint point(static_cast<int>(Pick(static_cast<size_t>(view->width()))),
                           static_cast<int>(Pick(static_cast<size_t>(view->height()))));
        CObjectData* object = view->ObjectAt(point.x(), point.y());
        const bool ctrl = Chance(30);
        QTest::mouseClick(view, Qt::LeftButton, ctrl ? Qt::ControlModifier : Qt::NoModifier, point);
        if (object)
            shadow.Select(Shadow(object), ctrl);
    }

    void CommitInGrid()
    {
        CPropertyListCtrl& grid = Panel().Grid();
        TekClass* node = grid.Node();
        if (!node || !grid.isEnabled() || node->Items().Count() == 0)
            return;
        // With several objects marked the grid shows the items they share and commits to all of
        // them: the drop and multi-object tests follow that; this session commits to one node.
        if (frame->Project().Operands().size() > 1)
            return;
        const int row = static_cast<int>(Pick(static_cast<size_t>(node->Items().Count())));
        const CItemData& item = node->Items().At(row);
        QString value;
        bool representable = true;
        if (Chance(15)) {
            value = QString::fromUtf8(kBadValues[Pick(std::size(kBadValues))]);
            representable = value.startsWith(QStringLiteral("bad")) || value.startsWith(QStringLiteral("名"));
        } else if (item.Choices() && !item.Choices()->empty() && Chance(60)) {
            value = ToQ((*item.Choices())[Pick(item.Choices()->size())]);
        } else {
            value = QString::fromUtf8(kGoodValues[Pick(std::size(kGoodValues))]);
        }
        TekClass* alone = Shadow(node);
        ASSERT_NE(alone, nullptr) << Where() << "the grid shows a node of no place";
        // Typed into the cell the item opens (a text or a choice cell) and ended with Enter, or
        // committed as a cell does.
        bool typed = false;
        if (Chance(50) && grid.StartEdit(row, 1)) {
            if (CExEditCell* cell = OpenCell<CExEditCell>(grid)) {
                cell->clear();
                Type(cell, value);
                QTest::keyClick(cell, Qt::Key_Return);
                typed = true;
            } else if (CComboBoxCell* choice = OpenCell<CComboBoxCell>(grid)) {
                choice->clearEditText();
                Type(choice->lineEdit(), value);
                QTest::keyClick(choice, Qt::Key_Return);
                typed = true;
            }
        }
        if (!typed)
            grid.Commit(row, value);
        ProcessEvents();
        if (OpenCell<CExEditCell>(grid) || OpenCell<CComboBoxCell>(grid)) {
            // A refused text stays in its open cell for the user to mend; Escape gives it up.
            if (CExEditCell* cell = OpenCell<CExEditCell>(grid))
                QTest::keyClick(cell, Qt::Key_Escape);
            ASSERT_EQ(OpenCell<CExEditCell>(grid), nullptr) << Where();
            ASSERT_EQ(OpenCell<CComboBoxCell>(grid), nullptr) << Where();
        }
        if (representable)
            shadow.SetItemValue(*alone, row, FromQ(value));
    }

    void Insert()
    {
        CLogDlg& side = frame->SidePanelDialog();
        side.ShowPage(kPageInsertedObjects);
        CImageListCtrl& list = side.List(SidePanelListKind::InsertedObjects);
        list.SetSelectedIndex(static_cast<int>(Pick(static_cast<size_t>(list.model()->rowCount() * 3))));
        std::string name;
        SidePanelListKind kind;
        if (!list.GetSelectedEntry(name, kind))
            return;
        static const char* const kButtons[] = {"insertAfterButton", "insertFirstChildButton", "insertLastChildButton"};
        const size_t button = Pick(4);
        if (button == 3) {
            // A double click on the picture inserts behind the selected node.
            const QModelIndex cell = list.CellOf(list.SelectedIndex());
            QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(cell).center());
            shadow.InsertNew(shadow.Selected(), name, InsertPosition::After);
            return;
        }
        auto* pressed = Panel().findChild<QPushButton*>(QString::fromLatin1(kButtons[button]));
        ASSERT_NE(pressed, nullptr);
        if (!pressed->isEnabled())
            return;
        pressed->click();
        shadow.InsertNew(shadow.Selected(), name, static_cast<InsertPosition>(button));
    }

    /// Presses a button of the tree panel; answers whether it was enabled.
    bool Press(const char* objectName)
    {
        auto* button = Panel().findChild<QPushButton*>(QString::fromLatin1(objectName));
        if (!button || !button->isEnabled())
            return false;
        QTest::mouseClick(button, Qt::LeftButton);
        return true;
    }

    void Move()
    {
        const int delta = Chance(50) ? -1 : 1;
        if (Press(delta < 0 ? "moveUpButton" : "moveDownButton"))
            shadow.Move(shadow.Selected(), delta);
    }

    void Group()
    {
        if (Press("groupButton"))
            shadow.GroupOrUngroup(shadow.Selected());
    }

    void Delete()
    {
        if (!Press("deleteButton"))
            return;
        std::string record;
        shadow.RemoveNodes(shadow.Operands(), &record);
        if (!record.empty())
            clipboard = record;
    }

    /// What the copy of the selected node (or of the marked objects) puts on the clipboard, as
    /// the tree panel does.
    bool CopySelected()
    {
        const TekClass* selected = shadow.Selected();
        if (!shadow.EditingEnabled() || !selected)
            return false;
        const std::string record = shadow.RecordOfNodes(shadow.Operands());
        if (record.empty())
            return false;
        clipboard = record;
        return true;
    }

    void CopyOrCut(bool cut)
    {
        const bool active = frame->ActiveDialog() != nullptr;
        frame->Action(cut ? "actionCut" : "actionCopy")->trigger();
        if (active && CopySelected() && cut) {
            std::string record;
            shadow.RemoveNodes(shadow.Operands(), &record);
            if (!record.empty())
                clipboard = record;
        }
    }

    void Paste()
    {
        if (Chance(25)) {
            // Text another program copied: a record made readable, or anything else.
            clipboard = Chance(50) && !clipboard.empty() ? RecordTextToUtf8(clipboard)
                                                         : std::string(kOtherTexts[Pick(std::size(kOtherTexts))]);
            PutOnClipboard(clipboard);
        }
        const bool active = frame->ActiveDialog() != nullptr;
        frame->Action("actionPaste")->trigger();
        if (active && !RecordFromClipboard().empty())
            shadow.Paste(shadow.Selected(), RecordFromClipboard(), InsertPosition::After);
    }

    void UndoOrRedo(bool redo)
    {
        frame->Action(redo ? "actionRedo" : "actionUndo")->trigger();
        if (redo)
            shadow.Redo();
        else
            shadow.Undo();
    }

    void Save()
    {
        if (Resource().FileName().empty())
            prompts.paths.push_back(QString::fromStdString(savedProject));
        frame->Action("actionSave")->trigger();
        prompts.paths.clear();
    }

    /// Answers the question whether to save the changes, when the window will ask it.
    void AnswerSaveQuestion()
    {
        if (!frame->Project().IsModified())
            return;
        if (Chance(30) && Resource().Dialogs().Count() > 0) {
            prompts.answers.push_back(MessageAnswer::Yes);
            prompts.paths.push_back(QString::fromStdString(savedProject));
        } else {
            prompts.answers.push_back(MessageAnswer::No);
        }
    }

    void Open()
    {
        std::error_code ec;
        const std::string path = Chance(50) && std::filesystem::exists(savedProject, ec) ? savedProject : demoProject;
        const std::string bytes = ReadFile(path);
        UndoAndRedoEverything();
        const bool hasDialogs = Resource().Dialogs().Count() > 0;
        int choice = 0; // 追加
        if (hasDialogs) {
            choice = static_cast<int>(Pick(3));
            static const char* const kChoices[] = {"追加", "新規に開く", "キャンセル"};
            prompts.choices.push_back(QString::fromUtf8(kChoices[choice]));
            if (choice == 1)
                AnswerSaveQuestion();
        }
        frame->OpenFile(path);
        if (choice == 2)
            return;
        if (choice == 1)
            shadow.StartEmpty();
        // A file without dialogs (a project of dialogs without a tree saved) is not taken.
        CTekResourceData& resource = shadow.Resource();
        const int dialogsBefore = resource.Dialogs().Count();
        CItemList itemsBefore = resource.Items().Clone();
        ASSERT_TRUE(ReadResourceText(resource, bytes));
        if (resource.Dialogs().Count() == dialogsBefore) {
            resource.Items() = std::move(itemsBefore);
            return;
        }
        shadow.ProjectLoaded();
    }

    void Discard()
    {
        if (Resource().Dialogs().Count() == 0)
            return;
        UndoAndRedoEverything();
        AnswerSaveQuestion();
        frame->Action("actionDiscardAll")->trigger();
        shadow.DiscardDialogs();
    }

    void NewProject()
    {
        UndoAndRedoEverything();
        AnswerSaveQuestion();
        frame->Action("actionNewProject")->trigger();
        shadow.StartEmpty();
        shadow.ProjectLoaded();
    }

    void NewDialog()
    {
        frame->Action("actionNew")->trigger();
        shadow.AddDialog("Dialog");
    }

    /// One step; answers its name.
    const char* Step()
    {
        struct Action {
            const char* name;
            int weight;
            void (LongSession::*run)();
        };
        static const Action kActions[] = {
            {"tree click", 14, &LongSession::ClickInTree},
            {"preview click", 6, &LongSession::ClickInPreview},
            {"grid commit", 14, &LongSession::CommitInGrid},
            {"insert", 8, &LongSession::Insert},
            {"move", 5, &LongSession::Move},
            {"group", 5, &LongSession::Group},
            {"delete", 4, &LongSession::Delete},
            {"copy", 4, nullptr},
            {"cut", 2, nullptr},
            {"paste", 6, &LongSession::Paste},
            {"undo", 6, nullptr},
            {"redo", 3, nullptr},
            {"save", 2, &LongSession::Save},
            {"open", 1, &LongSession::Open}, // kActions[13]
            {"discard", 1, &LongSession::Discard},
            {"new project", 1, &LongSession::NewProject},
            {"new dialog", 2, &LongSession::NewDialog},
        };
        int total = 0;
        for (const Action& action : kActions)
            total += action.weight;
        int pick = static_cast<int>(Pick(static_cast<size_t>(total)));
        const Action* chosen = kActions;
        while (pick >= chosen->weight)
            pick -= (chosen++)->weight;
        // A project left without a dialog tree (after a discard, a new project or deletes) is
        // soon opened again, so that most steps have something to work on.
        bool anyTree = false;
        for (int i = 0; i < Resource().Dialogs().Count(); ++i)
            anyTree = anyTree || Resource().Dialogs().At(i).RootObject() != nullptr;
        if (!anyTree && Chance(25))
            chosen = &kActions[13];
        const std::string name = chosen->name;
        if (name == "copy" || name == "cut")
            CopyOrCut(name == "cut");
        else if (name == "undo" || name == "redo")
            UndoOrRedo(name == "redo");
        else
            (this->*chosen->run)();
        ProcessEvents();
        return chosen->name;
    }

    unsigned seed = 0;
    int step = 0;
    std::mt19937 random;
    ProjectDocument shadow;
    /// The record the shadow's paste takes, as the system clipboard holds it.
    std::string clipboard;
    std::string historyStart;
    std::string savedProject;
    std::string demoProject;
};

TEST_F(LongSession, TheWindowsEditAsTheDocumentAloneAndUndoToWhereTheHistoryStarted)
{
    seed = static_cast<unsigned>(std::getenv("VESK_SOAK_SEED") ? std::atol(std::getenv("VESK_SOAK_SEED")) : 20240521);
    random.seed(seed);
    const int steps = SessionSteps();
    historyStart = ProjectBytes(Resource());
    for (step = 1; step <= steps; ++step) {
        const char* action = Step();
        prompts.answers.clear();
        prompts.choices.clear();
        prompts.paths.clear();
        prompts.messages.clear();
        prompts.questions.clear();
        if (HasFatalFailure())
            return;
        Check(action);
        if (HasFatalFailure())
            return;
        FollowSelection();
        if (HasFatalFailure())
            return;
        // Now and then the journal is written at once: it holds the project as a save would.
        if (step % 250 == 0 && frame->Journal().WriteNow()) {
            ASSERT_EQ(ReadFile(frame->Journal().Files().DataPath()), ProjectBytes(Resource()))
                << Where() << "the journal";
        }
    }
    UndoAndRedoEverything();
}

} // namespace
} // namespace vesk
