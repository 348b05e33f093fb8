// One triangle of a surface held in memory for point location: the nine
// numbers of its TIN line, and what every lookup would otherwise recompute
// (the plane, the bounds, the edge lines), worked out once at load.
#pragma once

#include "tin/Triangle.h"

namespace tz::terrain::volume {

// Slope and intercept of a vertical edge line: never read, since the tests
// treat vertical edges apart.
inline constexpr double kVerticalEdgeSentinel = 3.8e38;

struct PreparedTriangle {
    double x1, y1, z1, x2, y2, z2, x3, y3, z3;  // in file order
    // The plane a*x + b*y + c*z + d = 0 through the three vertices; c is
    // twice the signed plan area (negative for a clockwise triangle).
    double a, b, c, d;
    double xmin, xmax, ymin, ymax, zmin, zmax;
    // Edge lines y = m*x + k of the edges 1-2, 2-3 and 3-1.
    double m12, m23, m31;
    double k12, k23, k31;
};

// Prepares the triangle x1 y1 z1 x2 y2 z2 x3 y3 z3 (a TIN line's numbers).
PreparedTriangle prepareTriangle(const double (&numbers)[9]);
PreparedTriangle prepareTriangle(const Triangle& triangle);

// The triangle's three vertices in file order.
Triangle vertices(const PreparedTriangle& triangle);

}  // namespace tz::terrain::volume
