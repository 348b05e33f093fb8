// A uniform grid over the plan boxes of triangles: which triangles' boxes,
// widened by a margin, may hold a point.
#pragma once

#include <cstdint>
#include <vector>

#include "TinTable.h"

namespace tz::sections {

struct PlanBox {
    double minX, minY, maxX, maxY;
};

// The triangle's plan box, widened by `margin` on every side.
PlanBox planBox(const Triangle& t, double margin);

class TriangleBoxGrid {
public:
    // Registers every triangle for which `use` is true, its box widened by `margin`.
    TriangleBoxGrid(const std::vector<Triangle>& triangles, const std::vector<bool>& use, double margin);

    // Appends the triangles whose widened boxes may reach within `reach` of
    // (x, y): a superset of those whose boxes do. Unsorted; a triangle may
    // appear more than once.
    void near(double x, double y, double reach, std::vector<std::uint32_t>& out) const;

private:
    int column(double x) const;
    int row(double y) const;

    double minX_ = 0, minY_ = 0, cellWidth_ = 1, cellHeight_ = 1;
    int columns_ = 1, rows_ = 1;
    std::vector<std::uint32_t> cellStart_;
    std::vector<std::uint32_t> cellTriangles_;
};

}  // namespace tz::sections
