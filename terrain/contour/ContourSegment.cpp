#include "contour/ContourSegment.h"

#include <algorithm>
#include <utility>

#include "contour/PlanEquality.h"
#include "contour/RadixSort.h"

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
    // The order of a stable sort, which is exactly that of repeated neighbour
    // exchange (it never swaps equal segments: among equal ones, which may
    // still differ in the sign of a zero, the first in input order leads its
    // run). Reached by a radix sort on the start's x, then a stable sort of
    // each run of equal x, which is short (segments meeting at one point).
    std::vector<KeyedIndex> order(segments.size()), scratch;
    for (std::uint32_t i = 0; i < segments.size(); ++i) order[i] = {orderKey(segments[i].start.x), i};
    radixSortByKey(order, scratch);
    for (std::size_t k = 0; k < order.size();) {
        std::size_t next = k + 1;
        while (next < order.size() && order[next].key == order[k].key) ++next;
        if (next - k > 1)
            std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(k), order.begin() + static_cast<std::ptrdiff_t>(next),
                             [&](const KeyedIndex& a, const KeyedIndex& b) {
                                 return segmentLess(segments[a.index], segments[b.index]);
                             });
        k = next;
    }
    std::vector<ContourSegment> sorted;
    sorted.reserve(segments.size());
    for (const KeyedIndex& item : order)
        if (sorted.empty() || !sameSegment(sorted.back(), segments[item.index])) sorted.push_back(segments[item.index]);
    segments.swap(sorted);
}

}  // namespace tz::terrain
