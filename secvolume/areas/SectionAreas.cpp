#include "SectionAreas.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

// Where each proposed segment meets the existing line, found once: a region
// looks for the next crossing from its start crossing's existing segment
// on, and a proposed line that follows the ground closely crosses it
// thousands of times in one section.
class Regions {
public:
    Regions(const std::vector<SectionSegment>& existing, const std::vector<SectionSegment>& proposed)
        : e_(existing), d_(proposed), meets_(proposed.size()) {
        for (std::size_t d = 0; d < d_.size(); ++d) {
            std::vector<Meet>& meets = meets_[d];
            for (std::size_t e = 0; e < e_.size(); ++e)
                if (auto p = segmentsMeet(e_[e], d_[d])) meets.push_back({*p, e, along(d_[d], *p), 0});
            double lowest = std::numeric_limits<double>::infinity();
            for (std::size_t k = meets.size(); k-- > 0;) meets[k].lowestFromHere = lowest = std::min(lowest, meets[k].at);
        }
    }

    // The first crossing: proposed segments in order, for each the existing
    // segments in order.
    std::optional<Crossing> firstCrossing() const {
        for (std::size_t d = 0; d < d_.size(); ++d)
            if (!meets_[d].empty()) return Crossing{meets_[d].front().point, d, meets_[d].front().existing};
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
            for (auto m = meetsFrom(i, a.existing); m != meets_[i].end(); ++m) {
                if (!samePoint(m->point, a.point)) {
                    b = Crossing{m->point, i, m->existing};
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
    struct Meet {
        Point3 point;
        std::size_t existing;   // the existing segment met
        double at;              // along the proposed segment
        double lowestFromHere;  // the least `at` of this meet and those after it
    };

    // The meets of proposed segment d with existing segments from `existing` on.
    std::vector<Meet>::const_iterator meetsFrom(std::size_t d, std::size_t existing) const {
        return std::lower_bound(meets_[d].begin(), meets_[d].end(), existing,
                                [](const Meet& m, std::size_t e) { return m.existing < e; });
    }

    // A second crossing of the start crossing's own proposed segment, further
    // along it: the nearest (the first of equals), from the existing
    // segments from a's on.
    std::optional<Crossing> laterOnSameSegment(const Crossing& a) const {
        const double from = along(d_[a.proposed], a.point);
        std::optional<Crossing> best;
        double bestAlong = 0;
        for (auto m = meetsFrom(a.proposed, a.existing); m != meets_[a.proposed].end(); ++m) {
            if (best && m->lowestFromHere >= bestAlong) break;  // none after it is nearer
            if (!(m->at > from) || std::hypot(m->point.x - a.point.x, m->point.y - a.point.y) <= kSamePointTolerance)
                continue;
            if (!best || m->at < bestAlong) {
                best = Crossing{m->point, a.proposed, m->existing};
                bestAlong = m->at;
            }
        }
        return best;
    }

    const std::vector<SectionSegment>& e_;
    const std::vector<SectionSegment>& d_;
    std::vector<std::vector<Meet>> meets_;  // per proposed segment, by existing segment
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
