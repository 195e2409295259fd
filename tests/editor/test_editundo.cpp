// Undo and redo of every edit, the save prompt that keeps work from being lost, and a seeded
// random editing session that undoes back to the start byte for byte.
#include <random>

#include <QAction>
#include <QApplication>
#include <QClipboard>

#include "chrome/uitext.h"
#include "editorfixture.h"
#include "model/orbstream.h"
#include "records/resourcefile.h"
#include "objects/undobuffer.h"

namespace vesk {
namespace {

using test::EditorTest;
using test::ProcessEvents;

class EditUndoTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        OpenDemo();
        QGuiApplication::clipboard()->clear();
    }
    std::string Saved(int index = 0) const
    {
        CJsonString text;
        WriteDialog(DialogAt(index), text, 0);
        return text.Text();
    }
};

TEST_F(EditUndoTest, UndoAndRedoWalkPropertyCommitsAndTreeEditsAndSelectTheAnswer)
{
    const std::string start = Saved();
    CObjectData* title = Node(0, "title");
    ASSERT_TRUE(Commit(title, "Text", QStringLiteral("新しい題")));
    const std::string afterCommit = Saved();
    ClickNode(Node(0, "clock"));
    Panel().MoveNode(-1);
    const std::string afterMove = Saved();
    ASSERT_NE(afterCommit, start);
    ASSERT_NE(afterMove, afterCommit);
    EXPECT_TRUE(frame->Action("actionUndo")->isEnabled());
    EXPECT_FALSE(frame->Action("actionRedo")->isEnabled());

    frame->UndoActive();
    EXPECT_EQ(Saved(), afterCommit);
    EXPECT_TRUE(frame->Action("actionRedo")->isEnabled());
    frame->UndoActive();
    EXPECT_EQ(Saved(), start);
    EXPECT_EQ(SelectedNode(), title) << "the object the history answers is selected";
    EXPECT_EQ(Panel().Grid().Node(), title);
    EXPECT_FALSE(frame->Action("actionUndo")->isEnabled());
    frame->UndoActive();
    EXPECT_EQ(Saved(), start) << "nothing before the first edit";

    frame->RedoActive();
    frame->RedoActive();
    EXPECT_EQ(Saved(), afterMove);
    EXPECT_FALSE(frame->Action("actionRedo")->isEnabled());

    // A new edit after an undo drops the undone steps.
    frame->UndoActive();
    ASSERT_TRUE(Commit(Node(0, "btnExit"), "Text", QStringLiteral("閉じる")));
    EXPECT_FALSE(frame->Action("actionRedo")->isEnabled());
}

TEST_F(EditUndoTest, CommandNodeEditsAndAddedCommandsAreUndone)
{
    const std::string start = Saved();
    CObjectData* exit = Node(0, "btnExit");
    ASSERT_TRUE(Commit(exit, "OnClick", QStringLiteral("SOUND")));
    ASSERT_EQ(exit->CommandList().size(), 2u);
    TekClass* sound = exit->CommandList()[1].get();
    ASSERT_TRUE(Commit(sound, "File", QStringLiteral("beep.wav")));
    const std::string edited = Saved();
    EXPECT_NE(edited.find("beep.wav"), std::string::npos);
    frame->UndoActive();
    EXPECT_EQ(Saved().find("beep.wav"), std::string::npos);
    frame->UndoActive();
    EXPECT_EQ(Saved(), start);
    frame->RedoActive();
    frame->RedoActive();
    EXPECT_EQ(Saved(), edited);
}

TEST_F(EditUndoTest, ClosingWithChangesAsksToSave)
{
    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("x")));
    ASSERT_TRUE(frame->isWindowModified());
    EXPECT_EQ(frame->windowTitle().endsWith(QStringLiteral("[*]")), true);

    prompts.answers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(prompts.messages.back().text, QStringLiteral("変更を保存しますか？"));
    EXPECT_EQ(prompts.messages.back().buttons, MessageButtons::YesNoCancel);

    prompts.answers.push_back(MessageAnswer::Yes); // then the save dialog is cancelled
    EXPECT_FALSE(frame->close()) << "cancelling the save dialog cancels the close";

    const std::string out = TempPath("kept.veskspro");
    prompts.answers.push_back(MessageAnswer::Yes);
    prompts.paths.push_back(QString::fromStdString(out));
    EXPECT_TRUE(frame->close());
    CTekResourceData reread;
    ASSERT_TRUE(LoadResourceFile(reread, out));
    EXPECT_EQ(reread.Dialogs().At(0).RootGroup()->ChildAt(0).GetItem("Text"), "x");
}

TEST_F(EditUndoTest, DiscardAllWithChangesAsksAndNoDiscards)
{
    ASSERT_TRUE(Commit(Node(0, "title"), "Text", QStringLiteral("x")));
    prompts.answers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(frame->DiscardAll());
    EXPECT_EQ(Resource().Dialogs().Count(), 3);
    prompts.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(frame->DiscardAll());
    EXPECT_EQ(Resource().Dialogs().Count(), 0);
    EXPECT_FALSE(frame->isWindowModified());
}

TEST_F(EditUndoTest, TextShiftJisCannotHoldIsRefusedAndTheValueStays)
{
    CObjectData* title = Node(0, "title");
    const std::string before = title->GetItem("Text");
    ClickNode(title);
    EXPECT_FALSE(Panel().Grid().Commit(RowOf(*title, "Text"), QStringLiteral("OK😀한")));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.contains(QStringLiteral("😀")));
    EXPECT_TRUE(prompts.messages[0].text.contains(QStringLiteral("한")));
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(title->GetItem("Text"), before);
    EXPECT_FALSE(frame->isWindowModified());
}

/// A seeded random session of edits on the first dialog.
class RandomSession {
public:
    RandomSession(EditUndoTest& test, CResourceDlg& panel, CTekDialogData& dialog, unsigned seed)
        : m_panel(panel), m_dialog(dialog), m_random(seed)
    {
        (void)test;
    }

    void Step()
    {
        std::vector<TekClass*> nodes = Nodes();
        if (nodes.empty()) {
            SelectNode(&m_dialog, false);
            m_panel.InsertNew("LINEAR", InsertPosition::After);
            return;
        }
        TekClass* node = nodes[Pick(nodes.size())];
        switch (Pick(8)) {
        case 0:
        case 1:
            CommitSomething(node);
            break;
        case 2:
            SelectNode(node, false);
            m_panel.InsertNew(kTypes[Pick(std::size(kTypes))], static_cast<InsertPosition>(Pick(3)));
            break;
        case 3:
            SelectNode(node, false);
            m_panel.MoveNode(Pick(2) ? 1 : -1);
            break;
        case 4: {
            SelectNode(node, false);
            SelectNode(nodes[Pick(nodes.size())], true);
            m_panel.GroupOrUngroup();
            break;
        }
        case 5:
            if (node != m_dialog.RootObject()) {
                SelectNode(node, false);
                m_panel.DeleteNode();
            }
            break;
        default:
            SelectNode(node, false);
            if (node->Type() == NodeType::Object || node->Type() == NodeType::Group) {
                m_panel.CopyNode();
                SelectNode(nodes[Pick(nodes.size())], false);
                m_panel.PasteNode(static_cast<InsertPosition>(Pick(3)));
            }
            break;
        }
    }

private:
    static constexpr const char* kTypes[] = {"TEXT", "BUTTON", "GRID", "LINEAR", "FRAME", "RADIO", "RADIOBTN", "METER"};

    size_t Pick(size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(m_random); }

    std::vector<TekClass*> Nodes()
    {
        std::vector<TekClass*> nodes;
        Collect(m_dialog.RootObject(), nodes);
        return nodes;
    }
    static void Collect(CObjectData* node, std::vector<TekClass*>& nodes)
    {
        if (!node)
            return;
        nodes.push_back(node);
        for (const TekPtr& header : node->HeaderColumns())
            nodes.push_back(header.get());
        for (const TekPtr& command : node->CommandList())
            nodes.push_back(command.get());
        if (node->IsGroup())
            for (const ObjectPtr& child : static_cast<CObjectDataList*>(node)->Children())
                Collect(child.get(), nodes);
    }

    void SelectNode(TekClass* node, bool ctrl)
    {
        CResourceTreeModel& model = m_panel.TreeModel();
        m_panel.Tree().SetInputModifiers(ctrl ? Qt::ControlModifier : Qt::NoModifier);
        m_panel.Tree().SelectItem(model.ItemOf(node));
    }

    void CommitSomething(TekClass* node)
    {
        SelectNode(node, false);
        const int count = node->Items().Count();
        if (count == 0)
            return;
        const int row = static_cast<int>(Pick(static_cast<size_t>(count)));
        const auto& item = node->Items().At(row);
        QString value;
        if (item.Choices() && !item.Choices()->empty() && Pick(4) != 0)
            value = ToQ((*item.Choices())[Pick(item.Choices()->size())]);
        else
            value = kTexts[Pick(std::size(kTexts))];
        m_panel.Grid().Commit(row, value);
    }

    inline static const QString kTexts[] = {QString(),
                                            QStringLiteral("abc"),
                                            QStringLiteral("12"),
                                            QStringLiteral("日本語"),
                                            QStringLiteral("PARENT"),
                                            QStringLiteral("a'b\\c")};

    CResourceDlg& m_panel;
    CTekDialogData& m_dialog;
    std::mt19937 m_random;
};

TEST_F(EditUndoTest, ARandomSessionUndoesToTheStartAndRedoesToTheEnd)
{
    ClickNode(&DialogAt(0));
    const std::string start = Saved();
    RandomSession session(*this, Panel(), DialogAt(0), 20261208);
    for (int i = 0; i < 200; ++i)
        session.Step();
    ASSERT_EQ(Resource().Dialogs().Count(), 3) << "the session stays inside the dialog";
    const std::string end = Saved();
    ASSERT_NE(end, start);
    prompts.messages.clear();

    frame->ActivateDialogWindow(DialogAt(0));
    ProcessEvents();
    ASSERT_EQ(frame->ActiveDialog(), &DialogAt(0));
    int undone = 0;
    while (DialogAt(0).UndoHistory().CanUndo() && undone < 1000) {
        frame->UndoActive();
        ++undone;
    }
    EXPECT_EQ(Saved(), start) << "after " << undone << " undos";
    while (DialogAt(0).UndoHistory().CanRedo())
        frame->RedoActive();
    EXPECT_EQ(Saved(), end);
}

} // namespace
} // namespace vesk
