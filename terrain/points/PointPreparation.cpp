#include "points/PointPreparation.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <future>
#include <string>
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

// The points of an open point file, in file order; `stoppedAtText`, when
// given, tells whether reading ended at text that is not a number.
std::vector<Point3> readPoints(std::FILE* file, bool* stoppedAtText = nullptr) {
    std::vector<Point3> points;
    const RecordsEnd end = readRecordsInParallel(file, 3, [&](const double* p) {
        points.push_back({p[0], p[1], p[2]});
        return true;
    });
    if (stoppedAtText != nullptr) *stoppedAtText = !end.toTheEnd;
    return points;
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

// Below this many points one thread sorts and formats alone.
constexpr size_t kSplitFrom = size_t{1} << 14;

bool beforeInXYZ(const Point3& a, const Point3& b) { return comparePointXYZ(a, b) < 0; }

// Sorts stably by (x, y, z): each half on a thread of its own, then one
// stable merge. A stable sort has only one possible result, the one a
// top-down merge sort gives.
void sortStably(std::vector<Point3>& points) {
    if (points.size() < kSplitFrom) {
        std::stable_sort(points.begin(), points.end(), beforeInXYZ);
        return;
    }
    const auto middle = points.begin() + static_cast<std::ptrdiff_t>(points.size() / 2);
    auto firstHalf = std::async(std::launch::async, [&] { std::stable_sort(points.begin(), middle, beforeInXYZ); });
    std::stable_sort(middle, points.end(), beforeInXYZ);
    firstHalf.get();
    std::inplace_merge(points.begin(), middle, points.end(), beforeInXYZ);
}

// The lines of every point, in two pieces formatted at once.
struct PointLines {
    std::string pieces[2];
};

PointLines formatLines(const std::vector<Point3>& points) {
    auto format = [&](size_t from, size_t to, std::string& out) {
        out.reserve((to - from) * 40);
        for (size_t i = from; i < to; ++i) appendLine3(out, points[i].x, points[i].y, points[i].z);
    };
    PointLines lines;
    if (points.size() < kSplitFrom) {
        format(0, points.size(), lines.pieces[0]);
        return lines;
    }
    const size_t middle = points.size() / 2;
    auto first = std::async(std::launch::async, [&] { format(0, middle, lines.pieces[0]); });
    format(middle, points.size(), lines.pieces[1]);
    first.get();
    return lines;
}

// Handed to the file a block at a time: the text layer turns each block
// it is given into a copy of its own, which stays warm in the cache when
// it is small.
bool writeText(std::FILE* file, const char* text, size_t size) {
    constexpr size_t kBlock = size_t{1} << 18;
    for (size_t done = 0; done < size; done += kBlock) {
        const size_t part = std::min(kBlock, size - done);
        if (std::fwrite(text + done, 1, part, file) != part) return false;
    }
    return true;
}

// Writes the lines of the points that `keep` selects (by index), whole runs at a time.
bool writeLines(std::FILE* file, const PointLines& lines, const std::vector<bool>& keep) {
    size_t point = 0;
    for (const std::string& piece : lines.pieces) {
        const char* run = piece.data();
        const char* end = piece.data() + piece.size();
        for (const char* line = run; line != end; ++point) {
            const char* next = static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line))) + 1;
            if (!keep[point]) {
                if (!writeText(file, run, static_cast<size_t>(line - run))) return false;
                run = next;
            }
            line = next;
        }
        if (!writeText(file, run, static_cast<size_t>(end - run))) return false;
    }
    return true;
}

// Writes out and closes `file`; false when anything written was lost.
bool finish(std::FILE*& file) {
    const bool flushed = std::fflush(file) == 0 && std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    return flushed && closed;
}

// The sorted point file: the header of `extent`, then the lines of `merged`
// (the points in order, as the first work file holds them) but for the
// later ones of each run of equal plan positions. `sorted`, when given,
// receives the same as values.
bool writeSortedPoints(std::FILE* output, const PointExtent& extent, const std::vector<Point3>& merged,
                       const PointLines& lines, SortedPoints* sorted) {
    std::string header;
    appendLine3(header, extent.min.x, extent.min.y, extent.min.z);
    appendLine3(header, extent.max.x, extent.max.y, extent.max.z);
    std::vector<bool> first(merged.size());
    for (size_t i = 0; i < merged.size(); ++i) first[i] = i == 0 || comparePointXY(merged[i - 1], merged[i]) != 0;
    if (sorted != nullptr) {
        sorted->min = {roundedAsWritten(extent.min.x), roundedAsWritten(extent.min.y), roundedAsWritten(extent.min.z)};
        sorted->max = {roundedAsWritten(extent.max.x), roundedAsWritten(extent.max.y), roundedAsWritten(extent.max.z)};
        sorted->points.clear();
        for (size_t i = 0; i < merged.size(); ++i) {
            if (first[i]) sorted->points.push_back(merged[i]);
        }
    }
    return writeText(output, header.data(), header.size()) && writeLines(output, lines, first);
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

std::optional<PointFileRead> readPointFile(const std::string& pointFile) {
    const std::optional<tz::platform::FileStamp> stamp = tz::platform::fileStamp(pointFile);
    std::FILE* file = tz::platform::openFile(pointFile, "rb");
    if (file == nullptr) return std::nullopt;
    PointFileRead read;
    read.stamp = stamp;
    read.points = readPoints(file, &read.stoppedAtText);
    std::fclose(file);
    return read;
}

ElevationRange elevationRangeOf(const std::vector<Point3>& points) {
    ElevationRange range;
    for (const Point3& p : points) {
        if (range.points == 0 || p.z < range.minimum) range.minimum = p.z;
        if (range.points == 0 || p.z > range.maximum) range.maximum = p.z;
        ++range.points;
    }
    return range;
}

int preparePoints(const std::string& pointFile, const std::wstring& minimumText,
                  const std::wstring& maximumText, bool useElevationRange, const SortWorkFiles& work,
                  StageReporter& reporter, SortedPoints* sorted, PointFileRead* read) {
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
    bool stoppedAtText = false;
    if (read != nullptr && read->stamp && tz::platform::fileStamp(pointFile) == read->stamp) {
        points = std::move(read->points);
        read->points.clear();
        stoppedAtText = read->stoppedAtText;
    } else {
        points = readPoints(files.points, &stoppedAtText);
    }
    closeFile(files.points);
    // A survey cut short by one bad line would otherwise give a TIN of its
    // first part without a word.
    if (stoppedAtText) {
        reporter.print("\nDTM: " + pointFile + " holds text that is not a number after " +
                       std::to_string(points.size()) + (points.size() == 1 ? " point" : " points") +
                       "; reading stops there.\n");
    }
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

    // What the first work file holds at the end, as its text reads back.
    std::vector<Point3> merged;
    const bool rewriteFirst = points.size() > 1;
    if (!rewriteFirst) {
        merged.push_back({roundedAsWritten(points[0].x), roundedAsWritten(points[0].y), roundedAsWritten(points[0].z)});
    } else {
        // Points 2 to N, sorted stably by (x, y, z).
        std::vector<Point3> rest(points.begin() + 1, points.end());
        points.clear();
        points.shrink_to_fit();
        sortStably(rest);

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
        // points are formatted once, for both files.
        const double minimum = elevationBound(minimumText);
        const double maximum = elevationBound(maximumText);
        auto keep = [&](const Point3& p) { return !useElevationRange || (minimum <= p.z && p.z <= maximum); };
        merged.reserve(rest.size() + 1);
        size_t next = 0;
        while (haveFirst || next < rest.size()) {
            if (haveFirst && (next == rest.size() || comparePointXY(firstPoint, rest[next]) <= 0)) {
                if (keep(firstPoint)) merged.push_back(firstPoint);
                haveFirst = false;
            } else {
                const Point3& p = rest[next++];
                const Point3 written{roundedAsWritten(p.x), roundedAsWritten(p.y), roundedAsWritten(p.z)};
                if (keep(written)) merged.push_back(written);
            }
        }
    }

    const PointLines lines = formatLines(merged);
    // The two files are written at once: most of the time goes to the system
    // copying the text into fresh file pages, which both cores can do.
    std::future<bool> firstWritten;
    if (rewriteFirst) {
        files.first = tz::platform::openFile(work.first, "w");
        if (files.first == nullptr)
            return fail(reporter, "Could not open sort work file #1 for output.  Command terminates.\n");
        firstWritten = std::async(std::launch::async, [&] {
            const bool written = writeText(files.first, lines.pieces[0].data(), lines.pieces[0].size()) &&
                                 writeText(files.first, lines.pieces[1].data(), lines.pieces[1].size());
            return finish(files.first) && written;
        });
    }
    const bool written = writeSortedPoints(files.second, extent, merged, lines, sorted);
    const bool secondWritten = finish(files.second) && written;
    if ((rewriteFirst && !firstWritten.get()) || !secondWritten)
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
    const std::vector<Point3> merged = readPoints(input);
    std::fclose(input);
    const bool written = writeSortedPoints(output, extent, merged, formatLines(merged), nullptr);
    if (!finish(output) || !written)
        return fail(reporter, "Error writing sorted point file.  Command terminates.\n");
    return kStageDone;
}

}  // namespace tz::terrain
