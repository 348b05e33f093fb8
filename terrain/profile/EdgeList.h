// Edges held once each, in the order they were first met.
//
// Duplicates are found through a hash of the unordered pair of end points,
// so loading n edges costs O(n) instead of the O(n^2) of searching the
// stored edges one by one; which edges are kept, and in which order, is
// exactly what that search keeps.
#pragma once

#include <cstdint>
#include <vector>

#include "Edge.h"
#include "tin/Triangle.h"

namespace tz::terrain::profile {

class EdgeList {
public:
    const std::vector<Edge>& edges() const { return edges_; }
    std::size_t size() const { return edges_.size(); }
    bool empty() const { return edges_.empty(); }

    // True when an equal edge (either direction) is stored.
    bool contains(const Edge& edge) const;

    // Stores the edge at the end, whether or not an equal one is stored.
    void append(const Edge& edge);

    // Stores the edge unless an equal one is stored; true when stored.
    bool appendIfNew(const Edge& edge);

    // Stores the triangle's edges P1-P2, P2-P3, P3-P1, each unless an equal
    // edge was stored before this triangle (edges of the triangle itself are
    // not compared with each other).
    void appendTriangleIfNew(const tz::terrain::Triangle& triangle) {
        appendTriangleIfNew(triangle, [](const Edge&) { return true; });
    }

    // The same, for the edges `wanted` accepts; it must give the same answer
    // for equal edges in either direction, so that the edges kept are those
    // the whole list would hold, in its order.
    template <class Wanted>
    void appendTriangleIfNew(const tz::terrain::Triangle& triangle, Wanted&& wanted);

private:
    struct Slot {
        std::uint32_t index;  // into edges_; kEmpty marks a free slot
        std::uint32_t tag;    // high bits of the edge's hash, to pass over most others unread
    };
    // The slot of an equal edge, or the free slot where it would go.
    std::size_t findSlot(const Edge& edge, std::uint64_t hash) const;
    void reserveForOneMore();
    void grow();

    std::vector<Edge> edges_;
    std::vector<Slot> slots_;  // open addressing, linear probing
};

// The edges of a triangle in the order P1-P2, P2-P3, P3-P1.
inline Edge triangleEdge(const tz::terrain::Triangle& t, int which) {
    switch (which) {
        case 0: return {t.p1, t.p2};
        case 1: return {t.p2, t.p3};
        default: return {t.p3, t.p1};
    }
}

template <class Wanted>
void EdgeList::appendTriangleIfNew(const tz::terrain::Triangle& triangle, Wanted&& wanted) {
    // Compared with the edges stored before this triangle, not with each other.
    bool isNew[3];
    for (int k = 0; k < 3; ++k) {
        const Edge edge = triangleEdge(triangle, k);
        isNew[k] = wanted(edge) && !contains(edge);
    }
    for (int k = 0; k < 3; ++k)
        if (isNew[k]) append(triangleEdge(triangle, k));
}

}  // namespace tz::terrain::profile
