#include "drawing/EntityMaker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TestLists.h"
#include "drawing/EntityRules.h"

namespace tz::cad {
namespace {

using test::at;
using test::make;
using test::type;

std::vector<uint64_t> liveOrder(const Drawing& drawing) {
    std::vector<uint64_t> handles;
    for (std::optional<uint64_t> h = drawing.firstEntity(); h; h = drawing.nextEntity(*h)) handles.push_back(*h);
    return handles;
}

TEST(EntityMaker, RefusesListsThatDescribeNoValidEntity) {
    Drawing drawing;
    const std::wstring longText(70000, L'x');
    const std::wstring longGreek(10000, L'\u03b1');
    struct Case {
        const char* what;
        GroupList list;
    } cases[] = {
        {"no type", {at(10, 0, 0), at(11, 1, 1)}},
        {"unknown type", {type(L"SPLINEX"), at(10, 0, 0)}},
        {"line without end", {type(L"LINE"), at(10, 0, 0)}},
        {"line without start", {type(L"LINE"), at(11, 0, 0)}},
        {"text without height", {type(L"TEXT"), at(10, 0, 0), stringGroup(1, L"x")}},
        {"string for a point", {type(L"LINE"), stringGroup(10, L"0,0"), at(11, 1, 1)}},
        {"real for a layer", {type(L"LINE"), realGroup(8, 1.0), at(10, 0, 0), at(11, 1, 1)}},
        {"real for a colour", {type(L"LINE"), realGroup(62, 1.5), at(10, 0, 0), at(11, 1, 1)}},
        {"colour out of range", {type(L"LINE"), intGroup(62, 300), at(10, 0, 0), at(11, 1, 1)}},
        {"not a number", {type(L"LINE"), at(10, std::nan(""), 0), at(11, 1, 1)}},
        {"infinite", {type(L"POINT"), at(10, std::numeric_limits<double>::infinity(), 0)}},
        {"bad layer name", {type(L"POINT"), stringGroup(8, L"a<b"), at(10, 0, 0)}},
        {"unknown linetype", {type(L"POINT"), stringGroup(6, L"DASHDOTX"), at(10, 0, 0)}},
        {"unknown text style", {type(L"TEXT"), at(10, 0, 0), realGroup(40, 1), stringGroup(1, L"x"),
                                stringGroup(7, L"NoSuchStyle")}},
        {"zero text height", {type(L"TEXT"), at(10, 0, 0), realGroup(40, 0), stringGroup(1, L"x")}},
        {"undefined block", {type(L"INSERT"), stringGroup(2, L"NOSUCH"), at(10, 0, 0)}},
        {"no such group code", {type(L"POINT"), at(10, 0, 0), intGroup(81, 1)}},
        {"short out of range", {type(L"POINT"), at(10, 0, 0), intGroup(70, 40000)}},
        {"leader with one point", {type(L"LEADER"), at(10, 0, 0)}},
        {"lwpolyline count wrong", {type(L"LWPOLYLINE"), intGroup(90, 3), at(10, 0, 0), at(10, 1, 1)}},
        // A DXF file holds it on no line the reader takes: written as
        // escapes, 10000 Greek letters take 70000.
        {"text too long for a file", {type(L"TEXT"), at(10, 0, 0), realGroup(40, 1), stringGroup(1, longText)}},
        {"too long as written", {type(L"TEXT"), at(10, 0, 0), realGroup(40, 1), stringGroup(1, longGreek)}},
    };
    for (Case& c : cases) {
        const MakeResult result = make(drawing, c.list);
        EXPECT_EQ(result.outcome, MakeOutcome::Rejected) << c.what;
        EXPECT_FALSE(result.reason.empty()) << c.what;
    }
    EXPECT_FALSE(drawing.firstEntity().has_value());
    EXPECT_EQ(drawing.entityCount(), 0u);
}

TEST(EntityMaker, MtextOfAnyLengthAndTextsWithinALineAreMade) {
    Drawing drawing;
    const std::wstring longText(70000, L'x');
    EXPECT_EQ(make(drawing, {type(L"MTEXT"), at(10, 0, 0), stringGroup(1, longText)}).outcome, MakeOutcome::Made);
    // Just under the limit as written: 9362 Greek letters take 65534.
    EXPECT_EQ(make(drawing, {type(L"TEXT"), at(10, 0, 0), realGroup(40, 1), stringGroup(1, std::wstring(9362, L'\u03b1'))})
                  .outcome,
              MakeOutcome::Made);
}

TEST(EntityMaker, SimpleEntitiesGetHandlesLayerFirstAndDefaults) {
    Drawing drawing;
    const MakeResult line = make(drawing, {type(L"line"), at(10, 1, 2, 3), at(11, 4, 5, 6), intGroup(62, 1)}, L"Work");
    ASSERT_EQ(line.outcome, MakeOutcome::Made);
    const Entity* entity = drawing.find(line.handle);
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(entity->type, L"LINE");
    ASSERT_FALSE(entity->data.empty());
    EXPECT_EQ(entity->data.front(), stringGroup(8, L"Work"));  // the current layer, first
    EXPECT_NE(drawing.findLayer(L"WORK"), nullptr);           // made on the way
    EXPECT_EQ(groupPoint(entity->data, 11), (Point3{4, 5, 6}));

    const MakeResult face = make(drawing, {type(L"3DFACE"), at(10, 0, 0, 1), at(11, 1, 0, 2), at(12, 0, 1, 3)});
    EXPECT_EQ(groupPoint(drawing.find(face.handle)->data, 13), (Point3{0, 1, 3}));  // fourth corner = third
    EXPECT_GT(face.handle, line.handle);

    // Integers given for reals are taken as reals.
    const MakeResult text = make(drawing, {type(L"TEXT"), at(10, 0, 0), intGroup(40, 2), stringGroup(1, L"x")});
    ASSERT_EQ(text.outcome, MakeOutcome::Made);
    EXPECT_EQ(groupReal(drawing.find(text.handle)->data, 40), 2.0);
    EXPECT_EQ(groupString(drawing.find(text.handle)->data, 7), L"Standard");

    // Derived groups in the list are ignored.
    const MakeResult point = make(drawing, {type(L"POINT"), stringGroup(5, L"FFFF"), stringGroup(100, L"AcDbPoint"),
                                            at(10, 7, 8, 9)});
    ASSERT_EQ(point.outcome, MakeOutcome::Made);
    EXPECT_NE(point.handle, 0xFFFFu);
    EXPECT_EQ(findGroup(drawing.find(point.handle)->data, 100), nullptr);
}

TEST(EntityMaker, PolylineJoinsTheDrawingOnlyWithItsSeqend) {
    Drawing drawing;
    EXPECT_EQ(make(drawing, {type(L"POLYLINE"), stringGroup(8, L"TZ_Mesh"), at(10, 5, 5, 100), intGroup(66, 1),
                             intGroup(70, 8)}).outcome,
              MakeOutcome::Continued);
    EXPECT_EQ(make(drawing, {type(L"VERTEX"), at(10, 0, 0, 100)}).outcome, MakeOutcome::Continued);
    EXPECT_EQ(make(drawing, {type(L"VERTEX"), at(10, 5, 0, 101)}).outcome, MakeOutcome::Continued);
    EXPECT_FALSE(drawing.firstEntity().has_value());  // nothing visible yet
    const MakeResult end = make(drawing, {type(L"SEQEND")});
    ASSERT_EQ(end.outcome, MakeOutcome::Made);

    const std::vector<uint64_t> walk = liveOrder(drawing);
    ASSERT_EQ(walk.size(), 4u);
    EXPECT_EQ(walk[0], end.handle);
    const Entity* polyline = drawing.find(walk[0]);
    EXPECT_EQ(polyline->type, L"POLYLINE");
    EXPECT_EQ(groupPoint(polyline->data, 10), (Point3{0, 0, 0}));  // a 3D polyline's header holds no position
    EXPECT_EQ(drawing.find(walk[1])->type, L"VERTEX");
    EXPECT_EQ(drawing.find(walk[2])->type, L"VERTEX");
    EXPECT_EQ(drawing.find(walk[3])->type, L"SEQEND");
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(drawing.find(walk[i])->owner, walk[0]);
        EXPECT_EQ(groupString(drawing.find(walk[i])->data, 8), L"TZ_Mesh");  // the polyline's layer
    }
    // Vertices of a 3D polyline are 3D vertices (32) and keep their z.
    EXPECT_EQ(groupInt(drawing.find(walk[1])->data, 70), 32);
    EXPECT_EQ(groupPoint(drawing.find(walk[2])->data, 10), (Point3{5, 0, 101}));
    // Handles follow creation order: header, vertices, end.
    EXPECT_LT(walk[0], walk[1]);
    EXPECT_LT(walk[2], walk[3]);
    EXPECT_EQ(drawing.lastEntity(), walk[0]);
}

TEST(EntityMaker, PlainVerticesGetWhatTheGeneralChecksGive) {
    // Vertex lists of a point and maybe its flags take a short way; what they
    // get must be what the general preparation gives the same list.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const GroupList lists[] = {
        {at(10, 1, 2, 3)},
        {at(10, 1, 2, 3), intGroup(70, 0)},
        {at(10, 1, 2, 3), intGroup(70, 32)},
        {at(10, 1, 2, 3), intGroup(70, 5)},
        {at(10, 1, 2, 3), intGroup(70, -32768)},
        {at(10, 1, 2, 3), intGroup(70, 40000)},  // out of range
        {at(10, 1, 2, 3), realGroup(70, 1.0)},   // not an integer
        {intGroup(70, 32), at(10, 1, 2, 3)},     // flags first
        {at(10, nan, 2, 3)},
        {pointGroup(10, {1, 2, std::numeric_limits<double>::infinity()})},
        {at(10, 1, 2, 3), realGroup(42, 0.5)},
    };
    for (const int polylineFlags : {0, 8}) {
        for (const GroupList& list : lists) {
            Drawing drawing;
            make(drawing, {type(L"LAYER"), stringGroup(2, L"TZ_Mesh")});
            make(drawing, {type(L"POLYLINE"), stringGroup(8, L"tz_mesh"), intGroup(66, 1), intGroup(70, polylineFlags)});
            const Entity polyline = *drawing.pending().complexEntity;
            GroupList expected = list;
            MakeContext context;
            context.inheritedLayer = &std::get<std::wstring>(findGroup(polyline.data, 8)->value);
            const bool refused = !prepareEntityData(drawing, L"VERTEX", expected, context, &polyline).empty();

            GroupList vertex = list;
            vertex.insert(vertex.begin(), type(L"VERTEX"));
            const MakeResult made = make(drawing, vertex);
            EXPECT_EQ(made.outcome, refused ? MakeOutcome::Rejected : MakeOutcome::Continued);
            if (refused) continue;
            const MakeResult end = make(drawing, {type(L"SEQEND")});
            ASSERT_EQ(end.outcome, MakeOutcome::Made);
            EXPECT_EQ(drawing.find(drawing.find(end.handle)->subEntities[0])->data, expected);
        }
    }
}

TEST(EntityMaker, TwoDimensionalPolylineKeepsItsElevation) {
    Drawing drawing;
    make(drawing, {type(L"POLYLINE"), at(10, 3, 4, 105), realGroup(40, 0.5), realGroup(41, 0.5), intGroup(66, 1)});
    make(drawing, {type(L"VERTEX"), at(10, 3, 4, 105), realGroup(42, 0.25)});
    const uint64_t handle = make(drawing, {type(L"SEQEND")}).handle;
    const Entity* polyline = drawing.find(handle);
    EXPECT_EQ(groupPoint(polyline->data, 10), (Point3{0, 0, 105}));
    EXPECT_EQ(groupReal(polyline->data, 40), 0.5);
    EXPECT_EQ(groupInt(drawing.find(polyline->subEntities[0])->data, 70), 0);
    EXPECT_EQ(groupReal(drawing.find(polyline->subEntities[0])->data, 42), 0.25);
}

TEST(EntityMaker, AnUnrelatedEntityDiscardsTheOpenComplexEntity) {
    Drawing drawing;
    make(drawing, {type(L"POLYLINE"), intGroup(66, 1)});
    make(drawing, {type(L"VERTEX"), at(10, 0, 0)});
    const MakeResult line = make(drawing, {type(L"LINE"), at(10, 0, 0), at(11, 1, 1)});
    EXPECT_EQ(line.outcome, MakeOutcome::Made);
    // The polyline is gone: its vertices and end now have nothing to join.
    EXPECT_EQ(make(drawing, {type(L"VERTEX"), at(10, 1, 0)}).outcome, MakeOutcome::Rejected);
    EXPECT_EQ(make(drawing, {type(L"SEQEND")}).outcome, MakeOutcome::Rejected);
    EXPECT_EQ(liveOrder(drawing), std::vector<uint64_t>{line.handle});
    // An unknown type makes nothing and leaves an open polyline open.
    make(drawing, {type(L"POLYLINE"), intGroup(66, 1)});
    make(drawing, {type(L"VERTEX"), at(10, 0, 0)});
    EXPECT_EQ(make(drawing, {type(L"NOSUCHKIND")}).outcome, MakeOutcome::Rejected);
    EXPECT_EQ(make(drawing, {type(L"VERTEX"), at(10, 1, 0)}).outcome, MakeOutcome::Continued);
    EXPECT_EQ(make(drawing, {type(L"SEQEND")}).outcome, MakeOutcome::Made);
}

TEST(EntityMaker, SubEntitiesNeedTheirOwnKindOfParent) {
    Drawing drawing;
    EXPECT_EQ(make(drawing, {type(L"VERTEX"), at(10, 0, 0)}).outcome, MakeOutcome::Rejected);
    EXPECT_EQ(make(drawing, {type(L"ATTRIB"), at(10, 0, 0), realGroup(40, 1), stringGroup(1, L"1"),
                             stringGroup(2, L"T")}).outcome,
              MakeOutcome::Rejected);
    make(drawing, {type(L"POLYLINE"), intGroup(66, 1)});
    EXPECT_EQ(make(drawing, {type(L"ATTRIB"), at(10, 0, 0), realGroup(40, 1), stringGroup(1, L"1"),
                             stringGroup(2, L"T")}).outcome,
              MakeOutcome::Rejected);
    // A polyline without vertices is refused at its end, and is gone.
    EXPECT_EQ(make(drawing, {type(L"SEQEND")}).outcome, MakeOutcome::Rejected);
    EXPECT_EQ(make(drawing, {type(L"VERTEX"), at(10, 0, 0)}).outcome, MakeOutcome::Rejected);
    EXPECT_FALSE(drawing.firstEntity().has_value());
}

TEST(EntityMaker, PointBlockWithAttributes) {
    Drawing drawing;
    EXPECT_EQ(make(drawing, {type(L"BLOCK"), stringGroup(2, L"TZNODE"), intGroup(70, 2), at(10, 0, 0)}).outcome,
              MakeOutcome::Continued);
    const MakeResult inside = make(drawing, {type(L"POINT"), at(10, 0, 0)});
    EXPECT_EQ(inside.outcome, MakeOutcome::Made);
    make(drawing, {type(L"ATTDEF"), at(10, 1, 0), realGroup(40, 1), stringGroup(2, L"PNUM")});
    EXPECT_EQ(make(drawing, {type(L"ENDBLK")}).outcome, MakeOutcome::Made);
    const BlockDefinition* block = drawing.findBlock(L"tznode");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->entities.size(), 2u);
    EXPECT_FALSE(drawing.firstEntity().has_value());  // block contents are not the drawing's entities
    // The walk inside a block stays in the block.
    EXPECT_EQ(drawing.nextEntity(block->entities[0]), block->entities[1]);
    EXPECT_FALSE(drawing.nextEntity(block->entities[1]).has_value());

    EXPECT_EQ(make(drawing, {type(L"INSERT"), stringGroup(2, L"tznode"), at(10, 10, 20, 30), intGroup(66, 1)}).outcome,
              MakeOutcome::Continued);
    for (const wchar_t* text : {L"12", L"", L"kerb"}) {
        EXPECT_EQ(make(drawing, {type(L"ATTRIB"), at(10, 10, 20, 30), realGroup(40, 1), stringGroup(1, text),
                                 stringGroup(2, L"T")}).outcome,
                  MakeOutcome::Continued);
    }
    const uint64_t insert = make(drawing, {type(L"SEQEND")}).handle;
    EXPECT_EQ(groupString(drawing.find(insert)->data, 2), L"TZNODE");  // the block's own spelling
    const std::vector<uint64_t> walk = liveOrder(drawing);
    ASSERT_EQ(walk.size(), 5u);
    EXPECT_EQ(groupString(drawing.find(walk[1])->data, 1), L"12");
    EXPECT_EQ(groupString(drawing.find(walk[3])->data, 1), L"kerb");
    EXPECT_EQ(drawing.find(walk[4])->type, L"SEQEND");

    // An INSERT announcing attributes that never come is a plain INSERT.
    make(drawing, {type(L"INSERT"), stringGroup(2, L"TZNODE"), at(10, 0, 0), intGroup(66, 1)});
    const uint64_t plain = make(drawing, {type(L"SEQEND")}).handle;
    EXPECT_TRUE(drawing.find(plain)->subEntities.empty());
    EXPECT_EQ(findGroup(drawing.find(plain)->data, 66), nullptr);
}

TEST(EntityMaker, BlockDefinitionRules) {
    Drawing drawing;
    EXPECT_EQ(make(drawing, {type(L"ENDBLK")}).outcome, MakeOutcome::Rejected);
    EXPECT_EQ(make(drawing, {type(L"BLOCK"), at(10, 0, 0)}).outcome, MakeOutcome::Rejected);  // no name
    EXPECT_EQ(make(drawing, {type(L"BLOCK"), stringGroup(2, L"*Model_Space")}).outcome, MakeOutcome::Rejected);
    make(drawing, {type(L"BLOCK"), stringGroup(2, L"B")});
    EXPECT_EQ(make(drawing, {type(L"BLOCK"), stringGroup(2, L"C")}).outcome, MakeOutcome::Rejected);  // nested
    make(drawing, {type(L"LINE"), at(10, 0, 0), at(11, 1, 0)});
    make(drawing, {type(L"ENDBLK")});
    // Redefinition replaces the contents.
    make(drawing, {type(L"BLOCK"), stringGroup(2, L"b")});
    make(drawing, {type(L"CIRCLE"), at(10, 0, 0), realGroup(40, 1)});
    make(drawing, {type(L"POINT"), at(10, 0, 0)});
    make(drawing, {type(L"ENDBLK")});
    ASSERT_EQ(drawing.blocks().size(), 1u);
    ASSERT_EQ(drawing.blocks()[0].entities.size(), 2u);
    EXPECT_EQ(drawing.find(drawing.blocks()[0].entities[0])->type, L"CIRCLE");
}

TEST(EntityMaker, ABlockMayNotInsertItself) {
    Drawing drawing;
    make(drawing, {type(L"BLOCK"), stringGroup(2, L"C")});
    make(drawing, {type(L"POINT"), at(10, 0, 0)});
    make(drawing, {type(L"ENDBLK")});
    make(drawing, {type(L"BLOCK"), stringGroup(2, L"D")});
    make(drawing, {type(L"INSERT"), stringGroup(2, L"C"), at(10, 0, 0)});
    make(drawing, {type(L"ENDBLK")});
    // Directly, and through D: C redefined to insert D, which inserts C.
    make(drawing, {type(L"BLOCK"), stringGroup(2, L"E")});
    EXPECT_EQ(make(drawing, {type(L"INSERT"), stringGroup(2, L"E"), at(10, 0, 0)}).outcome, MakeOutcome::Rejected);
    make(drawing, {type(L"ENDBLK")});
    make(drawing, {type(L"BLOCK"), stringGroup(2, L"c")});
    make(drawing, {type(L"INSERT"), stringGroup(2, L"D"), at(10, 0, 0)});
    const MakeResult closing = make(drawing, {type(L"ENDBLK")});
    EXPECT_EQ(closing.outcome, MakeOutcome::Rejected);
    EXPECT_EQ(closing.reason, L"the block \"c\" would contain itself");
    // C keeps its point; a new block may open.
    ASSERT_NE(drawing.findBlock(L"C"), nullptr);
    ASSERT_EQ(drawing.findBlock(L"C")->entities.size(), 1u);
    EXPECT_EQ(drawing.find(drawing.findBlock(L"C")->entities[0])->type, L"POINT");
    EXPECT_EQ(make(drawing, {type(L"BLOCK"), stringGroup(2, L"F")}).outcome, MakeOutcome::Continued);
}

TEST(EntityMaker, LayerListsMakeAndUpdateLayers) {
    Drawing drawing;
    // The suite names the layer in group 8.
    EXPECT_EQ(make(drawing, {type(L"LAYER"), stringGroup(6, L"CONTINUOUS"), stringGroup(8, L"TZ_Tin"),
                             intGroup(62, 5)}).outcome,
              MakeOutcome::Made);
    const Layer* layer = drawing.findLayer(L"tz_tin");
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->name, L"TZ_Tin");
    EXPECT_EQ(layer->color, 5);
    EXPECT_EQ(layer->linetype, L"Continuous");
    // Again with another colour: one layer, updated.
    make(drawing, {type(L"LAYER"), stringGroup(2, L"TZ_TIN"), intGroup(62, 3)});
    EXPECT_EQ(drawing.layers().size(), 2u);
    EXPECT_EQ(drawing.findLayer(L"TZ_Tin")->color, 3);
    EXPECT_EQ(make(drawing, {type(L"LAYER"), stringGroup(8, L"X"), stringGroup(6, L"NOSUCH")}).outcome,
              MakeOutcome::Rejected);
    EXPECT_EQ(make(drawing, {type(L"LAYER"), stringGroup(8, L"X"), intGroup(62, 0)}).outcome, MakeOutcome::Rejected);
    EXPECT_EQ(make(drawing, {type(L"LAYER"), intGroup(62, 1)}).outcome, MakeOutcome::Rejected);
    EXPECT_EQ(drawing.findLayer(L"X"), nullptr);
    EXPECT_NE(drawing.findLayer(L"0"), nullptr);  // always there
}

TEST(EntityMaker, LightweightPolylineVerticesInFullForm) {
    Drawing drawing;
    const MakeResult made = make(drawing, {type(L"LWPOLYLINE"), at(10, 0, 0, 7), at(10, 10, 0), realGroup(42, 0.5),
                                           at(10, 10, 10), realGroup(40, 1.0)});
    ASSERT_EQ(made.outcome, MakeOutcome::Made);
    const GroupList& data = drawing.find(made.handle)->data;
    EXPECT_EQ(groupInt(data, 90), 3);
    // Every 10 is followed by its 40, 41 and 42, as profile walking expects.
    std::vector<int> codes;
    std::vector<double> bulges;
    for (const Group& group : data) {
        if (group.code == 10 || group.code == 40 || group.code == 41 || group.code == 42) codes.push_back(group.code);
        if (group.code == 42) bulges.push_back(std::get<double>(group.value));
    }
    EXPECT_EQ(codes, (std::vector<int>{10, 40, 41, 42, 10, 40, 41, 42, 10, 40, 41, 42}));
    EXPECT_EQ(bulges, (std::vector<double>{0, 0.5, 0}));
    EXPECT_EQ(groupPoint(data, 10), (Point3{0, 0, 0}));  // light-weight vertices are 2D
}

TEST(EntityMaker, LeaderCountsItsPoints) {
    Drawing drawing;
    const MakeResult made = make(drawing, {type(L"LEADER"), at(10, 0, 0), at(10, 5, 5), at(10, 6, 5), intGroup(76, 9)});
    ASSERT_EQ(made.outcome, MakeOutcome::Made);
    EXPECT_EQ(groupInt(drawing.find(made.handle)->data, 76), 3);
    EXPECT_EQ(groupString(drawing.find(made.handle)->data, 3), L"Standard");
}

}  // namespace
}  // namespace tz::cad
