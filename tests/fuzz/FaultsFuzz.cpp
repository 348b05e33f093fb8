// The boundary tests and fault insertion against the literal procedures on
// TINs of lattice points, with segments between their vertices and beside
// them; the faulted TIN must stay a valid triangulation.
#include "FuzzInput.h"
#include "LiteralBoundary.h"
#include "LiteralFaults.h"
#include "LiteralTriangulation.h"
#include "TinTestSupport.h"
#include "boundary/BoundaryTests.h"
#include "faults/FaultInsertion.h"
#include "faults/FaultTin.h"

using namespace tz::terrain;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tz::fuzz::FuzzInput in(data, size);
    in.chooseLattice();
    const std::vector<Point3> points = testing::prepared(in.points(in.byte() % 48));
    if (points.empty()) return 0;
    double header[6];
    testing::headerOf(points, header);
    const std::vector<Triangle> tin = testing::triangulateFast(header, points);

    std::vector<Segment> segments(in.byte() % 10);
    for (Segment& s : segments) {
        for (Point3* end : {&s.a, &s.b}) {
            const uint8_t pick = in.byte();
            *end = pick < 160 ? points[pick % points.size()] : Point3{in.x(), in.y(), 0};
        }
    }

    const BoundarySet boundary(segments);
    for (const Triangle& t : tin) {
        FUZZ_EXPECT(crossesBoundary(t, boundary) == literal::crossesBoundaryLiterally(t, segments),
                    "the crossing test differs from the literal one");
        FUZZ_EXPECT(insideBoundary(t, boundary) == literal::insideBoundaryLiterally(t, segments),
                    "the inside test differs from the literal one");
    }

    FaultTin fast(tin);
    std::vector<Triangle> slow = tin;
    testing::RecordingReporter reporter;
    std::string slowPrinted;
    for (size_t k = 0; k < segments.size(); ++k) {
        Segment a = segments[k], b = segments[k];
        const int number = static_cast<int>(k + 1);
        const int fastStatus = insertFaultLine(fast, a, number, reporter, {});
        const int slowStatus = literal::insertFaultLineLiterally(slow, b, number, slowPrinted);
        FUZZ_EXPECT(fastStatus == slowStatus, "fault %d: status %d, the literal procedure %d", number, fastStatus, slowStatus);
        FUZZ_EXPECT(literal::formatTin(fast.inOrder()) == literal::formatTin(slow), "fault %d: the TIN differs", number);
    }
    FUZZ_EXPECT(reporter.printed == slowPrinted, "the messages differ");
    const std::string fault = testing::validityFault(fast.inOrder());
    FUZZ_EXPECT(fault.empty(), "the faulted TIN is not valid: %s", fault.c_str());
    return 0;
}
