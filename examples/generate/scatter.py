"""Irregularly placed survey points: random positions no closer than a
minimum spacing to each other or to points already placed (the break line
and boundary points), as a field crew spreads its shots."""
import math

import numpy as np


class SpacingIndex:
    """Buckets of placed points, to test the minimum spacing quickly."""

    def __init__(self, spacing):
        self.spacing = spacing
        self.buckets = {}

    def _key(self, x, y):
        return int(math.floor(x / self.spacing)), int(math.floor(y / self.spacing))

    def add(self, x, y):
        self.buckets.setdefault(self._key(x, y), []).append((x, y))

    def is_clear(self, x, y):
        kx, ky = self._key(x, y)
        for i in (kx - 1, kx, kx + 1):
            for j in (ky - 1, ky, ky + 1):
                for px, py in self.buckets.get((i, j), ()):
                    if (px - x) ** 2 + (py - y) ** 2 < self.spacing ** 2:
                        return False
        return True


def scatter(rng, bounds, count, spacing, placed, accept, max_tries=200000):
    """Up to `count` random plan points inside bounds (west, south, east,
    north) for which accept(x, y) holds, at least `spacing` from each other and
    from the points of `placed`."""
    west, south, east, north = bounds
    index = SpacingIndex(spacing)
    for x, y in placed:
        index.add(x, y)
    points = []
    tries = 0
    while len(points) < count and tries < max_tries:
        tries += 1
        x = rng.uniform(west, east)
        y = rng.uniform(south, north)
        if accept(x, y) and index.is_clear(x, y):
            index.add(x, y)
            points.append((x, y))
    return np.array(points).reshape(-1, 2)


def densify(vertices, spacing, closed):
    """The outline's vertices with points added so that no piece is longer
    than `spacing`; a closed outline does not repeat its first point."""
    vertices = [np.asarray(v, dtype=float) for v in vertices]
    ends = vertices + [vertices[0]] if closed else vertices
    points = []
    for a, b in zip(ends[:-1], ends[1:]):
        pieces = max(1, int(math.ceil(np.hypot(*(b - a)) / spacing)))
        for k in range(pieces):
            points.append(a + (b - a) * k / pieces)
    if not closed:
        points.append(ends[-1])
    return np.array(points)


def inside_polygon(x, y, polygon):
    """Even-odd test of a plan point against a closed outline."""
    inside = False
    count = len(polygon)
    for i in range(count):
        x1, y1 = polygon[i]
        x2, y2 = polygon[(i + 1) % count]
        if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
            inside = not inside
    return inside


def distance_to_polyline(x, y, vertices):
    best = math.inf
    for (x1, y1), (x2, y2) in zip(vertices[:-1], vertices[1:]):
        dx, dy = x2 - x1, y2 - y1
        length_squared = dx * dx + dy * dy
        t = 0.0 if length_squared == 0 else max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / length_squared))
        best = min(best, math.hypot(x1 + t * dx - x, y1 + t * dy - y))
    return best
