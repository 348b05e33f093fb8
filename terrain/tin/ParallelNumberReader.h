// Reading the numbers of a large text file on two threads: each block of
// the file is cut in two at white space and both halves are read at once,
// each by a NumberReader, so the numbers, and where reading stops, are
// those of one NumberReader over the whole file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>

namespace tz::terrain {

// Reads the numbers of `file` from its current position, handing them to
// `take(values, count)` in order, in runs; `take` answers false to stop.
// Reading ends at the end of the file (true), or at text that is not a
// number, as NumberReader::readNumber ends, or when stopped (false).
// `endsInNumber`, when given, tells whether reading reached the end of the
// file right after the last number, with no character after it (what
// NumberReader::atEndOfFile reports after that number). `blockSize` is
// what is read at a time (a block without white space grows until it has
// some).
bool readNumbersInParallel(std::FILE* file, const std::function<bool(const double*, std::size_t)>& take,
                           bool* endsInNumber = nullptr, std::size_t blockSize = std::size_t{1} << 23);

}  // namespace tz::terrain
