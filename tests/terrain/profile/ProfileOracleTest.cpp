// The production cutter (hashed edge list, spatial index) against the
// literal procedure, byte for byte, and against plain geometry on real terrain.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>

#include "LiteralProfileCutter.h"
#include "TestTerrain.h"
#include "profile/EdgeReading.h"
#include "profile/ProfileCutter.h"

namespace {

using namespace tz::terrain::profile;
using tz::terrain::Triangle;

std::string productionProfile(const EdgeList& edges, const Alignment& alignment, double start) {
    const EdgeCrossingFinder finder(edges.edges());
    const ProfileCut cut = cutProfile(alignment, start, finder);
    EXPECT_EQ(cut.status, CutStatus::ok);
    return profileText(sortedByStation(cut.samples));
}

EdgeList tinEdges(const std::string& text) {
    std::istringstream in(text);
    return readTinEdges(in).edges;
}

// Only the edges that may cross the alignment, as the commands load them.
std::string corridorProfile(const std::string& tinText, const Alignment& alignment, double start) {
    std::istringstream in(tinText);
    return productionProfile(readTinEdges(in, CutCorridor::along(alignment)).edges, alignment, start);
}

EdgeList fileEdges(const std::string& text) {
    std::istringstream in(text);
    return readEdgeFile(in).edges;
}

void expectSameEdges(const EdgeList& production, const std::vector<Edge>& literal) {
    ASSERT_EQ(production.size(), literal.size());
    for (std::size_t i = 0; i < literal.size(); ++i) {
        ASSERT_TRUE(samePoint(production.edges()[i].a, literal[i].a)) << i;
        ASSERT_TRUE(samePoint(production.edges()[i].b, literal[i].b)) << i;
    }
}

void expectStationsNeverDecrease(const std::string& text) {
    std::istringstream lines(text);
    double station, elevation, previous = -1e300;
    while (lines >> station >> elevation) {
        EXPECT_GE(station, previous);
        previous = station;
    }
}

std::size_t repeatedStationCount(const std::string& text) {
    std::istringstream lines(text);
    std::string station, elevation, previous;
    std::size_t repeats = 0;
    while (lines >> station >> elevation) {
        if (station == previous) ++repeats;
        previous = station;
    }
    return repeats;
}

struct TerrainCase {
    const char* name;
    int columns, rows;
    double step, jitter;
    bool snap;
};

class ProfileOracle : public ::testing::TestWithParam<TerrainCase> {};

TEST_P(ProfileOracle, ProductionMatchesTheLiteralProcedureByteForByte) {
    const TerrainCase c = GetParam();
    std::mt19937 random(1234);
    for (int terrain = 0; terrain < 3; ++terrain) {
        const auto triangles = tz::test::gridTin(c.columns, c.rows, c.step, c.jitter, random);
        const std::string tin = tz::test::tinText(triangles);
        const std::string edgeFile = tz::test::edgeFileText(triangles);
        const auto literalTin = tz::test::literalEdgesFromTin(tin);
        const auto literalFile = tz::test::literalEdgesFromEdgeFile(edgeFile);
        const EdgeList productionTin = tinEdges(tin);
        const EdgeList productionFile = fileEdges(edgeFile);
        expectSameEdges(productionTin, literalTin);
        expectSameEdges(productionFile, literalFile);
        const double width = (c.columns - 1) * c.step, height = (c.rows - 1) * c.step;
        std::size_t lines = 0, repeatedStations = 0;
        for (int run = 0; run < 25; ++run) {
            const Alignment alignment = tz::test::randomAlignment(random, -0.2 * width, -0.2 * height, 1.2 * width,
                                                                  1.2 * height, 6, c.snap, c.step);
            const double start = std::uniform_real_distribution<double>(-500, 500)(random);
            const std::string expected = tz::test::literalProfile(literalTin, alignment, start);
            const std::string fromTin = productionProfile(productionTin, alignment, start);
            ASSERT_EQ(fromTin, expected) << c.name << " terrain " << terrain << " run " << run;
            ASSERT_EQ(corridorProfile(tin, alignment, start), expected) << c.name << " terrain " << terrain << " run " << run;
            // The edge file listing the same TIN's edges gives the same profile.
            EXPECT_EQ(productionProfile(productionFile, alignment, start), expected);
            expectStationsNeverDecrease(fromTin);
            lines += static_cast<std::size_t>(std::count(fromTin.begin(), fromTin.end(), '\n'));
            repeatedStations += repeatedStationCount(fromTin);
        }
        // The comparison is only worth something when the cuts find plenty,
        // and on the regular grid, crossings at vertices (equal stations).
        EXPECT_GT(lines, 500u);
        if (c.snap && c.jitter == 0) {
            EXPECT_GT(repeatedStations, 0u);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Terrains, ProfileOracle,
                         ::testing::Values(TerrainCase{"regular grid, vertices on the alignment", 14, 11, 5.0, 0.0, true},
                                           TerrainCase{"jittered grid", 16, 13, 4.0, 0.35, false},
                                           TerrainCase{"dense grid", 30, 30, 1.0, 0.2, true}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(ProfileOracle, AlignmentsAlongGridLinesAndThroughVerticesMatch) {
    // Collinear with rows, columns and diagonals of a regular grid: edges run
    // along the alignment (parallel, no crossing) and many edges meet it at
    // one vertex (equal stations, whose order must be kept).
    std::mt19937 random(5);
    const auto triangles = tz::test::gridTin(12, 12, 2.0, 0.0, random);
    const std::string tin = tz::test::tinText(triangles);
    const auto literal = tz::test::literalEdgesFromTin(tin);
    const EdgeList production = tinEdges(tin);
    const std::vector<Alignment> alignments{
        {{{0, 4, 0}, {22, 4, 0}}, false},                           // along a row
        {{{6, -3, 0}, {6, 25, 0}}, false},                          // along a column
        {{{0, 0, 0}, {22, 22, 0}}, false},                          // along diagonals
        {{{0, 2, 0}, {20, 22, 0}, {20, 2, 0.5}, {4, 2, -2}}, false},  // vertices on vertices, arcs from them
        {{{-2, 6, 1}, {24, 6, -1}, {-2, 6, 0}}, true},              // half circles ending on a row
    };
    std::size_t repeats = 0;
    for (const Alignment& a : alignments) {
        const std::string expected = tz::test::literalProfile(literal, a, 0);
        EXPECT_EQ(productionProfile(production, a, 0), expected);
        EXPECT_EQ(corridorProfile(tin, a, 0), expected);
        repeats += repeatedStationCount(expected);
    }
    EXPECT_GT(repeats, 20u);
}

TEST(ProfileOracle, SurveySizedCoordinatesMatchToo) {
    const auto triangles = tz::test::jacksboroTin();
    const std::string tin = tz::test::tinText(triangles);
    const auto literal = tz::test::literalEdgesFromTin(tin);
    const EdgeList production = tinEdges(tin);
    expectSameEdges(production, literal);
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const Triangle& t : triangles)
        for (const auto& p : {t.p1, t.p2, t.p3}) {
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
    std::mt19937 random(99);
    for (int run = 0; run < 6; ++run) {
        Alignment alignment = tz::test::randomAlignment(random, minX, minY, maxX, maxY, 4, false, 1);
        for (auto& v : alignment.vertices) v.bulge = std::clamp(v.bulge, -0.4, 0.4);  // keep arcs a few km long
        const std::string expected = tz::test::literalProfile(literal, alignment, 0);
        ASSERT_EQ(productionProfile(production, alignment, 0), expected) << run;
        ASSERT_EQ(corridorProfile(tin, alignment, 0), expected) << run;
    }
}

// Plain geometry, apart from the host's intersection: where segment PQ meets
// edge AB (solving P + s(Q-P) = A + t(B-A)), the elevation linear along the
// edge, the station the distance along the polyline.
std::vector<std::pair<double, double>> plainProfile(const std::vector<Triangle>& triangles,
                                                    const std::vector<std::pair<double, double>>& vertices,
                                                    double start) {
    std::vector<Edge> edges;
    for (const Triangle& t : triangles)
        for (const Edge& e : {Edge{t.p1, t.p2}, Edge{t.p2, t.p3}, Edge{t.p3, t.p1}}) {
            bool seen = false;
            for (const Edge& f : edges) seen = seen || sameEdge(e, f);
            if (!seen) edges.push_back(e);
        }
    std::vector<std::pair<double, double>> samples;
    double station = start;
    for (std::size_t i = 1; i < vertices.size(); ++i) {
        const auto [px, py] = vertices[i - 1];
        const auto [qx, qy] = vertices[i];
        const double ux = qx - px, uy = qy - py;
        for (const Edge& e : edges) {
            const double vx = e.b.x - e.a.x, vy = e.b.y - e.a.y;
            const double det = ux * (-vy) - uy * (-vx);
            if (det == 0) continue;
            const double rx = e.a.x - px, ry = e.a.y - py;
            const double s = (rx * (-vy) - ry * (-vx)) / det;
            const double t = (ux * ry - uy * rx) / det;
            if (s < 0 || s > 1 || t < 0 || t > 1) continue;
            samples.push_back({station + s * std::hypot(ux, uy), e.a.z + t * (e.b.z - e.a.z)});
        }
        station += std::hypot(ux, uy);
    }
    std::stable_sort(samples.begin(), samples.end(), [](auto& a, auto& b) { return a.first < b.first; });
    return samples;
}

TEST(ProfileOnRealTerrain, StationsAndElevationsAgreeWithPlainGeometry) {
    const auto triangles = tz::test::jacksboroTin();
    const EdgeList edges = tinEdges(tz::test::tinText(triangles));
    const double x0 = triangles.front().p1.x, y0 = triangles.front().p1.y;
    // A three-leg alignment across the window, away from grid lines and vertices.
    const std::vector<std::pair<double, double>> vertices{
        {x0 + 13.7, y0 + 101.3}, {x0 + 1517.9, y0 + 1890.2}, {x0 + 2011.4, y0 + 611.9}, {x0 + 433.3, y0 + 2480.6}};
    Alignment alignment;
    for (auto [x, y] : vertices) alignment.vertices.push_back({x, y, 0});
    const EdgeCrossingFinder finder(edges.edges());
    const auto found = sortedByStation(cutProfile(alignment, 2500, finder).samples);
    const auto plain = plainProfile(triangles, vertices, 2500);
    ASSERT_GT(plain.size(), 50u);
    ASSERT_EQ(found.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        EXPECT_NEAR(found[i].station, plain[i].first, 1e-6) << i;
        EXPECT_NEAR(found[i].elevation, plain[i].second, 1e-6) << i;
    }
    // Every elevation lies within the terrain's range.
    for (const auto& s : found) {
        EXPECT_GT(s.elevation, 200);
        EXPECT_LT(s.elevation, 1100);
    }
}

}  // namespace
