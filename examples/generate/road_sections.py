"""Cross sections along the alignment: the section lines for the existing-
section data file and, for the proposed-sections file, the ground line and
the road's design line (carriageway, shoulders and side slopes that run out
to meet the ground)."""
import numpy as np

LANE_HALF_WIDTH = 3.65       # crown to edge of carriageway
SHOULDER_HALF_WIDTH = 6.0    # crown to edge of shoulder
LANE_FALL = 0.02             # cross fall of the carriageway
SHOULDER_FALL = 0.04         # cross fall of the shoulders
CUT_SLOPE = 1.0              # rise per unit of width of a cut slope: one on one
FILL_SLOPE = 0.5             # fall per unit of width of a fill slope: one on two


class SectionLine:
    def __init__(self, station, start, end, origin_distance):
        self.station = station
        self.start = np.asarray(start, dtype=float)
        self.end = np.asarray(end, dtype=float)
        self.origin_distance = origin_distance

    @property
    def width(self):
        return float(np.hypot(*(self.end - self.start)))

    def plan_point(self, offset):
        """The plan point at `offset` (0 on the alignment, positive to the right)."""
        along = (offset + self.origin_distance) / self.width
        return self.start + along * (self.end - self.start)


def ground_line(grid, section, spacing):
    """(offset, elevation) of the ground every `spacing` across the section."""
    half = section.width / 2
    count = int(round(section.width / spacing))
    offsets = np.linspace(-half, half, count + 1)
    points = np.array([section.plan_point(o) for o in offsets])
    return np.column_stack([offsets, grid.elevation(points[:, 0], points[:, 1])])


def _daylight(ground, edge_offset, edge_elevation, outward):
    """Where the side slope from the shoulder edge meets the ground line,
    searching outward (+1 to the right, -1 to the left). The slope falls when
    the ground lies below the edge (fill) and rises when it lies above (cut)."""
    ground_at_edge = np.interp(edge_offset, ground[:, 0], ground[:, 1])
    rise = CUT_SLOPE if ground_at_edge > edge_elevation else -FILL_SLOPE
    order = np.argsort(outward * ground[:, 0])
    offsets = ground[order, 0]
    elevations = ground[order, 1]
    # The slope starts at the edge: the ground under the edge is the first sample.
    previous = (edge_offset, ground_at_edge, edge_elevation - ground_at_edge)
    for offset, elevation in zip(offsets, elevations):
        if outward * (offset - edge_offset) <= 0:
            continue
        slope_elevation = edge_elevation + rise * abs(offset - edge_offset)
        difference = slope_elevation - elevation
        if difference == 0 or (difference > 0) != (previous[2] > 0):
            # The crossing of the slope line with the ground segment between the two samples.
            o0, e0, d0 = previous
            t = d0 / (d0 - difference)
            return o0 + t * (offset - o0), e0 + t * (elevation - e0)
        previous = (offset, elevation, difference)
    return None


def design_line(ground, design_elevation):
    """The road's design line across the section, from daylight to daylight,
    as (offset, elevation) points; None when a side slope does not reach the
    ground within the section."""
    crown = design_elevation
    lane_edge = crown - LANE_FALL * LANE_HALF_WIDTH
    shoulder_edge = lane_edge - SHOULDER_FALL * (SHOULDER_HALF_WIDTH - LANE_HALF_WIDTH)
    left = _daylight(ground, -SHOULDER_HALF_WIDTH, shoulder_edge, -1)
    right = _daylight(ground, SHOULDER_HALF_WIDTH, shoulder_edge, 1)
    if left is None or right is None:
        return None
    return [left, (-SHOULDER_HALF_WIDTH, shoulder_edge), (-LANE_HALF_WIDTH, lane_edge), (0.0, crown),
            (LANE_HALF_WIDTH, lane_edge), (SHOULDER_HALF_WIDTH, shoulder_edge), right]


def with_daylight_points(ground, design):
    """The ground line with the design line's two ends (its daylight points)
    among its points, so that both lines meet exactly there and not merely
    within the rounding of the numbers."""
    ends = np.asarray(design)[[0, -1]]
    kept = ground[~np.isin(ground[:, 0], ends[:, 0])]
    merged = np.vstack([kept, ends])
    return merged[np.argsort(merged[:, 0], kind="stable")]


def grade_line(alignment, grid, points_of_intersection):
    """The road's design elevation along the alignment: straight grades
    between vertical intersection points placed on the ground, smoothed over
    400 m, at the given fractions of the length."""
    stations = np.linspace(0.0, alignment.length, 201)
    plan = np.array([alignment.locate(s)[0] for s in stations])
    ground = grid.elevation(plan[:, 0], plan[:, 1])
    window = max(1, int(round(400.0 / (stations[1] - stations[0]))))
    padded = np.pad(ground, window, mode="edge")
    smoothed = np.convolve(padded, np.ones(2 * window + 1) / (2 * window + 1), mode="same")[window:-window]
    pvi_stations = np.array(points_of_intersection) * alignment.length
    pvi_elevations = np.round(np.interp(pvi_stations, stations, smoothed), 1)
    return lambda station: float(np.interp(station, pvi_stations, pvi_elevations))
