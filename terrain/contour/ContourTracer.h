// Contour tracing of one TIN: built once (outline and elevation index), then
// asked level by level for the chains to draw. The contours command reads:
//
//   ContourTracer tracer(std::move(triangles));
//   const IndexInterval index = effectiveIndexInterval(requestedIndex, interval);
//   ContourLevelSequence levels(start, end, interval);
//   while (auto e = levels.next())                    // break test per level
//       for (const ContourChain& c : tracer.traceLevel(*e, {smooth, index.value}))
//           ...one POLYLINE on the index or regular layer, a VERTEX per point, SEQEND
#pragma once

#include <optional>
#include <vector>

#include "contour/ContourSegment.h"
#include "contour/ElevationIndex.h"
#include "contour/TinOutline.h"
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

    // The chains to draw at elevation e, in drawing order.
    std::vector<ContourChain> traceLevel(double e, const ContourOptions& options) const;

    // The canonical segments of level e, after the lone-segment rule: every
    // triangle cut at e in file order, turned, sorted, duplicates removed; a
    // single segment lying on an edge shared by exactly two triangles is dropped.
    std::vector<ContourSegment> segmentsAtLevel(double e) const;

    const std::vector<Triangle>& triangles() const { return triangles_; }
    const TinOutline& outline() const { return outline_; }

private:
    std::vector<Triangle> triangles_;
    std::vector<bool> usable_;
    TinOutline outline_;
    ElevationIndex elevationIndex_;
};

}  // namespace tz::terrain
