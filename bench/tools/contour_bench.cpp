// The contour tracing alone, on the triangles of a TIN file, for the same
// levels as the reference (matplotlib's tricontour):
//
//     contour_bench TINFILE FIRST STEP COUNT
//
// The file is read before the clock starts. The clock then runs over what
// the contours command does with the triangles in memory: the tracer is
// built on its own thread, and the levels are traced and chained there
// while this thread takes them in order, every fifth level an index
// contour, straight chains. Prints the seconds, the number of chains and
// the number of their vertices (the drawing's POLYLINEs and VERTEXes).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "contour/BackgroundTracer.h"
#include "contour/ContourLevels.h"
#include "tin/ParallelNumberReader.h"

using namespace tz::terrain;

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: contour_bench TINFILE FIRST STEP COUNT\n");
        return 2;
    }
    const double first = std::atof(argv[2]);
    const double step = std::atof(argv[3]);
    const int count = std::atoi(argv[4]);
    std::FILE* file = std::fopen(argv[1], "rb");
    if (file == nullptr || step <= 0 || count < 1) {
        std::fprintf(stderr, "contour_bench: cannot read %s, or no levels\n", argv[1]);
        return 1;
    }
    std::vector<Triangle> triangles;
    readRecordsInParallel(file, 9, [&](const double* v) {
        triangles.push_back({{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}});
        return true;
    });
    std::fclose(file);

    const auto start = std::chrono::steady_clock::now();
    size_t chains = 0, vertices = 0;
    {
        BackgroundTracer tracer(std::move(triangles));
        ContourLevelSequence levels(first, first + step * (count - 1), step);
        ContourOptions options;
        options.indexInterval = 5 * step;
        tracer.start(levels, options);
        while (levels.next()) {
            for (const ContourChain& chain : tracer.next()) {
                ++chains;
                vertices += chain.points.size();
            }
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f %zu %zu\n", seconds, chains, vertices);
    return 0;
}
