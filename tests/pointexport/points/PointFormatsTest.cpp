#include "points/PointFormats.h"

#include <gtest/gtest.h>

using namespace tz::pointexport;

TEST(PointFile, CommaAndBlankForms) {
    const PointRecord cp{4, 100, 200, 10.5, L"CP"};
    EXPECT_EQ(pointFileLine(cp, ColumnOrder::NumberEastingNorthing, true), "4,100.000000,200.000000,10.500000,CP\n");
    EXPECT_EQ(pointFileLine(cp, ColumnOrder::NumberNorthingEasting, false), "4 200.000000 100.000000 10.500000 CP\n");
    EXPECT_EQ(pointFileLine(cp, ColumnOrder::CoordinatesOnly, true), "100.000000,200.000000,10.500000\n");
    EXPECT_EQ(pointFileLine(cp, ColumnOrder::CoordinatesOnly, false), "100.000000 200.000000 10.500000\n");
    // An empty description leaves the line ending in the separator; a comma in it stays.
    EXPECT_EQ(pointFileLine({7, 1, 2, 3, L""}, ColumnOrder::NumberEastingNorthing, true),
              "7,1.000000,2.000000,3.000000,\n");
    EXPECT_EQ(pointFileLine({7, 1, 2, 3, L"a,b"}, ColumnOrder::NumberEastingNorthing, true),
              "7,1.000000,2.000000,3.000000,a,b\n");
}

TEST(PointFile, ADescriptionOfSeveralLinesStaysOnItsPointsLine) {
    // An attribute of two lines must not start a line that reads as a point.
    const PointRecord twoLines{9, 1, 2, 3, L"MH\n99 5.0 6.0 7.0 FAKE\r\nX"};
    EXPECT_EQ(pointFileLine(twoLines, ColumnOrder::NumberEastingNorthing, false),
              "9 1.000000 2.000000 3.000000 MH 99 5.0 6.0 7.0 FAKE  X\n");
    const std::string line = nodeListLine(twoLines, true);
    EXPECT_EQ(line.find('\n', 1), std::string::npos);
    EXPECT_EQ(line.find('\r'), std::string::npos);
    EXPECT_NE(line.find("MH 99 5.0 6.0 7.0 FAKE  X"), std::string::npos);
}

TEST(NodeList, HeaderColumns) {
    const std::string header = nodeListHeader(false);
    const std::string first = header.substr(0, header.find('\n'));
    EXPECT_EQ(first.find("NORTHING"), 14u);
    EXPECT_EQ(first.find("EASTING"), 37u);
    EXPECT_EQ(first.find("ELEVATION"), 58u);
    EXPECT_EQ(first.find("DESCRIPTION"), 75u);
    const std::string dashes = header.substr(header.find('\n') + 1);
    EXPECT_EQ(dashes, "----------    -------------------    -------------------  --------------   -----------\n");
    const std::string eastingFirst = nodeListHeader(true);
    EXPECT_EQ(eastingFirst.find("EASTING"), 14u);
    EXPECT_EQ(eastingFirst.find("NORTHING"), 37u);
}

TEST(NodeList, TheExampleLine) {
    const std::string line = nodeListLine({12, 10000.5, 5000.25, 101.3, L"IP"}, false);
    ASSERT_EQ(line[0], '\n');
    const std::string text = line.substr(1);
    EXPECT_EQ(text.substr(0, 10), "        12");
    EXPECT_EQ(text.find("5000.250000") + 11 - 1, 32u);
    EXPECT_EQ(text.find("10000.500000") + 12 - 1, 55u);
    EXPECT_EQ(text.find("101.300000") + 10 - 1, 71u);
    EXPECT_EQ(text.find("IP"), 76u);
    EXPECT_EQ(text.substr(72, 4), "    ");
}

TEST(NodeList, SixAndSevenDigitCoordinatesEndUnderTheDashes) {
    // listnode2: easting first.
    const std::string text = nodeListLine({3, 512345.678, 4012345.5, 250.0, L""}, true).substr(1);
    EXPECT_EQ(text.find("512345.678000") + 13 - 1, 32u);
    EXPECT_EQ(text.find("4012345.500000") + 14 - 1, 55u);
}

TEST(NodeList, NegativeElevationSitsOneFurtherRight) {
    const std::string positive = nodeListLine({1, 10, 10, 2.5, L""}, false).substr(1);
    const std::string negative = nodeListLine({1, 10, 10, -2.5, L""}, false).substr(1);
    EXPECT_EQ(positive.find("2.500000") + 8 - 1, 71u);
    EXPECT_EQ(negative.find("-2.500000") + 9 - 1, 72u);
}

TEST(NodeList, Paddings) {
    EXPECT_EQ(numberPadding(5), 9);
    EXPECT_EQ(numberPadding(10), 8);
    EXPECT_EQ(numberPadding(99999999), 2);
    EXPECT_EQ(numberPadding(100000000), 1);
    EXPECT_EQ(numberPadding(2147483647), 1);
    EXPECT_EQ(numberPadding(-4), 9);
    EXPECT_EQ(coordinatePadding(9.99), 15);
    EXPECT_EQ(coordinatePadding(10), 14);
    EXPECT_EQ(coordinatePadding(0.5), 15);
    EXPECT_EQ(coordinatePadding(-100), 15);
    EXPECT_EQ(coordinatePadding(99999999999999.0), 2);
    EXPECT_EQ(coordinatePadding(1e14), 1);
    EXPECT_EQ(elevationPadding(9), 8);
    EXPECT_EQ(elevationPadding(1e7), 1);
    EXPECT_EQ(elevationPadding(9999999), 2);
}

TEST(PointDump, FourDecimals) {
    EXPECT_EQ(pointDumpLine({1, 10, 100, 1, L""}), "10.0000 100.0000 1.0000\n");
    EXPECT_EQ(pointDumpLine({1, -0.00004, 2.00006, 3, L""}), "-0.0000 2.0001 3.0000\n");
}
