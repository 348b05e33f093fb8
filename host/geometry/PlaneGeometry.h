// Plane and line geometry with the host's meanings (the pure core behind
// acutAngle, acutPolar, acutDistance and acdbInters), usable by pure code
// that must reproduce the host's results without calling the host.
#pragma once

#include <optional>

namespace tz::geom {

struct Point3 {
    double x = 0, y = 0, z = 0;
};

// Direction from `from` to `to` in plan, radians counter-clockwise from +x, in [0, 2*pi).
double angle(const Point3& from, const Point3& to);

// Point at `distance` from `from` in plan direction `angle`; z is kept.
Point3 polar(const Point3& from, double angle, double distance);

// Distance in 3D.
double distance(const Point3& a, const Point3& b);

// Intersection of the line through from1-to1 with the line through from2-to2,
// in 3D. Lines that are parallel, degenerate or do not meet (skew) give none.
// With `onSegments`, the point must also lie on both segments, end points
// included (within a parameter tolerance of 1e-10). The point returned lies
// on the first line.
std::optional<Point3> intersect(const Point3& from1, const Point3& to1, const Point3& from2,
                                const Point3& to2, bool onSegments);

}  // namespace tz::geom
