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
// Removal is lazy: each registration carries its circle's tag, the index
// remembers the live tag of every id, and stale entries are dropped when a
// query meets them or, everywhere at once, when they outnumber the cells.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tz::terrain {

class CircleIndex {
public:
    // The grid covers [xmin, xmax] x [ymin, ymax], sized for about
    // `expectedCount` points.
    CircleIndex(double xmin, double ymin, double xmax, double ymax, size_t expectedCount);

    // Registers the circle of `id`, under a `tag` that tells it from earlier
    // circles of the same id; returns the number of entries made.
    uint32_t insert(uint32_t id, uint64_t tag, double xc, double yc, double r);

    // Removes the circle of `id`, which made `registrations` entries.
    void release(uint32_t id, uint32_t registrations) {
        liveTag_[id] = kDead;
        if (levelOf_[id] < levels_.size()) levels_[levelOf_[id]].live -= registrations;
        stale_ += registrations;
        live_ -= std::min<size_t>(live_, registrations);
        if (stale_ >= live_ + cellCount_ + 4096) compact();
    }

    // Calls visit(id) for every live circle that contains (x, y) by the
    // engine's floating-point test, sqrt((y - yc)^2 + (x - xc)^2) < r (or
    // <= r when `inclusive`), each once.
    template <class Visit>
    void forEachContaining(double x, double y, bool inclusive, Visit&& visit) {
        scan(global_, x, y, inclusive, visit);
        for (Level& level : levels_) {
            if (level.live > 0) scan(level.cells[cellOf(level, x, y)], x, y, inclusive, visit);
        }
    }

private:
    static constexpr uint64_t kDead = ~uint64_t{0};
    static constexpr uint32_t kEnd = ~uint32_t{0};

    struct Entry {
        double xc, yc, r;  // a copy of the circle, so the test needs no lookup
        uint64_t tag;
        uint32_t id;
    };
    using Cell = std::vector<Entry>;
    struct Level {
        double cell = 1, inverse = 1;
        int nx = 1, ny = 1;
        size_t live = 0;          // entries made at this level and not yet released
        std::vector<Cell> cells;  // column-major: the sweep's cells lie together
    };

    template <class Visit>
    void scan(Cell& cell, double x, double y, bool inclusive, Visit& visit) {
        for (size_t i = 0; i < cell.size();) {
            const Entry& e = cell[i];
            if (liveTag_[e.id] == e.tag) {
                const double distance = std::sqrt((y - e.yc) * (y - e.yc) + (x - e.xc) * (x - e.xc));
                if (inclusive ? distance <= e.r : distance < e.r) visit(e.id);
                ++i;
            } else {
                cell[i] = cell.back();
                cell.pop_back();
                if (stale_ > 0) --stale_;
            }
        }
    }

    void compact();
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
    std::vector<uint8_t> levelOf_;  // per id: its circle's level
    size_t live_ = 0;
    size_t stale_ = 0;
    size_t cellCount_ = 0;
    std::vector<uint64_t> liveTag_;
};

}  // namespace tz::terrain
