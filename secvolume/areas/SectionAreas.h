// Cut and fill areas of one cross section: the regions enclosed between the
// proposed line and the existing ground between consecutive crossings.
#pragma once

#include <vector>

#include "sections/CrossSection.h"

namespace tz::secvolume {

struct CutFill {
    double cut = 0;   // zero or negative: proposed line below the ground
    double fill = 0;  // zero or positive: proposed line above the ground
};

// Walks the proposed line from crossing to crossing with the existing line.
// Each region runs from one crossing along the proposed line to the next
// crossing and back along the existing line; its area counts as fill when
// the proposed line is above (a clockwise region) and as cut otherwise.
// A crossing with no later crossing closes no region. A proposed segment
// that crosses the existing line a second time closes the region there.
CutFill sectionAreas(const std::vector<SectionSegment>& existing, const std::vector<SectionSegment>& proposed);

}  // namespace tz::secvolume
