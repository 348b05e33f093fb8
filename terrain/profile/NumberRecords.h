// Records of a fixed count of numbers, read as "%lf%lf..." reads them until
// the end of the file: a record counts only when all its numbers were read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <functional>

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

// Hands every complete record of `width` numbers (1 to 16) in order to
// take(values), as a loop of readRecord until it fails would; true when
// text that is not a number ended the reading.
bool forEachRecord(TextScanner& scanner, int width, const std::function<void(const double*)>& take);

// The same over an open file from where it stands, its numbers read on two
// threads (each half of a block by a scanner of its own).
bool forEachRecord(std::FILE* file, int width, const std::function<void(const double*)>& take);

}  // namespace tz::terrain::profile
