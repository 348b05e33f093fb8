#include "sections/SectionExtractor.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace tz::sections;

TinTable tin(const std::string& text) {
    std::istringstream in(text);
    return loadTinTable(in).table;
}

// Two triangles sharing the edge (10,0)-(0,10); z = 10 + x + 2y over both.
const std::string kSquare = "0 0 10 10 0 20 0 10 30\n10 0 20 10 10 40 0 10 30\n";

SectionLine line(double origin, double station, double x1, double y1, double x2, double y2) {
    return {origin, station, x1, y1, x2, y2};
}

TEST(SectionExtractor, ALineInsideOneTriangleHasOnlyItsEndLine) {
    const ExtractedSections s = extractSections(tin(kSquare), {line(1, 100, 1, 1, 3, 1)});
    EXPECT_EQ(s.text, "1.000000 15.000000\nX\n");
    EXPECT_EQ(s.outcome, SectionsOutcome::lastLineCrossesNoEdge);
}

TEST(SectionExtractor, ASharedEdgeIsCrossedOnceAndALoneCrossingWrittenTwice) {
    // From (2,2) to (8,8): crosses the shared edge at (5,5), offset 3*sqrt2 - 2.
    const ExtractedSections s = extractSections(tin(kSquare), {line(2, 100, 2, 2, 8, 8)});
    EXPECT_EQ(s.text,
              "100.000000\n"
              "-2.000000 16.000000\n"
              "2.242641 25.000000\n"
              "2.242641 25.000000\n"
              "6.485281 34.000000\n"
              "X\n");
    EXPECT_EQ(s.outcome, SectionsOutcome::done);
}

TEST(SectionExtractor, CrossingsAreWrittenByIncreasingOffset) {
    // From (12,5) leftwards to (-2,5): crosses x=10, the diagonal at (5,5), x=0.
    const ExtractedSections s = extractSections(tin(kSquare), {line(0, 7, 12, 5, -2, 5)});
    EXPECT_EQ(s.text,
              "7.000000\n"
              "2.000000 30.000000\n"
              "7.000000 25.000000\n"
              "12.000000 20.000000\n"
              "X\n");
}

TEST(SectionExtractor, AStartOutsideTheTinHasNoStartLine) {
    // From (-5,5) to (5,2): enters the TIN across x = 0 at (0, 3.5).
    const ExtractedSections s = extractSections(tin(kSquare), {line(0, 1, -5, 5, 5, 2)});
    EXPECT_EQ(s.text,
              "1.000000\n"
              "5.220153 17.000000\n"
              "5.220153 17.000000\n"
              "10.440307 19.000000\n"
              "X\n");
}

TEST(SectionExtractor, GroundAtOrBelowATenthOmitsTheEndLinesButNotTheCrossings) {
    // Flat at 0.1 over the first triangle, rising to 0.3 at (10,10) over the second.
    const std::string low = "0 0 0.1 10 0 0.1 0 10 0.1\n10 0 0.1 10 10 0.3 0 10 0.1\n";
    const ExtractedSections s = extractSections(tin(low), {line(0, 3, 1, 1, 8, 5)});
    // Start (1,1): ground exactly 0.1, omitted. The diagonal at 0.1 is
    // written. End (8,5): ground 0.16, written.
    EXPECT_EQ(s.text,
              "3.000000\n"
              "5.863460 0.100000\n"
              "5.863460 0.100000\n"
              "8.062258 0.160000\n"
              "X\n");
    // The same line reversed: now the end lies on the flat 0.1 ground. (The
    // start offset is minus the origin distance: -0 for an origin of 0.)
    const ExtractedSections back = extractSections(tin(low), {line(0, 3, 8, 5, 1, 1)});
    EXPECT_EQ(back.text,
              "3.000000\n"
              "-0.000000 0.160000\n"
              "2.198798 0.100000\n"
              "2.198798 0.100000\n"
              "X\n");
}

TEST(SectionExtractor, CrossingsAtOneOffsetKeepTheOrderFound) {
    // Overlapping triangles whose edges cross at (5,5) at elevations 50 and 20.
    const std::string first = "0 0 0 10 10 100 10 0 0\n", second = "0 10 20 10 0 20 0 0 20\n";
    const auto across = line(0, 9, -1, 5, 11, 5);
    EXPECT_EQ(extractSections(tin(first + second), {across}).text,
              "9.000000\n"
              "1.000000 20.000000\n"
              "6.000000 50.000000\n"
              "6.000000 20.000000\n"
              "11.000000 50.000000\n"
              "X\n");
    EXPECT_EQ(extractSections(tin(second + first), {across}).text,
              "9.000000\n"
              "1.000000 20.000000\n"
              "6.000000 20.000000\n"
              "6.000000 50.000000\n"
              "11.000000 50.000000\n"
              "X\n");
}

TEST(SectionExtractor, EndElevationsComeFromTheLastContainingTriangle) {
    const std::string overlap = kSquare + "0 0 500 20 0 500 0 20 500\n";
    const ExtractedSections s = extractSections(tin(overlap), {line(0, 1, 1, 1, 2, 1)});
    EXPECT_EQ(s.text, "1.000000 500.000000\nX\n");
}

TEST(SectionExtractor, NoSectionLinesWriteNothing) {
    const ExtractedSections s = extractSections(tin(kSquare), {});
    EXPECT_EQ(s.outcome, SectionsOutcome::noSectionLines);
    EXPECT_TRUE(s.text.empty());
}

TEST(SectionExtractor, OnlyTheLastLineDecidesTheClosingMessage) {
    const auto crossing = line(2, 100, 2, 2, 8, 8), inside = line(1, 100, 1, 1, 3, 1);
    EXPECT_EQ(extractSections(tin(kSquare), {inside, crossing}).outcome, SectionsOutcome::done);
    EXPECT_EQ(extractSections(tin(kSquare), {crossing, inside}).outcome, SectionsOutcome::lastLineCrossesNoEdge);
}

TEST(SectionExtractor, AnEmptyTinGivesEndlessXLines) {
    const ExtractedSections s = extractSections(tin(""), {line(0, 1, 0, 0, 1, 1), line(0, 2, 0, 0, 1, 1)});
    EXPECT_EQ(s.text, "X\nX\n");
    EXPECT_EQ(s.outcome, SectionsOutcome::lastLineCrossesNoEdge);
}

}  // namespace
