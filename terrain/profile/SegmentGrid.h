// A uniform grid over plan segments that answers "which segments may cross
// this one?" with a superset of the answer, so that callers can run their
// exact crossing test on the candidates only and still find every crossing
// that testing all segments would find, in the same order.
//
// Each segment is registered in every cell touched by its box widened by a
// margin well above the tolerance and rounding of the host's segment
// intersection; a query walks the cells along its own widened segment. Long
// segments are registered and queried piece by piece, so a long diagonal
// touches a band of cells, not its whole bounding box.
#pragma once

#include <cstdint>
#include <vector>

namespace tz::terrain::profile {

struct PlanSegment {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class SegmentGrid {
public:
    // Segment i belongs to owner i / segmentsPerOwner (1 for an edge list,
    // 3 for the edges of a list of triangles).
    SegmentGrid(const std::vector<PlanSegment>& segments, std::size_t segmentsPerOwner);

    // The owners of every segment that passes near `query`, ascending, each
    // once. Every segment that the host's intersection (end points counted,
    // within its tolerance) finds crossing `query` is among them.
    void ownersNear(const PlanSegment& query, std::vector<std::uint32_t>& owners) const;

    std::size_t ownerCount() const { return stamps_.size(); }

private:
    template <typename Visit>
    void visitCells(const PlanSegment& segment, double margin, bool clip, Visit&& visit) const;
    int cellX(double x) const;
    int cellY(double y) const;

    double minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0;
    double cellWidth_ = 1, cellHeight_ = 1, pieceLength_ = 1;
    double maxMargin_ = 0;  // the widest band of a registered segment
    int columns_ = 1, rows_ = 1;
    std::vector<std::uint32_t> cellStart_;   // CSR offsets, one more than the cells
    std::vector<std::uint32_t> cellOwners_;  // owners per cell, ascending
    mutable std::vector<std::uint32_t> stamps_;  // per owner: the query that last took it
    mutable std::uint32_t query_ = 0;
};

// Half-width of the band around a segment in which the host's intersection
// may still report a crossing (its parameter tolerance and rounding).
double crossingMargin(const PlanSegment& segment);

}  // namespace tz::terrain::profile
