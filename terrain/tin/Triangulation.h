// The triangulation stage: the sorted point file in, the raw triangle file
// (".ttin") out.
#pragma once

#include <string>

#include "tin/StageReporter.h"

namespace tz::terrain {

// Triangulates the sorted point file (two header lines with the extent of
// the raw data, then points ascending in x, y) into the raw triangle file
// named after `pointFile` with the extension ".ttin": the Delaunay
// triangulation of the points, each triangle clockwise, in the order of the
// sweep that built it. The user's break is asked once per point. Returns
// kStageDone, kStatusCancel (the ".ttin" file stays empty) or kStatusError
// after an alert.
int buildTriangulation(const std::string& pointFile, const std::string& sortedFile, StageReporter& reporter,
                       const UserBreakTest& userBreak);

}  // namespace tz::terrain
