#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/orbstream.h"
#include "model/resourcetree.h"
#include "model/tekclass.h"
#include "objects/orbunit.h"

namespace vesk {

class CObjectDataList;
class UndoBuffer;
class UndoRecord;
using ObjectPtr = std::shared_ptr<class CObjectData>;
using GroupPtr = std::shared_ptr<CObjectDataList>;

/// Object type codes (the 'Type' item holds the name).
enum ObjectTypeCodeValue {
    OBJ_TEXT,
    OBJ_EDIT,
    OBJ_BUTTON,
    OBJ_CHECKBOX,
    OBJ_TOGGLE,
    OBJ_RADIOBTN,
    OBJ_PICTURE,
    OBJ_CANVAS,
    OBJ_GRID,
    OBJ_PULLDOWN,
    OBJ_PROGRESS,
    OBJ_SLIDEBAR,
    OBJ_METER,
    OBJ_TYPE_COUNT
};
/// Group layout codes (the 'Layout' item holds the name).
enum LayoutCodeValue {
    LAYOUT_FRAME,
    LAYOUT_LINEAR,
    LAYOUT_RADIO,
    LAYOUT_SCROLL,
    LAYOUT_PAGE,
    LAYOUT_TABLE,
    LAYOUT_TABLEROW,
    LAYOUT_RELATIVE,
    LAYOUT_COUNT
};

/// The type names in code order, and the layout names in code order.
extern const char* const kObjectTypeNames[OBJ_TYPE_COUNT];
extern const char* const kLayoutNames[LAYOUT_COUNT];

/// Rectangle in preview pixels; right and bottom are exclusive.
struct LayoutRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const LayoutRect&) const = default;
};

/// One object of a dialog: a button, a picture, a slider and so on.
class CObjectData : public TekClass {
public:
    explicit CObjectData(CObjectDataList* parent);
    /// A node of a load: its values and lists live in the store.
    CObjectData(CObjectDataList* parent, const std::shared_ptr<ItemValueStore>& store);
    ~CObjectData() override;

    std::string GetLabel() const override;
    void CopyFrom(const TekClass& source) override;
    bool SameItems(const TekClass& other) const override;
    int AddCommand(TekPtr command) override;

    /// Inserts the node's item (and its header, command and child items); answers the item.
    virtual TreeItemId InsertIntoTree(ResourceTreeView& tree, TreeItemId parent, TreeItemId after);
    /// Writes the node's record at the given depth (TABs).
    virtual void WriteRecord(COrbStream& stream, int depth) const;
    /// The object whose layout rectangle holds the point, or nullptr.
    virtual CObjectData* HitTest(int x, int y);
    virtual void SetMark(int value) { m_mark = value; }
    int GetMark() const { return m_mark; }
    /// This node when marked; a group also searches its children from the last to the first.
    virtual CObjectData* FindMarked();
    /// Moves this node (or, for a group, its marked descendants) into the target group;
    /// answers 1 when this node moved, after which the caller removes it from its old list.
    virtual int MoveMarkedInto(CObjectDataList& target);
    virtual int CountMarked() const { return m_mark ? 1 : 0; }
    virtual int MaxDepth(int depth) const { return depth; }

    /// Adds to the record a copy of the node when it is new or changed since its newest copy in
    /// the applied records of the buffer (and, when new, an entry holding the live node).
    virtual void TakeSnapshot(UndoBuffer& buffer, UndoRecord& record);

    /// The code of the type name, or of the node's own 'Type' when the text is empty; -1 if unknown.
    int ObjectTypeCode(std::string_view text = {}) const;

    CObjectDataList* ParentGroup() const { return m_parentGroup; }
    void SetParentGroup(CObjectDataList* parent) { m_parentGroup = parent; }
    TekList& HeaderColumns() { return m_headerColumns; }
    const TekList& HeaderColumns() const { return m_headerColumns; }
    TekList& CommandList() { return m_commandList; }
    const TekList& CommandList() const { return m_commandList; }
    const LayoutRect& GetLayoutRect() const { return m_layoutRect; }
    void SetLayoutRect(const LayoutRect& rect) { m_layoutRect = rect; }

    bool IsGroup() const { return m_type == NodeType::Group; }

protected:
    /// Inserts the node's own item with its header column and command items; answers the item.
    TreeItemId InsertOwnItems(ResourceTreeView& tree, TreeItemId parent, TreeItemId after);

    int m_mark = 0;
    CObjectDataList* m_parentGroup;
    TekList m_headerColumns;
    TekList m_commandList;
    LayoutRect m_layoutRect;
};

/// A group: an object that holds an ordered list of children and lays them out.
class CObjectDataList : public CObjectData {
public:
    explicit CObjectDataList(CObjectDataList* parent);
    CObjectDataList(CObjectDataList* parent, const std::shared_ptr<ItemValueStore>& store);
    ~CObjectDataList() override;

    std::string GetLabel() const override;
    void CopyFrom(const TekClass& source) override;
    bool SameItems(const TekClass& other) const override;
    TreeItemId InsertIntoTree(ResourceTreeView& tree, TreeItemId parent, TreeItemId after) override;
    void WriteRecord(COrbStream& stream, int depth) const override;
    CObjectData* HitTest(int x, int y) override;
    void SetMark(int value) override;
    CObjectData* FindMarked() override;
    int MoveMarkedInto(CObjectDataList& target) override;
    int CountMarked() const override;
    int MaxDepth(int depth) const override;
    /// Snapshots the group, then each child in order.
    void TakeSnapshot(UndoBuffer& buffer, UndoRecord& record) override;
    /// The object under the point among the children (never the group itself).
    CObjectData* HitTestChildren(int x, int y) { return HitTest(x, y); }
    /// Clears this group's mark and every descendant's.
    void ClearMarks();

    /// The code of the layout name, or of the node's own 'Layout' when the text is empty.
    int LayoutCode(std::string_view text = {}) const;

    using ObjectList = std::vector<ObjectPtr, StoreAllocator<ObjectPtr>>;
    const ObjectList& Children() const { return m_children; }
    int ChildCount() const { return static_cast<int>(m_children.size()); }
    CObjectData& ChildAt(int index) const { return *m_children.at(static_cast<size_t>(index)); }
    const ObjectPtr& ChildPtrAt(int index) const { return m_children.at(static_cast<size_t>(index)); }
    /// Makes room for that many children.
    void ReserveChildren(size_t count) { m_children.reserve(count); }
    /// Appends; answers the index. The node's parent group is left alone.
    int AppendChild(ObjectPtr node);
    /// Inserts at the anchor (before it, or just after it); appends when the anchor is not a
    /// child; without anchor inserts first when before is 1, else appends.
    void InsertChild(ObjectPtr node, const CObjectData* anchor, int before);
    int IndexOfChild(const CObjectData* node) const;
    /// Removes a child (the list lets go of it; it is freed unless held elsewhere); false if absent.
    bool RemoveChild(const CObjectData* node);
    /// Moves every marked node into a new LINEAR group placed before the anchor; answers it.
    GroupPtr GroupMarked(CObjectData& anchor);
    /// Puts this group's children in its place in its parent; answers the first one, or nullptr
    /// when the group has no parent or no children.
    CObjectData* Ungroup();
    /// True when the node is this group or lies anywhere below it.
    bool Contains(const CObjectData* node) const;

private:
    ObjectList m_children;
};

} // namespace vesk
