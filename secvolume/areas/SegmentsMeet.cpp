#include "SegmentsMeet.h"

#include <cmath>

namespace tz::secvolume {

namespace {

constexpr double kTolerance = 0.001;

}  // namespace

std::optional<Point3> segmentsMeet(const SectionSegment& first, const SectionSegment& second) {
    const Point3& p0 = first.start;
    const Point3& q0 = second.start;
    const double ux = first.end.x - p0.x, uy = first.end.y - p0.y;
    const double vx = second.end.x - q0.x, vy = second.end.y - q0.y;
    const double h = ux * vy - vx * uy;
    if (h == 0) return std::nullopt;
    const double s = ((p0.y - q0.y) * vx - (p0.x - q0.x) * vy) / h;
    const double t = ((p0.y - q0.y) * ux - (p0.x - q0.x) * uy) / h;
    const Point3 p{p0.x + s * ux, p0.y + s * uy, 0};
    const Point3 q{q0.x + t * vx, q0.y + t * vy, 0};
    if (!(std::hypot(p.x - q.x, p.y - q.y) <= kTolerance)) return std::nullopt;
    if (!(s >= -kTolerance && s <= 1 + kTolerance && t >= -kTolerance && t <= 1 + kTolerance)) return std::nullopt;
    return p;
}

}  // namespace tz::secvolume
