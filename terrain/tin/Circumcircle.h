// The circumcircle of a triangle in plan, as the triangulation engine keeps
// it with every triangle.
#pragma once

#include <cmath>

#include "tin/Triangle.h"

namespace tz::terrain {

// A triangle of the engine: its three vertices and its circumcircle. The
// `zero` word is kept for the record's layout and is always 0.
struct TriangleRecord {
    double x1 = 0, y1 = 0, z1 = 0, x2 = 0, y2 = 0, z2 = 0, x3 = 0, y3 = 0, z3 = 0;
    double xc = 0, yc = 0, zero = 0, r = 0;
};

struct Circle {
    double xc = 0, yc = 0, r = 0;
};

// The plan distance from a circle's centre (xc, yc) to (x, y), and its
// square, as the engine measures them against the radius: one order of
// operations everywhere, so that the engine and its indexes round alike.
inline double centreDistanceSquared(double x, double y, double xc, double yc) {
    return (y - yc) * (y - yc) + (x - xc) * (x - xc);
}
inline double centreDistance(double x, double y, double xc, double yc) {
    return std::sqrt(centreDistanceSquared(x, y, xc, yc));
}

// What the squared distance s of a point from a triangle's computed circle
// (centreDistanceSquared) settles at once, without the square root or an
// exact in-circle test. Outside the bounds, neither is known.
struct CircleBounds {
    double holdsBelow;    // s < holdsBelow: the engine's test, centreDistance < r, holds
    double failsAbove;    // s > failsAbove: it fails
    double insideBelow;   // s < insideBelow: strictly inside the triangle's true circumcircle
    double outsideAbove;  // s > outsideAbove: strictly outside it
};

// The bounds of circle `c`, circumcircleOf(x1, y1, x2, y2, x3, y3). The
// true circle differs from the computed one by how badly the computed one
// fits the vertices: with g(X) = |X - c|^2 - r^2 for the
// computed circle and h(X) the same for the true one, h - g is affine and
// -g at the vertices, so h(P) = g(P) - sum of lambda_i(P) g(v_i) over P's
// barycentric coordinates; every rounding is bounded on the safe side.
CircleBounds boundsOf(const Circle& c, double x1, double y1, double x2, double y2, double x3, double y3);

// Radius given to the circle of three points on one line: contains every
// point of the plane, so such a triangle never stays in place unnoticed.
inline constexpr double kDegenerateRadius = 1.0e300;

// Centre and radius from the perpendicular bisectors written with slopes
// (z takes no part; equality tests are exact). The slope form fails where
// two bisectors are parallel in floating point (three equal y, or a very
// thin triangle); the circle is then taken from the determinant form in
// extended precision, and three points on one line get their centroid and
// kDegenerateRadius, so no infinite or NaN circle ever enters the lists.
Circle circumcircleOf(double x1, double y1, double x2, double y2, double x3, double y3);

// Fills xc, yc, the zero word and r of `record`.
void circumcircleOf(TriangleRecord& record);

}  // namespace tz::terrain
