#!/usr/bin/python3
"""Runs the suite's benchmarks against the reference tools and prints a table.

    bench/run.py BUILD_DIR [--scaling] [--only NAME ...] [--runs N]

BUILD_DIR is a Release build with the bench drivers (bench/run.sh makes it).
Inputs are generated once into BUILD_DIR/bench-data and reused. Every
workload runs in its own process: its time is the process's wall time
(tzcad's start and the reading of every input file included) unless the
driver reports the time of the measured step itself, and its peak memory is
the process's maximum resident set. Each workload and each reference tool
runs N times (3 by default; once at 10^7 points), in turn with what it is
compared with, and the fastest run counts.
"""

import argparse
import math
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
# The real terrain: a USGS DEM on a local metric grid with a false origin
# (easting 5e5, northing 4e6), kept compressed beside this script.
DEM_ARCHIVE = HERE / "data" / "jacksboro_dem.xyz.xz"
SCALING_SIZES = (10**4, 10**5, 10**6, 10**7)

# Contours: 100 levels over the terrain's range, every fifth an index contour.
CONTOUR_FROM, CONTOUR_STEP, CONTOUR_LEVELS = 240.0, 8.0, 100
CONTOUR_TO = CONTOUR_FROM + CONTOUR_STEP * (CONTOUR_LEVELS - 1)
GRID_CELLS = 1000       # volumes and mesh: cells along each side
ALIGNMENT_LENGTH = 10000.0
SECTION_COUNT = 1000


class Run:
    def __init__(self, seconds, peak_mb, output):
        self.seconds, self.peak_mb, self.output = seconds, peak_mb, output


# The build's peak_memory tool: a command started from this (large) process
# would count this process's pages in its own peak, so every command is
# started by that small program, which reports the command's peak alone.
PEAK_MEMORY = None


def run(command, cwd, env=None, stdin=None):
    """Runs a command to its end; wall time, peak resident memory and stdout."""
    peak_file = Path(cwd) / f".peak-{os.getpid()}"
    start = time.perf_counter()
    process = subprocess.Popen([PEAK_MEMORY, peak_file, *command], cwd=cwd, env=env,
                               stdin=subprocess.PIPE if stdin else subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if stdin:
        process.stdin.write(stdin)
        process.stdin.close()
    output = process.stdout.read()
    errors = process.stderr.read()
    process.wait()
    seconds = time.perf_counter() - start
    if process.returncode != 0:
        sys.exit(f"bench: {' '.join(map(str, command))} failed ({process.returncode}):\n{output}\n{errors}")
    peak_kb = int(peak_file.read_text())
    peak_file.unlink()
    return Run(seconds, peak_kb / 1024.0, output)


class Bench:
    def __init__(self, build, scaling, runs):
        self.runs = runs
        self.build = Path(build).resolve()
        self.bin = self.build / "bin"
        global PEAK_MEMORY
        PEAK_MEMORY = self.bin / "peak_memory"
        self.data = self.build / "bench-data"
        self.data.mkdir(exist_ok=True)
        (self.data / "tmp").mkdir(exist_ok=True)
        self.scaling = scaling
        self.rows = []
        self.env = dict(os.environ, TEMP=str(self.data / "tmp"))
        self.dem = self.data / "jacksboro_dem.xyz"
        if not self.dem.exists():
            import lzma
            self.dem.write_bytes(lzma.decompress(DEM_ARCHIVE.read_bytes()))

    # ---- inputs -----------------------------------------------------------

    def points(self, kind, count, seed=1):
        path = self.data / f"{kind}-{count}-{seed}.dat"
        if not path.exists():
            if kind == "random":
                run([self.bin / "make_points", "random", str(count), str(seed), path], self.data)
            else:
                run([self.bin / "make_points", "terrain", str(count), str(seed), self.dem, path], self.data)
        return path

    def tzcad(self, folder, script, drawing=None, before=None, runs=None, save=None):
        """The fastest of `runs` runs of the script (self.runs by default);
        `before` readies the folder for each run; `save` is where the drawing
        is saved at the end."""
        return self.fastest(self.tzcad_once(folder, script, drawing, save), before, runs)

    def tzcad_once(self, folder, script, drawing=None, save=None):
        """A function that runs the script once."""
        command = [self.bin / "tzcad"]
        if drawing:
            command += ["--drawing", drawing]
        if save:
            command += ["--save", save]
        (folder / "bench.scr").write_text(script)
        return lambda: run(command + ["bench.scr"], folder, env=self.env)

    def fastest(self, once, before=None, runs=None):
        """Runs `once` `runs` times (after `before` each time) and keeps the
        fastest: on a shared machine the least disturbed run is the one that
        tells the program's own speed. Peak memory is the largest seen."""
        return self.fastest_alternating([(once, before)], runs)[0]

    def fastest_alternating(self, contenders, runs=None):
        """The fastest run of each of `contenders` ((once, before) pairs),
        run in turn: ours, the reference, ours, ... so that a ratio compares
        runs made while the machine was in the same state, not minutes apart."""
        best = [None] * len(contenders)
        peak = [0.0] * len(contenders)
        for _ in range(runs or self.runs):
            for k, (once, before) in enumerate(contenders):
                if before:
                    before()
                result = once()
                peak[k] = max(peak[k], result.peak_mb)
                if best[k] is None or result.seconds < best[k].seconds:
                    best[k] = result
        return [Run(b.seconds, p, b.output) for b, p in zip(best, peak)]

    def triangulated(self, kind, count, seed=1):
        """A project folder holding a point file and its TIN (made once)."""
        folder = self.data / f"tin-{kind}-{count}-{seed}"
        tin = folder / "site.tin"
        if not tin.exists():
            folder.mkdir(exist_ok=True)
            shutil.copy(self.points(kind, count, seed), folder / "site.dat")
            timed = self.data / f"triangulate-{kind}-{count}" / "site.tin"
            if seed == 1 and timed.exists():  # the triangulate workload made it already
                shutil.copy(timed, tin)
            else:
                self.tzcad(folder, '(ldtmopen "site.dat")\n(triangulate)\n!accept\n')
        return folder

    def tin_extent(self, folder):
        minx = miny = math.inf
        maxx = maxy = -math.inf
        with open(folder / "site.dat") as f:
            for line in f:
                x, y, _ = line.split()
                x, y = float(x), float(y)
                minx, maxx = min(minx, x), max(maxx, x)
                miny, maxy = min(miny, y), max(maxy, y)
        return minx, miny, maxx, maxy

    def triangles(self, folder):
        with open(folder / "site.tin", "rb") as f:
            return sum(1 for _ in f)

    # ---- the table --------------------------------------------------------

    def row(self, name, ours, reference=None, reference_name="", target=None, limit_text="", size=None):
        """ours: Run; reference: seconds of the reference tool; target: a
        function of (ours seconds, reference seconds, peak MB) that tells
        whether the target was met."""
        ratio = ours.seconds / reference if reference else None
        met = target(ours, reference) if target else None
        self.rows.append((name, ours.seconds, reference, reference_name, ratio, ours.peak_mb, limit_text, met))
        self.print_row(self.rows[-1])

    @staticmethod
    def print_header():
        print(f"{'workload':56} {'ours s':>8} {'ref s':>8} {'ref':>12} {'ratio':>6} {'peak MB':>8}  target")
        print("-" * 120)

    @staticmethod
    def print_row(r):
        name, ours, ref, ref_name, ratio, peak, limit, met = r
        verdict = "" if met is None else ("met" if met else "MISSED")
        print(f"{name:56} {ours:8.2f} {ref if ref else float('nan'):8.2f} {ref_name:>12} "
              f"{ratio if ratio else float('nan'):6.2f} {peak:8.0f}  {limit} {verdict}", flush=True)

    # ---- workloads --------------------------------------------------------

    def timed_tool(self, tool, *arguments):
        """A function that runs a driver that reports the time of its step itself."""
        def once():
            result = run([tool, *arguments], self.data)
            return Run(float(result.output.split()[0]), result.peak_mb, result.output)
        return once

    def engine(self, kind, count):
        points = self.points(kind, count)
        ours, cgal = self.fastest_alternating([(self.timed_tool(self.bin / "engine_bench", points), None),
                                               (self.timed_tool(self.bin / "cgal_delaunay", points), None)])
        self.row(f"engine, {kind} {count:.0e} points ({ours.output.split()[1]} tri)", ours, cgal.seconds, "CGAL",
                 lambda o, r: o.seconds <= 1.5 * r, "<= 1.5 x CGAL")
        # What the sweep's order of insertion costs CGAL itself (once: it
        # takes several seconds), against the engine's fastest run.
        in_order = self.timed_tool(self.bin / "cgal_delaunay", "--x-order", points)()
        self.row("  the same, CGAL inserting in the engine's order of x", ours, in_order.seconds, "CGAL x-order",
                 limit_text="(shown)")

    def triangulate(self, kind, count, reference=True, runs=None):
        folder = self.data / f"triangulate-{kind}-{count}"
        folder.mkdir(exist_ok=True)
        points = folder / "site.dat"
        shutil.copy(self.points(kind, count), points)
        command = (self.tzcad_once(folder, '(ldtmopen "site.dat")\n(triangulate)\n!accept\n'),
                   lambda: (folder / "site.set").unlink(missing_ok=True))
        if not reference:
            return self.fastest(*command, runs=runs)
        ours, cgal = self.fastest_alternating([command, (self.timed_tool(self.bin / "cgal_delaunay", points), None)],
                                              runs)
        per_point = ours.peak_mb * 1024 * 1024 / count
        self.row(f"triangulate command, {kind} {count:.0e} pts ({per_point:.0f} B/pt)", ours, cgal.seconds,
                 "CGAL engine", lambda o, r: o.seconds <= 5 * r and per_point < 300, "<= 5 x CGAL, < 300 B/pt")

    @staticmethod
    def contour_script():
        return ('(ldtmopen "site.dat")\n(contours)\n'
                f"start={CONTOUR_FROM:g}\nend={CONTOUR_TO:g}\ninterval={CONTOUR_STEP:g}\n"
                f"iinterval={5 * CONTOUR_STEP:g}\nNoRounding=1\n!accept\n")

    def contours(self, folder, reference=True, runs=None):
        ours = self.tzcad(folder, self.contour_script(), runs=runs)
        if not reference:
            return ours

        arguments = (folder / "site.tin", f"{CONTOUR_FROM}", f"{CONTOUR_STEP}", f"{CONTOUR_LEVELS}")
        tracing, matplotlib = self.fastest_alternating(
            [(self.timed_tool(self.bin / "contour_bench", *arguments), None),
             (self.timed_tool("/usr/bin/python3", HERE / "tools" / "tricontour.py", *arguments), None)])
        seconds = matplotlib.seconds
        size = f"{self.triangles(folder):.1e} tri, {CONTOUR_LEVELS} levels"
        self.row(f"contour tracing, {size} ({tracing.output.split()[1]} chains)", tracing, seconds,
                 "matplotlib", lambda o, r: o.seconds <= 0.5 * r, "<= 0.5 x tricontour")
        self.row(f"contours command, {size}", ours, seconds, "matplotlib", limit_text="(whole run, shown)")

    def drawing_files(self, folder):
        """The contours' drawing saved as DXF, and opened again."""
        drawing = folder / "contours.dxf"
        saved = self.tzcad(folder, self.contour_script(), save=drawing)
        megabytes = drawing.stat().st_size / 1e6
        self.row(f"contours command and saving the drawing ({megabytes:.0f} MB DXF)", saved,
                 limit_text="(shown)")
        opened = self.tzcad(folder, "", drawing=drawing)
        self.row("opening that drawing", opened, limit_text="(shown)")

    def volumes(self, existing, proposed, report=True, runs=None):
        xmin, ymin, xmax, ymax = self.tin_extent(existing)
        interval = max(xmax - xmin, ymax - ymin) / GRID_CELLS
        shutil.copy(proposed / "site.tin", existing / "proposed.tin")
        shutil.copy(proposed / "site.dat", existing / "proposed.dat")
        script = ('(ldtmopen "site.dat")\n(volumes)\nexist_tin=site.dat\nproposed_tin=proposed.dat\n'
                  f"vol_intrvl={interval:.6f}\n!accept\n")
        ours = self.tzcad(existing, script, runs=runs)
        if not report:
            return ours
        self.row(f"volumes, 2 x {self.triangles(existing):.1e} tri, {GRID_CELLS}^2 grid", ours,
                 target=lambda o, r: o.seconds < 5, limit_text="< 5 s")

    def mesh(self, folder, report=True, runs=None):
        xmin, ymin, xmax, ymax = self.tin_extent(folder)
        spacing = max(xmax - xmin, ymax - ymin) / GRID_CELLS
        script = f'(ldtmopen "site.dat")\n(rmesh)\ndxi={spacing:.6f}\ndsk=1\n!accept\n'
        ours = self.tzcad(folder, script, runs=runs)
        if not report:
            return ours
        self.row(f"mesh, {self.triangles(folder):.1e} tri, {GRID_CELLS}^2 grid", ours,
                 target=lambda o, r: o.seconds < 5, limit_text="< 5 s")

    def profile(self, folder, report=True, runs=None):
        xmin, ymin, xmax, ymax = self.tin_extent(folder)
        drawing = folder / "alignment.dxf"
        start = write_alignment(drawing, xmin, ymin, xmax, ymax)
        script = f"tzexpro\n{start[0]:.3f},{start[1]:.3f}\n0\nsite.tin\nprofile.pfl\n"
        ours = self.tzcad(folder, script, drawing=drawing,
                          before=lambda: (folder / "profile.pfl").unlink(missing_ok=True), runs=runs)
        samples = sum(1 for _ in open(folder / "profile.pfl", "rb"))
        if not report:
            return ours
        self.row(f"tzexpro, {self.triangles(folder):.1e} tri, 10 km ({samples} pts)", ours,
                 target=lambda o, r: o.seconds < 3, limit_text="< 3 s")

    def sections(self, folder, report=True, runs=None):
        xmin, ymin, xmax, ymax = self.tin_extent(folder)
        write_section_lines(folder / "site.exd", xmin, ymin, xmax, ymax)
        ours = self.tzcad(folder, '(ldtmopen "site.dat")\ntzkerfline\nsite.tin\n', runs=runs)
        crossings = sum(1 for _ in open(folder / "site.exs", "rb"))
        if not report:
            return ours
        self.row(f"tzkerfline, {self.triangles(folder):.1e} tri, {SECTION_COUNT} sections ({crossings} lines)",
                 ours, target=lambda o, r: o.seconds < 3, limit_text="< 3 s")


def write_alignment(path, xmin, ymin, xmax, ymax):
    """A 10 km centre line across the site: straights joined by arcs of
    either hand, as an LWPOLYLINE with bulges. Returns a point on it."""
    import ezdxf
    side = min(xmax - xmin, ymax - ymin)
    x0, y0 = xmin + 0.2 * side, ymin + 0.2 * side
    # A zig-zag of 1 km legs; every leg ends in a 90-degree arc (bulge tan(22.5)).
    points, heading, x, y, length = [], 0.0, x0, y0, 0.0
    leg, radius = 1000.0, 150.0
    turn = 1
    while length < ALIGNMENT_LENGTH:
        points.append((x, y, 0.0))
        x += leg * math.cos(heading)
        y += leg * math.sin(heading)
        length += leg
        arc_end_heading = heading + turn * math.pi / 2
        cx = x - turn * radius * math.sin(heading)
        cy = y + turn * radius * math.cos(heading)
        bulge = turn * math.tan(math.pi / 8)
        points.append((x, y, bulge))
        x = cx + turn * radius * math.sin(arc_end_heading)
        y = cy - turn * radius * math.cos(arc_end_heading)
        length += radius * math.pi / 2
        heading = arc_end_heading
        turn = -turn
    points.append((x, y, 0.0))
    doc = ezdxf.new("R2000")
    doc.modelspace().add_lwpolyline(points, format="xyb")
    doc.saveas(path)
    return (x0 + 500.0, y0)


def write_section_lines(path, xmin, ymin, xmax, ymax):
    """Section lines 300 m long, 10 m apart, square to a diagonal baseline."""
    side = min(xmax - xmin, ymax - ymin)
    with open(path, "w", newline="\r\n") as f:
        for k in range(SECTION_COUNT):
            along = 0.1 * side + k * 10.0 / math.sqrt(2)
            cx, cy = xmin + along, ymin + along
            half = 150.0 / math.sqrt(2)
            f.write(f"150.000,{k * 10.0:.3f},{cx - half:.3f},{cy + half:.3f},{cx + half:.3f},{cy - half:.3f}\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--scaling", action="store_true", help="also time every command from 10^4 to 10^7 points")
    parser.add_argument("--only", nargs="*", default=None)
    parser.add_argument("--runs", type=int, default=3, help="runs of each workload; the fastest counts")
    args = parser.parse_args()
    bench = Bench(args.build, args.scaling, max(1, args.runs))
    wanted = lambda name: args.only is None or name in args.only

    Bench.print_header()
    for kind in ("random", "terrain"):
        if wanted("engine"):
            bench.engine(kind, 10**6)
    for kind in ("random", "terrain"):
        if wanted("triangulate"):
            bench.triangulate(kind, 10**6)
    # Surfaces of about 10^6 triangles (5 x 10^5 points) and 2 x 10^6 (10^6 points).
    if wanted("contours"):
        bench.contours(bench.triangulated("terrain", 10**6))
    if wanted("drawing"):
        bench.drawing_files(bench.triangulated("terrain", 10**6))
    ground = bench.triangulated("terrain", 5 * 10**5)
    if wanted("volumes"):
        bench.volumes(ground, bench.triangulated("terrain", 5 * 10**5, seed=2))
    if wanted("mesh"):
        bench.mesh(ground)
    if wanted("profile"):
        bench.profile(ground)
    if wanted("sections"):
        bench.sections(ground)

    judged = [r for r in bench.rows if r[-1] is not None]
    print(f"\n{sum(1 for r in judged if r[-1])} of {len(judged)} targets met")
    if args.scaling:
        scaling(bench)


def scaling(bench):
    """Every command on real terrain from 10^4 to 10^7 points: seconds (and,
    for the triangulation, peak bytes per point)."""
    commands = ["triangulate", "contours (100 levels)", "volumes (1000^2)", "mesh (1000^2)",
                "tzexpro (10 km)", "tzkerfline (1000)"]
    results = {name: [] for name in commands}
    for count in SCALING_SIZES:
        runs = 1 if count >= 10**7 else None  # a run of every command takes minutes there
        run = bench.triangulate("terrain", count, reference=False, runs=runs)
        results["triangulate"].append(f"{run.seconds:.2f} ({run.peak_mb * 1048576 / count:.0f} B/pt)")
        ground = bench.triangulated("terrain", count)
        results["contours (100 levels)"].append(f"{bench.contours(ground, reference=False, runs=runs).seconds:.2f}")
        proposed = bench.triangulated("terrain", count, seed=2)
        results["volumes (1000^2)"].append(
            f"{bench.volumes(ground, proposed, report=False, runs=runs).seconds:.2f}")
        results["mesh (1000^2)"].append(f"{bench.mesh(ground, report=False, runs=runs).seconds:.2f}")
        results["tzexpro (10 km)"].append(f"{bench.profile(ground, report=False, runs=runs).seconds:.2f}")
        results["tzkerfline (1000)"].append(f"{bench.sections(ground, report=False, runs=runs).seconds:.2f}")
        print(f"  {count:.0e} points done", flush=True)
    print(f"\nseconds by number of survey points (real terrain)")
    print(f"{'command':24}" + "".join(f"{count:>22.0e}" for count in SCALING_SIZES))
    for name in commands:
        print(f"{name:24}" + "".join(f"{cell:>22}" for cell in results[name]))


if __name__ == "__main__":
    main()
