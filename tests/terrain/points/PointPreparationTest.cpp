// Point preparation on files: order, duplicates, rounding, the elevation
// range, the first point's rule, and every failure.
#include "points/PointPreparation.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

#include "TinTestSupport.h"
#include "points/PointCompare.h"
#include "tin/NumberText.h"
#include "tin/ParallelNumberReader.h"
#include "tin/Triangulation.h"

namespace tz::terrain {
namespace {

class Preparation : public ::testing::Test {
protected:
    std::string prepare(const std::string& pointText, bool useRange = false, const std::wstring& minimum = L"0",
                        const std::wstring& maximum = L"0", SortedPoints* sorted = nullptr) {
        testing::writeWholeFile(folder.path("site.dat"), pointText);
        status = preparePoints(folder.path("site.dat"), minimum, maximum, useRange, work, reporter, sorted);
        return testing::readWholeFile(work.second);
    }

    void expectLiteralMergeSort(int count);

    testing::ScratchFolder folder;
    SortWorkFiles work{folder.path("sortwk1.txt"), folder.path("sortwk2.txt")};
    testing::RecordingReporter reporter;
    int status = 0;
};

TEST_F(Preparation, SortsRemovesDuplicatesAndWritesTheHeader) {
    const std::string out = prepare("5 5 1\n3 4 12\n3 4 10\n1 9 2\n3 2 7\n");
    EXPECT_EQ(status, kStatusSuccess);
    EXPECT_EQ(out, testing::crlf("1.000000 2.000000 1.000000\n5.000000 9.000000 12.000000\n"
                        "1.000000 9.000000 2.000000\n3.000000 2.000000 7.000000\n3.000000 4.000000 10.000000\n"
                        "5.000000 5.000000 1.000000\n"));
    EXPECT_EQ(reporter.printed, "Optimizing\n");
    EXPECT_TRUE(reporter.alerts.empty());
}

TEST_F(Preparation, SixDecimalsMakeDuplicates) {
    // Sorted on the values as read, 5.0000001 comes first; written with six
    // decimals both are 5.000000, and only the first of the two stays.
    const std::string out = prepare("0 0 0\n2 5.0000003 8\n2 5.0000001 9\n");
    EXPECT_EQ(out, testing::crlf("0.000000 0.000000 0.000000\n2.000000 5.000000 9.000000\n"
                        "0.000000 0.000000 0.000000\n2.000000 5.000000 9.000000\n"));
}

TEST_F(Preparation, ElevationRangeIncludesBothEndsAndHeaderCoversAll) {
    const std::string out =
        prepare("0 0 105\n1 1 100.000000\n2 2 110.000000\n3 3 99.99\n4 4 110.01\n", true, L"100", L"110");
    EXPECT_EQ(out, testing::crlf("0.000000 0.000000 99.990000\n4.000000 4.000000 110.010000\n"
                        "0.000000 0.000000 105.000000\n1.000000 1.000000 100.000000\n2.000000 2.000000 110.000000\n"));
}

TEST_F(Preparation, FirstPointWinsItsPlanPosition) {
    const std::string out = prepare("3 4 50\n3 4 10\n1 1 1\n");
    EXPECT_EQ(out, testing::crlf("1.000000 1.000000 1.000000\n3.000000 4.000000 50.000000\n"
                        "1.000000 1.000000 1.000000\n3.000000 4.000000 50.000000\n"));
}

TEST_F(Preparation, SinglePointIsNeitherMergedNorFiltered) {
    const std::string out = prepare("7 8 9", true, L"100", L"110");
    EXPECT_EQ(status, kStatusSuccess);
    EXPECT_EQ(out, testing::crlf("7.000000 8.000000 9.000000\n7.000000 8.000000 9.000000\n7.000000 8.000000 9.000000\n"));
}

TEST_F(Preparation, RangeExcludingEverythingLeavesTheHeader) {
    const std::string out = prepare("1 1 1\n2 2 2\n", true, L"5", L"6");
    EXPECT_EQ(out, testing::crlf("1.000000 1.000000 1.000000\n2.000000 2.000000 2.000000\n"));
}

TEST_F(Preparation, TextEndsTheDataAndLastPointNeedsNoLineEnd) {
    EXPECT_EQ(prepare("1 1 1\n2 2 2\nthree 3 3\n4 4 4\n"),
              testing::crlf("1.000000 1.000000 1.000000\n2.000000 2.000000 2.000000\n"
                   "1.000000 1.000000 1.000000\n2.000000 2.000000 2.000000\n"));
    EXPECT_EQ(prepare("1 1 1\n2 2 2"),
              testing::crlf("1.000000 1.000000 1.000000\n2.000000 2.000000 2.000000\n"
                   "1.000000 1.000000 1.000000\n2.000000 2.000000 2.000000\n"));
    EXPECT_EQ(prepare("1 1 1\n2 2 nan\n"), testing::crlf("1.000000 1.000000 1.000000\n1.000000 1.000000 1.000000\n"
                                                "1.000000 1.000000 1.000000\n"));
}

TEST_F(Preparation, MatchesALiteralMergeSortOnRandomPoints) {
    // A few thousand points are sorted and written by one thread; tens of
    // thousands are split between two.
    for (const int count : {3000, 40000}) {
        SCOPED_TRACE(count);
        expectLiteralMergeSort(count);
    }
}

void Preparation::expectLiteralMergeSort(int count) {
    std::mt19937_64 random(8);
    std::uniform_int_distribution<int> coordinate(0, 40);
    std::uniform_real_distribution<double> fine(0, 1e-6);
    std::vector<Point3> raw;
    std::string text;
    char line[200];
    for (int i = 0; i < count; ++i) {
        const Point3 p{coordinate(random) + fine(random), coordinate(random) * 0.5, coordinate(random) * 0.25};
        raw.push_back(p);
        std::snprintf(line, sizeof line, "%.9f %.9f %.9f\n", p.x, p.y, p.z);
        text += line;
    }
    const std::string out = prepare(text, true, L"1", L"9");

    // The procedure by hand: a top-down merge sort of points 2..N, point 1
    // (rounded) merged in by plan position, filtered, plan duplicates dropped.
    std::vector<Point3> parsed;
    {
        std::FILE* f = std::fopen(folder.path("site.dat").c_str(), "r");
        double v[3];
        while (std::fscanf(f, "%lf%lf%lf", &v[0], &v[1], &v[2]) == 3) parsed.push_back({v[0], v[1], v[2]});
        std::fclose(f);
    }
    auto round6 = [](double v) { return std::strtod(formatFixed(v).c_str(), nullptr); };
    std::vector<Point3> rest(parsed.begin() + 1, parsed.end());
    std::vector<Point3> scratch(rest.size());
    std::function<void(size_t, size_t)> sort = [&](size_t lo, size_t hi) {
        if (lo >= hi) return;
        const size_t mid = (lo + hi) / 2;
        sort(lo, mid);
        sort(mid + 1, hi);
        size_t i = lo, j = mid + 1, k = lo;
        while (i <= mid && j <= hi) scratch[k++] = comparePointXYZ(rest[i], rest[j]) > 0 ? rest[j++] : rest[i++];
        while (i <= mid) scratch[k++] = rest[i++];
        while (j <= hi) scratch[k++] = rest[j++];
        for (size_t m = lo; m <= hi; ++m) rest[m] = scratch[m];
    };
    sort(0, rest.size() - 1);
    const Point3 first{round6(parsed[0].x), round6(parsed[0].y), round6(parsed[0].z)};
    std::vector<Point3> merged;
    bool firstPending = true;
    for (const Point3& p : rest) {
        if (firstPending && comparePointXY(first, p) <= 0) {
            merged.push_back(first);
            firstPending = false;
        }
        merged.push_back({round6(p.x), round6(p.y), round6(p.z)});
    }
    if (firstPending) merged.push_back(first);
    std::string expected;
    double lo[3] = {parsed[0].x, parsed[0].y, parsed[0].z}, hi[3] = {lo[0], lo[1], lo[2]};
    for (const Point3& p : parsed) {
        lo[0] = std::min(lo[0], p.x), lo[1] = std::min(lo[1], p.y), lo[2] = std::min(lo[2], p.z);
        hi[0] = std::max(hi[0], p.x), hi[1] = std::max(hi[1], p.y), hi[2] = std::max(hi[2], p.z);
    }
    std::snprintf(line, sizeof line, "%lf %lf %lf\n%lf %lf %lf\n", lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]);
    expected += line;
    bool havePrevious = false;
    Point3 previous{};
    for (const Point3& p : merged) {
        if (!(1 <= p.z && p.z <= 9)) continue;
        if (!havePrevious || comparePointXY(previous, p) != 0) {
            std::snprintf(line, sizeof line, "%lf %lf %lf\n", p.x, p.y, p.z);
            expected += line;
        }
        previous = p;
        havePrevious = true;
    }
    EXPECT_EQ(out, testing::crlf(expected));
}

// Survey coordinates with more decimals than the files keep and plan
// duplicates, enough for two threads; `awkward` adds values written as
// "-0.000000" and coordinates beyond 10^12.
std::string surveyPointText(int count, bool awkward) {
    std::mt19937_64 random(21);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_real_distribution<double> unit(0, 1);
    std::string text;
    char line[200];
    for (int i = 0; i < count; ++i) {
        double x = 500000 + std::floor(unit(random) * 300) + unit(random) * 1e-3;
        double y = 4000000 + unit(random) * 300;
        double z = 100 + unit(random) * 10;
        const int which = kind(random);
        if (which == 0) {  // one of 900 plan positions
            x = 500000 + std::floor(unit(random) * 30);
            y = 4000000 + std::floor(unit(random) * 30);
        } else if (which == 1) {
            z = -unit(random) * 4e-7;
        } else if (which == 2 && awkward) {
            y = -unit(random) * 4e-7;
        } else if (which == 3 && awkward) {
            x = 3e12 + std::floor(unit(random) * 1000) / 8;
        }
        std::snprintf(line, sizeof line, "%.9f %.9f %.9f\n", x, y, z);
        text += line;
    }
    return text;
}

TEST_F(Preparation, HandsOverWhatTheSortedPointFileReadsBackAs) {
    SortedPoints sorted;
    prepare(surveyPointText(30000, true), true, L"-1", L"109", &sorted);
    ASSERT_EQ(status, kStatusSuccess);
    EXPECT_LT(sorted.points.size(), 28000u);  // duplicates and points above 109 left out
    std::vector<double> fromFile;
    std::FILE* file = std::fopen(work.second.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    readRecordsInParallel(file, 3, [&](const double* v) {
        fromFile.insert(fromFile.end(), v, v + 3);
        return true;
    });
    std::fclose(file);
    std::vector<double> handedOver = {sorted.min.x, sorted.min.y, sorted.min.z, sorted.max.x, sorted.max.y, sorted.max.z};
    for (const Point3& p : sorted.points) handedOver.insert(handedOver.end(), {p.x, p.y, p.z});
    ASSERT_EQ(handedOver.size(), fromFile.size());
    for (size_t i = 0; i < fromFile.size(); ++i) {
        ASSERT_EQ(std::bit_cast<uint64_t>(handedOver[i]), std::bit_cast<uint64_t>(fromFile[i])) << "value " << i;
    }
}

TEST_F(Preparation, TriangulationMakesTheSameFileOfWhatIsHandedOver) {
    SortedPoints sorted;
    prepare(surveyPointText(20000, false), false, L"0", L"0", &sorted);
    ASSERT_EQ(status, kStatusSuccess);
    ASSERT_EQ(buildTriangulation(folder.path("site.dat"), work.second, reporter, {}), kStageDone);
    const std::string fromTheFile = testing::readWholeFile(folder.path("site.ttin"));
    ASSERT_EQ(buildTriangulation(folder.path("site.dat"), sorted, reporter, {}), kStageDone);
    EXPECT_EQ(testing::readWholeFile(folder.path("site.ttin")), fromTheFile);
    EXPECT_GT(fromTheFile.size(), 1000u);
}

TEST_F(Preparation, WorkFilesThatCannotBeWrittenWholeStopIt) {
    if (!testing::fileExists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const SortWorkFiles full{folder.path("sortwk1.txt"), "/dev/full"};
    testing::writeWholeFile(folder.path("site.dat"), "1 1 1\n2 2 2\n3 1 3\n");
    EXPECT_EQ(preparePoints(folder.path("site.dat"), L"0", L"0", false, full, reporter), kStatusError);
    EXPECT_EQ(writeSortedPointFile({}, full, reporter), kStatusError);
    // The first work file is written beside the sorted one.
    const SortWorkFiles fullFirst{"/dev/full", folder.path("sorted.txt")};
    EXPECT_EQ(preparePoints(folder.path("site.dat"), L"0", L"0", false, fullFirst, reporter), kStatusError);
    ASSERT_EQ(reporter.alerts.size(), 3u);
    EXPECT_EQ(reporter.alerts[0], "Error eliminating duplicate points.  Command terminates.\n");
    EXPECT_EQ(reporter.alerts[1], "Error writing sorted point file.  Command terminates.\n");
    EXPECT_EQ(reporter.alerts[2], "Error eliminating duplicate points.  Command terminates.\n");
}

TEST_F(Preparation, FailuresAlertAndStop) {
    status = preparePoints(folder.path("none.dat"), L"0", L"0", false, work, reporter);
    EXPECT_EQ(status, kStatusError);
    testing::writeWholeFile(folder.path("site.dat"), "1 1 1\n");
    const SortWorkFiles nowhere{folder.path("no/such/folder/a.txt"), folder.path("b.txt")};
    EXPECT_EQ(preparePoints(folder.path("site.dat"), L"0", L"0", false, nowhere, reporter), kStatusError);
    const SortWorkFiles nowhereSecond{folder.path("a.txt"), folder.path("no/such/folder/b.txt")};
    EXPECT_EQ(preparePoints(folder.path("site.dat"), L"0", L"0", false, nowhereSecond, reporter), kStatusError);
    testing::writeWholeFile(folder.path("empty.dat"), "\n\n");
    EXPECT_EQ(preparePoints(folder.path("empty.dat"), L"0", L"0", false, work, reporter), kStatusError);
    ASSERT_EQ(reporter.alerts.size(), 4u);
    EXPECT_EQ(reporter.alerts[0], "Could not open point file for reading.  Command terminates.\n");
    EXPECT_EQ(reporter.alerts[1], "Could not open sort work file #1 for output.  Command terminates.\n");
    EXPECT_EQ(reporter.alerts[2], "Could not open sorted point file for output.  Command terminates.\n");
    EXPECT_EQ(reporter.alerts[3], "Point file holds no points.  Command terminates.\n");
}

TEST_F(Preparation, WriteSortedPointFileFailures) {
    const SortWorkFiles missing{folder.path("none.txt"), folder.path("b.txt")};
    EXPECT_EQ(writeSortedPointFile({}, missing, reporter), kStatusError);
    testing::writeWholeFile(folder.path("a.txt"), "1 1 1\n");
    const SortWorkFiles badOutput{folder.path("a.txt"), folder.path("no/such/b.txt")};
    EXPECT_EQ(writeSortedPointFile({}, badOutput, reporter), kStatusError);
    ASSERT_EQ(reporter.alerts.size(), 2u);
    EXPECT_EQ(reporter.alerts[0], "Could not open sort work file #1 file for reading.  Command terminates.\n");
    EXPECT_EQ(reporter.alerts[1], "Could not open sorted point file for writing.  Program will abend.\n");
}

TEST(ElevationRange, LowestAndHighestOfThePointFile) {
    testing::ScratchFolder folder;
    testing::writeWholeFile(folder.path("a.dat"), "1 1 5.5\n2 2 -3\n3 3 12.25\nnot 4 4\n5 5 99\n");
    const std::optional<PointFileRead> read = readPointFile(folder.path("a.dat"));
    ASSERT_TRUE(read);
    const ElevationRange range = elevationRangeOf(read->points);
    EXPECT_EQ(range.minimum, -3);
    EXPECT_EQ(range.maximum, 12.25);
    EXPECT_EQ(range.points, 3u);
    testing::writeWholeFile(folder.path("b.dat"), "");
    EXPECT_EQ(elevationRangeOf(readPointFile(folder.path("b.dat"))->points).points, 0u);
    EXPECT_FALSE(readPointFile(folder.path("none.dat")));
}

TEST_F(Preparation, TakesOverTheDialogsReadingWhileTheFileIsUnchanged) {
    std::mt19937_64 random(41);
    std::uniform_real_distribution<double> u(0, 1000);
    std::string text, changed;
    for (int i = 0; i < 20000; ++i) {
        const double x = std::floor(u(random)), y = std::floor(u(random)), z = u(random);
        text += std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z) + "\n";
        if (i % 2 == 0) changed += std::to_string(y) + " " + std::to_string(x) + " " + std::to_string(z) + "\n";
    }
    SortedPoints fresh, reused, reread;
    const std::string expected = prepare(text, false, L"0", L"0", &fresh);
    ASSERT_EQ(status, kStatusSuccess);

    // Unchanged: the points read are taken over, the same files and values result.
    std::optional<PointFileRead> read = readPointFile(folder.path("site.dat"));
    ASSERT_TRUE(read && read->stamp);
    EXPECT_EQ(preparePoints(folder.path("site.dat"), L"0", L"0", false, work, reporter, &reused, &*read),
              kStatusSuccess);
    EXPECT_TRUE(read->points.empty());  // taken over
    EXPECT_EQ(testing::readWholeFile(work.second), expected);
    ASSERT_EQ(reused.points.size(), fresh.points.size());
    EXPECT_EQ(std::memcmp(reused.points.data(), fresh.points.data(), fresh.points.size() * sizeof(Point3)), 0);

    // Written again after the reading (another size): the file is read anew.
    read = readPointFile(folder.path("site.dat"));
    const std::string expectedChanged = prepare(changed);  // writes the file anew
    EXPECT_EQ(preparePoints(folder.path("site.dat"), L"0", L"0", false, work, reporter, &reread, &*read),
              kStatusSuccess);
    EXPECT_EQ(testing::readWholeFile(work.second), expectedChanged);
    EXPECT_NE(read->points.size(), 0u);  // left alone
}

TEST(SortWorkFiles, LieInTheWorkFolderAndAreOwnedByThisProcess) {
    const std::string saved = std::getenv("TEMP") ? std::getenv("TEMP") : "";
    const bool had = std::getenv("TEMP") != nullptr;
    ::setenv("TEMP", "/some/where/", 1);
    const SortWorkFiles files = sortWorkFiles();
    EXPECT_EQ(files.first.rfind("/some/where\\sortwk1-", 0), 0u) << files.first;
    EXPECT_EQ(files.second.rfind("/some/where\\sortwk2-", 0), 0u) << files.second;
    EXPECT_NE(files.first.find(std::to_string(::getpid())), std::string::npos);
    if (had) ::setenv("TEMP", saved.c_str(), 1);
    else ::unsetenv("TEMP");
}

}  // namespace
}  // namespace tz::terrain
