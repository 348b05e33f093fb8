// The band index must find every circle the engine's floating-point test
// puts around a point, on the sweep line and off it, as the sweep moves on
// and windows are renewed or circles replaced: checked against testing every
// circle.
#include "tin/CircleBands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

namespace tz::terrain {
namespace {

struct Circle3 {
    double xc, yc, r;
};

// The ids whose circle holds (x, y) by the engine's strict test.
std::vector<uint32_t> bruteForce(const std::map<uint32_t, Circle3>& circles, double x, double y) {
    std::vector<uint32_t> ids;
    for (const auto& [id, c] : circles) {
        if (std::sqrt((y - c.yc) * (y - c.yc) + (x - c.xc) * (x - c.xc)) < c.r) ids.push_back(id);
    }
    return ids;
}

std::vector<uint32_t> sorted(std::vector<uint32_t> ids) {
    std::sort(ids.begin(), ids.end());
    return ids;
}

// A sweep over [0, 1000] x [0, 500]: circles through a point near the sweep
// line, of every size from a millimetre to far beyond the extent (flat
// triangles, the enclosing triangle's), some erased, some replaced in their
// handle by another, windows renewed when due, queries on the line
// (indexed) and left of it (every circle).
TEST(CircleBands, FindsEveryCircleHoldingAPointAsTheSweepMoves) {
    std::mt19937_64 random(41);
    std::uniform_real_distribution<double> u(0, 1);
    const double ymin = 0, ymax = 500;
    CircleBands bands(ymin, ymax, 1.5);
    std::map<uint32_t, Circle3> circles;  // by id
    std::map<uint32_t, uint32_t> handles;  // id -> handle
    std::multimap<double, uint32_t> renewals;  // window end -> id
    uint32_t nextId = 0;
    size_t checked = 0, found = 0;

    for (int step = 0; step < 1500; ++step) {
        const double sweep = step * 0.7;
        bands.setSweep(sweep);
        // Renew every window the sweep has passed.
        while (!renewals.empty() && renewals.begin()->first < sweep) {
            const uint32_t id = renewals.begin()->second;
            renewals.erase(renewals.begin());
            if (!handles.count(id)) continue;
            double windowEnd;
            bands.renew(handles[id], windowEnd);
            EXPECT_GE(windowEnd, sweep);
            if (windowEnd < CircleBands::kNoRenewal) renewals.emplace(windowEnd, id);
        }
        // New circles passing near (sweep, y): radius log-uniform from 1e-3
        // to 1e8, centre mostly to the right.
        for (int k = 0; k < 4; ++k) {
            const double y = ymin + u(random) * (ymax - ymin) * 1.1 - 20;
            const double r = std::pow(10.0, -3 + 11 * u(random));
            const double angle = (u(random) - 0.5) * 3.0;
            const Circle3 c{sweep - 0.3 * u(random) + r * std::cos(angle), y + r * std::sin(angle), r};
            const uint32_t id = nextId++;
            double windowEnd;
            handles[id] = bands.insert(id, c.xc, c.yc, c.r, windowEnd);
            circles[id] = c;
            if (windowEnd < CircleBands::kNoRenewal) renewals.emplace(windowEnd, id);
        }
        // Some go, as cavities and completions take them.
        for (int k = 0; k < 3 && !circles.empty(); ++k) {
            auto it = circles.begin();
            std::advance(it, static_cast<long>(random() % circles.size()));
            bands.erase(handles[it->first]);
            handles.erase(it->first);
            circles.erase(it);
        }
        // Some are replaced by a circle of another size in their handle,
        // as a cavity's new triangles take over the old ones' handles.
        for (int k = 0; k < 2 && !circles.empty(); ++k) {
            auto it = circles.begin();
            std::advance(it, static_cast<long>(random() % circles.size()));
            const uint32_t handle = handles[it->first];
            handles.erase(it->first);
            circles.erase(it);
            const double y = ymin + u(random) * (ymax - ymin);
            const double r = std::pow(10.0, -2 + 9 * u(random));
            const double angle = (u(random) - 0.5) * 3.0;
            const Circle3 c{sweep + r * std::cos(angle), y + r * std::sin(angle), r};
            const uint32_t id = nextId++;
            double windowEnd;
            bands.replace(handle, id, c.xc, c.yc, c.r, windowEnd);
            EXPECT_GE(windowEnd, sweep);
            handles[id] = handle;
            circles[id] = c;
            if (windowEnd < CircleBands::kNoRenewal) renewals.emplace(windowEnd, id);
        }
        // Queries on the sweep line, in and beyond the rows' range.
        for (int q = 0; q < 6; ++q) {
            const double y = ymin - 30 + u(random) * (ymax - ymin + 60);
            std::vector<uint32_t> ids;
            bands.collectContaining(sweep, y, ids);
            const std::vector<uint32_t> expected = bruteForce(circles, sweep, y);
            ASSERT_EQ(sorted(ids), expected) << "step " << step << " y " << y;
            ++checked;
            found += expected.size();
        }
        // A query left of the line still answers exactly.
        if (step % 50 == 0) {
            const double x = sweep - 5, y = u(random) * ymax;
            std::vector<uint32_t> ids;
            bands.collectContaining(x, y, ids);
            ASSERT_EQ(sorted(ids), bruteForce(circles, x, y));
        }
    }
    EXPECT_GT(checked, 8000u);
    EXPECT_GT(found, checked);  // the queries did hit circles
}

TEST(CircleBands, PointsOnTheCircleAndDegenerateRadii) {
    CircleBands bands(0, 10, 1);
    bands.setSweep(0);
    double windowEnd;
    // A circle through (0, 0): the point on it is not inside (strict test).
    bands.insert(1, 5, 0, 5, windowEnd);
    // The radius given to three points on a line holds every point.
    bands.insert(2, 3, 3, 1.0e300, windowEnd);
    EXPECT_EQ(windowEnd, CircleBands::kNoRenewal);
    // A radius too small to square.
    bands.insert(3, 0, 7, 1e-200, windowEnd);
    std::vector<uint32_t> ids;
    bands.collectContaining(0, 0, ids);
    EXPECT_EQ(sorted(ids), (std::vector<uint32_t>{2}));
    ids.clear();
    bands.collectContaining(0, 7, ids);
    EXPECT_EQ(sorted(ids), (std::vector<uint32_t>{2, 3}));
    ids.clear();
    bands.collectContaining(0, 1e9, ids);  // far outside the rows
    EXPECT_EQ(sorted(ids), (std::vector<uint32_t>{2}));
}

TEST(CircleBands, HandlesAreGivenOutAgainAndEmptyExtentsWork) {
    CircleBands bands(4, 4, 0);  // all points on one line y = 4
    bands.setSweep(1);
    double windowEnd;
    const uint32_t first = bands.insert(7, 1, 4, 2, windowEnd);
    bands.erase(first);
    const uint32_t second = bands.insert(8, 1.5, 4, 2, windowEnd);
    EXPECT_EQ(first, second);
    std::vector<uint32_t> ids;
    bands.collectContaining(1, 4, ids);
    EXPECT_EQ(ids, (std::vector<uint32_t>{8}));
}

}  // namespace
}  // namespace tz::terrain
