// Fault insertion written as literally as the procedure reads: the TIN as a
// plain list scanned from its start for every step, toggle lists compared
// coordinate by coordinate, the literal local triangulation and inside
// test. It carries the same mend as the production code (a result that does
// not fill the hole exactly is abandoned with the "missing" message). The
// oracle for the fast fault stage.
#pragma once

#include <string>
#include <vector>

#include "boundary/Segment.h"
#include "tin/Triangle.h"

namespace tz::terrain::literal {

// One fault on the list; returns the status and appends any message.
int insertFaultLineLiterally(std::vector<Triangle>& tin, Segment& fault, int number, std::string& printed);

// Every fault in order, skipping those lying on a boundary segment.
void applyFaultsLiterally(std::vector<Triangle>& tin, const std::vector<Segment>& faults,
                          const std::vector<Segment>& boundary, std::string& printed);

}  // namespace tz::terrain::literal
