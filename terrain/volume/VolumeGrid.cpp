#include "volume/VolumeGrid.h"

#include <optional>
#include <stdexcept>

#include "volume/GridStep.h"
#include "volume/SurfaceSampler.h"

namespace tz::terrain::volume {
namespace {

void widen(PlanExtent& extent, double x, double y) {
    if (x < extent.xmin) extent.xmin = x;
    if (x > extent.xmax) extent.xmax = x;
    if (y < extent.ymin) extent.ymin = y;
    if (y > extent.ymax) extent.ymax = y;
}

void widen(PlanExtent& extent, const std::vector<PreparedTriangle>& triangles) {
    for (const PreparedTriangle& t : triangles) {
        widen(extent, t.x1, t.y1);
        widen(extent, t.x2, t.y2);
        widen(extent, t.x3, t.y3);
    }
}

// The elevations of one grid point on both surfaces.
struct CornerPair {
    std::optional<double> existing, proposed;
    bool complete() const { return existing.has_value() && proposed.has_value(); }
};

}  // namespace

PlanExtent surfacesExtent(const std::vector<PreparedTriangle>& existing,
                          const std::vector<PreparedTriangle>& proposed) {
    PlanExtent extent;
    const std::vector<PreparedTriangle>& first = existing.empty() ? proposed : existing;
    if (first.empty()) return extent;
    extent = {first[0].x1, first[0].x1, first[0].y1, first[0].y1, false};
    widen(extent, existing);
    widen(extent, proposed);
    return extent;
}

VolumeRun computeVolumes(const std::vector<PreparedTriangle>& existing, const std::vector<PreparedTriangle>& proposed,
                         double interval, double compaction, const std::function<bool()>& userBreak) {
    VolumeRun run;
    const PlanExtent extent = surfacesExtent(existing, proposed);
    if (extent.empty) return run;
    const double u = interval;
    if (checkGridStep(extent.xmin, extent.xmax, u) != StepProblem::None ||
        checkGridStep(extent.ymin, extent.ymax, u) != StepProblem::None)
        throw std::invalid_argument("grid interval would not advance the walk");

    const SurfaceSampler existingSurface(existing);
    const SurfaceSampler proposedSurface(proposed);
    auto sample = [&](double x, double y) {
        return CornerPair{existingSurface.lastElevation(x, y), proposedSurface.lastElevation(x, y)};
    };

    VolumeTotals& totals = run.totals;
    for (double X = extent.xmin; X < extent.xmax; X += u) {
        const double X2 = X + u;
        // Corners shared with the cell below are carried up, not looked up
        // again: the cell's Y + u is the next cell's Y, the same number.
        CornerPair lowerLeft, lowerRight;
        bool haveLower = false;
        for (double Y = extent.ymin; Y < extent.ymax; Y += u) {
            if (userBreak && userBreak()) {
                run.cancelled = true;
                return run;
            }
            const double Y2 = Y + u;
            if (!haveLower) {
                lowerLeft = sample(X, Y);
                lowerRight = sample(X2, Y);
                haveLower = true;
            }
            const CornerPair upperLeft = sample(X, Y2);
            const CornerPair upperRight = sample(X2, Y2);
            if (lowerLeft.complete() && upperLeft.complete() && lowerRight.complete() && upperRight.complete()) {
                ++run.cellsOnBoth;
                // Corners in the order (X, Y), (X, Y + u), (X + u, Y), (X + u, Y + u).
                const double E =
                    (*lowerLeft.existing + *upperLeft.existing + *lowerRight.existing + *upperRight.existing) * 0.25;
                const double P =
                    (*lowerLeft.proposed + *upperLeft.proposed + *lowerRight.proposed + *upperRight.proposed) * 0.25;
                double V = u * u * (P - E);
                if (P > E) {
                    V *= compaction;
                    totals.fill += V;
                } else {
                    totals.cut += V;
                }
                totals.net += V;
            }
            lowerLeft = upperLeft;
            lowerRight = upperRight;
        }
    }
    return run;
}

}  // namespace tz::terrain::volume
