// Angle text: formatAngle and parseAngle of Units.h.
#include <cctype>
#include <cmath>
#include <cstdint>

#include "core/NumberText.h"
#include "core/Units.h"

namespace tz::cad {

using namespace numbertext;

namespace {

double normalizedAngle(double radians) {
    double a = std::fmod(radians, kTwoPi);
    if (a < 0) a += kTwoPi;
    if (a >= kTwoPi) a = 0;   // -1e-20 + 2*pi rounds up to 2*pi
    return a;
}

// Decimal text of an angle in a unit whose full circle is `fullCircle`: a
// value that rounds up to the full circle is written as zero.
std::string circularDecimal(double value, double fullCircle, int precision, int zeroSuppression) {
    std::string digits = roundedDecimal(value, precision);
    if (toDouble(digits).value_or(0) >= fullCircle) digits = roundedDecimal(0, precision);
    return suppressDecimalZeros(digits, zeroSuppression);
}

// Angle steps of degrees/minutes/seconds at a precision: 0 whole degrees,
// 1-2 minutes, 3-4 seconds, more gives decimals of seconds.
uint64_t stepsPerDegree(int precision) {
    if (precision == 0) return 1;
    if (precision <= 2) return 60;
    uint64_t steps = 3600;
    for (int i = 4; i < precision; ++i) steps *= 10;
    return steps;
}

std::string dmsText(uint64_t steps, int precision) {
    const uint64_t perDegree = stepsPerDegree(precision);
    std::string text = std::to_string(steps / perDegree) + "d";
    if (precision == 0) return text;
    const uint64_t rest = steps % perDegree;
    if (precision <= 2) return text + std::to_string(rest) + "'";
    const uint64_t perSecond = perDegree / 3600;
    const uint64_t seconds = rest % (60 * perSecond);
    text += std::to_string(rest / (60 * perSecond)) + "'" + std::to_string(seconds / perSecond);
    if (perSecond > 1) {
        std::string decimals = std::to_string(seconds % perSecond);
        decimals.insert(0, static_cast<size_t>(precision - 4) - decimals.size(), '0');
        text += "." + decimals;
    }
    return text + "\"";
}

std::string bearingText(uint64_t steps, int precision, bool asTyped) {
    const uint64_t quarter = 90 * stepsPerDegree(precision);
    if (steps == 0) return "E";
    if (steps == quarter) return "N";
    if (steps == 2 * quarter) return "W";
    if (steps == 3 * quarter) return "S";
    const char* northSouth = steps < 2 * quarter ? "N" : "S";
    const char* eastWest = (steps < quarter || steps > 3 * quarter) ? "E" : "W";
    uint64_t offNorthSouth = 0;
    if (steps < quarter) offNorthSouth = quarter - steps;
    else if (steps < 2 * quarter) offNorthSouth = steps - quarter;
    else if (steps < 3 * quarter) offNorthSouth = 3 * quarter - steps;
    else offNorthSouth = steps - 3 * quarter;
    const char* gap = asTyped ? "" : " ";
    return std::string(northSouth) + gap + dmsText(offNorthSouth, precision) + gap + eastWest;
}

// Degrees, minutes and seconds after the number of degrees: "d30'15.5\"".
std::optional<double> readDms(Scanner& sc, double degrees) {
    if (!sc.take('d') && !sc.take('D')) return degrees;
    sc.skipBlanks();
    if (isDigit(sc.peek()) || sc.peek() == '.') {
        const size_t mark = sc.at;
        const auto minutes = readNumber(sc);
        if (!minutes) return std::nullopt;
        if (!sc.take('\'')) {
            sc.at = mark;
            return std::nullopt;
        }
        degrees += *minutes / 60;
        sc.skipBlanks();
        if (isDigit(sc.peek()) || sc.peek() == '.') {
            const auto seconds = readNumber(sc);
            if (!seconds || !sc.take('"')) return std::nullopt;
            degrees += *seconds / 3600;
        }
    }
    return degrees;
}

// A magnitude in degrees for a bearing: "45", "45d", "45d30'15\"".
std::optional<double> readBearingDegrees(Scanner& sc) {
    const auto degrees = readNumber(sc);
    if (!degrees) return std::nullopt;
    return readDms(sc, *degrees);
}

std::optional<double> parseBearing(std::string_view text) {
    Scanner sc{text};
    const char first = upper(sc.peek());
    if (text.size() == 1) {
        switch (first) {
            case 'E': return 0.0;
            case 'N': return kPi / 2;
            case 'W': return kPi;
            case 'S': return 1.5 * kPi;
            default: return std::nullopt;
        }
    }
    if (first != 'N' && first != 'S') return std::nullopt;
    ++sc.at;
    sc.skipBlanks();
    const auto degrees = readBearingDegrees(sc);
    if (!degrees || *degrees > 90) return std::nullopt;
    sc.skipBlanks();
    const char last = upper(sc.peek());
    if ((last != 'E' && last != 'W') || sc.at + 1 != text.size()) return std::nullopt;
    double azimuth = 0;   // degrees counter-clockwise from east
    if (first == 'N') azimuth = last == 'E' ? 90 - *degrees : 90 + *degrees;
    else azimuth = last == 'E' ? 270 + *degrees : 270 - *degrees;
    return normalizedAngle(azimuth * kPi / 180);
}

}  // namespace

std::optional<std::string> formatAngle(double radians, int mode, int precision, const NumberTextStyle& style) {
    if (!std::isfinite(radians) || precision < 0 || precision > kMaxPrecision) return std::nullopt;
    const double angle = normalizedAngle(radians);
    const double degrees = angle * 180 / kPi;
    switch (mode) {
        case kDegrees: return circularDecimal(degrees, 360, precision, style.zeroSuppression);
        case kGrads: return circularDecimal(angle * 200 / kPi, 400, precision, style.zeroSuppression) + "g";
        case kRadians: return circularDecimal(angle, kTwoPi, precision, style.zeroSuppression) + "r";
        case kDegreesMinutesSeconds:
        case kSurveyor: {
            const int dmsPrecision = std::min(precision, kMaxFractionPrecision);
            const uint64_t perDegree = stepsPerDegree(dmsPrecision);
            uint64_t steps = static_cast<uint64_t>(std::round(degrees * static_cast<double>(perDegree)));
            if (steps >= 360 * perDegree) steps = 0;
            if (mode == kSurveyor) return bearingText(steps, dmsPrecision, style.asTyped);
            return dmsText(steps, dmsPrecision);
        }
        default: return std::nullopt;
    }
}

std::optional<double> parseAngle(std::string_view text, int mode) {
    if (mode < kDegrees || mode > kSurveyor) return std::nullopt;
    text = trimmed(text);
    if (text.empty()) return std::nullopt;
    const char first = upper(text.front());
    if (first == 'N' || first == 'S' || first == 'E' || first == 'W') return parseBearing(text);
    Scanner sc{text};
    const double sign = readSign(sc);
    const auto number = readNumber(sc);
    if (!number) return std::nullopt;
    double radians = 0;
    const char suffix = static_cast<char>(std::tolower(static_cast<unsigned char>(sc.peek())));
    if (suffix == 'g') {
        ++sc.at;
        radians = *number * kPi / 200;
    } else if (suffix == 'r') {
        ++sc.at;
        radians = *number;
    } else if (suffix == 'd') {
        const auto degrees = readDms(sc, *number);
        if (!degrees) return std::nullopt;
        radians = *degrees * kPi / 180;
    } else if (mode == kGrads) {
        radians = *number * kPi / 200;
    } else if (mode == kRadians) {
        radians = *number;
    } else {
        radians = *number * kPi / 180;
    }
    if (!sc.atEnd() || !std::isfinite(radians)) return std::nullopt;
    return normalizedAngle(sign * radians);
}

}  // namespace tz::cad
