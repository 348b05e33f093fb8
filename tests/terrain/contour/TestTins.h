// Small TINs for the contour tests: grids with random diagonals, jitter,
// quantised or continuous elevations, holes, shuffled order and vertex order.
#pragma once

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "contour/ContourTracer.h"
#include "tin/Triangle.h"

namespace tz::terrain::testing {

struct GridOptions {
    int columns = 8, rows = 8;
    double spacing = 1.0;
    double originX = 0, originY = 0;
    double jitter = 0;            // plan jitter of inner vertices, in spacings (< 0.5)
    double zLow = 0, zHigh = 10;  // elevation range
    double zStep = 0;             // > 0: elevations are multiples of this (exact levels, flat areas)
    double flatShare = 0;         // share of vertices copying a neighbour's elevation
    double holeShare = 0;         // share of triangles dropped
    bool shuffle = false;         // random triangle order
    bool rotateVertices = false;  // random vertex rotation and winding
    double duplicateShare = 0;    // share of triangles listed twice
};

// A conforming triangulation of a jittered grid (each cell split by a random
// diagonal), optionally with holes, shuffled, re-wound and duplicated.
std::vector<Triangle> gridTin(const GridOptions& options, std::mt19937_64& random);

// A cone: apex (0, 0, height) over a ring of `sides` base points at radius
// `radius`, elevation 0.
std::vector<Triangle> coneTin(int sides, double radius, double height);

// Every coordinate, %.17g; chains one per line with their kind.
std::string describe(const std::vector<ContourChain>& chains);

// True when both lists hold the same chains with bit-identical coordinates
// (the sign of zero included) and the same kind.
bool identical(const std::vector<ContourChain>& a, const std::vector<ContourChain>& b);
bool identicalPoints(const std::vector<Point3>& a, const std::vector<Point3>& b);

}  // namespace tz::terrain::testing
