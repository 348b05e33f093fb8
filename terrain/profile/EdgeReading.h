// Loading the profile cutter's edge list from an edge file ("tztin.asc":
// six numbers x1 y1 z1 x2 y2 z2 per edge) or from a TIN file (nine numbers
// per triangle). Numbers are separated by any white space; line breaks carry
// no meaning. Only complete records are used.
#pragma once

#include <cstddef>
#include <cstdio>
#include <istream>

#include "CutCorridor.h"
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
// either direction) is already stored. Only the edges that may cross a cut
// of `corridor` are stored; the records read are counted all the same.
EdgeLoad readEdgeFile(TextScanner& in, const CutCorridor& corridor = CutCorridor::everywhere());
EdgeLoad readEdgeFile(std::istream& in, const CutCorridor& corridor = CutCorridor::everywhere());
// From where the file stands, the numbers read on two threads.
EdgeLoad readEdgeFile(std::FILE* file, const CutCorridor& corridor = CutCorridor::everywhere());

// TIN file: each triangle gives its edges P1-P2, P2-P3, P3-P1, each stored
// unless an equal edge was stored before this triangle, and, as above, only
// when it may cross a cut of `corridor`.
EdgeLoad readTinEdges(TextScanner& in, const CutCorridor& corridor = CutCorridor::everywhere());
EdgeLoad readTinEdges(std::istream& in, const CutCorridor& corridor = CutCorridor::everywhere());
EdgeLoad readTinEdges(std::FILE* file, const CutCorridor& corridor = CutCorridor::everywhere());

}  // namespace tz::terrain::profile
