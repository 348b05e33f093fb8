#include "points/PointPreparation.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "FileSystem.h"
#include "points/PointCompare.h"
#include "tin/NumberText.h"
#include "tin/ParallelNumberReader.h"

#ifdef _WIN32
#include <process.h>
#define TZ_PROCESS_ID _getpid
#else
#include <unistd.h>
#define TZ_PROCESS_ID getpid
#endif

namespace tz::terrain {
namespace {

void closeFile(std::FILE*& file) {
    if (file != nullptr) std::fclose(file);
    file = nullptr;
}

bool readPoint(NumberReader& reader, Point3& point) {
    double values[3];
    if (!reader.readNumbers(values, 3)) return false;
    point = {values[0], values[1], values[2]};
    return true;
}

double elevationBound(const std::wstring& text) { return std::wcstod(text.c_str(), nullptr); }

// Every file handle of the preparation, closed on every way out.
struct PreparationFiles {
    std::FILE* points = nullptr;
    std::FILE* first = nullptr;
    std::FILE* second = nullptr;
    ~PreparationFiles() {
        closeFile(points);
        closeFile(first);
        closeFile(second);
    }
};

int fail(StageReporter& reporter, const char* message) {
    reporter.alert(message);
    return kStatusError;
}

}  // namespace

SortWorkFiles sortWorkFiles() {
    const std::string folder = tz::platform::tempFolder();
    std::string tag = "-";
    tag += std::to_string(static_cast<long long>(TZ_PROCESS_ID()));
    return {folder + "\\sortwk1" + tag + ".txt", folder + "\\sortwk2" + tag + ".txt"};
}

void removeSortWorkFiles(const SortWorkFiles& files) {
    tz::platform::deleteFile(files.first);
    tz::platform::deleteFile(files.second);
}

std::optional<ElevationRange> elevationRangeOf(const std::string& pointFile) {
    std::FILE* file = tz::platform::openFile(pointFile, "rb");
    if (file == nullptr) return std::nullopt;
    ElevationRange range;
    readRecordsInParallel(file, 3, [&](const double* p) {
        if (range.points == 0 || p[2] < range.minimum) range.minimum = p[2];
        if (range.points == 0 || p[2] > range.maximum) range.maximum = p[2];
        ++range.points;
        return true;
    });
    std::fclose(file);
    return range;
}

int preparePoints(const std::string& pointFile, const std::wstring& minimumText,
                  const std::wstring& maximumText, bool useElevationRange, const SortWorkFiles& work,
                  StageReporter& reporter) {
    PreparationFiles files;
    files.points = tz::platform::openFile(pointFile, "rb");
    if (files.points == nullptr)
        return fail(reporter, "Could not open point file for reading.  Command terminates.\n");
    files.first = tz::platform::openFile(work.first, "w");
    if (files.first == nullptr)
        return fail(reporter, "Could not open sort work file #1 for output.  Command terminates.\n");
    files.second = tz::platform::openFile(work.second, "w");
    if (files.second == nullptr)
        return fail(reporter, "Could not open sorted point file for output.  Command terminates.\n");

    // The whole point set, in file order; reading ends at the end of the file
    // or at the first text that is not a number.
    std::vector<Point3> points;
    readRecordsInParallel(files.points, 3, [&](const double* p) {
        points.push_back({p[0], p[1], p[2]});
        return true;
    });
    if (points.empty()) return fail(reporter, "Point file holds no points.  Command terminates.\n");

    PointExtent extent{points.front(), points.front()};
    for (const Point3& p : points) {
        extent.min.x = std::min(extent.min.x, p.x);
        extent.min.y = std::min(extent.min.y, p.y);
        extent.min.z = std::min(extent.min.z, p.z);
        extent.max.x = std::max(extent.max.x, p.x);
        extent.max.y = std::max(extent.max.y, p.y);
        extent.max.z = std::max(extent.max.z, p.z);
    }

    // Point 1 goes through the first work file on its own.
    {
        FixedWriter writer(files.first);
        writer.line3(points[0].x, points[0].y, points[0].z);
    }
    closeFile(files.first);
    reporter.print("Optimizing\n");

    if (points.size() > 1) {
        // Points 2 to N, sorted stably by (x, y, z): a stable sort has only one
        // possible result, so the library's serves for a top-down merge sort.
        std::vector<Point3> sorted(points.begin() + 1, points.end());
        points.clear();
        points.shrink_to_fit();
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const Point3& a, const Point3& b) { return comparePointXYZ(a, b) < 0; });

        files.first = tz::platform::openFile(work.first, "rb");
        if (files.first == nullptr)
            return fail(reporter, "Could not open sort work file #1 for reading.  Command terminates.\n");
        Point3 firstPoint;
        bool haveFirst = false;
        {
            NumberReader reader(files.first);
            haveFirst = readPoint(reader, firstPoint);
        }
        closeFile(files.first);

        // Merge point 1 (as written, six decimals) into the sorted points by
        // plan position, the work file's record first on equal plan position,
        // and filter by elevation. What went through the second work file
        // and back is done here on the values that text would hold, so the
        // points are written once, into the first work file.
        const double minimum = elevationBound(minimumText);
        const double maximum = elevationBound(maximumText);
        auto keep = [&](const Point3& p) { return !useElevationRange || (minimum <= p.z && p.z <= maximum); };
        std::vector<Point3> merged;
        merged.reserve(sorted.size() + 1);
        size_t next = 0;
        while (haveFirst || next < sorted.size()) {
            if (haveFirst && (next == sorted.size() || comparePointXY(firstPoint, sorted[next]) <= 0)) {
                if (keep(firstPoint)) merged.push_back(firstPoint);
                haveFirst = false;
            } else {
                const Point3& p = sorted[next++];
                const Point3 written{roundedAsWritten(p.x), roundedAsWritten(p.y), roundedAsWritten(p.z)};
                if (keep(written)) merged.push_back(written);
            }
        }
        sorted.clear();
        sorted.shrink_to_fit();

        files.first = tz::platform::openFile(work.first, "w");
        if (files.first == nullptr)
            return fail(reporter, "Could not open sort work file #1 for output.  Command terminates.\n");
        {
            FixedWriter writer(files.first);
            for (const Point3& p : merged) writer.line3(p.x, p.y, p.z);
        }
        closeFile(files.first);
    }

    closeFile(files.points);
    closeFile(files.second);
    if (writeSortedPointFile(extent, work, reporter) != kStageDone)
        return fail(reporter, "Error eliminating duplicate points.  Command terminates.\n");
    return kStatusSuccess;
}

int writeSortedPointFile(const PointExtent& extent, const SortWorkFiles& work, StageReporter& reporter) {
    std::FILE* input = tz::platform::openFile(work.first, "rb");
    if (input == nullptr)
        return fail(reporter, "Could not open sort work file #1 file for reading.  Command terminates.\n");
    std::FILE* output = tz::platform::openFile(work.second, "w");
    if (output == nullptr) {
        std::fclose(input);
        return fail(reporter, "Could not open sorted point file for writing.  Program will abend.\n");
    }
    {
        FixedWriter writer(output);
        writer.line3(extent.min.x, extent.min.y, extent.min.z);
        writer.line3(extent.max.x, extent.max.y, extent.max.z);
        // Of a run of equal plan positions only the first survives.
        Point3 previous;
        bool first = true;
        readRecordsInParallel(input, 3, [&](const double* p) {
            const Point3 current{p[0], p[1], p[2]};
            if (first || comparePointXY(previous, current) != 0) writer.line3(current.x, current.y, current.z);
            previous = current;
            first = false;
            return true;
        });
    }
    std::fclose(input);
    std::fclose(output);
    return kStageDone;
}

}  // namespace tz::terrain
