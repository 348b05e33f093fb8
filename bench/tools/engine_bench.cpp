// The triangulation engine alone, on the points of a point file: the points
// are put in the sorted point file's order (ascending x, y, z; one per plan
// position) before the clock starts, as the triangulate command's
// preparation hands them over, and inserted as the command does. Prints
// the seconds the insertions and the finished list took and the number of
// triangles; with --hash, also a hash of the finished list (vertex
// coordinates in list order), to check that a change to the engine leaves
// its output as it was.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "points/PointCompare.h"
#include "tin/DelaunayEngine.h"

using namespace tz::terrain;

int main(int argc, char** argv) {
    bool hash = false, known = true;
    for (int i = 1; i + 1 < argc; ++i) {
        hash = hash || std::strcmp(argv[i], "--hash") == 0;
        known = known && std::strcmp(argv[i], "--hash") == 0;
    }
    if (argc < 2 || !known) {
        std::fprintf(stderr, "usage: engine_bench [--hash] POINTFILE\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    std::FILE* f = std::fopen(path, "r");
    if (f == nullptr) {
        std::fprintf(stderr, "engine_bench: cannot read %s\n", path);
        return 1;
    }
    std::vector<Point3> points;
    double x, y, z;
    while (std::fscanf(f, "%lf%lf%lf", &x, &y, &z) == 3) points.push_back({x, y, z});
    std::fclose(f);
    if (points.empty()) return 1;

    Point3 lo = points.front(), hi = points.front();
    for (const Point3& p : points) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const Point3& a, const Point3& b) { return comparePointXYZ(a, b) < 0; });
    points.erase(std::unique(points.begin(), points.end(),
                             [](const Point3& a, const Point3& b) { return comparePointXY(a, b) == 0; }),
                 points.end());

    const auto start = std::chrono::steady_clock::now();
    Point3 enclosing[3];
    enclosingTriangle(lo.x, lo.y, hi.x, hi.y, 16000, 8000, enclosing);
    DelaunayEngine engine(DelaunayEngine::Mode::Sweep, enclosing, lo.x, lo.y, hi.x, hi.y, points.size());
    engine.insertPointsSweep(points, [](size_t) { return true; });
    size_t triangles = 0;
    engine.forEachResult([&](const Triangle&) { ++triangles; });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (hash) {
        // FNV-1a over the bytes of every coordinate, outside the timing.
        uint64_t h = 0xcbf29ce484222325ull;
        engine.forEachResult([&](const Triangle& t) {
            for (const Point3& v : {t.p1, t.p2, t.p3}) {
                for (double c : {v.x, v.y, v.z}) {
                    unsigned char bytes[sizeof c];
                    std::memcpy(bytes, &c, sizeof c);
                    for (unsigned char b : bytes) h = (h ^ b) * 0x100000001b3ull;
                }
            }
        });
        std::printf("%.3f %zu %016llx\n", seconds, triangles, static_cast<unsigned long long>(h));
    } else {
        std::printf("%.3f %zu\n", seconds, triangles);
    }
    return 0;
}
