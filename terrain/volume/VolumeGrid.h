// Earthwork volume between an existing and a proposed surface, sampled on a
// square grid: each cell whose four corners lie on both surfaces adds the
// cell's area times the difference of the mean corner elevations, fill
// (proposed above existing) multiplied by the compaction factor.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "volume/PreparedTriangle.h"

namespace tz::terrain::volume {

// The plan extent of both surfaces together.
struct PlanExtent {
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    bool empty = true;  // neither surface has a triangle
};

// Starts from the first vertex of the first existing triangle (of the first
// proposed one when the existing surface is empty) and widens over every
// vertex of both surfaces.
PlanExtent surfacesExtent(const std::vector<PreparedTriangle>& existing,
                          const std::vector<PreparedTriangle>& proposed);

struct VolumeTotals {
    double cut = 0;   // sum of the cells where the proposed surface is not above (zero or negative)
    double fill = 0;  // sum of the cells where it is above, after the compaction factor
    double net = 0;   // cut plus fill
};

struct VolumeRun {
    VolumeTotals totals;
    bool cancelled = false;  // the user broke off; the totals are incomplete
    std::size_t cellsOnBoth = 0;  // cells whose four corners lie on both surfaces
};

// Walks the cells of side `interval` from the extent's lower left corner:
// X from xmin while X < xmax, and within each X, Y from ymin while Y < ymax,
// both by repeated addition. `userBreak` is asked before every cell.
// Preconditions: checkGridStep accepts the interval on both axes of the
// extent (otherwise std::invalid_argument is thrown rather than walking
// forever).
VolumeRun computeVolumes(const std::vector<PreparedTriangle>& existing, const std::vector<PreparedTriangle>& proposed,
                         double interval, double compaction, const std::function<bool()>& userBreak);

}  // namespace tz::terrain::volume
