#include "volume/SurfaceSampler.h"

#include "volume/TriangleContainment.h"

namespace tz::terrain::volume {

SurfaceSampler::SurfaceSampler(const std::vector<PreparedTriangle>& triangles)
    : triangles_(triangles), locator_(triangles) {}

std::optional<double> SurfaceSampler::lastElevation(double x, double y) const {
    const std::ptrdiff_t index = locator_.lastContaining(x, y);
    if (index == TriangleLocator::kNone) return std::nullopt;
    return elevationAt(triangles_[static_cast<std::size_t>(index)], x, y);
}

std::optional<double> SurfaceSampler::firstElevation(double x, double y) const {
    const std::ptrdiff_t index = locator_.firstContaining(x, y);
    if (index == TriangleLocator::kNone) return std::nullopt;
    return elevationAt(triangles_[static_cast<std::size_t>(index)], x, y);
}

}  // namespace tz::terrain::volume
