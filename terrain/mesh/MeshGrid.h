// The rectangular mesh's grid over a TIN: grid points take their elevation
// from the first triangle in file order that contains them, times the
// vertical scale factor; a grid line is the list of its steps (pairs of
// neighbouring grid points) that lie wholly on the TIN.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "tin/Triangle.h"
#include "volume/PreparedTriangle.h"
#include "volume/TriangleLocator.h"

namespace tz::terrain::mesh {

using volume::PreparedTriangle;

// Extent of every vertex of the TIN.
struct TinExtent {
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0, zmin = 0;
    bool empty = true;  // the TIN has no triangle
};

TinExtent tinExtent(const std::vector<PreparedTriangle>& triangles);

// Two grid points one spacing apart, both on the TIN.
struct GridPair {
    Point3 a, b;
};

class MeshSampler {
public:
    // The triangles must outlive the sampler.
    MeshSampler(const std::vector<PreparedTriangle>& triangles, double scale);

    // The grid point (x, y) with its scaled elevation, when a triangle holds it.
    // Rows and columns meet at the same points (the same sums of spacings),
    // so each answer is kept and found again by the bits of x and y.
    std::optional<Point3> gridPoint(double x, double y) const;

private:
    struct Known {
        std::uint64_t x = 0, y = 0;  // bits of the coordinates
        double z = 0;
        std::uint8_t state = 0;  // 0: free slot, 1: no triangle holds the point, 2: z holds
    };
    std::optional<Point3> lookUp(double x, double y) const;

    const std::vector<PreparedTriangle>& triangles_;
    volume::TriangleLocator locator_;
    double scale_;
    mutable std::vector<Known> known_;  // open addressing, at most half full
    mutable std::size_t knownCount_ = 0;
};

// The column at x: A = (x, y), B = (x, y + spacing) for y from ymin while
// y <= ymax by repeated addition; the pairs whose A and B both lie on the TIN.
std::vector<GridPair> columnPairs(const MeshSampler& sampler, double x, double ymin, double ymax, double spacing);

// The row at y: A = (x, y), B = (x + spacing, y) for x from xmin while x <= xmax.
std::vector<GridPair> rowPairs(const MeshSampler& sampler, double y, double xmin, double xmax, double spacing);

}  // namespace tz::terrain::mesh
