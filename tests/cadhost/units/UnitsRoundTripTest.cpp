// Invariants over many values: what is written reads back within the
// precision it was written with, writing what was read gives the same text,
// and the decimal mode agrees with the C library wherever no tie is involved.
#include "core/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace tz::cad {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<double> sampleValues() {
    std::vector<double> values = {0, 1, -1, 0.5, 11.999, 12, 18.5, -18.5, 1e-9, 1234567.891, -0.0049, 99999.99999};
    std::mt19937_64 random(20240315);
    std::uniform_real_distribution<double> exponent(-6, 7);
    for (int i = 0; i < 400; ++i) {
        const double magnitude = std::pow(10.0, exponent(random));
        values.push_back((random() & 1) ? magnitude : -magnitude);
    }
    return values;
}

// Largest difference a text written in `mode` with `precision` may hide.
double writtenTolerance(double value, int mode, int precision) {
    const double slack = 1e-12 * std::max(1.0, std::fabs(value));
    switch (mode) {
        case kScientific: {
            const double magnitude = value == 0 ? 0 : std::floor(std::log10(std::fabs(value)));
            return 0.5 * std::pow(10.0, magnitude - precision) * 1.0000001 + slack;
        }
        case kDecimal:
        case kEngineering: return 0.5 * std::pow(10.0, -precision) + slack;
        default: return 0.5 / std::pow(2.0, std::min(precision, kMaxFractionPrecision)) + slack;
    }
}

TEST(DistanceRoundTrip, ReadsBackWithinPrecisionInEveryModeAndStyle) {
    const NumberTextStyle styles[] = {{0, false}, {1, false}, {2, false}, {3, false},
                                      {8, false}, {12, false}, {0, true},  {3, true}};
    for (double value : sampleValues()) {
        for (int mode = kScientific; mode <= kFractional; ++mode) {
            for (int precision = 0; precision <= 8; ++precision) {
                for (const NumberTextStyle& style : styles) {
                    const auto text = formatDistance(value, mode, precision, style);
                    ASSERT_TRUE(text);
                    const auto back = parseDistance(*text, mode);
                    ASSERT_TRUE(back) << "'" << *text << "' from " << value << " mode " << mode;
                    EXPECT_LE(std::fabs(*back - value), writtenTolerance(value, mode, precision))
                        << "'" << *text << "' from " << value << " mode " << mode << " precision " << precision;
                    // Writing the value read gives the same text again.
                    EXPECT_EQ(formatDistance(*back, mode, precision, style), text)
                        << value << " mode " << mode << " precision " << precision;
                }
            }
        }
    }
}

TEST(DistanceRoundTrip, DecimalAgreesWithTheCLibraryAwayFromTies) {
    for (double value : sampleValues()) {
        for (int precision = 0; precision <= 8; ++precision) {
            // Skip values within a hair of a tie, where the two round differently by design.
            const double scaled = std::fabs(value) * std::pow(10.0, precision);
            if (std::fabs(scaled - std::floor(scaled) - 0.5) < 1e-6) continue;
            char expected[512];
            std::snprintf(expected, sizeof expected, "%.*f", precision, value);
            std::string reference = expected;
            if (reference.find_first_not_of("-0.") == std::string::npos && reference[0] == '-') {
                reference.erase(0, 1);   // no sign on a value that rounds to zero
            }
            EXPECT_EQ(formatDistance(value, kDecimal, precision), reference) << value << " " << precision;
        }
    }
}

TEST(DistanceRoundTrip, FeetAndInchesAddUp) {
    // Architectural text read as feet*12 + inches equals the value rounded to
    // the nearest 1/16 inch: a check of the carry from inches into feet.
    for (int sixteenths = -800; sixteenths <= 800; ++sixteenths) {
        const double value = sixteenths / 16.0;
        for (double nudge : {-0.03, 0.0, 0.03}) {
            const auto text = formatDistance(value + nudge / 16, kArchitectural, 4);
            ASSERT_TRUE(text);
            EXPECT_EQ(parseDistance(*text, kArchitectural), value) << *text;
        }
    }
}

TEST(AngleRoundTrip, ReadsBackWithinPrecisionInEveryMode) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> angles(-4 * kPi, 4 * kPi);
    for (int i = 0; i < 300; ++i) {
        const double angle = angles(random);
        double expected = std::fmod(angle, 2 * kPi);
        if (expected < 0) expected += 2 * kPi;
        for (int mode = kDegrees; mode <= kSurveyor; ++mode) {
            for (int precision = 0; precision <= 8; ++precision) {
                const auto text = formatAngle(angle, mode, precision);
                ASSERT_TRUE(text);
                const auto back = parseAngle(*text, mode);
                ASSERT_TRUE(back) << *text;
                double step = 0.5 * std::pow(10.0, -precision);   // in the mode's unit
                if (mode == kDegrees) step *= kPi / 180;
                if (mode == kGrads) step *= kPi / 200;
                if (mode == kDegreesMinutesSeconds || mode == kSurveyor) {
                    const double perDegree = precision == 0 ? 1 : precision <= 2 ? 60 : 3600 * std::pow(10.0, precision - 4);
                    step = 0.5 / perDegree * kPi / 180;
                }
                double difference = std::fabs(*back - expected);
                difference = std::min(difference, 2 * kPi - difference);   // 359.99 is near 0
                EXPECT_LE(difference, step * 1.000001 + 1e-12) << *text << " mode " << mode;
            }
        }
    }
}

}  // namespace
}  // namespace tz::cad
