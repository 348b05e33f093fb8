#include "contour/PlanNeighbours.h"

#include <cmath>

namespace tz::terrain {

PlanNeighbours::PlanNeighbours(const std::vector<Point3>& points) : points_(points), windows_(points.size()) {
    std::vector<KeyedIndex> order(points.size()), scratch;
    for (std::uint32_t i = 0; i < points.size(); ++i) order[i] = {orderKey(points[i].x), i};
    radixSortByKey(order, scratch);
    byX_.resize(points.size());
    for (std::size_t k = 0; k < order.size(); ++k) byX_[k] = order[k].index;

    // Points with a finite x form one run of the order (NaNs sort to the ends,
    // infinities next to them); only they can be the same in plan as anything.
    std::size_t first = 0, last = byX_.size();
    while (first < last && !std::isfinite(points[byX_[first]].x)) ++first;
    while (last > first && !std::isfinite(points[byX_[last - 1]].x)) --last;

    // The x difference to a point further on only grows (rounding is
    // monotonic), so the points within the tolerance in x form a run around
    // each point, and the run's ends only move forward along the order.
    std::size_t low = first, high = first;
    for (std::size_t k = first; k < last; ++k) {
        const double x = points[byX_[k]].x;
        while (!(x - points[byX_[low]].x <= kPlanTolerance)) ++low;
        if (high < k) high = k;
        while (high < last && points[byX_[high]].x - x <= kPlanTolerance) ++high;
        windows_[byX_[k]] = {static_cast<std::uint32_t>(low), static_cast<std::uint32_t>(high)};
    }
}

}  // namespace tz::terrain
