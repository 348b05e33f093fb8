#include "boundary/Segment.h"

#include "FileSystem.h"
#include "tin/NumberText.h"

namespace tz::terrain {
namespace {

SegmentFile readRecords(const std::string& path, int numbersPerRecord) {
    SegmentFile read;
    std::FILE* file = tz::platform::openFile(path, "rb");
    if (file == nullptr) return read;
    read.opened = true;
    {
        NumberReader reader(file);
        double v[6];
        while (reader.readNumbers(v, numbersPerRecord) && !reader.atEndOfFile()) {
            if (numbersPerRecord == 4) read.segments.push_back({{v[0], v[1], 0}, {v[2], v[3], 0}});
            else read.segments.push_back({{v[0], v[1], v[2]}, {v[3], v[4], v[5]}});
        }
        read.stoppedAtText = reader.notANumber();
    }
    std::fclose(file);
    return read;
}

}  // namespace

SegmentFile readSegmentFile(const std::string& path) { return readRecords(path, 6); }

SegmentFile readFaultFile(const std::string& path, int dimension) {
    return readRecords(path, dimension == 2 ? 4 : 6);
}

std::string segmentStopMessage(const std::string& path, const SegmentFile& file, const std::string& what) {
    if (!file.stoppedAtText) return "";
    const size_t n = file.segments.size();
    return "\nDTM: " + path + " holds text that is not a number after " + std::to_string(n) + " " + what +
           (n == 1 ? "" : "s") + "; reading stops there.\n";
}

}  // namespace tz::terrain
