#include "contour/VertexNumbering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace tz::terrain {
namespace {

// First-appearance numbering by a linear search with exact comparisons.
std::vector<std::uint32_t> literalNumbers(const std::vector<Point3>& points) {
    std::vector<Point3> seen;
    std::vector<std::uint32_t> numbers;
    for (const Point3& p : points) {
        std::uint32_t n = 0;
        while (n < seen.size() && !(seen[n].x == p.x && seen[n].y == p.y && seen[n].z == p.z)) ++n;
        if (n == seen.size()) seen.push_back(p);
        numbers.push_back(n);
    }
    return numbers;
}

// Points drawn from a small pool, so most repeat; zeros of either sign.
std::vector<Point3> pooledPoints(std::mt19937_64& random, std::size_t count, int pool) {
    std::uniform_int_distribution<int> pick(-pool, pool);
    std::uniform_int_distribution<int> coin(0, 1);
    std::vector<Point3> points;
    for (std::size_t i = 0; i < count; ++i) {
        Point3 p{pick(random) * 0.5, pick(random) * 0.25, static_cast<double>(pick(random) % 3)};
        for (double* v : {&p.x, &p.y, &p.z})
            if (*v == 0 && coin(random)) *v = -0.0;
        points.push_back(p);
    }
    return points;
}

TEST(VertexNumbering, MatchesFirstAppearanceOrderAndGrowsPastItsExpectedSize) {
    std::mt19937_64 random(11);
    for (int pool : {1, 3, 12, 40}) {
        const auto points = pooledPoints(random, 5000, pool);
        const auto expected = literalNumbers(points);
        VertexNumbering one(0), batch(3);
        std::vector<std::uint32_t> batched(points.size());
        batch.numberAll(points, batched);
        for (std::size_t i = 0; i < points.size(); ++i) ASSERT_EQ(one.number(points[i]), expected[i]) << i;
        EXPECT_EQ(batched, expected);
        EXPECT_EQ(one.size(), batch.size());
        for (std::uint32_t n = 0; n < one.size(); ++n) {
            // The first point given keeps its number, sign of zero included.
            const auto first = std::find(expected.begin(), expected.end(), n) - expected.begin();
            EXPECT_EQ(std::signbit(one.point(n).x), std::signbit(points[first].x));
        }
    }
}

TEST(VertexNumbering, SignedZerosAreOneVertexAndNearNeighboursAreNot) {
    VertexNumbering numbering;
    EXPECT_EQ(numbering.number({0, 0, 0}), 0u);
    EXPECT_EQ(numbering.number({-0.0, -0.0, -0.0}), 0u);
    EXPECT_EQ(numbering.number({std::nextafter(0.0, 1.0), 0, 0}), 1u);
    EXPECT_EQ(numbering.number({0, 0, std::nextafter(0.0, -1.0)}), 2u);
    EXPECT_EQ(numbering.number({1e300, -1e300, std::numeric_limits<double>::infinity()}), 3u);
    EXPECT_EQ(numbering.number({1e300, -1e300, std::numeric_limits<double>::infinity()}), 3u);
    EXPECT_EQ(numbering.size(), 4u);
}

TEST(VertexNumbering, NotANumberEqualsNothing) {
    VertexNumbering numbering;
    const Point3 odd{std::nan(""), 1, 2};
    EXPECT_EQ(numbering.number(odd), 0u);
    EXPECT_EQ(numbering.number(odd), 1u);
    EXPECT_EQ(numbering.number({1, 2, 3}), 2u);
}

TEST(VertexNumbering, ManyDistinctPointsKeepTheirNumbers) {
    // Far beyond the expected size; many share x, y or z bits.
    std::vector<Point3> points;
    for (int i = 0; i < 300; ++i)
        for (int j = 0; j < 300; ++j) points.push_back({512000.0 + i * 0.001, 4100000.0 + j * 0.001, 7.0});
    VertexNumbering numbering(10);
    std::vector<std::uint32_t> numbers(points.size());
    numbering.numberAll(points, numbers);
    for (std::uint32_t i = 0; i < numbers.size(); ++i) ASSERT_EQ(numbers[i], i);
    for (std::uint32_t i = 0; i < points.size(); i += 997) EXPECT_EQ(numbering.number(points[i]), i);
    EXPECT_EQ(numbering.size(), points.size());
}

}  // namespace
}  // namespace tz::terrain
