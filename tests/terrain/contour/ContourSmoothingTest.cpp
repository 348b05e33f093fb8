#include "contour/ContourSmoothing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "ContourOracle.h"
#include "TestTins.h"
#include "contour/PlanEquality.h"

namespace tz::terrain {
namespace {

TEST(HermitePieceCount, FollowsThePlanLength) {
    EXPECT_EQ(hermitePieceCount(10), 10);
    EXPECT_EQ(hermitePieceCount(60), 15);
    EXPECT_EQ(hermitePieceCount(1.5), 5);
    EXPECT_EQ(hermitePieceCount(0.4), 5);
    EXPECT_EQ(hermitePieceCount(1200), 12);
    // The band edges.
    EXPECT_EQ(hermitePieceCount(2), 2);
    EXPECT_EQ(hermitePieceCount(24.9), 24);
    EXPECT_EQ(hermitePieceCount(25), 12);
    EXPECT_EQ(hermitePieceCount(49.9), 24);
    EXPECT_EQ(hermitePieceCount(50), 12);
    EXPECT_EQ(hermitePieceCount(499), 124);
    EXPECT_EQ(hermitePieceCount(500), 6);
    EXPECT_EQ(hermitePieceCount(999), 12);
    EXPECT_EQ(hermitePieceCount(1000), 10);
    EXPECT_EQ(hermitePieceCount(0), 5);
}

TEST(HermitePieceCount, AbsurdLengthsStayBounded) {
    EXPECT_EQ(hermitePieceCount(1e30), kMaxPiecePoints);
    EXPECT_EQ(hermitePieceCount(std::numeric_limits<double>::infinity()), 5);
    EXPECT_EQ(hermitePieceCount(std::nan("")), 5);
}

TEST(HermitePieceCount, AtMostIsTheMostOfEveryShorterLength) {
    // Lengths every 0.005 to 3000: the bound is the running maximum of the
    // count, band edges included, and stays the plain count beyond.
    int most = 0;
    for (int i = 0; i <= 600000; ++i) {
        const double length = i * 0.005;
        most = std::max(most, hermitePieceCount(length));
        ASSERT_EQ(hermitePieceCountAtMost(length), most) << length;
    }
    EXPECT_EQ(hermitePieceCountAtMost(1e5), 1000);
    EXPECT_EQ(hermitePieceCountAtMost(1e30), kMaxPiecePoints);
    EXPECT_EQ(hermitePieceCountAtMost(std::nan("")), 5);
}

TEST(SmoothContour, EachPieceEmitsItsStartAndNPoints) {
    // Pieces of plan length 10, 60, 1.5, 0.4 and 1200.
    const std::vector<Point3> chain{{0, 0, 7}, {10, 0, 7}, {10, 60, 7}, {11.5, 60, 7}, {11.5, 60.4, 7}, {1211.5, 60.4, 7}};
    const auto curve = smoothContour(chain);
    const std::size_t expected = (10 + 1) + (15 + 1) + (5 + 1) + (5 + 1) + (12 + 1);
    ASSERT_EQ(curve.size(), expected);
    // Every piece starts exactly on its vertex; all points keep the elevation.
    std::size_t at = 0;
    for (std::size_t k = 0; k + 1 < chain.size(); ++k) {
        EXPECT_TRUE(samePoint(curve[at], chain[k])) << k;
        const int n = hermitePieceCount(std::hypot(chain[k + 1].x - chain[k].x, chain[k + 1].y - chain[k].y));
        // The piece's last parameter is 1 up to the rounding of repeated addition.
        EXPECT_NEAR(curve[at + n].x, chain[k + 1].x, 1e-9);
        EXPECT_NEAR(curve[at + n].y, chain[k + 1].y, 1e-9);
        at += static_cast<std::size_t>(n) + 1;
    }
    for (const Point3& p : curve) EXPECT_EQ(p.z, 7);
}

TEST(SmoothContour, SingleSegmentStaysOnItsLine) {
    // Both guide points lie on the segment's line, so both tangents do too.
    const auto curve = smoothContour({{1, 1, 3}, {31, 41, 3}});
    ASSERT_EQ(curve.size(), 13u);  // length 50: L/4 gives 12 points after the start
    for (const Point3& p : curve) EXPECT_NEAR((p.x - 1) * 40 - (p.y - 1) * 30, 0, 1e-9);
}

TEST(SmoothContour, ElevationOfEachPieceIsThatOfItsStart) {
    const auto curve = smoothContour({{0, 0, 1}, {3, 0, 2}, {3, 3, 3}});
    ASSERT_EQ(curve.size(), 8u);  // two pieces of length 3: N = 3 each
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(curve[i].z, 1);
    for (std::size_t i = 4; i < 8; ++i) EXPECT_EQ(curve[i].z, 2);
}

TEST(SmoothContour, MatchesTheLiteralPiecesBitForBit) {
    // Chains of one, two and many segments over all three length bands.
    std::mt19937_64 random(31);
    std::uniform_real_distribution<double> step(-9, 9);
    std::uniform_int_distribution<int> count(2, 12);
    for (int round = 0; round < 300; ++round) {
        std::vector<Point3> chain{{512000 + step(random), 4100000 + step(random), 12.5}};
        const int n = round < 20 ? 2 : round < 40 ? 3 : count(random);
        const double scale = round % 3 == 0 ? 0.2 : round % 3 == 1 ? 0.5 : 1.5;
        for (int k = 1; k < n; ++k)
            chain.push_back({chain.back().x + scale * step(random), chain.back().y + scale * step(random), 12.5});
        EXPECT_TRUE(testing::identicalPoints(smoothContour(chain), oracle::smooth(chain))) << round;
    }
}

TEST(SmoothContour, DegenerateChainsAreSafe) {
    EXPECT_TRUE(smoothContour({}).empty());
    EXPECT_EQ(smoothContour({{1, 2, 3}}).size(), 1u);
    // Repeated vertices: no direction, but finite points.
    for (const Point3& p : smoothContour({{1, 1, 0}, {1, 1, 0}, {1, 1, 0}})) EXPECT_TRUE(isFinitePoint(p));
    // A curve that would overflow is left straight.
    const std::vector<Point3> huge{{-1e308, 0, 0}, {1e308, 0, 0}};
    EXPECT_TRUE(testing::identicalPoints(smoothContour(huge), huge));
}

}  // namespace
}  // namespace tz::terrain
