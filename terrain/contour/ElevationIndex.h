// Finds the triangles whose elevation range holds a given level without
// scanning the whole TIN: a centred interval tree over [zmin, zmax].
#pragma once

#include <cstdint>
#include <vector>

#include "tin/Triangle.h"

namespace tz::terrain {

class ElevationIndex {
public:
    // Indexes `triangles[i]` as i for every i with include[i] true
    // (all of them when `include` is empty). Elevation ranges must be finite.
    explicit ElevationIndex(const std::vector<Triangle>& triangles,
                            const std::vector<bool>& include = {});

    // The indices of the included triangles with zmin <= e <= zmax (exact
    // comparisons, flat triangles included), in ascending order: the order in
    // which a scan of the whole TIN would meet them.
    std::vector<std::uint32_t> trianglesSpanning(double e) const;

private:
    struct Node {
        double centre;
        std::uint32_t begin, end;  // this node's intervals in byLow_/byHigh_
        std::int32_t below = -1, above = -1;  // children: wholly below / above the centre
    };
    struct Range {
        double low, high;
        std::uint32_t id;
    };

    std::int32_t build(std::vector<Range>& ranges);

    std::vector<Node> nodes_;
    std::vector<Range> byLow_;   // per node: ascending low
    std::vector<Range> byHigh_;  // per node: descending high
    std::int32_t root_ = -1;
};

}  // namespace tz::terrain
