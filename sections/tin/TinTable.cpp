#include "TinTable.h"

#include <algorithm>

#include "profile/NumberRecords.h"
#include "tin/ParallelNumberReader.h"

namespace tz::sections {

namespace {

// The load from any source forEachRecord reads.
template <class Source>
TinTableLoad tinTableFrom(Source&& source, TinTableLoad load = {}) {
    double largestX = 0;
    load.stoppedAtUnreadableText = tz::terrain::profile::forEachRecord(source, 9, [&](const double* v) {
        load.table.triangles.push_back({{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}});
        largestX = std::max({largestX, v[0], v[3], v[6]});
    });
    load.table.rayEndX = 2 * largestX;
    return load;
}

}  // namespace

TinTableLoad loadTinTable(tz::terrain::profile::TextScanner& in) { return tinTableFrom(in); }
TinTableLoad loadTinTable(std::FILE* file) {
    TinTableLoad load;
    tz::terrain::reserveForRecords(file, load.table.triangles, tz::terrain::kShortestTinLine);
    return tinTableFrom(file, std::move(load));
}

TinTableLoad loadTinTable(std::istream& in) {
    tz::terrain::profile::TextScanner scanner(in);
    return loadTinTable(scanner);
}

}  // namespace tz::sections
