#include "tin/Circumcircle.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tin/ExactPredicates.h"

namespace tz::terrain {
namespace {

bool isFinite(const Circle& c) { return std::isfinite(c.xc) && std::isfinite(c.yc) && std::isfinite(c.r); }

Circle slopeCircle(double x1, double y1, double x2, double y2, double x3, double y3) {
    Circle c;
    if (y1 == y2) {
        const double m2 = -(x3 - x2) / (y3 - y2);
        c.xc = (x1 + x2) / 2;
        c.yc = m2 * (c.xc - (x2 + x3) / 2) + (y2 + y3) / 2;
    } else if (y2 == y3) {
        const double m1 = -(x2 - x1) / (y2 - y1);
        c.xc = (x2 + x3) / 2;
        c.yc = m1 * (c.xc - (x1 + x2) / 2) + (y1 + y2) / 2;
    } else {
        const double m1 = -(x2 - x1) / (y2 - y1);
        const double m2 = -(x3 - x2) / (y3 - y2);
        c.xc = (m1 * (x1 + x2) / 2 - m2 * (x2 + x3) / 2 + (y2 + y3) / 2 - (y1 + y2) / 2) / (m1 - m2);
        c.yc = m1 * (c.xc - (x1 + x2) / 2) + (y1 + y2) / 2;
    }
    c.r = centreDistance(x2, y2, c.xc, c.yc);
    return c;
}

Circle determinantCircle(double x1, double y1, double x2, double y2, double x3, double y3) {
    const long double bx = static_cast<long double>(x2) - x1, by = static_cast<long double>(y2) - y1;
    const long double cx = static_cast<long double>(x3) - x1, cy = static_cast<long double>(y3) - y1;
    const long double d = 2 * (bx * cy - by * cx);
    Circle c;
    if (d != 0) {
        const long double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
        const long double ux = (cy * b2 - by * c2) / d;
        const long double uy = (bx * c2 - cx * b2) / d;
        c.xc = static_cast<double>(x1 + ux);
        c.yc = static_cast<double>(y1 + uy);
        c.r = centreDistance(x2, y2, c.xc, c.yc);
        if (isFinite(c)) return c;
    }
    c.xc = (x1 + x2 + x3) / 3;
    c.yc = (y1 + y2 + y3) / 3;
    c.r = kDegenerateRadius;
    return c;
}

}  // namespace

Circle circumcircleOf(double x1, double y1, double x2, double y2, double x3, double y3) {
    const Circle c = slopeCircle(x1, y1, x2, y2, x3, y3);
    if (isFinite(c)) return c;
    return determinantCircle(x1, y1, x2, y2, x3, y3);
}

CircleBounds boundsOf(const Circle& c, double x1, double y1, double x2, double y2, double x3, double y3) {
    constexpr double eps = exact::kEpsilon;  // unit roundoff
    constexpr double inf = std::numeric_limits<double>::infinity();
    CircleBounds b{-inf, inf, -inf, inf};
    const double r = c.r;
    // Far from underflow and overflow, every operation below is within its
    // relative rounding bound (NaN fails the test too).
    if (!(r > 1e-140 && r < 1e140) || !std::isfinite(c.xc) || !std::isfinite(c.yc)) return b;
    const double rr = r * r;
    // s = d^2 (1 + t) with |t| <= 4 eps: the square root of s, rounded, is
    // below r when s < r^2 (1 - 6 eps), above it when s > r^2 (1 + 6 eps).
    b.holdsBelow = rr * (1 - 8 * eps);
    b.failsAbove = rr * (1 + 8 * eps);

    // |det| = twice the area, bounded below as the orientation filter bounds it.
    const double left = (x1 - x3) * (y2 - y3), right = (y1 - y3) * (x2 - x3);
    const double det = std::fabs(left - right) - 4 * eps * (std::fabs(left) + std::fabs(right));
    if (!(det > 0)) return b;
    // G >= max |g(v_i)|: the misfit at the vertices, with its rounding. The
    // radius was measured to the second vertex, so there the misfit is the
    // rounding of that measure and of r^2, at most 3.1 eps s, and with the
    // rounding of g itself under 16 eps r^2. That floor alone makes the band
    // q below wider than a millionth of the radius for long thin triangles
    // with huge circles, which are left to the exact test.
    const double floor = 16 * eps * rr;
    if (!(16 * floor < 1e-6 * det)) return b;
    auto misfit = [&](double x, double y) {
        const double s = centreDistanceSquared(x, y, c.xc, c.yc);
        return std::fabs(s - rr) + 6 * eps * (s + rr);
    };
    const double g = std::max({misfit(x1, y1), misfit(x3, y3), floor}) * (1 + 16 * eps);
    if (!(g <= 1e-6 * rr)) return b;
    // |lambda_i(P)| = dist(P, edge line i) / height i, the distance at most
    // d + sqrt(r^2 + G), an edge at most 2 sqrt(r^2 + G), so with G <= 1e-6
    // r^2: |h(P) - g(P)| <= q' (d + r) with q' = 6.02 G r / |det|, and h(P)
    // has the sign of d - r when |d - r| > q'. q is q' with room to spare
    // for the rounding of these lines.
    const double q = 16 * g * r / det;
    if (!(q < r)) return b;
    const double lo = r - q, hi = r + q;
    b.insideBelow = lo * lo * (1 - 16 * eps);
    b.outsideAbove = hi * hi * (1 + 16 * eps);
    return b;
}

void circumcircleOf(TriangleRecord& record) {
    const Circle c = circumcircleOf(record.x1, record.y1, record.x2, record.y2, record.x3, record.y3);
    record.xc = c.xc;
    record.yc = c.yc;
    record.zero = 0;
    record.r = c.r;
}

}  // namespace tz::terrain
