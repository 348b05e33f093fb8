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
// are short. The owner renews a circle once the sweep has passed the end of
// its window; each window lets the chord grow to about twice its height at
// the start, and a window that reaches the centre reaches the whole disk
// and is the last. A query off the sweep line looks at every circle.
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

namespace tz::terrain {

class CircleBands {
public:
    static constexpr uint32_t kRowLimit = 2;  // rows a circle may occupy on its set
    static constexpr double kNoRenewal = std::numeric_limits<double>::infinity();

    // Rows cover [ymin, ymax]; `rowHeight` is the height of the finest rows.
    CircleBands(double ymin, double ymax, double rowHeight);

    // Moves the sweep line to x (x never decreases while circles are
    // registered; a registration is good from the sweep line on).
    void setSweep(double x) { sweepX_ = x; }

    // Registers a circle carrying `id`; answers the handle that erases it
    // and sets `windowEnd`: once the sweep lies right of it, renew(handle).
    uint32_t insert(uint32_t id, double xc, double yc, double r, double& windowEnd);

    // Registers the circle of `handle` again for a window from the sweep line.
    void renew(uint32_t handle, double& windowEnd);

    // Registers a new circle carrying `id` under `handle` in place of the
    // circle it had, as erase(handle) and insert would but reusing the
    // entries that stay in their rows (a cavity's new circles mostly lie
    // where the old ones did).
    void replace(uint32_t handle, uint32_t id, double xc, double yc, double r, double& windowEnd);

    // Removes the circle of `handle`; the handle may be given out again.
    void erase(uint32_t handle);

    // xc + r of the circle of `handle`, as the engine's completion test adds them.
    double rightEnd(uint32_t handle) const { return registrations_[handle].xc + registrations_[handle].r; }
    double radius(uint32_t handle) const { return registrations_[handle].r; }

    // Appends to `out` the id of every circle that contains (x, y) by the
    // engine's floating-point test, sqrt((y - yc)^2 + (x - xc)^2) < r, each
    // once.
    void collectContaining(double x, double y, std::vector<uint32_t>& out) const {
        if (x != sweepX_) {
            collectFromAll(x, y, out);
            return;
        }
        const uint32_t row = finestRow(y);
        size_t n = out.size();
        for (uint64_t levels = occupiedLevels_; levels != 0; levels &= levels - 1) {
            const int level = __builtin_ctzll(levels);
            const std::vector<Entry>& band = rows_[levelStart_[level] + (row >> level)];
            out.resize(n + band.size());
            uint32_t* ids = out.data();
            for (const Entry& e : band) {
                // Decided on the squared distance unless it lies within a
                // relative 1e-14 of the squared radius, where the square
                // root decides; no branch on the outcome.
                const double squared = (y - e.yc) * (y - e.yc) + (x - e.xc) * (x - e.xc);
                const bool inside = squared < e.radiusSquared * (1 - 1e-14);
                const bool outside = squared > e.radiusSquared * (1 + 1e-14);
                ids[n] = e.id;
                n += inside;
                if (__builtin_expect(!(inside | outside), 0)) {
                    n += std::sqrt(squared) < registrations_[e.owner / kRowLimit].r;
                }
            }
        }
        out.resize(n);
    }

private:
    struct Entry {
        double xc, yc;  // a copy of the circle, so the test needs no lookup
        double radiusSquared;  // of a normal size, else NaN: the square root decides
        uint32_t id;
        uint32_t owner;  // handle * kRowLimit + which of its entries this is
    };
    // A circle and where its entries are: row and place in the row.
    struct Registration {
        double xc, yc, r;
        uint32_t id;
        uint32_t rows[kRowLimit];
        uint32_t places[kRowLimit];
        uint8_t level;
        uint8_t count;  // 0 for a free handle
    };

    // The rows a circle's window occupies: `count` consecutive rows from
    // `first` (an index into rows_), on the set `level`.
    struct Rows {
        uint32_t first, count, level;
    };
    Rows rowsFor(double xc, double yc, double r, double& windowEnd) const;
    static Entry entryOf(const Registration& registration, uint32_t handle);
    void removeEntry(uint32_t row, uint32_t place);

    uint32_t finestRow(double y) const {
        const double v = (y - y0_) * inverse_;
        if (!(v >= 0)) return 0;
        if (v >= finestRows_) return finestRows_ - 1;
        return static_cast<uint32_t>(v);
    }
    // Enters the registration's entries for the window starting at the sweep line.
    void place(uint32_t handle, double& windowEnd);
    void removeEntries(const Registration& registration);
    void collectFromAll(double x, double y, std::vector<uint32_t>& out) const;

    double y0_, inverse_, scale_, minimumHalfChord_;
    uint32_t finestRows_;
    double sweepX_ = -std::numeric_limits<double>::infinity();
    std::vector<size_t> levelStart_;    // first row of each set in rows_
    std::vector<size_t> levelEntries_;  // entries on each set
    uint64_t occupiedLevels_ = 0;       // bit per set that holds an entry
    std::vector<std::vector<Entry>> rows_;     // all sets, finest first
    std::vector<Registration> registrations_;  // by handle
    std::vector<uint32_t> freeHandles_;
};

}  // namespace tz::terrain
