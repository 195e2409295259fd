// The resource tree: items and their file text, node basics, dialogs and their names, the
// dialog list, and building the tree view.

#include <gtest/gtest.h>

#include "model/itemdata.h"
#include "objects/resourcedata.h"
#include "model/tekclass.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "testsupport.h"

namespace vesk {
namespace {

using test::MakeCommand;
using test::MakeGroup;
using test::MakeHeaderColumn;
using test::MakeObject;
using test::RecordingTreeView;
using test::Sjis;

std::string Text(const char* name, ItemKind kind, std::string value)
{
    return ItemText(CItemData(name, kind, std::move(value)));
}

// --- ItemText -------------------------------------------------------------------------------

TEST(ItemText, EmptyNameOrValueGivesNothing)
{
    EXPECT_EQ(Text("Name", ItemKind::FreeText, ""), "");
    EXPECT_EQ(Text("", ItemKind::FreeText, "x"), "");
    EXPECT_EQ(Text("DeviceWidth", ItemKind::Number, ""), "");
}

TEST(ItemText, KindsUpToNineAreQuotedAboveNineBare)
{
    EXPECT_EQ(Text("Name", ItemKind::FreeText, "Main"), "'Name':'Main'");
    EXPECT_EQ(Text("Event", ItemKind::Fixed, "OnClick"), "'Event':'OnClick'");
    EXPECT_EQ(Text("Layout", ItemKind::Choice, "LINEAR"), "'Layout':'LINEAR'");
    EXPECT_EQ(Text("Width", ItemKind::Suggest, "PARENT"), "'Width':'PARENT'");
    EXPECT_EQ(Text("File", ItemKind::Image, "a.png"), "'File':'a.png'");
    EXPECT_EQ(Text("TSize", ItemKind::Size, "12"), "'TSize':'12'");
    EXPECT_EQ(Text("DeviceWidth", ItemKind::Number, "480"), "'DeviceWidth':480");
    EXPECT_EQ(Text("Min", ItemKind::Number, "-5"), "'Min':-5");
    EXPECT_EQ(Text("Weight", ItemKind::Number, "1.5"), "'Weight':1.5");
    EXPECT_EQ(Text("Hide", ItemKind::Flag, "true"), "'Hide':true");
    EXPECT_EQ(Text("Hide", ItemKind::Flag, "false"), "'Hide':false");
    EXPECT_EQ(Text("Data", ItemKind::Data, "['1','2']"), "'Data':['1','2']");
    EXPECT_EQ(Text("Data", ItemKind::Data, "{'a':[1,{'b':true}]}"), "'Data':{'a':[1,{'b':true}]}");
}

TEST(ItemText, DisplayTextIsWrittenAsUtf8)
{
    EXPECT_EQ(Text("Text", ItemKind::Display, Sjis("メインメニュー")), "'Text':'メインメニュー'");
    // Other kinds keep the held Shift_JIS bytes.
    EXPECT_EQ(Text("Name", ItemKind::FreeText, Sjis("注文")), "'Name':'" + Sjis("注文") + "'");
}

TEST(ItemText, QuoteBackslashAndControlBytesAreEscaped)
{
    EXPECT_EQ(Text("Name", ItemKind::FreeText, "it's"), "'Name':'it\\u0027s'");
    EXPECT_EQ(Text("File", ItemKind::Image, "C:\\a.png"), "'File':'C:\\\\a.png'");
    EXPECT_EQ(Text("Text", ItemKind::Display, "a\tb\nc\x01"), "'Text':'a\\u0009b\\u000Ac\\u0001'");
    EXPECT_EQ(Text("it's", ItemKind::FreeText, "v"), "'it\\u0027s':'v'");
    EXPECT_EQ(Text("a\\b", ItemKind::Number, "1"), "'a\\\\b':1");
    // A double quote and bytes from 0x20 up are ordinary.
    EXPECT_EQ(Text("Name", ItemKind::FreeText, "say \"hi\" ~"), "'Name':'say \"hi\" ~'");
}

TEST(ItemText, ShiftJisSecondByteBackslashIsEscaped)
{
    const std::string so = Sjis("ソ"); // 0x83 0x5C
    ASSERT_EQ(so, "\x83\x5C");
    EXPECT_EQ(Text("Name", ItemKind::FreeText, so), "'Name':'\x83\\\\'");
    EXPECT_EQ(Text(so.c_str(), ItemKind::FreeText, "x"), "'\x83\\\\':'x'");
    // Display text goes out as UTF-8, where no such byte remains.
    EXPECT_EQ(Text("Text", ItemKind::Display, Sjis("表示")), "'Text':'表示'");
}

TEST(ItemText, MalformedBareValuesAreQuoted)
{
    EXPECT_EQ(Text("DeviceWidth", ItemKind::Number, "abc"), "'DeviceWidth':'abc'");
    EXPECT_EQ(Text("DeviceWidth", ItemKind::Number, "1-2"), "'DeviceWidth':'1-2'");
    EXPECT_EQ(Text("DeviceWidth", ItemKind::Number, "480px"), "'DeviceWidth':'480px'");
    EXPECT_EQ(Text("DeviceWidth", ItemKind::Number, " 480"), "'DeviceWidth':' 480'");
    EXPECT_EQ(Text("DeviceWidth", ItemKind::Number, "99999999999"), "'DeviceWidth':'99999999999'");
    EXPECT_EQ(Text("DeviceWidth", ItemKind::Number, "1e999"), "'DeviceWidth':'1e999'");
    EXPECT_EQ(Text("Hide", ItemKind::Flag, "TRUE"), "'Hide':'TRUE'");
    EXPECT_EQ(Text("Hide", ItemKind::Flag, "yes"), "'Hide':'yes'");
    EXPECT_EQ(Text("Data", ItemKind::Data, "[1,"), "'Data':'[1,'");
    EXPECT_EQ(Text("Data", ItemKind::Data, "null"), "'Data':'null'");
    EXPECT_EQ(Text("Data", ItemKind::Data, "[1] x"), "'Data':'[1] x'");
    EXPECT_EQ(Text("Data", ItemKind::Data, "['it''s']"), "'Data':'[\\u0027it\\u0027\\u0027s\\u0027]'");
}

TEST(ItemText, DataThatWouldNotReadBackAsItselfIsQuoted)
{
    // Parses, but its compact text holds a bare quote and would not parse again.
    EXPECT_EQ(Text("Data", ItemKind::Data, "[\"it's\"]"), "'Data':'[\"it\\u0027s\"]'");
    // The escape would turn into a raw TAB.
    EXPECT_EQ(Text("Data", ItemKind::Data, "['a\\tb']"), "'Data':'[\\u0027a\\\\tb\\u0027]'");
    // ソ followed by a double quote would parse, eating the second byte of ソ as an escape.
    const std::string data = "['" + Sjis("ソ") + "\"']";
    EXPECT_EQ(Text("Data", ItemKind::Data, data), "'Data':'[\\u0027\x83\\\\\"\\u0027]'");
}

// --- TekClass -------------------------------------------------------------------------------

TEST(TekClass, GetSetAndAddItems)
{
    TekClass node(NodeType::Command);
    node.AddItem(std::make_unique<CItemData>("Name", ItemKind::FreeText, "a"));
    node.AddItem(std::make_unique<CItemData>("Name", ItemKind::FreeText, "second"));
    EXPECT_EQ(node.GetItem("Name"), "a");
    EXPECT_EQ(node.GetItem("name"), "");
    EXPECT_EQ(node.GetItem("Missing"), "");
    EXPECT_TRUE(node.SetItem("Name", "b"));
    EXPECT_EQ(node.Items().At(0).Value(), "b");
    EXPECT_EQ(node.Items().At(1).Value(), "second");
    EXPECT_FALSE(node.SetItem("Missing", "x"));
    EXPECT_EQ(node.Items().Count(), 2);
    node.SetOrAddItem("Extra", "5");
    ASSERT_EQ(node.Items().Count(), 3);
    EXPECT_EQ(node.Items().At(2).Kind(), ItemKind::FreeText);
    EXPECT_EQ(node.Items().At(2).Choices(), nullptr);
    node.SetOrAddItem("Extra", "6");
    EXPECT_EQ(node.Items().Count(), 3);
    EXPECT_EQ(node.GetItem("Extra"), "6");
}

TEST(TekClass, SerialNumbersGrowWithEachConstruction)
{
    TekClass a(NodeType::Command);
    TekClass b(NodeType::HeaderColumn);
    CTekDialogData c("x", nullptr);
    EXPECT_GT(a.SerialNumber(), 0u);
    EXPECT_EQ(b.SerialNumber(), a.SerialNumber() + 1);
    EXPECT_EQ(c.SerialNumber(), b.SerialNumber() + 1);
}

TEST(TekClass, SameItemsComparesNamesAndValuesOnly)
{
    static const ChoiceList choices = {"A"};
    TekClass a(NodeType::Command);
    TekClass b(NodeType::Command);
    a.AddItem(std::make_unique<CItemData>("Name", ItemKind::FreeText, "x"));
    b.AddItem(std::make_unique<CItemData>("Name", ItemKind::Choice, "x", &choices));
    EXPECT_TRUE(a.SameItems(b));
    b.SetItem("Name", "y");
    EXPECT_FALSE(a.SameItems(b));
    b.SetItem("Name", "x");
    b.AddItem(std::make_unique<CItemData>("Alias", ItemKind::FreeText));
    EXPECT_FALSE(a.SameItems(b));
    TekClass c(NodeType::Command);
    c.AddItem(std::make_unique<CItemData>("Alias", ItemKind::FreeText, "x"));
    EXPECT_FALSE(a.SameItems(c));
}

TEST(TekClass, CopyFromTakesTypeFlagSerialAndACopyOfTheItems)
{
    TekClass source(NodeType::Command);
    source.SetExpanded(true);
    source.AddItem(std::make_unique<CItemData>("Name", ItemKind::Choice, "x"));
    TekClass copy(NodeType::HeaderColumn);
    copy.AddItem(std::make_unique<CItemData>("Old", ItemKind::FreeText, "gone"));
    copy.CopyFrom(source);
    EXPECT_EQ(copy.Type(), NodeType::Command);
    EXPECT_TRUE(copy.Expanded());
    EXPECT_EQ(copy.SerialNumber(), source.SerialNumber());
    EXPECT_TRUE(copy.SameItems(source));
    EXPECT_EQ(copy.Items().At(0).Kind(), ItemKind::Choice);
    source.SetItem("Name", "changed");
    EXPECT_EQ(copy.GetItem("Name"), "x");
}

TEST(TekClass, Labels)
{
    CTekDialogData top("Top", nullptr);
    EXPECT_EQ(top.GetLabel(), "Dialog:Top");
    TekClass command(NodeType::Command);
    command.AddItem(std::make_unique<CItemData>("Name", ItemKind::FreeText, "Btn"));
    EXPECT_EQ(command.GetLabel(), "Name(Btn)");
    CTekResourceData resource;
    resource.SetItem("Name", "Demo");
    EXPECT_EQ(resource.GetLabel(), "Name(Demo)");
    EXPECT_EQ(resource.Dialogs().GetLabel(), "Dialogs");
    EXPECT_EQ(resource.Dialogs().Type(), NodeType::DialogList);
    EXPECT_EQ(resource.Dialogs().Items().Count(), 0);
}

TEST(TekClass, OnlyDialogsAndObjectsKeepCommands)
{
    TekClass plain(NodeType::Command);
    EXPECT_EQ(plain.AddCommand(std::make_shared<TekClass>(NodeType::Command)), 0);
    CTekDialogData dialog("d", nullptr);
    EXPECT_EQ(dialog.AddCommand(std::make_shared<TekClass>(NodeType::Command)), 0);
    EXPECT_EQ(dialog.AddCommand(std::make_shared<TekClass>(NodeType::Command)), 1);
    EXPECT_EQ(dialog.Commands().size(), 2u);
}

// --- Resource and dialogs -------------------------------------------------------------------

TEST(Resource, DefaultItems)
{
    CTekResourceData resource;
    EXPECT_EQ(resource.Type(), NodeType::Resource);
    EXPECT_EQ(test::ItemNames(resource), "Name,DeviceWidth,DeviceHeight");
    EXPECT_EQ(resource.Items().At(0).Kind(), ItemKind::FreeText);
    EXPECT_EQ(resource.Items().At(1).Kind(), ItemKind::Number);
    EXPECT_EQ(resource.Items().At(2).Kind(), ItemKind::Number);
    for (const auto& item : resource.Items()) {
        EXPECT_EQ(item->Value(), "");
        EXPECT_EQ(item->Choices(), nullptr);
    }
    EXPECT_EQ(resource.FileName(), "");
    EXPECT_EQ(resource.Dialogs().Count(), 0);
}

TEST(Resource, ResetLeavesTheProjectOfAFreshStart)
{
    CTekResourceData resource;
    resource.SetItem("Name", "DemoTerminal");
    resource.SetItem("DeviceWidth", "480");
    resource.SetOrAddItem("Foo", "5");
    resource.SetFileName("/projects/demo.veskspro");
    resource.Dialogs().AddDialog("Main");
    resource.Reset();
    const CTekResourceData fresh;
    EXPECT_TRUE(resource.SameItems(fresh)) << test::ItemNames(resource);
    EXPECT_EQ(resource.Items().At(1).Kind(), ItemKind::Number);
    EXPECT_EQ(resource.FileName(), "");
    EXPECT_EQ(resource.Dialogs().Count(), 0);
}

TEST(Dialog, DefaultItems)
{
    CTekDialogData dialog("Main", nullptr);
    const ChoiceLists& lists = SharedChoiceLists();
    EXPECT_EQ(dialog.Type(), NodeType::Dialog);
    EXPECT_FALSE(dialog.Expanded());
    EXPECT_EQ(test::ItemNames(dialog), "Name,TemplateType,TargetLayoutWidth,TargetLayoutHeight,OnOpen,OnClose,OnTimer");
    const CItemList& items = dialog.Items();
    EXPECT_EQ(items.At(0).Value(), "Main");
    EXPECT_EQ(items.At(0).Kind(), ItemKind::FreeText);
    EXPECT_EQ(items.At(1).Kind(), ItemKind::Suggest);
    EXPECT_EQ(items.At(1).Choices(), &lists.templates);
    ASSERT_EQ(lists.templates, (ChoiceList{"None", "Shared", "Unique"}));
    EXPECT_EQ(items.At(2).Kind(), ItemKind::Number);
    EXPECT_EQ(items.At(3).Kind(), ItemKind::Number);
    for (int i = 4; i < 7; ++i) {
        EXPECT_EQ(items.At(i).Kind(), ItemKind::Choice);
        EXPECT_EQ(items.At(i).Choices(), &lists.command);
        EXPECT_EQ(items.At(i).Value(), "");
    }
    EXPECT_EQ(dialog.RootObject(), nullptr);
    EXPECT_EQ(dialog.RootGroup(), nullptr);
}

TEST(Dialog, NamesAreMadeUnique)
{
    CTekResourceData resource;
    CTekDialogDataList& dialogs = resource.Dialogs();
    EXPECT_EQ(dialogs.AddDialog("Main").GetItem("Name"), "Main");
    EXPECT_EQ(dialogs.AddDialog("Main2").GetItem("Name"), "Main2");
    EXPECT_EQ(dialogs.AddDialog("Main").GetItem("Name"), "Main3");
    EXPECT_EQ(dialogs.AddDialog("Main").GetItem("Name"), "Main4");
    EXPECT_EQ(dialogs.AddDialog("Other").GetItem("Name"), "Other");
    EXPECT_EQ(dialogs.AddDialog("").GetItem("Name"), "");
    EXPECT_EQ(dialogs.AddDialog("").GetItem("Name"), "2");
    const std::string japanese = Sjis("注文");
    EXPECT_EQ(dialogs.AddDialog(japanese).GetItem("Name"), japanese);
    EXPECT_EQ(dialogs.AddDialog(japanese).GetItem("Name"), japanese + "2");
    // A dialog constructed against the list is not in it until appended.
    CTekDialogData loose("Other", &dialogs);
    EXPECT_EQ(loose.GetItem("Name"), "Other2");
    EXPECT_EQ(dialogs.FindDialog("Other2"), nullptr);
}

TEST(DialogList, FindIndexAndRemove)
{
    CTekDialogDataList dialogs;
    CTekDialogData& a = dialogs.AddDialog("A");
    CTekDialogData& b = dialogs.AddDialog("B");
    EXPECT_EQ(dialogs.Count(), 2);
    EXPECT_EQ(dialogs.FindDialog("B"), &b);
    EXPECT_EQ(dialogs.FindDialog("b"), nullptr);
    EXPECT_EQ(dialogs.IndexOf(&a), 0);
    EXPECT_EQ(dialogs.IndexOf(&b), 1);
    CTekDialogData stranger("A", nullptr);
    EXPECT_EQ(dialogs.IndexOf(&stranger), -1);
    EXPECT_EQ(&dialogs.At(1), &b);
    EXPECT_THROW(dialogs.At(2), std::out_of_range);
    // Renaming the first dialog makes FindDialog answer the first match.
    a.SetItem("Name", "B");
    EXPECT_EQ(dialogs.FindDialog("B"), &a);
    DialogPtr removed = dialogs.RemoveAt(0);
    EXPECT_EQ(removed.get(), &a);
    EXPECT_EQ(dialogs.Count(), 1);
    EXPECT_EQ(&dialogs.At(0), &b);
    dialogs.Clear();
    EXPECT_EQ(dialogs.Count(), 0);
}

TEST(Dialog, DeletingADialogFreesItsTreeAndCommands)
{
    CTekDialogDataList dialogs;
    CTekDialogData& dialog = dialogs.AddDialog("Main");
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    dialog.SetRoot(root);
    ObjectPtr button = MakeObject(root.get(), OBJ_BUTTON, "b1");
    ObjectPtr grid = MakeObject(root.get(), OBJ_GRID, "gr");
    std::weak_ptr<TekClass> header = MakeHeaderColumn(*grid);
    std::weak_ptr<TekClass> buttonCommand = MakeCommand(*button, "CLOSE", "OnClick");
    std::weak_ptr<TekClass> dialogCommand = MakeCommand(dialog, "OPEN", "OnOpen");
    std::weak_ptr<CObjectDataList> weakRoot = root;
    std::weak_ptr<CObjectData> weakButton = button;
    std::weak_ptr<CObjectData> weakGrid = grid;
    root.reset();
    button.reset();
    grid.reset();
    std::weak_ptr<CTekDialogData> weakDialog = dialogs.PtrAt(0);
    ASSERT_FALSE(weakRoot.expired());
    dialogs.RemoveAt(0);
    EXPECT_TRUE(weakDialog.expired());
    EXPECT_TRUE(weakRoot.expired());
    EXPECT_TRUE(weakButton.expired());
    EXPECT_TRUE(weakGrid.expired());
    EXPECT_TRUE(header.expired());
    EXPECT_TRUE(buttonCommand.expired());
    EXPECT_TRUE(dialogCommand.expired());
}

TEST(DialogList, ClearFreesEveryDialog)
{
    CTekDialogDataList dialogs;
    dialogs.AddDialog("A");
    dialogs.AddDialog("B");
    std::weak_ptr<CTekDialogData> a = dialogs.PtrAt(0);
    std::weak_ptr<CTekDialogData> b = dialogs.PtrAt(1);
    dialogs.Clear();
    EXPECT_TRUE(a.expired());
    EXPECT_TRUE(b.expired());
}

// --- Tree building --------------------------------------------------------------------------

TEST(ResourceTree, BuildsRootDialogsCommandsAndNodes)
{
    CTekResourceData resource;
    resource.SetItem("Name", "Demo");
    CTekDialogData& main = resource.Dialogs().AddDialog("Main");
    TekPtr open = MakeCommand(main, "OPEN", "OnOpen");
    MakeCommand(main, "CLOSE", "OnClose");
    GroupPtr root = MakeGroup(nullptr, LAYOUT_LINEAR, "root");
    main.SetRoot(root);
    ObjectPtr button = MakeObject(root.get(), OBJ_BUTTON, "b1");
    button->SetItem("Text", "OK");
    MakeCommand(*button, "CONDITION", "OnClick");
    ObjectPtr grid = MakeObject(root.get(), OBJ_GRID, "gr");
    TekPtr firstColumn = MakeHeaderColumn(*grid);
    MakeHeaderColumn(*grid);
    MakeCommand(*grid, "UPDATE", "OnClick");
    GroupPtr inner = MakeGroup(root.get(), LAYOUT_FRAME, "inner");
    inner->SetExpanded(true);
    ObjectPtr toggle = MakeObject(inner.get(), OBJ_TOGGLE, "t1");
    toggle->SetItem("TextOn", "ON");
    main.SetExpanded(true);
    resource.Dialogs().AddDialog("Empty");

    RecordingTreeView tree;
    resource.BuildTree(tree);
    EXPECT_EQ(tree.Outline(), "Root = Demo [+]\n"
                              "  Dialog:Main [+]\n"
                              "    Command:OPEN\n"
                              "    Command:CLOSE\n"
                              "    Group:LINEAR(root) [-]\n"
                              "      Object:BUTTON(b1)OK [-]\n"
                              "        Command:NOTIFY\n"
                              "      Object:GRID(gr) [-]\n"
                              "        Header:Cullum1\n"
                              "        Header:Cullum2\n"
                              "        Command:NOTIFY\n"
                              "      Group:FRAME(inner) [+]\n"
                              "        Object:TOGGLE(t1)ON [-]\n"
                              "  Dialog:Empty [-]\n");
    EXPECT_EQ(tree.At(tree.Find("Root = Demo")).node, &resource);
    EXPECT_EQ(tree.At(tree.Find("Dialog:Main")).node, &main);
    EXPECT_EQ(tree.At(tree.Find("Command:OPEN")).node, open.get());
    EXPECT_EQ(tree.At(tree.Find("Object:BUTTON(b1)OK")).node, button.get());
    EXPECT_EQ(tree.At(tree.Find("Header:Cullum1")).node, firstColumn.get());
    EXPECT_EQ(tree.At(tree.Find("Group:FRAME(inner)")).node, inner.get());

    // Rebuilding starts from an empty tree.
    resource.BuildTree(tree);
    EXPECT_EQ(tree.DeleteAllCount(), 2);
    EXPECT_EQ(tree.Count(), 14u);
}

TEST(ResourceTree, DialogInsertsAfterAGivenSibling)
{
    CTekResourceData resource;
    CTekDialogData& a = resource.Dialogs().AddDialog("A");
    CTekDialogData& b = resource.Dialogs().AddDialog("B");
    RecordingTreeView tree;
    TreeItemId root = tree.InsertItem("Root = ", kTreeRootLevel, kTreeInsertLast, &resource);
    TreeItemId first = a.InsertIntoTree(tree, root, kTreeInsertLast);
    b.InsertIntoTree(tree, root, kTreeInsertLast);
    CTekDialogData c("C", nullptr);
    c.InsertIntoTree(tree, root, first);
    EXPECT_EQ(tree.Outline(), "Root = \n  Dialog:A [-]\n  Dialog:C [-]\n  Dialog:B [-]\n");
}

TEST(ResourceTree, EmptyResourceShowsOnlyTheRoot)
{
    CTekResourceData resource;
    RecordingTreeView tree;
    resource.BuildTree(tree);
    EXPECT_EQ(tree.Outline(), "Root =  [+]\n");
}

} // namespace
} // namespace vesk
