// Turns a contour's straight chain into a curve through the same vertices,
// one cubic Hermite piece per segment.
#pragma once

#include <vector>

#include "tin/Triangle.h"

namespace tz::terrain {

// Largest number of points one piece emits; only absurdly long segments
// (plan length of 100 million units or more) reach it.
inline constexpr int kMaxPiecePoints = 1000000;

// Points a piece of plan length `planLength` emits after its start: the whole
// part of L/100 from 1000, of L/80 from 500, of L/4 from 50, of L/2 from 25,
// of L below; 5 when that is 0 or 1 (or L is not finite).
int hermitePieceCount(double planLength);

// The most points a piece no longer than `planLength` can emit: the count
// is 5 below 2 and drops where its divisor grows, so a shorter piece can
// emit more (5 from 2 to 5, 24 just below 25 and 50, 124 just below 500).
int hermitePieceCountAtMost(double planLength);

// The smoothed points of a chain with vertices V0..Vn (n >= 1): each piece
// Vk -> Vk+1 emits Vk and then its N points at v = 1/N, 2/N, ... (by repeated
// addition), all at the elevation of Vk, so pieces repeat their shared point.
// Guide points before and after each piece fix its tangents; directions and
// guide points use the host's angle and polar meanings. A chain with fewer
// than two vertices, or whose curve would hold a non-finite point, is
// returned unchanged.
std::vector<Point3> smoothContour(const std::vector<Point3>& vertices);

}  // namespace tz::terrain
