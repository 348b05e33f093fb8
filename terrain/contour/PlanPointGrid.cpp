#include "contour/PlanPointGrid.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tz::terrain {

namespace {

constexpr double kIndexLimit = 4.0e18;  // well inside int64, with room for +-1

std::int64_t cellIndex(double coordinate) {
    const double scaled = std::floor(coordinate * (1.0 / PlanPointGrid::kCellSize));
    if (std::isnan(scaled)) return 0;
    return static_cast<std::int64_t>(std::clamp(scaled, -kIndexLimit, kIndexLimit));
}

}  // namespace

PlanPointGrid::Cell PlanPointGrid::cellOf(const Point3& p) {
    return Cell{cellIndex(p.x), cellIndex(p.y)};
}

PlanPointGrid::PlanPointGrid(const std::vector<Point3>& points) {
    std::vector<Cell> cells(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) cells[i] = cellOf(points[i]);
    ids_.resize(points.size());
    std::iota(ids_.begin(), ids_.end(), 0u);
    std::sort(ids_.begin(), ids_.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (cells[a].ix != cells[b].ix) return cells[a].ix < cells[b].ix;
        if (cells[a].iy != cells[b].iy) return cells[a].iy < cells[b].iy;
        return a < b;
    });
    ranges_.reserve(points.size());
    for (std::uint32_t k = 0; k < ids_.size();) {
        std::uint32_t next = k + 1;
        while (next < ids_.size() && cells[ids_[next]] == cells[ids_[k]]) ++next;
        ranges_.emplace(cells[ids_[k]], std::make_pair(k, next));
        k = next;
    }
}

}  // namespace tz::terrain
