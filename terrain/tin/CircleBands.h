// An index of circles by the band of y they cover, for the sweep: given a
// point, it yields every circle that may contain it (and some that do not),
// so that the engine tests only those with its own predicate.
//
// Why one dimension is enough: while points arrive in order of x, every
// circle still in play passes through a point left of the sweep line and
// reaches right of it, so the circles crowd along that line, one after the
// other in y. Cutting y into rows leaves only a few circles per row, and the
// rows stay the same for the whole sweep: they are few, warm in the cache,
// and never reallocated once grown.
//
// Points only come from the sweep line onwards, so a circle is registered
// for the part of its disk between the sweep line and a later x, the end of
// its window, not for its whole height: the circles of the nearly flat
// triangles along the front are huge, but their chords near the sweep line
// are short. When the sweep passes the end of a window the circle is
// registered again for the next window, each about twice as tall as the
// last; a window that reaches the centre reaches the whole disk and is the
// last. A query left of the sweep line (points out of order) looks at every
// circle.
//
// Conservative by construction: the band of a window is enlarged beyond
// every rounding of the engine's test, and rows are computed by the same
// monotone function for circles and query points. Circles of very
// different bands live on a stack of row sets, each twice as coarse as the
// one below; a circle goes to the finest one where it touches at most
// kRowLimit rows. A row's number on a coarser set is its number on the
// finest set shifted right, so a query computes one row number in all.
// Points and circles beyond the covered range fall into the border rows.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "tin/SweepQueue.h"

namespace tz::terrain {

class CircleBands {
public:
    static constexpr uint32_t kRowLimit = 2;  // rows a circle may occupy on its set

    // Rows cover [ymin, ymax]; `rowHeight` is the height of the finest rows.
    // Windows end on a grid of `steps` parts of [xmin, xmax].
    CircleBands(double xmin, double ymin, double xmax, double ymax, double rowHeight, size_t steps);

    // Registers a circle carrying `id`; answers the handle that erases it.
    // Queries from then on must not lie left of the sweep line by more than
    // they did before, or they look at every circle.
    uint32_t insert(uint32_t id, double xc, double yc, double r);

    // Removes the circle of `handle`; the handle may be given out again.
    void erase(uint32_t handle);

    // Calls visit(id) for every circle that contains (x, y) by the engine's
    // floating-point test, sqrt((y - yc)^2 + (x - xc)^2) < r (or <= r when
    // `inclusive`), each once. Moves the sweep line to x when x lies right
    // of it.
    template <class Visit>
    void forEachContaining(double x, double y, bool inclusive, Visit&& visit) {
        if (x > sweepX_) advanceTo(x);
        if (!(x >= sweepX_)) {
            forEachCircle([&](const Entry& e) {
                if (contains(e, x, y, inclusive)) visit(e.id);
            });
            return;
        }
        const uint32_t row = finestRow(y);
        for (uint64_t levels = occupiedLevels_; levels != 0; levels &= levels - 1) {
            const int level = __builtin_ctzll(levels);
            const std::vector<Entry>& band = rows_[levelStart_[level] + (row >> level)];
            if (inclusive) {
                for (const Entry& e : band) {
                    if (std::sqrt((y - e.yc) * (y - e.yc) + (x - e.xc) * (x - e.xc)) <= e.r) visit(e.id);
                }
            } else {
                for (const Entry& e : band) {
                    if (std::sqrt((y - e.yc) * (y - e.yc) + (x - e.xc) * (x - e.xc)) < e.r) visit(e.id);
                }
            }
        }
    }

private:
    struct Entry {
        double xc, yc, r;  // a copy of the circle, so the test needs no lookup
        uint32_t id;
        uint32_t owner;  // handle * kRowLimit + which of its entries this is
    };
    // A circle and where its entries are: row and place in the row.
    struct Registration {
        double xc, yc, r;
        uint32_t id;
        uint32_t renewal;  // entry in renewals_, or SweepQueue::kNone
        uint32_t rows[kRowLimit];
        uint32_t places[kRowLimit];
        uint8_t level;
        uint8_t count;
    };

    static bool contains(const Entry& e, double x, double y, bool inclusive) {
        const double distance = std::sqrt((y - e.yc) * (y - e.yc) + (x - e.xc) * (x - e.xc));
        return inclusive ? distance <= e.r : distance < e.r;
    }
    uint32_t finestRow(double y) const {
        const double v = (y - y0_) * inverse_;
        if (!(v >= 0)) return 0;
        if (v >= finestRows_) return finestRows_ - 1;
        return static_cast<uint32_t>(v);
    }
    void advanceTo(double x);
    // Enters the registration's entries for the window starting at the sweep line.
    void place(uint32_t handle);
    void removeEntries(const Registration& registration);
    template <class Visit>
    void forEachCircle(Visit&& visit) const {
        for (const std::vector<Entry>& band : rows_) {
            for (const Entry& e : band) {
                if (e.owner % kRowLimit == 0) visit(e);
            }
        }
    }

    double y0_, inverse_, scale_, minimumHalfChord_;
    uint32_t finestRows_;
    double sweepX_ = -std::numeric_limits<double>::infinity();
    std::vector<size_t> levelStart_;    // first row of each set in rows_
    std::vector<size_t> levelEntries_;  // entries on each set
    uint64_t occupiedLevels_ = 0;       // bit per set that holds an entry
    std::vector<std::vector<Entry>> rows_;     // all sets, finest first
    std::vector<Registration> registrations_;  // by handle
    std::vector<uint32_t> freeHandles_;
    SweepQueue renewals_;  // handles by the end of their window
    std::vector<uint32_t> due_;
};

}  // namespace tz::terrain
