#include "boundary/Segment.h"

#include "FileSystem.h"
#include "tin/NumberText.h"

namespace tz::terrain {
namespace {

bool readRecords(const std::string& path, int numbersPerRecord, std::vector<Segment>& out) {
    std::FILE* file = tz::platform::openFile(path, "rb");
    if (file == nullptr) return false;
    {
        NumberReader reader(file);
        double v[6];
        while (reader.readNumbers(v, numbersPerRecord) && !reader.atEndOfFile()) {
            if (numbersPerRecord == 4) out.push_back({{v[0], v[1], 0}, {v[2], v[3], 0}});
            else out.push_back({{v[0], v[1], v[2]}, {v[3], v[4], v[5]}});
        }
    }
    std::fclose(file);
    return true;
}

}  // namespace

bool readSegmentFile(const std::string& path, std::vector<Segment>& segments) {
    return readRecords(path, 6, segments);
}

bool readFaultFile(const std::string& path, int dimension, std::vector<Segment>& faults) {
    return readRecords(path, dimension == 2 ? 4 : 6, faults);
}

}  // namespace tz::terrain
