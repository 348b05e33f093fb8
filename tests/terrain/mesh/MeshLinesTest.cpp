#include "mesh/MeshLines.h"

#include <gtest/gtest.h>

namespace tz::terrain::mesh {
namespace {

GridPair pair(double ax, double ay, double az, double bx, double by, double bz) {
    return {{ax, ay, az}, {bx, by, bz}};
}

std::vector<double> zs(const MeshPiece& piece) {
    std::vector<double> out;
    for (const MeshVertex& v : piece.vertices) out.push_back(v.point.z);
    return out;
}

TEST(MeshLines, AnEmptyLineDrawsNothing) {
    EXPECT_TRUE(gridLinePieces({}, std::nullopt).empty());
}

TEST(MeshLines, ConnectedPairsMakeOnePolyline) {
    const std::vector<GridPair> pairs{pair(0, 0, 0, 0, 5, 5), pair(0, 5, 5, 0, 10, 10)};
    const auto pieces = gridLinePieces(pairs, std::nullopt);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].start.y, 0);
    EXPECT_EQ(zs(pieces[0]), (std::vector<double>{0, 5, 10}));
    for (const MeshVertex& v : pieces[0].vertices) EXPECT_FALSE(v.skirt);
}

TEST(MeshLines, AGapBreaksTheLineIntoPieces) {
    const std::vector<GridPair> pairs{pair(0, 0, 1, 0, 1, 2), pair(0, 1, 2, 0, 2, 3), pair(0, 5, 4, 0, 6, 5),
                                      pair(0, 8, 6, 0, 9, 7)};
    const auto pieces = gridLinePieces(pairs, std::nullopt);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(zs(pieces[0]), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(pieces[1].start.y, 5);
    EXPECT_EQ(zs(pieces[1]), (std::vector<double>{4, 5}));
    EXPECT_EQ(pieces[2].start.y, 8);
    EXPECT_EQ(zs(pieces[2]), (std::vector<double>{6, 7}));
}

TEST(MeshLines, OnlyPlanPositionDecidesABreak) {
    // Same plan point, different elevations: still joined.
    const std::vector<GridPair> pairs{pair(0, 0, 1, 0, 1, 2), pair(0, 1, 9, 0, 2, 3)};
    EXPECT_EQ(gridLinePieces(pairs, std::nullopt).size(), 1u);
}

TEST(MeshLines, TheSkirtHangsBothEndsFromTheBase) {
    const std::vector<GridPair> pairs{pair(0, 0, 1, 0, 1, 2), pair(0, 5, 4, 0, 6, 5)};
    const SkirtFeet feet = skirtFeet(pairs, -3);
    EXPECT_EQ(feet.first.y, 0); EXPECT_EQ(feet.first.z, -3);
    EXPECT_EQ(feet.last.y, 6); EXPECT_EQ(feet.last.z, -3);
    const auto pieces = gridLinePieces(pairs, feet);
    ASSERT_EQ(pieces.size(), 2u);
    // The header stays at the first grid point; the foot is the first vertex.
    EXPECT_EQ(pieces[0].start.z, 1);
    EXPECT_EQ(zs(pieces[0]), (std::vector<double>{-3, 1, 2}));
    EXPECT_TRUE(pieces[0].vertices.front().skirt);
    EXPECT_EQ(zs(pieces[1]), (std::vector<double>{4, 5, -3}));
    EXPECT_TRUE(pieces[1].vertices.back().skirt);
}

TEST(MeshLines, TheBaseLineJoinsTheFeetUnderEachColumnsFirstPoint) {
    EXPECT_FALSE(skirtBaseLine({}).has_value());
    const std::vector<Point3> columnFeet{{0, 0, -1}, {0, 10, -1}, {5, 2, -1}, {5, 8, -1}, {10, 4, -1}, {10, 6, -1}};
    const auto base = skirtBaseLine(columnFeet);
    ASSERT_TRUE(base.has_value());
    EXPECT_EQ(base->start.x, 0);
    ASSERT_EQ(base->vertices.size(), 3u);
    EXPECT_EQ(base->vertices[1].point.x, 5);
    EXPECT_EQ(base->vertices[1].point.y, 2);
    EXPECT_EQ(base->vertices[2].point.y, 4);
    for (const MeshVertex& v : base->vertices) EXPECT_FALSE(v.skirt);
}

}  // namespace
}  // namespace tz::terrain::mesh
