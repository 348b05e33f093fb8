// Reading the numbers of a large text file on two threads: each block of
// the file is cut in two at white space and both halves are read at once,
// each by a reader of its own (a NumberReader unless told otherwise), so
// the numbers, and where reading stops, are those of one such reader over
// the whole file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <new>
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

// Reads a piece of text (a file of its own) with one reader's rules, adding
// its numbers to `out`, which comes empty: the same two pieces serve every
// block, so their memory is taken once, not once a block.
using PieceReader = void (*)(std::FILE* piece, NumberPiece& out);

// The rules of NumberReader.
void readPieceWithNumberReader(std::FILE* piece, NumberPiece& out);

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

// How many records of at least `shortestRecord` characters the rest of the
// file (from its current position, which is kept) can hold, at most 2^26;
// 0 when its size cannot be told.
std::size_t recordRoom(std::FILE* file, long shortestRecord);

// Room for the records the rest of the file can hold, so that reading a large
// file does not copy its records over and over as the vector grows (at ten
// million points, most of a run went to those copies and the pages they
// touched). Only what is filled takes memory; a file written more tersely
// than `shortestRecord` just grows the vector beyond this.
template <class Record>
void reserveForRecords(std::FILE* file, std::vector<Record>& records, long shortestRecord) {
    try {
        records.reserve(recordRoom(file, shortestRecord));
    } catch (const std::bad_alloc&) {
        // Growing as reading goes still works.
    }
}

// The shortest line of a TIN file as the suite writes it: nine numbers with
// six decimals, each with its separator.
inline constexpr long kShortestTinLine = 81;

}  // namespace tz::terrain
