#include "TestSurfaces.h"

#include <cstdio>

namespace tz::terrain::volume::testing {
namespace {

PreparedTriangle triangle(const Point3& p1, const Point3& p2, const Point3& p3) {
    return prepareTriangle(Triangle{p1, p2, p3});
}

std::vector<PreparedTriangle> fromVertices(int nx, int ny, const std::vector<Point3>& v) {
    auto at = [&](int i, int j) { return v[static_cast<size_t>(j * (nx + 1) + i)]; };
    std::vector<PreparedTriangle> out;
    for (int i = 0; i < nx; ++i) {
        for (int j = 0; j < ny; ++j) {
            const Point3 a = at(i, j), b = at(i + 1, j), c = at(i + 1, j + 1), d = at(i, j + 1);
            // Clockwise (x east, y north): a, d, c then a, c, b; or along the other diagonal.
            if ((i + j) % 2 == 0) {
                out.push_back(triangle(a, d, c));
                out.push_back(triangle(a, c, b));
            } else {
                out.push_back(triangle(a, d, b));
                out.push_back(triangle(b, d, c));
            }
        }
    }
    return out;
}

}  // namespace

std::vector<PreparedTriangle> gridSurface(int nx, int ny, double spacing, double x0, double y0, const Elevation& z) {
    std::vector<Point3> v;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) {
            const double x = x0 + i * spacing, y = y0 + j * spacing;
            v.push_back({x, y, z(x, y)});
        }
    return fromVertices(nx, ny, v);
}

std::vector<PreparedTriangle> jitteredSurface(int nx, int ny, double spacing, double x0, double y0,
                                              const Elevation& z, double jitter, std::mt19937& random) {
    std::uniform_real_distribution<double> shift(-jitter * spacing, jitter * spacing);
    std::vector<Point3> v;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) {
            double x = x0 + i * spacing, y = y0 + j * spacing;
            if (i > 0 && i < nx && j > 0 && j < ny) {
                x += shift(random);
                y += shift(random);
            }
            v.push_back({x, y, z(x, y)});
        }
    return fromVertices(nx, ny, v);
}

std::vector<PreparedTriangle> randomTriangles(int count, double x0, double y0, double size, double step,
                                              std::mt19937& random) {
    const int cells = static_cast<int>(size / step);
    std::uniform_int_distribution<int> cell(0, cells);
    std::uniform_int_distribution<int> small(-3, 3);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_real_distribution<double> height(-5, 5);
    auto corner = [&](int i, int j, double z) { return Point3{x0 + i * step, y0 + j * step, z}; };
    std::vector<PreparedTriangle> out;
    for (int n = 0; n < count; ++n) {
        const int i = cell(random), j = cell(random);
        int i2 = i + small(random), j2 = j + small(random), i3 = i + small(random), j3 = j + small(random);
        switch (kind(random)) {
            case 0: i2 = i; break;             // vertical edge 1-2
            case 1: j3 = j2; break;            // level edge 2-3
            case 2: i3 = i2; j2 = j; break;    // vertical 2-3 and level 1-2
            case 3: i3 = 2 * i2 - i; j3 = 2 * j2 - j; break;  // collinear corners
            default: break;
        }
        const bool level = kind(random) == 0;
        const double z1 = height(random);
        out.push_back(triangle(corner(i, j, z1), corner(i2, j2, level ? z1 : height(random)),
                               corner(i3, j3, level ? z1 : height(random))));
    }
    return out;
}

std::vector<PreparedTriangle> raised(const std::vector<PreparedTriangle>& surface, double h) {
    std::vector<PreparedTriangle> out;
    for (const PreparedTriangle& t : surface) {
        Triangle v = vertices(t);
        v.p1.z += h;
        v.p2.z += h;
        v.p3.z += h;
        out.push_back(prepareTriangle(v));
    }
    return out;
}

std::string tinText(const std::vector<PreparedTriangle>& surface) {
    std::string text;
    char line[512];
    for (const PreparedTriangle& t : surface) {
        std::snprintf(line, sizeof line, "%lf %lf %lf %lf %lf %lf %lf %lf %lf\n", t.x1, t.y1, t.z1, t.x2, t.y2, t.z2,
                      t.x3, t.y3, t.z3);
        text += line;
    }
    return text;
}

}  // namespace tz::terrain::volume::testing
