// The section volume file (".vol") from the proposed-sections file: one line
// per section, "%lf %lf %lf\n" with station, cut area and fill area.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

#include "profile/TextScanner.h"

namespace tz::secvolume {

struct SectionVolumes {
    std::string text;             // the .vol file, line feeds as in memory
    std::size_t sections = 0;     // lines written
    // Reading stopped at a section header that does not start with two
    // numbers; the sections before it are written, the rest are not.
    bool stoppedAtUnreadableHeader = false;
};

// Sections without a proposed line have cut and fill 0. A section the file
// ends inside (its "X" without a line break after it included) is not written.
SectionVolumes computeSectionVolumes(tz::terrain::profile::TextScanner& proposedSections);
SectionVolumes computeSectionVolumes(std::istream& proposedSections);

}  // namespace tz::secvolume
