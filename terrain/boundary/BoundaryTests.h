// The two tests of a triangle against a set of boundary and void segments
// (or, in fault insertion, against a closed chain of edges): does it cross
// a segment, and does it lie inside by the even-odd rule. The segments are
// indexed once so that each test looks only at the segments near the
// triangle; the answers are those of testing every segment in turn.
#pragma once

#include <cstdint>
#include <vector>

#include "boundary/CellGrid.h"
#include "boundary/Segment.h"
#include "tin/Triangle.h"

namespace tz::terrain {

class BoundarySet {
public:
    explicit BoundarySet(std::vector<Segment> segments);

    const std::vector<Segment>& segments() const { return segments_; }

    // Calls visit(segment index) for every segment whose bounding box meets
    // the triangle's, both widened by the plan tolerance, each once.
    template <class Visit>
    void forEachSegmentNear(const Triangle& t, Visit&& visit) const;

    // How many segments the even-odd rule counts for the point (x, y): those
    // with yA != yB, min(yA, yB) < y <= max(yA, yB), x <= max(xA, xB), and
    // either xA = xB or a crossing abscissa X >= x or within 0.001 of x.
    size_t countCrossingsRightOf(double x, double y) const;

private:
    std::vector<Segment> segments_;
    CellGrid grid_;
    std::vector<std::vector<uint32_t>> cells_;
    std::vector<uint32_t> everywhere_;  // segments too large for the grid
    // The inside test's index: rows of equal height in y. In a row, a
    // segment that ends there is tested as it stands; one passing through
    // is held as a piece, the x range it covers in the row, so that a piece
    // clearly right or clearly left of the point is counted or left out
    // without its crossing being worked out.
    struct RowPiece {
        double xlo, xhi;  // widened by more than the crossing's rounding
        uint32_t index;
    };
    struct Row {
        std::vector<uint32_t> ending;
        std::vector<RowPiece> pieces;     // by xlo
        std::vector<double> widestSoFar;  // of pieces[0..i], the largest xhi
    };
    double rowOrigin_ = 0, rowInverse_ = 1;
    int rowCount_ = 1;
    std::vector<Row> rows_;
    std::vector<uint32_t> allRows_;  // segments with a coordinate that is no number
    mutable std::vector<uint32_t> seen_;
    mutable uint32_t seenStamp_ = 0;

    int rowOf(double y) const {
        const double v = (y - rowOrigin_) * rowInverse_;
        if (!(v >= 0)) return 0;
        if (v >= rowCount_) return rowCount_ - 1;
        return static_cast<int>(v);
    }
};

// True when the segment crosses an edge of the triangle: for each edge
// (P, Q) in order, with den = (yB - yA)(xQ - xP) - (xB - xA)(yQ - yP) not
// 0, t and u the positions along edge and segment and X = P + t(Q - P):
// an edge with an end exactly on A or B ends the segment's examination;
// otherwise it crosses when neither end is the same in plan as A or B, X
// is the same in plan as neither, and 0 <= t, u <= 1.
bool segmentCrossesTriangle(const Segment& segment, const Triangle& triangle);

// The triangle crosses the boundary when a segment near it crosses it.
// Only segments whose bounding box meets the triangle's (within the plan
// tolerance) are examined: far away, a segment lying on the line of an
// edge could otherwise be reported crossing through rounding alone.
bool crossesBoundary(const Triangle& triangle, const BoundarySet& boundary);

// Inside by the even-odd rule, at the test point (P1 + 2 P2 + P3) / 4
// (x = ((x2 + x3)/2 + (x2 + x1)/2)/2, y likewise): an odd count of
// BoundarySet::countCrossingsRightOf.
bool insideBoundary(const Triangle& triangle, const BoundarySet& boundary);

template <class Visit>
void BoundarySet::forEachSegmentNear(const Triangle& t, Visit&& visit) const {
    if (seen_.size() < segments_.size()) seen_.assign(segments_.size(), 0);
    ++seenStamp_;
    const double xlo = std::min({t.p1.x, t.p2.x, t.p3.x}) - kPlanTolerance;
    const double xhi = std::max({t.p1.x, t.p2.x, t.p3.x}) + kPlanTolerance;
    const double ylo = std::min({t.p1.y, t.p2.y, t.p3.y}) - kPlanTolerance;
    const double yhi = std::max({t.p1.y, t.p2.y, t.p3.y}) + kPlanTolerance;
    auto consider = [&](uint32_t index) {
        if (seen_[index] == seenStamp_) return;
        seen_[index] = seenStamp_;
        const Segment& s = segments_[index];
        if (std::max(s.a.x, s.b.x) + kPlanTolerance < xlo || std::min(s.a.x, s.b.x) - kPlanTolerance > xhi ||
            std::max(s.a.y, s.b.y) + kPlanTolerance < ylo || std::min(s.a.y, s.b.y) - kPlanTolerance > yhi)
            return;
        visit(index);
    };
    for (uint32_t index : everywhere_) consider(index);
    grid_.forEachCellInBox(xlo, ylo, xhi, yhi, [&](size_t cell) {
        for (uint32_t index : cells_[cell]) consider(index);
    });
}

}  // namespace tz::terrain
