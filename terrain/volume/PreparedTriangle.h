// One triangle of a surface held in memory for point location: the nine
// numbers of its TIN line. Its plan bounds, plane and edge lines are worked
// out, by the same formulas, only when a lookup reaches it: a surface of
// millions of triangles is held in two fifths of the memory it took with them
// kept, and first touching memory is much of the time of a large run.
#pragma once

#include <algorithm>

#include "tin/Triangle.h"

namespace tz::terrain::volume {

// Slope and intercept of a vertical edge line: never read, since the tests
// treat vertical edges apart.
inline constexpr double kVerticalEdgeSentinel = 3.8e38;

struct PreparedTriangle {
    double x1, y1, z1, x2, y2, z2, x3, y3, z3;  // in file order

    // Plan bounds: the least and greatest of the vertices' coordinates.
    double xmin() const { return std::min(std::min(x1, x2), x3); }
    double xmax() const { return std::max(std::max(x1, x2), x3); }
    double ymin() const { return std::min(std::min(y1, y2), y3); }
    double ymax() const { return std::max(std::max(y1, y2), y3); }
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
