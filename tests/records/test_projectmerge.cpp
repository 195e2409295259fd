// The three-way merge: edits on one side, edits on both sides that meet cleanly, and every kind
// of conflict, each checked against the project the edits should give.

#include <gtest/gtest.h>

#include "records/projectdiff.h"
#include "records/projectmerge.h"
#include "projectsample.h"

namespace vesk {
namespace {

using namespace test;

struct MergeCase {
    const char* name;
    Edit ours;
    Edit theirs;
    Edit expected; ///< applied to the base: what the merge should give
    std::vector<std::string> conflicts = {};
};

void PrintTo(const MergeCase& mergeCase, std::ostream* out)
{
    *out << mergeCase.name;
}

std::string CaseName(const testing::TestParamInfo<MergeCase>& info)
{
    return info.param.name;
}

/// Loads the sample into base, ours and theirs, edits the two sides, merges, and checks the
/// merged project and the conflicts.
void CheckMerge(const Edit& oursEdit, const Edit& theirsEdit, const Edit& expectedEdit,
                const std::vector<std::string>& expectedConflicts)
{
    CTekResourceData base, ours, theirs, expected;
    LoadText(base);
    LoadText(ours);
    LoadText(theirs);
    LoadText(expected);
    oursEdit(ours);
    theirsEdit(theirs);
    expectedEdit(expected);

    std::vector<std::string> conflicts;
    for (const MergeConflict& conflict : MergeProjects(base, ours, theirs))
        conflicts.push_back(DescribeConflict(conflict));
    EXPECT_EQ(conflicts, expectedConflicts);

    const std::string merged = Canonical(ours);
    const std::string wanted = Canonical(expected);
    if (merged != wanted) {
        CTekResourceData mergedProject, wantedProject;
        LoadText(mergedProject, merged);
        LoadText(wantedProject, wanted);
        std::string differences;
        for (const ProjectChange& change : DiffProjects(wantedProject, mergedProject))
            differences += DescribeChange(change) + '\n';
        ADD_FAILURE() << "the merge differs from what was wanted by:\n" << differences << "merged:\n" << merged;
    }
}

// --- Changes that meet cleanly ---------------------------------------------------------------

class CleanMerge : public testing::TestWithParam<MergeCase> {};

TEST_P(CleanMerge, TakesBothSides)
{
    CheckMerge(GetParam().ours, GetParam().theirs, GetParam().expected, GetParam().conflicts);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CleanMerge,
    testing::Values(
        MergeCase{"ItemsOfTwoNodes", SetItem("ok", "Text", "決定"), SetItem("cancel", "Text", "中止"),
                  Edits({SetItem("ok", "Text", "決定"), SetItem("cancel", "Text", "中止")})},
        MergeCase{"TwoItemsOfOneNode", SetItem("ok", "Text", "決定"), SetItem("ok", "Width", "48"),
                  Edits({SetItem("ok", "Text", "決定"), SetItem("ok", "Width", "48")})},
        MergeCase{"TheSameChangeOnBothSides", SetItem("ok", "Text", "決定"), SetItem("ok", "Text", "決定"),
                  SetItem("ok", "Text", "決定")},
        MergeCase{"ProjectAndDialogItems",
                  Edits({SetItem("", "Name", "Store"), SetItem("@Main", "TemplateType", "Shared")}),
                  SetItem("", "DeviceWidth", "600"),
                  Edits({SetItem("", "Name", "Store"), SetItem("", "DeviceWidth", "600"),
                         SetItem("@Main", "TemplateType", "Shared")})},
        MergeCase{"AdditionsToOneGroupAtTwoPlaces", AddNode("root", 1, OBJ_BUTTON, "x"),
                  AddNode("root", 4, OBJ_BUTTON, "y"),
                  Edits({AddNode("root", 1, OBJ_BUTTON, "x"), AddNode("root", 5, OBJ_BUTTON, "y")})},
        // Both after ok: ours' addition first.
        MergeCase{"AdditionsAtOnePlace", AddNode("bar", 1, OBJ_BUTTON, "x"), AddNode("bar", 1, OBJ_BUTTON, "y"),
                  Edits({AddNode("bar", 1, OBJ_BUTTON, "x"), AddNode("bar", 2, OBJ_BUTTON, "y")})},
        MergeCase{"TheSameAdditionOnBothSides", AddNode("bar", 2, OBJ_TEXT, "help", "?"),
                  AddNode("bar", 2, OBJ_TEXT, "help", "?"), AddNode("bar", 2, OBJ_TEXT, "help", "?")},
        MergeCase{"AddedGroupWithItsChildren", SetItem("title", "Text", "x"),
                  Edits({AddNode("root", 2, -1 - LAYOUT_LINEAR, "panel"), AddNode("panel", 0, OBJ_EDIT, "input")}),
                  Edits({SetItem("title", "Text", "x"), AddNode("root", 2, -1 - LAYOUT_LINEAR, "panel"),
                         AddNode("panel", 0, OBJ_EDIT, "input")})},
        MergeCase{"RemovalAndAChangeElsewhere", RemoveNode("cancel"), SetItem("ok", "Text", "決定"),
                  Edits({RemoveNode("cancel"), SetItem("ok", "Text", "決定")})},
        MergeCase{"UnchangedGroupRemoved", SetItem("title", "Text", "x"), RemoveNode("bar"),
                  Edits({SetItem("title", "Text", "x"), RemoveNode("bar")})},
        MergeCase{"MoveAndChange", SetItem("ok", "Text", "決定"), MoveNode("ok", "root", 0),
                  Edits({SetItem("ok", "Text", "決定"), MoveNode("ok", "root", 0)})},
        MergeCase{"MoveWithinAGroupAndAnAddition", AddNode("root", 2, OBJ_TEXT, "x"), MoveNode("title", "root", 3),
                  Edits({AddNode("root", 2, OBJ_TEXT, "x"), MoveNode("title", "root", 4)})},
        MergeCase{"MoveIntoAFrameTakesItsPlaceItems", SetItem("ok", "Text", "決定"),
                  Edits({MoveNode("ok", "box", 0), SetItem("ok", "PosX", "10")}),
                  Edits({MoveNode("ok", "box", 0), SetItem("ok", "PosX", "10"), SetItem("ok", "Text", "決定")})},
        MergeCase{"TypeChangedAndAnItemSet", SetItem("cancel", "Width", "48"), ChangeType("cancel", OBJ_PROGRESS),
                  Edits({ChangeType("cancel", OBJ_PROGRESS), SetItem("cancel", "Width", "48")})},
        MergeCase{"UnnamedNodes", SetChildItem("box", 0, "Text", "x"), SetChildItem("box", 1, "Text", "y"),
                  Edits({SetChildItem("box", 0, "Text", "x"), SetChildItem("box", 1, "Text", "y")})},
        MergeCase{"CommandsOfOneNode", AddCommand("ok", "UPDATE", "OnClick", "title"),
                  SetCommandItem("ok", 0, "File", "Pay"),
                  Edits({SetCommandItem("ok", 0, "File", "Pay"), AddCommand("ok", "UPDATE", "OnClick", "title")})},
        MergeCase{"CommandsOfADialog", RemoveCommand("@Main", 0), AddCommand("@Main", "TIMER", "OnTimer"),
                  Edits({RemoveCommand("@Main", 0), AddCommand("@Main", "TIMER", "OnTimer")})},
        MergeCase{"HeaderColumns", AddHeader("list", "18"), SetHeaderItem("list", 0, "TSize", "10"),
                  Edits({AddHeader("list", "18"), SetHeaderItem("list", 0, "TSize", "10")})},
        MergeCase{"DialogsAddedRemovedAndChanged", AddDialog("Help"),
                  Edits({RemoveDialog("About"), SetItem("Settings:volume", "Max", "5")}),
                  Edits({AddDialog("Help"), RemoveDialog("About"), SetItem("Settings:volume", "Max", "5")})},
        MergeCase{"DialogMovedAndOneAdded", AddDialog("Help"), MoveDialog("About", 0),
                  Edits({MoveDialog("About", 0), AddDialog("Help")})}),
    CaseName);

// --- Conflicts -------------------------------------------------------------------------------

class ConflictingMerge : public testing::TestWithParam<MergeCase> {};

TEST_P(ConflictingMerge, KeepsOursAndListsTheConflict)
{
    CheckMerge(GetParam().ours, GetParam().theirs, GetParam().expected, GetParam().conflicts);
}

/// Theirs' dialog Main gets an object as its top node.
void ReplaceTop(CTekResourceData& project)
{
    auto solo = std::make_shared<CObjectData>(nullptr);
    BuildObjectItems(*solo, OBJ_TEXT);
    solo->SetItem("Name", "solo");
    DialogNamed(project, "Main").SetRoot(solo);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConflictingMerge,
    testing::Values(
        MergeCase{"ItemSetToTwoValues",
                  SetItem("ok", "Text", "決定"),
                  Edits({SetItem("ok", "Text", "OK"), SetItem("cancel", "Text", "x")}),
                  Edits({SetItem("ok", "Text", "決定"), SetItem("cancel", "Text", "x")}),
                  {"Main/root/bar/ok: Text changed on both sides: ours \"決定\", theirs \"OK\"; ours kept"}},
        MergeCase{"RemovedByTheirsChangedByOurs",
                  SetItem("cancel", "Text", "x"),
                  RemoveNode("cancel"),
                  SetItem("cancel", "Text", "x"),
                  {"Main/root/bar/cancel: removed on their side, changed on ours; ours kept"}},
        MergeCase{"RemovedByOursChangedByTheirs",
                  RemoveNode("cancel"),
                  SetItem("cancel", "Text", "x"),
                  RemoveNode("cancel"),
                  {"Main/root/bar/cancel: removed on our side, changed on theirs; left removed"}},
        MergeCase{"MovedByOursRemovedByTheirs",
                  MoveNode("cancel", "root", 0),
                  RemoveNode("cancel"),
                  MoveNode("cancel", "root", 0),
                  {"Main/root/cancel: removed on their side, changed on ours; ours kept"}},
        // The group comes back whole, at the one place reported.
        MergeCase{"GroupRemovedByTheirsWithAChangeInside",
                  SetItem("ok", "Text", "x"),
                  Edits({RemoveNode("bar"), SetItem("title", "Text", "y")}),
                  Edits({SetItem("ok", "Text", "x"), SetItem("title", "Text", "y")}),
                  {"Main/root/bar: removed on their side, changed on ours; ours kept"}},
        MergeCase{"GroupRemovedByTheirsWithAnAdditionInside",
                  AddNode("bar", 2, OBJ_TEXT, "x"),
                  RemoveNode("bar"),
                  AddNode("bar", 2, OBJ_TEXT, "x"),
                  {"Main/root/bar: removed on their side, changed on ours; ours kept"}},
        MergeCase{"AdditionIntoAGroupOursRemoved",
                  RemoveNode("bar"),
                  Edits({AddNode("bar", 0, OBJ_BUTTON, "new"), AddNode("root", 0, OBJ_TEXT, "top")}),
                  Edits({RemoveNode("bar"), AddNode("root", 0, OBJ_TEXT, "top")}),
                  {"Main/root/bar/new: added on their side into Main/root/bar, which our side removed; left out"}},
        MergeCase{"MoveIntoAGroupOursRemoved",
                  RemoveNode("box"),
                  MoveNode("title", "box", 0),
                  RemoveNode("box"),
                  {"Main/root/title: moved on their side into Main/root/box, which our side removed; ours kept"}},
        MergeCase{"MovedToTwoGroups",
                  MoveNode("ok", "root", 0),
                  MoveNode("ok", "box", 0),
                  MoveNode("ok", "root", 0),
                  {"Main/root/ok: moved on both sides: ours to Main/root at 0, theirs to Main/root/box at 0; "
                   "ours kept"}},
        MergeCase{"MovedToTwoPlacesInItsGroup",
                  MoveNode("box", "root", 0),
                  MoveNode("box", "root", 2),
                  MoveNode("box", "root", 0),
                  {"Main/root/box: moved on both sides: ours to Main/root at 0, theirs to Main/root at 2; ours kept"}},
        // Each move alone is fine; both would put each group inside the other.
        MergeCase{"MovesThatWouldNest",
                  MoveNode("bar", "box", 0),
                  MoveNode("box", "bar", 0),
                  MoveNode("bar", "box", 0),
                  {"Main/root/box: moved on both sides: ours to Main/root at 2, theirs to Main/root/bar at 0; "
                   "ours kept"}},
        MergeCase{"AddedInTwoGroups",
                  AddNode("bar", 0, OBJ_BUTTON, "help"),
                  AddNode("box", 0, OBJ_BUTTON, "help"),
                  AddNode("bar", 0, OBJ_BUTTON, "help"),
                  {"Main/root/bar/help: added on both sides: ours in Main/root/bar, theirs in Main/root/box; ours "
                   "kept"}},
        MergeCase{"AddedTwiceDifferently",
                  AddNode("bar", 2, OBJ_TEXT, "help", "A"),
                  AddNode("bar", 2, OBJ_TEXT, "help", "B"),
                  AddNode("bar", 2, OBJ_TEXT, "help", "A"),
                  {"Main/root/bar/help: Text changed on both sides: ours \"A\", theirs \"B\"; ours kept"}},
        MergeCase{"CommandItemSetToTwoValues",
                  SetCommandItem("ok", 0, "File", "A"),
                  SetCommandItem("ok", 0, "File", "B"),
                  SetCommandItem("ok", 0, "File", "A"),
                  {"Main/root/bar/ok/OnClick[0]: File changed on both sides: ours \"A\", theirs \"B\"; ours kept"}},
        MergeCase{"CommandRemovedByOursChangedByTheirs",
                  RemoveCommand("ok", 0),
                  SetCommandItem("ok", 0, "File", "B"),
                  RemoveCommand("ok", 0),
                  {"Main/root/bar/ok/OnClick[0]: removed on our side, changed on theirs; left removed"}},
        MergeCase{"DialogRemovedByOursChangedByTheirs",
                  RemoveDialog("Settings"),
                  SetItem("Settings:volume", "Max", "5"),
                  RemoveDialog("Settings"),
                  {"Settings: removed on our side, changed on theirs; left removed"}},
        MergeCase{"DialogRemovedByTheirsChangedByOurs",
                  SetItem("Settings:volume", "Max", "5"),
                  RemoveDialog("Settings"),
                  SetItem("Settings:volume", "Max", "5"),
                  {"Settings: removed on their side, changed on ours; ours kept"}},
        MergeCase{"DialogMovedToTwoPlaces",
                  MoveDialog("About", 0),
                  MoveDialog("About", 1),
                  MoveDialog("About", 0),
                  {"About: moved on both sides: ours to place 0, theirs to place 1; ours kept"}},
        MergeCase{"TopNodeReplacedOnBothSides",
                  SetItem("root", "Width", "PARENT"),
                  ReplaceTop,
                  SetItem("root", "Width", "PARENT"),
                  {"Main/solo: top node replaced on both sides; ours kept"}}),
    CaseName);

// --- One side's edits alone -----------------------------------------------------------------

struct NamedEdit {
    const char* name;
    Edit edit;
};

void PrintTo(const NamedEdit& edit, std::ostream* out)
{
    *out << edit.name;
}

class OneSided : public testing::TestWithParam<NamedEdit> {};

TEST_P(OneSided, OursAloneIsKept)
{
    CheckMerge(GetParam().edit, Edits({}), GetParam().edit, {});
}

TEST_P(OneSided, TheirsAloneIsTaken)
{
    CheckMerge(Edits({}), GetParam().edit, GetParam().edit, {});
}

TEST_P(OneSided, BothSidesAlikeIsTakenOnce)
{
    CheckMerge(GetParam().edit, GetParam().edit, GetParam().edit, {});
}

INSTANTIATE_TEST_SUITE_P(
    Table, OneSided,
    testing::Values(
        NamedEdit{"ItemSet", SetItem("ok", "Text", "決定")}, NamedEdit{"ItemEmptied", SetItem("ok", "Text", "")},
        NamedEdit{"ProjectItem", SetItem("", "DeviceHeight", "")},
        NamedEdit{"NodeAdded", AddNode("bar", 1, OBJ_CHECKBOX, "agree")}, NamedEdit{"NodeRemoved", RemoveNode("list")},
        NamedEdit{"GroupRemoved", RemoveNode("bar")}, NamedEdit{"NodeMoved", MoveNode("cancel", "box", 1)},
        NamedEdit{"NodeMovedWithinItsGroup", MoveNode("list", "root", 0)},
        NamedEdit{"NodeRenamed", SetItem("cancel", "Name", "back")},
        NamedEdit{"TopRenamed", SetItem("root", "Name", "main")},
        NamedEdit{"TypeChanged", ChangeType("title", OBJ_EDIT)},
        NamedEdit{"UnnamedNodeRemoved",
                  [](CTekResourceData& p) { GroupNamed(p, "box").RemoveChild(&GroupNamed(p, "box").ChildAt(0)); }},
        NamedEdit{"CommandAdded", AddCommand("cancel", "CLOSE", "OnClick")},
        NamedEdit{"CommandRemoved", RemoveCommand("ok", 0)},
        NamedEdit{"HeaderRemoved", [](CTekResourceData& p) { NodeNamed(p, "list").HeaderColumns().pop_back(); }},
        NamedEdit{"DialogAdded", AddDialog("Help")}, NamedEdit{"DialogRemoved", RemoveDialog("Main")},
        NamedEdit{"DialogMoved", MoveDialog("Main", 2)}, NamedEdit{"TopReplaced", ReplaceTop}),
    [](const testing::TestParamInfo<NamedEdit>& info) { return std::string(info.param.name); });

// --- The merged project ----------------------------------------------------------------------

TEST(MergedProject, NodesTakenFromTheirsKnowTheirNewParents)
{
    CTekResourceData base, ours, theirs;
    LoadText(base);
    LoadText(ours);
    LoadText(theirs);
    SetItem("title", "Text", "x")(ours);
    Edits({AddNode("root", 1, -1 - LAYOUT_FRAME, "panel"), MoveNode("ok", "panel", 0)})(theirs);
    EXPECT_TRUE(MergeProjects(base, ours, theirs).empty());
    CObjectData& ok = NodeNamed(ours, "ok");
    ASSERT_NE(ok.ParentGroup(), nullptr);
    EXPECT_EQ(ok.ParentGroup(), &NodeNamed(ours, "panel"));
    EXPECT_EQ(NodeNamed(ours, "panel").ParentGroup(), &NodeNamed(ours, "root"));
    EXPECT_EQ(GroupNamed(ours, "bar").ChildCount(), 1);
}

} // namespace
} // namespace vesk
