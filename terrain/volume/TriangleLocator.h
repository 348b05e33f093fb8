// Finds, among a surface's triangles, the first or the last in file order
// that contains a plan point, by the exact tests of TriangleContainment.
// It gives the same answer as testing every triangle in file order, without
// the scan: triangles are filed in a uniform grid of buckets by their
// bounds, and only the bucket holding the point is tested.
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

private:
    std::size_t bucketOf(double x, double y) const;
    std::size_t column(double x) const;
    std::size_t row(double y) const;

    const std::vector<PreparedTriangle>& triangles_;
    double originX_ = 0, originY_ = 0;
    double columnsPerUnit_ = 0, rowsPerUnit_ = 0;
    std::size_t columns_ = 1, rows_ = 1;
    // Bucket b holds entries_[bucketStart_[b] .. bucketStart_[b + 1]), in
    // increasing triangle index.
    std::vector<std::uint32_t> bucketStart_;
    std::vector<std::uint32_t> entries_;
    // Triangles spanning too many buckets to file them in each, in
    // increasing index; tested for every point.
    std::vector<std::uint32_t> wide_;
};

}  // namespace tz::terrain::volume
