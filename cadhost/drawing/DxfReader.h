// Reading a DXF file into a new drawing: header variables, the LAYER, LTYPE
// and STYLE tables, block definitions and entities (complex ones with their
// sub-entities; kinds the drawing does not know kept as read so that they
// are written back). Handles of the file are kept.
#pragma once

#include <istream>
#include <memory>

#include "drawing/Drawing.h"
#include "drawing/DxfGroupReader.h"

namespace tz::cad {

// The drawing in `input`. Throws DxfError, its message naming the line, when
// the file is not a readable DXF file (damaged, truncated, binary, empty).
std::unique_ptr<Drawing> readDxf(std::istream& input);

}  // namespace tz::cad
