// Contour tracing against the literal procedure on small arbitrary TINs:
// the segments and chains of every level, straight and smoothed, bit for
// bit, whether the levels are traced as one run or one at a time.
#include <bit>
#include <cmath>
#include <utility>

#include "ContourOracle.h"
#include "FuzzInput.h"
#include "contour/ContourLevels.h"
#include "contour/ContourTracer.h"

using namespace tz::terrain;

namespace {

bool samePoint(const Point3& a, const Point3& b) {
    auto same = [](double u, double v) { return std::bit_cast<uint64_t>(u) == std::bit_cast<uint64_t>(v); };
    return same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z);
}

bool identical(const std::vector<ContourChain>& a, const std::vector<ContourChain>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].isIndex != b[i].isIndex || a[i].points.size() != b[i].points.size()) return false;
        for (size_t j = 0; j < a[i].points.size(); ++j) {
            if (!samePoint(a[i].points[j], b[i].points[j])) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tz::fuzz::FuzzInput in(data, size);
    in.chooseLattice();
    const double interval = 0.25 + (in.byte() % 8) * 0.35;
    const std::vector<Triangle> tin = in.triangles(120);
    const auto range = tinElevationRange(tin);
    if (!range) return 0;
    // Smoothing bounds the points of a segment 10^8 units long or more, which
    // the literal procedure does not.
    for (const Triangle& t : tin) {
        for (const auto& [a, b] : {std::pair{t.p1, t.p2}, std::pair{t.p2, t.p3}, std::pair{t.p3, t.p1}}) {
            if (std::hypot(a.x - b.x, a.y - b.y) >= 5e7) return 0;
        }
    }
    const ContourTracer tracer(tin);
    const auto outline = oracle::outline(tin);
    ContourLevelSequence sequence(range->lowest, range->highest, interval);
    std::vector<double> levels;
    while (levels.size() < 60) {
        const auto e = sequence.next();
        if (!e) break;
        levels.push_back(*e);
    }
    const TrianglesByLevel run = tracer.sortByLevel(levels);
    for (size_t k = 0; k < levels.size(); ++k) {
        const double e = levels[k];
        const auto fastSegments = tracer.segmentsAtLevel(run, k);
        const auto slowSegments = oracle::segments(tin, e);
        FUZZ_EXPECT(fastSegments.size() == slowSegments.size(), "%zu segments at level %g, the literal procedure %zu",
                    fastSegments.size(), e, slowSegments.size());
        for (size_t i = 0; i < fastSegments.size(); ++i) {
            FUZZ_EXPECT(samePoint(fastSegments[i].start, slowSegments[i].start) &&
                            samePoint(fastSegments[i].end, slowSegments[i].end),
                        "segment %zu at level %g differs", i, e);
        }
        for (bool smooth : {false, true}) {
            const ContourOptions options{smooth, 2 * interval};
            const auto fast = tracer.traceLevel(run, k, options);
            FUZZ_EXPECT(identical(fast, oracle::traceLevel(tin, outline, e, options)), "chains at level %g%s differ", e,
                        smooth ? " (smoothed)" : "");
            FUZZ_EXPECT(identical(fast, tracer.traceLevel(e, options)), "level %g traced alone differs", e);
        }
    }
    return 0;
}
