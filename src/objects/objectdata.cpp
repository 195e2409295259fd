#include "objects/objectdata.h"

#include <algorithm>
#include <cstdio>

#include "model/eventlist.h"
#include "objects/itemsets.h"

namespace vesk {

const char* const kObjectTypeNames[OBJ_TYPE_COUNT] = {
    "TEXT", "EDIT", "BUTTON", "CHECKBOX", "TOGGLE", "RADIOBTN", "PICTURE",
    "CANVAS", "GRID", "PULLDOWN", "PROGRESS", "SLIDEBAR", "METER",
};
const char* const kLayoutNames[LAYOUT_COUNT] = {
    "FRAME", "LINEAR", "RADIO", "SCROLL", "PAGE", "TABLE", "TABLEROW", "RELATIVE",
};

namespace {

template <size_t N>
int IndexOfName(const char* const (&names)[N], std::string_view text)
{
    for (size_t i = 0; i < N; ++i)
        if (text == names[i])
            return static_cast<int>(i);
    return -1;
}

void WriteItemTexts(std::string& out, const CItemList& items, bool& first)
{
    for (const auto& item : items) {
        std::string text = ItemText(*item);
        if (text.empty())
            continue;
        if (!first)
            out += ',';
        first = false;
        out += text;
    }
}

}  // namespace

// --- CObjectData -----------------------------------------------------------------------------

CObjectData::CObjectData(CObjectDataList* parent) : TekClass(NodeType::Object), m_parentGroup(parent) {}

CObjectData::CObjectData(CObjectDataList* parent, const std::shared_ptr<ItemValueStore>& store)
    : TekClass(NodeType::Object, store), m_parentGroup(parent), m_headerColumns(StoreAllocator<TekPtr>(store)),
      m_commandList(StoreAllocator<TekPtr>(store))
{
}

CObjectData::~CObjectData() = default;

std::string CObjectData::GetLabel() const
{
    const std::string& text = GetItem("Text").empty() ? GetItem("TextOn") : GetItem("Text");
    return "Object:" + GetItem("Type") + "(" + GetItem("Name") + ")" + text;
}

void CObjectData::CopyFrom(const TekClass& source)
{
    TekClass::CopyFrom(source);
    m_mark = 0;
    if (const auto* object = dynamic_cast<const CObjectData*>(&source)) {
        m_parentGroup = object->m_parentGroup;
        m_headerColumns = object->m_headerColumns;
        m_commandList = object->m_commandList;
    }
}

bool CObjectData::SameItems(const TekClass& other) const
{
    if (!TekClass::SameItems(other))
        return false;
    const auto* object = dynamic_cast<const CObjectData*>(&other);
    return object && m_parentGroup == object->m_parentGroup && m_headerColumns == object->m_headerColumns &&
           m_commandList == object->m_commandList;
}

int CObjectData::AddCommand(TekPtr command)
{
    m_commandList.push_back(std::move(command));
    return static_cast<int>(m_commandList.size()) - 1;
}

int CObjectData::ObjectTypeCode(std::string_view text) const
{
    return IndexOfName(kObjectTypeNames, text.empty() ? std::string_view(GetItem("Type")) : text);
}

TreeItemId CObjectData::InsertOwnItems(ResourceTreeView& tree, TreeItemId parent, TreeItemId after)
{
    TreeItemId item = tree.InsertItem(GetLabel(), parent, after, this);
    for (size_t i = 0; i < m_headerColumns.size(); ++i) {
        char text[48];
        std::snprintf(text, sizeof text, "Header:Cullum%d", static_cast<int>(i + 1));
        tree.InsertItem(text, item, kTreeInsertLast, m_headerColumns[i].get());
    }
    for (const TekPtr& command : m_commandList)
        tree.InsertItem("Command:" + command->GetItem("Command"), item, kTreeInsertLast, command.get());
    return item;
}

TreeItemId CObjectData::InsertIntoTree(ResourceTreeView& tree, TreeItemId parent, TreeItemId after)
{
    TreeItemId item = InsertOwnItems(tree, parent, after);
    tree.SetExpanded(item, Expanded());
    return item;
}

void CObjectData::WriteRecord(COrbStream& stream, int depth) const
{
    std::string out(static_cast<size_t>(depth), '\t');
    out += '{';
    bool first = true;
    WriteItemTexts(out, m_items, first);
    if (!m_headerColumns.empty()) {
        if (!first)
            out += ',';
        out += "'Header':[";
        for (size_t i = 0; i < m_headerColumns.size(); ++i) {
            if (i)
                out += ',';
            out += '{';
            bool firstColumnItem = true;
            WriteItemTexts(out, m_headerColumns[i]->Items(), firstColumnItem);
            out += '}';
        }
        out += ']';
        first = false;
    }
    if (!m_commandList.empty()) {
        std::string events = WriteEventList(m_commandList, depth);
        if (!events.empty()) {
            if (!first)
                out += ',';
            out += events;
        }
    }
    out += '}';
    stream.Write(out);
}

CObjectData* CObjectData::HitTest(int x, int y) { return m_layoutRect.Contains(x, y) ? this : nullptr; }

CObjectData* CObjectData::FindMarked() { return m_mark ? this : nullptr; }

int CObjectData::MoveMarkedInto(CObjectDataList& target)
{
    if (this == &target || !m_mark)
        return 0;
    // A group never moves into itself or anywhere below itself.
    if (auto* group = dynamic_cast<CObjectDataList*>(this); group && group->Contains(&target))
        return 0;
    target.AppendChild(std::static_pointer_cast<CObjectData>(shared_from_this()));
    m_parentGroup = &target;
    return 1;
}

// --- CObjectDataList -------------------------------------------------------------------------

CObjectDataList::CObjectDataList(CObjectDataList* parent) : CObjectData(parent) { m_type = NodeType::Group; }

CObjectDataList::CObjectDataList(CObjectDataList* parent, const std::shared_ptr<ItemValueStore>& store)
    : CObjectData(parent, store), m_children(StoreAllocator<ObjectPtr>(store))
{
    m_type = NodeType::Group;
}

CObjectDataList::~CObjectDataList() = default;

std::string CObjectDataList::GetLabel() const { return "Group:" + GetItem("Layout") + "(" + GetItem("Name") + ")"; }

void CObjectDataList::CopyFrom(const TekClass& source)
{
    CObjectData::CopyFrom(source);
    if (const auto* group = dynamic_cast<const CObjectDataList*>(&source))
        m_children = group->m_children;
}

bool CObjectDataList::SameItems(const TekClass& other) const
{
    if (!CObjectData::SameItems(other))
        return false;
    const auto* group = dynamic_cast<const CObjectDataList*>(&other);
    return group && m_children == group->m_children;
}

int CObjectDataList::LayoutCode(std::string_view text) const
{
    return IndexOfName(kLayoutNames, text.empty() ? std::string_view(GetItem("Layout")) : text);
}

TreeItemId CObjectDataList::InsertIntoTree(ResourceTreeView& tree, TreeItemId parent, TreeItemId after)
{
    TreeItemId item = InsertOwnItems(tree, parent, after);
    for (const ObjectPtr& child : m_children)
        child->InsertIntoTree(tree, item, kTreeInsertLast);
    tree.SetExpanded(item, Expanded());
    return item;
}

void CObjectDataList::WriteRecord(COrbStream& stream, int depth) const
{
    std::string out(static_cast<size_t>(depth), '\t');
    out += '{';
    for (const auto& item : m_items) {
        std::string text = ItemText(*item);
        if (text.empty())
            continue;
        out += text;
        out += ',';
    }
    if (!m_commandList.empty()) {
        std::string events = WriteEventList(m_commandList, depth);
        if (!events.empty()) {
            out += events;
            out += ',';
        }
    }
    out += "'Objects':[\n";
    stream.Write(out);
    for (size_t i = 0; i < m_children.size(); ++i) {
        m_children[i]->WriteRecord(stream, depth + 1);
        stream.Write(i + 1 < m_children.size() ? ",\n" : "\n");
    }
    stream.WriteTabs(depth);
    stream.Write("]}");
}

CObjectData* CObjectDataList::HitTest(int x, int y)
{
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
        if (CObjectData* hit = (*it)->HitTest(x, y))
            return hit;
    return nullptr;
}

void CObjectDataList::SetMark(int value)
{
    m_mark = value;
    for (const ObjectPtr& child : m_children)
        child->SetMark(value);
}

CObjectData* CObjectDataList::FindMarked()
{
    if (m_mark)
        return this;
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
        if (CObjectData* marked = (*it)->FindMarked())
            return marked;
    return nullptr;
}

int CObjectDataList::MoveMarkedInto(CObjectDataList& target)
{
    if (this == &target)
        return 0;
    if (CObjectData::MoveMarkedInto(target))
        return 1;
    for (size_t i = 0; i < m_children.size();) {
        if (m_children[i]->MoveMarkedInto(target))
            m_children.erase(m_children.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    return 0;
}

int CObjectDataList::CountMarked() const
{
    int count = 0;
    for (const ObjectPtr& child : m_children)
        count += child->CountMarked();
    return count;
}

int CObjectDataList::MaxDepth(int depth) const
{
    int deepest = 0;
    for (const ObjectPtr& child : m_children)
        deepest = std::max(deepest, child->MaxDepth(depth + 1));
    return deepest;
}

void CObjectDataList::ClearMarks()
{
    m_mark = 0;
    for (const ObjectPtr& child : m_children)
        child->SetMark(0);
}

int CObjectDataList::AppendChild(ObjectPtr node)
{
    m_children.push_back(std::move(node));
    return static_cast<int>(m_children.size()) - 1;
}

void CObjectDataList::InsertChild(ObjectPtr node, const CObjectData* anchor, int before)
{
    if (anchor) {
        int index = IndexOfChild(anchor);
        if (index < 0) {
            m_children.push_back(std::move(node));
            return;
        }
        m_children.insert(m_children.begin() + index + (before ? 0 : 1), std::move(node));
        return;
    }
    if (before == 1)
        m_children.insert(m_children.begin(), std::move(node));
    else
        m_children.push_back(std::move(node));
}

int CObjectDataList::IndexOfChild(const CObjectData* node) const
{
    for (size_t i = 0; i < m_children.size(); ++i)
        if (m_children[i].get() == node)
            return static_cast<int>(i);
    return -1;
}

bool CObjectDataList::RemoveChild(const CObjectData* node)
{
    int index = IndexOfChild(node);
    if (index < 0)
        return false;
    m_children.erase(m_children.begin() + index);
    return true;
}

bool CObjectDataList::Contains(const CObjectData* node) const
{
    if (node == this)
        return true;
    for (const ObjectPtr& child : m_children) {
        if (child.get() == node)
            return true;
        if (child->IsGroup() && static_cast<const CObjectDataList&>(*child).Contains(node))
            return true;
    }
    return false;
}

GroupPtr CObjectDataList::GroupMarked(CObjectData& anchor)
{
    CObjectDataList* parent = anchor.ParentGroup();
    if (!parent)
        return nullptr;
    auto group = std::make_shared<CObjectDataList>(parent);
    BuildGroupItems(*group, LAYOUT_LINEAR);
    group->SetExpanded(true);
    parent->InsertChild(group, &anchor, 1);
    for (size_t i = 0; i < m_children.size();) {
        if (m_children[i]->MoveMarkedInto(*group))
            m_children.erase(m_children.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    group->SetMark(1);
    return group;
}

CObjectData* CObjectDataList::Ungroup()
{
    CObjectDataList* parent = m_parentGroup;
    if (!parent || m_children.empty())
        return nullptr;
    // Keep this group alive while it leaves its parent; the caller lets go of it.
    auto self = shared_from_this();
    int k = parent->IndexOfChild(this);
    if (k < 0)
        return nullptr;
    for (size_t i = 0; i < m_children.size(); ++i) {
        m_children[i]->SetParentGroup(parent);
        parent->m_children.insert(parent->m_children.begin() + k + static_cast<std::ptrdiff_t>(i), m_children[i]);
    }
    CObjectData* first = m_children.front().get();
    m_children.clear();
    parent->RemoveChild(this);
    return first;
}

}  // namespace vesk
