#include "LiteralSurface.h"

#include <algorithm>

namespace tz::terrain::volume::literal {
namespace {

bool crosses(double xi, double yi, double xj, double yj, double x, double y) {
    return y > std::min(yi, yj) && y <= std::max(yi, yj) && x <= std::max(xi, xj) && yi != yj &&
           (xi == xj || x <= (y - yi) * (xj - xi) / (yj - yi) + xi);
}

bool on(double xi, double yi, double xj, double yj, double m, double k, double x, double y) {
    if (xi == xj) return x == xi && std::min(yi, yj) <= y && y <= std::max(yi, yj);
    if (yi == yj) return y == yi && std::min(xi, xj) <= x && x <= std::max(xi, xj);
    return y == m * x + k;
}

}  // namespace

bool contains(const PreparedTriangle& t, double x, double y) {
    if (!(t.xmin() <= x && x <= t.xmax() && t.ymin() <= y && y <= t.ymax())) return false;
    int count = 0;
    if (crosses(t.x1, t.y1, t.x2, t.y2, x, y)) count++;
    if (crosses(t.x2, t.y2, t.x3, t.y3, x, y)) count++;
    if (crosses(t.x3, t.y3, t.x1, t.y1, x, y)) count++;
    if (count % 2 == 1) return true;
    const EdgeLine l12 = edgeLineOf(t, 0), l23 = edgeLineOf(t, 1), l31 = edgeLineOf(t, 2);
    return on(t.x1, t.y1, t.x2, t.y2, l12.slope, l12.intercept, x, y) ||
           on(t.x2, t.y2, t.x3, t.y3, l23.slope, l23.intercept, x, y) ||
           on(t.x3, t.y3, t.x1, t.y1, l31.slope, l31.intercept, x, y);
}

double elevation(const PreparedTriangle& t, double x, double y) {
    const TrianglePlane p = planeOf(t);
    const double zmin = std::min({t.z1, t.z2, t.z3}), zmax = std::max({t.z1, t.z2, t.z3});
    if ((zmin - zmax) * p.c == 0) return zmin;
    return t.z1 - (p.a * (x - t.x1) + p.b * (y - t.y1)) / p.c;
}

std::optional<double> lastElevation(const std::vector<PreparedTriangle>& triangles, double x, double y) {
    std::optional<double> z;
    for (const PreparedTriangle& t : triangles)
        if (contains(t, x, y)) z = elevation(t, x, y);
    return z;
}

std::optional<double> firstElevation(const std::vector<PreparedTriangle>& triangles, double x, double y) {
    for (const PreparedTriangle& t : triangles)
        if (contains(t, x, y)) return elevation(t, x, y);
    return std::nullopt;
}

VolumeTotals volumes(const std::vector<PreparedTriangle>& existing, const std::vector<PreparedTriangle>& proposed,
                     double u, double compaction) {
    VolumeTotals totals;
    const std::vector<PreparedTriangle>& first = existing.empty() ? proposed : existing;
    if (first.empty()) return totals;
    double xmin = first[0].x1, xmax = first[0].x1, ymin = first[0].y1, ymax = first[0].y1;
    for (const auto* surface : {&existing, &proposed}) {
        for (const PreparedTriangle& t : *surface) {
            for (auto [x, y] : {std::pair{t.x1, t.y1}, std::pair{t.x2, t.y2}, std::pair{t.x3, t.y3}}) {
                if (x < xmin) xmin = x;
                if (x > xmax) xmax = x;
                if (y < ymin) ymin = y;
                if (y > ymax) ymax = y;
            }
        }
    }
    for (double X = xmin; X < xmax; X += u) {
        for (double Y = ymin; Y < ymax; Y += u) {
            const double cx[4] = {X, X, X + u, X + u};
            const double cy[4] = {Y, Y + u, Y, Y + u};
            double e[4], p[4];
            bool found = true;
            for (int i = 0; i < 4; ++i) {
                const auto ez = lastElevation(existing, cx[i], cy[i]);
                found = found && ez.has_value();
                e[i] = ez.value_or(0);
            }
            for (int i = 0; i < 4; ++i) {
                const auto pz = lastElevation(proposed, cx[i], cy[i]);
                found = found && pz.has_value();
                p[i] = pz.value_or(0);
            }
            if (!found) continue;
            const double E = (e[0] + e[1] + e[2] + e[3]) * 0.25;
            const double P = (p[0] + p[1] + p[2] + p[3]) * 0.25;
            double V = u * u * (P - E);
            if (P > E) {
                V = V * compaction;
                totals.fill = totals.fill + V;
            } else {
                totals.cut = totals.cut + V;
            }
            totals.net = totals.net + V;
        }
    }
    return totals;
}

}  // namespace tz::terrain::volume::literal
