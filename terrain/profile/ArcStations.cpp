#include "ArcStations.h"

#include <algorithm>
#include <cmath>

namespace tz::terrain::profile {

ArcStations::ArcStations(const Point3& start, const Point3& end, double bulge) {
    const double absBulge = std::fabs(bulge);
    const double included = 4.0 * std::atan(absBulge);
    const double halfChord = tz::geom::distance(start, end) / 2.0;
    radius_ = halfChord / std::sin(included / 2.0);
    length_ = radius_ * included;
    const double chordAngle = tz::geom::angle(start, end);
    const Point3 middle = tz::geom::polar(start, chordAngle, halfChord);
    if (absBulge == 1.0) {
        centre_ = middle;
    } else {
        // Left of the chord for 0 < b < 1 and b < -1, right of it otherwise:
        // an arc longer than a half circle has its centre beyond the chord.
        const bool left = (bulge > 0) == (absBulge < 1.0);
        const double side = left ? chordAngle + kProfileHalfPi : chordAngle - kProfileHalfPi;
        // Rounding can make R^2 - h^2 a hair negative near a half circle.
        const double offset = std::sqrt(std::max(0.0, radius_ * radius_ - halfChord * halfChord));
        centre_ = tz::geom::polar(middle, side, offset);
    }
    counterClockwise_ = bulge > 0;
    sweptDegrees_ = included * 180.0 / kProfilePi;
    circumference_ = radius_ * kProfileTwoPi;
    stepAngle_ = (1.0 / circumference_) * 360.0 / 180.0 * kProfilePi;
    startAngle_ = tz::geom::angle(centre_, start);
}

std::int64_t ArcStations::chordPointCount() const {
    if (!(length_ > 1.0)) return 0;
    // k runs while k < length: ceil(length) - 1 points.
    return static_cast<std::int64_t>(std::ceil(length_)) - 1;
}

Point3 ArcStations::chordPoint(std::int64_t k) const {
    const double turn = static_cast<double>(k) * stepAngle_;
    const double direction = counterClockwise_ ? startAngle_ + turn : startAngle_ - turn;
    return tz::geom::polar(centre_, direction, radius_);
}

double ArcStations::distanceAlong(const Point3& point) const {
    const double gamma = tz::geom::angle(centre_, point);
    const double beta = startAngle_;
    double swept;
    if (counterClockwise_)
        swept = gamma >= beta ? (gamma - beta) * 180.0 / kProfilePi : 360.0 - (beta - gamma) * 180.0 / kProfilePi;
    else
        swept = gamma <= beta ? (beta - gamma) * 180.0 / kProfilePi : 360.0 - (gamma - beta) * 180.0 / kProfilePi;
    // Points on the chords lie within the arc's sweep; an angle in the gap
    // past its end can only be a crossing at the start seen a hair behind it
    // (the chord from the start point rounds to either side).
    if (swept > sweptDegrees_ + (360.0 - sweptDegrees_) / 2.0) swept = 0.0;
    return swept * circumference_ / 360.0;
}

}  // namespace tz::terrain::profile
