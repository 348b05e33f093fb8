#include "core/Units.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace tz::cad {

namespace {

constexpr double kPi = 3.14159265358979323846264338328;
constexpr double kTwoPi = 2 * kPi;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string printed(const char* format, int precision, double value) {
    const int length = std::snprintf(nullptr, 0, format, precision, value);
    std::string text(static_cast<size_t>(std::max(length, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, format, precision, value);
    return text;
}

// Adds one unit in the last place of a digit string ("1.99" -> "2.00",
// "9.9" -> "10.0"); separators that are not digits are stepped over.
void incrementDigits(std::string& digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (!isDigit(digits[i])) continue;
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Decimal text of a finite, non-negative value with `precision` places,
// ties rounded away from zero as users expect (0.125 -> 0.13). The C library
// prints the exact binary value, so the digits past the kept ones decide the
// rounding; the point is always '.', whatever the C locale says.
std::string roundedDecimal(double absValue, int precision) {
    std::string text = printed("%.*f", precision + 30, absValue);
    size_t point = 0;
    while (point < text.size() && isDigit(text[point])) ++point;
    const bool roundUp = text[point + precision + 1] >= '5';
    std::string kept = text.substr(0, precision > 0 ? point + 1 + precision : point);
    if (precision > 0) kept[point] = '.';
    if (roundUp) incrementDigits(kept);
    return kept;
}

bool isZeroText(std::string_view digits) {
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0' || c == '.'; });
}

// DIMZIN's decimal bits: 4 drops the leading zero, 8 the trailing zeros.
std::string suppressDecimalZeros(std::string digits, int zeroSuppression) {
    if ((zeroSuppression & 8) && digits.find('.') != std::string::npos) {
        while (digits.back() == '0') digits.pop_back();
        if (digits.back() == '.') digits.pop_back();
    }
    if ((zeroSuppression & 4) && digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        digits.erase(0, 1);
    }
    return digits;
}

// Scientific text "d.dddE+xx" of a finite value, mantissa rounded half away
// from zero to `precision` places.
std::string scientificText(double value, int precision, int zeroSuppression) {
    const std::string text = printed("%.*E", precision + 30, std::fabs(value));
    const size_t e = text.find('E');
    std::string mantissa;   // the significant digits alone
    for (size_t i = 0; i < e; ++i) {
        if (isDigit(text[i])) mantissa += text[i];
    }
    int exponent = std::atoi(text.c_str() + e + 1);
    const bool roundUp = mantissa[static_cast<size_t>(precision) + 1] >= '5';
    mantissa.resize(static_cast<size_t>(precision) + 1);
    if (roundUp) {
        incrementDigits(mantissa);
        if (mantissa.size() > static_cast<size_t>(precision) + 1) {   // 9.99 became 10.00
            mantissa.pop_back();
            ++exponent;
        }
    }
    std::string digits = mantissa.substr(0, 1);
    if (precision > 0) digits += "." + mantissa.substr(1);
    const bool zero = isZeroText(digits);
    if (zero) exponent = 0;
    digits = suppressDecimalZeros(digits, zeroSuppression & 8);
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return (value < 0 && !zero ? "-" : "") + digits + exponentText;
}

std::string decimalText(double value, int precision, int zeroSuppression) {
    std::string digits = roundedDecimal(std::fabs(value), precision);
    const bool negative = value < 0 && !isZeroText(digits);
    return (negative ? "-" : "") + suppressDecimalZeros(digits, zeroSuppression);
}

// Feet and inches split of a rounded length; texts without their marks.
struct FeetInches {
    std::string feet;
    std::string inches;
    bool feetZero = true;
    bool inchesZero = true;
};

// Joins feet and inches as DIMZIN's feet-and-inch bits ask: 0 hides zero
// feet and precisely zero inches, 1 shows both, 2 shows zero feet only, 3
// zero inches only. Something is always shown (0").
std::string joinFeetInches(bool negative, const FeetInches& parts, const NumberTextStyle& style) {
    const int mode = style.zeroSuppression & 3;
    const bool showFeet = !parts.feetZero || mode == 1 || mode == 2;
    bool showInches = !parts.inchesZero || mode == 1 || mode == 3;
    if (!showFeet && !showInches) showInches = true;
    std::string text = (negative && !(parts.feetZero && parts.inchesZero)) ? "-" : "";
    if (showFeet) {
        text += parts.feet + "'";
        if (showInches && !style.asTyped) text += "-";
    }
    if (showInches) text += parts.inches + "\"";
    return text;
}

// Whole feet and remaining inches of a whole number of inches written as
// decimal digits, by long division, so that lengths of any size split exactly.
std::string divideByTwelve(const std::string& digits, unsigned& remainder) {
    std::string quotient;
    remainder = 0;
    for (char digit : digits) {
        const unsigned current = remainder * 10 + static_cast<unsigned>(digit - '0');
        if (!quotient.empty() || current / 12 != 0) quotient += static_cast<char>('0' + current / 12);
        remainder = current % 12;
    }
    return quotient.empty() ? "0" : quotient;
}

std::string engineeringText(double value, int precision, const NumberTextStyle& style) {
    const std::string rounded = roundedDecimal(std::fabs(value), precision);
    const size_t point = std::min(rounded.find('.'), rounded.size());
    const std::string fraction = rounded.substr(point);   // ".ddd" or empty
    unsigned inches = 0;
    FeetInches parts;
    parts.feet = divideByTwelve(rounded.substr(0, point), inches);
    parts.feetZero = parts.feet == "0";
    parts.inches = suppressDecimalZeros(std::to_string(inches) + fraction, style.zeroSuppression);
    parts.inchesZero = inches == 0 && isZeroText(fraction);
    return joinFeetInches(value < 0, parts, style);
}

std::string fractionText(uint64_t numerator, uint64_t denominator) {
    return std::to_string(numerator) + "/" + std::to_string(denominator);
}

// Counting in steps of 1/denominator (a power of two, so the product is
// exact); false when the count does not fit 64 bits.
bool countSteps(double absValue, uint64_t denominator, uint64_t& whole, uint64_t& numerator,
                uint64_t& reducedDenominator) {
    const double steps = std::round(absValue * static_cast<double>(denominator));
    if (!(steps < 9.0e18)) return false;
    const uint64_t count = static_cast<uint64_t>(steps);
    whole = count / denominator;
    numerator = count % denominator;
    reducedDenominator = denominator;
    while (numerator != 0 && numerator % 2 == 0) {
        numerator /= 2;
        reducedDenominator /= 2;
    }
    return true;
}

std::string architecturalText(double value, int precision, const NumberTextStyle& style) {
    const double absValue = std::fabs(value);
    const uint64_t denominator = uint64_t{1} << std::min(precision, kMaxFractionPrecision);
    FeetInches parts;
    uint64_t wholeInches = 0, numerator = 0, reduced = 1;
    if (countSteps(absValue, denominator, wholeInches, numerator, reduced)) {
        parts.feet = std::to_string(wholeInches / 12);
        parts.feetZero = wholeInches / 12 == 0;
        wholeInches %= 12;
        parts.inchesZero = wholeInches == 0 && numerator == 0;
    } else {
        // Beyond 2^53 every double is a whole number: no fraction to write.
        unsigned inches = 0;
        parts.feet = divideByTwelve(roundedDecimal(absValue, 0), inches);
        parts.feetZero = false;
        wholeInches = inches;
        parts.inchesZero = inches == 0;
    }
    const int zeroMode = style.zeroSuppression & 3;
    const bool feetShown = !parts.feetZero || zeroMode == 1 || zeroMode == 2;
    if (numerator == 0) {
        parts.inches = std::to_string(wholeInches);
    } else if (wholeInches == 0 && !feetShown) {
        parts.inches = fractionText(numerator, reduced);   // 1/2"
    } else {
        parts.inches = std::to_string(wholeInches) + (style.asTyped ? "-" : " ") + fractionText(numerator, reduced);
    }
    return joinFeetInches(value < 0, parts, style);
}

std::string fractionalText(double value, int precision, const NumberTextStyle& style) {
    const double absValue = std::fabs(value);
    const uint64_t denominator = uint64_t{1} << std::min(precision, kMaxFractionPrecision);
    uint64_t whole = 0, numerator = 0, reduced = 1;
    if (!countSteps(absValue, denominator, whole, numerator, reduced)) {
        return (value < 0 ? "-" : "") + roundedDecimal(absValue, 0);
    }
    std::string text;
    if (numerator == 0) {
        text = std::to_string(whole);
    } else if (whole == 0) {
        text = fractionText(numerator, reduced);
    } else {
        text = std::to_string(whole) + (style.asTyped ? "-" : " ") + fractionText(numerator, reduced);
    }
    const bool negative = value < 0 && (whole != 0 || numerator != 0);
    return (negative ? "-" : "") + text;
}

// ---- reading numbers ------------------------------------------------------

// A cursor over text being read.
struct Scanner {
    std::string_view text;
    size_t at = 0;

    bool atEnd() const { return at >= text.size(); }
    char peek(size_t ahead = 0) const { return at + ahead < text.size() ? text[at + ahead] : '\0'; }
    size_t digitsAt(size_t from) const {
        size_t n = 0;
        while (from + n < text.size() && isDigit(text[from + n])) ++n;
        return n;
    }
    void skipBlanks() {
        while (!atEnd() && isBlank(text[at])) ++at;
    }
    bool take(char c) {
        if (peek() != c) return false;
        ++at;
        return true;
    }
};

std::optional<double> toDouble(std::string_view digits) {
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// "a/b" at `from` (b not zero): its value and length.
std::optional<double> fractionAt(const Scanner& sc, size_t from, size_t& length) {
    const size_t n = sc.digitsAt(from);
    if (n == 0 || from + n >= sc.text.size() || sc.text[from + n] != '/') return std::nullopt;
    const size_t m = sc.digitsAt(from + n + 1);
    if (m == 0) return std::nullopt;
    const auto numerator = toDouble(sc.text.substr(from, n));
    const auto denominator = toDouble(sc.text.substr(from + n + 1, m));
    if (!numerator || !denominator || *denominator == 0) return std::nullopt;
    length = n + 1 + m;
    return *numerator / *denominator;
}

// An unsigned number at the cursor: a mixed number ("17 1/2", "17-1/2"), a
// fraction ("3/4") or a decimal with an optional exponent ("1.5E+01", ".5").
std::optional<double> readNumber(Scanner& sc) {
    const size_t whole = sc.digitsAt(sc.at);
    size_t length = 0;
    if (auto fraction = fractionAt(sc, sc.at, length)) {
        sc.at += length;
        return fraction;
    }
    if (whole > 0) {
        size_t after = sc.at + whole;
        size_t gap = 0;
        if (sc.text.size() > after && sc.text[after] == '-') {
            gap = 1;
        } else {
            while (after + gap < sc.text.size() && isBlank(sc.text[after + gap])) ++gap;
        }
        if (gap > 0) {
            if (auto fraction = fractionAt(sc, after + gap, length)) {
                const auto wholeValue = toDouble(sc.text.substr(sc.at, whole));
                if (!wholeValue) return std::nullopt;
                sc.at = after + gap + length;
                return *wholeValue + *fraction;
            }
        }
    }
    const size_t start = sc.at;
    size_t end = start + whole;
    size_t decimals = 0;
    if (end < sc.text.size() && sc.text[end] == '.') {
        decimals = sc.digitsAt(end + 1);
        end += 1 + decimals;
    }
    if (whole + decimals == 0) return std::nullopt;
    if (end < sc.text.size() && (sc.text[end] == 'e' || sc.text[end] == 'E')) {
        size_t exponentStart = end + 1;
        if (exponentStart < sc.text.size() && (sc.text[exponentStart] == '+' || sc.text[exponentStart] == '-')) {
            ++exponentStart;
        }
        const size_t exponentDigits = sc.digitsAt(exponentStart);
        if (exponentDigits > 0) end = exponentStart + exponentDigits;
    }
    // from_chars takes neither "5." nor a leading '+'; give it the digits it reads.
    std::string digits(sc.text.substr(start, end - start));
    if (const size_t point = digits.find('.'); point != std::string::npos &&
                                               (point + 1 == digits.size() || !isDigit(digits[point + 1]))) {
        digits.insert(point + 1, "0");
    }
    const auto value = toDouble(digits);
    if (!value) return std::nullopt;
    sc.at = end;
    return value;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

double readSign(Scanner& sc) {
    if (sc.take('-')) return -1;
    sc.take('+');
    return 1;
}

// ---- angles -----------------------------------------------------------------

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

std::optional<std::string> formatDistance(double value, int mode, int precision, const NumberTextStyle& style) {
    if (!std::isfinite(value) || precision < 0 || precision > kMaxPrecision) return std::nullopt;
    switch (mode) {
        case kScientific: return scientificText(value, precision, style.zeroSuppression);
        case kDecimal: return decimalText(value, precision, style.zeroSuppression);
        case kEngineering: return engineeringText(value, precision, style);
        case kArchitectural: return architecturalText(value, precision, style);
        case kFractional: return fractionalText(value, precision, style);
        default: return std::nullopt;
    }
}

std::optional<double> parseDistance(std::string_view text, int mode) {
    if (mode < kScientific || mode > kFractional) return std::nullopt;
    Scanner sc{trimmed(text)};
    if (sc.atEnd()) return std::nullopt;
    const double sign = readSign(sc);
    const auto first = readNumber(sc);
    if (!first) return std::nullopt;
    double feet = 0, inches = *first;
    if (mode == kEngineering || mode == kArchitectural) {
        if (sc.take('\'')) {
            feet = *first;
            inches = 0;
            sc.skipBlanks();
            const bool separated = sc.take('-');
            sc.skipBlanks();
            if (!sc.atEnd()) {
                const auto second = readNumber(sc);
                if (!second) return std::nullopt;
                inches = *second;
                sc.take('"');
            } else if (separated) {
                return std::nullopt;
            }
        } else {
            sc.take('"');
        }
    }
    if (!sc.atEnd()) return std::nullopt;
    // In long double: feet read back from the longest lengths written may lie
    // a rounding step above the largest double, which is what they stand for.
    const long double total = static_cast<long double>(feet) * 12 + inches;
    constexpr long double kLargest = std::numeric_limits<double>::max();
    if (std::fabs(total) > kLargest && std::fabs(total) <= kLargest * (1 + 0x1p-50L)) {
        return sign * std::numeric_limits<double>::max();
    }
    const double value = static_cast<double>(sign * total);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

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

namespace {

enum class UnitKind { Length, Angle };

struct NamedUnit {
    const char* names;   // blank-separated spellings, lower case
    UnitKind kind;
    double inBaseUnits;   // metres or radians
};

const NamedUnit kNamedUnits[] = {
    {"inch inches in", UnitKind::Length, 0.0254},
    {"foot feet ft", UnitKind::Length, 0.3048},
    {"survey_foot survey_feet us_survey_foot", UnitKind::Length, 1200.0 / 3937.0},
    {"yard yards yd", UnitKind::Length, 0.9144},
    {"mile miles mi", UnitKind::Length, 1609.344},
    {"millimeter millimeters millimetre millimetres mm", UnitKind::Length, 0.001},
    {"centimeter centimeters centimetre centimetres cm", UnitKind::Length, 0.01},
    {"decimeter decimeters decimetre decimetres dm", UnitKind::Length, 0.1},
    {"meter meters metre metres m", UnitKind::Length, 1.0},
    {"kilometer kilometers kilometre kilometres km", UnitKind::Length, 1000.0},
    {"degree degrees deg", UnitKind::Angle, kPi / 180},
    {"radian radians rad", UnitKind::Angle, 1.0},
    {"grad grads gradian gradians gon", UnitKind::Angle, kPi / 200},
};

const NamedUnit* findUnit(std::string_view name) {
    std::string key;
    for (char c : trimmed(name)) key += isBlank(c) ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (key.empty()) return nullptr;
    for (const NamedUnit& unit : kNamedUnits) {
        std::string_view names = unit.names;
        while (!names.empty()) {
            const size_t blank = std::min(names.find(' '), names.size());
            if (names.substr(0, blank) == key) return &unit;
            names.remove_prefix(std::min(blank + 1, names.size()));
        }
    }
    return nullptr;
}

}  // namespace

std::optional<double> convertUnit(double value, std::string_view fromUnit, std::string_view toUnit) {
    const NamedUnit* from = findUnit(fromUnit);
    const NamedUnit* to = findUnit(toUnit);
    if (!from || !to || from->kind != to->kind || !std::isfinite(value)) return std::nullopt;
    if (from == to) return value;
    const double result = value * from->inBaseUnits / to->inBaseUnits;
    if (!std::isfinite(result)) return std::nullopt;
    return result;
}

}  // namespace tz::cad
