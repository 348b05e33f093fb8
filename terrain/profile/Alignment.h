// The polyline a profile is cut along, as plain data taken from the drawing.
#pragma once

#include <vector>

namespace tz::terrain::profile {

// One vertex: plan position and the bulge of the segment that starts here
// (0: straight; otherwise the tangent of a quarter of the arc's included
// angle, positive when the arc turns counter-clockwise).
struct AlignmentVertex {
    double x = 0, y = 0, bulge = 0;
};

struct Alignment {
    std::vector<AlignmentVertex> vertices;  // first to last
    // Kept for completeness: the closing segment of a closed polyline is not
    // part of the profile.
    bool closed = false;
};

}  // namespace tz::terrain::profile
