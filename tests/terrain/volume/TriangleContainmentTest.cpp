#include "volume/TriangleContainment.h"

#include <gtest/gtest.h>

namespace tz::terrain::volume {
namespace {

PreparedTriangle make(double x1, double y1, double z1, double x2, double y2, double z2, double x3, double y3,
                      double z3) {
    const double numbers[9] = {x1, y1, z1, x2, y2, z2, x3, y3, z3};
    return prepareTriangle(numbers);
}

// Clockwise: (0,0) up to (0,10), across to (10,0). Legs vertical and level.
const PreparedTriangle kRight = make(0, 0, 0, 0, 10, 10, 10, 0, 0);

TEST(TriangleContainment, InteriorPointsAreInsideAndOutsidePointsAreNot) {
    EXPECT_TRUE(pointInTriangle(kRight, 2, 3));
    EXPECT_TRUE(containsPoint(kRight, 2, 3));
    EXPECT_FALSE(containsPoint(kRight, 6, 6));    // beyond the hypotenuse, inside the box
    EXPECT_FALSE(containsPoint(kRight, -1, 3));   // outside the box
    EXPECT_FALSE(containsPoint(kRight, 3, 10.5));
}

TEST(TriangleContainment, EveryVertexAndEdgePointIsContained) {
    for (auto [x, y] : {std::pair{0.0, 0.0}, {0.0, 10.0}, {10.0, 0.0}, {0.0, 4.0}, {4.0, 0.0}, {5.0, 5.0}, {2.0, 8.0}})
        EXPECT_TRUE(containsPoint(kRight, x, y)) << x << "," << y;
}

TEST(TriangleContainment, OnEdgeCatchesWhatTheParityTestMisses) {
    // A point on the level edge y = 0 is not crossed by the parity test.
    EXPECT_FALSE(pointInTriangle(kRight, 4, 0));
    EXPECT_TRUE(pointOnTriangleEdge(kRight, 4, 0));
    // The vertical edge's span is tested; the sloped edge's line is not limited by itself.
    EXPECT_FALSE(pointOnTriangleEdge(kRight, 0, 11));
    EXPECT_TRUE(pointOnTriangleEdge(kRight, 12, -2));   // on the line y = -x + 10, beyond the triangle
    EXPECT_FALSE(containsPoint(kRight, 12, -2));        // the bounds filter keeps it out
}

TEST(TriangleContainment, ExactComparisonsOnly) {
    EXPECT_FALSE(containsPoint(kRight, 5.000001, 5));
    EXPECT_FALSE(containsPoint(kRight, -1e-12, 5));
}

TEST(TriangleContainment, ElevationFollowsThePlane) {
    EXPECT_DOUBLE_EQ(elevationAt(kRight, 0, 5), 5);
    EXPECT_DOUBLE_EQ(elevationAt(kRight, 2, 3), 3);
    const PreparedTriangle sloped = make(0, 0, 1, 0, 10, 3, 10, 0, 2);
    EXPECT_DOUBLE_EQ(elevationAt(sloped, 0, 0), 1);
    EXPECT_DOUBLE_EQ(elevationAt(sloped, 0, 10), 3);
    EXPECT_DOUBLE_EQ(elevationAt(sloped, 10, 0), 2);
    EXPECT_DOUBLE_EQ(elevationAt(sloped, 5, 5), 2.5);
}

TEST(TriangleContainment, ElevationKeepsItsDigitsAtSurveyCoordinates) {
    // A half-metre triangle at UTM-sized coordinates: its centroid lies at
    // the mean of its elevations, 250.456; from the plane's raw equation it
    // came out a metre low.
    const PreparedTriangle t =
        make(712345.678, 9912345.567, 250.123, 712346.178, 9912345.617, 251.456, 712345.778, 9912346.067, 249.789);
    const double x = (t.x1 + t.x2 + t.x3) / 3, y = (t.y1 + t.y2 + t.y3) / 3;
    EXPECT_NEAR(elevationAt(t, x, y), 250.456, 1e-9);
    EXPECT_NEAR(elevationAt(t, t.x3, t.y3), 249.789, 1e-9);
}

TEST(TriangleContainment, LevelAndVerticalTrianglesGiveTheirLowestElevation) {
    const PreparedTriangle level = make(0, 0, 7.5, 0, 1, 7.5, 1, 0, 7.5);
    EXPECT_EQ(elevationAt(level, 0.2, 0.2), 7.5);
    // Collinear corners: c = 0, the plane is vertical; no division by zero.
    const PreparedTriangle flat = make(0, 0, 1, 1, 1, 4, 2, 2, 9);
    EXPECT_EQ(planeOf(flat).c, 0);
    EXPECT_EQ(elevationAt(flat, 1, 1), 1);
    EXPECT_TRUE(containsPoint(flat, 1, 1));
    EXPECT_FALSE(containsPoint(flat, 1, 1.5));
}

TEST(TriangleContainment, SharedVerticalEdgeHoldsThePointInBothTriangles) {
    // Two triangles on either side of the edge x = 5.
    const PreparedTriangle west = make(0, 0, 0, 5, 10, 0, 5, 0, 0);
    const PreparedTriangle east = make(5, 0, 1, 5, 10, 1, 10, 0, 1);
    EXPECT_TRUE(containsPoint(west, 5, 4));
    EXPECT_TRUE(containsPoint(east, 5, 4));
}

}  // namespace
}  // namespace tz::terrain::volume
