// The sorted point file's content as the triangulation reads it: the
// extent header and the points, each value as reading its text back gives
// it. The preparation hands it over in memory so that the file it has just
// written need not be read again.
#pragma once

#include <vector>

#include "tin/Triangle.h"

namespace tz::terrain {

struct SortedPoints {
    Point3 min, max;  // the header's two lines
    std::vector<Point3> points;
};

}  // namespace tz::terrain
