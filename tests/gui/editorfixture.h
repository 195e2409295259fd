#pragma once

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "editor/propertylistctrl.h"
#include "editor/resourcedlg.h"
#include "editor/resourcetreectrl.h"
#include "editor/resourcetreemodel.h"
#include "guitestsupport.h"
#include "objects/dialogbuilder.h"
#include "objects/resourcedata.h"
#include "objects/objectdata.h"
#include "shell/mainframe.h"

namespace vesk::test {

/// A main window as the program makes it, with its data from the build's runtime folder, its
/// settings file in a temporary folder and prompts that the test answers.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        paths = ShellPaths::ForProgramFolder(VESK_RUNTIME_DIR);
        paths.settingsFile = TempPath(kSettingsFileName);
        paths.recoveryFolder = TempPath("recovery/");
        MakeFrame();
    }

    void TearDown() override { frame.reset(); }

    void MakeFrame()
    {
        frame = std::make_unique<CMainFrame>(paths, prompts);
        frame->show();
        ProcessEvents();
    }

    std::string TempPath(const std::string& name) const { return temp.path().toStdString() + "/" + name; }

    CResourceDlg& Panel() const { return frame->ResourcePanel(); }
    CResourceTreeModel& Model() const { return Panel().TreeModel(); }
    CResourceTreeCtrl& Tree() const { return Panel().Tree(); }
    CTekResourceData& Resource() const { return frame->Project().Resource(); }

    void OpenDemo() { ASSERT_TRUE(frame->OpenFile(DemoProjectPath())); }

    CTekDialogData& DialogAt(int index) const { return Resource().Dialogs().At(index); }

    /// The first node named name (its 'Name' item) in the dialog's tree, or nullptr.
    static CObjectData* Find(CObjectData* node, const std::string& name) { return FindNamed(node, name); }
    CObjectData* Node(int dialog, const std::string& name) const { return Find(DialogAt(dialog).RootObject(), name); }

    /// Clicks the node's tree item (expanding what lies above it) with the modifiers held.
    void ClickNode(const TekClass* node, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QModelIndex index = Model().IndexOf(Model().ItemOf(node));
        ASSERT_TRUE(index.isValid());
        for (QModelIndex above = index.parent(); above.isValid(); above = above.parent())
            Tree().expand(above);
        Tree().scrollTo(index);
        ProcessEvents();
        const QRect rect = Tree().visualRect(index);
        ASSERT_TRUE(rect.isValid());
        QTest::mouseClick(Tree().viewport(), Qt::LeftButton, modifiers, rect.center());
        ProcessEvents();
    }

    /// The row of the node's item of that name in the property grid.
    static int RowOf(const TekClass& node, const std::string& name)
    {
        for (int i = 0; i < node.Items().Count(); ++i)
            if (node.Items().At(i).Name() == name)
                return i;
        ADD_FAILURE() << "no item " << name;
        return -1;
    }
    /// Selects the node in the tree and commits value to its item of that name in the grid.
    bool Commit(TekClass* node, const std::string& name, const QString& value)
    {
        ClickNode(node);
        return Panel().Grid().Commit(RowOf(*node, name), value);
    }

    /// The node of the tree's current (red) item.
    TekClass* CurrentItemNode() const { return Model().NodeOf(Model().CurrentItem()); }
    TekClass* SelectedNode() const { return Model().NodeOf(Tree().SelectedItem()); }

    QTemporaryDir temp;
    ShellPaths paths;
    ScriptedPrompts prompts;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace vesk::test
