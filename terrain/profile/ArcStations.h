// The geometry of one polyline arc as the profile cutter walks it: centre,
// radius and length from the bulge, the chord points one drawing unit of arc
// apart, and the station of a point on the arc from its swept angle.
//
// The constants are those the suite's profiles have always been computed
// with (pi to ten digits), so stations match existing profile files.
#pragma once

#include <cstdint>

#include "PlaneGeometry.h"

namespace tz::terrain::profile {

using Point3 = tz::geom::Point3;

inline constexpr double kProfilePi = 3.141592654;
inline constexpr double kProfileHalfPi = 1.570796327;
inline constexpr double kProfileTwoPi = 6.283185308;

class ArcStations {
public:
    // The arc from `start` to `end` (plan, z = 0) with bulge `bulge` != 0.
    ArcStations(const Point3& start, const Point3& end, double bulge);

    double length() const { return length_; }
    double radius() const { return radius_; }
    const Point3& centre() const { return centre_; }

    // Number of chord points S_1..S_n strictly inside the arc: one for each
    // whole drawing unit k with k < length.
    std::int64_t chordPointCount() const;

    // Chord point S_k, k >= 1: at the radius from the centre, k steps of one
    // drawing unit of arc from the start in the direction of travel.
    Point3 chordPoint(std::int64_t k) const;

    // Arc length from the start to a point on (or next to) the arc, from the
    // angle swept in the direction of travel. A point that rounding puts a
    // hair behind the start is at the start, not a full turn further on.
    double distanceAlong(const Point3& point) const;

private:
    bool counterClockwise_;
    double sweptDegrees_;  // the arc's included angle in degrees
    double radius_;
    double length_;
    double circumference_;
    double stepAngle_;
    double startAngle_;
    Point3 centre_;
};

}  // namespace tz::terrain::profile
