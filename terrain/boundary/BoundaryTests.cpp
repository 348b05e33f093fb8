#include "boundary/BoundaryTests.h"

#include <algorithm>
#include <cmath>

namespace tz::terrain {
namespace {

constexpr size_t kMaxCellsPerSegment = 64;
constexpr int kMaxRowsPerSegment = 64;

struct Extent {
    double xlo, ylo, xhi, yhi;
};

Extent extentOf(const std::vector<Segment>& segments) {
    if (segments.empty()) return {0, 0, 1, 1};
    Extent e{segments[0].a.x, segments[0].a.y, segments[0].a.x, segments[0].a.y};
    for (const Segment& s : segments) {
        for (const Point3* p : {&s.a, &s.b}) {
            e.xlo = std::min(e.xlo, p->x), e.xhi = std::max(e.xhi, p->x);
            e.ylo = std::min(e.ylo, p->y), e.yhi = std::max(e.yhi, p->y);
        }
    }
    return e;
}

}  // namespace

BoundarySet::BoundarySet(std::vector<Segment> segments)
    : segments_(std::move(segments)),
      grid_(extentOf(segments_).xlo, extentOf(segments_).ylo, extentOf(segments_).xhi, extentOf(segments_).yhi,
            std::max<size_t>(segments_.size(), 1)) {
    cells_.resize(grid_.cellCount());
    const Extent extent = extentOf(segments_);
    rowCount_ = static_cast<int>(std::clamp<size_t>(segments_.size(), 1, 65536));
    rowOrigin_ = extent.ylo;
    const double height = extent.yhi - extent.ylo;
    rowInverse_ = height > 0 && std::isfinite(height) ? rowCount_ / height : 1;
    rows_.resize(static_cast<size_t>(rowCount_));
    for (uint32_t index = 0; index < segments_.size(); ++index) {
        const Segment& s = segments_[index];
        const double xlo = std::min(s.a.x, s.b.x) - kPlanTolerance, xhi = std::max(s.a.x, s.b.x) + kPlanTolerance;
        const double ylo = std::min(s.a.y, s.b.y) - kPlanTolerance, yhi = std::max(s.a.y, s.b.y) + kPlanTolerance;
        if (grid_.cellsInBox(xlo, ylo, xhi, yhi) > kMaxCellsPerSegment) {
            everywhere_.push_back(index);
        } else {
            grid_.forEachCellInBox(xlo, ylo, xhi, yhi, [&](size_t cell) { cells_[cell].push_back(index); });
        }
        // The inside test counts only segments that are not horizontal.
        if (s.a.y == s.b.y) continue;
        const int first = rowOf(std::min(s.a.y, s.b.y)), last = rowOf(std::max(s.a.y, s.b.y));
        if (last - first >= kMaxRowsPerSegment) {
            allRows_.push_back(index);
        } else {
            for (int r = first; r <= last; ++r) rows_[static_cast<size_t>(r)].push_back(index);
        }
    }
}

bool segmentCrossesTriangle(const Segment& segment, const Triangle& triangle) {
    const Point3& A = segment.a;
    const Point3& B = segment.b;
    const Point3* corners[3] = {&triangle.p1, &triangle.p2, &triangle.p3};
    for (int e = 0; e < 3; ++e) {
        const Point3& P = *corners[e];
        const Point3& Q = *corners[(e + 1) % 3];
        const double den = (B.y - A.y) * (Q.x - P.x) - (B.x - A.x) * (Q.y - P.y);
        if (den == 0) continue;
        const double t = ((P.y - A.y) * (B.x - A.x) - (P.x - A.x) * (B.y - A.y)) / den;
        const double u = ((P.y - A.y) * (Q.x - P.x) - (P.x - A.x) * (Q.y - P.y)) / den;
        const Point3 X{P.x + t * (Q.x - P.x), P.y + t * (Q.y - P.y), 0};
        if (planDistance(P, A) == 0 || planDistance(P, B) == 0 || planDistance(Q, A) == 0 || planDistance(Q, B) == 0)
            return false;  // this segment is done with
        if (!samePlan(P, A) && !samePlan(P, B) && !samePlan(Q, A) && !samePlan(Q, B) && !samePlan(X, A) &&
            !samePlan(X, B) && 0 <= t && t <= 1 && 0 <= u && u <= 1)
            return true;
    }
    return false;
}

bool crossesBoundary(const Triangle& triangle, const BoundarySet& boundary) {
    bool crosses = false;
    boundary.forEachSegmentNear(triangle, [&](uint32_t index) {
        if (!crosses && segmentCrossesTriangle(boundary.segments()[index], triangle)) crosses = true;
    });
    return crosses;
}

bool insideBoundary(const Triangle& t, const BoundarySet& boundary) {
    const double xT = ((t.p2.x + t.p3.x) / 2 + (t.p2.x + t.p1.x) / 2) / 2;
    const double yT = ((t.p2.y + t.p3.y) / 2 + (t.p2.y + t.p1.y) / 2) / 2;
    size_t count = 0;
    boundary.forEachSegmentAcross(yT, [&](uint32_t index) {
        const Segment& s = boundary.segments()[index];
        const Point3& A = s.a;
        const Point3& B = s.b;
        if (A.y == B.y || !(std::min(A.y, B.y) < yT && yT <= std::max(A.y, B.y)) || !(xT <= std::max(A.x, B.x)))
            return;
        if (A.x == B.x) {
            ++count;
            return;
        }
        const double X = (yT - A.y) * (B.x - A.x) / (B.y - A.y) + A.x;
        if (X >= xT || std::fabs(xT - X) < 0.001) ++count;
    });
    return count % 2 == 1;
}

}  // namespace tz::terrain
