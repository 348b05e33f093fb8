// The part of the plan that the cuts of one profile, or of one set of
// sections, can reach: loading a TIN of millions of triangles for a road a
// few kilometres long, most of its edges can cross no cut, and leaving them
// out of the edge list saves most of the time and memory of loading it.
//
// Each cut is covered by a box: a straight segment by its own, an arc by a
// box around the whole arc. Boxes and edges are widened by several times
// what the host's intersection can stray from the exact one (its parameter
// tolerance, and for nearly parallel lines a rounding of up to about 0.2 %
// of the two lengths), so an edge the corridor rules out crosses no cut.
// Whether an edge is kept depends on the edge alone, not on its direction
// or on the triangle it came in, so the kept edges are the whole list's,
// held once each in the same order, and give the same crossings.
#pragma once

#include <cstdint>
#include <vector>

#include "Alignment.h"
#include "Edge.h"
#include "SegmentGrid.h"
#include "tin/Triangle.h"

namespace tz::terrain::profile {

struct PlanBox {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

class CutCorridor {
public:
    // Every edge may cross: for cuts not known when the edges are loaded.
    static CutCorridor everywhere();
    // No edge may cross: for cuts that will not be made.
    static CutCorridor nowhere();
    // The cuts cutProfile makes along the alignment: its straight segments
    // and the chords of its arcs (the closing segment of a closed polyline
    // is not cut).
    static CutCorridor along(const Alignment& alignment);
    // Straight cuts, such as section lines.
    static CutCorridor around(const std::vector<PlanSegment>& cuts);

    bool mayCross(const Edge& edge) const;
    // False only when no edge of the triangle may cross a cut; cheaper than
    // asking for each edge, and true for most triangles near the cuts.
    bool mayCrossAnEdgeOf(const tz::terrain::Triangle& triangle) const;

private:
    explicit CutCorridor(std::vector<PlanBox> boxes);
    bool meets(const PlanBox& box) const;
    int column(double x) const;
    int row(double y) const;

    bool everywhere_ = false;
    std::vector<PlanBox> boxes_;  // widened
    PlanBox extent_;              // of all boxes
    int columns_ = 1, rows_ = 1;
    double cellWidth_ = 1, cellHeight_ = 1;
    std::vector<std::uint32_t> cellStart_;  // CSR offsets, one more than the cells
    std::vector<std::uint32_t> cellBoxes_;  // the boxes that touch each cell
};

}  // namespace tz::terrain::profile
