// Slots of a vector handed out and given back, as the engine and its
// circle indexes keep triangles and registrations: a slot given back is
// used again before the vector grows.
#pragma once

#include <cstdint>
#include <vector>

namespace tz::terrain {

// The index of a slot of `items` to use: the last one given back to
// `freed`, else a new default-made one at the end.
template <class T>
uint32_t takeSlot(std::vector<T>& items, std::vector<uint32_t>& freed) {
    if (!freed.empty()) {
        const uint32_t slot = freed.back();
        freed.pop_back();
        return slot;
    }
    items.emplace_back();
    return static_cast<uint32_t>(items.size() - 1);
}

}  // namespace tz::terrain
