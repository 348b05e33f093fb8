#include "tin/Circumcircle.h"

#include <cmath>

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

void circumcircleOf(TriangleRecord& record) {
    const Circle c = circumcircleOf(record.x1, record.y1, record.x2, record.y2, record.x3, record.y3);
    record.xc = c.xc;
    record.yc = c.yc;
    record.zero = 0;
    record.r = c.r;
}

}  // namespace tz::terrain
