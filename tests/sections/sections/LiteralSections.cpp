#include "LiteralSections.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "PlaneGeometry.h"

namespace tz::test {

namespace {

using tz::geom::Point3;

struct Tri {
    double v[9];
};

bool contains(const Tri& t, double x, double y, double rayEndX) {
    const double c = (t.v[3] - t.v[0]) * (t.v[7] - t.v[1]) - (t.v[6] - t.v[0]) * (t.v[4] - t.v[1]);
    if (c == 0) return false;  // a line in plan holds no point
    // The ray ends one unit beyond the triangle, so that the intersection's
    // end tolerance, a fraction of the ray's length, stays that small.
    const double beyond = std::max({x, t.v[0], t.v[3], t.v[6]}) + 1;
    const Point3 r0{x, y, 0}, r1{rayEndX > x ? std::min(rayEndX, beyond) : rayEndX, y, 0};
    const Point3 p1{t.v[0], t.v[1], 0}, p2{t.v[3], t.v[4], 0}, p3{t.v[6], t.v[7], 0};
    int n = 0;
    if (tz::geom::intersect(r0, r1, p1, p2, true)) ++n;
    if (tz::geom::intersect(r0, r1, p1, p3, true)) ++n;
    if (tz::geom::intersect(r0, r1, p2, p3, true)) ++n;
    return n == 1;
}

double elevation(const Tri& t, double x, double y) {
    // The plane's equation with the coordinates taken from the first vertex.
    const double x1 = t.v[0], y1 = t.v[1], z1 = t.v[2];
    const double dx2 = t.v[3] - x1, dy2 = t.v[4] - y1, dz2 = t.v[5] - z1;
    const double dx3 = t.v[6] - x1, dy3 = t.v[7] - y1, dz3 = t.v[8] - z1;
    const double a = dy2 * dz3 - dy3 * dz2;
    const double b = dz2 * dx3 - dz3 * dx2;
    const double c = dx2 * dy3 - dx3 * dy2;
    return z1 - (a * (x - x1) + b * (y - y1)) / c;
}

struct Edge6 {
    double v[6];
};

bool sameEdge(const Edge6& a, const Edge6& b) {
    bool forward = true, backward = true;
    for (int i = 0; i < 6; ++i) {
        forward = forward && a.v[i] == b.v[i];
        backward = backward && a.v[i] == b.v[(i + 3) % 6];
    }
    return forward || backward;
}

void print(std::string& text, const char* format, double a, double b = 0) {
    char line[1024];
    std::snprintf(line, sizeof line, format, a, b);
    text += line;
}

}  // namespace

LiteralSectionsResult literalSections(const std::string& tinText, const std::string& exdText) {
    LiteralSectionsResult result;
    std::vector<Tri> triangles;
    double largestX = 0;
    if (!tinText.empty()) {
        std::FILE* f = fmemopen(const_cast<char*>(tinText.data()), tinText.size(), "r");
        Tri t;
        while (!std::feof(f)) {
            if (std::fscanf(f, "%lf%lf%lf%lf%lf%lf%lf%lf%lf", &t.v[0], &t.v[1], &t.v[2], &t.v[3], &t.v[4], &t.v[5],
                            &t.v[6], &t.v[7], &t.v[8]) != 9)
                break;
            triangles.push_back(t);
            for (int k : {0, 3, 6})
                if (t.v[k] > largestX) largestX = t.v[k];
        }
        std::fclose(f);
    }
    const double rayEndX = 2 * largestX;

    std::vector<Edge6> edges;
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        const double* v = triangles[i].v;
        const Edge6 three[3] = {{{v[0], v[1], v[2], v[3], v[4], v[5]}},
                                {{v[3], v[4], v[5], v[6], v[7], v[8]}},
                                {{v[6], v[7], v[8], v[0], v[1], v[2]}}};
        for (const Edge6& e : three) {
            bool found = false;
            if (i > 0)
                for (const Edge6& f : edges) found = found || sameEdge(e, f);
            if (!found) edges.push_back(e);
        }
    }

    if (exdText.empty()) {
        result.unableToExtract = true;
        return result;
    }
    std::FILE* exd = fmemopen(const_cast<char*>(exdText.data()), exdText.size(), "r");
    double r[6];
    std::fscanf(exd, "%lf,%lf,%lf,%lf,%lf,%lf", &r[0], &r[1], &r[2], &r[3], &r[4], &r[5]);
    if (std::feof(exd)) {
        std::fclose(exd);
        result.unableToExtract = true;
        return result;
    }
    bool lastCrossed = false;
    while (!std::feof(exd)) {
        const Point3 p1{r[2], r[3], 0}, p2{r[4], r[5], 0};
        const double startOffset = -r[0];
        const double endOffset = tz::geom::distance(p1, p2) - r[0];
        bool startFound = false, endFound = false;
        double startZ = 0, endZ = 0;
        for (const Tri& t : triangles) {
            if (contains(t, p1.x, p1.y, rayEndX)) startFound = true, startZ = elevation(t, p1.x, p1.y);
            if (contains(t, p2.x, p2.y, rayEndX)) endFound = true, endZ = elevation(t, p2.x, p2.y);
        }
        std::vector<double> offsets, heights;
        for (const Edge6& e : edges) {
            const Point3 a{e.v[0], e.v[1], 0}, b{e.v[3], e.v[4], 0};
            const auto q = tz::geom::intersect(p1, p2, a, b, true);
            if (!q) continue;
            const auto z = tz::geom::intersect(Point3{e.v[0], e.v[1], e.v[2]}, Point3{e.v[3], e.v[4], e.v[5]},
                                               Point3{q->x, q->y, 0}, Point3{q->x, q->y, 1.0}, false);
            if (!z) continue;
            offsets.push_back(tz::geom::distance(*q, p1) - r[0]);
            heights.push_back(z->z);
        }
        const std::size_t i = offsets.size();
        if (i >= 1) {
            print(result.text, "%lf\n", r[1]);
            if (startFound && startZ > 0.1) print(result.text, "%lf %lf\n", startOffset, startZ);
            // Smallest remaining offset, the first such in buffer order, each time.
            std::vector<bool> used(i, false);
            auto next = [&]() {
                std::size_t best = i;
                for (std::size_t k = 0; k < i; ++k)
                    if (!used[k] && (best == i || offsets[k] < offsets[best])) best = k;
                used[best] = true;
                return best;
            };
            if (i == 1) {
                print(result.text, "%lf %lf\n", offsets[0], heights[0]);
                print(result.text, "%lf %lf\n", offsets[0], heights[0]);
            } else {
                for (std::size_t k = 0; k < i; ++k) {
                    const std::size_t j = next();
                    print(result.text, "%lf %lf\n", offsets[j], heights[j]);
                }
            }
        }
        if (endFound && endZ > 0.1) print(result.text, "%lf %lf\n", endOffset, endZ);
        result.text += "X\n";
        lastCrossed = i >= 1;
        std::fscanf(exd, "%lf,%lf,%lf,%lf,%lf,%lf", &r[0], &r[1], &r[2], &r[3], &r[4], &r[5]);
    }
    std::fclose(exd);
    result.unableToExtract = !lastCrossed;
    return result;
}

}  // namespace tz::test
