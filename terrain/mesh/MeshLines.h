// How a grid line of the mesh becomes 3D polylines: one piece per stretch
// where the line stays on the TIN, hung from the base elevation at both ends
// when the skirt is on; and the skirt's base line under the columns.
#pragma once

#include <optional>
#include <vector>

#include "mesh/MeshGrid.h"

namespace tz::terrain::mesh {

// The feet of a grid line: under its first point and under its last, at the
// (scaled) base elevation.
struct SkirtFeet {
    Point3 first, last;
};

// Feet of a grid line with at least one pair.
SkirtFeet skirtFeet(const std::vector<GridPair>& pairs, double base);

struct MeshVertex {
    Point3 point;
    bool skirt = false;  // a grid line's foot vertex (its failures have their own message)
};

// One polyline: the header's point and the vertices in order.
struct MeshPiece {
    Point3 start;
    std::vector<MeshVertex> vertices;
};

// The pieces of one grid line (none for an empty line). Each piece starts at
// a pair's A; a pair whose A differs in x or y from the previous pair's B
// starts a new piece. With feet, the first piece begins with the first foot
// and the last piece ends with the last foot.
std::vector<MeshPiece> gridLinePieces(const std::vector<GridPair>& pairs, const std::optional<SkirtFeet>& feet);

// The skirt's base line: from the foot under the first point of the first
// column through the foot under the first point of every column, in column
// order. `columnFeet` holds two feet per drawn column (first, last); none
// when it is empty. Its vertices are the line's own, not a grid line's feet.
std::optional<MeshPiece> skirtBaseLine(const std::vector<Point3>& columnFeet);

}  // namespace tz::terrain::mesh
