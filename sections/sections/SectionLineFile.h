// The project's existing-section data (".exd"): one section line per record,
// six numbers separated by commas ("%lf,%lf,%lf,%lf,%lf,%lf"):
// origin distance, station, start x, start y, end x, end y.
#pragma once

#include <istream>
#include <vector>

#include "profile/TextScanner.h"

namespace tz::sections {

struct SectionLine {
    double originDistance = 0;  // from the start point to the point of offset 0, along the line
    double station = 0;
    double startX = 0, startY = 0;
    double endX = 0, endY = 0;
};

struct SectionLineRead {
    // The records that are cut: each whose reading did not run into the end
    // of the file. A last record without a line break after it is therefore
    // not among them, as the suite has always read these files.
    std::vector<SectionLine> lines;
    // Reading stopped at a record that does not have the six comma-separated
    // numbers (text, a missing comma); the records before it are kept.
    bool stoppedAtUnreadableText = false;
};

SectionLineRead readSectionLines(tz::terrain::profile::TextScanner& in);
SectionLineRead readSectionLines(std::istream& in);

}  // namespace tz::sections
