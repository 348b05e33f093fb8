#include "volume/TriangleContainment.h"

#include <algorithm>

namespace tz::terrain::volume {
namespace {

// Whether the ray from (x, y) towards +x crosses the edge (xi, yi)-(xj, yj).
// The edge holds its upper end and not its lower one, so a ray through a
// vertex counts once.
bool crossesEdge(double xi, double yi, double xj, double yj, double x, double y) {
    if (!(y > std::min(yi, yj))) return false;
    if (!(y <= std::max(yi, yj))) return false;
    if (!(x <= std::max(xi, xj))) return false;
    if (yi == yj) return false;
    return xi == xj || x <= (y - yi) * (xj - xi) / (yj - yi) + xi;
}

bool onEdge(double xi, double yi, double xj, double yj, double x, double y) {
    if (xi == xj) return x == xi && std::min(yi, yj) <= y && y <= std::max(yi, yj);
    if (yi == yj) return y == yi && std::min(xi, xj) <= x && x <= std::max(xi, xj);
    const EdgeLine line = edgeLineThrough(xi, yi, xj, yj);
    return y == line.slope * x + line.intercept;
}

}  // namespace

bool withinBounds(const PreparedTriangle& t, double x, double y) {
    return t.xmin() <= x && x <= t.xmax() && t.ymin() <= y && y <= t.ymax();
}

bool pointInTriangle(const PreparedTriangle& t, double x, double y) {
    int crossings = 0;
    if (crossesEdge(t.x1, t.y1, t.x2, t.y2, x, y)) ++crossings;
    if (crossesEdge(t.x2, t.y2, t.x3, t.y3, x, y)) ++crossings;
    if (crossesEdge(t.x3, t.y3, t.x1, t.y1, x, y)) ++crossings;
    return crossings % 2 == 1;
}

bool pointOnTriangleEdge(const PreparedTriangle& t, double x, double y) {
    return onEdge(t.x1, t.y1, t.x2, t.y2, x, y) || onEdge(t.x2, t.y2, t.x3, t.y3, x, y) ||
           onEdge(t.x3, t.y3, t.x1, t.y1, x, y);
}

bool containsPoint(const PreparedTriangle& t, double x, double y) {
    return withinBounds(t, x, y) && (pointInTriangle(t, x, y) || pointOnTriangleEdge(t, x, y));
}

double elevationAt(const PreparedTriangle& t, double x, double y) {
    const TrianglePlane plane = planeOf(t);
    const double zmin = lowestZ(t);
    if ((zmin - highestZ(t)) * plane.c == 0) return zmin;
    // Measured from the first vertex: -(a x + b y + d) / c at survey
    // coordinates keeps only centimetres.
    return t.z1 - (plane.a * (x - t.x1) + plane.b * (y - t.y1)) / plane.c;
}

}  // namespace tz::terrain::volume
