// An edge toggle list: adding an edge that is already present, in the same
// or the reverse direction with all six coordinates exactly equal, removes
// the present one; otherwise the edge goes at the end. The survivors keep
// the order in which they were added. Lookups go through a hash of the
// coordinates, and the edges near a point (in plan equality) through a
// hash of plan cells, so that long fault lines stay fast.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "tin/Triangle.h"

namespace tz::terrain {

class EdgeToggleList {
public:
    struct Edge {
        Point3 a, b;
    };

    void toggle(const Point3& a, const Point3& b);

    // Number of edges in the list.
    size_t size() const { return count_; }

    // The edges in list order.
    std::vector<Edge> edges() const;

    // The last edge of the list, if any.
    std::optional<Edge> last() const;

    // The first edge of the list (in list order) whose start or end is the
    // same in plan as `point`, taken out of the list; with `startMatched`
    // telling which end matched (the start is tried first).
    std::optional<Edge> takeFirstTouching(const Point3& point, bool& startMatched);

private:
    struct Entry {
        Edge edge;
        bool alive;
    };
    struct Key {
        double v[6];
        bool operator==(const Key& other) const;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };
    static Key keyOf(const Point3& a, const Point3& b);
    static uint64_t cellOf(double x, double y);

    std::vector<Entry> entries_;
    size_t count_ = 0;
    std::unordered_map<Key, uint32_t, KeyHash> positions_;
    std::unordered_map<uint64_t, std::vector<uint32_t>> nearPoint_;  // plan cell -> entries with an end there
};

}  // namespace tz::terrain
