// Records of a fixed count of numbers, read as "%lf%lf..." reads them until
// the end of the file: a record counts only when all its numbers were read.
#pragma once

#include <array>
#include <cstddef>

#include "TextScanner.h"

namespace tz::terrain::profile {

enum class RecordRead {
    complete,    // every number of the record was read
    end,         // the file ended (possibly inside the record)
    unreadable,  // text that is not a number stands where a number belongs
};

template <std::size_t N>
RecordRead readRecord(TextScanner& scanner, std::array<double, N>& values) {
    for (std::size_t i = 0; i < N; ++i) {
        switch (scanner.readNumber(values[i])) {
            case TextScanner::Read::ok: break;
            case TextScanner::Read::end: return RecordRead::end;
            case TextScanner::Read::invalid: return RecordRead::unreadable;
        }
    }
    return RecordRead::complete;
}

}  // namespace tz::terrain::profile
