// acdbEnt* and the table calls as plug-ins use them, through result buffer lists.
#include <gtest/gtest.h>

#include "HostApiFixture.h"

namespace tz::cad {
namespace {

using test::HostApiTest;

class EntitiesApiTest : public HostApiTest {
protected:
    int makeLine(const ACHAR* layer, double x1, double y1, double x2, double y2) {
        ads_point from = {x1, y1, 0}, to = {x2, y2, 0};
        resbuf* list = acutBuildList(RTDXF0, L"LINE", 8, layer, 10, from, 11, to, 0);
        const int status = acdbEntMake(list);
        acutRelRb(list);
        return status;
    }
    int makeContourPolyline() {
        ads_point first = {1, 2, 105};
        resbuf* header = acutBuildList(RTDXF0, L"POLYLINE", 8, L"TZ_Regcontours", 10, first, 40, 0.5, 41, 0.5, 66, 1, 0);
        int status = acdbEntMake(header);
        acutRelRb(header);
        for (double x : {1.0, 5.0}) {
            ads_point at = {x, 2, 105};
            resbuf* vertex = acutBuildList(RTDXF0, L"VERTEX", 10, at, 0);
            if (status == RTNORM) status = acdbEntMake(vertex);
            acutRelRb(vertex);
        }
        resbuf* end = acutBuildList(RTDXF0, L"SEQEND", 0);
        if (status == RTNORM) status = acdbEntMake(end);
        acutRelRb(end);
        return status;
    }
    std::wstring typeOf(const ads_name name) {
        resbuf* list = acdbEntGet(name);
        const std::wstring type = text(group(list, 0));
        acutRelRb(list);
        return type;
    }
};

TEST_F(EntitiesApiTest, ComplexEntityIsWalkedWithEntNext) {
    ASSERT_EQ(makeLine(L"0", 0, 0, 1, 1), RTNORM);
    ASSERT_EQ(makeContourPolyline(), RTNORM);
    ads_name last;
    ASSERT_EQ(acdbEntLast(last), RTNORM);
    EXPECT_EQ(typeOf(last), L"POLYLINE");

    std::vector<std::wstring> types;
    ads_name current = {0, 0};
    ads_name next;
    while (acdbEntNext(types.empty() ? nullptr : current, next) == RTNORM) {
        types.push_back(typeOf(next));
        ads_name_set(next, current);
    }
    EXPECT_EQ(types, (std::vector<std::wstring>{L"LINE", L"POLYLINE", L"VERTEX", L"VERTEX", L"SEQEND"}));
    // A nil name also starts at the first entity.
    ads_name nil = {0, 0};
    ASSERT_EQ(acdbEntNext(nil, next), RTNORM);
    EXPECT_EQ(typeOf(next), L"LINE");
}

TEST_F(EntitiesApiTest, EntGetListsNameTypeHandleLayerFirst) {
    ASSERT_EQ(makeContourPolyline(), RTNORM);
    ads_name polyline, vertex;
    acdbEntLast(polyline);
    resbuf* list = acdbEntGet(polyline);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->restype, -1);
    EXPECT_TRUE(ads_name_equal(list->resval.rlname, polyline));
    EXPECT_EQ(list->rbnext->restype, 0);
    EXPECT_EQ(text(list->rbnext), L"POLYLINE");
    EXPECT_EQ(list->rbnext->rbnext->restype, 5);
    EXPECT_EQ(list->rbnext->rbnext->rbnext->restype, 8);
    EXPECT_EQ(text(list->rbnext->rbnext->rbnext), L"TZ_Regcontours");
    EXPECT_EQ(group(list, 66)->resval.rint, 1);
    EXPECT_DOUBLE_EQ(group(list, 10)->resval.rpoint[2], 105);
    const std::wstring handle = text(group(list, 5));
    acutRelRb(list);

    ASSERT_EQ(acdbEntNext(polyline, vertex), RTNORM);
    list = acdbEntGet(vertex);
    EXPECT_TRUE(ads_name_equal(group(list, 330)->resval.rlname, polyline));  // its owner
    EXPECT_DOUBLE_EQ(group(list, 10)->resval.rpoint[0], 1);
    acutRelRb(list);

    ads_name byHandle;
    ASSERT_EQ(acdbHandEnt(handle.c_str(), byHandle), RTNORM);
    EXPECT_TRUE(ads_name_equal(byHandle, polyline));
    EXPECT_EQ(acdbHandEnt(L"zz", byHandle), RTERROR);
    EXPECT_EQ(acdbHandEnt(L"FFFFF", byHandle), RTERROR);
}

TEST_F(EntitiesApiTest, BadListsMakeNothing) {
    ads_point p = {0, 0, 0};
    resbuf* noEnd = acutBuildList(RTDXF0, L"LINE", 10, p, 0);
    EXPECT_EQ(acdbEntMake(noEnd), RTERROR);
    acutRelRb(noEnd);
    resbuf* unknown = acutBuildList(RTDXF0, L"NOSUCH", 10, p, 0);
    EXPECT_EQ(acdbEntMake(unknown), RTERROR);
    acutRelRb(unknown);
    EXPECT_EQ(acdbEntMake(nullptr), RTERROR);
    ads_name stale = {0x7FFF, 12345};
    resbuf* badName = acutBuildList(RTDXF0, L"LEADER", 10, p, 10, p, 340, stale, 0);
    EXPECT_EQ(acdbEntMake(badName), RTERROR);
    acutRelRb(badName);
    ads_name last;
    EXPECT_EQ(acdbEntLast(last), RTERROR);
}

TEST_F(EntitiesApiTest, EntMakeXNamesWhatItMade) {
    ads_point a = {0, 0, 0}, b = {3, 4, 0};
    resbuf* line = acutBuildList(RTDXF0, L"LINE", 10, a, 11, b, 0);
    ads_name made;
    ASSERT_EQ(acdbEntMakeX(line, made), RTNORM);
    acutRelRb(line);
    ads_name last;
    acdbEntLast(last);
    EXPECT_TRUE(ads_name_equal(made, last));
    resbuf* header = acutBuildList(RTDXF0, L"POLYLINE", 66, 1, 0);
    ASSERT_EQ(acdbEntMakeX(header, made), RTNORM);  // open: no name yet
    acutRelRb(header);
    EXPECT_TRUE(ads_name_nil(made));
}

TEST_F(EntitiesApiTest, EntDelTogglesAndEntModChanges) {
    ASSERT_EQ(makeLine(L"0", 0, 0, 1, 1), RTNORM);
    ads_name line;
    acdbEntLast(line);
    ASSERT_EQ(acdbEntDel(line), RTNORM);
    EXPECT_EQ(acdbEntGet(line), nullptr);
    ads_name any;
    EXPECT_EQ(acdbEntLast(any), RTERROR);
    ASSERT_EQ(acdbEntDel(line), RTNORM);  // restored
    resbuf* list = acdbEntGet(line);
    ASSERT_NE(list, nullptr);
    acutRelRb(list);

    // Move the end point and the layer; the groups not named stay.
    ads_point to = {9, 9, 0};
    resbuf* change = acutBuildList(-1, line, 8, L"NewL", 11, to, 0);
    EXPECT_EQ(acdbEntMod(change), RTNORM);
    acutRelRb(change);
    list = acdbEntGet(line);
    EXPECT_EQ(text(group(list, 8)), L"NewL");
    EXPECT_DOUBLE_EQ(group(list, 11)->resval.rpoint[0], 9);
    EXPECT_DOUBLE_EQ(group(list, 10)->resval.rpoint[0], 0);
    acutRelRb(list);

    // A change that would spoil the entity changes nothing.
    resbuf* badColour = acutBuildList(-1, line, 62, 999, 0);
    EXPECT_EQ(acdbEntMod(badColour), RTERROR);
    acutRelRb(badColour);
    list = acdbEntGet(line);
    EXPECT_EQ(group(list, 62), nullptr);
    acutRelRb(list);

    resbuf* wrongType = acutBuildList(-1, line, RTDXF0, L"CIRCLE", 0);
    EXPECT_EQ(acdbEntMod(wrongType), RTERROR);
    acutRelRb(wrongType);
    ads_point p = {0, 0, 0};
    resbuf* noName = acutBuildList(10, p, 0);
    EXPECT_EQ(acdbEntMod(noName), RTERROR);
    acutRelRb(noName);
}

TEST_F(EntitiesApiTest, LayerListsAndTableReads) {
    resbuf* layer = acutBuildList(RTDXF0, L"LAYER", 6, L"CONTINUOUS", 8, L"TZ_Tin", 62, 5, 0);
    EXPECT_EQ(acdbEntMake(layer), RTNORM);
    acutRelRb(layer);
    resbuf* found = acdbTblSearch(L"LAYER", L"tz_tin", 0);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(text(group(found, 2)), L"TZ_Tin");
    EXPECT_EQ(group(found, 62)->resval.rint, 5);
    EXPECT_EQ(text(group(found, 6)), L"Continuous");
    acutRelRb(found);
    EXPECT_EQ(acdbTblSearch(L"LAYER", L"nosuch", 0), nullptr);

    std::vector<std::wstring> names;
    for (resbuf* record = acdbTblNext(L"LAYER", 1); record != nullptr; record = acdbTblNext(L"LAYER", 0)) {
        names.push_back(text(group(record, 2)));
        acutRelRb(record);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"0", L"TZ_Tin"}));
}

TEST_F(EntitiesApiTest, BlockDefinitionByEntMakeAndItsEntities) {
    ads_point origin = {0, 0, 0};
    resbuf* begin = acutBuildList(RTDXF0, L"BLOCK", 2, L"TZNODE", 70, 2, 10, origin, 0);
    resbuf* point = acutBuildList(RTDXF0, L"POINT", 10, origin, 0);
    resbuf* end = acutBuildList(RTDXF0, L"ENDBLK", 0);
    EXPECT_EQ(acdbEntMake(begin), RTNORM);
    EXPECT_EQ(acdbEntMake(point), RTNORM);
    EXPECT_EQ(acdbEntMake(end), RTNORM);
    acutRelRb(begin);
    acutRelRb(point);
    acutRelRb(end);
    resbuf* block = acdbTblSearch(L"BLOCK", L"TZNODE", 0);
    ASSERT_NE(block, nullptr);
    const resbuf* first = group(block, -2);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(typeOf(first->resval.rlname), L"POINT");
    ads_name after;
    EXPECT_EQ(acdbEntNext(first->resval.rlname, after), RTERROR);  // the walk stays in the block
    acutRelRb(block);
    ads_name last;
    EXPECT_EQ(acdbEntLast(last), RTERROR);  // nothing in the drawing itself
}

TEST_F(EntitiesApiTest, NamesOfAnotherDrawingAreRefused) {
    ASSERT_EQ(makeLine(L"0", 0, 0, 1, 1), RTNORM);
    ads_name line;
    acdbEntLast(line);
    replaceCurrentDrawing(std::make_unique<Drawing>());
    EXPECT_EQ(acdbEntGet(line), nullptr);
    ads_name next;
    EXPECT_EQ(acdbEntNext(line, next), RTERROR);
    EXPECT_EQ(acdbEntDel(line), RTERROR);
}

}  // namespace
}  // namespace tz::cad
