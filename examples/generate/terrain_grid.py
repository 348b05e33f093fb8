"""The elevation grid the sample project is cut from.

A grid file holds one node per line, "easting northing elevation", blank
separated, rows running north to south, every row with the same eastings.
"""
import numpy as np


class TerrainGrid:
    """A regular grid of elevations: eastings and northings ascending,
    elevations indexed [row from south, column from west]."""

    def __init__(self, eastings, northings, elevations):
        self.eastings = np.asarray(eastings, dtype=float)
        self.northings = np.asarray(northings, dtype=float)
        self.elevations = np.asarray(elevations, dtype=float)
        if self.elevations.shape != (len(self.northings), len(self.eastings)):
            raise ValueError("grid shape does not match its axes")
        if len(self.eastings) < 2 or len(self.northings) < 2:
            raise ValueError("a grid needs at least two rows and two columns")
        if np.any(np.diff(self.eastings) <= 0) or np.any(np.diff(self.northings) <= 0):
            raise ValueError("grid axes must be strictly ascending")

    @classmethod
    def read(cls, path):
        """Reads a grid file; refuses anything that is not a full regular grid."""
        try:
            nodes = np.loadtxt(path, dtype=float, ndmin=2)
        except (OSError, ValueError) as error:
            raise ValueError("cannot read the grid %s: %s" % (path, error))
        if nodes.shape[1] != 3 or not np.all(np.isfinite(nodes)):
            raise ValueError("%s: every line must hold three finite numbers" % path)
        eastings = np.unique(nodes[:, 0])
        northings = np.unique(nodes[:, 1])
        if len(eastings) * len(northings) != len(nodes):
            raise ValueError("%s: the nodes do not form a full regular grid" % path)
        column = np.searchsorted(eastings, nodes[:, 0])
        row = np.searchsorted(northings, nodes[:, 1])
        elevations = np.full((len(northings), len(eastings)), np.nan)
        elevations[row, column] = nodes[:, 2]
        if np.isnan(elevations).any():
            raise ValueError("%s: some grid nodes are repeated or missing" % path)
        return cls(eastings, northings, elevations)

    def window(self, west, south, east, north):
        """The nodes inside the rectangle (borders included) as a grid of their own."""
        columns = np.nonzero((self.eastings >= west) & (self.eastings <= east))[0]
        rows = np.nonzero((self.northings >= south) & (self.northings <= north))[0]
        if len(columns) < 2 or len(rows) < 2:
            raise ValueError("the window holds fewer than two rows or columns of the grid")
        return TerrainGrid(self.eastings[columns], self.northings[rows],
                           self.elevations[np.ix_(rows, columns)])

    def write(self, path):
        """Writes the grid in the layout it was read from (north to south)."""
        with open(path, "w", newline="\n") as out:
            for row in range(len(self.northings) - 1, -1, -1):
                for column in range(len(self.eastings)):
                    out.write("%.3f %.3f %.1f\n" % (self.eastings[column], self.northings[row],
                                                     self.elevations[row, column]))

    def contains(self, x, y):
        x = np.asarray(x, dtype=float)
        y = np.asarray(y, dtype=float)
        return ((x >= self.eastings[0]) & (x <= self.eastings[-1]) &
                (y >= self.northings[0]) & (y <= self.northings[-1]))

    def elevation(self, x, y):
        """Bilinear elevation at plan points inside the grid (arrays or scalars)."""
        x = np.asarray(x, dtype=float)
        y = np.asarray(y, dtype=float)
        if not np.all(self.contains(x, y)):
            raise ValueError("a point lies outside the grid")
        column = np.clip(np.searchsorted(self.eastings, x, side="right") - 1, 0, len(self.eastings) - 2)
        row = np.clip(np.searchsorted(self.northings, y, side="right") - 1, 0, len(self.northings) - 2)
        x0 = self.eastings[column]
        y0 = self.northings[row]
        u = (x - x0) / (self.eastings[column + 1] - x0)
        v = (y - y0) / (self.northings[row + 1] - y0)
        z = self.elevations
        return ((1 - u) * (1 - v) * z[row, column] + u * (1 - v) * z[row, column + 1] +
                (1 - u) * v * z[row + 1, column] + u * v * z[row + 1, column + 1])

    def node_position(self, row, column):
        return self.eastings[column], self.northings[row]
