#include "LiteralProfileCutter.h"

#include <cmath>
#include <cstdio>

#include "PlaneGeometry.h"

namespace tz::test {

namespace {

using tz::geom::Point3;

bool same(const Point3& p, const Point3& q) { return p.x == q.x && p.y == q.y && p.z == q.z; }

bool storedAlready(const std::vector<Edge>& edges, std::size_t upTo, const Edge& e) {
    for (std::size_t i = 0; i < upTo; ++i) {
        if (same(edges[i].a, e.a) && same(edges[i].b, e.b)) return true;
        if (same(edges[i].a, e.b) && same(edges[i].b, e.a)) return true;
    }
    return false;
}

struct Sample {
    double station, elevation;
};

void cutChord(const std::vector<Edge>& edges, const Point3& p, const Point3& q, std::vector<Point3>& crossings,
              std::vector<double>& elevations) {
    for (const Edge& e : edges) {
        const Point3 a{e.a.x, e.a.y, 0}, b{e.b.x, e.b.y, 0};
        const auto x = tz::geom::intersect(p, q, a, b, true);
        if (!x) continue;
        const auto z = tz::geom::intersect(e.a, e.b, Point3{x->x, x->y, 0}, Point3{x->x, x->y, 1}, false);
        if (!z) continue;
        crossings.push_back(*x);
        elevations.push_back(z->z);
    }
}

}  // namespace

std::vector<Edge> literalEdgesFromEdgeFile(const std::string& text) {
    std::vector<Edge> edges;
    std::FILE* f = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (text.empty() || f == nullptr) return edges;
    double v[6];
    while (!std::feof(f)) {
        if (std::fscanf(f, "%lf%lf%lf%lf%lf%lf", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) != 6) break;
        const Edge e{{v[0], v[1], v[2]}, {v[3], v[4], v[5]}};
        if (!storedAlready(edges, edges.size(), e)) edges.push_back(e);
    }
    std::fclose(f);
    return edges;
}

std::vector<Edge> literalEdgesFromTin(const std::string& text) {
    std::vector<Edge> edges;
    std::FILE* f = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (text.empty() || f == nullptr) return edges;
    double v[9];
    while (!std::feof(f)) {
        if (std::fscanf(f, "%lf%lf%lf%lf%lf%lf%lf%lf%lf", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7],
                        &v[8]) != 9)
            break;
        const Point3 p1{v[0], v[1], v[2]}, p2{v[3], v[4], v[5]}, p3{v[6], v[7], v[8]};
        const Edge three[3] = {{p1, p2}, {p2, p3}, {p3, p1}};
        const std::size_t before = edges.size();
        for (const Edge& e : three)
            if (!storedAlready(edges, before, e)) edges.push_back(e);
    }
    std::fclose(f);
    return edges;
}

std::string literalProfile(const std::vector<Edge>& edges, const Alignment& alignment, double startStation) {
    const double pi = 3.141592654;
    std::vector<Sample> samples;
    double station = startStation;
    const auto& v = alignment.vertices;
    for (std::size_t i = 1; i < v.size(); ++i) {
        const Point3 p{v[i - 1].x, v[i - 1].y, 0}, q{v[i].x, v[i].y, 0};
        const double b = v[i - 1].bulge;
        if (b == 0) {
            std::vector<Point3> xs;
            std::vector<double> zs;
            cutChord(edges, p, q, xs, zs);
            for (std::size_t k = 0; k < xs.size(); ++k)
                samples.push_back({station + tz::geom::distance(p, xs[k]), zs[k]});
            station += tz::geom::distance(p, q);
            continue;
        }
        const double theta = 4 * std::atan(std::fabs(b));
        const double h = tz::geom::distance(p, q) / 2;
        const double r = h / std::sin(theta / 2);
        const double length = r * theta;
        const double alpha = tz::geom::angle(p, q);
        const Point3 m = tz::geom::polar(p, alpha, h);
        Point3 o = m;
        if (std::fabs(b) < 1) {
            const double d = std::sqrt(std::fmax(0.0, r * r - h * h));
            o = tz::geom::polar(m, b > 0 ? alpha + 1.570796327 : alpha - 1.570796327, d);
        } else if (std::fabs(b) > 1) {
            const double d = std::sqrt(std::fmax(0.0, r * r - h * h));
            o = tz::geom::polar(m, b > 0 ? alpha - 1.570796327 : alpha + 1.570796327, d);
        }
        const double u = r * 6.283185308;
        const double delta = (1 / u) * 360 / 180 * pi;
        const double beta0 = tz::geom::angle(o, p);
        std::vector<Point3> chordEnds;
        for (long k = 1; k < length; ++k)
            chordEnds.push_back(tz::geom::polar(o, b > 0 ? beta0 + k * delta : beta0 - k * delta, r));
        chordEnds.push_back(q);
        Point3 from = p;
        const double sweep = theta * 180 / pi;
        for (const Point3& to : chordEnds) {
            std::vector<Point3> xs;
            std::vector<double> zs;
            cutChord(edges, from, to, xs, zs);
            for (std::size_t k = 0; k < xs.size(); ++k) {
                const double gamma = tz::geom::angle(o, xs[k]);
                double phi;
                if (b > 0)
                    phi = gamma >= beta0 ? (gamma - beta0) * 180 / pi : 360 - (beta0 - gamma) * 180 / pi;
                else
                    phi = gamma <= beta0 ? (beta0 - gamma) * 180 / pi : 360 - (gamma - beta0) * 180 / pi;
                // A crossing at the arc's start seen a hair behind it is at the start.
                if (phi > sweep + (360 - sweep) / 2) phi = 0;
                samples.push_back({station + phi * u / 360, zs[k]});
            }
            from = to;
        }
        station += length;
    }
    // Exchange neighbours until ordered: equal stations never pass each other.
    for (std::size_t pass = 0; pass + 1 < samples.size(); ++pass)
        for (std::size_t k = 0; k + 1 < samples.size() - pass; ++k)
            if (samples[k].station > samples[k + 1].station) std::swap(samples[k], samples[k + 1]);
    std::string text;
    char line[1024];
    for (const Sample& s : samples) {
        std::snprintf(line, sizeof line, "%lf %lf\n", s.station, s.elevation);
        text += line;
    }
    return text;
}

}  // namespace tz::test
