#include "mesh/MeshGrid.h"

#include <algorithm>
#include <bit>

#include "tin/PointHash.h"
#include "volume/TriangleContainment.h"

namespace tz::terrain::mesh {
namespace {

// Walks one grid line. The B of one step and the A of the next are the same
// number (the walk's next value is the previous value plus the spacing), so
// each grid point is looked up once.
template <typename PointAt>
std::vector<GridPair> linePairs(const MeshSampler& sampler, double from, double to, double spacing, PointAt pointAt) {
    std::vector<GridPair> pairs;
    std::optional<Point3> carried;
    bool haveCarried = false;
    for (double v = from; v <= to; v += spacing) {
        const std::optional<Point3> a = haveCarried ? carried : pointAt(sampler, v);
        const std::optional<Point3> b = pointAt(sampler, v + spacing);
        if (a && b) pairs.push_back({*a, *b});
        carried = b;
        haveCarried = true;
    }
    return pairs;
}

}  // namespace

TinExtent tinExtent(const std::vector<PreparedTriangle>& triangles) {
    TinExtent extent;
    if (triangles.empty()) return extent;
    const PreparedTriangle& first = triangles[0];
    extent = {first.xmin(), first.xmax(), first.ymin(), first.ymax(), volume::lowestZ(first), false};
    for (const PreparedTriangle& t : triangles) {
        extent.xmin = std::min(extent.xmin, t.xmin());
        extent.xmax = std::max(extent.xmax, t.xmax());
        extent.ymin = std::min(extent.ymin, t.ymin());
        extent.ymax = std::max(extent.ymax, t.ymax());
        extent.zmin = std::min(extent.zmin, volume::lowestZ(t));
    }
    return extent;
}

MeshSampler::MeshSampler(const std::vector<PreparedTriangle>& triangles, double scale)
    : triangles_(triangles), locator_(triangles), scale_(scale) {}

std::optional<Point3> MeshSampler::gridPoint(double x, double y) const {
    const std::uint64_t xb = std::bit_cast<std::uint64_t>(x), yb = std::bit_cast<std::uint64_t>(y);
    auto slotOf = [&](std::uint64_t a, std::uint64_t b) {
        return static_cast<std::size_t>(pairHash(a, b)) & (known_.size() - 1);
    };
    if (!known_.empty()) {
        for (std::size_t slot = slotOf(xb, yb);; slot = (slot + 1) & (known_.size() - 1)) {
            const Known& k = known_[slot];
            if (k.state == 0) break;
            if (k.x == xb && k.y == yb) return k.state == 2 ? std::optional<Point3>(Point3{x, y, k.z}) : std::nullopt;
        }
    }
    const std::optional<Point3> found = lookUp(x, y);
    if ((knownCount_ + 1) * 2 > known_.size()) {
        std::vector<Known> old(known_.empty() ? 1024 : known_.size() * 2);
        old.swap(known_);
        for (const Known& k : old) {
            if (k.state == 0) continue;
            std::size_t slot = slotOf(k.x, k.y);
            while (known_[slot].state != 0) slot = (slot + 1) & (known_.size() - 1);
            known_[slot] = k;
        }
    }
    std::size_t slot = slotOf(xb, yb);
    while (known_[slot].state != 0) slot = (slot + 1) & (known_.size() - 1);
    known_[slot] = {xb, yb, found ? found->z : 0.0, static_cast<std::uint8_t>(found ? 2 : 1)};
    ++knownCount_;
    return found;
}

std::optional<Point3> MeshSampler::lookUp(double x, double y) const {
    const std::ptrdiff_t index = locator_.firstContaining(x, y);
    if (index == volume::TriangleLocator::kNone) return std::nullopt;
    // Adding zero turns a negative zero (a level stretch at 0 through the
    // plane formula) into 0, so that the drawing never shows -0.
    const double z = volume::elevationAt(triangles_[static_cast<std::size_t>(index)], x, y) * scale_ + 0.0;
    return Point3{x, y, z};
}

std::vector<GridPair> columnPairs(const MeshSampler& sampler, double x, double ymin, double ymax, double spacing) {
    return linePairs(sampler, ymin, ymax, spacing, [x](const MeshSampler& s, double y) { return s.gridPoint(x, y); });
}

std::vector<GridPair> rowPairs(const MeshSampler& sampler, double y, double xmin, double xmax, double spacing) {
    return linePairs(sampler, xmin, xmax, spacing, [y](const MeshSampler& s, double x) { return s.gridPoint(x, y); });
}

}  // namespace tz::terrain::mesh
