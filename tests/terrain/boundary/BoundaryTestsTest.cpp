// The indexed boundary tests against testing every segment in turn, and
// the cases the clip must get right.
#include "boundary/BoundaryTests.h"

#include <gtest/gtest.h>

#include <random>

#include "LiteralBoundary.h"
#include "TinTestSupport.h"

namespace tz::terrain {
namespace {

std::vector<Segment> polygon(const std::vector<Point3>& corners) {
    std::vector<Segment> out;
    for (size_t i = 0; i < corners.size(); ++i) out.push_back({corners[i], corners[(i + 1) % corners.size()]});
    return out;
}

std::vector<Triangle> sampleTin(std::mt19937_64& random, size_t points, double x0, double y0, double size) {
    const std::vector<Point3> prepared = testing::prepared(testing::randomPoints(random, points, x0, y0, size, size));
    double header[6];
    testing::headerOf(prepared, header);
    return testing::triangulateFast(header, prepared);
}

TEST(BoundaryTests, MatchLiteralTestsOnRandomOutlines) {
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> u(0, 1);
    for (int round = 0; round < 4; ++round) {
        const double x0 = 500000, y0 = 4000000, size = 200;
        const std::vector<Triangle> tin = sampleTin(random, 800, x0, y0, size);
        // An outer outline through TIN vertices and a void, plus a star-shaped
        // outline of random radii, plus horizontal and vertical runs.
        std::vector<Point3> outer, hole, star;
        for (int k = 0; k < 5; ++k) outer.push_back(tin[static_cast<size_t>(k) * 37 % tin.size()].p1);
        hole = {{x0 + 80, y0 + 80, 0}, {x0 + 120, y0 + 80, 0}, {x0 + 120, y0 + 120, 0}, {x0 + 80, y0 + 120, 0}};
        for (int k = 0; k < 40; ++k) {
            const double angle = 2 * M_PI * k / 40, radius = 30 + u(random) * 70;
            star.push_back({x0 + 100 + radius * std::cos(angle), y0 + 100 + radius * std::sin(angle), 0});
        }
        std::vector<Segment> segments = polygon(outer);
        for (const Segment& s : polygon(hole)) segments.push_back(s);
        for (const Segment& s : polygon(star)) segments.push_back(s);
        const BoundarySet boundary(segments);
        size_t crossings = 0, insides = 0;
        for (const Triangle& t : tin) {
            const bool crosses = crossesBoundary(t, boundary);
            const bool inside = insideBoundary(t, boundary);
            ASSERT_EQ(crosses, literal::crossesBoundaryLiterally(t, segments));
            ASSERT_EQ(inside, literal::insideBoundaryLiterally(t, segments));
            crossings += crosses;
            insides += inside;
        }
        EXPECT_GT(crossings, 10u);
        EXPECT_GT(insides, 10u);
        EXPECT_LT(insides, tin.size());
    }
}

TEST(BoundaryTests, VertexOnABoundaryVertexIsDecidedByTheTestPoint) {
    const std::vector<Segment> square = polygon({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
    const BoundarySet boundary(square);
    // Shares the corner (10, 10) of the boundary, lies inside.
    const Triangle inside{{10, 10, 1}, {4, 6, 1}, {6, 4, 1}};
    EXPECT_FALSE(crossesBoundary(inside, boundary));
    EXPECT_TRUE(insideBoundary(inside, boundary));
    // Shares the corner and lies outside: not crossing, but its test point is outside.
    const Triangle outside{{10, 10, 1}, {14, 12, 1}, {12, 14, 1}};
    EXPECT_FALSE(crossesBoundary(outside, boundary));
    EXPECT_FALSE(insideBoundary(outside, boundary));
    // Straddles the edge x = 10.
    const Triangle straddling{{8, 5, 1}, {12, 6, 1}, {12, 4, 1}};
    EXPECT_TRUE(crossesBoundary(straddling, boundary));
}

TEST(BoundaryTests, VoidIsOutside) {
    std::vector<Segment> segments = polygon({{0, 0, 0}, {30, 0, 0}, {30, 30, 0}, {0, 30, 0}});
    for (const Segment& s : polygon({{10, 10, 0}, {20, 10, 0}, {20, 20, 0}, {10, 20, 0}})) segments.push_back(s);
    const BoundarySet boundary(segments);
    EXPECT_TRUE(insideBoundary({{2, 2, 0}, {2, 5, 0}, {5, 2, 0}}, boundary));
    EXPECT_FALSE(insideBoundary({{12, 12, 0}, {12, 15, 0}, {15, 12, 0}}, boundary));
    EXPECT_FALSE(insideBoundary({{32, 2, 0}, {32, 5, 0}, {35, 2, 0}}, boundary));
}

TEST(BoundaryTests, TestPointIsNotTheCentroid) {
    // (P1 + 2 P2 + P3) / 4 lies inside the strip here while the centroid
    // lies on its lower side, which does not count as inside.
    const BoundarySet boundary(polygon({{0, 0, 0}, {10, 0, 0}, {10, 1, 0}, {0, 1, 0}}));
    const Triangle t{{4, -1.5, 0}, {5, 3, 0}, {6, -1.5, 0}};
    EXPECT_TRUE(insideBoundary(t, boundary));
    EXPECT_EQ(insideBoundary(t, boundary), literal::insideBoundaryLiterally(t, boundary.segments()));
}

TEST(BoundaryTests, EmptySetHasNothingInside) {
    const BoundarySet boundary({});
    const Triangle t{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}};
    EXPECT_FALSE(crossesBoundary(t, boundary));
    EXPECT_FALSE(insideBoundary(t, boundary));
}

}  // namespace
}  // namespace tz::terrain
