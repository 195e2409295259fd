#pragma once

// Helpers shared by the model and objects tests: Shift_JIS literals, node builders, a tree view
// that records what is built into it, a dump of a whole resource and temporary folders.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "objects/resourcedata.h"
#include "model/resourcetree.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "textconv/textconv.h"

namespace vesk::test {

/// The Shift_JIS form of a UTF-8 literal, as the model holds it.
inline std::string Sjis(std::string_view utf8)
{
    return Utf8ToShiftJisExact(utf8);
}

inline ObjectPtr MakeObject(CObjectDataList* parent, int typeCode, const std::string& name)
{
    auto object = std::make_shared<CObjectData>(parent);
    BuildObjectItems(*object, typeCode);
    object->SetItem("Name", name);
    if (parent)
        parent->AppendChild(object);
    return object;
}

inline GroupPtr MakeGroup(CObjectDataList* parent, int layoutCode, const std::string& name)
{
    auto group = std::make_shared<CObjectDataList>(parent);
    BuildGroupItems(*group, layoutCode);
    group->SetItem("Name", name);
    if (parent)
        parent->AppendChild(group);
    return group;
}

inline TekPtr MakeCommand(TekClass& owner, std::string_view command, std::string_view event)
{
    auto node = std::make_shared<TekClass>(NodeType::Command);
    BuildCommandItems(*node, command, event);
    owner.AddCommand(node);
    return node;
}

inline TekPtr MakeHeaderColumn(CObjectData& grid)
{
    auto column = std::make_shared<TekClass>(NodeType::HeaderColumn);
    BuildHeaderItems(*column);
    grid.HeaderColumns().push_back(column);
    return column;
}

/// The names of a node's items, in order, joined by ",".
inline std::string ItemNames(const TekClass& node)
{
    std::string names;
    for (const auto& item : node.Items()) {
        if (!names.empty())
            names += ',';
        names += item->Name();
    }
    return names;
}

/// A tree control that keeps what is inserted; Outline() shows it one item a line, indented by
/// two blanks a level, with " [+]" or " [-]" when the item was expanded or collapsed.
class RecordingTreeView : public ResourceTreeView {
public:
    struct Item {
        std::string text;
        TreeItemId parent = kTreeRootLevel;
        TekClass* node = nullptr;
        int expanded = -1;
        std::vector<TreeItemId> children;
    };

    TreeItemId InsertItem(const std::string& text, TreeItemId parent, TreeItemId after, TekClass* node) override
    {
        TreeItemId id = ++m_lastId;
        m_items[id] = Item{text, parent, node, -1, {}};
        std::vector<TreeItemId>& siblings = parent == kTreeRootLevel ? m_top : m_items.at(parent).children;
        if (after == kTreeInsertFirst) {
            siblings.insert(siblings.begin(), id);
        } else {
            auto it = std::find(siblings.begin(), siblings.end(), after);
            siblings.insert(it == siblings.end() ? siblings.end() : it + 1, id);
        }
        return id;
    }
    void SetExpanded(TreeItemId item, bool expanded) override { m_items.at(item).expanded = expanded ? 1 : 0; }
    void DeleteAllItems() override
    {
        m_items.clear();
        m_top.clear();
        ++m_deleteAllCount;
    }

    std::string Outline() const
    {
        std::string out;
        for (TreeItemId id : m_top)
            Append(out, id, 0);
        return out;
    }
    const Item& At(TreeItemId id) const { return m_items.at(id); }
    /// The first item (in insertion order) with that text, or 0.
    TreeItemId Find(const std::string& text) const
    {
        for (const auto& [id, item] : m_items)
            if (item.text == text)
                return id;
        return 0;
    }
    int DeleteAllCount() const { return m_deleteAllCount; }
    size_t Count() const { return m_items.size(); }

private:
    void Append(std::string& out, TreeItemId id, int depth) const
    {
        const Item& item = m_items.at(id);
        out.append(static_cast<size_t>(depth) * 2, ' ');
        out += item.text;
        if (item.expanded == 1)
            out += " [+]";
        else if (item.expanded == 0)
            out += " [-]";
        out += '\n';
        for (TreeItemId child : item.children)
            Append(out, child, depth + 1);
    }

    std::map<TreeItemId, Item> m_items;
    std::vector<TreeItemId> m_top;
    TreeItemId m_lastId = 0;
    int m_deleteAllCount = 0;
};

inline void DumpItems(std::string& out, const TekClass& node)
{
    for (const auto& item : node.Items()) {
        out += item->Name();
        out += '(';
        out += std::to_string(static_cast<int>(item->Kind()));
        out += ")=";
        out += item->Value();
        out += '|';
    }
}

inline void DumpCommands(std::string& out, const TekList& commands, int depth)
{
    for (const TekPtr& command : commands) {
        out.append(static_cast<size_t>(depth), ' ');
        out += "command ";
        DumpItems(out, *command);
        out += '\n';
    }
}

inline void DumpNode(std::string& out, const CObjectData& node, int depth)
{
    out.append(static_cast<size_t>(depth), ' ');
    out += node.IsGroup() ? "group " : "object ";
    DumpItems(out, node);
    out += '\n';
    for (const TekPtr& column : node.HeaderColumns()) {
        out.append(static_cast<size_t>(depth) + 1, ' ');
        out += "header ";
        DumpItems(out, *column);
        out += '\n';
    }
    DumpCommands(out, node.CommandList(), depth + 1);
    if (node.IsGroup())
        for (const ObjectPtr& child : static_cast<const CObjectDataList&>(node).Children())
            DumpNode(out, *child, depth + 1);
}

/// Everything a resource holds (items with kinds, dialogs, commands, nodes), one node a line.
inline std::string DumpResource(const CTekResourceData& resource)
{
    std::string out = "resource ";
    DumpItems(out, resource);
    out += '\n';
    const CTekDialogDataList& dialogs = resource.Dialogs();
    for (int i = 0; i < dialogs.Count(); ++i) {
        const CTekDialogData& dialog = dialogs.At(i);
        out += " dialog ";
        DumpItems(out, dialog);
        out += '\n';
        DumpCommands(out, dialog.Commands(), 2);
        if (dialog.RootObject())
            DumpNode(out, *dialog.RootObject(), 2);
    }
    return out;
}

/// A fresh folder under /tmp, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/vesk-test-XXXXXX";
        if (::mkdtemp(pattern) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    /// The names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path m_path;
};

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace vesk::test
