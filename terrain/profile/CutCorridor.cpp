#include "CutCorridor.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "ArcStations.h"
#include "ProfileCutter.h"

namespace tz::terrain::profile {

namespace {

// Cells per side of the index of boxes, at most; fewer when the boxes would
// be listed in too many cells (a polyline of many long segments).
constexpr int kMostCellsPerSide = 256;
constexpr std::uint64_t kMostListedBoxes = 4'000'000;
// A question that would look at more cells or boxes than this is answered
// "may cross": keeping an edge is always safe, and so no triangle costs
// more than a bounded look-up, whatever the cuts.
constexpr std::int64_t kMostCellsPerQuestion = 64;
constexpr int kMostBoxTests = 256;

double largestMagnitude(double a, double b, double c, double d) {
    return std::max({std::fabs(a), std::fabs(b), std::fabs(c), std::fabs(d)});
}

// How far from a segment's box the host's intersection may still place a
// crossing with another segment, with room to spare: for nearly parallel
// lines (it refuses only those whose angle has a sine below 1e-12) its
// rounding can reach about 0.2 % of the two lengths, so each segment takes
// 2 % of its own; coordinates are rounded to about 1e-16 of their size
// (1e-9 taken). The sum of |dx| and |dy| bounds the length from above and
// grows with a box, so that a triangle's margin is never below its edges'.
double strayMargin(double width, double height, double largest) {
    return 2e-2 * (width + height) + 1e-9 * largest;
}

PlanBox widened(double minX, double minY, double maxX, double maxY, double margin) {
    return {minX - margin, minY - margin, maxX + margin, maxY + margin};
}

PlanBox segmentBox(double x0, double y0, double x1, double y1) {
    const double w = std::fabs(x1 - x0), h = std::fabs(y1 - y0);
    return widened(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1),
                   strayMargin(w, h, largestMagnitude(x0, y0, x1, y1)));
}

// The box of every chord cutProfile cuts along the arc. An arc of at most a
// half circle lies within its chord's span and its rise (bulge x half the
// chord) off the chord; a longer one within its circle. The chords are a
// unit of arc long or shorter; the centre and the chord points carry the
// rounding of the cutter's constants for pi (about 1e-10 of the radius).
PlanBox arcBox(const Point3& from, const Point3& to, double bulge) {
    const ArcStations arc(from, to, bulge);
    const double chord = tz::geom::distance(from, to);
    double minX = std::min(from.x, to.x), maxX = std::max(from.x, to.x);
    double minY = std::min(from.y, to.y), maxY = std::max(from.y, to.y);
    double reach = 0;
    if (std::fabs(bulge) <= 1) {
        reach = std::fabs(bulge) * chord / 2;
    } else {
        const Point3& c = arc.centre();
        minX = std::min(minX, c.x - arc.radius()), maxX = std::max(maxX, c.x + arc.radius());
        minY = std::min(minY, c.y - arc.radius()), maxY = std::max(maxY, c.y + arc.radius());
    }
    const double largest = largestMagnitude(minX, minY, maxX, maxY);
    const double margin = reach + strayMargin(2, 2, largest) + 1e-6 * (arc.radius() + chord);
    return widened(minX, minY, maxX, maxY, margin);
}

bool finite(const PlanBox& b) {
    return std::isfinite(b.minX) && std::isfinite(b.minY) && std::isfinite(b.maxX) && std::isfinite(b.maxY);
}

// A coordinate that is not a number hides from min and max; such an edge is
// kept, and so is every triangle that has it.
bool placeable(std::initializer_list<double> coordinates) {
    return std::all_of(coordinates.begin(), coordinates.end(), [](double c) { return std::isfinite(c); });
}

bool overlap(const PlanBox& a, const PlanBox& b) {
    return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

}  // namespace

CutCorridor CutCorridor::everywhere() {
    CutCorridor corridor({});
    corridor.everywhere_ = true;
    return corridor;
}

CutCorridor CutCorridor::nowhere() { return CutCorridor({}); }

CutCorridor CutCorridor::along(const Alignment& alignment) {
    std::vector<PlanBox> boxes;
    const auto& v = alignment.vertices;
    for (std::size_t i = 1; i < v.size(); ++i) {
        const double bulge = v[i - 1].bulge;
        if (cutStraight(bulge))
            boxes.push_back(segmentBox(v[i - 1].x, v[i - 1].y, v[i].x, v[i].y));
        else
            boxes.push_back(arcBox({v[i - 1].x, v[i - 1].y, 0}, {v[i].x, v[i].y, 0}, bulge));
    }
    return CutCorridor(std::move(boxes));
}

CutCorridor CutCorridor::around(const std::vector<PlanSegment>& cuts) {
    std::vector<PlanBox> boxes;
    boxes.reserve(cuts.size());
    for (const PlanSegment& s : cuts) boxes.push_back(segmentBox(s.x0, s.y0, s.x1, s.y1));
    return CutCorridor(std::move(boxes));
}

CutCorridor::CutCorridor(std::vector<PlanBox> boxes) : boxes_(std::move(boxes)) {
    // A cut we cannot place (a coordinate that is not a number, or an arc
    // too large for a double) might cross anything; so might millions of
    // cuts, too many to index.
    if (boxes_.size() >= kMostListedBoxes || !std::all_of(boxes_.begin(), boxes_.end(), finite)) {
        everywhere_ = true;
        boxes_.clear();
        return;
    }
    if (boxes_.empty()) return;
    extent_ = boxes_.front();
    for (const PlanBox& b : boxes_) {
        extent_.minX = std::min(extent_.minX, b.minX), extent_.maxX = std::max(extent_.maxX, b.maxX);
        extent_.minY = std::min(extent_.minY, b.minY), extent_.maxY = std::max(extent_.maxY, b.maxY);
    }
    double width = extent_.maxX - extent_.minX, height = extent_.maxY - extent_.minY;
    // Cuts near both ends of a double's range: one cell, every box in it.
    if (!std::isfinite(width) || !std::isfinite(height)) width = height = 0;
    const double side = std::max(width, height);
    auto cellsSpanned = [&](const PlanBox& b) {
        return static_cast<std::uint64_t>(column(b.maxX) - column(b.minX) + 1) *
               static_cast<std::uint64_t>(row(b.maxY) - row(b.minY) + 1);
    };
    for (int cellsPerSide = kMostCellsPerSide;; cellsPerSide /= 2) {
        columns_ = side > 0 ? std::clamp(static_cast<int>(std::ceil(cellsPerSide * width / side)), 1, cellsPerSide) : 1;
        rows_ = side > 0 ? std::clamp(static_cast<int>(std::ceil(cellsPerSide * height / side)), 1, cellsPerSide) : 1;
        cellWidth_ = width > 0 ? width / columns_ : 1;
        cellHeight_ = height > 0 ? height / rows_ : 1;
        std::uint64_t listed = 0;
        for (const PlanBox& b : boxes_) listed += cellsSpanned(b);
        if (listed <= kMostListedBoxes || cellsPerSide == 1) break;
    }
    const std::size_t cells = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
    cellStart_.assign(cells + 1, 0);
    auto forEachCell = [&](const PlanBox& b, auto&& visit) {
        for (int r = row(b.minY); r <= row(b.maxY); ++r)
            for (int c = column(b.minX); c <= column(b.maxX); ++c)
                visit(static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(c));
    };
    for (const PlanBox& b : boxes_) forEachCell(b, [&](std::size_t cell) { ++cellStart_[cell + 1]; });
    for (std::size_t c = 0; c < cells; ++c) cellStart_[c + 1] += cellStart_[c];
    cellBoxes_.resize(cellStart_[cells]);
    std::vector<std::uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        forEachCell(boxes_[i], [&](std::size_t cell) { cellBoxes_[fill[cell]++] = static_cast<std::uint32_t>(i); });
}

int CutCorridor::column(double x) const {
    const double v = (x - extent_.minX) / cellWidth_;
    if (!(v >= 0)) return 0;
    if (v >= columns_) return columns_ - 1;
    return static_cast<int>(v);
}

int CutCorridor::row(double y) const {
    const double v = (y - extent_.minY) / cellHeight_;
    if (!(v >= 0)) return 0;
    if (v >= rows_) return rows_ - 1;
    return static_cast<int>(v);
}

// Whether the (widened) box of an edge or triangle meets a cut's box. The
// answer grows with the box: a larger box meets whatever a smaller one
// inside it meets, or looks at more cells and boxes and is kept for that.
bool CutCorridor::meets(const PlanBox& box) const {
    if (everywhere_ || !finite(box)) return true;
    if (boxes_.empty() || !overlap(box, extent_)) return false;
    const int c0 = column(box.minX), c1 = column(box.maxX), r0 = row(box.minY), r1 = row(box.maxY);
    if (static_cast<std::int64_t>(c1 - c0 + 1) * (r1 - r0 + 1) > kMostCellsPerQuestion) return true;
    int tests = 0;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            const std::size_t cell = static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
                                     static_cast<std::size_t>(c);
            for (std::uint32_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) {
                if (++tests > kMostBoxTests) return true;
                if (overlap(box, boxes_[cellBoxes_[k]])) return true;
            }
        }
    return false;
}

bool CutCorridor::mayCross(const Edge& edge) const {
    if (everywhere_ || !placeable({edge.a.x, edge.a.y, edge.b.x, edge.b.y})) return true;
    return meets(segmentBox(edge.a.x, edge.a.y, edge.b.x, edge.b.y));
}

bool CutCorridor::mayCrossAnEdgeOf(const tz::terrain::Triangle& t) const {
    if (everywhere_ || !placeable({t.p1.x, t.p1.y, t.p2.x, t.p2.y, t.p3.x, t.p3.y})) return true;
    const double minX = std::min({t.p1.x, t.p2.x, t.p3.x}), maxX = std::max({t.p1.x, t.p2.x, t.p3.x});
    const double minY = std::min({t.p1.y, t.p2.y, t.p3.y}), maxY = std::max({t.p1.y, t.p2.y, t.p3.y});
    // The margin from the box's sides bounds every edge's margin from above.
    return meets(widened(minX, minY, maxX, maxY,
                         strayMargin(maxX - minX, maxY - minY, largestMagnitude(minX, minY, maxX, maxY))));
}

}  // namespace tz::terrain::profile
