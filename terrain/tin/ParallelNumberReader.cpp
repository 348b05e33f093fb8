#include "tin/ParallelNumberReader.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <future>
#include <new>
#include <vector>

#include "tin/NumberText.h"

namespace tz::terrain {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Reads `size` bytes of text with `readPiece` into `out` (emptied first),
// through a read-only stream over them: the readers are the ones files get.
void readText(const char* text, std::size_t size, PieceReader readPiece, NumberPiece& out) {
    out.numbers.clear();
    out.stopped = false;
    if (size == 0) return;
    std::FILE* stream = fmemopen(const_cast<char*>(text), size, "r");
    if (stream == nullptr) throw std::bad_alloc();
    struct Closer {
        std::FILE* stream;
        ~Closer() { std::fclose(stream); }
    } closer{stream};
    readPiece(stream, out);
}

// Just past the last white space in [from, to), or `from` when there is none.
std::size_t afterLastSpace(const std::vector<char>& text, std::size_t from, std::size_t to) {
    for (std::size_t i = to; i > from; --i) {
        if (isSpace(text[i - 1])) return i;
    }
    return from;
}

// Just past the first white space in [from, to), or `to` when there is none.
std::size_t afterFirstSpace(const std::vector<char>& text, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        if (isSpace(text[i])) return i + 1;
    }
    return to;
}

}  // namespace

void readPieceWithNumberReader(std::FILE* piece, NumberPiece& out) {
    NumberReader reader(piece);
    double value;
    while (reader.readNumber(value)) out.numbers.push_back(value);
    out.stopped = reader.notANumber();
}

bool readNumbersInParallel(std::FILE* file, const std::function<bool(const double*, std::size_t)>& take,
                           bool* endsInNumber, std::size_t blockSize, PieceReader readPiece) {
    if (endsInNumber != nullptr) *endsInNumber = false;
    blockSize = std::max<std::size_t>(blockSize, 2);
    const std::size_t firstBlockSize = blockSize;
    std::vector<char> text;
    std::size_t held = 0;  // text kept from the last block: a number that may go on
    NumberPiece first, rest;
    for (;;) {
        text.resize(std::max(text.size(), held + blockSize));
        const std::size_t got = std::fread(text.data() + held, 1, text.size() - held, file);
        const bool atEnd = got < text.size() - held;
        const std::size_t end = held + got;
        // Whole numbers only: up to the last white space, unless the file ends.
        const std::size_t cut = atEnd ? end : afterLastSpace(text, 0, end);
        if (cut == 0 && !atEnd) {  // not one white space yet: read on, within reason
            if (end >= kLongestWordInBlocks * firstBlockSize) return false;
            held = end;
            blockSize = text.size();
            continue;
        }
        const std::size_t middle = afterFirstSpace(text, cut / 2, cut);
        auto second = std::async(std::launch::async, readText, text.data() + middle, cut - middle, readPiece,
                                 std::ref(rest));
        readText(text.data(), middle, readPiece, first);
        second.get();
        if (!take(first.numbers.data(), first.numbers.size()) || first.stopped) return false;
        if (!take(rest.numbers.data(), rest.numbers.size()) || rest.stopped) return false;
        if (atEnd) {
            // Reading ended at the end of the file: the last character, if
            // not white space, is the last number's.
            if (endsInNumber != nullptr) *endsInNumber = end > 0 && !isSpace(text[end - 1]);
            return true;
        }
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(cut), text.begin() + static_cast<std::ptrdiff_t>(end),
                  text.begin());
        held = end - cut;
    }
}

RecordsEnd readRecordsInParallel(std::FILE* file, int width, const std::function<bool(const double*)>& take,
                                 PieceReader readPiece) {
    RecordsEnd end;
    width = std::clamp(width, 1, 16);
    double* record = end.leftOverValues;
    end.toTheEnd = readNumbersInParallel(
        file,
        [&](const double* values, std::size_t count) {
            for (std::size_t i = 0; i < count; ++i) {
                record[end.leftOver++] = values[i];
                if (end.leftOver < width) continue;
                end.leftOver = 0;
                if (!take(record)) return false;
            }
            return true;
        },
        &end.endsInNumber, kParallelReadBlock, readPiece);
    return end;
}

std::size_t recordRoom(std::FILE* file, long shortestRecord) {
    constexpr std::size_t kMostRecords = std::size_t{1} << 26;
    const long at = std::ftell(file);
    if (at < 0 || shortestRecord <= 0 || std::fseek(file, 0, SEEK_END) != 0) return 0;
    const long size = std::ftell(file);
    if (std::fseek(file, at, SEEK_SET) != 0 || size <= at) return 0;
    return std::min(kMostRecords, static_cast<std::size_t>((size - at) / shortestRecord) + 1);
}

}  // namespace tz::terrain
