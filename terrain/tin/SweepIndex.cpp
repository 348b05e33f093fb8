#include "tin/SweepIndex.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace tz::terrain {
namespace {

// Rows about one point spacing high keep a few circles per row.
double rowHeightFor(double xmin, double ymin, double xmax, double ymax, size_t expectedPoints) {
    const double width = xmax - xmin, height = ymax - ymin;
    const double count = static_cast<double>(std::max<size_t>(expectedPoints, 1));
    return width > 0 && height > 0 ? std::sqrt(width * height / count) : std::max(width, height) / count;
}

}  // namespace

// Every point walks the entries of its bucket of the queue: a bucket per 16
// points keeps that walk short and the buckets few enough to stay warm.
SweepIndex::SweepIndex(double xmin, double ymin, double xmax, double ymax, size_t expectedPoints)
    : bands_(ymin, ymax, rowHeightFor(xmin, ymin, xmax, ymax, expectedPoints)),
      queue_(xmin, xmax, expectedPoints / 16) {}

void SweepIndex::reserveSlot(uint32_t slot) {
    if (slot >= handles_.size()) {
        const size_t size = std::max<size_t>(slot + size_t{1}, 2 * handles_.size());
        handles_.resize(size, kNone);
        entries_.resize(size, kNone);
    }
}

void SweepIndex::apply(const SweepChanges& changes) {
    // One queue entry per triangle: due when the sweep passes the end of its
    // circle (finished) or of its circle's window (registered again).
    for (const CircleRecord& c : changes.added) {
        reserveSlot(c.slot);
        double windowEnd;
        uint32_t& handle = handles_[c.slot];
        if (handle != kNone) {
            bands_.replace(handle, c.slot, c.xc, c.yc, c.r, windowEnd);
        } else {
            handle = bands_.insert(c.slot, c.xc, c.yc, c.r, windowEnd);
        }
        const double due = std::min(c.xc + c.r, windowEnd);
        uint32_t& entry = entries_[c.slot];
        if (entry != kNone) {
            queue_.replace(entry, due, c.slot);
        } else {
            entry = queue_.push(due, c.slot);
        }
    }
    for (uint32_t slot : changes.removed) {
        if (slot >= handles_.size() || handles_[slot] == kNone) continue;  // finished meanwhile
        bands_.erase(handles_[slot]);
        queue_.withdraw(entries_[slot]);
        handles_[slot] = kNone;
        entries_[slot] = kNone;
    }
}

void SweepIndex::answer(double x, double y, SweepQuery& out) {
    out.completed.clear();
    out.containing.clear();
    bands_.setSweep(x);
    due_.clear();
    queue_.popBefore(x, due_);
    for (uint32_t slot : due_) {
        const uint32_t handle = handles_[slot];
        const double rightEnd = bands_.rightEnd(handle);
        if (x > rightEnd) {
            out.completed.push_back({slot, rightEnd, bands_.radius(handle)});
            bands_.erase(handle);
            handles_[slot] = kNone;
            entries_[slot] = kNone;
        } else {
            double windowEnd;
            bands_.renew(handle, windowEnd);
            entries_[slot] = queue_.push(std::min(rightEnd, windowEnd), slot);
        }
    }
    bands_.collectContaining(x, y, out.containing);
}

SweepLookahead::SweepLookahead(SweepIndex& index, const std::vector<Point3>& points, const SweepChanges& first)
    : index_(index), points_(points) {
    changes_[0] = first;
    published_.store(0, std::memory_order_release);
    thread_ = std::thread([this] { run(); });
}

SweepLookahead::~SweepLookahead() { stop(); }

void SweepLookahead::stop() {
    if (thread_.joinable()) {
        stop_.store(true, std::memory_order_release);
        thread_.join();
    }
}

template <class Ready>
bool SweepLookahead::waitFor(Ready ready) {
    // The other side is mostly a fraction of a point behind: spin a little;
    // when it has lost its core (the two cores are shared with the file
    // writer), offer ours. (Sleeping on the counter instead costs the wait
    // a wake-up each time and made the triangulate command slower.)
    for (int spins = 0; !ready(); ++spins) {
        if (stop_.load(std::memory_order_acquire) || failed_.load(std::memory_order_acquire)) return false;
        if (spins < 256) {
#if defined(__x86_64__) || defined(__i386__)
            _mm_pause();
#endif
        } else {
            std::this_thread::yield();
        }
    }
    return true;
}

void SweepLookahead::run() {
    try {
        for (size_t j = 1; j <= points_.size(); ++j) {
            // Point j is answered once the changes of insertion j - 1 -
            // kLookahead are in; that also frees the answer of point j - kRing.
            const int64_t needed = static_cast<int64_t>(j) - 1 - static_cast<int64_t>(kLookahead);
            if (!waitFor([&] { return published_.load(std::memory_order_acquire) >= needed; })) return;
            if (needed >= 0) index_.apply(changes_[static_cast<size_t>(needed) % kRing]);
            const Point3& p = points_[j - 1];
            index_.answer(p.x, p.y, queries_[j % kRing]);
            answered_.store(static_cast<int64_t>(j), std::memory_order_release);
        }
    } catch (...) {
        failure_ = std::current_exception();
        failed_.store(true, std::memory_order_release);
    }
}

const SweepQuery& SweepLookahead::query(size_t j) {
    const int64_t wanted = static_cast<int64_t>(j);
    if (!waitFor([&] { return answered_.load(std::memory_order_acquire) >= wanted; })) {
        std::rethrow_exception(failure_);
    }
    return queries_[j % kRing];
}

}  // namespace tz::terrain
