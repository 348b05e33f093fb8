// Forcing one fault (break) line into the TIN as an edge: the triangles it
// crosses are taken out and the hole is triangulated again on each side of
// the line.
#pragma once

#include <vector>

#include "boundary/Segment.h"
#include "faults/FaultTin.h"
#include "tin/StageReporter.h"

namespace tz::terrain {

// Moves `point` onto the TIN vertex nearest to it in plan (the first one
// in TIN order on equal distance), x, y and z, when that vertex is no
// farther than 0.1.
void snapToVertex(const FaultTin& tin, Point3& point);

// The Delaunay triangulation of `points` (in that order) inside a start
// triangle of factors 1600 and 800, without the triangles that touch it.
std::vector<Triangle> localTriangulation(const std::vector<Point3>& points);

// Forces `fault` (S to E) into the TIN. Its ends are snapped to vertices
// and take their elevations in place. Returns kStageDone (applied, or
// abandoned with the "missing" message printed), kFaultNotApplicable (an
// end is not a vertex, or the fault crosses fewer than two triangles),
// `faultNumber` (abandoned because the outline of the crossed triangles
// could not be followed round) or kStatusCancel (user break). Whenever the
// fault is not applied, the TIN holds the same triangles as before (those
// taken out come back at its end).
//
// One mend: the new triangles must fill exactly the hole of the crossed
// triangles (clockwise, the same outline, every vertex kept). The local
// triangulation is not bound to the outline, so on a hole that is not
// convex it can leave a gap or cover neighbours; such a fault is abandoned
// with the "missing" message instead of damaging the TIN.
int insertFaultLine(FaultTin& tin, Segment& fault, int faultNumber, StageReporter& reporter,
                    const UserBreakTest& userBreak);

}  // namespace tz::terrain
