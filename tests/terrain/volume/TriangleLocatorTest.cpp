// The locator against a scan of every triangle in file order, on surfaces
// where points fall on shared edges and vertices, vertical and level edges,
// and on heaps of overlapping triangles.
#include "volume/TriangleLocator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "LiteralSurface.h"
#include "TestSurfaces.h"
#include "volume/TriangleContainment.h"

namespace tz::terrain::volume {
namespace {

std::ptrdiff_t scanLast(const std::vector<PreparedTriangle>& triangles, double x, double y) {
    std::ptrdiff_t found = TriangleLocator::kNone;
    for (size_t i = 0; i < triangles.size(); ++i)
        if (literal::contains(triangles[i], x, y)) found = static_cast<std::ptrdiff_t>(i);
    return found;
}

std::ptrdiff_t scanFirst(const std::vector<PreparedTriangle>& triangles, double x, double y) {
    for (size_t i = 0; i < triangles.size(); ++i)
        if (literal::contains(triangles[i], x, y)) return static_cast<std::ptrdiff_t>(i);
    return TriangleLocator::kNone;
}

// Compares both lookups at the lattice points of step `step` over the box
// (lattice points include every vertex and edge midpoint of the test grids),
// and at random points.
void expectSameAsScan(const std::vector<PreparedTriangle>& triangles, double x0, double y0, double size, double step,
                      std::mt19937& random) {
    const TriangleLocator locator(triangles);
    int hits = 0;
    auto check = [&](double x, double y) {
        const std::ptrdiff_t last = scanLast(triangles, x, y);
        ASSERT_EQ(locator.lastContaining(x, y), last) << "at " << x << "," << y;
        ASSERT_EQ(locator.firstContaining(x, y), scanFirst(triangles, x, y)) << "at " << x << "," << y;
        if (last != TriangleLocator::kNone) ++hits;
    };
    for (double x = x0 - step; x <= x0 + size + step; x += step)
        for (double y = y0 - step; y <= y0 + size + step; y += step) check(x, y);
    std::uniform_real_distribution<double> px(x0 - step, x0 + size + step), py(y0 - step, y0 + size + step);
    for (int n = 0; n < 2000; ++n) check(px(random), py(random));
    EXPECT_GT(hits, 0);
}

TEST(TriangleLocator, EmptySurfaceHoldsNothing) {
    const std::vector<PreparedTriangle> none;
    const TriangleLocator locator(none);
    EXPECT_EQ(locator.lastContaining(0, 0), TriangleLocator::kNone);
    EXPECT_EQ(locator.firstContaining(0, 0), TriangleLocator::kNone);
}

TEST(TriangleLocator, SharedEdgePointsGoToTheLastOrFirstTriangleInFileOrder) {
    // Cell split along its diagonal: the diagonal's points lie on both triangles.
    const auto grid = testing::gridSurface(1, 1, 10, 0, 0, [](double, double) { return 0.0; });
    const TriangleLocator locator(grid);
    EXPECT_EQ(locator.lastContaining(5, 5), 1);
    EXPECT_EQ(locator.firstContaining(5, 5), 0);
    EXPECT_EQ(locator.lastContaining(0, 0), 1);
    EXPECT_EQ(locator.firstContaining(0, 10), 0);
    EXPECT_EQ(locator.lastContaining(10.5, 5), TriangleLocator::kNone);
}

TEST(TriangleLocator, RegularGridsMatchTheScan) {
    std::mt19937 random(7);
    auto z = [](double x, double y) { return 0.01 * x * y + std::sin(x); };
    expectSameAsScan(testing::gridSurface(12, 9, 2.5, 0, 0, z), 0, 0, 30, 0.625, random);
    // Survey-sized coordinates: offsets of 5e5 and 4e6.
    expectSameAsScan(testing::gridSurface(10, 10, 0.5, 5e5, 4e6, z), 5e5, 4e6, 5, 0.125, random);
}

TEST(TriangleLocator, JitteredGridsMatchTheScan) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
        std::mt19937 random(seed);
        auto z = [](double x, double y) { return x - 0.5 * y; };
        expectSameAsScan(testing::jitteredSurface(15, 11, 1.0, -3, 2, z, 0.25, random), -3, 2, 15, 0.25, random);
    }
}

TEST(TriangleLocator, OverlappingTrianglesMatchTheScan) {
    for (unsigned seed = 1; seed <= 8; ++seed) {
        std::mt19937 random(seed);
        const auto heap = testing::randomTriangles(400, 100, 200, 20, 0.5, random);
        expectSameAsScan(heap, 100, 200, 20, 0.25, random);
    }
}

TEST(TriangleLocator, HugeAndSliverTrianglesAmongSmallOnesMatchTheScan) {
    std::mt19937 random(11);
    auto surface = testing::gridSurface(20, 20, 1, 0, 0, [](double x, double) { return x; });
    // A triangle over everything, one in the middle of the file, and long slivers.
    auto insertAt = [&](size_t at, double x1, double y1, double x2, double y2, double x3, double y3) {
        const double n[9] = {x1, y1, 9, x2, y2, 8, x3, y3, 7};
        surface.insert(surface.begin() + static_cast<std::ptrdiff_t>(at), prepareTriangle(n));
    };
    insertAt(0, -5, -5, -5, 50, 50, -5);
    insertAt(400, 0, 0, 20, 20, 20, 19.5);
    insertAt(surface.size(), 0, 10, 20, 10.25, 20, 10);
    insertAt(surface.size(), 3, 0, 3, 20, 3.5, 0);
    expectSameAsScan(surface, 0, 0, 20, 0.25, random);
}

TEST(TriangleLocator, ManySliversAlongTheHullGetAGridOfTheirOwnAndMatchTheScan) {
    // A large survey's hull is lined with thousands of long thin triangles;
    // here hundreds, of every length and slant, among small ones, some
    // crossing each other, spread through the file.
    std::mt19937 random(21);
    auto surface = testing::gridSurface(30, 30, 1, 0, 0, [](double x, double y) { return x + y; });
    std::uniform_real_distribution<double> at(-2, 32), width(0.01, 0.6);
    for (int k = 0; k < 400; ++k) {
        const double x1 = at(random), y1 = at(random), x2 = at(random), y2 = at(random), w = width(random);
        const double n[9] = {x1, y1, 5, x2, y2, 6, x2 + w, y2 - w, 7};
        const size_t place = random() % (surface.size() + 1);
        surface.insert(surface.begin() + static_cast<std::ptrdiff_t>(place), prepareTriangle(n));
    }
    EXPECT_GT(TriangleLocator(surface).gridCount(), 1u);
    expectSameAsScan(surface, 0, 0, 30, 0.5, random);
}

TEST(TriangleLocator, ADenseSiteBesideAFarOutlierMatchesTheScan) {
    // A stray point far away: the site falls within one bucket of the whole
    // extent and gets finer grids; the slivers to the outlier span it all.
    std::mt19937 random(5);
    auto site = testing::jitteredSurface(30, 30, 1.0, 1000, 1000, [](double x, double y) { return x * 0.1 + y; }, 0.2,
                                         random);
    for (int i = 0; i < 30; ++i) {
        const double n[9] = {0, 0, 0, 1000.0 + i, 1000, 5, 1000.0 + i + 1, 1000, 6};
        site.push_back(prepareTriangle(n));
    }
    EXPECT_GT(TriangleLocator(site).gridCount(), 1u);
    expectSameAsScan(site, 1000, 1000, 30, 0.25, random);
    expectSameAsScan(site, -1, -1, 3, 0.5, random);
}

TEST(TriangleLocator, DistantClustersMatchTheScan) {
    std::mt19937 random(9);
    auto z = [](double x, double y) { return std::cos(x) + y * 0.01; };
    auto surface = testing::gridSurface(12, 12, 0.5, 0, 0, z);
    const auto far = testing::gridSurface(12, 12, 0.5, 1e5, 3e5, z);
    surface.insert(surface.end(), far.begin(), far.end());
    expectSameAsScan(surface, 0, 0, 6, 0.125, random);
    expectSameAsScan(surface, 1e5, 3e5, 6, 0.125, random);
}

TEST(TriangleLocator, StackedTrianglesMatchTheScan) {
    // Many copies of the same triangles: no finer grid can spread them.
    std::mt19937 random(13);
    std::vector<PreparedTriangle> stack;
    for (int copy = 0; copy < 150; ++copy) {
        const auto layer = testing::gridSurface(2, 2, 1, 0, 0, [copy](double, double) { return copy; });
        stack.insert(stack.end(), layer.begin(), layer.end());
    }
    expectSameAsScan(stack, 0, 0, 2, 0.25, random);
}

TEST(TriangleLocator, DegenerateSurfacesOnOneLineMatchTheScan) {
    std::mt19937 random(3);
    std::vector<PreparedTriangle> line;
    for (int i = 0; i < 10; ++i) {
        const double n[9] = {1.0 * i, 5, 0, i + 1.0, 5, 1, i + 2.0, 5, 2};
        line.push_back(prepareTriangle(n));
    }
    expectSameAsScan(line, 0, 4, 12, 0.5, random);
    std::vector<PreparedTriangle> column;
    for (int i = 0; i < 10; ++i) {
        const double n[9] = {5, 1.0 * i, 0, 5, i + 1.0, 1, 5, i + 0.5, 2};
        column.push_back(prepareTriangle(n));
    }
    expectSameAsScan(column, 4, 0, 12, 0.5, random);
}

}  // namespace
}  // namespace tz::terrain::volume
