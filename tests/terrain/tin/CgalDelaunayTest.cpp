// An independent check: for points in general position the engine's
// triangles are those of CGAL's Delaunay triangulation (less, at most, a
// few flat triangles on the hull that the finite enclosing triangle hides).
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "TinTestSupport.h"

namespace tz::terrain {
namespace {

using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using Delaunay = CGAL::Delaunay_triangulation_2<K>;
using Corner = std::pair<double, double>;
using Face = std::array<Corner, 3>;

// A triangle as its corners turned to start at the smallest, keeping the order.
Face normalised(Corner a, Corner b, Corner c) {
    Face f{a, b, c};
    while (!(f[0] <= f[1] && f[0] <= f[2])) f = {f[1], f[2], f[0]};
    return f;
}

TEST(CgalDelaunay, SameTrianglesForPointsInGeneralPosition) {
    std::mt19937_64 random(77);
    for (int round = 0; round < 5; ++round) {
        const std::vector<Point3> points =
            testing::prepared(testing::randomPoints(random, 400 + 300 * round, 500000, 4000000, 500, 300));
        double header[6];
        testing::headerOf(points, header);
        const std::vector<Triangle> tin = testing::triangulateFast(header, points);

        Delaunay reference;
        for (const Point3& p : points) reference.insert(K::Point_2(p.x, p.y));
        std::set<Face> expected, hull;
        for (auto f = reference.finite_faces_begin(); f != reference.finite_faces_end(); ++f) {
            // CGAL turns counter-clockwise; the TIN clockwise.
            const K::Point_2 &a = f->vertex(0)->point(), &b = f->vertex(1)->point(), &c = f->vertex(2)->point();
            const Face face = normalised({a.x(), a.y()}, {c.x(), c.y()}, {b.x(), b.y()});
            expected.insert(face);
            for (int i = 0; i < 3; ++i) {
                if (reference.is_infinite(f->neighbor(i))) hull.insert(face);
            }
        }
        std::set<Face> actual;
        for (const Triangle& t : tin) actual.insert(normalised({t.p1.x, t.p1.y}, {t.p2.x, t.p2.y}, {t.p3.x, t.p3.y}));
        ASSERT_EQ(actual.size(), tin.size());
        size_t missing = 0;
        for (const Face& f : expected) {
            if (actual.count(f)) continue;
            EXPECT_TRUE(hull.count(f)) << "an inner Delaunay triangle is missing";
            ++missing;
        }
        for (const Face& f : actual) EXPECT_TRUE(expected.count(f)) << "a triangle that is not Delaunay";
        EXPECT_LE(missing, 3u);
    }
}

}  // namespace
}  // namespace tz::terrain
