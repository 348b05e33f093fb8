// The sweep's circles must hand out exactly the triangles whose circle ends
// left of x, each once, whatever the right ends (left of the range, beyond
// it, in one bucket; entries taken out or taken over by another triangle)
// and wherever x goes (forward, back, beyond the range); and the entries in
// use must be the triangles still waiting, with the circles they were given.
#include "tin/ActiveCircles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

namespace tz::terrain {
namespace {

const CircleBounds kNoBounds{0, 0, 0, 0};

std::vector<uint32_t> slotsOf(const std::vector<ActiveCircles::Finished>& finished) {
    std::vector<uint32_t> slots;
    for (const auto& f : finished) slots.push_back(f.slot);
    std::sort(slots.begin(), slots.end());
    return slots;
}

// A circle whose right end is about `end`, made as the engine makes them.
Circle circleEnding(double end, double r) { return {end - r, 0, r}; }

TEST(ActiveCircles, HandsOutExactlyTheCirclesEndingLeftOfX) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> u(0, 1);
    ActiveCircles circles(100, 200, 37);
    std::map<uint32_t, Circle> waiting;    // slot -> circle
    std::map<uint32_t, uint32_t> entries;  // slot -> entry
    uint32_t nextSlot = 0;
    double x = 90;
    auto pickWaiting = [&] {
        auto it = waiting.begin();
        std::advance(it, static_cast<long>(random() % waiting.size()));
        return it;
    };
    for (int step = 0; step < 3000; ++step) {
        // Mostly forward, sometimes back, at the end beyond the range.
        x += step % 97 == 0 ? -3 : u(random) * 0.06;
        if (step > 2900) x = 250;
        for (int k = 0; k < 3; ++k) {
            double end = x + (u(random) - 0.1) * 20;   // some already left of x
            if (k == 2 && step % 5 == 0) end = 1e300;  // never due within the range
            if (k == 1 && step % 7 == 0) end = x;      // due at the next larger x
            const Circle c = circleEnding(end, 1 + u(random));
            entries[nextSlot] = circles.add(c, kNoBounds, nextSlot);
            waiting[nextSlot++] = c;
        }
        if (step % 3 == 0 && !waiting.empty()) {
            const auto it = pickWaiting();
            circles.take(entries[it->first]);
            entries.erase(it->first);
            waiting.erase(it);
        }
        // An entry taken over by another triangle with a circle ending near
        // or far from the old one's, as a new triangle takes over a slot.
        if (step % 2 == 0 && !waiting.empty()) {
            const auto it = pickWaiting();
            const uint32_t entry = entries[it->first];
            const double oldEnd = it->second.xc + it->second.r;
            const double end = step % 4 == 0 ? oldEnd + u(random) * 0.1 : x + (u(random) - 0.1) * 40;
            entries.erase(it->first);
            waiting.erase(it);
            const Circle c = circleEnding(end, 2);
            circles.replace(entry, c, kNoBounds, nextSlot);
            entries[nextSlot] = entry;
            waiting[nextSlot++] = c;
        }
        std::vector<ActiveCircles::Finished> finished;
        circles.takeFinished(x, finished);
        std::vector<uint32_t> expected;
        std::map<uint32_t, Circle> due;
        for (auto it = waiting.begin(); it != waiting.end();) {
            if (x > it->second.xc + it->second.r) {
                expected.push_back(it->first);
                due[it->first] = it->second;
                entries.erase(it->first);
                it = waiting.erase(it);
            } else {
                ++it;
            }
        }
        ASSERT_EQ(slotsOf(finished), expected) << "step " << step << " x " << x;
        for (const auto& f : finished) {  // each with the right end and radius of its own circle
            EXPECT_EQ(f.rightEnd, due[f.slot].xc + due[f.slot].r);
            EXPECT_EQ(f.r, due[f.slot].r);
        }

        if (step % 50 == 0) {
            std::map<uint32_t, Circle> inUse;
            circles.forEach([&](const ActiveCircles::Entry& e) {
                EXPECT_TRUE(inUse.emplace(e.slot, Circle{e.xc, e.yc, e.r}).second) << "slot " << e.slot << " twice";
            });
            ASSERT_EQ(inUse.size(), waiting.size()) << "step " << step;
            for (const auto& [slot, c] : waiting) {
                ASSERT_TRUE(inUse.count(slot)) << "slot " << slot;
                EXPECT_EQ(inUse[slot].xc, c.xc);
                EXPECT_EQ(inUse[slot].r, c.r);
                EXPECT_EQ(circles[entries[slot]].slot, slot);
            }
        }
    }
}

TEST(ActiveCircles, EmptyRangeAndNotANumber) {
    ActiveCircles circles(5, 5, 10);  // every point at one x
    circles.add(circleEnding(5, 1), kNoBounds, 1);
    circles.add(circleEnding(4.5, 1), kNoBounds, 2);
    circles.add(circleEnding(6, 1), kNoBounds, 3);
    std::vector<ActiveCircles::Finished> finished;
    circles.takeFinished(std::nan(""), finished);  // nothing compares less than NaN
    EXPECT_TRUE(finished.empty());
    circles.takeFinished(5, finished);
    EXPECT_EQ(slotsOf(finished), (std::vector<uint32_t>{2}));
    EXPECT_EQ(finished[0].rightEnd, 4.5);
    finished.clear();
    circles.takeFinished(5.5, finished);
    EXPECT_EQ(slotsOf(finished), (std::vector<uint32_t>{1}));
    finished.clear();
    circles.takeFinished(7, finished);
    EXPECT_EQ(slotsOf(finished), (std::vector<uint32_t>{3}));
    size_t inUse = 0;
    circles.forEach([&](const ActiveCircles::Entry&) { ++inUse; });
    EXPECT_EQ(inUse, 0u);
}

}  // namespace
}  // namespace tz::terrain
