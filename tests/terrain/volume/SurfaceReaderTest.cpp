#include "volume/SurfaceReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <vector>
#include <memory>
#include <string>

namespace tz::terrain::volume {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File fileWith(const std::string& text) {
    File file(std::tmpfile());
    std::fwrite(text.data(), 1, text.size(), file.get());
    std::rewind(file.get());
    return file;
}

SurfaceLoad load(const std::string& text, LastRecordRule rule) { return loadSurface(fileWith(text).get(), rule); }

const std::string kLine1 = "0.000000 0.000000 1.000000 0.000000 10.000000 2.000000 10.000000 0.000000 3.000000";
const std::string kLine2 = "10.000000 0.000000 3.000000 0.000000 10.000000 2.000000 10.000000 10.000000 4.000000";

TEST(SurfaceReader, ReadsEveryTriangleInFileOrder) {
    for (auto rule : {LastRecordRule::DropWithoutLineEnd, LastRecordRule::Keep}) {
        const SurfaceLoad surface = load(kLine1 + "\n" + kLine2 + "\n", rule);
        ASSERT_EQ(surface.triangles.size(), 2u);
        EXPECT_EQ(surface.triangles[0].z3, 3);
        EXPECT_EQ(surface.triangles[1].x3, 10);
        EXPECT_EQ(highestZ(surface.triangles[1]), 4);
        EXPECT_EQ(surface.stop, ReadStop::EndOfFile);
    }
}

TEST(SurfaceReader, LastLineWithoutLineBreakIsDroppedByTheVolumesRuleOnly) {
    const std::string text = kLine1 + "\n" + kLine2;
    EXPECT_EQ(load(text, LastRecordRule::DropWithoutLineEnd).triangles.size(), 1u);
    EXPECT_EQ(load(text, LastRecordRule::DropWithoutLineEnd).stop, ReadStop::EndOfFile);
    EXPECT_EQ(load(text, LastRecordRule::Keep).triangles.size(), 2u);
    // Any white space after the ninth number keeps it, as the runtime's reading does.
    EXPECT_EQ(load(text + " ", LastRecordRule::DropWithoutLineEnd).triangles.size(), 2u);
    EXPECT_EQ(load(text + "\r\n", LastRecordRule::DropWithoutLineEnd).triangles.size(), 2u);
}

TEST(SurfaceReader, NumbersFlowAcrossLinesAndAnyWhiteSpace) {
    const SurfaceLoad surface = load("0 0 1\n0 10 2\t10 0 3\r\n\n", LastRecordRule::DropWithoutLineEnd);
    ASSERT_EQ(surface.triangles.size(), 1u);
    EXPECT_EQ(surface.triangles[0].x3, 10);
}

TEST(SurfaceReader, EmptyAndBlankFilesHoldNoTriangles) {
    for (const std::string text : {"", "\n", "  \r\n \n"}) {
        const SurfaceLoad surface = load(text, LastRecordRule::DropWithoutLineEnd);
        EXPECT_TRUE(surface.triangles.empty());
        EXPECT_EQ(surface.stop, ReadStop::EndOfFile);
    }
}

TEST(SurfaceReader, TextThatIsNotANumberEndsTheReadingThere) {
    for (const std::string bad : {"abc", "nan", "inf", "-", "1e999", "0x10"}) {
        const SurfaceLoad surface =
            load(kLine1 + "\n" + bad + " 1 2 3 4 5 6 7 8\n" + kLine2 + "\n", LastRecordRule::DropWithoutLineEnd);
        EXPECT_EQ(surface.triangles.size(), 1u) << bad;
        EXPECT_EQ(surface.stop, ReadStop::NotANumber) << bad;
    }
    const SurfaceLoad midway = load(kLine1 + "\n1 2 3 x 5 6 7 8 9\n", LastRecordRule::Keep);
    EXPECT_EQ(midway.triangles.size(), 1u);
    EXPECT_EQ(midway.stop, ReadStop::NotANumber);
}

TEST(SurfaceReader, ATriangleCutShortIsIgnoredAndTold) {
    const SurfaceLoad surface = load(kLine1 + "\n1 2 3 4 5\n", LastRecordRule::Keep);
    EXPECT_EQ(surface.triangles.size(), 1u);
    EXPECT_EQ(surface.stop, ReadStop::IncompleteRecord);
}

TEST(SurfaceReader, TablesGrowPastTheOldFixedCapacity) {
    std::string text;
    const int count = 130001;
    text.reserve(static_cast<size_t>(count) * 20);
    for (int i = 0; i < count; ++i) text += std::to_string(i) + " 0 0 0 1 0 1 0 0\n";
    const SurfaceLoad surface = load(text, LastRecordRule::DropWithoutLineEnd);
    ASSERT_EQ(surface.triangles.size(), static_cast<size_t>(count));
    EXPECT_EQ(surface.triangles.back().x1, count - 1);
}

TEST(SurfaceReader, LongLinesReadWhole) {
    std::string text = std::string(100000, ' ') + kLine1 + std::string(100000, ' ') + "\n";
    EXPECT_EQ(load(text, LastRecordRule::DropWithoutLineEnd).triangles.size(), 1u);
}

TEST(SurfaceReader, RecordReaderStreamsOneTriangleAtATime) {
    File file = fileWith(kLine1 + "\n" + kLine2 + "\n");
    TinRecordReader reader(file.get(), LastRecordRule::Keep);
    double numbers[9];
    ASSERT_TRUE(reader.next(numbers));
    EXPECT_EQ(numbers[8], 3);
    ASSERT_TRUE(reader.next(numbers));
    EXPECT_EQ(numbers[8], 4);
    EXPECT_FALSE(reader.next(numbers));
    EXPECT_FALSE(reader.next(numbers));
    EXPECT_EQ(reader.stop(), ReadStop::EndOfFile);
}

TEST(SurfaceReader, LoadsWhatTheRecordReaderGivesOneAtATime) {
    // The whole-surface reading (two threads) against the record reader on
    // texts that end every way a file can: in a number, after white space,
    // within a record, at text that is not a number.
    std::mt19937_64 random(8);
    const std::vector<std::string> tokens = {"1.5", "-2", "500000.123456", "1e3", "7"};
    const std::vector<std::string> ends = {"", " ", "\n", "\r\n", " 4 5", " x", " 1 2 3 4 5 6 7 8 9", "e"};
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) text += (i ? (random() % 9 ? " " : "\n") : "") + tokens[random() % tokens.size()];
        text += ends[random() % ends.size()];
        for (auto rule : {LastRecordRule::DropWithoutLineEnd, LastRecordRule::Keep}) {
            File file = fileWith(text);
            TinRecordReader reader(file.get(), rule);
            std::vector<std::array<double, 9>> expected;
            double numbers[9];
            while (reader.next(numbers)) {
                std::array<double, 9> record;
                std::copy(numbers, numbers + 9, record.begin());
                expected.push_back(record);
            }
            const SurfaceLoad surface = load(text, rule);
            ASSERT_EQ(surface.stop, reader.stop()) << text;
            ASSERT_EQ(surface.triangles.size(), expected.size()) << text;
            for (size_t k = 0; k < expected.size(); ++k) {
                const PreparedTriangle& t = surface.triangles[k];
                const std::array<double, 9> got = {t.x1, t.y1, t.z1, t.x2, t.y2, t.z2, t.x3, t.y3, t.z3};
                ASSERT_EQ(got, expected[k]) << text;
            }
        }
    }
}

TEST(SurfaceReader, StopMessagesNameTheFile) {
    EXPECT_EQ(readStopMessage("site.tin", ReadStop::EndOfFile, 3), "");
    EXPECT_EQ(readStopMessage("site.tin", ReadStop::NotANumber, 3),
              "\nDTM: site.tin holds text that is not a number after 3 triangles; reading stops there.\n");
    EXPECT_EQ(readStopMessage("a/b.tin", ReadStop::IncompleteRecord, 0),
              "\nDTM: a/b.tin ends within a triangle after 0 triangles; the incomplete triangle is ignored.\n");
    EXPECT_EQ(readStopMessage("b.tin", ReadStop::NotANumber, 1),
              "\nDTM: b.tin holds text that is not a number after 1 triangle; reading stops there.\n");
}

}  // namespace
}  // namespace tz::terrain::volume
