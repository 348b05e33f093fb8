// A TIN file held in memory for elevation lookups: its triangles in file
// order and the x at which the containment rays end.
#pragma once

#include <cstdio>
#include <istream>
#include <vector>

#include "profile/TextScanner.h"
#include "tin/Triangle.h"

namespace tz::sections {

using tz::terrain::Triangle;
using Point3 = tz::geom::Point3;

struct TinTable {
    std::vector<Triangle> triangles;  // every complete record, in file order
    // 2 x the largest vertex x, where the largest starts from 0: right of
    // every vertex (and never negative), so a ray from any point inside the
    // TIN to rayEndX leaves it.
    double rayEndX = 0;

    std::size_t count() const { return triangles.size(); }
};

struct TinTableLoad {
    TinTable table;
    // Reading stopped at text that is not a number; the triangles before it are loaded.
    bool stoppedAtUnreadableText = false;
};

// Reads triangles of nine numbers (x1 y1 z1 x2 y2 z2 x3 y3 z3, any white
// space between) until the end of the file; a triangle counts when all nine
// numbers were read, a last line without a line break included.
TinTableLoad loadTinTable(tz::terrain::profile::TextScanner& in);
TinTableLoad loadTinTable(std::istream& in);
TinTableLoad loadTinTable(std::FILE* file);  // from where it stands, the numbers read on two threads

}  // namespace tz::sections
