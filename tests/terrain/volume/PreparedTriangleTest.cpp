#include "volume/PreparedTriangle.h"

#include <gtest/gtest.h>

namespace tz::terrain::volume {
namespace {

TEST(PreparedTriangle, KeepsTheNumbersInFileOrderWithBoundsAndEdgeLines) {
    const double numbers[9] = {0, 0, 1, 0, 10, 3, 10, 0, 2};
    const PreparedTriangle t = prepareTriangle(numbers);
    EXPECT_EQ(t.x1, 0); EXPECT_EQ(t.y2, 10); EXPECT_EQ(t.z3, 2);
    EXPECT_EQ(t.xmin, 0); EXPECT_EQ(t.xmax, 10);
    EXPECT_EQ(t.ymin, 0); EXPECT_EQ(t.ymax, 10);
    EXPECT_EQ(t.zmin, 1); EXPECT_EQ(t.zmax, 3);
    // 1-2 is vertical: sentinel; 2-3 falls with slope -1 through (0, 10); 3-1 is level.
    EXPECT_EQ(t.m12, kVerticalEdgeSentinel); EXPECT_EQ(t.k12, kVerticalEdgeSentinel);
    EXPECT_EQ(t.m23, -1); EXPECT_EQ(t.k23, 10);
    EXPECT_EQ(t.m31, 0); EXPECT_EQ(t.k31, 0);
}

TEST(PreparedTriangle, PlaneHoldsAllThreeVertices) {
    const double numbers[9] = {12.5, -3, 101.25, 40, 7.5, 99, 20, 30, 104.75};
    const PreparedTriangle t = prepareTriangle(numbers);
    const double vx[3] = {t.x1, t.x2, t.x3}, vy[3] = {t.y1, t.y2, t.y3}, vz[3] = {t.z1, t.z2, t.z3};
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(t.a * vx[i] + t.b * vy[i] + t.c * vz[i] + t.d, 0, 1e-9);
}

TEST(PreparedTriangle, CIsTwiceTheSignedPlanAreaNegativeWhenClockwise) {
    const double clockwise[9] = {0, 0, 0, 0, 4, 0, 3, 0, 0};
    EXPECT_EQ(prepareTriangle(clockwise).c, -12);
    const double counterClockwise[9] = {0, 0, 0, 3, 0, 0, 0, 4, 0};
    EXPECT_EQ(prepareTriangle(counterClockwise).c, 12);
}

TEST(PreparedTriangle, VerticesComeBackInFileOrder) {
    const Triangle in{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    const Triangle out = vertices(prepareTriangle(in));
    EXPECT_EQ(out.p1.x, 1); EXPECT_EQ(out.p2.y, 5); EXPECT_EQ(out.p3.z, 9);
}

}  // namespace
}  // namespace tz::terrain::volume
