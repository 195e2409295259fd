#pragma once

// The three-way merge of a project: the changes from a common base to "theirs" are carried into
// "ours", part by part, with the matching of projectmatch.h and the paths of projectdiff.h.
//
// A change made on one side only is taken; the same change made on both sides is taken once.
// Where the two sides disagree (an item set to two values, a part removed on one side and changed
// on the other, a node moved to two places) ours is kept at that point and the conflict is
// listed. Children keep ours' order, with theirs' additions and moves placed after the sibling
// that precedes them on their side.

#include <string>
#include <vector>

#include "objects/resourcedata.h"

namespace vesk {

enum class ConflictKind {
    ItemChanged,      ///< an item set to two values (item, ours, theirs); ours kept
    RemovedByTheirs,  ///< removed on their side, changed on ours; ours kept
    RemovedByOurs,    ///< removed on our side, changed on theirs; left removed
    AddedIntoRemoved, ///< added on their side into a group our side removed; left out (theirs: that group)
    MovedIntoRemoved, ///< moved on their side into a group our side removed; ours kept (theirs: that group)
    MovedTwice,       ///< moved to two places (ours, theirs: "parent at place"); ours kept
    AddedTwice,       ///< added on both sides in different groups (ours, theirs: the groups); ours kept
    TopReplaced,      ///< the dialog's top node replaced on both sides; ours kept
};

/// One conflict. Texts are held text (Shift_JIS).
struct MergeConflict {
    ConflictKind kind = ConflictKind::ItemChanged;
    std::string path; ///< ours' place (theirs' where ours has none)
    std::string item;
    std::string ours;
    std::string theirs;
};

/// Merges into ours the changes from base to theirs; ours becomes the merged project. Dialogs,
/// nodes and commands that only theirs has are taken from theirs, which is left incomplete.
/// Answers the conflicts: the project's items', then each dialog's in tree order.
/// The merged project holds every value as written, but its nodes' items may stand in an order
/// of their own: write it and read it back for the project a load of the merged file gives.
std::vector<MergeConflict> MergeProjects(const CTekResourceData& base, CTekResourceData& ours,
                                         CTekResourceData& theirs);

/// One line for the conflict, as UTF-8, without a line end:
///   Main/root/btn1: Text changed on both sides: ours "決定", theirs "OK"; ours kept
std::string DescribeConflict(const MergeConflict& conflict);

} // namespace vesk
