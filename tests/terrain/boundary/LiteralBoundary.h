// The boundary tests written as literally as the procedure reads: every
// segment in order for every triangle. The crossing test carries the same
// mend as the production one (a segment whose bounding box does not meet
// the triangle's is not examined).
#pragma once

#include <vector>

#include "boundary/Segment.h"
#include "tin/Triangle.h"

namespace tz::terrain::literal {

bool crossesBoundaryLiterally(const Triangle& t, const std::vector<Segment>& segments);
bool insideBoundaryLiterally(const Triangle& t, const std::vector<Segment>& segments);
// The segments the inside test counts for the point (xT, yT).
int countCrossingsLiterally(double xT, double yT, const std::vector<Segment>& segments);

}  // namespace tz::terrain::literal
