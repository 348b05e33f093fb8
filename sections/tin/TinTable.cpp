#include "TinTable.h"

#include <algorithm>
#include <array>

#include "profile/NumberRecords.h"

namespace tz::sections {

using tz::terrain::profile::readRecord;
using tz::terrain::profile::RecordRead;

TinTableLoad loadTinTable(tz::terrain::profile::TextScanner& in) {
    TinTableLoad load;
    double largestX = 0;
    std::array<double, 9> v{};
    for (;;) {
        const RecordRead read = readRecord(in, v);
        if (read == RecordRead::unreadable) load.stoppedAtUnreadableText = true;
        if (read != RecordRead::complete) break;
        load.table.triangles.push_back({{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}});
        largestX = std::max({largestX, v[0], v[3], v[6]});
    }
    load.table.rayEndX = 2 * largestX;
    return load;
}

TinTableLoad loadTinTable(std::istream& in) {
    tz::terrain::profile::TextScanner scanner(in);
    return loadTinTable(scanner);
}

}  // namespace tz::sections
