// The cut corridor leaves out of an edge list only edges that no cut can
// cross: profiles cut from the kept edges are byte for byte the literal
// procedure's on the whole TIN, and no edge that the host's intersection
// finds crossing a cut, however nearly parallel, is left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>

#include "LiteralProfileCutter.h"
#include "TestTerrain.h"
#include "profile/CutCorridor.h"
#include "profile/EdgeCrossing.h"
#include "profile/EdgeReading.h"
#include "profile/ProfileCutter.h"

namespace {

using namespace tz::terrain::profile;
using tz::terrain::Triangle;

std::string profileFrom(const EdgeList& edges, const Alignment& alignment, double start) {
    const EdgeCrossingFinder finder(edges.edges());
    return profileText(sortedByStation(cutProfile(alignment, start, finder).samples));
}

Edge reversed(const Edge& e) { return {e.b, e.a}; }

TEST(CutCorridor, ProfilesFromTheKeptEdgesMatchTheLiteralProcedure) {
    std::mt19937 random(31);
    // A TIN far larger than each alignment, so that most edges are left out.
    for (const double jitter : {0.0, 0.3}) {
        const auto triangles = tz::test::gridTin(48, 40, 2.0, jitter, random);
        const std::string tin = tz::test::tinText(triangles);
        const std::string edgeFile = tz::test::edgeFileText(triangles);
        const auto literal = tz::test::literalEdgesFromTin(tin);
        const auto literalFile = tz::test::literalEdgesFromEdgeFile(edgeFile);
        std::uniform_int_distribution<int> corner(-4, 40);
        std::size_t kept = 0, lines = 0;
        const int runs = 30;
        for (int run = 0; run < runs; ++run) {
            // A few vertices (on grid points and edge middles some of the
            // time) in a window a fifth of the TIN across, arcs of every kind.
            const double x0 = 2.0 * corner(random), y0 = 2.0 * corner(random);
            const Alignment alignment = tz::test::randomAlignment(random, x0, y0, x0 + 20, y0 + 20, 5, jitter == 0, 2.0);
            const CutCorridor corridor = CutCorridor::along(alignment);
            std::istringstream tinIn(tin), fileIn(edgeFile);
            const EdgeLoad fromTin = readTinEdges(tinIn, corridor);
            const EdgeLoad fromFile = readEdgeFile(fileIn, corridor);
            EXPECT_EQ(fromTin.recordsRead, triangles.size());  // every record is read, kept or not

            // The kept edges are the whole list's that the corridor keeps, in its order.
            std::vector<Edge> expectedKept;
            for (const Edge& e : literal)
                if (corridor.mayCross(e)) expectedKept.push_back(e);
            ASSERT_EQ(fromTin.edges.size(), expectedKept.size()) << run;
            for (std::size_t i = 0; i < expectedKept.size(); ++i)
                ASSERT_TRUE(sameEdge(fromTin.edges.edges()[i], expectedKept[i]) &&
                            samePoint(fromTin.edges.edges()[i].a, expectedKept[i].a))
                    << run << " edge " << i;

            const double start = std::uniform_real_distribution<double>(-100, 100)(random);
            const std::string expected = tz::test::literalProfile(literal, alignment, start);
            ASSERT_EQ(profileFrom(fromTin.edges, alignment, start), expected) << "jitter " << jitter << " run " << run;
            ASSERT_EQ(profileFrom(fromFile.edges, alignment, start), tz::test::literalProfile(literalFile, alignment, start))
                << "jitter " << jitter << " run " << run;
            kept += fromTin.edges.size();
            lines += static_cast<std::size_t>(std::count(expected.begin(), expected.end(), '\n'));
        }
        EXPECT_LT(kept, literal.size() * runs / 3);  // it does leave edges out
        EXPECT_GT(lines, 300u);                      // and the cuts found plenty
    }
}

// Segments meeting at every angle down to a hair from parallel, touching at
// end points, at small and at survey-sized coordinates: the host's
// intersection decides what crosses; every edge it finds crossing a cut
// must be kept, in either direction.
TEST(CutCorridor, KeepsEveryEdgeTheHostsIntersectionFindsCrossing) {
    std::mt19937 random(8);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::size_t crossings = 0, nearlyParallel = 0, leftOut = 0;
    for (const double origin : {0.0, 5.0e5, 4.0e6, 1.0e12}) {
        for (int set = 0; set < 20; ++set) {
            std::vector<PlanSegment> cuts;
            for (int i = 0; i < 12; ++i) {
                const double length = std::pow(10.0, -2 + 5 * unit(random));
                const double angle = 6.283185307179586 * unit(random);
                const double x = origin + 1000 * unit(random), y = origin + 1000 * unit(random);
                cuts.push_back({x, y, x + length * std::cos(angle), y + length * std::sin(angle)});
            }
            const CutCorridor corridor = CutCorridor::around(cuts);
            for (const PlanSegment& cut : cuts) {
                const Point3 from{cut.x0, cut.y0, 0}, to{cut.x1, cut.y1, 0};
                const double dx = cut.x1 - cut.x0, dy = cut.y1 - cut.y0;
                for (int trial = 0; trial < 400; ++trial) {
                    Edge edge;
                    const int kind = trial % 4;
                    const double length = std::pow(10.0, -2 + 5 * unit(random));
                    if (kind == 0) {
                        // Nearly along the cut, a little beside it, reaching to about its ends.
                        const double tilt = std::pow(10.0, -11.5 + 6 * unit(random)) * (unit(random) < 0.5 ? -1 : 1);
                        const double c = std::cos(tilt), s = std::sin(tilt);
                        const double ex = dx * c - dy * s, ey = dx * s + dy * c;
                        const double shift = (unit(random) - 0.5) * 2.2, side = (unit(random) - 0.5) * 1e-9;
                        const double ax = cut.x0 + shift * dx - side * dy, ay = cut.y0 + shift * dy + side * dx;
                        edge = {{ax, ay, 100}, {ax + ex, ay + ey, 120}};
                        ++nearlyParallel;
                    } else if (kind == 1) {
                        // From next to an end of the cut, in any direction.
                        const bool atStart = unit(random) < 0.5;
                        const double px = atStart ? cut.x0 : cut.x1, py = atStart ? cut.y0 : cut.y1;
                        const double a = 6.283185307179586 * unit(random), gap = (unit(random) - 0.5) * 1e-9 * length;
                        edge = {{px + gap, py - gap, 50}, {px + length * std::cos(a), py + length * std::sin(a), 60}};
                    } else {
                        // Anywhere near the cut.
                        const double t = unit(random) * 1.4 - 0.2, a = 6.283185307179586 * unit(random);
                        const double mx = cut.x0 + t * dx, my = cut.y0 + t * dy;
                        edge = {{mx - length * std::cos(a), my - length * std::sin(a), 10},
                                {mx + length * std::cos(a), my + length * std::sin(a), 20}};
                    }
                    if (!crossEdge(from, to, edge)) continue;
                    ++crossings;
                    if (!corridor.mayCross(edge) || !corridor.mayCross(reversed(edge))) ++leftOut;
                }
            }
        }
    }
    EXPECT_EQ(leftOut, 0u);
    EXPECT_GT(crossings, 20000u);
    EXPECT_GT(nearlyParallel, 10000u);
}

TEST(CutCorridor, ATriangleLeftOutHasNoEdgeThatMayCross) {
    std::mt19937 random(12);
    std::uniform_real_distribution<double> u(-50, 150), size(0, 1);
    const Alignment alignment{{{0, 0, 0}, {40, 10, 0.5}, {60, 60, -2}, {100, 70, 0}}, false};
    const CutCorridor corridor = CutCorridor::along(alignment);
    std::size_t leftOutTriangles = 0, keptTriangles = 0;
    for (int i = 0; i < 20000; ++i) {
        // Small and large triangles, slivers, and ones with repeated vertices.
        const double reach = std::pow(10.0, -2 + 4 * size(random));
        const double x = u(random), y = u(random);
        Point3 p1{x, y, 0}, p2{x + reach * size(random), y + reach * size(random), 0},
            p3{x - reach * size(random), y + reach * (size(random) - 0.5), 0};
        if (i % 10 == 0) p3 = p1;
        const Triangle t{p1, p2, p3};
        if (corridor.mayCrossAnEdgeOf(t)) {
            ++keptTriangles;
            continue;
        }
        ++leftOutTriangles;
        for (int k = 0; k < 3; ++k) ASSERT_FALSE(corridor.mayCross(triangleEdge(t, k))) << i << " edge " << k;
    }
    EXPECT_GT(leftOutTriangles, 5000u);
    EXPECT_GT(keptTriangles, 1000u);
}

TEST(CutCorridor, WhatCannotBePlacedIsKept) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Edge far{{1000, 1000, 0}, {1001, 1000, 0}};
    const Edge near{{5, -1, 0}, {5, 1, 0}};
    const CutCorridor line = CutCorridor::around({{0, 0, 10, 0}});
    EXPECT_TRUE(line.mayCross(near));
    EXPECT_FALSE(line.mayCross(far));
    // An edge or a triangle with a coordinate that is not a number.
    EXPECT_TRUE(line.mayCross({{1000, nan, 0}, {1001, 1000, 0}}));
    EXPECT_TRUE(line.mayCross({{1000, 1000, 0}, {inf, 1000, 0}}));
    EXPECT_TRUE(line.mayCrossAnEdgeOf({{1000, 1000, 0}, {1001, 1000, 0}, {nan, 1001, 0}}));
    EXPECT_FALSE(line.mayCrossAnEdgeOf({{1000, 1000, 0}, {1001, 1000, 0}, {1000, 1001, 0}}));
    // Cuts that cannot be placed: every edge may cross them.
    EXPECT_TRUE(CutCorridor::around({{0, 0, nan, 0}}).mayCross(far));
    EXPECT_TRUE(CutCorridor::along({{{0, 0, 0}, {10, 0, 0}, {20, inf, 0}}, false}).mayCross(far));
    // A bulge that is not a number is cut straight, and kept to as straight.
    EXPECT_TRUE(CutCorridor::along({{{0, 0, nan}, {10, 0, 0}}, false}).mayCross(near));
    EXPECT_FALSE(CutCorridor::along({{{0, 0, nan}, {10, 0, 0}}, false}).mayCross(far));
    EXPECT_TRUE(CutCorridor::along({{{0, 0, 0.5}, {1e300, 1e300, 0}}, false}).mayCross(far));
    EXPECT_TRUE(CutCorridor::everywhere().mayCross(far));
    // Cuts at both ends of a double's range, further apart than a double holds.
    const CutCorridor ends = CutCorridor::around({{-1e308, 0, -0.99e308, 0}, {0.99e308, 0, 1e308, 0}});
    EXPECT_TRUE(ends.mayCross({{-0.995e308, -1, 0}, {-0.995e308, 1, 0}}));
    EXPECT_TRUE(ends.mayCross({{0.995e308, -1, 0}, {0.995e308, 1, 0}}));
    EXPECT_FALSE(ends.mayCross(near));
    // No cut at all (one vertex, or none): nothing is kept.
    EXPECT_FALSE(CutCorridor::along({{{0, 0, 0}}, false}).mayCross(near));
    EXPECT_FALSE(CutCorridor::nowhere().mayCross(near));
}

TEST(CutCorridor, AnArcKeepsTheEdgesAlongItsWholeSweep) {
    // Three quarters of a circle of radius 10 about (0, 0), from (10, 0)
    // counter-clockwise to (0, -10): radial edges across it at every angle
    // are kept, edges beyond the circle are not.
    const Alignment arc{{{10, 0, std::tan(3 * 3.141592653589793 / 8)}, {0, -10, 0}}, false};
    const CutCorridor corridor = CutCorridor::along(arc);
    for (int degrees = 0; degrees <= 270; degrees += 5) {
        const double a = degrees * 3.141592653589793 / 180;
        EXPECT_TRUE(corridor.mayCross({{9 * std::cos(a), 9 * std::sin(a), 0}, {11 * std::cos(a), 11 * std::sin(a), 0}}))
            << degrees;
    }
    EXPECT_FALSE(corridor.mayCross({{12, 12, 0}, {13, 12, 0}}));
    EXPECT_FALSE(corridor.mayCross({{-30, 0, 0}, {-11, 0, 0}}));
    // A flat arc (bulge 0.1 over a chord of 100) keeps what lies under its rise, not what lies beyond it.
    const CutCorridor flat = CutCorridor::along({{{0, 0, 0.1}, {100, 0, 0}}, false});
    EXPECT_TRUE(flat.mayCross({{50, 4, 0}, {50, 6, 0}}));
    EXPECT_FALSE(flat.mayCross({{50, 8, 0}, {50, 9, 0}}));
    EXPECT_FALSE(flat.mayCross({{50, -6, 0}, {50, -7, 0}}));
}

TEST(CutCorridor, ManyLongCutsStillAnswerAndKeepWhatTheyCross) {
    // 20,000 segments, each the whole width of the site: the index coarsens
    // instead of listing each box in hundreds of cells.
    std::vector<PlanSegment> cuts;
    for (int i = 0; i < 20000; ++i) cuts.push_back({0, i * 0.05, 1000, (i + 1) * 0.05});
    const CutCorridor corridor = CutCorridor::around(cuts);
    std::mt19937 random(3);
    std::uniform_real_distribution<double> u(-10, 1010);
    for (int i = 0; i < 2000; ++i) {
        const double x = u(random), y = u(random);
        const Edge e{{x, y, 0}, {x + 0.3, y + 0.2, 0}};
        bool crosses = false;
        const auto first = static_cast<std::size_t>(std::max(0.0, y / 0.05 - 20));
        for (std::size_t k = first; k < std::min(cuts.size(), first + 40) && !crosses; ++k)
            crosses = crossEdge({cuts[k].x0, cuts[k].y0, 0}, {cuts[k].x1, cuts[k].y1, 0}, e).has_value();
        if (crosses) {
            EXPECT_TRUE(corridor.mayCross(e)) << i;
        }
    }
    EXPECT_FALSE(corridor.mayCross({{0, 2000, 0}, {1, 2001, 0}}));
}

}  // namespace
