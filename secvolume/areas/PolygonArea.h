// Signed area of a closed polygon in section coordinates.
#pragma once

#include <vector>

#include "sections/CrossSection.h"

namespace tz::secvolume {

// Positive for a counter-clockwise polygon (offset to the right, elevation
// up), the last vertex joined to the first. Negative coordinates are first
// shifted to start at zero, offsets and elevations each by the magnitude of
// their smallest value: the area is the same, and section files written
// before keep their exact figures.
double polygonArea(const std::vector<Point3>& vertices);

}  // namespace tz::secvolume
