#include "contour/ContourSegment.h"

#include <algorithm>
#include <utility>

#include "contour/PlanEquality.h"

namespace tz::terrain {

namespace {

// Point on edge (a, b) at elevation e, interpolated from a. A coordinate the
// edge does not change is copied, not computed, so it keeps its exact value.
Point3 crossing(const Point3& a, const Point3& b, double e) {
    Point3 p;
    p.x = a.x == b.x ? a.x : a.x + (e - a.z) * (b.x - a.x) / (b.z - a.z);
    p.y = a.y == b.y ? a.y : a.y + (e - a.z) * (b.y - a.y) / (b.z - a.z);
    p.z = e;
    return p;
}

bool spans(const Point3& a, const Point3& b, double e) {
    return std::min(a.z, b.z) <= e && e <= std::max(a.z, b.z);
}

}  // namespace

std::optional<ContourSegment> cutTriangleAtLevel(const Triangle& t, double e) {
    const double zmin = std::min({t.p1.z, t.p2.z, t.p3.z});
    const double zmax = std::max({t.p1.z, t.p2.z, t.p3.z});
    if (zmin == zmax || !(zmin <= e && e <= zmax)) return std::nullopt;

    Point3 found[3];
    int count = 0;
    // Each edge names the vertex preferred when it lies at the level; the
    // third edge prefers P1, not its own first vertex P3.
    if (spans(t.p1, t.p2, e))
        found[count++] = t.p1.z == e ? t.p1 : t.p2.z == e ? t.p2 : crossing(t.p1, t.p2, e);
    if (spans(t.p2, t.p3, e))
        found[count++] = t.p2.z == e ? t.p2 : t.p3.z == e ? t.p3 : crossing(t.p2, t.p3, e);
    if (spans(t.p3, t.p1, e))
        found[count++] = t.p1.z == e ? t.p1 : t.p3.z == e ? t.p3 : crossing(t.p3, t.p1, e);

    if (count < 2) return std::nullopt;
    if (count == 3 && samePoint(found[0], found[1])) found[1] = found[2];
    if (samePoint(found[0], found[1])) return std::nullopt;
    if (!isFinitePoint(found[0]) || !isFinitePoint(found[1])) return std::nullopt;
    return ContourSegment{found[0], found[1]};
}

bool segmentLess(const ContourSegment& a, const ContourSegment& b) {
    if (pointLess(a.start, b.start)) return true;
    if (pointLess(b.start, a.start)) return false;
    return pointLess(a.end, b.end);
}

bool sameSegment(const ContourSegment& a, const ContourSegment& b) {
    return samePoint(a.start, b.start) && samePoint(a.end, b.end);
}

void canonicalizeSegments(std::vector<ContourSegment>& segments) {
    for (ContourSegment& s : segments)
        if (pointLess(s.end, s.start)) std::swap(s.start, s.end);
    // A stable sort gives exactly the order of repeated neighbour exchange,
    // which never swaps equal segments: among equal ones (which may still
    // differ in the sign of a zero) the first in input order leads its run.
    std::stable_sort(segments.begin(), segments.end(), segmentLess);
    segments.erase(std::unique(segments.begin(), segments.end(), sameSegment), segments.end());
}

}  // namespace tz::terrain
