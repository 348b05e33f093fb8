#include "drawing/Drawing.h"

#include <gtest/gtest.h>

#include "TestLists.h"

namespace tz::cad {
namespace {

using test::at;
using test::make;
using test::makeLine;
using test::type;

uint64_t makePolyline(Drawing& drawing, int vertices) {
    make(drawing, {type(L"POLYLINE"), intGroup(66, 1)});
    for (int i = 0; i < vertices; ++i) make(drawing, {type(L"VERTEX"), at(10, i, 0)});
    return make(drawing, {type(L"SEQEND")}).handle;
}

// Entities hold their type as a pointer to one text kept for the process:
// types of equal text must share it, whatever string they were made from,
// and the type an entity has before it is given one is the empty text.
TEST(Drawing, EntityTypesOfEqualTextShareOneKeptText) {
    const std::wstring built = std::wstring(L"VER") + L"TEX";
    const EntityType fromLiteral(L"VERTEX");
    const EntityType fromString(built);
    EXPECT_EQ(&fromLiteral.text(), &fromString.text());
    EXPECT_TRUE(fromLiteral == fromString);
    EXPECT_TRUE(fromLiteral == L"VERTEX");
    EXPECT_FALSE(fromLiteral == L"VERTEXX");
    EXPECT_FALSE(fromLiteral == EntityType(L"vertex"));  // types are kept in upper case by their makers

    const EntityType none;
    EXPECT_TRUE(none.text().empty());
    EXPECT_EQ(&none.text(), &EntityType(std::wstring_view()).text());
    EXPECT_EQ(&none.text(), &EntityType(L"").text());
    EXPECT_EQ(L"a " + fromLiteral + L" here", L"a VERTEX here");
}

TEST(Drawing, NewDrawingHasLayerZeroAndTheStandardTables) {
    Drawing drawing;
    ASSERT_EQ(drawing.layers().size(), 1u);
    EXPECT_EQ(drawing.layers()[0].name, L"0");
    EXPECT_NE(Drawing::findRecord(drawing.linetypes(), L"CONTINUOUS"), nullptr);
    EXPECT_NE(Drawing::findRecord(drawing.linetypes(), L"ByLayer"), nullptr);
    EXPECT_NE(Drawing::findRecord(drawing.textStyles(), L"standard"), nullptr);
    EXPECT_FALSE(drawing.firstEntity().has_value());
    EXPECT_FALSE(drawing.lastEntity().has_value());
    Drawing other;
    EXPECT_NE(drawing.serial(), other.serial());
}

TEST(Drawing, WalkStepsIntoComplexEntitiesAndOutAgain) {
    Drawing drawing;
    const uint64_t first = makeLine(drawing, 0, 0, 1, 1);
    const uint64_t polyline = makePolyline(drawing, 2);
    const uint64_t last = makeLine(drawing, 2, 2, 3, 3);
    std::vector<std::wstring> types;
    for (std::optional<uint64_t> h = drawing.firstEntity(); h; h = drawing.nextEntity(*h)) {
        types.push_back(drawing.find(*h)->type);
    }
    EXPECT_EQ(types, (std::vector<std::wstring>{L"LINE", L"POLYLINE", L"VERTEX", L"VERTEX", L"SEQEND", L"LINE"}));
    EXPECT_EQ(drawing.firstEntity(), first);
    EXPECT_EQ(drawing.lastEntity(), last);
    // From the SEQEND the walk goes on after the polyline.
    const uint64_t seqend = drawing.find(polyline)->subEntities.back();
    EXPECT_EQ(drawing.nextEntity(seqend), last);
    EXPECT_FALSE(drawing.nextEntity(last).has_value());
    EXPECT_FALSE(drawing.nextEntity(0xFFFFFF).has_value());
}

TEST(Drawing, LongPolylineIsWalkedVertexByVertex) {
    Drawing drawing;
    const uint64_t polyline = makePolyline(drawing, 2000);
    const uint64_t after = makeLine(drawing, 0, 0, 1, 1);
    const std::vector<uint64_t>& parts = drawing.find(polyline)->subEntities;
    ASSERT_EQ(parts.size(), 2001u);
    std::optional<uint64_t> step = drawing.nextEntity(polyline);
    for (uint64_t expected : parts) {
        ASSERT_EQ(step, expected);
        step = drawing.nextEntity(*step);
    }
    EXPECT_EQ(step, after);
}

TEST(Drawing, ErasedEntitiesAreSkippedAndComeBackWhenRestored) {
    Drawing drawing;
    const uint64_t a = makeLine(drawing, 0, 0, 1, 1);
    const uint64_t polyline = makePolyline(drawing, 2);
    const uint64_t c = makeLine(drawing, 2, 2, 3, 3);
    EXPECT_TRUE(drawing.toggleErased(polyline));
    EXPECT_EQ(drawing.nextEntity(a), c);  // the whole complex entity is skipped
    EXPECT_TRUE(drawing.toggleErased(c));
    EXPECT_EQ(drawing.lastEntity(), a);
    EXPECT_FALSE(drawing.nextEntity(a).has_value());
    // The walk still goes on from an erased entity's place.
    EXPECT_FALSE(drawing.nextEntity(c).has_value());
    EXPECT_TRUE(drawing.toggleErased(a));
    EXPECT_FALSE(drawing.firstEntity().has_value());
    EXPECT_TRUE(drawing.toggleErased(polyline));  // restored
    EXPECT_EQ(drawing.firstEntity(), polyline);
    EXPECT_EQ(drawing.nextEntity(polyline), drawing.find(polyline)->subEntities.front());
    // Sub-entities are erased only with their entity.
    EXPECT_FALSE(drawing.toggleErased(drawing.find(polyline)->subEntities.front()));
    EXPECT_FALSE(drawing.toggleErased(0xFFFFFF));
}

TEST(Drawing, HandlesAreUniqueAndGrow) {
    Drawing drawing;
    std::vector<uint64_t> handles;
    for (int i = 0; i < 50; ++i) handles.push_back(makeLine(drawing, i, 0, i, 1));
    for (size_t i = 1; i < handles.size(); ++i) EXPECT_GT(handles[i], handles[i - 1]);
    EXPECT_GT(drawing.handleSeed(), handles.back());
    drawing.reserveHandle(0x1000);
    EXPECT_GT(makeLine(drawing, 0, 0, 1, 1), 0x1000u);
}

TEST(Drawing, LayersAreFoundWithoutRegardToCase) {
    Drawing drawing;
    Layer& made = drawing.ensureLayer(L"TZ_Regcontours");
    made.color = 3;
    EXPECT_EQ(&drawing.ensureLayer(L"tz_regcontours"), drawing.findLayer(L"TZ_REGCONTOURS"));
    EXPECT_EQ(drawing.layers().size(), 2u);
    EXPECT_EQ(drawing.findLayer(L"tz_regCONTOURS")->color, 3);
}

}  // namespace
}  // namespace tz::cad
