// The fault stage on files: reading, the boundary rule, the break, failures.
#include "faults/FaultApplication.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "LiteralFaults.h"
#include "LiteralTriangulation.h"
#include "TinTestSupport.h"
#include "tin/TinFile.h"

namespace tz::terrain {
namespace {

class FaultStage : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<Point3> points = testing::prepared(testing::gridPoints(8, 8, 1.0, 100, 200, 0, nullptr));
        double header[6];
        testing::headerOf(points, header);
        tin = testing::triangulateFast(header, points);
        ASSERT_TRUE(writeTinFile(raw(), tin));
    }
    std::string raw() const { return folder.path("site.ttin"); }
    std::string faulted() const { return folder.path("site.ftin"); }
    std::string run(const std::string& faults, int dimension, bool useBoundary = false,
                    const std::string& boundary = "", const UserBreakTest& userBreak = {}) {
        testing::writeWholeFile(folder.path("site.flt"), faults);
        status = applyFaultLines(raw(), folder.path("site.flt"), dimension, useBoundary, boundary, reporter, userBreak);
        return testing::readWholeFile(faulted());
    }
    std::string expected(const std::vector<Segment>& faults, const std::vector<Segment>& boundary = {}) {
        std::vector<Triangle> copy = tin;
        std::string printed;
        literal::applyFaultsLiterally(copy, faults, boundary, printed);
        expectedPrinted = printed + "Done\n";
        return testing::crlf(literal::formatTin(copy));
    }

    testing::ScratchFolder folder;
    std::vector<Triangle> tin;
    testing::RecordingReporter reporter;
    std::string expectedPrinted;
    int status = 1;
};

TEST_F(FaultStage, AppliesFaultsInFileOrder) {
    const std::string out = run("101 201 0 105 204 0\n102 206 0 106 201 0\n100.04 203 0 107 203.05 0\n", 3);
    EXPECT_EQ(status, kStageDone);
    EXPECT_EQ(out, expected({{{101, 201, 0}, {105, 204, 0}}, {{102, 206, 0}, {106, 201, 0}},
                             {{100.04, 203, 0}, {107, 203.05, 0}}}));
    EXPECT_EQ(reporter.printed, expectedPrinted);
    EXPECT_NE(out, testing::crlf(literal::formatTin(tin)));
    std::vector<Triangle> result;
    ASSERT_TRUE(readTinFile(faulted(), result));
    EXPECT_EQ(testing::validityFault(result), "");
}

TEST_F(FaultStage, DimensionTwoReadsFourNumbersPerFault) {
    const std::string faults = "101 201 105 204\n102 206 106 201\n107 202 104 207\n";
    const std::string two = run(faults, 2);
    EXPECT_EQ(two, expected({{{101, 201, 0}, {105, 204, 0}}, {{102, 206, 0}, {106, 201, 0}},
                             {{107, 202, 0}, {104, 207, 0}}}));
    // Read six at a time, the same twelve numbers are two other faults.
    const std::string three = run(faults, 3);
    EXPECT_EQ(three, expected({{{101, 201, 105}, {204, 102, 206}}, {{0, 106, 201}, {107, 202, 104}}}));
    EXPECT_NE(two, three);
}

TEST_F(FaultStage, LastFaultWithoutLineBreakIsNotUsed) {
    EXPECT_EQ(run("101 201 0 105 204 0", 3), testing::crlf(literal::formatTin(tin)));
    EXPECT_EQ(reporter.printed, "Done\n");
}

TEST_F(FaultStage, FaultOnABoundarySegmentIsSkipped) {
    testing::writeWholeFile(folder.path("site.bnd"), "105.000001 204 0 101 201 0\n");
    const std::string out = run("101 201 0 105 204 0\n", 3, true, folder.path("site.bnd"));
    EXPECT_EQ(status, kStageDone);
    EXPECT_EQ(out, testing::crlf(literal::formatTin(tin)));
}

TEST_F(FaultStage, UserBreakLeavesTheOutputEmpty) {
    const std::string out = run("101 201 0 105 204 0\n", 3, false, "", [] { return true; });
    EXPECT_EQ(status, kStatusCancel);
    EXPECT_TRUE(testing::fileExists(faulted()));
    EXPECT_EQ(out, "");
}

// /dev/full takes the file and fails every write, as a full disk does.
TEST_F(FaultStage, AFailedWriteLeavesNoCutOffFile) {
    std::filesystem::create_symlink("/dev/full", faulted());
    run("101 201 0 105 204 0\n", 3);
    EXPECT_EQ(status, kStatusError);
    EXPECT_EQ(reporter.alerts, std::vector<std::string>{"Error writing output file.\n"});
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(faulted())));
}

TEST_F(FaultStage, FilesThatCannotBeOpened) {
    EXPECT_EQ(applyFaultLines(folder.path("none.ttin"), folder.path("site.flt"), 3, false, "", reporter, {}),
              kStatusError);
    testing::writeWholeFile(folder.path("site.flt"), "101 201 0 105 204 0\n");
    EXPECT_EQ(applyFaultLines(raw(), folder.path("site.flt"), 3, true, folder.path("none.bnd"), reporter, {}),
              kStatusError);
    EXPECT_EQ(applyFaultLines(raw(), "", 3, false, "", reporter, {}), kStatusError);
    ASSERT_EQ(reporter.alerts.size(), 3u);
    EXPECT_EQ(reporter.alerts[0], "Error opening triangle file.\n");
    EXPECT_EQ(reporter.alerts[1], "Error opening boundary file.\n");
    EXPECT_EQ(reporter.alerts[2], "Error opening fault line file.\n");
    EXPECT_FALSE(testing::fileExists(faulted()));
}

TEST_F(FaultStage, TextInTheFaultFileEndsIt) {
    const std::string out = run("101 201 0 105 204 0\nnan 1 2 3 4 5\n102 206 0 106 201 0\n", 3);
    EXPECT_EQ(out, expected({{{101, 201, 0}, {105, 204, 0}}}));
}

}  // namespace
}  // namespace tz::terrain
