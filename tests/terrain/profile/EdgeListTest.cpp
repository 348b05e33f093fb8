#include "profile/EdgeList.h"

#include <gtest/gtest.h>

#include <random>

#include "profile/EdgeReading.h"

namespace {

using namespace tz::terrain::profile;
using tz::terrain::Triangle;

Edge edge(double x1, double y1, double z1, double x2, double y2, double z2) {
    return {{x1, y1, z1}, {x2, y2, z2}};
}

TEST(EdgeList, KeepsOneOfEqualEdgesInEitherDirection) {
    EdgeList list;
    EXPECT_TRUE(list.appendIfNew(edge(5, -1, 10, 5, 1, 20)));
    EXPECT_FALSE(list.appendIfNew(edge(5, 1, 20, 5, -1, 10)));
    EXPECT_FALSE(list.appendIfNew(edge(5, -1, 10, 5, 1, 20)));
    EXPECT_TRUE(list.appendIfNew(edge(5, -1, 10, 5, 1, 21)));  // one number differs
    EXPECT_TRUE(list.appendIfNew(edge(5, 1, 10, 5, -1, 20)));  // ends swapped but not their elevations
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.edges()[1].b.z, 21);
}

TEST(EdgeList, MinusZeroEqualsZeroAsNumbersCompare) {
    EdgeList list;
    list.append(edge(0, 0, 0, 1, 1, 1));
    EXPECT_TRUE(list.contains(edge(-0.0, 0, -0.0, 1, 1, 1)));
    EXPECT_TRUE(list.contains(edge(1, 1, 1, -0.0, -0.0, 0)));
}

TEST(EdgeList, TwoTrianglesSharingAnEdgeGiveFiveEdges) {
    EdgeList list;
    list.appendTriangleIfNew({{0, 0, 1}, {10, 0, 2}, {0, 10, 3}});
    list.appendTriangleIfNew({{10, 0, 2}, {10, 10, 4}, {0, 10, 3}});
    ASSERT_EQ(list.size(), 5u);
    // The second triangle's edges P1-P2 and P2-P3 are new; P3-P1 is the shared one.
    EXPECT_EQ(list.edges()[3].a.x, 10);
    EXPECT_EQ(list.edges()[3].b.y, 10);
    EXPECT_EQ(list.edges()[4].a.x, 10);
    EXPECT_EQ(list.edges()[4].a.y, 10);
}

TEST(EdgeList, ATrianglesOwnEdgesAreNotComparedWithEachOther) {
    // P3 = P1: the edges P1-P2 and P2-P3 are the same edge reversed. Both are
    // stored, as each is compared only with edges stored before the triangle.
    EdgeList list;
    list.appendTriangleIfNew({{0, 0, 1}, {4, 0, 2}, {0, 0, 1}});
    EXPECT_EQ(list.size(), 3u);
    list.appendTriangleIfNew({{4, 0, 2}, {0, 0, 1}, {9, 9, 9}});
    EXPECT_EQ(list.size(), 5u);  // its first edge was stored before
}

TEST(EdgeList, AgreesWithALinearSearchOnManyEdges) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(0, 6);
    std::uniform_int_distribution<int> coin(0, 1);
    EdgeList list;
    std::vector<Edge> linear;
    for (int i = 0; i < 8000; ++i) {
        Edge e = edge(coordinate(random), coordinate(random), coordinate(random) * 0.5, coordinate(random),
                      coordinate(random), coin(random));
        if (coin(random)) std::swap(e.a, e.b);
        bool found = false;
        for (const Edge& f : linear) found = found || sameEdge(e, f);
        if (!found) linear.push_back(e);
        EXPECT_EQ(list.appendIfNew(e), !found);
    }
    ASSERT_EQ(list.size(), linear.size());
    for (std::size_t i = 0; i < linear.size(); ++i) {
        EXPECT_TRUE(samePoint(list.edges()[i].a, linear[i].a));
        EXPECT_TRUE(samePoint(list.edges()[i].b, linear[i].b));
    }
}

}  // namespace
