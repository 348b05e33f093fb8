// A direct, literal rendering of the contour tracing procedure: full scans,
// an edge toggle list, neighbour-exchange sorting and list-order searches.
// Slow on purpose; the tests compare the fast tracer against it bit for bit.
#pragma once

#include <vector>

#include "contour/ContourSegment.h"
#include "contour/ContourTracer.h"
#include "contour/TinOutline.h"
#include "tin/Triangle.h"

namespace tz::terrain::oracle {

struct Chain {
    std::vector<Point3> vertices;
    bool drawn = false;
};

// The edge toggle list over all triangles in file order.
std::vector<OutlineEdge> outline(const std::vector<Triangle>& triangles);

// Whether p lies on the outline (any edge, in list order).
bool onOutline(const std::vector<OutlineEdge>& outline, const Point3& p);

// Every triangle cut in file order, turned, bubble-sorted, duplicates removed,
// then the lone-segment rule over all triangles.
std::vector<ContourSegment> segments(const std::vector<Triangle>& triangles, double e);

// Chaining with use marks and the drawing decision.
std::vector<Chain> chains(const std::vector<ContourSegment>& segments, const std::vector<OutlineEdge>& outline);

std::vector<Point3> smooth(const std::vector<Point3>& vertices);

bool isIndex(double z, double indexInterval);

// The whole of one level: the chains drawn, smoothed when asked, with their kind.
std::vector<ContourChain> traceLevel(const std::vector<Triangle>& triangles, const std::vector<OutlineEdge>& outline,
                                     double e, const ContourOptions& options);

}  // namespace tz::terrain::oracle
