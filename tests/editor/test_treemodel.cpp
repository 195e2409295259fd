// The resource tree model and the property grid's model over the project document: checked by
// Qt's model tester through a seeded random session of edits, undos and redos, the tree compared
// after every step with a tree built afresh from the nodes.
#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "chrome/uitext.h"
#include "document/projectdocument.h"
#include "editor/propertylistctrl.h"
#include "editor/propertypanel.h"
#include "editor/resourcetreectrl.h"
#include "editor/resourcetreemodel.h"
#include "editor/treepanel.h"
#include "guitestsupport.h"
#include "records/resourcefile.h"
#include "objects/objectdata.h"

namespace vesk {
namespace {

/// A tree as the core's tree building makes it: each item's label, node and children.
class BuiltTree : public ResourceTreeView {
public:
    struct Item {
        std::string label;
        const TekClass* node = nullptr;
        std::vector<TreeItemId> children;
    };

    BuiltTree() { m_items.emplace_back(); }

    TreeItemId InsertItem(const std::string& text, TreeItemId parent, TreeItemId after, TekClass* node) override
    {
        m_items.push_back(Item{text, node, {}});
        const TreeItemId id = m_items.size() - 1;
        auto& siblings = m_items[parent].children;
        if (after == kTreeInsertLast)
            siblings.push_back(id);
        else if (after == kTreeInsertFirst)
            siblings.insert(siblings.begin(), id);
        else
            siblings.insert(std::find(siblings.begin(), siblings.end(), after) + 1, id);
        return id;
    }
    void SetExpanded(TreeItemId, bool) override {}
    void DeleteAllItems() override
    {
        m_items.clear();
        m_items.emplace_back();
    }

    const Item& At(TreeItemId id) const { return m_items[id]; }

private:
    std::vector<Item> m_items;
};

/// The first difference between the model's rows below index and the built item, or "".
std::string Difference(const CResourceTreeModel& model, const QModelIndex& index, const BuiltTree& built,
                       TreeItemId item, const std::string& path)
{
    const auto& expected = built.At(item).children;
    if (model.rowCount(index) != static_cast<int>(expected.size()))
        return path + ": " + std::to_string(model.rowCount(index)) + " rows, built " + std::to_string(expected.size());
    for (int row = 0; row < model.rowCount(index); ++row) {
        const QModelIndex child = model.index(row, 0, index);
        const BuiltTree::Item& want = built.At(expected[static_cast<size_t>(row)]);
        const std::string label = child.data().toString().toStdString();
        const std::string here = path + "/" + std::to_string(row);
        if (model.NodeAt(child) != want.node)
            return here + ": another node";
        if (child.data().toString() != ToQ(want.label))
            return here + ": label " + label;
        if (model.parent(child) != index)
            return here + ": parent";
        const std::string below = Difference(model, child, built, expected[static_cast<size_t>(row)], here);
        if (!below.empty())
            return below;
    }
    return {};
}

class TreeModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadResourceFile(document.Resource(), VESK_SOURCE_DIR "/examples/demo.veskspro"));
        panel = new CTreePanel(document, prompts, &window, &window);
        model = &panel->TreeModel();
        view = &panel->Tree();
        tester =
            std::make_unique<QAbstractItemModelTester>(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        properties = new CPropertyPanel(document, prompts, &window);
        propertyTester = std::make_unique<QAbstractItemModelTester>(
            properties->Grid().model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        window.resize(300, 600);
        view->resize(300, 560);
        window.show();
        document.ProjectLoaded();
    }

    std::string CompareWithBuilt()
    {
        BuiltTree built;
        document.Resource().BuildTree(built);
        return Difference(*model, {}, built, 0, "");
    }

    ProjectDocument document;
    test::ScriptedPrompts prompts;
    QWidget window;
    CTreePanel* panel = nullptr;
    CResourceTreeModel* model = nullptr;
    CResourceTreeCtrl* view = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;
    CPropertyPanel* properties = nullptr;
    std::unique_ptr<QAbstractItemModelTester> propertyTester;
};

TEST_F(TreeModelTest, RowsFollowTheDocumentThroughARandomSessionOfEditsUndosAndRedos)
{
    ASSERT_EQ(CompareWithBuilt(), "");
    std::mt19937 random(20261208);
    auto pick = [&random](size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(random); };
    static constexpr const char* kTypes[] = {"TEXT", "GRID", "LINEAR", "RADIO", "BUTTON"};
    for (int step = 0; step < 250; ++step) {
        CTekDialogDataList& dialogs = document.Resource().Dialogs();
        if (dialogs.Count() == 0) {
            document.AddDialog("Dialog");
            continue;
        }
        CTekDialogData& dialog = dialogs.At(static_cast<int>(pick(static_cast<size_t>(dialogs.Count()))));
        std::vector<TekClass*> nodes{&dialog};
        std::function<void(CObjectData*)> collect = [&](CObjectData* node) {
            if (!node)
                return;
            nodes.push_back(node);
            for (const TekPtr& header : node->HeaderColumns())
                nodes.push_back(header.get());
            for (const TekPtr& command : node->CommandList())
                nodes.push_back(command.get());
            if (node->IsGroup())
                for (const ObjectPtr& child : static_cast<CObjectDataList*>(node)->Children())
                    collect(child.get());
        };
        collect(dialog.RootObject());
        TekClass* node = nodes[pick(nodes.size())];
        switch (pick(11)) {
        case 0:
            document.InsertNew(node, kTypes[pick(std::size(kTypes))], static_cast<InsertPosition>(pick(3)));
            break;
        case 1:
            document.Move(node, pick(2) ? 1 : -1);
            break;
        case 2:
            if (node != dialog.RootObject() || pick(4) == 0)
                document.Remove(node);
            break;
        case 3:
            document.Select(node);
            document.Select(nodes[pick(nodes.size())], true);
            document.GroupOrUngroup(document.Selected());
            break;
        case 4:
            document.Paste(nodes[pick(nodes.size())], document.RecordOf(*node), static_cast<InsertPosition>(pick(3)));
            break;
        case 5:
            if (node->Items().Count() > 0) {
                const int row = static_cast<int>(pick(static_cast<size_t>(node->Items().Count())));
                const auto* choices = node->Items().At(row).Choices();
                document.SetItemValue(*node, row,
                                      choices && !choices->empty() ? (*choices)[pick(choices->size())] : "x");
            }
            break;
        case 6:
        case 7:
            document.Undo();
            break;
        case 8:
            document.Redo();
            break;
        case 9:
            document.Select(node, pick(2) == 0);
            break;
        default:
            document.Move(&dialog, pick(2) ? 1 : -1);
            break;
        }
        test::ProcessEvents();
        const std::string difference = CompareWithBuilt();
        ASSERT_EQ(difference, "") << "after step " << step;
        EXPECT_EQ(properties->Grid().Node(), document.Selected()) << "the grid shows the selection, step " << step;
        if (TekClass* selected = document.Selected()) {
            EXPECT_EQ(model->NodeAt(view->currentIndex()), selected) << "the view follows the selection, step " << step;
        }
    }
}

TEST_F(TreeModelTest, HeaderColumnsAreNumberedByTheirPlaceAfterEveryChange)
{
    CObjectData* grid = nullptr;
    std::function<void(CObjectData*)> find = [&](CObjectData* node) {
        if (!node || grid)
            return;
        if (node->GetItem("Type") == "GRID")
            grid = node;
        else if (node->IsGroup())
            for (const ObjectPtr& child : static_cast<CObjectDataList*>(node)->Children())
                find(child.get());
    };
    for (int i = 0; i < document.Resource().Dialogs().Count(); ++i)
        find(document.Resource().Dialogs().At(i).RootObject());
    ASSERT_NE(grid, nullptr);
    ASSERT_GE(grid->HeaderColumns().size(), 2u);
    TekClass* first = grid->HeaderColumns()[0].get();
    ASSERT_TRUE(document.Move(first, 1).done);
    EXPECT_EQ(model->IndexOfNode(first).data().toString(), QStringLiteral("Header:Cullum2"));
    ASSERT_TRUE(document.Remove(grid->HeaderColumns()[0].get()).done);
    EXPECT_EQ(model->IndexOfNode(first).data().toString(), QStringLiteral("Header:Cullum1"));
    EXPECT_EQ(CompareWithBuilt(), "");
}

} // namespace
} // namespace vesk
