// Hashing points by the bits of their coordinates, for the open-addressing
// tables that find equal points and edges among millions (contour vertex
// numbering, profile edge lists, the mesh's grid points).
#pragma once

#include <bit>
#include <cstdint>

#include "tin/Triangle.h"

namespace tz::terrain {

// The bits of a coordinate, -0 folded into +0: they compare equal, so they
// must hash alike.
inline std::uint64_t coordinateBits(double v) { return std::bit_cast<std::uint64_t>(v + 0.0); }

// Spreads every input bit over the whole result (MurmurHash3's finaliser),
// so that the low bits that pick a slot depend on all of them.
inline std::uint64_t mixBits(std::uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
}

// Two coordinates' bits as one hash.
inline std::uint64_t pairHash(std::uint64_t a, std::uint64_t b) {
    return mixBits(a * 0x9E3779B97F4A7C15ull ^ std::rotl(b * 0xC2B2AE3D27D4EB4Full, 21));
}

// A point's hash: equal points (-0 and +0 alike) hash alike.
inline std::uint64_t pointHash(const Point3& p) {
    return mixBits(coordinateBits(p.x) * 0x9E3779B97F4A7C15ull ^
                   std::rotl(coordinateBits(p.y) * 0xC2B2AE3D27D4EB4Full, 21) ^
                   std::rotl(coordinateBits(p.z) * 0x165667B19E3779F9ull, 42));
}

}  // namespace tz::terrain
