// The fast engine against the literal procedure, byte for byte, on random,
// regular and degenerate point sets; and the two failure classes of the
// floating-point procedure, where the result must be a valid triangulation.
#include "tin/DelaunayEngine.h"

#include <gtest/gtest.h>

#include <cstring>

#include "LiteralTriangulation.h"
#include "TinTestSupport.h"

namespace tz::terrain {
namespace {

using testing::prepared;

bool sameBits(const std::vector<Triangle>& a, const std::vector<Triangle>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Triangle)) == 0);
}

// Runs both engines on the prepared points and expects identical output.
void expectSameAsLiteral(const std::vector<Point3>& raw, const std::string& what) {
    const std::vector<Point3> points = prepared(raw);
    double header[6];
    testing::headerOf(points, header);
    const std::vector<Triangle> fast = testing::triangulateFast(header, points);
    const std::vector<Triangle> slow = literal::triangulateLiterally(header, points);
    ASSERT_EQ(fast.size(), slow.size()) << what;
    EXPECT_EQ(literal::formatTin(fast), literal::formatTin(slow)) << what;
    EXPECT_TRUE(sameBits(fast, slow)) << what;
    EXPECT_EQ(testing::validityFault(fast), "") << what;
}

TEST(DelaunayEngine, MatchesLiteralOnRandomPoints) {
    std::mt19937_64 random(11);
    for (int round = 0; round < 6; ++round) {
        const double x0 = round % 2 ? 500000 : 0, y0 = round % 2 ? 4000000 : 0;
        const double size = round < 3 ? 100 : 2500;
        expectSameAsLiteral(testing::randomPoints(random, 300 + 150 * round, x0, y0, size, size),
                            "random round " + std::to_string(round));
    }
}

TEST(DelaunayEngine, MatchesLiteralOnRegularGrids) {
    for (double spacing : {0.1, 0.5, 1.0, 5.0}) {
        for (int offset = 0; offset < 2; ++offset) {
            const double x0 = offset ? 500000 : 0, y0 = offset ? 4000000 : 0;
            expectSameAsLiteral(testing::gridPoints(17, 23, spacing, x0, y0, 0, nullptr),
                                "grid spacing " + std::to_string(spacing) + " offset " + std::to_string(offset));
        }
    }
}

TEST(DelaunayEngine, MatchesLiteralOnJitteredGrids) {
    std::mt19937_64 random(5);
    for (double jitter : {0.000002, 0.001, 0.2}) {
        expectSameAsLiteral(testing::gridPoints(20, 20, 1.0, 500000, 4000000, jitter, &random),
                            "jitter " + std::to_string(jitter));
    }
}

TEST(DelaunayEngine, MatchesLiteralOnRowsAndColumns) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<Point3> rows, columns;
    for (int row = 0; row < 6; ++row) {
        for (int k = 0; k < 60; ++k) {
            rows.push_back({500000 + u(random) * 300, 4000000 + row * 7.5, 50 + u(random)});
            columns.push_back({500000 + row * 7.5, 4000000 + u(random) * 300, 50 + u(random)});
        }
    }
    expectSameAsLiteral(rows, "rows of equal y");
    expectSameAsLiteral(columns, "columns of equal x");
    std::vector<Point3> kerb;  // a straight break line at 0.1 m through scattered shots
    for (int k = 0; k < 200; ++k) kerb.push_back({500000 + 50, 4000000 + k * 0.1, 20});
    for (const Point3& p : testing::randomPoints(random, 200, 500000, 4000000, 100, 20)) kerb.push_back(p);
    expectSameAsLiteral(kerb, "kerb line among shots");
}

TEST(DelaunayEngine, MatchesLiteralOnNorthSouthCorridor) {
    std::mt19937_64 random(3);
    expectSameAsLiteral(testing::randomPoints(random, 1200, 500000, 4000000, 20, 3000), "corridor");
    expectSameAsLiteral(testing::gridPoints(4, 150, 2.0, 500000, 4000000, 0, nullptr), "grid corridor");
}

TEST(DelaunayEngine, MatchesLiteralOnCocircularAndCollinearSets) {
    // Every integer point at distance 65 from a centre (several on each
    // octant: 65^2 = 16^2 + 63^2 = 25^2 + 60^2 = 33^2 + 56^2 = 39^2 + 52^2),
    // with and without the centre.
    std::vector<Point3> ring;
    for (int dx = -65; dx <= 65; ++dx) {
        for (int dy = -65; dy <= 65; ++dy) {
            if (dx * dx + dy * dy == 65 * 65) ring.push_back({500000.0 + dx, 4000000.0 + dy, 10.0 + dx * 0.01});
        }
    }
    ASSERT_GT(ring.size(), 30u);
    expectSameAsLiteral(ring, "ring of radius 65");
    ring.push_back({500000, 4000000, 3});
    expectSameAsLiteral(ring, "ring of radius 65 and its centre");

    // A lattice turned by 45 degrees: every cell's four corners on a circle.
    std::vector<Point3> diamond;
    for (int i = 0; i < 20; ++i) {
        for (int j = 0; j < 20; ++j) diamond.push_back({500000.0 + i + j, 4000000.0 + i - j, 1.0 * i});
    }
    expectSameAsLiteral(diamond, "diamond lattice");

    // Points on one line, alone and with one or two points off it.
    std::vector<Point3> diagonal, row, column;
    for (int k = 0; k < 80; ++k) {
        diagonal.push_back({500000.0 + k * 0.5, 4000000.0 + k * 0.25, 1.0 * k});
        row.push_back({500000.0 + k * 0.75, 4000000.0, 1.0 * k});
        column.push_back({500000.0, 4000000.0 + k * 0.75, 1.0 * k});
    }
    expectSameAsLiteral(diagonal, "one diagonal line");
    expectSameAsLiteral(row, "one row");
    expectSameAsLiteral(column, "one column");
    diagonal.push_back({500010.0, 4000009.0, 5});
    row.push_back({500020.0, 4000000.5, 5});
    column.push_back({500000.25, 4000030.0, 5});
    expectSameAsLiteral(diagonal, "diagonal line and a point off it");
    expectSameAsLiteral(row, "row and a point just above it");
    expectSameAsLiteral(column, "column and a point just beside it");
    row.push_back({499990.0, 3999900.0, 5});
    expectSameAsLiteral(row, "row and two points off it");
}

TEST(DelaunayEngine, MatchesLiteralOnHugeCirclesAndSharedX) {
    std::mt19937_64 random(29);
    // Two clusters ten kilometres apart and a lone far point: long hull
    // triangles with huge circles that stay in play for the whole sweep.
    std::vector<Point3> clusters = testing::randomPoints(random, 150, 500000, 4000000, 20, 20);
    for (const Point3& p : testing::randomPoints(random, 150, 510000, 4003000, 20, 20)) clusters.push_back(p);
    clusters.push_back({505000, 3990000, 40});
    expectSameAsLiteral(clusters, "clusters far apart");

    // Many points on a few vertical lines: equal x for runs of points, so
    // completions and windows fall due at equal keys.
    std::vector<Point3> columns;
    std::uniform_real_distribution<double> u(0, 1);
    for (int c = 0; c < 8; ++c) {
        for (int k = 0; k < 60; ++k) columns.push_back({500000.0 + c * 3.0, 4000000.0 + u(random) * 200, 7});
    }
    expectSameAsLiteral(columns, "points on eight vertical lines");

    // A tiny extent at survey coordinates: a centimetre square.
    expectSameAsLiteral(testing::randomPoints(random, 250, 500000.5, 4000000.5, 0.01, 0.01), "centimetre square");

    // A long thin strip across x and one along y.
    expectSameAsLiteral(testing::randomPoints(random, 600, 500000, 4000000, 5000, 2), "strip along x");
    expectSameAsLiteral(testing::randomPoints(random, 600, 500000, 4000000, 2, 5000), "strip along y");
}

TEST(DelaunayEngine, MatchesLiteralOnSmallLattices) {
    // Many small sets drawn from lattices (spacings exact and inexact in
    // binary, some points nudged by a micrometre or two): co-circular
    // and collinear runs everywhere, where the floating-point cavity, the
    // exact one and the whole active list part ways most often.
    std::mt19937_64 random(31);
    std::uniform_int_distribution<int> cell(0, 11);
    std::uniform_real_distribution<double> u(0, 1);
    const double spacings[] = {0.5, 0.1, 0.3, 1.0 / 3};
    for (int set = 0; set < 160; ++set) {
        const double h = spacings[set % 4];
        std::vector<Point3> raw;
        const int count = 20 + set % 70;
        for (int k = 0; k < count; ++k) {
            double x = 500000 + cell(random) * h, y = 4000000 + cell(random) * h;
            if (k % 9 == 0) x += 1e-6;
            if (k % 13 == 0) y += (u(random) - 0.5) * 4e-6;
            raw.push_back({x, y, 100 + 0.01 * k});
        }
        expectSameAsLiteral(raw, "lattice set " + std::to_string(set));
    }
}

TEST(DelaunayEngine, StraightRunWithFarPointIsValid) {
    // The floating-point procedure leaves a flat triangle here.
    const std::vector<Point3> points = prepared({{0, 0, 1}, {0, 1, 2}, {0, 2, 3}, {9980, 224.63, 4}});
    double header[6];
    testing::headerOf(points, header);
    size_t exact = 0;
    const std::vector<Triangle> tin = testing::triangulateFast(header, points, &exact);
    EXPECT_EQ(testing::validityFault(tin), "");
    EXPECT_TRUE(testing::usesEveryPoint(tin, points));
    ASSERT_EQ(tin.size(), 2u);
    double area = 0;
    for (const Triangle& t : tin) area += -testing::signedArea(t);
    EXPECT_NEAR(area, testing::hullArea(points), 1e-6);
    EXPECT_EQ(literal::formatTin(tin), literal::formatTin(literal::triangulateLiterally(header, points)));
}

TEST(DelaunayEngine, NearlyCocircularPointsGiveValidTriangulations) {
    // Five points of a regular 24-gon far from the origin: the floating-point
    // procedure overlaps triangles here.
    std::vector<Point3> sets[] = {
        testing::ringPoints(5, 50, 500000, 4000000, 24),
        testing::ringPoints(24, 50, 500000, 4000000, 24),
        testing::ringPoints(36, 3, 500000, 4000000, 36),
    };
    for (auto& raw : sets) {
        raw.push_back({500000, 4000000, 5});  // the manhole's centre
        const std::vector<Point3> points = prepared(raw);
        double header[6];
        testing::headerOf(points, header);
        const std::vector<Triangle> tin = testing::triangulateFast(header, points);
        EXPECT_EQ(testing::validityFault(tin), "");
        double area = 0;
        for (const Triangle& t : tin) area += -testing::signedArea(t);
        EXPECT_LE(area, testing::hullArea(points) * (1 + 1e-9));
        EXPECT_GE(area, testing::hullArea(points) * 0.98);
        EXPECT_EQ(literal::formatTin(tin), literal::formatTin(literal::triangulateLiterally(header, points)));
    }
}

TEST(DelaunayEngine, GridsAndRunsAreValidAndComplete) {
    std::mt19937_64 random(9);
    // Exact grids cover their hull; a grid jittered by a micrometre may miss
    // hull slivers of tiny area (the enclosing triangle is finite).
    const std::vector<std::pair<std::vector<Point3>, double>> sets = {
        {testing::gridPoints(30, 30, 0.1, 500000, 4000000, 0, nullptr), 1e-9},
        {testing::gridPoints(30, 30, 5.0, 500000, 4000000, 0, nullptr), 1e-9},
        {testing::gridPoints(25, 25, 1.0, 0, 0, 0.000001, &random), 1e-3},
    };
    for (const auto& [raw, slivers] : sets) {
        const std::vector<Point3> points = prepared(raw);
        double header[6];
        testing::headerOf(points, header);
        const std::vector<Triangle> tin = testing::triangulateFast(header, points);
        EXPECT_EQ(testing::validityFault(tin), "");
        EXPECT_TRUE(testing::usesEveryPoint(tin, points));
        double area = 0;
        for (const Triangle& t : tin) area += -testing::signedArea(t);
        EXPECT_LE(area, testing::hullArea(points) * (1 + 1e-9));
        EXPECT_GE(area, testing::hullArea(points) * (1 - slivers));
    }
}

TEST(DelaunayEngine, SmallInputs) {
    auto run = [](const std::vector<Point3>& raw) {
        const std::vector<Point3> points = prepared(raw);
        double header[6];
        testing::headerOf(points, header);
        return testing::triangulateFast(header, points);
    };
    EXPECT_TRUE(run({}).empty());
    EXPECT_TRUE(run({{1, 2, 3}}).empty());
    EXPECT_TRUE(run({{1, 2, 3}, {4, 5, 6}}).empty());
    EXPECT_TRUE(run({{0, 0, 0}, {1, 1, 0}, {2, 2, 0}}).empty());  // on one line: no triangle

    const std::vector<Triangle> one = run({{0, 0, 1}, {10, 0, 2}, {4, 7, 3}});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_LT(testing::signedArea(one[0]), 0) << "clockwise";

    // A square and its centre: four triangles around the centre.
    const std::vector<Triangle> fan = run({{0, 0, 1}, {10, 0, 1}, {0, 10, 1}, {10, 10, 1}, {5, 5, 2}});
    ASSERT_EQ(fan.size(), 4u);
    for (const Triangle& t : fan) {
        const bool hasCentre = (t.p1.x == 5 && t.p1.y == 5) || (t.p2.x == 5 && t.p2.y == 5) || (t.p3.x == 5 && t.p3.y == 5);
        EXPECT_TRUE(hasCentre);
    }
}

TEST(DelaunayEngine, RandomPointsNeedNoExactInsertion) {
    std::mt19937_64 random(21);
    const std::vector<Point3> points = prepared(testing::randomPoints(random, 3000, 0, 0, 1000, 1000));
    double header[6];
    testing::headerOf(points, header);
    size_t exact = 99;
    const std::vector<Triangle> tin = testing::triangulateFast(header, points, &exact);
    EXPECT_EQ(exact, 0u);
    EXPECT_TRUE(testing::usesEveryPoint(tin, points));
    EXPECT_EQ(testing::validityFault(tin), "");
}

// Random, regular, jittered, thin and co-circular sets for the tests of
// the sweep's own ways of running.
std::vector<std::vector<Point3>> sweepSets(std::mt19937_64& random) {
    std::vector<std::vector<Point3>> sets;
    sets.push_back(testing::randomPoints(random, 3000, 500000, 4000000, 400, 300));
    sets.push_back(testing::gridPoints(40, 30, 0.5, 500000, 4000000, 0, nullptr));
    sets.push_back(testing::gridPoints(30, 30, 1.0, 500000, 4000000, 0.000002, &random));
    sets.push_back(testing::randomPoints(random, 800, 500000, 4000000, 5000, 2));
    sets.push_back(testing::ringPoints(36, 3, 500000, 4000000, 36));
    return sets;
}

// A sweep engine for `points` (prepared), in the enclosing triangle of their extent.
DelaunayEngine sweepEngine(const std::vector<Point3>& points) {
    double header[6];
    testing::headerOf(points, header);
    Point3 enclosing[3];
    enclosingTriangle(header[0], header[1], header[3], header[4], 16000, 8000, enclosing);
    return DelaunayEngine(DelaunayEngine::Mode::Sweep, enclosing, header[0], header[1], header[3], header[4],
                          points.size());
}

TEST(DelaunayEngine, SettledTrianglesLeadTheFinishedResult) {
    // What is settled at any time is where the finished result starts, on
    // random, regular and degenerate sets alike.
    std::mt19937_64 random(17);
    const std::vector<std::vector<Point3>> sets = sweepSets(random);
    for (size_t k = 0; k < sets.size(); ++k) {
        const std::vector<Point3> points = prepared(sets[k]);
        DelaunayEngine engine = sweepEngine(points);
        std::vector<std::vector<Triangle>> prefixes;
        size_t settled = 0;
        for (size_t i = 0; i < points.size(); ++i) {
            engine.insertPointSweep(points[i]);
            ASSERT_GE(engine.settledCount(), settled);
            settled = engine.settledCount();
            if (i % 97 == 0) {
                std::vector<Triangle>& prefix = prefixes.emplace_back();
                engine.forEachCompleted(0, settled, [&](const Triangle& t) { prefix.push_back(t); });
            }
        }
        std::vector<Triangle>& last = prefixes.emplace_back();
        engine.forEachCompleted(0, settled, [&](const Triangle& t) { last.push_back(t); });
        EXPECT_TRUE(engine.settledStayed()) << "set " << k;
        const std::vector<Triangle> result = engine.result();
        if (points.size() > 500) {
            EXPECT_GT(last.size(), result.size() / 4) << "set " << k;
        }
        for (const std::vector<Triangle>& prefix : prefixes) {
            ASSERT_LE(prefix.size(), result.size());
            EXPECT_TRUE(sameBits(prefix, std::vector<Triangle>(result.begin(), result.begin() + prefix.size())))
                << "set " << k;
        }
        std::vector<Triangle> rest;
        engine.forEachResultFrom(settled, [&](const Triangle& t) { rest.push_back(t); });
        EXPECT_EQ(last.size() + rest.size(), result.size()) << "set " << k;
    }
}

TEST(DelaunayEngine, RunsStoppedAndTakenUpAgainMatchOnePointAtATime) {
    // A run that stops part-way, single insertions, then a second run make
    // what inserting one point at a time makes, bit for bit.
    std::mt19937_64 random(23);
    std::vector<std::vector<Point3>> sets = sweepSets(random);
    sets.push_back(testing::gridPoints(1, 200, 0.25, 500000, 4000000, 0, nullptr));  // one column
    sets.push_back(testing::gridPoints(200, 1, 0.25, 500000, 4000000, 0, nullptr));  // one row
    for (size_t k = 0; k < sets.size(); ++k) {
        const std::vector<Point3> points = prepared(sets[k]);
        auto engine = [&] { return sweepEngine(points); };
        DelaunayEngine single = engine();
        for (const Point3& p : points) single.insertPointSweep(p);

        DelaunayEngine whole = engine();
        size_t asked = 0;
        whole.insertPointsSweep(points, [&](size_t i) {
            EXPECT_EQ(i, asked++);
            return true;
        });
        EXPECT_EQ(asked, points.size());
        EXPECT_TRUE(sameBits(whole.result(), single.result())) << "set " << k;
        EXPECT_EQ(whole.skippedPoints(), single.skippedPoints()) << "set " << k;

        const size_t stop = points.size() / 3;
        DelaunayEngine pieces = engine();
        pieces.insertPointsSweep(points, [&](size_t i) { return i < stop; });
        const size_t resume = std::min(points.size(), stop + 10);
        for (size_t i = stop; i < resume; ++i) pieces.insertPointSweep(points[i]);
        const std::vector<Point3> rest(points.begin() + static_cast<std::ptrdiff_t>(resume), points.end());
        pieces.insertPointsSweep(rest, [](size_t) { return true; });
        pieces.insertPointsSweep({}, [](size_t) { return true; });
        EXPECT_TRUE(sameBits(pieces.result(), single.result())) << "set " << k;
    }
}

TEST(DelaunayEngine, DegenerateSetsTakeEveryWayOfDecidingAnInsertion) {
    // The oracle tests above match the procedure on these sets; here they
    // must also have gone through the rarer branches of the sweep: a cavity
    // grown by the floating-point test that differs from the exact one (so
    // that every active circle is tested), and insertions decided exactly.
    std::mt19937_64 random(29);
    const std::vector<std::vector<Point3>> sets = {
        testing::gridPoints(40, 40, 0.1, 500000, 4000000, 0, nullptr),
        testing::gridPoints(30, 30, 1.0, 500000, 4000000, 0.000002, &random),
        testing::ringPoints(36, 3, 500000, 4000000, 36),
    };
    size_t scanned = 0, exact = 0;
    for (const auto& raw : sets) {
        const std::vector<Point3> points = prepared(raw);
        DelaunayEngine engine = sweepEngine(points);
        for (const Point3& p : points) engine.insertPointSweep(p);
        scanned += engine.scannedInsertions();
        exact += engine.exactInsertions();
        double header[6];
        testing::headerOf(points, header);
        EXPECT_EQ(literal::formatTin(engine.result()),
                  literal::formatTin(literal::triangulateLiterally(header, points)));
    }
    EXPECT_GT(scanned, 0u);
    EXPECT_GT(exact, 0u);
}

TEST(DelaunayEngine, PointOnAnExistingVertexIsLeftOut) {
    // Not possible after preparation, but the engine must stay sound.
    const Point3 enclosing[3] = {{-1000, -500, 0}, {0, 500, 0}, {1000, -500, 0}};
    DelaunayEngine engine(DelaunayEngine::Mode::Plain, enclosing, 0, 0, 10, 10, 4);
    engine.insertPointPlain({0, 0, 1});
    engine.insertPointPlain({10, 0, 1});
    engine.insertPointPlain({5, 8, 1});
    engine.insertPointPlain({5, 8, 7});
    EXPECT_EQ(engine.skippedPoints(), 1u);
    const std::vector<Triangle> tin = engine.result();
    ASSERT_EQ(tin.size(), 1u);
    EXPECT_EQ(testing::validityFault(tin), "");
}

}  // namespace
}  // namespace tz::terrain
