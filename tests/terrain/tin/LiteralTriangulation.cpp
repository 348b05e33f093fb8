#include "LiteralTriangulation.h"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

namespace tz::terrain::literal {
namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using CgalPoint = Kernel::Point_2;

CgalPoint cgal(const Point3& p) { return CgalPoint(p.x, p.y); }

bool samePoint(const Point3& a, const Point3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

Point3 vertex(const Record& r, int i) {
    if (i == 0) return {r.x1, r.y1, r.z1};
    if (i == 1) return {r.x2, r.y2, r.z2};
    return {r.x3, r.y3, r.z3};
}

bool clockwise(const Point3& a, const Point3& b, const Point3& c) {
    return CGAL::orientation(cgal(a), cgal(b), cgal(c)) == CGAL::RIGHT_TURN;
}

using Key = std::tuple<double, double, double>;
Key key(const Point3& p) { return {p.x, p.y, p.z}; }

}  // namespace

void literalCircumcircle(Record& t) {
    const double x1 = t.x1, y1 = t.y1, x2 = t.x2, y2 = t.y2, x3 = t.x3, y3 = t.y3;
    double xc, yc;
    if (y1 == y2) {
        const double m2 = -(x3 - x2) / (y3 - y2);
        xc = (x1 + x2) / 2;
        yc = m2 * (xc - (x2 + x3) / 2) + (y2 + y3) / 2;
    } else if (y2 == y3) {
        const double m1 = -(x2 - x1) / (y2 - y1);
        xc = (x2 + x3) / 2;
        yc = m1 * (xc - (x1 + x2) / 2) + (y1 + y2) / 2;
    } else {
        const double m1 = -(x2 - x1) / (y2 - y1);
        const double m2 = -(x3 - x2) / (y3 - y2);
        xc = (m1 * (x1 + x2) / 2 - m2 * (x2 + x3) / 2 + (y2 + y3) / 2 - (y1 + y2) / 2) / (m1 - m2);
        yc = m1 * (xc - (x1 + x2) / 2) + (y1 + y2) / 2;
    }
    double r = std::sqrt((y2 - yc) * (y2 - yc) + (x2 - xc) * (x2 - xc));
    if (!(std::isfinite(xc) && std::isfinite(yc) && std::isfinite(r))) {
        // Guard: the determinant form in extended precision, else the centroid
        // with a radius that holds the whole plane.
        const long double bx = static_cast<long double>(x2) - x1, by = static_cast<long double>(y2) - y1;
        const long double cx = static_cast<long double>(x3) - x1, cy = static_cast<long double>(y3) - y1;
        const long double d = 2 * (bx * cy - by * cx);
        bool done = false;
        if (d != 0) {
            const long double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
            xc = static_cast<double>(x1 + (cy * b2 - by * c2) / d);
            yc = static_cast<double>(y1 + (bx * c2 - cx * b2) / d);
            r = std::sqrt((y2 - yc) * (y2 - yc) + (x2 - xc) * (x2 - xc));
            done = std::isfinite(xc) && std::isfinite(yc) && std::isfinite(r);
        }
        if (!done) {
            xc = (x1 + x2 + x3) / 3;
            yc = (y1 + y2 + y3) / 3;
            r = 1.0e300;
        }
    }
    t.xc = xc;
    t.yc = yc;
    t.zero = 0;
    t.r = r;
}

void toggleEdge(const Point3& a, const Point3& b, std::vector<Edge>& edges) {
    for (size_t i = 0; i < edges.size(); ++i) {
        const Edge& e = edges[i];
        if ((samePoint(e.a, a) && samePoint(e.b, b)) || (samePoint(e.a, b) && samePoint(e.b, a))) {
            edges.erase(edges.begin() + static_cast<long>(i));
            return;
        }
    }
    edges.push_back({a, b});
}

LiteralTriangulation::LiteralTriangulation(bool sweep, const Point3 enclosing[3]) : sweep_(sweep) {
    for (int i = 0; i < 3; ++i) enclosing_[i] = enclosing[i];
    appendTriangle(enclosing[0], enclosing[1], enclosing[2]);
}

void LiteralTriangulation::appendTriangle(const Point3& a, const Point3& b, const Point3& p) {
    Record t{a.x, a.y, a.z, b.x, b.y, b.z, p.x, p.y, p.z, 0, 0, 0, 0, created_++};
    literalCircumcircle(t);
    active_.push_back(t);
}

bool LiteralTriangulation::acceptable(const std::vector<Edge>& edges, const std::vector<Record>& removed,
                                      const Point3& p) const {
    if (removed.empty() || edges.empty()) return false;
    std::set<Key> corners;
    for (const Record& t : removed) {
        for (int i = 0; i < 3; ++i) corners.insert(key(vertex(t, i)));
    }
    if (corners.size() != edges.size()) return false;
    std::map<Key, int> starts, ends;
    for (const Edge& e : edges) {
        if (++starts[key(e.a)] > 1 || ++ends[key(e.b)] > 1) return false;
    }
    for (const Edge& e : edges) {
        if (!starts.count(key(e.b)) || !ends.count(key(e.a))) return false;
        if (!clockwise(e.a, e.b, p)) return false;
    }
    return true;
}

void LiteralTriangulation::insertPoint(const Point3& p) {
    std::vector<Edge> edges;
    std::vector<Record> removed;
    std::vector<size_t> removedAt;
    size_t i = 0;
    while (i < active_.size()) {
        if (sweep_) {
            while (i < active_.size() && p.x > active_[i].xc + active_[i].r) {
                completed_.push_back(active_[i]);
                active_.erase(active_.begin() + static_cast<long>(i));
            }
            if (i == active_.size()) break;
        }
        const Record& t = active_[i];
        const double distance = std::sqrt((p.y - t.yc) * (p.y - t.yc) + (p.x - t.xc) * (p.x - t.xc));
        if (sweep_ ? distance < t.r : distance <= t.r) {
            toggleEdge(vertex(t, 0), vertex(t, 1), edges);
            toggleEdge(vertex(t, 1), vertex(t, 2), edges);
            toggleEdge(vertex(t, 2), vertex(t, 0), edges);
            removed.push_back(t);
            removedAt.push_back(i);  // removal is deferred until the insertion is known to stand
        }
        ++i;
    }
    if (acceptable(edges, removed, p)) {
        for (size_t k = removedAt.size(); k-- > 0;) active_.erase(active_.begin() + static_cast<long>(removedAt[k]));
        for (const Edge& e : edges) appendTriangle(e.a, e.b, p);
        return;
    }
    ++exactInsertions;
    insertExactly(p);
}

bool LiteralTriangulation::insertExactly(const Point3& p) {
    // Every triangle of both lists, with where it lives.
    struct Ref {
        bool inActive;
        size_t index;
    };
    std::vector<Ref> all;
    for (size_t k = 0; k < active_.size(); ++k) all.push_back({true, k});
    for (size_t k = 0; k < completed_.size(); ++k) all.push_back({false, k});
    auto record = [&](const Ref& ref) -> const Record& {
        return ref.inActive ? active_[ref.index] : completed_[ref.index];
    };
    // The triangle holding the point (border included).
    long start = -1;
    for (size_t k = 0; k < all.size() && start < 0; ++k) {
        const Record& t = record(all[k]);
        bool inside = true;
        for (int e = 0; e < 3 && inside; ++e) {
            inside = CGAL::orientation(cgal(vertex(t, e)), cgal(vertex(t, (e + 1) % 3)), cgal(p)) != CGAL::LEFT_TURN;
        }
        if (inside) start = static_cast<long>(k);
    }
    if (start < 0) return false;
    for (int e = 0; e < 3; ++e) {
        const Point3 v = vertex(record(all[start]), e);
        if (v.x == p.x && v.y == p.y) return false;
    }
    // Grow across edges into every neighbour whose circle strictly holds p.
    std::vector<size_t> cavity{static_cast<size_t>(start)};
    std::vector<bool> inCavity(all.size(), false);
    inCavity[start] = true;
    for (size_t q = 0; q < cavity.size(); ++q) {
        const Record& t = record(all[cavity[q]]);
        for (int e = 0; e < 3; ++e) {
            const Point3 a = vertex(t, e), b = vertex(t, (e + 1) % 3);
            for (size_t k = 0; k < all.size(); ++k) {
                if (inCavity[k]) continue;
                const Record& n = record(all[k]);
                bool shares = false;
                for (int f = 0; f < 3 && !shares; ++f) {
                    shares = samePoint(vertex(n, f), b) && samePoint(vertex(n, (f + 1) % 3), a);
                }
                if (!shares) continue;
                if (CGAL::side_of_oriented_circle(cgal(vertex(n, 0)), cgal(vertex(n, 1)), cgal(vertex(n, 2)), cgal(p)) ==
                    CGAL::ON_NEGATIVE_SIDE) {
                    inCavity[k] = true;
                    cavity.push_back(k);
                }
            }
        }
    }
    std::sort(cavity.begin(), cavity.end(),
              [&](size_t a, size_t b) { return record(all[a]).created < record(all[b]).created; });
    std::vector<Edge> edges;
    std::vector<Record> removed;
    for (size_t k : cavity) {
        const Record& t = record(all[k]);
        toggleEdge(vertex(t, 0), vertex(t, 1), edges);
        toggleEdge(vertex(t, 1), vertex(t, 2), edges);
        toggleEdge(vertex(t, 2), vertex(t, 0), edges);
        removed.push_back(t);
    }
    if (!acceptable(edges, removed, p)) return false;
    std::vector<bool> dropActive(active_.size(), false), dropCompleted(completed_.size(), false);
    for (size_t k : cavity) (all[k].inActive ? dropActive : dropCompleted)[all[k].index] = true;
    std::vector<Record> keptActive, keptCompleted;
    for (size_t k = 0; k < active_.size(); ++k)
        if (!dropActive[k]) keptActive.push_back(active_[k]);
    for (size_t k = 0; k < completed_.size(); ++k)
        if (!dropCompleted[k]) keptCompleted.push_back(completed_[k]);
    active_ = std::move(keptActive);
    completed_ = std::move(keptCompleted);
    for (const Edge& e : edges) appendTriangle(e.a, e.b, p);
    return true;
}

std::vector<Triangle> LiteralTriangulation::finish() const {
    std::vector<Record> all = completed_;
    all.insert(all.end(), active_.begin(), active_.end());
    std::vector<Triangle> out;
    for (const Record& t : all) {
        bool touches = false;
        for (int i = 0; i < 3; ++i) {
            for (int s = 0; s < 3; ++s) touches = touches || samePoint(vertex(t, i), enclosing_[s]);
        }
        if (!touches) out.push_back(Triangle{vertex(t, 0), vertex(t, 1), vertex(t, 2)});
    }
    return out;
}

std::vector<Triangle> triangulateLiterally(const double header[6], const std::vector<Point3>& points) {
    const double d = std::max(header[3] - header[0], header[4] - header[1]);
    const double xm = (header[0] + header[3]) * 0.5, ym = (header[1] + header[4]) * 0.5;
    const Point3 enclosing[3] = {{xm - 16000 * d, ym - 8000 * d, 0}, {xm, ym + 8000 * d, 0}, {xm + 16000 * d, ym - 8000 * d, 0}};
    if (!(d > 0)) return {};
    LiteralTriangulation engine(true, enclosing);
    for (const Point3& p : points) engine.insertPoint(p);
    return engine.finish();
}

std::vector<Triangle> localTriangulationLiterally(const std::vector<Point3>& points) {
    if (points.empty()) return {};
    double xmin = points[0].x, xmax = xmin, ymin = points[0].y, ymax = ymin;
    for (const Point3& p : points) {
        xmin = std::min(xmin, p.x), xmax = std::max(xmax, p.x);
        ymin = std::min(ymin, p.y), ymax = std::max(ymax, p.y);
    }
    const double d = std::max(xmax - xmin, ymax - ymin);
    const double xm = (xmin + xmax) / 2, ym = (ymin + ymax) / 2;
    const Point3 start[3] = {{xm - 1600 * d, ym - 800 * d, 0}, {xm, ym + 800 * d, 0}, {xm + 1600 * d, ym - 800 * d, 0}};
    if (!(d > 0)) return {};
    LiteralTriangulation engine(false, start);
    for (const Point3& p : points) engine.insertPoint(p);
    return engine.finish();
}

std::string formatTin(const std::vector<Triangle>& triangles) {
    std::string out;
    char line[1024];
    for (const Triangle& t : triangles) {
        std::snprintf(line, sizeof line, "%lf %lf %lf %lf %lf %lf %lf %lf %lf\n", t.p1.x, t.p1.y, t.p1.z, t.p2.x,
                      t.p2.y, t.p2.z, t.p3.x, t.p3.y, t.p3.z);
        out += line;
    }
    return out;
}

}  // namespace tz::terrain::literal
