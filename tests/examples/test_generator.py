#!/usr/bin/python3
"""Tests of the sample project's generator (examples/generate): its geometry
and grid sampling, and that it gives exactly the committed project.

    test_generator.py REPOSITORY
"""
import filecmp
import math
import os
import sys
import tempfile
import unittest

import numpy as np

REPOSITORY = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", ".."))
GENERATE = os.path.join(REPOSITORY, "examples", "generate")
sys.path.insert(0, GENERATE)

from alignment import Alignment  # noqa: E402
from road_sections import SectionLine, design_line, ground_line, with_daylight_points  # noqa: E402
from scatter import densify, inside_polygon, scatter  # noqa: E402
from terrain_grid import TerrainGrid  # noqa: E402


def bulge_arc_end(x1, y1, bulge, centre, radius):
    """Where the arc leaving (x1, y1) with this bulge ends, by its centre."""
    turn = 4 * math.atan(bulge)
    start = math.atan2(y1 - centre[1], x1 - centre[0])
    return centre[0] + radius * math.cos(start + turn), centre[1] + radius * math.sin(start + turn)


class AlignmentTest(unittest.TestCase):
    def setUp(self):
        self.road = Alignment([(0, 0), (400, 0), (700, 300), (700, 800)], [200.0, 150.0])

    def test_length_is_that_of_its_elements_and_the_way_is_continuous(self):
        deflections = [math.pi / 4, math.pi / 4]
        tangents = [200 * math.tan(math.pi / 8), 150 * math.tan(math.pi / 8)]
        straight = 400 + 300 * math.sqrt(2) + 500 - 2 * tangents[0] - 2 * tangents[1]
        self.assertAlmostEqual(self.road.length, straight + 200 * deflections[0] + 150 * deflections[1], places=9)
        previous = self.road.locate(0)[0]
        for distance in np.arange(1.0, self.road.length, 1.0):
            point, direction = self.road.locate(distance)
            self.assertAlmostEqual(float(np.hypot(*(point - previous))), 1.0, delta=1e-4)
            self.assertAlmostEqual(float(np.hypot(*direction)), 1.0, places=12)
            previous = point
        self.assertTrue(np.allclose(self.road.locate(self.road.length)[0], (700, 800)))

    def test_polyline_bulges_draw_the_arcs(self):
        vertices = self.road.polyline_vertices()
        arcs = [e for e in self.road.elements if e[0] == "arc"]
        self.assertEqual(len(vertices), 6)
        for (x, y, bulge), (next_x, next_y, _), arc in zip(vertices[1::2], vertices[2::2], arcs):
            self.assertAlmostEqual(bulge, math.tan(arc[5] / 4), places=12)
            end = bulge_arc_end(x, y, bulge, arc[3], arc[4])
            self.assertAlmostEqual(end[0], next_x, places=6)
            self.assertAlmostEqual(end[1], next_y, places=6)
        self.assertGreater(vertices[1][2], 0)  # the first turn is to the left

    def test_section_lines_are_square_to_the_road_left_end_first(self):
        start, end = self.road.section_line(100.0, 80.0)
        self.assertTrue(np.allclose(start, (100, 80)) and np.allclose(end, (100, -80)))
        point, direction = self.road.locate(500.0)
        start, end = self.road.section_line(500.0, 80.0)
        self.assertAlmostEqual(float((end - start) @ direction), 0.0, places=9)
        self.assertTrue(np.allclose((start + end) / 2, point))

    def test_overlapping_arcs_are_refused(self):
        with self.assertRaises(ValueError):
            Alignment([(0, 0), (100, 0), (100, 100), (200, 100)], [500.0, 500.0])


class TerrainGridTest(unittest.TestCase):
    def setUp(self):
        self.grid = TerrainGrid([0.0, 10.0, 20.0], [0.0, 5.0], [[1.0, 2.0, 4.0], [3.0, 6.0, 8.0]])

    def test_nodes_and_bilinear_cells(self):
        self.assertEqual(self.grid.elevation(10.0, 5.0), 6.0)
        self.assertEqual(self.grid.elevation(20.0, 0.0), 4.0)
        self.assertAlmostEqual(float(self.grid.elevation(5.0, 2.5)), (1 + 2 + 3 + 6) / 4)
        self.assertAlmostEqual(float(self.grid.elevation(15.0, 0.0)), 3.0)
        with self.assertRaises(ValueError):
            self.grid.elevation(21.0, 0.0)

    def test_files_round_trip_and_irregular_grids_are_refused(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "grid.xyz")
            self.grid.write(path)
            again = TerrainGrid.read(path)
            self.assertTrue(np.array_equal(again.elevations, self.grid.elevations))
            with open(path, "a") as f:
                f.write("30.000 0.000 1.0\n")
            with self.assertRaises(ValueError):
                TerrainGrid.read(path)
            with open(path, "w") as f:
                f.write("0 0 nan\n1 0 1\n0 1 1\n1 1 1\n")
            with self.assertRaises(ValueError):
                TerrainGrid.read(path)

    def test_window(self):
        window = self.grid.window(5.0, -1.0, 25.0, 6.0)
        self.assertEqual(list(window.eastings), [10.0, 20.0])
        self.assertEqual(window.elevations.tolist(), [[2.0, 4.0], [6.0, 8.0]])


class RoadSectionTest(unittest.TestCase):
    def test_side_slopes_run_out_onto_the_ground(self):
        # Ground rising 0.3 a metre to the right: cut on the right, fill on the left.
        grid = TerrainGrid(np.arange(-100.0, 101.0, 10.0), [-10.0, 10.0],
                           [[100 + 0.3 * x for x in np.arange(-100.0, 101.0, 10.0)]] * 2)
        section = SectionLine(0.0, (-80.0, 0.0), (80.0, 0.0), 80.0)
        ground = ground_line(grid, section, 4.0)
        design = design_line(ground, 99.0)
        self.assertEqual(len(design), 7)
        for offset, elevation in (design[0], design[-1]):
            self.assertAlmostEqual(elevation, np.interp(offset, ground[:, 0], ground[:, 1]), places=9)
        self.assertLess(design[0][1], design[1][1])    # the fill slope falls outward to the left
        self.assertGreater(design[-1][1], design[-2][1])  # the cut slope rises to the right
        merged = with_daylight_points(ground, np.round(design, 3))
        self.assertTrue(np.all(np.diff(merged[:, 0]) > 0))
        self.assertIn(round(design[0][0], 3), merged[:, 0])

    def test_no_design_line_when_a_slope_misses_the_ground(self):
        grid = TerrainGrid([-100.0, 100.0], [-10.0, 10.0], [[0.0, 200.0], [0.0, 200.0]])  # a cliff
        ground = ground_line(grid, SectionLine(0.0, (-20.0, 0.0), (20.0, 0.0), 20.0), 4.0)
        self.assertIsNone(design_line(ground, 100.0))


class ScatterTest(unittest.TestCase):
    def test_spacing_and_acceptance(self):
        rng = np.random.default_rng(1)
        square = [(0, 0), (100, 0), (100, 100), (0, 100)]
        placed = densify(square, 10.0, closed=True)
        self.assertEqual(len(placed), 40)
        points = scatter(rng, (0, 0, 100, 100), 50, 8.0, placed, lambda x, y: x < 60)
        self.assertEqual(len(points), 50)
        everything = np.vstack([points, placed])
        for i, p in enumerate(points):
            distances = np.hypot(*(everything - p).T)
            distances[i] = np.inf
            self.assertGreaterEqual(distances.min(), 8.0)
            self.assertLess(p[0], 60)
        self.assertTrue(inside_polygon(50, 50, square) and not inside_polygon(150, 50, square))


class CommittedProjectTest(unittest.TestCase):
    def test_the_generator_gives_the_committed_project(self):
        with tempfile.TemporaryDirectory() as folder:
            import make_project
            grid = TerrainGrid.read(make_project.WINDOW_FILE).window(*make_project.WINDOW)
            make_project.build(grid, folder)
            committed = os.path.join(REPOSITORY, "examples", "project")
            names = sorted(n for n in os.listdir(committed) if not n.startswith("."))
            self.assertEqual(sorted(os.listdir(folder)), names)
            match, mismatch, errors = filecmp.cmpfiles(committed, folder, names, shallow=False)
            self.assertEqual((mismatch, errors), ([], []))


if __name__ == "__main__":
    unittest.main()
