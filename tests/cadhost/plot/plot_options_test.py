#!/usr/bin/python3
"""tzcad's plot options end to end: pictures written when the session ends,
with the layers, sizes and views asked for; refusals with a clear message.

    plot_options_test.py TZCAD
"""
import os
import struct
import subprocess
import sys
import tempfile

SESSION = """(entmake '((0 . "LAYER") (2 . "Roads") (70 . 0) (62 . 1) (6 . "CONTINUOUS")))
(entmake '((0 . "LINE") (8 . "Roads") (10 0.0 0.0 0.0) (11 100.0 50.0 0.0)))
(entmake '((0 . "LINE") (8 . "0") (10 0.0 0.0 0.0) (11 0.0 200.0 10.0)))
(entmake '((0 . "TEXT") (8 . "0") (10 5.0 5.0 0.0) (40 . 2.0) (1 . "label")))
"""


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    assert header[:8] == b"\x89PNG\r\n\x1a\n", "%s is no PNG" % path
    return struct.unpack(">II", header[16:24])


def run(tzcad, folder, *args):
    return subprocess.run([tzcad, "--bare", *args, "session.scr"], cwd=folder, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=60)


def main():
    tzcad = os.path.abspath(sys.argv[1])
    failures = []

    def check(condition, what):
        if not condition:
            failures.append(what)
            print("FAILED: " + what)

    with tempfile.TemporaryDirectory(prefix="tzplot-") as folder:
        with open(os.path.join(folder, "session.scr"), "w") as f:
            f.write(SESSION)

        result = run(tzcad, folder, "--save", "out.dxf", "--plot", "all.png", "--plot-size", "300",
                     "--plot-layers", "roads", "--plot", "roads.png", "--plot-view", "iso", "--plot-layers", "",
                     "--plot", "iso.svg", "--plot", "iso.pdf")
        check(result.returncode == 0, "plotting exits 0: %s" % result.stderr.decode(errors="replace"))
        for name in ("out.dxf", "all.png", "roads.png", "iso.svg", "iso.pdf"):
            check(os.path.exists(os.path.join(folder, name)), "%s is written" % name)
        if not failures:
            width, height = png_size(os.path.join(folder, "all.png"))
            check(height == 1600 and width < height, "all.png is 1600 high and narrower: %dx%d" % (width, height))
            width, height = png_size(os.path.join(folder, "roads.png"))
            check(width == 300 and height < 300, "roads.png shows the road alone, 300 wide: %dx%d" % (width, height))
            with open(os.path.join(folder, "iso.svg")) as f:
                check("<svg" in f.read(), "iso.svg is SVG")
            with open(os.path.join(folder, "iso.pdf"), "rb") as f:
                check(f.read(5) == b"%PDF-", "iso.pdf is PDF")

        result = run(tzcad, folder, "--plot-layers", "Nothing*", "--plot", "none.png")
        check(result.returncode == 1, "a pattern without a layer exits 1, not %d" % result.returncode)
        check(b"Could not plot the drawing to none.png: no layer of the drawing matches Nothing*" in result.stdout,
              "a pattern without a layer is reported: %r" % result.stdout[-200:])
        check(not os.path.exists(os.path.join(folder, "none.png")), "nothing is written for it")

        result = run(tzcad, folder, "--plot", os.path.join(folder, "missing", "x.png"))
        check(result.returncode == 1 and b"Could not plot the drawing to" in result.stdout,
              "an unwritable picture exits 1 with a message")

        for args, message in ((["--plot", "map.bmp"], b".png, .svg or .pdf"),
                              (["--plot"], b"--plot needs a file"),
                              (["--plot-size", "10"], b"--plot-size needs a number"),
                              (["--plot-size", "12x"], b"--plot-size needs a number"),
                              (["--plot-view", "side"], b"--plot-view needs plan or iso")):
            result = subprocess.run([tzcad, "--bare", "session.scr", *args], cwd=folder, stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, timeout=60)
            check(result.returncode == 2 and message in result.stderr,
                  "%s is refused before the session: %r" % (" ".join(args), result.stderr[:200]))

        result = subprocess.run([tzcad, "--help"], stdout=subprocess.PIPE, timeout=60)
        for option in (b"--plot FILE", b"--plot-layers LIST", b"--plot-size N", b"--plot-view VIEW"):
            check(option in result.stdout, "--help names %s" % option.decode())

    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
