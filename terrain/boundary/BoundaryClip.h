// The boundary clip: keeps the triangles of a TIN that cross no boundary
// or void segment and lie inside by the even-odd rule.
#pragma once

#include <string>

#include "tin/StageReporter.h"

namespace tz::terrain {

// Reads the boundary/void file and the input TIN (a last record without a
// line break is not used in either) and writes the kept triangles, in
// order, to the output TIN. The output file is replaced only once whole,
// and only when some triangle was kept. Returns kStatusSuccess, or
// kStatusError after an alert, the output file then kept as it was ("Could
// not open boundary file." when the boundary/void file cannot be opened,
// "No triangle lies inside the boundary." when nothing was kept).
int clipToBoundary(const std::string& inputTin, const std::string& boundaryFile, const std::string& outputTin,
                   StageReporter& reporter);

}  // namespace tz::terrain
