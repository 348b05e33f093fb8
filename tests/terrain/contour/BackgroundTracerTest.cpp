#include "contour/BackgroundTracer.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "TestTins.h"

namespace tz::terrain {
namespace {

using testing::GridOptions;
using testing::gridTin;
using testing::identical;

std::vector<Triangle> sampleTin(std::uint64_t seed) {
    std::mt19937_64 random(seed);
    GridOptions o;
    o.columns = 30;
    o.rows = 25;
    o.jitter = 0.3;
    o.zHigh = 20;
    o.zStep = seed % 2 ? 0.5 : 0;
    o.holeShare = 0.05;
    return gridTin(o, random);
}

TEST(BackgroundTracer, GivesEveryLevelInOrderAsTheTracerDoes) {
    for (std::uint64_t seed : {1, 2}) {
        const auto tin = sampleTin(seed);
        const ContourTracer tracer(tin);
        for (bool smooth : {false, true}) {
            const ContourOptions options{smooth, 2};
            BackgroundTracer background(tin);
            ContourLevelSequence levels(0, 20, 0.5);
            background.start(levels, options);
            std::size_t count = 0;
            while (auto e = levels.next()) {
                EXPECT_TRUE(identical(background.next(), tracer.traceLevel(*e, options))) << *e;
                ++count;
            }
            EXPECT_EQ(count, 42u);
            EXPECT_THROW(background.next(), std::out_of_range);
        }
    }
}

TEST(BackgroundTracer, RunsOfLevelsJoinSeamlessly) {
    // More levels than one run sorts out at a time.
    const auto tin = sampleTin(3);
    const ContourTracer tracer(tin);
    BackgroundTracer background(tin);
    const double interval = 20.0 / (2.5 * BackgroundTracer::kLevelsPerRun);
    ContourLevelSequence levels(0, 20, interval);
    background.start(levels, {});
    std::size_t count = 0, drawn = 0;
    while (auto e = levels.next()) {
        const auto chains = background.next();
        ASSERT_TRUE(identical(chains, tracer.traceLevel(*e, {}))) << *e;
        drawn += chains.size();
        ++count;
    }
    EXPECT_GT(count, 2 * BackgroundTracer::kLevelsPerRun);
    EXPECT_GT(drawn, count);
}

TEST(BackgroundTracer, StopsCleanlyAtAnyPoint) {
    // Dropped before the levels are given (a cancelled dialog), after a few
    // levels (a user break), or before a single level was taken.
    const auto tin = sampleTin(4);
    { BackgroundTracer background(tin); }
    for (int taken : {0, 1, 5}) {
        BackgroundTracer background(tin);
        ContourLevelSequence levels(0, 20, 0.25);
        background.start(levels, {true, 0});
        for (int k = 0; k < taken; ++k) background.next();
    }
    SUCCEED();
}

TEST(BackgroundTracer, NoLevelsAndEmptyTin) {
    BackgroundTracer background({});
    background.start(ContourLevelSequence(0, 10, 0), {});  // no levels at all
    EXPECT_THROW(background.next(), std::out_of_range);
    EXPECT_THROW(background.next(), std::out_of_range);

    BackgroundTracer empty({});
    ContourLevelSequence levels(0, 1, 0.5);
    empty.start(levels, {});
    while (levels.next()) EXPECT_TRUE(empty.next().empty());
    EXPECT_THROW(empty.next(), std::out_of_range);
}

TEST(BackgroundTracer, LevelsGivenTwiceOrNotAtAllAreRefused) {
    BackgroundTracer background({});
    EXPECT_THROW(background.next(), std::logic_error);
    background.start(ContourLevelSequence(0, 1, 1), {});
    EXPECT_THROW(background.start(ContourLevelSequence(0, 1, 1), {}), std::logic_error);
}

}  // namespace
}  // namespace tz::terrain
