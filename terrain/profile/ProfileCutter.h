// Cutting a ground profile along a polyline from a TIN's edge list: every
// crossing of the polyline with an edge gives a sample (station, elevation).
#pragma once

#include <cmath>

#include <string>
#include <vector>

#include "Alignment.h"
#include "EdgeCrossing.h"

namespace tz::terrain::profile {

struct ProfileSample {
    double station = 0;
    double elevation = 0;
};

enum class CutStatus {
    ok,
    // Arcs that cannot be walked: so long, one alone or all together, that
    // cutting them one drawing unit at a time would not end in reasonable
    // time. Nothing is cut.
    unusableArc,
};

struct ProfileCut {
    CutStatus status = CutStatus::ok;
    std::vector<ProfileSample> samples;  // in the order the crossings were found
};

// Arcs longer than this many drawing units in all are refused (see unusableArc).
inline constexpr double kMaxArcLength = 1e8;

// A segment whose bulge is smaller than this is cut as the straight segment
// it is. Its arc would be drawn from a centre some chord / (4 |bulge|) away,
// and with a double's rounding there a point of it lands about chord x
// 1e-16 / |bulge| off: below this bulge that error is larger than the arc's
// whole rise over its chord (chord x |bulge| / 2), so the chord is the
// better arc. Bulges this small are what rounding leaves on straight
// segments of polylines that were edited or converted.
inline constexpr double kFlatBulge = 1e-8;
inline bool cutStraight(double bulge) { return !(std::fabs(bulge) >= kFlatBulge); }

// Walks the polyline from its first vertex to its last (the closing segment
// of a closed polyline is not cut), starting at `startStation`. Straight
// segments (and those of a bulge below kFlatBulge) are cut whole; arcs
// along their chords of one drawing unit, with stations measured along the
// arc. Samples come in the order found: segment by segment, chord by chord,
// and along each in edge-list order.
ProfileCut cutProfile(const Alignment& alignment, double startStation, const EdgeCrossingFinder& finder);

// The samples by ascending station; samples of equal station keep the order
// in which they were found.
std::vector<ProfileSample> sortedByStation(std::vector<ProfileSample> samples);

// The profile file's text: one "%lf %lf\n" line per sample, in the given order.
std::string profileText(const std::vector<ProfileSample>& samples);

}  // namespace tz::terrain::profile
