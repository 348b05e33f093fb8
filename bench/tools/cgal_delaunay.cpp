// The reference triangulation: CGAL's Delaunay_triangulation_2 (exact
// predicates, inexact constructions) on the points of a point file, in plan
// with their elevations carried. Prints the seconds the insertion took and
// the number of finite triangles.
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Projection_traits_xy_3.h>

#include <chrono>
#include <cstdio>
#include <vector>

using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using Traits = CGAL::Projection_traits_xy_3<K>;
using Delaunay = CGAL::Delaunay_triangulation_2<Traits>;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: cgal_delaunay POINTFILE\n");
        return 2;
    }
    std::FILE* f = std::fopen(argv[1], "r");
    if (f == nullptr) {
        std::fprintf(stderr, "cgal_delaunay: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<K::Point_3> points;
    double x, y, z;
    while (std::fscanf(f, "%lf%lf%lf", &x, &y, &z) == 3) points.emplace_back(x, y, z);
    std::fclose(f);

    const auto start = std::chrono::steady_clock::now();
    Delaunay dt;
    dt.insert(points.begin(), points.end());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f %zu\n", seconds, static_cast<size_t>(dt.number_of_faces()));
    return 0;
}
