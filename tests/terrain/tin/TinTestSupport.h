// Point sets and checks shared by the triangulation tests.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tin/StageReporter.h"
#include "tin/Triangle.h"

namespace tz::terrain::testing {

// Points as the preparation leaves them: coordinates rounded to six
// decimals, sorted by (x, y, z), one per plan position (the lowest z).
std::vector<Point3> prepared(const std::vector<Point3>& raw);

// The extent header of a point set: min x, y, z, max x, y, z.
void headerOf(const std::vector<Point3>& points, double header[6]);

// The fast engine on a prepared point set.
std::vector<Triangle> triangulateFast(const double header[6], const std::vector<Point3>& points,
                                      size_t* exactInsertions = nullptr);

std::vector<Point3> randomPoints(std::mt19937_64& random, size_t count, double x0, double y0, double width,
                                 double height);
std::vector<Point3> gridPoints(size_t columns, size_t rows, double spacing, double x0, double y0, double jitter,
                               std::mt19937_64* random);
std::vector<Point3> ringPoints(size_t count, double radius, double x0, double y0, size_t of);

// Signed area in plan (positive when counter-clockwise).
double signedArea(const Triangle& t);

// Area of the convex hull of the points in plan.
double hullArea(const std::vector<Point3>& points);

// What makes a valid triangulation: every triangle clockwise with non-zero
// area (exactly), every edge used at most twice and then in opposite
// directions, no two triangles overlapping. Returns an empty string or
// the first fault found.
std::string validityFault(const std::vector<Triangle>& triangles);

// True when every point is a vertex of some triangle.
bool usesEveryPoint(const std::vector<Triangle>& triangles, const std::vector<Point3>& points);

// Keeps what a stage shows, for the tests to check.
struct RecordingReporter final : StageReporter {
    std::string printed;
    std::vector<std::string> alerts;
    void print(std::string_view text) override { printed += text; }
    void alert(std::string_view text) override { alerts.emplace_back(text); }
};

// A fresh folder for one test's files, removed with its contents at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string path(const std::string& name) const;
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
};

std::string readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, const std::string& text);
bool fileExists(const std::string& path);
// `text` as a file opened for writing text holds it: each line break as CR LF.
std::string crlf(const std::string& text);

}  // namespace tz::terrain::testing
