#include "tin/SweepQueue.h"

#include <algorithm>
#include <cmath>

namespace tz::terrain {

SweepQueue::SweepQueue(double xmin, double xmax, size_t buckets) {
    if (!(std::isfinite(xmin) && std::isfinite(xmax)) || xmax < xmin) {
        xmin = 0;
        xmax = 1;
    }
    buckets = std::clamp<size_t>(buckets, 1, size_t{1} << 26);
    x0_ = xmin;
    x1_ = xmax;
    const double width = xmax - xmin;
    inverse_ = width > 0 ? static_cast<double>(buckets) / width : 0;
    if (!std::isfinite(inverse_)) inverse_ = 0;
    overflow_ = static_cast<uint32_t>(buckets);
    heads_.assign(buckets + 1, kNone);
}

uint32_t SweepQueue::push(double key, uint32_t id) {
    // A key left of the buckets already emptied still waits for the next
    // point, which is checked against the cursor's bucket entry by entry.
    const uint32_t bucket = std::max(bucketOf(key), cursor_);
    uint32_t entry = free_;
    if (entry != kNone) {
        free_ = entries_[entry].next;
    } else {
        entry = static_cast<uint32_t>(entries_.size());
        entries_.emplace_back();
    }
    entries_[entry].key = key;
    entries_[entry].id = id;
    link(entry, bucket);
    return entry;
}

void SweepQueue::replace(uint32_t entry, double key, uint32_t id) {
    const uint32_t bucket = std::max(bucketOf(key), cursor_);
    if (bucket != entries_[entry].bucket) {
        unlink(entry);
        link(entry, bucket);
    }
    entries_[entry].key = key;
    entries_[entry].id = id;
}

void SweepQueue::popBefore(double x, std::vector<uint32_t>& out) {
    const uint32_t bucket = bucketOf(x);
    for (; cursor_ < bucket; ++cursor_) {
        uint32_t entry = heads_[cursor_];
        heads_[cursor_] = kNone;
        while (entry != kNone) {
            const uint32_t next = entries_[entry].next;
            out.push_back(entries_[entry].id);
            release(entry);
            entry = next;
        }
    }
    // The cursor's bucket (the point's own, or one right of it when x went
    // back) holds due and waiting keys alike.
    for (uint32_t entry = heads_[cursor_]; entry != kNone;) {
        const uint32_t next = entries_[entry].next;
        if (entries_[entry].key < x) {
            out.push_back(entries_[entry].id);
            unlink(entry);
            release(entry);
        }
        entry = next;
    }
}

}  // namespace tz::terrain
