#include "volume/SurfaceReader.h"

#include "tin/ParallelNumberReader.h"

namespace tz::terrain::volume {

TinRecordReader::TinRecordReader(std::FILE* file, LastRecordRule rule) : numbers_(file), rule_(rule) {}

bool TinRecordReader::next(double (&numbers)[9]) {
    if (ended_) return false;
    for (int i = 0; i < 9; ++i) {
        if (!numbers_.readNumber(numbers[i])) {
            ended_ = true;
            if (numbers_.notANumber()) stop_ = ReadStop::NotANumber;
            else stop_ = i == 0 ? ReadStop::EndOfFile : ReadStop::IncompleteRecord;
            return false;
        }
    }
    if (rule_ == LastRecordRule::DropWithoutLineEnd && numbers_.atEndOfFile()) {
        ended_ = true;
        stop_ = ReadStop::EndOfFile;
        return false;
    }
    return true;
}

SurfaceLoad loadSurface(std::FILE* file, LastRecordRule rule) {
    // The numbers are read on two threads and taken nine at a time, as
    // TinRecordReader takes them.
    SurfaceLoad load;
    reserveForRecords(file, load.triangles, kShortestTinLine);
    const RecordsEnd end = readRecordsInParallel(file, 9, [&](const double* v) {
        const double numbers[9] = {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]};
        load.triangles.push_back(prepareTriangle(numbers));
        return true;
    });
    load.stop = stopOf(end);
    if (load.stop == ReadStop::EndOfFile && rule == LastRecordRule::DropWithoutLineEnd && end.endsInNumber) {
        load.triangles.pop_back();  // the last triangle ran into the end of the file
    }
    return load;
}

ReadStop stopOf(const RecordsEnd& end) {
    if (!end.toTheEnd) return ReadStop::NotANumber;
    if (end.leftOver > 0) return ReadStop::IncompleteRecord;
    return ReadStop::EndOfFile;
}

std::string readStopMessage(const std::string& path, ReadStop stop, std::size_t triangles) {
    const std::string count = std::to_string(triangles) + (triangles == 1 ? " triangle" : " triangles");
    switch (stop) {
        case ReadStop::EndOfFile: return "";
        case ReadStop::NotANumber:
            return "\nDTM: " + path + " holds text that is not a number after " + count + "; reading stops there.\n";
        case ReadStop::IncompleteRecord:
            return "\nDTM: " + path + " ends within a triangle after " + count + "; the incomplete triangle is ignored.\n";
    }
    return "";
}

}  // namespace tz::terrain::volume
