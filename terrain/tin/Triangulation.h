// The triangulation stage: the sorted point file in, the raw triangle file
// (".ttin") out.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tin/DelaunayEngine.h"
#include "tin/SortedPoints.h"
#include "tin/StageReporter.h"
#include "tin/TinFile.h"

namespace tz::terrain {

// Triangulates the sorted point file (two header lines with the extent of
// the raw data, then points ascending in x, y) into the raw triangle file
// named after `pointFile` with the extension ".ttin": the Delaunay
// triangulation of the points, each triangle clockwise, in the order of the
// sweep that built it. The user's break is asked once per point. Returns
// kStageDone, kStatusCancel (the ".ttin" file stays empty) or kStatusError
// after an alert (a file that cannot be opened or written). `written`, when
// given, tells what is known of the text written.
int buildTriangulation(const std::string& pointFile, const std::string& sortedFile, StageReporter& reporter,
                       const UserBreakTest& userBreak, TinText* written = nullptr);
// The same on the sorted point file's content in memory (what the
// preparation has just written): the file is not read again.
int buildTriangulation(const std::string& pointFile, const SortedPoints& sorted, StageReporter& reporter,
                       const UserBreakTest& userBreak, TinText* written = nullptr);

// Whether the points' extent is narrow enough for the circle tests (below
// 1e140 either way); one far-off coordinate can make it too wide.
bool extentIsWorkable(const SortedPoints& sorted);

// What streamTriangulation did.
struct StreamOutcome {
    int status = kStatusError;  // kStageDone, kStatusCancel, or kStatusError when writing failed
    TinText text = TinText::Unknown;  // what is known of the text written
    bool rewritten = false;  // the settled part handed out was void and the file was written again
};

// Inserts `points` (sorted) into `engine` (Mode::Sweep) and writes its
// result to `output`, the TIN file at `path`, while it grows: the settled
// part (DelaunayEngine::settledCount) is formatted and written on a second
// thread in chunks of at least `chunkSize` triangles, the rest at the end.
// The file is the same as writing engine.result() after the last point.
// On a user break the file is emptied (opened again: `output` changes, and
// may be null when that fails); the caller closes `output`.
StreamOutcome streamTriangulation(DelaunayEngine& engine, const std::vector<Point3>& points, std::FILE*& output,
                                  const std::string& path, const UserBreakTest& userBreak,
                                  size_t chunkSize = size_t{1} << 15);

}  // namespace tz::terrain
