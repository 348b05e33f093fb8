#include "contour/PlanPointGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>

#include "contour/PlanEquality.h"

namespace tz::terrain {
namespace {

// Every point the same in plan as the query must be visited.
void expectFindsAllNear(const std::vector<Point3>& points, const Point3& query) {
    const PlanPointGrid grid(points);
    std::set<std::uint32_t> visited;
    grid.forEachNear(query, [&](std::uint32_t id) { visited.insert(id); });
    for (std::uint32_t i = 0; i < points.size(); ++i)
        if (samePlan(points[i], query)) {
            EXPECT_TRUE(visited.count(i)) << "point " << i << " at " << points[i].x << "," << points[i].y;
        }
}

TEST(PlanPointGrid, FindsEveryPointWithinToleranceOnRandomClusters) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> offset(-2.2 * kPlanTolerance, 2.2 * kPlanTolerance);
    for (double base : {0.0, -3.7, 512345.678, 1e9}) {
        std::vector<Point3> points;
        for (int i = 0; i < 400; ++i) points.push_back({base + offset(random), base + offset(random), 0});
        for (int q = 0; q < 100; ++q) expectFindsAllNear(points, {base + offset(random), base + offset(random), 0});
    }
}

TEST(PlanPointGrid, FindsPointsExactlyAtTheToleranceAcrossCellBorders) {
    const double border = PlanPointGrid::kCellSize * 7;  // a cell boundary
    std::vector<Point3> points{{border - kPlanTolerance, 1, 0}, {border + kPlanTolerance, 1, 0},
                               {border, 1 + kPlanTolerance, 0}, {border, 1 - kPlanTolerance, 0}};
    expectFindsAllNear(points, {border, 1, 0});
    expectFindsAllNear(points, {border - 1e-12, 1, 0});
}

TEST(PlanPointGrid, VisitsEachIdOncePerCellAndNothingFar) {
    const std::vector<Point3> points{{0, 0, 0}, {1, 1, 0}, {0, 0, 7}};
    const PlanPointGrid grid(points);
    std::vector<std::uint32_t> visited;
    grid.forEachNear({0, 0, 0}, [&](std::uint32_t id) { visited.push_back(id); });
    std::sort(visited.begin(), visited.end());
    EXPECT_EQ(visited, (std::vector<std::uint32_t>{0, 2}));
}

TEST(PlanPointGrid, AnyCoordinateIsSafe) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Point3> points{{std::nan(""), 0, 0}, {inf, -inf, 0}, {1e300, -1e300, 0}, {2, 2, 0}};
    const PlanPointGrid grid(points);
    int visits = 0;
    for (const Point3& q : points) grid.forEachNear(q, [&](std::uint32_t) { ++visits; });
    EXPECT_GE(visits, 4);
    expectFindsAllNear(points, {1e300, -1e300, 0});
}

TEST(PlanPointGrid, EmptyGridVisitsNothing) {
    const PlanPointGrid grid({});
    int visits = 0;
    grid.forEachNear({0, 0, 0}, [&](std::uint32_t) { ++visits; });
    EXPECT_EQ(visits, 0);
}

}  // namespace
}  // namespace tz::terrain
