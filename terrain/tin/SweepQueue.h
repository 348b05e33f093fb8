// Things waiting for the sweep to pass a key: an id is due at the first x
// greater than its key (a triangle is finished by the first point with
// x > xc + r). Points arrive in order of x, so a queue of buckets over x
// does what a heap would, in constant time per entry: the buckets left of
// the point's bucket are emptied whole, the point's own bucket is checked
// entry by entry.
//
// Monotone bucket numbers make this exact: key < x gives bucket(key) <=
// bucket(x), so nothing due can wait right of the point's bucket, and
// bucket(key) < bucket(x) gives key < x, so everything left of it is due.
// Withdrawn entries leave at once, so the entries in use stay few and warm
// in the cache however far right their keys lie.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tz::terrain {

class SweepQueue {
public:
    static constexpr uint32_t kNone = 0xFFFFFFFFu;

    // Buckets cover [xmin, xmax] in `buckets` equal parts; keys beyond xmax
    // wait in one more bucket.
    SweepQueue(double xmin, double xmax, size_t buckets);

    // Queues `id` to be due at the first x greater than `key`; answers the
    // entry that withdraws it.
    uint32_t push(double key, uint32_t id);

    // Gives an entry that has not been handed out a new key and id, as
    // withdraw and push would, keeping its number.
    void replace(uint32_t entry, double key, uint32_t id);

    // Withdraws an entry that has not been handed out.
    void withdraw(uint32_t entry) {
        unlink(entry);
        release(entry);
    }

    // Appends to `out` every queued id whose key is less than x (in no
    // particular order) and forgets them. Meant for x that do not decrease;
    // a smaller x is still answered exactly.
    void popBefore(double x, std::vector<uint32_t>& out);

private:
    struct Entry {
        double key;
        uint32_t id;
        uint32_t bucket;
        uint32_t next, previous;  // in the bucket's list
    };

    uint32_t bucketOf(double x) const {
        if (x > x1_) return overflow_;
        const double v = (x - x0_) * inverse_;
        if (!(v >= 0)) return 0;
        if (v >= overflow_ - 1) return overflow_ - 1;
        return static_cast<uint32_t>(v);
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
        entries_[entry].next = free_;
        free_ = entry;
    }

    double x0_, x1_, inverse_;
    uint32_t overflow_;    // the bucket of keys beyond xmax
    uint32_t cursor_ = 0;  // every bucket before it is empty
    std::vector<uint32_t> heads_;
    std::vector<Entry> entries_;
    uint32_t free_ = kNone;
};

}  // namespace tz::terrain
