// The indexed boundary tests against testing every segment in turn, and
// the cases the clip must get right.
#include "boundary/BoundaryTests.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
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

// Many voids make long rows, where most segments are counted or left out
// by their place in the row alone: the counts must be those of testing
// every segment, also for points on segments, at a vertex's y, and about
// 0.001 from a crossing, where the rule's tolerance decides.
TEST(BoundaryTests, CountsMatchLiteralAmongManyVoids) {
    std::mt19937_64 random(23);
    std::uniform_real_distribution<double> u(0, 1);
    const double x0 = 500000, y0 = 4000000, size = 1000;
    for (int round = 0; round < 15; ++round) {
        std::vector<Segment> segments =
            polygon({{x0, y0, 0}, {x0 + size, y0, 0}, {x0 + size, y0 + size, 0}, {x0, y0 + size, 0}});
        const int across = 2 + static_cast<int>(random() % 25);
        const double pitch = size / across;
        for (int i = 0; i < across; ++i) {
            for (int j = 0; j < across; ++j) {
                // Squares, upright, skewed, or skewed so little that a side
                // moves less than 0.001 within a row but more along its length.
                const double cx = x0 + (i + 0.5) * pitch, cy = y0 + (j + 0.5) * pitch, h = pitch * 0.3;
                const double skews[] = {0, (u(random) - 0.5) * h, (u(random) - 0.5) * 0.05};
                const double skew = skews[round % 3];
                for (const Segment& s : polygon({{cx - h + skew, cy - h, 0}, {cx + h, cy - h, 0},
                                                 {cx + h - skew, cy + h, 0}, {cx - h, cy + h, 0}})) {
                    segments.push_back(s);
                }
            }
        }
        // Long diagonals over many rows, and segments of any length and
        // direction, crossing the others.
        segments.push_back({{x0 + 1, y0 + 1, 0}, {x0 + size - 1, y0 + size - 1, 0}});
        segments.push_back({{x0 + size * 0.2, y0, 0}, {x0 + size * 0.25, y0 + size, 0}});
        for (int k = 0; k < 20 * (round % 4); ++k) {
            const Point3 a{x0 + u(random) * size, y0 + u(random) * size, 0};
            const double length = size * std::pow(u(random), 3), angle = 2 * M_PI * u(random);
            segments.push_back({a, {a.x + length * std::cos(angle), a.y + length * std::sin(angle), 0}});
        }
        const BoundarySet boundary(segments);
        for (int k = 0; k < 3000; ++k) {
            double x, y;
            const Segment& s = segments[random() % segments.size()];
            const double t = u(random);
            switch (k % 5) {
                case 0:  // anywhere
                    x = x0 - 10 + u(random) * (size + 20), y = y0 - 10 + u(random) * (size + 20);
                    break;
                case 1:  // on a segment
                    x = s.a.x + t * (s.b.x - s.a.x), y = s.a.y + t * (s.b.y - s.a.y);
                    break;
                case 2:  // at a vertex's y
                    x = x0 + u(random) * size, y = s.a.y;
                    break;
                default: {  // about 0.001 left or right of a crossing
                    const double offsets[] = {-0.0015, -0.001, -0.0009999, -0.0005, 0, 0.0005, 0.001, 0.0015};
                    x = s.a.x + t * (s.b.x - s.a.x) + offsets[random() % 8], y = s.a.y + t * (s.b.y - s.a.y);
                }
            }
            ASSERT_EQ(static_cast<int>(boundary.countCrossingsRightOf(x, y)),
                      literal::countCrossingsLiterally(x, y, segments))
                << "round " << round << " point " << std::setprecision(17) << x << " " << y;
            const Triangle point{{x, y, 0}, {x, y, 0}, {x, y, 0}};
            ASSERT_EQ(insideBoundary(point, boundary), literal::insideBoundaryLiterally(point, segments));
        }
    }
}

TEST(BoundaryTests, SegmentsThatAreNoNumbersAreTestedAsTheyStand) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<Segment> segments = polygon({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
    segments.push_back({{nan, 1, 0}, {3, 8, 0}});
    segments.push_back({{2, -inf, 0}, {2, inf, 0}});
    const BoundarySet boundary(segments);
    for (double x : {-1.0, 1.0, 2.5, 5.0, 11.0, nan, inf, -inf}) {
        for (double y : {0.5, 5.0, 10.0, nan}) {
            EXPECT_EQ(static_cast<int>(boundary.countCrossingsRightOf(x, y)),
                      literal::countCrossingsLiterally(x, y, segments))
                << x << " " << y;
        }
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
