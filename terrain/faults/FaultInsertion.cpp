#include "faults/FaultInsertion.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "boundary/BoundaryTests.h"
#include "faults/EdgeToggleList.h"
#include "tin/DelaunayEngine.h"
#include "tin/ExactPredicates.h"
#include "tin/NumberText.h"

namespace tz::terrain {
namespace {

constexpr double kSnapDistance = 0.1;

const Point3& corner(const Triangle& t, int i) { return i == 0 ? t.p1 : (i == 1 ? t.p2 : t.p3); }

// The fault S-E as a line: slope and intercept unless vertical, and its extents.
struct FaultLine {
    Point3 s, e;
    bool vertical;
    double a = 0, j = 0;
    double xmin, xmax, ymin, ymax;

    FaultLine(const Point3& start, const Point3& end) : s(start), e(end), vertical(!(start.x != end.x)) {
        if (!vertical) {
            a = (s.y - e.y) / (s.x - e.x);
            j = s.y - a * s.x;
        }
        xmin = std::min(s.x, e.x), xmax = std::max(s.x, e.x);
        ymin = std::min(s.y, e.y), ymax = std::max(s.y, e.y);
    }

    // Whether the fault crosses the edge from p to q.
    bool crosses(const Point3& p, const Point3& q) const {
        if (samePlan(p, s) || samePlan(p, e) || samePlan(q, s) || samePlan(q, e)) return false;
        const bool edgeVertical = !(p.x != q.x);
        const double exMin = std::min(p.x, q.x), exMax = std::max(p.x, q.x);
        const double eyMin = std::min(p.y, q.y), eyMax = std::max(p.y, q.y);
        if (vertical && edgeVertical) return false;
        double d = 0, i = 0;
        if (!edgeVertical) {
            d = (p.y - q.y) / (p.x - q.x);
            i = p.y - d * p.x;
        }
        if (vertical) {
            const double y = d * s.x + i;
            return exMin < s.x && s.x < exMax && ymin < y && y < ymax;
        }
        if (edgeVertical) {
            const double y = a * p.x + j;
            return xmin < p.x && p.x < xmax && ymin < y && y < ymax && eyMin < y && y < eyMax;
        }
        if (a == d) return false;
        if (a != 0 && d != 0) {
            const double x = (i - j) / (a - d);
            const double y = a * x + j;
            return xmin < x && x < xmax && exMin < x && x < exMax && ymin < y && y < ymax && eyMin < y && y < eyMax;
        }
        if (d == 0) {
            const double x = (i - j) / a;
            return xmin < x && x < xmax && exMin < x && x < exMax && ymin <= i && i <= ymax;
        }
        const double x = (j - i) / d;  // a == 0: the fault is horizontal
        return xmin < x && x < xmax && exMin < x && x < exMax && eyMin <= j && j <= eyMax;
    }

    bool crosses(const Triangle& t) const {
        return crosses(t.p1, t.p2) || crosses(t.p2, t.p3) || crosses(t.p3, t.p1);
    }

    bool isEdgeOf(const Triangle& t) const {
        for (int k = 0; k < 3; ++k) {
            const Point3& p = corner(t, k);
            const Point3& q = corner(t, (k + 1) % 3);
            if ((samePlan(p, s) && samePlan(q, e)) || (samePlan(p, e) && samePlan(q, s))) return true;
        }
        return false;
    }
};

// The elevation of the first vertex (TIN order) exactly at the point's plan position.
std::optional<double> vertexElevation(const FaultTin& tin, const Point3& point) {
    for (uint32_t id : tin.near(point, point, 0)) {
        const Triangle& t = tin.at(id);
        for (int k = 0; k < 3; ++k) {
            const Point3& v = corner(t, k);
            if (v.x == point.x && v.y == point.y) return v.z;
        }
    }
    return std::nullopt;
}

void restore(FaultTin& tin, const std::vector<Triangle>& removed) {
    for (const Triangle& t : removed) tin.append(t);
}

std::string missingMessage(const Point3& s, const Point3& e) {
    std::string text = "Fault line (";
    for (const Point3* p : {&s, &e}) {
        if (p == &e) text += ")-(";
        appendFixed(text, p->x);
        text += ',';
        appendFixed(text, p->y);
        text += ',';
        appendFixed(text, p->z);
    }
    text += ") missing for triangulation.\nApplying Fault Lines...";
    return text;
}

using Key = std::tuple<double, double, double>;
using DirectedEdge = std::pair<Key, Key>;
Key keyOf(const Point3& p) { return {p.x + 0.0, p.y + 0.0, p.z + 0.0}; }

// The outline of a set of triangles as directed edges: an edge met in both
// directions is inside and cancels.
std::multiset<DirectedEdge> outlineOf(const std::vector<Triangle>& triangles) {
    std::multiset<DirectedEdge> outline;
    for (const Triangle& t : triangles) {
        for (int k = 0; k < 3; ++k) {
            const DirectedEdge edge{keyOf(corner(t, k)), keyOf(corner(t, (k + 1) % 3))};
            auto reverse = outline.find({edge.second, edge.first});
            if (reverse != outline.end()) outline.erase(reverse);
            else outline.insert(edge);
        }
    }
    return outline;
}

// True when `added` fills exactly the hole that `removed` left: all
// clockwise with non-zero area, the same outline, no vertex lost.
bool fillsHoleExactly(const std::vector<Triangle>& removed, const std::vector<Triangle>& added) {
    std::set<Key> vertices;
    for (const Triangle& t : added) {
        if (exact::orientation(t.p1.x, t.p1.y, t.p2.x, t.p2.y, t.p3.x, t.p3.y) >= 0) return false;
        for (int k = 0; k < 3; ++k) vertices.insert(keyOf(corner(t, k)));
    }
    for (const Triangle& t : removed) {
        for (int k = 0; k < 3; ++k) {
            if (!vertices.count(keyOf(corner(t, k)))) return false;
        }
    }
    return outlineOf(removed) == outlineOf(added);
}

}  // namespace

void snapToVertex(const FaultTin& tin, Point3& point) {
    double best = std::numeric_limits<double>::infinity();
    const Point3* nearest = nullptr;
    for (uint32_t id : tin.near(point, point, kSnapDistance)) {
        const Triangle& t = tin.at(id);
        for (int k = 0; k < 3; ++k) {
            const double distance = planDistance(point, corner(t, k));
            if (distance < best) {
                best = distance;
                nearest = &corner(t, k);
            }
        }
    }
    if (nearest != nullptr && best <= kSnapDistance) point = *nearest;
}

std::vector<Triangle> localTriangulation(const std::vector<Point3>& points) {
    if (points.empty()) return {};
    double xmin = points[0].x, xmax = xmin, ymin = points[0].y, ymax = ymin;
    for (const Point3& p : points) {
        xmin = std::min(xmin, p.x), xmax = std::max(xmax, p.x);
        ymin = std::min(ymin, p.y), ymax = std::max(ymax, p.y);
    }
    Point3 start[3];
    enclosingTriangle(xmin, ymin, xmax, ymax, 1600, 800, start);
    DelaunayEngine engine(DelaunayEngine::Mode::Plain, start, xmin, ymin, xmax, ymax, points.size());
    for (const Point3& p : points) engine.insertPointPlain(p);
    return engine.result();
}

int insertFaultLine(FaultTin& tin, Segment& fault, int faultNumber, StageReporter& reporter,
                    const UserBreakTest& userBreak) {
    Point3& s = fault.a;
    Point3& e = fault.b;
    snapToVertex(tin, s);
    snapToVertex(tin, e);
    const std::optional<double> zs = vertexElevation(tin, s);
    const std::optional<double> ze = vertexElevation(tin, e);
    if (!zs || !ze) return kFaultNotApplicable;
    s.z = *zs;
    e.z = *ze;
    const FaultLine line(s, e);

    // The triangles the fault crosses, in TIN order, and the outline of their union.
    EdgeToggleList cavity;
    std::vector<Triangle> removed;
    for (uint32_t id : tin.near(s, e, 0)) {
        const Triangle t = tin.at(id);
        if (!line.crosses(t)) continue;
        cavity.toggle(t.p1, t.p2);
        cavity.toggle(t.p2, t.p3);
        cavity.toggle(t.p3, t.p1);
        removed.push_back(t);
        tin.remove(id);
    }
    if (cavity.size() < 4) {
        restore(tin, removed);
        return kFaultNotApplicable;
    }

    std::vector<Triangle> added;
    bool present = false;
    for (int pass = 0; pass < 2; ++pass) {
        // Follow the outline from E back to S along one side of the fault.
        EdgeToggleList chain;
        chain.toggle(s, e);
        for (;;) {
            const std::optional<EdgeToggleList::Edge> lastEdge = chain.last();
            if (!lastEdge) {
                restore(tin, removed);
                return faultNumber;
            }
            if (samePlan(lastEdge->b, s) || cavity.size() == 0) break;
            if (userBreak && userBreak()) {
                restore(tin, removed);
                return kStatusCancel;
            }
            bool startMatched = false;
            const std::optional<EdgeToggleList::Edge> next = cavity.takeFirstTouching(lastEdge->b, startMatched);
            if (!next) {
                restore(tin, removed);
                return faultNumber;
            }
            if (startMatched) chain.toggle(next->a, next->b);
            else chain.toggle(next->b, next->a);
        }
        const std::vector<EdgeToggleList::Edge> chainEdges = chain.edges();
        std::vector<Point3> polygon;
        std::vector<Segment> outline;
        for (const EdgeToggleList::Edge& edge : chainEdges) {
            polygon.push_back(edge.b);
            outline.push_back({edge.a, edge.b});
        }
        const BoundarySet side(std::move(outline));
        for (const Triangle& t : localTriangulation(polygon)) {
            if (!insideBoundary(t, side)) continue;
            added.push_back(t);
            present = present || line.isEdgeOf(t);
        }
        if (added.empty() || !present) {
            restore(tin, removed);
            reporter.print(missingMessage(s, e));
            return kStageDone;
        }
    }
    if (!fillsHoleExactly(removed, added)) {
        restore(tin, removed);
        reporter.print(missingMessage(s, e));
        return kStageDone;
    }
    for (const Triangle& t : added) tin.append(t);
    return kStageDone;
}

}  // namespace tz::terrain
