#include "contour/ContourSmoothing.h"

#include <algorithm>
#include <cmath>

#include "contour/PlanEquality.h"

namespace tz::terrain {

namespace {

using tz::geom::angle;
using tz::geom::polar;

double planLength(const Point3& a, const Point3& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

// Distance of a guide point placed beyond a chain end (or, on a chain of two
// segments, behind the second piece).
double endGuideDistance(double length) { return length > 5 ? 1.0 : length > 2.5 ? 0.5 : 0.1; }

// Distance of a guide point placed back towards the previous vertex.
double previousGuideDistance(double length) { return length > 5 ? 0.6 * length : length > 2.5 ? 0.5 : 0.1; }

// Distance of a guide point placed on towards the next vertex.
double nextGuideDistance(double length) { return length > 5 ? 0.6 * length : length > 2.5 ? 2.5 : 0.5; }

}  // namespace

int hermitePieceCount(double planLength) {
    const double L = planLength;
    if (!std::isfinite(L)) return 5;
    const double quotient = L >= 1000 ? L / 100 : L >= 500 ? L / 80 : L >= 50 ? L / 4 : L >= 25 ? L / 2 : L;
    const double whole = std::trunc(quotient);
    if (!(whole > 1)) return 5;
    if (whole >= kMaxPiecePoints) return kMaxPiecePoints;
    return static_cast<int>(whole);
}

int hermitePieceCountAtMost(double planLength) {
    const int peakBelow = planLength >= 500 ? 124 : planLength >= 25 ? 24 : 5;
    return std::max(hermitePieceCount(planLength), peakBelow);
}

std::vector<Point3> smoothContour(const std::vector<Point3>& vertices) {
    const std::size_t n = vertices.empty() ? 0 : vertices.size() - 1;  // segments
    if (n == 0) return vertices;

    std::vector<Point3> curve;
    for (std::size_t j = 0; j < n; ++j) {
        const Point3& p1 = vertices[j];
        const Point3& p2 = vertices[j + 1];
        const double L = planLength(p1, p2);

        Point3 p0, p3;
        if (j == 0)
            p0 = polar(p1, angle(vertices[1], vertices[0]), endGuideDistance(L));
        else if (n == 2)
            p0 = polar(p1, angle(p2, p1), endGuideDistance(L));
        else
            p0 = polar(p1, angle(p1, vertices[j - 1]), previousGuideDistance(L));
        if (j + 1 == n)
            p3 = polar(p2, angle(p1, p2), endGuideDistance(L));
        else
            p3 = polar(p2, angle(p2, vertices[j + 2]), nextGuideDistance(L));

        const double m1x = ((p1.x - p0.x) + (p2.x - p1.x)) / 4;
        const double m1y = ((p1.y - p0.y) + (p2.y - p1.y)) / 4;
        const double m2x = ((p2.x - p1.x) + (p3.x - p2.x)) / 4;
        const double m2y = ((p2.y - p1.y) + (p3.y - p2.y)) / 4;

        curve.push_back(p1);
        const int count = hermitePieceCount(L);
        const double step = 1.0 / count;
        double v = 0;
        for (int i = 0; i < count; ++i) {
            v += step;
            const double v2 = v * v;
            const double v3 = v2 * v;
            const double h00 = 2 * v3 - 3 * v2 + 1;
            const double h10 = v3 - 2 * v2 + v;
            const double h01 = -2 * v3 + 3 * v2;
            const double h11 = v3 - v2;
            curve.push_back({h00 * p1.x + h10 * m1x + h11 * m2x + h01 * p2.x,
                             h00 * p1.y + h10 * m1y + h11 * m2y + h01 * p2.y, p1.z});
        }
    }
    for (const Point3& p : curve)
        if (!isFinitePoint(p)) return vertices;
    return curve;
}

}  // namespace tz::terrain
