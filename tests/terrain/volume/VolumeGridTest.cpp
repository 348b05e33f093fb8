#include "volume/VolumeGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>

#include "LiteralSurface.h"
#include "TestSurfaces.h"
#include "volume/VolumeReport.h"

namespace tz::terrain::volume {
namespace {

using testing::gridSurface;

std::vector<PreparedTriangle> square(double size, double z) {
    return gridSurface(1, 1, size, 0, 0, [z](double, double) { return z; });
}

VolumeTotals run(const std::vector<PreparedTriangle>& existing, const std::vector<PreparedTriangle>& proposed,
                 double interval, double compaction) {
    const VolumeRun result = computeVolumes(existing, proposed, interval, compaction, [] { return false; });
    EXPECT_FALSE(result.cancelled);
    return result.totals;
}

// The production walk against the literal one: identical bits.
void expectSameAsLiteral(const std::vector<PreparedTriangle>& existing, const std::vector<PreparedTriangle>& proposed,
                         double interval, double compaction) {
    const VolumeTotals fast = run(existing, proposed, interval, compaction);
    const VolumeTotals slow = literal::volumes(existing, proposed, interval, compaction);
    EXPECT_EQ(volumeReport(fast, false), volumeReport(slow, false));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(fast.cut), std::bit_cast<std::uint64_t>(slow.cut));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(fast.fill), std::bit_cast<std::uint64_t>(slow.fill));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(fast.net), std::bit_cast<std::uint64_t>(slow.net));
}

TEST(VolumeGrid, TheTwentySevenSquareExample) {
    const VolumeTotals totals = run(square(27, 0), square(27, 1), 1.0, 1.0);
    EXPECT_EQ(totals.fill, 729);
    EXPECT_EQ(totals.cut, 0);
    EXPECT_EQ(totals.net, 729);
    EXPECT_EQ(volumeReport(inReportUnits(totals, true), true),
              "Cut=0.000000\tFill=27.000000\tNet=Fill 27.000000 Cubic Yards\n");
    EXPECT_EQ(volumeReport(inReportUnits(totals, false), false),
              "Cut=0.000000\tFill=729.000000\tNet=Fill 729.000000 Cubic Meters\n");
}

TEST(VolumeGrid, CompactionScalesFillOnly) {
    EXPECT_EQ(run(square(27, 0), square(27, 1), 1.0, 0).fill, 0);
    EXPECT_EQ(run(square(27, 0), square(27, 1), 1.0, 0).net, 0);
    const VolumeTotals raisedQuarter = run(square(27, 0), square(27, 1), 1.0, 1.25);
    EXPECT_EQ(raisedQuarter.fill, 729 * 1.25);
    EXPECT_EQ(raisedQuarter.net, 729 * 1.25);
    const VolumeTotals cut = run(square(27, 1), square(27, 0), 1.0, 1.25);
    EXPECT_EQ(cut.cut, -729);
    EXPECT_EQ(cut.fill, 0);
    EXPECT_EQ(volumeReport(cut, false), "Cut=729.000000\tFill=0.000000\tNet=Cut 729.000000 Cubic Meters\n");
}

TEST(VolumeGrid, CellsReachingPastEitherSurfaceCountNothing) {
    // Interval 2 over 27: the last column and row reach 28 and drop out: 13 x 13 cells of 4.
    EXPECT_EQ(run(square(27, 0), square(27, 1), 2.0, 1.0).fill, 13 * 13 * 4);
    // The proposed surface covers only half: only cells within both count.
    const auto half = gridSurface(1, 1, 13.5, 0, 0, [](double, double) { return 3.0; });
    EXPECT_EQ(run(square(27, 0), half, 1.0, 1.0).fill, 13 * 13 * 3);
}

TEST(VolumeGrid, EqualSurfacesAddZeroToCut) {
    const auto surface = gridSurface(6, 4, 3, 10, 20, [](double x, double y) { return 0.3 * x - 0.1 * y * y; });
    const VolumeTotals totals = run(surface, surface, 0.5, 1.25);
    EXPECT_EQ(totals.cut, 0);
    EXPECT_EQ(totals.fill, 0);
    EXPECT_EQ(totals.net, 0);
    EXPECT_EQ(volumeReport(totals, false), "Cut=0.000000\tFill=0.000000\tNet=Fill 0.000000 Cubic Meters\n");
}

TEST(VolumeGrid, RaisingASurfaceByHGivesHTimesTheAreaOfCompleteCells) {
    auto z = [](double x, double y) { return std::sin(0.3 * x) + 0.02 * y * y; };
    const auto existing = gridSurface(10, 8, 2, 0, 0, z);  // 20 by 16
    const VolumeTotals totals = run(existing, testing::raised(existing, 0.75), 0.5, 1.0);
    // 40 by 32 cells of 0.25, each complete (the last ones end exactly on the edge).
    EXPECT_NEAR(totals.fill, 0.75 * 20 * 16, 1e-9);
    EXPECT_NEAR(totals.cut, 0, 1e-9);
}

TEST(VolumeGrid, EmptySurfacesGiveZerosAndAnExistingSurfaceMayBeEmpty) {
    const std::vector<PreparedTriangle> none;
    EXPECT_TRUE(surfacesExtent(none, none).empty);
    EXPECT_EQ(volumeReport(run(none, none, 1, 1), true), "Cut=0.000000\tFill=0.000000\tNet=Fill 0.000000 Cubic Yards\n");
    const PlanExtent fromProposed = surfacesExtent(none, square(5, 1));
    EXPECT_FALSE(fromProposed.empty);
    EXPECT_EQ(fromProposed.xmin, 0);
    EXPECT_EQ(fromProposed.xmax, 5);
    EXPECT_EQ(run(none, square(5, 1), 1, 1).fill, 0);
}

TEST(VolumeGrid, ExtentIsTheUnionOfBothSurfaces) {
    const auto a = gridSurface(1, 1, 4, 2, 3, [](double, double) { return 0.0; });
    const auto b = gridSurface(1, 1, 4, -1, 5, [](double, double) { return 0.0; });
    const PlanExtent extent = surfacesExtent(a, b);
    EXPECT_EQ(extent.xmin, -1); EXPECT_EQ(extent.xmax, 6);
    EXPECT_EQ(extent.ymin, 3); EXPECT_EQ(extent.ymax, 9);
}

TEST(VolumeGrid, AGridPointOnASharedVerticalEdgeTakesTheLaterTriangle) {
    // Two triangles share the vertical edge x = 1 from (1,0) to (1,2); the
    // earlier one is level at 0, the later at 4. The proposed surface is level at 10.
    std::vector<PreparedTriangle> existing;
    const double west[9] = {0, 0, 0, 1, 2, 0, 1, 0, 0};
    const double east[9] = {1, 0, 4, 1, 2, 4, 2, 0, 4};
    existing.push_back(prepareTriangle(west));
    existing.push_back(prepareTriangle(east));
    // A proposed surface covering it all, level at 10; a cell at x 1..1.5,
    // y 0..0.5 has its left corners on the shared edge.
    const auto proposed = gridSurface(1, 1, 4, 0, 0, [](double, double) { return 10.0; });
    expectSameAsLiteral(existing, proposed, 0.5, 1.0);
    // Reversing the file order changes the shared corners' elevation.
    std::vector<PreparedTriangle> reversed{existing[1], existing[0]};
    EXPECT_NE(run(existing, proposed, 0.5, 1).fill, run(reversed, proposed, 0.5, 1).fill);
    expectSameAsLiteral(reversed, proposed, 0.5, 1.0);
}

TEST(VolumeGrid, UserBreakStopsTheWalkBeforeTheNextCell) {
    int asked = 0;
    const VolumeRun result = computeVolumes(square(27, 0), square(27, 1), 1.0, 1.0, [&] { return ++asked == 30; });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(asked, 30);
    EXPECT_EQ(result.totals.fill, 29);
    int cells = 0;
    computeVolumes(square(27, 0), square(27, 1), 1.0, 1.0, [&] { ++cells; return false; });
    EXPECT_EQ(cells, 27 * 27);
}

TEST(VolumeGrid, AWalkThatWouldNeverEndIsRefused) {
    EXPECT_THROW(computeVolumes(square(27, 0), square(27, 1), 0, 1, nullptr), std::invalid_argument);
    EXPECT_THROW(computeVolumes(square(27, 0), square(27, 1), -1, 1, nullptr), std::invalid_argument);
    const auto far = gridSurface(1, 1, 1, 5e5, 4e6, [](double, double) { return 0.0; });
    EXPECT_THROW(computeVolumes(far, far, 1e-12, 1, nullptr), std::invalid_argument);
}

TEST(VolumeGrid, MatchesTheLiteralWalkOnRegularGrids) {
    auto ground = [](double x, double y) { return 100 + 0.05 * x * x - 0.1 * y; };
    auto design = [](double x, double y) { return 101 + 0.2 * std::cos(x) * y; };
    for (double interval : {1.0, 0.5, 0.7, 1.3, 3.0}) {
        expectSameAsLiteral(gridSurface(8, 6, 2, 0, 0, ground), gridSurface(6, 8, 2, 1, -1, design), interval, 1.0);
        expectSameAsLiteral(gridSurface(8, 6, 2, 5e5, 4e6, ground), gridSurface(8, 6, 2, 5e5, 4e6, design), interval,
                            1.25);
    }
}

TEST(VolumeGrid, MatchesTheLiteralWalkOnJitteredAndOverlappingSurfaces) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 random(seed);
        auto ground = [](double x, double y) { return std::sin(x) + std::cos(0.5 * y); };
        auto design = [](double x, double y) { return 0.1 * x + 0.2 * y; };
        const auto existing = testing::jitteredSurface(10, 12, 1.5, 0, 0, ground, 0.25, random);
        const auto proposed = testing::jitteredSurface(12, 10, 1.5, 0.25, 0.5, design, 0.2, random);
        expectSameAsLiteral(existing, proposed, 0.5, 1.0);
        expectSameAsLiteral(existing, proposed, 0.37, 0.9);
        const auto heapA = testing::randomTriangles(150, 0, 0, 12, 0.5, random);
        const auto heapB = testing::randomTriangles(150, 1, 1, 12, 0.5, random);
        expectSameAsLiteral(heapA, heapB, 0.5, 1.25);
        expectSameAsLiteral(heapA, heapB, 0.25, 0.0);
    }
}

}  // namespace
}  // namespace tz::terrain::volume
