#include "faults/FaultTin.h"

#include <algorithm>

namespace tz::terrain {
namespace {

constexpr size_t kMaxCellsPerTriangle = 64;

CellGrid gridFor(const std::vector<Triangle>& triangles) {
    if (triangles.empty()) return CellGrid(0, 0, 1, 1, 1);
    double xlo = triangles[0].p1.x, xhi = xlo, ylo = triangles[0].p1.y, yhi = ylo;
    for (const Triangle& t : triangles) {
        for (const Point3* p : {&t.p1, &t.p2, &t.p3}) {
            xlo = std::min(xlo, p->x), xhi = std::max(xhi, p->x);
            ylo = std::min(ylo, p->y), yhi = std::max(yhi, p->y);
        }
    }
    return CellGrid(xlo, ylo, xhi, yhi, triangles.size() / 2 + 1);
}

}  // namespace

FaultTin::FaultTin(const std::vector<Triangle>& triangles) : grid_(gridFor(triangles)) {
    cells_.resize(grid_.cellCount());
    triangles_.reserve(triangles.size());
    for (const Triangle& t : triangles) append(t);
}

void FaultTin::index(uint32_t id) {
    const Triangle& t = triangles_[id];
    const double xlo = std::min({t.p1.x, t.p2.x, t.p3.x}), xhi = std::max({t.p1.x, t.p2.x, t.p3.x});
    const double ylo = std::min({t.p1.y, t.p2.y, t.p3.y}), yhi = std::max({t.p1.y, t.p2.y, t.p3.y});
    if (grid_.cellsInBox(xlo, ylo, xhi, yhi) > kMaxCellsPerTriangle) {
        everywhere_.push_back(id);
        return;
    }
    grid_.forEachCellInBox(xlo, ylo, xhi, yhi, [&](size_t cell) { cells_[cell].push_back(id); });
}

uint32_t FaultTin::append(const Triangle& triangle) {
    const uint32_t id = static_cast<uint32_t>(triangles_.size());
    triangles_.push_back(triangle);
    alive_.push_back(1);
    ++count_;
    index(id);
    return id;
}

void FaultTin::remove(uint32_t id) {
    if (!contains(id)) return;
    alive_[id] = 0;
    --count_;
}

std::vector<Triangle> FaultTin::inOrder() const {
    std::vector<Triangle> out;
    out.reserve(count_);
    for (uint32_t id = 0; id < triangles_.size(); ++id) {
        if (alive_[id] != 0) out.push_back(triangles_[id]);
    }
    return out;
}

std::vector<uint32_t> FaultTin::near(const Point3& a, const Point3& b, double halfWidth) const {
    if (seen_.size() < triangles_.size()) seen_.resize(triangles_.size() + triangles_.size() / 2 + 16, 0);
    ++seenStamp_;
    std::vector<uint32_t> out;
    auto consider = [&](uint32_t id) {
        if (alive_[id] == 0 || seen_[id] == seenStamp_) return;
        seen_[id] = seenStamp_;
        out.push_back(id);
    };
    for (uint32_t id : everywhere_) consider(id);
    grid_.forEachCellNear(a, b, halfWidth, [&](size_t cell) {
        for (uint32_t id : cells_[cell]) consider(id);
    });
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace tz::terrain
