#include "TinTestSupport.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <map>
#include <set>
#include <tuple>

#include "points/PointCompare.h"
#include "tin/DelaunayEngine.h"
#include "tin/ExactPredicates.h"
#include "tin/NumberText.h"

namespace tz::terrain::testing {
namespace {

double rounded(double v) { return std::stod(formatFixed(v)); }

using Key = std::tuple<double, double, double>;
Key key(const Point3& p) { return {p.x, p.y, p.z}; }

}  // namespace

std::vector<Point3> prepared(const std::vector<Point3>& raw) {
    std::vector<Point3> points;
    for (const Point3& p : raw) points.push_back({rounded(p.x), rounded(p.y), rounded(p.z)});
    std::stable_sort(points.begin(), points.end(),
                     [](const Point3& a, const Point3& b) { return comparePointXYZ(a, b) < 0; });
    std::vector<Point3> unique;
    for (const Point3& p : points) {
        if (unique.empty() || comparePointXY(unique.back(), p) != 0) unique.push_back(p);
    }
    return unique;
}

void headerOf(const std::vector<Point3>& points, double header[6]) {
    header[0] = header[3] = points.empty() ? 0 : points[0].x;
    header[1] = header[4] = points.empty() ? 0 : points[0].y;
    header[2] = header[5] = points.empty() ? 0 : points[0].z;
    for (const Point3& p : points) {
        header[0] = std::min(header[0], p.x), header[3] = std::max(header[3], p.x);
        header[1] = std::min(header[1], p.y), header[4] = std::max(header[4], p.y);
        header[2] = std::min(header[2], p.z), header[5] = std::max(header[5], p.z);
    }
}

std::vector<Triangle> triangulateFast(const double header[6], const std::vector<Point3>& points,
                                      size_t* exactInsertions) {
    Point3 enclosing[3];
    enclosingTriangle(header[0], header[1], header[3], header[4], 16000, 8000, enclosing);
    DelaunayEngine engine(DelaunayEngine::Mode::Sweep, enclosing, header[0], header[1], header[3], header[4],
                          points.size());
    engine.insertPointsSweep(points, [](size_t) { return true; });
    if (exactInsertions != nullptr) *exactInsertions = engine.exactInsertions();
    return engine.result();
}

std::vector<Point3> randomPoints(std::mt19937_64& random, size_t count, double x0, double y0, double width,
                                 double height) {
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<Point3> points;
    for (size_t i = 0; i < count; ++i) points.push_back({x0 + u(random) * width, y0 + u(random) * height, 100 + u(random) * 20});
    return points;
}

std::vector<Point3> gridPoints(size_t columns, size_t rows, double spacing, double x0, double y0, double jitter,
                               std::mt19937_64* random) {
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<Point3> points;
    for (size_t i = 0; i < columns; ++i) {
        for (size_t j = 0; j < rows; ++j) {
            double x = x0 + static_cast<double>(i) * spacing, y = y0 + static_cast<double>(j) * spacing;
            if (random != nullptr && jitter > 0) {
                x += u(*random) * jitter;
                y += u(*random) * jitter;
            }
            points.push_back({x, y, 200 + std::sin(static_cast<double>(i) * 0.3) + static_cast<double>(j) * 0.01});
        }
    }
    return points;
}

std::vector<Point3> ringPoints(size_t count, double radius, double x0, double y0, size_t of) {
    std::vector<Point3> points;
    for (size_t i = 0; i < count; ++i) {
        const double angle = 2 * M_PI * static_cast<double>(i) / static_cast<double>(of);
        points.push_back({x0 + radius * std::cos(angle), y0 + radius * std::sin(angle), 10 + static_cast<double>(i)});
    }
    return points;
}

double signedArea(const Triangle& t) {
    return 0.5 * ((t.p2.x - t.p1.x) * (t.p3.y - t.p1.y) - (t.p3.x - t.p1.x) * (t.p2.y - t.p1.y));
}

double hullArea(const std::vector<Point3>& input) {
    std::vector<Point3> p = input;
    std::sort(p.begin(), p.end(), [](const Point3& a, const Point3& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    if (p.size() < 3) return 0;
    auto cross = [](const Point3& o, const Point3& a, const Point3& b) {
        return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
    };
    std::vector<Point3> hull(2 * p.size());
    size_t k = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p[i]) <= 0) --k;
        hull[k++] = p[i];
    }
    for (size_t i = p.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], p[i]) <= 0) --k;
        hull[k++] = p[i];
    }
    hull.resize(k - 1);
    double area = 0;
    const Point3& o = hull[0];
    for (size_t i = 1; i + 1 < hull.size(); ++i) area += cross(o, hull[i], hull[i + 1]);
    return std::fabs(area) / 2;
}

std::string validityFault(const std::vector<Triangle>& triangles) {
    std::map<std::pair<Key, Key>, int> directed;
    for (size_t i = 0; i < triangles.size(); ++i) {
        const Triangle& t = triangles[i];
        if (exact::orientation(t.p1.x, t.p1.y, t.p2.x, t.p2.y, t.p3.x, t.p3.y) >= 0)
            return "triangle " + std::to_string(i) + " is not clockwise with non-zero area";
        const Point3* v[3] = {&t.p1, &t.p2, &t.p3};
        for (int e = 0; e < 3; ++e) {
            if (++directed[{key(*v[e]), key(*v[(e + 1) % 3])}] > 1)
                return "an edge is used twice in the same direction (overlap) at triangle " + std::to_string(i);
        }
    }
    // Overlaps without a shared edge: each vertex's triangles must turn once
    // around it at most (angles add up to no more than a full turn).
    std::map<Key, double> angleSum;
    for (const Triangle& t : triangles) {
        const Point3* v[3] = {&t.p1, &t.p2, &t.p3};
        for (int e = 0; e < 3; ++e) {
            const Point3& o = *v[e];
            const Point3& a = *v[(e + 1) % 3];
            const Point3& b = *v[(e + 2) % 3];
            const double angle = std::fabs(std::atan2((a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x),
                                                      (a.x - o.x) * (b.x - o.x) + (a.y - o.y) * (b.y - o.y)));
            angleSum[key(o)] += angle;
        }
    }
    for (const auto& [vertex, sum] : angleSum) {
        if (sum > 2 * M_PI + 1e-6) return "triangles overlap around a vertex";
    }
    return {};
}

bool usesEveryPoint(const std::vector<Triangle>& triangles, const std::vector<Point3>& points) {
    std::set<Key> used;
    for (const Triangle& t : triangles) {
        used.insert(key(t.p1));
        used.insert(key(t.p2));
        used.insert(key(t.p3));
    }
    for (const Point3& p : points) {
        if (!used.count(key(p))) return false;
    }
    return true;
}

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        const auto candidate = base / ("tz-tin-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        if (std::filesystem::create_directory(candidate)) {
            folder_ = candidate.string();
            return;
        }
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

std::string ScratchFolder::path(const std::string& name) const { return folder_ + "/" + name; }

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeWholeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace tz::terrain::testing
