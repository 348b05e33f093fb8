// Which entities a selection takes: all, by window or crossing, the one
// nearest a pick. Only the drawing's own live top-level entities are ever
// selected (no sub-entities, nothing inside block definitions, nothing erased).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "drawing/EntityGeometry.h"

namespace tz::cad {

bool isSelectable(const Entity& entity);

// Handles in drawing order.
std::vector<uint64_t> selectAll(const Drawing& drawing);
std::vector<uint64_t> selectByWindow(const Drawing& drawing, const PlanWindow& window, bool crossing);
std::vector<uint64_t> filterSelection(const Drawing& drawing, const std::vector<uint64_t>& handles,
                                      const GroupList& filter);

// The pick box half-size in drawing units: `pickbox` pixels of a view that
// shows the drawing's extents 1000 pixels across (1000 drawing units across
// when the drawing has no extent).
double pickTolerance(const Drawing& drawing, double pickbox);

// The selectable entity nearest (x, y) in plan within `tolerance`; of equally
// near ones the one drawn last (on top).
std::optional<uint64_t> pickNearest(const Drawing& drawing, double x, double y, double tolerance);

}  // namespace tz::cad
