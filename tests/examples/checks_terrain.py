"""Checks of the terrain model and what is drawn from it: the TIN, contours,
TIN faces, the mesh and the volumes of the pad."""
import re

import numpy as np

from demo_context import distance_to_outline, ground_elevation, inside, outlines_of, polygon_area


def check_settings_file(ctx):
    """The project settings, as the session and its dialogs left them, are
    saved beside the point file when the session ends."""
    with open(ctx.output("site.set"), "rb") as f:
        data = f.read()
    assert data.startswith(b"\xff\xfe"), "site.set is not UTF-16 LE with a byte-order mark"
    lines = data[2:].decode("utf-16-le").split("\r\n")
    assert lines[-1] == "" and len(lines) == 20, "site.set holds %d lines, not 19" % (len(lines) - 1)
    # dtmset's values, and the last contours dialog's (smoothed, every 20 m, its own layers).
    for expected in ("dfaults=site.flt", "ubound=1", "diw=5", "dci=20", "dii=100", "dcround=1",
                     "dcln=TZ_Smoothcontours", "dbe=%.3f" % ctx.terrain_range[0]):
        assert expected in lines, "%s is not in site.set: %s" % (expected, lines)


def check_tin(ctx):
    """The model: as many triangles as a triangulation of these points can
    have, every vertex a survey point, every triangle clockwise, the area
    that of the boundary less its void."""
    tin = ctx.tin
    points = ctx.points
    count = len(tin)
    assert 1.5 * len(points) < count <= 2 * len(points) - 5, \
        "%d triangles for %d points" % (count, len(points))
    survey = {(round(x, 3), round(y, 3)): z for x, y, z in points}
    for x, y, z in tin.reshape(-1, 3):
        key = (round(x, 3), round(y, 3))
        assert key in survey and abs(survey[key] - z) < 1e-6, "vertex %.6f,%.6f,%.6f is no survey point" % (x, y, z)
    doubled = ((tin[:, 1, 0] - tin[:, 0, 0]) * (tin[:, 2, 1] - tin[:, 0, 1]) -
               (tin[:, 2, 0] - tin[:, 0, 0]) * (tin[:, 1, 1] - tin[:, 0, 1]))
    assert np.all(doubled < 0), "%d triangles are not clockwise" % np.count_nonzero(doubled >= 0)

    outer, void = outlines_of(ctx.segments("site.bnd"))
    centroids = tin[:, :, :2].mean(axis=1)
    # Consecutive boundary points, given to the millimetre, are not quite in
    # line: the slivers between them may have their centre a hair outside.
    outside = ~inside(centroids, outer)
    assert np.all(distance_to_outline(centroids[outside], outer) < 0.01), "triangles outside the boundary"
    in_void = inside(centroids, void)
    assert np.all(distance_to_outline(centroids[in_void], void) < 0.01), "triangles inside the void"
    region = abs(polygon_area(outer)) - abs(polygon_area(void))
    covered = float(-doubled.sum() / 2)
    assert 0.98 * region < covered <= region * 1.0001, "the TIN covers %.0f m2 of %.0f m2" % (covered, region)
    print("    %d triangles of %d points, %.1f%% of the surveyed area" % (count, len(points), 100 * covered / region))


def check_break_lines(ctx):
    """Every valley-floor segment of the fault file is an edge of the model."""
    tin = ctx.tin
    edges = set()
    for triangle in np.round(tin[:, :, :2], 3):
        for i in range(3):
            a, b = tuple(triangle[i]), tuple(triangle[(i + 1) % 3])
            edges.add((a, b))
            edges.add((b, a))
    faults = ctx.segments("site.flt")
    missing = [f for f in faults if (tuple(np.round(f[0, :2], 3)), tuple(np.round(f[1, :2], 3))) not in edges]
    assert not missing, "%d of %d break line segments are not TIN edges, the first %s" % (
        len(missing), len(faults), missing[0].tolist())
    print("    all %d break line segments are edges of the model" % len(faults))


def _contour_levels(drawing, layer):
    levels = []
    for polyline in drawing.modelspace().query('POLYLINE[layer=="%s"]' % layer):
        heights = {round(v.dxf.location.z, 6) for v in polyline.vertices}
        assert len(heights) == 1, "a contour on %s is not level: %s" % (layer, sorted(heights)[:5])
        levels.append(heights.pop())
    return levels


def check_contours(ctx):
    """Straight contours every 10 m (index every 50 m) and smoothed ones every
    20 m (index every 100 m): every level within the terrain's range is drawn,
    index contours on their own layer and wider."""
    ctx.needs("triangulate", "contours")
    low, high = ctx.terrain_range
    drawing = ctx.saved_drawing
    for regular, index, interval, index_interval in (("TZ_Regcontours", "TZ_Indxcontours", 10, 50),
                                                     ("TZ_Smoothcontours", "TZ_Smoothindex", 20, 100)):
        expected = set(range(int(np.ceil(low / interval)) * interval, int(np.floor(high / interval)) * interval + 1,
                             interval)) - {low, high}
        regular_levels = _contour_levels(drawing, regular)
        index_levels = _contour_levels(drawing, index)
        assert regular_levels and index_levels, "no contours on %s or %s" % (regular, index)
        for level in regular_levels + index_levels:
            assert low <= level <= high, "a contour at %.3f outside the terrain's %.3f..%.3f" % (level, low, high)
            assert abs(level / interval - round(level / interval)) < 1e-9, "a contour at %.3f is off the interval" % level
        assert all(round(level) % index_interval == 0 for level in index_levels), "regular levels on the index layer"
        assert all(round(level) % index_interval != 0 for level in regular_levels), "index levels on the regular layer"
        drawn = {round(level) for level in regular_levels + index_levels}
        assert expected <= drawn, "levels without contours: %s" % sorted(expected - drawn)
        widths = {p.dxf.default_start_width for p in drawing.modelspace().query('POLYLINE[layer=="%s"]' % index)}
        assert widths == {5.0}, "index contour widths %s" % widths
        print("    %s/%s: %d and %d polylines, levels %d to %d" % (regular, index, len(regular_levels),
                                                                  len(index_levels), min(drawn), max(drawn)))


def check_tin_faces(ctx):
    """showtin draws one 3D face per triangle, its fourth corner on its first."""
    ctx.needs("triangulate", "showtin")
    faces = ctx.saved_drawing.modelspace().query('3DFACE[layer=="TZ_Tin"]')
    assert len(faces) == len(ctx.tin), "%d faces for %d triangles" % (len(faces), len(ctx.tin))
    for face, triangle in zip(faces, ctx.tin):
        corners = np.array([face.dxf.vtx0, face.dxf.vtx1, face.dxf.vtx2, face.dxf.vtx3])
        assert np.allclose(corners[:3], triangle, atol=1e-6) and np.allclose(corners[3], corners[0]), \
            "a face differs from its triangle"


def check_mesh(ctx):
    """The 100 m mesh follows the ground; its skirt hangs to the lowest ground."""
    ctx.needs("triangulate", "rmesh")
    low, high = ctx.terrain_range
    lines = ctx.saved_drawing.modelspace().query('POLYLINE[layer=="TZ_Mesh"]')
    assert len(lines) > 40, "only %d mesh polylines" % len(lines)
    xmin, ymin = ctx.tin[:, :, 0].min(), ctx.tin[:, :, 1].min()
    for line in lines:
        assert line.is_3d_polyline, "a mesh line is not a 3D polyline"
        points = np.array([v.dxf.location for v in line.vertices])
        assert np.all(points[:, 2] >= low - 0.01) and np.all(points[:, 2] <= high + 1e-6), "a mesh vertex off the ground"
        on_grid = np.abs((points[:, :2] - [xmin, ymin]) / 100 - np.round((points[:, :2] - [xmin, ymin]) / 100))
        assert np.all(on_grid.min(axis=1) < 1e-6), "a mesh vertex off the 100 m grid lines"
    # Each grid line starts and ends at the base, also when the void breaks it
    # into pieces; one more line joins the feet of the columns.
    at_base = lambda vertex: abs(vertex.dxf.location.z - low) < 0.01
    starts = sum(1 for line in lines if at_base(line.vertices[0]))
    ends = sum(1 for line in lines if at_base(line.vertices[-1]))
    base_lines = sum(1 for line in lines if all(at_base(v) for v in line.vertices))
    assert starts == ends and starts >= 0.9 * len(lines), "%d of %d mesh lines start at the base, %d end there" % (
        starts, len(lines), ends)
    assert base_lines == 1, "%d base lines" % base_lines


def _volume_report(ctx):
    match = re.search(r"Cut=([\d.]+)\tFill=([\d.]+)\tNet=(Cut|Fill) ([\d.]+) Cubic Meters", ctx.transcript)
    assert match, "no volume report in the transcript"
    return float(match.group(1)), float(match.group(2)), match.group(3), float(match.group(4))


def check_volumes(ctx):
    """The pad is cut into the slope: both cut and fill, their difference the
    net, and both what the 5 m grid over the two surfaces gives, sampled here
    with weights of our own."""
    ctx.needs("triangulate", "volumes")
    cut, fill, word, net = _volume_report(ctx)
    assert cut > 0 and fill > 0, "cut %.3f and fill %.3f should both be positive" % (cut, fill)
    assert word == ("Fill" if fill >= cut else "Cut") and abs(net - abs(fill - cut)) < 0.01, \
        "net %s %.3f for cut %.3f and fill %.3f" % (word, net, cut, fill)
    expected_cut, expected_fill = _grid_volumes(ctx.tin, np.loadtxt(ctx.path("pad.tin")).reshape(-1, 3, 3), 5.0)
    for name, got, want in (("cut", cut, expected_cut), ("fill", fill, expected_fill)):
        assert abs(got - want) <= 0.001 * want, "%s %.3f m3, the ground model gives %.3f" % (name, got, want)
    print("    cut %.0f m3, fill %.0f m3" % (cut, fill))


def _grid_volumes(existing, proposed, interval):
    """Cut and fill on the square grid from the corner of both surfaces'
    extent: a cell counts when its four corners lie on both; its volume is its
    area times the difference of the corners' mean elevations."""
    both = np.concatenate([existing, proposed]).reshape(-1, 3)
    xs = np.arange(both[:, 0].min(), both[:, 0].max(), interval)
    ys = np.arange(both[:, 1].min(), both[:, 1].max(), interval)
    pad = proposed[:, :, :2].reshape(-1, 2)
    xs = xs[(xs >= pad[:, 0].min() - interval) & (xs <= pad[:, 0].max())]  # cells off the pad count nothing
    ys = ys[(ys >= pad[:, 1].min() - interval) & (ys <= pad[:, 1].max())]
    gx, gy = np.meshgrid(np.append(xs, xs[-1] + interval), np.append(ys, ys[-1] + interval), indexing="ij")
    corners = np.column_stack([gx.ravel(), gy.ravel()])
    ground = ground_elevation(existing, corners).reshape(gx.shape)
    design = ground_elevation(proposed, corners).reshape(gx.shape)
    mean = lambda z: (z[:-1, :-1] + z[1:, :-1] + z[:-1, 1:] + z[1:, 1:]) / 4
    volume = interval * interval * (mean(design) - mean(ground))
    volume = volume[~np.isnan(volume)]
    return -volume[volume <= 0].sum(), volume[volume > 0].sum()
