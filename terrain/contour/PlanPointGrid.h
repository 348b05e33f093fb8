// A fixed set of points bucketed by plan position, so that every point that
// may be the same in plan as a query point is found without scanning them all.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "tin/Triangle.h"

namespace tz::terrain {

class PlanPointGrid {
public:
    // Side of a grid cell: a power of two (exact scaling) well above the plan
    // tolerance, so two points within tolerance lie in the same or adjacent cells.
    static constexpr double kCellSize = 1.0 / 16384.0;

    struct Cell {
        std::int64_t ix = 0, iy = 0;
        bool operator==(const Cell&) const = default;
    };

    // Points are known by their position in `points`.
    explicit PlanPointGrid(const std::vector<Point3>& points);

    // Calls visit(id) for every point in the query point's cell and the eight
    // cells around it: a superset of the points the same in plan as `p`, in no
    // particular order. Callers apply the exact predicate themselves.
    template <class Visit>
    void forEachNear(const Point3& p, Visit&& visit) const {
        const Cell c = cellOf(p);
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                auto it = ranges_.find(Cell{c.ix + dx, c.iy + dy});
                if (it == ranges_.end()) continue;
                for (std::uint32_t k = it->second.first; k < it->second.second; ++k) visit(ids_[k]);
            }
    }

    // The cell of a point. Indices are clamped far inside the integer range
    // (clamping keeps neighbours neighbours) and NaN goes to cell 0, so any
    // coordinate is safe.
    static Cell cellOf(const Point3& p);

private:
    struct CellHash {
        std::size_t operator()(const Cell& c) const {
            const std::uint64_t h = static_cast<std::uint64_t>(c.ix) * 0x9E3779B97F4A7C15ull ^
                                    (static_cast<std::uint64_t>(c.iy) + 0x632BE59BD9B4E019ull) *
                                        0xC2B2AE3D27D4EB4Full;
            return static_cast<std::size_t>(h ^ (h >> 29));
        }
    };

    std::vector<std::uint32_t> ids_;  // point ids grouped by cell
    std::unordered_map<Cell, std::pair<std::uint32_t, std::uint32_t>, CellHash> ranges_;
};

}  // namespace tz::terrain
