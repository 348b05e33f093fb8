#include "NumberRecords.h"

#include <algorithm>

#include "tin/ParallelNumberReader.h"

namespace tz::terrain::profile {
namespace {

void readPieceWithScanner(std::FILE* piece, NumberPiece& out) {
    TextScanner scanner(piece);
    double value;
    for (;;) {
        const TextScanner::Read read = scanner.readNumber(value);
        if (read != TextScanner::Read::ok) {
            out.stopped = read == TextScanner::Read::invalid;
            return;
        }
        out.numbers.push_back(value);
    }
}

}  // namespace

bool forEachRecord(TextScanner& scanner, int width, const std::function<void(const double*)>& take) {
    width = std::clamp(width, 1, 16);
    double record[16];
    for (;;) {
        for (int i = 0; i < width; ++i) {
            switch (scanner.readNumber(record[i])) {
                case TextScanner::Read::ok: break;
                case TextScanner::Read::end: return false;
                case TextScanner::Read::invalid: return true;
            }
        }
        take(record);
    }
}

bool forEachRecord(std::FILE* file, int width, const std::function<void(const double*)>& take) {
    const RecordsEnd end = readRecordsInParallel(
        file, width,
        [&](const double* values) {
            take(values);
            return true;
        },
        readPieceWithScanner);
    return !end.toTheEnd;
}

}  // namespace tz::terrain::profile
