#include "EdgeReading.h"

#include "NumberRecords.h"

namespace tz::terrain::profile {

EdgeLoad readEdgeFile(std::istream& in, const CutCorridor& corridor) {
    TextScanner scanner(in);
    return readEdgeFile(scanner, corridor);
}

EdgeLoad readTinEdges(std::istream& in, const CutCorridor& corridor) {
    TextScanner scanner(in);
    return readTinEdges(scanner, corridor);
}

namespace {

// The loads from any source forEachRecord reads.
template <class Source>
EdgeLoad edgeFileFrom(Source&& source, const CutCorridor& corridor) {
    EdgeLoad load;
    load.stoppedAtUnreadableText = forEachRecord(source, 6, [&](const double* v) {
        ++load.recordsRead;
        const Edge edge{{v[0], v[1], v[2]}, {v[3], v[4], v[5]}};
        if (corridor.mayCross(edge)) load.edges.appendIfNew(edge);
    });
    return load;
}

template <class Source>
EdgeLoad tinEdgesFrom(Source&& source, const CutCorridor& corridor) {
    EdgeLoad load;
    load.stoppedAtUnreadableText = forEachRecord(source, 9, [&](const double* v) {
        ++load.recordsRead;
        const tz::terrain::Triangle triangle{{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}};
        // Most triangles of a large TIN lie away from every cut: one look
        // at the triangle's box saves three at its edges' and the hashing.
        if (corridor.mayCrossAnEdgeOf(triangle))
            load.edges.appendTriangleIfNew(triangle, [&](const Edge& e) { return corridor.mayCross(e); });
    });
    return load;
}

}  // namespace

EdgeLoad readEdgeFile(TextScanner& scanner, const CutCorridor& corridor) { return edgeFileFrom(scanner, corridor); }
EdgeLoad readEdgeFile(std::FILE* file, const CutCorridor& corridor) { return edgeFileFrom(file, corridor); }
EdgeLoad readTinEdges(TextScanner& scanner, const CutCorridor& corridor) { return tinEdgesFrom(scanner, corridor); }
EdgeLoad readTinEdges(std::FILE* file, const CutCorridor& corridor) { return tinEdgesFrom(file, corridor); }

}  // namespace tz::terrain::profile
