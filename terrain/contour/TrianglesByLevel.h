// The triangles that reach each of a run of contour levels, sorted out in two
// passes over the TIN, so that tracing a level costs in proportion to the
// triangles it reaches instead of a scan of the whole TIN per level.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tin/Triangle.h"

namespace tz::terrain {

class TrianglesByLevel {
public:
    // `levels` ascending (equal neighbours allowed), none NaN. Only triangles
    // with include[i] true take part (all of them when `include` is empty);
    // their elevations must be finite.
    TrianglesByLevel(const std::vector<Triangle>& triangles, const std::vector<bool>& include,
                     std::span<const double> levels);

    std::size_t levelCount() const { return levels_.size(); }
    double level(std::size_t k) const { return levels_[k]; }

    // The indices of the triangles with zmin <= level(k) <= zmax (exact
    // comparisons, flat triangles included), ascending: the order in which a
    // scan of the whole TIN would meet them.
    std::span<const std::uint32_t> reaching(std::size_t k) const {
        return std::span(ids_).subspan(begin_[k], begin_[k + 1] - begin_[k]);
    }

private:
    std::vector<double> levels_;
    std::vector<std::size_t> begin_;  // per level, its first entry in ids_; one more at the end
    std::vector<std::uint32_t> ids_;
};

}  // namespace tz::terrain
