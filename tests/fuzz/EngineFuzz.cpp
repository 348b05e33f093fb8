// The triangulation engine against the literal procedure, byte for byte, on
// lattice points; the result must also be a valid triangulation.
#include "FuzzInput.h"
#include "LiteralTriangulation.h"
#include "TinTestSupport.h"

using namespace tz::terrain;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tz::fuzz::FuzzInput in(data, size);
    in.chooseLattice();
    // The literal procedure scans every triangle for every point.
    const std::vector<Point3> points = testing::prepared(in.points(160));
    if (points.empty()) return 0;
    double header[6];
    testing::headerOf(points, header);
    const std::vector<Triangle> fast = testing::triangulateFast(header, points);
    const std::vector<Triangle> slow = literal::triangulateLiterally(header, points);
    FUZZ_EXPECT(literal::formatTin(fast) == literal::formatTin(slow), "the engine made %zu triangles, the literal procedure %zu (or others)",
                fast.size(), slow.size());
    const std::string fault = testing::validityFault(fast);
    FUZZ_EXPECT(fault.empty(), "not a valid triangulation: %s", fault.c_str());
    return 0;
}
