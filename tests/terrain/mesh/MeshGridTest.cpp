#include "mesh/MeshGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "LiteralSurface.h"
#include "TestSurfaces.h"

namespace tz::terrain::mesh {
namespace {

using volume::prepareTriangle;

std::vector<PreparedTriangle> singleTriangle() {
    return {prepareTriangle(Triangle{{0, 0, 0}, {10, 0, 0}, {0, 10, 10}})};
}

// The described walk of one grid line: both points of every pair located
// by a scan of the triangles in file order.
std::vector<GridPair> literalColumn(const std::vector<PreparedTriangle>& tin, double x, double ymin, double ymax,
                                    double s, double f) {
    std::vector<GridPair> pairs;
    for (double y = ymin; y <= ymax; y += s) {
        const auto za = volume::literal::firstElevation(tin, x, y);
        const auto zb = volume::literal::firstElevation(tin, x, y + s);
        if (za && zb) pairs.push_back({{x, y, *za * f + 0.0}, {x, y + s, *zb * f + 0.0}});
    }
    return pairs;
}

std::vector<GridPair> literalRow(const std::vector<PreparedTriangle>& tin, double y, double xmin, double xmax,
                                 double s, double f) {
    std::vector<GridPair> pairs;
    for (double x = xmin; x <= xmax; x += s) {
        const auto za = volume::literal::firstElevation(tin, x, y);
        const auto zb = volume::literal::firstElevation(tin, x + s, y);
        if (za && zb) pairs.push_back({{x, y, *za * f + 0.0}, {x + s, y, *zb * f + 0.0}});
    }
    return pairs;
}

void expectSamePairs(const std::vector<GridPair>& fast, const std::vector<GridPair>& slow) {
    ASSERT_EQ(fast.size(), slow.size());
    for (size_t i = 0; i < fast.size(); ++i) {
        for (auto [p, q] : {std::pair{fast[i].a, slow[i].a}, std::pair{fast[i].b, slow[i].b}}) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(p.x), std::bit_cast<std::uint64_t>(q.x));
            ASSERT_EQ(std::bit_cast<std::uint64_t>(p.y), std::bit_cast<std::uint64_t>(q.y));
            ASSERT_EQ(std::bit_cast<std::uint64_t>(p.z), std::bit_cast<std::uint64_t>(q.z)) << i;
        }
    }
}

// Every column and row of the mesh against the literal walk.
void expectSameMesh(const std::vector<PreparedTriangle>& tin, double s, double f) {
    const TinExtent e = tinExtent(tin);
    const MeshSampler sampler(tin, f);
    for (double x = e.xmin; x <= e.xmax; x += s)
        expectSamePairs(columnPairs(sampler, x, e.ymin, e.ymax, s), literalColumn(tin, x, e.ymin, e.ymax, s, f));
    for (double y = e.ymin; y <= e.ymax; y += s)
        expectSamePairs(rowPairs(sampler, y, e.xmin, e.xmax, s), literalRow(tin, y, e.xmin, e.xmax, s, f));
}

TEST(MeshGrid, ExtentCoversEveryVertexWithTheLowestElevation) {
    const auto tin = volume::testing::gridSurface(3, 2, 5, -10, 4, [](double x, double y) { return x + y; });
    const TinExtent e = tinExtent(tin);
    EXPECT_FALSE(e.empty);
    EXPECT_EQ(e.xmin, -10); EXPECT_EQ(e.xmax, 5);
    EXPECT_EQ(e.ymin, 4); EXPECT_EQ(e.ymax, 14);
    EXPECT_EQ(e.zmin, -6);
    EXPECT_TRUE(tinExtent({}).empty);
}

TEST(MeshGrid, SingleTriangleColumnsFollowTheTerrain) {
    const auto tin = singleTriangle();
    const MeshSampler sampler(tin, 1.0);
    const auto column0 = columnPairs(sampler, 0, 0, 10, 5);
    ASSERT_EQ(column0.size(), 2u);
    EXPECT_EQ(column0[0].a.y, 0); EXPECT_EQ(column0[0].a.z, 0);
    EXPECT_EQ(column0[0].b.y, 5); EXPECT_EQ(column0[0].b.z, 5);
    EXPECT_EQ(column0[1].a.y, 5);
    EXPECT_EQ(column0[1].b.y, 10); EXPECT_EQ(column0[1].b.z, 10);
    // x = 5 reaches y = 5 only; x = 10 holds the single corner, no pair.
    EXPECT_EQ(columnPairs(sampler, 5, 0, 10, 5).size(), 1u);
    EXPECT_TRUE(columnPairs(sampler, 10, 0, 10, 5).empty());
    // Rows mirror the columns; the elevation grows with y only.
    const auto row5 = rowPairs(sampler, 5, 0, 10, 5);
    ASSERT_EQ(row5.size(), 1u);
    EXPECT_EQ(row5[0].a.z, 5);
    EXPECT_EQ(row5[0].b.z, 5);
}

TEST(MeshGrid, ZeroElevationsAreNeverNegativeZero) {
    const auto tin = singleTriangle();
    const auto row0 = rowPairs(MeshSampler(tin, 1.0), 0, 0, 10, 5);
    ASSERT_EQ(row0.size(), 2u);
    for (const GridPair& p : row0) {
        EXPECT_FALSE(std::signbit(p.a.z));
        EXPECT_FALSE(std::signbit(p.b.z));
    }
}

TEST(MeshGrid, ScaleFactorMultipliesEveryElevation) {
    const auto tin = singleTriangle();
    const auto doubled = columnPairs(MeshSampler(tin, 2.0), 0, 0, 10, 5);
    ASSERT_EQ(doubled.size(), 2u);
    EXPECT_EQ(doubled[0].b.z, 10);
    EXPECT_EQ(doubled[1].b.z, 20);
}

TEST(MeshGrid, ASharedEdgePointTakesTheFirstTriangleInFileOrder) {
    // Two level triangles share the vertical edge x = 5.
    const std::vector<PreparedTriangle> tin{prepareTriangle(Triangle{{0, 0, 1}, {5, 10, 1}, {5, 0, 1}}),
                                            prepareTriangle(Triangle{{5, 0, 2}, {5, 10, 2}, {10, 0, 2}})};
    const auto column = columnPairs(MeshSampler(tin, 1.0), 5, 0, 10, 5);
    ASSERT_EQ(column.size(), 2u);
    EXPECT_EQ(column[0].a.z, 1);
    EXPECT_EQ(column[1].b.z, 1);
    const std::vector<PreparedTriangle> reversed{tin[1], tin[0]};
    EXPECT_EQ(columnPairs(MeshSampler(reversed, 1.0), 5, 0, 10, 5)[0].a.z, 2);
}

TEST(MeshGrid, AColumnLeavingTheTinLosesThePairsOutside) {
    // Two squares with a gap between y = 4 and y = 6.
    auto tin = volume::testing::gridSurface(1, 2, 2, 0, 0, [](double, double) { return 1.0; });
    const auto upper = volume::testing::gridSurface(1, 2, 2, 0, 6, [](double, double) { return 1.0; });
    tin.insert(tin.end(), upper.begin(), upper.end());
    const auto column = columnPairs(MeshSampler(tin, 1.0), 1, 0, 10, 1);
    std::vector<double> starts;
    for (const GridPair& p : column) starts.push_back(p.a.y);
    EXPECT_EQ(starts, (std::vector<double>{0, 1, 2, 3, 6, 7, 8, 9}));
}

TEST(MeshGrid, MatchesTheLiteralWalkOnGridsAndJitteredTins) {
    auto z = [](double x, double y) { return 50 + std::sin(0.4 * x) * 3 + 0.05 * y; };
    for (double s : {1.0, 0.5, 0.75, 2.5}) {
        expectSameMesh(volume::testing::gridSurface(8, 6, 1.5, 0, 0, z), s, 1.0);
        expectSameMesh(volume::testing::gridSurface(8, 6, 1.5, 5e5, 4e6, z), s, 2.0);
    }
    for (unsigned seed = 1; seed <= 5; ++seed) {
        std::mt19937 random(seed);
        expectSameMesh(volume::testing::jitteredSurface(10, 9, 1.0, 3, -2, z, 0.25, random), 0.5, 1.5);
        expectSameMesh(volume::testing::randomTriangles(200, 0, 0, 10, 0.5, random), 0.25, 1.0);
    }
}

}  // namespace
}  // namespace tz::terrain::mesh
