#include "profile/ArcStations.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using tz::geom::Point3;
using tz::terrain::profile::ArcStations;

// The arc's midpoint, from the bulge definition: the sagitta b*c/2 stands
// perpendicular to the chord, to the right of the travel direction for a
// positive (counter-clockwise) bulge.
Point3 arcMiddle(const Point3& p, const Point3& q, double bulge) {
    const double mx = (p.x + q.x) / 2, my = (p.y + q.y) / 2;
    const double dx = q.x - p.x, dy = q.y - p.y;
    const double sagitta = bulge / 2;  // times the chord length; right normal is (dy, -dx)
    return {mx + sagitta * dy, my - sagitta * dx, 0};
}

TEST(ArcStations, CentreLiesOnTheSideTheBulgeGivesForEveryValue) {
    const Point3 p{0, 0, 0}, q{10, 0, 0};
    for (double bulge : {0.5, -0.5, 2.0, -2.0, 1.0, -1.0, 0.05, -7.0}) {
        const ArcStations arc(p, q, bulge);
        const Point3 middle = arcMiddle(p, q, bulge);
        const double theta = 4 * std::atan(std::fabs(bulge));
        const double radius = 5 / std::sin(theta / 2);
        EXPECT_NEAR(arc.radius(), radius, 1e-9 * radius);
        EXPECT_NEAR(arc.length(), radius * theta, 1e-9 * radius);
        // Start, end and the bulge's midpoint all lie at the radius from the centre.
        for (const Point3& on : {p, q, middle})
            EXPECT_NEAR(std::hypot(on.x - arc.centre().x, on.y - arc.centre().y), radius, 1e-7 * radius)
                << "bulge " << bulge;
        // The midpoint lies half the arc length along.
        EXPECT_NEAR(arc.distanceAlong(middle), arc.length() / 2, 1e-6) << "bulge " << bulge;
        EXPECT_NEAR(arc.distanceAlong(q), arc.length(), 1e-6) << "bulge " << bulge;
        EXPECT_EQ(arc.distanceAlong(p), 0.0);
    }
}

TEST(ArcStations, ChordPointsAreOneUnitOfArcApartWhileShortOfTheEnd) {
    const ArcStations arc({0, 0, 0}, {10, 0, 0}, -0.5);
    const double length = arc.length();  // about 11.59
    ASSERT_EQ(arc.chordPointCount(), static_cast<std::int64_t>(std::ceil(length)) - 1);
    double previous = 0;
    for (std::int64_t k = 1; k <= arc.chordPointCount(); ++k) {
        const Point3 s = arc.chordPoint(k);
        const double along = arc.distanceAlong(s);
        EXPECT_NEAR(along, static_cast<double>(k), 1e-6);
        EXPECT_GT(along, previous);  // clockwise travel still grows the stations
        previous = along;
    }
    EXPECT_EQ(ArcStations({0, 0, 0}, {0.69, 0, 0}, 0.5).chordPointCount(), 0);  // length 0.8: its chord alone
}

TEST(ArcStations, APointAHairBehindTheStartIsAtTheStart) {
    for (double bulge : {0.5, -0.5, 2.0, -2.0}) {
        const ArcStations arc({3, 4, 0}, {13, 4, 0}, bulge);
        const double start = std::atan2(4 - arc.centre().y, 3 - arc.centre().x);
        const double behind = bulge > 0 ? start - 1e-13 : start + 1e-13;
        const Point3 hair{arc.centre().x + arc.radius() * std::cos(behind),
                          arc.centre().y + arc.radius() * std::sin(behind), 0};
        EXPECT_EQ(arc.distanceAlong(hair), 0.0) << bulge;
    }
}

TEST(ArcStations, DegenerateArcsStayFinite) {
    const ArcStations zero({1, 1, 0}, {1, 1, 0}, 0.7);
    EXPECT_EQ(zero.length(), 0.0);
    EXPECT_EQ(zero.chordPointCount(), 0);
    const ArcStations nearHalf({0, 0, 0}, {10, 0, 0}, std::nextafter(1.0, 2.0));
    EXPECT_TRUE(std::isfinite(nearHalf.centre().x));
    EXPECT_TRUE(std::isfinite(nearHalf.centre().y));
}

}  // namespace
