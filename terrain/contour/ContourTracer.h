// Contour tracing of one TIN: built once (its outline), then asked for the
// chains to draw at each level. Levels are traced a run at a time: the
// triangles reaching each level of the run are sorted out in one pass over
// the TIN, and each level then costs in proportion to them.
//
//   ContourTracer tracer(std::move(triangles));
//   const TrianglesByLevel run = tracer.sortByLevel(levels);   // ascending
//   for (std::size_t k = 0; k < run.levelCount(); ++k)
//       for (const ContourChain& c : tracer.traceLevel(run, k, {smooth, indexInterval}))
//           ...one POLYLINE on the index or regular layer, a VERTEX per point, SEQEND
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "contour/ContourSegment.h"
#include "contour/TinOutline.h"
#include "contour/TrianglesByLevel.h"
#include "tin/Triangle.h"

namespace tz::terrain {

struct ContourOptions {
    bool smooth = false;       // Hermite curves instead of straight chains
    double indexInterval = 0;  // see effectiveIndexInterval; 0 makes every contour regular
};

// One contour to draw: a polyline through `points` in order, on the index
// contour layer when `isIndex`, else on the regular contour layer. No
// coordinate is a negative zero.
struct ContourChain {
    std::vector<Point3> points;
    bool isIndex = false;
};

struct ElevationRange {
    double lowest, highest;
};

// Lowest and highest vertex elevation of the TIN; none when it has no finite vertex.
std::optional<ElevationRange> tinElevationRange(const std::vector<Triangle>& triangles);

class ContourTracer {
public:
    // Triangles in file order. Triangles with a non-finite coordinate (which
    // no TIN file yields) take no part in anything.
    explicit ContourTracer(std::vector<Triangle> triangles);

    // The triangles reaching each of `levels` (ascending, none NaN).
    TrianglesByLevel sortByLevel(std::span<const double> levels) const;

    // The chains to draw at level k of `run` (made by sortByLevel of this
    // tracer), in drawing order.
    std::vector<ContourChain> traceLevel(const TrianglesByLevel& run, std::size_t k,
                                         const ContourOptions& options) const;

    // The canonical segments of level k of `run`, after the lone-segment
    // rule: every triangle cut at the level in file order, turned, sorted,
    // duplicates removed; a single segment lying on an edge shared by exactly
    // two triangles is dropped.
    std::vector<ContourSegment> segmentsAtLevel(const TrianglesByLevel& run, std::size_t k) const;

    // The same for one level e alone (one pass over the TIN); NaN reaches nothing.
    std::vector<ContourChain> traceLevel(double e, const ContourOptions& options) const;
    std::vector<ContourSegment> segmentsAtLevel(double e) const;

    const std::vector<Triangle>& triangles() const { return triangles_; }
    const TinOutline& outline() const { return outline_; }

private:
    std::vector<Triangle> triangles_;
    std::vector<bool> usable_;
    TinOutline outline_;
};

}  // namespace tz::terrain
