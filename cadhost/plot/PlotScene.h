// What a plan-view picture of the drawing shows, as plain shapes in drawing
// units: paths (straight and arc segments), texts, arrowheads, points and
// block markers, each in its resolved colour, in drawing order. Building the
// scene reads the drawing; drawing the scene (PlotRenderer) knows nothing of
// entities.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "drawing/Drawing.h"
#include "plot/AciColours.h"

namespace tz::cad {

// A path vertex and the bulge of the segment that starts at it (0 straight;
// otherwise tan of a quarter of the arc's included angle, positive
// counter-clockwise).
struct PlotVertex {
    double x = 0;
    double y = 0;
    double bulge = 0;
};

struct PlotPath {
    std::vector<PlotVertex> vertices;
    bool closed = false;
    double width = 0;  // drawing units; 0 draws the thinnest line
};

// Text placed at an anchor point: `horizontal` 0 left, 1 centre, 2 right of
// the anchor; `vertical` 0 baseline, 1 bottom, 2 middle, 3 top. Lines are
// separated by '\n'.
struct PlotText {
    double x = 0;
    double y = 0;
    double height = 0;    // drawing units
    double rotation = 0;  // radians, counter-clockwise
    std::string utf8;
    int horizontal = 0;
    int vertical = 0;
};

// A leader's arrowhead: its tip and the point the leader runs on to.
struct PlotArrow {
    double tipX = 0, tipY = 0;
    double towardX = 0, towardY = 0;
    double size = 0;  // drawing units
};

struct PlotDot {
    double x = 0;
    double y = 0;
};

// A block reference: a small mark at its insertion point, with the text of
// its first attribute beside it (empty when it has none).
struct PlotMarker {
    double x = 0;
    double y = 0;
    std::string label;
};

struct PlotItem {
    PlotColour colour;
    std::variant<PlotPath, PlotText, PlotArrow, PlotDot, PlotMarker> shape;
};

struct PlotScene {
    std::vector<PlotItem> items;
};

// How the drawing is looked at: from above (plan), or from the south-west
// and above (isometric), which shows the relief of 3D entities.
enum class PlotView { plan, isometric };

struct PlotBounds {
    double minX, minY, maxX, maxY;
};

// The scene of the drawing's live model-space entities whose layer matches
// `layerPattern` (the host's wildcard patterns, letters without case; empty
// for every layer that is on and thawed), as seen in `view`. Layers named by
// a pattern are shown even when they are off. Kinds of entity that have no
// shape here (for example hatches and dimensions) are left out.
PlotScene buildPlotScene(const Drawing& drawing, const std::wstring& layerPattern, PlotView view = PlotView::plan);

// The plan extent of the scene's geometry (arcs included, text by its anchor
// only); nullopt for an empty scene.
std::optional<PlotBounds> sceneBounds(const PlotScene& scene);

// Centre, radius and start and end angles (radians) of the arc from (x1, y1)
// to (x2, y2) with this bulge; nullopt for a straight segment (bulge 0,
// coincident ends, or a bulge that is not finite).
struct PlotArc {
    double centreX, centreY, radius, startAngle, endAngle;  // endAngle - startAngle is the signed sweep
};
std::optional<PlotArc> arcOfBulge(double x1, double y1, double x2, double y2, double bulge);

}  // namespace tz::cad
