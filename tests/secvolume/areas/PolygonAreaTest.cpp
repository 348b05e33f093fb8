#include "areas/PolygonArea.h"

#include <gtest/gtest.h>

namespace {

using namespace tz::secvolume;

TEST(PolygonArea, CounterClockwiseIsPositive) {
    const std::vector<Point3> square{{0, 0, 0}, {2, 0, 0}, {2, 3, 0}, {0, 3, 0}};
    EXPECT_EQ(polygonArea(square), 6);
    const std::vector<Point3> clockwise{square.rbegin(), square.rend()};
    EXPECT_EQ(polygonArea(clockwise), -6);
}

TEST(PolygonArea, NegativeCoordinatesAreShiftedWithoutChangingTheArea) {
    const std::vector<Point3> trapezoid{{-30, 100, 0}, {-20, 110, 0}, {20, 110, 0}, {30, 100, 0}, {0, 100, 0}};
    EXPECT_EQ(polygonArea(trapezoid), -500);
    std::vector<Point3> low = trapezoid;
    for (auto& v : low) v.y -= 200;
    EXPECT_EQ(polygonArea(low), -500);
}

TEST(PolygonArea, DegeneratePolygonsHaveNoArea) {
    EXPECT_EQ(polygonArea({}), 0);
    EXPECT_EQ(polygonArea({{1, 1, 0}}), 0);
    EXPECT_EQ(polygonArea({{1, 1, 0}, {5, 5, 0}}), 0);
    EXPECT_EQ(polygonArea({{0, 0, 0}, {1, 1, 0}, {2, 2, 0}}), 0);
}

}  // namespace
