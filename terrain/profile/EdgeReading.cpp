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

namespace {

// The loads from any source forEachRecord reads.
template <class Source>
EdgeLoad edgeFileFrom(Source&& source) {
    EdgeLoad load;
    load.stoppedAtUnreadableText = forEachRecord(source, 6, [&](const double* v) {
        ++load.recordsRead;
        load.edges.appendIfNew(Edge{{v[0], v[1], v[2]}, {v[3], v[4], v[5]}});
    });
    return load;
}

template <class Source>
EdgeLoad tinEdgesFrom(Source&& source) {
    EdgeLoad load;
    load.stoppedAtUnreadableText = forEachRecord(source, 9, [&](const double* v) {
        ++load.recordsRead;
        load.edges.appendTriangleIfNew(
            tz::terrain::Triangle{{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}});
    });
    return load;
}

}  // namespace

EdgeLoad readEdgeFile(TextScanner& scanner) { return edgeFileFrom(scanner); }
EdgeLoad readEdgeFile(std::FILE* file) { return edgeFileFrom(file); }
EdgeLoad readTinEdges(TextScanner& scanner) { return tinEdgesFrom(scanner); }
EdgeLoad readTinEdges(std::FILE* file) { return tinEdgesFrom(file); }

}  // namespace tz::terrain::profile
