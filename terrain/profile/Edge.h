// A TIN edge as the profile cutter and the section extractor use it: its two
// 3D end points in the order the file or triangle gave them.
#pragma once

#include "PlaneGeometry.h"

namespace tz::terrain::profile {

using Point3 = tz::geom::Point3;

struct Edge {
    Point3 a, b;
};

inline bool samePoint(const Point3& p, const Point3& q) { return p.x == q.x && p.y == q.y && p.z == q.z; }

// Equal as edge lists count equality: all six numbers exactly equal, in the
// same order or with the end points swapped.
inline bool sameEdge(const Edge& e, const Edge& f) {
    return (samePoint(e.a, f.a) && samePoint(e.b, f.b)) || (samePoint(e.a, f.b) && samePoint(e.b, f.a));
}

}  // namespace tz::terrain::profile
