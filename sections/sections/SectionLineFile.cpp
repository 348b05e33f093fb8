#include "SectionLineFile.h"

namespace tz::sections {

namespace {

using tz::terrain::profile::TextScanner;

enum class RecordRead { complete, end, unreadable };

RecordRead readRecord(TextScanner& in, double (&v)[6]) {
    for (int i = 0; i < 6; ++i) {
        if (i > 0 && !in.matchLiteral(',')) return in.reachedEnd() ? RecordRead::end : RecordRead::unreadable;
        switch (in.readNumber(v[i])) {
            case TextScanner::Read::ok: break;
            case TextScanner::Read::end: return RecordRead::end;
            case TextScanner::Read::invalid: return RecordRead::unreadable;
        }
    }
    return RecordRead::complete;
}

}  // namespace

SectionLineRead readSectionLines(TextScanner& in) {
    SectionLineRead read;
    double v[6];
    for (;;) {
        const RecordRead record = readRecord(in, v);
        if (record == RecordRead::unreadable) read.stoppedAtUnreadableText = true;
        if (record != RecordRead::complete || in.reachedEnd()) break;
        read.lines.push_back({v[0], v[1], v[2], v[3], v[4], v[5]});
    }
    return read;
}

SectionLineRead readSectionLines(std::istream& in) {
    TextScanner scanner(in);
    return readSectionLines(scanner);
}

}  // namespace tz::sections
