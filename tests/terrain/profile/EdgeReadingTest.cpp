#include "profile/EdgeReading.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>
#include <sstream>

#include "LiteralProfileCutter.h"
#include "TestTerrain.h"

namespace {

using namespace tz::terrain::profile;

EdgeLoad edgeFile(const std::string& text) {
    std::istringstream in(text);
    return readEdgeFile(in);
}

EdgeLoad tinFile(const std::string& text) {
    std::istringstream in(text);
    return readTinEdges(in);
}

TEST(EdgeFile, EveryCompleteRecordIsUsedWhateverTheLineBreaks) {
    const EdgeLoad load = edgeFile("5 -1 10 5 1\n20\n0 0 0 1 1 1 7 7 7");
    EXPECT_EQ(load.recordsRead, 2u);
    ASSERT_EQ(load.edges.size(), 2u);
    EXPECT_EQ(load.edges.edges()[0].b.z, 20);
    EXPECT_FALSE(load.stoppedAtUnreadableText);  // an incomplete last record is no error
}

TEST(EdgeFile, TheSameEdgeListedTwiceOnceReversedIsStoredOnce) {
    const EdgeLoad load = edgeFile("5 -1 10 5 1 20\r\n5 1 20 5 -1 10\r\n");
    EXPECT_EQ(load.recordsRead, 2u);
    EXPECT_EQ(load.edges.size(), 1u);
}

TEST(EdgeFile, AnEmptyFileGivesNoEdges) {
    EXPECT_TRUE(edgeFile("").edges.empty());
    EXPECT_TRUE(edgeFile(" \n\n").edges.empty());
}

TEST(EdgeFile, TheNoteLeftByAnEarlierRunHoldsNoEdges) {
    const EdgeLoad load = edgeFile("This file was created by Profile Cutter and may be deleted.");
    EXPECT_TRUE(load.edges.empty());
    EXPECT_TRUE(load.stoppedAtUnreadableText);
}

TEST(EdgeFile, TextThatIsNoNumberEndsTheReadingThere) {
    const EdgeLoad load = edgeFile("0 0 0 1 1 1\n2 2 2 3 3 3\n4 4 oops 5 5 5\n6 6 6 7 7 7\n");
    EXPECT_EQ(load.edges.size(), 2u);
    EXPECT_TRUE(load.stoppedAtUnreadableText);
    EXPECT_EQ(edgeFile("0 0 0 1 1 nan\n").edges.size(), 0u);
}

TEST(TinEdges, ATriangleGivesItsEdgesInOrderP1P2P2P3P3P1) {
    const EdgeLoad load = tinFile("0 0 10 10 0 20 0 10 30\n");
    ASSERT_EQ(load.edges.size(), 3u);
    const auto& e = load.edges.edges();
    EXPECT_EQ(e[0].a.z, 10);
    EXPECT_EQ(e[0].b.z, 20);
    EXPECT_EQ(e[1].a.z, 20);
    EXPECT_EQ(e[1].b.z, 30);
    EXPECT_EQ(e[2].a.z, 30);
    EXPECT_EQ(e[2].b.z, 10);
}

TEST(TinEdges, SharedEdgesAreStoredOnceAndALastLineWithoutBreakCounts) {
    const EdgeLoad load = tinFile("0 0 1 10 0 2 0 10 3\n10 0 2 10 10 4 0 10 3");
    EXPECT_EQ(load.recordsRead, 2u);
    EXPECT_EQ(load.edges.size(), 5u);
}

TEST(TinEdges, AgreeWithTheLiteralReadingOnGridTins) {
    std::mt19937 random(11);
    for (double jitter : {0.0, 0.3}) {
        const auto triangles = tz::test::gridTin(15, 12, 5.0, jitter, random);
        const std::string text = tz::test::tinText(triangles);
        const auto literal = tz::test::literalEdgesFromTin(text);
        const EdgeLoad load = tinFile(text);
        ASSERT_EQ(load.edges.size(), literal.size());
        // A grid of c x r points has (c-1)r + c(r-1) + (c-1)(r-1) edges.
        EXPECT_EQ(literal.size(), static_cast<std::size_t>(14 * 12 + 15 * 11 + 14 * 11));
        for (std::size_t i = 0; i < literal.size(); ++i) {
            EXPECT_TRUE(samePoint(load.edges.edges()[i].a, literal[i].a));
            EXPECT_TRUE(samePoint(load.edges.edges()[i].b, literal[i].b));
        }
        const auto fromEdgeFile = edgeFile(tz::test::edgeFileText(triangles));
        EXPECT_EQ(fromEdgeFile.edges.size(), literal.size());
        EXPECT_EQ(fromEdgeFile.recordsRead, 3 * triangles.size());
    }
}

// The loads from an open file (numbers read on two threads) against the
// scanner's one by one, on texts with every kind of number, text that is
// not a number, records cut short and line ends of both kinds.
std::string randomNumberText(std::mt19937_64& random) {
    static const std::vector<std::string> tokens = {"1.5", "-2", "500000.123456", "1e3", "7", "1.", ".5", "-0.000000",
                                                    "4096.25", "12345678901234567890", "2.5e-3"};
    static const std::vector<std::string> ends = {"", " ", "\n", "\r\n", " 4 5", " x 1 2", " nan", " 1e999", "e"};
    std::string text;
    const int count = static_cast<int>(random() % 80);
    for (int i = 0; i < count; ++i) {
        if (i) text += random() % 7 ? " " : (random() % 2 ? "\r\n" : "\n\t");
        text += tokens[random() % tokens.size()];
    }
    return text + ends[random() % ends.size()];
}

bool sameLoad(const EdgeLoad& a, const EdgeLoad& b) {
    if (a.recordsRead != b.recordsRead || a.stoppedAtUnreadableText != b.stoppedAtUnreadableText) return false;
    if (a.edges.size() != b.edges.size()) return false;
    for (size_t i = 0; i < a.edges.size(); ++i) {
        const Edge& e = a.edges.edges()[i];
        const Edge& f = b.edges.edges()[i];
        if (!samePoint(e.a, f.a) || !samePoint(e.b, f.b)) return false;
    }
    return true;
}

TEST(EdgeReading, FromAnOpenFileAsFromTheScanner) {
    std::mt19937_64 random(14);
    for (int round = 0; round < 400; ++round) {
        const std::string text = randomNumberText(random);
        std::FILE* file = std::tmpfile();
        std::fwrite(text.data(), 1, text.size(), file);
        std::rewind(file);
        ASSERT_TRUE(sameLoad(readTinEdges(file), tinFile(text))) << text;
        std::rewind(file);
        ASSERT_TRUE(sameLoad(readEdgeFile(file), edgeFile(text))) << text;
        std::fclose(file);
    }
}

}  // namespace
