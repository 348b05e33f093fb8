#include "contour/TinOutline.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <algorithm>
#include <random>

#include "ContourOracle.h"
#include "TestTins.h"

namespace tz::terrain {
namespace {

using testing::GridOptions;
using testing::gridTin;

bool sameBits(const Point3& a, const Point3& b) {
    return std::bit_cast<std::uint64_t>(a.x) == std::bit_cast<std::uint64_t>(b.x) &&
           std::bit_cast<std::uint64_t>(a.y) == std::bit_cast<std::uint64_t>(b.y) &&
           std::bit_cast<std::uint64_t>(a.z) == std::bit_cast<std::uint64_t>(b.z);
}

void expectSameEdges(const std::vector<OutlineEdge>& fast, const std::vector<OutlineEdge>& slow) {
    ASSERT_EQ(fast.size(), slow.size());
    for (std::size_t i = 0; i < fast.size(); ++i) {
        EXPECT_TRUE(sameBits(fast[i].start, slow[i].start)) << i;
        EXPECT_TRUE(sameBits(fast[i].end, slow[i].end)) << i;
    }
}

TEST(TinOutline, SameEdgesOrderAndDirectionAsTheToggleList) {
    for (int seed = 0; seed < 20; ++seed) {
        std::mt19937_64 random(seed);
        GridOptions o;
        o.columns = 3 + seed % 9;
        o.rows = 2 + seed % 7;
        o.jitter = 0.3;
        o.zStep = 1;
        o.holeShare = 0.2;
        o.shuffle = seed % 2 == 0;
        o.rotateVertices = true;
        o.duplicateShare = 0.15;  // twice removes an edge, three times brings it back
        const auto tin = gridTin(o, random);
        expectSameEdges(TinOutline(tin).edges(), oracle::outline(tin));
    }
}

TEST(TinOutline, FansRepeatsAndDegenerateTrianglesToggleLikeTheList) {
    // A vertex shared by many triangles, triangles listed up to three times,
    // triangles with two equal corners: every edge count and every last
    // direction must come out as the toggle list has them.
    std::mt19937_64 random(41);
    for (int round = 0; round < 12; ++round) {
        std::vector<Triangle> tin = testing::coneTin(20 + round * 7, 10, 5);
        std::uniform_int_distribution<std::size_t> pick(0, tin.size() - 1);
        for (int k = 0; k < 15; ++k) tin.push_back(tin[pick(random)]);
        for (int k = 0; k < 5; ++k) {
            Triangle t = tin[pick(random)];
            std::swap(t.p2, t.p3);  // the same edges, the other way round
            tin.push_back(t);
        }
        tin.push_back({tin[0].p1, tin[0].p1, tin[0].p2});
        std::shuffle(tin.begin(), tin.end(), random);
        expectSameEdges(TinOutline(tin).edges(), oracle::outline(tin));
    }
}

TEST(TinOutline, SignedZerosAreTheSameVertex) {
    // Exact comparison makes -0.0 and 0.0 one vertex, so the shared edge goes.
    const std::vector<Triangle> tin{{{0, 0, 0}, {0, 10, 0}, {-5, 5, 1}}, {{-0.0, 10, 0}, {-0.0, 0, -0.0}, {5, 5, 1}}};
    const TinOutline outline(tin);
    EXPECT_EQ(outline.edges().size(), 4u);
    expectSameEdges(outline.edges(), oracle::outline(tin));
}

TEST(TinOutline, ExcludedTrianglesTakeNoPart) {
    const std::vector<Triangle> tin{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}};
    EXPECT_EQ(TinOutline(tin).edges().size(), 4u);
    EXPECT_EQ(TinOutline(tin, {true, false}).edges().size(), 3u);
}

TEST(TinOutline, PassesThroughUsesTheWholeLineOfANonVerticalEdge) {
    const TinOutline outline(std::vector<Triangle>{{{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}});
    EXPECT_TRUE(outline.passesThrough({5, 0, 0}));
    EXPECT_TRUE(outline.passesThrough({500, 0.0009, 0}));   // far beyond the edge, on its line
    EXPECT_FALSE(outline.passesThrough({500, 0.0011, 0}));
    EXPECT_TRUE(outline.passesThrough({-90, 100, 0}));      // on the line of the hypotenuse
    // The vertical edge counts only strictly between its ends.
    EXPECT_TRUE(outline.passesThrough({0, 5, 0}));
    EXPECT_TRUE(outline.passesThrough({-0.0, 5, 0}));
    EXPECT_FALSE(outline.passesThrough({0, 10.5, 0}));
    EXPECT_FALSE(outline.passesThrough({1e-12, 5, 0}));
    EXPECT_FALSE(outline.passesThrough({3, 3, 0}));
}

TEST(TinOutline, PassesThroughMatchesTheLiteralTestEverywhere) {
    std::mt19937_64 random(77);
    for (int seed = 0; seed < 10; ++seed) {
        GridOptions o;
        o.columns = 6 + seed;
        o.rows = 5;
        o.spacing = seed % 2 ? 7.5 : 1;
        o.originX = seed % 3 == 0 ? 300000 : 0;
        o.jitter = seed % 4 == 0 ? 0 : 0.3;
        o.holeShare = 0.2;
        o.rotateVertices = true;
        const auto tin = gridTin(o, random);
        const TinOutline outline(tin);
        const auto edges = oracle::outline(tin);
        std::uniform_real_distribution<double> unit(0, 1);
        std::size_t on = 0, queries = 0;
        auto check = [&](const Point3& p) {
            const bool expected = oracle::onOutline(edges, p);
            EXPECT_EQ(outline.passesThrough(p), expected) << p.x << "," << p.y;
            on += expected;
            ++queries;
        };
        for (const OutlineEdge& g : edges) {
            for (double f : {0.0, 0.3, 0.5, 1.0, -3.0, 40.0}) {  // on the edge and on its line beyond
                const Point3 p{g.start.x + f * (g.end.x - g.start.x), g.start.y + f * (g.end.y - g.start.y), 0};
                check(p);
                check({p.x, p.y + 0.00099, 0});
                check({p.x, p.y - 0.0011, 0});
            }
        }
        const double width = o.columns * o.spacing, height = o.rows * o.spacing;
        for (int k = 0; k < 300; ++k)
            check({o.originX + (unit(random) * 1.4 - 0.2) * width, (unit(random) * 1.4 - 0.2) * height, 0});
        EXPECT_GT(on, queries / 4);
    }
}

TEST(TinOutline, InterceptIsTakenFromTheEdgeStart) {
    // Far from the origin the intercepts taken from the two ends of an edge
    // differ in their last bits, and a point right at the tolerance counts
    // for one and not the other: the edge's direction in the toggle list
    // decides, and the triangle's vertex order gives that direction.
    std::mt19937_64 random(91);
    std::uniform_real_distribution<double> spread(-60, 60);
    int decisive = 0;
    for (int round = 0; round < 20000 && decisive < 25; ++round) {
        const Point3 a{512000 + spread(random), 4100000 + spread(random), 0};
        const Point3 b{512000 + spread(random), 4100000 + spread(random), 0};
        if (a.x == b.x) continue;
        const double slope = (b.y - a.y) / (b.x - a.x);
        const double fromA = a.y - slope * a.x, fromB = b.y - slope * b.x;
        if (fromA == fromB) continue;
        // Third vertex well off the edge, so its lines stay far from the test point.
        const Point3 mid{(a.x + b.x) / 2, (a.y + b.y) / 2, 0};
        const Point3 c{mid.x - (b.y - a.y), mid.y + (b.x - a.x), 0};
        const double base = slope * mid.x + fromA + TinOutline::kLineTolerance;
        Point3 p{mid.x, base, 0};
        for (int k = 0; k < 8; ++k, p.y = std::nextafter(p.y, 0.0)) {
            const bool onFromA = std::fabs(p.y - (slope * p.x + fromA)) < TinOutline::kLineTolerance;
            const bool onFromB = std::fabs(p.y - (slope * p.x + fromB)) < TinOutline::kLineTolerance;
            if (onFromA == onFromB) continue;
            ++decisive;
            EXPECT_EQ(TinOutline(std::vector<Triangle>{{a, b, c}}).passesThrough(p), onFromA);
            EXPECT_EQ(TinOutline(std::vector<Triangle>{{b, a, c}}).passesThrough(p), onFromB);
            EXPECT_EQ(oracle::onOutline(oracle::outline({{a, b, c}}), p), onFromA);
            break;
        }
    }
    EXPECT_GE(decisive, 10);
}

TEST(TinOutline, DegenerateEdgesAreSafe) {
    // A triangle with all vertices on one point leaves edges of no length.
    const TinOutline outline(std::vector<Triangle>{{{1, 1, 0}, {1, 1, 0}, {1, 1, 0}}});
    EXPECT_FALSE(outline.passesThrough({1, 1, 0}));
    const TinOutline empty({});
    EXPECT_FALSE(empty.passesThrough({0, 0, 0}));
}

}  // namespace
}  // namespace tz::terrain
