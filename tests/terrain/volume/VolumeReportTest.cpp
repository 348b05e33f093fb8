#include "volume/VolumeReport.h"

#include <gtest/gtest.h>

namespace tz::terrain::volume {
namespace {

TEST(VolumeReport, FormatsEveryFieldWithSixDecimals) {
    EXPECT_EQ(volumeReport({-12.25, 3.5, -8.75}, false),
              "Cut=12.250000\tFill=3.500000\tNet=Cut 8.750000 Cubic Meters\n");
    EXPECT_EQ(volumeReport({-1, 3, 2}, true), "Cut=1.000000\tFill=3.000000\tNet=Fill 2.000000 Cubic Yards\n");
}

TEST(VolumeReport, ZeroNetSaysFill) {
    EXPECT_EQ(volumeReport({-2, 2, 0}, false), "Cut=2.000000\tFill=2.000000\tNet=Fill 0.000000 Cubic Meters\n");
    EXPECT_EQ(volumeReport({-0.0, 0, -0.0}, false), "Cut=0.000000\tFill=0.000000\tNet=Fill 0.000000 Cubic Meters\n");
}

TEST(VolumeReport, FeetBecomeCubicYards) {
    const VolumeTotals yards = inReportUnits({-54, 27, -27}, true);
    EXPECT_EQ(yards.cut, -2);
    EXPECT_EQ(yards.fill, 1);
    EXPECT_EQ(yards.net, -1);
    const VolumeTotals meters = inReportUnits({-54, 27, -27}, false);
    EXPECT_EQ(meters.cut, -54);
}

TEST(VolumeReport, HugeTotalsPrintWhole) {
    const std::string text = volumeReport({0, 1e300, 1e300}, false);
    EXPECT_EQ(text.size(), std::string("Cut=0.000000\tFill=\tNet=Fill  Cubic Meters\n").size() + 2 * 308);
}

TEST(VolumeReport, LeadingDecimalReadsThePlainNumberAtTheStart) {
    EXPECT_EQ(leadingDecimal(L"1.0000"), 1);
    EXPECT_EQ(leadingDecimal(L"  2.5m"), 2.5);
    EXPECT_EQ(leadingDecimal(L"-0.25"), -0.25);
    EXPECT_EQ(leadingDecimal(L"+3"), 3);
    EXPECT_EQ(leadingDecimal(L"1e2"), 100);
    EXPECT_EQ(leadingDecimal(L"1e"), 1);
    EXPECT_EQ(leadingDecimal(L".5"), 0.5);
    EXPECT_EQ(leadingDecimal(L"4'6\""), 4);  // feet and inches: the leading number only
    EXPECT_EQ(leadingDecimal(L""), 0);
    EXPECT_EQ(leadingDecimal(L"abc"), 0);
    EXPECT_EQ(leadingDecimal(L"."), 0);
    EXPECT_EQ(leadingDecimal(L"nan"), 0);
    EXPECT_EQ(leadingDecimal(L"inf"), 0);
    EXPECT_EQ(leadingDecimal(L"1e999"), 0);
}

}  // namespace
}  // namespace tz::terrain::volume
