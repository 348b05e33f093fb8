#include "contour/ContourChainer.h"

#include <gtest/gtest.h>

#include <random>

#include "ContourOracle.h"
#include "TestTins.h"
#include "contour/PlanEquality.h"

namespace tz::terrain {
namespace {

std::vector<BuiltChain> chain(std::vector<ContourSegment> segments, const TinOutline& outline) {
    canonicalizeSegments(segments);
    return buildContourChains(segments, outline);
}

const TinOutline& noOutline() {
    static const TinOutline outline({});
    return outline;
}

TEST(ContourChainer, FollowsForwardThenBackward) {
    // The first segment in canonical order starts at the V's tip, so the other
    // arm is found behind the chain's start.
    const auto chains = chain({{{0, 0, 1}, {1, 1, 1}}, {{0, 0, 1}, {1, -1, 1}}}, noOutline());
    ASSERT_EQ(chains.size(), 1u);
    const auto& v = chains[0].vertices;
    ASSERT_EQ(v.size(), 3u);
    EXPECT_TRUE(samePoint(v[0], {1, 1, 1}));
    EXPECT_TRUE(samePoint(v[1], {0, 0, 1}));
    EXPECT_TRUE(samePoint(v[2], {1, -1, 1}));
    EXPECT_FALSE(chains[0].drawn);  // open, off the outline, touching nothing
}

TEST(ContourChainer, JoinsWithinThePlanToleranceAndKeepsEachSegmentsOwnPoints) {
    const auto chains = chain({{{0, 0, 1}, {1, 0, 1}}, {{1.000009, 0, 1}, {2, 1, 1}}}, noOutline());
    ASSERT_EQ(chains.size(), 1u);
    EXPECT_EQ(chains[0].vertices.size(), 3u);
    EXPECT_EQ(chains[0].vertices[1].x, 1.0);  // end of the first segment
    // Beyond the tolerance nothing joins.
    EXPECT_EQ(chain({{{0, 0, 1}, {1, 0, 1}}, {{1.000011, 0, 1}, {2, 1, 1}}}, noOutline()).size(), 2u);
}

TEST(ContourChainer, SegmentTheChainAlreadyHoldsIsUsedUpNotAdded) {
    // The second segment is the first one again, a hair away: it joins at the
    // chain's end, but adding it would double back.
    const auto chains = chain({{{0, 0, 1}, {1, 0, 1}}, {{0.000004, 0, 1}, {1.000004, 0, 1}}}, noOutline());
    ASSERT_EQ(chains.size(), 1u);
    EXPECT_EQ(chains[0].vertices.size(), 2u);
}

TEST(ContourChainer, StopsWhenTheChainClosesExactly) {
    const std::vector<ContourSegment> square{{{0, 0, 1}, {1, 0, 1}}, {{1, 0, 1}, {1, 1, 1}},
                                             {{1, 1, 1}, {0, 1, 1}}, {{0, 1, 1}, {0, 0, 1}}};
    const auto chains = chain(square, noOutline());
    ASSERT_EQ(chains.size(), 1u);
    EXPECT_EQ(chains[0].vertices.size(), 5u);
    EXPECT_TRUE(samePoint(chains[0].vertices.front(), chains[0].vertices.back()));
    EXPECT_TRUE(chains[0].drawn);
}

TEST(ContourChainer, DrawsChainsTouchingAnotherChain) {
    // Three arms meet at one point: the first chain takes two, the third arm
    // forms a chain of its own that touches the first.
    const auto chains = chain({{{0, 0, 1}, {1, 0, 1}}, {{1, 0, 1}, {2, 0, 1}}, {{1, 0, 1}, {1, 5, 1}}}, noOutline());
    ASSERT_EQ(chains.size(), 2u);
    EXPECT_TRUE(chains[0].drawn);  // touches the arm still unused
    EXPECT_TRUE(chains[1].drawn);  // touches the earlier chain
}

TEST(ContourChainer, DrawsOpenChainsOnlyWhenBothEndsLieOnTheOutline) {
    const TinOutline square({{{0, 0, 0}, {10, 0, 0}, {10, 10, 10}}, {{0, 0, 0}, {10, 10, 10}, {0, 10, 10}}});
    EXPECT_TRUE(chain({{{0, 3, 1}, {10, 4, 1}}}, square)[0].drawn);
    EXPECT_FALSE(chain({{{0, 3, 1}, {5, 4, 1}}}, square)[0].drawn);
    EXPECT_FALSE(chain({{{5, 3, 1}, {10, 4, 1}}}, square)[0].drawn);
}

// Random segments between lattice points moved by up to 1.2 tolerances:
// joins are ambiguous and plan equality is not transitive.
std::vector<ContourSegment> tangle(std::mt19937_64& random, int count) {
    std::uniform_int_distribution<int> node(0, 6);  // partly beyond the outline
    std::uniform_real_distribution<double> wobble(-1.2 * kPlanTolerance, 1.2 * kPlanTolerance);
    std::vector<ContourSegment> segments;
    for (int i = 0; i < count; ++i) {
        ContourSegment s;
        s.start = {node(random) + wobble(random), node(random) + wobble(random), 2};
        s.end = {node(random) + wobble(random), node(random) + wobble(random), 2};
        if (!samePoint(s.start, s.end)) segments.push_back(s);
    }
    canonicalizeSegments(segments);
    return segments;
}

TEST(ContourChainer, MatchesTheListOrderProcedureOnTangles) {
    std::mt19937_64 random(21);
    testing::GridOptions o;
    o.columns = 4;
    o.rows = 4;
    const auto tin = testing::gridTin(o, random);
    const TinOutline outline(tin);
    const auto edges = oracle::outline(tin);
    std::size_t drawn = 0, undrawn = 0;
    for (int round = 0; round < 300; ++round) {
        const auto segments = tangle(random, 1 + round % 60);
        const auto fast = buildContourChains(segments, outline);
        const auto slow = oracle::chains(segments, edges);
        ASSERT_EQ(fast.size(), slow.size()) << round;
        for (std::size_t i = 0; i < fast.size(); ++i) {
            EXPECT_TRUE(testing::identicalPoints(fast[i].vertices, slow[i].vertices)) << round << " chain " << i;
            EXPECT_EQ(fast[i].drawn, slow[i].drawn) << round << " chain " << i;
            (fast[i].drawn ? drawn : undrawn) += 1;
        }
    }
    EXPECT_GT(drawn, 100u);
    EXPECT_GT(undrawn, 10u);
}

TEST(ContourChainer, NoSegmentsNoChains) { EXPECT_TRUE(buildContourChains({}, noOutline()).empty()); }

}  // namespace
}  // namespace tz::terrain
