// A drawing holding every kind of entity the host writes, made the way the
// suite makes them (entity lists given to entmake), for the DXF tests.
#pragma once

#include <memory>

#include "drawing/Drawing.h"

namespace tz::cad::test {

// Layers, a TZNODE block with three attribute definitions, two point blocks
// with attributes, a 2D polyline with bulges and widths, a 3D polyline, a
// light-weight polyline, a 3D face, a line, a point, texts (one with a line
// break, a caret and non-ASCII characters), an MTEXT longer than one DXF
// line, a leader with its MTEXT, a circle, an arc, an entity with extended
// data, and an erased line that must not be written.
std::unique_ptr<Drawing> makeSampleDrawing();

}  // namespace tz::cad::test
