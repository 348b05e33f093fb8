#include "EdgeReading.h"

#include "NumberRecords.h"

namespace tz::terrain::profile {

EdgeLoad readEdgeFile(std::istream& in) {
    TextScanner scanner(in);
    return readEdgeFile(scanner);
}

EdgeLoad readTinEdges(std::istream& in) {
    TextScanner scanner(in);
    return readTinEdges(scanner);
}

EdgeLoad readEdgeFile(TextScanner& scanner) {
    EdgeLoad load;
    std::array<double, 6> v{};
    for (;;) {
        const RecordRead read = readRecord(scanner, v);
        if (read == RecordRead::unreadable) load.stoppedAtUnreadableText = true;
        if (read != RecordRead::complete) break;
        ++load.recordsRead;
        load.edges.appendIfNew(Edge{{v[0], v[1], v[2]}, {v[3], v[4], v[5]}});
    }
    return load;
}

EdgeLoad readTinEdges(TextScanner& scanner) {
    EdgeLoad load;
    std::array<double, 9> v{};
    for (;;) {
        const RecordRead read = readRecord(scanner, v);
        if (read == RecordRead::unreadable) load.stoppedAtUnreadableText = true;
        if (read != RecordRead::complete) break;
        ++load.recordsRead;
        load.edges.appendTriangleIfNew(
            tz::terrain::Triangle{{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}});
    }
    return load;
}

}  // namespace tz::terrain::profile
