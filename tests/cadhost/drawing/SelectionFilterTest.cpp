#include "drawing/SelectionFilter.h"

#include <gtest/gtest.h>

#include "TestLists.h"
#include "adscodes.h"
#include "drawing/EntitySelection.h"

namespace tz::cad {
namespace {

using test::at;
using test::make;
using test::makeLine;
using test::type;

class SelectionFilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        make(drawing, {type(L"BLOCK"), stringGroup(2, L"TZNODE")});
        make(drawing, {type(L"POINT"), at(10, 0, 0)});
        make(drawing, {type(L"ENDBLK")});
        make(drawing, {type(L"BLOCK"), stringGroup(2, L"TREE")});
        make(drawing, {type(L"POINT"), at(10, 0, 0)});
        make(drawing, {type(L"ENDBLK")});
        line = makeLine(drawing, 0, 0, 1, 1, L"TZ_Tin");
        node = make(drawing, {type(L"INSERT"), stringGroup(2, L"TZNODE"), at(10, 5, 5)}).handle;
        tree = make(drawing, {type(L"INSERT"), stringGroup(8, L"Trees"), stringGroup(2, L"TREE"), at(10, 6, 6)}).handle;
        red = make(drawing, {type(L"POINT"), stringGroup(8, L"TZ_Tin"), intGroup(62, 1), at(10, 2, 2)}).handle;
    }

    std::vector<uint64_t> select(GroupList filter) { return filterSelection(drawing, selectAll(drawing), filter); }

    Drawing drawing;
    uint64_t line = 0, node = 0, tree = 0, red = 0;
};

TEST_F(SelectionFilterTest, ByTypeLayerAndBlockName) {
    EXPECT_EQ(select({stringGroup(2, L"TZNODE")}), std::vector<uint64_t>{node});
    EXPECT_EQ(select({stringGroup(2, L"tznode")}), std::vector<uint64_t>{node});
    EXPECT_EQ(select({stringGroup(8, L"tz_tin")}), (std::vector<uint64_t>{line, red}));
    EXPECT_EQ(select({stringGroup(0, L"insert")}), (std::vector<uint64_t>{node, tree}));
    EXPECT_EQ(select({stringGroup(RTDXF0, L"INSERT"), stringGroup(8, L"Trees")}), std::vector<uint64_t>{tree});
    EXPECT_EQ(select({stringGroup(0, L"LINE,POINT")}), (std::vector<uint64_t>{line, red}));
    EXPECT_EQ(select({stringGroup(8, L"TZ*")}), (std::vector<uint64_t>{line, red}));
    EXPECT_EQ(select({stringGroup(8, L"~TZ*")}), (std::vector<uint64_t>{node, tree}));
    EXPECT_TRUE(select({stringGroup(2, L"NOSUCH")}).empty());
    EXPECT_EQ(select({}).size(), 4u);
}

TEST_F(SelectionFilterTest, NumbersAndDefaults) {
    EXPECT_EQ(select({intGroup(62, 1)}), std::vector<uint64_t>{red});
    EXPECT_EQ(select({intGroup(62, 256)}).size(), 3u);  // no colour: BYLAYER
    EXPECT_EQ(select({at(10, 5, 5)}), std::vector<uint64_t>{node});
    EXPECT_EQ(select({intGroup(67, 0)}).size(), 4u);
}

TEST_F(SelectionFilterTest, ErasedAndSubEntitiesAndBlockContentsAreNeverSelected) {
    drawing.toggleErased(line);
    EXPECT_EQ(select({stringGroup(8, L"TZ_Tin")}), std::vector<uint64_t>{red});
    make(drawing, {type(L"POLYLINE"), intGroup(66, 1)});
    make(drawing, {type(L"VERTEX"), at(10, 0, 0)});
    make(drawing, {type(L"SEQEND")});
    EXPECT_EQ(select({stringGroup(0, L"POLYLINE")}).size(), 1u);
    EXPECT_TRUE(select({stringGroup(0, L"VERTEX,SEQEND")}).empty());
    EXPECT_EQ(select({stringGroup(0, L"POINT")}), std::vector<uint64_t>{red});  // not the blocks' points
}

TEST(SelectionFilter, OperatorsAndUnknownCodesAreRefused) {
    EXPECT_TRUE(checkFilter({stringGroup(8, L"A"), stringGroup(RTDXF0, L"LINE")}).empty());
    EXPECT_FALSE(checkFilter({stringGroup(-4, L"<OR")}).empty());
    EXPECT_FALSE(checkFilter({intGroup(81, 1)}).empty());
}

}  // namespace
}  // namespace tz::cad
