#include "faults/FaultApplication.h"

#include <unordered_map>
#include <vector>

#include "FileSystem.h"
#include "boundary/Segment.h"
#include "faults/FaultInsertion.h"
#include "faults/FaultTin.h"
#include "tin/TinFile.h"

namespace tz::terrain {
namespace {

// Boundary segments found by their ends in plan equality.
class SegmentEnds {
public:
    explicit SegmentEnds(const std::vector<Segment>& segments) : segments_(segments) {
        for (uint32_t i = 0; i < segments.size(); ++i) cells_[key(segments[i].a)].push_back(i);
    }

    // True when some segment has the ends s and e, in either direction.
    bool lies(const Point3& s, const Point3& e) const {
        for (const Point3* end : {&s, &e}) {
            const int64_t cx = index(end->x), cy = index(end->y);
            for (int dx = -1; dx <= 1; ++dx) {
                for (int dy = -1; dy <= 1; ++dy) {
                    auto it = cells_.find(combine(cx + dx, cy + dy));
                    if (it == cells_.end()) continue;
                    for (uint32_t i : it->second) {
                        const Segment& g = segments_[i];
                        if ((samePlan(s, g.a) && samePlan(e, g.b)) || (samePlan(s, g.b) && samePlan(e, g.a)))
                            return true;
                    }
                }
            }
        }
        return false;
    }

private:
    static int64_t index(double v) {
        const double q = std::floor(v / (2 * kPlanTolerance));
        if (!(q > -4e18)) return static_cast<int64_t>(-4e18);
        if (!(q < 4e18)) return static_cast<int64_t>(4e18);
        return static_cast<int64_t>(q);
    }
    static uint64_t combine(int64_t ix, int64_t iy) {
        return (static_cast<uint64_t>(ix) * 0x9E3779B97F4A7C15ull) ^ static_cast<uint64_t>(iy);
    }
    static uint64_t key(const Point3& p) { return combine(index(p.x), index(p.y)); }

    const std::vector<Segment>& segments_;
    std::unordered_map<uint64_t, std::vector<uint32_t>> cells_;
};

int fail(StageReporter& reporter, const char* message) {
    reporter.alert(message);
    return kStatusError;
}

}  // namespace

int applyFaultLines(const std::string& rawTin, const std::string& faultFile, int dimension, bool useBoundary,
                    const std::string& boundaryFile, StageReporter& reporter, const UserBreakTest& userBreak) {
    if (countTinRecords(rawTin, LastRecord::NeedsLineEnd) < 0) return fail(reporter, "Error opening triangle file.\n");
    const std::string output = withExtension(rawTin, ".ftin");
    std::vector<Segment> boundary;
    if (useBoundary) {
        SegmentFile read = readSegmentFile(boundaryFile);
        if (!read.opened) return fail(reporter, "Error opening boundary file.\n");
        boundary = std::move(read.segments);
    }

    std::FILE* tinFile = tz::platform::openFile(rawTin, "rb");
    if (tinFile == nullptr) return fail(reporter, "Error opening triangle file.\n");
    std::FILE* faults = tz::platform::openFile(faultFile, "rb");
    if (faults == nullptr) {
        std::fclose(tinFile);
        return fail(reporter, "Error opening fault line file.\n");
    }
    std::FILE* out = tz::platform::openFile(output, "w");
    if (out == nullptr) {
        std::fclose(tinFile);
        std::fclose(faults);
        return fail(reporter, "Error opening output file.\n");
    }
    std::vector<Triangle> triangles;
    {
        TinReader reader(tinFile, LastRecord::NeedsLineEnd);
        Triangle t;
        while (reader.next(t)) triangles.push_back(t);
    }
    std::fclose(tinFile);
    std::fclose(faults);
    SegmentFile read = readFaultFile(faultFile, dimension);
    reporter.print(segmentStopMessage(faultFile, read, "fault line"));
    const std::vector<Segment> faultLines = std::move(read.segments);

    FaultTin tin(triangles);
    triangles.clear();
    triangles.shrink_to_fit();
    const SegmentEnds boundaryEnds(boundary);
    int number = 0;
    for (Segment fault : faultLines) {
        ++number;
        if (userBreak && userBreak()) {
            std::fclose(out);
            return kStatusCancel;
        }
        if (boundaryEnds.lies(fault.a, fault.b)) continue;
        if (insertFaultLine(tin, fault, number, reporter, userBreak) == kStatusCancel) {
            std::fclose(out);
            return kStatusCancel;
        }
    }
    reporter.print("Done\n");
    bool flushed;
    {
        TinWriter writer(out);
        for (const Triangle& t : tin.inOrder()) writer.write(t);
        flushed = writer.flush();
    }
    // A faulted TIN cut off by a full disk would go on to replace the
    // project's TIN.
    if (std::fclose(out) != 0 || !flushed) {
        tz::platform::deleteFile(output);
        return fail(reporter, "Error writing output file.\n");
    }
    return kStageDone;
}

}  // namespace tz::terrain
