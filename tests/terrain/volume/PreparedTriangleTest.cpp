#include "volume/PreparedTriangle.h"

#include <gtest/gtest.h>

namespace tz::terrain::volume {
namespace {

TEST(PreparedTriangle, KeepsTheNumbersInFileOrderWithBoundsAndEdgeLines) {
    const double numbers[9] = {0, 0, 1, 0, 10, 3, 10, 0, 2};
    const PreparedTriangle t = prepareTriangle(numbers);
    EXPECT_EQ(t.x1, 0); EXPECT_EQ(t.y2, 10); EXPECT_EQ(t.z3, 2);
    EXPECT_EQ(t.xmin(), 0); EXPECT_EQ(t.xmax(), 10);
    EXPECT_EQ(t.ymin(), 0); EXPECT_EQ(t.ymax(), 10);
    EXPECT_EQ(lowestZ(t), 1); EXPECT_EQ(highestZ(t), 3);
    // 1-2 is vertical: sentinel; 2-3 falls with slope -1 through (0, 10); 3-1 is level.
    EXPECT_EQ(edgeLineOf(t, 0).slope, kVerticalEdgeSentinel); EXPECT_EQ(edgeLineOf(t, 0).intercept, kVerticalEdgeSentinel);
    EXPECT_EQ(edgeLineOf(t, 1).slope, -1); EXPECT_EQ(edgeLineOf(t, 1).intercept, 10);
    EXPECT_EQ(edgeLineOf(t, 2).slope, 0); EXPECT_EQ(edgeLineOf(t, 2).intercept, 0);
}

TEST(PreparedTriangle, PlaneHoldsAllThreeVertices) {
    const double numbers[9] = {12.5, -3, 101.25, 40, 7.5, 99, 20, 30, 104.75};
    const PreparedTriangle t = prepareTriangle(numbers);
    const double vx[3] = {t.x1, t.x2, t.x3}, vy[3] = {t.y1, t.y2, t.y3}, vz[3] = {t.z1, t.z2, t.z3};
    const TrianglePlane p = planeOf(t);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(p.a * vx[i] + p.b * vy[i] + p.c * vz[i] + p.d, 0, 1e-9);
}

TEST(PreparedTriangle, CIsTwiceTheSignedPlanAreaNegativeWhenClockwise) {
    const double clockwise[9] = {0, 0, 0, 0, 4, 0, 3, 0, 0};
    EXPECT_EQ(planeOf(prepareTriangle(clockwise)).c, -12);
    const double counterClockwise[9] = {0, 0, 0, 3, 0, 0, 0, 4, 0};
    EXPECT_EQ(planeOf(prepareTriangle(counterClockwise)).c, 12);
}

TEST(PreparedTriangle, VerticesComeBackInFileOrder) {
    const Triangle in{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    const Triangle out = vertices(prepareTriangle(in));
    EXPECT_EQ(out.p1.x, 1); EXPECT_EQ(out.p2.y, 5); EXPECT_EQ(out.p3.z, 9);
}

}  // namespace
}  // namespace tz::terrain::volume
