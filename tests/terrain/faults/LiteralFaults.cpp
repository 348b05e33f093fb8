#include "LiteralFaults.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>

#include "../boundary/LiteralBoundary.h"
#include "../tin/LiteralTriangulation.h"

namespace tz::terrain::literal {
namespace {

bool same(const Point3& p, const Point3& q) {
    return std::fabs(p.x - q.x) <= 0.00001 && std::fabs(p.y - q.y) <= 0.00001;
}

Point3 vertex(const Triangle& t, int i) { return i == 0 ? t.p1 : (i == 1 ? t.p2 : t.p3); }

bool edgeCrossed(const Point3& S, const Point3& E, const Point3& A, const Point3& B) {
    if (same(A, S) || same(A, E) || same(B, S) || same(B, E)) return false;
    const bool faultVertical = S.x == E.x, edgeVertical = A.x == B.x;
    double a = 0, J = 0, d = 0, I = 0;
    if (!faultVertical) {
        a = (S.y - E.y) / (S.x - E.x);
        J = S.y - a * S.x;
    }
    if (!edgeVertical) {
        d = (A.y - B.y) / (A.x - B.x);
        I = A.y - d * A.x;
    }
    const double xmin = std::min(S.x, E.x), xmax = std::max(S.x, E.x);
    const double ymin = std::min(S.y, E.y), ymax = std::max(S.y, E.y);
    const double gxmin = std::min(A.x, B.x), gxmax = std::max(A.x, B.x);
    const double gymin = std::min(A.y, B.y), gymax = std::max(A.y, B.y);
    if (faultVertical && edgeVertical) return false;
    if (faultVertical) {
        const double y = d * S.x + I;
        return gxmin < S.x && S.x < gxmax && ymin < y && y < ymax;
    }
    if (edgeVertical) {
        const double y = a * A.x + J;
        return xmin < A.x && A.x < xmax && ymin < y && y < ymax && gymin < y && y < gymax;
    }
    if (a == d) return false;
    if (a != 0 && d != 0) {
        const double x = (I - J) / (a - d);
        const double y = a * x + J;
        return x > xmin && x < xmax && x > gxmin && x < gxmax && y > ymin && y < ymax && y > gymin && y < gymax;
    }
    if (d == 0) {
        const double x = (I - J) / a;
        return x > xmin && x < xmax && x > gxmin && x < gxmax && ymin <= I && I <= ymax;
    }
    const double x = (J - I) / d;
    return x > xmin && x < xmax && x > gxmin && x < gxmax && gymin <= J && J <= gymax;
}

using Key = std::tuple<double, double, double>;
Key key(const Point3& p) { return {p.x, p.y, p.z}; }

bool fillsExactly(const std::vector<Triangle>& removed, const std::vector<Triangle>& added) {
    using K = CGAL::Exact_predicates_inexact_constructions_kernel;
    std::set<Key> kept;
    for (const Triangle& t : added) {
        if (CGAL::orientation(K::Point_2(t.p1.x, t.p1.y), K::Point_2(t.p2.x, t.p2.y), K::Point_2(t.p3.x, t.p3.y)) !=
            CGAL::RIGHT_TURN)
            return false;
        for (int i = 0; i < 3; ++i) kept.insert(key(vertex(t, i)));
    }
    for (const Triangle& t : removed) {
        for (int i = 0; i < 3; ++i) {
            if (!kept.count(key(vertex(t, i)))) return false;
        }
    }
    // Directed outline: count each directed edge, opposite pairs cancel.
    auto outline = [](const std::vector<Triangle>& triangles) {
        std::map<std::pair<Key, Key>, int> count;
        for (const Triangle& t : triangles) {
            for (int i = 0; i < 3; ++i) {
                const Key a = key(vertex(t, i)), b = key(vertex(t, (i + 1) % 3));
                auto reverse = count.find({b, a});
                if (reverse != count.end() && reverse->second > 0) {
                    if (--reverse->second == 0) count.erase(reverse);
                } else {
                    ++count[{a, b}];
                }
            }
        }
        return count;
    };
    return outline(removed) == outline(added);
}

std::string missing(const Point3& S, const Point3& E) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "Fault line (%lf,%lf,%lf)-(%lf,%lf,%lf) missing for triangulation.\nApplying Fault Lines...", S.x,
                  S.y, S.z, E.x, E.y, E.z);
    return text;
}

}  // namespace

int insertFaultLineLiterally(std::vector<Triangle>& tin, Segment& fault, int number, std::string& printed) {
    Point3& S = fault.a;
    Point3& E = fault.b;
    for (Point3* end : {&S, &E}) {
        bool found = false;
        double best = 0;
        Point3 nearest{};
        for (const Triangle& t : tin) {
            for (int i = 0; i < 3; ++i) {
                const Point3 v = vertex(t, i);
                const double d = std::sqrt((end->x - v.x) * (end->x - v.x) + (end->y - v.y) * (end->y - v.y));
                if (!found || d < best) {
                    found = true;
                    best = d;
                    nearest = v;
                }
            }
        }
        if (found && best <= 0.1) *end = nearest;
    }
    for (Point3* end : {&S, &E}) {
        bool found = false;
        for (const Triangle& t : tin) {
            for (int i = 0; i < 3 && !found; ++i) {
                if (vertex(t, i).x == end->x && vertex(t, i).y == end->y) {
                    end->z = vertex(t, i).z;
                    found = true;
                }
            }
            if (found) break;
        }
        if (!found) return 5000;
    }
    std::vector<Edge> cavity;
    std::vector<Triangle> removed;
    for (size_t i = 0; i < tin.size();) {
        const Triangle t = tin[i];
        bool crossed = false;
        for (int e = 0; e < 3 && !crossed; ++e) crossed = edgeCrossed(S, E, vertex(t, e), vertex(t, (e + 1) % 3));
        if (crossed) {
            toggleEdge(t.p1, t.p2, cavity);
            toggleEdge(t.p2, t.p3, cavity);
            toggleEdge(t.p3, t.p1, cavity);
            removed.push_back(t);
            tin.erase(tin.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
    auto giveBack = [&] { tin.insert(tin.end(), removed.begin(), removed.end()); };
    if (cavity.size() < 4) {
        giveBack();
        return 5000;
    }
    std::vector<Triangle> added;
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<Edge> chain;
        toggleEdge(S, E, chain);
        while (!chain.empty() && !same(chain.back().b, S) && !cavity.empty()) {
            const Point3 end = chain.back().b;
            size_t k = 0;
            for (; k < cavity.size(); ++k) {
                if (same(cavity[k].a, end) || same(cavity[k].b, end)) break;
            }
            if (k == cavity.size()) {
                giveBack();
                return number;
            }
            const Edge edge = cavity[k];
            if (same(edge.a, end)) toggleEdge(edge.a, edge.b, chain);
            else toggleEdge(edge.b, edge.a, chain);
            cavity.erase(cavity.begin() + static_cast<long>(k));
        }
        if (chain.empty()) {
            giveBack();
            return number;
        }
        std::vector<Point3> polygon;
        std::vector<Segment> sides;
        for (const Edge& e : chain) {
            polygon.push_back(e.b);
            sides.push_back({e.a, e.b});
        }
        for (const Triangle& t : localTriangulationLiterally(polygon)) {
            if (insideBoundaryLiterally(t, sides)) added.push_back(t);
        }
        bool present = false;
        for (const Triangle& t : added) {
            for (int e = 0; e < 3; ++e) {
                const Point3 a = vertex(t, e), b = vertex(t, (e + 1) % 3);
                if ((same(a, S) && same(b, E)) || (same(a, E) && same(b, S))) present = true;
            }
        }
        if (added.empty() || !present) {
            giveBack();
            printed += missing(S, E);
            return 0;
        }
    }
    if (!fillsExactly(removed, added)) {
        giveBack();
        printed += missing(S, E);
        return 0;
    }
    tin.insert(tin.end(), added.begin(), added.end());
    return 0;
}

void applyFaultsLiterally(std::vector<Triangle>& tin, const std::vector<Segment>& faults,
                          const std::vector<Segment>& boundary, std::string& printed) {
    int number = 0;
    for (Segment fault : faults) {
        ++number;
        bool onBoundary = false;
        for (const Segment& b : boundary) {
            if ((same(fault.a, b.a) && same(fault.b, b.b)) || (same(fault.a, b.b) && same(fault.b, b.a))) onBoundary = true;
        }
        if (onBoundary) continue;
        insertFaultLineLiterally(tin, fault, number, printed);
    }
}

}  // namespace tz::terrain::literal
