// Turns the project's point file into the sorted point file that the
// triangulation reads: the extent of the raw data as a two-line header,
// then the points in ascending (x, y, z) order, rounded to six decimals,
// optionally limited to an elevation range, one point per plan position
// (the lowest elevation, except that the file's first point always wins
// its plan position).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "tin/SortedPoints.h"
#include "tin/StageReporter.h"
#include "tin/Triangle.h"

namespace tz::terrain {

// The two sort work files. The second one ends up as the sorted point file.
struct SortWorkFiles {
    std::string first;   // "sortwk1"
    std::string second;  // "sortwk2"
};

// Work file names in the work folder (TEMP, then TMPDIR, then the system's
// temporary folder), made unique to this process so that two sessions
// running at once do not write into each other's files.
SortWorkFiles sortWorkFiles();

// Deletes both work files (missing ones are no error).
void removeSortWorkFiles(const SortWorkFiles& files);

// Extent of the raw point data.
struct PointExtent {
    Point3 min;
    Point3 max;
};

// The points of a point file in file order, as reading it gives them
// (reading ends at text that is not a number), and the stamp the file had
// when it was read. Read once for the triangulate dialog's proposal, they
// spare the preparation reading the file again while it is unchanged.
struct PointFileRead {
    std::optional<tz::platform::FileStamp> stamp;  // none: the file is always read again
    std::vector<Point3> points;
    bool stoppedAtText = false;  // reading ended at text that is not a number
};
// None when the file cannot be opened.
std::optional<PointFileRead> readPointFile(const std::string& pointFile);

// The lowest and highest elevation of the points, as the triangulate dialog
// proposes them; `points` is 0 (and the range 0 to 0) when there is none.
struct ElevationRange {
    double minimum = 0;
    double maximum = 0;
    size_t points = 0;
};
ElevationRange elevationRangeOf(const std::vector<Point3>& points);

// Prepares the sorted point file in `work.second`. `minimumText` and
// `maximumText` are the elevation range texts of the triangulate dialog,
// read as wcstod reads them; the range (both ends included) applies only
// when `useElevationRange` is set. Returns kStatusSuccess, or kStatusError
// after an alert. A file that holds no point at all is refused, and so is a
// work file that could not be written whole. `sorted`, when given, receives
// what the sorted point file holds, as reading it back would give it.
// `read`, when given, is what an earlier reading of the point file gave; its
// points are taken over (and `read` emptied) when the file still has the
// stamp it had then, else the file is read again.
int preparePoints(const std::string& pointFile, const std::wstring& minimumText,
                  const std::wstring& maximumText, bool useElevationRange, const SortWorkFiles& work,
                  StageReporter& reporter, SortedPoints* sorted = nullptr, PointFileRead* read = nullptr);

// Last step of the preparation: writes the header of `extent` and the
// points of `work.first` without plan duplicates into `work.second`.
// Returns kStageDone, or kStatusError after an alert.
int writeSortedPointFile(const PointExtent& extent, const SortWorkFiles& work, StageReporter& reporter);

}  // namespace tz::terrain
