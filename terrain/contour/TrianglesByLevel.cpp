#include "contour/TrianglesByLevel.h"

#include <algorithm>
#include <cmath>

namespace tz::terrain {

namespace {

// Finds where an elevation falls among the levels. Contour levels are usually
// evenly spaced, so a guess from the spacing, corrected by exact
// comparisons, replaces most binary searches.
class LevelLocator {
public:
    explicit LevelLocator(std::span<const double> levels) : levels_(levels) {
        if (levels.size() > 1) {
            const double spread = levels.back() - levels.front();
            if (spread > 0 && std::isfinite(spread)) perUnit_ = static_cast<double>(levels.size() - 1) / spread;
        }
    }

    // The first level not below z (levels.size() when none).
    std::size_t firstNotBelow(double z) const {
        return locate(z, [](double level, double value) { return level < value; });
    }

    // The first level above z (levels.size() when none).
    std::size_t firstAbove(double z) const {
        return locate(z, [](double level, double value) { return !(value < level); });
    }

private:
    // The first index whose level is not `before` z; levels before z form a prefix.
    template <class Before>
    std::size_t locate(double z, Before before) const {
        const std::size_t n = levels_.size();
        if (perUnit_ > 0) {
            const double estimate = (z - levels_.front()) * perUnit_;
            if (estimate >= 0 && estimate < static_cast<double>(n)) {
                auto at = static_cast<std::size_t>(estimate);
                for (int step = 0; step < 4; ++step) {
                    if (at < n && before(levels_[at], z)) ++at;
                    else if (at > 0 && !before(levels_[at - 1], z)) --at;
                    else return at;
                }
            }
        }
        return static_cast<std::size_t>(
            std::partition_point(levels_.begin(), levels_.end(), [&](double level) { return before(level, z); }) -
            levels_.begin());
    }

    std::span<const double> levels_;
    double perUnit_ = 0;  // levels per unit of elevation, 0 when not usable
};

}  // namespace

TrianglesByLevel::TrianglesByLevel(const std::vector<Triangle>& triangles, const std::vector<bool>& include,
                                   std::span<const double> levels)
    : levels_(levels.begin(), levels.end()), begin_(levels.size() + 1, 0) {
    if (levels_.empty()) return;
    const LevelLocator locator(levels_);

    // The run of levels each triangle reaches: [first, end).
    struct Reach {
        std::uint32_t triangle, first, end;
    };
    std::vector<Reach> reaches;
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        if (!include.empty() && !include[i]) continue;
        const Triangle& t = triangles[i];
        const double zmin = std::min({t.p1.z, t.p2.z, t.p3.z});
        const double zmax = std::max({t.p1.z, t.p2.z, t.p3.z});
        if (zmax < levels_.front() || zmin > levels_.back()) continue;
        const std::size_t first = locator.firstNotBelow(zmin);
        const std::size_t end = locator.firstAbove(zmax);
        if (first < end)
            reaches.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(first),
                               static_cast<std::uint32_t>(end)});
    }

    // Counting sort by level; each level's triangles stay in file order.
    std::vector<std::size_t> change(levels_.size() + 1, 0);
    for (const Reach& r : reaches) {
        ++change[r.first];
        --change[r.end];
    }
    std::size_t reachingLevel = 0, total = 0;
    for (std::size_t k = 0; k < levels_.size(); ++k) {
        reachingLevel += change[k];
        begin_[k] = total;
        total += reachingLevel;
    }
    begin_[levels_.size()] = total;
    ids_.resize(total);
    std::vector<std::size_t> fill(begin_.begin(), begin_.end() - 1);
    for (const Reach& r : reaches)
        for (std::uint32_t k = r.first; k < r.end; ++k) ids_[fill[k]++] = r.triangle;
}

}  // namespace tz::terrain
