#include "contour/VertexNumbering.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "tin/PointHash.h"

namespace tz::terrain {

namespace {

constexpr std::size_t kMinimumSlots = 64;

// Fullest the table gets: short probe runs, and a table small enough to stay
// mostly in cache for a TIN of a few million triangles.
constexpr struct {
    std::size_t numerator, denominator;
} kMaxLoad{7, 10};

}  // namespace

VertexNumbering::VertexNumbering(std::size_t expectedVertices) {
    const std::size_t wanted = expectedVertices / kMaxLoad.numerator * kMaxLoad.denominator;
    const std::size_t slots = std::bit_ceil(std::max(kMinimumSlots, wanted));
    slots_.assign(slots, 0);
    mask_ = slots - 1;
    points_.reserve(expectedVertices);
}

std::uint64_t VertexNumbering::hashOf(const Point3& p) { return pointHash(p); }

std::uint32_t VertexNumbering::number(const Point3& p) { return numberHashed(p, hashOf(p)); }

void VertexNumbering::numberAll(std::span<const Point3> points, std::span<std::uint32_t> numbers) {
    // Slots are scattered over a table far larger than the caches: look a few
    // points ahead so that their slots are on their way while this one is
    // numbered.
    constexpr std::size_t kAhead = 16;
    std::uint64_t hashes[kAhead];
    const std::size_t count = points.size();
    for (std::size_t i = 0; i < std::min(kAhead, count); ++i) {
        hashes[i] = hashOf(points[i]);
        __builtin_prefetch(&slots_[hashes[i] & mask_]);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t hash = hashes[i % kAhead];
        if (i + kAhead < count) {
            const std::uint64_t ahead = hashOf(points[i + kAhead]);
            hashes[i % kAhead] = ahead;
            __builtin_prefetch(&slots_[ahead & mask_]);
        }
        numbers[i] = numberHashed(points[i], hash);
    }
}

std::uint32_t VertexNumbering::numberHashed(const Point3& p, std::uint64_t hash) {
    const std::uint64_t tag = hash & 0xFFFFFFFF00000000ull;
    for (std::uint64_t at = hash & mask_;; at = (at + 1) & mask_) {
        const std::uint64_t slot = slots_[at];
        if (slot == 0) {
            if (points_.size() >= 0xFFFFFFFEull) throw std::length_error("too many distinct vertices");
            const auto number = static_cast<std::uint32_t>(points_.size());
            points_.push_back(p);
            slots_[at] = tag | (static_cast<std::uint64_t>(number) + 1);
            if (points_.size() * kMaxLoad.denominator > slots_.size() * kMaxLoad.numerator) grow();
            return number;
        }
        if ((slot & 0xFFFFFFFF00000000ull) == tag) {
            const auto number = static_cast<std::uint32_t>(slot - 1);
            const Point3& q = points_[number];
            if (q.x == p.x && q.y == p.y && q.z == p.z) return number;
        }
    }
}

void VertexNumbering::grow() {
    std::vector<std::uint64_t> old(2 * slots_.size(), 0);
    old.swap(slots_);
    mask_ = slots_.size() - 1;
    for (std::uint64_t slot : old) {
        if (slot == 0) continue;
        const std::uint64_t hash = hashOf(points_[static_cast<std::uint32_t>(slot - 1)]);
        std::uint64_t at = hash & mask_;
        while (slots_[at] != 0) at = (at + 1) & mask_;
        slots_[at] = slot;
    }
}

}  // namespace tz::terrain
