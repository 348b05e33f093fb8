#include "volume/TriangleLocator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "volume/TriangleContainment.h"

namespace tz::terrain::volume {
namespace {

// Buckets per triangle: about one keeps the candidates of a point few.
constexpr double kBucketsPerTriangle = 1.0;
// A triangle covering more buckets than this is tested for every point
// instead of being filed in each bucket (long slivers, a huge triangle over
// a small survey), so that memory stays linear.
constexpr std::size_t kMaxBucketsPerTriangle = 256;
constexpr std::size_t kMaxBucketsPerSide = 1 << 14;

// Number of buckets along a side of `length` with `perUnit` buckets per unit.
std::size_t sideBuckets(double length, double perUnit) {
    const double count = std::ceil(length * perUnit);
    if (!(count >= 1)) return 1;
    return static_cast<std::size_t>(std::min(count, static_cast<double>(kMaxBucketsPerSide)));
}

// Bucket of a coordinate: monotone in the coordinate (a subtraction, a
// product with a positive factor and a clamp all keep order), so a point
// within a triangle's bounds always falls within the triangle's buckets.
std::size_t bucketIndex(double value, double origin, double perUnit, std::size_t count) {
    const double position = (value - origin) * perUnit;
    if (!(position >= 0)) return 0;  // below the grid, or not a number
    if (position >= static_cast<double>(count)) return count - 1;
    return static_cast<std::size_t>(position);
}

}  // namespace

TriangleLocator::TriangleLocator(const std::vector<PreparedTriangle>& triangles) : triangles_(triangles) {
    if (triangles.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("surface has too many triangles to index");
    bucketStart_.assign(2, 0);
    if (triangles.empty()) return;

    double xmin = triangles[0].xmin, xmax = triangles[0].xmax;
    double ymin = triangles[0].ymin, ymax = triangles[0].ymax;
    for (const PreparedTriangle& t : triangles) {
        xmin = std::min(xmin, t.xmin);
        xmax = std::max(xmax, t.xmax);
        ymin = std::min(ymin, t.ymin);
        ymax = std::max(ymax, t.ymax);
    }
    const double width = xmax - xmin;
    const double height = ymax - ymin;
    const double wanted = std::max(1.0, kBucketsPerTriangle * static_cast<double>(triangles.size()));
    originX_ = xmin;
    originY_ = ymin;
    // Square buckets where the extent allows; a side of zero length (all
    // triangles on one line) gets a single bucket across.
    if (width > 0 && height > 0 && std::isfinite(width * height)) {
        columnsPerUnit_ = rowsPerUnit_ = std::sqrt(wanted / (width * height));
    } else if (width > 0 && std::isfinite(width)) {
        columnsPerUnit_ = wanted / width;
    } else if (height > 0 && std::isfinite(height)) {
        rowsPerUnit_ = wanted / height;
    }
    if (!std::isfinite(columnsPerUnit_)) columnsPerUnit_ = 0;
    if (!std::isfinite(rowsPerUnit_)) rowsPerUnit_ = 0;
    columns_ = sideBuckets(width, columnsPerUnit_);
    rows_ = sideBuckets(height, rowsPerUnit_);
    // A capped side spreads its buckets over the whole extent.
    columnsPerUnit_ = columns_ > 1 ? static_cast<double>(columns_) / width : 0;
    rowsPerUnit_ = rows_ > 1 ? static_cast<double>(rows_) / height : 0;

    // Counting pass, then filling in triangle order: each bucket's list is
    // in increasing index without sorting.
    const std::size_t bucketCount = columns_ * rows_;
    std::vector<std::uint32_t> counts(bucketCount + 1, 0);
    auto span = [&](const PreparedTriangle& t, std::size_t& c0, std::size_t& c1, std::size_t& r0, std::size_t& r1) {
        c0 = column(t.xmin);
        c1 = column(t.xmax);
        r0 = row(t.ymin);
        r1 = row(t.ymax);
        return (c1 - c0 + 1) * (r1 - r0 + 1);
    };
    std::size_t total = 0;
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        std::size_t c0, c1, r0, r1;
        const std::size_t covered = span(triangles[i], c0, c1, r0, r1);
        if (covered > kMaxBucketsPerTriangle) continue;
        for (std::size_t r = r0; r <= r1; ++r)
            for (std::size_t c = c0; c <= c1; ++c) ++counts[r * columns_ + c];
        total += covered;
    }
    if (total >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("surface index too large");
    bucketStart_.assign(bucketCount + 1, 0);
    for (std::size_t b = 0; b < bucketCount; ++b) bucketStart_[b + 1] = bucketStart_[b] + counts[b];
    entries_.resize(total);
    std::vector<std::uint32_t> next(bucketStart_.begin(), bucketStart_.end() - 1);
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        std::size_t c0, c1, r0, r1;
        const std::size_t covered = span(triangles[i], c0, c1, r0, r1);
        if (covered > kMaxBucketsPerTriangle) {
            wide_.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        for (std::size_t r = r0; r <= r1; ++r)
            for (std::size_t c = c0; c <= c1; ++c) entries_[next[r * columns_ + c]++] = static_cast<std::uint32_t>(i);
    }
}

std::size_t TriangleLocator::column(double x) const { return bucketIndex(x, originX_, columnsPerUnit_, columns_); }

std::size_t TriangleLocator::row(double y) const { return bucketIndex(y, originY_, rowsPerUnit_, rows_); }

std::size_t TriangleLocator::bucketOf(double x, double y) const { return row(y) * columns_ + column(x); }

std::ptrdiff_t TriangleLocator::lastContaining(double x, double y) const {
    if (triangles_.empty()) return kNone;
    std::ptrdiff_t found = kNone;
    const std::size_t bucket = bucketOf(x, y);
    for (std::size_t e = bucketStart_[bucket + 1]; e > bucketStart_[bucket]; --e) {
        const std::uint32_t index = entries_[e - 1];
        if (containsPoint(triangles_[index], x, y)) {
            found = index;
            break;
        }
    }
    for (auto it = wide_.rbegin(); it != wide_.rend() && static_cast<std::ptrdiff_t>(*it) > found; ++it) {
        if (containsPoint(triangles_[*it], x, y)) {
            found = *it;
            break;
        }
    }
    return found;
}

std::ptrdiff_t TriangleLocator::firstContaining(double x, double y) const {
    if (triangles_.empty()) return kNone;
    std::ptrdiff_t found = kNone;
    const std::size_t bucket = bucketOf(x, y);
    for (std::size_t e = bucketStart_[bucket]; e < bucketStart_[bucket + 1]; ++e) {
        const std::uint32_t index = entries_[e];
        if (containsPoint(triangles_[index], x, y)) {
            found = index;
            break;
        }
    }
    for (std::uint32_t index : wide_) {
        if (found != kNone && static_cast<std::ptrdiff_t>(index) > found) break;
        if (containsPoint(triangles_[index], x, y)) {
            found = index;
            break;
        }
    }
    return found;
}

}  // namespace tz::terrain::volume
