#include "contour/PlanNeighbours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "contour/PlanEquality.h"

namespace tz::terrain {
namespace {

// Every point's neighbours must be exactly the points samePlan finds by brute force.
void expectExactNeighbours(const std::vector<Point3>& points) {
    const PlanNeighbours near(points);
    for (std::uint32_t i = 0; i < points.size(); ++i) {
        std::vector<std::uint32_t> visited, expected;
        near.forEachNear(i, [&](std::uint32_t j) { visited.push_back(j); });
        for (std::uint32_t j = 0; j < points.size(); ++j)
            if (samePlan(points[i], points[j])) expected.push_back(j);
        std::sort(visited.begin(), visited.end());
        ASSERT_EQ(visited, expected) << "point " << i << " at " << points[i].x << "," << points[i].y;
    }
}

TEST(PlanNeighbours, ExactOnRandomClustersAnywhere) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> offset(-2.2 * kPlanTolerance, 2.2 * kPlanTolerance);
    for (double base : {0.0, -3.7, 512345.678, 4123456.789, 1e9, -1e12}) {
        std::vector<Point3> points;
        for (int i = 0; i < 400; ++i) points.push_back({base + offset(random), base + offset(random), 0});
        for (int i = 0; i < 50; ++i) points.push_back(points[static_cast<std::size_t>(i) * 3]);  // exact repeats
        expectExactNeighbours(points);
    }
}

TEST(PlanNeighbours, PointsRightAtTheToleranceAndSignedZeros) {
    std::vector<Point3> points;
    for (double x : {0.0, -0.0, kPlanTolerance, -kPlanTolerance, std::nextafter(kPlanTolerance, 1.0),
                     2 * kPlanTolerance, 512345.678, 512345.678 + kPlanTolerance, 512345.67801,
                     std::nextafter(512345.678 + kPlanTolerance, 1e9)})
        for (double y : {0.0, -0.0, kPlanTolerance, std::nextafter(-kPlanTolerance, -1.0)}) points.push_back({x, y, 0});
    expectExactNeighbours(points);
}

TEST(PlanNeighbours, NotANumberAndInfinitiesMatchNothing) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<Point3> points{{nan, 0, 0},   {-nan, 0, 0}, {inf, 0, 0},  {-inf, 0, 0}, {inf, 0, 0},
                                     {0, nan, 0},   {0, inf, 0},  {0, 0, 0},    {1e300, -1e300, 0},
                                     {1e300, -1e300, 5}, {2, 2, 0}, {-nan, 2, 0}, {2.000001, 2, 0}};
    expectExactNeighbours(points);
}

TEST(PlanNeighbours, ContourLikePointsOnAGrid) {
    // Crossing points computed from either end of an edge differ in their
    // last bits; many points share x exactly.
    std::mt19937_64 random(9);
    std::uniform_int_distribution<int> cell(0, 30);
    std::uniform_int_distribution<int> bits(-3, 3);
    std::vector<Point3> points;
    for (int i = 0; i < 1500; ++i) {
        Point3 p{500000 + cell(random) * 0.5, 4000000 + cell(random) * 0.25, 8};
        for (int k = bits(random); k != 0; k += k > 0 ? -1 : 1) p.y = std::nextafter(p.y, k > 0 ? 1e9 : 0.0);
        points.push_back(p);
    }
    expectExactNeighbours(points);
}

TEST(PlanNeighbours, NoPoints) {
    const std::vector<Point3> none;
    const PlanNeighbours near(none);
    SUCCEED();
}

TEST(RadixSort, OrdersLikeAStableSortOfTheValues) {
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> wide(-1e6, 1e6);
    std::uniform_int_distribution<int> small(-5, 5);
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> special{0.0, -0.0, inf, -inf, std::numeric_limits<double>::denorm_min(),
                                -std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::lowest(), 1e-300, -1e-300};
    for (int round = 0; round < 20; ++round) {
        std::vector<double> values = special;
        for (int i = 0; i < 500; ++i) values.push_back(round % 2 ? wide(random) : small(random) * 0.5);
        std::shuffle(values.begin(), values.end(), random);
        std::vector<KeyedIndex> items, scratch;
        for (std::uint32_t i = 0; i < values.size(); ++i) items.push_back({orderKey(values[i]), i});
        radixSortByKey(items, scratch);
        std::vector<std::uint32_t> expected(values.size());
        for (std::uint32_t i = 0; i < values.size(); ++i) expected[i] = i;
        std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) { return values[a] < values[b]; });
        ASSERT_EQ(items.size(), expected.size());
        for (std::size_t k = 0; k < items.size(); ++k) ASSERT_EQ(items[k].index, expected[k]) << round << " " << k;
    }
}

TEST(RadixSort, NotANumberSortsToTheEndsBySign) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_LT(orderKey(-nan), orderKey(-std::numeric_limits<double>::infinity()));
    EXPECT_GT(orderKey(nan), orderKey(std::numeric_limits<double>::infinity()));
    EXPECT_EQ(orderKey(-0.0), orderKey(0.0));
}

}  // namespace
}  // namespace tz::terrain
