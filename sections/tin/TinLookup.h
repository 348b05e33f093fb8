// Elevation lookups in a TIN table: the triangles that contain a plan point,
// in file order, with the elevation each gives there.
//
// Testing every triangle of a large TIN for every point is what the lookup
// means, not how it runs. A triangle can only count as containing a point
// when the point lies on or in it, when the point's ray runs through (or
// within rounding of) one of its vertices, or when the ray ends on it; any
// other triangle meets the ray at no edge or at two. So the lookup tests the
// triangles whose box holds the point or the ray's end, and those with a
// vertex on the ray (found in a list of the vertices ordered by y), all
// widened by a margin far above the intersection's tolerance; the hits,
// their order and their elevations are those of testing every triangle.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "RayContainment.h"
#include "TriangleBoxGrid.h"

namespace tz::sections {

struct TinHit {
    std::size_t triangle = 0;  // index in the table, that is, in the file
    double elevation = 0;
};

class TinLookup {
public:
    // The table must outlive the lookup.
    explicit TinLookup(const TinTable& table);

    // A lookup that answers only at the given plan points (z is ignored): it
    // indexes only the triangles that may contain one of them by the reasoning
    // above, so the section lines' ends over a TIN of millions of triangles
    // take an index of a few thousand. At any other point it may miss hits.
    static TinLookup forPoints(const TinTable& table, const std::vector<Point3>& points);

    std::size_t indexedTriangles() const { return indexed_; }

    // Every triangle that contains (x, y) by containsByRay, in file order.
    std::vector<TinHit> hits(double x, double y) const;

    // The elevation of the last containing triangle in file order, if any.
    std::optional<double> lastElevation(double x, double y) const;

private:
    // `use` tells the triangles with a plan area, `margin` is the TIN's part of the margin.
    TinLookup(const TinTable& table, const std::vector<bool>& use, double margin);
    void addVerticesOnRay(double x, double y, double margin, std::vector<std::uint32_t>& out) const;

    const TinTable& table_;
    TriangleBoxGrid boxes_;
    // Corners (3 * triangle + corner) in bands of y: band b holds those from
    // bandStart_[b] to bandStart_[b + 1].
    std::size_t bandOf(double y) const;
    double bandY0_ = 0, bandScale_ = 0;
    std::vector<std::uint32_t> bandStart_;
    std::vector<std::uint32_t> cornersByBand_;
    double margin_ = 0;                       // the part of the margin that comes from the TIN
    std::size_t indexed_ = 0;
    mutable std::vector<std::uint32_t> candidates_;
};

}  // namespace tz::sections
