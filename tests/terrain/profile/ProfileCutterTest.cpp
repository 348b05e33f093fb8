#include "profile/ProfileCutter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "profile/ArcStations.h"
#include "profile/EdgeReading.h"

namespace {

using namespace tz::terrain::profile;

struct Profile {
    CutStatus status;
    std::vector<ProfileSample> found;  // in the order found
    std::string text;                  // the profile file
};

Profile cut(const std::vector<Edge>& edges, const Alignment& alignment, double start) {
    const EdgeCrossingFinder finder(edges);
    ProfileCut result = cutProfile(alignment, start, finder);
    return {result.status, result.samples, profileText(sortedByStation(result.samples))};
}

Alignment polyline(std::vector<AlignmentVertex> vertices, bool closed = false) { return {std::move(vertices), closed}; }

const Edge kSingleEdge{{5, -1, 10}, {5, 1, 20}};

TEST(ProfileCutter, OneStraightSegmentOverOneEdge) {
    const Profile p = cut({kSingleEdge}, polyline({{0, 0, 0}, {10, 0, 0}}), 100);
    EXPECT_EQ(p.status, CutStatus::ok);
    EXPECT_EQ(p.text, "105.000000 15.000000\n");
}

TEST(ProfileCutter, ACrossingWhoseElevationOverflowsIsLeftOut) {
    // From 1e308 to -1e308 the interpolation overflows; the other edge stands.
    const Edge overflowing{{5, -1, 1e308}, {5, 1, -1e308}};
    const Edge ordinary{{7, -1, 10}, {7, 1, 20}};
    const Profile p = cut({overflowing, ordinary}, polyline({{0, 0, 0}, {10, 0, 0}}), 0);
    EXPECT_EQ(p.text, "7.000000 15.000000\n");
}

TEST(ProfileCutter, AVertexOnAnEdgeIsReportedByBothItsSegments) {
    const Profile p = cut({kSingleEdge}, polyline({{0, 0, 0}, {5, 0, 0}, {10, 3, 0}}), 100);
    EXPECT_EQ(p.text, "105.000000 15.000000\n105.000000 15.000000\n");
}

TEST(ProfileCutter, TheClosingSegmentOfAClosedPolylineIsNotCut) {
    // Only the closing segment, from (10,3) back to (0,3), would cross x = 5 at y = 3.
    const Edge tall{{5, 2, 0}, {5, 4, 8}};
    const Alignment open = polyline({{0, 3, 0}, {0, 10, 0}, {10, 10, 0}, {10, 3, 0}}, false);
    Alignment closed = open;
    closed.closed = true;
    EXPECT_TRUE(cut({tall}, closed, 0).found.empty());
    EXPECT_TRUE(cut({tall}, open, 0).found.empty());
    Alignment explicitClose = open;
    explicitClose.vertices.push_back({0, 3, 0});
    EXPECT_EQ(cut({tall}, explicitClose, 0).found.size(), 1u);
}

TEST(ProfileCutter, NoSegmentOrNoCrossingGivesNoSample) {
    EXPECT_TRUE(cut({kSingleEdge}, polyline({{0, 0, 0}}), 0).found.empty());
    EXPECT_TRUE(cut({kSingleEdge}, polyline({}), 0).found.empty());
    EXPECT_TRUE(cut({kSingleEdge}, polyline({{0, 5, 0}, {10, 5, 0}}), 0).found.empty());
    EXPECT_TRUE(cut({}, polyline({{0, 0, 0}, {10, 0, 0}}), 0).found.empty());
}

TEST(ProfileCutter, AnEdgeThatIsAPointInPlanGivesNoElevation) {
    // A vertical edge: the plan crossing exists but the vertical line does
    // not meet the edge's line in one point.
    const Edge vertical{{5, 0, 10}, {5, 0, 20}};
    EXPECT_TRUE(cut({vertical}, polyline({{0, 0, 0}, {10, 0, 0}}), 0).found.empty());
}

TEST(ProfileCutter, AnArcShorterThanOneUnitIsCutAlongItsChordButStationedAlongTheArc) {
    // Bulge 0.5 and a chord of 1.6 R give an arc of length 0.8; a vertical
    // edge through the chord's middle meets it where the arc is half swept.
    const double theta = 4 * std::atan(0.5);
    const double radius = 0.8 / theta;
    const double chord = 2 * radius * std::sin(theta / 2);
    const Edge middle{{chord / 2, -1, 0}, {chord / 2, 1, 10}};
    const Profile p = cut({middle}, polyline({{0, 0, 0.5}, {chord, 0, 0}}), 50);
    ASSERT_EQ(p.found.size(), 1u);
    EXPECT_NEAR(p.found[0].station, 50.4, 1e-8);  // not 50 + chord / 2 = 50.345
    EXPECT_NEAR(p.found[0].elevation, 5, 1e-12);
    EXPECT_EQ(p.text, "50.400000 5.000000\n");
}

TEST(ProfileCutter, ACrossingAtTheStartOfAnArcHasTheArcsStartStation) {
    const Edge through{{10, -5, 1}, {10, 5, 3}};
    for (double bulge : {0.5, -0.5, 2.0, -2.0}) {
        const Profile p = cut({through}, polyline({{0, 0, 0}, {10, 0, bulge}, {20, 0, 0}}), 7);
        ASSERT_EQ(p.found.size(), 2u) << bulge;  // the straight segment's end and the arc's start
        EXPECT_EQ(p.found[0].station, 17.0);
        EXPECT_EQ(p.found[1].station, 17.0) << bulge;
        EXPECT_EQ(p.text, "17.000000 2.000000\n17.000000 2.000000\n");
    }
}

// Vertical edges across the arcs of the next tests; elevation = y + 100.
std::vector<Edge> comb(double from, double to, double step) {
    std::vector<Edge> edges;
    for (double x = from; x <= to; x += step) edges.push_back({{x, -100, 0}, {x, 100, 200}});
    return edges;
}

void expectStationsGrowAlongTheArc(double bulge) {
    // Wider apart than a chord is long, so each chord meets at most one edge
    // and the order found is the order along the arc.
    const std::vector<Edge> edges = comb(0.5, 9.5, 1.5);
    const Profile p = cut(edges, polyline({{0, 0, bulge}, {10, 0, 0}, {30, 0, 0}}), 1000);
    const ArcStations arc({0, 0, 0}, {10, 0, 0}, bulge);
    std::size_t onArc = 0;
    for (std::size_t i = 0; i < p.found.size(); ++i) {
        const ProfileSample& s = p.found[i];
        if (s.station > 1000 + arc.length() + 1e-9) continue;
        ++onArc;
        EXPECT_GE(s.station, 1000);
        if (i > 0 && onArc > 1) {
            EXPECT_GE(s.station, p.found[i - 1].station) << "bulge " << bulge;
        }
    }
    // Each comb edge meets the arc once for |b| <= 1 and up to twice beyond.
    EXPECT_GE(onArc, edges.size());
    // The arc's whole length is added to the running station: the straight
    // segment after it starts at 1000 + L.
    const Edge after{{20, -1, 0}, {20, 1, 0}};
    const Profile q = cut({after}, polyline({{0, 0, bulge}, {10, 0, 0}, {30, 0, 0}}), 1000);
    ASSERT_EQ(q.found.size(), 1u);
    EXPECT_NEAR(q.found[0].station, 1000 + arc.length() + 10, 1e-9);
}

TEST(ProfileCutter, ClockwiseArcStationsGrowFromStartToEnd) { expectStationsGrowAlongTheArc(-0.5); }
TEST(ProfileCutter, ArcsLongerThanAHalfCircleStationGrowingAndAddTheirLength) {
    expectStationsGrowAlongTheArc(2.0);
    expectStationsGrowAlongTheArc(-2.0);
    expectStationsGrowAlongTheArc(1.0);
}

TEST(ProfileCutter, ArcStationsAreSweptAnglesTimesTheRadius) {
    // Computed apart from the cutter: the centre (5, yc) from the chord
    // (0,0)-(10,0) and bulge 0.7, chord points one unit of arc apart, where
    // each chord meets the line x = c, and the angle swept to that point.
    const double bulge = 0.7, pi = 3.14159265358979323846;
    const std::vector<Edge> edges = comb(1.25, 8.75, 1.0);
    const Profile p = cut(edges, polyline({{0, 0, bulge}, {10, 0, 0}}), 0);
    const double theta = 4 * std::atan(bulge);
    const double radius = 5 / std::sin(theta / 2);
    const double yc = std::sqrt(radius * radius - 25);  // above the chord for 0 < b < 1
    const double t0 = std::atan2(-yc, -5);
    std::vector<std::pair<double, double>> chordPoints{{0, 0}};
    for (int k = 1; k < radius * theta; ++k)
        chordPoints.push_back({5 + radius * std::cos(t0 + k / radius), yc + radius * std::sin(t0 + k / radius)});
    chordPoints.push_back({10, 0});
    ASSERT_EQ(p.found.size(), edges.size());
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const double c = edges[i].a.x;
        std::size_t k = 0;
        while (!(chordPoints[k].first <= c && c <= chordPoints[k + 1].first)) ++k;
        const auto [xa, ya] = chordPoints[k];
        const auto [xb, yb] = chordPoints[k + 1];
        const double y = ya + (yb - ya) * (c - xa) / (xb - xa);
        double swept = std::atan2(y - yc, c - 5) - t0;
        if (swept < 0) swept += 2 * pi;
        EXPECT_NEAR(p.found[i].station, radius * swept, 1e-7) << c;
        EXPECT_NEAR(p.found[i].elevation, y + 100, 1e-9) << c;
    }
}

TEST(ProfileCutter, MoreCrossingsThanEdgesAreAllKept) {
    // A zigzag crossing one edge forty times: far more samples than 3 x (edges + 1).
    Alignment zigzag;
    for (int i = 0; i <= 40; ++i) zigzag.vertices.push_back({i % 2 == 0 ? 0.0 : 10.0, double(i), 0});
    const Edge across{{5, -1, 0}, {5, 41, 42}};
    const Profile p = cut({across}, zigzag, 0);
    EXPECT_EQ(p.found.size(), 40u);
    EXPECT_EQ(std::count(p.text.begin(), p.text.end(), '\n'), 40);
}

TEST(ProfileCutter, EqualStationsKeepTheOrderFound) {
    // Three edges through one point of the polyline, listed with falling elevations.
    const std::vector<Edge> star{{{5, -1, 30}, {5, 1, 30}}, {{4, -1, 20}, {6, 1, 20}}, {{6, -1, 10}, {4, 1, 10}}};
    const Profile p = cut(star, polyline({{0, 0, 0}, {10, 0, 0}}), 0);
    EXPECT_EQ(p.text, "5.000000 30.000000\n5.000000 20.000000\n5.000000 10.000000\n");
}

TEST(ProfileCutter, ReportsArcsThatCannotBeWalked) {
    // A bulge this close to a full circle on a long chord: trillions of chords.
    const Profile huge = cut({kSingleEdge}, polyline({{0, 0, 1e12}, {1000, 0, 0}}), 0);
    EXPECT_EQ(huge.status, CutStatus::unusableArc);
    EXPECT_TRUE(huge.found.empty());
    // Half circles of 6.3e7 units each: one alone would be walked, two are
    // too long in all, and nothing is cut of the first.
    const Profile twoHalves = cut({kSingleEdge}, polyline({{0, 0, 1}, {4e7, 0, 1}, {0, 0, 0}}), 0);
    EXPECT_EQ(twoHalves.status, CutStatus::unusableArc);
    EXPECT_TRUE(twoHalves.found.empty());
}

TEST(ProfileCutter, ABulgeNearZeroIsCutAsTheStraightSegment) {
    // One triangle at survey coordinates; the segment crosses only its
    // hypotenuse, at station 56.568542 and elevation 25. Walked as an arc
    // from a centre some 10^17 units away, a bulge of rounding noise put
    // samples on edges the segment never reaches.
    std::istringstream tin("512300 4012300 10 512400 4012300 20 512300 4012400 30\n");
    const EdgeLoad load = readTinEdges(tin);
    const std::string straight = "56.568542 25.000000\n";
    for (double bulge : {0.0, -1.2246e-16, 1e-14, 9e-9, 1e-200}) {
        const Profile p = cut(load.edges.edges(), polyline({{512310, 4012310, bulge}, {512390, 4012390, 0}}), 0);
        EXPECT_EQ(p.status, CutStatus::ok) << bulge;
        EXPECT_EQ(p.text, straight) << bulge;
    }
    // From 1e-8 on the arc is walked, and its one crossing is where the
    // arc, rising 0.06 mm over the chord, meets the hypotenuse.
    const Profile arc = cut(load.edges.edges(), polyline({{512310, 4012310, 1e-6}, {512390, 4012390, 0}}), 0);
    EXPECT_EQ(arc.status, CutStatus::ok);
    ASSERT_EQ(arc.found.size(), 1u);
    EXPECT_NEAR(arc.found[0].station, 56.568542, 1e-4);
    EXPECT_NEAR(arc.found[0].elevation, 25, 1e-4);
}

TEST(ProfileCutter, TheSingleTriangleTinGivesOneSampleOnItsSecondEdge) {
    std::istringstream tin("0 0 10 10 0 20 0 10 30\n");
    const EdgeLoad load = readTinEdges(tin);
    const Profile p = cut(load.edges.edges(), polyline({{1, 1, 0}, {10, 10, 0}}), 250);
    EXPECT_EQ(p.text, "255.656854 25.000000\n");
}

TEST(ProfileText, WritesFixedSixDecimalsAndSortsStably) {
    const std::vector<ProfileSample> samples{{3, 1.5}, {-1, 2}, {3, -0.25}, {1234.5, 100}};
    EXPECT_EQ(profileText(sortedByStation(samples)),
              "-1.000000 2.000000\n3.000000 1.500000\n3.000000 -0.250000\n1234.500000 100.000000\n");
    EXPECT_EQ(profileText({{1e300, 0}}).size(), 301u + 7 + 1 + 8 + 1);
}

}  // namespace
