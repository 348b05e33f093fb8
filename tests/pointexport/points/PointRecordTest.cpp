#include "points/PointRecord.h"

#include <gtest/gtest.h>

#include <random>

using namespace tz::pointexport;

TEST(PointNumber, ReadsLeadingDigitsWithSign) {
    EXPECT_EQ(parsePointNumber(L"4"), 4);
    EXPECT_EQ(parsePointNumber(L"  -17"), -17);
    EXPECT_EQ(parsePointNumber(L"+8"), 8);
    EXPECT_EQ(parsePointNumber(L"12A"), 12);
    EXPECT_EQ(parsePointNumber(L"0"), 0);
    EXPECT_EQ(parsePointNumber(L"abc"), 0);
    EXPECT_EQ(parsePointNumber(L""), 0);
    EXPECT_EQ(parsePointNumber(L"99999999999999999999"), INT32_MAX);
    EXPECT_EQ(parsePointNumber(L"-99999999999999999999"), INT32_MIN);
}

TEST(PointName, PrefixedAndCutTo32Characters) {
    EXPECT_EQ(pointName(L"4"), L"TZ4");
    EXPECT_EQ(pointName(L"abc"), L"TZabc");
    EXPECT_EQ(pointName(std::wstring(100, L'9')).size(), 32u);
}

TEST(Description, CutTo510Characters) {
    EXPECT_EQ(recordDescription(std::wstring(600, L'd')).size(), 510u);
    EXPECT_EQ(recordDescription(L"IP"), L"IP");
}

// The neighbour-exchange sort of the exports, kept literally as the oracle.
std::vector<PointRecord> exchangeSorted(std::vector<PointRecord> records) {
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (size_t i = 0; i + 1 < records.size(); ++i) {
            if (records[i + 1].number < records[i].number) {
                std::swap(records[i], records[i + 1]);
                swapped = true;
            }
        }
    }
    return records;
}

// The point dump's order, literally: for k = 1, 2, ... every record numbered k.
std::vector<PointRecord> countedOrder(const std::vector<PointRecord>& records) {
    std::vector<PointRecord> out;
    for (int32_t k = 1; out.size() < records.size(); ++k) {
        for (const auto& r : records) {
            if (r.number == k) out.push_back(r);
        }
    }
    return out;
}

TEST(SortByNumber, MatchesTheNeighbourExchangeSortAndTheCountedOrder) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<PointRecord> records;
        const int n = static_cast<int>(random() % 40);
        for (int i = 0; i < n; ++i) {
            PointRecord r;
            r.number = static_cast<int32_t>(1 + random() % 15);  // many equal numbers
            r.easting = i;  // identifies the record
            records.push_back(r);
        }
        std::vector<PointRecord> sorted = records;
        sortByNumber(sorted);
        const auto oracle = exchangeSorted(records);
        const auto counted = countedOrder(records);
        ASSERT_EQ(sorted.size(), oracle.size());
        for (size_t i = 0; i < sorted.size(); ++i) {
            EXPECT_EQ(sorted[i].easting, oracle[i].easting);
            EXPECT_EQ(sorted[i].easting, counted[i].easting);
        }
    }
}

TEST(SortByNumber, NumbersBelowOneComeFirstAndTheWritingEnds) {
    std::vector<PointRecord> records;
    for (const int32_t number : {5, 0, -3, 1, 0}) records.push_back({number, 0, 0, 0, L""});
    records[1].easting = 1;
    records[4].easting = 4;
    sortByNumber(records);
    EXPECT_EQ(records[0].number, -3);
    EXPECT_EQ(records[1].number, 0);
    EXPECT_EQ(records[1].easting, 1);
    EXPECT_EQ(records[2].easting, 4);
    EXPECT_EQ(records[3].number, 1);
    EXPECT_EQ(records[4].number, 5);
}
