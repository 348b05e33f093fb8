#include "drawing/EntityGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "TestLists.h"
#include "drawing/EntitySelection.h"

namespace tz::cad {
namespace {

using test::at;
using test::make;
using test::makeLine;
using test::type;

TEST(EntityGeometry, ArcSweepsLieInOneTurn) {
    constexpr double turn = 2 * std::numbers::pi;
    EXPECT_DOUBLE_EQ(arcSweep(1), 1);
    EXPECT_DOUBLE_EQ(arcSweep(-1), turn - 1);
    EXPECT_DOUBLE_EQ(arcSweep(0), turn);
    EXPECT_DOUBLE_EQ(arcSweep(3 * turn), turn);
    // Angles far beyond a turn, as a drawing may hold: no endless turning.
    for (double sweep : {-1e20, -1e300, -std::numeric_limits<double>::infinity(), std::nan("")}) {
        const double s = arcSweep(sweep);
        EXPECT_GT(s, 0) << sweep;
        EXPECT_LE(s, turn) << sweep;
    }
    Drawing drawing;
    make(drawing, {type(L"ARC"), at(10, 0, 0), realGroup(40, 1.0), realGroup(50, 1e300), realGroup(51, 0.0)});
    EXPECT_FALSE(entityShape(drawing, *drawing.find(*drawing.lastEntity())).front().empty());
}

TEST(EntityGeometry, BulgeOfOneIsAHalfCircleOnTheLeftOrRight) {
    Drawing drawing;
    // From (0,0) to (10,0) with bulge 1: counter-clockwise half circle below the chord.
    make(drawing, {type(L"LWPOLYLINE"), at(10, 0, 0), realGroup(42, 1.0), at(10, 10, 0)});
    const EntityShape ccw = entityShape(drawing, *drawing.find(*drawing.lastEntity()));
    double lowest = 0, highest = 0;
    for (const Point3& p : ccw.front()) {
        EXPECT_NEAR(std::hypot(p.x - 5, p.y), 5, 1e-9);
        lowest = std::min(lowest, p.y);
        highest = std::max(highest, p.y);
    }
    EXPECT_NEAR(lowest, -5, 1e-9);
    EXPECT_NEAR(highest, 0, 1e-9);

    make(drawing, {type(L"LWPOLYLINE"), at(10, 0, 0), realGroup(42, -1.0), at(10, 10, 0)});
    const EntityShape cw = entityShape(drawing, *drawing.find(*drawing.lastEntity()));
    for (const Point3& p : cw.front()) EXPECT_GE(p.y, -1e-9);
    EXPECT_EQ(cw.front().back(), (Point3{10, 0, 0}));  // ends exactly on the next vertex
}

TEST(EntityGeometry, BulgeBeyondAHalfCircleTakesTheLongWay) {
    Drawing drawing;
    // bulge tan(3pi/8*... ) = 2.414...: a 270 degree arc from (0,0) to (10,0).
    make(drawing, {type(L"LWPOLYLINE"), at(10, 0, 0), realGroup(42, std::tan(3 * std::numbers::pi / 8)), at(10, 10, 0)});
    const EntityShape shape = entityShape(drawing, *drawing.find(*drawing.lastEntity()));
    const double radius = 10 / (2 * std::sin(3 * std::numbers::pi / 4));
    double lowest = 0;
    for (const Point3& p : shape.front()) {
        EXPECT_NEAR(std::hypot(p.x - 5, p.y + 5), radius, 1e-9);  // centre (5,-5)... below the chord
        lowest = std::min(lowest, p.y);
    }
    EXPECT_NEAR(lowest, -5 - radius, 1e-6);
}

TEST(EntityGeometry, WindowTakesWhatIsInsideCrossingWhatTouches) {
    Drawing drawing;
    const uint64_t inside = makeLine(drawing, 1, 1, 2, 2);
    const uint64_t across = makeLine(drawing, -5, 1.5, 5, 1.5);   // crosses, no end inside
    const uint64_t outside = makeLine(drawing, 10, 10, 11, 11);
    const uint64_t onBorder = makeLine(drawing, 0, 0, 3, 0);
    const PlanWindow window = PlanWindow::fromCorners(3, 3, 0, 0);
    EXPECT_EQ(selectByWindow(drawing, window, false), (std::vector<uint64_t>{inside, onBorder}));
    EXPECT_EQ(selectByWindow(drawing, window, true), (std::vector<uint64_t>{inside, across, onBorder}));
    (void)outside;
    // A face whose corners lie around the window crosses it.
    const uint64_t face = make(drawing, {type(L"3DFACE"), at(10, -10, 1), at(11, 10, 1), at(12, 10, 2),
                                         at(13, -10, 2)}).handle;
    const std::vector<uint64_t> crossing = selectByWindow(drawing, PlanWindow::fromCorners(0, 0, 3, 3), true);
    EXPECT_NE(std::find(crossing.begin(), crossing.end(), face), crossing.end());
}

TEST(EntityGeometry, PickTakesTheNearestWithinTheBoxAndTheTopmostOfEqualOnes) {
    Drawing drawing;
    const uint64_t low = makeLine(drawing, 0, 0, 100, 0);
    const uint64_t high = makeLine(drawing, 0, 10, 100, 10);
    const uint64_t same = makeLine(drawing, 0, 10, 100, 10);
    // Extents 100 across: the pick box of 3 pixels is 0.3 drawing units.
    EXPECT_DOUBLE_EQ(pickTolerance(drawing, 3), 0.3);
    EXPECT_EQ(pickNearest(drawing, 50, 0.2, 0.3), low);
    EXPECT_EQ(pickNearest(drawing, 50, 9.9, 0.3), same);  // drawn last
    EXPECT_FALSE(pickNearest(drawing, 50, 5, 0.3).has_value());
    drawing.toggleErased(same);
    EXPECT_EQ(pickNearest(drawing, 50, 9.9, 0.3), high);
}

TEST(EntityGeometry, PolylineShapeComesFromItsVertices) {
    Drawing drawing;
    make(drawing, {type(L"POLYLINE"), intGroup(66, 1), intGroup(70, 9)});  // closed 3D polyline
    make(drawing, {type(L"VERTEX"), at(10, 0, 0, 1)});
    make(drawing, {type(L"VERTEX"), at(10, 4, 0, 2)});
    make(drawing, {type(L"VERTEX"), at(10, 4, 3, 3)});
    const uint64_t handle = make(drawing, {type(L"SEQEND")}).handle;
    const EntityShape shape = entityShape(drawing, *drawing.find(handle));
    ASSERT_EQ(shape.size(), 1u);
    EXPECT_EQ(shape[0], (std::vector<Point3>{{0, 0, 1}, {4, 0, 2}, {4, 3, 3}, {0, 0, 1}}));
    const std::optional<Extents> extents = drawingExtents(drawing);
    ASSERT_TRUE(extents.has_value());
    EXPECT_EQ(extents->min, (Point3{0, 0, 1}));
    EXPECT_EQ(extents->max, (Point3{4, 3, 3}));
}

}  // namespace
}  // namespace tz::cad
