// The outline of a TIN: the edges used by one triangle only (its outer border
// and the borders of its holes), and the test whether a contour ends on it.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "tin/Triangle.h"

namespace tz::terrain {

struct OutlineEdge {
    Point3 start, end;
};

class TinOutline {
public:
    // A point lies on a non-vertical outline edge's line when its y is within
    // this of the line's y at its x.
    static constexpr double kLineTolerance = 0.001;

    // The edges (P1,P2), (P2,P3), (P3,P1) of every triangle, in order, are
    // toggled: an edge equal (exactly, either direction) to one present removes
    // it, any other is appended. Only triangles with include[i] true take part
    // (all of them when `include` is empty).
    // At most kMaxTriangles triangles (std::length_error beyond).
    explicit TinOutline(const std::vector<Triangle>& triangles, const std::vector<bool>& include = {});

    // Toggling places (3 per triangle) are counted in 32 bits.
    static constexpr std::size_t kMaxTriangles = 0xFFFFFFFFu / 3;

    // The edges left, in toggle-list order, each in the direction it was last added.
    const std::vector<OutlineEdge>& edges() const { return edges_; }

    // Whether `p` lies on the outline: on the line (not only the extent) of a
    // non-vertical edge within kLineTolerance in y, with the line's slope and
    // intercept taken from the edge's start; or, for a vertical edge, with
    // exactly the edge's x and y strictly between its two y values.
    bool passesThrough(const Point3& p) const;

private:
    struct Line {
        double slope, intercept;
    };
    struct YSpan {
        double low, high;
    };
    struct Cell {
        std::int64_t ix, iy;
        bool operator==(const Cell&) const = default;
    };
    struct CellHash {
        std::size_t operator()(const Cell& c) const;
    };

    void buildLineIndex();
    Cell cellOf(double x, double y) const;
    bool onLine(std::uint32_t line, const Point3& p) const;

    std::vector<OutlineEdge> edges_;
    std::unordered_map<double, std::vector<YSpan>> verticalByX_;
    std::vector<Line> lines_;  // non-vertical edges
    // Lines near each cell, so the usual answer (the point lies on the edge
    // that produced it) comes without a scan; a miss still scans every line.
    double cellSize_ = 0;
    std::vector<std::uint32_t> cellLines_;
    std::unordered_map<Cell, std::pair<std::uint32_t, std::uint32_t>, CellHash> cellRanges_;
};

}  // namespace tz::terrain
