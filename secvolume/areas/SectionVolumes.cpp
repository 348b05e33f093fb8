#include "SectionVolumes.h"

#include <cstdio>

#include "SectionAreas.h"
#include "sections/ProposedSectionsReader.h"

namespace tz::secvolume {

namespace {

void appendLine(std::string& text, double station, double cut, double fill) {
    char line[1024];
    const int n = std::snprintf(line, sizeof line, "%lf %lf %lf\n", station, cut, fill);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof line) {
        text.append(line, static_cast<std::size_t>(n));
        return;
    }
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), "%lf %lf %lf\n", station, cut, fill);
    text.append(big.data(), static_cast<std::size_t>(n));
}

}  // namespace

SectionVolumes computeSectionVolumes(tz::terrain::profile::TextScanner& in) {
    SectionVolumes volumes;
    ProposedSectionsReader reader(in);
    CrossSection section;
    for (;;) {
        const ProposedSectionsReader::Next next = reader.next(section);
        if (next == ProposedSectionsReader::Next::unreadableHeader) volumes.stoppedAtUnreadableHeader = true;
        if (next != ProposedSectionsReader::Next::section) break;
        CutFill areas;
        if (section.hasProposedLine) areas = sectionAreas(section.existing, section.proposed);
        appendLine(volumes.text, section.station, areas.cut, areas.fill);
        ++volumes.sections;
    }
    return volumes;
}

SectionVolumes computeSectionVolumes(std::istream& in) {
    tz::terrain::profile::TextScanner scanner(in);
    return computeSectionVolumes(scanner);
}

}  // namespace tz::secvolume
