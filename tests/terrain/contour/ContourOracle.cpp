#include "ContourOracle.h"

#include <cmath>

#include "PlaneGeometry.h"

namespace tz::terrain::oracle {

namespace {

bool equal3(const Point3& a, const Point3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

bool plan(const Point3& a, const Point3& b) {
    return std::fabs(a.x - b.x) <= 0.00001 && std::fabs(a.y - b.y) <= 0.00001;
}

// 1 when a comes after b in exact point order, -1 before, 0 equal.
int order(const Point3& a, const Point3& b) {
    if (a.x > b.x) return 1;
    if (a.x < b.x) return -1;
    if (a.y > b.y) return 1;
    if (a.y < b.y) return -1;
    if (a.z > b.z) return 1;
    if (a.z < b.z) return -1;
    return 0;
}

void toggle(std::vector<OutlineEdge>& list, const Point3& a, const Point3& b) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if ((equal3(list[i].start, a) && equal3(list[i].end, b)) ||
            (equal3(list[i].start, b) && equal3(list[i].end, a))) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
    list.push_back({a, b});
}

Point3 cross(const Point3& a, const Point3& b, double e) {
    Point3 p;
    if (a.x == b.x) p.x = a.x;
    else p.x = a.x + (e - a.z) * (b.x - a.x) / (b.z - a.z);
    if (a.y == b.y) p.y = a.y;
    else p.y = a.y + (e - a.z) * (b.y - a.y) / (b.z - a.z);
    p.z = e;
    return p;
}

bool within(double za, double zb, double e) {
    double lo = za < zb ? za : zb;
    double hi = za < zb ? zb : za;
    return lo <= e && e <= hi;
}

struct Seg {
    Point3 a, b;
    int mark = 0;
};

double planLen(const Point3& a, const Point3& b) {
    return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
}

int pieces(double L) {
    double q;
    if (L >= 1000) q = L / 100;
    else if (L >= 500) q = L / 80;
    else if (L >= 50) q = L / 4;
    else if (L >= 25) q = L / 2;
    else q = L;
    int n = static_cast<int>(q);
    if (n == 0 || n == 1) n = 5;
    return n;
}

}  // namespace

std::vector<OutlineEdge> outline(const std::vector<Triangle>& triangles) {
    std::vector<OutlineEdge> list;
    for (const Triangle& t : triangles) {
        toggle(list, t.p1, t.p2);
        toggle(list, t.p2, t.p3);
        toggle(list, t.p3, t.p1);
    }
    return list;
}

bool onOutline(const std::vector<OutlineEdge>& edges, const Point3& p) {
    for (const OutlineEdge& g : edges) {
        if (g.start.x != g.end.x) {
            double s = (g.end.y - g.start.y) / (g.end.x - g.start.x);
            double c = g.start.y - s * g.start.x;
            if (std::fabs(p.y - (s * p.x + c)) < 0.001) return true;
        } else {
            double lo = g.start.y < g.end.y ? g.start.y : g.end.y;
            double hi = g.start.y < g.end.y ? g.end.y : g.start.y;
            if (p.x == g.start.x && lo < p.y && p.y < hi) return true;
        }
    }
    return false;
}

std::vector<ContourSegment> segments(const std::vector<Triangle>& triangles, double e) {
    std::vector<ContourSegment> list;
    for (const Triangle& t : triangles) {
        double zmin = t.p1.z, zmax = t.p1.z;
        if (t.p2.z < zmin) zmin = t.p2.z;
        if (t.p3.z < zmin) zmin = t.p3.z;
        if (t.p2.z > zmax) zmax = t.p2.z;
        if (t.p3.z > zmax) zmax = t.p3.z;
        if (zmin == zmax) continue;
        if (e < zmin || e > zmax) continue;
        Point3 pt[3];
        int n = 0;
        if (within(t.p1.z, t.p2.z, e)) {
            if (t.p1.z == e) pt[n++] = t.p1;
            else if (t.p2.z == e) pt[n++] = t.p2;
            else pt[n++] = cross(t.p1, t.p2, e);
        }
        if (within(t.p2.z, t.p3.z, e)) {
            if (t.p2.z == e) pt[n++] = t.p2;
            else if (t.p3.z == e) pt[n++] = t.p3;
            else pt[n++] = cross(t.p2, t.p3, e);
        }
        if (within(t.p3.z, t.p1.z, e)) {
            if (t.p1.z == e) pt[n++] = t.p1;
            else if (t.p3.z == e) pt[n++] = t.p3;
            else pt[n++] = cross(t.p3, t.p1, e);
        }
        if (n == 3 && equal3(pt[0], pt[1])) pt[1] = pt[2];
        if (!equal3(pt[0], pt[1])) list.push_back({pt[0], pt[1]});
    }
    for (ContourSegment& s : list)
        if (order(s.start, s.end) > 0) std::swap(s.start, s.end);
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (std::size_t i = 0; i + 1 < list.size(); ++i) {
            int o = order(list[i].start, list[i + 1].start);
            if (o > 0 || (o == 0 && order(list[i].end, list[i + 1].end) > 0)) {
                std::swap(list[i], list[i + 1]);
                exchanged = true;
            }
        }
    }
    for (std::size_t i = 1; i < list.size();) {
        if (equal3(list[i].start, list[i - 1].start) && equal3(list[i].end, list[i - 1].end))
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    if (list.size() == 1) {
        int owners = 0;
        for (const Triangle& t : triangles) {
            const Point3* v[3] = {&t.p1, &t.p2, &t.p3};
            bool has = false;
            for (int k = 0; k < 3; ++k) {
                const Point3& a = *v[k];
                const Point3& b = *v[(k + 1) % 3];
                if ((equal3(a, list[0].start) && equal3(b, list[0].end)) ||
                    (equal3(a, list[0].end) && equal3(b, list[0].start)))
                    has = true;
            }
            if (has) ++owners;
        }
        if (owners == 2) list.clear();
    }
    return list;
}

std::vector<Chain> chains(const std::vector<ContourSegment>& input, const std::vector<OutlineEdge>& edges) {
    std::vector<Seg> segs;
    for (const ContourSegment& s : input) segs.push_back({s.start, s.end, 0});
    std::vector<Chain> result;
    while (true) {
        bool any = false;
        for (const Seg& s : segs)
            if (s.mark == 0) any = true;
        if (!any) break;
        for (Seg& s : segs)
            if (s.mark == 1) s.mark = 2;
        std::vector<Seg> chain;  // pairs of points
        for (Seg& s : segs)
            if (s.mark == 0) {
                s.mark = 1;
                chain.push_back({s.a, s.b, 0});
                break;
            }
        auto holds = [&](const Seg& s) {
            for (const Seg& c : chain)
                if ((plan(c.a, s.a) && plan(c.b, s.b)) || (plan(c.a, s.b) && plan(c.b, s.a))) return true;
            return false;
        };
        // forward
        while (true) {
            if (equal3(chain.back().b, chain.front().a)) break;
            Point3 last = chain.back().b;
            int found = -1;
            bool startMatched = false;
            for (std::size_t i = 0; i < segs.size(); ++i) {
                if (segs[i].mark != 0) continue;
                if (plan(segs[i].a, last)) {
                    found = static_cast<int>(i);
                    startMatched = true;
                    break;
                }
                if (plan(segs[i].b, last)) {
                    found = static_cast<int>(i);
                    break;
                }
            }
            if (found < 0) break;
            Seg& s = segs[static_cast<std::size_t>(found)];
            if (!holds(s)) {
                if (startMatched) chain.push_back({s.a, s.b, 0});
                else chain.push_back({s.b, s.a, 0});
            }
            s.mark = 1;
        }
        // backward
        if (!equal3(chain.back().b, chain.front().a)) {
            while (true) {
                if (equal3(chain.back().b, chain.front().a)) break;
                Point3 first = chain.front().a;
                int found = -1;
                bool startMatched = false;
                for (std::size_t i = 0; i < segs.size(); ++i) {
                    if (segs[i].mark != 0) continue;
                    if (plan(segs[i].a, first)) {
                        found = static_cast<int>(i);
                        startMatched = true;
                        break;
                    }
                    if (plan(segs[i].b, first)) {
                        found = static_cast<int>(i);
                        break;
                    }
                }
                if (found < 0) break;
                Seg& s = segs[static_cast<std::size_t>(found)];
                if (!holds(s)) {
                    if (startMatched) chain.insert(chain.begin(), Seg{s.b, s.a, 0});
                    else chain.insert(chain.begin(), Seg{s.a, s.b, 0});
                }
                s.mark = 1;
            }
        }
        // drawing decision, in the stated order
        Point3 first = chain.front().a;
        Point3 last = chain.back().b;
        bool draw = false;
        if (plan(first, last)) draw = true;
        else if (onOutline(edges, first) && onOutline(edges, last)) draw = true;
        else {
            for (const Seg& c : chain) {
                for (const Seg& s : segs) {
                    if (s.mark == 1) continue;
                    if (plan(c.a, s.a) || plan(c.a, s.b) || plan(c.b, s.a) || plan(c.b, s.b)) draw = true;
                }
            }
        }
        Chain out;
        out.vertices.push_back(chain.front().a);
        for (const Seg& c : chain) out.vertices.push_back(c.b);
        out.drawn = draw;
        result.push_back(out);
    }
    return result;
}

std::vector<Point3> smooth(const std::vector<Point3>& v) {
    using tz::geom::angle;
    using tz::geom::polar;
    std::vector<Point3> out;
    int n = static_cast<int>(v.size()) - 1;
    for (int k = 0; k < n; ++k) {
        Point3 p1 = v[k], p2 = v[k + 1], p0, p3;
        double L = planLen(p1, p2);
        if (k == 0) {
            double d = L > 5 ? 1 : (L > 2.5 ? 0.5 : 0.1);
            p0 = polar(v[0], angle(v[1], v[0]), d);
        } else if (n == 2) {
            double d = L > 5 ? 1 : (L > 2.5 ? 0.5 : 0.1);
            p0 = polar(p1, angle(p2, p1), d);
        } else {
            double d = L > 5 ? 0.6 * L : (L > 2.5 ? 0.5 : 0.1);
            p0 = polar(p1, angle(p1, v[k - 1]), d);
        }
        if (k == n - 1) {
            double d = L > 5 ? 1 : (L > 2.5 ? 0.5 : 0.1);
            p3 = polar(p2, angle(p1, p2), d);
        } else {
            double d = L > 5 ? 0.6 * L : (L > 2.5 ? 2.5 : 0.5);
            p3 = polar(p2, angle(p2, v[k + 2]), d);
        }
        double m1x = ((p1.x - p0.x) + (p2.x - p1.x)) / 4, m1y = ((p1.y - p0.y) + (p2.y - p1.y)) / 4;
        double m2x = ((p2.x - p1.x) + (p3.x - p2.x)) / 4, m2y = ((p2.y - p1.y) + (p3.y - p2.y)) / 4;
        out.push_back(p1);
        int N = pieces(L);
        double t = 0;
        for (int i = 1; i <= N; ++i) {
            t = t + 1.0 / N;
            double h00 = 2 * (t * t * t) - 3 * (t * t) + 1;
            double h10 = (t * t * t) - 2 * (t * t) + t;
            double h01 = -2 * (t * t * t) + 3 * (t * t);
            double h11 = (t * t * t) - (t * t);
            out.push_back({h00 * p1.x + h10 * m1x + h11 * m2x + h01 * p2.x,
                           h00 * p1.y + h10 * m1y + h11 * m2y + h01 * p2.y, p1.z});
        }
    }
    return out;
}

bool isIndex(double z, double J) {
    if (J == 0) return false;
    double q = z / J;
    double w = std::trunc(q);
    if (std::fabs(w - q) > 0.9999) w = q < 0 ? w - 1 : w + 1;
    return std::fabs(std::fabs(w) - std::fabs(q)) <= 0.0001;
}

std::vector<ContourChain> traceLevel(const std::vector<Triangle>& triangles, const std::vector<OutlineEdge>& edges,
                                     double e, const ContourOptions& options) {
    std::vector<ContourChain> drawn;
    for (const Chain& c : chains(segments(triangles, e), edges)) {
        if (!c.drawn) continue;
        ContourChain out;
        out.points = options.smooth ? smooth(c.vertices) : c.vertices;
        out.isIndex = isIndex(out.points[0].z, options.indexInterval);
        for (Point3& p : out.points) {  // the drawing shows no -0
            if (p.x == 0) p.x = 0;
            if (p.y == 0) p.y = 0;
            if (p.z == 0) p.z = 0;
        }
        drawn.push_back(out);
    }
    return drawn;
}

}  // namespace tz::terrain::oracle
