// Where two section segments meet, with the tolerance section files need:
// a design line's daylight point that lies on the ground line, to the
// precision its numbers were written with, meets it.
#pragma once

#include <optional>

#include "sections/CrossSection.h"

namespace tz::secvolume {

// Segments P0->P1 and Q0->Q1 meet when they are not parallel, the point of
// each line at the other's crossing lies within 0.001 of the other's, and
// both line parameters lie in [-0.001, 1.001]. The crossing point returned
// lies on the first segment, with z = 0.
std::optional<Point3> segmentsMeet(const SectionSegment& first, const SectionSegment& second);

}  // namespace tz::secvolume
