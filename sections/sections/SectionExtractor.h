// Cross sections of the ground cut from a TIN along section lines: the
// existing-sections text (".exs") for the project's section data.
#pragma once

#include <string>
#include <vector>

#include "SectionLineFile.h"
#include "tin/TinTable.h"

namespace tz::sections {

enum class SectionsOutcome {
    done,
    noSectionLines,         // the data held no section line to cut; nothing written
    lastLineCrossesNoEdge,  // written, but the last section line crossed no TIN edge
};

struct ExtractedSections {
    SectionsOutcome outcome = SectionsOutcome::done;
    std::string text;  // the existing-sections file, line feeds as in memory
};

// For each section line, in order:
//   "%lf\n"         the station          } only when the line crosses at least
//   "%lf %lf\n"     start offset, ground } one edge; the start line also needs
//   "%lf %lf\n"...  each crossing         } the start inside the TIN, above 0.1
//   "%lf %lf\n"     end offset, ground      (end inside the TIN, above 0.1)
//   "X\n"
// Offsets run along the line from the point at the origin distance from its
// start. Crossings are written by increasing offset (equal offsets in the
// order found, edges in list order); a single crossing is written twice.
// Every distinct TIN edge counts once; end point elevations come from the
// last containing triangle in file order.
ExtractedSections extractSections(const TinTable& tin, const std::vector<SectionLine>& lines);

}  // namespace tz::sections
