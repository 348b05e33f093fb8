// The triangulation stage on files.
#include "tin/Triangulation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "FileSystem.h"
#include "LiteralTriangulation.h"
#include "TinTestSupport.h"
#include "tin/TinFile.h"

namespace tz::terrain {
namespace {

class TriangulationStage : public ::testing::Test {
protected:
    int build(const std::string& sortedText, const UserBreakTest& userBreak = {}) {
        testing::writeWholeFile(folder.path("sorted.txt"), sortedText);
        return buildTriangulation(folder.path("site.dat"), folder.path("sorted.txt"), reporter, userBreak);
    }
    std::string ttin() const { return testing::readWholeFile(folder.path("site.ttin")); }

    testing::ScratchFolder folder;
    testing::RecordingReporter reporter;
};

TEST_F(TriangulationStage, ThreePointsGiveOneClockwiseTriangle) {
    EXPECT_EQ(build("0 0 1\n10 7 3\n0 0 1\n4 7 3\n10 0 2\n"), kStageDone);
    EXPECT_EQ(ttin(), testing::crlf("0.000000 0.000000 1.000000 4.000000 7.000000 3.000000 10.000000 0.000000 2.000000\n"));
    EXPECT_EQ(reporter.printed, "Done\n");
}

TEST_F(TriangulationStage, HeaderOnlyGivesAnEmptyFile) {
    EXPECT_EQ(build("0 0 1\n10 7 3\n"), kStageDone);
    EXPECT_TRUE(testing::fileExists(folder.path("site.ttin")));
    EXPECT_EQ(ttin(), "");
    EXPECT_EQ(reporter.printed, "Done\n");
    EXPECT_EQ(build(""), kStageDone);
    EXPECT_EQ(ttin(), "");
}

TEST_F(TriangulationStage, WritesWhatTheLiteralProcedureWrites) {
    std::mt19937_64 random(12);
    const std::vector<Point3> points = testing::prepared(testing::randomPoints(random, 700, 500000, 4000000, 90, 60));
    double header[6];
    testing::headerOf(points, header);
    char line[200];
    std::string text;
    std::snprintf(line, sizeof line, "%lf %lf %lf\n%lf %lf %lf\n", header[0], header[1], header[2], header[3],
                  header[4], header[5]);
    text += line;
    for (const Point3& p : points) {
        std::snprintf(line, sizeof line, "%lf %lf %lf\n", p.x, p.y, p.z);
        text += line;
    }
    EXPECT_EQ(build(text), kStageDone);
    EXPECT_EQ(ttin(), testing::crlf(literal::formatTin(literal::triangulateLiterally(header, points))));
}

TEST_F(TriangulationStage, ListsGrowInsteadOfLimitingTriangles) {
    // Ten points once allowed 36 active triangles; the lists now grow, so no
    // alert can come and every point is used.
    std::string text = "0 0 0\n9 9 0\n";
    char line[100];
    for (int i = 0; i < 10; ++i) {
        std::snprintf(line, sizeof line, "%d %d 1\n", i, (i * 7) % 10);
        text += line;
    }
    EXPECT_EQ(build(text), kStageDone);
    EXPECT_TRUE(reporter.alerts.empty());
    std::vector<Triangle> tin;
    ASSERT_TRUE(readTinFile(folder.path("site.ttin"), tin));
    EXPECT_EQ(testing::validityFault(tin), "");
    std::vector<Point3> points;
    for (int i = 0; i < 10; ++i) points.push_back({static_cast<double>(i), static_cast<double>((i * 7) % 10), 1});
    EXPECT_TRUE(testing::usesEveryPoint(tin, points));
}

TEST_F(TriangulationStage, UserBreakLeavesTheFileEmpty) {
    int asked = 0;
    EXPECT_EQ(build("0 0 1\n10 7 3\n0 0 1\n4 7 3\n10 0 2\n", [&] { return ++asked == 2; }), kStatusCancel);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(testing::fileExists(folder.path("site.ttin")));
    EXPECT_EQ(ttin(), "");
    EXPECT_EQ(reporter.printed, "");
}

TEST_F(TriangulationStage, FilesThatCannotBeOpened) {
    EXPECT_EQ(buildTriangulation(folder.path("site.dat"), folder.path("none.txt"), reporter, {}), kStatusError);
    testing::writeWholeFile(folder.path("sorted.txt"), "0 0 1\n10 7 3\n");
    EXPECT_EQ(buildTriangulation(folder.path("no/such/site.dat"), folder.path("sorted.txt"), reporter, {}),
              kStatusError);
    ASSERT_EQ(reporter.alerts.size(), 2u);
    EXPECT_EQ(reporter.alerts[0], "Error opening sorted point file.");
    EXPECT_EQ(reporter.alerts[1], "Error opening triangle file.");
}

// /dev/full takes the file and fails every write, as a full disk does.
TEST_F(TriangulationStage, AFailedWriteLeavesNoCutOffFile) {
    std::filesystem::create_symlink("/dev/full", folder.path("site.ttin"));
    EXPECT_EQ(build("0 0 1\n10 7 3\n0 0 1\n4 7 3\n10 0 2\n"), kStatusError);
    EXPECT_EQ(reporter.alerts, std::vector<std::string>{"Error writing triangle file."});
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(folder.path("site.ttin"))));
}

// The stage streams the settled part of the result while points come: on
// a few thousand points with small chunks, with the settled part voided
// half-way (the rare exact insertion that takes a settled triangle out),
// and with a break after chunks went out, the file is what writing the
// finished result at the end gives.
class StreamedTriangulation : public ::testing::Test {
protected:
    void SetUp() override {
        std::mt19937_64 random(31);
        points = testing::prepared(testing::randomPoints(random, 4000, 500000, 4000000, 300, 200));
        testing::headerOf(points, header);
        enclosingTriangle(header[0], header[1], header[3], header[4], 16000, 8000, enclosing);
        expected = testing::crlf(literal::formatTin(testing::triangulateFast(header, points)));
    }
    DelaunayEngine engine() const {
        return DelaunayEngine(DelaunayEngine::Mode::Sweep, enclosing, header[0], header[1], header[3], header[4],
                              points.size());
    }
    StreamOutcome stream(DelaunayEngine& engine, const UserBreakTest& userBreak, size_t chunk) {
        const std::string path = folder.path("site.ttin");
        std::FILE* output = tz::platform::openFile(path, "w");
        const StreamOutcome outcome = streamTriangulation(engine, points, output, path, userBreak, chunk);
        if (output != nullptr) std::fclose(output);
        return outcome;
    }
    std::string written() const { return testing::readWholeFile(folder.path("site.ttin")); }

    std::vector<Point3> points;
    double header[6];
    Point3 enclosing[3];
    std::string expected;
    testing::ScratchFolder folder;
};

TEST_F(StreamedTriangulation, WritesTheFinishedResultWhateverTheChunks) {
    for (size_t chunk : {size_t{1}, size_t{7}, size_t{500}, size_t{1} << 20}) {
        DelaunayEngine e = engine();
        const StreamOutcome outcome = stream(e, {}, chunk);
        EXPECT_EQ(outcome.status, kStageDone);
        EXPECT_EQ(outcome.text, TinText::InWritingFormat);
        EXPECT_FALSE(outcome.rewritten);
        EXPECT_EQ(written(), expected) << "chunks of " << chunk;
    }
}

TEST_F(StreamedTriangulation, WritesAgainWhenTheSettledPartIsVoided) {
    DelaunayEngine e = engine();
    size_t asked = 0;
    const StreamOutcome outcome = stream(e, [&] {
        if (++asked == points.size() / 2) {
            EXPECT_GT(e.settledCount(), 100u);  // chunks have gone out
            e.voidSettled();
        }
        return false;
    }, 16);
    EXPECT_EQ(outcome.status, kStageDone);
    EXPECT_TRUE(outcome.rewritten);
    EXPECT_EQ(written(), expected);
}

TEST_F(StreamedTriangulation, BreakAfterChunksLeavesTheFileEmpty) {
    DelaunayEngine e = engine();
    size_t asked = 0;
    const StreamOutcome outcome = stream(e, [&] { return ++asked == points.size() - 10; }, 16);
    EXPECT_EQ(outcome.status, kStatusCancel);
    EXPECT_EQ(written(), "");
}

TEST_F(StreamedTriangulation, LargeCoordinatesAreNotKnownToBeInTheWritingFormat) {
    for (Point3& p : points) p.x += 1e9;  // ten digits before the point
    testing::headerOf(points, header);
    enclosingTriangle(header[0], header[1], header[3], header[4], 16000, 8000, enclosing);
    DelaunayEngine e = engine();
    const StreamOutcome outcome = stream(e, {}, 64);
    EXPECT_EQ(outcome.status, kStageDone);
    EXPECT_EQ(outcome.text, TinText::Unknown);
}

// The copy as described: read nine numbers, print them in the writing
// format, until the reading fails.
std::string literalCopy(const std::string& text) {
    std::string out;
    std::istringstream in(text);
    double v[9];
    char line[512];
    for (;;) {
        for (double& x : v)
            if (!(in >> x)) return out;
        std::snprintf(line, sizeof line, "%lf %lf %lf %lf %lf %lf %lf %lf %lf\r\n", v[0], v[1], v[2], v[3], v[4],
                      v[5], v[6], v[7], v[8]);
        out += line;
    }
}

TEST(TinFile, CopyKeepsWhatReadingAndPrintingAgainWouldGive) {
    // Lines already in the format (kept as they stand) mixed with every kind
    // of line that is not: short integer parts, ten digits before the point,
    // leading zeros, negative zero, records over two lines, tabs, LF only,
    // letters that end the data, a last line without a line end.
    std::mt19937_64 random(9);
    const std::vector<std::string> odd = {"1 2 3 4 5 6 7 8 9\r\n",
                                          "1234567890.123456 0.000000 -0.000000 1 2 3 4 5 6\r\n",
                                          "01.000000 2.000000 3.000000 4.000000 5.000000 6.000000 7.000000 8.000000 9.000000\r\n",
                                          "-00.500000 2.000000 3.000000 4.000000 5.000000 6.000000 7.000000 8.000000 9.000000\r\n",
                                          "1.000000 2.000000 3.000000 4.000000\r\n5.0 6 7 8 9\r\n",
                                          "1.000000\t2.000000 3.000000 4.000000 5.000000 6.000000 7.000000 8.000000 9.000000\n",
                                          "-0.000000 -0.000001 123456789.999999 4.000000 5.000000 6.000000 7.000000 8.000000 9.000000\n",
                                          "1.0000001 2.000000 3.000000 4.000000 5.000000 6.000000 7.000000 8.000000 9.000000\r\n"};
    testing::ScratchFolder folder;
    for (int round = 0; round < 40; ++round) {
        std::string text;
        const int lines = 1 + static_cast<int>(random() % 3000);
        for (int i = 0; i < lines; ++i) {
            if (random() % 50 == 0) {
                text += odd[random() % odd.size()];
                continue;
            }
            for (int k = 0; k < 9; ++k) {
                char number[64];
                std::snprintf(number, sizeof number, "%s%lf", k ? " " : "",
                              (static_cast<double>(random() % 2000000000) - 1e9) / 1e3);
                text += number;
            }
            text += round % 2 ? "\r\n" : "\n";
        }
        if (round % 5 == 1) text += "1 2 3 4 5 6 7 8 9";
        if (round % 5 == 2) text += "1 2 3 x 5 6 7 8 9\r\n1 2 3 4 5 6 7 8 9\r\n";
        testing::writeWholeFile(folder.path("in.tin"), text);
        ASSERT_TRUE(copyTinFile(folder.path("in.tin"), folder.path("out.tin")));
        ASSERT_EQ(testing::readWholeFile(folder.path("out.tin")), literalCopy(text)) << "round " << round;
    }
}

TEST(TinFile, MoveLeavesWhatCopyingAndDeletingWould) {
    testing::ScratchFolder folder;
    const std::string canonical =
        "1.000000 2.000000 3.000000 4.000000 5.000000 6.000000 7.000000 8.000000 9.000000\r\n"
        "-0.000000 2.500000 3.000000 4.000000 5.000000 6.000000 7.000000 8.000000 9.000000\r\n";
    for (const std::string& text : {canonical, canonical + "1 2 3 4 5 6 7 8 9\r\n", canonical + "1 2 3 4 5 6 7 8 9",
                                    std::string(), std::string("1.000000 2.000000")}) {
        testing::writeWholeFile(folder.path("from.tin"), text);
        testing::writeWholeFile(folder.path("to.tin"), "an older model\r\n");
        ASSERT_TRUE(moveTinFile(folder.path("from.tin"), folder.path("to.tin")));
        EXPECT_EQ(testing::readWholeFile(folder.path("to.tin")), literalCopy(text));
        EXPECT_FALSE(std::filesystem::exists(folder.path("from.tin")));
    }
    EXPECT_FALSE(moveTinFile(folder.path("none.tin"), folder.path("to.tin")));
    EXPECT_TRUE(std::filesystem::exists(folder.path("to.tin")));

    // Known to be in the writing format: renamed without reading.
    testing::writeWholeFile(folder.path("from.tin"), canonical);
    ASSERT_TRUE(moveTinFile(folder.path("from.tin"), folder.path("to.tin"), TinText::InWritingFormat));
    EXPECT_EQ(testing::readWholeFile(folder.path("to.tin")), canonical);
    EXPECT_FALSE(std::filesystem::exists(folder.path("from.tin")));
    // A target that cannot be replaced (a folder of that name) fails the move.
    std::filesystem::create_directory(folder.path("dir.tin"));
    testing::writeWholeFile(folder.path("from.tin"), canonical);
    EXPECT_FALSE(moveTinFile(folder.path("from.tin"), folder.path("dir.tin"), TinText::InWritingFormat));
    EXPECT_FALSE(moveTinFile(folder.path("from.tin"), folder.path("dir.tin")));
}

TEST(TinFile, WriterKnowsWhenItsTextIsInTheWritingFormat) {
    const double tooLarge[] = {999999999.5, -1e9, std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity()};
    for (double value : tooLarge) {
        TinWriter writer(nullptr);
        writer.write({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
        EXPECT_TRUE(writer.inWritingFormat());
        writer.write({{1, 2, 3}, {4, 5, value}, {7, 8, 9}});
        EXPECT_FALSE(writer.inWritingFormat()) << value;
        writer.write({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
        EXPECT_FALSE(writer.inWritingFormat()) << "stays known as not";
    }
    TinWriter writer(nullptr);
    writer.write({{-998999999.25, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    EXPECT_TRUE(writer.inWritingFormat());
}

TEST(TinFile, NamesCopiesAndReads) {
    EXPECT_EQ(withExtension("C:\\jobs\\site.dat", ".tin"), "C:\\jobs\\site.tin");
    EXPECT_EQ(withExtension("/jobs/site.v2.dat", ".ttin"), "/jobs/site.v2.ttin");
    EXPECT_EQ(withExtension("C:\\my.jobs\\site", ".tin"), "C:\\my.jobs\\site.tin");
    EXPECT_EQ(withExtension("site", ".ftin"), "site.ftin");

    testing::ScratchFolder folder;
    const std::vector<Triangle> two{{{1234.5, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {{4, 5, 6}, {1234.5, 2, 3}, {0, 0, 0}}};
    ASSERT_TRUE(writeTinFile(folder.path("a.tin"), two));
    EXPECT_EQ(testing::readWholeFile(folder.path("a.tin")),
              "1234.500000 2.000000 3.000000 4.000000 5.000000 6.000000 7.000000 8.000000 9.000000\r\n"
              "4.000000 5.000000 6.000000 1234.500000 2.000000 3.000000 0.000000 0.000000 0.000000\r\n");
    EXPECT_EQ(countTinRecords(folder.path("a.tin")), 2);
    // A last line without line end: copied, and counted unless the reader needs the line end.
    testing::writeWholeFile(folder.path("b.tin"), "1 2 3 4 5 6 7 8 9\n9 8 7 6 5 4 3 2 1");
    EXPECT_EQ(countTinRecords(folder.path("b.tin")), 2);
    EXPECT_EQ(countTinRecords(folder.path("b.tin"), LastRecord::NeedsLineEnd), 1);
    ASSERT_TRUE(copyTinFile(folder.path("b.tin"), folder.path("c.tin")));
    EXPECT_EQ(testing::readWholeFile(folder.path("c.tin")),
              "1.000000 2.000000 3.000000 4.000000 5.000000 6.000000 7.000000 8.000000 9.000000\r\n"
              "9.000000 8.000000 7.000000 6.000000 5.000000 4.000000 3.000000 2.000000 1.000000\r\n");
    // Empty file: no triangles; missing file: -1 and no copy.
    testing::writeWholeFile(folder.path("e.tin"), "");
    EXPECT_EQ(countTinRecords(folder.path("e.tin")), 0);
    EXPECT_EQ(countTinRecords(folder.path("none.tin")), -1);
    EXPECT_FALSE(copyTinFile(folder.path("none.tin"), folder.path("d.tin")));
    // A record cut short is dropped.
    testing::writeWholeFile(folder.path("f.tin"), "1 2 3 4 5 6 7 8 9\n1 2 3 4\n");
    std::vector<Triangle> read;
    ASSERT_TRUE(readTinFile(folder.path("f.tin"), read));
    EXPECT_EQ(read.size(), 1u);
}

}  // namespace
}  // namespace tz::terrain
