// One triangle's piece of a contour, and the canonical order that makes the
// segments of a level independent of how the triangles happened to be stored.
#pragma once

#include <optional>
#include <vector>

#include "tin/Triangle.h"

namespace tz::terrain {

struct ContourSegment {
    Point3 start, end;
};

// The segment where the triangle meets the level `e`, or none.
// Flat triangles, triangles the level misses, and triangles touching the level
// only at one vertex give none; an edge lying at the level gives that edge.
// Vertices at the level are taken as they are; crossings are interpolated
// along the edge from its first-named vertex, with z = e. All comparisons with
// `e` are exact. Segments with a non-finite end (overflow in the
// interpolation) are not returned.
std::optional<ContourSegment> cutTriangleAtLevel(const Triangle& triangle, double e);

// Start and end by exact point order (x, then y, then z): start first, then end.
bool segmentLess(const ContourSegment& a, const ContourSegment& b);

// Both ends exactly equal, in this direction.
bool sameSegment(const ContourSegment& a, const ContourSegment& b);

// Puts the segments of one level into canonical order, in place: each turned so
// that its start is the smaller point, sorted by start then end with equal
// segments keeping their input order, and each segment equal to the one before
// it removed (the first of a run stays).
void canonicalizeSegments(std::vector<ContourSegment>& segments);

}  // namespace tz::terrain
