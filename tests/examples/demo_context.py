"""What the checks of the demo share: the output folder and its files, each
read once."""
import os
import re

import numpy as np


class Context:
    def __init__(self, out, landxml_schema):
        self.out = out
        self.landxml_schema = landxml_schema
        self._cache = {}
        with open(self.path("transcript.txt"), encoding="utf-8", errors="replace") as f:
            self.transcript = f.read()
        # A command that is missing from its plug-in says so: "NAME is not available yet."
        self.unavailable = set(re.findall(r"^(\S+) is not available yet\.", self.transcript, re.M))

    def path(self, name):
        return os.path.join(self.out, name)

    def needs(self, *commands):
        """Fails the check, naming them, when any of these commands did not run."""
        missing = [c for c in commands if c in self.unavailable]
        assert not missing, "%s not available in the suite" % " and ".join(missing)

    def output(self, name, *commands):
        """The path of an output the named commands write; the check fails,
        naming the command, when one of them was not available."""
        self.needs(*commands)
        path = self.path(name)
        if not os.path.exists(path):
            raise AssertionError("%s is missing" % name)
        return path

    def text(self, name, *commands):
        with open(self.output(name, *commands), "rb") as f:
            data = f.read()
        return data.decode("utf-8")

    def cached(self, key, make):
        if key not in self._cache:
            self._cache[key] = make()
        return self._cache[key]

    # ---- the project's inputs -------------------------------------------
    @property
    def points(self):
        return self.cached("points", lambda: np.loadtxt(self.path("site.dat")))

    def segments(self, name):
        return self.cached(name, lambda: np.loadtxt(self.path(name)).reshape(-1, 2, 3))

    @property
    def blocks(self):
        """The point blocks of the input drawing: number -> (x, y, z, code, description)."""
        def read():
            import ezdxf
            blocks = {}
            for insert in ezdxf.readfile(self.path("site.dxf")).modelspace().query('INSERT[name=="TZNODE"]'):
                texts = [a.dxf.text for a in insert.attribs]
                blocks[int(texts[0])] = (*insert.dxf.insert, texts[1], texts[2])
            return blocks
        return self.cached("blocks", read)

    # ---- the suite's outputs --------------------------------------------
    @property
    def tin(self):
        """The terrain model's triangles, shape (n, 3, 3)."""
        return self.cached("tin", lambda: np.loadtxt(self.output("site.tin", "triangulate"), ndmin=2).reshape(-1, 3, 3))

    @property
    def terrain_range(self):
        tin = self.tin
        return float(tin[:, :, 2].min()), float(tin[:, :, 2].max())

    @property
    def saved_drawing(self):
        return self.saved_drawing_audit[0]

    @property
    def saved_drawing_audit(self):
        """The saved drawing as ezdxf's recover mode reads it, and its auditor."""
        def read():
            from ezdxf import recover
            return recover.readfile(self.output("site-out.dxf"))
        return self.cached("saved", read)


def polygon_area(outline):
    x, y = np.asarray(outline)[:, 0], np.asarray(outline)[:, 1]
    return 0.5 * float(np.dot(x, np.roll(y, -1)) - np.dot(np.roll(x, -1), y))


def outlines_of(segments):
    """Closed outlines of a boundary/void file, each as its vertices in order
    (segments follow one another outline by outline)."""
    outlines, current = [], []
    for a, b in segments:
        current.append(a[:2])
        if np.allclose(b[:2], current[0], rtol=0, atol=1e-9):
            outlines.append(np.array(current))
            current = []
    if current:
        raise AssertionError("the boundary file holds an outline that does not close")
    return outlines


def inside(points, outline):
    """Even-odd test of many plan points against one outline."""
    x, y = points[:, 0], points[:, 1]
    result = np.zeros(len(points), dtype=bool)
    ox, oy = outline[:, 0], outline[:, 1]
    for i in range(len(outline)):
        x1, y1, x2, y2 = ox[i], oy[i], ox[(i + 1) % len(outline)], oy[(i + 1) % len(outline)]
        crosses = (y1 > y) != (y2 > y)
        with np.errstate(divide="ignore", invalid="ignore"):
            at = (x2 - x1) * (y - y1) / (y2 - y1) + x1
        result ^= crosses & (x < at)
    return result


def distance_to_outline(points, outline):
    """Plan distance of each point to the closed outline."""
    best = np.full(len(points), np.inf)
    for a, b in zip(outline, np.roll(outline, -1, axis=0)):
        d = b - a
        t = np.clip(((points - a) @ d) / (d @ d), 0, 1)
        best = np.minimum(best, np.hypot(*(a + t[:, None] * d - points).T))
    return best


def ground_elevation(tin, xy):
    """Elevation of the TIN at plan points (NaN outside), by barycentric weights."""
    z = np.full(len(xy), np.nan)
    lo = tin[:, :, :2].min(axis=1)
    hi = tin[:, :, :2].max(axis=1)
    box_lo, box_hi = xy.min(axis=0), xy.max(axis=0)
    for t in np.nonzero(np.all(hi >= box_lo, axis=1) & np.all(lo <= box_hi, axis=1))[0]:
        (x1, y1, z1), (x2, y2, z2), (x3, y3, z3) = tin[t]
        det = (y2 - y3) * (x1 - x3) + (x3 - x2) * (y1 - y3)
        if det == 0:
            continue
        a = ((y2 - y3) * (xy[:, 0] - x3) + (x3 - x2) * (xy[:, 1] - y3)) / det
        b = ((y3 - y1) * (xy[:, 0] - x3) + (x1 - x3) * (xy[:, 1] - y3)) / det
        c = 1 - a - b
        hit = (a >= -1e-9) & (b >= -1e-9) & (c >= -1e-9)
        z[hit] = a[hit] * z1 + b[hit] * z2 + c[hit] * z3
    return z
