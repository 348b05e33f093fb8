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

// What a readable file held that the drawing could not keep.
struct DxfReadNotes {
    size_t leftOut = 0;       // entities left out
    std::wstring firstReason;  // why the first of them was
};

// The drawing in `input`. Throws DxfError, its message naming the line, when
// the file is not a readable DXF file (damaged, truncated, binary, empty).
// Entities that cannot be kept (a line without its end point, a layer name
// the drawing cannot hold, a block inserted into itself) are left out and
// counted in `notes`.
std::unique_ptr<Drawing> readDxf(std::istream& input, DxfReadNotes* notes = nullptr);

}  // namespace tz::cad
