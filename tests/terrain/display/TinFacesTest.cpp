#include "display/TinFaces.h"

#include <gtest/gtest.h>

namespace tz::terrain::display {
namespace {

TEST(TinFaces, FourthCornerRepeatsTheFirstAndCoordinatesStayUnchanged) {
    const Triangle t{{500000.125, 4000000.5, 12.75}, {500010, 4000000.5, 13}, {500000.125, 4000010, 11}};
    const auto corners = faceCorners(t);
    EXPECT_EQ(corners[0].x, t.p1.x); EXPECT_EQ(corners[0].y, t.p1.y); EXPECT_EQ(corners[0].z, t.p1.z);
    EXPECT_EQ(corners[1].x, t.p2.x); EXPECT_EQ(corners[2].y, t.p3.y); EXPECT_EQ(corners[2].z, t.p3.z);
    EXPECT_EQ(corners[3].x, t.p1.x); EXPECT_EQ(corners[3].y, t.p1.y); EXPECT_EQ(corners[3].z, t.p1.z);
}

TEST(TinFaces, AnEmptyLayerNameBecomesTheDefault) {
    EXPECT_EQ(tinLayerOrDefault(L""), L"TZ_Tin");
    EXPECT_EQ(tinLayerOrDefault(L"Ground_2"), L"Ground_2");
}

}  // namespace
}  // namespace tz::terrain::display
