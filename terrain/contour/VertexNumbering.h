// Numbers the distinct vertices of a TIN by exact equality, in the order they
// first appear, with one flat open-addressing table (no node per vertex).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tin/Triangle.h"

namespace tz::terrain {

class VertexNumbering {
public:
    // `expectedVertices` sizes the table; it grows as needed beyond it.
    explicit VertexNumbering(std::size_t expectedVertices = 0);

    // The number of the first point given that is exactly equal to `p` (so
    // -0.0 and 0.0 are one vertex), or, when there is none, the next free
    // number (0, 1, 2, ...). A point with a NaN coordinate equals nothing and
    // always gets a new number.
    std::uint32_t number(const Point3& p);

    // number() of every point in order, into `numbers` (same length). Faster
    // for many points: table slots are fetched ahead of their use.
    void numberAll(std::span<const Point3> points, std::span<std::uint32_t> numbers);

    // Points numbered so far; point(i) is the first one given with number i.
    std::size_t size() const { return points_.size(); }
    const Point3& point(std::uint32_t number) const { return points_[number]; }

private:
    static std::uint64_t hashOf(const Point3& p);
    std::uint32_t numberHashed(const Point3& p, std::uint64_t hash);
    void grow();

    // Per slot: the upper half of the point's hash above its number + 1; 0 when empty.
    std::vector<std::uint64_t> slots_;
    std::uint64_t mask_ = 0;
    std::vector<Point3> points_;
};

}  // namespace tz::terrain
