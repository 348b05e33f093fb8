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
    double numbers[9];
    int held = 0;
    bool endsInNumber = false;
    const bool toTheEnd = readNumbersInParallel(
        file,
        [&](const double* values, std::size_t count) {
            for (std::size_t i = 0; i < count; ++i) {
                numbers[held++] = values[i];
                if (held < 9) continue;
                held = 0;
                load.triangles.push_back(prepareTriangle(numbers));
            }
            return true;
        },
        &endsInNumber);
    if (!toTheEnd) {
        load.stop = ReadStop::NotANumber;
    } else if (held > 0) {
        load.stop = ReadStop::IncompleteRecord;
    } else if (rule == LastRecordRule::DropWithoutLineEnd && endsInNumber) {
        load.triangles.pop_back();  // the last triangle ran into the end of the file
    }
    return load;
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
