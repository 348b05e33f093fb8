#include "sections/ProposedSectionsReader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace tz::secvolume;
using Next = ProposedSectionsReader::Next;

struct Read {
    std::vector<CrossSection> sections;
    Next last;
};

Read readAll(const std::string& text) {
    std::istringstream in(text);
    tz::terrain::profile::TextScanner scanner(in);
    ProposedSectionsReader reader(scanner);
    Read read;
    CrossSection section;
    while ((read.last = reader.next(section)) == Next::section) read.sections.push_back(section);
    return read;
}

void expectSegment(const SectionSegment& s, double x0, double y0, double x1, double y1) {
    EXPECT_EQ(s.start.x, x0);
    EXPECT_EQ(s.start.y, y0);
    EXPECT_EQ(s.end.x, x1);
    EXPECT_EQ(s.end.y, y1);
    EXPECT_EQ(s.start.z, 0);
    EXPECT_EQ(s.end.z, 0);
}

TEST(ProposedSectionsReader, ReadsTheExistingAndProposedLines) {
    const Read r = readAll(
        "100 7 EG\n-50 100 0 100\n50 100\n"
        "datum\n-40 90 1 -20 110 2 20 110 3\nX\n"
        "120.5 0 datum 0 0 9 10 10 9\nX\n");
    ASSERT_EQ(r.sections.size(), 2u);
    EXPECT_EQ(r.last, Next::end);
    const CrossSection& a = r.sections[0];
    EXPECT_EQ(a.station, 100);
    ASSERT_EQ(a.existing.size(), 2u);
    expectSegment(a.existing[0], -50, 100, 0, 100);
    expectSegment(a.existing[1], 0, 100, 50, 100);
    ASSERT_EQ(a.proposed.size(), 2u);  // the third number of each datum point is ignored
    expectSegment(a.proposed[1], -20, 110, 20, 110);
    EXPECT_TRUE(a.hasProposedLine);
    const CrossSection& b = r.sections[1];
    EXPECT_EQ(b.station, 120.5);
    EXPECT_TRUE(b.existing.empty());
    ASSERT_EQ(b.proposed.size(), 1u);
}

TEST(ProposedSectionsReader, AKeywordStartsANewPieceNotJoinedToTheLast) {
    const Read r = readAll("1 0 EG 0 0 1 1 EG 5 5 6 6 7 7\ndatum 0 0 0\nX\n");
    ASSERT_EQ(r.sections.size(), 1u);
    const CrossSection& s = r.sections[0];
    ASSERT_EQ(s.existing.size(), 3u);
    expectSegment(s.existing[0], 0, 0, 1, 1);
    expectSegment(s.existing[1], 5, 5, 6, 6);
    EXPECT_TRUE(s.proposed.empty());
    EXPECT_TRUE(s.hasProposedLine);  // one datum point makes a proposed line
}

TEST(ProposedSectionsReader, UnknownWordsAreSkippedWithTheirNumbers) {
    const Read r = readAll("1 0 EG\n0 1 2 3\nCL 7 8 9 10\nEG 4 5 6 7\nX\n");
    ASSERT_EQ(r.sections.size(), 1u);
    ASSERT_EQ(r.sections[0].existing.size(), 2u);
    expectSegment(r.sections[0].existing[0], 0, 1, 2, 3);
    expectSegment(r.sections[0].existing[1], 4, 5, 6, 7);
}

TEST(ProposedSectionsReader, AnUnknownHeaderTypeSkipsToTheSectionsEndAndLosesNoLaterSection) {
    const Read r = readAll("1 0 CL 1 2 3 4\nX\n2 0 EG 0 0 1 1\nX\n");
    ASSERT_EQ(r.sections.size(), 2u);
    EXPECT_TRUE(r.sections[0].existing.empty());
    EXPECT_FALSE(r.sections[0].hasProposedLine);
    EXPECT_EQ(r.sections[1].existing.size(), 1u);
}

TEST(ProposedSectionsReader, AnXMetWhileSkippingEndsTheSection) {
    const Read r = readAll("1 0 EG 0 0 1 1 note 5 6 X\n2 0 datum 0 0 0 1 1 1\nX\n");
    ASSERT_EQ(r.sections.size(), 2u);
    EXPECT_EQ(r.sections[0].existing.size(), 1u);
    EXPECT_EQ(r.sections[1].station, 2);
    EXPECT_EQ(r.sections[1].proposed.size(), 1u);
}

TEST(ProposedSectionsReader, AHeaderFollowedDirectlyByXIsASectionWithoutPoints) {
    const Read r = readAll("1 0 EG\nX\n2 0 EG\n0 0 1 1\nX\n");
    ASSERT_EQ(r.sections.size(), 2u);
    EXPECT_TRUE(r.sections[0].existing.empty());
    EXPECT_EQ(r.sections[1].existing.size(), 1u);
}

TEST(ProposedSectionsReader, ASectionTheFileEndsInsideIsNotRead) {
    EXPECT_TRUE(readAll("1 0 EG\n0 0 1 1\nX").sections.empty());  // "X" without a line break
    EXPECT_EQ(readAll("1 0 EG\n0 0 1 1\nX\n2 0 EG 0 0 1 1\nX").sections.size(), 1u);
    EXPECT_EQ(readAll("1 0 EG\n0 0 1 1\nX\n2 0 EG 0 0 1 1\n").sections.size(), 1u);
    EXPECT_EQ(readAll("1 0 EG\n0 0 1 1\nX\n2 0 EG 0 0 1 1").sections.size(), 1u);
    EXPECT_EQ(readAll("1 0 EG\n0 0 1 1\nX\n2 0").sections.size(), 1u);
    EXPECT_TRUE(readAll("").sections.empty());
    EXPECT_TRUE(readAll("\n \n").sections.empty());
}

TEST(ProposedSectionsReader, TabsAndWindowsLineEndsSeparateLikeBlanks) {
    const Read r = readAll("1\t0\tEG\r\n0\t0\t1\t1\r\n\t2 2\r\ndatum\t0 0 0\t3 3 3\r\nX\r\n");
    ASSERT_EQ(r.sections.size(), 1u);
    EXPECT_EQ(r.sections[0].existing.size(), 2u);
    EXPECT_EQ(r.sections[0].proposed.size(), 1u);
}

TEST(ProposedSectionsReader, AHeaderWithoutNumbersStopsTheReading) {
    const Read r = readAll("1 0 EG 0 0 1 1\nX\nEG 0 0 1 1\nX\n3 0 EG 0 0 1 1\nX\n");
    EXPECT_EQ(r.sections.size(), 1u);
    EXPECT_EQ(r.last, Next::unreadableHeader);
}

TEST(ProposedSectionsReader, APointBrokenByTextLosesOnlyThatPoint) {
    const Read r = readAll("1 0 EG 0 0 1 1 2 oops 3 3 EG 5 5 6 6\nX\n");
    ASSERT_EQ(r.sections.size(), 1u);
    ASSERT_EQ(r.sections[0].existing.size(), 2u);
    expectSegment(r.sections[0].existing[1], 5, 5, 6, 6);
    // A sign without a number is text too.
    const Read sign = readAll("1 0 EG 0 0 1 1 - 2 EG 5 5 6 6\nX\n");
    ASSERT_EQ(sign.sections.size(), 1u);
    EXPECT_EQ(sign.sections[0].existing.size(), 2u);
}

}  // namespace
