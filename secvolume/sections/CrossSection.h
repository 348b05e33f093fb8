// One station of the proposed-sections file: the existing ground line and
// the proposed (design) line, each as a list of segments in section
// coordinates (x = offset to the right, y = elevation, z = 0).
#pragma once

#include <vector>

#include "PlaneGeometry.h"

namespace tz::secvolume {

using Point3 = tz::geom::Point3;

struct SectionSegment {
    Point3 start, end;
};

struct CrossSection {
    double station = 0;
    // Consecutive points of a line form its segments; a line started again
    // by its keyword goes on in the same list, not joined to the piece before.
    std::vector<SectionSegment> existing;  // from "EG" points
    std::vector<SectionSegment> proposed;  // from "datum" points
    bool hasProposedLine = false;          // a "datum" point was read
};

}  // namespace tz::secvolume
