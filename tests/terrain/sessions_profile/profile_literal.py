"""The profile cutting procedure written out plainly, for the session checks:
every chord of every segment against every edge, arcs by chords one drawing
unit long with the procedure's own constants, stations along the arc from the
swept angle. Plain geometry, independent of the code under test."""
import math

PI, HALF_PI, TWO_PI = 3.141592654, 1.570796327, 6.283185308


def same_edge(e, f):
    return (e[0] == f[0] and e[1] == f[1]) or (e[0] == f[1] and e[1] == f[0])


def edges_of_edge_file(path):
    """Six numbers per edge; an edge equal to one kept before (either way) is dropped."""
    numbers = [float(t) for t in open(path).read().split()]
    edges = []
    for k in range(0, len(numbers) - 5, 6):
        v = numbers[k:k + 6]
        edge = ((v[0], v[1], v[2]), (v[3], v[4], v[5]))
        if not any(same_edge(edge, kept) for kept in edges):
            edges.append(edge)
    return edges


def edges_of_tin(path):
    """Nine numbers per triangle; edges P1-P2, P2-P3, P3-P1, each unless kept before this triangle."""
    numbers = [float(t) for t in open(path).read().split()]
    edges = []
    for k in range(0, len(numbers) - 8, 9):
        v = numbers[k:k + 9]
        p = [(v[0], v[1], v[2]), (v[3], v[4], v[5]), (v[6], v[7], v[8])]
        before = list(edges)
        for a, b in ((p[0], p[1]), (p[1], p[2]), (p[2], p[0])):
            if not any(same_edge((a, b), kept) for kept in before):
                edges.append((a, b))
    return edges


def cross(p, q, a, b):
    """Where segment pq meets the plan edge ab (end points count), with the edge's elevation there."""
    d1 = (q[0] - p[0], q[1] - p[1])
    d2 = (b[0] - a[0], b[1] - a[1])
    den = d1[0] * d2[1] - d1[1] * d2[0]
    if den == 0:
        return None
    s = ((a[0] - p[0]) * d2[1] - (a[1] - p[1]) * d2[0]) / den
    t = ((a[0] - p[0]) * d1[1] - (a[1] - p[1]) * d1[0]) / den
    eps = 1e-10
    if not (-eps <= s <= 1 + eps and -eps <= t <= 1 + eps):
        return None
    return (p[0] + s * d1[0], p[1] + s * d1[1]), a[2] + t * (b[2] - a[2])


def angle(o, p):
    return math.atan2(p[1] - o[1], p[0] - o[0])


def polar(o, a, d):
    return (o[0] + d * math.cos(a), o[1] + d * math.sin(a))


def profile(vertices, start, edges):
    """Samples (station, elevation) by ascending station; vertices are (x, y, bulge)."""
    samples, station = [], start
    for (px, py, b), (qx, qy, _) in zip(vertices, vertices[1:]):
        p, q = (px, py), (qx, qy)
        chord = math.dist(p, q)
        if b == 0:
            for a, e in edges:
                c = cross(p, q, a, e)
                if c:
                    samples.append((station + math.dist(p, c[0]), c[1]))
            station += chord
            continue
        theta = 4 * math.atan(abs(b))
        h = chord / 2
        r = h / math.sin(theta / 2)
        length = r * theta
        alpha = angle(p, q)
        m = polar(p, alpha, h)
        side = HALF_PI if b > 0 else -HALF_PI
        if abs(b) > 1:
            side = -side
        o = m if abs(b) == 1 else polar(m, alpha + side, math.sqrt(r * r - h * h))
        u = r * TWO_PI
        delta = (1 / u) * 360 / 180 * PI
        beta0 = angle(o, p)
        points = [p]
        k = 1
        while k < length:
            points.append(polar(o, beta0 + (k * delta if b > 0 else -k * delta), r))
            k += 1
        points.append(q)
        for s0, s1 in zip(points, points[1:]):
            for a, e in edges:
                c = cross(s0, s1, a, e)
                if not c:
                    continue
                gamma = angle(o, c[0])
                if b > 0:
                    phi = (gamma - beta0) * 180 / PI if gamma >= beta0 else 360 - (beta0 - gamma) * 180 / PI
                else:
                    phi = (beta0 - gamma) * 180 / PI if gamma <= beta0 else 360 - (gamma - beta0) * 180 / PI
                if phi > 359.9999:  # a crossing at the very start of the arc
                    phi = 0
                samples.append((station + phi * u / 360, c[1]))
        station += length
    return sorted(samples, key=lambda s: s[0])


def read_profile(path):
    return [tuple(float(t) for t in line.split()) for line in open(path)]


def assert_same_profile(got, want, tolerance, label):
    assert len(got) == len(want), (label, len(got), len(want))
    for g, w in zip(got, want):
        assert abs(g[0] - w[0]) < tolerance and abs(g[1] - w[1]) < tolerance, (label, g, w)
    assert all(a[0] <= b[0] for a, b in zip(got, got[1:])), label
