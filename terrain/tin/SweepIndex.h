// The sweep's view of the active triangles' circles, by triangle slot: the
// index by bands of y that finds the circles that may contain a point, and
// the queue that says when the sweep has passed a circle (the triangle is
// finished) or the end of its window in the bands (it is registered again).
//
// It only ever learns of the triangles through SweepChanges, so it can run
// on a thread of its own a few points ahead of the engine: it then answers
// for a point from the triangulation as it stood a few insertions earlier,
// and the engine settles the difference with the triangles made since (see
// SweepLookahead).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <thread>
#include <vector>

#include "tin/CircleBands.h"
#include "tin/SweepQueue.h"
#include "tin/Triangle.h"

namespace tz::terrain {

// A triangle's circle as the engine computed it, with its creation number.
struct CircleRecord {
    uint32_t slot;
    double xc, yc, r;
    uint64_t seq;
};

// What one insertion changed: the circles of the triangles it made, in the
// order it made them, and the slots of the active triangles it took out
// that no new triangle took over. `firstSeq` is the creation number of the
// insertion's first triangle (of the next one's when it made none).
struct SweepChanges {
    std::vector<CircleRecord> added;
    std::vector<uint32_t> removed;
    uint64_t firstSeq = 0;
    void clear() {
        added.clear();
        removed.clear();
    }
};

// A triangle the sweep finished, with the right end and radius of its circle.
struct Completion {
    uint32_t slot;
    double rightEnd, r;
};

// The answer for one point: the triangles its x finishes (in no particular
// order), and the slots of the triangles whose circle contains it.
struct SweepQuery {
    std::vector<Completion> completed;
    std::vector<uint32_t> containing;
};

class SweepIndex {
public:
    // Covers the points' box; `expectedPoints` sizes the rows and buckets.
    SweepIndex(double xmin, double ymin, double xmax, double ymax, size_t expectedPoints);

    // Takes in one insertion's changes (new circles first, then removals,
    // so that a slot taken over keeps its entries where they still fit).
    void apply(const SweepChanges& changes);

    // Moves the sweep to point (x, y) and answers it: what x finishes (and
    // leaves the index), then every circle containing the point by the
    // engine's floating-point test.
    void answer(double x, double y, SweepQuery& out);

private:
    static constexpr uint32_t kNone = 0xFFFFFFFFu;
    void reserveSlot(uint32_t slot);

    CircleBands bands_;
    SweepQueue queue_;
    std::vector<uint32_t> handles_;  // by slot: the circle's handle in bands_, or kNone
    std::vector<uint32_t> entries_;  // by slot: its entry in queue_
    std::vector<uint32_t> due_;
};

// Runs a SweepIndex on a thread of its own over a list of points, up to
// kLookahead + 1 points ahead of the engine: its answer for point j (j
// from 1) reflects the changes of insertions up to j - 1 - kLookahead,
// insertion j being that of point j and insertion 0 the last one before
// the run (the enclosing triangle at first). Both sides wait for the other
// through rings of a few steps, spinning briefly, then yielding.
class SweepLookahead {
public:
    static constexpr size_t kLookahead = 2;

    // `index` has taken in the changes of every insertion before insertion
    // 0, whose changes are `first`.
    SweepLookahead(SweepIndex& index, const std::vector<Point3>& points, const SweepChanges& first);
    ~SweepLookahead();  // stops the thread if it still runs
    SweepLookahead(const SweepLookahead&) = delete;
    SweepLookahead& operator=(const SweepLookahead&) = delete;

    // The answer for point j (1-based), waited for. Rethrows what the
    // thread failed with.
    const SweepQuery& query(size_t j);
    // The changes of insertion j (j >= 0) while it is one of the last
    // kLookahead + 1 insertions; insertion j fills them, then publish(j).
    SweepChanges& changes(size_t j) { return changes_[j % kRing]; }
    void publish(size_t j) { published_.store(static_cast<int64_t>(j), std::memory_order_release); }
    // Stops the thread. The index has then answered points up to a few
    // beyond the last one inserted, and taken in the changes of all but
    // the last few insertions.
    void stop();

private:
    static constexpr size_t kRing = 8;
    static_assert(kRing >= kLookahead + 2, "the rings must hold the steps both sides use at once");
    void run();
    template <class Ready>
    bool waitFor(Ready ready);

    SweepIndex& index_;
    const std::vector<Point3>& points_;
    SweepChanges changes_[kRing];
    SweepQuery queries_[kRing];
    std::atomic<int64_t> published_{-1};  // last insertion whose changes are in changes_
    std::atomic<int64_t> answered_{0};    // last point answered
    std::atomic<bool> stop_{false};
    std::atomic<bool> failed_{false};
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace tz::terrain
