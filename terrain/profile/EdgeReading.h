// Loading the profile cutter's edge list from an edge file ("tztin.asc":
// six numbers x1 y1 z1 x2 y2 z2 per edge) or from a TIN file (nine numbers
// per triangle). Numbers are separated by any white space; line breaks carry
// no meaning. Only complete records are used.
#pragma once

#include <cstddef>
#include <cstdio>
#include <istream>

#include "EdgeList.h"
#include "TextScanner.h"

namespace tz::terrain::profile {

struct EdgeLoad {
    EdgeList edges;
    std::size_t recordsRead = 0;  // complete records met, duplicates included
    // Reading stopped at text that is not a number (or at an incomplete
    // record followed by such text) before the end of the file; what came
    // before it is loaded.
    bool stoppedAtUnreadableText = false;
};

// Edge file: each record is stored unless an equal edge (all six numbers, in
// either direction) is already stored.
EdgeLoad readEdgeFile(TextScanner& in);
EdgeLoad readEdgeFile(std::istream& in);
EdgeLoad readEdgeFile(std::FILE* file);  // from where it stands, the numbers read on two threads

// TIN file: each triangle gives its edges P1-P2, P2-P3, P3-P1, each stored
// unless an equal edge was stored before this triangle.
EdgeLoad readTinEdges(TextScanner& in);
EdgeLoad readTinEdges(std::istream& in);
EdgeLoad readTinEdges(std::FILE* file);  // from where it stands, the numbers read on two threads

}  // namespace tz::terrain::profile
