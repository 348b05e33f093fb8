#include "TriangleBoxGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace tz::sections {

namespace {

constexpr int kMaxCellsPerSide = 8192;

}  // namespace

PlanBox planBox(const Triangle& t, double margin) {
    return {std::min({t.p1.x, t.p2.x, t.p3.x}) - margin, std::min({t.p1.y, t.p2.y, t.p3.y}) - margin,
            std::max({t.p1.x, t.p2.x, t.p3.x}) + margin, std::max({t.p1.y, t.p2.y, t.p3.y}) + margin};
}

int TriangleBoxGrid::column(double x) const {
    const double v = (x - minX_) / cellWidth_;
    if (!(v >= 0)) return 0;
    if (v >= columns_) return columns_ - 1;
    return static_cast<int>(v);
}

int TriangleBoxGrid::row(double y) const {
    const double v = (y - minY_) / cellHeight_;
    if (!(v >= 0)) return 0;
    if (v >= rows_) return rows_ - 1;
    return static_cast<int>(v);
}

TriangleBoxGrid::TriangleBoxGrid(const std::vector<Triangle>& triangles, const std::vector<bool>& use,
                                 double margin) {
    if (triangles.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("too many triangles to index");
    std::size_t used = 0;
    double maxX = 0, maxY = 0;
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        if (!use[i]) continue;
        const PlanBox b = planBox(triangles[i], 0);
        if (used++ == 0) {
            minX_ = b.minX, minY_ = b.minY, maxX = b.maxX, maxY = b.maxY;
        } else {
            minX_ = std::min(minX_, b.minX), minY_ = std::min(minY_, b.minY);
            maxX = std::max(maxX, b.maxX), maxY = std::max(maxY, b.maxY);
        }
    }
    const double width = maxX - minX_, height = maxY - minY_;
    // About two triangles to a cell.
    const double n = std::max(1.0, static_cast<double>(used) / 2.0);
    const double cell = (width > 0 && height > 0) ? std::sqrt(width / n * height) : std::max(width, height) / n;
    if (std::isfinite(width) && std::isfinite(height) && std::isfinite(cell) && cell > 0) {
        columns_ = static_cast<int>(std::clamp(std::ceil(width / cell), 1.0, double(kMaxCellsPerSide)));
        rows_ = static_cast<int>(std::clamp(std::ceil(height / cell), 1.0, double(kMaxCellsPerSide)));
        cellWidth_ = width > 0 ? width / columns_ : height / rows_;
        cellHeight_ = height > 0 ? height / rows_ : cellWidth_;
    } else if (!(std::isfinite(width) && std::isfinite(height))) {
        cellWidth_ = cellHeight_ = std::numeric_limits<double>::max();
    }

    const std::size_t cells = static_cast<std::size_t>(columns_) * rows_;
    std::vector<std::uint32_t> counts(cells, 0);
    auto eachCell = [&](const Triangle& t, auto&& visit) {
        const PlanBox b = planBox(t, margin);
        const int c0 = column(b.minX), c1 = column(b.maxX), r0 = row(b.minY), r1 = row(b.maxY);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) visit(static_cast<std::size_t>(r) * columns_ + c);
    };
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < triangles.size(); ++i)
        if (use[i]) eachCell(triangles[i], [&](std::size_t cell) { ++counts[cell], ++total; });
    if (total >= std::numeric_limits<std::uint32_t>::max()) throw std::length_error("triangle index too large");
    cellStart_.assign(cells + 1, 0);
    for (std::size_t c = 0; c < cells; ++c) cellStart_[c + 1] = cellStart_[c] + counts[c];
    cellTriangles_.assign(total, 0);
    std::vector<std::uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (std::size_t i = 0; i < triangles.size(); ++i)
        if (use[i])
            eachCell(triangles[i], [&](std::size_t cell) { cellTriangles_[fill[cell]++] = static_cast<std::uint32_t>(i); });
}

void TriangleBoxGrid::near(double x, double y, double reach, std::vector<std::uint32_t>& out) const {
    if (cellTriangles_.empty()) return;
    const int c0 = column(x - reach), c1 = column(x + reach), r0 = row(y - reach), r1 = row(y + reach);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            const std::size_t cell = static_cast<std::size_t>(r) * columns_ + c;
            out.insert(out.end(), cellTriangles_.begin() + cellStart_[cell], cellTriangles_.begin() + cellStart_[cell + 1]);
        }
}

}  // namespace tz::sections
