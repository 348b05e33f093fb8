// Whether a triangle holds a plan point, decided by a horizontal ray, and
// the elevation of the triangle's plane at a point.
#pragma once

#include "TinTable.h"

namespace tz::sections {

// True when exactly one of the triangle's edges (in plan, in the order
// vertex 1-2, 1-3, 2-3) meets the ray from (x, y) to (rayEndX, y), by the
// host's segment intersection with end points counted. A ray that leaves the
// triangle crosses one edge; one that passes through it crosses two; one
// through a vertex of the triangle meets both edges there, so a point whose
// ray runs through a vertex is not contained. A triangle that is a line or a
// point in plan holds no point (its plane gives no elevation).
bool containsByRay(const Triangle& triangle, double x, double y, double rayEndX);

// The elevation at (x, y) of the plane through the triangle's vertices
// (a x + b y + c z = e), worked out from the first vertex so that survey
// coordinates keep their digits. Not finite for a triangle that is a line
// in plan.
double planeElevation(const Triangle& triangle, double x, double y);

// c of the plane's equation: twice the triangle's signed plan area, from
// the first vertex.
double planArea2(const Triangle& triangle);

}  // namespace tz::sections
