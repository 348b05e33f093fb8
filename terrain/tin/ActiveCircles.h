// The circles of the sweep's active triangles, one entry per triangle:
// what the floating-point test of a new point reads, and the queue that
// says when the sweep has passed a circle (a triangle is finished by the
// first point with x > xc + r).
//
// Points arrive in order of x, so buckets over the right ends do what a
// heap would, in constant time per entry: the buckets left of the point's
// bucket are emptied whole, the point's own bucket is checked entry by
// entry. Monotone bucket numbers make this exact: key < x gives
// bucket(key) <= bucket(x), so nothing due can wait right of the point's
// bucket, and bucket(key) < bucket(x) gives key < x, so everything left of
// it is due. An entry taken out leaves its bucket at once, so the entries
// in use are the active triangles and no more, and can be walked whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tin/Circumcircle.h"

namespace tz::terrain {

class ActiveCircles {
public:
    static constexpr uint32_t kNone = 0xFFFFFFFFu;

    struct Entry {
        double xc, yc, r;
        double rightEnd;  // xc + r, as the sweep compares it
        CircleBounds bounds;
        uint32_t slot;    // the triangle's, or kNone while the entry is free
        uint32_t bucket;
        uint32_t next, previous;  // in the bucket's list; next also links free entries
    };

    // Buckets cover [xmin, xmax] in `buckets` equal parts; right ends
    // beyond xmax wait in one more bucket.
    ActiveCircles(double xmin, double xmax, size_t buckets);

    // Enters the circle of the triangle in `slot`; answers the entry.
    uint32_t add(const Circle& c, const CircleBounds& bounds, uint32_t slot);
    // Gives an entry a new triangle's circle, as take and add would,
    // keeping its number.
    void replace(uint32_t entry, const Circle& c, const CircleBounds& bounds, uint32_t slot);
    // Takes an entry out; its number may be given out again.
    void take(uint32_t entry) {
        unlink(entry);
        release(entry);
    }

    const Entry& operator[](uint32_t entry) const { return entries_[entry]; }

    // A triangle the sweep finished, with the right end and radius of its circle.
    struct Finished {
        uint32_t slot;
        double rightEnd, r;
    };
    // Takes out every entry whose right end is less than x and appends it
    // to `out` (in no particular order). Meant for x that do not decrease;
    // a smaller x is still answered exactly.
    void takeFinished(double x, std::vector<Finished>& out);

    // Calls visit(entry) for every entry in use (each active triangle once).
    template <class Visit>
    void forEach(Visit&& visit) const {
        for (const Entry& e : entries_) {
            if (e.slot != kNone) visit(e);
        }
    }

private:
    uint32_t bucketOf(double x) const {
        if (x > x1_) return overflow_;
        const double v = (x - x0_) * inverse_;
        if (!(v >= 0)) return 0;
        if (v >= overflow_ - 1) return overflow_ - 1;
        return static_cast<uint32_t>(v);
    }
    void fill(Entry& e, const Circle& c, const CircleBounds& bounds, uint32_t slot) {
        e.xc = c.xc, e.yc = c.yc, e.r = c.r;
        e.rightEnd = c.xc + c.r;
        e.bounds = bounds;
        e.slot = slot;
    }
    void unlink(uint32_t entry) {
        const Entry& e = entries_[entry];
        if (e.previous == kNone) {
            heads_[e.bucket] = e.next;
        } else {
            entries_[e.previous].next = e.next;
        }
        if (e.next != kNone) entries_[e.next].previous = e.previous;
    }
    void link(uint32_t entry, uint32_t bucket) {
        Entry& e = entries_[entry];
        const uint32_t head = heads_[bucket];
        e.bucket = bucket;
        e.next = head;
        e.previous = kNone;
        if (head != kNone) entries_[head].previous = entry;
        heads_[bucket] = entry;
    }
    void release(uint32_t entry) {
        entries_[entry].slot = kNone;
        entries_[entry].next = free_;
        free_ = entry;
    }

    double x0_, x1_, inverse_;
    uint32_t overflow_;    // the bucket of right ends beyond xmax
    uint32_t cursor_ = 0;  // every bucket before it is empty
    std::vector<uint32_t> heads_;
    std::vector<Entry> entries_;
    uint32_t free_ = kNone;
};

}  // namespace tz::terrain
