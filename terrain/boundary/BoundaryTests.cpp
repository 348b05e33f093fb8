#include "boundary/BoundaryTests.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tz::terrain {
namespace {

constexpr size_t kMaxCellsPerSegment = 64;
constexpr double kPiecesPerSegment = 16;

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

CellGrid gridOver(const std::vector<Segment>& segments) {
    const Extent e = extentOf(segments);
    return CellGrid(e.xlo, e.ylo, e.xhi, e.yhi, std::max<size_t>(segments.size(), 1));
}

// Whether the even-odd rule counts segment A-B for the point (x, y).
bool countsCrossing(const Segment& s, double x, double y) {
    const Point3& A = s.a;
    const Point3& B = s.b;
    if (A.y == B.y || !(std::min(A.y, B.y) < y && y <= std::max(A.y, B.y)) || !(x <= std::max(A.x, B.x))) {
        return false;
    }
    if (A.x == B.x) return true;
    const double X = (y - A.y) * (B.x - A.x) / (B.y - A.y) + A.x;
    return X >= x || std::fabs(x - X) < 0.001;
}

// More than the rounding of a crossing's abscissa (and of its distance to
// the point) can ever move it, at these coordinates.
double roundingMargin(const Segment& s) {
    return 1e-12 * (1 + std::fabs(s.a.x) + std::fabs(s.b.x) + std::fabs(s.b.x - s.a.x));
}

}  // namespace

BoundarySet::BoundarySet(std::vector<Segment> segments)
    : segments_(std::move(segments)), grid_(gridOver(segments_)) {
    cells_.resize(grid_.cellCount());
    const Extent extent = extentOf(segments_);
    rowOrigin_ = extent.ylo;
    const double height = extent.yhi - extent.ylo;
    // As many rows as segments, so that few end in any one row, unless the
    // pieces of the segments passing through rows would then pass about
    // kPiecesPerSegment per segment (voids of many rows each).
    double heights = 0;  // of the segments, in heights of the whole set
    for (const Segment& s : segments_) heights += std::fabs(s.b.y - s.a.y) / height;
    const double rowsWanted = std::min<double>(segments_.size(), kPiecesPerSegment * segments_.size() / heights);
    rowCount_ = static_cast<int>(std::clamp(std::isfinite(rowsWanted) ? rowsWanted : 1.0, 1.0, 65536.0));
    rowInverse_ = height > 0 && std::isfinite(height) ? rowCount_ / height : 1;
    rows_.resize(static_cast<size_t>(rowCount_));
    const double rowWidening = 0.01 / rowInverse_ + 1e-12 * (1 + std::fabs(rowOrigin_) + std::fabs(height));
    // Rows over a set with a coordinate that is no number hold nothing.
    const bool rowsFinite = std::isfinite(rowOrigin_) && std::isfinite(height);
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
        const bool finite =
            std::isfinite(s.a.x) && std::isfinite(s.a.y) && std::isfinite(s.b.x) && std::isfinite(s.b.y);
        if (!finite || !rowsFinite) {
            allRows_.push_back(index);
            continue;
        }
        rows_[static_cast<size_t>(first)].ending.push_back(index);
        if (last != first) rows_[static_cast<size_t>(last)].ending.push_back(index);
        // In a row strictly between its end rows, every y the row holds lies
        // strictly inside the segment's y range (rows follow y in order).
        const double margin = roundingMargin(s);
        for (int r = first + 1; r < last; ++r) {
            // The row's y range, widened beyond what the rounding of rowOf
            // can reach, and the x the segment has there.
            const double ylo = rowOrigin_ + r / rowInverse_ - rowWidening;
            const double yhi = rowOrigin_ + (r + 1) / rowInverse_ + rowWidening;
            const double x0 = s.a.x + (ylo - s.a.y) / (s.b.y - s.a.y) * (s.b.x - s.a.x);
            const double x1 = s.a.x + (yhi - s.a.y) / (s.b.y - s.a.y) * (s.b.x - s.a.x);
            const double xlo = std::max(std::min(x0, x1), std::min(s.a.x, s.b.x));
            const double xhi = std::min(std::max(x0, x1), std::max(s.a.x, s.b.x));
            rows_[static_cast<size_t>(r)].pieces.push_back({xlo - margin, xhi + margin, index});
        }
    }
    for (Row& row : rows_) {
        std::sort(row.pieces.begin(), row.pieces.end(),
                  [](const RowPiece& a, const RowPiece& b) { return a.xlo < b.xlo; });
        row.widestSoFar.resize(row.pieces.size());
        double widest = -std::numeric_limits<double>::infinity();
        for (size_t i = 0; i < row.pieces.size(); ++i) {
            widest = std::max(widest, row.pieces[i].xhi);
            row.widestSoFar[i] = widest;
        }
    }
}

size_t BoundarySet::countCrossingsRightOf(double x, double y) const {
    size_t count = 0;
    for (uint32_t index : allRows_) count += countsCrossing(segments_[index], x, y);
    const Row& row = rows_[static_cast<size_t>(rowOf(y))];
    for (uint32_t index : row.ending) count += countsCrossing(segments_[index], x, y);
    // A piece passing through the row meets the point's y. Wholly right of
    // x its crossing counts; more than 0.001 left of x it does not; the
    // others are tested as they stand.
    const auto right = std::upper_bound(row.pieces.begin(), row.pieces.end(), x,
                                        [](double value, const RowPiece& piece) { return value < piece.xlo; });
    count += static_cast<size_t>(row.pieces.end() - right);
    const double reach = x - 0.001;
    for (size_t i = static_cast<size_t>(right - row.pieces.begin()); i-- > 0 && row.widestSoFar[i] >= reach;) {
        if (row.pieces[i].xhi >= reach) count += countsCrossing(segments_[row.pieces[i].index], x, y);
    }
    return count;
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
    return boundary.countCrossingsRightOf(xT, yT) % 2 == 1;
}

}  // namespace tz::terrain
