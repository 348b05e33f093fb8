#include "volume/PreparedTriangle.h"

#include <algorithm>

namespace tz::terrain::volume {

TrianglePlane planeOf(const PreparedTriangle& t) {
    // From the first vertex: the same plane as from raw coordinates, whose
    // products of survey-sized eastings and northings would cancel all but a
    // few digits of a, b and d.
    const double dx2 = t.x2 - t.x1, dy2 = t.y2 - t.y1, dz2 = t.z2 - t.z1;
    const double dx3 = t.x3 - t.x1, dy3 = t.y3 - t.y1, dz3 = t.z3 - t.z1;
    TrianglePlane plane;
    plane.a = dy2 * dz3 - dy3 * dz2;
    plane.b = dz2 * dx3 - dz3 * dx2;
    plane.c = dx2 * dy3 - dx3 * dy2;
    plane.d = -(plane.a * t.x1 + plane.b * t.y1 + plane.c * t.z1);
    return plane;
}

double lowestZ(const PreparedTriangle& t) { return std::min({t.z1, t.z2, t.z3}); }

double highestZ(const PreparedTriangle& t) { return std::max({t.z1, t.z2, t.z3}); }

EdgeLine edgeLineThrough(double xi, double yi, double xj, double yj) {
    if (xi == xj) return {kVerticalEdgeSentinel, kVerticalEdgeSentinel};
    const double slope = (yi - yj) / (xi - xj);
    return {slope, yi - slope * xi};
}

EdgeLine edgeLineOf(const PreparedTriangle& t, int edge) {
    switch (edge) {
        case 0: return edgeLineThrough(t.x1, t.y1, t.x2, t.y2);
        case 1: return edgeLineThrough(t.x2, t.y2, t.x3, t.y3);
        default: return edgeLineThrough(t.x3, t.y3, t.x1, t.y1);
    }
}

PreparedTriangle prepareTriangle(const double (&n)[9]) {
    PreparedTriangle t{};
    t.x1 = n[0]; t.y1 = n[1]; t.z1 = n[2];
    t.x2 = n[3]; t.y2 = n[4]; t.z2 = n[5];
    t.x3 = n[6]; t.y3 = n[7]; t.z3 = n[8];
    return t;
}

PreparedTriangle prepareTriangle(const Triangle& triangle) {
    const double numbers[9] = {triangle.p1.x, triangle.p1.y, triangle.p1.z, triangle.p2.x, triangle.p2.y,
                               triangle.p2.z, triangle.p3.x, triangle.p3.y, triangle.p3.z};
    return prepareTriangle(numbers);
}

Triangle vertices(const PreparedTriangle& t) {
    return Triangle{{t.x1, t.y1, t.z1}, {t.x2, t.y2, t.z2}, {t.x3, t.y3, t.z3}};
}

}  // namespace tz::terrain::volume
