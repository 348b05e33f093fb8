#include "contour/TinOutline.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace tz::terrain {

namespace {

// Exact-equality key of a vertex; -0.0 and 0.0 compare equal, so they must
// also hash alike.
struct VertexKey {
    double x, y, z;
    bool operator==(const VertexKey& o) const { return x == o.x && y == o.y && z == o.z; }
};

struct VertexKeyHash {
    std::size_t operator()(const VertexKey& k) const {
        auto bits = [](double v) {
            v += 0.0;  // folds -0.0 into 0.0
            return std::bit_cast<std::uint64_t>(v);
        };
        std::uint64_t h = bits(k.x) * 0x9E3779B97F4A7C15ull;
        h = (h ^ (h >> 31) ^ bits(k.y)) * 0xC2B2AE3D27D4EB4Full;
        h = (h ^ (h >> 29) ^ bits(k.z)) * 0x165667B19E3779F9ull;
        return static_cast<std::size_t>(h ^ (h >> 32));
    }
};

struct EdgeOccurrence {
    std::uint64_t key;       // the two vertex ids, smaller first
    std::uint64_t sequence;  // 3 * triangle + edge: the order of toggling
};

// Lines registered per cell beyond this many sample steps are left to the scan.
constexpr double kMaxSampleSteps = 64;
constexpr double kCellIndexLimit = 4.0e18;

}  // namespace

std::size_t TinOutline::CellHash::operator()(const Cell& c) const {
    const std::uint64_t h = static_cast<std::uint64_t>(c.ix) * 0x9E3779B97F4A7C15ull ^
                            (static_cast<std::uint64_t>(c.iy) + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
    return static_cast<std::size_t>(h ^ (h >> 29));
}

TinOutline::TinOutline(const std::vector<Triangle>& triangles, const std::vector<bool>& include) {
    // The toggle list keeps at most one entry per edge: an edge remains when it
    // was added an odd number of times, in the direction of its last addition,
    // at the place of its last addition. Counting gives the same list without
    // the list's linear searches.
    std::unordered_map<VertexKey, std::uint32_t, VertexKeyHash> vertexIds;
    vertexIds.reserve(triangles.size() / 2 + 3);  // a TIN has about half as many vertices as triangles
    auto idOf = [&](const Point3& p) {
        auto [it, added] = vertexIds.try_emplace(VertexKey{p.x, p.y, p.z},
                                                 static_cast<std::uint32_t>(vertexIds.size()));
        return it->second;
    };
    std::vector<EdgeOccurrence> occurrences;
    occurrences.reserve(triangles.size() * 3);
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        if (!include.empty() && !include[i]) continue;
        const Triangle& t = triangles[i];
        const std::uint32_t ids[3] = {idOf(t.p1), idOf(t.p2), idOf(t.p3)};
        for (std::uint64_t k = 0; k < 3; ++k) {
            const std::uint64_t a = ids[k], b = ids[(k + 1) % 3];
            occurrences.push_back({std::min(a, b) << 32 | std::max(a, b), 3 * i + k});
        }
    }
    std::sort(occurrences.begin(), occurrences.end(), [](const EdgeOccurrence& a, const EdgeOccurrence& b) {
        return a.key != b.key ? a.key < b.key : a.sequence < b.sequence;
    });
    std::vector<std::uint64_t> remaining;
    for (std::size_t k = 0; k < occurrences.size();) {
        std::size_t next = k + 1;
        while (next < occurrences.size() && occurrences[next].key == occurrences[k].key) ++next;
        if ((next - k) % 2 == 1) remaining.push_back(occurrences[next - 1].sequence);
        k = next;
    }
    std::sort(remaining.begin(), remaining.end());
    edges_.reserve(remaining.size());
    for (std::uint64_t sequence : remaining) {
        const Triangle& t = triangles[sequence / 3];
        switch (sequence % 3) {
            case 0: edges_.push_back({t.p1, t.p2}); break;
            case 1: edges_.push_back({t.p2, t.p3}); break;
            default: edges_.push_back({t.p3, t.p1}); break;
        }
    }
    buildLineIndex();
}

void TinOutline::buildLineIndex() {
    std::vector<std::uint32_t> lineEdge;  // edge of each line
    double totalLength = 0;
    for (std::size_t i = 0; i < edges_.size(); ++i) {
        const Point3& a = edges_[i].start;
        const Point3& b = edges_[i].end;
        if (a.x == b.x) {
            verticalByX_[a.x + 0.0].push_back({std::min(a.y, b.y), std::max(a.y, b.y)});
            continue;
        }
        const double slope = (b.y - a.y) / (b.x - a.x);
        lines_.push_back({slope, a.y - slope * a.x});
        lineEdge.push_back(static_cast<std::uint32_t>(i));
        totalLength += std::hypot(b.x - a.x, b.y - a.y);
    }
    if (lines_.empty()) return;
    cellSize_ = totalLength / static_cast<double>(lines_.size());
    if (!(cellSize_ > 0) || !std::isfinite(cellSize_)) {
        cellSize_ = 0;
        return;
    }

    // Sample each line's edge at most half a cell apart, so any point on the
    // edge lies in a sampled cell or next to one.
    std::vector<std::pair<Cell, std::uint32_t>> registered;
    for (std::uint32_t line = 0; line < lines_.size(); ++line) {
        const Point3& a = edges_[lineEdge[line]].start;
        const Point3& b = edges_[lineEdge[line]].end;
        const double steps = std::ceil(std::hypot(b.x - a.x, b.y - a.y) / (0.5 * cellSize_));
        if (!(steps <= kMaxSampleSteps)) continue;  // long (or overflowing): found by the scan
        const int n = std::max(1, static_cast<int>(steps));
        for (int s = 0; s <= n; ++s) {
            const double f = static_cast<double>(s) / n;
            const Cell c = cellOf(a.x + f * (b.x - a.x), a.y + f * (b.y - a.y));
            if (registered.empty() || !(registered.back().first == c) || registered.back().second != line)
                registered.push_back({c, line});
        }
    }
    std::sort(registered.begin(), registered.end(), [](const auto& p, const auto& q) {
        if (p.first.ix != q.first.ix) return p.first.ix < q.first.ix;
        if (p.first.iy != q.first.iy) return p.first.iy < q.first.iy;
        return p.second < q.second;
    });
    registered.erase(std::unique(registered.begin(), registered.end()), registered.end());
    cellLines_.reserve(registered.size());
    for (std::size_t k = 0; k < registered.size();) {
        std::size_t next = k + 1;
        while (next < registered.size() && registered[next].first == registered[k].first) ++next;
        const auto begin = static_cast<std::uint32_t>(cellLines_.size());
        for (std::size_t j = k; j < next; ++j) cellLines_.push_back(registered[j].second);
        cellRanges_.emplace(registered[k].first,
                            std::make_pair(begin, static_cast<std::uint32_t>(cellLines_.size())));
        k = next;
    }
}

TinOutline::Cell TinOutline::cellOf(double x, double y) const {
    auto index = [&](double v) -> std::int64_t {
        const double scaled = std::floor(v / cellSize_);
        if (std::isnan(scaled)) return 0;
        return static_cast<std::int64_t>(std::clamp(scaled, -kCellIndexLimit, kCellIndexLimit));
    };
    return Cell{index(x), index(y)};
}

bool TinOutline::onLine(std::uint32_t line, const Point3& p) const {
    return std::fabs(p.y - (lines_[line].slope * p.x + lines_[line].intercept)) < kLineTolerance;
}

bool TinOutline::passesThrough(const Point3& p) const {
    if (auto it = verticalByX_.find(p.x + 0.0); it != verticalByX_.end())
        for (const YSpan& span : it->second)
            if (span.low < p.y && p.y < span.high) return true;

    if (cellSize_ > 0) {
        const Cell c = cellOf(p.x, p.y);
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                auto it = cellRanges_.find(Cell{c.ix + dx, c.iy + dy});
                if (it == cellRanges_.end()) continue;
                for (std::uint32_t k = it->second.first; k < it->second.second; ++k)
                    if (onLine(cellLines_[k], p)) return true;
            }
    }
    // The lines reach beyond their edges: a point far from every edge may
    // still lie on one's line.
    for (std::uint32_t line = 0; line < lines_.size(); ++line)
        if (onLine(line, p)) return true;
    return false;
}

}  // namespace tz::terrain
