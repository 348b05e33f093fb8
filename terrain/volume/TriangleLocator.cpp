#include "volume/TriangleLocator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "volume/TriangleContainment.h"

namespace tz::terrain::volume {
namespace {

// About one bucket per triangle keeps the candidates of a point few.
constexpr double kBucketsPerTriangle = 1.0;
// A triangle covering more buckets than this is tested for every point of
// its grid instead of being filed in each bucket, so memory stays linear.
constexpr std::size_t kMaxBucketsPerTriangle = 256;
constexpr std::size_t kMaxBucketsPerSide = 1 << 14;
// A bucket holding more triangles than this gets a finer grid, down to a
// few levels (identical triangles stacked on each other never spread out).
constexpr std::size_t kMaxBucketEntries = 64;
constexpr int kMaxDepth = 3;
constexpr std::size_t kMaxFinerEntriesPerMember = 8;
// Wide triangles beyond this many get a coarser grid of their own.
constexpr std::size_t kMaxWideScan = 32;

std::size_t sideBuckets(double length, double perUnit) {
    const double count = std::ceil(length * perUnit);
    if (!(count >= 1)) return 1;
    return static_cast<std::size_t>(std::min(count, static_cast<double>(kMaxBucketsPerSide)));
}

// Bucket of a coordinate: monotone in the coordinate (a subtraction, a
// product with a positive factor and a clamp all keep order), so a point
// within a triangle's bounds always falls within the triangle's buckets, on
// every grid, whatever extent the grid was laid over.
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
    std::vector<std::uint32_t> all(triangles.size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<std::uint32_t>(i);
    grids_.emplace_back();
    build(0, all, 0);
}

void TriangleLocator::build(std::size_t gridIndex, const std::vector<std::uint32_t>& members, int depth) {
    Grid grid;
    grid.bucketStart.assign(2, 0);
    if (members.empty()) {
        grids_[gridIndex] = std::move(grid);
        return;
    }
    const PreparedTriangle& first = triangles_[members[0]];
    double xmin = first.xmin(), xmax = first.xmax(), ymin = first.ymin(), ymax = first.ymax();
    for (std::uint32_t i : members) {
        const PreparedTriangle& t = triangles_[i];
        xmin = std::min(xmin, t.xmin());
        xmax = std::max(xmax, t.xmax());
        ymin = std::min(ymin, t.ymin());
        ymax = std::max(ymax, t.ymax());
    }
    const double width = xmax - xmin;
    const double height = ymax - ymin;
    const double wanted = std::max(1.0, kBucketsPerTriangle * static_cast<double>(members.size()));
    grid.originX = xmin;
    grid.originY = ymin;
    // Square buckets where the extent allows; a side of zero length (all
    // triangles on one line) gets a single bucket across.
    double columnsPerUnit = 0, rowsPerUnit = 0;
    if (width > 0 && height > 0 && std::isfinite(width * height)) {
        columnsPerUnit = rowsPerUnit = std::sqrt(wanted / (width * height));
    } else if (width > 0 && std::isfinite(width)) {
        columnsPerUnit = wanted / width;
    } else if (height > 0 && std::isfinite(height)) {
        rowsPerUnit = wanted / height;
    }
    grid.columns = std::isfinite(columnsPerUnit) ? sideBuckets(width, columnsPerUnit) : 1;
    grid.rows = std::isfinite(rowsPerUnit) ? sideBuckets(height, rowsPerUnit) : 1;
    // A capped side spreads its buckets over the whole extent.
    grid.columnsPerUnit = grid.columns > 1 ? static_cast<double>(grid.columns) / width : 0;
    grid.rowsPerUnit = grid.rows > 1 ? static_cast<double>(grid.rows) / height : 0;

    // Counting pass, then filling in triangle order: each bucket's list is
    // in increasing index without sorting. Each bucket counts one place on in
    // bucketStart, whose running sums are then the starts; filling moves each
    // start on to the next bucket's, and a shift puts them back. (No arrays
    // of counts beside it: at millions of triangles, every array first
    // touched costs more than the work done in it.)
    struct Span {
        std::size_t c0, c1, r0, r1;
        std::size_t covered() const { return (c1 - c0 + 1) * (r1 - r0 + 1); }
    };
    auto spanOf = [&](const PreparedTriangle& t) {
        return Span{bucketIndex(t.xmin(), grid.originX, grid.columnsPerUnit, grid.columns),
                    bucketIndex(t.xmax(), grid.originX, grid.columnsPerUnit, grid.columns),
                    bucketIndex(t.ymin(), grid.originY, grid.rowsPerUnit, grid.rows),
                    bucketIndex(t.ymax(), grid.originY, grid.rowsPerUnit, grid.rows)};
    };
    std::size_t total = 0;
    for (;;) {
        grid.bucketStart.assign(grid.columns * grid.rows + 1, 0);
        std::uint32_t* const countOf = grid.bucketStart.data() + 1;
        total = 0;
        for (std::uint32_t i : members) {
            const Span s = spanOf(triangles_[i]);
            if (s.covered() > kMaxBucketsPerTriangle) continue;
            for (std::size_t c = s.c0; c <= s.c1; ++c)
                for (std::size_t r = s.r0; r <= s.r1; ++r) ++countOf[c * grid.rows + r];
            total += s.covered();
        }
        // A finer grid whose triangles are larger than its buckets would
        // file each of them many times over: one bucket serves as well.
        if (depth == 0 || total <= kMaxFinerEntriesPerMember * members.size() || grid.columns * grid.rows == 1) break;
        grid.columns = grid.rows = 1;
        grid.columnsPerUnit = grid.rowsPerUnit = 0;
    }
    const std::size_t bucketCount = grid.columns * grid.rows;
    if (total >= std::numeric_limits<std::uint32_t>::max()) throw std::length_error("surface index too large");
    std::vector<std::uint32_t>& start = grid.bucketStart;
    for (std::size_t b = 0; b < bucketCount; ++b) start[b + 1] += start[b];
    grid.entries.resize(total);
    for (std::uint32_t i : members) {
        const Span s = spanOf(triangles_[i]);
        if (s.covered() > kMaxBucketsPerTriangle) {
            grid.wide.push_back(i);
            continue;
        }
        for (std::size_t c = s.c0; c <= s.c1; ++c)
            for (std::size_t r = s.r0; r <= s.r1; ++r) grid.entries[start[c * grid.rows + r]++] = i;
    }
    std::copy_backward(start.begin(), start.end() - 2, start.end() - 1);
    start[0] = 0;

    // Many wide triangles: a grid laid for them alone has buckets their size.
    std::vector<std::uint32_t> wide;
    if (grid.wide.size() > kMaxWideScan && grid.wide.size() < members.size()) {
        wide.swap(grid.wide);
        grid.wideGrid = static_cast<std::int32_t>(grids_.size());
        grids_.emplace_back();
    }

    // Crowded buckets get their own grid, which holds their entries instead.
    struct Crowded {
        std::size_t childGrid;
        std::vector<std::uint32_t> members;
    };
    std::vector<Crowded> crowded;
    if (depth < kMaxDepth && bucketCount > 1) {
        for (std::size_t b = 0; b < bucketCount; ++b) {
            const std::size_t size = start[b + 1] - start[b];
            if (size <= kMaxBucketEntries) continue;
            if (grid.child.empty()) grid.child.assign(bucketCount, -1);
            grid.child[b] = static_cast<std::int32_t>(grids_.size());
            grids_.emplace_back();
            crowded.push_back({static_cast<std::size_t>(grid.child[b]),
                               std::vector<std::uint32_t>(grid.entries.begin() + start[b],
                                                          grid.entries.begin() + start[b + 1])});
        }
    }
    const std::int32_t wideGrid = grid.wideGrid;
    grids_[gridIndex] = std::move(grid);
    for (const Crowded& c : crowded) build(c.childGrid, c.members, depth + 1);
    if (wideGrid >= 0) build(static_cast<std::size_t>(wideGrid), wide, 0);
}

std::size_t TriangleLocator::bucketOf(const Grid& grid, double x, double y) const {
    return bucketIndex(x, grid.originX, grid.columnsPerUnit, grid.columns) * grid.rows +
           bucketIndex(y, grid.originY, grid.rowsPerUnit, grid.rows);
}

std::ptrdiff_t TriangleLocator::lastContaining(double x, double y) const {
    std::ptrdiff_t found = kNone;
    searchLast(0, x, y, found);
    return found;
}

std::ptrdiff_t TriangleLocator::firstContaining(double x, double y) const {
    std::ptrdiff_t found = kNone;
    searchFirst(0, x, y, found);
    return found;
}

void TriangleLocator::searchLast(std::size_t gridIndex, double x, double y, std::ptrdiff_t& found) const {
    // Lists are in increasing index: from the back, the first hit is the
    // largest, and indexes at or below one found already cannot matter.
    for (;;) {
        const Grid& grid = grids_[gridIndex];
        if (grid.wideGrid >= 0) searchLast(static_cast<std::size_t>(grid.wideGrid), x, y, found);
        for (auto it = grid.wide.rbegin(); it != grid.wide.rend() && static_cast<std::ptrdiff_t>(*it) > found; ++it) {
            if (containsPoint(triangles_[*it], x, y)) {
                found = *it;
                break;
            }
        }
        const std::size_t bucket = bucketOf(grid, x, y);
        if (!grid.child.empty() && grid.child[bucket] >= 0) {
            gridIndex = static_cast<std::size_t>(grid.child[bucket]);
            continue;
        }
        for (std::size_t e = grid.bucketStart[bucket + 1];
             e > grid.bucketStart[bucket] && static_cast<std::ptrdiff_t>(grid.entries[e - 1]) > found; --e) {
            if (containsPoint(triangles_[grid.entries[e - 1]], x, y)) {
                found = grid.entries[e - 1];
                break;
            }
        }
        return;
    }
}

void TriangleLocator::searchFirst(std::size_t gridIndex, double x, double y, std::ptrdiff_t& found) const {
    auto before = [&found](std::uint32_t index) { return found == kNone || static_cast<std::ptrdiff_t>(index) < found; };
    for (;;) {
        const Grid& grid = grids_[gridIndex];
        if (grid.wideGrid >= 0) searchFirst(static_cast<std::size_t>(grid.wideGrid), x, y, found);
        for (auto it = grid.wide.begin(); it != grid.wide.end() && before(*it); ++it) {
            if (containsPoint(triangles_[*it], x, y)) {
                found = *it;
                break;
            }
        }
        const std::size_t bucket = bucketOf(grid, x, y);
        if (!grid.child.empty() && grid.child[bucket] >= 0) {
            gridIndex = static_cast<std::size_t>(grid.child[bucket]);
            continue;
        }
        for (std::size_t e = grid.bucketStart[bucket]; e < grid.bucketStart[bucket + 1] && before(grid.entries[e]);
             ++e) {
            if (containsPoint(triangles_[grid.entries[e]], x, y)) {
                found = grid.entries[e];
                break;
            }
        }
        return;
    }
}

}  // namespace tz::terrain::volume
