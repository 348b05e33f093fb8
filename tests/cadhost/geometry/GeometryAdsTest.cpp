// acutAngle, acutDistance, acutPolar and acdbInters: status codes, the
// result point, and the caller's point left alone when lines do not meet.
#include <gtest/gtest.h>

#include <cmath>

#include "acdbads.h"
#include "acutads.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(GeometryAds, IntersWithAndWithoutTheEndPointTest) {
    ads_point a = {0, 0, 0}, b = {1, 1, 0}, c = {3, 0, 0}, d = {3, 1, 0};
    ads_point result = {-7, -7, -7};
    EXPECT_EQ(acdbInters(a, b, c, d, 1, result), RTNONE);
    EXPECT_EQ(result[X], -7);   // untouched when they do not meet
    EXPECT_EQ(acdbInters(a, b, c, d, 0, result), RTNORM);
    EXPECT_NEAR(result[X], 3, 1e-12);
    EXPECT_NEAR(result[Y], 3, 1e-12);
    // Any non-zero flag turns the test on.
    EXPECT_EQ(acdbInters(a, b, c, d, 2, result), RTNONE);

    ads_point e = {0, 2, 0}, f = {2, 0, 0}, g = {2, 2, 0};
    EXPECT_EQ(acdbInters(a, g, e, f, 1, result), RTNORM);
    EXPECT_NEAR(result[X], 1, 1e-12);
    EXPECT_NEAR(result[Y], 1, 1e-12);
    // Parallel.
    EXPECT_EQ(acdbInters(a, c, e, g, 0, result), RTNONE);
    // The result may be one of the inputs.
    EXPECT_EQ(acdbInters(a, g, e, f, 1, a), RTNORM);
    EXPECT_NEAR(a[X], 1, 1e-12);
    EXPECT_EQ(acdbInters(nullptr, g, e, f, 1, result), RTERROR);
    EXPECT_EQ(acdbInters(a, g, e, f, 1, nullptr), RTERROR);
}

TEST(GeometryAds, AngleDistancePolar) {
    ads_point o = {1, 1, 2}, p = {0, 0, 2};
    EXPECT_DOUBLE_EQ(acutAngle(o, p), 5 * kPi / 4);
    EXPECT_DOUBLE_EQ(acutDistance(o, p), std::sqrt(2.0));
    ads_point q;
    acutPolar(o, kPi / 2, 3, q);
    EXPECT_NEAR(q[X], 1, 1e-12);
    EXPECT_NEAR(q[Y], 4, 1e-12);
    EXPECT_EQ(q[Z], 2);
    // In place, as the host allows.
    acutPolar(o, kPi, 1, o);
    EXPECT_NEAR(o[X], 0, 1e-12);
    EXPECT_NEAR(o[Y], 1, 1e-12);
    EXPECT_EQ(acutAngle(nullptr, p), 0);
    acutPolar(nullptr, 0, 1, q);   // nothing happens, nothing breaks
}

}  // namespace
