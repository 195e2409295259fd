#pragma once

// Builders of dialogs for the layout and undo tests and the layout benchmarks: single nodes
// with their real item sets, and generated trees of many shapes; and the finders the tests of
// edits share.

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "objects/resourcedata.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"

namespace vesk::test {

#ifdef VESK_SOURCE_DIR
/// The demo project that ships with the sources.
inline std::string DemoProjectPath()
{
    return VESK_SOURCE_DIR "/examples/demo.veskspro";
}
#endif

/// The first node named name (its 'Name' item) in the tree from node down, or nullptr.
inline CObjectData* FindNamed(CObjectData* node, const std::string& name)
{
    if (!node)
        return nullptr;
    if (node->GetItem("Name") == name)
        return node;
    if (node->IsGroup())
        for (const ObjectPtr& child : static_cast<CObjectDataList*>(node)->Children())
            if (CObjectData* found = FindNamed(child.get(), name))
                return found;
    return nullptr;
}

/// The names of a group's children, in order (the type of a child without a name).
inline std::vector<std::string> ChildNames(const CObjectData* group)
{
    std::vector<std::string> names;
    for (const ObjectPtr& child : static_cast<const CObjectDataList*>(group)->Children())
        names.push_back(child->GetItem("Name").empty() ? child->GetItem("Type") : child->GetItem("Name"));
    return names;
}

inline ObjectPtr AddObject(CObjectDataList* parent, int typeCode, const std::string& name,
                           const std::string& width = {}, const std::string& height = {},
                           const std::string& weight = {})
{
    auto object = std::make_shared<CObjectData>(parent);
    BuildObjectItems(*object, typeCode);
    object->SetItem("Name", name);
    object->SetItem("Width", width);
    object->SetItem("Height", height);
    object->SetItem("Weight", weight);
    if (parent)
        parent->AppendChild(object);
    return object;
}

inline GroupPtr AddGroup(CObjectDataList* parent, int layoutCode, const std::string& name, bool vertical,
                         const std::string& width = {}, const std::string& height = {}, const std::string& weight = {},
                         const std::string& align = {})
{
    auto group = std::make_shared<CObjectDataList>(parent);
    BuildGroupItems(*group, layoutCode);
    group->SetItem("Name", name);
    group->SetItem("Vertical", vertical ? "true" : "false");
    group->SetItem("Width", width);
    group->SetItem("Height", height);
    group->SetItem("Weight", weight);
    group->SetItem("Align", align);
    if (parent)
        parent->AppendChild(group);
    return group;
}

/// A dialog whose root group is made by the caller.
inline std::shared_ptr<CTekDialogData> MakeDialog(const std::string& name = "D")
{
    return std::make_shared<CTekDialogData>(name, nullptr);
}

/// Shapes of generated trees.
struct TreeShape {
    int maxDepth = 4;       ///< levels of groups below the root
    int maxChildren = 4;    ///< children per group, at most
    int groupPercent = 35;  ///< chance that a child is a group (while depth allows)
    int weightPercent = 25; ///< chance that a node has a 'Weight'
    int framePercent = 20;  ///< chance that a group is FRAME or RELATIVE
    int markPercent = 10;   ///< chance that a node is marked
};

/// Generates random trees over the length texts, layouts, alignments and weights that the
/// layout reads, repeatable from a seed.
class TreeGenerator {
public:
    TreeGenerator(unsigned seed, TreeShape shape) : m_random(seed), m_shape(shape) {}

    /// A dialog whose root group holds a random tree.
    std::shared_ptr<CTekDialogData> MakeRandomDialog()
    {
        auto dialog = MakeDialog();
        if (Chance(30)) {
            dialog->SetItem("TargetLayoutWidth", std::to_string(Pick(-10, 400)));
            dialog->SetItem("TargetLayoutHeight", std::to_string(Pick(1, 700)));
        }
        auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", Chance(50), Length(), Length());
        FillGroup(*root, 0);
        dialog->SetRoot(root);
        return dialog;
    }

private:
    bool Chance(int percent) { return Pick(0, 99) < percent; }
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    std::string Length()
    {
        static const char* const kFixed[] = {"", "", "PARENT", "PARENT", "CONTENT", "0", "-1", "-2", "auto"};
        static const char* const kSuffixes[] = {"", "px", "pu", "pt", "mm", "dp", "%", "PX"};
        if (Chance(50))
            return kFixed[Pick(0, 8)];
        return std::to_string(Pick(-20, 300)) + kSuffixes[Pick(0, 7)];
    }

    std::string Weight()
    {
        if (!Chance(m_shape.weightPercent))
            return {};
        return std::to_string(Pick(-1, 4));
    }

    std::string Align()
    {
        static const char* const kAligns[] = {"",        "LEFT",   "CENTER",        "RIGHT",        "TOP",
                                              "MIDDLE",  "BOTTOM", "CENTER|MIDDLE", "RIGHT|BOTTOM", "LEFT|BOTTOM",
                                              "|CENTER", "CENTER|"};
        return kAligns[Pick(0, 11)];
    }

    void FillGroup(CObjectDataList& group, int depth)
    {
        const int count = Pick(0, m_shape.maxChildren);
        for (int i = 0; i < count; ++i) {
            const std::string name = "n" + std::to_string(m_counter++);
            if (depth < m_shape.maxDepth && Chance(m_shape.groupPercent)) {
                const int layout = Chance(m_shape.framePercent) ? (Chance(50) ? LAYOUT_FRAME : LAYOUT_RELATIVE)
                                                                : Pick(LAYOUT_LINEAR, LAYOUT_TABLEROW);
                auto child = AddGroup(&group, layout, name, Chance(50), Length(), Length(), Weight(), Align());
                FillGroup(*child, depth + 1);
                if (Chance(m_shape.markPercent))
                    child->SetMark(1);
            } else {
                auto child = AddObject(&group, Pick(0, OBJ_TYPE_COUNT - 1), name, Length(), Length(), Weight());
                child->SetItem("Text", Chance(50) ? "T" + name : "");
                if (Chance(m_shape.markPercent))
                    child->SetMark(1);
            }
        }
    }

    std::mt19937 m_random;
    TreeShape m_shape;
    int m_counter = 0;
};

/// A dialog of groups nested depth deep, each holding two objects beside the next group, all
/// sized by their content (the case that measures the same subtrees most often).
inline std::shared_ptr<CTekDialogData> MakeNestedDialog(int depth)
{
    auto dialog = MakeDialog("Nested");
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
    CObjectDataList* group = root.get();
    for (int level = 0; level < depth; ++level) {
        AddObject(group, OBJ_BUTTON, "a" + std::to_string(level));
        auto inner = AddGroup(group, LAYOUT_LINEAR, "g" + std::to_string(level), level % 2 == 0, "CONTENT", "CONTENT",
                              level % 3 == 0 ? "1" : "", level % 2 ? "CENTER" : "MIDDLE");
        AddObject(group, OBJ_TEXT, "b" + std::to_string(level), "20", "", "1");
        group = inner.get();
    }
    AddObject(group, OBJ_EDIT, "leaf");
    dialog->SetRoot(root);
    return dialog;
}

/// A dialog of count objects in rows of ten: a vertical root of horizontal groups.
inline std::shared_ptr<CTekDialogData> MakeWideDialog(int count)
{
    auto dialog = MakeDialog("Wide");
    auto root = AddGroup(nullptr, LAYOUT_LINEAR, "root", true, "PARENT", "PARENT");
    CObjectDataList* row = nullptr;
    for (int i = 0; i < count; ++i) {
        if (i % 10 == 0)
            row = AddGroup(root.get(), LAYOUT_TABLEROW, "row" + std::to_string(i / 10), false, "PARENT", "").get();
        auto object =
            AddObject(row, i % OBJ_TYPE_COUNT, "o" + std::to_string(i), i % 3 ? "" : "10", "", i % 4 ? "1" : "");
        object->SetItem("Text", "T" + std::to_string(i));
    }
    dialog->SetRoot(root);
    return dialog;
}

} // namespace vesk::test
