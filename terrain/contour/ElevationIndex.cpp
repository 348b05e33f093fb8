#include "contour/ElevationIndex.h"

#include <algorithm>

namespace tz::terrain {

ElevationIndex::ElevationIndex(const std::vector<Triangle>& triangles,
                               const std::vector<bool>& include) {
    std::vector<Range> ranges;
    ranges.reserve(triangles.size());
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        if (!include.empty() && !include[i]) continue;
        const Triangle& t = triangles[i];
        ranges.push_back({std::min({t.p1.z, t.p2.z, t.p3.z}), std::max({t.p1.z, t.p2.z, t.p3.z}),
                          static_cast<std::uint32_t>(i)});
    }
    byLow_.reserve(ranges.size());
    byHigh_.reserve(ranges.size());
    root_ = build(ranges);
}

std::int32_t ElevationIndex::build(std::vector<Range>& ranges) {
    if (ranges.empty()) return -1;
    // The median of the lows as centre: the range holding it stays at this
    // node, so every node keeps at least one range and the depth stays
    // logarithmic (at most half the ranges lie wholly above the median low,
    // and the ones wholly below it are fewer than half).
    std::vector<double> lows(ranges.size());
    for (std::size_t i = 0; i < ranges.size(); ++i) lows[i] = ranges[i].low;
    auto middle = lows.begin() + static_cast<std::ptrdiff_t>(lows.size() / 2);
    std::nth_element(lows.begin(), middle, lows.end());
    const double centre = *middle;

    std::vector<Range> below, above, here;
    for (const Range& r : ranges) {
        if (r.high < centre) below.push_back(r);
        else if (r.low > centre) above.push_back(r);
        else here.push_back(r);
    }
    ranges.clear();
    ranges.shrink_to_fit();

    const std::int32_t index = static_cast<std::int32_t>(nodes_.size());
    Node node;
    node.centre = centre;
    node.begin = static_cast<std::uint32_t>(byLow_.size());
    std::sort(here.begin(), here.end(), [](const Range& a, const Range& b) { return a.low < b.low; });
    byLow_.insert(byLow_.end(), here.begin(), here.end());
    std::sort(here.begin(), here.end(), [](const Range& a, const Range& b) { return a.high > b.high; });
    byHigh_.insert(byHigh_.end(), here.begin(), here.end());
    node.end = static_cast<std::uint32_t>(byLow_.size());
    nodes_.push_back(node);
    here.clear();
    here.shrink_to_fit();

    const std::int32_t belowChild = build(below);
    const std::int32_t aboveChild = build(above);
    nodes_[index].below = belowChild;
    nodes_[index].above = aboveChild;
    return index;
}

std::vector<std::uint32_t> ElevationIndex::trianglesSpanning(double e) const {
    std::vector<std::uint32_t> found;
    if (e != e) return found;  // NaN lies within no range
    std::int32_t at = root_;
    while (at >= 0) {
        const Node& node = nodes_[at];
        if (e < node.centre) {
            // Every range here reaches the centre, so only the low end decides.
            for (std::uint32_t k = node.begin; k < node.end && byLow_[k].low <= e; ++k)
                found.push_back(byLow_[k].id);
            at = node.below;
        } else if (e > node.centre) {
            for (std::uint32_t k = node.begin; k < node.end && byHigh_[k].high >= e; ++k)
                found.push_back(byHigh_[k].id);
            at = node.above;
        } else {
            for (std::uint32_t k = node.begin; k < node.end; ++k) found.push_back(byLow_[k].id);
            at = -1;
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace tz::terrain
