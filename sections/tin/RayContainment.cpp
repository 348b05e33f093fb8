#include "RayContainment.h"

#include <algorithm>

namespace tz::sections {

namespace {

Point3 flat(const Point3& p) { return {p.x, p.y, 0.0}; }

}  // namespace

double planArea2(const Triangle& t) {
    return (t.p2.x - t.p1.x) * (t.p3.y - t.p1.y) - (t.p3.x - t.p1.x) * (t.p2.y - t.p1.y);
}

double rayEndBeyond(double x, double rayEndX, double largestX) {
    if (!(rayEndX > x)) return rayEndX;
    return std::min(rayEndX, std::max(x, largestX) + 1);
}

bool containsByRay(const Triangle& t, double x, double y, double rayEndX) {
    if (planArea2(t) == 0) return false;
    const Point3 rayStart{x, y, 0};
    const Point3 rayEnd{rayEndBeyond(x, rayEndX, std::max({t.p1.x, t.p2.x, t.p3.x})), y, 0};
    const Point3 edges[3][2] = {{flat(t.p1), flat(t.p2)}, {flat(t.p1), flat(t.p3)}, {flat(t.p2), flat(t.p3)}};
    int met = 0;
    for (const auto& edge : edges)
        if (tz::geom::intersect(rayStart, rayEnd, edge[0], edge[1], true)) ++met;
    return met == 1;
}

double planeElevation(const Triangle& t, double x, double y) {
    // The plane a x + b y + c z = e, with every coordinate taken from the
    // first vertex: the same plane, but at survey coordinates (millions of
    // metres) e - a x - b y from raw ones cancels all but a few digits and
    // misses the ground by up to a metre.
    const double dx2 = t.p2.x - t.p1.x, dy2 = t.p2.y - t.p1.y, dz2 = t.p2.z - t.p1.z;
    const double dx3 = t.p3.x - t.p1.x, dy3 = t.p3.y - t.p1.y, dz3 = t.p3.z - t.p1.z;
    const double a = dy2 * dz3 - dy3 * dz2;
    const double b = dz2 * dx3 - dz3 * dx2;
    const double c = dx2 * dy3 - dx3 * dy2;
    return t.p1.z - (a * (x - t.p1.x) + b * (y - t.p1.y)) / c;
}

}  // namespace tz::sections
