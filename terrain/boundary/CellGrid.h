// A uniform grid over a rectangle for indexing segments and triangles by
// the cells they touch. Cells of points and of shapes come from the same
// monotone function, and shapes are widened by a small slack, so a shape
// is always found from every point it holds, whatever the rounding. Points
// outside the rectangle fall into its border cells, which also hold every
// shape reaching beyond that border.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "tin/Triangle.h"

namespace tz::terrain {

class CellGrid {
public:
    // About `cellsWanted` cells over the rectangle (at least one).
    CellGrid(double xmin, double ymin, double xmax, double ymax, size_t cellsWanted);

    size_t cellCount() const { return static_cast<size_t>(columns_) * rows_; }
    size_t cellOf(double x, double y) const { return static_cast<size_t>(row(y)) * columns_ + column(x); }

    // Calls visit(cell) once for every cell that the segment a-b, widened
    // by `halfWidth` on every side, may touch (a == b gives a square).
    template <class Visit>
    void forEachCellNear(const Point3& a, const Point3& b, double halfWidth, Visit&& visit) const {
        const double width = halfWidth + slack_ + kRelative * (std::fabs(a.x) + std::fabs(a.y) + std::fabs(b.x) + std::fabs(b.y));
        const double ylo = std::min(a.y, b.y), yhi = std::max(a.y, b.y);
        const int firstRow = row(ylo - width), lastRow = row(yhi + width);
        for (int j = firstRow; j <= lastRow; ++j) {
            const double low = j == 0 ? -kInfinity : y0_ + j * cell_ - slack_ - width;
            const double high = j == rows_ - 1 ? kInfinity : y0_ + (j + 1) * cell_ + slack_ + width;
            double xlo, xhi;
            if (!(a.y != b.y) || (low == -kInfinity && high == kInfinity)) {
                xlo = std::min(a.x, b.x), xhi = std::max(a.x, b.x);
            } else {
                // Part of the segment whose y lies in the widened band.
                double t0 = (low - a.y) / (b.y - a.y), t1 = (high - a.y) / (b.y - a.y);
                if (t0 > t1) std::swap(t0, t1);
                t0 = std::max(t0, 0.0), t1 = std::min(t1, 1.0);
                if (!(t0 <= t1)) {
                    if (yhi < low || ylo > high) continue;
                    t0 = 0, t1 = 1;
                }
                const double x0 = a.x + t0 * (b.x - a.x), x1 = a.x + t1 * (b.x - a.x);
                const double margin = kRelative * (std::fabs(b.x - a.x) + std::fabs(a.x) + std::fabs(b.x)) + slack_;
                xlo = std::min(x0, x1) - margin, xhi = std::max(x0, x1) + margin;
            }
            const int firstColumn = column(xlo - width), lastColumn = column(xhi + width);
            for (int i = firstColumn; i <= lastColumn; ++i) visit(static_cast<size_t>(j) * columns_ + i);
        }
    }

    // Number of cells of the box [xlo, xhi] x [ylo, yhi], widened by the slack.
    size_t cellsInBox(double xlo, double ylo, double xhi, double yhi) const {
        const size_t columns = static_cast<size_t>(column(xhi + slack_) - column(xlo - slack_) + 1);
        const size_t rows = static_cast<size_t>(row(yhi + slack_) - row(ylo - slack_) + 1);
        return columns * rows;
    }

    // Calls visit(cell) once for every cell of the box, widened by the slack.
    template <class Visit>
    void forEachCellInBox(double xlo, double ylo, double xhi, double yhi, Visit&& visit) const {
        const int firstColumn = column(xlo - slack_), lastColumn = column(xhi + slack_);
        const int firstRow = row(ylo - slack_), lastRow = row(yhi + slack_);
        for (int j = firstRow; j <= lastRow; ++j) {
            for (int i = firstColumn; i <= lastColumn; ++i) visit(static_cast<size_t>(j) * columns_ + i);
        }
    }

private:
    static constexpr double kRelative = 1e-9;
    static constexpr double kInfinity = std::numeric_limits<double>::infinity();

    int column(double x) const {
        const double v = (x - x0_) * inverse_;
        if (!(v >= 0)) return 0;
        if (v >= columns_) return columns_ - 1;
        return static_cast<int>(v);
    }
    int row(double y) const {
        const double v = (y - y0_) * inverse_;
        if (!(v >= 0)) return 0;
        if (v >= rows_) return rows_ - 1;
        return static_cast<int>(v);
    }

    double x0_ = 0, y0_ = 0, cell_ = 1, inverse_ = 1, slack_ = 0;
    int columns_ = 1, rows_ = 1;
};

inline CellGrid::CellGrid(double xmin, double ymin, double xmax, double ymax, size_t cellsWanted) {
    if (!(std::isfinite(xmin) && std::isfinite(ymin) && std::isfinite(xmax) && std::isfinite(ymax)) || xmax < xmin ||
        ymax < ymin) {
        xmin = ymin = 0;
        xmax = ymax = 1;
    }
    const double width = xmax - xmin, height = ymax - ymin;
    const double wanted = static_cast<double>(std::max<size_t>(cellsWanted, 1));
    double cell = (width > 0 && height > 0) ? std::sqrt(width * height / wanted) : std::max(width, height) / wanted;
    cell = std::max({cell, width / 16384, height / 16384});
    if (!(cell > 0) || !std::isfinite(cell)) cell = 1;
    x0_ = xmin;
    y0_ = ymin;
    cell_ = cell;
    inverse_ = 1 / cell;
    columns_ = std::clamp(static_cast<int>(std::ceil(width / cell)), 1, 16384);
    rows_ = std::clamp(static_cast<int>(std::ceil(height / cell)), 1, 16384);
    slack_ = kRelative * (std::fabs(xmin) + std::fabs(ymin) + width + height + cell);
}

}  // namespace tz::terrain
