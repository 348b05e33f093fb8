#include "SectionAreas.h"

#include <cmath>

#include "PolygonArea.h"
#include "SegmentsMeet.h"

namespace tz::secvolume {

namespace {

constexpr double kSamePointTolerance = 0.001;

struct Crossing {
    Point3 point;
    std::size_t proposed = 0;  // index of the proposed segment
    std::size_t existing = 0;  // index of the existing segment
};

bool samePoint(const Point3& a, const Point3& b) { return a.x == b.x && a.y == b.y; }

// Position of a point along a segment's direction (unnormalised).
double along(const SectionSegment& s, const Point3& p) {
    return (p.x - s.start.x) * (s.end.x - s.start.x) + (p.y - s.start.y) * (s.end.y - s.start.y);
}

class Regions {
public:
    Regions(const std::vector<SectionSegment>& existing, const std::vector<SectionSegment>& proposed)
        : e_(existing), d_(proposed) {}

    // The first crossing: proposed segments in order, for each the existing
    // segments in order.
    std::optional<Crossing> firstCrossing() const {
        for (std::size_t d = 0; d < d_.size(); ++d)
            for (std::size_t e = 0; e < e_.size(); ++e)
                if (auto p = segmentsMeet(e_[e], d_[d])) return Crossing{*p, d, e};
        return std::nullopt;
    }

    // The region from crossing `a` to the next crossing along the proposed
    // line; adds its area and returns that next crossing, or none when the
    // proposed line crosses no more.
    std::optional<Crossing> closeRegion(const Crossing& a, CutFill& areas) const {
        std::vector<Point3> polygon{a.point};
        std::optional<Crossing> b = laterOnSameSegment(a);
        for (std::size_t i = a.proposed + 1; !b && i < d_.size(); ++i) {
            polygon.push_back(d_[i].start);
            for (std::size_t j = a.existing; j < e_.size(); ++j) {
                const auto p = segmentsMeet(e_[j], d_[i]);
                if (p && !samePoint(*p, a.point)) {
                    b = Crossing{*p, i, j};
                    break;
                }
            }
        }
        if (!b) return std::nullopt;
        if (b->existing == a.existing) {
            const auto onProposed = segmentsMeet(d_[b->proposed], e_[a.existing]);
            polygon.push_back(onProposed ? *onProposed : b->point);
        } else {
            polygon.push_back(b->point);
            for (std::size_t j = b->existing; j > a.existing; --j) polygon.push_back(e_[j].start);
        }
        const double g = -polygonArea(polygon);
        if (g < 0)
            areas.cut += g;
        else
            areas.fill += g;
        return b;
    }

private:
    // A second crossing of the start crossing's own proposed segment, further
    // along it: the nearest, from the existing segments from a's on.
    std::optional<Crossing> laterOnSameSegment(const Crossing& a) const {
        const SectionSegment& segment = d_[a.proposed];
        const double from = along(segment, a.point);
        std::optional<Crossing> best;
        double bestAlong = 0;
        for (std::size_t j = a.existing; j < e_.size(); ++j) {
            const auto p = segmentsMeet(e_[j], segment);
            if (!p) continue;
            const double at = along(segment, *p);
            if (!(at > from) || std::hypot(p->x - a.point.x, p->y - a.point.y) <= kSamePointTolerance) continue;
            if (!best || at < bestAlong) {
                best = Crossing{*p, a.proposed, j};
                bestAlong = at;
            }
        }
        return best;
    }

    const std::vector<SectionSegment>& e_;
    const std::vector<SectionSegment>& d_;
};

}  // namespace

CutFill sectionAreas(const std::vector<SectionSegment>& existing, const std::vector<SectionSegment>& proposed) {
    CutFill areas;
    const Regions regions(existing, proposed);
    // Each region starts where the one before it closed.
    for (std::optional<Crossing> start = regions.firstCrossing(); start;)
        start = regions.closeRegion(*start, areas);
    return areas;
}

}  // namespace tz::secvolume
