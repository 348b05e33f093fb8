#!/usr/bin/python3
"""Builds the sample project of examples/project from a real elevation grid.

    python3 examples/generate/make_project.py GRID.xyz [--out examples/project]

GRID.xyz is the Jacksboro elevation grid (easting northing elevation per
line) or the window of it kept beside this script (jacksboro_window.xyz);
both give the same project, which is cut from the same window. The window is
(re)written beside this script, so the project can be rebuilt from the
repository alone. Everything is placed by fixed rules and a seeded random
generator: the same grid always gives the same files.
"""
import argparse
import math
import os
import sys

import numpy as np

from alignment import Alignment
from project_files import (write_points, write_proposed_sections, write_section_data, write_segments,
                           write_tin)
from road_sections import SectionLine, design_line, grade_line, ground_line, with_daylight_points
from scatter import densify, distance_to_polyline, inside_polygon, scatter
from site_drawing import write_drawing
from terrain_grid import TerrainGrid
from valley_floor import trace_valley_floor

HERE = os.path.dirname(os.path.abspath(__file__))
WINDOW_FILE = os.path.join(HERE, "jacksboro_window.xyz")

# The window of the grid: a valley with two side valleys between wooded ridges.
WINDOW = (507460.0, 4016440.0, 510830.0, 4019690.0)  # west, south, east, north

OUTER_BOUNDARY = [(507560, 4016560), (508600, 4016530), (509800, 4016600), (510720, 4016560),
                  (510740, 4017700), (510700, 4019000), (510650, 4019590), (509400, 4019600),
                  (508200, 4019560), (507560, 4019600), (507540, 4018200)]
VOID_CENTRE = (509330.0, 4019180.0)  # a quarry on the northern hill, not surveyed
VOID_RADIUS = 120.0

# Valley floors: (from, to) in plan; the second and third run into the first.
MAIN_VALLEY = ((510500, 4016640), (507580, 4018060))
SIDE_VALLEYS = [((510500, 4018880), None), ((508250, 4019480), None)]

ALIGNMENT_PIS = [(507650, 4017720), (508500, 4017690), (509250, 4017560), (509900, 4017050), (510350, 4016700)]
ALIGNMENT_RADII = [400.0, 300.0, 400.0]
SECTION_SPACING = 100.0
SECTION_HALF_WIDTH = 80.0

PAD_CENTRE = (508350.0, 4018350.0)
PAD_LENGTH = 200.0  # along the contours
PAD_WIDTH = 120.0   # across the slope

SCATTER_COUNT = 2600
SCATTER_SPACING = 30.0
SEED = 20240611


def mm(value):
    return float(np.round(value, 3))


def survey_point(grid, x, y):
    """A survey point at a plan position: to the millimetre, the ground's elevation."""
    x, y = mm(x), mm(y)
    return (x, y, mm(grid.elevation(x, y)))


def valley_lines(grid, boundary):
    """The valley floors as vertex lists, each side valley ending on a vertex
    of the main one, all inside the boundary."""
    main = trace_valley_floor(grid, *MAIN_VALLEY)
    lines = [main]
    for start, _ in SIDE_VALLEYS:
        nearest = min(range(len(main)), key=lambda i: np.hypot(*(main[i] - start)))
        side = trace_valley_floor(grid, start, main[nearest])
        side[-1] = main[nearest]
        lines.append(side)
    for line in lines:
        for x, y in line:
            if not inside_polygon(x, y, boundary):
                raise ValueError("a valley floor leaves the boundary at %.1f,%.1f" % (x, y))
    return [[survey_point(grid, x, y) for x, y in line] for line in lines]


def void_outline():
    return [(VOID_CENTRE[0] + VOID_RADIUS * math.cos(a), VOID_CENTRE[1] + VOID_RADIUS * math.sin(a))
            for a in np.radians(np.arange(0, 360, 45) + 10)]


def pad_layout(grid):
    """Corners (counter-clockwise) and elevation of a level pad whose long side
    follows the contours: the ground's mean over the pad, so it is cut into
    the slope on the uphill side and built up on the downhill side."""
    cx, cy = PAD_CENTRE
    step = 5.0
    gradient = np.array([grid.elevation(cx + step, cy) - grid.elevation(cx - step, cy),
                         grid.elevation(cx, cy + step) - grid.elevation(cx, cy - step)])
    across = gradient / np.hypot(*gradient)
    along = np.array([-across[1], across[0]])
    corners = [np.array(PAD_CENTRE) + sa * PAD_LENGTH / 2 * along + sc * PAD_WIDTH / 2 * across
               for sa, sc in ((-1, -1), (1, -1), (1, 1), (-1, 1))]
    if signed_area(corners) < 0:
        corners.reverse()
    u, v = np.meshgrid(np.linspace(-0.5, 0.5, 41), np.linspace(-0.5, 0.5, 25))
    samples = np.array(PAD_CENTRE) + (u.ravel()[:, None] * PAD_LENGTH * along +
                                      v.ravel()[:, None] * PAD_WIDTH * across)
    elevation = round(float(grid.elevation(samples[:, 0], samples[:, 1]).mean()), 1)
    return [(mm(c[0]), mm(c[1])) for c in corners], elevation


def pad_triangles(corners, elevation, divisions=(8, 5)):
    """The pad as a TIN: its rectangle cut into cells of two triangles each,
    every triangle clockwise (x east, y north) as the triangulation writes them."""
    a, b, _, d = (np.array(c) for c in corners)
    nu, nv = divisions

    def vertex(i, j):
        p = a + (b - a) * i / nu + (d - a) * j / nv
        return (mm(p[0]), mm(p[1]), elevation)

    triangles = []
    for i in range(nu):
        for j in range(nv):
            p00, p10, p11, p01 = vertex(i, j), vertex(i + 1, j), vertex(i + 1, j + 1), vertex(i, j + 1)
            triangles.append((p00, p01, p11))
            triangles.append((p00, p11, p10))
    # The corners run counter-clockwise, so these orders are clockwise.
    assert all(signed_area(t) < 0 for t in triangles)
    return triangles


def signed_area(points):
    """Positive for a counter-clockwise outline (x east, y north)."""
    x = np.array([p[0] for p in points])
    y = np.array([p[1] for p in points])
    return 0.5 * float(np.dot(x, np.roll(y, -1)) - np.dot(np.roll(x, -1), y))


def closed_segments(points):
    return [(points[i], points[(i + 1) % len(points)]) for i in range(len(points))]


def build(grid, out_folder):
    rng = np.random.default_rng(SEED)
    boundary = OUTER_BOUNDARY
    void = void_outline()

    boundary_points = [survey_point(grid, x, y) for x, y in densify(boundary, 40.0, closed=True)]
    void_points = [survey_point(grid, x, y) for x, y in densify(void, 25.0, closed=True)]
    valleys = valley_lines(grid, boundary)
    valley_points = []
    for line in valleys:
        for p in line:
            if p not in valley_points:
                valley_points.append(p)

    def open_ground(x, y):
        return (inside_polygon(x, y, boundary) and not inside_polygon(x, y, void) and
                all(distance_to_polyline(x, y, [p[:2] for p in line]) > 10.0 for line in valleys))

    placed = [p[:2] for p in boundary_points + void_points + valley_points]
    shots = scatter(rng, WINDOW, SCATTER_COUNT, SCATTER_SPACING, placed, open_ground)
    shot_points = [survey_point(grid, x, y) for x, y in shots]
    points = boundary_points + void_points + valley_points + shot_points
    if len({p[:2] for p in points}) != len(points):
        raise ValueError("two survey points share a plan position")

    alignment = Alignment(ALIGNMENT_PIS, ALIGNMENT_RADII)
    for distance in np.arange(0.0, alignment.length, 10.0):
        point = alignment.locate(distance)[0]
        if not inside_polygon(point[0], point[1], boundary) or inside_polygon(point[0], point[1], void):
            raise ValueError("the alignment leaves the surveyed ground at %.0f m" % distance)

    sections = []
    for station in np.arange(SECTION_SPACING, alignment.length, SECTION_SPACING):
        start, end = alignment.section_line(station, SECTION_HALF_WIDTH)
        sections.append(SectionLine(station, [mm(start[0]), mm(start[1])], [mm(end[0]), mm(end[1])],
                                    SECTION_HALF_WIDTH))
    grade = grade_line(alignment, grid, [0.0, 0.3, 0.55, 0.8, 1.0])
    proposed = []
    for section in sections:
        ground = np.round(ground_line(grid, section, 4.0), 3)
        design = design_line(ground, grade(section.station))
        if design is None:
            raise ValueError("the road's side slopes miss the ground at station %.0f" % section.station)
        design = np.round(np.array(design), 3)
        proposed.append((section.station, with_daylight_points(ground, design), design))

    pad_corners, pad_elevation = pad_layout(grid)

    os.makedirs(out_folder, exist_ok=True)
    path = lambda name: os.path.join(out_folder, name)
    write_points(path("site.dat"), points)
    write_segments(path("site.flt"), [(a, b) for line in valleys for a, b in zip(line[:-1], line[1:])])
    write_segments(path("site.bnd"), closed_segments(boundary_points) + closed_segments(void_points))
    write_tin(path("pad.tin"), pad_triangles(pad_corners, pad_elevation))
    write_section_data(path("site.exd"), sections)
    write_proposed_sections(path("site.pxs"), proposed)

    number = {p: i + 1 for i, p in enumerate(points)}
    blocks = []
    for i, p in enumerate(boundary_points[::len(boundary_points) // 6][:6]):
        blocks.append((number[p], "BND", "boundary" if i else "fence & gate", p))
    for p in valley_points[::max(1, len(valley_points) // 12)][:12]:
        blocks.append((number[p], "VF", "valley floor", p))
    for p in void_points[::2][:4]:
        blocks.append((number[p], "QRY", "quarry edge", p))
    for p in shot_points[::len(shot_points) // 18][:18]:
        blocks.append((number[p], "GS", "ground shot", p))
    pad_outline = [(x, y, pad_elevation) for x, y in pad_corners]
    write_drawing(path("site.dxf"), blocks, alignment, sections, valleys,
                  [boundary, void], pad_outline)

    print("points %d (boundary %d, void %d, valley floors %d, ground shots %d)"
          % (len(points), len(boundary_points), len(void_points), len(valley_points), len(shot_points)))
    print("elevations %.3f to %.3f" % (min(p[2] for p in points), max(p[2] for p in points)))
    print("alignment %.3f m from %.3f,%.3f; %d sections" % (alignment.length, *alignment.locate(0)[0], len(sections)))
    print("pad at elevation %.1f, %d point blocks" % (pad_elevation, len(blocks)))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("grid", help="elevation grid: easting northing elevation per line")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(HERE), "project"),
                        help="folder of the project (default: examples/project)")
    options = parser.parse_args()
    try:
        grid = TerrainGrid.read(options.grid).window(*WINDOW)
        build(grid, options.out)
    except ValueError as error:
        print("make_project: %s" % error, file=sys.stderr)
        return 1
    if os.path.abspath(options.grid) != WINDOW_FILE:
        grid.write(WINDOW_FILE)
    return 0


if __name__ == "__main__":
    sys.exit(main())
