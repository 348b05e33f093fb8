// The described procedures, transcribed literally, as the oracle for the
// production code's faster route: every corner lookup tests every triangle
// in file order, and every cell looks up its four corners afresh.
#pragma once

#include <optional>
#include <vector>

#include "volume/PreparedTriangle.h"
#include "volume/VolumeGrid.h"

namespace tz::terrain::volume::literal {

// Plan containment as written: bounds, crossing parity, then the on-edge test.
bool contains(const PreparedTriangle& t, double x, double y);
double elevation(const PreparedTriangle& t, double x, double y);

// Every triangle tested with no early exit; each containing one overwrites.
std::optional<double> lastElevation(const std::vector<PreparedTriangle>& triangles, double x, double y);
// The first containing triangle in file order.
std::optional<double> firstElevation(const std::vector<PreparedTriangle>& triangles, double x, double y);

// The whole grid walk, eight scans per cell.
VolumeTotals volumes(const std::vector<PreparedTriangle>& existing, const std::vector<PreparedTriangle>& proposed,
                     double interval, double compaction);

}  // namespace tz::terrain::volume::literal
