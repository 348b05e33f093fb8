// How each kind of entity the drawing knows is laid out in an AutoCAD 2000
// DXF file: its subclass markers and, under each, the group codes in order.
#pragma once

#include <string_view>
#include <vector>

#include "drawing/Entity.h"

namespace tz::cad {

// Codes written together in the order the entity holds them (a light-weight
// polyline's vertices: 10, 40, 41, 42 repeated); most items have one code.
struct DxfLayoutItem {
    std::vector<int> codes;
    bool planar = false;  // points of these codes have no z in the file
};

struct DxfSubclass {
    const char* marker;  // the 100 group
    std::vector<DxfLayoutItem> items;
};

// AcDbEntity: what every entity has (layer, linetype, colour, ...).
const DxfSubclass& entitySubclass();

// The subclasses after AcDbEntity for an entity of a known kind; a VERTEX's
// depends on its own flags, a POLYLINE's on its flags. Empty for SEQEND.
std::vector<const DxfSubclass*> entitySubclasses(const Entity& entity);

}  // namespace tz::cad
