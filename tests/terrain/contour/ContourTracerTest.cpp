#include "contour/ContourTracer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "ContourOracle.h"
#include "TestTins.h"
#include "contour/ContourLevels.h"
#include "contour/PlanEquality.h"

namespace tz::terrain {
namespace {

using testing::GridOptions;
using testing::coneTin;
using testing::describe;
using testing::gridTin;
using testing::identical;
using Tin = std::vector<Triangle>;

bool sameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

bool sameSegmentBits(const ContourSegment& a, const ContourSegment& b) {
    for (auto [p, q] : {std::pair{a.start, b.start}, std::pair{a.end, b.end}})
        if (!sameBits(p.x, q.x) || !sameBits(p.y, q.y) || !sameBits(p.z, q.z)) return false;
    return true;
}

// Traces every level of the TIN with the tracer and the literal procedure,
// straight and smoothed, and requires bit-identical results. Returns the
// number of chains compared, so a caller can see the TIN was not trivial.
std::size_t expectSameAsOracle(const std::vector<Triangle>& tin, double interval, double indexInterval,
                               const std::string& label) {
    const ContourTracer tracer(tin);
    const std::vector<OutlineEdge> outline = oracle::outline(tin);
    const auto range = tinElevationRange(tin);
    if (!range) return 0;
    std::size_t compared = 0;
    ContourLevelSequence sequence(range->lowest, range->highest, interval);
    std::vector<double> levels;
    while (auto e = sequence.next()) levels.push_back(*e);
    // All levels as one run, as the contours command traces them.
    const TrianglesByLevel run = tracer.sortByLevel(levels);
    for (std::size_t k = 0; k < levels.size(); ++k) {
        const double e = levels[k];
        const auto fastSegments = tracer.segmentsAtLevel(run, k);
        const auto slowSegments = oracle::segments(tin, e);
        EXPECT_EQ(fastSegments.size(), slowSegments.size()) << label << " level " << e;
        if (fastSegments.size() == slowSegments.size()) {
            for (std::size_t i = 0; i < fastSegments.size(); ++i)
                EXPECT_TRUE(sameSegmentBits(fastSegments[i], slowSegments[i])) << label << " level " << e << " segment " << i;
        }
        for (bool smooth : {false, true}) {
            const ContourOptions options{smooth, indexInterval};
            const auto fast = tracer.traceLevel(run, k, options);
            const auto slow = oracle::traceLevel(tin, outline, e, options);
            EXPECT_TRUE(identical(fast, slow)) << label << " level " << e << (smooth ? " smoothed" : "")
                                               << "\nfast:\n" << describe(fast) << "oracle:\n" << describe(slow);
            // A level traced alone gives the same.
            EXPECT_TRUE(identical(fast, tracer.traceLevel(e, options))) << label << " level " << e;
            if (!smooth) compared += fast.size();
        }
    }
    return compared;
}

// ---------------------------------------------------------------------------
// The fast tracer against the literal procedure

TEST(ContourTracerOracle, ContinuousJitteredGrids) {
    std::size_t chains = 0;
    for (int seed = 0; seed < 12; ++seed) {
        std::mt19937_64 random(seed);
        GridOptions o;
        o.columns = 6 + seed % 7;
        o.rows = 5 + seed % 5;
        o.jitter = 0.35;
        o.spacing = 1.5;
        chains += expectSameAsOracle(gridTin(o, random), 0.7, 2.1, "jittered seed " + std::to_string(seed));
    }
    EXPECT_GT(chains, 100u);
}

TEST(ContourTracerOracle, VerticesExactlyAtLevelsAndFlatAreas) {
    std::size_t chains = 0;
    for (int seed = 0; seed < 12; ++seed) {
        std::mt19937_64 random(100 + seed);
        GridOptions o;
        o.columns = 8;
        o.rows = 7;
        o.jitter = seed % 2 ? 0.3 : 0;
        o.zLow = 0;
        o.zHigh = 6;
        o.zStep = 1;  // every vertex on a level
        o.flatShare = 0.35;
        chains += expectSameAsOracle(gridTin(o, random), 1, 2, "exact seed " + std::to_string(seed));
        // Half steps put some levels between the vertex elevations.
        chains += expectSameAsOracle(gridTin(o, random), 0.5, 1, "half step seed " + std::to_string(seed));
    }
    EXPECT_GT(chains, 100u);
}

TEST(ContourTracerOracle, SurveyCoordinatesFarFromTheOrigin) {
    for (int seed = 0; seed < 8; ++seed) {
        std::mt19937_64 random(200 + seed);
        GridOptions o;
        o.columns = 9;
        o.rows = 9;
        o.spacing = 12.5;
        o.originX = 512345.678;
        o.originY = 4123456.789;
        o.jitter = 0.4;
        o.zLow = 230;
        o.zHigh = 281;
        o.zStep = seed % 2 ? 0.25 : 0;
        EXPECT_GT(expectSameAsOracle(gridTin(o, random), 2, 10, "survey seed " + std::to_string(seed)), 0u);
    }
}

TEST(ContourTracerOracle, HolesShuffledOrderRewoundAndDuplicatedTriangles) {
    for (int seed = 0; seed < 12; ++seed) {
        std::mt19937_64 random(300 + seed);
        GridOptions o;
        o.columns = 9;
        o.rows = 8;
        o.jitter = 0.3;
        o.zStep = seed % 3 == 0 ? 1 : 0;
        o.flatShare = 0.2;
        o.holeShare = 0.15;
        o.shuffle = true;
        o.rotateVertices = true;
        o.duplicateShare = 0.05;
        expectSameAsOracle(gridTin(o, random), 1, 3, "holes seed " + std::to_string(seed));
    }
}

TEST(ContourTracerOracle, NegativeElevationsAndSignedZeros) {
    for (int seed = 0; seed < 8; ++seed) {
        std::mt19937_64 random(400 + seed);
        GridOptions o;
        o.columns = 7;
        o.rows = 7;
        o.originX = -3;
        o.originY = -4;
        o.zLow = -4;
        o.zHigh = 4;
        o.zStep = 1;
        o.flatShare = 0.3;
        o.shuffle = true;
        std::vector<Triangle> tin = gridTin(o, random);
        // Vertices on the axes and at elevation 0 written as "-0.000000" in
        // some triangles and "0.000000" in others.
        std::uniform_int_distribution<int> coin(0, 1);
        for (Triangle& t : tin)
            for (Point3* p : {&t.p1, &t.p2, &t.p3})
                for (double* v : {&p->x, &p->y, &p->z})
                    if (*v == 0 && coin(random)) *v = -0.0;
        expectSameAsOracle(tin, 1, 2, "signed zero seed " + std::to_string(seed));
    }
}

TEST(ContourTracerOracle, VerticesCloserThanThePlanTolerance) {
    // Spacing of a few tolerances: joins are ambiguous and plan equality is
    // far from transitive, so every search must find the first candidate.
    for (int seed = 0; seed < 10; ++seed) {
        std::mt19937_64 random(500 + seed);
        GridOptions o;
        o.columns = 7;
        o.rows = 6;
        o.spacing = 0.000025;
        o.originX = 100;
        o.originY = 200;
        o.jitter = 0.45;
        o.zStep = seed % 2 ? 1 : 0;
        o.holeShare = 0.1;
        o.shuffle = seed % 3 == 0;
        expectSameAsOracle(gridTin(o, random), 0.8, 1.6, "tiny seed " + std::to_string(seed));
    }
}

TEST(ContourTracerOracle, NonConformingAndOverlappingMeshes) {
    for (int seed = 0; seed < 8; ++seed) {
        std::mt19937_64 random(600 + seed);
        GridOptions left;
        left.columns = 4;
        left.rows = 4;
        left.zStep = seed % 2 ? 1 : 0;
        GridOptions right = left;
        right.originX = 4;
        right.columns = 8;
        right.rows = 8;
        right.spacing = 0.5;  // T-junctions along x = 4, elevations differing there
        std::vector<Triangle> tin = gridTin(left, random);
        for (const Triangle& t : gridTin(right, random)) tin.push_back(t);
        GridOptions over = left;
        over.originX = 1.3;
        over.originY = 0.7;
        over.jitter = 0.2;
        for (const Triangle& t : gridTin(over, random)) tin.push_back(t);  // crossing contours
        expectSameAsOracle(tin, 0.6, 1.2, "mixed seed " + std::to_string(seed));
    }
}

TEST(ContourTracerOracle, LevelsBetweenOrOutsideTheTinGiveNothingBoth) {
    std::mt19937_64 random(7);
    GridOptions o;
    o.zStep = 1;
    const auto tin = gridTin(o, random);
    const ContourTracer tracer(tin);
    const auto outline = oracle::outline(tin);
    for (double e : {-1.0, 10.5, 11.0, 1e300, -std::numeric_limits<double>::infinity()}) {
        EXPECT_TRUE(tracer.traceLevel(e, {}).empty()) << e;
        EXPECT_TRUE(oracle::traceLevel(tin, outline, e, {}).empty()) << e;
    }
    EXPECT_TRUE(tracer.traceLevel(std::nan(""), {}).empty());
}

// ---------------------------------------------------------------------------
// Cases worked by hand

TEST(ContourTracer, SingleTriangleGivesOneSegmentEndingOnTheOutline) {
    const ContourTracer tracer(Tin{{{0, 0, 0}, {10, 0, 10}, {0, 10, 10}}});
    const auto chains = tracer.traceLevel(5, {});
    ASSERT_EQ(chains.size(), 1u);
    ASSERT_EQ(chains[0].points.size(), 2u);
    // Turned so the smaller point comes first.
    EXPECT_TRUE(samePoint(chains[0].points[0], {0, 5, 5}));
    EXPECT_TRUE(samePoint(chains[0].points[1], {5, 0, 5}));
    EXPECT_FALSE(chains[0].isIndex);
}

TEST(ContourTracer, ConeGivesOneClosedChainPerLevelBelowThePeak) {
    const auto tin = coneTin(16, 50, 20);
    const ContourTracer tracer(tin);
    for (int level = 0; level < 20; ++level) {
        const auto chains = tracer.traceLevel(level, {});
        ASSERT_EQ(chains.size(), 1u) << level;
        const auto& points = chains[0].points;
        EXPECT_EQ(points.size(), 17u) << level;  // one segment per triangle, back to the start
        EXPECT_TRUE(samePlan(points.front(), points.back())) << level;
        for (const Point3& p : points) EXPECT_EQ(p.z, level);
    }
    EXPECT_TRUE(tracer.traceLevel(20, {}).empty());  // the apex alone
}

TEST(ContourTracer, VertexAtTheLevelStartsTheSegment) {
    // z1 = e with z2 below and z3 above: from P1 to the crossing of (P2, P3).
    const ContourTracer crossing(Tin{{{0, 0, 5}, {10, 0, 0}, {0, 10, 10}}});
    const auto chains = crossing.traceLevel(5, {});
    ASSERT_EQ(chains.size(), 1u);
    ASSERT_EQ(chains[0].points.size(), 2u);
    EXPECT_TRUE(samePoint(chains[0].points[0], {0, 0, 5}));
    EXPECT_TRUE(samePoint(chains[0].points[1], {5, 5, 5}));

    // z2 and z3 both above: the triangle only touches the level.
    const ContourTracer touching(Tin{{{0, 0, 5}, {10, 0, 7}, {0, 10, 10}}});
    EXPECT_TRUE(touching.segmentsAtLevel(5).empty());
}

TEST(ContourTracer, SharedFlatEdgeAloneIsDropped) {
    // Two triangles rising away from a shared edge at the level: the edge
    // comes twice, one copy stays, and as the only segment it is dropped.
    const std::vector<Triangle> tin{{{0, 0, 5}, {5, 5, 8}, {10, 0, 5}}, {{10, 0, 5}, {5, -5, 8}, {0, 0, 5}}};
    EXPECT_TRUE(ContourTracer(tin).segmentsAtLevel(5).empty());
    EXPECT_TRUE(ContourTracer(tin).traceLevel(5, {}).empty());

    // The same edge on the border of a one-triangle TIN is a contour.
    const ContourTracer border({tin[0]});
    const auto chains = border.traceLevel(5, {});
    ASSERT_EQ(chains.size(), 1u);
    EXPECT_TRUE(samePoint(chains[0].points[0], {0, 0, 5}));
    EXPECT_TRUE(samePoint(chains[0].points[1], {10, 0, 5}));

    // With another segment at the level the rule does not apply.
    std::vector<Triangle> more = tin;
    more.push_back({{20, 0, 0}, {30, 0, 10}, {20, 10, 10}});
    EXPECT_EQ(ContourTracer(more).segmentsAtLevel(5).size(), 2u);
}

TEST(ContourTracer, IndexContoursFollowTheIndexInterval) {
    // Levels whose quotient by the index interval is 3.99995 and 3.9998.
    const ContourTracer tracer(Tin{{{0, 0, 0}, {10, 0, 10}, {0, 10, 10}}});
    const auto nearIndex = tracer.traceLevel(3.99995, {false, 1});
    ASSERT_EQ(nearIndex.size(), 1u);
    EXPECT_TRUE(nearIndex[0].isIndex);
    const auto regular = tracer.traceLevel(3.9998, {false, 1});
    ASSERT_EQ(regular.size(), 1u);
    EXPECT_FALSE(regular[0].isIndex);
    // An index interval of 0 makes every contour regular.
    EXPECT_FALSE(tracer.traceLevel(4, {false, 0})[0].isIndex);
    EXPECT_TRUE(tracer.traceLevel(4, {false, 2})[0].isIndex);
}

TEST(ContourTracer, SmoothedChainHasPiecesOfNPlusOnePoints) {
    // Cone of radius 50 with 16 sides: at half height the ring has radius 25
    // and each segment is about 9.75 long, so each piece emits 9 points after
    // its start.
    const ContourTracer tracer(coneTin(16, 50, 20));
    const auto straight = tracer.traceLevel(10, {});
    const auto smooth = tracer.traceLevel(10, {true, 0});
    ASSERT_EQ(straight.size(), 1u);
    ASSERT_EQ(smooth.size(), 1u);
    EXPECT_EQ(smooth[0].points.size(), 16u * 10u);
    // Each piece starts exactly on its vertex.
    for (std::size_t k = 0; k < 16; ++k) EXPECT_TRUE(samePoint(smooth[0].points[k * 10], straight[0].points[k]));
}

TEST(ContourTracer, SignedZeroOrderShowsWhyFileOrderIsKept) {
    // The same flat edge from two triangles, one with x written as -0: the
    // copies compare equal, so the sort keeps them in file order and the
    // first one survives. Reversing the file order changes the survivor.
    const Triangle a{{0, 0, 5}, {0, 10, 5}, {-5, 5, 0}};
    const Triangle b{{-0.0, 0, 5}, {5, 5, 0}, {-0.0, 10, 5}};
    const Triangle c{{20, 0, 0}, {30, 0, 10}, {20, 10, 10}};  // keeps the edge from being alone
    const auto forward = ContourTracer({a, b, c}).segmentsAtLevel(5);
    const auto backward = ContourTracer({b, a, c}).segmentsAtLevel(5);
    ASSERT_EQ(forward.size(), 2u);
    ASSERT_EQ(backward.size(), 2u);
    EXPECT_FALSE(std::signbit(forward[0].start.x));
    EXPECT_TRUE(std::signbit(backward[0].start.x));
    EXPECT_TRUE(sameSegmentBits(forward[0], oracle::segments({a, b, c}, 5)[0]));
    EXPECT_TRUE(sameSegmentBits(backward[0], oracle::segments({b, a, c}, 5)[0]));
}

TEST(ContourTracer, ChainsNeverCarryANegativeZero) {
    // "-0.000000" in a TIN file reads as -0; the chain shows 0.
    const ContourTracer tracer(Tin{{{-0.0, -0.0, -0.0}, {10, -0.0, 10}, {-0.0, 10, 10}}});
    for (bool smooth : {false, true})
        for (double e : {-0.0, 0.0, 5.0})
            for (const ContourChain& c : tracer.traceLevel(e, {smooth, 0}))
                for (const Point3& p : c.points)
                    EXPECT_FALSE(std::signbit(p.x) || std::signbit(p.y) || std::signbit(p.z)) << e;
    const auto chains = tracer.traceLevel(5, {});
    ASSERT_EQ(chains.size(), 1u);
    EXPECT_EQ(chains[0].points[0].x, 0);
}

TEST(ContourTracer, TrianglesWithNonFiniteCoordinatesTakeNoPart) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Triangle good{{0, 0, 0}, {10, 0, 10}, {0, 10, 10}};
    const ContourTracer tracer(Tin{{{nan, 0, 0}, {1, 1, 1}, {2, 0, 8}}, good, {{0, 0, -inf}, {1, 0, 9}, {0, 1, 3}}});
    const ContourTracer plain({good});
    for (double e : {1.0, 5.0, 8.0})
        EXPECT_TRUE(identical(tracer.traceLevel(e, {true, 2}), plain.traceLevel(e, {true, 2})));
    EXPECT_EQ(tracer.outline().edges().size(), 3u);
}

TEST(ContourTracer, HugeCoordinatesGiveNoNonFinitePoints) {
    // Interpolation overflows: such segments are left out rather than drawn
    // with infinite or NaN coordinates.
    const ContourTracer tracer(Tin{{{-1e308, 0, -1e308}, {1e308, 0, 1e308}, {0, 1e308, 1e308}},
                                {{0, 0, 0}, {1e300, 0, 1}, {0, 1e300, 1}}});
    for (double e : {0.0, 0.5, 1e307})
        for (bool smooth : {false, true})
            for (const ContourChain& c : tracer.traceLevel(e, {smooth, 1}))
                for (const Point3& p : c.points) EXPECT_TRUE(isFinitePoint(p));
}

TEST(ContourTracer, EmptyTinTracesNothing) {
    const ContourTracer tracer({});
    EXPECT_TRUE(tracer.traceLevel(0, {}).empty());
    EXPECT_TRUE(tracer.outline().edges().empty());
    EXPECT_FALSE(tinElevationRange({}).has_value());
}

TEST(ContourTracer, ElevationRangeCoversEveryVertex) {
    const auto range = tinElevationRange({{{0, 0, 12.3}, {1, 0, 20}, {0, 1, 47.9}}, {{5, 5, 30}, {6, 5, 13}, {5, 6, 40}}});
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->lowest, 12.3);
    EXPECT_EQ(range->highest, 47.9);
}

// ---------------------------------------------------------------------------
// Invariants

double orient(const Point3& a, const Point3& b, const Point3& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Interiors cross (not merely touch), with a margin against rounding.
bool properlyCross(const Point3& a, const Point3& b, const Point3& c, const Point3& d) {
    const double eps = 1e-9;
    const double o1 = orient(a, b, c), o2 = orient(a, b, d), o3 = orient(c, d, a), o4 = orient(c, d, b);
    return ((o1 > eps && o2 < -eps) || (o1 < -eps && o2 > eps)) && ((o3 > eps && o4 < -eps) || (o3 < -eps && o4 > eps));
}

TEST(ContourTracerInvariants, ContoursOfOneLevelNeverCross) {
    for (int seed = 0; seed < 10; ++seed) {
        std::mt19937_64 random(700 + seed);
        GridOptions o;
        o.columns = 14;
        o.rows = 12;
        o.jitter = 0.2;  // small enough that no triangle folds over
        o.zStep = seed % 2 ? 1 : 0;
        o.flatShare = seed % 2 ? 0.3 : 0;
        o.holeShare = 0.05;
        const auto tin = gridTin(o, random);
        for (const Triangle& t : tin) ASSERT_LT(orient(t.p1, t.p2, t.p3), 0);  // a valid, clockwise TIN
        const ContourTracer tracer(tin);
        std::size_t segmentsSeen = 0;
        for (double e = 0.25; e < 10; e += 0.5) {
            std::vector<std::pair<Point3, Point3>> pieces;
            for (const ContourChain& c : tracer.traceLevel(e, {}))
                for (std::size_t i = 0; i + 1 < c.points.size(); ++i) pieces.push_back({c.points[i], c.points[i + 1]});
            segmentsSeen += pieces.size();
            for (std::size_t i = 0; i < pieces.size(); ++i)
                for (std::size_t j = i + 1; j < pieces.size(); ++j)
                    EXPECT_FALSE(properlyCross(pieces[i].first, pieces[i].second, pieces[j].first, pieces[j].second))
                        << "seed " << seed << " level " << e;
        }
        EXPECT_GT(segmentsSeen, 50u);
    }
}

TEST(ContourTracerInvariants, ShiftingElevationsByIndexIntervalsShiftsOnlyTheLevels) {
    // Elevations are multiples of 1/8, so every difference below is exact.
    for (int seed = 0; seed < 6; ++seed) {
        std::mt19937_64 random(800 + seed);
        GridOptions o;
        o.columns = 9;
        o.rows = 9;
        o.jitter = 0.3;
        o.zStep = 0.125;
        o.flatShare = 0.2;
        const auto tin = gridTin(o, random);
        for (double shift : {4.0, -6.0, 1000.0}) {
            auto moved = tin;
            for (Triangle& t : moved)
                for (Point3* p : {&t.p1, &t.p2, &t.p3}) p->z += shift;
            const ContourTracer a(tin), b(moved);
            for (double e = 0; e <= 10; e += 0.5)
                for (bool smooth : {false, true}) {
                    const auto before = a.traceLevel(e, {smooth, 2});
                    const auto after = b.traceLevel(e + shift, {smooth, 2});
                    ASSERT_EQ(before.size(), after.size()) << seed << " " << e << " " << shift;
                    for (std::size_t i = 0; i < before.size(); ++i) {
                        EXPECT_EQ(before[i].isIndex, after[i].isIndex);
                        ASSERT_EQ(before[i].points.size(), after[i].points.size());
                        for (std::size_t k = 0; k < before[i].points.size(); ++k) {
                            EXPECT_TRUE(sameBits(before[i].points[k].x, after[i].points[k].x));
                            EXPECT_TRUE(sameBits(before[i].points[k].y, after[i].points[k].y));
                            EXPECT_EQ(before[i].points[k].z + shift, after[i].points[k].z);
                        }
                    }
                }
        }
    }
}

TEST(ContourTracerInvariants, LargeTinTracesWithEveryDrawnChainClosedOrOnTheOutline) {
    // No fixed storage: a TIN far beyond any small capacity traces in full.
    std::mt19937_64 random(900);
    GridOptions o;
    o.columns = 220;
    o.rows = 200;
    o.jitter = 0.3;
    o.spacing = 2;
    o.zHigh = 30;
    const ContourTracer tracer(gridTin(o, random));
    std::size_t chains = 0;
    for (double e : {3.3, 15.0, 27.7}) {
        for (const ContourChain& c : tracer.traceLevel(e, {true, 5})) {
            ++chains;
            ASSERT_GE(c.points.size(), 2u);
            const bool closed = samePlan(c.points.front(), c.points.back());
            const bool onOutline = tracer.outline().passesThrough(c.points.front()) &&
                                   tracer.outline().passesThrough(c.points.back());
            EXPECT_TRUE(closed || onOutline);
        }
    }
    EXPECT_GT(chains, 1000u);
}

}  // namespace
}  // namespace tz::terrain
