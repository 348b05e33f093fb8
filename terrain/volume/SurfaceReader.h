// Reading the triangles of a TIN file (nine numbers per triangle, any white
// space between numbers) for the volumes, the mesh and the TIN display.
// Reading ends at the end of the file, at text that is not a number, or at
// a triangle cut short; nothing loops and every stop is told apart.
// Files are best opened in binary mode: a carriage return is white space
// here, so CR LF and LF files read alike without a translating stream.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "tin/NumberText.h"
#include "tin/ParallelNumberReader.h"
#include "volume/PreparedTriangle.h"

namespace tz::terrain::volume {

// What happens to a triangle whose ninth number ends the file with no line
// break (or other white space) after it.
enum class LastRecordRule {
    DropWithoutLineEnd,  // the volumes' reading: the runtime has met the end of the file, the triangle is not stored
    Keep,                // the triangle is complete and is used
};

enum class ReadStop {
    EndOfFile,         // every triangle read (the last one possibly dropped by its rule)
    NotANumber,        // text that is not a number ended the reading
    IncompleteRecord,  // the file ended within a triangle's nine numbers
};

// Reads one triangle's nine numbers at a time.
class TinRecordReader {
public:
    TinRecordReader(std::FILE* file, LastRecordRule rule);

    // The next triangle's numbers x1 y1 z1 x2 y2 z2 x3 y3 z3; false once the
    // data ends (then stop() tells why).
    bool next(double (&numbers)[9]);

    ReadStop stop() const { return stop_; }

private:
    NumberReader numbers_;
    LastRecordRule rule_;
    ReadStop stop_ = ReadStop::EndOfFile;
    bool ended_ = false;
};

struct SurfaceLoad {
    std::vector<PreparedTriangle> triangles;  // in file order
    ReadStop stop = ReadStop::EndOfFile;
};

// Reads a whole surface; the table grows with the file.
SurfaceLoad loadSurface(std::FILE* file, LastRecordRule rule);

// The command-line message for a reading that stopped before the end of the
// file named `path` after `triangles` triangles; empty for ReadStop::EndOfFile.
std::string readStopMessage(const std::string& path, ReadStop stop, std::size_t triangles);

// Why a parallel read of triangle records ended.
ReadStop stopOf(const RecordsEnd& end);

}  // namespace tz::terrain::volume
