#include "areas/SegmentsMeet.h"

#include <gtest/gtest.h>

namespace {

using namespace tz::secvolume;

SectionSegment seg(double x0, double y0, double x1, double y1) { return {{x0, y0, 0}, {x1, y1, 0}}; }

TEST(SegmentsMeet, CrossingSegmentsMeetAtAPointOnTheFirst) {
    const auto p = segmentsMeet(seg(-50, 100, 50, 100), seg(-40, 90, -20, 110));
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->x, -30);
    EXPECT_DOUBLE_EQ(p->y, 100);
    EXPECT_EQ(p->z, 0);
}

TEST(SegmentsMeet, ParallelAndApartSegmentsDoNot) {
    EXPECT_FALSE(segmentsMeet(seg(0, 0, 10, 0), seg(0, 1, 10, 1)));
    EXPECT_FALSE(segmentsMeet(seg(0, 0, 10, 0), seg(2, 0, 8, 0)));  // overlapping on one line
    EXPECT_FALSE(segmentsMeet(seg(0, 0, 10, 0), seg(20, -1, 20, 1)));
    EXPECT_FALSE(segmentsMeet(seg(0, 0, 0, 0), seg(0, -1, 0, 1)));  // a point
}

TEST(SegmentsMeet, EndsWithinAThousandthMeet) {
    // A daylight point on the ground line, exactly and within the tolerance.
    EXPECT_TRUE(segmentsMeet(seg(-50, 100, 50, 100), seg(-30, 100, -20, 110)));
    EXPECT_TRUE(segmentsMeet(seg(-50, 100, 50, 100), seg(-30, 100.0005, -20, 110)));
    EXPECT_TRUE(segmentsMeet(seg(0, 0, 10, 0), seg(10.009, -1, 10.009, 1)));    // s = 1.0009
    EXPECT_FALSE(segmentsMeet(seg(0, 0, 10, 0), seg(10.011, -1, 10.011, 1)));  // s = 1.0011
    EXPECT_FALSE(segmentsMeet(seg(-50, 100, 50, 100), seg(-30, 100.2, -20, 110)));
}

}  // namespace
