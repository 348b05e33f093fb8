// Selection sets and picks as plug-ins use them; interactive selection and
// picks answered from the session's input.
#include <gtest/gtest.h>

#include "HostApiFixture.h"

namespace tz::cad {
namespace {

using test::HostApiTest;

class SelectionApiTest : public HostApiTest {
protected:
    void SetUp() override {
        HostApiTest::SetUp();
        ads_point origin = {0, 0, 0};
        resbuf* list = acutBuildList(RTDXF0, L"BLOCK", 2, L"TZNODE", 10, origin, 0);
        acdbEntMake(list);
        acutRelRb(list);
        list = acutBuildList(RTDXF0, L"POINT", 10, origin, 0);
        acdbEntMake(list);
        acutRelRb(list);
        list = acutBuildList(RTDXF0, L"ENDBLK", 0);
        acdbEntMake(list);
        acutRelRb(list);
        line1 = makeLine(L"TZ_Tin", 0, 0, 10, 0);
        line2 = makeLine(L"TZ_Tin", 0, 5, 10, 5);
        node1 = makeNode(20, 20);
        node2 = makeNode(30, 30);
    }
    std::wstring makeLine(const ACHAR* layer, double x1, double y1, double x2, double y2) {
        ads_point from = {x1, y1, 0}, to = {x2, y2, 0};
        resbuf* list = acutBuildList(RTDXF0, L"LINE", 8, layer, 10, from, 11, to, 0);
        EXPECT_EQ(acdbEntMake(list), RTNORM);
        acutRelRb(list);
        return lastHandle();
    }
    std::wstring makeNode(double x, double y) {
        ads_point at = {x, y, 1};
        resbuf* list = acutBuildList(RTDXF0, L"INSERT", 2, L"TZNODE", 10, at, 0);
        EXPECT_EQ(acdbEntMake(list), RTNORM);
        acutRelRb(list);
        return lastHandle();
    }
    std::wstring lastHandle() {
        ads_name last;
        acdbEntLast(last);
        return handleOf(last);
    }
    std::wstring handleOf(const ads_name name) {
        resbuf* list = acdbEntGet(name);
        const std::wstring handle = text(group(list, 5));
        acutRelRb(list);
        return handle;
    }
    // The handles of a selection set in order; the set is released.
    std::vector<std::wstring> contents(ads_name set) {
        std::vector<std::wstring> handles;
        int32_t length = 0;
        EXPECT_EQ(acedSSLength(set, &length), RTNORM);
        for (int32_t i = 0; i < length; ++i) {
            ads_name entity;
            EXPECT_EQ(acedSSName(set, i, entity), RTNORM);
            handles.push_back(handleOf(entity));
        }
        EXPECT_EQ(acedSSFree(set), RTNORM);
        return handles;
    }

    std::wstring line1, line2, node1, node2;
};

TEST_F(SelectionApiTest, WholeDrawingWithFilters) {
    ads_name set;
    resbuf* byLayer = acutBuildList(8, L"TZ_Tin", 0);
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, byLayer, set), RTNORM);
    acutRelRb(byLayer);
    EXPECT_EQ(contents(set), (std::vector<std::wstring>{line1, line2}));

    resbuf* points = acutBuildList(2, L"tznode", 0);
    ASSERT_EQ(acedSSGet(L"_X", nullptr, nullptr, points, set), RTNORM);
    EXPECT_EQ(contents(set), (std::vector<std::wstring>{node1, node2}));
    acutRelRb(points);

    resbuf* nothing = acutBuildList(8, L"NoSuchLayer", 0);
    EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, nothing, set), RTERROR);
    acutRelRb(nothing);
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, set), RTNORM);
    EXPECT_EQ(contents(set).size(), 4u);
    EXPECT_EQ(acedSSGet(L"?", nullptr, nullptr, nullptr, set), RTERROR);
}

TEST_F(SelectionApiTest, WindowCrossingAndLast) {
    ads_point a = {-1, -1, 0}, b = {11, 2, 0}, c = {5, -1, 0}, d = {6, 6, 0};
    ads_name set;
    ASSERT_EQ(acedSSGet(L"W", a, b, nullptr, set), RTNORM);
    EXPECT_EQ(contents(set), std::vector<std::wstring>{line1});
    ASSERT_EQ(acedSSGet(L"C", c, d, nullptr, set), RTNORM);
    EXPECT_EQ(contents(set), (std::vector<std::wstring>{line1, line2}));
    EXPECT_EQ(acedSSGet(L"W", c, d, nullptr, set), RTERROR);
    EXPECT_EQ(acedSSGet(L"W", nullptr, nullptr, nullptr, set), RTERROR);
    ASSERT_EQ(acedSSGet(L"L", nullptr, nullptr, nullptr, set), RTNORM);
    EXPECT_EQ(contents(set), std::vector<std::wstring>{node2});
}

TEST_F(SelectionApiTest, APointPicksWhatPassesThroughItWithoutAsking) {
    ads_point onLine2 = {4, 5, 0}, nowhere = {4, 2.5, 0};
    ads_name set;
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(acedSSGet(nullptr, onLine2, nullptr, nullptr, set), RTNORM);
    EXPECT_EQ(contents(set), std::vector<std::wstring>{line2});
    EXPECT_EQ(acedSSGet(nullptr, nowhere, nullptr, nullptr, set), RTERROR);
    resbuf* points = acutBuildList(2, L"TZNODE", 0);
    EXPECT_EQ(acedSSGet(nullptr, onLine2, nullptr, points, set), RTERROR);  // filtered out
    acutRelRb(points);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");  // no prompt
}

TEST_F(SelectionApiTest, InteractiveSelectionThenFilter) {
    answer("all\n\n");
    resbuf* points = acutBuildList(2, L"TZNODE", 0);
    ads_name set;
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, points, set), RTNORM);
    const std::string shown = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(contents(set), (std::vector<std::wstring>{node1, node2}));
    EXPECT_EQ(shown, "\nSelect objects: all\n4 found\nSelect objects: \n");

    answer("w 19,19 21,21\n#" + std::string(line2.begin(), line2.end()) + "\nc 0,-1 1,1\nlast\n\n");
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
    const std::string report = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(contents(set), (std::vector<std::wstring>{node1, line2, line1, node2}));
    EXPECT_NE(report.find("1 found, 4 total"), std::string::npos);

    answer("w 0,0 1,1\n\n");  // nothing inside
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, points, set), RTERROR);
    ::testing::internal::GetCapturedStdout();
    acutRelRb(points);
}

TEST_F(SelectionApiTest, InteractiveSelectionCancelledOrMistyped) {
    ads_name set;
    ::testing::internal::CaptureStdout();
    answer("all\n*cancel*\n");
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTCAN);
    answer("all\n");  // input ends
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTCAN);
    answer("whatever\n#ZZZZ\n\n");
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTERROR);
    const std::string shown = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(shown.find("*Invalid selection*"), std::string::npos);
    EXPECT_NE(shown.find("0 found"), std::string::npos);
    int32_t length = 0;
    EXPECT_EQ(acedSSLength(set, &length), RTERROR);  // no set after a cancel
}

TEST_F(SelectionApiTest, SetsAreAddedToAndFreed) {
    ads_name none = {0, 0}, set, entity, same;
    ASSERT_EQ(acdbHandEnt(line1.c_str(), entity), RTNORM);
    ASSERT_EQ(acedSSAdd(entity, none, set), RTNORM);
    ASSERT_EQ(acdbHandEnt(node1.c_str(), entity), RTNORM);
    ASSERT_EQ(acedSSAdd(entity, set, same), RTNORM);
    EXPECT_TRUE(ads_name_equal(set, same));
    ASSERT_EQ(acedSSAdd(entity, set, same), RTNORM);  // no duplicates
    ads_name outOfRange;
    EXPECT_EQ(acedSSName(set, 2, outOfRange), RTERROR);
    EXPECT_EQ(acedSSName(set, -1, outOfRange), RTERROR);
    EXPECT_EQ(acdbEntGet(set), nullptr);  // a set is no entity
    EXPECT_EQ(contents(set), (std::vector<std::wstring>{line1, node1}));
    EXPECT_EQ(acedSSFree(set), RTERROR);
    ASSERT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);  // an empty set
    int32_t length = -1;
    EXPECT_EQ(acedSSLength(set, &length), RTNORM);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(acedSSLength(entity, &length), RTERROR);  // an entity is no set
}

TEST_F(SelectionApiTest, EntSelPicksTheNearestWithinThePickBox) {
    ads_name picked;
    ads_point at;
    ::testing::internal::CaptureStdout();
    answer("5,0.02\n");
    ASSERT_EQ(acedEntSel(L"\nSelect a polyline: ", picked, at), RTNORM);
    EXPECT_EQ(handleOf(picked), line1);
    EXPECT_DOUBLE_EQ(at[0], 5);
    answer("5,2.5\n");  // between the lines, far from both
    EXPECT_EQ(acedEntSel(nullptr, picked, at), RTERROR);
    answer("\n");
    EXPECT_EQ(acedEntSel(nullptr, picked, at), RTERROR);
    answer("*cancel*\n");
    EXPECT_EQ(acedEntSel(nullptr, picked, at), RTCAN);
    answer("");
    EXPECT_EQ(acedEntSel(nullptr, picked, at), RTCAN);
    answer("bogus\nlast\n");
    ASSERT_EQ(acedEntSel(nullptr, picked, at), RTNORM);
    EXPECT_EQ(handleOf(picked), node2);
    EXPECT_DOUBLE_EQ(at[0], 30);
    answer("#" + std::string(line2.begin(), line2.end()) + "\n");
    ASSERT_EQ(acedEntSel(nullptr, picked, at), RTNORM);
    EXPECT_EQ(handleOf(picked), line2);
    const std::string shown = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(shown.find("\nSelect a polyline: 5,0.02\n"), 0u);
    EXPECT_NE(shown.find("*Invalid selection*"), std::string::npos);
}

}  // namespace
}  // namespace tz::cad
