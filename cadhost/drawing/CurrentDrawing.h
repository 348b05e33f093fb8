// The drawing the host has open, and the names (ads_name) by which the host
// interface hands out its entities.
//
// An entity name holds the entity's handle in [0] and the drawing's serial
// number in [1]; a name whose drawing has since been replaced (a drawing
// opened) no longer resolves. Selection-set names hold the set's number in
// [0] and the negated serial in [1], so no set is taken for an entity.
#pragma once

#include <cstdint>
#include <memory>

#include "drawing/Drawing.h"

namespace tz::cad {

Drawing& currentDrawing();
// Makes `drawing` the open drawing; the old one and its names are gone.
void replaceCurrentDrawing(std::unique_ptr<Drawing> drawing);

void makeEntityName(const Drawing& drawing, uint64_t handle, intptr_t name[2]);
// The entity the name stands for in this drawing, erased ones included; null otherwise.
Entity* resolveEntityName(Drawing& drawing, const intptr_t name[2]);

}  // namespace tz::cad
