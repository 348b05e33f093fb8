#include "SegmentGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace tz::terrain::profile {

namespace {

constexpr int kMaxCellsPerSide = 8192;
constexpr std::uint32_t kNoOwner = std::numeric_limits<std::uint32_t>::max();

double segmentLength(const PlanSegment& s) {
    const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    const double length = std::sqrt(dx * dx + dy * dy);
    return std::isfinite(length) ? length : std::hypot(dx, dy);
}

// The part of the segment inside the box, as parameters t0 <= t1 of the
// segment; false when it misses the box (Liang-Barsky).
bool clipToBox(const PlanSegment& s, double minX, double minY, double maxX, double maxY, double& t0,
               double& t1) {
    const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {s.x0 - minX, maxX - s.x0, s.y0 - minY, maxY - s.y0};
    t0 = 0;
    t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
    }
    return t0 <= t1;
}

}  // namespace

double crossingMargin(const PlanSegment& s) {
    const double largest = std::max({std::fabs(s.x0), std::fabs(s.y0), std::fabs(s.x1), std::fabs(s.y1)});
    return 1e-8 * segmentLength(s) + 1e-9 * largest;
}

int SegmentGrid::cellX(double x) const {
    const double v = (x - minX_) / cellWidth_;
    if (!(v >= 0)) return 0;
    if (v >= columns_) return columns_ - 1;
    return static_cast<int>(v);
}

int SegmentGrid::cellY(double y) const {
    const double v = (y - minY_) / cellHeight_;
    if (!(v >= 0)) return 0;
    if (v >= rows_) return rows_ - 1;
    return static_cast<int>(v);
}

template <typename Visit>
void SegmentGrid::visitCells(const PlanSegment& segment, double margin, bool clip, Visit&& visit) const {
    double t0 = 0, t1 = 1;
    if (clip) {
        // Parts farther from the grid than a cell and the margins can meet no
        // registered segment; cutting them off keeps far-reaching queries cheap.
        const double pad =
            std::max(cellWidth_, cellHeight_) + 2 * margin + maxMargin_ + 1e-9 * (maxX_ - minX_ + maxY_ - minY_);
        if (!clipToBox(segment, minX_ - pad, minY_ - pad, maxX_ + pad, maxY_ + pad, t0, t1)) return;
    }
    const double dx = segment.x1 - segment.x0, dy = segment.y1 - segment.y0;
    const double length = segmentLength(segment) * (t1 - t0);
    double pieces = std::ceil(length / pieceLength_);
    const double maxPieces = 4.0 * (columns_ + rows_) + 4;
    if (!(pieces >= 1)) pieces = 1;
    if (pieces > maxPieces) pieces = maxPieces;
    const long count = static_cast<long>(pieces);
    double xa = segment.x0 + t0 * dx, ya = segment.y0 + t0 * dy;
    for (long k = 1; k <= count; ++k) {
        const double t = (k == count) ? t1 : t0 + (t1 - t0) * static_cast<double>(k) / static_cast<double>(count);
        const double xb = segment.x0 + t * dx, yb = segment.y0 + t * dy;
        const int cx0 = cellX(std::min(xa, xb) - margin), cx1 = cellX(std::max(xa, xb) + margin);
        const int cy0 = cellY(std::min(ya, yb) - margin), cy1 = cellY(std::max(ya, yb) + margin);
        for (int cy = cy0; cy <= cy1; ++cy)
            for (int cx = cx0; cx <= cx1; ++cx) visit(static_cast<std::size_t>(cy) * columns_ + cx);
        xa = xb;
        ya = yb;
    }
}

SegmentGrid::SegmentGrid(const std::vector<PlanSegment>& segments, std::size_t segmentsPerOwner) {
    if (segmentsPerOwner == 0) segmentsPerOwner = 1;
    const std::size_t owners = (segments.size() + segmentsPerOwner - 1) / segmentsPerOwner;
    if (owners >= kNoOwner) throw std::length_error("too many segments to index");
    stamps_.assign(owners, 0);

    bool any = false;
    for (const PlanSegment& s : segments) {
        const double xs[2] = {s.x0, s.x1}, ys[2] = {s.y0, s.y1};
        for (int i = 0; i < 2; ++i) {
            if (!std::isfinite(xs[i]) || !std::isfinite(ys[i])) continue;
            if (!any) {
                minX_ = maxX_ = xs[i];
                minY_ = maxY_ = ys[i];
                any = true;
            }
            minX_ = std::min(minX_, xs[i]);
            maxX_ = std::max(maxX_, xs[i]);
            minY_ = std::min(minY_, ys[i]);
            maxY_ = std::max(maxY_, ys[i]);
        }
    }
    const double width = maxX_ - minX_, height = maxY_ - minY_;
    // About four segments to a cell: a TIN edge then spans a cell or two, so
    // it is registered a few times, and a query looks at a few dozen edges.
    const double n = std::max<double>(1.0, static_cast<double>(segments.size()) / 4.0);
    double cell = 0;
    if (width > 0 && height > 0)
        cell = std::sqrt(width / n * height);
    else
        cell = std::max(width, height) / n;
    if (std::isfinite(width) && std::isfinite(height) && std::isfinite(cell) && cell > 0) {
        columns_ = static_cast<int>(std::clamp(std::ceil(width / cell), 1.0, double(kMaxCellsPerSide)));
        rows_ = static_cast<int>(std::clamp(std::ceil(height / cell), 1.0, double(kMaxCellsPerSide)));
        cellWidth_ = width > 0 ? width / columns_ : height / rows_;
        cellHeight_ = height > 0 ? height / rows_ : cellWidth_;
    } else {
        // Nothing to spread (no segment, one point) or extents beyond a
        // double's range: one cell, every segment a candidate.
        columns_ = rows_ = 1;
        cellWidth_ = cellHeight_ = 1;
        if (!(std::isfinite(width) && std::isfinite(height))) {
            cellWidth_ = cellHeight_ = std::numeric_limits<double>::max();
        }
    }
    pieceLength_ = std::min(cellWidth_, cellHeight_);
    if (!(pieceLength_ > 0)) pieceLength_ = 1;

    const std::size_t cells = static_cast<std::size_t>(columns_) * rows_;
    std::vector<std::uint32_t> lastOwner(cells, kNoOwner);
    std::vector<std::uint32_t> counts(cells + 1, 0);
    for (const PlanSegment& s : segments) maxMargin_ = std::max(maxMargin_, crossingMargin(s));
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const auto owner = static_cast<std::uint32_t>(i / segmentsPerOwner);
        visitCells(segments[i], crossingMargin(segments[i]), false, [&](std::size_t cell) {
            if (lastOwner[cell] == owner) return;
            lastOwner[cell] = owner;
            ++counts[cell];
        });
    }
    cellStart_.assign(cells + 1, 0);
    std::uint64_t total = 0;
    for (std::size_t c = 0; c < cells; ++c) {
        cellStart_[c] = static_cast<std::uint32_t>(total);
        total += counts[c];
        if (total >= kNoOwner) throw std::length_error("segment index too large");
    }
    cellStart_[cells] = static_cast<std::uint32_t>(total);
    cellOwners_.assign(total, 0);
    std::vector<std::uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    std::fill(lastOwner.begin(), lastOwner.end(), kNoOwner);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const auto owner = static_cast<std::uint32_t>(i / segmentsPerOwner);
        visitCells(segments[i], crossingMargin(segments[i]), false, [&](std::size_t cell) {
            if (lastOwner[cell] == owner) return;
            lastOwner[cell] = owner;
            cellOwners_[fill[cell]++] = owner;
        });
    }
}

void SegmentGrid::ownersNear(const PlanSegment& query, std::vector<std::uint32_t>& owners) const {
    owners.clear();
    if (stamps_.empty()) return;
    if (++query_ == 0) {
        std::fill(stamps_.begin(), stamps_.end(), 0);
        query_ = 1;
    }
    visitCells(query, crossingMargin(query), true, [&](std::size_t cell) {
        for (std::uint32_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) {
            const std::uint32_t owner = cellOwners_[k];
            if (stamps_[owner] == query_) continue;
            stamps_[owner] = query_;
            owners.push_back(owner);
        }
    });
    std::sort(owners.begin(), owners.end());
}

}  // namespace tz::terrain::profile
