#include "plot/PlotScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "drawing/EntityMaker.h"

namespace tz::cad {
namespace {

Group type(const wchar_t* name) { return stringGroup(0, name); }
Group at(int code, double x, double y, double z = 0) { return pointGroup(code, {x, y, z}); }
Group layer(const wchar_t* name) { return stringGroup(8, name); }

uint64_t make(Drawing& drawing, GroupList list) {
    const MakeResult made = makeFromList(drawing, std::move(list), MakeContext{});
    EXPECT_NE(made.outcome, MakeOutcome::Rejected) << std::string(made.reason.begin(), made.reason.end());
    return made.handle;
}

void makeLayer(Drawing& drawing, const wchar_t* name, int colour) {
    make(drawing, {type(L"LAYER"), stringGroup(2, name), intGroup(62, colour)});
}

const PlotPath& pathAt(const PlotScene& scene, size_t index) {
    return std::get<PlotPath>(scene.items.at(index).shape);
}

TEST(PlotScene, ColoursComeFromTheLayerUnlessTheEntityHasItsOwn) {
    Drawing drawing;
    makeLayer(drawing, L"Roads", 1);
    make(drawing, {type(L"LINE"), layer(L"Roads"), at(10, 0, 0), at(11, 10, 0)});
    make(drawing, {type(L"LINE"), layer(L"Roads"), intGroup(62, 5), at(10, 0, 0), at(11, 10, 0)});
    make(drawing, {type(L"LINE"), layer(L"Roads"), intGroup(62, 256), at(10, 0, 0), at(11, 10, 0)});
    make(drawing, {type(L"LINE"), layer(L"Roads"), intGroup(420, 0x00FF00), at(10, 0, 0), at(11, 10, 0)});
    make(drawing, {type(L"LINE"), layer(L"Unlisted"), at(10, 0, 0), at(11, 10, 0)});
    const PlotScene scene = buildPlotScene(drawing, L"");
    ASSERT_EQ(scene.items.size(), 5u);
    EXPECT_EQ(scene.items[0].colour, aciColour(1));
    EXPECT_EQ(scene.items[1].colour, aciColour(5));
    EXPECT_EQ(scene.items[2].colour, aciColour(1));
    EXPECT_EQ(scene.items[3].colour, (PlotColour{0, 1, 0}));
    EXPECT_EQ(scene.items[4].colour, aciColour(7));  // a layer the drawing made with its defaults
    const PlotPath& line = pathAt(scene, 0);
    ASSERT_EQ(line.vertices.size(), 2u);
    EXPECT_EQ(line.vertices[1].x, 10);
    EXPECT_FALSE(line.closed);
}

TEST(PlotScene, LayersOffOrFrozenAreLeftOutUnlessAPatternNamesThem) {
    Drawing drawing;
    makeLayer(drawing, L"TZ_Regcontours", 3);
    makeLayer(drawing, L"TZ_Indxcontours", 5);
    makeLayer(drawing, L"Hidden", 2);
    makeLayer(drawing, L"Frozen", 4);
    drawing.findLayer(L"Hidden")->color = -2;
    drawing.findLayer(L"Frozen")->flags |= 1;
    for (const wchar_t* name : {L"TZ_Regcontours", L"TZ_Indxcontours", L"Hidden", L"Frozen"}) {
        make(drawing, {type(L"POINT"), layer(name), at(10, 1, 1)});
    }
    EXPECT_EQ(buildPlotScene(drawing, L"").items.size(), 2u);
    EXPECT_EQ(buildPlotScene(drawing, L"tz_*contours").items.size(), 2u);  // letters without case
    EXPECT_EQ(buildPlotScene(drawing, L"TZ_Indxcontours").items.size(), 1u);
    const PlotScene hidden = buildPlotScene(drawing, L"Hidden,Frozen");
    ASSERT_EQ(hidden.items.size(), 2u);
    EXPECT_EQ(hidden.items[0].colour, aciColour(2));  // an off layer keeps its colour
    EXPECT_TRUE(buildPlotScene(drawing, L"Nothing").items.empty());
}

TEST(PlotScene, ErasedAndPaperSpaceEntitiesAreNotShown) {
    Drawing drawing;
    const uint64_t erased = make(drawing, {type(L"LINE"), at(10, 0, 0), at(11, 1, 1)});
    drawing.toggleErased(erased);
    make(drawing, {type(L"LINE"), intGroup(67, 1), at(10, 0, 0), at(11, 1, 1)});
    make(drawing, {type(L"LINE"), at(10, 5, 5), at(11, 6, 6)});
    const PlotScene scene = buildPlotScene(drawing, L"");
    ASSERT_EQ(scene.items.size(), 1u);
    EXPECT_EQ(pathAt(scene, 0).vertices[0].x, 5);
}

TEST(PlotScene, LightweightPolylinesKeepBulgesWidthAndClosure) {
    Drawing drawing;
    make(drawing, {type(L"LWPOLYLINE"), intGroup(70, 1), realGroup(43, 2.5), at(10, 0, 0), realGroup(42, 0.5),
                   at(10, 10, 0), at(10, 10, 10)});
    const PlotScene scene = buildPlotScene(drawing, L"");
    ASSERT_EQ(scene.items.size(), 1u);
    const PlotPath& path = pathAt(scene, 0);
    ASSERT_EQ(path.vertices.size(), 3u);
    EXPECT_TRUE(path.closed);
    EXPECT_EQ(path.width, 2.5);
    EXPECT_EQ(path.vertices[0].bulge, 0.5);
    EXPECT_EQ(path.vertices[1].bulge, 0);
}

TEST(PlotScene, PolylinesTwoDimensionalThreeDimensionalAndMeshes) {
    Drawing drawing;
    // 2D with a bulge and a width.
    make(drawing, {type(L"POLYLINE"), intGroup(66, 1), realGroup(40, 1.5), realGroup(41, 1.5), at(10, 0, 0)});
    make(drawing, {type(L"VERTEX"), at(10, 0, 0), realGroup(42, -1)});
    make(drawing, {type(L"VERTEX"), at(10, 10, 0)});
    make(drawing, {type(L"SEQEND")});
    // 3D: bulges mean nothing there.
    make(drawing, {type(L"POLYLINE"), intGroup(66, 1), intGroup(70, 8), at(10, 0, 0)});
    make(drawing, {type(L"VERTEX"), intGroup(70, 32), at(10, 0, 0, 5), realGroup(42, 1)});
    make(drawing, {type(L"VERTEX"), intGroup(70, 32), at(10, 10, 0, 6)});
    make(drawing, {type(L"SEQEND")});
    // A 2 x 3 polygon mesh: two lines along each row, three along each column.
    make(drawing, {type(L"POLYLINE"), intGroup(66, 1), intGroup(70, 16), intGroup(71, 2), intGroup(72, 3), at(10, 0, 0)});
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            make(drawing, {type(L"VERTEX"), intGroup(70, 64), at(10, column, row, row + column)});
        }
    }
    make(drawing, {type(L"SEQEND")});
    const PlotScene scene = buildPlotScene(drawing, L"");
    ASSERT_EQ(scene.items.size(), 2u + 5u);
    EXPECT_EQ(pathAt(scene, 0).vertices[0].bulge, -1);
    EXPECT_EQ(pathAt(scene, 0).width, 1.5);
    EXPECT_EQ(pathAt(scene, 1).vertices[0].bulge, 0);
    EXPECT_EQ(pathAt(scene, 2).vertices.size(), 3u);  // the first row
    EXPECT_EQ(pathAt(scene, 4).vertices.size(), 2u);  // the first column
    EXPECT_EQ(pathAt(scene, 6).vertices[1].y, 1);
}

TEST(PlotScene, PolyfaceMeshEdgesWithoutTheHiddenOnes) {
    Drawing drawing;
    make(drawing, {type(L"POLYLINE"), intGroup(66, 1), intGroup(70, 64), intGroup(71, 4), intGroup(72, 2), at(10, 0, 0)});
    for (auto [x, y] : {std::pair{0, 0}, {10, 0}, {10, 10}, {0, 10}}) {
        make(drawing, {type(L"VERTEX"), intGroup(70, 192), at(10, x, y)});
    }
    // Two triangles sharing the diagonal 1-3, shown once: the second face hides it.
    make(drawing, {type(L"VERTEX"), intGroup(70, 128), at(10, 0, 0), intGroup(71, 1), intGroup(72, 2), intGroup(73, 3)});
    make(drawing, {type(L"VERTEX"), intGroup(70, 128), at(10, 0, 0), intGroup(71, -1), intGroup(72, 3), intGroup(73, 4)});
    make(drawing, {type(L"SEQEND")});
    const PlotScene scene = buildPlotScene(drawing, L"");
    ASSERT_EQ(scene.items.size(), 5u);
    EXPECT_EQ(pathAt(scene, 3).vertices[0].x, 10);  // 3 -> 4
    EXPECT_EQ(pathAt(scene, 3).vertices[1].x, 0);
    EXPECT_EQ(pathAt(scene, 4).vertices[1].y, 0);   // 4 -> 1
}

TEST(PlotScene, FacesAsOutlinesWithoutTheirInvisibleEdges) {
    Drawing drawing;
    make(drawing, {type(L"3DFACE"), at(10, 0, 0, 1), at(11, 10, 0, 2), at(12, 0, 10, 3), at(13, 0, 0, 1)});
    make(drawing, {type(L"3DFACE"), intGroup(70, 1 | 4), at(10, 0, 0), at(11, 10, 0), at(12, 10, 10), at(13, 0, 10)});
    const PlotScene scene = buildPlotScene(drawing, L"");
    ASSERT_EQ(scene.items.size(), 3u);
    const PlotPath& whole = pathAt(scene, 0);
    EXPECT_TRUE(whole.closed);
    ASSERT_EQ(whole.vertices.size(), 4u);
    EXPECT_EQ(whole.vertices[2].y, 10);
    EXPECT_EQ(pathAt(scene, 1).vertices[0].x, 10);  // edge 2, from the second corner
    EXPECT_EQ(pathAt(scene, 2).vertices[0].y, 10);  // edge 4, from the fourth corner
    EXPECT_EQ(pathAt(scene, 2).vertices[1].x, 0);
}

TEST(PlotScene, TextAtItsJustificationPointAndMTextAsPlainLines) {
    Drawing drawing;
    make(drawing, {type(L"TEXT"), at(10, 1, 2), realGroup(40, 2.5), stringGroup(1, L"left"), realGroup(50, 90)});
    make(drawing, {type(L"TEXT"), at(10, 1, 2), at(11, 7, 8), realGroup(40, 2.5), stringGroup(1, L"centre"),
                   intGroup(72, 1), intGroup(73, 3)});
    make(drawing, {type(L"MTEXT"), at(10, 3, 4), realGroup(40, 1.8), intGroup(71, 6),
                   stringGroup(1, L"{\\H2;\\C1;Big} \\\\ 1\\~2\\Pnext\\S1^2;")});
    const PlotScene scene = buildPlotScene(drawing, L"");
    ASSERT_EQ(scene.items.size(), 3u);
    const auto& left = std::get<PlotText>(scene.items[0].shape);
    EXPECT_EQ(left.x, 1);
    EXPECT_NEAR(left.rotation, std::numbers::pi / 2, 1e-12);
    EXPECT_EQ(left.horizontal, 0);
    EXPECT_EQ(left.vertical, 0);
    const auto& centred = std::get<PlotText>(scene.items[1].shape);
    EXPECT_EQ(centred.x, 7);
    EXPECT_EQ(centred.horizontal, 1);
    EXPECT_EQ(centred.vertical, 3);
    const auto& mtext = std::get<PlotText>(scene.items[2].shape);
    EXPECT_EQ(mtext.utf8, "Big \\ 1 2\nnext1/2");
    EXPECT_EQ(mtext.horizontal, 2);  // attachment 6: middle right
    EXPECT_EQ(mtext.vertical, 2);
    EXPECT_EQ(mtext.height, 1.8);
}

TEST(PlotScene, BlockReferencesAreMarkedWithTheirFirstAttribute) {
    Drawing drawing;
    make(drawing, {type(L"BLOCK"), stringGroup(2, L"TZNODE"), intGroup(70, 2), at(10, 0, 0)});
    make(drawing, {type(L"CIRCLE"), at(10, 0, 0), realGroup(40, 1)});
    make(drawing, {type(L"ATTDEF"), at(10, 1, 0), realGroup(40, 1), stringGroup(2, L"NUMBER")});
    make(drawing, {type(L"ENDBLK")});
    make(drawing, {type(L"INSERT"), stringGroup(2, L"TZNODE"), at(10, 10, 20, 30), intGroup(66, 1)});
    for (const wchar_t* text : {L"17", L"GS", L"ground shot"}) {
        make(drawing, {type(L"ATTRIB"), at(10, 10, 20, 30), realGroup(40, 1), stringGroup(1, text), stringGroup(2, L"T")});
    }
    make(drawing, {type(L"SEQEND")});
    make(drawing, {type(L"INSERT"), stringGroup(2, L"TZNODE"), at(10, 5, 5)});
    const PlotScene scene = buildPlotScene(drawing, L"");
    ASSERT_EQ(scene.items.size(), 2u);  // the block's circle is not drawn by itself
    const auto& marker = std::get<PlotMarker>(scene.items[0].shape);
    EXPECT_EQ(marker.x, 10);
    EXPECT_EQ(marker.y, 20);
    EXPECT_EQ(marker.label, "17");
    EXPECT_EQ(std::get<PlotMarker>(scene.items[1].shape).label, "");
}

TEST(PlotScene, LeadersHaveAnArrowAtTheirFirstPoint) {
    Drawing drawing;
    make(drawing, {type(L"LEADER"), stringGroup(3, L"Standard"), intGroup(71, 1), realGroup(40, 9), at(10, 0, 0),
                   at(10, 100, 100)});
    make(drawing, {type(L"LEADER"), stringGroup(3, L"Standard"), intGroup(71, 0), at(10, 0, 0), at(10, 50, 0)});
    const PlotScene scene = buildPlotScene(drawing, L"");
    ASSERT_EQ(scene.items.size(), 3u);
    const auto& arrow = std::get<PlotArrow>(scene.items[0].shape);
    EXPECT_EQ(arrow.tipX, 0);
    EXPECT_EQ(arrow.towardX, 100);
    EXPECT_EQ(arrow.size, 9);
    EXPECT_EQ(pathAt(scene, 1).vertices.size(), 2u);
    EXPECT_EQ(pathAt(scene, 2).vertices[1].x, 50);  // no arrow asked for
}

TEST(PlotScene, ArcsFromBulges) {
    // A half circle counter-clockwise from (0,0) to (10,0) passes below the chord.
    std::optional<PlotArc> arc = arcOfBulge(0, 0, 10, 0, 1);
    ASSERT_TRUE(arc.has_value());
    EXPECT_NEAR(arc->centreX, 5, 1e-12);
    EXPECT_NEAR(arc->centreY, 0, 1e-12);
    EXPECT_NEAR(arc->radius, 5, 1e-12);
    EXPECT_NEAR(arc->endAngle - arc->startAngle, std::numbers::pi, 1e-12);
    const double middle = (arc->startAngle + arc->endAngle) / 2;
    EXPECT_NEAR(arc->centreY + arc->radius * std::sin(middle), -5, 1e-12);

    arc = arcOfBulge(0, 0, 10, 0, -0.5);  // clockwise, under a half circle: above the chord
    ASSERT_TRUE(arc.has_value());
    EXPECT_LT(arc->endAngle, arc->startAngle);
    EXPECT_NEAR(arc->endAngle - arc->startAngle, -4 * std::atan(0.5), 1e-12);
    EXPECT_NEAR(std::hypot(arc->centreX - 10, arc->centreY), arc->radius, 1e-9);  // the arc ends on the end point
    EXPECT_LT(arc->centreY, 0);

    arc = arcOfBulge(0, 0, 10, 0, 0.5);  // counter-clockwise under a half circle: the centre above the chord
    ASSERT_TRUE(arc.has_value());
    EXPECT_GT(arc->centreY, 0);
    arc = arcOfBulge(0, 0, 10, 0, 2.0);  // past a half circle the centre moves across, below the chord
    ASSERT_TRUE(arc.has_value());
    EXPECT_LT(arc->centreY, 0);
    EXPECT_NEAR(arc->endAngle - arc->startAngle, 4 * std::atan(2.0), 1e-12);

    EXPECT_FALSE(arcOfBulge(0, 0, 10, 0, 0).has_value());
    EXPECT_FALSE(arcOfBulge(3, 3, 3, 3, 1).has_value());
    EXPECT_FALSE(arcOfBulge(0, 0, 10, 0, std::nan("")).has_value());
}

TEST(PlotScene, BoundsReachWhereArcsBulgeAndOverEveryKindOfItem) {
    PlotScene scene;
    EXPECT_FALSE(sceneBounds(scene).has_value());
    scene.items.push_back({{}, PlotPath{{{0, 0, 1}, {10, 0, 0}}, false, 0}});
    scene.items.push_back({{}, PlotMarker{-3, 2, "1"}});
    scene.items.push_back({{}, PlotText{20, 1, 1, 0, "t", 0, 0}});
    const std::optional<PlotBounds> bounds = sceneBounds(scene);
    ASSERT_TRUE(bounds.has_value());
    EXPECT_NEAR(bounds->minY, -5, 0.01);  // the half circle below the chord
    EXPECT_EQ(bounds->minX, -3);
    EXPECT_EQ(bounds->maxX, 20);
    EXPECT_EQ(bounds->maxY, 2);
}

TEST(PlotScene, TheIsometricViewLooksFromTheSouthWest) {
    Drawing drawing;
    make(drawing, {type(L"POINT"), at(10, 1, 0, 0)});
    make(drawing, {type(L"POINT"), at(10, 0, 1, 0)});
    make(drawing, {type(L"POINT"), at(10, 0, 0, 1)});
    make(drawing, {type(L"LWPOLYLINE"), at(10, 0, 0), realGroup(42, 1), at(10, 10, 0)});
    const PlotScene scene = buildPlotScene(drawing, L"", PlotView::isometric);
    ASSERT_EQ(scene.items.size(), 4u);
    const auto& east = std::get<PlotDot>(scene.items[0].shape);
    const auto& north = std::get<PlotDot>(scene.items[1].shape);
    const auto& up = std::get<PlotDot>(scene.items[2].shape);
    EXPECT_NEAR(east.x, 1 / std::sqrt(2.0), 1e-12);   // east runs up to the right
    EXPECT_NEAR(east.y, 1 / std::sqrt(6.0), 1e-12);
    EXPECT_NEAR(north.x, -1 / std::sqrt(2.0), 1e-12); // north up to the left
    EXPECT_NEAR(up.x, 0, 1e-12);                      // height straight up
    EXPECT_NEAR(up.y, 2 / std::sqrt(6.0), 1e-12);
    // An arc is no longer circular in this view: chords, each point on the circle.
    const PlotPath& arc = pathAt(scene, 3);
    EXPECT_GT(arc.vertices.size(), 10u);
    for (const PlotVertex& v : arc.vertices) {
        EXPECT_EQ(v.bulge, 0);
        const double x = (v.x * std::sqrt(2.0) + v.y * std::sqrt(6.0)) / 2;  // back to plan, z being 0
        const double y = (v.y * std::sqrt(6.0) - v.x * std::sqrt(2.0)) / 2;
        EXPECT_NEAR(std::hypot(x - 5, y), 5, 1e-9);
        EXPECT_LE(y, 1e-9);
    }
}

}  // namespace
}  // namespace tz::cad
