// Orientation and in-circle tests decided exactly for any double input: a
// fast floating-point evaluation with a proven error bound, and exact
// expansion arithmetic when the bound cannot decide. The fast part is
// inline: the engine runs tens of these per point.
#pragma once

#include <cmath>

namespace tz::terrain::exact {

// The exact evaluations, for when the bounds below cannot decide.
int orientationExact(double ax, double ay, double bx, double by, double cx, double cy);
int inCircleExact(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy);

inline constexpr double kEpsilon = 1.1102230246251565e-16;  // half a unit in the last place of 1
inline constexpr double kOrientationBound = (3.0 + 16.0 * kEpsilon) * kEpsilon;
inline constexpr double kInCircleBound = (10.0 + 96.0 * kEpsilon) * kEpsilon;

// Sign of the turn a -> b -> c in plan: 1 counter-clockwise, -1 clockwise,
// 0 when the three points lie on one line.
inline int orientation(double ax, double ay, double bx, double by, double cx, double cy) {
    const double left = (ax - cx) * (by - cy);
    const double right = (ay - cy) * (bx - cx);
    const double det = left - right;
    const double bound = kOrientationBound * (std::fabs(left) + std::fabs(right));
    if (det > bound) return 1;
    if (-det > bound) return -1;
    return orientationExact(ax, ay, bx, by, cx, cy);
}

// Where d lies against the circle through a, b, c: for a counter-clockwise
// a, b, c, 1 inside, -1 outside, 0 on the circle (the signs swap for a
// clockwise a, b, c). 0 as well when a, b, c lie on one line and d on it.
inline int inCircle(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
    const double adx = ax - dx, ady = ay - dy;
    const double bdx = bx - dx, bdy = by - dy;
    const double cdx = cx - dx, cdy = cy - dy;
    const double bdxcdy = bdx * cdy, cdxbdy = cdx * bdy;
    const double cdxady = cdx * ady, adxcdy = adx * cdy;
    const double adxbdy = adx * bdy, bdxady = bdx * ady;
    const double aLift = adx * adx + ady * ady;
    const double bLift = bdx * bdx + bdy * bdy;
    const double cLift = cdx * cdx + cdy * cdy;
    const double det = aLift * (bdxcdy - cdxbdy) + bLift * (cdxady - adxcdy) + cLift * (adxbdy - bdxady);
    const double permanent = (std::fabs(bdxcdy) + std::fabs(cdxbdy)) * aLift +
                             (std::fabs(cdxady) + std::fabs(adxcdy)) * bLift +
                             (std::fabs(adxbdy) + std::fabs(bdxady)) * cLift;
    const double bound = kInCircleBound * permanent;
    if (std::isfinite(det) && std::isfinite(bound)) {
        if (det > bound) return 1;
        if (-det > bound) return -1;
    }
    return inCircleExact(ax, ay, bx, by, cx, cy, dx, dy);
}

}  // namespace tz::terrain::exact
