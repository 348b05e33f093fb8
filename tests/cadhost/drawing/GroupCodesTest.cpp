#include "drawing/GroupCodes.h"

#include <gtest/gtest.h>

#include "adscodes.h"

namespace tz::cad {
namespace {

TEST(GroupCodes, ValueTypesOfTheCodesEntityListsUse) {
    EXPECT_EQ(groupValueType(-1), RTENAME);
    EXPECT_EQ(groupValueType(0), RTSTR);
    EXPECT_EQ(groupValueType(RTDXF0), RTSTR);  // group 0 in lists built with acutBuildList
    EXPECT_EQ(groupValueType(1), RTSTR);
    EXPECT_EQ(groupValueType(5), RTSTR);
    EXPECT_EQ(groupValueType(8), RTSTR);
    for (int code : {10, 11, 12, 13, 18, 110, 210, 1010}) EXPECT_EQ(groupValueType(code), RT3DPOINT) << code;
    for (int code : {38, 39, 40, 41, 42, 50, 140, 1040}) EXPECT_EQ(groupValueType(code), RTREAL) << code;
    for (int code : {62, 66, 70, 79, 170, 280, 290, 370, 1070}) EXPECT_EQ(groupValueType(code), RTSHORT) << code;
    for (int code : {90, 99, 420, 1071}) EXPECT_EQ(groupValueType(code), RTLONG) << code;
    for (int code : {330, 340, 360, 390}) EXPECT_EQ(groupValueType(code), RTENAME) << code;
    for (int code : {100, 102, 300, 410, 999, 1000, 1001}) EXPECT_EQ(groupValueType(code), RTSTR) << code;
}

TEST(GroupCodes, CodesOutsideTheRangesAreNoGroupCodes) {
    for (int code : {-10, 19, 80, 103, 150, 200, 500, 998, 1100, RTNORM, RTREAL}) {
        EXPECT_EQ(groupValueType(code), RTNONE) << code;
    }
}

TEST(GroupCodes, EveryPointCodeLeavesRoomForItsCoordinates) {
    for (int code = 0; code < 1100; ++code) {
        if (!isPointCode(code)) continue;
        // y and z of a point are written under code + 10 and code + 20: reals.
        EXPECT_EQ(groupValueType(code + 10), RTREAL) << code;
        EXPECT_EQ(groupValueType(code + 20), RTREAL) << code;
    }
}

}  // namespace
}  // namespace tz::cad
