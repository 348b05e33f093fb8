#include "contour/ContourTracer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "contour/ContourChainer.h"
#include "contour/ContourLevels.h"
#include "contour/ContourSmoothing.h"
#include "contour/PlanEquality.h"

namespace tz::terrain {

namespace {

bool isFiniteTriangle(const Triangle& t) {
    return isFinitePoint(t.p1) && isFinitePoint(t.p2) && isFinitePoint(t.p3);
}

std::vector<bool> finiteTriangles(const std::vector<Triangle>& triangles) {
    std::vector<bool> usable(triangles.size());
    for (std::size_t i = 0; i < triangles.size(); ++i) usable[i] = isFiniteTriangle(triangles[i]);
    return usable;
}

bool hasEdge(const Triangle& t, const ContourSegment& s) {
    auto isEdge = [&](const Point3& a, const Point3& b) {
        return (samePoint(a, s.start) && samePoint(b, s.end)) || (samePoint(a, s.end) && samePoint(b, s.start));
    };
    return isEdge(t.p1, t.p2) || isEdge(t.p2, t.p3) || isEdge(t.p3, t.p1);
}

}  // namespace

std::optional<ElevationRange> tinElevationRange(const std::vector<Triangle>& triangles) {
    std::optional<ElevationRange> range;
    for (const Triangle& t : triangles)
        for (const Point3* p : {&t.p1, &t.p2, &t.p3}) {
            if (!std::isfinite(p->z)) continue;
            if (!range) range = ElevationRange{p->z, p->z};
            range->lowest = std::min(range->lowest, p->z);
            range->highest = std::max(range->highest, p->z);
        }
    return range;
}

ContourTracer::ContourTracer(std::vector<Triangle> triangles)
    : triangles_(std::move(triangles)), usable_(finiteTriangles(triangles_)), outline_(triangles_, usable_) {}

TrianglesByLevel ContourTracer::sortByLevel(std::span<const double> levels) const {
    return TrianglesByLevel(triangles_, usable_, levels);
}

std::vector<ContourSegment> ContourTracer::segmentsAtLevel(const TrianglesByLevel& run, std::size_t k) const {
    // Only triangles whose elevation range holds e can give a segment, and they
    // come in file order, so the segments are those of a full scan, in its order.
    const double e = run.level(k);
    const std::span<const std::uint32_t> reaching = run.reaching(k);
    std::vector<ContourSegment> segments;
    segments.reserve(reaching.size());
    // The triangles lie scattered over the TIN: fetch a few ahead.
    constexpr std::size_t kAhead = 16;
    for (std::size_t k = 0; k < reaching.size(); ++k) {
        if (k + kAhead < reaching.size()) {
            const Triangle& ahead = triangles_[reaching[k + kAhead]];
            __builtin_prefetch(&ahead.p1);
            __builtin_prefetch(&ahead.p3.z);  // a triangle may straddle two cache lines
        }
        if (auto s = cutTriangleAtLevel(triangles_[reaching[k]], e)) segments.push_back(*s);
    }
    canonicalizeSegments(segments);

    // A lone segment on an interior edge lying exactly at e is the flat edge
    // between two triangles rising away from it, not a contour. Any triangle
    // with that edge has two vertices at e, so it is among the reaching ones.
    if (segments.size() == 1) {
        const auto owners = std::count_if(reaching.begin(), reaching.end(), [&](std::uint32_t i) {
            return hasEdge(triangles_[i], segments.front());
        });
        if (owners == 2) segments.clear();
    }
    return segments;
}

std::vector<ContourChain> ContourTracer::traceLevel(const TrianglesByLevel& run, std::size_t k,
                                                    const ContourOptions& options) const {
    std::vector<ContourChain> drawn;
    for (BuiltChain& chain : buildContourChains(segmentsAtLevel(run, k), outline_)) {
        if (!chain.drawn) continue;
        ContourChain contour;
        contour.points = options.smooth ? smoothContour(chain.vertices) : std::move(chain.vertices);
        // A TIN file may hold "-0.000000"; the drawing should never show -0.
        for (Point3& p : contour.points) p = {p.x + 0.0, p.y + 0.0, p.z + 0.0};
        contour.isIndex = isIndexContour(contour.points.front().z, options.indexInterval);
        drawn.push_back(std::move(contour));
    }
    return drawn;
}

std::vector<ContourChain> ContourTracer::traceLevel(double e, const ContourOptions& options) const {
    if (std::isnan(e)) return {};
    return traceLevel(sortByLevel(std::span(&e, 1)), 0, options);
}

std::vector<ContourSegment> ContourTracer::segmentsAtLevel(double e) const {
    if (std::isnan(e)) return {};
    return segmentsAtLevel(sortByLevel(std::span(&e, 1)), 0);
}

}  // namespace tz::terrain
