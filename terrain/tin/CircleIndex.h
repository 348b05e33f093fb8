// A spatial index of circles for the triangulation engine: given a point,
// it yields every circle that may contain it (and some that do not), so
// that the engine tests only those with its own predicate. Conservative by
// construction: a circle is registered in every grid cell that its disk,
// slightly enlarged, may reach, with cells computed by the same monotone
// function for circles and query points. Circles of very different sizes
// live on a stack of grids, each circle on the finest one where it covers
// only a few cells; points outside the grid fall into its border cells,
// which also hold every circle reaching beyond that border.
//
// Every entry knows its place, so removing a circle costs only its own
// entries however full its cells are.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tin/Circumcircle.h"

namespace tz::terrain {

class CircleIndex {
public:
    static constexpr size_t kCellLimit = 6;  // cells a circle may occupy on its level

    // The grid covers [xmin, xmax] x [ymin, ymax], sized for about
    // `expectedCount` points.
    CircleIndex(double xmin, double ymin, double xmax, double ymax, size_t expectedCount);

    // Registers a circle carrying `id`; answers the handle that erases it.
    uint32_t insert(uint32_t id, double xc, double yc, double r);

    // Removes the circle of `handle`; the handle may be given out again.
    void erase(uint32_t handle);

    // Calls visit(id) for every circle that contains (x, y) by the engine's
    // floating-point test, sqrt((y - yc)^2 + (x - xc)^2) < r (or <= r when
    // `inclusive`), each once.
    template <class Visit>
    void forEachContaining(double x, double y, bool inclusive, Visit&& visit) const {
        scan(global_, x, y, inclusive, visit);
        for (const Level& level : levels_) {
            if (level.live > 0) scan(level.cells[cellOf(level, x, y)], x, y, inclusive, visit);
        }
    }

private:
    static constexpr uint8_t kGlobal = 0xFF;

    struct Entry {
        double xc, yc, r;  // a copy of the circle, so the test needs no lookup
        uint32_t id;
        uint32_t owner;  // handle * kOwnerStride + which of its entries this is
    };
    static constexpr uint32_t kOwnerStride = 8;
    static_assert(kCellLimit <= kOwnerStride);
    // Where a circle's entries are: cell and place in the cell.
    struct Registration {
        uint32_t cells[kCellLimit];
        uint32_t places[kCellLimit];
        uint8_t level;
        uint8_t count;
    };
    using Cell = std::vector<Entry>;
    struct Level {
        double cell = 1, inverse = 1;
        int nx = 1, ny = 1;
        size_t live = 0;          // entries at this level
        std::vector<Cell> cells;  // column-major: the sweep's cells lie together
    };

    template <class Visit>
    static void scan(const Cell& cell, double x, double y, bool inclusive, Visit& visit) {
        for (const Entry& e : cell) {
            const double distance = centreDistance(x, y, e.xc, e.yc);
            if (inclusive ? distance <= e.r : distance < e.r) visit(e.id);
        }
    }
    void add(Cell& cell, uint32_t handle, uint32_t id, uint32_t k, double xc, double yc, double r);
    void removeAt(Cell& cell, uint32_t place);

    size_t cellOf(const Level& level, double x, double y) const {
        return static_cast<size_t>(column(level, x)) * level.ny + row(level, y);
    }
    int column(const Level& level, double x) const;
    int row(const Level& level, double y) const;
    // Visits the cells of the enlarged disk at `level`; stops and answers
    // false once more than `limit` cells would be visited.
    template <class Visit>
    bool footprint(const Level& level, double xc, double yc, double r, size_t limit, Visit&& visit) const;

    double x0_, y0_, x1_, y1_;
    double slackScale_;
    std::vector<Level> levels_;
    Cell global_;
    std::vector<Registration> registrations_;  // by handle
    std::vector<uint32_t> freeHandles_;
};

}  // namespace tz::terrain
