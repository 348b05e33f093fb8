// Fault insertion against the literal procedure on random and grid TINs,
// and the behaviour each kind of fault must show.
#include "faults/FaultInsertion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "LiteralFaults.h"
#include "LiteralTriangulation.h"
#include "TinTestSupport.h"

namespace tz::terrain {
namespace {

std::vector<Triangle> tinOf(const std::vector<Point3>& raw) {
    const std::vector<Point3> points = testing::prepared(raw);
    double header[6];
    testing::headerOf(points, header);
    return testing::triangulateFast(header, points);
}

// Applies the faults with the production code and with the literal one and
// expects the same TIN, the same messages and the same statuses.
void expectSameAsLiteral(const std::vector<Triangle>& start, const std::vector<Segment>& faults,
                         const std::string& what, size_t* applied = nullptr) {
    FaultTin fast(start);
    std::vector<Triangle> slow = start;
    testing::RecordingReporter reporter;
    std::string slowPrinted;
    for (size_t k = 0; k < faults.size(); ++k) {
        Segment a = faults[k], b = faults[k];
        const size_t printedBefore = reporter.printed.size();
        const int fastStatus = insertFaultLine(fast, a, static_cast<int>(k + 1), reporter, {});
        const int slowStatus = literal::insertFaultLineLiterally(slow, b, static_cast<int>(k + 1), slowPrinted);
        ASSERT_EQ(fastStatus, slowStatus) << what << " fault " << k + 1;
        ASSERT_EQ(literal::formatTin(fast.inOrder()), literal::formatTin(slow)) << what << " fault " << k + 1;
        if (applied != nullptr && fastStatus == 0 && reporter.printed.size() == printedBefore) ++*applied;
    }
    EXPECT_EQ(reporter.printed, slowPrinted) << what;
    EXPECT_EQ(testing::validityFault(fast.inOrder()), "") << what;
}

Point3 jittered(const Point3& p, std::mt19937_64& random, double by) {
    std::uniform_real_distribution<double> u(-by, by);
    return {p.x + u(random), p.y + u(random), 0};
}

TEST(FaultInsertion, MatchesLiteralOnRandomTins) {
    std::mt19937_64 random(31);
    for (int round = 0; round < 3; ++round) {
        const std::vector<Triangle> tin = tinOf(testing::randomPoints(random, 500, 500000, 4000000, 200, 200));
        std::vector<Point3> vertices;
        for (const Triangle& t : tin) vertices.push_back(t.p1);
        std::uniform_int_distribution<size_t> pick(0, vertices.size() - 1);
        std::vector<Segment> faults;
        while (faults.size() < 30) {
            const Point3 s = vertices[pick(random)], e = vertices[pick(random)];
            const double length = std::hypot(s.x - e.x, s.y - e.y);
            if (length < 5 || length > 60) continue;
            const double jitter = faults.size() % 5 == 4 ? 0.3 : 0.05;  // every fifth too far to snap
            faults.push_back({jittered(s, random, jitter), jittered(e, random, jitter)});
        }
        size_t applied = 0;
        expectSameAsLiteral(tin, faults, "random round " + std::to_string(round), &applied);
        EXPECT_GT(applied, 5u);
    }
}

TEST(FaultInsertion, MatchesLiteralOnGrids) {
    const std::vector<Triangle> tin = tinOf(testing::gridPoints(16, 16, 1.0, 500000, 4000000, 0, nullptr));
    const double x0 = 500000, y0 = 4000000;
    std::vector<Segment> faults;
    // Along rows and columns (through third vertices), diagonals, knight's moves.
    faults.push_back({{x0 + 1, y0 + 3, 0}, {x0 + 9, y0 + 3, 0}});
    faults.push_back({{x0 + 4, y0 + 1, 0}, {x0 + 4, y0 + 12, 0}});
    faults.push_back({{x0 + 2, y0 + 2, 0}, {x0 + 8, y0 + 8, 0}});
    faults.push_back({{x0 + 10, y0 + 1, 0}, {x0 + 1, y0 + 10, 0}});
    faults.push_back({{x0 + 3, y0 + 5, 0}, {x0 + 4, y0 + 7, 0}});
    faults.push_back({{x0 + 6, y0 + 9, 0}, {x0 + 8, y0 + 10, 0}});
    faults.push_back({{x0 + 11, y0 + 2, 0}, {x0 + 14, y0 + 13, 0}});
    faults.push_back({{x0 + 12, y0 + 12, 0}, {x0 + 13, y0 + 13, 0}});
    expectSameAsLiteral(tin, faults, "grid");
}

TEST(FaultInsertion, SnapsWithinOneTenth) {
    const std::vector<Triangle> tin = tinOf(testing::gridPoints(6, 6, 1.0, 100, 200, 0, nullptr));
    FaultTin faulted(tin);
    testing::RecordingReporter reporter;
    Segment fault{{100.06, 200.05, 7}, {102.96, 201.03, 7}};  // 0.078 and 0.05 from (100, 200), (103, 201)
    EXPECT_EQ(insertFaultLine(faulted, fault, 1, reporter, {}), kStageDone);
    EXPECT_EQ(fault.a.x, 100);
    EXPECT_EQ(fault.a.y, 200);
    EXPECT_EQ(fault.b.x, 103);
    EXPECT_EQ(fault.b.y, 201);
    EXPECT_EQ(fault.a.z, 200 + 0.0);  // the vertex's elevation, not the file's
    bool present = false;
    for (const Triangle& t : faulted.inOrder()) {
        const Point3 v[3] = {t.p1, t.p2, t.p3};
        for (int k = 0; k < 3; ++k) {
            const Point3 &a = v[k], &b = v[(k + 1) % 3];
            if ((a.x == 100 && a.y == 200 && b.x == 103 && b.y == 201) ||
                (b.x == 100 && b.y == 200 && a.x == 103 && a.y == 201))
                present = true;
        }
    }
    EXPECT_TRUE(present);
    EXPECT_EQ(testing::validityFault(faulted.inOrder()), "");
    EXPECT_EQ(reporter.printed, "");
}

TEST(FaultInsertion, FarEndsAreSkippedSilently) {
    const std::vector<Triangle> tin = tinOf(testing::gridPoints(6, 6, 1.0, 100, 200, 0, nullptr));
    FaultTin faulted(tin);
    testing::RecordingReporter reporter;
    Segment fault{{100.2, 200.0, 0}, {103, 201, 0}};
    EXPECT_EQ(insertFaultLine(faulted, fault, 1, reporter, {}), kFaultNotApplicable);
    EXPECT_EQ(literal::formatTin(faulted.inOrder()), literal::formatTin(tin));
    EXPECT_EQ(reporter.printed, "");
}

TEST(FaultInsertion, ExistingEdgeChangesNothing) {
    const std::vector<Triangle> tin = tinOf(testing::gridPoints(6, 6, 1.0, 100, 200, 0, nullptr));
    FaultTin faulted(tin);
    testing::RecordingReporter reporter;
    Segment fault{tin[0].p1, tin[0].p2};
    EXPECT_EQ(insertFaultLine(faulted, fault, 1, reporter, {}), kFaultNotApplicable);
    EXPECT_EQ(literal::formatTin(faulted.inOrder()), literal::formatTin(tin));
}

TEST(FaultInsertion, ThroughAThirdVertexKeepsTheTriangles) {
    const std::vector<Triangle> tin = tinOf(testing::gridPoints(6, 6, 1.0, 100, 200, 0, nullptr));
    FaultTin faulted(tin);
    testing::RecordingReporter reporter;
    Segment fault{{100, 202, 0}, {104, 202, 0}};  // along a row of vertices
    const int status = insertFaultLine(faulted, fault, 3, reporter, {});
    EXPECT_TRUE(status == kStageDone || status == 3 || status == kFaultNotApplicable);
    std::vector<std::string> before, after;
    for (const Triangle& t : tin) before.push_back(literal::formatTin({t}));
    for (const Triangle& t : faulted.inOrder()) after.push_back(literal::formatTin({t}));
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(before, after);
}

TEST(FaultInsertion, UserBreakWhileFollowingTheOutline) {
    const std::vector<Triangle> tin = tinOf(testing::gridPoints(8, 8, 1.0, 100, 200, 0, nullptr));
    FaultTin faulted(tin);
    testing::RecordingReporter reporter;
    Segment fault{{101, 201, 0}, {105, 204, 0}};
    EXPECT_EQ(insertFaultLine(faulted, fault, 1, reporter, [] { return true; }), kStatusCancel);
    EXPECT_EQ(faulted.count(), tin.size());
}

TEST(FaultInsertion, LocalTriangulationMatchesLiteral) {
    std::mt19937_64 random(3);
    for (int round = 0; round < 20; ++round) {
        std::vector<Point3> points = testing::randomPoints(random, 4 + round * 3, 1000, 2000, 10, 10);
        if (round % 3 == 0) points = testing::ringPoints(4 + round, 5, 1000, 2000, 4 + round);
        const std::vector<Triangle> fast = localTriangulation(points);
        EXPECT_EQ(literal::formatTin(fast), literal::formatTin(literal::localTriangulationLiterally(points)));
        EXPECT_EQ(testing::validityFault(fast), "");
    }
}

}  // namespace
}  // namespace tz::terrain
