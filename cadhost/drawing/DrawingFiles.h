// Opening and saving the host's drawing as DXF files. Paths may use '/' or
// '\' between folders. Neither touches hostState().drawingPath: the session
// decides what the drawing is called.
#pragma once

#include <string>

namespace tz::cad {

// Reads the DXF file and, only when it was read completely, makes it the open
// drawing (names and selection sets of the old drawing no longer resolve)
// and takes the file's units, precision, scale, current layer and text
// settings into the system variables. On failure the open drawing is
// unchanged and `error` says why, naming the line of a damaged file. When
// entities had to be left out, `note` (when given) says how many and why.
bool openDrawing(const std::string& path, std::string& error, std::string* note = nullptr);

// Writes the open drawing as an AutoCAD 2000 DXF file: into a temporary file
// beside the target, renamed over it once complete, so that a failure never
// leaves a partial file in place of a good one. A link to the file stays a
// link, and a replaced file keeps its permissions. On failure `error` says
// why.
bool saveDrawing(const std::string& path, std::string& error);

}  // namespace tz::cad
