#include "TinLookup.h"

#include <algorithm>
#include <cmath>

namespace tz::sections {

namespace {

const Point3& corner(const Triangle& t, std::uint32_t k) { return k == 0 ? t.p1 : (k == 1 ? t.p2 : t.p3); }

double planLength(const Point3& a, const Point3& b) { return std::hypot(b.x - a.x, b.y - a.y); }

// The parameter tolerance of the host's intersection and its rounding, in
// drawing units, scaled by the largest coordinate and edge involved.
constexpr double kRelativeMargin = 1e-8;

std::vector<bool> usableTriangles(const TinTable& table) {
    std::vector<bool> use(table.triangles.size());
    for (std::size_t i = 0; i < use.size(); ++i) use[i] = planArea2(table.triangles[i]) != 0;
    return use;
}

double tinMargin(const TinTable& table) {
    double largest = 0, longest = 0;
    for (const Triangle& t : table.triangles) {
        for (const Point3* p : {&t.p1, &t.p2, &t.p3}) largest = std::max({largest, std::fabs(p->x), std::fabs(p->y)});
        longest = std::max({longest, planLength(t.p1, t.p2), planLength(t.p1, t.p3), planLength(t.p2, t.p3)});
    }
    return kRelativeMargin * (largest + longest);
}

}  // namespace

TinLookup::TinLookup(const TinTable& table)
    : table_(table), boxes_(table.triangles, usableTriangles(table), tinMargin(table)), margin_(tinMargin(table)) {
    const std::vector<bool> use = usableTriangles(table);
    for (std::size_t i = 0; i < table.triangles.size(); ++i)
        if (use[i])
            for (std::uint32_t k = 0; k < 3; ++k) verticesByY_.push_back(static_cast<std::uint32_t>(3 * i + k));
    std::sort(verticesByY_.begin(), verticesByY_.end(), [&](std::uint32_t a, std::uint32_t b) {
        return corner(table_.triangles[a / 3], a % 3).y < corner(table_.triangles[b / 3], b % 3).y;
    });
}

void TinLookup::addVerticesOnRay(double x, double y, double margin, std::vector<std::uint32_t>& out) const {
    const double left = std::min(x, table_.rayEndX) - margin, right = std::max(x, table_.rayEndX) + margin;
    auto yOf = [&](std::uint32_t k) { return corner(table_.triangles[k / 3], k % 3).y; };
    auto first = std::lower_bound(verticesByY_.begin(), verticesByY_.end(), y - margin,
                                  [&](std::uint32_t k, double value) { return yOf(k) < value; });
    for (auto it = first; it != verticesByY_.end() && yOf(*it) <= y + margin; ++it) {
        const double vx = corner(table_.triangles[*it / 3], *it % 3).x;
        if (vx >= left && vx <= right) out.push_back(*it / 3);
    }
}

std::vector<TinHit> TinLookup::hits(double x, double y) const {
    std::vector<TinHit> found;
    if (table_.triangles.empty()) return found;
    const double margin =
        margin_ + kRelativeMargin * (std::fabs(x) + std::fabs(y) + std::fabs(table_.rayEndX) +
                                     std::fabs(table_.rayEndX - x));
    candidates_.clear();
    boxes_.near(x, y, margin, candidates_);
    boxes_.near(table_.rayEndX, y, margin, candidates_);
    addVerticesOnRay(x, y, margin, candidates_);
    std::sort(candidates_.begin(), candidates_.end());
    candidates_.erase(std::unique(candidates_.begin(), candidates_.end()), candidates_.end());
    for (std::uint32_t index : candidates_) {
        const Triangle& t = table_.triangles[index];
        if (containsByRay(t, x, y, table_.rayEndX)) found.push_back({index, planeElevation(t, x, y)});
    }
    return found;
}

std::optional<double> TinLookup::lastElevation(double x, double y) const {
    const std::vector<TinHit> found = hits(x, y);
    if (found.empty()) return std::nullopt;
    return found.back().elevation;
}

}  // namespace tz::sections
