// A spatial index of circles for the triangulation engine: given a point,
// it yields every circle that may contain it (and some that do not), so
// that the engine tests only those with its own predicate. Conservative by
// construction: a circle is registered in every grid cell that its disk,
// slightly enlarged, may reach, with cells computed by the same monotone
// function for circles and query points. Circles of very different sizes
// live on a stack of grids, each circle on the finest one where it covers
// only a few cells; points outside the grid fall into its border cells,
// which also hold every circle reaching beyond that border.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tz::terrain {

class CircleIndex {
public:
    // The grid covers [xmin, xmax] x [ymin, ymax], sized for about
    // `expectedCount` points.
    CircleIndex(double xmin, double ymin, double xmax, double ymax, size_t expectedCount);

    // Registers `id` for the circle; returns the level to hand back to erase.
    uint8_t insert(uint32_t id, double xc, double yc, double r);

    // Unregisters `id`, given exactly the circle and level it was inserted with.
    void erase(uint32_t id, double xc, double yc, double r, uint8_t level);

    // Calls visit(id) for every circle that may contain (x, y), each once.
    template <class Visit>
    void forEachCandidate(double x, double y, Visit&& visit) const {
        for (uint32_t id : global_) visit(id);
        for (const Level& level : levels_) {
            const auto& ids = level.cells[static_cast<size_t>(row(level, y)) * level.nx + column(level, x)];
            for (uint32_t id : ids) visit(id);
        }
    }

private:
    struct Level {
        double cell = 1, inverse = 1;
        int nx = 1, ny = 1;
        std::vector<std::vector<uint32_t>> cells;
    };
    static constexpr uint8_t kGlobal = 0xFF;

    int column(const Level& level, double x) const;
    int row(const Level& level, double y) const;
    // Visits the cells of the enlarged disk at `level`; stops and answers
    // false once more than `limit` cells have been visited.
    template <class Visit>
    bool footprint(const Level& level, double xc, double yc, double r, size_t limit, Visit&& visit) const;

    double x0_, y0_;
    double slackScale_;
    std::vector<Level> levels_;
    std::vector<uint32_t> global_;
};

}  // namespace tz::terrain
