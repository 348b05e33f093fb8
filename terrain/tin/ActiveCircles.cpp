#include "tin/ActiveCircles.h"

#include <algorithm>
#include <cmath>

namespace tz::terrain {

ActiveCircles::ActiveCircles(double xmin, double xmax, size_t buckets) {
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

uint32_t ActiveCircles::add(const Circle& c, const CircleBounds& bounds, uint32_t slot) {
    uint32_t entry = free_;
    if (entry != kNone) {
        free_ = entries_[entry].next;
    } else {
        entry = static_cast<uint32_t>(entries_.size());
        entries_.emplace_back();
    }
    Entry& e = entries_[entry];
    fill(e, c, bounds, slot);
    // A right end left of the buckets already emptied still waits for the
    // next point, which is checked against the cursor's bucket entry by entry.
    link(entry, std::max(bucketOf(e.rightEnd), cursor_));
    return entry;
}

void ActiveCircles::replace(uint32_t entry, const Circle& c, const CircleBounds& bounds, uint32_t slot) {
    Entry& e = entries_[entry];
    fill(e, c, bounds, slot);
    const uint32_t bucket = std::max(bucketOf(e.rightEnd), cursor_);
    if (bucket != e.bucket) {
        unlink(entry);
        link(entry, bucket);
    }
}

void ActiveCircles::takeFinished(double x, std::vector<Finished>& out) {
    const uint32_t bucket = bucketOf(x);
    for (; cursor_ < bucket; ++cursor_) {
        uint32_t entry = heads_[cursor_];
        heads_[cursor_] = kNone;
        while (entry != kNone) {
            const uint32_t next = entries_[entry].next;
            out.push_back({entries_[entry].slot, entries_[entry].rightEnd, entries_[entry].r});
            release(entry);
            entry = next;
        }
    }
    // The cursor's bucket (the point's own, or one right of it when x went
    // back) holds due and waiting entries alike.
    for (uint32_t entry = heads_[cursor_]; entry != kNone;) {
        const uint32_t next = entries_[entry].next;
        if (entries_[entry].rightEnd < x) {
            out.push_back({entries_[entry].slot, entries_[entry].rightEnd, entries_[entry].r});
            unlink(entry);
            release(entry);
        }
        entry = next;
    }
}

}  // namespace tz::terrain
