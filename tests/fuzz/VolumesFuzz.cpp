// Grid volumes between two small arbitrary surfaces against the literal
// walk, bit for bit.
#include <algorithm>
#include <bit>

#include "FuzzInput.h"
#include "LiteralSurface.h"
#include "volume/VolumeGrid.h"

using namespace tz::terrain;
using namespace tz::terrain::volume;

namespace {

std::vector<PreparedTriangle> surface(tz::fuzz::FuzzInput& in) {
    std::vector<PreparedTriangle> out;
    for (const Triangle& t : in.triangles(in.byte() % 24)) out.push_back(prepareTriangle(t));
    return out;
}

bool same(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tz::fuzz::FuzzInput in(data, size);
    in.chooseLattice();
    static constexpr double kIntervals[] = {1, 0.5, 0.3, 2, 0.7, 1.5, 0.25, 3};
    const uint8_t b = in.byte();
    const double interval = kIntervals[b & 7] * in.spacing();
    const double compaction = (b & 8) ? 1.25 : 1.0;
    const auto existing = surface(in);
    const auto proposed = surface(in);
    // The literal walk looks up every cell's corners in every triangle.
    double lowest = 0, highest = 0;
    bool first = true;
    for (const auto* list : {&existing, &proposed}) {
        for (const PreparedTriangle& t : *list) {
            lowest = first ? std::min(t.xmin(), t.ymin()) : std::min({lowest, t.xmin(), t.ymin()});
            highest = first ? std::max(t.xmax(), t.ymax()) : std::max({highest, t.xmax(), t.ymax()});
            first = false;
        }
    }
    if ((highest - lowest) / interval > 200) return 0;
    const VolumeRun fast = computeVolumes(existing, proposed, interval, compaction, [] { return false; });
    const VolumeTotals slow = literal::volumes(existing, proposed, interval, compaction);
    FUZZ_EXPECT(same(fast.totals.cut, slow.cut) && same(fast.totals.fill, slow.fill) && same(fast.totals.net, slow.net),
                "cut %.17g fill %.17g, the literal walk cut %.17g fill %.17g", fast.totals.cut, fast.totals.fill, slow.cut,
                slow.fill);
    return 0;
}
