// The boundary clip: keeps the triangles of a TIN that cross no boundary
// or void segment and lie inside by the even-odd rule.
#pragma once

#include <string>

#include "tin/StageReporter.h"

namespace tz::terrain {

// Reads the boundary/void file and the input TIN (a last record without a
// line break is not used in either) and writes the kept triangles, in
// order, to the output TIN. Returns kStatusSuccess, or kStatusError after
// an alert ("Could not open boundary file." when the boundary/void file
// cannot be opened; nothing is written then).
int clipToBoundary(const std::string& inputTin, const std::string& boundaryFile, const std::string& outputTin,
                   StageReporter& reporter);

}  // namespace tz::terrain
