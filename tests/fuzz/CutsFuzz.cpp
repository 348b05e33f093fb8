// Profiles along an alignment and sections at section lines, from small
// arbitrary TINs, against the literal procedures, byte for byte.
#include <sstream>

#include "FuzzInput.h"
#include "LiteralProfileCutter.h"
#include "LiteralSections.h"
#include "TestTerrain.h"
#include "profile/EdgeReading.h"
#include "profile/ProfileCutter.h"
#include "sections/SectionExtractor.h"
#include "sections/SectionLineFile.h"
#include "tin/TinTable.h"

using namespace tz::terrain::profile;

namespace {

std::string profileOf(const EdgeList& edges, const Alignment& alignment, double start) {
    const EdgeCrossingFinder finder(edges.edges());
    const ProfileCut cut = cutProfile(alignment, start, finder);
    return cut.status == CutStatus::ok ? profileText(sortedByStation(cut.samples)) : "(refused)";
}

void expectLiteralProfile(const std::string& tinText, const Alignment& alignment, double start) {
    std::istringstream all(tinText), near(tinText);
    const std::string everyEdge = profileOf(readTinEdges(all).edges, alignment, start);
    if (everyEdge == "(refused)") return;  // arcs too long to walk; the literal procedure would walk them
    FUZZ_EXPECT(everyEdge == tz::test::literalProfile(tz::test::literalEdgesFromTin(tinText), alignment, start),
                "the profile differs from the literal procedure's");
    FUZZ_EXPECT(profileOf(readTinEdges(near, CutCorridor::along(alignment)).edges, alignment, start) == everyEdge,
                "the profile from the edges near the alignment differs");
}

void expectLiteralSections(const std::string& tinText, const std::string& exdText) {
    std::istringstream tinIn(tinText), exdIn(exdText);
    const tz::sections::TinTable table = tz::sections::loadTinTable(tinIn).table;
    const auto production = tz::sections::extractSections(table, tz::sections::readSectionLines(exdIn).lines);
    const tz::test::LiteralSectionsResult literal = tz::test::literalSections(tinText, exdText);
    FUZZ_EXPECT(production.text == literal.text, "the sections differ from the literal procedure's");
    FUZZ_EXPECT((production.outcome != tz::sections::SectionsOutcome::done) == literal.unableToExtract,
                "the sections' outcome differs from the literal procedure's");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tz::fuzz::FuzzInput in(data, size);
    in.chooseLattice();
    const std::string tinText = tz::test::tinText(in.triangles(in.byte() % 60));

    Alignment alignment;
    const size_t vertices = 2 + in.byte() % 4;
    for (size_t i = 0; i < vertices; ++i) {
        const double x = in.x(), y = in.y();
        const uint8_t b = in.byte();
        alignment.vertices.push_back({x, y, b < 128 ? 0.0 : (b - 192) / 64.0});  // straight, or an arc of either hand
    }
    expectLiteralProfile(tinText, alignment, (in.byte() % 4) * 10.0);

    std::string exd;
    const size_t lines = in.byte() % 12;
    for (size_t i = 0; i < lines; ++i) {
        const double x1 = in.x(), y1 = in.y(), x2 = in.x(), y2 = in.y();
        char line[512];
        std::snprintf(line, sizeof line, "%lf,%lf,%lf,%lf,%lf,%lf\n", (in.byte() % 8) - 2.0, 100.0 + i, x1, y1, x2, y2);
        exd += line;
    }
    expectLiteralSections(tinText, exd);
    return 0;
}
