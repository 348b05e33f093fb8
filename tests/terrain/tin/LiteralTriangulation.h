// The triangulation engine written as literally as the procedure reads:
// two arrays of 13-double records walked from the first for every point,
// cavity edges in a plain list compared coordinate by coordinate. It is the
// oracle the fast engine must match byte for byte. It carries the same
// mend as the engine, written independently: an insertion that would make
// a flat or counter-clockwise triangle, or lose a vertex, is decided with
// exact predicates (here CGAL's) over both lists, scanning for neighbours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tin/Triangle.h"

namespace tz::terrain::literal {

struct Record {
    double x1, y1, z1, x2, y2, z2, x3, y3, z3;
    double xc, yc, zero, r;
    uint64_t created;  // creation number: orders the exact fallback's cavity
};

struct Edge {
    Point3 a, b;
};

class LiteralTriangulation {
public:
    // `sweep`: the completion rule and the strict test; otherwise the plain
    // insertion with the inclusive test.
    LiteralTriangulation(bool sweep, const Point3 enclosing[3]);

    void insertPoint(const Point3& p);

    // Steps 5 and 6: active after completed, less the enclosing triangle's.
    std::vector<Triangle> finish() const;

    size_t exactInsertions = 0;

private:
    void appendTriangle(const Point3& a, const Point3& b, const Point3& p);
    bool acceptable(const std::vector<Edge>& edges, const std::vector<Record>& removed, const Point3& p) const;
    bool insertExactly(const Point3& p);

    bool sweep_;
    Point3 enclosing_[3];
    std::vector<Record> active_;
    std::vector<Record> completed_;
    uint64_t created_ = 0;
};

// The circumcircle by the slope formulas, with the guard against infinite
// or NaN circles.
void literalCircumcircle(Record& record);

// Edge toggling on a plain list.
void toggleEdge(const Point3& a, const Point3& b, std::vector<Edge>& edges);

// The whole engine on a prepared point set with its extent header.
std::vector<Triangle> triangulateLiterally(const double header[6], const std::vector<Point3>& points);

// The local triangulation of fault insertion (start triangle 1600 / 800,
// plain insertion), before the inside test.
std::vector<Triangle> localTriangulationLiterally(const std::vector<Point3>& points);

// Triangles formatted with the C runtime's printf, one line each.
std::string formatTin(const std::vector<Triangle>& triangles);

}  // namespace tz::terrain::literal
