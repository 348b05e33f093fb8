#include "TestTins.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace tz::terrain::testing {

std::vector<Triangle> gridTin(const GridOptions& o, std::mt19937_64& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int nx = o.columns + 1, ny = o.rows + 1;
    std::vector<Point3> vertices(static_cast<std::size_t>(nx * ny));
    auto at = [&](int i, int j) -> Point3& { return vertices[static_cast<std::size_t>(j * nx + i)]; };
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            double dx = 0, dy = 0;
            if (i > 0 && j > 0 && i < nx - 1 && j < ny - 1 && o.jitter > 0) {
                dx = (unit(random) * 2 - 1) * o.jitter;
                dy = (unit(random) * 2 - 1) * o.jitter;
            }
            double z = o.zLow + unit(random) * (o.zHigh - o.zLow);
            if (o.zStep > 0) z = o.zLow + std::round((z - o.zLow) / o.zStep) * o.zStep;
            at(i, j) = {o.originX + (i + dx) * o.spacing, o.originY + (j + dy) * o.spacing, z};
        }
    if (o.flatShare > 0)
        for (int j = 0; j < ny; ++j)
            for (int i = 1; i < nx; ++i)
                if (unit(random) < o.flatShare) at(i, j).z = at(i - 1, j).z;

    std::vector<Triangle> triangles;
    for (int j = 0; j < o.rows; ++j)
        for (int i = 0; i < o.columns; ++i) {
            const Point3 a = at(i, j), b = at(i + 1, j), c = at(i + 1, j + 1), d = at(i, j + 1);
            if (unit(random) < 0.5) {
                triangles.push_back({a, d, c});
                triangles.push_back({a, c, b});
            } else {
                triangles.push_back({a, d, b});
                triangles.push_back({b, d, c});
            }
        }
    std::vector<Triangle> kept;
    for (const Triangle& t : triangles) {
        if (unit(random) < o.holeShare) continue;
        Triangle u = t;
        if (o.rotateVertices) {
            const int turn = static_cast<int>(unit(random) * 3);
            for (int k = 0; k < turn; ++k) u = {u.p2, u.p3, u.p1};
            if (unit(random) < 0.5) std::swap(u.p2, u.p3);
        }
        kept.push_back(u);
        if (unit(random) < o.duplicateShare) kept.push_back(u);
    }
    if (o.shuffle) std::shuffle(kept.begin(), kept.end(), random);
    return kept;
}

std::vector<Triangle> coneTin(int sides, double radius, double height) {
    const double pi = 3.14159265358979323846;
    std::vector<Triangle> triangles;
    const Point3 apex{0, 0, height};
    for (int k = 0; k < sides; ++k) {
        const double a0 = 2 * pi * k / sides, a1 = 2 * pi * (k + 1) / sides;
        const Point3 b0{radius * std::cos(a0), radius * std::sin(a0), 0};
        const Point3 b1{radius * std::cos(a1), radius * std::sin(a1), 0};
        triangles.push_back({apex, b1, b0});  // clockwise seen from above
    }
    return triangles;
}

std::string describe(const std::vector<ContourChain>& chains) {
    std::string text;
    char buffer[96];
    for (const ContourChain& c : chains) {
        text += c.isIndex ? "index:" : "regular:";
        for (const Point3& p : c.points) {
            std::snprintf(buffer, sizeof buffer, " (%.17g %.17g %.17g)", p.x, p.y, p.z);
            text += buffer;
        }
        text += '\n';
    }
    return text;
}

bool identicalPoints(const std::vector<Point3>& a, const std::vector<Point3>& b) {
    if (a.size() != b.size()) return false;
    auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (bits(a[i].x) != bits(b[i].x) || bits(a[i].y) != bits(b[i].y) || bits(a[i].z) != bits(b[i].z))
            return false;
    return true;
}

bool identical(const std::vector<ContourChain>& a, const std::vector<ContourChain>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].isIndex != b[i].isIndex || !identicalPoints(a[i].points, b[i].points)) return false;
    return true;
}

}  // namespace tz::terrain::testing
