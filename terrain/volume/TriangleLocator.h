// Finds, among a surface's triangles, the first or the last in file order
// that contains a plan point, by the exact tests of TriangleContainment.
// It gives the same answer as testing every triangle in file order, without
// the scan: triangles are filed in a uniform grid of buckets by their
// bounds, and only the triangles filed where the point falls are tested.
// A bucket that collects too many triangles (a dense site beside a far
// outlier point, two distant clusters) gets a finer grid of its own; the
// triangles too large for a grid's buckets get a coarser one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "volume/PreparedTriangle.h"

namespace tz::terrain::volume {

class TriangleLocator {
public:
    static constexpr std::ptrdiff_t kNone = -1;

    // The triangles must outlive the locator and stay unchanged.
    explicit TriangleLocator(const std::vector<PreparedTriangle>& triangles);

    // Index of the last triangle in file order that contains (x, y), or kNone.
    std::ptrdiff_t lastContaining(double x, double y) const;
    // Index of the first triangle in file order that contains (x, y), or kNone.
    std::ptrdiff_t firstContaining(double x, double y) const;

    // Number of grids: 1, plus one for every crowded bucket refined.
    std::size_t gridCount() const { return grids_.size(); }

private:
    // One grid, its buckets numbered column by column: a TIN's triangles
    // come in the sweep's order of x, the volumes' grid walks up columns, so
    // neighbours in either order are neighbours in memory. Bucket b holds
    // entries[bucketStart[b] .. bucketStart[b + 1])
    // in increasing triangle index, unless child[b] names a finer grid that
    // holds them instead (child is empty when no bucket has one).
    struct Grid {
        double originX = 0, originY = 0;
        double columnsPerUnit = 0, rowsPerUnit = 0;
        std::size_t columns = 1, rows = 1;
        std::vector<std::uint32_t> bucketStart;
        std::vector<std::uint32_t> entries;
        std::vector<std::int32_t> child;
        // Triangles spanning too many buckets to file them in each, in
        // increasing index; tested for every point that reaches this grid,
        // unless wideGrid names a coarser grid that holds them instead (the
        // slivers along the hull of a large survey number in the thousands).
        std::vector<std::uint32_t> wide;
        std::int32_t wideGrid = -1;
    };

    void build(std::size_t gridIndex, const std::vector<std::uint32_t>& members, int depth);
    std::size_t bucketOf(const Grid& grid, double x, double y) const;
    // The largest (or smallest) index above (below) `found` of a triangle
    // holding (x, y) among those of grid `gridIndex`, into `found`.
    void searchLast(std::size_t gridIndex, double x, double y, std::ptrdiff_t& found) const;
    void searchFirst(std::size_t gridIndex, double x, double y, std::ptrdiff_t& found) const;

    const std::vector<PreparedTriangle>& triangles_;
    std::vector<Grid> grids_;  // grids_[0] covers every triangle
};

}  // namespace tz::terrain::volume
