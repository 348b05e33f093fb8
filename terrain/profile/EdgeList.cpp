#include "EdgeList.h"

#include <algorithm>
#include <stdexcept>

#include "tin/PointHash.h"

namespace tz::terrain::profile {

namespace {

constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

// The same value for an edge and its reverse.
std::uint64_t edgeHash(const Edge& e) {
    const std::uint64_t a = pointHash(e.a), b = pointHash(e.b);
    return mixBits(std::min(a, b) * 0x9E3779B97F4A7C15ull + std::max(a, b));
}

std::uint32_t tagOf(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }

}  // namespace

std::size_t EdgeList::findSlot(const Edge& edge, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const std::uint32_t tag = tagOf(hash);
    std::size_t slot = hash & mask;
    while (slots_[slot].index != kEmpty &&
           !(slots_[slot].tag == tag && sameEdge(edges_[slots_[slot].index], edge)))
        slot = (slot + 1) & mask;
    return slot;
}

bool EdgeList::contains(const Edge& edge) const {
    if (slots_.empty()) return false;
    return slots_[findSlot(edge, edgeHash(edge))].index != kEmpty;
}

void EdgeList::grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{kEmpty, 0});
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
        if (s.index == kEmpty) continue;
        std::size_t slot = edgeHash(edges_[s.index]) & mask;
        while (slots_[slot].index != kEmpty) slot = (slot + 1) & mask;
        slots_[slot] = s;
    }
}

void EdgeList::reserveForOneMore() {
    if (edges_.size() >= kEmpty - 1) throw std::length_error("too many edges");
    if ((edges_.size() + 1) * 2 > slots_.size()) grow();
}

void EdgeList::append(const Edge& edge) {
    reserveForOneMore();
    const std::uint64_t hash = edgeHash(edge);
    const std::size_t slot = findSlot(edge, hash);
    edges_.push_back(edge);
    // An equal edge already indexed answers every later search the same way.
    if (slots_[slot].index == kEmpty) slots_[slot] = {static_cast<std::uint32_t>(edges_.size() - 1), tagOf(hash)};
}

bool EdgeList::appendIfNew(const Edge& edge) {
    reserveForOneMore();
    const std::uint64_t hash = edgeHash(edge);
    const std::size_t slot = findSlot(edge, hash);
    if (slots_[slot].index != kEmpty) return false;
    edges_.push_back(edge);
    slots_[slot] = {static_cast<std::uint32_t>(edges_.size() - 1), tagOf(hash)};
    return true;
}

}  // namespace tz::terrain::profile
