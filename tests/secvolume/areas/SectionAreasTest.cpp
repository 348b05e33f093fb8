#include "areas/SectionAreas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>

#include "areas/PolygonArea.h"
#include "areas/SegmentsMeet.h"

namespace {

using namespace tz::secvolume;

std::vector<SectionSegment> line(const std::vector<std::pair<double, double>>& points) {
    std::vector<SectionSegment> segments;
    for (std::size_t i = 1; i < points.size(); ++i)
        segments.push_back({{points[i - 1].first, points[i - 1].second, 0}, {points[i].first, points[i].second, 0}});
    return segments;
}

const auto kFlatGround = line({{-50, 100}, {0, 100}, {50, 100}});

TEST(SectionAreas, ARaisedTrapezoidIsFill) {
    const CutFill a = sectionAreas(kFlatGround, line({{-40, 90}, {-20, 110}, {20, 110}, {40, 90}}));
    EXPECT_EQ(a.cut, 0);
    EXPECT_DOUBLE_EQ(a.fill, 500);
}

TEST(SectionAreas, TheMirroredTrapezoidIsCut) {
    const CutFill a = sectionAreas(kFlatGround, line({{-40, 110}, {-20, 90}, {20, 90}, {40, 110}}));
    EXPECT_DOUBLE_EQ(a.cut, -500);
    EXPECT_EQ(a.fill, 0);
}

TEST(SectionAreas, FourCrossingsGiveThreeRegionsSummedApart) {
    const CutFill a = sectionAreas(kFlatGround, line({{-40, 95}, {-20, 105}, {0, 95}, {20, 105}, {40, 95}}));
    EXPECT_DOUBLE_EQ(a.fill, 100);  // two triangles of 50 above
    EXPECT_DOUBLE_EQ(a.cut, -50);   // one below
}

TEST(SectionAreas, DaylightPointsOnTheGroundLineAreCrossings) {
    const CutFill exact = sectionAreas(kFlatGround, line({{-30, 100}, {-20, 110}, {20, 110}, {30, 100}}));
    EXPECT_DOUBLE_EQ(exact.fill, 500);
    const CutFill near = sectionAreas(kFlatGround, line({{-30, 100.0004}, {-20, 110}, {20, 110}, {30, 99.9996}}));
    EXPECT_NEAR(near.fill, 500, 0.01);
    EXPECT_EQ(near.cut, 0);
}

TEST(SectionAreas, LinesThatNeverCrossHaveNoRegion) {
    const CutFill above = sectionAreas(kFlatGround, line({{-40, 120}, {40, 120}}));
    EXPECT_EQ(above.cut, 0);
    EXPECT_EQ(above.fill, 0);
    const CutFill noGround = sectionAreas({}, line({{-40, 90}, {-20, 110}, {20, 110}, {40, 90}}));
    EXPECT_EQ(noGround.fill, 0);
    EXPECT_EQ(sectionAreas(kFlatGround, {}).fill, 0);
}

TEST(SectionAreas, AStartCrossingWithoutALaterOneAddsNothing) {
    // The proposed line climbs out of the ground and leaves the section.
    const CutFill a = sectionAreas(kFlatGround, line({{-40, 90}, {-20, 110}, {60, 110}}));
    EXPECT_EQ(a.cut, 0);
    EXPECT_EQ(a.fill, 0);
}

TEST(SectionAreas, ASegmentCrossingTwiceClosesItsRegionAtTheSecondCrossing) {
    // Ground with a dip; the proposed line drops below the ground at x = -35,
    // and its long second segment (y = 96 + 0.2x) comes out of the dip's near
    // side at x = -60/7 and meets the ground again at (20, 100), where it
    // stays above to its end: two regions on one proposed segment.
    const auto dip = line({{-50, 100}, {-20, 100}, {0, 90}, {20, 100}, {50, 100}});
    const CutFill a = sectionAreas(dip, line({{-40, 110}, {-30, 90}, {40, 104}}));
    // Cut: the ground minus the proposed line from -35 to -60/7, in three
    // pieces: 25 + 90 + 320/7.
    EXPECT_NEAR(a.cut, -(25 + 90 + 320.0 / 7), 1e-9);
    // Fill: the proposed line minus the ground from -60/7 to 20: 180/7 + 60.
    EXPECT_NEAR(a.fill, 180.0 / 7 + 60, 1e-9);
}

TEST(SectionAreas, AProposedLineEqualToTheGroundHasNoArea) {
    std::mt19937 random(2);
    std::uniform_real_distribution<double> height(90, 110);
    for (int run = 0; run < 50; ++run) {
        std::vector<std::pair<double, double>> points;
        for (double x = -50; x <= 50; x += 12.5) points.push_back({x, height(random)});
        const auto ground = line(points);
        const CutFill a = sectionAreas(ground, ground);
        EXPECT_NEAR(a.cut, 0, 1e-9);
        EXPECT_NEAR(a.fill, 0, 1e-9);
    }
}

TEST(SectionAreas, RaisingTheGroundByHOverWidthWGivesFillHW) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> height(90, 110), raise(0.5, 8), from(-45, -5), width(5, 40);
    for (int run = 0; run < 50; ++run) {
        std::vector<std::pair<double, double>> ground;
        for (double x = -50; x <= 50; x += 10) ground.push_back({x, height(random)});
        auto groundAt = [&](double x) {
            for (std::size_t i = 1; i < ground.size(); ++i)
                if (x <= ground[i].first) {
                    const auto [x0, y0] = ground[i - 1];
                    const auto [x1, y1] = ground[i];
                    return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
                }
            return ground.back().second;
        };
        const double h = raise(random), a = from(random), w = width(random), b = a + w;
        // Proposed: vertical up at a, the ground raised by h to b, vertical down at b.
        std::vector<std::pair<double, double>> proposed{{a, groundAt(a)}, {a, groundAt(a) + h}};
        for (const auto& [x, y] : ground)
            if (x > a && x < b) proposed.push_back({x, y + h});
        proposed.push_back({b, groundAt(b) + h});
        proposed.push_back({b, groundAt(b)});
        const CutFill areas = sectionAreas(line(ground), line(proposed));
        EXPECT_NEAR(areas.fill, h * w, 1e-6 * h * w) << run;
        EXPECT_EQ(areas.cut, 0);
    }
}

// A closed region's area, to cut or to fill by the way round it runs.
void addRegion(const std::vector<Point3>& polygon, CutFill& areas) {
    const double g = -polygonArea(polygon);
    if (g < 0)
        areas.cut += g;
    else
        areas.fill += g;
}

// The regions exactly as the procedure reads, with its fresh start-crossing
// search from (d0, e0) after every region, for sections where no proposed
// segment meets the ground twice.
CutFill literalAreas(const std::vector<SectionSegment>& e, const std::vector<SectionSegment>& d) {
    CutFill areas;
    std::size_t d0 = 0, e0 = 0;
    for (int guard = 0; guard < 1000; ++guard) {
        bool found = false;
        std::size_t dA = 0, eA = 0;
        Point3 a;
        for (std::size_t i = d0; i < d.size() && !found; ++i)
            for (std::size_t j = e0; j < e.size() && !found; ++j)
                if (auto p = segmentsMeet(e[j], d[i])) found = true, a = *p, dA = i, eA = j;
        if (!found) break;
        std::vector<Point3> polygon{a};
        bool closed = false;
        std::size_t dB = 0, eB = 0;
        Point3 b;
        for (std::size_t i = dA + 1; i < d.size() && !closed; ++i) {
            polygon.push_back(d[i].start);
            for (std::size_t j = eA; j < e.size() && !closed; ++j) {
                const auto p = segmentsMeet(e[j], d[i]);
                if (p && !(p->x == a.x && p->y == a.y)) closed = true, b = *p, dB = i, eB = j;
            }
        }
        if (!closed) break;
        if (eB == eA) {
            polygon.push_back(*segmentsMeet(d[dB], e[eA]));
        } else {
            polygon.push_back(b);
            for (std::size_t j = eB; j > eA; --j) polygon.push_back(e[j].start);
        }
        addRegion(polygon, areas);
        d0 = dB;
        e0 = eA;
        if (!(dB < d.size() - 1)) break;
    }
    return areas;
}

bool anySegmentMeetsTwice(const std::vector<SectionSegment>& e, const std::vector<SectionSegment>& d) {
    for (const SectionSegment& s : d) {
        int meets = 0;
        for (const SectionSegment& g : e) meets += segmentsMeet(g, s) ? 1 : 0;
        if (meets > 1) return true;
    }
    return false;
}

TEST(SectionAreas, AgreeWithTheProcedureOnOrdinarySections) {
    std::mt19937 random(9);
    std::uniform_real_distribution<double> height(95, 105), design(92, 108), step(3, 15);
    int compared = 0;
    for (int run = 0; run < 2000 && compared < 300; ++run) {
        std::vector<std::pair<double, double>> ground, proposed;
        for (double x = -60; x <= 60; x += step(random)) ground.push_back({x, height(random)});
        for (double x = -50; x <= 50; x += step(random)) proposed.push_back({x, design(random)});
        const auto e = line(ground), d = line(proposed);
        if (anySegmentMeetsTwice(e, d)) continue;
        ++compared;
        const CutFill expected = literalAreas(e, d), actual = sectionAreas(e, d);
        EXPECT_EQ(actual.cut, expected.cut) << run;
        EXPECT_EQ(actual.fill, expected.fill) << run;
    }
    EXPECT_GE(compared, 300);
}

// The regions found as the procedure searches them, every existing segment
// tried again for every region, with the second crossing of a proposed
// segment closing its region: what sectionAreas must give on any section.
CutFill directAreas(const std::vector<SectionSegment>& e, const std::vector<SectionSegment>& d) {
    auto along = [](const SectionSegment& s, const Point3& p) {
        return (p.x - s.start.x) * (s.end.x - s.start.x) + (p.y - s.start.y) * (s.end.y - s.start.y);
    };
    CutFill areas;
    std::optional<Point3> a;
    std::size_t aProposed = 0, aExisting = 0;
    for (std::size_t i = 0; i < d.size() && !a; ++i)
        for (std::size_t j = 0; j < e.size() && !a; ++j)
            if ((a = segmentsMeet(e[j], d[i]))) aProposed = i, aExisting = j;
    while (a) {
        std::vector<Point3> polygon{*a};
        std::optional<Point3> b;
        std::size_t bProposed = 0, bExisting = 0;
        double bestAlong = 0;
        const double from = along(d[aProposed], *a);
        for (std::size_t j = aExisting; j < e.size(); ++j) {
            const auto p = segmentsMeet(e[j], d[aProposed]);
            if (!p) continue;
            const double at = along(d[aProposed], *p);
            if (!(at > from) || std::hypot(p->x - a->x, p->y - a->y) <= 0.001) continue;
            if (!b || at < bestAlong) b = p, bProposed = aProposed, bExisting = j, bestAlong = at;
        }
        for (std::size_t i = aProposed + 1; !b && i < d.size(); ++i) {
            polygon.push_back(d[i].start);
            for (std::size_t j = aExisting; j < e.size(); ++j) {
                const auto p = segmentsMeet(e[j], d[i]);
                if (p && !(p->x == a->x && p->y == a->y)) {
                    b = p, bProposed = i, bExisting = j;
                    break;
                }
            }
        }
        if (!b) break;
        if (bExisting == aExisting) {
            const auto onProposed = segmentsMeet(d[bProposed], e[aExisting]);
            polygon.push_back(onProposed ? *onProposed : *b);
        } else {
            polygon.push_back(*b);
            for (std::size_t j = bExisting; j > aExisting; --j) polygon.push_back(e[j].start);
        }
        addRegion(polygon, areas);
        a = b, aProposed = bProposed, aExisting = bExisting;
    }
    return areas;
}

// Ground that zigzags about a design line crossing it hundreds of times,
// also turning back on itself, design lines that cross one ground segment
// twice, and design lines laid on the ground itself (crossings everywhere
// within the tolerance).
TEST(SectionAreas, AgreeWithTheDirectSearchOnManyCrossings) {
    std::mt19937 random(31);
    std::uniform_real_distribution<double> u(0, 1);
    for (int run = 0; run < 400; ++run) {
        std::vector<std::pair<double, double>> ground, proposed;
        const int kind = run % 4 == 3 ? 0 : run % 4;
        const double step = 0.2 + 3 * u(random), back = run % 4 == 3 ? 0.6 : 0;
        for (double x = -60; x <= 60 && ground.size() < 2000; x += step * (0.5 + u(random) - back)) {
            const double y = kind == 0 ? 100 + (ground.size() % 2 == 0 ? 1 : -1) * (0.01 + u(random))
                                       : 100 + 5 * std::sin(x / 7) + u(random);
            ground.push_back({x, y});
        }
        if (kind == 2) {
            for (const auto& [x, y] : ground)
                if (x > -50 && x < 50) proposed.push_back({x, y + (u(random) < 0.3 ? 0.0005 : 0.0)});
        } else {
            for (double x = -50; x <= 50; x += (kind == 0 ? 30 : 3) * (0.3 + u(random)))
                proposed.push_back({x, 100 + (kind == 0 ? 0.0 : 6 * (u(random) - 0.5))});
        }
        if (proposed.size() < 2) continue;
        const auto e = line(ground), d = line(proposed);
        const CutFill expected = directAreas(e, d), actual = sectionAreas(e, d);
        EXPECT_EQ(actual.cut, expected.cut) << run;
        EXPECT_EQ(actual.fill, expected.fill) << run;
    }
}

}  // namespace
