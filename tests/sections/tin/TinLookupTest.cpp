#include "tin/TinLookup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <sstream>

#include "TestTerrain.h"

namespace {

using namespace tz::sections;

TinTable table(const std::string& text) {
    std::istringstream in(text);
    return loadTinTable(in).table;
}

// Every triangle tested in turn, as the lookup is described.
std::vector<TinHit> literalHits(const TinTable& tin, double x, double y) {
    std::vector<TinHit> hits;
    for (std::size_t i = 0; i < tin.triangles.size(); ++i)
        if (containsByRay(tin.triangles[i], x, y, tin.rayEndX))
            hits.push_back({i, planeElevation(tin.triangles[i], x, y)});
    return hits;
}

void expectSameHits(const std::vector<TinHit>& a, const std::vector<TinHit>& b, double x, double y) {
    ASSERT_EQ(a.size(), b.size()) << x << "," << y;
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].triangle, b[i].triangle);
        EXPECT_EQ(std::memcmp(&a[i].elevation, &b[i].elevation, sizeof(double)), 0);
    }
}

// The lookup over every triangle and the one made for just these points
// both answer at each point as testing every triangle does.
void expectBothLookupsAgree(const TinTable& tin, const std::vector<Point3>& points) {
    const TinLookup whole(tin);
    const TinLookup chosen = TinLookup::forPoints(tin, points);
    for (const Point3& p : points) {
        const std::vector<TinHit> literal = literalHits(tin, p.x, p.y);
        expectSameHits(whole.hits(p.x, p.y), literal, p.x, p.y);
        expectSameHits(chosen.hits(p.x, p.y), literal, p.x, p.y);
    }
}

TEST(TinLookup, OverlappingTrianglesGiveOneHitEachInFileOrder) {
    const TinTable tin = table("0 0 10 10 0 10 0 10 10\n0 0 50 10 0 50 10 10 50\n-4 -4 1 -2 -4 1 -4 -2 1\n");
    const TinLookup lookup(tin);
    const auto hits = lookup.hits(6, 2);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].triangle, 0u);
    EXPECT_EQ(hits[0].elevation, 10);
    EXPECT_EQ(hits[1].triangle, 1u);
    EXPECT_EQ(hits[1].elevation, 50);
    EXPECT_EQ(lookup.lastElevation(6, 2), 50);
}

TEST(TinLookup, APointOutsideTheTinHasNoHit) {
    const TinTable tin = table("0 0 10 10 0 10 0 10 10\n");
    const TinLookup lookup(tin);
    EXPECT_TRUE(lookup.hits(20, 5).empty());
    EXPECT_TRUE(lookup.hits(-3, 5).empty());
    EXPECT_FALSE(lookup.lastElevation(9, 9).has_value());
    const TinTable empty = table("");
    EXPECT_TRUE(TinLookup(empty).hits(0, 0).empty());
}

TEST(TinLookup, ANegativeTinIsFoundWithItsRaysEndingAtZero) {
    const TinTable tin = table("-10 -10 5 -1 -10 6 -10 -1 7\n");
    EXPECT_EQ(tin.rayEndX, 0);
    const TinLookup lookup(tin);
    ASSERT_EQ(lookup.hits(-8, -8).size(), 1u);
    EXPECT_TRUE(lookup.hits(2, -8).empty());

    // Rays from right of zero run back to it and end on an edge at x = 0:
    // that one edge met makes the triangle count, far from its box.
    const TinTable touching = table("0 0 3 0 10 3 -5 5 3\n-9 -9 1 -1 -9 1 -9 -1 1\n");
    ASSERT_EQ(touching.rayEndX, 0);
    const std::vector<Point3> right = {{3, 2, 0}, {40, 7.5, 0}, {0.5, 5, 0}};
    for (const Point3& p : right) EXPECT_EQ(literalHits(touching, p.x, p.y).size(), 1u) << p.x;
    expectBothLookupsAgree(touching, right);
}

TEST(TinLookup, AgreesWithTestingEveryTriangleOnGridsAndRandomPoints) {
    std::mt19937 random(21);
    for (double jitter : {0.0, 0.3}) {
        for (double origin : {0.0, 4.0e6}) {
            auto triangles = tz::test::gridTin(25, 20, 3.0, jitter, random, origin, origin);
            // A few overlapping and degenerate triangles among them.
            triangles.push_back({{origin + 5, origin + 5, 1}, {origin + 30, origin + 8, 2}, {origin + 9, origin + 40, 3}});
            triangles.push_back({{origin, origin, 0}, {origin + 9, origin + 9, 1}, {origin + 18, origin + 18, 2}});
            const TinTable tin = table(tz::test::tinText(triangles));
            std::uniform_real_distribution<double> u(origin - 10, origin + 85);
            std::uniform_int_distribution<int> grid(-2, 30);
            for (std::size_t count : {1, 30, 3000}) {
                std::vector<Point3> points;
                for (std::size_t i = 0; i < count; ++i) {
                    double x = u(random), y = u(random);
                    if (i % 3 == 0) {  // on grid points and grid lines: rays through vertices and along edges
                        x = origin + grid(random) * 3.0;
                        y = origin + grid(random) * 1.5;
                    }
                    points.push_back({x, y, 0});
                }
                expectBothLookupsAgree(tin, points);
            }
        }
    }
}

TEST(TinLookup, AgreesForRaysGrazingVertices) {
    // Rays a hair above or below a vertex, where the intersection's
    // tolerance can make one edge at the vertex count and not the other.
    std::mt19937 random(31);
    for (double origin : {0.0, 5.0e5}) {
        const auto triangles = tz::test::gridTin(20, 20, 2.5, 0.3, random, origin, origin);
        const TinTable tin = table(tz::test::tinText(triangles));
        std::uniform_int_distribution<std::size_t> pick(0, tin.triangles.size() - 1);
        std::uniform_real_distribution<double> left(0.1, 30);
        // Points on the vertices go in sets of their own: the triangles
        // around a vertex they bring in would hide a grazing ray's.
        for (int round = 0; round < 40; ++round) {
            std::vector<Point3> grazing, onVertices;
            for (int i = 0; i < 10; ++i) {
                const Point3& v = tin.triangles[pick(random)].p2;
                for (double nudge : {0.0, 1e-13, -1e-13, 1e-11, -1e-11, 1e-9, -1e-9})
                    grazing.push_back({v.x - left(random), v.y + nudge * std::max(1.0, origin), 0});
                onVertices.push_back({v.x, v.y, 0});
            }
            expectBothLookupsAgree(tin, grazing);
            expectBothLookupsAgree(tin, onVertices);
        }
    }
}

// Made for a few points, the lookup indexes a few triangles; points far out
// of proportion to the TIN leave every triangle in, and answer the same.
TEST(TinLookup, ForPointsIndexesOnlyWhatThePointsMayHit) {
    std::mt19937 random(5);
    const TinTable tin = table(tz::test::tinText(tz::test::gridTin(40, 40, 3.0, 0.3, random, 5.0e5, 4.0e6)));
    const std::vector<Point3> points = {{5.0e5 + 10.2, 4.0e6 + 20.7, 0}, {5.0e5 + 60.1, 4.0e6 + 90.4, 0}};
    const TinLookup chosen = TinLookup::forPoints(tin, points);
    EXPECT_GT(chosen.indexedTriangles(), 0u);
    EXPECT_LT(chosen.indexedTriangles(), 100u);
    EXPECT_EQ(TinLookup(tin).indexedTriangles(), tin.count());
    expectBothLookupsAgree(tin, points);

    for (const std::vector<Point3>& far : {std::vector<Point3>{{1e300, 4.0e6 + 20, 0}, {5.0e5 + 10, 4.0e6 + 20, 0}},
                                           std::vector<Point3>{{NAN, 0, 0}, {5.0e5 + 10, 4.0e6 + 20, 0}}}) {
        const TinLookup all = TinLookup::forPoints(tin, far);
        EXPECT_EQ(all.indexedTriangles(), tin.count());
        EXPECT_EQ(all.lastElevation(far[1].x, far[1].y), TinLookup(tin).lastElevation(far[1].x, far[1].y));
    }
    EXPECT_EQ(TinLookup::forPoints(tin, {}).indexedTriangles(), 0u);
}

TEST(TinLookup, AgreesOnTheRealTerrainWindow) {
    const TinTable tin = table(tz::test::tinText(tz::test::jacksboroTin()));
    const TinLookup lookup(tin);
    std::mt19937 random(8);
    const auto& first = tin.triangles.front().p1;
    std::uniform_real_distribution<double> ux(first.x - 100, first.x + 2300), uy(first.y - 100, first.y + 2800);
    std::size_t found = 0;
    std::vector<Point3> points;
    for (int i = 0; i < 500; ++i) {
        const double x = ux(random), y = uy(random);
        const auto hits = lookup.hits(x, y);
        expectSameHits(hits, literalHits(tin, x, y), x, y);
        found += hits.size();
        points.push_back({x, y, 0});
    }
    EXPECT_GT(found, 300u);
    expectBothLookupsAgree(tin, points);
}

}  // namespace
