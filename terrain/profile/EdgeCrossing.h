// Where a plan segment crosses a TIN edge, and the terrain elevation there.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "Edge.h"
#include "SegmentGrid.h"

namespace tz::terrain::profile {

struct EdgeCrossing {
    std::uint32_t edgeIndex = 0;
    Point3 point;            // on the segment, z = 0
    double elevation = 0;    // the edge's elevation at that point
};

// The crossing of segment from-to with the edge, both taken in plan (z = 0)
// and bounded by their end points (end points count), by the host's segment
// intersection; its elevation is where the edge's 3D line meets the vertical
// line through the crossing. None when they do not cross or the edge gives
// no elevation there (an edge that is a point in plan).
std::optional<EdgeCrossing> crossEdge(const Point3& from, const Point3& to, const Edge& edge);

// Every crossing of a plan segment with a list of edges, in list order,
// found through a spatial index of the edges instead of testing each one.
class EdgeCrossingFinder {
public:
    explicit EdgeCrossingFinder(const std::vector<Edge>& edges);

    // Appends the crossings of segment from-to (z ignored) to `out`, in the
    // order of the edge list: the same crossings, in the same order, as
    // testing every edge with crossEdge.
    void crossings(const Point3& from, const Point3& to, std::vector<EdgeCrossing>& out) const;

private:
    const std::vector<Edge>& edges_;
    SegmentGrid grid_;
    mutable std::vector<std::uint32_t> candidates_;
};

}  // namespace tz::terrain::profile
