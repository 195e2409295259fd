#pragma once

// The differences between two versions of a project, in the terms of the model rather than of
// the file's lines: dialogs, nodes, commands and header columns added, removed and moved, and
// items changed. Parts are matched as projectmatch.h describes.
//
// Places are paths: "(project)" for the project's own items; a dialog's name ("Main"); a node's
// dialog name and the names from the top node down ("Main/root/btn1"), where a node whose name
// does not tell it from its siblings has "#" and its rank among them ("Main/root/#2" for the
// second unnamed child); a command as its owner's path, its event and its rank among the
// owner's commands of that event ("Main/root/btn1/OnClick[0]"); a header column as its grid's
// path and its place ("Main/root/grid1/Header[1]").

#include <string>
#include <string_view>
#include <vector>

#include "objects/resourcedata.h"

namespace vesk {

/// What a change is about.
enum class ChangeSubject { Project, Dialog, Node, Command, HeaderColumn };

enum class ChangeKind { Added, Removed, Moved, ItemChanged };

/// The place shown for the project's own items.
inline constexpr std::string_view kProjectPath = "(project)";

/// One difference between two versions. Texts are held text (Shift_JIS), as the model holds them.
struct ProjectChange {
    ChangeKind kind = ChangeKind::ItemChanged;
    ChangeSubject subject = ChangeSubject::Project;
    std::string path;      ///< the place in the newer version (in the older one for a removal)
    std::string what;      ///< added or removed: "dialog", the node's kind ("BUTTON", "LINEAR group"),
                           ///< the command's name or "header column"
    std::string item;      ///< item changed: the item's name
    std::string before;    ///< item changed: the older value (empty when there was no such item)
    std::string after;     ///< item changed: the newer value
    std::string from;      ///< moved node: the parent's path in the older version
    std::string to;        ///< moved node: the parent's path in the newer version
    int fromPosition = -1; ///< moved: the place among the siblings (among the dialogs) before
    int toPosition = -1;   ///< moved and added: the place after
};

/// The changes from older to newer: the project's items, then each dialog of newer in order (its
/// move, items, commands, then its nodes in tree order with their moves, items, commands and
/// header columns, then the nodes it lost), then the dialogs newer lost. An added or removed node
/// is one change, whatever it holds. With a dialog name, only the changes of that dialog.
std::vector<ProjectChange> DiffProjects(const CTekResourceData& older, const CTekResourceData& newer,
                                        std::string_view dialogName = {});

/// One line for the change, as UTF-8, without a line end:
///   Main/root/btn1: Text "押す" -> "決定"
///   Main/root/btn3: added BUTTON at 2
///   Main/root/btn2: removed BUTTON
///   Main/root/g2/btn1: moved from Main/root/g1 at 0 to Main/root/g2 at 1
///   Settings: moved from 2 to 0
std::string DescribeChange(const ProjectChange& change);

/// A text as a quoted UTF-8 string: the held text converted, with '"', '\' and control bytes
/// escaped as in JSON.
std::string QuotedForDisplay(std::string_view heldText);

} // namespace vesk
