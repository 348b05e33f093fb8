// Where an entity lies, as selection by window, crossing and pick needs it
// and as the drawing's extents are computed: its shape as chains of points
// in world coordinates (extrusion directions are not applied).
#pragma once

#include <optional>
#include <vector>

#include "drawing/Drawing.h"

namespace tz::cad {

// Chains of points: lines, polyline vertices (arcs of bulged segments and
// circles as short chords), faces closed on their first corner. Text, block
// references and points are the one point where they are placed. Empty for
// entities without a position.
using EntityShape = std::vector<std::vector<Point3>>;
EntityShape entityShape(const Drawing& drawing, const Entity& entity);

// An axis-aligned rectangle in plan from two opposite corners in any order.
struct PlanWindow {
    double minX, minY, maxX, maxY;
    static PlanWindow fromCorners(double x1, double y1, double x2, double y2);
    bool contains(double x, double y) const { return x >= minX && x <= maxX && y >= minY && y <= maxY; }
};

// Window selection: every point of the shape inside (borders count).
bool shapeInsideWindow(const EntityShape& shape, const PlanWindow& window);
// Crossing selection: inside, or some chord meets the window.
bool shapeCrossesWindow(const EntityShape& shape, const PlanWindow& window);
// Plan distance from (x, y) to the nearest point or chord; nullopt for an empty shape.
std::optional<double> planDistanceToShape(const EntityShape& shape, double x, double y);

// The counter-clockwise sweep, in radians, of an arc whose end angle lies
// `sweep` radians past its start, brought into (0, 2 pi]: a turn is added to
// one that is not positive, and angles no double can turn a whole number of
// times (1e300 degrees) or that are not numbers give the full circle.
double arcSweep(double sweep);

// The bounding box of the drawing's live top-level entities; nullopt when there are none.
struct Extents {
    Point3 min, max;
};
std::optional<Extents> drawingExtents(const Drawing& drawing);

}  // namespace tz::cad
