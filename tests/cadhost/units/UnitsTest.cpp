// Distance and angle text in every unit mode: exact texts for the cases a
// user meets, and the texts that must be refused.
#include "core/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace tz::cad {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct FormatCase {
    double value;
    int mode;
    int precision;
    const char* expected;
};

std::string formatted(double value, int mode, int precision, NumberTextStyle style = {}) {
    return formatDistance(value, mode, precision, style).value_or("<none>");
}

class DistanceFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(DistanceFormat, WritesTheHostsText) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(formatted(c.value, c.mode, c.precision), c.expected)
        << c.value << " mode " << c.mode << " precision " << c.precision;
}

INSTANTIATE_TEST_SUITE_P(
    EveryMode, DistanceFormat,
    ::testing::Values(
        // The same value in the five modes.
        FormatCase{17.5, kScientific, 4, "1.7500E+01"}, FormatCase{17.5, kDecimal, 2, "17.50"},
        FormatCase{17.5, kEngineering, 2, "1'-5.50\""}, FormatCase{17.5, kArchitectural, 2, "1'-5 1/2\""},
        FormatCase{17.5, kFractional, 2, "17 1/2"},
        // Negative values carry one sign in front.
        FormatCase{-17.5, kScientific, 4, "-1.7500E+01"}, FormatCase{-17.5, kDecimal, 2, "-17.50"},
        FormatCase{-17.5, kEngineering, 2, "-1'-5.50\""}, FormatCase{-17.5, kArchitectural, 2, "-1'-5 1/2\""},
        FormatCase{-17.5, kFractional, 2, "-17 1/2"}, FormatCase{-0.5, kArchitectural, 4, "-1/2\""},
        // Zero.
        FormatCase{0, kScientific, 4, "0.0000E+00"}, FormatCase{0, kDecimal, 4, "0.0000"},
        FormatCase{0, kEngineering, 2, "0.00\""}, FormatCase{0, kArchitectural, 4, "0\""},
        FormatCase{0, kFractional, 4, "0"}, FormatCase{-0.0, kDecimal, 2, "0.00"},
        // Decimal places and rounding: ties go away from zero, a value that
        // rounds to zero has no sign, carries ripple through.
        FormatCase{101.23456, kDecimal, 2, "101.23"}, FormatCase{101.23456, kDecimal, 0, "101"},
        FormatCase{101.23456, kDecimal, 8, "101.23456000"}, FormatCase{0.125, kDecimal, 2, "0.13"},
        FormatCase{-0.125, kDecimal, 2, "-0.13"}, FormatCase{2.5, kDecimal, 0, "3"},
        FormatCase{-2.5, kDecimal, 0, "-3"}, FormatCase{-0.001, kDecimal, 2, "0.00"},
        FormatCase{9.9996, kDecimal, 3, "10.000"}, FormatCase{999.99999, kDecimal, 4, "1000.0000"},
        FormatCase{1e20, kDecimal, 2, "100000000000000000000.00"},
        FormatCase{20240315.14302512, kDecimal, 8, "20240315.14302512"},
        FormatCase{20250201.090503, kDecimal, 8, "20250201.09050300"},
        // Scientific.
        FormatCase{123.456, kScientific, 4, "1.2346E+02"}, FormatCase{123.456, kScientific, 0, "1E+02"},
        FormatCase{0.000123, kScientific, 2, "1.23E-04"}, FormatCase{9.99996, kScientific, 4, "1.0000E+01"},
        FormatCase{1e100, kScientific, 1, "1.0E+100"}, FormatCase{-1.5e-300, kScientific, 1, "-1.5E-300"},
        FormatCase{1.25, kScientific, 1, "1.3E+00"},
        // Engineering: feet and decimal inches.
        FormatCase{5.5, kEngineering, 2, "5.50\""}, FormatCase{24, kEngineering, 2, "2'"},
        FormatCase{23.999, kEngineering, 2, "2'"}, FormatCase{24.25, kEngineering, 2, "2'-0.25\""},
        FormatCase{150.125, kEngineering, 3, "12'-6.125\""}, FormatCase{17.5, kEngineering, 0, "1'-6\""},
        // Architectural: feet, inches and reduced fractions.
        FormatCase{18.5, kArchitectural, 4, "1'-6 1/2\""}, FormatCase{12, kArchitectural, 4, "1'"},
        FormatCase{6, kArchitectural, 4, "6\""}, FormatCase{0.5, kArchitectural, 4, "1/2\""},
        FormatCase{12.5, kArchitectural, 4, "1'-0 1/2\""}, FormatCase{6.0625, kArchitectural, 4, "6 1/16\""},
        FormatCase{6.0625, kArchitectural, 3, "6 1/8\""}, FormatCase{6.0625, kArchitectural, 2, "6\""},
        FormatCase{11.99, kArchitectural, 0, "1'"}, FormatCase{23.97, kArchitectural, 4, "2'"},
        FormatCase{0.03, kArchitectural, 4, "0\""}, FormatCase{1.0 / 256, kArchitectural, 8, "1/256\""},
        FormatCase{1.0 / 256, kArchitectural, 12, "1/256\""}, FormatCase{100 * 12 + 0.75, kArchitectural, 4, "100'-0 3/4\""},
        FormatCase{1e20, kArchitectural, 4, "8333333333333333333'-4\""},
        // Fractional.
        FormatCase{0.5, kFractional, 2, "1/2"}, FormatCase{3.75, kFractional, 2, "3 3/4"},
        FormatCase{3.8, kFractional, 2, "3 3/4"}, FormatCase{3.9, kFractional, 2, "4"},
        FormatCase{3.9, kFractional, 0, "4"}, FormatCase{-0.01, kFractional, 2, "0"},
        FormatCase{1e20, kFractional, 4, "100000000000000000000"}));

TEST(DistanceFormat, ZeroSuppressionOfFeetAndInches) {
    auto withZin = [](double value, int zin) {
        NumberTextStyle style;
        style.zeroSuppression = zin;
        return formatted(value, kArchitectural, 4, style);
    };
    // 0: neither zero feet nor precisely zero inches.
    EXPECT_EQ(withZin(6, 0), "6\"");
    EXPECT_EQ(withZin(12, 0), "1'");
    // 1: both.
    EXPECT_EQ(withZin(6, 1), "0'-6\"");
    EXPECT_EQ(withZin(12, 1), "1'-0\"");
    EXPECT_EQ(withZin(0.5, 1), "0'-0 1/2\"");
    EXPECT_EQ(withZin(0, 1), "0'-0\"");
    // 2: zero feet, not zero inches.
    EXPECT_EQ(withZin(6, 2), "0'-6\"");
    EXPECT_EQ(withZin(12, 2), "1'");
    EXPECT_EQ(withZin(0, 2), "0'");
    // 3: zero inches, not zero feet.
    EXPECT_EQ(withZin(6, 3), "6\"");
    EXPECT_EQ(withZin(12, 3), "1'-0\"");
    // The decimal bits leave feet and inches alone.
    EXPECT_EQ(withZin(12, 8), "1'");
}

TEST(DistanceFormat, ZeroSuppressionOfDecimals) {
    NumberTextStyle trailing{8, false}, leading{4, false}, both{12, false};
    EXPECT_EQ(formatted(12.5, kDecimal, 4, trailing), "12.5");
    EXPECT_EQ(formatted(12, kDecimal, 4, trailing), "12");
    EXPECT_EQ(formatted(0.5, kDecimal, 4, leading), ".5000");
    EXPECT_EQ(formatted(-0.5, kDecimal, 4, leading), "-.5000");
    EXPECT_EQ(formatted(0.5, kDecimal, 4, both), ".5");
    EXPECT_EQ(formatted(0, kDecimal, 4, both), "0");
    EXPECT_EQ(formatted(17.5, kScientific, 4, trailing), "1.75E+01");
    EXPECT_EQ(formatted(17.5, kEngineering, 4, trailing), "1'-5.5\"");
    EXPECT_EQ(formatted(5.5, kEngineering, 2, leading), "5.50\"");
}

TEST(DistanceFormat, AsTypedUnitMode) {
    NumberTextStyle asTyped{0, true};
    EXPECT_EQ(formatted(17.5, kEngineering, 2, asTyped), "1'5.50\"");
    EXPECT_EQ(formatted(17.5, kArchitectural, 2, asTyped), "1'5-1/2\"");
    EXPECT_EQ(formatted(17.5, kFractional, 2, asTyped), "17-1/2");
    EXPECT_EQ(formatted(17.5, kDecimal, 2, asTyped), "17.50");
}

TEST(DistanceFormat, RefusesWhatItCannotWrite) {
    EXPECT_FALSE(formatDistance(std::numeric_limits<double>::quiet_NaN(), kDecimal, 2));
    EXPECT_FALSE(formatDistance(std::numeric_limits<double>::infinity(), kArchitectural, 2));
    EXPECT_FALSE(formatDistance(-std::numeric_limits<double>::infinity(), kScientific, 2));
    EXPECT_FALSE(formatDistance(1, 0, 2));
    EXPECT_FALSE(formatDistance(1, 6, 2));
    EXPECT_FALSE(formatDistance(1, kDecimal, -1));
    EXPECT_FALSE(formatDistance(1, kDecimal, kMaxPrecision + 1));
    EXPECT_EQ(formatted(1, kDecimal, kMaxPrecision), "1.0000000000000000");
}

TEST(DistanceFormat, LargestValuesStayWhole) {
    const double largest = std::numeric_limits<double>::max();
    for (int mode = kScientific; mode <= kFractional; ++mode) {
        const auto text = formatDistance(largest, mode, 8);
        ASSERT_TRUE(text) << mode;
        const auto back = parseDistance(*text, mode);
        ASSERT_TRUE(back) << mode << " " << *text;
        EXPECT_NEAR(*back / largest, 1.0, 1e-8) << mode;
    }
    EXPECT_EQ(formatted(std::numeric_limits<double>::denorm_min(), kDecimal, 2), "0.00");
}

struct ParseCase {
    const char* text;
    int mode;
    double expected;
};

class DistanceParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DistanceParse, ReadsTheValue) {
    const ParseCase& c = GetParam();
    const auto value = parseDistance(c.text, c.mode);
    ASSERT_TRUE(value) << "'" << c.text << "' in mode " << c.mode;
    EXPECT_DOUBLE_EQ(*value, c.expected) << "'" << c.text << "' in mode " << c.mode;
}

INSTANTIATE_TEST_SUITE_P(
    EveryForm, DistanceParse,
    ::testing::Values(
        // Feet and inches in the architectural and engineering modes.
        ParseCase{"1'-6 1/2\"", kArchitectural, 18.5}, ParseCase{"18.5", kArchitectural, 18.5},
        ParseCase{"1.5E+01", kArchitectural, 15}, ParseCase{"3/4", kArchitectural, 0.75},
        ParseCase{"1'6", kArchitectural, 18}, ParseCase{"1'", kArchitectural, 12},
        ParseCase{"6\"", kArchitectural, 6}, ParseCase{"1'6-1/2\"", kArchitectural, 18.5},
        ParseCase{"-1'-6\"", kArchitectural, -18}, ParseCase{"1'-5.50\"", kArchitectural, 17.5},
        ParseCase{"1'-5 1/2\"", kEngineering, 17.5}, ParseCase{"1' 6\"", kArchitectural, 18},
        ParseCase{"1'-0 1/2\"", kArchitectural, 12.5}, ParseCase{"1/2\"", kArchitectural, 0.5},
        ParseCase{"1.5'", kEngineering, 18}, ParseCase{"1-1/2'", kArchitectural, 18},
        ParseCase{"2'-0.25\"", kEngineering, 24.25}, ParseCase{"1'5.50\"", kEngineering, 17.5},
        // Numbers in every mode.
        ParseCase{"17.50", kDecimal, 17.5}, ParseCase{"1.7500E+01", kScientific, 17.5},
        ParseCase{"1.7500e+01", kDecimal, 17.5}, ParseCase{"17 1/2", kFractional, 17.5},
        ParseCase{"17-1/2", kFractional, 17.5}, ParseCase{"17 1/2", kDecimal, 17.5},
        ParseCase{"3/4", kDecimal, 0.75}, ParseCase{"-0.5", kDecimal, -0.5}, ParseCase{"+2", kDecimal, 2},
        ParseCase{".5", kDecimal, 0.5}, ParseCase{"5.", kDecimal, 5}, ParseCase{"-.5", kScientific, -0.5},
        ParseCase{"  18.5\t", kDecimal, 18.5}, ParseCase{"1E3", kFractional, 1000},
        ParseCase{"007", kDecimal, 7}, ParseCase{"1e-3", kDecimal, 0.001},
        ParseCase{"20240315.14302512", kDecimal, 20240315.14302512}));

TEST(DistanceParse, RefusesAnythingElse) {
    const char* rejected[] = {"",      "   ",  "abc",   "12abc", "nan",   "NaN",   "inf",   "-inf",
                              "1e999", "-1e999", "1/0", "1..2",  "--1",   "1e",    "1e+",   "0x10",
                              "1,5",   "1'2'", "1'-",   "'6",    "1 2",   "1/",    "/2",    "1 /2",
                              "+-1",   "1e5.5", ".",    "-",     "1'-6 1/2\"x", "\"", "1\"\"", "1'\"",
                              "1 1/2/3", "1/2/3", "1 - 1/2", "e5", "1'-6 1/2\" 3", "½", "１"};
    for (const char* text : rejected) {
        for (int mode = kScientific; mode <= kFractional; ++mode) {
            EXPECT_FALSE(parseDistance(text, mode)) << "'" << text << "' in mode " << mode;
        }
    }
}

TEST(DistanceParse, FeetAndInchesOnlyInTheFeetModes) {
    for (const char* text : {"1'6", "6\"", "1'", "1'-6 1/2\""}) {
        EXPECT_FALSE(parseDistance(text, kScientific)) << text;
        EXPECT_FALSE(parseDistance(text, kDecimal)) << text;
        EXPECT_FALSE(parseDistance(text, kFractional)) << text;
        EXPECT_TRUE(parseDistance(text, kEngineering)) << text;
        EXPECT_TRUE(parseDistance(text, kArchitectural)) << text;
    }
    EXPECT_FALSE(parseDistance("1", 0));
    EXPECT_FALSE(parseDistance("1", 6));
    EXPECT_FALSE(parseDistance("1", -1));
}

TEST(AngleFormat, EveryMode) {
    const double quarter = kPi / 4;
    EXPECT_EQ(formatAngle(0.785398, kDegrees, 4), "45.0000");
    EXPECT_EQ(formatAngle(-0.785398, kDegrees, 4), "315.0000");
    EXPECT_EQ(formatAngle(-0.785398, kSurveyor, 0), "S 45d E");
    EXPECT_EQ(formatAngle(-0.785398, kSurveyor, 0, {0, true}), "S45dE");
    EXPECT_EQ(formatAngle(quarter, kGrads, 4), "50.0000g");
    EXPECT_EQ(formatAngle(quarter, kRadians, 4), "0.7854r");
    const double dms = (45 + 30 / 60.0 + 15 / 3600.0) * kPi / 180;
    EXPECT_EQ(formatAngle(dms, kDegreesMinutesSeconds, 0), "46d");
    EXPECT_EQ(formatAngle(dms, kDegreesMinutesSeconds, 2), "45d30'");
    EXPECT_EQ(formatAngle(dms, kDegreesMinutesSeconds, 4), "45d30'15\"");
    EXPECT_EQ(formatAngle(dms, kDegreesMinutesSeconds, 6), "45d30'15.00\"");
    EXPECT_EQ(formatAngle(quarter, kDegreesMinutesSeconds, 4), "45d0'0\"");
    EXPECT_EQ(formatAngle(kPi / 6, kSurveyor, 0), "N 60d E");
    EXPECT_EQ(formatAngle(2 * kPi / 3, kSurveyor, 0), "N 30d W");
    EXPECT_EQ(formatAngle(200 * kPi / 180, kSurveyor, 0), "S 70d W");
    EXPECT_EQ(formatAngle(dms, kSurveyor, 4), "N 44d29'45\" E");
    EXPECT_EQ(formatAngle(0, kSurveyor, 4), "E");
    EXPECT_EQ(formatAngle(kPi / 2, kSurveyor, 4), "N");
    EXPECT_EQ(formatAngle(kPi, kSurveyor, 4), "W");
    EXPECT_EQ(formatAngle(1.5 * kPi, kSurveyor, 4), "S");
    // Angles that round up to a full turn are written as zero.
    EXPECT_EQ(formatAngle(2 * kPi - 1e-12, kDegrees, 4), "0.0000");
    EXPECT_EQ(formatAngle(2 * kPi - 1e-12, kDegreesMinutesSeconds, 4), "0d0'0\"");
    EXPECT_EQ(formatAngle(-1e-12, kGrads, 2), "0.00g");
    EXPECT_EQ(formatAngle(10 * kPi + quarter, kDegrees, 2), "45.00");
    EXPECT_EQ(formatAngle(quarter, kDegrees, 4, {8, false}), "45");
    EXPECT_FALSE(formatAngle(std::numeric_limits<double>::quiet_NaN(), kDegrees, 4));
    EXPECT_FALSE(formatAngle(1, 5, 4));
    EXPECT_FALSE(formatAngle(1, -1, 4));
    EXPECT_FALSE(formatAngle(1, kDegrees, -1));
}

TEST(AngleParse, EveryForm) {
    auto angle = [](const char* text, int mode) { return parseAngle(text, mode).value_or(-1); };
    const double quarter = kPi / 4;
    EXPECT_NEAR(angle("45.0000", kDegrees), quarter, 1e-15);
    EXPECT_NEAR(angle("45.0000", kRadians), 45 - 7 * 2 * kPi, 1e-12);
    EXPECT_NEAR(angle("50", kGrads), quarter, 1e-15);
    EXPECT_NEAR(angle("50g", kDegrees), quarter, 1e-15);
    EXPECT_NEAR(angle("0.5r", kDegrees), 0.5, 1e-15);
    EXPECT_NEAR(angle("45d", kRadians), quarter, 1e-15);
    EXPECT_NEAR(angle("45d30'15\"", kDegreesMinutesSeconds), (45 + 30 / 60.0 + 15 / 3600.0) * kPi / 180, 1e-15);
    EXPECT_NEAR(angle("45d30'", kDegrees), 45.5 * kPi / 180, 1e-15);
    EXPECT_NEAR(angle("-45", kDegrees), 7 * quarter, 1e-15);
    EXPECT_NEAR(angle("S 45d E", kSurveyor), 7 * quarter, 1e-15);
    EXPECT_NEAR(angle("s45de", kDegrees), 7 * quarter, 1e-15);
    EXPECT_NEAR(angle("N 30d W", kSurveyor), 120 * kPi / 180, 1e-15);
    EXPECT_NEAR(angle("S 70d W", kSurveyor), 200 * kPi / 180, 1e-14);
    EXPECT_NEAR(angle("N 44d29'45\" E", kSurveyor), (45 + 30 / 60.0 + 15 / 3600.0) * kPi / 180, 1e-15);
    EXPECT_NEAR(angle("N", kSurveyor), kPi / 2, 1e-15);
    EXPECT_NEAR(angle("w", kSurveyor), kPi, 1e-15);
    EXPECT_EQ(angle("E", kDegrees), 0);
    EXPECT_NEAR(angle("360", kDegrees), 0, 1e-15);
    for (const char* text : {"", " ", "abc", "Q", "N 100d E", "N 45d", "N 45d E x", "45x", "nan", "inf",
                             "45d30", "45d30'15", "E 45d N", "1e999", "--45", "45dd"}) {
        for (int mode = kDegrees; mode <= kSurveyor; ++mode) {
            EXPECT_FALSE(parseAngle(text, mode)) << "'" << text << "' in mode " << mode;
        }
    }
    EXPECT_FALSE(parseAngle("45", 5));
}

TEST(UnitConversion, NamedUnits) {
    EXPECT_DOUBLE_EQ(convertUnit(1, "inch", "cm").value_or(0), 2.54);
    EXPECT_DOUBLE_EQ(convertUnit(1, "Feet", "inches").value_or(0), 12);
    EXPECT_DOUBLE_EQ(convertUnit(1, "mile", "feet").value_or(0), 5280);
    EXPECT_DOUBLE_EQ(convertUnit(1, "kilometer", "meters").value_or(0), 1000);
    EXPECT_DOUBLE_EQ(convertUnit(3937, "survey foot", "meter").value_or(0), 1200);
    EXPECT_DOUBLE_EQ(convertUnit(180, "degrees", "radian").value_or(0), kPi);
    EXPECT_DOUBLE_EQ(convertUnit(100, "grads", "degree").value_or(0), 90);
    EXPECT_DOUBLE_EQ(convertUnit(-2.5, "m", "m").value_or(0), -2.5);
    EXPECT_FALSE(convertUnit(1, "inch", "degree"));
    EXPECT_FALSE(convertUnit(1, "furlong", "inch"));
    EXPECT_FALSE(convertUnit(1, "", "inch"));
    EXPECT_FALSE(convertUnit(std::numeric_limits<double>::quiet_NaN(), "inch", "mm"));
    EXPECT_FALSE(convertUnit(1e308, "mile", "mm"));
}

}  // namespace
}  // namespace tz::cad
