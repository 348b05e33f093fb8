// The unit of every TIN: three vertices in file order.
#pragma once

#include "PlaneGeometry.h"

namespace tz::terrain {

using Point3 = tz::geom::Point3;

struct Triangle {
    Point3 p1, p2, p3;
};

}  // namespace tz::terrain
