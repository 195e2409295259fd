#include "records/projectdiff.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <unordered_map>

#include "model/eventlist.h"
#include "records/projectmatch.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

using match::DialogNodes;

class Differ {
public:
    std::vector<ProjectChange> changes;

    void Items(ChangeSubject subject, const std::string& path, const TekClass* older, const TekClass* newer)
    {
        match::ForEachItemDifference(older, newer,
                                     [&](std::string_view name, const std::string& before, const std::string& after) {
                                         ProjectChange& change = Add(ChangeKind::ItemChanged, subject, path);
                                         change.item = name;
                                         change.before = before;
                                         change.after = after;
                                     });
    }

    void Commands(const std::string& ownerPath, const TekList& older, const TekList& newer)
    {
        if (older.empty() && newer.empty())
            return;
        for (const char* event : kEventNames) {
            std::vector<TekPtr> before = match::CommandsWithEvent(older, event);
            std::vector<TekPtr> after = match::CommandsWithEvent(newer, event);
            for (size_t i = 0; i < std::max(before.size(), after.size()); ++i) {
                const std::string path = ownerPath + '/' + event + '[' + std::to_string(i) + ']';
                if (i >= before.size())
                    Add(ChangeKind::Added, ChangeSubject::Command, path).what = match::CommandName(*after[i]);
                else if (i >= after.size())
                    Add(ChangeKind::Removed, ChangeSubject::Command, path).what = match::CommandName(*before[i]);
                else
                    Items(ChangeSubject::Command, path, before[i].get(), after[i].get());
            }
        }
    }

    void Headers(const std::string& ownerPath, const TekList& older, const TekList& newer)
    {
        for (size_t i = 0; i < std::max(older.size(), newer.size()); ++i) {
            const std::string path = ownerPath + "/Header[" + std::to_string(i) + ']';
            if (i >= older.size())
                Add(ChangeKind::Added, ChangeSubject::HeaderColumn, path).what = "header column";
            else if (i >= newer.size())
                Add(ChangeKind::Removed, ChangeSubject::HeaderColumn, path).what = "header column";
            else
                Items(ChangeSubject::HeaderColumn, path, older[i].get(), newer[i].get());
        }
    }

    void Dialog(const CTekDialogData& older, const CTekDialogData& newer)
    {
        const std::string& name = newer.GetItem("Name");
        Items(ChangeSubject::Dialog, name, &older, &newer);
        Commands(name, older.Commands(), newer.Commands());
        if (match::SameDialog(older, newer))
            return;

        std::array<DialogNodes, 2> versions;
        versions[0].dialog = &older;
        versions[1].dialog = &newer;
        match::IndexDialogNodes(versions);
        const DialogNodes& before = versions[0];
        const DialogNodes& after = versions[1];

        const std::vector<char> reordered = Reordered(before, after);
        for (int entry = 0; entry < static_cast<int>(after.entries.size()); ++entry) {
            const match::NodeEntry& e = after.entries[static_cast<size_t>(entry)];
            const int old = before.Find(e.id);
            if (old < 0) {
                // A node inside an added group comes with it.
                if (e.parent < 0 || before.Find(after.ParentId(entry)) >= 0) {
                    ProjectChange& change = Add(ChangeKind::Added, ChangeSubject::Node, after.Path(entry));
                    change.what = match::NodeKindText(*e.node);
                    change.toPosition = e.position;
                }
                continue;
            }
            const match::NodeEntry& o = before.entries[static_cast<size_t>(old)];
            const bool moved = before.ParentId(old) != after.ParentId(entry) || reordered[static_cast<size_t>(entry)];
            if (!moved && match::SameOwnContent(*o.node, *e.node))
                continue;
            const std::string path = after.Path(entry);
            if (moved) {
                ProjectChange& change = Add(ChangeKind::Moved, ChangeSubject::Node, path);
                change.from = before.ParentPath(old);
                change.fromPosition = o.position;
                change.to = after.ParentPath(entry);
                change.toPosition = e.position;
            }
            Items(ChangeSubject::Node, path, o.node, e.node);
            Commands(path, o.node->CommandList(), e.node->CommandList());
            Headers(path, o.node->HeaderColumns(), e.node->HeaderColumns());
        }
        for (int entry = 0; entry < static_cast<int>(before.entries.size()); ++entry) {
            const match::NodeEntry& o = before.entries[static_cast<size_t>(entry)];
            if (after.Find(o.id) >= 0)
                continue;
            // A node inside a removed group goes with it.
            if (o.parent < 0 || after.Find(before.ParentId(entry)) >= 0)
                Add(ChangeKind::Removed, ChangeSubject::Node, before.Path(entry)).what = match::NodeKindText(*o.node);
        }
    }

    ProjectChange& Add(ChangeKind kind, ChangeSubject subject, std::string path)
    {
        ProjectChange& change = changes.emplace_back();
        change.kind = kind;
        change.subject = subject;
        change.path = std::move(path);
        return change;
    }

private:
    /// For each node of the newer version: whether it changed places among siblings that stayed
    /// together (the fewest such moves that give the newer order).
    static std::vector<char> Reordered(const DialogNodes& before, const DialogNodes& after)
    {
        std::vector<char> reordered(after.entries.size(), 0);
        std::vector<int> places;
        std::vector<int> kept;
        for (int parent = 0; parent < static_cast<int>(after.entries.size()); ++parent) {
            const int oldParent = before.Find(after.entries[static_cast<size_t>(parent)].id);
            if (oldParent < 0 || after.entries[static_cast<size_t>(parent)].childCount < 2)
                continue;
            places.clear();
            kept.clear();
            for (int child : after.Children(parent)) {
                const int old = before.Find(after.entries[static_cast<size_t>(child)].id);
                if (old >= 0 && before.entries[static_cast<size_t>(old)].parent == oldParent) {
                    places.push_back(before.entries[static_cast<size_t>(old)].position);
                    kept.push_back(child);
                }
            }
            if (std::is_sorted(places.begin(), places.end()))
                continue;
            const std::vector<char> inOrder = match::InLongestIncreasing(places);
            for (size_t k = 0; k < kept.size(); ++k)
                if (!inOrder[k])
                    reordered[static_cast<size_t>(kept[k])] = 1;
        }
        return reordered;
    }
};

} // namespace

std::vector<ProjectChange> DiffProjects(const CTekResourceData& older, const CTekResourceData& newer,
                                        std::string_view dialogName)
{
    Differ differ;
    if (dialogName.empty())
        differ.Items(ChangeSubject::Project, std::string(kProjectPath), &older, &newer);

    const CTekDialogDataList& before = older.Dialogs();
    const CTekDialogDataList& after = newer.Dialogs();
    std::unordered_map<std::string_view, int> oldIndex;
    std::unordered_map<std::string_view, int> newIndex;
    for (int i = 0; i < before.Count(); ++i)
        oldIndex.try_emplace(before.At(i).GetItem("Name"), i);
    for (int i = 0; i < after.Count(); ++i)
        newIndex.try_emplace(after.At(i).GetItem("Name"), i);

    // The dialogs that kept their places relative to each other did not move.
    std::vector<int> places;
    for (int i = 0; i < after.Count(); ++i)
        if (auto it = oldIndex.find(after.At(i).GetItem("Name")); it != oldIndex.end())
            places.push_back(it->second);
    const std::vector<char> inOrder = match::InLongestIncreasing(places);

    size_t kept = 0;
    for (int i = 0; i < after.Count(); ++i) {
        const CTekDialogData& dialog = after.At(i);
        const std::string& name = dialog.GetItem("Name");
        auto it = oldIndex.find(name);
        const bool wanted = dialogName.empty() || name == dialogName;
        if (it == oldIndex.end()) {
            if (wanted) {
                ProjectChange& change = differ.Add(ChangeKind::Added, ChangeSubject::Dialog, name);
                change.what = "dialog";
                change.toPosition = i;
            }
            continue;
        }
        const bool moved = !inOrder[kept++];
        if (!wanted)
            continue;
        if (moved) {
            ProjectChange& change = differ.Add(ChangeKind::Moved, ChangeSubject::Dialog, name);
            change.fromPosition = it->second;
            change.toPosition = i;
        }
        differ.Dialog(before.At(it->second), dialog);
    }
    for (int i = 0; i < before.Count(); ++i) {
        const std::string& name = before.At(i).GetItem("Name");
        if (newIndex.contains(name) || (!dialogName.empty() && name != dialogName))
            continue;
        differ.Add(ChangeKind::Removed, ChangeSubject::Dialog, name).what = "dialog";
    }
    return std::move(differ.changes);
}

std::string QuotedForDisplay(std::string_view heldText)
{
    const std::string utf8 = ShiftJisToUtf8Exact(heldText);
    std::string quoted = "\"";
    for (char c : utf8) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    quoted += '"';
    return quoted;
}

std::string DescribeChange(const ProjectChange& change)
{
    std::string line = ShiftJisToUtf8Exact(change.path) + ": ";
    switch (change.kind) {
    case ChangeKind::ItemChanged:
        line += ShiftJisToUtf8Exact(change.item) + ' ' + QuotedForDisplay(change.before) + " -> " +
                QuotedForDisplay(change.after);
        break;
    case ChangeKind::Added:
        line += "added " + ShiftJisToUtf8Exact(change.what);
        if (change.toPosition >= 0)
            line += " at " + std::to_string(change.toPosition);
        break;
    case ChangeKind::Removed:
        line += "removed " + ShiftJisToUtf8Exact(change.what);
        break;
    case ChangeKind::Moved:
        if (change.subject == ChangeSubject::Dialog)
            line += "moved from " + std::to_string(change.fromPosition) + " to " + std::to_string(change.toPosition);
        else
            line += "moved from " + ShiftJisToUtf8Exact(change.from) + " at " + std::to_string(change.fromPosition) +
                    " to " + ShiftJisToUtf8Exact(change.to) + " at " + std::to_string(change.toPosition);
        break;
    }
    return line;
}

} // namespace vesk
