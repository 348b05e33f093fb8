#include "faults/EdgeToggleList.h"

#include <cmath>
#include <cstring>
#include <tuple>

#include "boundary/Segment.h"

namespace tz::terrain {
namespace {

// Cells twice the plan tolerance wide: two points the same in plan lie in
// the same or neighbouring cells.
constexpr double kCell = 2 * kPlanTolerance;

int64_t cellIndex(double v) {
    const double q = std::floor(v / kCell);
    if (!(q > -4e18)) return static_cast<int64_t>(-4e18);
    if (!(q < 4e18)) return static_cast<int64_t>(4e18);
    return static_cast<int64_t>(q);
}

uint64_t cellKey(int64_t ix, int64_t iy) {
    return (static_cast<uint64_t>(ix) * 0x9E3779B97F4A7C15ull) ^ static_cast<uint64_t>(iy);
}

bool lexicographicallyBefore(const Point3& p, const Point3& q) {
    return std::tie(p.x, p.y, p.z) < std::tie(q.x, q.y, q.z);
}

}  // namespace

bool EdgeToggleList::Key::operator==(const Key& other) const {
    for (int i = 0; i < 6; ++i) {
        if (!(v[i] == other.v[i])) return false;
    }
    return true;
}

size_t EdgeToggleList::KeyHash::operator()(const Key& key) const {
    uint64_t h = 1469598103934665603ull;
    for (double d : key.v) {
        const double normal = d + 0.0;  // -0 and 0 are equal: hash them alike
        uint64_t bits;
        std::memcpy(&bits, &normal, sizeof bits);
        h = (h ^ bits) * 1099511628211ull;
        h ^= h >> 29;
    }
    return static_cast<size_t>(h);
}

EdgeToggleList::Key EdgeToggleList::keyOf(const Point3& a, const Point3& b) {
    const Point3& first = lexicographicallyBefore(b, a) ? b : a;
    const Point3& second = &first == &a ? b : a;
    return Key{{first.x, first.y, first.z, second.x, second.y, second.z}};
}

uint64_t EdgeToggleList::cellOf(double x, double y) {
    return cellKey(cellIndex(x), cellIndex(y));
}

void EdgeToggleList::toggle(const Point3& a, const Point3& b) {
    const Key key = keyOf(a, b);
    auto it = positions_.find(key);
    if (it != positions_.end()) {
        entries_[it->second].alive = false;
        positions_.erase(it);
        --count_;
        return;
    }
    const auto position = static_cast<uint32_t>(entries_.size());
    entries_.push_back({{a, b}, true});
    positions_.emplace(key, position);
    ++count_;
    nearPoint_[cellOf(a.x, a.y)].push_back(position);
    if (cellOf(b.x, b.y) != cellOf(a.x, a.y)) nearPoint_[cellOf(b.x, b.y)].push_back(position);
}

std::vector<EdgeToggleList::Edge> EdgeToggleList::edges() const {
    std::vector<Edge> out;
    for (const Entry& e : entries_) {
        if (e.alive) out.push_back(e.edge);
    }
    return out;
}

std::optional<EdgeToggleList::Edge> EdgeToggleList::last() const {
    for (size_t i = entries_.size(); i-- > 0;) {
        if (entries_[i].alive) return entries_[i].edge;
    }
    return std::nullopt;
}

std::optional<EdgeToggleList::Edge> EdgeToggleList::takeFirstTouching(const Point3& point, bool& startMatched) {
    uint32_t best = UINT32_MAX;
    bool bestStart = false;
    const int64_t cx = cellIndex(point.x), cy = cellIndex(point.y);
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            auto it = nearPoint_.find(cellKey(cx + dx, cy + dy));
            if (it == nearPoint_.end()) continue;
            for (uint32_t position : it->second) {
                const Entry& e = entries_[position];
                if (!e.alive || position >= best) continue;
                if (samePlan(e.edge.a, point)) {
                    best = position, bestStart = true;
                } else if (samePlan(e.edge.b, point)) {
                    best = position, bestStart = false;
                }
            }
        }
    }
    if (best == UINT32_MAX) return std::nullopt;
    Entry& e = entries_[best];
    e.alive = false;
    positions_.erase(keyOf(e.edge.a, e.edge.b));
    --count_;
    startMatched = bestStart;
    return e.edge;
}

}  // namespace tz::terrain
