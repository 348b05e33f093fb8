#include "contour/ElevationIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace tz::terrain {
namespace {

std::vector<std::uint32_t> scanAll(const std::vector<Triangle>& triangles, double e) {
    std::vector<std::uint32_t> found;
    for (std::uint32_t i = 0; i < triangles.size(); ++i) {
        const Triangle& t = triangles[i];
        if (std::min({t.p1.z, t.p2.z, t.p3.z}) <= e && e <= std::max({t.p1.z, t.p2.z, t.p3.z}))
            found.push_back(i);
    }
    return found;
}

TEST(ElevationIndex, MatchesAFullScanInFileOrder) {
    std::mt19937_64 random(5);
    std::uniform_int_distribution<int> level(0, 20);  // coarse, so ends and queries coincide
    std::uniform_real_distribution<double> fine(-1, 21);
    for (int round = 0; round < 30; ++round) {
        std::vector<Triangle> triangles(static_cast<std::size_t>(round * 13));
        for (Triangle& t : triangles) {
            t.p1.z = level(random) * 0.5;
            t.p2.z = round % 3 == 0 ? t.p1.z : level(random) * 0.5;  // flat ones too
            t.p3.z = level(random) * 0.5;
        }
        const ElevationIndex index(triangles);
        for (int q = -2; q <= 22; ++q) EXPECT_EQ(index.trianglesSpanning(q * 0.5), scanAll(triangles, q * 0.5));
        for (int q = 0; q < 20; ++q) {
            const double e = fine(random);
            EXPECT_EQ(index.trianglesSpanning(e), scanAll(triangles, e));
        }
    }
}

TEST(ElevationIndex, LeavesOutExcludedTriangles) {
    const std::vector<Triangle> triangles{{{0, 0, 0}, {0, 0, 1}, {0, 0, 2}}, {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}},
                                          {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}};
    const ElevationIndex index(triangles, {true, false, true});
    EXPECT_EQ(index.trianglesSpanning(1), (std::vector<std::uint32_t>{0, 2}));
    EXPECT_EQ(index.trianglesSpanning(2), (std::vector<std::uint32_t>{0}));
}

TEST(ElevationIndex, NestedAndIdenticalRanges) {
    std::vector<Triangle> triangles;
    for (int i = 0; i < 200; ++i) triangles.push_back({{0, 0, -i * 1.0}, {0, 0, 0}, {0, 0, i * 1.0}});
    for (int i = 0; i < 50; ++i) triangles.push_back({{0, 0, 3}, {0, 0, 3}, {0, 0, 4}});
    const ElevationIndex index(triangles);
    for (double e : {-250.0, -199.0, -3.5, 0.0, 3.0, 4.0, 4.5, 199.0, 200.0})
        EXPECT_EQ(index.trianglesSpanning(e), scanAll(triangles, e)) << e;
}

TEST(ElevationIndex, EmptyAndNotANumber) {
    EXPECT_TRUE(ElevationIndex({}).trianglesSpanning(0).empty());
    const ElevationIndex index(std::vector<Triangle>{{{0, 0, 0}, {0, 0, 1}, {0, 0, 2}}});
    EXPECT_TRUE(index.trianglesSpanning(std::nan("")).empty());
}

}  // namespace
}  // namespace tz::terrain
