// Production sections (indexed edges and triangles, hashed edge list)
// against the literal procedure, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

#include "LiteralSections.h"
#include "TestTerrain.h"
#include "sections/SectionExtractor.h"

namespace {

using namespace tz::sections;

std::string exdLine(double origin, double station, double x1, double y1, double x2, double y2) {
    char text[512];
    std::snprintf(text, sizeof text, "%lf,%lf,%lf,%lf,%lf,%lf\n", origin, station, x1, y1, x2, y2);
    return text;
}

// Consecutive crossing lines of one offset: several edges met at one point.
std::size_t equalOffsetPairs(const std::string& text) {
    std::istringstream lines(text);
    std::string line, previousOffset, previousElevation;
    std::size_t pairs = 0;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string offset, elevation;
        if (!(fields >> offset >> elevation)) offset.clear();
        if (!offset.empty() && offset == previousOffset) ++pairs;
        previousOffset = offset;
        previousElevation = elevation;
    }
    return pairs;
}

std::string expectSameAsLiteral(const std::string& tinText, const std::string& exdText) {
    std::istringstream tinIn(tinText), exdIn(exdText);
    const TinTable table = loadTinTable(tinIn).table;
    const SectionLineRead lines = readSectionLines(exdIn);
    const ExtractedSections production = extractSections(table, lines.lines);
    const tz::test::LiteralSectionsResult literal = tz::test::literalSections(tinText, exdText);
    EXPECT_EQ(production.text, literal.text);
    EXPECT_EQ(production.outcome != SectionsOutcome::done, literal.unableToExtract);
    return production.text;
}

TEST(SectionsOracle, RandomLinesOverGridTins) {
    std::mt19937 random(77);
    for (double jitter : {0.0, 0.25}) {
        for (double origin : {0.0, 4.0e6}) {
            auto triangles = tz::test::gridTin(18, 15, 4.0, jitter, random, origin, origin);
            triangles.push_back({{origin + 3, origin + 3, 0.05}, {origin + 20, origin + 6, 0.05}, {origin + 6, origin + 30, 0.05}});
            const std::string tinText = tz::test::tinText(triangles);
            std::uniform_real_distribution<double> u(origin - 8, origin + 76), o(-20, 40);
            std::uniform_int_distribution<int> g(-1, 18);
            std::string exd;
            for (int i = 0; i < 120; ++i) {
                double x1 = u(random), y1 = u(random), x2 = u(random), y2 = u(random);
                if (i % 4 == 0) {  // along grid lines and through vertices
                    x1 = origin + 4.0 * g(random), y1 = origin + 4.0 * g(random);
                    x2 = origin + 4.0 * g(random), y2 = i % 8 == 0 ? y1 : origin + 4.0 * g(random);
                }
                exd += exdLine(o(random), 100 + i, x1, y1, x2, y2);
            }
            const std::string text = expectSameAsLiteral(tinText, exd);
            EXPECT_GT(std::count(text.begin(), text.end(), '\n'), 1000);
            if (jitter == 0) {
                EXPECT_GT(equalOffsetPairs(text), 5u);
            }
        }
    }
}

TEST(SectionsOracle, ShortLinesOverALargerTin) {
    // Lines over a small part of the TIN, as sections along a road are:
    // the edges no line can cross are left out of the edge list, and the
    // sections are still the procedure's.
    std::mt19937 random(21);
    for (double jitter : {0.0, 0.3}) {
        const auto triangles = tz::test::gridTin(40, 36, 2.0, jitter, random, 5.0e5, 4.0e6);
        const std::string tinText = tz::test::tinText(triangles);
        std::uniform_real_distribution<double> u(0, 70), reach(-6, 6);
        std::uniform_int_distribution<int> g(0, 35);
        std::string exd;
        for (int i = 0; i < 25; ++i) {
            double x1 = 5.0e5 + u(random), y1 = 4.0e6 + u(random);
            double x2 = x1 + reach(random), y2 = y1 + reach(random);
            if (i % 3 == 0) {  // from vertex to vertex, along a row some of the time
                x1 = 5.0e5 + 2.0 * g(random), y1 = 4.0e6 + 2.0 * g(random);
                x2 = x1 + 2.0 * (g(random) % 5), y2 = i % 2 == 0 ? y1 : y1 + 2.0 * (g(random) % 5);
            }
            exd += exdLine(5, 10 * i, x1, y1, x2, y2);
        }
        // A line 20 km long that stops a micrometre short of a column of
        // edges: within the intersection's tolerance, so it crosses them.
        exd += exdLine(0, 900, 5.0e5 + 40 - 20000, 4.0e6 + 31.3, 5.0e5 + 40 - 1e-6, 4.0e6 + 31.3);
        const std::string text = expectSameAsLiteral(tinText, exd);
        EXPECT_GT(std::count(text.begin(), text.end(), '\n'), 100);
    }
}

TEST(SectionsOracle, LinesAcrossRealTerrain) {
    const auto triangles = tz::test::jacksboroTin();
    const std::string tinText = tz::test::tinText(triangles);
    const auto& p = triangles.front().p1;
    std::mt19937 random(4);
    std::uniform_real_distribution<double> ux(p.x - 200, p.x + 2400), uy(p.y - 200, p.y + 2900);
    std::string exd;
    for (int i = 0; i < 40; ++i) exd += exdLine(30, 1000 + 20 * i, ux(random), uy(random), ux(random), uy(random));
    expectSameAsLiteral(tinText, exd);
}

TEST(SectionsOracle, DegenerateInputs) {
    const std::string square = "0 0 10 10 0 20 0 10 30\n10 0 20 10 10 40 0 10 30\n";
    expectSameAsLiteral(square, "");
    expectSameAsLiteral(square, "1,2,3,4,5,6");  // the only line has no line break
    expectSameAsLiteral("", exdLine(0, 1, 0, 0, 5, 5));
    expectSameAsLiteral(square, exdLine(0, 1, 0, 0, 10, 10) + exdLine(0, 2, 5, 5, 5, 5) +
                                    exdLine(3, 3, 0, 0, 0, 10) + exdLine(0, 4, 10, 0, 0, 10));
}

}  // namespace
