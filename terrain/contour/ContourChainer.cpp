#include "contour/ContourChainer.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "contour/PlanEquality.h"
#include "contour/PlanPointGrid.h"

namespace tz::terrain {

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

enum Mark : std::uint8_t { kUnused = 0, kThisChain = 1, kEarlierChain = 2 };

ContourSegment reversed(const ContourSegment& s) { return {s.end, s.start}; }

// The state of one level's chaining. Point 2i is the start of segment i and
// point 2i + 1 its end; the grid finds candidates for every plan-equality
// search, and among them the smallest segment index is the first in list order.
class Chainer {
public:
    Chainer(const std::vector<ContourSegment>& segments, const TinOutline& outline)
        : segments_(segments), outline_(outline), grid_(endPoints(segments)),
          marks_(segments.size(), kUnused), heldIn_(segments.size(), kNone) {}

    std::vector<BuiltChain> run() {
        std::vector<BuiltChain> chains;
        std::size_t firstUnused = 0;
        while (true) {
            for (std::uint32_t s : usedByChain_) marks_[s] = kEarlierChain;
            usedByChain_.clear();
            while (firstUnused < segments_.size() && marks_[firstUnused] != kUnused) ++firstUnused;
            if (firstUnused == segments_.size()) break;
            chains.push_back(buildChain(static_cast<std::uint32_t>(firstUnused)));
        }
        return chains;
    }

private:
    static std::vector<Point3> endPoints(const std::vector<ContourSegment>& segments) {
        std::vector<Point3> points;
        points.reserve(2 * segments.size());
        for (const ContourSegment& s : segments) {
            points.push_back(s.start);
            points.push_back(s.end);
        }
        return points;
    }

    const Point3& pointAt(std::uint32_t id) const {
        return id % 2 == 0 ? segments_[id / 2].start : segments_[id / 2].end;
    }

    void use(std::uint32_t segment) {
        marks_[segment] = kThisChain;
        usedByChain_.push_back(segment);
    }

    // The first unused segment in list order with an end the same in plan as
    // `p`, and whether its start matched (the start is tested first).
    std::pair<std::uint32_t, bool> firstUnusedTouching(const Point3& p) const {
        std::uint32_t best = kNone;
        grid_.forEachNear(p, [&](std::uint32_t id) {
            const std::uint32_t s = id / 2;
            if (s < best && marks_[s] == kUnused && samePlan(pointAt(id), p)) best = s;
        });
        if (best == kNone) return {kNone, false};
        return {best, samePlan(segments_[best].start, p)};
    }

    // Whether a segment added to this chain is the same in plan as `candidate`,
    // in either direction. Such a segment has an end near the candidate's start.
    bool chainHolds(std::uint32_t candidate) const {
        const ContourSegment& x = segments_[candidate];
        bool held = false;
        grid_.forEachNear(x.start, [&](std::uint32_t id) {
            if (held || heldIn_[id / 2] != chainNumber_) return;
            const ContourSegment& h = segments_[id / 2];
            held = (samePlan(h.start, x.start) && samePlan(h.end, x.end)) ||
                   (samePlan(h.start, x.end) && samePlan(h.end, x.start));
        });
        return held;
    }

    // Whether `p` is the same in plan as an end of a segment outside this chain.
    bool touchesOtherSegment(const Point3& p) const {
        bool touches = false;
        grid_.forEachNear(p, [&](std::uint32_t id) {
            if (!touches && marks_[id / 2] != kThisChain && samePlan(pointAt(id), p)) touches = true;
        });
        return touches;
    }

    BuiltChain buildChain(std::uint32_t first) {
        ++chainNumber_;
        std::vector<ContourSegment> forward{segments_[first]};
        std::vector<ContourSegment> backward;  // nearest the start first
        heldIn_[first] = chainNumber_;
        use(first);
        auto firstPoint = [&]() -> const Point3& {
            return backward.empty() ? forward.front().start : backward.back().start;
        };
        auto closed = [&] { return samePoint(forward.back().end, firstPoint()); };

        while (!closed()) {
            const auto [s, startMatched] = firstUnusedTouching(forward.back().end);
            if (s == kNone) break;
            if (!chainHolds(s)) {
                forward.push_back(startMatched ? segments_[s] : reversed(segments_[s]));
                heldIn_[s] = chainNumber_;
            }
            use(s);
        }
        while (!closed()) {
            const auto [s, startMatched] = firstUnusedTouching(firstPoint());
            if (s == kNone) break;
            if (!chainHolds(s)) {
                backward.push_back(startMatched ? reversed(segments_[s]) : segments_[s]);
                heldIn_[s] = chainNumber_;
            }
            use(s);
        }

        BuiltChain chain;
        chain.vertices.reserve(backward.size() + forward.size() + 1);
        chain.vertices.push_back(firstPoint());
        for (auto it = backward.rbegin(); it != backward.rend(); ++it) chain.vertices.push_back(it->end);
        for (const ContourSegment& s : forward) chain.vertices.push_back(s.end);
        chain.drawn = isDrawn(forward, backward, chain.vertices.front(), chain.vertices.back());
        return chain;
    }

    // The three reasons to draw a chain are independent, so the cheap ones go
    // first; the outline test may scan every outline edge.
    bool isDrawn(const std::vector<ContourSegment>& forward, const std::vector<ContourSegment>& backward,
                 const Point3& first, const Point3& last) const {
        if (samePlan(first, last)) return true;
        for (const auto* part : {&backward, &forward})
            for (const ContourSegment& s : *part)
                if (touchesOtherSegment(s.start) || touchesOtherSegment(s.end)) return true;
        return outline_.passesThrough(first) && outline_.passesThrough(last);
    }

    const std::vector<ContourSegment>& segments_;
    const TinOutline& outline_;
    PlanPointGrid grid_;
    std::vector<std::uint8_t> marks_;
    std::vector<std::uint32_t> heldIn_;  // number of the chain a segment was added to
    std::vector<std::uint32_t> usedByChain_;
    std::uint32_t chainNumber_ = 0;
};

}  // namespace

std::vector<BuiltChain> buildContourChains(const std::vector<ContourSegment>& segments,
                                           const TinOutline& outline) {
    return Chainer(segments, outline).run();
}

}  // namespace tz::terrain
