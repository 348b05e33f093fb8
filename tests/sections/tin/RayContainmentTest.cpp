#include "tin/RayContainment.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace tz::sections;

const Triangle kTriangle{{0, 0, 10}, {10, 0, 20}, {0, 10, 30}};  // z = 10 + x + 2y

TEST(RayContainment, APointInsideIsContainedAndOneOutsideIsNot) {
    EXPECT_TRUE(containsByRay(kTriangle, 2, 3, 20));
    EXPECT_FALSE(containsByRay(kTriangle, 8, 8, 20));   // beyond the hypotenuse
    EXPECT_FALSE(containsByRay(kTriangle, -1, 3, 20));  // left of it: the ray crosses two edges
    EXPECT_FALSE(containsByRay(kTriangle, 2, -1, 20));  // below it: the ray meets nothing
}

TEST(RayContainment, AtSurveyCoordinatesAnEdgeJustBehindThePointDoesNotCount) {
    // Two triangles share the edge x = 5000000; the TIN's ray ends at twice
    // its largest x. A point 0.0003 right of the shared edge lies in the
    // rising triangle only, and one 0.0003 beyond the east corner in none.
    const Triangle rising{{5000000, 4000000, 100}, {5000010, 4000010, 200}, {5000000, 4000020, 100}};
    const Triangle flat{{4999990, 4000010, 100}, {5000000, 4000000, 100}, {5000000, 4000020, 100}};
    const double rayEndX = 2 * 5000010.0;
    EXPECT_TRUE(containsByRay(rising, 5000000.0003, 4000011, rayEndX));
    EXPECT_FALSE(containsByRay(flat, 5000000.0003, 4000011, rayEndX));
    EXPECT_FALSE(containsByRay(rising, 5000009.0003, 4000011, rayEndX));
    EXPECT_NEAR(planeElevation(rising, 5000000.0003, 4000011), 100.003, 1e-6);
}

TEST(RayContainment, ARayThroughAVertexOfTheTriangleDoesNotCount) {
    const Triangle kite{{0, 0, 0}, {10, 5, 0}, {0, 10, 0}};
    EXPECT_FALSE(containsByRay(kite, 2, 5, 20));  // inside, but its ray runs through (10, 5)
    EXPECT_TRUE(containsByRay(kite, 2, 4.9, 20));
}

TEST(RayContainment, APointBeyondTheRayEndHasARayPointingLeft) {
    // rayEndX 0 for a TIN whose x are all negative: a point right of it looks left.
    const Triangle west{{-10, 0, 0}, {-2, 0, 0}, {-10, 8, 0}};
    EXPECT_TRUE(containsByRay(west, -8, 2, 0));
    EXPECT_FALSE(containsByRay(west, 3, 2, 0));
}

TEST(RayContainment, ATriangleThatIsALineInPlanHoldsNoPoint) {
    const Triangle line{{0, 0, 0}, {5, 5, 10}, {10, 10, 20}};
    const Triangle point{{3, 3, 0}, {3, 3, 1}, {3, 3, 2}};
    for (double y : {1.0, 5.0, 7.5}) {
        EXPECT_FALSE(containsByRay(line, 0, y, 20));
        EXPECT_FALSE(containsByRay(point, 0, y, 20));
    }
}

TEST(PlaneElevation, IsTheTrianglesPlane) {
    EXPECT_DOUBLE_EQ(planeElevation(kTriangle, 2, 3), 18);
    EXPECT_DOUBLE_EQ(planeElevation(kTriangle, 0, 0), 10);
    EXPECT_DOUBLE_EQ(planeElevation(kTriangle, 10, 0), 20);
    // Outside the triangle the plane goes on.
    EXPECT_DOUBLE_EQ(planeElevation(kTriangle, 20, 20), 70);
    // The vertex order does not change the plane.
    const Triangle reversed{kTriangle.p3, kTriangle.p2, kTriangle.p1};
    EXPECT_DOUBLE_EQ(planeElevation(reversed, 2, 3), 18);
    const Triangle line{{0, 0, 0}, {5, 5, 10}, {10, 10, 20}};
    EXPECT_FALSE(std::isfinite(planeElevation(line, 1, 2)));
}

TEST(PlaneElevation, KeepsItsDigitsAtSurveyCoordinates) {
    // The centroid of a half-metre triangle at a UTM-sized easting and
    // northing lies at the mean of its elevations, 250.456; from raw
    // coordinates the plane's equation gave 249.405691.
    const Triangle t{{712345.678, 9912345.567, 250.123}, {712346.178, 9912345.617, 251.456},
                     {712345.778, 9912346.067, 249.789}};
    const double x = (t.p1.x + t.p2.x + t.p3.x) / 3, y = (t.p1.y + t.p2.y + t.p3.y) / 3;
    EXPECT_NEAR(planeElevation(t, x, y), 250.456, 1e-9);
    EXPECT_NEAR(planeElevation(t, t.p2.x, t.p2.y), 251.456, 1e-9);
}

}  // namespace
