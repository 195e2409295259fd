// The descriptions the property grid shows for hovered items: every item of every item set, as
// the editor has always described it (the table in data/itemdescriptions.tsv lists each set's
// items with their description, '-' for none).
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "chrome/uitext.h"
#include "editor/itemdescriptions.h"
#include "model/tekclass.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "objects/resourcedata.h"

namespace vesk {
namespace {

int CodeOf(const std::string& name, const char* const* names, int count)
{
    for (int i = 0; i < count; ++i)
        if (name == names[i])
            return i;
    return -1;
}

/// A node of the set a table row names: "object:TYPE:LAYOUT", "group:LAYOUT", "header",
/// "command:NAME", "dialog" or "resource".
std::shared_ptr<TekClass> NodeOfSet(const std::string& set)
{
    std::istringstream parts(set);
    std::string kind;
    std::string first;
    std::getline(parts, kind, ':');
    std::getline(parts, first, ':');
    if (kind == "object") {
        auto object = std::make_shared<CObjectData>(nullptr);
        BuildObjectItems(*object, CodeOf(first, kObjectTypeNames, OBJ_TYPE_COUNT));
        return object;
    }
    if (kind == "group") {
        auto group = std::make_shared<CObjectDataList>(nullptr);
        BuildGroupItems(*group, CodeOf(first, kLayoutNames, LAYOUT_COUNT));
        return group;
    }
    if (kind == "header") {
        auto column = std::make_shared<TekClass>(NodeType::HeaderColumn);
        BuildHeaderItems(*column);
        return column;
    }
    if (kind == "command") {
        auto command = std::make_shared<TekClass>(NodeType::Command);
        BuildCommandItems(*command, first, "OnClick");
        return command;
    }
    if (kind == "dialog")
        return std::make_shared<CTekDialogData>("Main", nullptr);
    return std::make_shared<CTekResourceData>();
}

TEST(ItemDescriptions, EveryItemOfEverySetIsDescribedAsBefore)
{
    std::ifstream table(std::string(VESK_TEST_DATA_DIR) + "/itemdescriptions.tsv");
    ASSERT_TRUE(table) << "the description table is missing";
    std::map<std::string, std::shared_ptr<TekClass>> nodes;
    std::string line;
    int rows = 0;
    int described = 0;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string set, item, expected;
        std::getline(fields, set, '\t');
        std::getline(fields, item, '\t');
        std::getline(fields, expected, '\t');
        auto& node = nodes[set];
        if (!node)
            node = NodeOfSet(set);
        const QString description = ItemDescription(*node, item);
        EXPECT_EQ(description, expected == "-" ? QString() : Utf8(expected.c_str())) << set << ' ' << item;
        ++rows;
        described += expected == "-" ? 0 : 1;
    }
    EXPECT_GT(rows, 2000);
    EXPECT_GT(described, 2000);
}

TEST(ItemDescriptions, ItemsNoSetHoldsHaveNone)
{
    CTekResourceData resource;
    EXPECT_TRUE(ItemDescription(resource, "DeviceWidth").isEmpty());
    auto text = std::make_shared<CObjectData>(nullptr);
    BuildObjectItems(*text, OBJ_TEXT);
    EXPECT_TRUE(ItemDescription(*text, "Unknown").isEmpty());
    // FileBase means something else in each type that has it; a TEXT has none.
    EXPECT_TRUE(ItemDescription(*text, "FileBase").isEmpty());
}

} // namespace
} // namespace vesk
