// Straight segments of boundaries, voids and fault lines, and the plan
// equality that the boundary and fault stages use to match their ends.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "tin/Triangle.h"

namespace tz::terrain {

// A segment from a to b; z takes no part in any test.
struct Segment {
    Point3 a, b;
};

// Tolerance of plan equality, in plan units.
inline constexpr double kPlanTolerance = 0.00001;

// Two points are the same in plan when they differ by no more than the
// tolerance in x and in y.
inline bool samePlan(const Point3& p, const Point3& q) {
    return std::fabs(p.x - q.x) <= kPlanTolerance && std::fabs(p.y - q.y) <= kPlanTolerance;
}

// Distance in plan, as the stages compute it.
inline double planDistance(const Point3& p, const Point3& q) {
    return std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y));
}

// What reading a boundary/void or fault file found.
struct SegmentFile {
    bool opened = false;
    std::vector<Segment> segments;
    bool stoppedAtText = false;  // reading ended at text that is not a number
};

// Reads the segments of a boundary/void file: six numbers per record (x1 y1
// z1 x2 y2 z2), any white space between them. Reading ends at text that is
// not a number, and the record whose read reaches the end of the file is
// not used (the last record must end with a line break).
SegmentFile readSegmentFile(const std::string& path);

// Reads the fault lines of a fault file the same way: with `dimension` 2
// four numbers per record (x1 y1 x2 y2, both elevations 0), otherwise six.
SegmentFile readFaultFile(const std::string& path, int dimension);

// The note for a file whose reading stopped at text that is not a number,
// naming what was read before it ("segment", "fault line"); empty when the
// reading went to the end.
std::string segmentStopMessage(const std::string& path, const SegmentFile& file, const std::string& what);

}  // namespace tz::terrain
