#include "boundary/BoundaryClip.h"

#include "FileSystem.h"
#include "boundary/BoundaryTests.h"
#include "tin/TinFile.h"

namespace tz::terrain {

int clipToBoundary(const std::string& inputTin, const std::string& boundaryFile, const std::string& outputTin,
                   StageReporter& reporter) {
    SegmentFile read = readSegmentFile(boundaryFile);
    if (!read.opened) {
        reporter.alert("Could not open boundary file.");
        return kStatusError;
    }
    reporter.print(segmentStopMessage(boundaryFile, read, "segment"));
    // Clipped to no outline at all, the TIN would lose every triangle.
    if (read.segments.empty()) {
        reporter.alert("Boundary file holds no segments.  Command terminates.\n");
        return kStatusError;
    }
    const BoundarySet boundary(std::move(read.segments));
    std::FILE* input = tz::platform::openFile(inputTin, "rb");
    if (input == nullptr) {
        reporter.alert("Error opening triangle file.\n");
        return kStatusError;
    }
    std::FILE* output = tz::platform::openFile(outputTin, "w");
    if (output == nullptr) {
        std::fclose(input);
        reporter.alert("Error opening output file.\n");
        return kStatusError;
    }
    {
        TinReader reader(input, LastRecord::NeedsLineEnd);
        TinWriter writer(output);
        Triangle t;
        while (reader.next(t)) {
            if (!crossesBoundary(t, boundary) && insideBoundary(t, boundary)) writer.write(t);
        }
    }
    std::fclose(input);
    std::fclose(output);
    return kStatusSuccess;
}

}  // namespace tz::terrain
