// Elevations of one surface at plan points, as the volumes take them: every
// triangle that contains the point is met in file order and the last one
// gives the elevation.
#pragma once

#include <optional>
#include <vector>

#include "volume/PreparedTriangle.h"
#include "volume/TriangleLocator.h"

namespace tz::terrain::volume {

class SurfaceSampler {
public:
    // The triangles must outlive the sampler.
    explicit SurfaceSampler(const std::vector<PreparedTriangle>& triangles);

    // Elevation from the last triangle in file order that contains (x, y);
    // none when no triangle does.
    std::optional<double> lastElevation(double x, double y) const;
    // Elevation from the first triangle in file order that contains (x, y).
    std::optional<double> firstElevation(double x, double y) const;

private:
    const std::vector<PreparedTriangle>& triangles_;
    TriangleLocator locator_;
};

}  // namespace tz::terrain::volume
