// The project diff: each kind of edit made to the sample project and the lines it gives; how
// nodes are matched; dialogs chosen by name.

#include <gtest/gtest.h>

#include "records/projectdiff.h"
#include "projectsample.h"

namespace vesk {
namespace {

using namespace test;

struct DiffCase {
    const char* name;
    Edit edit;
    std::vector<std::string> lines;
};

void PrintTo(const DiffCase& diffCase, std::ostream* out)
{
    *out << diffCase.name;
}

std::vector<std::string> DiffLines(const CTekResourceData& older, const CTekResourceData& newer,
                                   std::string_view dialog = {})
{
    std::vector<std::string> lines;
    for (const ProjectChange& change : DiffProjects(older, newer, dialog))
        lines.push_back(DescribeChange(change));
    return lines;
}

std::vector<std::string> DiffOfEdit(const Edit& edit)
{
    CTekResourceData older, newer;
    LoadText(older);
    LoadText(newer);
    edit(newer);
    return DiffLines(older, newer);
}

std::string CaseName(const testing::TestParamInfo<DiffCase>& info)
{
    return info.param.name;
}

// --- Items ---------------------------------------------------------------------------------

class DiffItems : public testing::TestWithParam<DiffCase> {};

TEST_P(DiffItems, GiveOneLineEach)
{
    EXPECT_EQ(DiffOfEdit(GetParam().edit), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DiffItems,
    testing::Values(
        DiffCase{"Nothing", Edits({}), {}},
        DiffCase{"ProjectItem", SetItem("", "DeviceWidth", "600"), {"(project): DeviceWidth \"480\" -> \"600\""}},
        DiffCase{
            "DialogItem", SetItem("@Main", "TemplateType", "Shared"), {"Main: TemplateType \"None\" -> \"Shared\""}},
        DiffCase{"NodeItem", SetItem("ok", "Text", "決定"), {"Main/root/bar/ok: Text \"押す\" -> \"決定\""}},
        DiffCase{"ItemEmptied", SetItem("ok", "Text", ""), {"Main/root/bar/ok: Text \"押す\" -> \"\""}},
        DiffCase{"ItemsOfTwoNodesInTreeOrder",
                 Edits({SetItem("Settings:volume", "Max", "20"), SetItem("cancel", "Width", "48"),
                        SetItem("title", "Height", "16")}),
                 {"Main/root/title: Height \"\" -> \"16\"", "Main/root/bar/cancel: Width \"\" -> \"48\"",
                  "Settings/root/volume: Max \"10\" -> \"20\""}},
        DiffCase{
            "UnnamedNodeByItsRank", SetChildItem("box", 1, "Text", "c"), {"Main/root/box/#2: Text \"b\" -> \"c\""}},
        DiffCase{"ValuesAreQuoted",
                 SetItem("title", "Text", "say \"hi\"\\"),
                 {"Main/root/title: Text \"メニュー\" -> \"say \\\"hi\\\"\\\\\""}},
        DiffCase{
            "TypeChangeShowsTheItemsThatCameAndWent",
            ChangeType("cancel", OBJ_PROGRESS),
            {"Main/root/bar/cancel: Type \"BUTTON\" -> \"PROGRESS\"", "Main/root/bar/cancel: Text \"戻る\" -> \"\""}}),
    CaseName);

// --- Nodes added, removed, moved ------------------------------------------------------------

class DiffNodes : public testing::TestWithParam<DiffCase> {};

TEST_P(DiffNodes, GiveOneLineEach)
{
    EXPECT_EQ(DiffOfEdit(GetParam().edit), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DiffNodes,
    testing::Values(
        // The siblings after it change places, but not among themselves: no moves.
        DiffCase{"Added", AddNode("root", 1, OBJ_BUTTON, "help"), {"Main/root/help: added BUTTON at 1"}},
        DiffCase{"AddedGroupIsOneLine",
                 Edits({AddNode("root", 4, -1 - LAYOUT_TABLE, "grid"), AddNode("grid", 0, OBJ_TEXT, "cell")}),
                 {"Main/root/grid: added TABLE group at 4"}},
        DiffCase{"Removed", RemoveNode("cancel"), {"Main/root/bar/cancel: removed BUTTON"}},
        DiffCase{"RemovedGroupIsOneLine", RemoveNode("bar"), {"Main/root/bar: removed LINEAR group"}},
        DiffCase{"MovedToAnotherGroup",
                 MoveNode("ok", "root", 0),
                 {"Main/root/ok: moved from Main/root/bar at 0 to Main/root at 0"}},
        // Only the node that left its place moves, not the three it passed.
        DiffCase{"MovedWithinItsGroup",
                 MoveNode("title", "root", 3),
                 {"Main/root/title: moved from Main/root at 0 to Main/root at 3"}},
        DiffCase{"MovedAndChanged",
                 Edits({MoveNode("cancel", "box", 0), SetItem("cancel", "Text", "x")}),
                 {"Main/root/box/cancel: moved from Main/root/bar at 1 to Main/root/box at 0",
                  "Main/root/box/cancel: Text \"戻る\" -> \"x\""}},
        DiffCase{
            "MovedOutOfARemovedGroup",
            Edits({MoveNode("ok", "root", 0), RemoveNode("bar")}),
            {"Main/root/ok: moved from Main/root/bar at 0 to Main/root at 0", "Main/root/bar: removed LINEAR group"}},
        DiffCase{"MovedIntoAnAddedGroup",
                 Edits({AddNode("root", 1, -1 - LAYOUT_LINEAR, "panel"), MoveNode("ok", "panel", 0)}),
                 {"Main/root/panel: added LINEAR group at 1",
                  "Main/root/panel/ok: moved from Main/root/bar at 0 to Main/root/panel at 0"}},
        // A node is matched by its name: a new name is another node.
        DiffCase{"RenamedIsRemovedAndAdded",
                 SetItem("cancel", "Name", "back"),
                 {"Main/root/bar/back: added BUTTON at 1", "Main/root/bar/cancel: removed BUTTON"}},
        DiffCase{"UnnamedNodeAddedAfterItsSiblings",
                 AddNode("box", 2, OBJ_PICTURE, ""),
                 {"Main/root/box/#3: added PICTURE at 2"}}),
    CaseName);

// --- Commands and header columns ------------------------------------------------------------

class DiffCommands : public testing::TestWithParam<DiffCase> {};

TEST_P(DiffCommands, GiveOneLineEach)
{
    EXPECT_EQ(DiffOfEdit(GetParam().edit), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DiffCommands,
    testing::Values(
        DiffCase{"ItemOfANodesCommand",
                 SetCommandItem("ok", 0, "File", "Pay"),
                 {"Main/root/bar/ok/OnClick[0]: File \"Order\" -> \"Pay\""}},
        DiffCase{"CommandAdded",
                 AddCommand("ok", "UPDATE", "OnClick", "title"),
                 {"Main/root/bar/ok/OnClick[1]: added UPDATE"}},
        DiffCase{"CommandOfAnotherEventIsCountedApart",
                 AddCommand("ok", "SOUND", "OnClick"),
                 {"Main/root/bar/ok/OnClick[1]: added SOUND"}},
        DiffCase{"DialogCommandRemoved", RemoveCommand("@Main", 0), {"Main/OnOpen[0]: removed SOUND"}},
        DiffCase{"DialogCommandAdded", AddCommand("@Main", "TIMER", "OnTimer"), {"Main/OnTimer[0]: added TIMER"}},
        DiffCase{"HeaderColumnItem",
                 SetHeaderItem("list", 1, "TSize", "16"),
                 {"Main/root/list/Header[1]: TSize \"14\" -> \"16\""}},
        DiffCase{"HeaderColumnAdded",
                 AddHeader("list", "18"),
                 {"Main/root/list: Columns \"2\" -> \"3\"", "Main/root/list/Header[2]: added header column"}}),
    CaseName);

// --- Dialogs ---------------------------------------------------------------------------------

class DiffDialogs : public testing::TestWithParam<DiffCase> {};

TEST_P(DiffDialogs, GiveOneLineEach)
{
    EXPECT_EQ(DiffOfEdit(GetParam().edit), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Table, DiffDialogs,
                         testing::Values(DiffCase{"Added", AddDialog("Help"), {"Help: added dialog at 3"}},
                                         DiffCase{"Removed", RemoveDialog("Settings"), {"Settings: removed dialog"}},
                                         DiffCase{"Moved", MoveDialog("About", 0), {"About: moved from 2 to 0"}},
                                         DiffCase{"RemovedAndAdded",
                                                  Edits({RemoveDialog("Main"), AddDialog("Top")}),
                                                  {"Top: added dialog at 2", "Main: removed dialog"}}),
                         CaseName);

// --- Matching ---------------------------------------------------------------------------------

TEST(DiffMatching, TheSameProjectWrittenAnotherWayHasNoDifferences)
{
    // Other quotes, other key order, other blanks, and values the writer leaves out.
    const char* loose = R"({"Commands":[{"Command":"DIALOG","Name":"Settings","Object":{"Objects":[
        {"Max":10,"Type":"SLIDEBAR","Name":"volume","Min":""}],"Layout":"LINEAR","Name":"root"}}],
        "DeviceHeight":"800","Name":"Shop"})";
    const char* tidy = "{'Name':'Shop','DeviceHeight':800,'Commands':[{'Command':'DIALOG','Name':'Settings',"
                       "'Object':{'Name':'root','Type':'GROUP','Layout':'LINEAR','Objects':["
                       "{'Name':'volume','Type':'SLIDEBAR','Max':10}]}}]}";
    CTekResourceData older, newer;
    LoadText(older, loose);
    LoadText(newer, tidy);
    EXPECT_EQ(DiffLines(older, newer), std::vector<std::string>());
}

TEST(DiffMatching, NameUsedTwiceInADialogMatchesByPlace)
{
    // Two nodes named "ok": each is matched under its own parent, and shown with its rank
    // where its siblings share the name.
    CTekResourceData older, newer;
    LoadText(older);
    AddNode("box", 0, OBJ_BUTTON, "ok")(older);
    AddNode("box", 1, OBJ_BUTTON, "ok")(older);
    LoadText(newer);
    AddNode("box", 0, OBJ_BUTTON, "ok")(newer);
    AddNode("box", 1, OBJ_BUTTON, "ok")(newer);
    GroupNamed(newer, "box").ChildAt(1).SetItem("Text", "2");
    GroupNamed(newer, "bar").ChildAt(0).SetItem("Text", "1");
    EXPECT_EQ(DiffLines(older, newer), (std::vector<std::string>{"Main/root/bar/ok: Text \"押す\" -> \"1\"",
                                                                 "Main/root/box/ok#2: Text \"\" -> \"2\""}));
}

TEST(DiffMatching, NameUsedTwiceInOneVersionMatchesByPlaceInBoth)
{
    // A name that one version uses twice matches by place in both versions.
    CTekResourceData older, newer;
    LoadText(older);
    AddNode("box", 0, OBJ_BUTTON, "ok")(older);
    LoadText(newer);
    EXPECT_EQ(DiffLines(older, newer), std::vector<std::string>{"Main/root/box/ok: removed BUTTON"});
}

TEST(DiffMatching, GroupNeverMatchesAnObject)
{
    CTekResourceData older, newer;
    LoadText(older);
    LoadText(newer);
    RemoveNode("title")(newer);
    AddNode("root", 0, -1 - LAYOUT_LINEAR, "title")(newer);
    EXPECT_EQ(DiffLines(older, newer),
              (std::vector<std::string>{"Main/root/title: added LINEAR group at 0", "Main/root/title: removed TEXT"}));
}

TEST(DiffMatching, TopNodeMatchesWhateverItsName)
{
    CTekResourceData older, newer;
    LoadText(older);
    LoadText(newer);
    NodeNamed(newer, "root").SetItem("Name", "main");
    EXPECT_EQ(DiffLines(older, newer), std::vector<std::string>{"Main/main: Name \"root\" -> \"main\""});
}

TEST(DiffMatching, OnlyTheNamedDialog)
{
    CTekResourceData older, newer;
    LoadText(older);
    LoadText(newer);
    Edits({SetItem("", "Name", "Store"), SetItem("ok", "Text", "x"), SetItem("Settings:volume", "Max", "5"),
           RemoveDialog("About")})(newer);
    EXPECT_EQ(DiffLines(older, newer, "Settings"),
              std::vector<std::string>{"Settings/root/volume: Max \"10\" -> \"5\""});
    EXPECT_EQ(DiffLines(older, newer, "About"), std::vector<std::string>{"About: removed dialog"});
}

} // namespace
} // namespace vesk
