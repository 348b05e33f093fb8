#include "RayContainment.h"

namespace tz::sections {

namespace {

Point3 flat(const Point3& p) { return {p.x, p.y, 0.0}; }

}  // namespace

double planArea2(const Triangle& t) {
    return t.p1.x * (t.p2.y - t.p3.y) + t.p2.x * (t.p3.y - t.p1.y) + t.p3.x * (t.p1.y - t.p2.y);
}

bool containsByRay(const Triangle& t, double x, double y, double rayEndX) {
    if (planArea2(t) == 0) return false;
    const Point3 rayStart{x, y, 0}, rayEnd{rayEndX, y, 0};
    const Point3 edges[3][2] = {{flat(t.p1), flat(t.p2)}, {flat(t.p1), flat(t.p3)}, {flat(t.p2), flat(t.p3)}};
    int met = 0;
    for (const auto& edge : edges)
        if (tz::geom::intersect(rayStart, rayEnd, edge[0], edge[1], true)) ++met;
    return met == 1;
}

double planeElevation(const Triangle& t, double x, double y) {
    const double x1 = t.p1.x, y1 = t.p1.y, z1 = t.p1.z;
    const double x2 = t.p2.x, y2 = t.p2.y, z2 = t.p2.z;
    const double x3 = t.p3.x, y3 = t.p3.y, z3 = t.p3.z;
    const double a = y1 * (z2 - z3) + y2 * (z3 - z1) + y3 * (z1 - z2);
    const double b = z1 * (x2 - x3) + z2 * (x3 - x1) + z3 * (x1 - x2);
    const double c = x1 * (y2 - y3) + x2 * (y3 - y1) + x3 * (y1 - y2);
    const double e = x1 * (y2 * z3 - y3 * z2) + x2 * (y3 * z1 - y1 * z3) + x3 * (y1 * z2 - y2 * z1);
    return (e - a * x - b * y) / c;
}

}  // namespace tz::sections
