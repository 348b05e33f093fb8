// The host's plane geometry calls over the pure functions of PlaneGeometry.h.
#include "PlaneGeometry.h"
#include "acdbads.h"
#include "acutads.h"

namespace {

tz::geom::Point3 toPoint(const ads_point p) { return {p[X], p[Y], p[Z]}; }

void fromPoint(const tz::geom::Point3& p, ads_point out) {
    out[X] = p.x;
    out[Y] = p.y;
    out[Z] = p.z;
}

}  // namespace

ads_real acutAngle(const ads_point from, const ads_point to) {
    if (!from || !to) return 0;
    return tz::geom::angle(toPoint(from), toPoint(to));
}

ads_real acutDistance(const ads_point from, const ads_point to) {
    if (!from || !to) return 0;
    return tz::geom::distance(toPoint(from), toPoint(to));
}

void acutPolar(const ads_point from, ads_real angle, ads_real distance, ads_point result) {
    if (!from || !result) return;
    // `result` may be `from` itself: read it whole before writing.
    fromPoint(tz::geom::polar(toPoint(from), angle, distance), result);
}

int acdbInters(const ads_point from1, const ads_point to1, const ads_point from2, const ads_point to2,
               int testOn, ads_point result) {
    if (!from1 || !to1 || !from2 || !to2 || !result) return RTERROR;
    const auto meeting =
        tz::geom::intersect(toPoint(from1), toPoint(to1), toPoint(from2), toPoint(to2), testOn != 0);
    if (!meeting) return RTNONE;
    fromPoint(*meeting, result);
    return RTNORM;
}
