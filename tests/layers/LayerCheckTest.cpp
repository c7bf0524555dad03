// LayerCheckTest.cpp: every include and library link of the tree keeps to the
// layer order, and the checker finds what climbs in a small planted tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LayerCheck.h"
#include "support/TempTree.h"

namespace {

std::vector<std::string> Described(const std::vector<layers::Violation>& found)
{
    std::vector<std::string> lines;
    for (const layers::Violation& v : found)
        lines.push_back(layers::Describe(v));
    return lines;
}

TEST(LayerOrder, TheTreeIncludesAndLinksOnlyDownward)
{
    const std::filesystem::path root = TESSARN_SOURCE_DIR;
    const std::vector<std::string> order = layers::ReadLayerOrder(root / "CMakeLists.txt");
    ASSERT_GE(order.size(), 3u) << "no TESSARN_FOLDERS list in the top-level CMakeLists.txt";
    EXPECT_EQ(order.front(), "platform");
    for (const std::string& line : Described(layers::FindClimbing(root, order)))
        ADD_FAILURE() << line;
}

class PlantedTree : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(tree.root.empty());
        tree.File("CMakeLists.txt", "project(x)\nset(TESSARN_FOLDERS platform core\n    world)\n");
    }
    std::vector<std::string> Check()
    {
        const std::vector<std::string> order = layers::ReadLayerOrder(tree.root + "/CMakeLists.txt");
        EXPECT_EQ(order, (std::vector<std::string>{"platform", "core", "world"}));
        return Described(layers::FindClimbing(tree.root, order));
    }
    TempTree tree;
};

TEST_F(PlantedTree, DownwardAndSideIncludesPass)
{
    tree.File("world/Map.h", "#include \"core/Units.h\"\n#include \"world/Tile.h\"\n");
    tree.File("core/Units.cpp", "#include <vector>\n#include \"support/Bytes.h\"\n"
                                "// #include \"world/Map.h\" in a remark\n");
    tree.File("core/CMakeLists.txt", "tessarn_library(core LINKS tessarn_platform)\n");
    tree.File("tools/build/main.cpp", "#include \"world/Map.h\"\n");
    EXPECT_TRUE(Check().empty());
}

TEST_F(PlantedTree, EachClimbNamesItsFileAndLine)
{
    tree.File("core/Units.cpp", "#include \"core/Units.h\"\n\n  #  include \"world/Map.h\"\n"
                                "#include <world/Tile.h>\n#include \"../world/Sea.h\"\n"
                                "#include \"tools/build/Table.h\"\n");
    tree.File("tools/build/Table.h");
    tree.File("platform/sub/Path.hpp", "#include \"core/Units.h\"\n");
    tree.File("tests/core/UnitsTest.cpp", "#include \"support/Pen.h\"\n#include \"world/Map.h\"\n");
    tree.File("tests/core/MoreTest.cpp", "#include \"support/Pen.h\"\n");
    tree.File("tests/support/Pen.h", "#include \"core/Units.h\"\n#include \"world/Map.h\"\n");
    tree.File("core/CMakeLists.txt", "target_link_libraries(tessarn_core PUBLIC\n  tessarn_world tessarn_platform)\n");
    const std::vector<std::string> expected = {
        "platform/sub/Path.hpp:1: platform names core, which does not lie below it",
        "core/Units.cpp:3: core names world, which does not lie below it",
        "core/Units.cpp:4: core names world, which does not lie below it",
        "core/Units.cpp:5: core names world, which does not lie below it",
        "core/Units.cpp:6: core names tools, which does not lie below it",
        "tests/support/Pen.h:2: core names world, which does not lie below it",   // once
        "tests/core/UnitsTest.cpp:2: core names world, which does not lie below it",
        "core/CMakeLists.txt:2: core names world, which does not lie below it",
    };
    EXPECT_EQ(Check(), expected);
}

TEST(LayerOrder, AMissingListReadsAsNoOrder)
{
    TempTree tree;
    tree.File("CMakeLists.txt", "project(x)\n");
    EXPECT_TRUE(layers::ReadLayerOrder(tree.root + "/CMakeLists.txt").empty());
    EXPECT_TRUE(layers::ReadLayerOrder(tree.root + "/absent.txt").empty());
}

} // namespace
