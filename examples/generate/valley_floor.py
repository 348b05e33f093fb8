"""Valley floors traced on the grid: the cheapest way between two places when
high ground is dear, which is the way water takes down a valley."""
import heapq
import math

import numpy as np


def _nearest_node(grid, point):
    column = int(np.argmin(np.abs(grid.eastings - point[0])))
    row = int(np.argmin(np.abs(grid.northings - point[1])))
    return row, column


def _cheapest_nodes(grid, start, end, height_weight):
    """Dijkstra over the grid nodes (eight neighbours); a step costs its plan
    length times one plus the weighted height of its end above the grid's lowest."""
    rows, columns = grid.elevations.shape
    lowest = grid.elevations.min()
    best = {start: 0.0}
    came_from = {}
    queue = [(0.0, start)]
    while queue:
        cost, node = heapq.heappop(queue)
        if node == end:
            break
        if cost > best[node]:
            continue
        row, column = node
        for d_row in (-1, 0, 1):
            for d_column in (-1, 0, 1):
                if d_row == 0 and d_column == 0:
                    continue
                r, c = row + d_row, column + d_column
                if not (0 <= r < rows and 0 <= c < columns):
                    continue
                x0, y0 = grid.node_position(row, column)
                x1, y1 = grid.node_position(r, c)
                step = math.hypot(x1 - x0, y1 - y0) * (1 + height_weight * (grid.elevations[r, c] - lowest))
                if cost + step < best.get((r, c), math.inf):
                    best[(r, c)] = cost + step
                    came_from[(r, c)] = node
                    heapq.heappush(queue, (cost + step, (r, c)))
    if end not in best:
        raise ValueError("no way between the two places")
    nodes = [end]
    while nodes[-1] != start:
        nodes.append(came_from[nodes[-1]])
    return nodes[::-1]


def _resample(points, spacing):
    """Points along the polyline every `spacing` (ends kept)."""
    points = np.asarray(points, dtype=float)
    lengths = np.hypot(*np.diff(points, axis=0).T)
    along = np.concatenate([[0.0], np.cumsum(lengths)])
    count = max(1, int(round(along[-1] / spacing)))
    stations = np.linspace(0.0, along[-1], count + 1)
    return np.column_stack([np.interp(stations, along, points[:, 0]),
                            np.interp(stations, along, points[:, 1])])


def trace_valley_floor(grid, start, end, spacing=90.0, height_weight=0.05, smoothing=2):
    """The valley floor from `start` to `end` (plan points near grid nodes) as
    plan vertices about `spacing` apart, smoothed over a few nodes so that the
    line does not zigzag with the grid."""
    nodes = _cheapest_nodes(grid, _nearest_node(grid, start), _nearest_node(grid, end), height_weight)
    points = np.array([grid.node_position(r, c) for r, c in nodes])
    if smoothing > 0 and len(points) > 2 * smoothing + 1:
        smoothed = points.copy()
        for i in range(smoothing, len(points) - smoothing):
            smoothed[i] = points[i - smoothing:i + smoothing + 1].mean(axis=0)
        points = smoothed
    return _resample(points, spacing)
