// Reading the numbers of a large text file on two threads: each block of
// the file is cut in two at white space and both halves are read at once,
// each by a reader of its own (a NumberReader unless told otherwise), so
// the numbers, and where reading stops, are those of one such reader over
// the whole file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <vector>

namespace tz::terrain {

// The numbers of one piece of text, read to its end or to text that is not
// a number (`stopped`).
struct NumberPiece {
    std::vector<double> numbers;
    bool stopped = false;
};

// What readNumbersInParallel reads at a time.
inline constexpr std::size_t kParallelReadBlock = std::size_t{1} << 23;
// A word without white space longer than this many blocks (256 MiB with
// the usual block) is not read into memory: it ends the data as text that
// is not a number, which no reader would make of it either.
inline constexpr std::size_t kLongestWordInBlocks = 32;

// Reads a piece of text (a file of its own) with one reader's rules.
using PieceReader = NumberPiece (*)(std::FILE* piece);

// The rules of NumberReader.
NumberPiece readPieceWithNumberReader(std::FILE* piece);

// Reads the numbers of `file` from its current position, handing them to
// `take(values, count)` in order, in runs; `take` answers false to stop.
// Reading ends at the end of the file (true), or at text that is not a
// number, as NumberReader::readNumber ends, or when stopped (false).
// `endsInNumber`, when given, tells whether reading reached the end of the
// file right after the last number, with no character after it (what
// NumberReader::atEndOfFile reports after that number). `blockSize` is
// what is read at a time (a block without white space grows until it has
// some). Any reader whose numbers are split by white space alone may read
// the pieces: the numbers are then that reader's over the whole file.
bool readNumbersInParallel(std::FILE* file, const std::function<bool(const double*, std::size_t)>& take,
                           bool* endsInNumber = nullptr, std::size_t blockSize = kParallelReadBlock,
                           PieceReader readPiece = readPieceWithNumberReader);

// How reading records ended.
struct RecordsEnd {
    bool toTheEnd = false;      // as readNumbersInParallel answers
    bool endsInNumber = false;  // the file ended right inside the last number
    int leftOver = 0;           // numbers of a last record cut short, dropped
    double leftOverValues[16] = {};
};

// Reads records of `width` numbers (1 to 16) from `file` as
// readNumbersInParallel reads numbers, handing each whole record to
// `take(values)`, which answers false to stop.
RecordsEnd readRecordsInParallel(std::FILE* file, int width, const std::function<bool(const double*)>& take,
                                 PieceReader readPiece = readPieceWithNumberReader);

}  // namespace tz::terrain
