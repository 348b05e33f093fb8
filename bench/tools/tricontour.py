#!/usr/bin/python3
"""The reference contours: matplotlib's tricontour on the triangles of a TIN
file and the same levels as the suite's contours command.

    tricontour.py TINFILE FIRST STEP COUNT

Prints the seconds tricontour took (the triangulation object and the contour
lines it makes, not the reading of the file) and the number of line pieces.
"""
import sys
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np


def main():
    tin, first, step, count = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), int(sys.argv[4])
    values = np.fromfile(tin, sep=" ")
    corners = values.reshape(-1, 3)            # one row per corner, three per triangle
    # Shared vertices repeat with the same text in a TIN file: number them by value.
    vertices, index = np.unique(corners[:, :2], axis=0, return_inverse=True)
    z = np.zeros(len(vertices))
    z[index] = corners[:, 2]
    triangles = index.reshape(-1, 3)
    levels = first + step * np.arange(count)

    axes = plt.figure().add_subplot()
    start = time.perf_counter()
    contours = axes.tricontour(vertices[:, 0], vertices[:, 1], triangles, z, levels=levels)
    seconds = time.perf_counter() - start
    pieces = sum(len(segments) for segments in contours.allsegs)
    print(f"{seconds:.3f} {pieces}")


if __name__ == "__main__":
    main()
