// Joins the canonical segments of one level into chains and decides which of
// them are drawn.
#pragma once

#include <vector>

#include "contour/ContourSegment.h"
#include "contour/TinOutline.h"

namespace tz::terrain {

struct BuiltChain {
    // The chain's first point, then the end of each of its segments.
    std::vector<Point3> vertices;
    // Closed in plan, ending on the outline at both ends, or touching a
    // segment of this level outside the chain.
    bool drawn = false;
};

// Chains in the order they are built. Each chain starts at the first unused
// segment and grows forward, then backward, each step taking the first unused
// segment in list order whose start (tested first) or end is the same in plan
// as the chain's end; a segment the chain already holds (same in plan, either
// direction) is used up without being added. Growth stops when nothing joins
// or the chain's ends are exactly equal. `segments` must be in canonical order
// (canonicalizeSegments).
std::vector<BuiltChain> buildContourChains(const std::vector<ContourSegment>& segments,
                                           const TinOutline& outline);

}  // namespace tz::terrain
