#include "contour/ContourSegment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include "contour/PlanEquality.h"

namespace tz::terrain {
namespace {

ContourSegment cut(const Triangle& t, double e) {
    auto s = cutTriangleAtLevel(t, e);
    EXPECT_TRUE(s.has_value());
    return s.value_or(ContourSegment{});
}

TEST(CutTriangleAtLevel, CrossesTwoEdgesInEdgeOrder) {
    // Edge (P1,P2) first, then (P3,P1): the segment runs from the first crossing found.
    const ContourSegment s = cut({{0, 0, 0}, {10, 0, 10}, {0, 10, 10}}, 5);
    EXPECT_TRUE(samePoint(s.start, {5, 0, 5}));
    EXPECT_TRUE(samePoint(s.end, {0, 5, 5}));
}

TEST(CutTriangleAtLevel, InterpolatesFromTheEdgesFirstNamedVertex) {
    // On (P3, P1) the crossing is computed from P3; from P1 it would round differently.
    const Point3 p1{0.1, 0.7, 0.3}, p2{5.3, 0.2, 9.1}, p3{2.9, 7.7, 1.7};
    const double e = 1.1;
    const ContourSegment s = cut({p1, p2, p3}, e);
    const double fromP3 = p3.x + (e - p3.z) * (p1.x - p3.x) / (p1.z - p3.z);
    const double fromP1 = p1.x + (e - p1.z) * (p3.x - p1.x) / (p3.z - p1.z);
    ASSERT_NE(fromP3, fromP1);  // the case is only telling when they differ
    EXPECT_EQ(s.end.x, fromP3);
    EXPECT_EQ(s.start.x, p1.x + (e - p1.z) * (p2.x - p1.x) / (p2.z - p1.z));
    EXPECT_EQ(s.end.z, e);
}

TEST(CutTriangleAtLevel, KeepsCoordinatesAnEdgeDoesNotChange) {
    // x of a vertical-in-plan edge is copied, so its sign of zero survives.
    const ContourSegment s = cut({{-0.0, 0, 0}, {-0.0, 10, 10}, {7, 3, 10}}, 3);
    EXPECT_TRUE(std::signbit(s.start.x));
    EXPECT_EQ(s.start.y, 3);
}

TEST(CutTriangleAtLevel, VertexAtTheLevel) {
    // P1 at the level, P2 below, P3 above: P1 and the crossing of (P2, P3).
    ContourSegment s = cut({{0, 0, 5}, {10, 0, 0}, {0, 10, 10}}, 5);
    EXPECT_TRUE(samePoint(s.start, {0, 0, 5}));
    EXPECT_TRUE(samePoint(s.end, {5, 5, 5}));
    // P2 at the level: found twice, the third point takes the second place.
    s = cut({{0, 0, 0}, {10, 0, 5}, {0, 10, 10}}, 5);
    EXPECT_TRUE(samePoint(s.start, {10, 0, 5}));
    EXPECT_TRUE(samePoint(s.end, {0, 5, 5}));
    // P3 at the level.
    s = cut({{0, 0, 0}, {10, 0, 10}, {0, 10, 5}}, 5);
    EXPECT_TRUE(samePoint(s.start, {5, 0, 5}));
    EXPECT_TRUE(samePoint(s.end, {0, 10, 5}));
}

TEST(CutTriangleAtLevel, GivesNothingWhenItOnlyTouchesOrMisses) {
    EXPECT_FALSE(cutTriangleAtLevel({{0, 0, 5}, {10, 0, 7}, {0, 10, 10}}, 5));  // vertex at the bottom
    EXPECT_FALSE(cutTriangleAtLevel({{0, 0, 5}, {10, 0, 1}, {0, 10, 2}}, 5));   // vertex at the top
    EXPECT_FALSE(cutTriangleAtLevel({{0, 0, 5}, {10, 0, 5}, {0, 10, 5}}, 5));   // flat at the level
    EXPECT_FALSE(cutTriangleAtLevel({{0, 0, 1}, {10, 0, 2}, {0, 10, 3}}, 5));   // below
    EXPECT_FALSE(cutTriangleAtLevel({{0, 0, 1}, {10, 0, 2}, {0, 10, 3}}, 0.5)); // above
    EXPECT_FALSE(cutTriangleAtLevel({{0, 0, 1}, {10, 0, 2}, {0, 10, 3}}, std::nan("")));
}

TEST(CutTriangleAtLevel, EdgeAtTheLevelGivesThatEdge) {
    ContourSegment s = cut({{0, 0, 5}, {10, 0, 5}, {5, 5, 9}}, 5);
    EXPECT_TRUE(samePoint(s.start, {0, 0, 5}));
    EXPECT_TRUE(samePoint(s.end, {10, 0, 5}));
    s = cut({{5, 5, 1}, {0, 0, 5}, {10, 0, 5}}, 5);
    EXPECT_TRUE(samePoint(s.start, {0, 0, 5}));
    EXPECT_TRUE(samePoint(s.end, {10, 0, 5}));
}

TEST(CutTriangleAtLevel, ExactComparisonsOnly) {
    // A vertex 1e-12 above the level is not at the level.
    const ContourSegment s = cut({{0, 0, 5 + 1e-12}, {10, 0, 0}, {0, 10, 10}}, 5);
    EXPECT_NE(s.start.x, 0.0);
}

TEST(CanonicalizeSegments, TurnsSortsAndRemovesDuplicates) {
    std::vector<ContourSegment> s{{{3, 0, 1}, {1, 0, 1}},   // turned
                                  {{1, 0, 1}, {2, 5, 1}},
                                  {{1, 0, 1}, {3, 0, 1}},   // same as the first once turned
                                  {{1, 0, 1}, {2, 4, 1}},
                                  {{0, 9, 1}, {0, 8, 1}}};  // turned by y
    canonicalizeSegments(s);
    ASSERT_EQ(s.size(), 4u);
    EXPECT_TRUE(samePoint(s[0].start, {0, 8, 1}));
    EXPECT_TRUE(samePoint(s[1].end, {2, 4, 1}));
    EXPECT_TRUE(samePoint(s[2].end, {2, 5, 1}));
    EXPECT_TRUE(samePoint(s[3].end, {3, 0, 1}));
}

TEST(CanonicalizeSegments, EqualSegmentsKeepTheFirstInInputOrder) {
    // -0.0 equals 0.0, so these are duplicates; the first given survives.
    std::vector<ContourSegment> s{{{5, 0, 1}, {-0.0, 0, 1}}, {{0, 0, 1}, {5, 0, 1}}, {{-1, 0, 1}, {0, 1, 1}}};
    canonicalizeSegments(s);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_TRUE(std::signbit(s[1].start.x));
}

// Neighbour exchange until a pass exchanges nothing, as the reference.
void exchangeSort(std::vector<ContourSegment>& s) {
    for (bool exchanged = true; exchanged;) {
        exchanged = false;
        for (std::size_t i = 0; i + 1 < s.size(); ++i)
            if (segmentLess(s[i + 1], s[i])) {
                std::swap(s[i], s[i + 1]);
                exchanged = true;
            }
    }
}

TEST(CanonicalizeSegments, MatchesNeighbourExchangeOnRandomLists) {
    std::mt19937_64 random(11);
    std::uniform_int_distribution<int> small(-2, 2);
    std::uniform_int_distribution<int> sign(0, 1);
    for (int round = 0; round < 200; ++round) {
        std::vector<ContourSegment> s(static_cast<std::size_t>(round % 40));
        for (ContourSegment& g : s)
            for (Point3* p : {&g.start, &g.end}) {
                *p = {double(small(random)), double(small(random)), double(small(random) % 2)};
                if (p->x == 0 && sign(random)) p->x = -0.0;
            }
        std::vector<ContourSegment> reference = s;
        for (ContourSegment& g : reference)
            if (pointLess(g.end, g.start)) std::swap(g.start, g.end);
        exchangeSort(reference);
        std::vector<ContourSegment> unique;
        for (const ContourSegment& g : reference)
            if (unique.empty() || !sameSegment(unique.back(), g)) unique.push_back(g);
        canonicalizeSegments(s);
        ASSERT_EQ(s.size(), unique.size());
        for (std::size_t i = 0; i < s.size(); ++i) {
            EXPECT_EQ(std::signbit(s[i].start.x), std::signbit(unique[i].start.x));
            EXPECT_EQ(std::signbit(s[i].end.x), std::signbit(unique[i].end.x));
            EXPECT_TRUE(sameSegment(s[i], unique[i]));
        }
    }
}

TEST(CanonicalizeSegments, MatchesNeighbourExchangeOnLongListsOfSurveyCoordinates) {
    // Many distinct x values far from the origin and negative ones, with
    // shared and repeated points, zeros of either sign in every coordinate.
    std::mt19937_64 random(12);
    std::uniform_int_distribution<int> node(-40, 40);
    std::uniform_int_distribution<int> coin(0, 3);
    for (int round = 0; round < 30; ++round) {
        const double base = round % 3 == 0 ? 0.0 : round % 3 == 1 ? 512345.678 : -4123456.789;
        std::vector<ContourSegment> s(300);
        for (ContourSegment& g : s)
            for (Point3* p : {&g.start, &g.end}) {
                *p = {base + node(random) * 0.125, node(random) * 0.5, double(node(random) % 2)};
                for (double* v : {&p->x, &p->y, &p->z})
                    if (*v == 0 && coin(random) == 0) *v = -0.0;
            }
        for (int k = 0; k < 40; ++k) s.push_back(s[static_cast<std::size_t>(coin(random)) * 17 + static_cast<std::size_t>(k)]);
        std::vector<ContourSegment> reference = s;
        for (ContourSegment& g : reference)
            if (pointLess(g.end, g.start)) std::swap(g.start, g.end);
        std::stable_sort(reference.begin(), reference.end(), segmentLess);  // what exchanging neighbours gives
        std::vector<ContourSegment> unique;
        for (const ContourSegment& g : reference)
            if (unique.empty() || !sameSegment(unique.back(), g)) unique.push_back(g);
        canonicalizeSegments(s);
        ASSERT_EQ(s.size(), unique.size());
        for (std::size_t i = 0; i < s.size(); ++i)
            for (auto [a, b] : {std::pair{s[i].start, unique[i].start}, std::pair{s[i].end, unique[i].end}})
                for (auto [u, v] : {std::pair{a.x, b.x}, std::pair{a.y, b.y}, std::pair{a.z, b.z}})
                    ASSERT_EQ(std::bit_cast<std::uint64_t>(u), std::bit_cast<std::uint64_t>(v)) << round << " " << i;
    }
}

}  // namespace
}  // namespace tz::terrain
