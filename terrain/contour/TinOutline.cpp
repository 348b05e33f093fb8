#include "contour/TinOutline.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <stdexcept>
#include <utility>

#include "contour/VertexNumbering.h"

namespace tz::terrain {

namespace {

// Lines registered per cell beyond this many sample steps are left to the scan.
constexpr double kMaxSampleSteps = 64;
constexpr double kCellIndexLimit = 4.0e18;

// One use of an edge: the vertex number of its other end and its place in
// the toggling order (3 * triangle + edge).
struct EdgeUse {
    std::uint32_t otherEnd;
    std::uint32_t sequence;
};

// Toggling sequences of the edges used an odd number of times among `uses`
// (all uses of the edges sharing one smaller end, in toggling order), each
// the sequence of the edge's last use.
void collectOddEdges(std::span<EdgeUse> uses, std::vector<std::uint32_t>& remaining) {
    // Usually a handful of uses; a vertex shared by very many triangles is
    // sorted instead of compared pairwise.
    if (uses.size() > 16)
        std::stable_sort(uses.begin(), uses.end(),
                         [](const EdgeUse& a, const EdgeUse& b) { return a.otherEnd < b.otherEnd; });
    else
        for (std::size_t i = 1; i < uses.size(); ++i)  // stable insertion sort
            for (std::size_t j = i; j > 0 && uses[j].otherEnd < uses[j - 1].otherEnd; --j)
                std::swap(uses[j], uses[j - 1]);
    for (std::size_t k = 0; k < uses.size();) {
        std::size_t next = k + 1;
        while (next < uses.size() && uses[next].otherEnd == uses[k].otherEnd) ++next;
        if ((next - k) % 2 == 1) remaining.push_back(uses[next - 1].sequence);
        k = next;
    }
}

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
    if (triangles.size() > kMaxTriangles) throw std::length_error("TIN too large for its outline");
    const auto taking = [&](std::size_t i) { return include.empty() || include[i]; };

    // Vertex numbers of every corner; an edge is known by its two numbers.
    VertexNumbering numbering(triangles.size() / 2 + 3);  // a TIN has about half as many vertices as triangles
    std::vector<std::uint32_t> corners(3 * triangles.size());
    {
        constexpr std::size_t kBatch = 512;  // triangles numbered together
        std::vector<Point3> points;
        std::vector<std::size_t> from;  // triangle of each three points
        points.reserve(3 * kBatch);
        from.reserve(kBatch);
        std::uint32_t numbers[3 * kBatch];
        for (std::size_t i = 0; i < triangles.size();) {
            points.clear();
            from.clear();
            for (; i < triangles.size() && from.size() < kBatch; ++i) {
                if (!taking(i)) continue;
                points.insert(points.end(), {triangles[i].p1, triangles[i].p2, triangles[i].p3});
                from.push_back(i);
            }
            numbering.numberAll(points, std::span(numbers, points.size()));
            for (std::size_t k = 0; k < from.size(); ++k)
                for (std::size_t c = 0; c < 3; ++c) corners[3 * from[k] + c] = numbers[3 * k + c];
        }
    }

    // The uses of every edge grouped by its smaller end (a counting sort,
    // which keeps each group in toggling order).
    std::vector<std::uint32_t> groupStart(numbering.size() + 1, 0);
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        if (!taking(i)) continue;
        for (std::size_t k = 0; k < 3; ++k)
            ++groupStart[std::min(corners[3 * i + k], corners[3 * i + (k + 1) % 3])];
    }
    std::uint32_t total = 0;
    for (std::uint32_t& start : groupStart) start = std::exchange(total, total + start);
    std::vector<EdgeUse> uses(total);
    std::vector<std::uint32_t> fill(groupStart.begin(), groupStart.end() - 1);
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        if (!taking(i)) continue;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::uint32_t a = corners[3 * i + k], b = corners[3 * i + (k + 1) % 3];
            uses[fill[std::min(a, b)]++] = {std::max(a, b), static_cast<std::uint32_t>(3 * i + k)};
        }
    }
    corners = {};
    fill = {};

    std::vector<std::uint32_t> remaining;
    for (std::size_t v = 0; v + 1 < groupStart.size(); ++v)
        collectOddEdges(std::span(uses).subspan(groupStart[v], groupStart[v + 1] - groupStart[v]), remaining);
    std::sort(remaining.begin(), remaining.end());
    edges_.reserve(remaining.size());
    for (std::uint32_t sequence : remaining) {
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
