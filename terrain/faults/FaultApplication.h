// The fault stage: forces every fault line of the fault file into the raw
// TIN and writes the faulted TIN.
#pragma once

#include <string>

#include "tin/StageReporter.h"

namespace tz::terrain {

// Reads the raw TIN (".ttin"), the boundary/void file when
// `useBoundary` (faults lying on a boundary segment are not applied) and
// the fault file (`dimension` 2: x1 y1 x2 y2 per fault, otherwise six
// numbers), applies the faults in file order and writes the faulted TIN
// beside the raw one with the extension ".ftin". The user's break is asked
// before every fault and while following a fault's outline. Returns
// kStageDone (also when some faults were not applied), kStatusError after
// an alert, or kStatusCancel (the faulted TIN file stays empty).
int applyFaultLines(const std::string& rawTin, const std::string& faultFile, int dimension, bool useBoundary,
                    const std::string& boundaryFile, StageReporter& reporter, const UserBreakTest& userBreak);

}  // namespace tz::terrain
