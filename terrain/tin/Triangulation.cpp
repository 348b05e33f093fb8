#include "tin/Triangulation.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "FileSystem.h"
#include "tin/BackgroundTinWriter.h"
#include "tin/ParallelNumberReader.h"

namespace tz::terrain {
namespace {

// Hands the result from completed entry `from` on to `background`, in chunks.
void writeResultFrom(const DelaunayEngine& engine, size_t from, size_t chunkSize, BackgroundTinWriter& background) {
    std::vector<Triangle> chunk;
    engine.forEachResultFrom(from, [&](const Triangle& t) {
        chunk.push_back(t);
        if (chunk.size() == chunkSize) background.write(std::exchange(chunk, {}));
    });
    background.write(std::move(chunk));
}

// Empties the file at `path`: `file` is closed and replaced by the file
// opened again (null when that fails).
void startOver(std::FILE*& file, const std::string& path) {
    std::fclose(file);
    file = tz::platform::openFile(path, "w");
}

// The engine over the sorted points into `output`, the raw triangle file
// at `path`, which it closes.
int triangulate(const SortedPoints& sorted, std::FILE* output, const std::string& path, StageReporter& reporter,
                const UserBreakTest& userBreak, TinText* written) {
    Point3 enclosing[3];
    enclosingTriangle(sorted.min.x, sorted.min.y, sorted.max.x, sorted.max.y, 16000, 8000, enclosing);
    DelaunayEngine engine(DelaunayEngine::Mode::Sweep, enclosing, sorted.min.x, sorted.min.y, sorted.max.x,
                          sorted.max.y, sorted.points.size());
    const StreamOutcome outcome = streamTriangulation(engine, sorted.points, output, path, userBreak);
    if (outcome.status == kStatusCancel) {
        if (output != nullptr) std::fclose(output);
        return kStatusCancel;
    }
    reporter.print("Done\n");
    const bool closed = output != nullptr && std::fclose(output) == 0;
    if (outcome.status != kStageDone || !closed) {
        tz::platform::deleteFile(path);  // cut off where the disk was full
        reporter.alert("Error writing triangle file.");
        return kStatusError;
    }
    if (written != nullptr) *written = outcome.text;
    return kStageDone;
}

}  // namespace

bool extentIsWorkable(const SortedPoints& sorted) {
    // The enclosing triangle is 32000 times as wide as the extent, and the
    // circle tests square distances across it: from about 3e149 they
    // overflow and the result goes wrong without a sign, so a wide margin is
    // kept.
    constexpr double kWidestExtent = 1e140;
    const double widest = std::max(sorted.max.x - sorted.min.x, sorted.max.y - sorted.min.y);
    return widest < kWidestExtent;
}

StreamOutcome streamTriangulation(DelaunayEngine& engine, const std::vector<Point3>& points, std::FILE*& output,
                                  const std::string& path, const UserBreakTest& userBreak, size_t chunkSize) {
    StreamOutcome outcome;
    auto background = std::make_unique<BackgroundTinWriter>(output);
    size_t handedOut = 0;
    bool broke = false;
    engine.insertPointsSweep(points, [&](size_t) {
        if (engine.settledCount() >= handedOut + chunkSize && engine.settledStayed()) {
            std::vector<Triangle> chunk;
            chunk.reserve(engine.settledCount() - handedOut);
            engine.forEachCompleted(handedOut, engine.settledCount(), [&](const Triangle& t) { chunk.push_back(t); });
            background->write(std::move(chunk));
            handedOut = engine.settledCount();
        }
        broke = userBreak && userBreak();
        return !broke;
    });
    if (broke) {
        background->finish();
        startOver(output, path);  // a broken-off run leaves the file empty
        outcome.status = kStatusCancel;
        return outcome;
    }
    if (!engine.settledStayed() && handedOut > 0) {
        // A triangle already handed out was taken out again: the file is
        // written again from the start.
        background->finish();
        startOver(output, path);
        if (output == nullptr) return outcome;  // kStatusError
        background = std::make_unique<BackgroundTinWriter>(output);
        handedOut = 0;
        outcome.rewritten = true;
    }
    writeResultFrom(engine, handedOut, chunkSize, *background);
    if (!background->finish()) return outcome;  // kStatusError
    outcome.text = background->inWritingFormat() ? TinText::InWritingFormat : TinText::Unknown;
    outcome.status = kStageDone;
    return outcome;
}

int buildTriangulation(const std::string& pointFile, const std::string& sortedFile, StageReporter& reporter,
                       const UserBreakTest& userBreak, TinText* written) {
    if (written != nullptr) *written = TinText::Unknown;
    std::FILE* input = tz::platform::openFile(sortedFile, "rb");
    if (input == nullptr) {
        reporter.alert("Error opening sorted point file.");
        return kStatusError;
    }
    const std::string rawTin = withExtension(pointFile, ".ttin");
    std::FILE* output = tz::platform::openFile(rawTin, "w");
    if (output == nullptr) {
        std::fclose(input);
        reporter.alert("Error opening triangle file.");
        return kStatusError;
    }

    // Two header lines (the extent), then the points. A file without its
    // header has no points to triangulate.
    double header[6] = {0, 0, 0, 0, 0, 0};
    SortedPoints sorted;
    size_t numbers = 0;
    const RecordsEnd end = readRecordsInParallel(input, 3, [&](const double* v) {
        if (numbers < 6) {
            std::copy(v, v + 3, header + numbers);
        } else {
            sorted.points.push_back({v[0], v[1], v[2]});
        }
        numbers += 3;
        return true;
    });
    if (numbers < 6) std::copy(end.leftOverValues, end.leftOverValues + std::min(end.leftOver, 3), header + numbers);
    std::fclose(input);
    sorted.min = {header[0], header[1], header[2]};
    sorted.max = {header[3], header[4], header[5]};
    return triangulate(sorted, output, rawTin, reporter, userBreak, written);
}

int buildTriangulation(const std::string& pointFile, const SortedPoints& sorted, StageReporter& reporter,
                       const UserBreakTest& userBreak, TinText* written) {
    if (written != nullptr) *written = TinText::Unknown;
    const std::string rawTin = withExtension(pointFile, ".ttin");
    std::FILE* output = tz::platform::openFile(rawTin, "w");
    if (output == nullptr) {
        reporter.alert("Error opening triangle file.");
        return kStatusError;
    }
    return triangulate(sorted, output, rawTin, reporter, userBreak, written);
}

}  // namespace tz::terrain
