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
    tz::platform::ReplacementFile output(outputTin, "w");
    if (output.file() == nullptr) {
        std::fclose(input);
        reporter.alert("Error opening output file.\n");
        return kStatusError;
    }
    bool kept = false;
    bool flushed;
    {
        TinReader reader(input, LastRecord::NeedsLineEnd);
        TinWriter writer(output.file());
        Triangle t;
        while (reader.next(t)) {
            if (crossesBoundary(t, boundary) || !insideBoundary(t, boundary)) continue;
            writer.write(t);
            kept = true;
        }
        flushed = writer.flush();
    }
    std::fclose(input);
    // An empty clip would replace the project's TIN, and the contours, mesh
    // or volumes made from it next would come out empty without a word.
    if (!kept) {
        reporter.alert("No triangle lies inside the boundary.  The TIN file is kept as it was.\n");
        return kStatusError;
    }
    if (!(flushed && output.commit())) {
        reporter.alert("Error writing output file.\n");
        return kStatusError;
    }
    return kStatusSuccess;
}

}  // namespace tz::terrain
