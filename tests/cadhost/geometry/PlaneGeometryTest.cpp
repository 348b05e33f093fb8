// Plane geometry with the host's meanings: directions in every quadrant,
// polar points, and line intersections with and without the end-point test.
#include "PlaneGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace tz::geom {
namespace {

constexpr double kPi = 3.14159265358979323846;

void expectPoint(const std::optional<Point3>& actual, const Point3& expected, double tolerance = 1e-12) {
    ASSERT_TRUE(actual);
    EXPECT_NEAR(actual->x, expected.x, tolerance);
    EXPECT_NEAR(actual->y, expected.y, tolerance);
    EXPECT_NEAR(actual->z, expected.z, tolerance);
}

// Distance of p from the line through a and b.
double offLine(const Point3& p, const Point3& a, const Point3& b) {
    const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy + (p.z - a.z) * dz) / (dx * dx + dy * dy + dz * dz);
    return distance(p, {a.x + t * dx, a.y + t * dy, a.z + t * dz});
}

TEST(Angle, EveryQuadrantCounterClockwiseFromEast) {
    const Point3 o{1, 1, 5};
    EXPECT_DOUBLE_EQ(angle(o, {2, 1, 0}), 0);
    EXPECT_DOUBLE_EQ(angle(o, {2, 2, 0}), kPi / 4);
    EXPECT_DOUBLE_EQ(angle(o, {1, 3, 0}), kPi / 2);
    EXPECT_DOUBLE_EQ(angle(o, {0, 2, 0}), 3 * kPi / 4);
    EXPECT_DOUBLE_EQ(angle(o, {0, 1, 0}), kPi);
    EXPECT_DOUBLE_EQ(angle(o, {0, 0, 0}), 5 * kPi / 4);
    EXPECT_DOUBLE_EQ(angle(o, {1, 0, 0}), 3 * kPi / 2);
    EXPECT_DOUBLE_EQ(angle(o, {2, 0, 0}), 7 * kPi / 4);
    // Just below east is near 2*pi, never negative.
    const double belowEast = angle(o, {2, 1 - 1e-12, 0});
    EXPECT_GT(belowEast, 6.28);
    EXPECT_LT(belowEast, 2 * kPi);
    // Elevation plays no part; the same point gives zero.
    EXPECT_DOUBLE_EQ(angle({0, 0, 0}, {1, 1, 100}), kPi / 4);
    EXPECT_DOUBLE_EQ(angle(o, o), 0);
}

TEST(Polar, EveryQuadrantAndTheElevationKept) {
    const Point3 o{10, 20, 3};
    const Point3 expected[] = {{12, 20, 3}, {10, 22, 3}, {8, 20, 3}, {10, 18, 3}};
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        const Point3 p = polar(o, quadrant * kPi / 2, 2);
        EXPECT_NEAR(p.x, expected[quadrant].x, 1e-12) << quadrant;
        EXPECT_NEAR(p.y, expected[quadrant].y, 1e-12) << quadrant;
        EXPECT_EQ(p.z, 3);
    }
    const Point3 back = polar(o, 0, -2);   // a negative distance goes the other way
    EXPECT_NEAR(back.x, 8, 1e-12);
    const Point3 turned = polar(o, 2 * kPi + kPi / 2, 2);
    EXPECT_NEAR(turned.x, 10, 1e-12);
    EXPECT_NEAR(turned.y, 22, 1e-12);
}

TEST(Polar, UndoesAngleAndPlanDistance) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> coordinate(-1000, 1000);
    for (int i = 0; i < 500; ++i) {
        const Point3 from{coordinate(random), coordinate(random), 0};
        const Point3 to{coordinate(random), coordinate(random), 0};
        const Point3 p = polar(from, angle(from, to), distance(from, to));
        EXPECT_NEAR(p.x, to.x, 1e-9);
        EXPECT_NEAR(p.y, to.y, 1e-9);
    }
}

TEST(Distance, ThreeDimensional) {
    EXPECT_DOUBLE_EQ(distance({0, 0, 0}, {3, 4, 12}), 13);
    EXPECT_DOUBLE_EQ(distance({1, 1, 1}, {1, 1, 1}), 0);
    EXPECT_DOUBLE_EQ(distance({-3, 0, 0}, {0, -4, 0}), 5);
}

TEST(Intersect, CrossingSegments) {
    for (bool onSegments : {false, true}) {
        expectPoint(intersect({0, 0, 0}, {2, 2, 0}, {0, 2, 0}, {2, 0, 0}, onSegments), {1, 1, 0});
    }
}

TEST(Intersect, LinesMeetingBeyondTheirSegments) {
    // Without the end-point test the lines are extended; with it they are not.
    expectPoint(intersect({0, 0, 0}, {1, 1, 0}, {3, 0, 0}, {3, 1, 0}, false), {3, 3, 0});
    EXPECT_FALSE(intersect({0, 0, 0}, {1, 1, 0}, {3, 0, 0}, {3, 1, 0}, true));
    // Beyond only one of the two segments.
    EXPECT_FALSE(intersect({0, 0, 0}, {4, 4, 0}, {3, 0, 0}, {3, 1, 0}, true));
    EXPECT_FALSE(intersect({3, 0, 0}, {3, 1, 0}, {0, 0, 0}, {4, 4, 0}, true));
}

TEST(Intersect, TouchingAtEndPointsCounts) {
    expectPoint(intersect({0, 0, 0}, {1, 1, 0}, {1, 1, 0}, {2, 0, 0}, true), {1, 1, 0});
    // An end point on the other segment's interior (a T).
    expectPoint(intersect({0, 0, 0}, {2, 0, 0}, {1, 0, 0}, {1, 5, 0}, true), {1, 0, 0});
    // An end point a hair past the other segment's end is still off it.
    EXPECT_FALSE(intersect({0, 0, 0}, {1, 0, 0}, {1 + 1e-6, -1, 0}, {1 + 1e-6, 1, 0}, true));
}

TEST(Intersect, ParallelAndCollinearLinesNeverMeet) {
    for (bool onSegments : {false, true}) {
        EXPECT_FALSE(intersect({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, onSegments));
        // Collinear and overlapping: no single point.
        EXPECT_FALSE(intersect({0, 0, 0}, {2, 0, 0}, {1, 0, 0}, {3, 0, 0}, onSegments));
        EXPECT_FALSE(intersect({0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}, onSegments));
        // A segment of no length.
        EXPECT_FALSE(intersect({1, 1, 0}, {1, 1, 0}, {0, 0, 0}, {2, 2, 0}, onSegments));
        EXPECT_FALSE(intersect({0, 0, 0}, {2, 2, 0}, {1, 1, 0}, {1, 1, 0}, onSegments));
    }
}

TEST(Intersect, InThreeDimensions) {
    // Two lines that meet in space.
    expectPoint(intersect({0, 0, 0}, {2, 2, 2}, {0, 2, 0}, {2, 0, 2}, true), {1, 1, 1});
    // Skew lines whose plans cross do not meet.
    EXPECT_FALSE(intersect({0, 0, 0}, {2, 0, 0}, {1, -1, 1}, {1, 1, 1}, false));
    EXPECT_FALSE(intersect({0, 0, 0}, {2, 2, 0}, {0, 2, 5}, {2, 0, 5}, true));
    // A sloping edge against a vertical line: the point on the edge (its elevation).
    expectPoint(intersect({0, 0, 10}, {10, 0, 20}, {4, 0, 0}, {4, 0, 1}, false), {4, 0, 14});
    // The vertical segment only runs from 0 to 1: with the test they miss.
    EXPECT_FALSE(intersect({0, 0, 10}, {10, 0, 20}, {4, 0, 0}, {4, 0, 1}, true));
    // A vertical edge is parallel to a vertical line.
    EXPECT_FALSE(intersect({4, 0, 0}, {4, 0, 9}, {4, 0, 0}, {4, 0, 1}, false));
}

TEST(Intersect, SurveyCoordinates) {
    const double e = 512345.678, n = 4123456.789;
    expectPoint(intersect({e, n, 0}, {e + 10, n + 10, 0}, {e, n + 10, 0}, {e + 10, n, 0}, true), {e + 5, n + 5, 0},
                1e-8);
    expectPoint(intersect({e, n, 100}, {e + 10, n, 110}, {e + 3, n, 0}, {e + 3, n, 1}, false), {e + 3, n, 103},
                1e-6);
}

TEST(Intersect, ElevationUnderAPlanCrossing) {
    // How sections find the ground: cross a section line with an edge in plan,
    // then the edge's true 3D line with the vertical line at that point.
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> offset(-50, 50), height(90, 120);
    const double e = 512345.678, n = 4123456.789;
    for (int i = 0; i < 1000; ++i) {
        const Point3 p1{e + offset(random), n + offset(random), 0}, p2{e + offset(random), n + offset(random), 0};
        const Point3 a{e + offset(random), n + offset(random), height(random)};
        const Point3 b{e + offset(random), n + offset(random), height(random)};
        const auto q = intersect(p1, p2, {a.x, a.y, 0}, {b.x, b.y, 0}, true);
        if (!q) continue;
        const auto ground = intersect(a, b, *q, {q->x, q->y, 1.0}, false);
        ASSERT_TRUE(ground) << i;
        const double along = std::hypot(q->x - a.x, q->y - a.y) / std::hypot(b.x - a.x, b.y - a.y);
        EXPECT_NEAR(ground->z, a.z + along * (b.z - a.z), 1e-6);
        EXPECT_NEAR(ground->x, q->x, 1e-6);
        EXPECT_NEAR(ground->y, q->y, 1e-6);
    }
}

TEST(Intersect, InvariantsOnRandomSegments) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> coordinate(-100, 100);
    int met = 0;
    for (int i = 0; i < 2000; ++i) {
        const Point3 a{coordinate(random), coordinate(random), 0}, b{coordinate(random), coordinate(random), 0};
        const Point3 c{coordinate(random), coordinate(random), 0}, d{coordinate(random), coordinate(random), 0};
        const auto lines = intersect(a, b, c, d, false);
        const auto segments = intersect(a, b, c, d, true);
        ASSERT_TRUE(lines);   // random plan lines are never exactly parallel
        EXPECT_LT(offLine(*lines, a, b), 1e-7);
        EXPECT_LT(offLine(*lines, c, d), 1e-7);
        // Order of the lines and of their end points does not matter.
        const auto swapped = intersect(d, c, b, a, true);
        EXPECT_EQ(segments.has_value(), swapped.has_value());
        if (segments) {
            ++met;
            EXPECT_NEAR(segments->x, lines->x, 1e-9);
            EXPECT_NEAR(segments->y, lines->y, 1e-9);
            EXPECT_NEAR(segments->x, swapped->x, 1e-9);
            EXPECT_NEAR(segments->y, swapped->y, 1e-9);
            // On both segments: within their bounding boxes.
            EXPECT_LE(segments->x, std::max(a.x, b.x) + 1e-9);
            EXPECT_GE(segments->x, std::min(a.x, b.x) - 1e-9);
            EXPECT_LE(segments->y, std::max(c.y, d.y) + 1e-9);
            EXPECT_GE(segments->y, std::min(c.y, d.y) - 1e-9);
        } else {
            // Off one of the segments: the crossing lies outside a bounding box.
            const bool insideBoth =
                lines->x > std::min(a.x, b.x) + 1e-9 && lines->x < std::max(a.x, b.x) - 1e-9 &&
                lines->y > std::min(a.y, b.y) + 1e-9 && lines->y < std::max(a.y, b.y) - 1e-9 &&
                lines->x > std::min(c.x, d.x) + 1e-9 && lines->x < std::max(c.x, d.x) - 1e-9 &&
                lines->y > std::min(c.y, d.y) + 1e-9 && lines->y < std::max(c.y, d.y) - 1e-9;
            EXPECT_FALSE(insideBoth);
        }
    }
    EXPECT_GT(met, 100);   // the test saw both outcomes
    EXPECT_LT(met, 1900);
}

}  // namespace
}  // namespace tz::geom
