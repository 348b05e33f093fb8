// The reference triangulation: CGAL's Delaunay_triangulation_2 (exact
// predicates, inexact constructions) on the points of a point file, in plan
// with their elevations carried. Prints the seconds the insertion took and
// the number of finite triangles.
//
// By default the points go in as one range, which CGAL inserts along a
// space-filling curve of its own. With --x-order they are first put in the
// order the engine inserts them (ascending x, then y, then z; before the
// clock starts) and inserted one at a time, each located from the face of
// the vertex inserted before it: CGAL doing the same insertions as the
// engine's sweep.
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Projection_traits_xy_3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using Traits = CGAL::Projection_traits_xy_3<K>;
using Delaunay = CGAL::Delaunay_triangulation_2<Traits>;

int main(int argc, char** argv) {
    const bool xOrder = argc == 3 && std::strcmp(argv[1], "--x-order") == 0;
    if (argc != 2 && !xOrder) {
        std::fprintf(stderr, "usage: cgal_delaunay [--x-order] POINTFILE\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    std::FILE* f = std::fopen(path, "r");
    if (f == nullptr) {
        std::fprintf(stderr, "cgal_delaunay: cannot read %s\n", path);
        return 1;
    }
    std::vector<K::Point_3> points;
    double x, y, z;
    while (std::fscanf(f, "%lf%lf%lf", &x, &y, &z) == 3) points.emplace_back(x, y, z);
    std::fclose(f);
    if (xOrder) {
        std::sort(points.begin(), points.end(), [](const K::Point_3& a, const K::Point_3& b) {
            if (a.x() != b.x()) return a.x() < b.x();
            if (a.y() != b.y()) return a.y() < b.y();
            return a.z() < b.z();
        });
    }

    const auto start = std::chrono::steady_clock::now();
    Delaunay dt;
    if (xOrder) {
        Delaunay::Face_handle hint;
        for (const K::Point_3& p : points) hint = dt.insert(p, hint)->face();
    } else {
        dt.insert(points.begin(), points.end());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f %zu\n", seconds, static_cast<size_t>(dt.number_of_faces()));
    return 0;
}
