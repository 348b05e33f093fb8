// For each point of a fixed set, the points of the set that are the same in
// plan as it (|dx| <= 0.00001 and |dy| <= 0.00001), found exactly: the points
// are put in x order once, and each point's x-neighbourhood is a run of that
// order.
#pragma once

#include <cstdint>
#include <vector>

#include "contour/PlanEquality.h"
#include "contour/RadixSort.h"
#include "tin/Triangle.h"

namespace tz::terrain {

class PlanNeighbours {
public:
    // Points are known by their position in `points`, which must outlive this.
    explicit PlanNeighbours(const std::vector<Point3>& points);

    // Calls visit(j) for every point j the same in plan as point `id`
    // (samePlan), `id` itself included when it is the same in plan as itself
    // (no NaN or infinite coordinate), in no particular order.
    template <class Visit>
    void forEachNear(std::uint32_t id, Visit&& visit) const {
        const Point3& p = points_[id];
        const Window w = windows_[id];
        for (std::uint32_t k = w.begin; k < w.end; ++k) {
            const std::uint32_t j = byX_[k];
            if (std::fabs(points_[j].y - p.y) <= kPlanTolerance) visit(j);
        }
    }

private:
    struct Window {
        std::uint32_t begin = 0, end = 0;  // positions in byX_ within the plan tolerance in x
    };

    const std::vector<Point3>& points_;
    std::vector<std::uint32_t> byX_;  // point ids in ascending x
    std::vector<Window> windows_;     // per point id
};

}  // namespace tz::terrain
