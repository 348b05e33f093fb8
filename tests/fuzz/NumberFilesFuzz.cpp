// The readers of the suite's number files on arbitrary bytes: read from a
// stream and read from a file on two threads they must give the same, and
// plain decimal text must read as the C runtime's fscanf reads it.
#include <unistd.h>

#include <cstring>
#include <sstream>

#include "FuzzExpect.h"
#include "LiteralProfileCutter.h"
#include "areas/SectionVolumes.h"
#include "points/PointPreparation.h"
#include "profile/EdgeReading.h"
#include "profile/NumberRecords.h"
#include "profile/TextScanner.h"
#include "sections/SectionLineFile.h"
#include "tin/TinFile.h"
#include "tin/TinTable.h"

using namespace tz::terrain::profile;

namespace {

const std::string& scratchPath() {
    static const std::string path = "/tmp/tz-fuzz-numbers-" + std::to_string(getpid());
    return path;
}

// Writes the input once; each reader then opens it afresh.
void writeScratch(const std::string& text) {
    std::FILE* out = std::fopen(scratchPath().c_str(), "wb");
    FUZZ_EXPECT(out != nullptr && std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fclose(out) == 0,
                "cannot write %s", scratchPath().c_str());
}

// The input file, open for reading (closed by the caller).
std::FILE* openScratch() {
    std::FILE* in = std::fopen(scratchPath().c_str(), "rb");
    FUZZ_EXPECT(in != nullptr, "cannot open %s", scratchPath().c_str());
    return in;
}

template <class T>
bool sameItems(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

bool sameLoad(const EdgeLoad& a, const EdgeLoad& b) {
    return sameItems(a.edges.edges(), b.edges.edges()) && a.recordsRead == b.recordsRead &&
           a.stoppedAtUnreadableText == b.stoppedAtUnreadableText;
}

// Only digits, points, minus signs and white space: text that fscanf and
// the suite's scanner must read alike.
bool plainDecimals(const std::string& text) {
    for (char c : text) {
        if (c == 0 || std::strchr("0123456789.- \n\t", c) == nullptr) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    writeScratch(text);

    std::istringstream tinStream(text);
    const auto fromStream = tz::sections::loadTinTable(tinStream);
    std::FILE* file = openScratch();
    const auto fromFile = tz::sections::loadTinTable(file);
    std::fclose(file);
    FUZZ_EXPECT(sameItems(fromStream.table.triangles, fromFile.table.triangles) &&
                    fromStream.stoppedAtUnreadableText == fromFile.stoppedAtUnreadableText,
                "the TIN table read from a stream and from a file differ");

    for (bool tin : {false, true}) {
        std::istringstream stream(text);
        const EdgeLoad a = tin ? readTinEdges(stream) : readEdgeFile(stream);
        file = openScratch();
        const EdgeLoad b = tin ? readTinEdges(file) : readEdgeFile(file);
        std::fclose(file);
        FUZZ_EXPECT(sameLoad(a, b), "the %s read from a stream and from a file differ", tin ? "TIN's edges" : "edge file");
        if (plainDecimals(text)) {
            const auto literal = tin ? tz::test::literalEdgesFromTin(text) : tz::test::literalEdgesFromEdgeFile(text);
            FUZZ_EXPECT(sameItems(literal, a.edges.edges()), "the %s differ from what fscanf reads",
                        tin ? "TIN's edges" : "edge file's edges");
        }
    }

    for (int width : {3, 6, 9}) {
        std::istringstream stream(text);
        TextScanner scanner(stream);
        std::vector<double> a, b;
        const bool stoppedA = forEachRecord(scanner, width, [&](const double* v) { a.insert(a.end(), v, v + width); });
        file = openScratch();
        const bool stoppedB = forEachRecord(file, width, [&](const double* v) { b.insert(b.end(), v, v + width); });
        std::fclose(file);
        FUZZ_EXPECT(sameItems(a, b) && stoppedA == stoppedB, "records of %d numbers differ between stream and file", width);
    }

    // The rest must only not fail.
    std::istringstream sections(text), volumes(text);
    (void)tz::sections::readSectionLines(sections);
    (void)tz::secvolume::computeSectionVolumes(volumes);
    std::vector<tz::terrain::Triangle> triangles;
    (void)tz::terrain::readTinFile(scratchPath(), triangles);
    (void)tz::terrain::readPointFile(scratchPath());
    return 0;
}
