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

// The reach of hits() around a point: the TIN's margin and the point's own part.
double reachAt(double margin, double x, double y, double rayEndX) {
    return margin + kRelativeMargin * (std::fabs(x) + std::fabs(y) + std::fabs(rayEndX) + std::fabs(rayEndX - x));
}

// The rays of a set of points, sorted by y, and which triangles may
// count for one of them: those whose box holds a point or its ray's end, and
// those with a vertex on a ray, all within twice the largest reach (the
// doubling covers any rounding between these sums and those of hits()).
class RaysOfPoints {
public:
    RaysOfPoints(const std::vector<Point3>& points, double margin, double rayEndX) : rayEndX_(rayEndX) {
        for (const Point3& p : points) reach_ = std::max(reach_, 2 * reachAt(margin, p.x, p.y, rayEndX));
        rays_.reserve(points.size());
        for (const Point3& p : points)
            rays_.push_back({p.y, p.x, std::min(p.x, rayEndX) - reach_, std::max(p.x, rayEndX) + reach_});
        std::sort(rays_.begin(), rays_.end(), [](const Ray& a, const Ray& b) { return a.y < b.y; });
    }

    // `visits` counts the rays looked at.
    bool mayCount(const Triangle& t, std::size_t& visits) const {
        const PlanBox box = planBox(t, reach_);
        if (!(std::isfinite(box.minX) && std::isfinite(box.maxX) && std::isfinite(box.minY) && std::isfinite(box.maxY)))
            return true;
        // Every ray ends at rayEndX: a box across it holds the end of any ray within its rows.
        const bool holdsRayEnds = rayEndX_ >= box.minX && rayEndX_ <= box.maxX;
        auto ray = std::lower_bound(rays_.begin(), rays_.end(), box.minY, [](const Ray& r, double y) { return r.y < y; });
        for (; ray != rays_.end() && ray->y <= box.maxY; ++ray) {
            ++visits;
            if (holdsRayEnds || (ray->x >= box.minX && ray->x <= box.maxX)) return true;
            for (const Point3* v : {&t.p1, &t.p2, &t.p3})
                if (std::fabs(v->y - ray->y) <= reach_ && v->x >= ray->left && v->x <= ray->right) return true;
        }
        return false;
    }

private:
    struct Ray {
        double y, x, left, right;
    };
    double rayEndX_;
    double reach_ = 0;
    std::vector<Ray> rays_;
};

}  // namespace

TinLookup::TinLookup(const TinTable& table) : TinLookup(table, usableTriangles(table), tinMargin(table)) {}

TinLookup TinLookup::forPoints(const TinTable& table, const std::vector<Point3>& points) {
    const double margin = tinMargin(table);
    std::vector<bool> use = usableTriangles(table);
    for (const Point3& p : points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return TinLookup(table, use, margin);
    const RaysOfPoints rays(points, margin, table.rayEndX);
    std::vector<bool> chosen(use.size());
    // Points far out of proportion to the TIN (a reach wider than its
    // triangles, many rays in one band) could make choosing cost more than
    // indexing everything; then every triangle stays in, which answers the
    // same.
    const std::size_t enough = 64 * use.size() + 1'000'000;
    std::size_t visits = 0;
    for (std::size_t i = 0; i < use.size() && visits <= enough; ++i)
        chosen[i] = use[i] && rays.mayCount(table.triangles[i], visits);
    return TinLookup(table, visits <= enough ? chosen : use, margin);
}

TinLookup::TinLookup(const TinTable& table, const std::vector<bool>& use, double margin)
    : table_(table), boxes_(table.triangles, use, margin), margin_(margin),
      indexed_(static_cast<std::size_t>(std::count(use.begin(), use.end(), true))) {
    // Corners sorted into as many bands of y as there are corners: found in
    // linear time, and a band holds a handful.
    double ylow = 0, yhigh = 0;
    bool first = true;
    std::size_t corners = 0;
    for (std::size_t i = 0; i < use.size(); ++i) {
        if (!use[i]) continue;
        for (std::uint32_t k = 0; k < 3; ++k) {
            const double y = corner(table.triangles[i], k).y;
            ylow = first ? y : std::min(ylow, y);
            yhigh = first ? y : std::max(yhigh, y);
            first = false;
            ++corners;
        }
    }
    bandY0_ = ylow;
    bandScale_ = yhigh > ylow ? static_cast<double>(corners) / (yhigh - ylow) : 0;
    bandStart_.assign(corners + 2, 0);
    for (std::size_t i = 0; i < use.size(); ++i)
        if (use[i])
            for (std::uint32_t k = 0; k < 3; ++k) ++bandStart_[bandOf(corner(table.triangles[i], k).y) + 1];
    for (std::size_t b = 1; b < bandStart_.size(); ++b) bandStart_[b] += bandStart_[b - 1];
    cornersByBand_.resize(corners);
    std::vector<std::uint32_t> next(bandStart_.begin(), bandStart_.end() - 1);
    for (std::size_t i = 0; i < use.size(); ++i)
        if (use[i])
            for (std::uint32_t k = 0; k < 3; ++k)
                cornersByBand_[next[bandOf(corner(table.triangles[i], k).y)]++] = static_cast<std::uint32_t>(3 * i + k);
}

std::size_t TinLookup::bandOf(double y) const {
    // Monotone in y, so the corners between two values lie in the bands
    // between theirs.
    const double v = (y - bandY0_) * bandScale_;
    const std::size_t last = bandStart_.size() - 2;
    if (!(v > 0)) return 0;
    if (v >= static_cast<double>(last)) return last;
    return static_cast<std::size_t>(v);
}

void TinLookup::addVerticesOnRay(double x, double y, double margin, std::vector<std::uint32_t>& out) const {
    if (cornersByBand_.empty()) return;
    const double left = std::min(x, table_.rayEndX) - margin, right = std::max(x, table_.rayEndX) + margin;
    const std::size_t firstBand = bandOf(y - margin), lastBand = bandOf(y + margin);
    for (std::size_t b = firstBand; b <= lastBand; ++b) {
        for (std::uint32_t i = bandStart_[b]; i < bandStart_[b + 1]; ++i) {
            const std::uint32_t k = cornersByBand_[i];
            const Point3& v = corner(table_.triangles[k / 3], k % 3);
            if (v.y >= y - margin && v.y <= y + margin && v.x >= left && v.x <= right) out.push_back(k / 3);
        }
    }
}

std::vector<TinHit> TinLookup::hits(double x, double y) const {
    std::vector<TinHit> found;
    if (table_.triangles.empty()) return found;
    const double margin = reachAt(margin_, x, y, table_.rayEndX);
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
