#include "core/Units.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "core/NumberText.h"

namespace tz::cad {

using namespace numbertext;

namespace {

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
    if (precision > 0) {
        digits += '.';
        digits += mantissa.substr(1);
    }
    const bool zero = isZeroText(digits);
    if (zero) exponent = 0;
    digits = suppressDecimalZeros(digits, zeroSuppression & 8);
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    const std::string sign = value < 0 && !zero ? "-" : "";
    return sign + digits + exponentText;
}

std::string decimalText(double value, int precision, int zeroSuppression) {
    std::string digits = roundedDecimal(std::fabs(value), precision);
    const bool negative = value < 0 && !isZeroText(digits);
    const std::string sign = negative ? "-" : "";
    return sign + suppressDecimalZeros(digits, zeroSuppression);
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
        const std::string sign = value < 0 ? "-" : "";
        return sign + roundedDecimal(absValue, 0);
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
