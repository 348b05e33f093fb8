// Elevation lookups in a TIN table: the triangles that contain a plan point,
// in file order, with the elevation each gives there.
//
// Every triangle is tested only when its edges pass near the point's ray
// (a spatial index of the edges); the hits, their order and their
// elevations are those of testing every triangle of the table in turn.
#pragma once

#include <optional>
#include <vector>

#include "RayContainment.h"
#include "profile/SegmentGrid.h"

namespace tz::sections {

struct TinHit {
    std::size_t triangle = 0;  // index in the table, that is, in the file
    double elevation = 0;
};

class TinLookup {
public:
    // The table must outlive the lookup.
    explicit TinLookup(const TinTable& table);

    // Every triangle that contains (x, y) by containsByRay, in file order.
    std::vector<TinHit> hits(double x, double y) const;

    // The elevation of the last containing triangle in file order, if any.
    std::optional<double> lastElevation(double x, double y) const;

private:
    const TinTable& table_;
    tz::terrain::profile::SegmentGrid grid_;
    mutable std::vector<std::uint32_t> candidates_;
};

}  // namespace tz::sections
