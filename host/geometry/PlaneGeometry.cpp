#include "PlaneGeometry.h"

#include <algorithm>
#include <cmath>

namespace tz::geom {

namespace {

constexpr double kTwoPi = 6.283185307179586476925;
constexpr double kParameterTolerance = 1e-10;

struct Vec {
    double x, y, z;
};
Vec sub(const Point3& a, const Point3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec cross(const Vec& a, const Vec& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double norm(const Vec& a) { return std::sqrt(dot(a, a)); }

bool withinUnit(double t) { return t >= -kParameterTolerance && t <= 1.0 + kParameterTolerance; }

}  // namespace

double angle(const Point3& from, const Point3& to) {
    double a = std::atan2(to.y - from.y, to.x - from.x);
    if (a < 0) a += kTwoPi;
    return a;
}

Point3 polar(const Point3& from, double angle, double distance) {
    return {from.x + distance * std::cos(angle), from.y + distance * std::sin(angle), from.z};
}

double distance(const Point3& a, const Point3& b) { return norm(sub(b, a)); }

std::optional<Point3> intersect(const Point3& from1, const Point3& to1, const Point3& from2,
                                const Point3& to2, bool onSegments) {
    const Vec d1 = sub(to1, from1);
    const Vec d2 = sub(to2, from2);
    const Vec w = sub(from2, from1);
    const Vec n = cross(d1, d2);
    const double nn = dot(n, n);
    const double len1 = norm(d1);
    const double len2 = norm(d2);
    if (len1 == 0 || len2 == 0) return std::nullopt;
    // Parallel (or nearly so): the sine of the angle between the lines vanishes.
    if (nn <= 1e-24 * len1 * len1 * len2 * len2) return std::nullopt;

    double t, s;
    if (d1.z == 0 && d2.z == 0 && w.z == 0) {
        // Both lines in one horizontal plane: the plan formula, exact in its inputs.
        const double den = d1.x * d2.y - d1.y * d2.x;
        t = (w.x * d2.y - w.y * d2.x) / den;
        s = (w.x * d1.y - w.y * d1.x) / den;
    } else {
        t = dot(cross(w, d2), n) / nn;
        s = dot(cross(w, d1), n) / nn;
        // Skew lines do not meet: compare the closest points of the two lines.
        const Point3 p{from1.x + t * d1.x, from1.y + t * d1.y, from1.z + t * d1.z};
        const Point3 q{from2.x + s * d2.x, from2.y + s * d2.y, from2.z + s * d2.z};
        const double scale = std::max({1.0, std::fabs(from1.x), std::fabs(from1.y), std::fabs(from1.z),
                                       std::fabs(from2.x), std::fabs(from2.y), std::fabs(from2.z), len1,
                                       len2});
        if (distance(p, q) > 1e-9 * scale) return std::nullopt;
    }
    if (onSegments && !(withinUnit(t) && withinUnit(s))) return std::nullopt;
    return Point3{from1.x + t * d1.x, from1.y + t * d1.y, from1.z + t * d1.z};
}

}  // namespace tz::geom
