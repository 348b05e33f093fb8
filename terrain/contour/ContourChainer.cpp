#include "contour/ContourChainer.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "contour/PlanEquality.h"
#include "contour/PlanNeighbours.h"

namespace tz::terrain {

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

enum Mark : std::uint8_t { kUnused = 0, kThisChain = 1, kEarlierChain = 2 };

// The state of one level's chaining. Point 2i is the start of segment i and
// point 2i + 1 its end; every plan-equality search is a walk over the points
// the same in plan as one of them, and among the segments found the smallest
// index is the first in list order.
class Chainer {
public:
    Chainer(const std::vector<ContourSegment>& segments, const TinOutline& outline)
        : segments_(segments), outline_(outline), points_(endPoints(segments)), near_(points_),
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
    // A segment as placed in the chain: turned when `reversed`.
    struct Piece {
        std::uint32_t segment;
        bool reversed;
        std::uint32_t startPoint() const { return 2 * segment + (reversed ? 1 : 0); }
        std::uint32_t endPoint() const { return 2 * segment + (reversed ? 0 : 1); }
    };

    static std::vector<Point3> endPoints(const std::vector<ContourSegment>& segments) {
        std::vector<Point3> points;
        points.reserve(2 * segments.size());
        for (const ContourSegment& s : segments) {
            points.push_back(s.start);
            points.push_back(s.end);
        }
        return points;
    }

    void use(std::uint32_t segment) {
        marks_[segment] = kThisChain;
        usedByChain_.push_back(segment);
    }

    // The first unused segment in list order with an end the same in plan as
    // point `point`, and whether its start matched (the start is tested first).
    std::pair<std::uint32_t, bool> firstUnusedTouching(std::uint32_t point) const {
        std::uint32_t best = kNone;
        near_.forEachNear(point, [&](std::uint32_t id) {
            const std::uint32_t s = id / 2;
            if (s < best && marks_[s] == kUnused) best = s;
        });
        if (best == kNone) return {kNone, false};
        return {best, samePlan(segments_[best].start, points_[point])};
    }

    // Whether a segment added to this chain is the same in plan as `candidate`,
    // in either direction. Such a segment has an end near the candidate's start.
    bool chainHolds(std::uint32_t candidate) const {
        const ContourSegment& x = segments_[candidate];
        bool held = false;
        near_.forEachNear(2 * candidate, [&](std::uint32_t id) {
            if (held || heldIn_[id / 2] != chainNumber_) return;
            const ContourSegment& h = segments_[id / 2];
            held = (samePlan(h.start, x.start) && samePlan(h.end, x.end)) ||
                   (samePlan(h.start, x.end) && samePlan(h.end, x.start));
        });
        return held;
    }

    // Whether point `point` is the same in plan as an end of a segment outside this chain.
    bool touchesOtherSegment(std::uint32_t point) const {
        bool touches = false;
        near_.forEachNear(point, [&](std::uint32_t id) {
            if (marks_[id / 2] != kThisChain) touches = true;
        });
        return touches;
    }

    BuiltChain buildChain(std::uint32_t first) {
        ++chainNumber_;
        forward_.assign(1, Piece{first, false});
        backward_.clear();  // nearest the start first
        heldIn_[first] = chainNumber_;
        use(first);
        auto firstPoint = [&] { return backward_.empty() ? forward_.front().startPoint() : backward_.back().startPoint(); };
        auto closed = [&] { return samePoint(points_[forward_.back().endPoint()], points_[firstPoint()]); };

        while (!closed()) {
            const auto [s, startMatched] = firstUnusedTouching(forward_.back().endPoint());
            if (s == kNone) break;
            if (!chainHolds(s)) {
                forward_.push_back(Piece{s, !startMatched});
                heldIn_[s] = chainNumber_;
            }
            use(s);
        }
        while (!closed()) {
            const auto [s, startMatched] = firstUnusedTouching(firstPoint());
            if (s == kNone) break;
            if (!chainHolds(s)) {
                backward_.push_back(Piece{s, startMatched});
                heldIn_[s] = chainNumber_;
            }
            use(s);
        }

        BuiltChain chain;
        chain.vertices.reserve(backward_.size() + forward_.size() + 1);
        chain.vertices.push_back(points_[firstPoint()]);
        for (auto it = backward_.rbegin(); it != backward_.rend(); ++it) chain.vertices.push_back(points_[it->endPoint()]);
        for (const Piece& piece : forward_) chain.vertices.push_back(points_[piece.endPoint()]);
        chain.drawn = isDrawn(chain.vertices.front(), chain.vertices.back());
        return chain;
    }

    // The three reasons to draw a chain are independent, so the cheap ones go
    // first; the outline test may scan every outline edge.
    bool isDrawn(const Point3& first, const Point3& last) const {
        if (samePlan(first, last)) return true;
        for (const auto* part : {&backward_, &forward_})
            for (const Piece& piece : *part)
                if (touchesOtherSegment(2 * piece.segment) || touchesOtherSegment(2 * piece.segment + 1)) return true;
        return outline_.passesThrough(first) && outline_.passesThrough(last);
    }

    const std::vector<ContourSegment>& segments_;
    const TinOutline& outline_;
    const std::vector<Point3> points_;
    const PlanNeighbours near_;
    std::vector<std::uint8_t> marks_;
    std::vector<std::uint32_t> heldIn_;  // number of the chain a segment was added to
    std::vector<std::uint32_t> usedByChain_;
    std::vector<Piece> forward_, backward_;  // the chain being built
    std::uint32_t chainNumber_ = 0;
};

}  // namespace

std::vector<BuiltChain> buildContourChains(const std::vector<ContourSegment>& segments,
                                           const TinOutline& outline) {
    return Chainer(segments, outline).run();
}

}  // namespace tz::terrain
