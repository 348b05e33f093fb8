// Whether a plan point lies on a prepared triangle, and its elevation there.
// Every comparison is exact: a point on an edge shared by two triangles is on
// both, and which one gives the elevation is decided by file order (the
// volumes take the last, the mesh the first).
#pragma once

#include "volume/PreparedTriangle.h"

namespace tz::terrain::volume {

// Bounds filter: xmin <= x <= xmax and ymin <= y <= ymax, inclusive.
bool withinBounds(const PreparedTriangle& triangle, double x, double y);

// Crossing parity over the edges 1-2, 2-3, 3-1: a ray from the point towards
// +x crosses an odd number of them. Points on some edges count as inside,
// on others not; pointOnTriangleEdge covers those.
bool pointInTriangle(const PreparedTriangle& triangle, double x, double y);

// The point lies exactly on an edge line: for a vertical or horizontal edge
// within the edge's span, for any other edge on the stored line y = m*x + k
// (the caller's bounds filter limits it to the triangle's box).
bool pointOnTriangleEdge(const PreparedTriangle& triangle, double x, double y);

// The full test: bounds filter, then pointInTriangle, then pointOnTriangleEdge.
bool containsPoint(const PreparedTriangle& triangle, double x, double y);

// Elevation of the triangle's plane at (x, y): zmin for a level triangle or
// one whose plane is vertical (c = 0), else z1 - (a*(x - x1) + b*(y - y1)) / c.
double elevationAt(const PreparedTriangle& triangle, double x, double y);

}  // namespace tz::terrain::volume
