#include "records/projectmerge.h"

#include <algorithm>
#include <array>
#include <functional>
#include <list>
#include <unordered_map>
#include <unordered_set>

#include "model/eventlist.h"
#include "records/projectdiff.h"
#include "records/projectmatch.h"
#include "textconv/textconv.h"

namespace vesk {

namespace {

using match::DialogNodes;
/// A place, worked out only when a conflict needs it.
using Place = std::function<std::string()>;

constexpr int kBase = 0;
constexpr int kOurs = 1;
constexpr int kTheirs = 2;

/// The merged order of the members of one list (a group's children, the project's dialogs), given
/// the three versions of the list as identities. Ours' order is kept; a member that theirs added
/// to the list, or moved within it while ours did not, is placed after the member that precedes
/// it on their side (after ours' own additions there). A member moved within the list on both
/// sides to different neighbours stays where ours put it and is passed to movedTwice.
std::vector<int> MergeOrder(const std::vector<int>& base, const std::vector<int>& ours, const std::vector<int>& theirs,
                            const std::function<bool(int)>& member, const std::function<void(int)>& movedTwice)
{
    auto placesOf = [](const std::vector<int>& list) {
        std::unordered_map<int, int> places;
        for (size_t i = 0; i < list.size(); ++i)
            places.emplace(list[i], static_cast<int>(i));
        return places;
    };
    const std::unordered_map<int, int> inBase = placesOf(base);
    const std::unordered_map<int, int> inOurs = placesOf(ours);
    const std::unordered_map<int, int> inTheirs = placesOf(theirs);

    // The members each side moved within the list: those off the longest run kept in base order.
    auto reorderedOn = [&](const std::vector<int>& side) {
        std::unordered_set<int> moved;
        std::vector<int> places;
        std::vector<int> members;
        for (int id : side)
            if (auto it = inBase.find(id); it != inBase.end()) {
                places.push_back(it->second);
                members.push_back(id);
            }
        if (std::is_sorted(places.begin(), places.end()))
            return moved;
        const std::vector<char> inOrder = match::InLongestIncreasing(places);
        for (size_t i = 0; i < members.size(); ++i)
            if (!inOrder[i])
                moved.insert(members[i]);
        return moved;
    };
    const std::unordered_set<int> movedOnOurs = reorderedOn(ours);
    const std::unordered_set<int> movedOnTheirs = reorderedOn(theirs);
    auto before = [](const std::vector<int>& list, int place) { return place > 0 ? list[size_t(place) - 1] : -1; };

    std::unordered_set<int> placedByTheirs;
    for (int id : theirs) {
        if (!member(id))
            continue;
        const bool inOurList = inOurs.contains(id) && member(id);
        if (!inOurList) {
            placedByTheirs.insert(id);
        } else if (movedOnTheirs.contains(id)) {
            if (!movedOnOurs.contains(id))
                placedByTheirs.insert(id);
            else if (before(ours, inOurs.at(id)) != before(theirs, inTheirs.at(id)))
                movedTwice(id);
        }
    }

    std::list<int> order;
    std::unordered_map<int, std::list<int>::iterator> where;
    for (int id : ours)
        if (member(id) && !placedByTheirs.contains(id))
            where.emplace(id, order.insert(order.end(), id));
    int last = -1;
    for (int id : theirs) {
        if (placedByTheirs.contains(id)) {
            auto at = last < 0 ? order.begin() : std::next(where.at(last));
            while (at != order.end() && !inTheirs.contains(*at))
                ++at;
            where.emplace(id, order.insert(at, id));
            last = id;
        } else if (where.contains(id)) {
            last = id;
        }
    }
    // A member neither side lists stays last, in base order, rather than being lost.
    for (int id : base)
        if (member(id) && !where.contains(id))
            where.emplace(id, order.insert(order.end(), id));
    return std::vector<int>(order.begin(), order.end());
}

class Merger {
public:
    std::vector<MergeConflict> conflicts;

    MergeConflict& Conflict(ConflictKind kind, std::string path)
    {
        anchors.push_back(anchor);
        MergeConflict& conflict = conflicts.emplace_back();
        conflict.kind = kind;
        conflict.path = std::move(path);
        return conflict;
    }

    /// Carries theirs' item changes into ours.
    void Items(const TekClass* base, TekClass& ours, const TekClass& theirs, const Place& place)
    {
        if (match::SameItemValues(base, &theirs) || match::SameItemValues(&ours, &theirs))
            return;
        struct Taken {
            std::string_view name;
            std::string value;
            const CItemData* from;
        };
        std::vector<Taken> taken;
        match::ForEachItemDifference(&ours, &theirs,
                                     [&](std::string_view name, const std::string& mine, const std::string& their) {
                                         const std::string& original = match::ValueOf(base, name);
                                         if (mine == original) {
                                             taken.push_back({name, their, theirs.Items().Find(name)});
                                         } else if (their != original) {
                                             MergeConflict& conflict = Conflict(ConflictKind::ItemChanged, place());
                                             conflict.item = name;
                                             conflict.ours = mine;
                                             conflict.theirs = their;
                                         }
                                     });
        for (Taken& change : taken) {
            if (!ours.SetItem(change.name, change.value) && change.from)
                // An item ours' set lacks comes with theirs' kind, so that it is written as theirs is.
                ours.AddItem(std::make_unique<CItemData>(&change.from->Def(), std::move(change.value)));
        }
    }

    /// Merges lists matched by place (the commands of one event, header columns) into merged.
    void ByPlace(const std::vector<TekPtr>& base, const std::vector<TekPtr>& ours, const std::vector<TekPtr>& theirs,
                 std::vector<TekPtr>& merged, const std::function<std::string(size_t)>& pathOf)
    {
        auto same = [](const TekPtr& a, const TekPtr& b) {
            return a && b ? match::SameItemValues(a.get(), b.get()) : a == b;
        };
        auto sameList = [&](const std::vector<TekPtr>& a, const std::vector<TekPtr>& b) {
            if (a.size() != b.size())
                return false;
            for (size_t i = 0; i < a.size(); ++i)
                if (!same(a[i], b[i]))
                    return false;
            return true;
        };
        const std::vector<TekPtr>* whole = sameList(ours, theirs) || sameList(theirs, base) ? &ours
                                           : sameList(ours, base)                           ? &theirs
                                                                                            : nullptr;
        if (whole) {
            merged.insert(merged.end(), whole->begin(), whole->end());
            return;
        }
        auto at = [](const std::vector<TekPtr>& list, size_t i) { return i < list.size() ? list[i] : TekPtr(); };
        const size_t count = std::max({base.size(), ours.size(), theirs.size()});
        for (size_t i = 0; i < count; ++i) {
            TekPtr b = at(base, i), o = at(ours, i), t = at(theirs, i);
            TekPtr kept = o;
            if (!same(o, t) && !same(t, b)) {
                if (same(o, b))
                    kept = t;
                else if (o && t)
                    Items(b.get(), *o, *t, [&] { return pathOf(i); });
                else
                    Conflict(o ? ConflictKind::RemovedByTheirs : ConflictKind::RemovedByOurs, pathOf(i));
            }
            if (kept)
                merged.push_back(kept);
        }
    }

    void Commands(const TekList* base, TekList& ours, const TekList& theirs, const Place& ownerPlace)
    {
        static const TekList kNone;
        const TekList& original = base ? *base : kNone;
        if (match::SameCommands(original, theirs) || match::SameCommands(ours, theirs))
            return;
        std::vector<TekPtr> merged;
        for (const char* event : kEventNames)
            ByPlace(match::CommandsWithEvent(original, event), match::CommandsWithEvent(ours, event),
                    match::CommandsWithEvent(theirs, event), merged,
                    [&](size_t i) { return ownerPlace() + '/' + event + '[' + std::to_string(i) + ']'; });
        // Commands of no known event are never written; ours' stay as they are.
        for (const TekPtr& command : ours)
            if (std::find_if(std::begin(kEventNames), std::end(kEventNames), [&](const char* event) {
                    return command->GetItem("Event") == event;
                }) == std::end(kEventNames))
                merged.push_back(command);
        ours.assign(merged.begin(), merged.end());
    }

    void Headers(const TekList* base, TekList& ours, const TekList& theirs, const Place& ownerPlace)
    {
        if (match::SameHeaders(ours, theirs) || (base && match::SameHeaders(*base, theirs)))
            return;
        std::vector<TekPtr> merged;
        ByPlace(base ? std::vector<TekPtr>(base->begin(), base->end()) : std::vector<TekPtr>(),
                std::vector<TekPtr>(ours.begin(), ours.end()), std::vector<TekPtr>(theirs.begin(), theirs.end()),
                merged, [&](size_t i) { return ownerPlace() + "/Header[" + std::to_string(i) + ']'; });
        ours.assign(merged.begin(), merged.end());
    }

    void Dialog(const CTekDialogData* base, CTekDialogData& ours, const CTekDialogData& theirs)
    {
        const size_t first = conflicts.size();
        const std::string name = ours.GetItem("Name");
        const Place place = [&] { return name; };
        anchor = -2;
        Items(base, ours, theirs, place);
        Commands(base ? &base->Commands() : nullptr, ours.Commands(), theirs.Commands(), place);
        Tree(base, ours, theirs);
        anchor = 0;

        // The dialog's conflicts in tree order.
        std::vector<size_t> order(conflicts.size() - first);
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = first + i;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return anchors[a] < anchors[b]; });
        std::vector<MergeConflict> sorted;
        for (size_t i : order)
            sorted.push_back(std::move(conflicts[i]));
        std::move(sorted.begin(), sorted.end(), conflicts.begin() + static_cast<std::ptrdiff_t>(first));
        for (size_t i = first; i < anchors.size(); ++i)
            anchors[i] = 0;
    }

private:
    /// What the merge decides for one node identity of a dialog.
    struct Slot {
        std::array<int, 3> entry{-1, -1, -1}; ///< in base, ours, theirs
        bool exists = false;
        bool kept = false;     ///< removed on their side, kept for ours
        bool dropped = false;  ///< added on their side, left out
        bool reported = false; ///< its conflict is listed already
        int parent = -1;       ///< the parent group's identity; -1 for the top node
    };

    void Tree(const CTekDialogData* base, CTekDialogData& ours, const CTekDialogData& theirs);

    /// Where the conflicts raised now go in the dialog's list: twice the entry of the node in ours;
    /// for a node ours lacks, one more than for the node before it on the other side that ours holds.
    int anchor = 0;
    std::vector<int> anchors; ///< the anchor of each conflict
};

void Merger::Tree(const CTekDialogData* base, CTekDialogData& ours, const CTekDialogData& theirs)
{
    std::array<DialogNodes, 3> v;
    v[kBase].dialog = base;
    v[kOurs].dialog = &ours;
    v[kTheirs].dialog = &theirs;
    const int count = match::IndexDialogNodes(v);
    std::vector<Slot> slots(static_cast<size_t>(count));
    for (int k = 0; k < 3; ++k)
        for (size_t e = 0; e < v[k].entries.size(); ++e)
            slots[static_cast<size_t>(v[k].entries[e].id)].entry[k] = static_cast<int>(e);

    auto slot = [&](int id) -> Slot& { return slots[static_cast<size_t>(id)]; };
    auto entryIn = [&](int k, int id) -> const match::NodeEntry& {
        return v[k].entries[static_cast<size_t>(slot(id).entry[k])];
    };
    auto parentIn = [&](int k, int id) { return v[k].ParentId(slot(id).entry[k]); };
    auto pathIn = [&](int k, int id) { return v[k].Path(slot(id).entry[k]); };
    auto pathOf = [&](int id) {
        return pathIn(slot(id).entry[kOurs] >= 0 ? kOurs : slot(id).entry[kTheirs] >= 0 ? kTheirs : kBase, id);
    };
    auto placeIn = [&](int k, int id) {
        return v[k].ParentPath(slot(id).entry[k]) + " at " + std::to_string(entryIn(k, id).position);
    };
    auto changedOn = [&](int k, int id) {
        return parentIn(kBase, id) != parentIn(k, id) ||
               !match::SameOwnContent(*entryIn(kBase, id).node, *entryIn(k, id).node);
    };
    auto anchorAt = [&](int id) {
        const Slot& s = slot(id);
        anchor = -1;
        if (s.entry[kOurs] >= 0) {
            anchor = 2 * s.entry[kOurs];
            return;
        }
        const int k = s.entry[kTheirs] >= 0 ? kTheirs : kBase;
        for (int e = s.entry[k] - 1; e >= 0; --e) {
            const int mine = slot(v[k].entries[static_cast<size_t>(e)].id).entry[kOurs];
            if (mine >= 0) {
                anchor = 2 * mine + 1;
                return;
            }
        }
    };
    auto object = [&](int id) -> const ObjectPtr& {
        return entryIn(slot(id).entry[kOurs] >= 0 ? kOurs : kTheirs, id).holder;
    };

    // Each node on its own: whether it stays, and where.
    for (int id = 0; id < count; ++id) {
        Slot& s = slot(id);
        const bool inBase = s.entry[kBase] >= 0, inOurs = s.entry[kOurs] >= 0, inTheirs = s.entry[kTheirs] >= 0;
        if (inOurs && inTheirs) {
            s.exists = true;
            const int mine = parentIn(kOurs, id), their = parentIn(kTheirs, id);
            s.parent = mine;
            if (inBase) {
                const int original = parentIn(kBase, id);
                if (mine == original)
                    s.parent = their;
                else if (their != original && their != mine) {
                    anchorAt(id);
                    MergeConflict& conflict = Conflict(ConflictKind::MovedTwice, pathOf(id));
                    conflict.ours = placeIn(kOurs, id);
                    conflict.theirs = placeIn(kTheirs, id);
                }
            } else if (their != mine) {
                anchorAt(id);
                MergeConflict& conflict = Conflict(ConflictKind::AddedTwice, pathOf(id));
                conflict.ours = v[kOurs].ParentPath(s.entry[kOurs]);
                conflict.theirs = v[kTheirs].ParentPath(s.entry[kTheirs]);
            }
        } else if (inOurs) {
            s.parent = parentIn(kOurs, id);
            s.exists = !inBase || changedOn(kOurs, id);
            s.kept = inBase && s.exists;
        } else if (inTheirs) {
            s.parent = parentIn(kTheirs, id);
            s.exists = !inBase;
            if (inBase && changedOn(kTheirs, id)) {
                anchorAt(id);
                Conflict(ConflictKind::RemovedByOurs, pathIn(kTheirs, id));
            }
        }
    }

    // Until every node's parent stays, no node lies inside itself and there is one top node.
    std::vector<int> walk;
    for (bool settled = false; !settled;) {
        settled = true;
        for (int id = 0; id < count; ++id) {
            Slot& s = slot(id);
            if (!s.exists || s.parent < 0 || slot(s.parent).exists)
                continue;
            settled = false;
            if (s.entry[kOurs] < 0) {
                s.exists = false;
                s.dropped = true;
                continue;
            }
            const int mine = parentIn(kOurs, id);
            if (s.parent == mine) {
                // Their side removed the group that holds what ours changed or added: ours stays.
                Slot& parent = slot(mine);
                parent.exists = true;
                parent.kept = true;
                parent.parent = parentIn(kOurs, mine);
            } else {
                anchorAt(id);
                MergeConflict& conflict = Conflict(ConflictKind::MovedIntoRemoved, pathOf(id));
                conflict.theirs = pathIn(kTheirs, s.parent);
                s.parent = mine;
            }
        }
        if (!settled)
            continue;

        // Moves from both sides may close a loop (a into b on one side, b into a on the other):
        // the nodes of the loop that took theirs' place go back to ours'.
        std::vector<char> state(static_cast<size_t>(count), 0); // 1 on the current walk, 2 done
        for (int id = 0; id < count; ++id) {
            walk.clear();
            int at = id;
            while (at >= 0 && slot(at).exists && state[static_cast<size_t>(at)] == 0) {
                state[static_cast<size_t>(at)] = 1;
                walk.push_back(at);
                at = slot(at).parent;
            }
            if (at >= 0 && state[static_cast<size_t>(at)] == 1) {
                for (auto it = std::find(walk.begin(), walk.end(), at); it != walk.end(); ++it) {
                    Slot& s = slot(*it);
                    if (s.entry[kOurs] >= 0 && s.parent != parentIn(kOurs, *it)) {
                        anchorAt(*it);
                        MergeConflict& conflict = Conflict(ConflictKind::MovedTwice, pathOf(*it));
                        conflict.ours = placeIn(kOurs, *it);
                        conflict.theirs = placeIn(kTheirs, *it);
                        s.parent = parentIn(kOurs, *it);
                        settled = false;
                    }
                }
            }
            for (int visited : walk)
                state[static_cast<size_t>(visited)] = 2;
        }
        if (!settled)
            continue;

        std::vector<int> tops;
        for (int id = 0; id < count; ++id)
            if (slot(id).exists && slot(id).parent < 0)
                tops.push_back(id);
        if (tops.size() > 1) {
            for (int id : tops) {
                if (slot(id).entry[kOurs] >= 0 && parentIn(kOurs, id) < 0) {
                    slot(id).reported = true;
                    continue;
                }
                slot(id).exists = false;
                slot(id).dropped = true;
                anchorAt(id);
                Conflict(ConflictKind::TopReplaced, pathOf(id));
                settled = false;
            }
        }
    }

    // What ours keeps against a removal on their side, it keeps whole.
    for (int id = 0; id < count; ++id) {
        if (!slot(id).kept || !slot(id).exists)
            continue;
        std::vector<int> pending(v[kOurs].Children(slot(id).entry[kOurs]).begin(),
                                 v[kOurs].Children(slot(id).entry[kOurs]).end());
        while (!pending.empty()) {
            const int entry = pending.back();
            pending.pop_back();
            Slot& s = slot(v[kOurs].entries[static_cast<size_t>(entry)].id);
            if (!s.exists && s.entry[kTheirs] < 0) {
                s.exists = true;
                s.kept = true;
                s.parent = v[kOurs].ParentId(entry);
            }
            for (int child : v[kOurs].Children(entry))
                pending.push_back(child);
        }
    }
    for (int id = 0; id < count; ++id) {
        const Slot& s = slot(id);
        if (s.kept && s.exists && !s.reported && (s.parent < 0 || !slot(s.parent).kept)) {
            anchorAt(id);
            Conflict(ConflictKind::RemovedByTheirs, pathOf(id));
        }
        if (s.dropped && s.parent >= 0 && !slot(s.parent).dropped) {
            anchorAt(id);
            MergeConflict& conflict = Conflict(ConflictKind::AddedIntoRemoved, pathOf(id));
            conflict.theirs = pathIn(kTheirs, s.parent);
        }
    }

    // The nodes both sides hold: their own parts.
    for (int id = 0; id < count; ++id) {
        const Slot& s = slot(id);
        if (!s.exists || s.entry[kOurs] < 0 || s.entry[kTheirs] < 0)
            continue;
        const CObjectData* original = s.entry[kBase] >= 0 ? entryIn(kBase, id).node : nullptr;
        CObjectData& mine = *entryIn(kOurs, id).node;
        const CObjectData& their = *entryIn(kTheirs, id).node;
        const Place place = [&] { return pathOf(id); };
        anchorAt(id);
        Items(original, mine, their, place);
        Commands(original ? &original->CommandList() : nullptr, mine.CommandList(), their.CommandList(), place);
        Headers(original ? &original->HeaderColumns() : nullptr, mine.HeaderColumns(), their.HeaderColumns(), place);
    }

    // Children in merged order, and the top node.
    std::shared_ptr<CObjectData> top;
    for (int id = 0; id < count; ++id) {
        const Slot& s = slot(id);
        if (!s.exists)
            continue;
        if (s.parent < 0)
            top = object(id);
        if (!object(id)->IsGroup())
            continue;
        auto& group = static_cast<CObjectDataList&>(*object(id));
        auto childIds = [&](int k) { return s.entry[k] >= 0 ? v[k].ChildIds(s.entry[k]) : std::vector<int>(); };
        const std::vector<int> order = MergeOrder(
            childIds(kBase), childIds(kOurs), childIds(kTheirs),
            [&](int child) { return slot(child).exists && slot(child).parent == id; },
            [&](int child) {
                anchorAt(child);
                MergeConflict& conflict = Conflict(ConflictKind::MovedTwice, pathOf(child));
                conflict.ours = placeIn(kOurs, child);
                conflict.theirs = placeIn(kTheirs, child);
            });
        bool same = group.ChildCount() == static_cast<int>(order.size());
        for (size_t i = 0; same && i < order.size(); ++i)
            same = group.Children()[i] == object(order[i]);
        if (!same) {
            while (group.ChildCount() > 0)
                group.RemoveChild(&group.ChildAt(group.ChildCount() - 1));
            for (int child : order)
                group.AppendChild(object(child));
        }
        for (int child : order)
            object(child)->SetParentGroup(&group);
    }
    if (top)
        top->SetParentGroup(nullptr);
    ours.SetRoot(top);
}

} // namespace

std::vector<MergeConflict> MergeProjects(const CTekResourceData& base, CTekResourceData& ours, CTekResourceData& theirs)
{
    Merger merger;
    merger.Items(&base, ours, theirs, [] { return std::string(kProjectPath); });

    // Dialogs by name.
    std::unordered_map<std::string, int> ids;
    std::array<std::vector<int>, 3> lists;
    std::vector<std::array<DialogPtr, 3>> dialogs;
    const std::array<const CTekResourceData*, 3> projects{&base, &ours, &theirs};
    for (int k = 0; k < 3; ++k) {
        const CTekDialogDataList& list = projects[static_cast<size_t>(k)]->Dialogs();
        for (int i = 0; i < list.Count(); ++i) {
            auto [it, added] = ids.try_emplace(list.At(i).GetItem("Name"), static_cast<int>(ids.size()));
            if (added)
                dialogs.emplace_back();
            if (dialogs[static_cast<size_t>(it->second)][static_cast<size_t>(k)])
                continue; // a second dialog of one name: the first one counts
            dialogs[static_cast<size_t>(it->second)][static_cast<size_t>(k)] = list.PtrAt(i);
            lists[static_cast<size_t>(k)].push_back(it->second);
        }
    }

    std::vector<DialogPtr> merged(dialogs.size());
    for (size_t id = 0; id < dialogs.size(); ++id) {
        const auto& [b, o, t] = dialogs[id];
        if (o && t) {
            if ((b && match::SameDialog(*b, *t)) || match::SameDialog(*o, *t))
                merged[id] = o;
            else if (b && match::SameDialog(*b, *o))
                merged[id] = t;
            else {
                merger.Dialog(b.get(), *o, *t);
                merged[id] = o;
            }
        } else if (o) {
            if (!b) {
                merged[id] = o;
            } else if (!match::SameDialog(*b, *o)) {
                merger.Conflict(ConflictKind::RemovedByTheirs, o->GetItem("Name"));
                merged[id] = o;
            }
        } else if (t) {
            if (!b)
                merged[id] = t;
            else if (!match::SameDialog(*b, *t))
                merger.Conflict(ConflictKind::RemovedByOurs, t->GetItem("Name"));
        }
    }

    auto placeIn = [&](int k, int id) {
        const auto& list = lists[static_cast<size_t>(k)];
        return "place " + std::to_string(std::find(list.begin(), list.end(), id) - list.begin());
    };
    const std::vector<int> order = MergeOrder(
        lists[kBase], lists[kOurs], lists[kTheirs], [&](int id) { return merged[static_cast<size_t>(id)] != nullptr; },
        [&](int id) {
            MergeConflict& conflict =
                merger.Conflict(ConflictKind::MovedTwice, merged[static_cast<size_t>(id)]->GetItem("Name"));
            conflict.ours = placeIn(kOurs, id);
            conflict.theirs = placeIn(kTheirs, id);
        });
    ours.Dialogs().Clear();
    for (int id : order)
        ours.Dialogs().Append(merged[static_cast<size_t>(id)]);
    return std::move(merger.conflicts);
}

std::string DescribeConflict(const MergeConflict& conflict)
{
    auto text = [](const std::string& held) { return ShiftJisToUtf8Exact(held); };
    std::string line = text(conflict.path) + ": ";
    switch (conflict.kind) {
    case ConflictKind::ItemChanged:
        line += text(conflict.item) + " changed on both sides: ours " + QuotedForDisplay(conflict.ours) + ", theirs " +
                QuotedForDisplay(conflict.theirs) + "; ours kept";
        break;
    case ConflictKind::RemovedByTheirs:
        line += "removed on their side, changed on ours; ours kept";
        break;
    case ConflictKind::RemovedByOurs:
        line += "removed on our side, changed on theirs; left removed";
        break;
    case ConflictKind::AddedIntoRemoved:
        line += "added on their side into " + text(conflict.theirs) + ", which our side removed; left out";
        break;
    case ConflictKind::MovedIntoRemoved:
        line += "moved on their side into " + text(conflict.theirs) + ", which our side removed; ours kept";
        break;
    case ConflictKind::MovedTwice:
        line += "moved on both sides: ours to " + text(conflict.ours) + ", theirs to " + text(conflict.theirs) +
                "; ours kept";
        break;
    case ConflictKind::AddedTwice:
        line += "added on both sides: ours in " + text(conflict.ours) + ", theirs in " + text(conflict.theirs) +
                "; ours kept";
        break;
    case ConflictKind::TopReplaced:
        line += "top node replaced on both sides; ours kept";
        break;
    }
    return line;
}

} // namespace vesk
