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
// The ray is cut to end one unit beyond the triangle (see rayEndBeyond).
bool containsByRay(const Triangle& triangle, double x, double y, double rayEndX);

// Where a ray from x towards rayEndX may end for a triangle whose largest x
// is `largestX`: one unit beyond the triangle, or rayEndX if that is nearer.
// Only which edges the ray meets matters, and the intersection's end
// tolerance is a fraction of the ray's length: a ray as long as the
// coordinates (rayEndX is twice the TIN's largest x) would count an edge as
// much as 1e-10 x behind the point, about 0.0005 at an easting of 5,000,000,
// and give a point the elevation of the triangle beside its own.
double rayEndBeyond(double x, double rayEndX, double largestX);

// The elevation at (x, y) of the plane through the triangle's vertices
// (a x + b y + c z = e), worked out from the first vertex so that survey
// coordinates keep their digits. Not finite for a triangle that is a line
// in plan.
double planeElevation(const Triangle& triangle, double x, double y);

// c of the plane's equation: twice the triangle's signed plan area, from
// the first vertex.
double planArea2(const Triangle& triangle);

}  // namespace tz::sections
