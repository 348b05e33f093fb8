#include "drawing/EntityGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tz::cad {

double arcSweep(double sweep) {
    constexpr double turn = 2 * std::numbers::pi;
    if (!std::isfinite(sweep)) return turn;
    if (sweep <= 0) {
        sweep = std::fmod(sweep, turn);  // exact; the same as adding one turn above -2 pi
        if (sweep <= 0) sweep += turn;
    }
    return std::min(sweep, turn);
}

namespace {

constexpr double kChordAngle = std::numbers::pi / 16;  // arcs as chords of at most 11.25 degrees

// Appends the arc from p to q whose bulge is b (tan of a quarter of the
// included angle, positive counter-clockwise), q included, p not.
void appendBulgedSegment(std::vector<Point3>& chain, const Point3& p, const Point3& q, double bulge) {
    const double dx = q.x - p.x;
    const double dy = q.y - p.y;
    const double chord = std::hypot(dx, dy);
    if (bulge == 0 || chord == 0 || !std::isfinite(bulge)) {
        chain.push_back(q);
        return;
    }
    const double included = 4 * std::atan(bulge);  // signed: positive counter-clockwise
    const double radius = chord / (2 * std::sin(std::abs(included) / 2));
    // The centre lies on the chord's perpendicular bisector: to the left of p->q
    // for a counter-clockwise arc of less than a half circle; the cosine turns
    // negative past a half circle and moves it to the other side.
    const double offset = radius * std::cos(included / 2) * (bulge > 0 ? 1.0 : -1.0);
    const double cx = (p.x + q.x) / 2 - dy / chord * offset;
    const double cy = (p.y + q.y) / 2 + dx / chord * offset;
    const double start = std::atan2(p.y - cy, p.x - cx);
    const int steps = std::max(1, static_cast<int>(std::ceil(std::abs(included) / kChordAngle)));
    for (int i = 1; i < steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double angle = start + included * t;
        chain.push_back({cx + radius * std::cos(angle), cy + radius * std::sin(angle), p.z + (q.z - p.z) * t});
    }
    chain.push_back(q);
}

std::vector<Point3> circleChain(const Point3& centre, double radius, double startDegrees, double endDegrees) {
    const double start = startDegrees * std::numbers::pi / 180;
    const double sweep = arcSweep((endDegrees - startDegrees) * std::numbers::pi / 180);
    const int steps = std::max(1, static_cast<int>(std::ceil(sweep / kChordAngle)));
    std::vector<Point3> chain;
    for (int i = 0; i <= steps; ++i) {
        const double angle = start + sweep * i / steps;
        chain.push_back({centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle), centre.z});
    }
    return chain;
}

// Vertices with bulges to a chain; closes it on its first vertex when asked.
std::vector<Point3> bulgedChain(const std::vector<std::pair<Point3, double>>& vertices, bool closed) {
    std::vector<Point3> chain;
    if (vertices.empty()) return chain;
    chain.push_back(vertices.front().first);
    for (size_t i = 1; i < vertices.size(); ++i) {
        appendBulgedSegment(chain, vertices[i - 1].first, vertices[i].first, vertices[i - 1].second);
    }
    if (closed && vertices.size() > 1) appendBulgedSegment(chain, vertices.back().first, vertices.front().first,
                                                           vertices.back().second);
    return chain;
}

EntityShape polylineShape(const Drawing& drawing, const Entity& polyline) {
    const int64_t flags = groupInt(polyline.data, 70).value_or(0);
    std::vector<std::pair<Point3, double>> vertices;
    for (uint64_t handle : polyline.subEntities) {
        const Entity* vertex = drawing.find(handle);
        if (vertex == nullptr || vertex->type != L"VERTEX") continue;
        const int64_t vertexFlags = groupInt(vertex->data, 70).value_or(0);
        if ((vertexFlags & 128) && !(vertexFlags & 64)) continue;  // a polyface mesh's face record
        vertices.emplace_back(groupPoint(vertex->data, 10).value_or(Point3{}), groupReal(vertex->data, 42).value_or(0));
    }
    return {bulgedChain(vertices, (flags & 1) != 0)};
}

EntityShape lightweightPolylineShape(const Entity& polyline) {
    std::vector<std::pair<Point3, double>> vertices;
    const double elevation = groupReal(polyline.data, 38).value_or(0);
    for (const Group& group : polyline.data) {
        if (group.code == 10) {
            Point3 p = std::get<Point3>(group.value);
            p.z = elevation;
            vertices.emplace_back(p, 0.0);
        } else if (group.code == 42 && !vertices.empty()) {
            if (const auto* bulge = std::get_if<double>(&group.value)) vertices.back().second = *bulge;
        }
    }
    return {bulgedChain(vertices, (groupInt(polyline.data, 70).value_or(0) & 1) != 0)};
}

std::vector<Point3> pointsOf(const Entity& entity, std::initializer_list<int> codes) {
    std::vector<Point3> points;
    for (int code : codes) {
        if (std::optional<Point3> p = groupPoint(entity.data, code)) points.push_back(*p);
    }
    return points;
}

double distanceToSegment(const Point3& a, const Point3& b, double x, double y) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(a.x + t * dx - x, a.y + t * dy - y);
}

// Liang-Barsky: does the segment a-b meet the window?
bool segmentMeetsWindow(const Point3& a, const Point3& b, const PlanWindow& w) {
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - w.minX, w.maxX - a.x, a.y - w.minY, w.maxY - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, r);
        } else {
            t1 = std::min(t1, r);
        }
        if (t0 > t1) return false;
    }
    return true;
}

}  // namespace

EntityShape entityShape(const Drawing& drawing, const Entity& entity) {
    const std::wstring& type = entity.type;
    if (type == L"LINE") return {pointsOf(entity, {10, 11})};
    if (type == L"3DFACE") {
        std::vector<Point3> corners = pointsOf(entity, {10, 11, 12, 13});
        if (!corners.empty()) corners.push_back(corners.front());
        return {corners};
    }
    if (type == L"POLYLINE") return polylineShape(drawing, entity);
    if (type == L"LWPOLYLINE") return lightweightPolylineShape(entity);
    if (type == L"LEADER") {
        std::vector<Point3> chain;
        for (const Group& group : entity.data) {
            if (group.code == 10) chain.push_back(std::get<Point3>(group.value));
        }
        return {chain};
    }
    if (type == L"CIRCLE" || type == L"ARC") {
        const std::optional<Point3> centre = groupPoint(entity.data, 10);
        const std::optional<double> radius = groupReal(entity.data, 40);
        if (!centre || !radius) return {};
        if (type == L"CIRCLE") return {circleChain(*centre, *radius, 0, 360)};
        return {circleChain(*centre, *radius, groupReal(entity.data, 50).value_or(0),
                            groupReal(entity.data, 51).value_or(360))};
    }
    if (type == L"VERTEX" || type == L"SEQEND") return {};
    if (std::optional<Point3> placed = groupPoint(entity.data, 10)) return {{*placed}};
    return {};
}

PlanWindow PlanWindow::fromCorners(double x1, double y1, double x2, double y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

bool shapeInsideWindow(const EntityShape& shape, const PlanWindow& window) {
    bool any = false;
    for (const auto& chain : shape) {
        for (const Point3& p : chain) {
            if (!window.contains(p.x, p.y)) return false;
            any = true;
        }
    }
    return any;
}

bool shapeCrossesWindow(const EntityShape& shape, const PlanWindow& window) {
    for (const auto& chain : shape) {
        for (size_t i = 0; i < chain.size(); ++i) {
            if (window.contains(chain[i].x, chain[i].y)) return true;
            if (i > 0 && segmentMeetsWindow(chain[i - 1], chain[i], window)) return true;
        }
    }
    return false;
}

std::optional<double> planDistanceToShape(const EntityShape& shape, double x, double y) {
    std::optional<double> best;
    for (const auto& chain : shape) {
        for (size_t i = 0; i < chain.size(); ++i) {
            const double d = i == 0 ? std::hypot(chain[0].x - x, chain[0].y - y)
                                    : distanceToSegment(chain[i - 1], chain[i], x, y);
            if (!best || d < *best) best = d;
        }
    }
    return best;
}

std::optional<Extents> drawingExtents(const Drawing& drawing) {
    std::optional<Extents> extents;
    for (uint64_t handle : drawing.entityOrder()) {
        const Entity* entity = drawing.find(handle);
        if (entity == nullptr || entity->erased) continue;
        for (const auto& chain : entityShape(drawing, *entity)) {
            for (const Point3& p : chain) {
                if (!extents) {
                    extents = Extents{p, p};
                    continue;
                }
                extents->min = {std::min(extents->min.x, p.x), std::min(extents->min.y, p.y),
                                std::min(extents->min.z, p.z)};
                extents->max = {std::max(extents->max.x, p.x), std::max(extents->max.y, p.y),
                                std::max(extents->max.z, p.z)};
            }
        }
    }
    return extents;
}

}  // namespace tz::cad
