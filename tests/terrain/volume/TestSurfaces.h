// Surfaces for the volume and mesh tests: regular and jittered grids split
// into clockwise triangles (many grid points on shared edges and vertices),
// and heaps of random overlapping triangles with vertical and level edges.
#pragma once

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "volume/PreparedTriangle.h"

namespace tz::terrain::volume::testing {

using Elevation = std::function<double(double x, double y)>;

// nx by ny cells of side `spacing` from (x0, y0), each cut into two
// clockwise triangles along a diagonal that alternates from cell to cell.
std::vector<PreparedTriangle> gridSurface(int nx, int ny, double spacing, double x0, double y0,
                                          const Elevation& z);

// The same grid with every inner vertex moved by up to `jitter` (a fraction
// of the spacing below 0.3 keeps the triangles valid).
std::vector<PreparedTriangle> jitteredSurface(int nx, int ny, double spacing, double x0, double y0,
                                              const Elevation& z, double jitter, std::mt19937& random);

// `count` triangles with corners on a lattice of step `step` within
// [x0, x0 + size] x [y0, y0 + size], overlapping freely; some have vertical
// or level edges, some are level, a few are degenerate (collinear corners).
std::vector<PreparedTriangle> randomTriangles(int count, double x0, double y0, double size, double step,
                                              std::mt19937& random);

// Every triangle raised by h.
std::vector<PreparedTriangle> raised(const std::vector<PreparedTriangle>& surface, double h);

// A file's text of the triangles, as the writers of TIN files print them.
std::string tinText(const std::vector<PreparedTriangle>& surface);

}  // namespace tz::terrain::volume::testing
