#include "TinLookup.h"

namespace tz::sections {

namespace {

using tz::terrain::profile::PlanSegment;

std::vector<PlanSegment> triangleEdges(const TinTable& table) {
    std::vector<PlanSegment> segments;
    segments.reserve(3 * table.triangles.size());
    for (const Triangle& t : table.triangles) {
        segments.push_back({t.p1.x, t.p1.y, t.p2.x, t.p2.y});
        segments.push_back({t.p1.x, t.p1.y, t.p3.x, t.p3.y});
        segments.push_back({t.p2.x, t.p2.y, t.p3.x, t.p3.y});
    }
    return segments;
}

}  // namespace

TinLookup::TinLookup(const TinTable& table) : table_(table), grid_(triangleEdges(table), 3) {}

std::vector<TinHit> TinLookup::hits(double x, double y) const {
    std::vector<TinHit> found;
    // A triangle none of whose edges comes near the ray meets it nowhere, and
    // a ray that meets no edge of a triangle does not count it as containing.
    grid_.ownersNear({x, y, table_.rayEndX, y}, candidates_);
    for (std::uint32_t index : candidates_) {
        const Triangle& t = table_.triangles[index];
        if (containsByRay(t, x, y, table_.rayEndX)) found.push_back({index, planeElevation(t, x, y)});
    }
    return found;
}

std::optional<double> TinLookup::lastElevation(double x, double y) const {
    const std::vector<TinHit> found = hits(x, y);
    if (found.empty()) return std::nullopt;
    return found.back().elevation;
}

}  // namespace tz::sections
