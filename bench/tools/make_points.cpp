// Benchmark inputs in the project's point file format ("x y z" per line,
// millimetres):
//   make_points random N SEED OUT      uniform random points over a 2 km
//                                      square at survey coordinates
//                                      (easting 5e5, northing 4e6)
//   make_points terrain N SEED DEM OUT N points at random plan positions
//                                      inside the largest square at the
//                                      south-west corner of a gridded DEM
//                                      ("x y z" rows), elevations
//                                      interpolated bilinearly
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

struct Grid {
    std::vector<double> xs, ys;  // ascending
    std::vector<double> z;       // row-major by y, then x
    double at(size_t i, size_t j) const { return z[j * xs.size() + i]; }
};

bool readGrid(const char* path, Grid& grid) {
    std::FILE* f = std::fopen(path, "r");
    if (f == nullptr) return false;
    std::map<std::pair<double, double>, double> cells;
    std::vector<double> xs, ys;
    double x, y, z;
    while (std::fscanf(f, "%lf%lf%lf", &x, &y, &z) == 3) {
        cells[{y, x}] = z;
        xs.push_back(x);
        ys.push_back(y);
    }
    std::fclose(f);
    for (auto* v : {&xs, &ys}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }
    if (xs.size() < 2 || ys.size() < 2 || cells.size() != xs.size() * ys.size()) return false;
    grid.xs = xs;
    grid.ys = ys;
    grid.z.reserve(cells.size());
    for (const auto& cell : cells) grid.z.push_back(cell.second);  // map order: y, then x
    return true;
}

double interpolate(const Grid& g, double x, double y) {
    const size_t i = std::min<size_t>(std::upper_bound(g.xs.begin(), g.xs.end(), x) - g.xs.begin(), g.xs.size() - 1) - 1;
    const size_t j = std::min<size_t>(std::upper_bound(g.ys.begin(), g.ys.end(), y) - g.ys.begin(), g.ys.size() - 1) - 1;
    const double u = (x - g.xs[i]) / (g.xs[i + 1] - g.xs[i]);
    const double v = (y - g.ys[j]) / (g.ys[j + 1] - g.ys[j]);
    return (1 - u) * (1 - v) * g.at(i, j) + u * (1 - v) * g.at(i + 1, j) + (1 - u) * v * g.at(i, j + 1) +
           u * v * g.at(i + 1, j + 1);
}

int usage() {
    std::fprintf(stderr, "usage: make_points random N SEED OUT | make_points terrain N SEED DEM OUT\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return usage();
    const std::string mode = argv[1];
    const long long n = std::atoll(argv[2]);
    std::mt19937_64 random(std::strtoull(argv[3], nullptr, 10));
    Grid grid;
    double x0 = 500000, y0 = 4000000, width = 2000, height = 2000;
    const char* out = argv[4];
    if (mode == "terrain") {
        if (argc < 6) return usage();
        if (!readGrid(argv[4], grid)) {
            std::fprintf(stderr, "make_points: %s is not a complete grid of x y z rows\n", argv[4]);
            return 1;
        }
        x0 = grid.xs.front(), y0 = grid.ys.front();
        width = height = std::min(grid.xs.back() - x0, grid.ys.back() - y0);
        out = argv[5];
    } else if (mode != "random") {
        return usage();
    }
    std::FILE* f = std::fopen(out, "w");
    if (f == nullptr) {
        std::fprintf(stderr, "make_points: cannot write %s\n", out);
        return 1;
    }
    std::uniform_real_distribution<double> ux(0, width), uy(0, height), uz(100, 150);
    for (long long k = 0; k < n; ++k) {
        // Millimetre coordinates, as a survey records them.
        const double x = std::round((x0 + ux(random)) * 1000) / 1000;
        const double y = std::round((y0 + uy(random)) * 1000) / 1000;
        const double z = mode == "terrain" ? interpolate(grid, x, y) : uz(random);
        std::fprintf(f, "%.3f %.3f %.3f\n", x, y, std::round(z * 1000) / 1000);
    }
    return std::fclose(f) == 0 ? 0 : 1;
}
