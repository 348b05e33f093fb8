// The two ways contour tracing compares points: plan equality within a small
// tolerance (joining segments, deciding what is drawn) and exact point order
// (putting segments into a canonical order).
#pragma once

#include <cmath>

#include "tin/Triangle.h"

namespace tz::terrain {

// Two points are the same in plan when x and y each differ by no more than this.
inline constexpr double kPlanTolerance = 0.00001;

// Same in plan: |dx| <= 0.00001 and |dy| <= 0.00001. Not transitive.
inline bool samePlan(const Point3& a, const Point3& b) {
    return std::fabs(a.x - b.x) <= kPlanTolerance && std::fabs(a.y - b.y) <= kPlanTolerance;
}

// All three coordinates exactly equal (so -0.0 equals 0.0).
inline bool samePoint(const Point3& a, const Point3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Exact point order: by x, then y, then z.
inline bool pointLess(const Point3& a, const Point3& b) {
    if (a.x != b.x) return a.x < b.x;
    if (a.y != b.y) return a.y < b.y;
    return a.z < b.z;
}

inline bool isFinitePoint(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace tz::terrain
