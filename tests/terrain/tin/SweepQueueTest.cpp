// The bucket queue must hand out exactly the ids whose key is less than x,
// each once, whatever the keys (left of the range, beyond it, in one
// bucket; entries withdrawn or taken over by another id and key) and
// wherever x goes (forward, back, beyond the range).
#include "tin/SweepQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

namespace tz::terrain {
namespace {

std::vector<uint32_t> sorted(std::vector<uint32_t> ids) {
    std::sort(ids.begin(), ids.end());
    return ids;
}

TEST(SweepQueue, HandsOutExactlyTheKeysLessThanX) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> u(0, 1);
    SweepQueue queue(100, 200, 37);
    std::map<uint32_t, double> waiting;     // id -> key
    std::map<uint32_t, uint32_t> entries;   // id -> entry
    uint32_t nextId = 0;
    double x = 90;
    for (int step = 0; step < 3000; ++step) {
        // Mostly forward, sometimes back, at the end beyond the range.
        x += step % 97 == 0 ? -3 : u(random) * 0.06;
        if (step > 2900) x = 250;
        for (int k = 0; k < 3; ++k) {
            double key = x + (u(random) - 0.1) * 20;  // some keys already left of x
            if (k == 2 && step % 5 == 0) key = 1e300;  // never due within the range
            if (k == 1 && step % 7 == 0) key = x;      // due at the next larger x
            entries[nextId] = queue.push(key, nextId);
            waiting[nextId++] = key;
        }
        if (step % 3 == 0 && !waiting.empty()) {
            auto it = waiting.begin();
            std::advance(it, static_cast<long>(random() % waiting.size()));
            queue.withdraw(entries[it->first]);
            entries.erase(it->first);
            waiting.erase(it);
        }
        // An entry taken over by another id with a key near or far from
        // its own, as a new triangle takes over an old one's entry.
        if (step % 2 == 0 && !waiting.empty()) {
            auto it = waiting.begin();
            std::advance(it, static_cast<long>(random() % waiting.size()));
            const uint32_t entry = entries[it->first];
            const double key = step % 4 == 0 ? it->second + u(random) * 0.1 : x + (u(random) - 0.1) * 40;
            entries.erase(it->first);
            waiting.erase(it);
            queue.replace(entry, key, nextId);
            entries[nextId] = entry;
            waiting[nextId++] = key;
        }
        std::vector<uint32_t> due;
        queue.popBefore(x, due);
        std::vector<uint32_t> expected;
        for (auto it = waiting.begin(); it != waiting.end();) {
            if (it->second < x) {
                expected.push_back(it->first);
                entries.erase(it->first);
                it = waiting.erase(it);
            } else {
                ++it;
            }
        }
        ASSERT_EQ(sorted(due), expected) << "step " << step << " x " << x;
    }
}

TEST(SweepQueue, EmptyRangeAndNotANumber) {
    SweepQueue queue(5, 5, 10);  // every point at one x
    queue.push(5, 1);
    queue.push(4.5, 2);
    queue.push(6, 3);
    std::vector<uint32_t> due;
    queue.popBefore(std::nan(""), due);  // nothing compares less than NaN
    EXPECT_TRUE(due.empty());
    queue.popBefore(5, due);
    EXPECT_EQ(sorted(due), (std::vector<uint32_t>{2}));
    due.clear();
    queue.popBefore(5.5, due);
    EXPECT_EQ(sorted(due), (std::vector<uint32_t>{1}));
    due.clear();
    queue.popBefore(7, due);
    EXPECT_EQ(sorted(due), (std::vector<uint32_t>{3}));
}

}  // namespace
}  // namespace tz::terrain
