#include "drawing/EntitySelection.h"

#include <algorithm>

#include "drawing/SelectionFilter.h"

namespace tz::cad {

bool isSelectable(const Entity& entity) { return !entity.erased && !entity.isSubEntity() && entity.block == 0; }

std::vector<uint64_t> selectAll(const Drawing& drawing) {
    std::vector<uint64_t> handles;
    for (uint64_t handle : drawing.entityOrder()) {
        const Entity* entity = drawing.find(handle);
        if (entity != nullptr && isSelectable(*entity)) handles.push_back(handle);
    }
    return handles;
}

std::vector<uint64_t> selectByWindow(const Drawing& drawing, const PlanWindow& window, bool crossing) {
    std::vector<uint64_t> handles;
    for (uint64_t handle : selectAll(drawing)) {
        const EntityShape shape = entityShape(drawing, *drawing.find(handle));
        if (crossing ? shapeCrossesWindow(shape, window) : shapeInsideWindow(shape, window)) handles.push_back(handle);
    }
    return handles;
}

std::vector<uint64_t> filterSelection(const Drawing& drawing, const std::vector<uint64_t>& handles,
                                      const GroupList& filter) {
    std::vector<uint64_t> kept;
    for (uint64_t handle : handles) {
        const Entity* entity = drawing.find(handle);
        if (entity != nullptr && matchesFilter(*entity, filter)) kept.push_back(handle);
    }
    return kept;
}

double pickTolerance(const Drawing& drawing, double pickbox) {
    double viewSize = 1000;
    if (std::optional<Extents> extents = drawingExtents(drawing)) {
        const double size = std::max(extents->max.x - extents->min.x, extents->max.y - extents->min.y);
        if (size > 0) viewSize = size;
    }
    return std::max(pickbox, 0.0) * viewSize / 1000;
}

std::optional<uint64_t> pickNearest(const Drawing& drawing, double x, double y, double tolerance) {
    std::optional<uint64_t> best;
    double bestDistance = 0;
    for (uint64_t handle : selectAll(drawing)) {
        const std::optional<double> distance = planDistanceToShape(entityShape(drawing, *drawing.find(handle)), x, y);
        if (!distance || *distance > tolerance) continue;
        if (!best || *distance <= bestDistance) {
            best = handle;
            bestDistance = *distance;
        }
    }
    return best;
}

}  // namespace tz::cad
