#include "TestTerrain.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>

namespace tz::test {

using tz::geom::Point3;

std::vector<Triangle> gridTin(int columns, int rows, double step, double jitter, std::mt19937& random,
                              double originX, double originY) {
    std::uniform_real_distribution<double> shake(-jitter * step, jitter * step);
    std::uniform_real_distribution<double> height(90.0, 140.0);
    std::vector<Point3> points;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            char text[64];
            // Round through the TIN file's six decimals so values survive a file.
            std::snprintf(text, sizeof text, "%lf", originX + c * step + (jitter > 0 ? shake(random) : 0.0));
            const double x = std::stod(text);
            std::snprintf(text, sizeof text, "%lf", originY + r * step + (jitter > 0 ? shake(random) : 0.0));
            const double y = std::stod(text);
            std::snprintf(text, sizeof text, "%lf", height(random));
            points.push_back({x, y, std::stod(text)});
        }
    std::vector<Triangle> triangles;
    auto at = [&](int c, int r) { return points[static_cast<std::size_t>(r) * columns + c]; };
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < columns; ++c) {
            const Point3 a = at(c, r), b = at(c + 1, r), d = at(c, r + 1), e = at(c + 1, r + 1);
            if ((r + c) % 2 == 0) {
                triangles.push_back({a, d, e});
                triangles.push_back({a, e, b});
            } else {
                triangles.push_back({a, d, b});
                triangles.push_back({b, d, e});
            }
        }
    return triangles;
}

std::vector<Triangle> jacksboroTin() {
    std::ifstream in(std::string(TZ_PROFILE_TEST_DATA) + "/jacksboro_window.xyz");
    if (!in) throw std::runtime_error("test data jacksboro_window.xyz missing");
    // Rows run north to south with one y per row; columns share their x.
    std::map<double, std::map<double, Point3>> rows;
    double x, y, z;
    while (in >> x >> y >> z) rows[y][x] = {x, y, z};
    std::vector<std::vector<Point3>> grid;
    for (auto& [rowY, row] : rows) {
        grid.emplace_back();
        for (auto& [colX, p] : row) grid.back().push_back(p);
    }
    std::vector<Triangle> triangles;
    for (std::size_t r = 0; r + 1 < grid.size(); ++r)
        for (std::size_t c = 0; c + 1 < grid[r].size() && c + 1 < grid[r + 1].size(); ++c) {
            const Point3 a = grid[r][c], b = grid[r][c + 1], d = grid[r + 1][c], e = grid[r + 1][c + 1];
            triangles.push_back({a, e, d});
            triangles.push_back({a, b, e});
        }
    return triangles;
}

std::string tinText(const std::vector<Triangle>& triangles) {
    std::string text;
    char line[512];
    for (const Triangle& t : triangles) {
        std::snprintf(line, sizeof line, "%lf %lf %lf %lf %lf %lf %lf %lf %lf\n", t.p1.x, t.p1.y, t.p1.z, t.p2.x,
                      t.p2.y, t.p2.z, t.p3.x, t.p3.y, t.p3.z);
        text += line;
    }
    return text;
}

std::string edgeFileText(const std::vector<Triangle>& triangles) {
    std::string text;
    char line[512];
    for (const Triangle& t : triangles) {
        const Point3 corners[3] = {t.p1, t.p2, t.p3};
        for (int k = 0; k < 3; ++k) {
            const Point3& a = corners[k];
            const Point3& b = corners[(k + 1) % 3];
            std::snprintf(line, sizeof line, "%lf %lf %lf %lf %lf %lf\n", a.x, a.y, a.z, b.x, b.y, b.z);
            text += line;
        }
    }
    return text;
}

Alignment randomAlignment(std::mt19937& random, double minX, double minY, double maxX, double maxY,
                          int maxVertices, bool snap, double step) {
    std::uniform_int_distribution<int> count(2, maxVertices);
    std::uniform_real_distribution<double> ux(minX, maxX), uy(minY, maxY), bulge(-3.0, 3.0), coin(0.0, 1.0);
    Alignment alignment;
    const int n = count(random);
    for (int i = 0; i < n; ++i) {
        double x = ux(random), y = uy(random);
        if (snap && coin(random) < 0.4) {
            x = minX + std::round((x - minX) / step) * step;
            y = minY + std::round((y - minY) / step) * step;
            if (coin(random) < 0.5) y = minY + (std::round((y - minY) / step) + 0.5) * step;  // mid-edge
        }
        double b = coin(random) < 0.5 ? 0.0 : bulge(random);
        if (coin(random) < 0.1) b = coin(random) < 0.5 ? 1.0 : -1.0;
        alignment.vertices.push_back({x, y, b});
    }
    alignment.closed = coin(random) < 0.2;
    return alignment;
}

}  // namespace tz::test
