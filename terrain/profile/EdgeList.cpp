#include "EdgeList.h"

#include <bit>
#include <stdexcept>
#include <tuple>

namespace tz::terrain::profile {

namespace {

constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

// Bits of a coordinate with -0 and +0 made one, since they compare equal.
std::uint64_t coordinateBits(double v) { return std::bit_cast<std::uint64_t>(v + 0.0); }

std::uint64_t mix(std::uint64_t h, std::uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    h *= 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 33);
}

std::uint64_t pointHash(const Point3& p) {
    return mix(mix(mix(0x84222325CBF29CE4ull, coordinateBits(p.x)), coordinateBits(p.y)), coordinateBits(p.z));
}

bool pointLess(const Point3& p, const Point3& q) { return std::tie(p.x, p.y, p.z) < std::tie(q.x, q.y, q.z); }

// The same value for an edge and its reverse: the smaller end point first.
std::uint64_t edgeHash(const Edge& e) {
    const bool swap = pointLess(e.b, e.a);
    const Point3& first = swap ? e.b : e.a;
    const Point3& second = swap ? e.a : e.b;
    return mix(pointHash(first), pointHash(second));
}

}  // namespace

std::size_t EdgeList::findSlot(const Edge& edge) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = edgeHash(edge) & mask;
    while (slots_[slot] != kEmpty && !sameEdge(edges_[slots_[slot]], edge)) slot = (slot + 1) & mask;
    return slot;
}

bool EdgeList::contains(const Edge& edge) const {
    if (slots_.empty()) return false;
    return slots_[findSlot(edge)] != kEmpty;
}

void EdgeList::grow() {
    std::vector<std::uint32_t> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, kEmpty);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint32_t index : old) {
        if (index == kEmpty) continue;
        std::size_t slot = edgeHash(edges_[index]) & mask;
        while (slots_[slot] != kEmpty) slot = (slot + 1) & mask;
        slots_[slot] = index;
    }
}

void EdgeList::insertIndex(std::uint32_t index) {
    if ((edges_.size() + 1) * 2 > slots_.size()) grow();
    const std::size_t slot = findSlot(edges_[index]);
    // An equal edge already indexed answers every later search the same way.
    if (slots_[slot] == kEmpty) slots_[slot] = index;
}

void EdgeList::append(const Edge& edge) {
    if (edges_.size() >= kEmpty - 1) throw std::length_error("too many edges");
    edges_.push_back(edge);
    insertIndex(static_cast<std::uint32_t>(edges_.size() - 1));
}

bool EdgeList::appendIfNew(const Edge& edge) {
    if (contains(edge)) return false;
    append(edge);
    return true;
}

void EdgeList::appendTriangleIfNew(const tz::terrain::Triangle& triangle) {
    bool isNew[3];
    for (int k = 0; k < 3; ++k) isNew[k] = !contains(triangleEdge(triangle, k));
    for (int k = 0; k < 3; ++k)
        if (isNew[k]) append(triangleEdge(triangle, k));
}

}  // namespace tz::terrain::profile
