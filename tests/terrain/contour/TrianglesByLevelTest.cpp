#include "contour/TrianglesByLevel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace tz::terrain {
namespace {

std::vector<std::uint32_t> scanAll(const std::vector<Triangle>& triangles, const std::vector<bool>& include,
                                   double e) {
    std::vector<std::uint32_t> found;
    for (std::uint32_t i = 0; i < triangles.size(); ++i) {
        if (!include.empty() && !include[i]) continue;
        const Triangle& t = triangles[i];
        if (std::min({t.p1.z, t.p2.z, t.p3.z}) <= e && e <= std::max({t.p1.z, t.p2.z, t.p3.z}))
            found.push_back(i);
    }
    return found;
}

void expectSameAsScans(const std::vector<Triangle>& triangles, const std::vector<bool>& include,
                       const std::vector<double>& levels) {
    const TrianglesByLevel run(triangles, include, levels);
    ASSERT_EQ(run.levelCount(), levels.size());
    for (std::size_t k = 0; k < levels.size(); ++k) {
        const auto reaching = run.reaching(k);
        EXPECT_EQ(std::vector<std::uint32_t>(reaching.begin(), reaching.end()), scanAll(triangles, include, levels[k]))
            << "level " << levels[k];
        EXPECT_EQ(run.level(k), levels[k]);
    }
}

std::vector<Triangle> coarseRanges(std::mt19937_64& random, std::size_t count, bool withFlat) {
    std::uniform_int_distribution<int> step(0, 20);  // coarse, so ends and levels coincide
    std::vector<Triangle> triangles(count);
    for (Triangle& t : triangles) {
        t.p1.z = step(random) * 0.5;
        t.p2.z = withFlat ? t.p1.z : step(random) * 0.5;
        t.p3.z = step(random) * 0.5;
    }
    return triangles;
}

TEST(TrianglesByLevel, MatchesAScanPerLevelOnEvenlySpacedLevels) {
    std::mt19937_64 random(5);
    for (int round = 0; round < 30; ++round) {
        const auto triangles = coarseRanges(random, static_cast<std::size_t>(round * 13), round % 3 == 0);
        std::vector<double> levels;
        for (int q = -2; q <= 22; ++q) levels.push_back(q * 0.5);  // on every vertex elevation
        expectSameAsScans(triangles, {}, levels);
        std::vector<double> between;  // by repeated addition, between and on the elevations
        for (double e = -0.3; e < 11; e += 0.35) between.push_back(e);
        expectSameAsScans(triangles, {}, between);
    }
}

TEST(TrianglesByLevel, MatchesAScanPerLevelOnUnevenLevels) {
    // Levels bunched together and far apart, repeated ones, a single one: the
    // guess from the spacing misses and the search must still be exact.
    std::mt19937_64 random(6);
    std::uniform_real_distribution<double> anywhere(-1, 11);
    for (int round = 0; round < 30; ++round) {
        const auto triangles = coarseRanges(random, 200, false);
        std::vector<double> levels{0.5, 0.5, 0.5000001, 1, 1, 9.5, 10, 10.0000000001};
        for (int k = 0; k < round; ++k) levels.push_back(anywhere(random));
        std::sort(levels.begin(), levels.end());
        expectSameAsScans(triangles, {}, levels);
        expectSameAsScans(triangles, {}, {anywhere(random)});
        expectSameAsScans(triangles, {}, {});
    }
}

TEST(TrianglesByLevel, LeavesOutExcludedTriangles) {
    const std::vector<Triangle> triangles{{{0, 0, 0}, {0, 0, 1}, {0, 0, 2}}, {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}},
                                          {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}};
    const TrianglesByLevel run(triangles, {true, false, true}, std::vector<double>{1, 2});
    EXPECT_EQ(std::vector<std::uint32_t>(run.reaching(0).begin(), run.reaching(0).end()),
              (std::vector<std::uint32_t>{0, 2}));
    EXPECT_EQ(std::vector<std::uint32_t>(run.reaching(1).begin(), run.reaching(1).end()),
              (std::vector<std::uint32_t>{0}));
}

TEST(TrianglesByLevel, TallNestedAndIdenticalRangesAndSignedZeros) {
    std::vector<Triangle> triangles;
    for (int i = 0; i < 200; ++i) triangles.push_back({{0, 0, -i * 1.0}, {0, 0, 0}, {0, 0, i * 1.0}});
    for (int i = 0; i < 50; ++i) triangles.push_back({{0, 0, 3}, {0, 0, 3}, {0, 0, 4}});
    triangles.push_back({{0, 0, -0.0}, {0, 0, -0.0}, {0, 0, 1}});
    triangles.push_back({{0, 0, -1}, {0, 0, -0.0}, {0, 0, -0.0}});
    expectSameAsScans(triangles, {}, {-250.0, -199.0, -3.5, -0.0, 0.0, 3.0, 4.0, 4.5, 199.0, 200.0});
    expectSameAsScans(triangles, {}, {0.0});
    expectSameAsScans(triangles, {}, {-0.0});
    std::vector<double> fine;
    for (double e = -210; e <= 210; e += 0.75) fine.push_back(e);
    expectSameAsScans(triangles, {}, fine);
}

TEST(TrianglesByLevel, HugeElevationsAndNoTriangles) {
    const std::vector<Triangle> triangles{{{0, 0, -1e308}, {0, 0, 1e308}, {0, 0, 0}}, {{0, 0, 1e300}, {0, 0, 1e301}, {0, 0, 1e302}}};
    expectSameAsScans(triangles, {}, {-1e308, -1.0, 0.0, 1e300, 1e301, 1e308});
    expectSameAsScans(triangles, {}, {-1e308, 1e308});
    expectSameAsScans({}, {}, {0.0, 1.0});
}

}  // namespace
}  // namespace tz::terrain
