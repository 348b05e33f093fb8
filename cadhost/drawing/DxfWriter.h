// Writing the drawing as an AutoCAD 2000 (AC1015) DXF file: header, classes,
// the nine tables, block definitions, entities and the objects a reader
// expects (root dictionary, groups, layouts, plot styles, multi-line style).
// Erased entities are left out; the file's handles are the entities' own,
// structural objects take handles after them.
#pragma once

#include <map>
#include <ostream>
#include <string>

#include "drawing/Drawing.h"

namespace tz::cad {

// Header variable values that override the drawing's own (the session's
// system variables at the time of saving): "$LUPREC" -> {70 2}.
using HeaderValues = std::map<std::wstring, GroupList>;

void writeDxf(const Drawing& drawing, std::ostream& out, const HeaderValues& overrides = {});

}  // namespace tz::cad
