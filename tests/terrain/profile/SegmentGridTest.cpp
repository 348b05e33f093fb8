#include "profile/SegmentGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "PlaneGeometry.h"

namespace {

using tz::geom::Point3;
using tz::terrain::profile::PlanSegment;
using tz::terrain::profile::SegmentGrid;

bool crosses(const PlanSegment& a, const PlanSegment& b) {
    return tz::geom::intersect(Point3{a.x0, a.y0, 0}, Point3{a.x1, a.y1, 0}, Point3{b.x0, b.y0, 0},
                               Point3{b.x1, b.y1, 0}, true)
        .has_value();
}

// Every segment the exact test accepts is a candidate; candidates ascend.
void expectSuperset(const std::vector<PlanSegment>& segments, const PlanSegment& query, const SegmentGrid& grid) {
    std::vector<std::uint32_t> owners;
    grid.ownersNear(query, owners);
    EXPECT_TRUE(std::is_sorted(owners.begin(), owners.end()));
    EXPECT_EQ(std::adjacent_find(owners.begin(), owners.end()), owners.end());
    for (std::size_t i = 0; i < segments.size(); ++i)
        if (crosses(query, segments[i])) {
            EXPECT_TRUE(std::binary_search(owners.begin(), owners.end(), static_cast<std::uint32_t>(i)))
                << "segment " << i << " missed";
        }
}

TEST(SegmentGrid, FindsEveryCrossingSegmentOfRandomSets) {
    std::mt19937 random(3);
    for (double origin : {0.0, 4.0e6}) {
        std::uniform_real_distribution<double> u(origin, origin + 100), shortLength(-3, 3);
        std::vector<PlanSegment> segments;
        for (int i = 0; i < 3000; ++i) {
            const double x = u(random), y = u(random);
            if (i % 50 == 0)
                segments.push_back({x, y, u(random), u(random)});  // a few long ones
            else
                segments.push_back({x, y, x + shortLength(random), y + shortLength(random)});
        }
        const SegmentGrid grid(segments, 1);
        for (int q = 0; q < 400; ++q) {
            const double x = u(random), y = u(random);
            expectSuperset(segments, {x, y, u(random), u(random)}, grid);
            expectSuperset(segments, {x, y, x + shortLength(random), y + shortLength(random)}, grid);
            // Queries through the end points of stored segments.
            const PlanSegment& s = segments[q];
            expectSuperset(segments, {s.x1, s.y1, s.x1 + 10, s.y1 - 7}, grid);
            expectSuperset(segments, {s.x0 - 5, s.y0, s.x0, s.y0}, grid);
            // Queries grazing an end point, where the tolerance decides.
            for (double nudge : {1e-13, -1e-13, 1e-11, -1e-11}) {
                const double d = nudge * std::max(1.0, origin);
                expectSuperset(segments, {s.x1 - 3, s.y1 + d, s.x1 + 3, s.y1 + d}, grid);
                expectSuperset(segments, {s.x1 + d - 2, s.y1 - 2, s.x1 + d + 2, s.y1 + 2}, grid);
            }
        }
        // Queries that reach far beyond the indexed area.
        expectSuperset(segments, {origin - 1e7, origin + 50, origin + 1e7, origin + 51}, grid);
    }
}

TEST(SegmentGrid, HandlesDegenerateSetsAndQueries) {
    // Collinear segments along one row, and segments that are points.
    std::vector<PlanSegment> row;
    for (int i = 0; i < 100; ++i) row.push_back({double(i), 0, double(i + 1), 0});
    row.push_back({5, 5, 5, 5});
    const SegmentGrid grid(row, 1);
    for (int i = 0; i <= 100; ++i) {
        expectSuperset(row, {i + 0.5, -1, i + 0.5, 1}, grid);
        expectSuperset(row, {double(i), -1, double(i), 1}, grid);  // through shared end points
    }
    expectSuperset(row, {5, 0, 5, 10}, grid);

    const SegmentGrid empty({}, 1);
    std::vector<std::uint32_t> owners{42};
    empty.ownersNear({0, 0, 1, 1}, owners);
    EXPECT_TRUE(owners.empty());

    const std::vector<PlanSegment> single{{1, 1, 1, 1}};
    const SegmentGrid point(single, 1);
    point.ownersNear({0, 0, 2, 2}, owners);
    EXPECT_EQ(owners, std::vector<std::uint32_t>{0});
}

TEST(SegmentGrid, GroupsSegmentsByOwner) {
    // Three segments per owner, as the edges of triangles.
    std::vector<PlanSegment> edges{{0, 0, 1, 0}, {0, 0, 0, 1}, {1, 0, 0, 1},
                                   {10, 10, 11, 10}, {10, 10, 10, 11}, {11, 10, 10, 11}};
    const SegmentGrid grid(edges, 3);
    EXPECT_EQ(grid.ownerCount(), 2u);
    std::vector<std::uint32_t> owners;
    grid.ownersNear({0.2, 0.2, 30, 0.2}, owners);
    EXPECT_EQ(owners.front(), 0u);
    grid.ownersNear({10.2, 10.2, 30, 10.2}, owners);
    EXPECT_EQ(owners, std::vector<std::uint32_t>{1});
}

}  // namespace
