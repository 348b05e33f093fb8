// The profile cutter exactly as its procedure reads, step by step, with no
// index and no hashing: edges loaded with a linear search for duplicates,
// every chord tested against every edge, samples ordered by exchanging
// neighbours. The tests compare the production cutter with it byte for byte.
#pragma once

#include <string>
#include <vector>

#include "profile/Alignment.h"
#include "profile/Edge.h"

namespace tz::test {

using tz::terrain::profile::Alignment;
using tz::terrain::profile::Edge;

// Reads six numbers at a time with fscanf until the end of the text; a
// record is used when all six were read; each is stored unless equal
// (either direction) to one already stored.
std::vector<Edge> literalEdgesFromEdgeFile(const std::string& text);

// Reads nine numbers at a time; each triangle's edges P1-P2, P2-P3, P3-P1 are
// compared with the edges stored before this triangle.
std::vector<Edge> literalEdgesFromTin(const std::string& text);

// The whole cut: walk, crossings, elevations, sort, "%lf %lf\n" lines.
// Empty when no crossing was found.
std::string literalProfile(const std::vector<Edge>& edges, const Alignment& alignment, double startStation);

}  // namespace tz::test
