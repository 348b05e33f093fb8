// The TIN in memory while fault lines are forced into it: the triangles in
// their order (triangles never removed keep their relative order, new ones
// go at the end), with a grid that finds the triangles near a point or a
// segment without looking at all of them.
#pragma once

#include <cstdint>
#include <vector>

#include "boundary/CellGrid.h"
#include "tin/Triangle.h"

namespace tz::terrain {

class FaultTin {
public:
    explicit FaultTin(const std::vector<Triangle>& triangles);

    // Number of triangles in the TIN.
    size_t count() const { return count_; }

    // Triangles are known by ids that grow with their place in the TIN: of
    // two triangles in the TIN, the one with the smaller id comes first.
    const Triangle& at(uint32_t id) const { return triangles_[id]; }
    bool contains(uint32_t id) const { return id < alive_.size() && alive_[id] != 0; }

    // Puts a triangle at the end of the TIN; returns its id.
    uint32_t append(const Triangle& triangle);
    // Takes a triangle out of the TIN (the others keep their order).
    void remove(uint32_t id);

    // The triangles in TIN order.
    std::vector<Triangle> inOrder() const;

    // Ids, ascending, of the triangles in the TIN whose bounding box may meet
    // the segment a-b widened by `halfWidth` (a == b: a square around a point).
    std::vector<uint32_t> near(const Point3& a, const Point3& b, double halfWidth) const;

private:
    void index(uint32_t id);

    std::vector<Triangle> triangles_;
    std::vector<uint8_t> alive_;
    size_t count_ = 0;
    CellGrid grid_;
    std::vector<std::vector<uint32_t>> cells_;
    std::vector<uint32_t> everywhere_;  // triangles too large for the grid
    mutable std::vector<uint32_t> seen_;
    mutable uint32_t seenStamp_ = 0;
};

}  // namespace tz::terrain
