// Terrain and alignments for the profile tests: grid TINs (regular, with
// collinear rows and shared vertices, or jittered), the real DEM window,
// random alignments, and the text of TIN and edge files.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "profile/Alignment.h"
#include "profile/Edge.h"
#include "tin/Triangle.h"

namespace tz::test {

using tz::terrain::Triangle;
using tz::terrain::profile::Alignment;
using tz::terrain::profile::Edge;

// A TIN over a grid of columns x rows points (spacing `step`), each cell
// split into two triangles along an alternating diagonal; `jitter` moves
// every point by up to that fraction of the spacing.
std::vector<Triangle> gridTin(int columns, int rows, double step, double jitter, std::mt19937& random,
                              double originX = 0, double originY = 0);

// The DEM window of the test data, as a TIN of its grid cells.
std::vector<Triangle> jacksboroTin();

// "%lf %lf %lf %lf %lf %lf %lf %lf %lf\n" per triangle, as TIN files are written.
std::string tinText(const std::vector<Triangle>& triangles);

// Edge-file text ("%lf" six per line) listing every edge of every triangle,
// shared edges once per triangle (so most appear twice, reversed).
std::string edgeFileText(const std::vector<Triangle>& triangles);

// A random polyline of 2..maxVertices vertices inside the box, with bulges
// that are 0 about half the time and otherwise in (-3, 3). With `snap`, some
// vertices fall exactly on grid points of the given step (vertices on edges).
Alignment randomAlignment(std::mt19937& random, double minX, double minY, double maxX, double maxY,
                          int maxVertices, bool snap, double step);

}  // namespace tz::test
