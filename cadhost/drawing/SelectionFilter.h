// Selection filters: lists of DXF groups that an entity must all match to
// enter a selection set.
#pragma once

#include <string>

#include "drawing/Drawing.h"

namespace tz::cad {

// Empty when the filter can be applied, else the reason (for example the
// -4 operators, which this host does not offer).
std::wstring checkFilter(const GroupList& filter);

// True when the entity matches every group of the filter. Text groups are
// wildcard patterns compared without case (the type for 0, the layer for 8,
// the block name for 2); numbers and points must be equal. An entity without
// a colour (62) or linetype (6) has them BYLAYER (256, "ByLayer"), and one
// without 67 lies in model space (0).
bool matchesFilter(const Entity& entity, const GroupList& filter);

}  // namespace tz::cad
