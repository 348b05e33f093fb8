// The two orders of survey points: by plan position, and by plan position
// then elevation. Exact comparisons without tolerance.
#pragma once

#include "tin/Triangle.h"

namespace tz::terrain {

// -1, 0 or 1 by x, then y.
inline int comparePointXY(const Point3& a, const Point3& b) {
    if (a.x < b.x) return -1;
    if (a.x > b.x) return 1;
    if (a.y < b.y) return -1;
    if (a.y > b.y) return 1;
    return 0;
}

// -1, 0 or 1 by x, then y, then z; 0 only when all three are equal.
inline int comparePointXYZ(const Point3& a, const Point3& b) {
    const int plan = comparePointXY(a, b);
    if (plan != 0) return plan;
    if (a.z < b.z) return -1;
    if (a.z > b.z) return 1;
    return 0;
}

}  // namespace tz::terrain
