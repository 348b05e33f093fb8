#include "EdgeCrossing.h"

#include <cmath>

namespace tz::terrain::profile {

namespace {

Point3 flat(const Point3& p) { return {p.x, p.y, 0.0}; }

std::vector<PlanSegment> planSegments(const std::vector<Edge>& edges) {
    std::vector<PlanSegment> segments;
    segments.reserve(edges.size());
    for (const Edge& e : edges) segments.push_back({e.a.x, e.a.y, e.b.x, e.b.y});
    return segments;
}

}  // namespace

std::optional<EdgeCrossing> crossEdge(const Point3& from, const Point3& to, const Edge& edge) {
    const auto crossing = tz::geom::intersect(flat(from), flat(to), flat(edge.a), flat(edge.b), true);
    if (!crossing) return std::nullopt;
    const Point3 foot{crossing->x, crossing->y, 0.0};
    const Point3 head{crossing->x, crossing->y, 1.0};
    const auto onEdge = tz::geom::intersect(edge.a, edge.b, foot, head, false);
    // Elevations near a double's limit overflow on the way; a profile line
    // without a number in it would stop every reader of the file.
    if (!onEdge || !std::isfinite(onEdge->z)) return std::nullopt;
    return EdgeCrossing{0, *crossing, onEdge->z};
}

EdgeCrossingFinder::EdgeCrossingFinder(const std::vector<Edge>& edges)
    : edges_(edges), grid_(planSegments(edges), 1) {}

void EdgeCrossingFinder::crossings(const Point3& from, const Point3& to, std::vector<EdgeCrossing>& out) const {
    grid_.ownersNear({from.x, from.y, to.x, to.y}, candidates_);
    for (std::uint32_t index : candidates_) {
        if (auto crossing = crossEdge(from, to, edges_[index])) {
            crossing->edgeIndex = index;
            out.push_back(*crossing);
        }
    }
}

}  // namespace tz::terrain::profile
