// What a circle's bounds settle must be what the floating-point test and
// the exact in-circle test say, on well-shaped, thin, huge and nearly flat
// triangles at survey coordinates, for points on, near and far from the
// circle; and the bounds must settle most points that are not very near it.
#include "tin/Circumcircle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tin/ExactPredicates.h"

namespace tz::terrain {
namespace {

struct Corner {
    double x, y;
};

TEST(CircleBounds, AgreeWithBothTests) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> u(0, 1);
    size_t settledFar = 0, far = 0, insideSettled = 0, outsideSettled = 0, doubtful = 0;
    for (int i = 0; i < 40000; ++i) {
        const double x0 = 500000 + u(random) * 2000, y0 = 4000000 + u(random) * 2000;
        Corner v[3];
        switch (i % 5) {
            case 0:  // well shaped, a few metres
                for (Corner& c : v) c = {x0 + u(random) * 5, y0 + u(random) * 5};
                break;
            case 1:  // thin: the third corner just off the line of the others
                v[0] = {x0, y0};
                v[1] = {x0 + 50 + u(random) * 200, y0 + u(random) * 20};
                v[2] = {(v[0].x + v[1].x) / 2, (v[0].y + v[1].y) / 2 + (u(random) - 0.5) * 1e-3};
                break;
            case 2:  // a corner of an enclosing triangle far away
                v[0] = {x0, y0};
                v[1] = {x0 + u(random) * 3, y0 + u(random) * 3};
                v[2] = {x0 + 3.2e7, y0 - 1.6e7};
                break;
            case 3:  // nearly flat, a few ulps off one line
                v[0] = {x0, y0};
                v[1] = {x0 + 1, y0 + 1};
                v[2] = {std::nextafter(x0 + 2, 1e9), y0 + 2};
                break;
            default:  // rounded to millimetres, as survey points come
                for (Corner& c : v) c = {std::round((x0 + u(random) * 3) * 1000) / 1000,
                                         std::round((y0 + u(random) * 3) * 1000) / 1000};
        }
        const Circle c = circumcircleOf(v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y);
        const CircleBounds b = boundsOf(c, v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y);
        const int turn = exact::orientation(v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y);
        for (int k = 0; k < 8; ++k) {
            // On the circle give or take a relative 1e-16 .. 1e-2, or anywhere near.
            const double angle = u(random) * 6.283185307179586;
            const double scale =
                k < 6 ? c.r * (1 + (u(random) - 0.5) * std::pow(10.0, -2 - 2.5 * k)) : c.r * 3 * u(random);
            const double px = c.xc + scale * std::cos(angle), py = c.yc + scale * std::sin(angle);
            const double s = centreDistanceSquared(px, py, c.xc, c.yc);
            const bool holds = centreDistance(px, py, c.xc, c.yc) < c.r;
            if (s < b.holdsBelow) {
                ASSERT_TRUE(holds) << i;
            }
            if (s > b.failsAbove) {
                ASSERT_FALSE(holds) << i;
            }
            if (turn == 0) {
                EXPECT_FALSE(s < b.insideBelow || s > b.outsideAbove) << "a flat triangle has no circle to trust";
                continue;
            }
            const int side = turn * exact::inCircle(v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y, px, py);
            if (s < b.insideBelow) {
                ASSERT_EQ(side, 1) << "triangle " << i << " point " << k;
                ++insideSettled;
            } else if (s > b.outsideAbove) {
                ASSERT_EQ(side, -1) << "triangle " << i << " point " << k;
                ++outsideSettled;
            } else {
                ++doubtful;
            }
            if (i % 5 == 0 && std::fabs(scale / c.r - 1) > 1e-6) {
                ++far;
                settledFar += s < b.insideBelow || s > b.outsideAbove;
            }
        }
    }
    EXPECT_GT(insideSettled, 20000u);
    EXPECT_GT(outsideSettled, 20000u);
    EXPECT_GT(doubtful, 10000u);  // the points within rounding of the circle
    // Random corners are now and then nearly in line; the others settle
    // every point not within 1e-6 of their circle.
    EXPECT_GT(settledFar, far - far / 200);
}

TEST(CircleBounds, SettleNothingOutOfRange) {
    const Circle huge{0, 0, 1e300};  // the radius given to three points on one line
    const CircleBounds b = boundsOf(huge, 0, 0, 1, 1, 2, 2);
    EXPECT_FALSE(b.holdsBelow > -INFINITY);
    EXPECT_FALSE(b.insideBelow > -INFINITY);
    EXPECT_FALSE(b.outsideAbove < INFINITY);
    const Circle notANumber{std::nan(""), 0, 1};
    EXPECT_FALSE(boundsOf(notANumber, 0, 0, 1, 0, 0, 1).failsAbove < INFINITY);
}

}  // namespace
}  // namespace tz::terrain
