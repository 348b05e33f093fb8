# Recomputes the three profiles by the cutting procedure itself, written out
# plainly here (every chord against every edge, the arc's constants), and
# compares them with what the command wrote. Also: stations never decrease,
# and the polyline's elevation changes nothing.
import math
import sys

PI, HALF_PI, TWO_PI = 3.141592654, 1.570796327, 6.283185308

work = sys.argv[1]
edges = []
for line in open(f"{work}/terrain.asc"):
    v = [float(t) for t in line.split()]
    edges.append(((v[0], v[1], v[2]), (v[3], v[4], v[5])))


def cross(p, q, a, b):
    """Crossing of segment pq with the plan edge ab (end points count), and its elevation."""
    d1 = (q[0] - p[0], q[1] - p[1])
    d2 = (b[0] - a[0], b[1] - a[1])
    den = d1[0] * d2[1] - d1[1] * d2[0]
    if abs(den) < 1e-12:
        return None
    s = ((a[0] - p[0]) * d2[1] - (a[1] - p[1]) * d2[0]) / den
    t = ((a[0] - p[0]) * d1[1] - (a[1] - p[1]) * d1[0]) / den
    eps = 1e-10
    if not (-eps <= s <= 1 + eps and -eps <= t <= 1 + eps):
        return None
    x = (p[0] + s * d1[0], p[1] + s * d1[1])
    return x, a[2] + t * (b[2] - a[2])


def angle(o, p):
    return math.atan2(p[1] - o[1], p[0] - o[0])


def polar(o, a, d):
    return (o[0] + d * math.cos(a), o[1] + d * math.sin(a))


def profile(vertices, start):
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


def written(name):
    return [tuple(float(t) for t in line.split()) for line in open(f"{work}/{name}.pfl")]


cases = {
    "arcs": ([(0, 0, 2.0), (10, 0, -0.5), (20, 0, 0), (30, 0, 0)], 1000),
    "short": ([(100, 0, 0.2), (100.78, 0, 0)], 0),
}
for name, (vertices, start) in cases.items():
    got, want = written(name), profile(vertices, start)
    assert len(got) == len(want), (name, len(got), len(want))
    for g, w in zip(got, want):
        assert abs(g[0] - w[0]) < 1e-5 and abs(g[1] - w[1]) < 1e-5, (name, g, w)
    assert all(a[0] <= b[0] for a, b in zip(got, got[1:])), name
assert open(f"{work}/arcs.pfl", "rb").read() == open(f"{work}/elevated.pfl", "rb").read()
# The short arc is stationed along the arc, not along its chord.
(station, _), = written("short")
assert abs(station - 0.4) > 1e-4, station
