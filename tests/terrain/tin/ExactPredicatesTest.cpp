// The exact predicates against CGAL's on near-degenerate input.
#include "tin/ExactPredicates.h"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <gtest/gtest.h>

#include <random>

namespace tz::terrain {
namespace {

using K = CGAL::Exact_predicates_inexact_constructions_kernel;

// Orientation and side of circle share CGAL's sign type.
int sign(CGAL::Sign s) { return s == CGAL::POSITIVE ? 1 : (s == CGAL::NEGATIVE ? -1 : 0); }

TEST(ExactPredicates, AgreeWithCgalNearDegeneracy) {
    std::mt19937_64 random(4);
    std::uniform_real_distribution<double> u(0, 1);
    std::uniform_int_distribution<int> grid(0, 6);
    int zeros = 0, decided = 0;
    for (int i = 0; i < 60000; ++i) {
        const double x0 = i % 2 ? 500000 : 0, y0 = i % 2 ? 4000000 : 0;
        double c[8];
        if (i % 4 < 2) {
            // Points on a small lattice: many exact collinear and co-circular cases.
            for (double& v : c) v = grid(random) * 0.1;
        } else {
            // Points on one line or circle, perturbed by an ulp or two.
            const double angle = u(random) * 6.283185307179586;
            for (int k = 0; k < 4; ++k) {
                const double t = u(random) * 10;
                c[2 * k] = i % 4 == 2 ? t : 5 * std::cos(angle + k);
                c[2 * k + 1] = i % 4 == 2 ? 0.3 * t : 5 * std::sin(angle + k);
                c[2 * k] = std::nextafter(c[2 * k], k % 2 ? 1e9 : -1e9);
            }
        }
        for (int k = 0; k < 4; ++k) c[2 * k] += x0, c[2 * k + 1] += y0;
        const K::Point_2 a(c[0], c[1]), b(c[2], c[3]), p(c[4], c[5]), d(c[6], c[7]);
        const int o = exact::orientation(c[0], c[1], c[2], c[3], c[4], c[5]);
        ASSERT_EQ(o, sign(CGAL::orientation(a, b, p)));
        const int ic = exact::inCircle(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
        if (o != 0) {
            ASSERT_EQ(ic, sign(CGAL::side_of_oriented_circle(a, b, p, d)));
        }
        zeros += o == 0 || ic == 0;
        decided += o != 0 && ic != 0;
    }
    EXPECT_GT(zeros, 300);
    EXPECT_GT(decided, 1000);
}

}  // namespace
}  // namespace tz::terrain
