#include "records/projectmatch.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "model/eventlist.h"

namespace vesk::match {

namespace {

const std::string kEmptyText;

char KindLetter(const CObjectData& node)
{
    return node.IsGroup() ? 'G' : 'O';
}

/// Adds the node and its subtree to the entries, in tree order.
void AddEntries(DialogNodes& version, const ObjectPtr& node, int parent, int position)
{
    // An explicit stack keeps deep trees off the call stack.
    struct Pending {
        const ObjectPtr* node;
        int parent;
        int position;
    };
    std::vector<Pending> stack{{&node, parent, position}};
    while (!stack.empty()) {
        Pending next = stack.back();
        stack.pop_back();
        const int entry = static_cast<int>(version.entries.size());
        NodeEntry& e = version.entries.emplace_back();
        e.node = next.node->get();
        e.holder = *next.node;
        e.name = &e.node->GetItem("Name");
        e.parent = next.parent;
        e.position = next.position;
        if (e.node->IsGroup()) {
            const auto& children = static_cast<const CObjectDataList&>(*e.node).Children();
            for (size_t i = children.size(); i-- > 0;)
                stack.push_back({&children[i], entry, static_cast<int>(i)});
        }
    }
}

/// Fills the child lists, and the ranks of siblings that share a name.
void LinkChildren(DialogNodes& version)
{
    std::vector<NodeEntry>& entries = version.entries;
    for (const NodeEntry& e : entries)
        if (e.parent >= 0)
            ++entries[static_cast<size_t>(e.parent)].childCount;
    int next = 0;
    for (NodeEntry& e : entries) {
        e.firstChild = next;
        next += e.childCount;
    }
    version.childEntries.assign(static_cast<size_t>(next), -1);
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        const NodeEntry& e = entries[static_cast<size_t>(i)];
        if (e.parent >= 0) {
            const NodeEntry& parent = entries[static_cast<size_t>(e.parent)];
            version.childEntries[static_cast<size_t>(parent.firstChild + e.position)] = i;
        }
    }
    if (!entries.empty())
        entries.front().nameShared = entries.front().name->empty();
    std::vector<std::pair<std::string_view, int>> byName;
    for (const NodeEntry& parent : entries) {
        if (parent.childCount == 0)
            continue;
        byName.clear();
        for (int k = 0; k < parent.childCount; ++k) {
            const int child = version.childEntries[static_cast<size_t>(parent.firstChild + k)];
            byName.emplace_back(*entries[static_cast<size_t>(child)].name, child);
        }
        // Sorted by name, and by place among the equal names.
        std::sort(byName.begin(), byName.end());
        for (size_t k = 0; k < byName.size();) {
            size_t end = k + 1;
            while (end < byName.size() && byName[end].first == byName[k].first)
                ++end;
            const bool shared = end - k > 1 || byName[k].first.empty();
            for (size_t j = k; j < end; ++j) {
                NodeEntry& e = entries[static_cast<size_t>(byName[j].second)];
                e.rank = static_cast<int>(j - k) + 1;
                e.nameShared = shared;
            }
            k = end;
        }
    }
}

} // namespace

std::vector<int> DialogNodes::ChildIds(int entry) const
{
    std::vector<int> ids;
    for (int child : Children(entry))
        ids.push_back(entries[static_cast<size_t>(child)].id);
    return ids;
}

const std::string& DialogNodes::DialogName() const
{
    return dialog ? dialog->GetItem("Name") : kEmptyText;
}

std::string DialogNodes::Segment(int entry) const
{
    const NodeEntry& e = entries[static_cast<size_t>(entry)];
    std::string segment = *e.name;
    if (e.nameShared) {
        segment += '#';
        segment += std::to_string(e.rank);
    }
    return segment;
}

std::string DialogNodes::Path(int entry) const
{
    std::vector<int> chain;
    for (int at = entry; at >= 0; at = entries[static_cast<size_t>(at)].parent)
        chain.push_back(at);
    std::string path = DialogName();
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path += '/';
        path += Segment(*it);
    }
    return path;
}

std::string DialogNodes::ParentPath(int entry) const
{
    const int parent = entries[static_cast<size_t>(entry)].parent;
    return parent < 0 ? DialogName() : Path(parent);
}

int IndexDialogNodes(std::span<DialogNodes> versions)
{
    for (DialogNodes& version : versions) {
        version.entries.clear();
        version.childEntries.clear();
        if (version.dialog && version.dialog->RootObject())
            AddEntries(version, version.dialog->RootPtr(), -1, 0);
        LinkChildren(version);
    }

    // A name identifies its node when no version has two nodes of that name below the top node.
    size_t total = 0;
    for (const DialogNodes& version : versions)
        total += version.entries.size();
    std::unordered_map<std::string_view, bool> identifying;
    std::unordered_map<std::string_view, int> counts;
    identifying.reserve(total);
    for (const DialogNodes& version : versions) {
        counts.clear();
        counts.reserve(version.entries.size());
        for (size_t i = 1; i < version.entries.size(); ++i) {
            const std::string& name = *version.entries[i].name;
            if (!name.empty())
                ++counts[name];
        }
        for (const auto& [name, count] : counts) {
            auto [it, added] = identifying.try_emplace(name, count == 1);
            if (!added && count > 1)
                it->second = false;
        }
    }

    std::unordered_map<std::string, int> ids;
    ids.reserve(total);
    std::vector<std::string> keys;
    for (DialogNodes& version : versions) {
        keys.assign(version.entries.size(), std::string());
        for (size_t i = 0; i < version.entries.size(); ++i) {
            NodeEntry& e = version.entries[i];
            const std::string& name = *e.name;
            std::string& key = keys[i];
            if (e.parent < 0) {
                key = {'R', KindLetter(*e.node)};
            } else if (!name.empty() && identifying.at(name)) {
                key = {'N', KindLetter(*e.node)};
                key += name;
            } else {
                key = keys[static_cast<size_t>(e.parent)];
                key += '\x1f';
                key += KindLetter(*e.node);
                key += name;
                key += '#';
                key += std::to_string(e.rank);
            }
            e.id = ids.try_emplace(key, static_cast<int>(ids.size())).first->second;
        }
    }
    const int count = static_cast<int>(ids.size());
    for (DialogNodes& version : versions) {
        version.entryOf.assign(static_cast<size_t>(count), -1);
        for (size_t i = 0; i < version.entries.size(); ++i)
            version.entryOf[static_cast<size_t>(version.entries[i].id)] = static_cast<int>(i);
    }
    return count;
}

const std::string& ValueOf(const TekClass* node, std::string_view name)
{
    return node ? node->GetItem(name) : kEmptyText;
}

bool SameItemValues(const TekClass* a, const TekClass* b)
{
    bool same = true;
    ForEachItemDifference(a, b, [&](std::string_view, const std::string&, const std::string&) { same = false; });
    return same;
}

std::vector<TekPtr> CommandsWithEvent(const TekList& commands, std::string_view event)
{
    std::vector<TekPtr> found;
    for (const TekPtr& command : commands)
        if (command->GetItem("Event") == event)
            found.push_back(command);
    return found;
}

std::string CommandName(const TekClass& command)
{
    const std::string& name = command.GetItem("Command");
    if (name == "NOTIFY" && !command.GetItem("MakeCommand").empty())
        return command.GetItem("MakeCommand");
    if (name == "SENDCOMMAND" && !command.GetItem("SendCommand").empty())
        return command.GetItem("SendCommand");
    return name;
}

bool SameCommands(const TekList& a, const TekList& b)
{
    if (a.empty() && b.empty())
        return true;
    for (const char* event : kEventNames) {
        std::vector<TekPtr> first = CommandsWithEvent(a, event);
        std::vector<TekPtr> second = CommandsWithEvent(b, event);
        if (first.size() != second.size())
            return false;
        for (size_t i = 0; i < first.size(); ++i)
            if (!SameItemValues(first[i].get(), second[i].get()))
                return false;
    }
    return true;
}

bool SameHeaders(const TekList& a, const TekList& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!SameItemValues(a[i].get(), b[i].get()))
            return false;
    return true;
}

bool SameOwnContent(const CObjectData& a, const CObjectData& b)
{
    return a.IsGroup() == b.IsGroup() && SameItemValues(&a, &b) && SameCommands(a.CommandList(), b.CommandList()) &&
           SameHeaders(a.HeaderColumns(), b.HeaderColumns());
}

namespace {

bool SameTree(const CObjectData* a, const CObjectData* b)
{
    if (!a || !b)
        return a == b;
    if (!SameOwnContent(*a, *b))
        return false;
    if (!a->IsGroup())
        return true;
    const auto& first = static_cast<const CObjectDataList&>(*a).Children();
    const auto& second = static_cast<const CObjectDataList&>(*b).Children();
    if (first.size() != second.size())
        return false;
    for (size_t i = 0; i < first.size(); ++i)
        if (!SameTree(first[i].get(), second[i].get()))
            return false;
    return true;
}

} // namespace

bool SameDialog(const CTekDialogData& a, const CTekDialogData& b)
{
    return SameItemValues(&a, &b) && SameCommands(a.Commands(), b.Commands()) &&
           SameTree(a.RootObject(), b.RootObject());
}

std::string NodeKindText(const CObjectData& node)
{
    if (!node.IsGroup())
        return node.GetItem("Type");
    const std::string& layout = node.GetItem("Layout");
    return layout.empty() ? std::string("group") : layout + " group";
}

std::vector<char> InLongestIncreasing(std::span<const int> values)
{
    // Patience sorting: tails[k] is the entry ending the best run of length k + 1 found so far.
    std::vector<int> tails;
    std::vector<int> previous(values.size(), -1);
    for (int i = 0; i < static_cast<int>(values.size()); ++i) {
        auto at = std::lower_bound(tails.begin(), tails.end(), values[static_cast<size_t>(i)],
                                   [&](int entry, int value) { return values[static_cast<size_t>(entry)] < value; });
        if (at != tails.begin())
            previous[static_cast<size_t>(i)] = *(at - 1);
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
    }
    std::vector<char> member(values.size(), 0);
    for (int at = tails.empty() ? -1 : tails.back(); at >= 0; at = previous[static_cast<size_t>(at)])
        member[static_cast<size_t>(at)] = 1;
    return member;
}

} // namespace vesk::match
