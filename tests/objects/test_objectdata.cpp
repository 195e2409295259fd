// Groups and objects: type codes, children, marks, hit testing, grouping, copying, records and
// tree items.

#include <gtest/gtest.h>

#include <functional>

#include "../model/testsupport.h"
#include "model/orbstream.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"

namespace vesk {
namespace {

using test::MakeCommand;
using test::MakeGroup;
using test::MakeHeaderColumn;
using test::MakeObject;
using test::RecordingTreeView;

std::string RecordText(const CObjectData& node, int depth)
{
    CJsonString text;
    node.WriteRecord(text, depth);
    return text.Text();
}

/// The names of a group's children, joined by ",".
std::string ChildNames(const CObjectDataList& group)
{
    std::string names;
    for (const ObjectPtr& child : group.Children()) {
        if (!names.empty())
            names += ',';
        names += child->GetItem("Name");
    }
    return names;
}

/// Checks that every node's parent pointer names the group holding it and that no group holds
/// itself; answers the number of nodes below the group.
int CheckTree(const CObjectDataList& group, int limit = 10000)
{
    int count = 0;
    for (const ObjectPtr& child : group.Children()) {
        EXPECT_EQ(child->ParentGroup(), &group) << child->GetItem("Name");
        EXPECT_NE(child.get(), &group);
        if (++count > limit)
            return count;
        if (child->IsGroup())
            count += CheckTree(static_cast<const CObjectDataList&>(*child), limit - count);
    }
    return count;
}

void SetRect(CObjectData& node, int left, int top, int right, int bottom)
{
    node.SetLayoutRect(LayoutRect{left, top, right, bottom});
}

// --- Type codes and labels ------------------------------------------------------------------

TEST(ObjectData, TypeAndLayoutCodes)
{
    CObjectData object(nullptr);
    for (int code = 0; code < OBJ_TYPE_COUNT; ++code)
        EXPECT_EQ(object.ObjectTypeCode(kObjectTypeNames[code]), code);
    EXPECT_EQ(object.ObjectTypeCode("GRID"), 8);
    EXPECT_EQ(object.ObjectTypeCode("grid"), -1);
    EXPECT_EQ(object.ObjectTypeCode("GROUP"), -1);
    EXPECT_EQ(object.ObjectTypeCode(), -1);
    BuildObjectItems(object, OBJ_METER);
    EXPECT_EQ(object.ObjectTypeCode(), OBJ_METER);
    EXPECT_EQ(object.ObjectTypeCode("TEXT"), OBJ_TEXT);

    CObjectDataList group(nullptr);
    EXPECT_EQ(group.LayoutCode(), -1);
    const char* layouts[] = {"FRAME", "LINEAR", "RADIO", "SCROLL", "PAGE", "TABLE", "TABLEROW", "RELATIVE"};
    for (int code = 0; code < 8; ++code)
        EXPECT_EQ(group.LayoutCode(layouts[code]), code);
    EXPECT_EQ(group.LayoutCode("Unset"), -1);
    BuildGroupItems(group, LAYOUT_TABLE);
    EXPECT_EQ(group.LayoutCode(), LAYOUT_TABLE);
    EXPECT_EQ(group.Type(), NodeType::Group);
}

TEST(ObjectData, Labels)
{
    ObjectPtr toggle = MakeObject(nullptr, OBJ_TOGGLE, "t1");
    toggle->SetItem("TextOn", "ON");
    EXPECT_EQ(toggle->GetLabel(), "Object:TOGGLE(t1)ON");
    ObjectPtr button = MakeObject(nullptr, OBJ_BUTTON, "b1");
    EXPECT_EQ(button->GetLabel(), "Object:BUTTON(b1)");
    button->SetItem("Text", "OK");
    EXPECT_EQ(button->GetLabel(), "Object:BUTTON(b1)OK");
    // 'Text' wins over 'TextOn' when both are set.
    toggle->AddItem(std::make_unique<CItemData>("Text", ItemKind::Display, "T"));
    EXPECT_EQ(toggle->GetLabel(), "Object:TOGGLE(t1)T");
    GroupPtr group = MakeGroup(nullptr, LAYOUT_RADIO, "pay");
    EXPECT_EQ(group->GetLabel(), "Group:RADIO(pay)");
}

// --- Children -------------------------------------------------------------------------------

TEST(ObjectDataList, InsertChild)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    ObjectPtr p = MakeObject(root.get(), OBJ_TEXT, "p");
    ObjectPtr q = MakeObject(root.get(), OBJ_TEXT, "q");
    root->InsertChild(MakeObject(nullptr, OBJ_TEXT, "first"), nullptr, 1);
    EXPECT_EQ(ChildNames(*root), "first,p,q");
    root->InsertChild(MakeObject(nullptr, OBJ_TEXT, "afterP"), p.get(), 0);
    EXPECT_EQ(ChildNames(*root), "first,p,afterP,q");
    root->InsertChild(MakeObject(nullptr, OBJ_TEXT, "beforeP"), p.get(), 1);
    EXPECT_EQ(ChildNames(*root), "first,beforeP,p,afterP,q");
    root->InsertChild(MakeObject(nullptr, OBJ_TEXT, "afterQ"), q.get(), 0);
    EXPECT_EQ(ChildNames(*root), "first,beforeP,p,afterP,q,afterQ");
    ObjectPtr stranger = MakeObject(nullptr, OBJ_TEXT, "stranger");
    root->InsertChild(MakeObject(nullptr, OBJ_TEXT, "end1"), stranger.get(), 1);
    root->InsertChild(MakeObject(nullptr, OBJ_TEXT, "end2"), nullptr, 0);
    root->InsertChild(MakeObject(nullptr, OBJ_TEXT, "end3"), nullptr, 2);
    EXPECT_EQ(ChildNames(*root), "first,beforeP,p,afterP,q,afterQ,end1,end2,end3");
}

TEST(ObjectDataList, AppendIndexRemove)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    ObjectPtr a = MakeObject(nullptr, OBJ_TEXT, "a");
    EXPECT_EQ(root->AppendChild(a), 0);
    EXPECT_EQ(root->AppendChild(MakeObject(nullptr, OBJ_TEXT, "b")), 1);
    // Appending does not touch the parent pointer.
    EXPECT_EQ(a->ParentGroup(), nullptr);
    EXPECT_EQ(root->IndexOfChild(a.get()), 0);
    EXPECT_EQ(root->IndexOfChild(root.get()), -1);
    EXPECT_EQ(&root->ChildAt(1), root->ChildPtrAt(1).get());
    EXPECT_THROW(root->ChildAt(2), std::out_of_range);
    EXPECT_TRUE(root->RemoveChild(a.get()));
    EXPECT_FALSE(root->RemoveChild(a.get()));
    EXPECT_EQ(ChildNames(*root), "b");
    std::weak_ptr<CObjectData> b = root->ChildPtrAt(0);
    EXPECT_TRUE(root->RemoveChild(b.lock().get()));
    EXPECT_TRUE(b.expired());
}

TEST(ObjectDataList, ContainsLooksAtEveryLevel)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    GroupPtr inner = MakeGroup(root.get(), LAYOUT_FRAME, "inner");
    ObjectPtr deep = MakeObject(inner.get(), OBJ_TEXT, "deep");
    ObjectPtr other = MakeObject(nullptr, OBJ_TEXT, "other");
    EXPECT_TRUE(root->Contains(root.get()));
    EXPECT_TRUE(root->Contains(inner.get()));
    EXPECT_TRUE(root->Contains(deep.get()));
    EXPECT_FALSE(inner->Contains(root.get()));
    EXPECT_FALSE(root->Contains(other.get()));
}

// --- Marks, depth and hit testing -----------------------------------------------------------

TEST(ObjectDataList, MarksAndCounts)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    ObjectPtr a = MakeObject(root.get(), OBJ_TEXT, "a");
    GroupPtr g = MakeGroup(root.get(), LAYOUT_LINEAR, "g");
    ObjectPtr b = MakeObject(g.get(), OBJ_TEXT, "b");
    ObjectPtr c = MakeObject(g.get(), OBJ_TEXT, "c");
    EXPECT_EQ(root->CountMarked(), 0);
    EXPECT_EQ(root->FindMarked(), nullptr);

    // A marked group with no marked children counts 0.
    GroupPtr lonely = MakeGroup(nullptr, LAYOUT_LINEAR, "lonely");
    lonely->SetMark(1);
    EXPECT_EQ(lonely->GetMark(), 1);
    EXPECT_EQ(lonely->CountMarked(), 0);

    a->SetMark(1);
    c->SetMark(1);
    EXPECT_EQ(root->CountMarked(), 2);
    // Searched from the last child to the first.
    EXPECT_EQ(root->FindMarked(), c.get());
    g->SetMark(1);
    EXPECT_EQ(b->GetMark(), 1);
    EXPECT_EQ(root->CountMarked(), 3);
    EXPECT_EQ(root->FindMarked(), g.get());
    root->SetMark(1);
    EXPECT_EQ(root->FindMarked(), root.get());
    root->ClearMarks();
    EXPECT_EQ(root->GetMark(), 0);
    EXPECT_EQ(g->GetMark(), 0);
    EXPECT_EQ(c->GetMark(), 0);
    EXPECT_EQ(root->CountMarked(), 0);
}

TEST(ObjectDataList, MaxDepth)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    EXPECT_EQ(root->MaxDepth(0), 0);
    MakeObject(root.get(), OBJ_TEXT, "a");
    EXPECT_EQ(root->MaxDepth(0), 1);
    GroupPtr g = MakeGroup(root.get(), LAYOUT_LINEAR, "g");
    EXPECT_EQ(root->MaxDepth(0), 1);
    GroupPtr h = MakeGroup(g.get(), LAYOUT_LINEAR, "h");
    MakeObject(h.get(), OBJ_TEXT, "deep");
    EXPECT_EQ(root->MaxDepth(0), 3);
    EXPECT_EQ(root->MaxDepth(5), 8);
    EXPECT_EQ(MakeObject(nullptr, OBJ_TEXT, "x")->MaxDepth(4), 4);
}

TEST(ObjectDataList, HitTest)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_FRAME, "root");
    SetRect(*root, 0, 0, 200, 200);
    ObjectPtr back = MakeObject(root.get(), OBJ_PICTURE, "back");
    SetRect(*back, 10, 10, 110, 110);
    ObjectPtr front = MakeObject(root.get(), OBJ_BUTTON, "front");
    SetRect(*front, 50, 50, 150, 150);
    GroupPtr inner = MakeGroup(root.get(), LAYOUT_LINEAR, "inner");
    SetRect(*inner, 0, 160, 200, 200);
    ObjectPtr nested = MakeObject(inner.get(), OBJ_TEXT, "nested");
    SetRect(*nested, 0, 160, 20, 180);

    EXPECT_EQ(root->HitTest(60, 60), front.get());
    EXPECT_EQ(root->HitTest(20, 20), back.get());
    EXPECT_EQ(root->HitTest(10, 10), back.get());
    EXPECT_EQ(root->HitTest(110, 20), nullptr);
    EXPECT_EQ(root->HitTest(149, 149), front.get());
    EXPECT_EQ(root->HitTest(150, 150), nullptr);
    EXPECT_EQ(root->HitTest(5, 170), nested.get());
    // Inside groups but outside all objects: nothing, never a group.
    EXPECT_EQ(root->HitTest(100, 190), nullptr);
    EXPECT_EQ(root->HitTest(190, 5), nullptr);
    EXPECT_EQ(root->HitTestChildren(60, 60), front.get());
    EXPECT_EQ(front->HitTest(60, 60), front.get());
    EXPECT_EQ(front->HitTest(0, 0), nullptr);
    // An object that was never laid out is never hit.
    ObjectPtr unplaced = MakeObject(nullptr, OBJ_TEXT, "u");
    EXPECT_EQ(unplaced->HitTest(0, 0), nullptr);
}

// --- Grouping -------------------------------------------------------------------------------

TEST(ObjectDataList, GroupMarkedMovesMarkedNodesIntoANewGroup)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_FRAME, "root");
    ObjectPtr p = MakeObject(root.get(), OBJ_TEXT, "p");
    ObjectPtr q = MakeObject(root.get(), OBJ_TEXT, "q");
    ObjectPtr r = MakeObject(root.get(), OBJ_TEXT, "r");
    ObjectPtr s = MakeObject(root.get(), OBJ_TEXT, "s");
    q->SetMark(1);
    s->SetMark(1);
    GroupPtr g = root->GroupMarked(*q);
    ASSERT_NE(g, nullptr);
    g->SetItem("Name", "G");
    EXPECT_EQ(ChildNames(*root), "p,G,r");
    EXPECT_EQ(ChildNames(*g), "q,s");
    EXPECT_EQ(g->ParentGroup(), root.get());
    EXPECT_EQ(q->ParentGroup(), g.get());
    EXPECT_EQ(s->ParentGroup(), g.get());
    EXPECT_EQ(g->GetLabel(), "Group:LINEAR(G)");
    EXPECT_EQ(g->Items().Count(), 14);
    EXPECT_TRUE(g->Expanded());
    EXPECT_EQ(g->GetMark(), 1);
    EXPECT_EQ(q->GetMark(), 1);
    EXPECT_EQ(p->GetMark(), 0);
    EXPECT_EQ(CheckTree(*root), 5);
}

TEST(ObjectDataList, GroupMarkedTakesMarkedGroupsWhole)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    ObjectPtr a = MakeObject(root.get(), OBJ_TEXT, "a");
    GroupPtr h = MakeGroup(root.get(), LAYOUT_LINEAR, "h");
    MakeObject(h.get(), OBJ_TEXT, "h1");
    MakeObject(h.get(), OBJ_TEXT, "h2");
    GroupPtr k = MakeGroup(root.get(), LAYOUT_LINEAR, "k");
    MakeObject(k.get(), OBJ_TEXT, "k1");
    ObjectPtr k2 = MakeObject(k.get(), OBJ_TEXT, "k2");
    h->SetMark(1);
    k2->SetMark(1);
    GroupPtr g = root->GroupMarked(*a);
    g->SetItem("Name", "G");
    EXPECT_EQ(ChildNames(*root), "G,a,k");
    EXPECT_EQ(ChildNames(*g), "h,k2");
    EXPECT_EQ(ChildNames(*h), "h1,h2");
    EXPECT_EQ(ChildNames(*k), "k1");
    EXPECT_EQ(CheckTree(*root), 8);
}

TEST(ObjectDataList, GroupMarkedWithoutParentDoesNothing)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    ObjectPtr a = MakeObject(root.get(), OBJ_TEXT, "a");
    a->SetMark(1);
    EXPECT_EQ(root->GroupMarked(*root), nullptr);
    EXPECT_EQ(ChildNames(*root), "a");
}

TEST(ObjectDataList, MarkedGroupNeverMovesIntoItsOwnDescendant)
{
    // The whole group m is selected and the anchor lies inside it: the new group is made inside
    // m, and m must not be moved into it; the marked nodes inside m move instead.
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    GroupPtr m = MakeGroup(root.get(), LAYOUT_LINEAR, "m");
    ObjectPtr a = MakeObject(m.get(), OBJ_TEXT, "a");
    GroupPtr x = MakeGroup(m.get(), LAYOUT_LINEAR, "x");
    ObjectPtr deep = MakeObject(x.get(), OBJ_TEXT, "deep");
    ObjectPtr other = MakeObject(root.get(), OBJ_TEXT, "other");
    m->SetMark(1);
    GroupPtr g = root->GroupMarked(*deep);
    ASSERT_NE(g, nullptr);
    g->SetItem("Name", "G");
    EXPECT_EQ(ChildNames(*root), "m,other");
    EXPECT_EQ(ChildNames(*m), "x");
    EXPECT_EQ(ChildNames(*x), "G");
    EXPECT_EQ(ChildNames(*g), "a,deep");
    EXPECT_EQ(CheckTree(*root), 6);

    // Asked directly, a marked group answers 0 for a target anywhere below it.
    GroupPtr top = MakeGroup(nullptr, LAYOUT_LINEAR, "top");
    GroupPtr level1 = MakeGroup(top.get(), LAYOUT_LINEAR, "level1");
    GroupPtr level2 = MakeGroup(level1.get(), LAYOUT_LINEAR, "level2");
    level1->SetMark(1);
    EXPECT_EQ(level1->MoveMarkedInto(*level2), 0);
    EXPECT_EQ(level1->MoveMarkedInto(*level1), 0);
    EXPECT_EQ(ChildNames(*level2), "");
    EXPECT_EQ(ChildNames(*level1), "level2");
    EXPECT_EQ(CheckTree(*top), 2);
}

TEST(ObjectDataList, MoveMarkedIntoMovesOnlyMarkedNodes)
{
    GroupPtr target = MakeGroup(nullptr, LAYOUT_LINEAR, "target");
    ObjectPtr unmarked = MakeObject(nullptr, OBJ_TEXT, "u");
    EXPECT_EQ(unmarked->MoveMarkedInto(*target), 0);
    ObjectPtr marked = MakeObject(nullptr, OBJ_TEXT, "m");
    marked->SetMark(1);
    EXPECT_EQ(marked->MoveMarkedInto(*target), 1);
    EXPECT_EQ(marked->ParentGroup(), target.get());
    EXPECT_EQ(ChildNames(*target), "m");
    target->SetMark(1);
    EXPECT_EQ(target->MoveMarkedInto(*target), 0);
}

TEST(ObjectDataList, Ungroup)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    MakeObject(root.get(), OBJ_TEXT, "p");
    GroupPtr g = MakeGroup(root.get(), LAYOUT_LINEAR, "G");
    ObjectPtr x = MakeObject(g.get(), OBJ_TEXT, "x");
    MakeObject(g.get(), OBJ_TEXT, "y");
    MakeObject(root.get(), OBJ_TEXT, "r");
    std::weak_ptr<CObjectDataList> weakG = g;
    CObjectData* first = g->Ungroup();
    EXPECT_EQ(first, x.get());
    EXPECT_EQ(ChildNames(*root), "p,x,y,r");
    EXPECT_EQ(g->ChildCount(), 0);
    EXPECT_EQ(root->IndexOfChild(g.get()), -1);
    EXPECT_EQ(CheckTree(*root), 4);
    g.reset();
    EXPECT_TRUE(weakG.expired());
}

TEST(ObjectDataList, UngroupRefusals)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    MakeObject(root.get(), OBJ_TEXT, "a");
    EXPECT_EQ(root->Ungroup(), nullptr);
    EXPECT_EQ(ChildNames(*root), "a");
    GroupPtr empty = MakeGroup(root.get(), LAYOUT_LINEAR, "empty");
    EXPECT_EQ(empty->Ungroup(), nullptr);
    EXPECT_EQ(ChildNames(*root), "a,empty");
}

// --- Copying --------------------------------------------------------------------------------

TEST(ObjectData, CopyFromSharesHeadersCommandsAndChildren)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    ObjectPtr grid = MakeObject(root.get(), OBJ_GRID, "gr");
    MakeHeaderColumn(*grid);
    MakeCommand(*grid, "CLOSE", "OnClick");
    grid->SetMark(1);
    grid->SetExpanded(true);

    CObjectData copy(nullptr);
    copy.CopyFrom(*grid);
    EXPECT_EQ(copy.SerialNumber(), grid->SerialNumber());
    EXPECT_EQ(copy.GetMark(), 0);
    EXPECT_TRUE(copy.Expanded());
    EXPECT_EQ(copy.ParentGroup(), root.get());
    EXPECT_EQ(copy.HeaderColumns(), grid->HeaderColumns());
    EXPECT_EQ(copy.CommandList(), grid->CommandList());
    EXPECT_TRUE(copy.SameItems(*grid));
    EXPECT_TRUE(grid->SameItems(copy));
    copy.SetItem("Name", "changed");
    EXPECT_FALSE(copy.SameItems(*grid));
    copy.SetItem("Name", "gr");
    copy.SetParentGroup(nullptr);
    EXPECT_FALSE(copy.SameItems(*grid));
    copy.SetParentGroup(root.get());
    copy.CommandList().push_back(std::make_shared<TekClass>(NodeType::Command));
    EXPECT_FALSE(copy.SameItems(*grid));

    CObjectDataList groupCopy(nullptr);
    groupCopy.CopyFrom(*root);
    EXPECT_EQ(groupCopy.Type(), NodeType::Group);
    EXPECT_EQ(groupCopy.Children(), root->Children());
    EXPECT_TRUE(groupCopy.SameItems(*root));
    MakeObject(root.get(), OBJ_TEXT, "new");
    EXPECT_FALSE(groupCopy.SameItems(*root));
}

// --- Records --------------------------------------------------------------------------------

TEST(ObjectRecord, GridExample)
{
    ObjectPtr grid = MakeObject(nullptr, OBJ_GRID, "gr");
    grid->SetItem("Columns", "2");
    MakeHeaderColumn(*grid)->SetItem("TSize", "12");
    MakeHeaderColumn(*grid);
    EXPECT_EQ(RecordText(*grid, 0), "{'Name':'gr','Type':'GRID','Columns':'2','NotifyList':'Name,Value,Position',"
                                    "'Header':[{'TSize':'12'},{}]}");
}

TEST(ObjectRecord, GroupExampleAtDepthTwo)
{
    GroupPtr g1 = MakeGroup(nullptr, LAYOUT_LINEAR, "g1");
    ObjectPtr b1 = MakeObject(g1.get(), OBJ_BUTTON, "b1");
    b1->SetItem("Text", "OK");
    EXPECT_EQ(RecordText(*g1, 2), "\t\t{'Name':'g1','Type':'GROUP','Layout':'LINEAR','NotifyList':'Name','Objects':[\n"
                                  "\t\t\t{'Name':'b1','Type':'BUTTON','Text':'OK','NotifyList':'Name,Text,Attr'}\n"
                                  "\t\t]}");
}

TEST(ObjectRecord, EmptyGroup)
{
    GroupPtr g = MakeGroup(nullptr, LAYOUT_FRAME, "g");
    g->SetItem("Width", "PARENT");
    EXPECT_EQ(RecordText(*g, 1), "\t{'Name':'g','Type':'GROUP','Layout':'FRAME','Width':'PARENT','NotifyList':'Name',"
                                 "'Objects':[\n\t]}");
    // With every item empty only the list remains.
    CObjectDataList bare(nullptr);
    EXPECT_EQ(RecordText(bare, 0), "{'Objects':[\n]}");
}

TEST(ObjectRecord, ChildrenSeparatedAndEventsPlaced)
{
    GroupPtr g = MakeGroup(nullptr, LAYOUT_LINEAR, "g");
    MakeCommand(*g, "CLOSE", "OnClick");
    ObjectPtr a = MakeObject(g.get(), OBJ_TEXT, "a");
    ObjectPtr b = MakeObject(g.get(), OBJ_BUTTON, "b");
    MakeCommand(*b, "HELLO", "OnClick");
    EXPECT_EQ(RecordText(*g, 0), "{'Name':'g','Type':'GROUP','Layout':'LINEAR','NotifyList':'Name',\n"
                                 "'OnClick':{'Event':'OnClick','Command':'CLOSE'},'Objects':[\n"
                                 "\t{'Name':'a','Type':'TEXT','NotifyList':'Name,Text'},\n"
                                 "\t{'Name':'b','Type':'BUTTON','NotifyList':'Name,Text,Attr',\n"
                                 "\t'OnClick':{'Event':'OnClick','Command':'SENDCOMMAND','SendCommand':'HELLO'}}\n"
                                 "]}");
}

TEST(ObjectRecord, CommasBetweenItemsHeaderAndEvents)
{
    CObjectData empty(nullptr);
    EXPECT_EQ(RecordText(empty, 1), "\t{}");
    MakeHeaderColumn(empty)->SetItem("BGColor", "RED");
    EXPECT_EQ(RecordText(empty, 0), "{'Header':[{'BGColor':'RED'}]}");
    MakeCommand(empty, "CLOSE", "OnClick");
    EXPECT_EQ(RecordText(empty, 0), "{'Header':[{'BGColor':'RED'}],\n'OnClick':{'Event':'OnClick','Command':'CLOSE'}}");
    CObjectData onlyEvents(nullptr);
    MakeCommand(onlyEvents, "CLOSE", "OnClick");
    EXPECT_EQ(RecordText(onlyEvents, 0), "{\n'OnClick':{'Event':'OnClick','Command':'CLOSE'}}");
    // A command with an unknown event leaves no trace.
    CObjectData unknownEvent(nullptr);
    unknownEvent.AddItem(std::make_unique<CItemData>("Name", ItemKind::FreeText, "n"));
    MakeCommand(unknownEvent, "CLOSE", "OnPaint");
    EXPECT_EQ(RecordText(unknownEvent, 0), "{'Name':'n'}");
}

TEST(ObjectRecord, HeaderColumnsOfAGroupAreNotWritten)
{
    GroupPtr g = MakeGroup(nullptr, LAYOUT_LINEAR, "g");
    MakeHeaderColumn(*g)->SetItem("TSize", "1");
    EXPECT_EQ(RecordText(*g, 0), "{'Name':'g','Type':'GROUP','Layout':'LINEAR','NotifyList':'Name','Objects':[\n]}");
}

// --- Tree items -----------------------------------------------------------------------------

TEST(ObjectTree, InsertsItemsWithHeadersCommandsAndChildren)
{
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    ObjectPtr grid = MakeObject(root.get(), OBJ_GRID, "gr");
    grid->SetExpanded(true);
    MakeHeaderColumn(*grid);
    MakeHeaderColumn(*grid);
    MakeHeaderColumn(*grid);
    TekPtr command = MakeCommand(*grid, "GETFILE", "OnClick");
    GroupPtr inner = MakeGroup(root.get(), LAYOUT_PAGE, "inner");
    MakeCommand(*inner, "DELETE", "OnClick");
    MakeObject(inner.get(), OBJ_METER, "m");

    RecordingTreeView tree;
    TreeItemId top = tree.InsertItem("Dialog:D", kTreeRootLevel, kTreeInsertLast, nullptr);
    TreeItemId item = root->InsertIntoTree(tree, top, kTreeInsertLast);
    EXPECT_EQ(tree.At(item).node, root.get());
    EXPECT_EQ(tree.Outline(), "Dialog:D\n"
                              "  Group:LINEAR(root) [-]\n"
                              "    Object:GRID(gr) [+]\n"
                              "      Header:Cullum1\n"
                              "      Header:Cullum2\n"
                              "      Header:Cullum3\n"
                              "      Command:SENDCOMMAND\n"
                              "    Group:PAGE(inner) [-]\n"
                              "      Command:DELETE\n"
                              "      Object:METER(m) [-]\n");
    EXPECT_EQ(tree.At(tree.Find("Command:SENDCOMMAND")).node, command.get());
    EXPECT_EQ(tree.At(tree.Find("Header:Cullum3")).node, grid->HeaderColumns()[2].get());

    // Inserting after a sibling, and at the front.
    ObjectPtr extra = MakeObject(nullptr, OBJ_TEXT, "extra");
    extra->InsertIntoTree(tree, item, tree.Find("Object:GRID(gr)"));
    ObjectPtr front = MakeObject(nullptr, OBJ_TEXT, "front");
    front->InsertIntoTree(tree, item, kTreeInsertFirst);
    const auto& children = tree.At(item).children;
    ASSERT_EQ(children.size(), 4u);
    EXPECT_EQ(tree.At(children[0]).text, "Object:TEXT(front)");
    EXPECT_EQ(tree.At(children[2]).text, "Object:TEXT(extra)");
}

} // namespace
} // namespace vesk
