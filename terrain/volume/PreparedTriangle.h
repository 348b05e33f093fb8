// One triangle of a surface held in memory for point location: the nine
// numbers of its TIN line and its plan bounds, worked out once at load. The
// plane and the edge lines are worked out, by the same formulas, only for
// the few triangles a lookup reaches: a surface of millions of triangles is
// held in half the memory it took with them kept.
#pragma once

#include "tin/Triangle.h"

namespace tz::terrain::volume {

// Slope and intercept of a vertical edge line: never read, since the tests
// treat vertical edges apart.
inline constexpr double kVerticalEdgeSentinel = 3.8e38;

struct PreparedTriangle {
    double x1, y1, z1, x2, y2, z2, x3, y3, z3;  // in file order
    double xmin, xmax, ymin, ymax;
};

// The plane a*x + b*y + c*z + d = 0 through the three vertices; c is twice
// the signed plan area (negative for a clockwise triangle).
struct TrianglePlane {
    double a, b, c, d;
};
TrianglePlane planeOf(const PreparedTriangle& triangle);

double lowestZ(const PreparedTriangle& triangle);
double highestZ(const PreparedTriangle& triangle);

// The line y = slope*x + intercept through (xi, yi) and (xj, yj), the
// sentinel for both when xi == xj.
struct EdgeLine {
    double slope, intercept;
};
EdgeLine edgeLineThrough(double xi, double yi, double xj, double yj);
// The line of edge 1-2 (0), 2-3 (1) or 3-1 (2).
EdgeLine edgeLineOf(const PreparedTriangle& triangle, int edge);

// Prepares the triangle x1 y1 z1 x2 y2 z2 x3 y3 z3 (a TIN line's numbers).
PreparedTriangle prepareTriangle(const double (&numbers)[9]);
PreparedTriangle prepareTriangle(const Triangle& triangle);

// The triangle's three vertices in file order.
Triangle vertices(const PreparedTriangle& triangle);

}  // namespace tz::terrain::volume
