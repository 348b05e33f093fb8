// Least-significant-digit radix sort of 64-bit keys carrying a 32-bit value,
// and the key that orders doubles as their values compare.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace tz::terrain {

struct KeyedIndex {
    std::uint64_t key;
    std::uint32_t index;
};

// A key whose unsigned order is the order of the values: -0.0 and 0.0 get
// the same key; a NaN with the sign bit set sorts before everything, one
// without after everything.
inline std::uint64_t orderKey(double value) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value + 0.0);
    return bits >> 63 ? ~bits : bits | (std::uint64_t{1} << 63);
}

// Sorts `items` by key, stably (equal keys keep their order). `scratch` is
// working room, reused between calls. Byte positions all keys share are skipped.
inline void radixSortByKey(std::vector<KeyedIndex>& items, std::vector<KeyedIndex>& scratch) {
    if (items.size() < 2) return;
    std::uint64_t anyDiffers = 0;
    for (const KeyedIndex& item : items) anyDiffers |= item.key ^ items.front().key;
    scratch.resize(items.size());
    for (int shift = 0; shift < 64; shift += 8) {
        if (((anyDiffers >> shift) & 0xFF) == 0) continue;
        std::array<std::size_t, 256> start{};
        for (const KeyedIndex& item : items) ++start[(item.key >> shift) & 0xFF];
        std::size_t total = 0;
        for (std::size_t& s : start) {
            const std::size_t count = s;
            s = total;
            total += count;
        }
        for (const KeyedIndex& item : items) scratch[start[(item.key >> shift) & 0xFF]++] = item;
        items.swap(scratch);
    }
}

}  // namespace tz::terrain
