#include "boundary/BoundaryClip.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TinTestSupport.h"
#include "tin/TinFile.h"

namespace tz::terrain {
namespace {

// TIN files are text files: on disk every line ends with CR LF.
const char* kSquareWithVoid =
    "0 0 0 30 0 0\n30 0 0 30 30 0\n30 30 0 0 30 0\n0 30 0 0 0 0\n"
    "10 10 0 20 10 0\n20 10 0 20 20 0\n20 20 0 10 20 0\n10 20 0 10 10 0\n";

TEST(BoundaryClip, KeepsTrianglesBetweenOutlineAndVoid) {
    testing::ScratchFolder folder;
    writeTinFile(folder.path("a.ftin"), {{{2, 2, 1}, {2, 5, 1}, {5, 2, 1}},        // inside
                                         {{12, 12, 1}, {12, 15, 1}, {15, 12, 1}},  // in the void
                                         {{25, 25, 1}, {35, 28, 1}, {28, 25, 1}},  // crosses the outline
                                         {{5, 5, 1}, {5, 8, 1}, {8, 5, 1}}});      // inside
    testing::writeWholeFile(folder.path("site.bnd"), kSquareWithVoid);
    testing::RecordingReporter reporter;
    EXPECT_EQ(clipToBoundary(folder.path("a.ftin"), folder.path("site.bnd"), folder.path("a.tin"), reporter),
              kStatusSuccess);
    EXPECT_EQ(testing::readWholeFile(folder.path("a.tin")),
              "2.000000 2.000000 1.000000 2.000000 5.000000 1.000000 5.000000 2.000000 1.000000\r\n"
              "5.000000 5.000000 1.000000 5.000000 8.000000 1.000000 8.000000 5.000000 1.000000\r\n");
    EXPECT_TRUE(reporter.alerts.empty());
}

TEST(BoundaryClip, LastLinesWithoutLineBreakAreLost) {
    testing::ScratchFolder folder;
    // The TIN's last triangle has no line break: it is not read.
    testing::writeWholeFile(folder.path("a.ftin"),
                            "2 2 1 2 5 1 5 2 1\n"
                            "5 5 1 5 8 1 8 5 1");
    // The boundary's last segment, the right side of the square, has no line
    // break either: without it no segment lies right of the triangles, and
    // by the even-odd rule they are outside.
    testing::writeWholeFile(folder.path("site.bnd"),
                            "0 0 0 30 0 0\n30 30 0 0 30 0\n0 30 0 0 0 0\n30 0 0 30 30 0");
    // Nothing is kept, so the old TIN stays.
    testing::writeWholeFile(folder.path("a.tin"), "old\n");
    testing::RecordingReporter reporter;
    EXPECT_EQ(clipToBoundary(folder.path("a.ftin"), folder.path("site.bnd"), folder.path("a.tin"), reporter),
              kStatusError);
    EXPECT_EQ(reporter.alerts, std::vector<std::string>{
                                   "No triangle lies inside the boundary.  The TIN file is kept as it was.\n"});
    EXPECT_EQ(testing::readWholeFile(folder.path("a.tin")), "old\n");

    testing::writeWholeFile(folder.path("site.bnd"),
                            "0 0 0 30 0 0\n30 30 0 0 30 0\n0 30 0 0 0 0\n30 0 0 30 30 0\n");
    EXPECT_EQ(clipToBoundary(folder.path("a.ftin"), folder.path("site.bnd"), folder.path("a.tin"), reporter),
              kStatusSuccess);
    EXPECT_EQ(testing::readWholeFile(folder.path("a.tin")),
              "2.000000 2.000000 1.000000 2.000000 5.000000 1.000000 5.000000 2.000000 1.000000\r\n");
}

TEST(BoundaryClip, UnreadableBoundaryFileWritesNothing) {
    testing::ScratchFolder folder;
    writeTinFile(folder.path("a.ftin"), {{{2, 2, 1}, {2, 5, 1}, {5, 2, 1}}});
    testing::RecordingReporter reporter;
    EXPECT_EQ(clipToBoundary(folder.path("a.ftin"), folder.path("missing.bnd"), folder.path("a.tin"), reporter),
              kStatusError);
    ASSERT_EQ(reporter.alerts.size(), 1u);
    EXPECT_EQ(reporter.alerts[0], "Could not open boundary file.");
    EXPECT_FALSE(testing::fileExists(folder.path("a.tin")));
}

TEST(BoundaryClip, TextInTheBoundaryFileEndsIt) {
    testing::ScratchFolder folder;
    writeTinFile(folder.path("a.ftin"), {{{2, 2, 1}, {2, 5, 1}, {5, 2, 1}}});
    testing::writeWholeFile(folder.path("site.bnd"), std::string(kSquareWithVoid) + "garbage here\n0 0 0 1 1 1\n");
    testing::RecordingReporter reporter;
    EXPECT_EQ(clipToBoundary(folder.path("a.ftin"), folder.path("site.bnd"), folder.path("a.tin"), reporter),
              kStatusSuccess);
    EXPECT_EQ(testing::readWholeFile(folder.path("a.tin")),
              "2.000000 2.000000 1.000000 2.000000 5.000000 1.000000 5.000000 2.000000 1.000000\r\n");
}

}  // namespace
}  // namespace tz::terrain
